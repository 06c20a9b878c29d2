#pragma once
// A slider whose typed text is checked before it becomes a value: text the command behind
// the slider would refuse (no number, out of range) is reported through the error reporter
// and leaves the slider at the value it had, so the box shows the stored value again.
// A typed value is kept to the range's interval, while the + and - buttons may step
// further (SetButtonStep). Owned by its panel like any control; GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <string>

class CCheckedSlider : public juce::Slider
{
public:
    using juce::Slider::Slider;

    // Why the command would refuse `typed`, or "" when it takes it.
    std::function<std::string(const std::string& typed)> checkTyped;

    // How far one press of + or - moves the value; 0 (the default) moves by the interval.
    void SetButtonStep(double step) { buttonStep = step; }

    double getValueFromText(const juce::String& text) override;
    double snapValue(double attemptedValue, DragMode mode) override;

private:
    double buttonStep = 0.0;
    bool typing = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CCheckedSlider)
};
