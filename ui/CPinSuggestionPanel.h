#pragma once
// The coverage suggestion shown beside the pick pin: a table of every pin's audience
// spread, median, coverage and range, the suggested pin marked, and a button that applies
// it as one ordinary (undoable) pick-pin command. Computing the table changes nothing.
// Shown in a call-out owned by JUCE; GUI message thread only.

#include "engine/CPinSuggestion.h"

#include <juce_gui_basics/juce_gui_basics.h>

class CPinSuggestionPanel : public juce::Component
{
public:
    // Computes the suggestion for the design as it stands, in the view shown.
    CPinSuggestionPanel();
    ~CPinSuggestionPanel() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    const CPinSuggestion& GetSuggestion() const { return suggestion; }
    juce::TextButton& GetApplyButton() { return applyButton; }
    juce::String GetHeading() const { return heading.getText(); }

    // Opens the panel in a call-out pointing at `anchor`.
    static void Show(juce::Component& anchor);

private:
    void Apply();

    CPinSuggestion suggestion;
    int currentPin = 0;
    // The window the call-out covers.
    juce::Component::SafePointer<juce::Component> window;
    juce::Label heading;
    juce::TextButton applyButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CPinSuggestionPanel)
};
