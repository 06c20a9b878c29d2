#include "WindowFixture.h"

#include "app/CFieldMapPicture.h"
#include "engine/CBandModel.h"
#include "engine/CPinSuggestion.h"
#include "render/CVenuePicture.h"
#include "ui/CBandStrip.h"
#include "ui/CFieldMapLayer.h"
#include "ui/CMicrophone.h"
#include "ui/CMicrophonePanel.h"
#include "ui/CPinSuggestionPanel.h"
#include "ui/CPrintReport.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace
{
class BandStrip : public WindowFixture
{
protected:
    CBandStrip& Strip() { return window->GetBandStrip(); }
    CVenueView& View() { return window->GetVenueView(); }

    // Runs the message loop until `done` holds or about five seconds passed.
    template <typename Condition>
    static bool RunUntil(Condition done)
    {
        for (int i = 0; i < 250 && ! done(); ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil(20);
        return done();
    }

    // The venue view's picture as a fresh drawing through the view's current framing
    // gives it, with the field map computed at once (or without it).
    juce::Image Fresh(bool withMap, bool rimmed = false)
    {
        juce::Image picture(juce::Image::RGB, View().GetPicture().getWidth(), View().GetPicture().getHeight(), true);
        CVenuePicture::Options options = View().PictureOptions();
        options.framing = CVenuePicture::Framing::Given;
        options.view = View().GetView();
        options.outlineSurfaces = withMap || rimmed;
        if (withMap)
            options.underlay = CFieldMapPicture::Underlay();
        CVenuePicture::Draw(picture, options);
        return picture;
    }

    // The share of sampled pixels in which two pictures of one size differ.
    static double Differing(const juce::Image& a, const juce::Image& b)
    {
        int differing = 0, all = 0;
        for (int y = 0; y < a.getHeight(); y += 2)
            for (int x = 0; x < a.getWidth(); x += 2, ++all)
                differing += a.getPixelAt(x, y) != b.getPixelAt(x, y) ? 1 : 0;
        return (double) differing / all;
    }

    // The mean over sampled pixels of the largest channel difference.
    static double MeanDistance(const juce::Image& a, const juce::Image& b)
    {
        double sum = 0.0;
        int all = 0;
        for (int y = 0; y < a.getHeight(); y += 2)
            for (int x = 0; x < a.getWidth(); x += 2, ++all)
            {
                const juce::Colour p = a.getPixelAt(x, y), q = b.getPixelAt(x, y);
                sum += std::max({ std::abs(p.getRed() - q.getRed()), std::abs(p.getGreen() - q.getGreen()),
                                  std::abs(p.getBlue() - q.getBlue()) });
            }
        return sum / all;
    }

    // Where the venue lands in the view's own coordinates (the tests draw at one device
    // pixel per view pixel).
    CVenuePicture::Placement Placement()
    {
        Fresh(false); // the bases of the scene as the view draws it
        return CVenuePicture::VenuePlacement(View().GetView());
    }
};
} // namespace

TEST_F(BandStrip, TheViewChoiceListsEveryViewAndSendsTheChosenOne)
{
    juce::ComboBox& choice = Strip().GetViewChoice();
    ASSERT_EQ(choice.getNumItems(), 3 + CBandModel::kBandCount);
    EXPECT_EQ(choice.getItemText(0), "Classic");
    EXPECT_EQ(choice.getItemText(2), "Band A");
    EXPECT_EQ(choice.getItemText(3), "Band 50");
    EXPECT_EQ(choice.getItemText(3 + CBandModel::kBandCount - 1), "Band 16k");
    EXPECT_EQ(choice.getText(), "Classic");

    choice.setText("Band 4k", juce::sendNotificationSync);
    EXPECT_EQ(CEngineManager::GetView().ToString(), "Band 4k");
    // A view stored by a command shows in the choice after the redraw.
    CCommandManager::GetInstance()->DoGeneral(Tag::View, "BandZ", 0.0);
    EXPECT_EQ(choice.getText(), "Band Z");
}

TEST_F(BandStrip, TheStripSitsInTheVenueViewsTopRowClearOfItsButtons)
{
    for (const juce::Rectangle<int> size : { juce::Rectangle<int>(0, 0, 800, 600), juce::Rectangle<int>(0, 0, 1300, 800) })
    {
        window->setBounds(size);
        const juce::Rectangle<int> strip = Strip().getBounds();
        const juce::Rectangle<int> view = View().getBounds();
        EXPECT_TRUE(view.contains(strip)) << strip.toString();
        for (juce::Button* b : { (juce::Button*) &View().GetFitButton(), (juce::Button*) &View().GetZoomOutButton() })
            EXPECT_FALSE(strip.intersects(b->getBounds() + view.getPosition())) << b->getButtonText();
        EXPECT_LE(strip.getRight(), View().GetFitButton().getX() + view.getX());
    }
}

TEST_F(BandStrip, TheMapIsComputedAwayFromTheEditAndFollowsTheDesignAndThePicture)
{
    // A scale that stays put, so that the pictures compare colour for colour.
    MovedScale();
    const juce::Image plain = Fresh(false);
    Strip().GetMapSwitch().setToggleState(true, juce::sendNotificationSync);
    EXPECT_TRUE(CEngineManager::IsFieldMapShown());
    // The switch's redraw came back without the map, the surfaces already rimmed for it: the
    // map arrives later, through the message loop.
    EXPECT_LT(Differing(View().GetPicture(), Fresh(false, true)), 0.01);
    ASSERT_TRUE(RunUntil([&] { return ! Strip().GetFieldMap().IsBusy() && Differing(View().GetPicture(), plain) > 0.5; }));
    const auto showsFreshMap = [this] { return Differing(View().GetPicture(), Fresh(true)) == 0.0; };
    EXPECT_TRUE(showsFreshMap());

    // An edit (a command, then the redraw its panel asks for) draws the venue at once over
    // the last map, then the map of the edited design.
    CCommandManager::GetInstance()->DoGeneral(Tag::SlotPin, "", 8.0);
    CJuceManager::GetInstance()->Redraw();
    EXPECT_GT(Differing(View().GetPicture(), plain), 0.5);
    EXPECT_TRUE(RunUntil(showsFreshMap));

    // Zoomed: the last map is moved and scaled with the picture at once (the venue lines
    // and the map stay together), then computed anew for the new framing.
    const juce::Point<float> about(200.0f, 120.0f);
    View().ZoomBy(2.0, about);
    const juce::Image zoomedAtOnce = View().GetPicture().createCopy();
    EXPECT_GT(Differing(zoomedAtOnce, Fresh(false)), 0.5);
    EXPECT_TRUE(RunUntil(showsFreshMap));
    // Moved and scaled, the old map is close to the new one: the colours of the sampled
    // pixels are a few steps apart on average, where the picture without it is far off.
    EXPECT_LT(MeanDistance(zoomedAtOnce, View().GetPicture()), 12.0);
    EXPECT_GT(MeanDistance(Fresh(false), View().GetPicture()), 40.0);
    View().PanBy({ -60.0f, 25.0f });
    EXPECT_TRUE(RunUntil(showsFreshMap));

    // A one-band view maps that band.
    CCommandManager::GetInstance()->DoGeneral(Tag::View, "Band:8k", 0.0);
    EXPECT_TRUE(RunUntil(showsFreshMap));

    Click(Strip().GetMapSwitch());
    EXPECT_FALSE(CEngineManager::IsFieldMapShown());
    EXPECT_EQ(Differing(View().GetPicture(), Fresh(false)), 0.0);
}

TEST_F(BandStrip, TheMicrophoneHearsTheDesignAtItsPointFollowsEditsAndMovesWithThePicture)
{
    CMicrophone& microphone = Strip().GetMicrophone();
    CMicrophonePanel& panel = window->GetMicrophonePanel();
    EXPECT_FALSE(panel.isVisible());

    // A point of the view: the microphone sits at the venue point the picture shows there.
    const juce::Point<float> pixel(300.0f, 150.0f);
    const CVenuePicture::Placement placement = Placement();
    const double x = placement.VenueX(pixel.x);
    const double y = placement.VenueY(pixel.y);
    microphone.PlaceAtPixel(pixel);
    ASSERT_TRUE(microphone.IsPlaced());
    EXPECT_NEAR(microphone.GetX(), x, 1e-9);
    EXPECT_NEAR(microphone.GetY(), y, 1e-9);
    EXPECT_TRUE(panel.isVisible());
    juce::Component* marker = nullptr;
    for (juce::Component* child : View().getChildren())
        if (child->getName() == "MicrophoneMarker")
            marker = child;
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->getBounds().getCentre(), pixel.roundToInt());

    // The panel shows the probe of that point.
    const CBandModel::ProbeResult expected = CBandModel::FromDesign().Probe(x, y);
    EXPECT_DOUBLE_EQ(panel.GetResult().z, expected.z);
    EXPECT_DOUBLE_EQ(panel.GetResult().a, expected.a);
    ASSERT_EQ(panel.GetResult().sources.size(), expected.sources.size());
    const juce::StringArray lines = panel.GetLines();
    ASSERT_EQ(lines.size(), 1 + (int) expected.sources.size());
    EXPECT_TRUE(lines[0].startsWith("L_Z " + juce::String(expected.z, 1) + " dB")) << lines[0];
    // Counted from the top as the panels count them, the model beside it, the distance in feet.
    EXPECT_TRUE(lines[1].startsWith("Module " + juce::String(expected.sources[0].position) + " (DRX-")) << lines[1];
    EXPECT_TRUE(lines[1].contains(juce::String(expected.sources[0].distanceM / 0.3048, 2) + " ft, ")) << lines[1];

    const double before = panel.GetResult().z;
    CCommandManager::GetInstance()->DoGeneral(Tag::AirHumidity, "", 5.0);
    CCommandManager::GetInstance()->DoGeneral(Tag::SlotPin, "", 8.0);
    CJuceManager::GetInstance()->Redraw();
    EXPECT_NE(panel.GetResult().z, before);
    EXPECT_DOUBLE_EQ(panel.GetResult().z, CBandModel::FromDesign().Probe(x, y).z);

    // Zoomed and moved, the marker stays on its venue point; the point stays.
    View().ZoomBy(1.5, { 100.0f, 80.0f });
    View().PanBy({ 30.0f, -10.0f });
    const CVenuePicture::Placement moved = Placement();
    EXPECT_EQ(marker->getBounds().getCentre(),
              juce::Point<double>(moved.PixelX(x), moved.PixelY(y)).roundToInt());
    EXPECT_NE(marker->getBounds().getCentre(), pixel.roundToInt());
    EXPECT_NEAR(microphone.GetX(), x, 1e-9);

    EXPECT_TRUE(panel.keyPressed(juce::KeyPress(juce::KeyPress::escapeKey)));
    EXPECT_FALSE(microphone.IsPlaced());
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(marker->getParentComponent(), nullptr);
    // Mic places it in the middle of the view.
    Click(Strip().GetMicrophoneButton());
    EXPECT_TRUE(microphone.IsPlaced());
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(marker->getBounds().getCentre(), View().getLocalBounds().getCentre());
}

