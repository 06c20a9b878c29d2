#pragma once
// The band prediction's controls above the venue picture: the view choice (Classic, Band Z,
// Band A or one band), the field map switch and the microphone button. Owns the field map
// layer and the virtual microphone, gives the venue view the map as its underlay, and
// brings both up to date after every redraw. Its choices go out as commands; it shows the
// stored settings. GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class CFieldMapLayer;
class CMicrophone;
class CMicrophonePanel;
class CVenueView;

class CBandStrip : public juce::Component
{
public:
    // `venueView` shows the picture; `microphonePanel` is the microphone's call-out.
    CBandStrip(CVenueView& venueView, CMicrophonePanel& microphonePanel);
    ~CBandStrip() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    juce::ComboBox& GetViewChoice() { return viewChoice; }
    juce::ToggleButton& GetMapSwitch() { return mapSwitch; }
    juce::TextButton& GetMicrophoneButton() { return microphoneButton; }
    CMicrophone& GetMicrophone() { return *microphone; }
    CFieldMapLayer& GetFieldMap() { return *fieldMap; }

    // Shows the stored view and map switch, then updates the map and the microphone.
    void Refresh();

private:
    CVenueView& venueView;
    juce::ComboBox viewChoice;
    juce::ToggleButton mapSwitch;
    juce::TextButton microphoneButton;
    std::unique_ptr<CFieldMapLayer> fieldMap;
    std::unique_ptr<CMicrophone> microphone;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CBandStrip)
};
