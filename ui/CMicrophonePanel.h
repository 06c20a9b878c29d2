#pragma once
// The virtual microphone's call-out: the 26-band spectrum as a bar plot, L_Z and L_A, and
// per source its level, distance and arrival time. Shows what it is given; the microphone
// decides when. GUI message thread only.

#include "engine/CBandModel.h"

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

    void paint(juce::Graphics& g) override;
    void resized() override;
    bool keyPressed(const juce::KeyPress& key) override;

    // The summary lines as shown: "L_Z ... dB   L_A ... dB", then one per source.
    juce::StringArray GetLines() const;

private:
    CBandModel::ProbeResult result {};
    std::string place;
    juce::TextButton closeButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CMicrophonePanel)
};
