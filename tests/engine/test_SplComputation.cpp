#include "array/ArrayTestFixture.h"

#include "base/CLine.h"
#include "base/CMathHelper.h"
#include "engine/CSPLManager.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <limits>

namespace
{
constexpr double kOneMetre = 39.370078740157474;
const double kMinusInfinity = -std::numeric_limits<double>::infinity();

class SplComputationTest : public ArrayTestFixture
{
protected:
    void TearDown() override
    {
        CSPLManager::DestroyInstance();
        ArrayTestFixture::TearDown();
    }

    static CSPLManager* Spl() { return CSPLManager::GetInstance(); }

    // Puts the module of `position` at `x`, `y` relative to the hang point, tilted by `angle`.
    static CArrayProdWrap Place(CArrayLineWrap line, int position, double x, double y, double angle)
    {
        CArrayProdWrap module = line.GetCab(position).GetProduct();
        CXmlNode* cgInfo = module.GetNode()->GetChild(Tag::CGInfo);
        CPoint* cg = cgInfo->GetChild(Tag::CG)->GetPoint();
        cg->x = x;
        cg->y = y;
        cgInfo->GetChild(Tag::Angle)->SetDouble(angle);
        return module;
    }

    static void SetShading(CArrayProdWrap module, int mode)
    {
        module.GetNode()->GetChild(Tag::Switch2)->GetChild(Tag::Value)->SetInt(mode);
    }

    static CPoint At(double x, double y)
    {
        CPoint p;
        p.x = x;
        p.y = y;
        return p;
    }

    // The recompute's SPL step on the default venue.
    static CVenueDataWrap ComputeDefaultVenue()
    {
        CVenueManager::GetInstance()->InitialiseVenue();
        Spl()->SetRunningMinimum(1e9);
        Spl()->SetRunningMaximum(0.0);
        Spl()->ComputeAreaSpl();
        Spl()->StoreSplRange();
        return CVenueDataWrap(CVenueManager::GetInstance()->GetVenue(1));
    }

    static CXmlNode* LineOf(CVenueDataWrap venue, int slot)
    {
        CVenueAreaWrap area;
        venue.GetArea(area, slot);
        return area.GetNode()->FindChild(Tag::Line);
    }

    static CXmlNode* RangeOf(CVenueDataWrap venue)
    {
        return venue.GetNode()->FindChild(Tag::RenderSpec)->FindChild(Tag::RenderItem)->FindChild(Tag::MetaMore);
    }
};
}

TEST_F(SplComputationTest, OneModuleOnAxisWithEachShadingMode)
{
    CArrayLineWrap line = Build({ Tag::Model_HB1, Tag::Model_DRXR1 });
    CArrayProdWrap module = Place(line, 2, 0.0, 0.0, 0.0);
    const CPoint listener = At(kOneMetre, 0.0);

    EXPECT_NEAR(Spl()->SplAt(listener), 123.5, 1e-9) << "no Switch2 reads as mode 1";
    const struct
    {
        int mode;
        double level;
    } modes[] = { { 1, 123.5 }, { 2, 120.4 }, { 3, 124.0 }, { 7, 123.5 } };
    for (const auto& m : modes)
    {
        SetShading(module, m.mode);
        EXPECT_NEAR(Spl()->SplAt(listener), m.level, 1e-9) << "mode " << m.mode;
    }
}

TEST_F(SplComputationTest, GeometryOfOneModule)
{
    CArrayLineWrap line = Build({ Tag::Model_HB1, Tag::Model_DRXR1 });
    CSPLManager* spl = Spl();
    const double onAxis = spl->PolarLevel(spl->GetPolar(Tag::Model_DRXR1), 0.0, kOneMetre);

    // Tilted down by 10 degrees, the module points at a listener 10 degrees below.
    Place(line, 2, 0.0, 0.0, 10.0);
    const double a = -10.0 * kDegreesToRadians;
    EXPECT_NEAR(spl->SplAt(At(kOneMetre * std::cos(a), kOneMetre * std::sin(a))), onAxis, 1e-9);

    // The module's position is relative to the hang position.
    Place(line, 2, 10.0, -20.0, 0.0);
    spl->GetHangPosition()->x = 100.0;
    spl->GetHangPosition()->y = 50.0;
    EXPECT_NEAR(spl->SplAt(At(110.0 + kOneMetre, 30.0)), onAxis, 1e-9);
}

TEST_F(SplComputationTest, ModulesAddInPhase)
{
    CArrayLineWrap line = Build({ Tag::Model_HB1, Tag::Model_DRXR1, Tag::Model_DRXR1 });
    Place(line, 2, 0.0, 0.0, 0.0);
    Place(line, 3, 0.0, 0.0, 0.0);
    EXPECT_NEAR(Spl()->SplAt(At(kOneMetre, 0.0)), 123.5 + 20.0 * std::log10(2.0), 1e-9);
    EXPECT_NEAR(Spl()->SplAt(At(kOneMetre, 0.0)) - 123.5, 6.0206, 0.0001);
}

