#include "ui/CZorvSkin2LookAndFeel.h"

#include "base/CReportError.h"

#include <new>

juce::LookAndFeel* CZorvSkin2LookAndFeel::Create(int index)
{
    if (index != 1 && index != 2)
        return nullptr;

    auto* lookAndFeel = new (std::nothrow) CZorvSkin2LookAndFeel();
    if (lookAndFeel == nullptr)
    {
        CReportError::GetInstance()->ReportError(
            "Error: Not enough memory to allocate look and feel for DRX Wizard.");
        return nullptr;
    }
    lookAndFeel->SetColours(index == 1 ? kWhiteText : kBlackText);
    return lookAndFeel;
}

void CZorvSkin2LookAndFeel::SetColours(juce::uint32 textColour)
{
    setColour(juce::TextEditor::textColourId, juce::Colour(textColour));
    setColour(juce::Label::textColourId, juce::Colour(textColour));
    setColour(juce::TextEditor::backgroundColourId, juce::Colour(0xffd5d6d7u));
    setColour(juce::TextButton::buttonColourId, juce::Colour(0xff909090u));
    setColour(juce::TextButton::buttonOnColourId, juce::Colour(0xffc7c7c7u));
    setColour(juce::TextButton::textColourOffId, juce::Colour(0xffffffffu));
    setColour(juce::Slider::trackColourId, juce::Colour(0xffd5d6d7u));
    setColour(juce::Slider::textBoxBackgroundColourId, juce::Colour(0xffd8d8d8u));
}

void CZorvSkin2LookAndFeel::drawButtonText(juce::Graphics& g, juce::TextButton& button, bool highlighted, bool down)
{
    if (button.getWidth() >= kNarrowButton)
    {
        juce::LookAndFeel_V2::drawButtonText(g, button, highlighted, down);
        return;
    }
    // The classic margins leave a 14-pixel stepper button 8 pixels, too few for "+", which
    // then shows as "..".
    g.setFont(getTextButtonFont(button, button.getHeight()));
    g.setColour(button.findColour(button.getToggleState() ? juce::TextButton::textColourOnId
                                                          : juce::TextButton::textColourOffId)
                    .withMultipliedAlpha(button.isEnabled() ? 1.0f : 0.5f));
    g.drawFittedText(button.getButtonText(), button.getLocalBounds(), juce::Justification::centred, 1, 0.5f);
}

juce::Label* CZorvSkin2LookAndFeel::createSliderTextBox(juce::Slider& slider)
{
    juce::Label* box = juce::LookAndFeel_V2::createSliderTextBox(slider);
    // "2500.0" in a box laid out for "25.0": every digit stays, narrower.
    box->setMinimumHorizontalScale(0.4f);
    return box;
}
