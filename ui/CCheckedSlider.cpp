#include "ui/CCheckedSlider.h"

#include "base/CReportError.h"

double CCheckedSlider::getValueFromText(const juce::String& text)
{
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
