#include "ui/CZorvJuceKWEMWindow.h"

#include "DrxBinaryData.h"
#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "app/CListenerManager.h"
#include "engine/CEngineManager.h"
#include "ui/CBandStrip.h"
#include "ui/CFileDialogs.h"
#include "ui/CKWEMJuceArrayInfo.h"
#include "ui/CKWEMJuceRigging.h"
#include "ui/CKwemJuceAbout.h"
#include "ui/CKwemJuceSplScale.h"
#include "ui/CMicrophone.h"
#include "ui/CMicrophonePanel.h"
#include "ui/CPanelCreators.h"
#include "ui/CPrintReport.h"
#include "ui/CSavePrompt.h"
#include "ui/CStartupUpdateCheck.h"
#include "ui/CUpdateCheck.h"
#include "ui/CVenueView.h"
#include "ui/CZorvSkin2LookAndFeel.h"
#include "ui/PanelLabels.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>

namespace
{
constexpr int kScrollBarThickness = 7;
constexpr int kFileButtonGroup = 3;
constexpr int kFileButtonFocusOrder = 3;
constexpr int kUnitButtonGroup = 77;
const juce::Colour kBackground(0xff3c3c3cu);
const juce::Colour kPanelGrey(0xffaaaaaau);
const juce::Colour kTabRed(0xff530006u);

std::unique_ptr<juce::Label> MakeLabel(const char* name, const char* text, float fontHeight,
                                       juce::Justification justification = juce::Justification::centredLeft)
{
    auto label = std::make_unique<juce::Label>(name, text);
    SetUpCaption(*label, juce::Font(fontHeight, juce::Font::plain), justification);
    return label;
}

std::unique_ptr<juce::TextButton> MakeButton(const char* name, const char* text, const char* tooltip,
                                             int connectedEdges)
{
    auto button = std::make_unique<juce::TextButton>(name);
    button->setButtonText(text);
    button->setTooltip(tooltip);
    button->setConnectedEdges(connectedEdges);
    return button;
}

// The file and program buttons of the top row and the Update button form one group.
void JoinFileButtonGroup(juce::TextButton& button)
{
    button.setRadioGroupId(kFileButtonGroup);
    button.setExplicitFocusOrder(kFileButtonFocusOrder);
}

std::string DisplayPath()
{
    return Tag::Application + "." + Tag::Display;
}

void FillRoundedPanel(juce::Graphics& g, juce::Colour fill, float x, float y, float w, float h, float outline)
{
    g.setColour(fill);
    g.fillRoundedRectangle(x, y, w, h, 10.0f);
    g.setColour(juce::Colours::white);
    g.drawRoundedRectangle(x, y, w, h, 10.0f, outline);
}
} // namespace

void CZorvJuceKWEMWindow::InstallCreators()
{
    CJuceManager::GetInstance()->SetLookAndFeelCreator(&CZorvSkin2LookAndFeel::Create);
    CPanelCreators::Install();
}

CZorvJuceKWEMWindow::CZorvJuceKWEMWindow()
{
    InstallCreators();
    CreateChildren();
    logo = juce::ImageCache::getFromMemory(DrxBinaryData::DrxLogo_png, DrxBinaryData::DrxLogo_pngSize);
    setSize(800, 600);

    CJuceManager* ui = CJuceManager::GetInstance();
    auto* moduleColumn = new juce::Component();
    cabListView->setViewedComponent(moduleColumn, true);
    cabListView->setScrollBarThickness(kScrollBarThickness);
    ui->LayoutModulePanels(moduleColumn);

    auto* areaColumn = new juce::Component();
    floorListView->setViewedComponent(areaColumn, true);
    floorListView->setScrollBarThickness(kScrollBarThickness);
    ui->LayoutAreaPanels(areaColumn);

    ui->SetMainWindowContent(this);
    ui->SetPictureRedraw([this] {
        venueView->Redraw();
        rigging->Refresh();
        splScale->DrawScale();
    });
    ui->SetArrayInfoPanel(arrayInfo.get());
    arrayInfo->Refresh();

    tooltipWindow = std::make_unique<juce::TooltipWindow>();
    aboutPanel->setVisible(false);
    startupCheck = std::make_unique<CStartupUpdateCheck>(*versionLabel, *updateButton);
    BindUnitDisplay();

    juce::LookAndFeel* whiteText = ui->GetLookAndFeel(1);
    for (juce::Component* c : std::initializer_list<juce::Component*> {
             unitsCaption.get(), unitsShownLabel.get(), versionLabel.get(), venueInfoLabel.get(),
             venueViewLabel.get(), updateButton.get(), aboutButton.get() })
        c->setLookAndFeel(whiteText);
}

