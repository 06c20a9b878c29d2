#include "engine/EngineFixture.h"

#include "engine/CSPLManager.h"
#include "engine/CSceneManager.h"
#include "render/CVenuePicture.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <set>

namespace
{
CXmlNode* Scene()
{
    return CSceneManager::GetInstance()->GetScene(2);
}

// The picture of scene 2 on the SPL manager's scale, not annotated.
CVenuePicture::Options SceneOptions()
{
    CVenuePicture::Options options;
    options.scene = Scene();
    options.colours = [](double level) { return CSPLManager::GetInstance()->ColourOf(level); };
    return options;
}

constexpr juce::uint32 kBackground = 0xff3c3c3c;

// The start-up venue stretched: a 200 ft floor and the balcony 150 ft out.
class LongVenue : public EngineFixture
{
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        CCommandManager::GetInstance()->DoVenueArea(3, Tag::LDist, "200");
        CCommandManager::GetInstance()->DoVenueArea(5, Tag::sX, "150");
    }

    static CLine AreaLine(int slot)
    {
        CVenueAreaWrap area;
        CVenueDataWrap(Venue()).GetArea(area, slot);
        return *area.GetLine();
    }

    // A venue point in inches as the classic picture places venue points.
    static juce::Point<double> Classic(double x, double y) { return { 0.5 * x, 300.0 - 0.5 * y }; }

    static int DrawnAround(const juce::Image& picture, juce::Point<double> at, int radius)
    {
        int drawn = 0;
        for (int y = (int) at.y - radius; y <= (int) at.y + radius; ++y)
            for (int x = (int) at.x - radius; x <= (int) at.x + radius; ++x)
                if (picture.getBounds().contains(x, y) && picture.getPixelAt(x, y).getARGB() != kBackground)
                    ++drawn;
        return drawn;
    }
};
} // namespace

TEST(RenderView, FitCentresTheExtentWithItsMarginAndZoomKeepsThePointUnderTheCursor)
{
    struct Case
    {
        CRenderExtent extent;
        double width, height;
    };
    const auto extent = [](double left, double top, double right, double bottom) {
        CRenderExtent e;
        e.Add(left, top);
        e.Add(right, bottom);
        return e;
    };
    const Case cases[] = {
        { extent(0.0, 0.0, 1200.0, 300.0), 1000.0, 600.0 },  // wider than the picture: width decides
        { extent(-50.0, -400.0, 50.0, 100.0), 1000.0, 600.0 }, // taller: height decides
        { extent(10.0, 10.0, 10.0, 10.0), 576.0, 274.0 },      // a single point
    };
    for (const Case& c : cases)
    {
        const CRenderView view = CRenderView::Fit(c.extent, c.width, c.height, 24.0);
        const double l = view.ToViewX(c.extent.left), r = view.ToViewX(c.extent.right);
        const double t = view.ToViewY(c.extent.top), b = view.ToViewY(c.extent.bottom);
        EXPECT_GE(l, 24.0 - 1e-9);
        EXPECT_LE(r, c.width - 24.0 + 1e-9);
        EXPECT_GE(t, 24.0 - 1e-9);
        EXPECT_LE(b, c.height - 24.0 + 1e-9);
        EXPECT_NEAR(0.5 * (l + r), 0.5 * c.width, 1e-9);
        EXPECT_NEAR(0.5 * (t + b), 0.5 * c.height, 1e-9);
        // One of the two directions is filled to its margins.
        EXPECT_TRUE(std::abs(r - l - (c.width - 48.0)) < 1e-6 || std::abs(b - t - (c.height - 48.0)) < 1e-6
                    || c.extent.left == c.extent.right);

        // Out, so that the single point (fitted at the largest zoom) can follow too.
        const CRenderView zoomed = view.ZoomedAbout(0.8, 100.0, 80.0);
        EXPECT_NEAR(zoomed.zoom, view.zoom * 0.8, 1e-12);
        EXPECT_NEAR(zoomed.ToViewX(view.ToClassicX(100.0)), 100.0, 1e-9);
        EXPECT_NEAR(zoomed.ToViewY(view.ToClassicY(80.0)), 80.0, 1e-9);
    }
    EXPECT_EQ(CRenderView::Fit(CRenderExtent(), 100.0, 100.0, 5.0).zoom, 1.0) << "nothing drawn: the classic view";
    EXPECT_EQ(CRenderView().ZoomedAbout(1e9, 0.0, 0.0).zoom, CRenderView::kMaxZoom);
}

