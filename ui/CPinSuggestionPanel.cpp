#include "ui/CPinSuggestionPanel.h"

#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "engine/CEngineManager.h"
#include "xml/XmlTags.h"

#include <cmath>

namespace
{
constexpr int kRowHeight = 18;
constexpr int kHeadingHeight = 44;
constexpr int kButtonHeight = 28;
constexpr int kWidth = 392;
const char* const kColumns[] = { "Pin", "Spread", "Median", "Within 3 dB", "Min", "Max" };
constexpr int kColumnX[] = { 8, 66, 126, 188, 268, 328 };

juce::String Decibels(double value)
{
    return std::isfinite(value) ? juce::String(value, 1) + " dB" : juce::String("-");
}

juce::String Share(double value)
{
    return std::isfinite(value) ? juce::String(juce::roundToInt(value * 100.0)) + " %" : juce::String("-");
}
}

CPinSuggestionPanel::CPinSuggestionPanel()
    : suggestion(CPinSuggestion::Compute(CEngineManager::GetView())),
      currentPin(CArrayLineWrap(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind)).GetSlotPin())
{
    const juce::String view(suggestion.view.ToString());
    heading.setText(suggestion.best ? "The most even audience coverage in " + view + ": pin " + juce::String(*suggestion.best)
                                    : "No pin gives the audience a level in " + view + ": nothing to suggest",
                    juce::dontSendNotification);
    heading.setJustificationType(juce::Justification::centredLeft);
    addAndMakeVisible(heading);

    applyButton.setButtonText(suggestion.best ? "Apply pin " + juce::String(*suggestion.best) : juce::String("Apply"));
    applyButton.setEnabled(suggestion.best.has_value() && *suggestion.best != currentPin);
    applyButton.setTooltip("Set the pick pin to the suggested one (can be undone)");
    applyButton.onClick = [this] { Apply(); };
    addAndMakeVisible(applyButton);

    setSize(kWidth, kHeadingHeight + kRowHeight * ((int) suggestion.pins.size() + 1) + kButtonHeight + 16);
    setWantsKeyboardFocus(false);
}

void CPinSuggestionPanel::Show(juce::Component& anchor)
{
    auto panel = std::make_unique<CPinSuggestionPanel>();
    CPinSuggestionPanel* shown = panel.get();
    juce::Component* top = anchor.getTopLevelComponent();
    juce::CallOutBox& box = juce::CallOutBox::launchAsynchronously(std::move(panel),
                                                                   top->getLocalArea(&anchor, anchor.getLocalBounds()), top);
    box.setName("Pick pin suggestion");
    shown->window = top;
    shown->applyButton.grabKeyboardFocus();
}

CPinSuggestionPanel::~CPinSuggestionPanel()
{
    // Repainting only the part the call-out covered draws text cut by its edge a shade
    // apart from the rest; the whole window is painted again instead.
    if (window != nullptr)
        window->repaint();
}

void CPinSuggestionPanel::Apply()
{
    if (! suggestion.best)
        return;
    CCommandManager::GetInstance()->DoGeneral(Tag::SlotPin, "", *suggestion.best);
    CJuceManager::GetInstance()->Redraw();
    if (auto* box = findParentComponentOfClass<juce::CallOutBox>())
        box->dismiss();
}

void CPinSuggestionPanel::paint(juce::Graphics& g)
{
    g.setFont(13.0f);
    int y = kHeadingHeight;
    g.setColour(findColour(juce::Label::textColourId));
    for (size_t c = 0; c < std::size(kColumns); ++c)
        g.drawText(kColumns[c], kColumnX[c], y, 80, kRowHeight, juce::Justification::centredLeft);

    for (const PinCoverage& p : suggestion.pins)
    {
        y += kRowHeight;
        const bool best = suggestion.best && *suggestion.best == p.pin;
        if (best)
        {
            g.setColour(juce::Colours::green.withAlpha(0.45f));
            g.fillRect(4, y, kWidth - 8, kRowHeight);
        }
        g.setColour(findColour(juce::Label::textColourId));
        const juce::String pin = juce::String(p.pin) + (p.pin == currentPin ? " (now)" : "");
        const juce::String cells[] = { pin, Decibels(p.spread), Decibels(p.median), Share(p.coverage),
                                       Decibels(p.min), Decibels(p.max) };
        for (size_t c = 0; c < std::size(cells); ++c)
            g.drawText(cells[c], kColumnX[c], y, 80, kRowHeight, juce::Justification::centredLeft);
    }
}

void CPinSuggestionPanel::resized()
{
    heading.setBounds(4, 4, getWidth() - 8, 24);
    applyButton.setBounds(getWidth() - 128, getHeight() - kButtonHeight - 8, 120, kButtonHeight);
}
