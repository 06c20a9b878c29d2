#include "render/RenderTestFixture.h"

#include "render/CRendererLine.h"

namespace
{
constexpr juce::uint32 kRed = 0xffff0000;
constexpr juce::uint32 kGreen = 0xff00ff00;
constexpr juce::uint32 kBlue = 0xff0000ff;
constexpr juce::uint32 kBlack = 0xff000000;
constexpr juce::uint32 kWhite = 0xffffffff;

class RenderersTest : public RenderTestFixture
{
protected:
    // Every pixel still shows the background.
    bool Untouched() const
    {
        for (int y = 0; y < picture.getHeight(); ++y)
            for (int x = 0; x < picture.getWidth(); ++x)
                if (picture.getPixelAt(x, y).getARGB() != kBackground)
                    return false;
        return true;
    }

    // A horizontal line along pixel row 30 (or `row`), from x = 10 to x = 190.
    static std::string Row(double row = 30.5) { return PixelPoint(10.0, row) + PixelPoint(190.0, row); }

    static std::string Sample(int slot, double level, double along)
    {
        return "<" + Tag::SplPoint + ">" + Attr(Tag::Slot, std::to_string(slot)) + Attr(Tag::PressureDB, level)
               + Attr(Tag::LDist, along) + "</" + Tag::SplPoint + ">";
    }

    // A line item whose SplList holds `samples` and a SplTotal of `total`.
    static std::string SplLine(const std::string& tags, const std::string& samples, int total)
    {
        const std::string list = "<" + Tag::SplList + ">" + samples + "<" + Tag::SplTotal + ">"
                                 + Attr(Tag::Total, std::to_string(total)) + "</" + Tag::SplTotal + "></" + Tag::SplList + ">";
        return "<" + Tag::Line + "><" + Tag::TagList + ">" + tags + "</" + Tag::TagList + "><" + Tag::PointList + ">" + Row(50.5)
               + "</" + Tag::PointList + ">" + list + "</" + Tag::Line + ">";
    }

    static std::string Square(const std::string& tags, double left, double top, double size)
    {
        return Item(Tag::Polygon, tags,
                    PixelPoint(left, top) + PixelPoint(left + size, top) + PixelPoint(left + size, top + size)
                        + PixelPoint(left, top + size));
    }
};
}

//==============================================================================
TEST_F(RenderersTest, CircleWithoutAttributesIsASmallBlackOutline)
{
    Draw(Origin() + Item(Tag::Circle, "", PixelPoint(50.5, 60.5)));
    EXPECT_TRUE(Near(At(52, 60), kBlack, 40)) << "outline at radius 2: " << Hex(At(52, 60));
    EXPECT_TRUE(Near(At(50, 58), kBlack, 40)) << Hex(At(50, 58));
    EXPECT_TRUE(Near(At(50, 60), kBackground)) << "not filled: " << Hex(At(50, 60));
    EXPECT_TRUE(Near(At(54, 60), kBackground)) << Hex(At(54, 60));
}

TEST_F(RenderersTest, CircleFillCoversTheInnerHalfOfItsOutline)
{
    const std::string tags = Attr(Tag::Radius, 10.0) + Attr(Tag::LineWidth, 4.0) + Colour(Tag::ColorLine, kGreen)
                             + Colour(Tag::ColorFill, kBlue);
    Draw(Origin() + Item(Tag::Circle, tags, PixelPoint(50.5, 60.5) + PixelPoint(120.5, 60.5)));
    for (int centre : { 50, 120 })
    {
        EXPECT_TRUE(Near(At(centre + 11, 60), kGreen)) << Hex(At(centre + 11, 60));
        EXPECT_TRUE(Near(At(centre + 9, 60), kBlue)) << Hex(At(centre + 9, 60));
        EXPECT_TRUE(Near(At(centre, 60), kBlue)) << Hex(At(centre, 60));
        EXPECT_TRUE(Near(At(centre + 14, 60), kBackground)) << Hex(At(centre + 14, 60));
    }
}