TEST(RenderView, GridStepsAreOneTwoOrFiveTimesAPowerOfTen)
{
    struct Case
    {
        double pixelsPerUnit, minimumPixels, step;
    };
    const Case cases[] = {
        { 6.0, 56.0, 10.0 },   // the classic picture in feet
        { 3.0, 56.0, 20.0 },   // zoomed out
        { 60.0, 56.0, 1.0 },   // zoomed in
        { 19.685, 56.0, 5.0 }, // the classic picture in meters
        { 560.0, 56.0, 0.1 },
        { 56.0, 56.0, 1.0 },   // exactly the minimum
    };
    for (const Case& c : cases)
        EXPECT_NEAR(CVenuePicture::GridStep(c.pixelsPerUnit, c.minimumPixels), c.step, c.step * 1e-9)
            << c.pixelsPerUnit << " px per unit";
}

TEST_F(LongVenue, TheFittedPictureHoldsTheWholeVenueWhileTheClassicOneCutsIt)
{
    const CLine floor = AreaLine(3);
    const CLine balcony = AreaLine(5);
    ASSERT_NEAR(floor.length, 2400.0, 1e-6);
    ASSERT_NEAR(balcony.x1, 2040.0, 1e-6);
    // The far ends lie beyond the classic 1000-pixel picture.
    ASSERT_GT(Classic(floor.x2, floor.y2).x, 1000.0);
    ASSERT_GT(Classic(balcony.x2, balcony.y2).x, 1000.0);

    juce::Image picture(juce::Image::RGB, 1000, 600, true);
    CVenuePicture::Options options = SceneOptions();
    options.framing = CVenuePicture::Framing::Fit;
    const CRenderView view = CVenuePicture::Draw(picture, options);

    const CRenderExtent extent = CVenuePicture::Measure(Scene());
    ASSERT_FALSE(extent.IsEmpty());
    EXPECT_LE(extent.right, Classic(std::max(floor.x2, balcony.x2), 0.0).x + 1.0) << "nothing runs off to nowhere";
    for (double x : { extent.left, extent.right })
    {
        EXPECT_GE(view.ToViewX(x), 0.0);
        EXPECT_LE(view.ToViewX(x), 1000.0);
    }
    for (double y : { extent.top, extent.bottom })
    {
        EXPECT_GE(view.ToViewY(y), 0.0);
        EXPECT_LE(view.ToViewY(y), 600.0);
    }
    // Every surface end, the stage and the hang point are drawn inside the picture.
    for (int slot = 2; slot <= 5; ++slot)
    {
        const CLine line = AreaLine(slot);
        for (const juce::Point<double> end : { Classic(line.x1, line.y1), Classic(line.x2, line.y2) })
        {
            const juce::Point<double> shown(view.ToViewX(end.x), view.ToViewY(end.y));
            ASSERT_TRUE(juce::Rectangle<double>(0.0, 0.0, 1000.0, 600.0).contains(shown)) << "area " << slot;
            EXPECT_GT(DrawnAround(picture, shown, 4), 0) << "area " << slot << " end at " << shown.toString();
        }
    }

    // The classic picture of the same venue shows the floor only up to its edge.
    juce::Image classic(juce::Image::RGB, 1000, 600, true);
    CVenuePicture::Draw(classic, SceneOptions());
    EXPECT_EQ(CVenuePicture::Draw(classic, SceneOptions()).zoom, 1.0);
    int differing = 0;
    for (int y = 0; y < 600; y += 2)
        for (int x = 0; x < 1000; x += 2)
            differing += classic.getPixelAt(x, y) != picture.getPixelAt(x, y) ? 1 : 0;
    EXPECT_GT(differing, 500);
}

