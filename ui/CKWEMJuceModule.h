#pragma once
// One position of the array in the module list: the flybar, an enclosure or "None". A
// full-range module also shows its listening distance and its amplifier and HF shading
// switches, bound to the array document; a click on a switch sends "Toggle Module Switch".
// A full-range module and a subwoofer show the user's processing (delay, polarity, gain),
// each edit sent as the command of that name.
// Owned by the UI manager, which creates seven of them and refreshes them after every
// change to the array. GUI message thread only.

#include "ui/CCheckedSlider.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <string>

class CKWEMJuceModule : public juce::Component, public juce::Button::Listener
{
public:
    static constexpr int kWidth = 140;
    static constexpr int kHeight = 104;
    static constexpr int kFlybarHeight = 18;

    CKWEMJuceModule();
    ~CKWEMJuceModule() override;

    // Shows position `positionNumber` (index + 1) holding `model`, of the UI manager's kind
    // (1 none, 2 flybar, 3 subwoofer, 4 full range), and binds its controls.
    void Refresh(int positionNumber, int index, const std::string& model, int kind);

    void paint(juce::Graphics& g) override;
    void resized() override;
    void buttonClicked(juce::Button* button) override;
    void buttonStateChanged(juce::Button* button) override;

    int GetKind() const { return kind; }
    int GetPositionNumber() const { return positionNumber; }

    // The controls, for the window tests and the headless tests.
    juce::Label& DistanceLabel() { return distanceValue; }
    juce::Label& TitleLabel() { return title; }
    juce::Label& ModelLabel() { return model; }
    juce::Label& SwitchNameLabel() { return switchName; }
    juce::ToggleButton& BiAmp() { return biAmp; }
    juce::ToggleButton& SingleAmp() { return singleAmp; }
    juce::ToggleButton& Multi() { return multi; }
    juce::ToggleButton& Single() { return single; }
    juce::ToggleButton& Long() { return longMode; }
    juce::Slider& Delay() { return delay; }
    juce::ToggleButton& Invert() { return invert; }
    juce::Slider& Gain() { return gain; }

private:
    void SetUpToggle(juce::ToggleButton& toggle, const char* switchNumber, const char* text, const char* tooltip,
                     int edges, int group);
    void UnbindAll();
    void SetUpProcessingSlider(CCheckedSlider& slider, const std::string& target, double low, double high, double step,
                               const char* suffix, const char* tooltip);
    // The processing of this position as the design holds it (the defaults where it has none).
    void ShowProcessing();
    // Sends one processing command; a refused one is reported and the controls show the design again.
    void SendProcessing(const std::string& target, double value);

    int kind = 4;
    int index = 0;
    int positionNumber = 1;
    juce::Path separator;

    juce::Label distanceValue;
    juce::Label operatingMode;
    juce::Label hfShading;
    juce::Label distanceCaption;
    juce::Label title;
    juce::Label model;
    juce::Label switchName;
    juce::ToggleButton biAmp;
    juce::ToggleButton singleAmp;
    juce::ToggleButton multi;
    juce::ToggleButton single;
    juce::ToggleButton longMode;
    CCheckedSlider delay;
    juce::ToggleButton invert;
    CCheckedSlider gain;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CKWEMJuceModule)
};