TEST_F(RenderersTest, CircleNotCentredHangsFromItsPoint)
{
    const std::string tags = Attr(Tag::Radius, 5.0) + Colour(Tag::ColorFill, kRed) + Attr(Tag::CenterOnPoint, "0");
    Draw(Origin() + Item(Tag::Circle, tags, PixelPoint(20.5, 20.5)));
    EXPECT_TRUE(Near(At(25, 25), kRed)) << Hex(At(25, 25));
    EXPECT_TRUE(Near(At(20, 20), kBackground)) << Hex(At(20, 20));
}

TEST_F(RenderersTest, CircleFillSources)
{
    // The texture wins over the colour: black tile with a red dot 10..20 pixels into each tile.
    const std::string textured = Attr(Tag::Radius, 15.0) + Colour(Tag::ColorFill, kGreen) + Attr(Tag::TextureFill, "Dots")
                                 + Attr(Tag::TextureX, 0.0) + Attr(Tag::TextureY, 0.0);
    Draw(Origin() + Item(Tag::Circle, textured, PixelPoint(40.5, 40.5)));
    EXPECT_TRUE(Near(At(45, 45), kRed)) << Hex(At(45, 45));
    EXPECT_TRUE(Near(At(32, 32), kBlack)) << Hex(At(32, 32));

    // A gradient from red to blue across the circle, at pixel coordinates as given.
    const std::string gradient = Attr(Tag::Radius, 15.0) + Colour(Tag::ColorFill, kGreen) + Attr(Tag::GradientFill, "1")
                                 + Colour(Tag::GradientColorStart, kRed) + Colour(Tag::GradientColorEnd, kBlue)
                                 + Attr(Tag::GradientX1, 25.0) + Attr(Tag::GradientY1, 40.0) + Attr(Tag::GradientX2, 55.0)
                                 + Attr(Tag::GradientY2, 40.0);
    Draw(Origin() + Item(Tag::Circle, gradient, PixelPoint(40.5, 40.5)));
    EXPECT_GT(At(28, 40).getRed(), 200) << Hex(At(28, 40));
    EXPECT_GT(At(52, 40).getBlue(), 200) << Hex(At(52, 40));

    // Without both gradient colours the fill colour is used.
    const std::string halfGradient = Attr(Tag::Radius, 15.0) + Colour(Tag::ColorFill, kGreen) + Attr(Tag::GradientFill, "1")
                                     + Colour(Tag::GradientColorStart, kRed);
    Draw(Origin() + Item(Tag::Circle, halfGradient, PixelPoint(40.5, 40.5)));
    EXPECT_TRUE(Near(At(40, 40), kGreen)) << Hex(At(40, 40));

    Draw(Origin() + Item(Tag::Circle, Attr(Tag::Radius, 0.0) + Colour(Tag::ColorFill, kRed), PixelPoint(40.5, 40.5)));
    EXPECT_TRUE(Untouched());
}

//==============================================================================
TEST_F(RenderersTest, DashedLinesHaveGaps)
{
    Draw(Origin() + Item(Tag::Line, Attr(Tag::DashLength, 4.0) + Attr(Tag::DashInterval, 4.0), Row()));
    for (int x : { 11, 19, 27, 83 })
        EXPECT_TRUE(Near(At(x, 30), kWhite)) << "dash at " << x << ": " << Hex(At(x, 30));
    for (int x : { 15, 23, 31, 87 })
        EXPECT_TRUE(Near(At(x, 30), kBackground)) << "gap at " << x << ": " << Hex(At(x, 30));

    // A zero interval, or a pattern that is not positive, draws the line solid.
    for (const std::string& pattern : { Attr(Tag::DashLength, 5.0) + Attr(Tag::DashInterval, 0.0),
                                        Attr(Tag::DashLength, -4.0) + Attr(Tag::DashInterval, 4.0) })
    {
        Draw(Origin() + Item(Tag::Line, pattern, Row()));
        for (int x = 11; x < 189; ++x)
            ASSERT_TRUE(Near(At(x, 30), kWhite)) << pattern << " at " << x << ": " << Hex(At(x, 30));
    }
}

