#pragma once
// The rigging strip under the array info: the array's weight, centre of gravity and trim
// heights (its top and bottom above the floor) and the array angle that every pick pin
// gives (the picked one marked), in the display units. Shows what the engine computed; sends no commands. Owned by the main window;
// GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

class CKWEMJuceRigging : public juce::Component
{
public:
    CKWEMJuceRigging();
    ~CKWEMJuceRigging() override;

    // Rewrites both lines from the array document and the display units.
    void Refresh();

    juce::Label& GetWeightLine() { return weightLine; }
    juce::Label& GetPinLine() { return pinLine; }

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    juce::Label weightLine;
    juce::Label pinLine;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CKWEMJuceRigging)
};
