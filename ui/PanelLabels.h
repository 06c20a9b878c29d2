#pragma once
// Set-up shared by the fixed-layout panels' captions: a label that is never edited, with
// the in-place editor colours every panel gives its labels (black text, transparent).

#include <juce_gui_basics/juce_gui_basics.h>

inline void SetUpCaption(juce::Label& label, const juce::Font& font,
                         juce::Justification justification = juce::Justification::centredLeft)
{
    label.setFont(font);
    label.setJustificationType(justification);
    label.setEditable(false, false, false);
    label.setColour(juce::Label::textWhenEditingColourId, juce::Colours::black);
    label.setColour(juce::Label::backgroundWhenEditingColourId, juce::Colours::transparentBlack);
}
