#pragma once
// The headless core with the seven module panels and the five venue-area panels laid out
// by the UI manager, the command throttle on a clock the test moves, and a count of the
// commands that reached the command manager (one undo transaction each).

#include "engine/EngineFixture.h"

#include "app/CListenerManager.h"
#include "base/NumberText.h"
#include "ui/CKWEMJuceFloor.h"
#include "ui/CKWEMJuceModule.h"
#include "ui/CPanelCreators.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdint>

class PanelFixture : public EngineFixture
{
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        SetThrottleClock([] { return now; });
        // Far from whatever time stamp an earlier test left behind.
        now += 1000000;
        CPanelCreators::Install();
        CJuceManager::GetInstance()->LayoutModulePanels(&moduleColumn);
        CJuceManager::GetInstance()->LayoutAreaPanels(&areaColumn);
    }

    void TearDown() override
    {
        EngineFixture::TearDown();
        SetThrottleClock(nullptr);
    }

    static CKWEMJuceModule& Module(int index)
    {
        return *dynamic_cast<CKWEMJuceModule*>(CJuceManager::GetInstance()->GetModulePanel(index));
    }

    static CKWEMJuceFloor& Area(int areaNumber)
    {
        return *dynamic_cast<CKWEMJuceFloor*>(CJuceManager::GetInstance()->GetAreaPanel(areaNumber - 1));
    }

    // Commands performed so far under `name`.
    static int Commands(const std::string& name)
    {
        return CCommandManager::GetInstance()->GetPerformedCount(name);
    }

    // A click as the mouse makes it: the button goes down, then clicks.
    static void Click(juce::Button& button)
    {
        button.triggerClick();
        juce::MessageManager::getInstance()->runDispatchLoopUntil(20);
    }

    // A change as the slider's buttons, text box or mouse make it.
    static void UserSets(juce::Slider& slider, double value)
    {
        juce::Slider::ScopedDragNotification drag(slider);
        slider.setValue(value, juce::sendNotificationSync);
    }

    void Advance(int64_t milliseconds) { now += milliseconds; }

    static CXmlNode* Product(int position)
    {
        return CEngineManager::GetInstance()->ResolvePath("Array.1.CabProd." + std::to_string(position));
    }

    static CXmlNode* AreaNode(int areaNumber)
    {
        return CEngineManager::GetInstance()->ResolvePath("Venue.1.Area." + std::to_string(areaNumber));
    }

    // Only ever moves forward, across tests too: the throttle keeps its last time stamp.
    inline static int64_t now = 0;
    juce::Component moduleColumn;
    juce::Component areaColumn;
};