TEST_F(SplComputationTest, SurfacesAreSampledEvery24InchesAtEarHeight)
{
    CArrayLineWrap line = Build({ Tag::Model_HB1, Tag::Model_DRXR1 });
    CVenueDataWrap venue = ComputeDefaultVenue();

    EXPECT_DOUBLE_EQ(Spl()->GetHangPosition()->x, 222.0);
    EXPECT_DOUBLE_EQ(Spl()->GetHangPosition()->y, 282.0);
    EXPECT_TRUE(LineOf(venue, 1)->FindChild(Tag::SplTotal)->IsNull()) << "the hang point is not sampled";

    CXmlNode* stage = LineOf(venue, 2);
    EXPECT_EQ(stage->FindChild(Tag::SplTotal)->FindChild(Tag::Total)->GetInt(0), 11);
    EXPECT_DOUBLE_EQ(stage->FindChild(Tag::SplTotal)->FindChild(Tag::LDist)->GetDouble(0.0), 240.0);
    for (int k = 1; k <= 11; ++k)
    {
        CXmlNode* sample = stage->FindChildByInt(Tag::SplPoint, Tag::Slot, k);
        EXPECT_NEAR(sample->FindChild(Tag::LDist)->GetDouble(-1.0), (k - 1) / 10.0, 1e-12) << k;
        EXPECT_DOUBLE_EQ(sample->GetPoint()->x, 24.0 * (k - 1));
        EXPECT_DOUBLE_EQ(sample->GetPoint()->y, 60.0);
        EXPECT_EQ(sample->FindChild(Tag::Render)->GetString(""), Tag::Line);
        EXPECT_EQ(sample->FindChild(Tag::Render)->FindChild(Tag::Target)->GetString(""), Tag::SplList);
    }
    // The level belongs to the listener 48 inches above the sample.
    EXPECT_DOUBLE_EQ(stage->FindChildByInt(Tag::SplPoint, Tag::Slot, 4)->FindChild(Tag::PressureDB)->GetDouble(0.0),
                     Spl()->SplAt(At(72.0, 108.0)));

    CXmlNode* floor = LineOf(venue, 3);
    EXPECT_EQ(floor->FindChild(Tag::SplTotal)->FindChild(Tag::Total)->GetInt(0), 39);
    EXPECT_NEAR(floor->FindChildByInt(Tag::SplPoint, Tag::Slot, 38)->FindChild(Tag::LDist)->GetDouble(0.0), 888.0 / 900.0, 1e-12);
    EXPECT_DOUBLE_EQ(floor->FindChildByInt(Tag::SplPoint, Tag::Slot, 39)->FindChild(Tag::LDist)->GetDouble(0.0), 1.0);
    EXPECT_TRUE(floor->FindChildByInt(Tag::SplPoint, Tag::Slot, 40)->IsNull());

    // The running range spans every sample of every surface and is stored in the venue.
    double lowest = 1e9, highest = 0.0;
    for (int slot = 2; slot <= 5; ++slot)
    {
        CXmlNode* l = LineOf(venue, slot);
        const int total = l->FindChild(Tag::SplTotal)->FindChild(Tag::Total)->GetInt(0);
        for (int k = 1; k <= total; ++k)
        {
            const double level = l->FindChildByInt(Tag::SplPoint, Tag::Slot, k)->FindChild(Tag::PressureDB)->GetDouble(0.0);
            lowest = std::min(lowest, level);
            highest = std::max(highest, level);
        }
    }
    EXPECT_GT(highest, lowest);
    EXPECT_DOUBLE_EQ(RangeOf(venue)->FindChild(Tag::SplMin)->GetDouble(0.0), lowest);
    EXPECT_DOUBLE_EQ(RangeOf(venue)->FindChild(Tag::SplMax)->GetDouble(0.0), highest);
}

TEST_F(SplComputationTest, NoFullRangeModuleGivesMinusInfinityThatSurvivesTheFile)
{
    Build({ Tag::Model_HB1, Tag::Model_DRXS1, Tag::Model_DRXS1 });
    EXPECT_EQ(Spl()->SplAt(At(100.0, 100.0)), kMinusInfinity);

    CVenueDataWrap venue = ComputeDefaultVenue();
    EXPECT_EQ(LineOf(venue, 4)->FindChildByInt(Tag::SplPoint, Tag::Slot, 3)->FindChild(Tag::PressureDB)->GetDouble(0.0),
              kMinusInfinity);
    EXPECT_EQ(RangeOf(venue)->FindChild(Tag::SplMin)->GetDouble(0.0), kMinusInfinity);
    EXPECT_EQ(RangeOf(venue)->FindChild(Tag::SplMax)->GetDouble(1.0), 0.0);

    ASSERT_TRUE(CVenueManager::GetInstance()->GetVenueDocument()->Save("venue.xml"));
    CXmlDocument back;
    back.Load("venue.xml");
    CXmlNode* range = back.GetRoot("Root")->FindChild(Tag::Venue)->FindChild(Tag::RenderSpec)
                          ->FindChild(Tag::RenderItem)->FindChild(Tag::MetaMore);
    EXPECT_EQ(range->FindChild(Tag::SplMin)->GetDouble(0.0), kMinusInfinity);
}

