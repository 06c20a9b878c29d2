#pragma once
// The headless core with the wizard's main window built on it, as the document window
// builds it, minus the desktop: the update service answers from a file in the test's
// directory (not newer, so the start-up check shows no box), and the venue view holds the
// start-up picture.

#include "engine/EngineFixture.h"

#include "app/CListenerManager.h"
#include "base/NumberText.h"
#include "ui/CKWEMJuceArrayInfo.h"
#include "ui/CKwemJuceSplScale.h"
#include "ui/CUpdateCheck.h"
#include "ui/CVenueView.h"
#include "ui/CZorvJuceKWEMWindow.h"
#include "xml/XmlTags.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdlib>
#include <memory>

class WindowFixture : public EngineFixture
{
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        temp.Write("update.xml", "<Root><Date>2008-11-10-001</Date><Version>1.02</Version></Root>");
        const juce::String url = juce::URL(temp.File("update.xml")).toString(false);
        setenv(CUpdateCheck::kUrlVariable, url.toRawUTF8(), 1);

        window = std::make_unique<CZorvJuceKWEMWindow>();
        CJuceManager::GetInstance()->SetMainComponent(window.get());
        CJuceManager::GetInstance()->Redraw();
    }

    void TearDown() override
    {
        CJuceManager::GetInstance()->SetMainComponent(nullptr);
        window.reset();
        unsetenv(CUpdateCheck::kUrlVariable);
        EngineFixture::TearDown();
    }

    // Commands performed so far under `name`; each command is one undo transaction.
    static int Commands(const std::string& name)
    {
        int count = 0;
        for (const juce::String& n : CCommandManager::GetInstance()->GetUndoManager()->getUndoDescriptions())
            count += n == juce::String(name) ? 1 : 0;
        return count;
    }

    static int AllCommands()
    {
        return CCommandManager::GetInstance()->GetUndoManager()->getUndoDescriptions().size();
    }

    static void Click(juce::Button& button)
    {
        button.triggerClick();
        juce::MessageManager::getInstance()->runDispatchLoopUntil(20);
    }

    // A click on a stepper's "+" (direction 1) or "-" button, the buttons the slider draws.
    static void Step(juce::Slider& slider, int direction)
    {
        const juce::String text = direction > 0 ? "+" : "-";
        for (juce::Component* child : slider.getChildren())
            if (auto* button = dynamic_cast<juce::Button*>(child); button != nullptr && button->getButtonText() == text)
                return Click(*button);
        ADD_FAILURE() << "the slider has no " << text << " button";
    }

    static CXmlNode* ArrayInfoValue(const std::string& element)
    {
        return CEngineManager::GetInstance()->ResolvePath(CKWEMJuceArrayInfo::ArrayInfoPath() + "." + element)
            ->GetChild(Tag::Value);
    }

    // The venue picture as the venue view shows it.
    juce::Image Picture() const { return window->GetVenueView().GetPicture().createCopy(); }

    std::unique_ptr<CZorvJuceKWEMWindow> window;
};
