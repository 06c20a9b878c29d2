#include "ui/CKwemJuceAbout.h"

#include "ui/CUiScale.h"
#include "ui/CUpdateCheck.h"
#include "ui/PanelLabels.h"

namespace
{
void SetUpInfoLabel(juce::Label& label)
{
    SetUpCaption(label, juce::Font(15.0f, juce::Font::bold), juce::Justification::centred);
    label.setColour(juce::Label::backgroundColourId, juce::Colour(0x00bab956u));
}
} // namespace

CKwemJuceAbout::CKwemJuceAbout()
    : titleLabel("new label", "DRX Wizard:"),
      contactButton("ContactUs"),
      versionLabel("VersionNumber", "version 1.02\n001 000 002 000\n11/10/2008"),
      closeButton("CloseInfo"),
      updateButton("Update"),
      scaleLabel("ScaleLabel", "Interface size"),
      scaleChoice("UiScale")
{
    addAndMakeVisible(titleLabel);
    SetUpInfoLabel(titleLabel);

    addAndMakeVisible(contactButton);
    contactButton.setButtonText("click here to Contact Kesta");
    contactButton.setTooltip("click here to visit the Kesta website with questions, feedback, or error "
                             "reports on the DRX wizard utility");
    contactButton.addListener(this);

    addAndMakeVisible(versionLabel);
    SetUpInfoLabel(versionLabel);

    addAndMakeVisible(closeButton);
    closeButton.setButtonText("Close about info");
    closeButton.addListener(this);

    addAndMakeVisible(updateButton);
    updateButton.setButtonText("Check for Updates");
    updateButton.addListener(this);

    addAndMakeVisible(scaleLabel);
    SetUpCaption(scaleLabel, juce::Font(13.0f, juce::Font::plain));
    addAndMakeVisible(scaleChoice);
    scaleChoice.setTooltip("Makes the whole window larger for screens with many pixels per inch; "
                           "the choice is kept for the next start");
    for (int percent : CUiScale::kChoices)
        scaleChoice.addItem(juce::String(percent) + " %", percent);
    scaleChoice.setSelectedId(CUiScale::Remembered(), juce::dontSendNotification);
    scaleChoice.addListener(this);

    setSize(400, 300);
}

CKwemJuceAbout::~CKwemJuceAbout()
{
    contactButton.removeListener(this);
    closeButton.removeListener(this);
    updateButton.removeListener(this);
    scaleChoice.removeListener(this);
}

void CKwemJuceAbout::paint(juce::Graphics& g)
{
    g.setColour(juce::Colour(0x45a5422au));
    g.fillRoundedRectangle(106.0f, 8.0f, 196.0f, 226.0f, 10.0f);
    g.setColour(juce::Colour(0xffce6565u));
    g.drawRoundedRectangle(106.0f, 8.0f, 196.0f, 226.0f, 10.0f, 2.1f);

    g.setColour(juce::Colour(0xffe3c44eu));
    g.fillRoundedRectangle(131.0f, 16.0f, 139.0f, 94.0f, 10.0f);
    g.setColour(juce::Colour(0xffd4b232u));
    g.drawRoundedRectangle(131.0f, 16.0f, 139.0f, 94.0f, 10.0f, 2.1f);
}

void CKwemJuceAbout::resized()
{
    titleLabel.setBounds(149, 16, 104, 32);
    contactButton.setBounds(110, 116, 184, 24);
    versionLabel.setBounds(128, 46, 144, 64);
    closeButton.setBounds(160, 168, 96, 24);
    updateButton.setBounds(144, 143, 120, 24);
    scaleLabel.setBounds(110, 200, 92, 24);
    scaleChoice.setBounds(202, 200, 92, 24);
}

void CKwemJuceAbout::comboBoxChanged(juce::ComboBox* box)
{
    if (box != &scaleChoice || scaleChoice.getSelectedId() == 0)
        return;
    // The window keeps its size in interface pixels, so it grows on the screen.
    juce::Component* window = getTopLevelComponent();
    const juce::Rectangle<int> before = window->getBounds();
    CUiScale::Apply(scaleChoice.getSelectedId());
    window->setSize(before.getWidth(), before.getHeight());
    // ...but never past the screen's work area.
    if (auto* resizable = dynamic_cast<juce::ResizableWindow*>(window))
        CUiScale::FitToScreen(*resizable, CUiScale::kWindowWidth, CUiScale::kWindowHeight);
}

void CKwemJuceAbout::buttonClicked(juce::Button* button)
{
    if (button == &contactButton)
        juce::URL(kContactUrl).launchInDefaultBrowser();
    else if (button == &closeButton)
        setVisible(false);
    else if (button == &updateButton)
        CUpdateCheck::RunUserCheck();
}
