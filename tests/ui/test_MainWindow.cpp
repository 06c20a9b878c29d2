#include "ui/WindowFixture.h"

#include "ui/CKwemJuceAbout.h"
#include "xml/XmlTags.h"

#include <vector>

namespace
{
juce::String TextOf(juce::Component* c)
{
    if (auto* label = dynamic_cast<juce::Label*>(c))
        return label->getText();
    if (auto* button = dynamic_cast<juce::Button*>(c))
        return button->getButtonText();
    return {};
}

bool Near(juce::Colour a, juce::uint32 expected, int tolerance = 8)
{
    const juce::Colour e(expected);
    return std::abs(a.getRed() - e.getRed()) <= tolerance && std::abs(a.getGreen() - e.getGreen()) <= tolerance
           && std::abs(a.getBlue() - e.getBlue()) <= tolerance;
}

// The update check's boxes, recorded instead of shown.
struct RecordingUi : CUpdateCheck::Ui
{
    void ShowWarning(const std::string& title, const std::string&) override { shown.push_back("warning " + title); }
    void ShowInfo(const std::string& title, const std::string& message) override
    {
        shown.push_back("info " + title + "\n" + message);
    }
    bool AskYes(const std::string& title, const std::string&) override
    {
        shown.push_back("ask " + title);
        return false;
    }
    void OpenInBrowser(const std::string& url) override { shown.push_back("open " + url); }
    void Quit() override { shown.push_back("quit"); }

    std::vector<std::string> shown;
};
} // namespace

using MainWindow = WindowFixture;

TEST_F(MainWindow, ChildrenSitAtTheirPlacesInCreationOrderWhateverTheWindowSize)
{
    struct Row { const char* name; const char* text; juce::Rectangle<int> bounds; };
    const Row rows[] = {
        { "UnitsShownLabel", "feet", { 273, 544, 40, 24 } },
        { "", "", { 152, 4, 480, 80 } },
        { "FloorListView", "", { 152, 408, 624, 127 } },
        { "new button", "Load", { 716, 8, 38, 24 } },
        { "new button", "Save", { 678, 8, 38, 24 } },
        { "new button", "Venue Save", { 699, 50, 48, 35 } },
        { "new button", "Exit", { 754, 8, 38, 24 } },
        { "new button", "Print", { 640, 8, 38, 24 } },
        { "new button", "Update", { 720, 540, 61, 25 } },
        { "CabListView", "", { 6, 10, 140, 548 } },
        { "new label", "Version 1.02  2008/11/10", { 576, 543, 136, 24 } },
        { "new label", "All units shown as", { 158, 544, 120, 24 } },
        { "new button", "Venue Load", { 747, 50, 48, 35 } },
        { "", "", { 152, 88, 576, 308 } },
        { "", "", { 728, 88, 60, 355 } },
        { "AboutDRX", "About", { 528, 542, 48, 24 } },
        { "", "", { 200, 150, 400, 300 } },
        { "new label", "Venue Info", { 162, 506, 80, 24 } },
        { "new label", "Venue View", { 160, 96, 80, 24 } },
        { "new button", "US Units", { 632, 56, 56, 28 } },
        { "MicrophonePanel", "", { 152, 408, 624, 127 } },
        { "BandStrip", "", { 513, 91, 204, 22 } },
    };
    ASSERT_EQ(window->getNumChildComponents(), (int) std::size(rows));
    for (const juce::Rectangle<int> size : { juce::Rectangle<int>(0, 0, 800, 600), juce::Rectangle<int>(0, 0, 1200, 300) })
    {
        window->setBounds(size);
        for (int i = 0; i < (int) std::size(rows); ++i)
        {
            juce::Component* child = window->getChildComponent(i);
            SCOPED_TRACE(juce::String(i) + " " + rows[i].text);
            EXPECT_EQ(child->getName(), juce::String(rows[i].name));
            EXPECT_EQ(TextOf(child), juce::String(rows[i].text));
            EXPECT_EQ(child->getBounds(), rows[i].bounds);
        }
    }
    EXPECT_EQ(window->getChildComponent(1), &window->GetArrayInfo());
    EXPECT_EQ(window->getChildComponent(13), window->GetVenueViewport());
    EXPECT_EQ(window->getChildComponent(14), &window->GetSplScale());
    EXPECT_EQ(window->getChildComponent(16), &window->GetAboutPanel());
}

TEST_F(MainWindow, HandsItsColumnsAndPanelsToTheUiManager)
{
    CJuceManager* ui = CJuceManager::GetInstance();
    EXPECT_EQ(ui->GetMainWindowContent(), window.get());
    EXPECT_EQ(ui->GetArrayInfoPanel(), &window->GetArrayInfo());
    EXPECT_EQ(ui->GetModuleColumn(), window->GetModuleListView().getViewedComponent());
    EXPECT_EQ(ui->GetAreaColumn(), window->GetAreaListView().getViewedComponent());
    EXPECT_EQ(ui->GetModuleColumn()->getNumChildComponents(), CJuceManager::kModulePanelCount);
    EXPECT_EQ(ui->GetAreaColumn()->getNumChildComponents(), CJuceManager::kAreaPanelCount);
    // The strip of area panels fits its view: no horizontal scrolling needed.
    EXPECT_LE(ui->GetAreaColumn()->getWidth(), window->GetAreaListView().getWidth());
    EXPECT_FALSE(window->GetAboutPanel().isVisible());
}

