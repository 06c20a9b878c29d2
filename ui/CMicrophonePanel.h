#pragma once
// The virtual microphone's call-out: the 26-band spectrum as a bar plot, L_Z and L_A, and
// per source its level, distance and arrival time. "Align subwoofers here" turns it to the
// subwoofer alignment at the point: what it would set, the crossover-band level before and
// after, and the spectrum with the aligned one drawn over it, until Apply or Back. Shows
// what it is given; the microphone decides when. GUI message thread only.

#include "engine/CBandModel.h"
#include "engine/CSubAlignment.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

class CMicrophonePanel : public juce::Component
{
public:
    CMicrophonePanel();

    void Show(const CBandModel::ProbeResult& result, const std::string& where);
    const CBandModel::ProbeResult& GetResult() const { return result; }
    // Called when the user closes the call-out (its button or Escape).
    std::function<void()> onClose;

    // The alignment at the point and the spectrum it would give, shown until EndAlignment.
    void ShowAlignment(const CSubAlignment& alignment, const CBandModel::ProbeResult& aligned);
    void EndAlignment();
    bool IsShowingAlignment() const { return showingAlignment; }
    const CSubAlignment& GetAlignment() const { return alignment; }
    // Called for "Align subwoofers here" and for Apply.
    std::function<void()> onAlign;
    std::function<void()> onApplyAlignment;

    void paint(juce::Graphics& g) override;
    void resized() override;
    bool keyPressed(const juce::KeyPress& key) override;

    // The summary lines as shown: "L_Z ... dB   L_A ... dB", then one per source.
    juce::StringArray GetLines() const;
    // The alignment's lines as shown: what it sets, the polarity, the levels.
    juce::StringArray GetAlignmentLines() const;

private:
    void PaintSpectrum(juce::Graphics& g, const juce::Rectangle<int>& plot, double top) const;
    void ShowButtons();

    CBandModel::ProbeResult result {};
    std::string place;
    bool showingAlignment = false;
    CSubAlignment alignment;
    CBandModel::ProbeResult aligned {};
    juce::TextButton closeButton;
    juce::TextButton alignButton;
    juce::TextButton applyButton;
    juce::TextButton backButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CMicrophonePanel)
};
