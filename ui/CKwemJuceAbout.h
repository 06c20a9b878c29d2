#pragma once
// The About box in the middle of the main window: the version, a link to the maker's
// contact page, a second way to start the update check and the interface size. Owned by the main window,
// hidden until its "About" button shows it. GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

class CKwemJuceAbout : public juce::Component, public juce::Button::Listener, private juce::ComboBox::Listener
{
public:
    // The maker's contact page, opened by "click here to Contact Kesta".
    static constexpr const char* kContactUrl = "http://www.vorlund.example/Contactus";

    CKwemJuceAbout();
    ~CKwemJuceAbout() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void buttonClicked(juce::Button* button) override;

    juce::TextButton& GetContactButton() { return contactButton; }
    juce::TextButton& GetCloseButton() { return closeButton; }
    juce::TextButton& GetUpdateButton() { return updateButton; }
    // Item ids are the percentages.
    juce::ComboBox& GetScaleChoice() { return scaleChoice; }

private:
    juce::Label titleLabel;
    juce::TextButton contactButton;
    juce::Label versionLabel;
    juce::TextButton closeButton;
    juce::TextButton updateButton;
    juce::Label scaleLabel;
    juce::ComboBox scaleChoice;

    void comboBoxChanged(juce::ComboBox* box) override;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CKwemJuceAbout)
};
