#pragma once
// The wizard's look and feel: JUCE's classic drawing with the wizard's colours, except
// that a button too narrow for the classic text margins (a stepper's "+") still shows its
// whole text, and a slider's value box squeezes a long number rather than cut its digits.
// Two
// variants exist, 1 with white and 2 with black label and editor text; the UI manager
// owns both and creates each through Create on first request. GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

class CZorvSkin2LookAndFeel : public juce::LookAndFeel_V2
{
public:
    static constexpr juce::uint32 kWhiteText = 0xffffffffu;
    static constexpr juce::uint32 kBlackText = 0xff000000u;

    // The variant `index` (1 or 2) with its colour table; any other index gives none.
    // An allocation failure is reported and gives none, so the components keep JUCE's
    // default look and feel instead.
    static juce::LookAndFeel* Create(int index);

    CZorvSkin2LookAndFeel() = default;

    // Buttons narrower than this draw their text over their whole width.
    static constexpr int kNarrowButton = 24;
    void drawButtonText(juce::Graphics& g, juce::TextButton& button, bool highlighted, bool down) override;
    juce::Label* createSliderTextBox(juce::Slider& slider) override;

private:
    void SetColours(juce::uint32 textColour);

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CZorvSkin2LookAndFeel)
};
