#pragma once
// The content of the wizard's document window: an 800 x 600 form with the array info
// strip, the rigging strip, the module list, the venue view, the SPL scale, the venue-area
// strip, the file and program buttons, the unit switch and the status row. A larger window
// gives the extra room to the venue view; the panels keep their layout and move with the
// edges they sit at. It never edits a document itself: its buttons open the file dialogs,
// send commands or print. Owned by the document window; GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class CBandStrip;
class CKWEMJuceArrayInfo;
class CKWEMJuceRigging;
class CKwemJuceAbout;
class CKwemJuceSplScale;
class CMicrophonePanel;
class CStartupUpdateCheck;
class CVenueView;

class CZorvJuceKWEMWindow : public juce::Component, public juce::Button::Listener
{
public:
    // Hands the UI manager the creators of the look and feels and of the module and area
    // panels. The constructor calls it, so the window is whole wherever it is built; the
    // document window needs it earlier, before it asks for its own look and feel.
    static void InstallCreators();

    CZorvJuceKWEMWindow();
    ~CZorvJuceKWEMWindow() override;

    void paint(juce::Graphics& g) override;
    void resized() override;
    void buttonClicked(juce::Button* button) override;
    // Ctrl+S saves, Ctrl+Shift+S saves as; Escape removes the microphone.
    bool keyPressed(const juce::KeyPress& key) override;

    static constexpr int kBaseWidth = 800;
    static constexpr int kBaseHeight = 600;

    CVenueView& GetVenueView() const { return *venueView; }
    CKWEMJuceRigging& GetRigging() const { return *rigging; }

    //==========================================================================
    CKWEMJuceArrayInfo& GetArrayInfo() const { return *arrayInfo; }
    CKwemJuceSplScale& GetSplScale() const { return *splScale; }
    CKwemJuceAbout& GetAboutPanel() const { return *aboutPanel; }
    juce::Label& GetUnitsLabel() const { return *unitsShownLabel; }
    juce::Label& GetVersionLabel() const { return *versionLabel; }
    juce::TextButton& GetUnitButton() const { return *unitButton; }
    juce::TextButton& GetAboutButton() const { return *aboutButton; }
    juce::TextButton& GetUpdateButton() const { return *updateButton; }
    juce::Viewport& GetModuleListView() const { return *cabListView; }
    juce::Viewport& GetAreaListView() const { return *floorListView; }
    CBandStrip& GetBandStrip() const { return *bandStrip; }
    CMicrophonePanel& GetMicrophonePanel() const { return *microphonePanel; }

private:
    void CreateChildren();
    int ExtraWidth() const;
    int ExtraHeight() const;
    void BindUnitDisplay();

    // In creation order, which is also the z-order.
    std::unique_ptr<juce::Label> unitsShownLabel;
    std::unique_ptr<CKWEMJuceArrayInfo> arrayInfo;
    std::unique_ptr<juce::Viewport> floorListView;
    std::unique_ptr<juce::TextButton> loadButton;
    std::unique_ptr<juce::TextButton> saveButton;
    std::unique_ptr<juce::TextButton> saveAsButton;
    std::unique_ptr<juce::TextButton> venueSaveButton;
    std::unique_ptr<juce::TextButton> exitButton;
    std::unique_ptr<juce::TextButton> printButton;
    std::unique_ptr<juce::TextButton> updateButton;
    std::unique_ptr<juce::Viewport> cabListView;
    std::unique_ptr<juce::Label> versionLabel;
    std::unique_ptr<juce::Label> unitsCaption;
    std::unique_ptr<juce::TextButton> venueLoadButton;
    std::unique_ptr<CVenueView> venueView;
    std::unique_ptr<CKwemJuceSplScale> splScale;
    std::unique_ptr<juce::TextButton> aboutButton;
    std::unique_ptr<CKwemJuceAbout> aboutPanel;
    std::unique_ptr<juce::Label> venueInfoLabel;
    std::unique_ptr<juce::Label> venueViewLabel;
    std::unique_ptr<juce::TextButton> unitButton;
    std::unique_ptr<CKWEMJuceRigging> rigging;
    std::unique_ptr<CMicrophonePanel> microphonePanel;
    std::unique_ptr<CBandStrip> bandStrip;

    std::unique_ptr<juce::TooltipWindow> tooltipWindow;
    std::unique_ptr<CStartupUpdateCheck> startupCheck;
    juce::Image logo;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CZorvJuceKWEMWindow)
};