//==============================================================================
TEST(SplColourScale, IndexOfALevel)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const struct
    {
        double level, bottom, top;
        int index;
    } cases[] = {
        { 115.0, 110.0, 120.0, 768 },  { 100.0, 110.0, 120.0, 0 },    { 125.0, 110.0, 120.0, 1535 },
        { 110.0, 110.0, 120.0, 0 },    { 120.0, 110.0, 120.0, 1535 }, { 119.99, 110.0, 120.0, 1534 },
        { 110.01, 110.0, 120.0, 1 },   { nan, 110.0, 120.0, 0 },      { inf, 110.0, 120.0, 1535 },
        { -inf, 110.0, 120.0, 0 },     { 115.0, 120.0, 120.0, 0 },    { 120.0, 120.0, 120.0, 0 },
        { 1e300, 110.0, 120.0, 1535 }, { -1e300, 110.0, 120.0, 0 },   { 115.0, 0.0, 1e-300, 1535 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(CSPLManager::ColourIndex(c.level, c.bottom, c.top), c.index)
            << c.level << " on " << c.bottom << ".." << c.top;
}

TEST(SplColourScale, GradientTableRunsThroughTheSevenStops)
{
    const juce::PixelARGB* table = CSPLManager::GetGradientTable();
    ASSERT_NE(table, nullptr);

    // The framework's own table for the master gradient has the same size and colours.
    juce::HeapBlock<juce::PixelARGB> framework;
    const int entries = CSPLManager::GetMasterGradient()->createLookupTable(juce::AffineTransform(), framework);
    ASSERT_EQ(entries, CSPLManager::kGradientEntries);
    for (int i = 0; i < entries; ++i)
        ASSERT_EQ(table[i].getNativeARGB(), framework[i].getNativeARGB()) << "entry " << i;

    const struct
    {
        int index;
        juce::uint32 argb;
    } stops[] = { { 0, 0xff000000 },   { 256, 0xff800040 }, { 512, 0xff0000ff }, { 768, 0xff008040 },
                  { 1023, 0xffd2d200 }, { 1279, 0xffff8000 }, { 1535, 0xffff0000 } };
    for (const auto& s : stops)
        EXPECT_EQ(juce::Colour(table[s.index]).getARGB(), s.argb) << "entry " << s.index;

    ScopedTempDirectory run;
    CSPLManager* spl = CSPLManager::GetInstance();
    EXPECT_EQ(spl->ColourOf(115.0), 0xff008040u);
    EXPECT_EQ(spl->ColourOf(110.0), 0xff000000u) << "the bottom of the scale";
    EXPECT_EQ(spl->ColourOf(100.0), CSPLManager::kBelowScaleColour);
    EXPECT_EQ(spl->ColourOf(125.0), 0xffff0000u);
    CSPLManager::DestroyInstance();
}

TEST_F(SplComputationTest, SurfacesThatCannotBeWalkedStayBounded)
{
    Build({ Tag::Model_HB1, Tag::Model_DRXR1 });
    CVenueManager::GetInstance()->InitialiseVenue();
    CVenueDataWrap venue(CVenueManager::GetInstance()->GetVenue(1));
    const double lengths[] = { 0.0, 1e7, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN() };
    CVenueAreaWrap areas[4];
    for (int i = 0; i < 4; ++i)
    {
        venue.GetArea(areas[i], i + 2);
        areas[i].GetLine()->length = lengths[i];
        Spl()->SampleArea(areas[i]);
    }
    auto total = [&](int i) { return LineOf(venue, i + 2)->FindChild(Tag::SplTotal)->FindChild(Tag::Total)->GetInt(-1); };
    auto along = [&](int i, int k) {
        return LineOf(venue, i + 2)->FindChildByInt(Tag::SplPoint, Tag::Slot, k)->FindChild(Tag::LDist)->GetDouble(-1.0);
    };

    EXPECT_EQ(total(0), 1);
    EXPECT_EQ(along(0, 1), 0.0);
    EXPECT_EQ(total(1), 1001) << "a sparser walk, still ending at the end";
    EXPECT_DOUBLE_EQ(along(1, 1001), 1.0);
    EXPECT_EQ(total(2), 0);
    EXPECT_EQ(total(3), 0);
}
