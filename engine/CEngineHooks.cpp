#include "engine/CEngineHooks.h"

#include "xml/CXmlNode.h"

namespace
{
CEngineHooks* installed = nullptr;
}

CXmlNode* CEngineHooks::GetSettingsRoot()
{
    return CXmlNode::GetNullNode();
}

void CEngineHooks::SetUnitSystem(const std::string&, const std::string&) {}

void CEngineHooks::SetOffsets(double, double) {}

double CEngineHooks::FromDisplayLength(const std::string&, double shown)
{
    return shown;
}

std::string CEngineHooks::LengthSymbol()
{
    return "in";
}

void CEngineHooks::LayoutModulePanels() {}

void CEngineHooks::LayoutAreaPanels() {}

void CEngineHooks::Redraw() {}

void CEngineHooks::RebindAll() {}

void CEngineHooks::RefreshAll() {}

//==============================================================================
CEngineHooks& CEngineHooks::Get()
{
    static CEngineHooks headless;
    return installed != nullptr ? *installed : headless;
}

void CEngineHooks::Install(CEngineHooks* hooks)
{
    installed = hooks;
}

void CEngineHooks::Uninstall(CEngineHooks* hooks)
{
    if (installed == hooks)
        installed = nullptr;
}