TEST_F(MainWindow, UnitButtonSwitchesTheShownUnitsThroughTheSettings)
{
    juce::TextButton& unit = window->GetUnitButton();
    CXmlNode* unitType = CJuceManager::GetInstance()->GetSettingsRoot()->GetChild(Tag::UnitType)->GetChild(Tag::Value);

    Click(unit);
    EXPECT_EQ(window->GetUnitsLabel().getText(), "meters");
    EXPECT_EQ(unit.getButtonText(), "SI Units");
    EXPECT_EQ(unitType->GetString(""), "SI");
    EXPECT_EQ(CJuceManager::GetInstance()->GetDisplayLengthUnit(), Tag::Meters);

    Click(unit);
    EXPECT_EQ(window->GetUnitsLabel().getText(), "feet");
    EXPECT_EQ(unit.getButtonText(), "US Units");
    EXPECT_EQ(unitType->GetString(""), "US");
    EXPECT_EQ(Commands("Toggle between US and SI units"), 2);
}

TEST_F(MainWindow, AboutButtonShowsAndHidesTheAboutPanel)
{
    CKwemJuceAbout& about = window->GetAboutPanel();
    Click(window->GetAboutButton());
    EXPECT_TRUE(about.isVisible());
    Click(window->GetAboutButton());
    EXPECT_FALSE(about.isVisible());

    Click(window->GetAboutButton());
    Click(about.GetCloseButton());
    EXPECT_FALSE(about.isVisible());
    Click(window->GetAboutButton());
    EXPECT_TRUE(about.isVisible());
    EXPECT_EQ(AllCommands(), 0);
}

TEST_F(MainWindow, WhiteTextOnlyWhereTheLayoutAsksForIt)
{
    auto textColour = [](juce::Component& c) { return c.findColour(juce::Label::textColourId); };
    for (int i : { 0, 10, 11, 17, 18 })
        EXPECT_EQ(textColour(*window->getChildComponent(i)), juce::Colours::white) << i;
    EXPECT_EQ(window->GetUpdateButton().getLookAndFeel().findColour(juce::Label::textColourId), juce::Colours::white);
    EXPECT_EQ(window->GetAboutButton().getLookAndFeel().findColour(juce::Label::textColourId), juce::Colours::white);
    // The array info panel keeps black text but for its title.
    EXPECT_EQ(window->GetArrayInfo().getLookAndFeel().findColour(juce::Label::textColourId), juce::Colours::black);
}

TEST_F(MainWindow, PaintsItsPanelsTheLogoAndThePicture)
{
    const juce::Image shot = window->createComponentSnapshot(window->getLocalBounds(), false);
    // Background between the module list and the status row.
    EXPECT_TRUE(Near(shot.getPixelAt(148, 590), 0xff3c3c3c)) << shot.getPixelAt(148, 590).toString();
    // The grey panel behind the module list, left of its view.
    EXPECT_TRUE(Near(shot.getPixelAt(4, 300), 0xffaaaaaa)) << shot.getPixelAt(4, 300).toString();
    // The logo: its own dark teal, not the window's grey.
    const juce::Colour logo = shot.getPixelAt(350, 545);
    EXPECT_GT(logo.getBlue(), logo.getRed() + 10) << logo.toString();
    // The venue picture fills the venue view's top-left corner, cleared to dark grey
    // wherever the scene draws nothing.
    const juce::Image picture = Picture();
    EXPECT_EQ(shot.getPixelAt(152 + 5, 88 + 150).getARGB(), picture.getPixelAt(5, 150).getARGB());
}

TEST_F(MainWindow, BothUpdateButtonsRunTheSameCheck)
{
    RecordingUi boxes;
    CUpdateCheck::SetUi(&boxes);
    Click(window->GetUpdateButton());
    Click(window->GetAboutPanel().GetUpdateButton());
    CUpdateCheck::SetUi(nullptr);

    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.shown[0].rfind("info Your current program version is up to date.", 0), 0u) << boxes.shown[0];
    EXPECT_EQ(boxes.shown[1], boxes.shown[0]);
}

TEST_F(MainWindow, TheVenueViewKeepsItsScrollPositionAcrossRedraws)
{
    juce::Viewport& view = *window->GetVenueViewport();
    view.setViewPosition(200, 120);
    Step(window->GetSplScale().GetRangeSlider(), +1);
    Click(window->GetUnitButton());
    EXPECT_EQ(Commands("Change SPL Range on Scale"), 1);
    EXPECT_EQ(view.getViewPosition(), juce::Point<int>(200, 120));
    EXPECT_EQ(view.getViewedComponent()->getBounds().getWidth(), 1000);
}
