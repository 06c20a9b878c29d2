#include "engine/EngineFixture.h"

#include "engine/CSPLManager.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <cstdlib>

namespace
{
constexpr juce::uint32 kBackground = 0xff3c3c3c;

// Draws the start-up design as the venue view shows it and leaves the picture beside the
// test program ("StartupVenue.png") for anyone to look at.
class VenuePictureTest : public EngineFixture
{
protected:
    void Draw()
    {
        picture.clear(picture.getBounds(), juce::Colour(kBackground));
        CJuceManager::RenderScene(picture);
    }

    bool Keep(const juce::String& name)
    {
        const juce::File out = juce::File("/proc/self/exe").getLinkedTarget().getSiblingFile(name);
        out.deleteFile();
        juce::FileOutputStream stream(out);
        return stream.openedOk() && juce::PNGImageFormat().writeImageToStream(picture, stream);
    }

    juce::Colour At(int x, int y) const { return picture.getPixelAt(x, y); }

    static bool Near(juce::Colour c, juce::Colour e, int tolerance)
    {
        return std::abs(c.getRed() - e.getRed()) <= tolerance && std::abs(c.getGreen() - e.getGreen()) <= tolerance
               && std::abs(c.getBlue() - e.getBlue()) <= tolerance;
    }

    static double StageLevel(int sample)
    {
        CVenueAreaWrap stage;
        CVenueDataWrap(Venue()).GetArea(stage, 2);
        return stage.GetNode()->FindChild(Tag::Line)->FindChildByInt(Tag::SplPoint, Tag::Slot, sample)
            ->FindChild(Tag::PressureDB)->GetDouble(0.0);
    }

    juce::Image picture { juce::Image::RGB, 1000, 600, true };
};
}

TEST_F(VenuePictureTest, StartupDesign)
{
    Draw();
    ASSERT_TRUE(Keep("StartupVenue.png"));

    // The stage, (0, 60)..(240, 60) inches, lies on pixel row 300 - 60 / 2, six pixels wide,
    // coloured by its samples: halfway along it shows the level of its sixth sample.
    const juce::Colour middle(CSPLManager::GetInstance()->ColourOf(StageLevel(6)));
    EXPECT_TRUE(Near(At(60, 270), middle, 16)) << At(60, 270).toDisplayString(false) << " for " << middle.toDisplayString(false);
    for (int x = 2; x < 118; x += 4)
        ASSERT_NE(At(x, 270).getARGB(), kBackground) << "stage at " << x;
    EXPECT_EQ(At(60, 265).getARGB(), kBackground);
    EXPECT_EQ(At(60, 275).getARGB(), kBackground);
    EXPECT_EQ(At(130, 270).getARGB(), kBackground) << "the stage ends at 120 pixels";

    // The floor starts at (240, 0) inches: pixel (120, 300).
    EXPECT_NE(At(124, 299).getARGB(), kBackground);

    // The array hangs from the hang point, (222, 282) inches: pixel (111, 159).
    int arrayPixels = 0;
    for (int y = 150; y < 200; ++y)
        for (int x = 95; x < 130; ++x)
            arrayPixels += At(x, y).getARGB() != kBackground ? 1 : 0;
    EXPECT_GT(arrayPixels, 50);
    int elsewhere = 0;
    for (int y = 150; y < 200; ++y)
        for (int x = 20; x < 80; ++x)
            elsewhere += At(x, y).getARGB() != kBackground ? 1 : 0;
    EXPECT_EQ(elsewhere, 0);

    // The same design drawn again gives the same picture.
    const juce::Image first = picture.createCopy();
    Draw();
    for (int y = 0; y < 600; y += 3)
        for (int x = 0; x < 1000; x += 3)
            ASSERT_EQ(At(x, y).getARGB(), first.getPixelAt(x, y).getARGB()) << x << ", " << y;
}
