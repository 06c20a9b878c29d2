#pragma once
// The engine's hooks as the application answers them: units, offsets and the settings
// document from the UI manager, panels and picture through it, bound controls through the
// listener manager. Installed by the start-up steps, removed by the shutdown steps.
// Stateless; GUI message thread only.

#include "engine/CEngineHooks.h"

class CJuceEngineHooks : public CEngineHooks
{
public:
    CXmlNode* GetSettingsRoot() override;
    void SetUnitSystem(const std::string& lengthUnit, const std::string& weightUnit) override;
    void SetOffsets(double x, double y) override;
    double FromDisplayLength(const std::string& key, double shown) override;
    std::string LengthSymbol() override;

    void LayoutModulePanels() override;
    void LayoutAreaPanels() override;
    void Redraw() override;
    void RebindAll() override;
    void RefreshAll() override;

    // The one instance the start-up steps install.
    static CJuceEngineHooks& Instance();
};
