#include "ui/CUiScale.h"

#include "app/CJuceManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <algorithm>
#include <string>

namespace
{
CXmlNode* ScaleValue()
{
    return CJuceManager::GetInstance()->GetSettingsRoot()->GetChild(Tag::UiScale)->GetChild(Tag::Value);
}
}

int CUiScale::Remembered()
{
    CXmlNode* value = ScaleValue();
    if (! value->HasValue())
        return kMinimum;
    // Typed by hand into the settings file: no number counts as none.
    const juce::String text(value->GetString(""));
    if (! text.trim().containsOnly("0123456789") || text.trim().isEmpty() || text.length() > 6)
        return kMinimum;
    return std::clamp(text.getIntValue(), kMinimum, kMaximum);
}

int CUiScale::Apply(int percent)
{
    percent = std::clamp(percent, kMinimum, kMaximum);
    ScaleValue()->SetString(std::to_string(percent));
    juce::Desktop::getInstance().setGlobalScaleFactor((float) percent / 100.0f);
    return percent;
}

void CUiScale::ApplyRemembered()
{
    Apply(Remembered());
}

void CUiScale::FitToScreen(juce::ResizableWindow& window, int minWidth, int minHeight)
{
    // In the desktop's scaled pixels, as the window's own bounds are.
    const juce::Displays& displays = juce::Desktop::getInstance().getDisplays();
    const juce::Displays::Display* display = displays.getDisplayForRect(window.getScreenBounds());
    if (display == nullptr)
        display = displays.getPrimaryDisplay();
    if (display == nullptr)
        return;
    const juce::Rectangle<int> area = display->userArea;
    const int minimumWidth = std::min(minWidth, area.getWidth());
    const int minimumHeight = std::min(minHeight, area.getHeight());
    window.setResizeLimits(minimumWidth, minimumHeight, 16384, 16384);

    juce::Rectangle<int> bounds = window.getBounds();
    bounds.setSize(std::clamp(bounds.getWidth(), minimumWidth, area.getWidth()),
                   std::clamp(bounds.getHeight(), minimumHeight, area.getHeight()));
    window.setBounds(bounds.constrainedWithin(area));
}