TEST_F(RenderersTest, LineColouredByItsSplSamples)
{
    // Scale 110..120: 110 dB is black, 125 dB red, with the ramp between the two samples.
    const std::string thick = Attr(Tag::LineWidth, 6.0) + Colour(Tag::ColorLine, 0xff00aa33);
    const std::string samples = Sample(1, 110.0, 0.0) + Sample(2, 125.0, 1.0);
    Draw(Origin() + SplLine(thick + "<" + Tag::SplGradient + "/>", samples, 2));
    EXPECT_TRUE(Near(At(11, 50), kBlack, 12)) << Hex(At(11, 50));
    EXPECT_TRUE(Near(At(188, 50), kRed, 12)) << Hex(At(188, 50));
    EXPECT_TRUE(Near(At(100, 50), 0xff800000, 12)) << Hex(At(100, 50));
    EXPECT_TRUE(Near(At(100, 48), 0xff800000, 12)) << "six pixels wide: " << Hex(At(100, 48));
    EXPECT_TRUE(Near(At(100, 46), kBackground)) << Hex(At(100, 46));

    // The colours come from the SPL scale: on 130..140 both samples are below it, drawn in
    // a colour that is neither the scale's nor the background's.
    CSPLManager::GetInstance()->SetScale(130.0, 140.0);
    Draw(Origin() + SplLine(thick + Attr(Tag::SplGradient, "1"), samples, 2));
    EXPECT_TRUE(Near(At(188, 50), CSPLManager::kBelowScaleColour, 12)) << Hex(At(188, 50));
    EXPECT_FALSE(Near(At(188, 50), kBackground, 40)) << Hex(At(188, 50));

    // Without the marker, or with it switched off, the line keeps its own colour.
    for (const std::string& tags : { thick, thick + Attr(Tag::SplGradient, "0") })
    {
        Draw(Origin() + SplLine(tags, samples, 2));
        EXPECT_TRUE(Near(At(100, 50), 0xff00aa33)) << tags << ": " << Hex(At(100, 50));
    }
}

TEST_F(RenderersTest, LineWithOneSampleUsesTheDefaultGradient)
{
    Draw(Origin() + SplLine(Attr(Tag::LineWidth, 6.0) + Attr(Tag::SplGradient, "1"), Sample(1, 125.0, 0.0), 1));
    // Black at the first point, blue a third of the way, red at the segment's end.
    EXPECT_TRUE(Near(At(10, 50), kBlack, 12)) << Hex(At(10, 50));
    EXPECT_TRUE(Near(At(70, 50), kBlue, 12)) << Hex(At(70, 50));
    EXPECT_TRUE(Near(At(189, 50), kRed, 12)) << Hex(At(189, 50));
}

TEST_F(RenderersTest, WideLinesTakeTheGradientBrushWithoutColours)
{
    const std::string tags = Colour(Tag::ColorLine, kGreen) + Attr(Tag::GradientFill, "1");
    Draw(Origin() + Item(Tag::Line, tags + Attr(Tag::LineWidth, 8.0), Row(50.5)));
    EXPECT_TRUE(Near(At(188, 50), kRed, 20)) << "brush runs to the segment's end: " << Hex(At(188, 50));
    EXPECT_FALSE(Near(At(100, 50), kGreen, 60)) << Hex(At(100, 50));

    Draw(Origin() + Item(Tag::Line, tags + Attr(Tag::LineWidth, 2.0), Row(50.5)));
    EXPECT_TRUE(Near(At(100, 50), kGreen)) << Hex(At(100, 50));
}

