#include "app/CJuceEngineHooks.h"

#include "app/CJuceManager.h"
#include "app/CListenerManager.h"

CXmlNode* CJuceEngineHooks::GetSettingsRoot()
{
    return CJuceManager::GetInstance()->GetSettingsRoot();
}

void CJuceEngineHooks::SetUnitSystem(const std::string& lengthUnit, const std::string& weightUnit)
{
    CJuceManager::GetInstance()->SetUnitSystem(lengthUnit, weightUnit);
}

void CJuceEngineHooks::SetOffsets(double x, double y)
{
    CJuceManager::GetInstance()->SetOffsets(x, y);
}

double CJuceEngineHooks::FromDisplayLength(const std::string& key, double shown)
{
    return CJuceManager::GetInstance()->FromDisplayLength(key, shown);
}

std::string CJuceEngineHooks::LengthSymbol()
{
    return CJuceManager::GetInstance()->GetDisplayUnits().LengthSymbol();
}

void CJuceEngineHooks::LayoutModulePanels()
{
    CJuceManager::GetInstance()->LayoutModulePanels(nullptr);
}

void CJuceEngineHooks::LayoutAreaPanels()
{
    CJuceManager::GetInstance()->LayoutAreaPanels(nullptr);
}

void CJuceEngineHooks::Redraw()
{
    CJuceManager::GetInstance()->Redraw();
}

void CJuceEngineHooks::RebindAll()
{
    CListenerManager::GetInstance()->RebindAll();
}

void CJuceEngineHooks::RefreshAll()
{
    CListenerManager::GetInstance()->RefreshAll();
}

CJuceEngineHooks& CJuceEngineHooks::Instance()
{
    static CJuceEngineHooks hooks;
    return hooks;
}
