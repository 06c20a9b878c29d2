#include "ui/CPanelCreators.h"

#include "app/CJuceManager.h"
#include "ui/CKWEMJuceFloor.h"
#include "ui/CKWEMJuceFloorHang.h"
#include "ui/CKWEMJuceFloorStage.h"
#include "ui/CKWEMJuceModule.h"

void CPanelCreators::Install()
{
    CJuceManager::PanelFactory factory;
    factory.createModulePanel = []() -> juce::Component* { return new CKWEMJuceModule(); };
    factory.refreshModulePanel = [](juce::Component* panel, int position, int index, const std::string& model, int kind)
    {
        if (auto* module = dynamic_cast<CKWEMJuceModule*>(panel))
            module->Refresh(position, index, model, kind);
    };
    factory.createAreaPanel = [](int areaNumber) -> juce::Component*
    {
        if (areaNumber == 1)
            return new CKWEMJuceFloorHang();
        if (areaNumber == 2)
            return new CKWEMJuceFloorStage();
        return new CKWEMJuceFloor();
    };
    factory.refreshAreaPanel = [](juce::Component* panel, int areaNumber)
    {
        if (auto* area = dynamic_cast<CKWEMJuceFloor*>(panel))
            area->Refresh(areaNumber);
    };
    CJuceManager::GetInstance()->SetPanelFactory(std::move(factory));
}