void CZorvJuceKWEMWindow::CreateChildren()
{
    unitsShownLabel = MakeLabel("UnitsShownLabel", "feet", 15.0f);
    // "meters" is wider than the label's 40 pixels less the usual margins.
    unitsShownLabel->setBorderSize(juce::BorderSize<int>(1, 4, 1, 0));
    unitsShownLabel->setMinimumHorizontalScale(0.5f);
    addAndMakeVisible(*unitsShownLabel);

    arrayInfo = std::make_unique<CKWEMJuceArrayInfo>();
    addAndMakeVisible(*arrayInfo);

    floorListView = std::make_unique<juce::Viewport>("FloorListView");
    floorListView->setScrollBarsShown(false, true);
    floorListView->setScrollBarThickness(kScrollBarThickness);
    addAndMakeVisible(*floorListView);

    using B = juce::Button;
    loadButton = MakeButton("new button", "Load", "Load previously designed array",
                            B::ConnectedOnLeft | B::ConnectedOnRight);
    saveButton = MakeButton("new button", "Save", "Save the design to its file (Ctrl+S)",
                            B::ConnectedOnLeft | B::ConnectedOnRight);
    saveAsButton = MakeButton("SaveAs", "Save As...", "Save the design to a new file (Ctrl+Shift+S)", 0);
    venueSaveButton = MakeButton("new button", "Venue Save", "Save Venue to reusable venue list", B::ConnectedOnRight);
    exitButton = MakeButton("new button", "Exit", "Exit array wizard", B::ConnectedOnLeft);
    printButton = MakeButton("new button", "Print", "Print out information from array wizard", B::ConnectedOnRight);
    updateButton = MakeButton("new button", "Update", "Check for updates to wizard via the Internet", 0);
    for (juce::TextButton* b : { loadButton.get(), saveButton.get(), saveAsButton.get(), venueSaveButton.get(),
                                 exitButton.get(), printButton.get(), updateButton.get() })
    {
        JoinFileButtonGroup(*b);
        addAndMakeVisible(*b);
    }

    cabListView = std::make_unique<juce::Viewport>("CabListView");
    cabListView->setScrollBarsShown(true, false);
    cabListView->setScrollBarThickness(kScrollBarThickness);
    addAndMakeVisible(*cabListView);

    versionLabel = MakeLabel("new label", "", 12.0f, juce::Justification::centredRight);
    addAndMakeVisible(*versionLabel);
    unitsCaption = MakeLabel("new label", "All units shown as", 15.0f);
    addAndMakeVisible(*unitsCaption);

    venueLoadButton = MakeButton("new button", "Venue Load", "Load venue layout from previously made ones.",
                                 B::ConnectedOnLeft);
    JoinFileButtonGroup(*venueLoadButton);
    addAndMakeVisible(*venueLoadButton);

    venueView = std::make_unique<CVenueView>();
    addAndMakeVisible(*venueView);

    splScale = std::make_unique<CKwemJuceSplScale>();
    addAndMakeVisible(*splScale);

    aboutButton = MakeButton("AboutDRX", "About",
                             "Learn more about the DRX Wizard and Kesta / Vorlund Technologies software", 0);
    addAndMakeVisible(*aboutButton);
    aboutPanel = std::make_unique<CKwemJuceAbout>();
    addAndMakeVisible(*aboutPanel);

    venueInfoLabel = MakeLabel("new label", "Venue Info", 15.0f);
    addAndMakeVisible(*venueInfoLabel);
    venueViewLabel = MakeLabel("new label", "Venue View", 15.0f);
    // The picture's legend, where the picture is named: a tooltip over the whole picture
    // would cover it wherever the pointer rests.
    venueViewLabel->setTooltip("White lines: each full-range module's aim line. Red lines: the array's upper and "
                               "lower coverage edges. Red dot: the array's centre of gravity. Coloured surfaces: the "
                               "level of the view chosen above, on the scale at the right (pale slate: below it).");
    addAndMakeVisible(*venueViewLabel);

    unitButton = MakeButton("new button", "US units", "Click to select US or SI units", 0);
    unitButton->setRadioGroupId(kUnitButtonGroup);
    addAndMakeVisible(*unitButton);

    rigging = std::make_unique<CKWEMJuceRigging>();
    addAndMakeVisible(*rigging);

    microphonePanel = std::make_unique<CMicrophonePanel>();
    addChildComponent(*microphonePanel);
    bandStrip = std::make_unique<CBandStrip>(*venueView, *microphonePanel);
    addAndMakeVisible(*bandStrip);

    for (juce::TextButton* b : { loadButton.get(), saveButton.get(), saveAsButton.get(), venueSaveButton.get(),
                                 exitButton.get(), printButton.get(), updateButton.get(), venueLoadButton.get(),
                                 aboutButton.get(), unitButton.get() })
        b->addListener(this);
}

