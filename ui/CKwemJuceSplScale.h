#pragma once
// The SPL scale beside the venue view: a colour bar drawn once with the SPL gradient of
// the aim lines, fourteen dB labels from the scale's top to its bottom, the unit, and two
// steppers that move the scale's top ("SplBase") and its bottom ("SplRange") and an "Auto"
// toggle that lets the scale follow the levels on show ("SplAuto"), all through commands.
// Owned by the main window; GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

#include <array>
#include <memory>

class CFoo;

class CKwemJuceSplScale : public juce::Component, public juce::Slider::Listener
{
public:
    static constexpr int kLabelCount = 14;
    static constexpr int kRestValue = 50;

    CKwemJuceSplScale();
    ~CKwemJuceSplScale() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void sliderValueChanged(juce::Slider* slider) override;

    // Draws the colour bar when it is missing, rewrites the labels from the SPL manager's
    // scale and shows whether the design's scale is automatic.
    void DrawScale();

    juce::Slider& GetBaseSlider() { return baseSlider; }
    juce::Slider& GetRangeSlider() { return rangeSlider; }
    // Label k shows top - k * (top - bottom) / 13; null when it could not be made.
    juce::Label* GetValueLabel(int k) const;
    CFoo* GetColourBar() const { return colourBar.get(); }
    juce::Label& GetUnitLabel() { return unitLabel; }
    juce::ToggleButton& GetAutoToggle() { return autoToggle; }

private:
    void DrawColourBar();

    juce::Slider baseSlider;
    juce::Slider rangeSlider;
    juce::Label baseLabel;
    juce::Label rangeLabel;
    juce::Label unitLabel;
    juce::ToggleButton autoToggle;
    std::unique_ptr<CFoo> colourBar;
    std::array<std::unique_ptr<juce::Label>, kLabelCount> valueLabels;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CKwemJuceSplScale)
};