TEST_F(LongVenue, TheGridAndTheSurfaceNamesAreDrawnOnlyWhenAsked)
{
    juce::Image plain(juce::Image::RGB, 1000, 600, true);
    juce::Image annotated(juce::Image::RGB, 1000, 600, true);
    CVenuePicture::Options options = SceneOptions();
    options.framing = CVenuePicture::Framing::Fit;
    options.units = CJuceManager::GetInstance()->GetDisplayUnits();
    CVenuePicture::Draw(plain, options);
    options.annotate = true;
    const CRenderView view = CVenuePicture::Draw(annotated, options);

    // The vertical grid line 100 ft from the stage front, which ends at x = 240 inches.
    const int x100 = juce::roundToInt(view.ToViewX(0.5 * (1200.0 + 240.0)));
    int lighter = 0;
    for (int y = 10; y < 590; y += 10)
        lighter += annotated.getPixelAt(x100, y).getBrightness() > plain.getPixelAt(x100, y).getBrightness() ? 1 : 0;
    EXPECT_GT(lighter, 20) << "grid line at x = " << x100;

    // The balcony's name over its middle.
    const CLine balcony = AreaLine(5);
    const juce::Point<double> middle(view.ToViewX(0.25 * (balcony.x1 + balcony.x2)),
                                     view.ToViewY(300.0 - 0.25 * (balcony.y1 + balcony.y2)));
    int text = 0;
    for (int y = (int) middle.y - 20; y < (int) middle.y - 6; ++y)
        for (int x = (int) middle.x - 30; x < (int) middle.x + 30; ++x)
            text += annotated.getPixelAt(x, y).getBrightness() > 0.8f && plain.getPixelAt(x, y).getBrightness() < 0.5f ? 1 : 0;
    EXPECT_GT(text, 15);
}

TEST_F(LongVenue, TheGridIsDrawnInBoundedTimeHoweverFarTheViewIsMoved)
{
    // Far from the origin a grid step no longer changes a double: a loop that stepped from
    // one line to the next would never end there.
    juce::Image far(juce::Image::RGB, 1000, 600, true);
    CVenuePicture::Options options = SceneOptions();
    options.framing = CVenuePicture::Framing::Given;
    options.units = CJuceManager::GetInstance()->GetDisplayUnits();
    options.annotate = true;
    for (const double offset : { -8e306, 1e21, -1e12, 4e15 })
    {
        SCOPED_TRACE(offset);
        options.view.x = offset;
        options.view.y = -offset;
        CVenuePicture::Draw(far, options);
    }
}

TEST_F(LongVenue, TheShownRangeSpansTheLevelsInViewAndGivesTheSurfacesManyColours)
{
    juce::Image picture(juce::Image::RGB, 1000, 600, true);
    CVenuePicture::Options options = SceneOptions();
    options.framing = CVenuePicture::Framing::Fit;
    const CRenderView whole = CVenuePicture::Draw(picture, options);

    double low = 0.0, high = 0.0;
    ASSERT_TRUE(CVenuePicture::ShownLevelRange(Scene(), whole, 1000, 600, low, high));
    const double splMin = Venue()->FindChild(Tag::RenderSpec)->FindChild(Tag::RenderItem)->FindChild(Tag::MetaMore)
                              ->FindChild(Tag::SplMin)->GetDouble(0.0);
    EXPECT_EQ(low, std::floor(splMin)) << "the whole venue is on show: its quietest sample";
    EXPECT_EQ(low, std::floor(low));
    EXPECT_EQ(high, std::ceil(high));
    EXPECT_GT(high, low);

    // Only the stage's neighbourhood: a narrower range.
    double nearLow = 0.0, nearHigh = 0.0;
    const CRenderView close = whole.ZoomedAbout(6.0, whole.ToViewX(60.0), whole.ToViewY(270.0));
    ASSERT_TRUE(CVenuePicture::ShownLevelRange(Scene(), close, 1000, 600, nearLow, nearHigh));
    EXPECT_LE(nearHigh - nearLow, high - low);
    // A view of empty space shows no level.
    CRenderView nowhere;
    nowhere.x = -1e6;
    EXPECT_FALSE(CVenuePicture::ShownLevelRange(Scene(), nowhere, 1000, 600, nearLow, nearHigh));

    // The surfaces' colours: few on the default scale, many on the shown range.
    const auto colours = [&]() {
        juce::Image shot(juce::Image::RGB, 1000, 600, true);
        CVenuePicture::Draw(shot, options);
        std::set<juce::uint32> seen;
        for (int slot = 3; slot <= 5; ++slot)
        {
            const CLine line = AreaLine(slot);
            for (int i = 1; i < 40; ++i)
            {
                const double f = i / 40.0;
                const double x = whole.ToViewX(0.5 * (line.x1 + f * (line.x2 - line.x1)));
                const double y = whole.ToViewY(300.0 - 0.5 * (line.y1 + f * (line.y2 - line.y1)));
                const juce::Colour c = shot.getPixelAt(juce::roundToInt(x), juce::roundToInt(y));
                // Coarse bins, so that anti-aliasing adds no colours.
                seen.insert(((juce::uint32) c.getRed() / 32) << 16 | ((juce::uint32) c.getGreen() / 32) << 8
                            | ((juce::uint32) c.getBlue() / 32));
            }
        }
        return seen.size();
    };
    // Against the scale as it stood before it followed the levels.
    options.followLevels = nullptr;
    MovedScale();
    const size_t onDefault = colours();
    CSPLManager::GetInstance()->SetScale(low, high);
    const size_t onShown = colours();
    EXPECT_GE(onShown, 6u);
    EXPECT_GT(onShown, onDefault + 2) << "default scale " << onDefault << ", shown range " << onShown;
}

