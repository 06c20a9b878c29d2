#pragma once
// The array info strip at the top of the main window: the counts of full-range modules
// and subwoofers, the flybar pick position and the computed array angle. The sliders send
// their commands; what they show comes back from Array.1.ArrayInfo through the listener
// manager. Owned by the main window; GUI message thread only.

#include "ui/CCheckedSlider.h"
#include <juce_gui_basics/juce_gui_basics.h>

#include <string>

class CKWEMJuceArrayInfo : public juce::Component, public juce::Button::Listener, public juce::Slider::Listener
{
public:
    CKWEMJuceArrayInfo();
    ~CKWEMJuceArrayInfo() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void buttonClicked(juce::Button* button) override;
    void sliderValueChanged(juce::Slider* slider) override;
    void sliderDragStarted(juce::Slider* slider) override;
    void sliderDragEnded(juce::Slider* slider) override;

    // Binds the sliders and the angle editor to the array-info elements of array 1 again,
    // which also writes their current values into them. Needed after the array document
    // was replaced (a file load).
    void Refresh();

    // "Array.1.ArrayInfo", the element the panel shows.
    static std::string ArrayInfoPath();

    juce::Slider& GetRangeSlider() { return rangeSlider; }
    juce::Slider& GetSubwooferSlider() { return subwooferSlider; }
    juce::Slider& GetPinSlider() { return pinSlider; }
    juce::TextEditor& GetAngleEditor() { return angleEditor; }
    juce::ToggleButton& GetFlownToggle() { return flownToggle; }
    juce::ToggleButton& GetGroundToggle() { return groundToggle; }
    juce::TextButton& GetSuggestButton() { return suggestButton; }

private:
    // The command a count or pin slider sends; "" for any other slider.
    const std::string& TargetOf(const juce::Slider& slider) const;
    // The design's count of full-range modules (Model_DRXR1) or subwoofers (Model_DRXS1).
    static int CountOf(const std::string& target);
    // Why `count` of the model `target` sets does not fit beside the other model's
    // enclosures (the engine would take the others out), or "" when it fits.
    static std::string FitRefusal(const std::string& target, int count);
    // The count sliders' tooltips: what fits beside the other model.
    void DescribeCounts();

    juce::ToggleButton flownToggle;
    juce::ToggleButton groundToggle;
    CCheckedSlider rangeSlider;
    CCheckedSlider subwooferSlider;
    CCheckedSlider pinSlider;
    juce::Label rangeCaption;
    juce::Label subwooferCaption;
    juce::Label pinCaption;
    juce::Label angleCaption;
    juce::Label limitCaption;
    juce::TextEditor angleEditor;
    juce::TextButton suggestButton;
    juce::Label titleLabel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CKWEMJuceArrayInfo)
};
