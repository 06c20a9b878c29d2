#include "ui/CCheckedSlider.h"

#include "base/CReportError.h"

#include <cmath>

double CCheckedSlider::getValueFromText(const juce::String& text)
{
    // JUCE snaps the value it gets from here next: that one is typed, not stepped.
    typing = true;
    if (checkTyped)
    {
        juce::String typed = text.trim();
        if (getTextValueSuffix().isNotEmpty() && typed.endsWith(getTextValueSuffix()))
            typed = typed.dropLastCharacters(getTextValueSuffix().length()).trim();
        const std::string refusal = checkTyped(typed.toStdString());
        if (! refusal.empty())
        {
            CReportError::GetInstance()->ReportError(refusal);
            return getValue();
        }
    }
    return juce::Slider::getValueFromText(text);
}

double CCheckedSlider::snapValue(double attemptedValue, DragMode mode)
{
    const bool typed = typing;
    typing = false;
    const double interval = getInterval();
    if (typed || mode != notDragging || buttonStep <= interval || interval <= 0.0)
        return attemptedValue;
    // The buttons ask for the value one interval on; they move by the step instead, onto
    // its multiples, as a stepper does.
    const double delta = attemptedValue - getValue();
    if (std::abs(std::abs(delta) - interval) > interval * 1e-6)
        return attemptedValue;
    const double steps = getValue() / buttonStep;
    const double next = delta > 0.0 ? std::floor(steps + 1e-6) + 1.0 : std::ceil(steps - 1e-6) - 1.0;
    return next * buttonStep;
}