void CZorvJuceKWEMWindow::BindUnitDisplay()
{
    // Defaults only: a value the settings already hold is kept.
    CEngineManager* engine = CEngineManager::GetInstance();
    const std::string display = DisplayPath();
    engine->ResolvePath(display + "." + Tag::UnitType + "." + Tag::Value)->GetString(Tag::Feet);
    engine->ResolvePath(display + "." + Tag::UnitDescribe + "." + Tag::Value)->GetString("US Units");

    CListenerManager* listeners = CListenerManager::GetInstance();
    listeners->RegisterByPath(unitsShownLabel.get(), display, Tag::UnitType, Tag::VLabelText, "");
    listeners->RegisterByPath(unitButton.get(), display, Tag::UnitDescribe, Tag::VButtonText, "");
}

CZorvJuceKWEMWindow::~CZorvJuceKWEMWindow()
{
    CListenerManager::GetInstance()->Unregister(unitsShownLabel.get());
    CListenerManager::GetInstance()->Unregister(unitButton.get());
    CJuceManager* ui = CJuceManager::GetInstance();
    if (ui->GetMainWindowContent() == this)
    {
        ui->SetMainWindowContent(nullptr);
        ui->SetPictureRedraw(nullptr);
    }
    if (ui->GetArrayInfoPanel() == arrayInfo.get())
        ui->SetArrayInfoPanel(nullptr);

    // Stopped before the label and the button it marks go.
    startupCheck.reset();
    bandStrip.reset();
    microphonePanel.reset();
    unitsShownLabel.reset();
    arrayInfo.reset();
    floorListView.reset();
    loadButton.reset();
    saveButton.reset();
    saveAsButton.reset();
    venueSaveButton.reset();
    exitButton.reset();
    printButton.reset();
    updateButton.reset();
    cabListView.reset();
    versionLabel.reset();
    unitsCaption.reset();
    venueLoadButton.reset();
    venueView.reset();
    splScale.reset();
    aboutButton.reset();
    aboutPanel.reset();
    venueInfoLabel.reset();
    venueViewLabel.reset();
    unitButton.reset();
    rigging.reset();
}

void CZorvJuceKWEMWindow::paint(juce::Graphics& g)
{
    const float dy = (float) ExtraHeight();
    g.fillAll(kBackground);
    FillRoundedPanel(g, kPanelGrey, 155.0f, 406.0f + dy, 581.0f, 126.0f, 3.0f);
    FillRoundedPanel(g, kPanelGrey, 1.0f, 4.0f, 141.0f, 546.0f + dy, 3.0f);
    FillRoundedPanel(g, kTabRed, 160.0f, 508.0f + dy, 79.0f, 20.0f, 1.0f);

    g.setColour(juce::Colours::black);
    if (logo.isValid())
        g.drawImage(logo, 345, 540 + (int) dy, 151, 28, 0, 0, logo.getWidth(), logo.getHeight(), false);
}

int CZorvJuceKWEMWindow::ExtraWidth() const
{
    return std::max(0, getWidth() - kBaseWidth);
}

