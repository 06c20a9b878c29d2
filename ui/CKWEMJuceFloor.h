#pragma once
// The panel of one venue area (an audience surface): its name and the front point, end
// point, angle and length of its surface line, bound to the venue document by dotted
// paths. A user's change is sent as an "Area Change" command, at most one per 200 ms across
// all panels; a dropped change is sent once the window has passed, so the venue always ends
// at what the slider shows. Owned by the UI manager; GUI message thread only.

#include "ui/CCheckedSlider.h"
#include <juce_gui_basics/juce_gui_basics.h>

#include <map>
#include <string>
#include <vector>

class CKWEMJuceFloor : public juce::Component, public juce::Slider::Listener, private juce::Timer
{
public:
    static constexpr int kWidth = 135;
    static constexpr int kHeight = 120;
    // How often a held change asks the throttle again.
    static constexpr int kTrailingCheckMs = 40;

    CKWEMJuceFloor();
    ~CKWEMJuceFloor() override;

    // Binds the panel to area `areaNumber` (1 to 5) of venue 1 and applies its Visible flag.
    void Refresh(int areaNumber);
    int GetAreaNumber() const { return areaNumber; }

    void paint(juce::Graphics& g) override;
    void resized() override;
    void sliderValueChanged(juce::Slider* slider) override;
    void sliderDragStarted(juce::Slider* slider) override;
    void sliderDragEnded(juce::Slider* slider) override;

    // Sends the oldest change the throttle held back, once it lets one through; true when
    // one was sent. The timer calls this; tests call it with their own clock.
    bool SendHeldChange();
    bool HasHeldChange() const { return ! held.empty(); }

    // The controls, for the window tests and the headless tests.
    juce::Slider& FrontX() { return frontX; }
    juce::Slider& FrontZ() { return frontZ; }
    juce::Slider& EndX() { return endX; }
    juce::Slider& EndZ() { return endZ; }
    juce::Slider& AngleSlider() { return angle; }
    juce::Slider& LengthSlider() { return length; }
    juce::TextEditor& NameEditor() { return name; }

protected:
    // Hides the controls the hang-point and stage variants do without.
    void HideEndZ();
    void HideEndX();
    void HideAngleAndLength();

private:
    void SetUpSlider(juce::Slider& slider, const char* tooltip, juce::Slider::TextEntryBoxPosition box);
    void SetUpLabel(juce::Label& label, const char* text, const char* tooltip);
    void Send(juce::Slider* slider);
    void Hold(juce::Slider* slider);
    void Release(juce::Slider* slider);
    void timerCallback() override;

    int areaNumber = 0;
    juce::Line<float> separator;
    std::map<juce::Slider*, std::string> keys;
    std::vector<juce::Slider*> held;

    CCheckedSlider endZ;
    juce::Label sXLabel;
    juce::Label sZLabel;
    juce::Label eXLabel;
    juce::Label eZLabel;
    juce::Label angleLabel;
    juce::Label lengthLabel;
    juce::TextEditor name;
    CCheckedSlider length;
    CCheckedSlider angle;
    CCheckedSlider endX;
    CCheckedSlider frontZ;
    CCheckedSlider frontX;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CKWEMJuceFloor)
};