TEST_F(RenderersTest, ScaleBarDrawnFromCode)
{
    juce::Image bar(juce::Image::ARGB, 24, 266, true);
    CRendererLine line;
    line.SetTarget(&bar);
    line.SetAttrNumber(Tag::LineWidth, 24.0f);
    line.SetAttrNumber(Tag::SplGradient, 1.0f);
    line.AddPoint(11.5f, 265.0f);
    line.AddPoint(11.5f, 0.0f);
    line.Render();
    EXPECT_TRUE(Near(bar.getPixelAt(11, 264), kBlack, 12)) << Hex(bar.getPixelAt(11, 264));
    EXPECT_TRUE(Near(bar.getPixelAt(2, 177), kBlue, 12)) << Hex(bar.getPixelAt(2, 177));
    EXPECT_TRUE(Near(bar.getPixelAt(22, 1), kRed, 12)) << Hex(bar.getPixelAt(22, 1));

    // Without a target nothing is drawn and nothing fails.
    line.SetTarget(nullptr);
    line.Render();
}

//==============================================================================
TEST_F(RenderersTest, PolygonOutlineThenFill)
{
    const std::string tags = Attr(Tag::LineWidth, 4.0) + Colour(Tag::ColorFill, kRed);
    Draw(Origin() + Square(tags, 20.5, 20.5, 40.0));
    EXPECT_TRUE(Near(At(40, 19), kWhite)) << "outer half of the outline: " << Hex(At(40, 19));
    EXPECT_TRUE(Near(At(40, 21), kRed)) << "inner half under the fill: " << Hex(At(40, 21));
    EXPECT_TRUE(Near(At(40, 40), kRed)) << Hex(At(40, 40));
    EXPECT_TRUE(Near(At(10, 10), kBackground)) << Hex(At(10, 10));

    // Items are drawn in document order, each over the previous ones.
    Draw(Origin() + Square(tags, 20.5, 20.5, 40.0) + Square(Colour(Tag::ColorFill, kBlue), 30.5, 30.5, 40.0));
    EXPECT_TRUE(Near(At(50, 50), kBlue)) << Hex(At(50, 50));
    EXPECT_TRUE(Near(At(25, 25), kRed)) << Hex(At(25, 25));
}

TEST_F(RenderersTest, PolygonsWithoutAnArea)
{
    for (const std::string& points : { std::string(), PixelPoint(40.5, 40.5) })
    {
        Draw(Origin() + Item(Tag::Polygon, Colour(Tag::ColorFill, kRed), points));
        EXPECT_TRUE(Untouched());
    }
}

TEST_F(RenderersTest, PolygonFillSourcesUseConvertedAnchors)
{
    // Texture anchored at the pixel (20, 20): the tile's dot lies 10..20 pixels further on.
    const std::string textured = Attr(Tag::TextureFill, "Dots") + Attr(Tag::TextureX, 40.0) + Attr(Tag::TextureY, 160.0)
                                 + Colour(Tag::ColorFill, kGreen);
    Draw(Origin() + Square(textured, 20.5, 20.5, 40.0));
    EXPECT_TRUE(Near(At(35, 35), kRed)) << Hex(At(35, 35));
    EXPECT_TRUE(Near(At(23, 23), kBlack)) << Hex(At(23, 23));

    // Gradient from red at pixel x 20.5 to blue at x 60.5 (data coordinates 41 and 121).
    const std::string gradient = Attr(Tag::GradientFill, "1") + Colour(Tag::GradientColorStart, kRed)
                                 + Colour(Tag::GradientColorEnd, kBlue) + Attr(Tag::GradientX1, 41.0)
                                 + Attr(Tag::GradientY1, 120.0) + Attr(Tag::GradientX2, 121.0) + Attr(Tag::GradientY2, 120.0);
    Draw(Origin() + Square(gradient, 20.5, 20.5, 40.0));
    EXPECT_GT(At(23, 40).getRed(), 200) << Hex(At(23, 40));
    EXPECT_GT(At(58, 40).getBlue(), 200) << Hex(At(58, 40));
}