int CZorvJuceKWEMWindow::ExtraHeight() const
{
    return std::max(0, getHeight() - kBaseHeight);
}

void CZorvJuceKWEMWindow::resized()
{
    // Right-hand controls follow the right edge, the bottom strips the bottom edge; the
    // venue view takes what is left. Below 800 x 600 the form is cut, as it always was.
    const int dx = ExtraWidth();
    const int dy = ExtraHeight();
    unitsShownLabel->setBounds(273, 544 + dy, 40, 24);
    arrayInfo->setBounds(152, 4, 480, 80);
    floorListView->setBounds(152, 408 + dy, 624, 127);
    loadButton->setBounds(716 + dx, 8, 38, 24);
    saveButton->setBounds(678 + dx, 8, 38, 24);
    // Under Save, above the venue buttons.
    saveAsButton->setBounds(678 + dx, 32, 76, 18);
    venueSaveButton->setBounds(699 + dx, 50, 48, 35);
    exitButton->setBounds(754 + dx, 8, 38, 24);
    printButton->setBounds(640 + dx, 8, 38, 24);
    updateButton->setBounds(720 + dx, 540 + dy, 61, 25);
    cabListView->setBounds(6, 10, 140, 548 + dy);
    versionLabel->setBounds(576 + dx, 543 + dy, 136, 24);
    unitsCaption->setBounds(158, 544 + dy, 120, 24);
    venueLoadButton->setBounds(747 + dx, 50, 48, 35);
    rigging->setBounds(152, 86, 576 + dx, 36);
    venueView->setBounds(152, 122, 576 + dx, 274 + dy);
    splScale->setBounds(728 + dx, 88, 60, 355);
    aboutButton->setBounds(528 + dx, 542 + dy, 48, 24);
    aboutPanel->setBounds(200 + dx / 2, 150 + dy / 2, 400, 300);
    venueInfoLabel->setBounds(162, 506 + dy, 80, 24);
    venueViewLabel->setBounds(156, 124, 80, 24);
    unitButton->setBounds(632 + dx, 56, 56, 28);
    // Over the venue view's top row, left of its zoom buttons; the call-out over the
    // venue-area strip.
    bandStrip->setBounds(404 + dx, 125, 204, 22);
    microphonePanel->setBounds(152, 408 + dy, 624, 127);
}

void CZorvJuceKWEMWindow::buttonClicked(juce::Button* button)
{
    if (button == loadButton.get())
        CSavePrompt::RequestLoad();
    else if (button == saveButton.get())
        CFileDialogs::SaveArray();
    else if (button == saveAsButton.get())
        CFileDialogs::SaveArrayAs();
    else if (button == venueSaveButton.get())
        CFileDialogs::SaveVenue();
    else if (button == exitButton.get())
        CSavePrompt::RequestQuit();
    else if (button == printButton.get())
        CPrintReport::PrintAndTell(bandStrip->GetMicrophone().GetAppliedAlignment());
    else if (button == updateButton.get())
        CUpdateCheck::RunUserCheck();
    else if (button == venueLoadButton.get())
        CFileDialogs::LoadVenue();
    else if (button == aboutButton.get())
        aboutPanel->setVisible(! aboutPanel->isVisible());
    else if (button == unitButton.get())
    {
        const bool metric = CJuceManager::GetInstance()->GetDisplayLengthUnit() == Tag::Meters;
        CCommandManager::GetInstance()->DoGeneral(Tag::Meters, "", metric ? 0.0 : 1.0);
        // The grid and the rigging strip speak the units too.
        CJuceManager::GetInstance()->Redraw();
    }
}

bool CZorvJuceKWEMWindow::keyPressed(const juce::KeyPress& key)
{
    const int command = juce::ModifierKeys::commandModifier;
    if (key == juce::KeyPress('s', juce::ModifierKeys(command), 0))
        CFileDialogs::SaveArray();
    else if (key == juce::KeyPress('s', juce::ModifierKeys(command | juce::ModifierKeys::shiftModifier), 0))
        CFileDialogs::SaveArrayAs();
    else if (key == juce::KeyPress::escapeKey && microphonePanel->isVisible() && microphonePanel->onClose)
        microphonePanel->onClose();
    else
        return false;
    return true;
}
