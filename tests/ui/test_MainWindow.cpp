#include "ui/WindowFixture.h"

#include "engine/CSPLManager.h"
#include "engine/CSceneManager.h"
#include "engine/CSplScaleSetting.h"
#include "render/CVenuePicture.h"
#include "report/CRiggingSummary.h"
#include "ui/CKWEMJuceRigging.h"
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
    void AskYes(const std::string& title, const std::string&, std::function<void(bool)> answered) override
    {
        shown.push_back("ask " + title);
        answered(false);
    }
    void OpenInBrowser(const std::string& url) override { shown.push_back("open " + url); }
    void Quit() override { shown.push_back("quit"); }

    std::vector<std::string> shown;
};
} // namespace

using MainWindow = WindowFixture;

TEST_F(MainWindow, ChildrenSitAtTheirPlacesInCreationOrderAndTheVenueViewTakesTheExtraRoom)
{
    // How a child follows a window larger than 800 x 600 by (dx, dy): it stays, moves with
    // the right edge, with the bottom edge or with both, grows with the window (the venue
    // view), grows in width only (the rigging strip) or in height only (the module list),
    // or stays centred (the About box).
    enum Anchor { Stay, Right, Bottom, RightBottom, Grow, Wider, Taller, Centre };
    struct Row { const char* name; const char* text; juce::Rectangle<int> bounds; Anchor anchor; };
    const Row rows[] = {
        { "UnitsShownLabel", "feet", { 273, 544, 40, 24 }, Bottom },
        { "", "", { 152, 4, 480, 80 }, Stay },
        { "FloorListView", "", { 152, 408, 624, 127 }, Bottom },
        { "new button", "Load", { 716, 8, 38, 24 }, Right },
        { "new button", "Save", { 678, 8, 38, 24 }, Right },
        { "SaveAs", "Save As...", { 678, 32, 76, 18 }, Right },
        { "new button", "Venue Save", { 699, 50, 48, 35 }, Right },
        { "new button", "Exit", { 754, 8, 38, 24 }, Right },
        { "new button", "Print", { 640, 8, 38, 24 }, Right },
        { "new button", "Update", { 720, 540, 61, 25 }, RightBottom },
        { "CabListView", "", { 6, 10, 140, 548 }, Taller },
        { "new label", "Version 1.02  2008/11/10", { 576, 543, 136, 24 }, RightBottom },
        { "new label", "All units shown as", { 158, 544, 120, 24 }, Bottom },
        { "new button", "Venue Load", { 747, 50, 48, 35 }, Right },
        { "VenueView", "", { 152, 122, 576, 274 }, Grow },
        { "", "", { 728, 88, 60, 355 }, Right },
        { "AboutDRX", "About", { 528, 542, 48, 24 }, RightBottom },
        { "", "", { 200, 150, 400, 300 }, Centre },
        { "new label", "Venue Info", { 162, 506, 80, 24 }, Bottom },
        { "new label", "Venue View", { 156, 124, 80, 24 }, Stay },
        { "new button", "US Units", { 632, 56, 56, 28 }, Right },
        { "Rigging", "", { 152, 86, 576, 36 }, Wider },
        { "MicrophonePanel", "", { 152, 408, 624, 127 }, Bottom },
        { "BandStrip", "", { 404, 125, 204, 22 }, Right },
    };
    ASSERT_EQ(window->getNumChildComponents(), (int) std::size(rows));
    struct Size { int width, height, dx, dy; };
    // Smaller than the form: cut, not squeezed.
    const Size sizes[] = { { 800, 600, 0, 0 }, { 792, 570, 0, 0 }, { 1200, 900, 400, 300 }, { 1000, 500, 200, 0 } };
    for (const Size& size : sizes)
    {
        window->setSize(size.width, size.height);
        for (int i = 0; i < (int) std::size(rows); ++i)
        {
            juce::Component* child = window->getChildComponent(i);
            SCOPED_TRACE(juce::String(size.width) + " x " + juce::String(size.height) + ": " + juce::String(i) + " "
                         + rows[i].text);
            EXPECT_EQ(child->getName(), juce::String(rows[i].name));
            EXPECT_EQ(TextOf(child), juce::String(rows[i].text));
            juce::Rectangle<int> want = rows[i].bounds;
            switch (rows[i].anchor)
            {
                case Stay: break;
                case Right: want.translate(size.dx, 0); break;
                case Bottom: want.translate(0, size.dy); break;
                case RightBottom: want.translate(size.dx, size.dy); break;
                case Grow: want.setSize(want.getWidth() + size.dx, want.getHeight() + size.dy); break;
                case Wider: want.setWidth(want.getWidth() + size.dx); break;
                case Taller: want.setHeight(want.getHeight() + size.dy); break;
                case Centre: want.translate(size.dx / 2, size.dy / 2); break;
            }
            EXPECT_EQ(child->getBounds(), want);
        }
    }
    EXPECT_EQ(window->getChildComponent(1), &window->GetArrayInfo());
    EXPECT_EQ(window->getChildComponent(14), &window->GetVenueView());
    EXPECT_EQ(window->getChildComponent(15), &window->GetSplScale());
    EXPECT_EQ(window->getChildComponent(17), &window->GetAboutPanel());
    EXPECT_EQ(window->getChildComponent(21), &window->GetRigging());
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
    // The venue picture fills the venue view.
    const juce::Image picture = Picture();
    EXPECT_EQ(shot.getPixelAt(152 + 5, 122 + 150).getARGB(), picture.getPixelAt(5, 150).getARGB());
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

TEST_F(MainWindow, TheVenueViewKeepsItsZoomAndPanAcrossEditsUntilFitIsPressed)
{
    CVenueView& view = window->GetVenueView();
    EXPECT_TRUE(view.IsFitted()) << "the whole venue first";
    const CRenderView fitted = view.GetView();
    EXPECT_EQ(view.GetPicture().getWidth(), 576);
    EXPECT_EQ(view.GetPicture().getHeight(), 274);

    Click(view.GetZoomInButton());
    Click(view.GetZoomInButton());
    view.PanBy({ 30.0f, -12.0f });
    const CRenderView chosen = view.GetView();
    EXPECT_FALSE(view.IsFitted());
    EXPECT_NEAR(chosen.zoom, fitted.zoom * CVenueView::kZoomStep * CVenueView::kZoomStep, 1e-9);

    Step(window->GetSplScale().GetRangeSlider(), +1);
    Click(window->GetUnitButton());
    EXPECT_EQ(Commands("Change SPL Range on Scale"), 1);
    EXPECT_EQ(view.GetView().zoom, chosen.zoom);
    EXPECT_EQ(view.GetView().x, chosen.x);
    EXPECT_EQ(view.GetView().y, chosen.y);

    Click(view.GetClassicButton());
    EXPECT_EQ(view.GetView().zoom, 1.0) << "1:1 is the classic picture's scale";
    // About the whole venue's middle: the fitted view's centre stays where it was.
    EXPECT_NEAR(view.GetView().ToClassicX(288.0), fitted.ToClassicX(288.0), 1e-9);
    EXPECT_NEAR(view.GetView().ToClassicY(137.0), fitted.ToClassicY(137.0), 1e-9);
    Click(view.GetZoomOutButton());
    EXPECT_NEAR(view.GetView().zoom, 1.0 / CVenueView::kZoomStep, 1e-12);

    Click(view.GetFitButton());
    EXPECT_TRUE(view.IsFitted());
    EXPECT_NEAR(view.GetView().zoom, fitted.zoom, 1e-9);

    // A fitted view follows the design: a longer floor is shown whole again.
    CCommandManager::GetInstance()->DoVenueArea(3, Tag::LDist, "200");
    CJuceManager::GetInstance()->Redraw();
    EXPECT_LT(view.GetView().zoom, fitted.zoom);
}

TEST_F(MainWindow, TheRiggingStripShowsWeightCentreOfGravityAndEveryPinInTheDisplayUnits)
{
    const juce::String weight = window->GetRigging().GetWeightLine().getText();
    const juce::String pins = window->GetRigging().GetPinLine().getText();
    const double pounds = Line().GetNode()->FindChild(Tag::Weight)->GetDouble(0.0);
    EXPECT_TRUE(weight.contains("weight " + juce::String(pounds, 1) + " lb")) << weight;
    EXPECT_TRUE(weight.contains(" ft")) << weight;
    const CRiggingSummary rigging = CRiggingSummary::Read();
    EXPECT_TRUE(weight.contains("trim  top " + juce::String(rigging.topTrim / 12.0, 2) + " ft  bottom "
                                + juce::String(rigging.bottomTrim / 12.0, 2) + " ft (above the floor)"))
        << weight;
    for (int pin = 1; pin <= 8; ++pin)
        EXPECT_TRUE(pins.contains(juce::String(pin) + ": ")) << pins;
    const int picked = ArrayInfoValue(Tag::SlotPin)->GetInt(0);
    EXPECT_TRUE(pins.contains("[" + juce::String(picked) + ": ")) << pins;

    Step(window->GetArrayInfo().GetPinSlider(), picked < 8 ? +1 : -1);
    const int now = ArrayInfoValue(Tag::SlotPin)->GetInt(0);
    ASSERT_NE(now, picked);
    EXPECT_TRUE(window->GetRigging().GetPinLine().getText().contains("[" + juce::String(now) + ": "));

    Click(window->GetUnitButton());
    const juce::String metric = window->GetRigging().GetWeightLine().getText();
    EXPECT_TRUE(metric.contains("weight " + juce::String(pounds * 0.45359237, 1) + " kg")) << metric;
    EXPECT_TRUE(metric.contains(" m ") || metric.endsWith(" m")) << metric;
    EXPECT_FALSE(metric.contains(" ft")) << metric;
}

TEST_F(MainWindow, AnAutomaticScaleFollowsTheLevelsTheViewShowsUntilBaseIsMoved)
{
    CVenueView& view = window->GetVenueView();
    const CSPLManager* spl = CSPLManager::GetInstance();
    juce::ToggleButton& automatic = window->GetSplScale().GetAutoToggle();
    ASSERT_TRUE(automatic.getToggleState()) << "a design whose scale was never moved starts with Auto";
    MovedScale();
    window->GetSplScale().DrawScale();
    ASSERT_FALSE(automatic.getToggleState());
    Click(automatic);
    ASSERT_TRUE(SplScaleSetting::IsAutomatic());

    const auto shown = [&view](double& low, double& high) {
        return CVenuePicture::ShownLevelRange(CSceneManager::GetInstance()->GetScene(2), view.GetView(), view.getWidth(),
                                              view.getHeight(), low, high);
    };
    double low = 0.0, high = 0.0;
    ASSERT_TRUE(shown(low, high));
    EXPECT_EQ(spl->GetScaleBottom(), low);
    EXPECT_EQ(spl->GetScaleTop(), high);
    EXPECT_EQ(window->GetSplScale().GetValueLabel(0)->getText(), juce::String(high, 2)) << "the labels follow";

    for (int i = 0; i < 4; ++i)
        Click(view.GetZoomInButton());
    ASSERT_TRUE(shown(low, high));
    EXPECT_EQ(spl->GetScaleBottom(), low);
    EXPECT_EQ(spl->GetScaleTop(), high);

    Step(window->GetSplScale().GetBaseSlider(), +1);
    EXPECT_FALSE(SplScaleSetting::IsAutomatic());
    EXPECT_FALSE(automatic.getToggleState()) << "the toggle shows it";
    EXPECT_EQ(spl->GetScaleTop(), high + 5.0);
    Click(view.GetFitButton());
    EXPECT_EQ(spl->GetScaleTop(), high + 5.0) << "a moved scale stays put";
}
