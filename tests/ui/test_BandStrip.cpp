#include "WindowFixture.h"

#include "app/CFieldMapPicture.h"
#include "engine/CBandModel.h"
#include "ui/CBandStrip.h"
#include "ui/CMicrophone.h"
#include "ui/CMicrophonePanel.h"
#include "xml/XmlTags.h"

#include <cmath>

namespace
{
class BandStrip : public WindowFixture
{
protected:
    CBandStrip& Strip() { return window->GetBandStrip(); }

    // Runs the message loop until `done` holds or about five seconds passed.
    template <typename Condition>
    static bool RunUntil(Condition done)
    {
        for (int i = 0; i < 250 && ! done(); ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil(20);
        return done();
    }

    // Pixels of the canvas picture that are not the redrawn background.
    static int DrawnPixels()
    {
        const juce::Image& picture = *CJuceManager::GetInstance()->GetCanvasImage();
        int drawn = 0;
        for (int y = 0; y < picture.getHeight(); y += 2)
            for (int x = 0; x < picture.getWidth(); x += 2)
                drawn += picture.getPixelAt(x, y).getARGB() != 0xff3c3c3cu ? 1 : 0;
        return drawn;
    }
};
}

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

TEST_F(BandStrip, TheMapIsComputedAwayFromTheEditAndFollowsIt)
{
    const int plain = DrawnPixels();
    Strip().GetMapSwitch().setToggleState(true, juce::sendNotificationSync);
    EXPECT_TRUE(CEngineManager::IsFieldMapShown());
    // The switch's redraw came back without the map: it arrives later, through the message loop.
    EXPECT_LT(DrawnPixels(), plain + 1000);
    ASSERT_TRUE(RunUntil([plain] { return DrawnPixels() > plain + 50000; }));

    // An edit (a command, then the redraw its panel asks for) draws the venue at once over
    // the last map, then the map of the edited design.
    CCommandManager::GetInstance()->DoGeneral(Tag::SlotPin, "", 8.0);
    CJuceManager::GetInstance()->Redraw();
    EXPECT_GT(DrawnPixels(), plain + 50000);
    juce::Image expected(juce::Image::RGB, 1000, 600, true);
    CFieldMapPicture::DrawVenuePictureWithMap(expected);
    const auto same = [&expected] {
        const juce::Image& canvas = *CJuceManager::GetInstance()->GetCanvasImage();
        for (int y = 0; y < canvas.getHeight(); y += 3)
            for (int x = 0; x < canvas.getWidth(); x += 3)
                if (canvas.getPixelAt(x, y) != expected.getPixelAt(x, y))
                    return false;
        return true;
    };
    EXPECT_TRUE(RunUntil(same));

    Click(Strip().GetMapSwitch());
    EXPECT_FALSE(CEngineManager::IsFieldMapShown());
    EXPECT_LT(DrawnPixels(), plain + 1000);
}

TEST_F(BandStrip, TheMicrophoneHearsTheDesignAtItsPointAndFollowsEdits)
{
    CMicrophone& microphone = Strip().GetMicrophone();
    CMicrophonePanel& panel = window->GetMicrophonePanel();
    EXPECT_FALSE(panel.isVisible());

    const juce::Point<int> pixel(400, 200);
    microphone.PlaceAtPixel(pixel);
    ASSERT_TRUE(microphone.IsPlaced());
    EXPECT_TRUE(panel.isVisible());
    // The panel shows the probe of the pixel's section point.
    const CPictureConversion conversion = CFieldMapPicture::VenueConversion(1000, 600);
    const double x = (pixel.x - conversion.originX) / conversion.scale;
    const double y = (conversion.originY - pixel.y) / conversion.scale;
    const CBandModel::ProbeResult expected = CBandModel::FromDesign().Probe(x, y);
    EXPECT_DOUBLE_EQ(panel.GetResult().z, expected.z);
    EXPECT_DOUBLE_EQ(panel.GetResult().a, expected.a);
    ASSERT_EQ(panel.GetResult().sources.size(), expected.sources.size());
    const juce::StringArray lines = panel.GetLines();
    ASSERT_EQ(lines.size(), 1 + (int) expected.sources.size());
    EXPECT_TRUE(lines[0].startsWith("L_Z " + juce::String(expected.z, 1) + " dB")) << lines[0];
    EXPECT_TRUE(lines[1].startsWith("Module " + juce::String(expected.sources[0].position) + ": ")) << lines[1];

    const double before = panel.GetResult().z;
    CCommandManager::GetInstance()->DoGeneral(Tag::AirHumidity, "", 5.0);
    CCommandManager::GetInstance()->DoGeneral(Tag::SlotPin, "", 8.0);
    CJuceManager::GetInstance()->Redraw();
    EXPECT_NE(panel.GetResult().z, before);
    EXPECT_DOUBLE_EQ(panel.GetResult().z, CBandModel::FromDesign().Probe(x, y).z);

    EXPECT_TRUE(panel.keyPressed(juce::KeyPress(juce::KeyPress::escapeKey)));
    EXPECT_FALSE(microphone.IsPlaced());
    EXPECT_FALSE(panel.isVisible());
    Click(Strip().GetMicrophoneButton());
    EXPECT_TRUE(microphone.IsPlaced());
    EXPECT_TRUE(panel.isVisible());
}