//==============================================================================
// The coverage suggestion in the view shown: the Best panel and the printed report.
using SuggestionInTheView = BandStrip;

TEST_F(SuggestionInTheView, TheBestPanelUsesTheViewShownAndNamesIt)
{
    const struct
    {
        const char* command;
        const char* shown;
    } views[] = { { "Classic", "Classic" }, { "BandZ", "Band Z" }, { "BandA", "Band A" }, { "Band:2k", "Band 2k" } };
    std::vector<double> classicMedians;
    for (const auto& view : views)
    {
        SCOPED_TRACE(view.command);
        CCommandManager::GetInstance()->DoGeneral(Tag::View, view.command, 0.0);
        CBandView expectedView;
        ASSERT_TRUE(CBandView::Parse(view.command, expectedView));
        const CPinSuggestion expected = CPinSuggestion::Compute(expectedView);

        CPinSuggestionPanel panel;
        EXPECT_EQ(panel.GetSuggestion().view, expectedView);
        EXPECT_TRUE(panel.GetHeading().contains(" in " + juce::String(view.shown) + ": ")) << panel.GetHeading();
        ASSERT_EQ(panel.GetSuggestion().pins.size(), expected.pins.size());
        for (size_t i = 0; i < expected.pins.size(); ++i)
            EXPECT_EQ(panel.GetSuggestion().pins[i].median, expected.pins[i].median);
        EXPECT_EQ(panel.GetSuggestion().best, expected.best);
        if (classicMedians.empty())
            for (const PinCoverage& pin : expected.pins)
                classicMedians.push_back(pin.median);
        else
            for (size_t i = 0; i < expected.pins.size(); ++i)
                EXPECT_GT(std::abs(expected.pins[i].median - classicMedians[i]), 0.1) << "pin " << expected.pins[i].pin;
    }
}

