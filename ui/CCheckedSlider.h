#pragma once
// A slider whose typed text is checked before it becomes a value: text the command behind
// the slider would refuse (no number, out of range) is reported through the error reporter
// and leaves the slider at the value it had, so the box shows the stored value again.
// Owned by its panel like any control; GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <string>

class CCheckedSlider : public juce::Slider
{
public:
    using juce::Slider::Slider;

    // Why the command would refuse `typed`, or "" when it takes it.
    std::function<std::string(const std::string& typed)> checkTyped;

    double getValueFromText(const juce::String& text) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CCheckedSlider)
};
