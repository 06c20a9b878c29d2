#pragma once
// What the engine asks of whoever shows the design: display units and origin offsets, the
// module and area panel columns, the venue picture and the bound controls. Every hook of
// this base does nothing (lengths pass unconverted, the settings root is the null node), as
// a headless engine needs; the application installs the real hooks at start-up and removes
// them at shutdown. Not owned by the engine. GUI message thread only.

#include <string>

class CXmlNode;

class CEngineHooks
{
public:
    virtual ~CEngineHooks() = default;

    //==========================================================================
    // Units and offsets
    // The root of the user settings document, where the unit system is kept.
    virtual CXmlNode* GetSettingsRoot();
    virtual void SetUnitSystem(const std::string& lengthUnit, const std::string& weightUnit);
    // Origin offsets in inches for the X ("sX", "eX") and Y ("sY", "eY") coordinates shown.
    virtual void SetOffsets(double x, double y);
    // A length as the user sees it (display unit, offset of `key`) back to inches.
    virtual double FromDisplayLength(const std::string& key, double shown);
    // The display unit's symbol for lengths ("ft", "m"; the base: "in").
    virtual std::string LengthSymbol();

    //==========================================================================
    // Panels, picture and bound controls
    virtual void LayoutModulePanels();
    virtual void LayoutAreaPanels();
    virtual void Redraw();
    // Resolves every control bound by path again (a load replaced document elements).
    virtual void RebindAll();
    virtual void RefreshAll();

    //==========================================================================
    // The hooks the engine calls: the installed ones, or the do-nothing base.
    static CEngineHooks& Get();
    // `hooks` is not owned; null or the other hooks' Uninstall leave the base in place.
    static void Install(CEngineHooks* hooks);
    static void Uninstall(CEngineHooks* hooks);
};