TEST_F(SuggestionInTheView, ThePrintedReportsSuggestionIsInTheViewShown)
{
    // No opener on the PATH: the report is only written.
    const juce::String path = juce::SystemStats::getEnvironmentVariable("PATH", "");
    setenv("PATH", temp.File("no-browser").getFullPathName().toRawUTF8(), 1);
    CCommandManager::GetInstance()->DoGeneral(Tag::View, "BandA", 0.0);
    const CPinSuggestion expected = CPinSuggestion::Compute(CBandView::BandA());
    const CPrintReport::Outcome outcome = CPrintReport::Print();
    setenv("PATH", path.toRawUTF8(), 1);

    ASSERT_TRUE(outcome.written);
    const std::string page = temp.Read(CPrintReport::kReportFile);
    EXPECT_NE(page.find("Levels of the Band A view."), std::string::npos);
    ASSERT_TRUE(expected.best.has_value());
    EXPECT_NE(page.find("Suggested pick pin: <strong>" + std::to_string(*expected.best) + "</strong>"),
              std::string::npos);
    for (const PinCoverage& pin : expected.pins)
    {
        char median[32];
        std::snprintf(median, sizeof(median), "<td>%.1f dB</td>", pin.median);
        EXPECT_NE(page.find(median), std::string::npos) << median;
    }
}