TEST_F(LongVenue, FitShowsTheWholeOfTheLongestVenueWithTheArray)
{
    // 3000 ft of floor, near the longest the venue's limits take: the fitted view still holds
    // the array and the floor's far end.
    ASSERT_TRUE(CCommandManager::GetInstance()->DoVenueArea(3, Tag::LDist, "3000"));
    juce::Image picture(juce::Image::RGB, 576, 274, true);
    CVenuePicture::Options options = SceneOptions();
    options.framing = CVenuePicture::Framing::Fit;
    const CRenderView view = CVenuePicture::Draw(picture, options);
    const CLine floor = AreaLine(3);
    CVenueAreaWrap hang;
    CVenueDataWrap(Venue()).GetArea(hang, 1);
    for (const juce::Point<double> venue : { juce::Point<double>(hang.GetLine()->x1, hang.GetLine()->y1),
                                             juce::Point<double>(floor.x2, floor.y2) })
    {
        const juce::Point<double> classic = Classic(venue.x, venue.y);
        const double x = view.ToViewX(classic.x), y = view.ToViewY(classic.y);
        EXPECT_TRUE(x >= 0.0 && x <= 576.0 && y >= 0.0 && y <= 274.0) << venue.toString() << " at " << x << ", " << y;
    }
}

TEST_F(LongVenue, OverAnUnderlayEverySurfaceHasADarkRimAndGridNumbersKeepClear)
{
    juce::Image picture(juce::Image::RGB, 1000, 600, true);
    CVenuePicture::Options options = SceneOptions();
    options.framing = CVenuePicture::Framing::Classic;
    // A field map in the colour of the scale's top, as loud as the surfaces near the array.
    const juce::Colour map(CSPLManager::GetInstance()->ColourOf(1000.0));
    options.underlay = [map](juce::Image& image, const CVenuePicture::Placement&) {
        image.clear(image.getBounds(), map);
    };
    options.outlineSurfaces = true;
    CVenuePicture::Draw(picture, options);
    // Just above and below the floor's middle, the rim; further off, the map.
    const CLine floor = AreaLine(3);
    const juce::Point<double> middle = Classic(0.5 * (floor.x1 + floor.x2), 0.5 * (floor.y1 + floor.y2));
    const auto at = [&](double dy) { return picture.getPixelAt((int) middle.x, juce::roundToInt(middle.y + dy)); };
    EXPECT_LT(at(-4.0).getBrightness(), 0.15f) << at(-4.0).toDisplayString(false);
    EXPECT_LT(at(4.0).getBrightness(), 0.15f) << at(4.0).toDisplayString(false);
    EXPECT_EQ(at(-12.0), map);

    // The grid's numbers stay out of a strip the caller keeps clear, and are drawn elsewhere.
    options.underlay = nullptr;
    options.outlineSurfaces = false;
    options.annotate = true;
    options.framing = CVenuePicture::Framing::Fit;
    const auto drawnKeeping = [&](juce::Rectangle<float> clear) {
        options.keepClear = { clear };
        juce::Image image(juce::Image::RGB, 1000, 600, true);
        CVenuePicture::Draw(image, options);
        return image;
    };
    const juce::Image strip = drawnKeeping({ 0.0f, 0.0f, 1000.0f, 200.0f });
    const juce::Image none = drawnKeeping({ 0.0f, 0.0f, 1000.0f, 600.0f });
    const auto differing = [](const juce::Image& a, const juce::Image& b, int top, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < 1000; ++x)
                n += a.getPixelAt(x, y) != b.getPixelAt(x, y) ? 1 : 0;
        return n;
    };
    EXPECT_EQ(differing(strip, none, 0, 200), 0) << "no number in the kept strip";
    EXPECT_GT(differing(strip, none, 200, 600), 50) << "numbers below it";
}
