#include "EngineFixture.h"

#include "engine/CAimLines.h"
#include "venue/CVenueAimLineWrap.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <cmath>

namespace
{
CXmlNode* ProductAt(int position)
{
    return CEngineManager::GetInstance()->ResolvePath("Array.1.CabProd." + std::to_string(position));
}

// Replaces the aim lines by one ray of module 2 and intersects it with the venue.
CLine ShootRay(double x, double y, double angle, const std::string& type = "Center")
{
    CVenueDataWrap venue(EngineFixture::Venue());
    venue.ClearAimLines();
    CVenueAimLineWrap aim;
    venue.GetAimLine(aim, 1);
    aim.SetAimType(type);
    aim.SetCab(2);
    CLine* line = aim.GetLine();
    line->x1 = x;
    line->y1 = y;
    line->SetByKey("LAngle", angle);
    line->SetByKey("LDist", AimLines::kRayLength);
    venue.SetAimLineTotal(1);
    AimLines::IntersectAimLines(venue);
    return *aim.GetLine();
}
}

class AimLineTest : public EngineFixture {};

TEST_F(AimLineTest, OneCentreLinePerModuleAndTheEdgesAtTopAndBottom)
{
    Command("Model_DRXS1", 1);
    Command("Model_DRXR1", 5);
    CVenueDataWrap venue(Venue());
    ASSERT_EQ(venue.GetAimLineTotal(), 7);

    struct Expect { const char* type; int cab; };
    const Expect expected[] = { { "UEdge", 3 }, { "Center", 3 }, { "Center", 4 }, { "Center", 5 },
                                { "Center", 6 }, { "Center", 7 }, { "LEdge", 7 } };
    for (int j = 1; j <= 7; ++j)
    {
        CVenueAimLineWrap aim;
        venue.GetAimLine(aim, j);
        EXPECT_EQ(aim.GetAimType(), expected[j - 1].type) << j;
        EXPECT_EQ(aim.GetCab(), expected[j - 1].cab) << j;
        // Every ray is cut off where it meets a surface.
        EXPECT_LT(aim.GetLine()->length, AimLines::kRayLength) << j;
        if (j >= 3 && j <= 5)
        {
            EXPECT_DOUBLE_EQ(ProductAt(aim.GetCab())->GetChild(Tag::AimDist)->GetChild(Tag::Value)->GetDouble(0),
                             aim.GetLine()->length);
        }
    }

    // Edges are centre lines turned by the catalogue's +-7.5 degrees.
    CVenueAimLineWrap upper, centre;
    venue.GetAimLine(upper, 1);
    venue.GetAimLine(centre, 2);
    // (the hit points are single-precision crossings, so the angles move a little)
    EXPECT_NEAR(upper.GetLine()->angle - centre.GetLine()->angle, 7.5, 1e-4);
}

TEST_F(AimLineTest, ArrayWithoutFullRangeModulesHasNoAimLines)
{
    Command("Model_DRXR1", 0);
    Command("Model_DRXS1", 3);
    CVenueDataWrap venue(Venue());
    EXPECT_EQ(venue.GetAimLineTotal(), 0);
    EXPECT_DOUBLE_EQ(venue.GetPowerMin(), 1000.0);
    EXPECT_DOUBLE_EQ(venue.GetPowerMax(), 0.0);
    CVenueAreaWrap floor;
    venue.GetArea(floor, 3);
    EXPECT_EQ(floor.GetInterTotal(), 2);
    EXPECT_DOUBLE_EQ(floor.GetInter(1)->GetChild(Tag::Power)->GetDouble(-1), 0.0);
}

TEST_F(AimLineTest, LevelFallsWithDistanceAndOnTheEdges)
{
    Command("Model_DRXS1", 0);
    Command("Model_DRXR1", 3);
    // 114 dB + 10 log10(3) - 20 log10(600 in = 15.24 m)
    const double level = 114.0 + 10.0 * std::log10(3.0) - 20.0 * std::log10(15.24);
    EXPECT_NEAR(level, 95.11, 0.005);

    // Straight down from 600 inches above the floor.
    const CLine centre = ShootRay(600.0, 600.0, -90.0);
    EXPECT_NEAR(ProductAt(2)->GetChild(Tag::Power)->GetDouble(0),
                114.0 + 10.0 * std::log10(3.0) - 20.0 * std::log10(centre.length / 12.0 * 0.3048), 1e-9);
    ShootRay(600.0, 600.0, -90.0, "UEdge");
    EXPECT_NEAR(ProductAt(2)->GetChild(Tag::Power)->GetDouble(0),
                114.0 + 10.0 * std::log10(3.0) - 20.0 * std::log10(centre.length / 12.0 * 0.3048) - 2.5, 1e-9);
}

TEST_F(AimLineTest, NearestSurfaceWinsAndTheBackWallCatchesTheRest)
{
    // Upward over everything: the back wall stands at the largest area end, the rake's.
    const CLine up = ShootRay(100.0, 100.0, 80.0);
    EXPECT_NEAR(up.x2, 1377.664, 1e-3);

    // Down through the balcony (closer) and on to the floor: the ray ends on the balcony.
    const CLine down = ShootRay(1000.0, 600.0, -80.0);
    CVenueAreaWrap balcony;
    CVenueDataWrap(Venue()).GetArea(balcony, 5);
    const CLine* b = balcony.GetLine();
    const double onBalcony = b->y1 + (down.x2 - b->x1) * std::tan(b->angle * 0.017453292519944444);
    EXPECT_NEAR(down.y2, onBalcony, 1e-3);
    EXPECT_GT(down.y2, 200.0);
    EXPECT_DOUBLE_EQ(ProductAt(2)->GetChild(Tag::AimDist)->GetChild(Tag::Value)->GetDouble(0), down.length);
}

TEST_F(AimLineTest, IntersectionListsRunFromEndToStartWithExtrapolatedEnds)
{
    Command("Model_DRXS1", 0);
    Command("Model_DRXR1", 4);
    CVenueAreaWrap floor;
    CVenueDataWrap(Venue()).GetArea(floor, 3);
    const int total = floor.GetInterTotal();
    ASSERT_EQ(total, 6 + 2);
    const CLine* line = floor.GetLine();
    EXPECT_DOUBLE_EQ(floor.GetInter(1)->GetChild(Tag::Point)->GetPoint()->x, line->x2);
    EXPECT_DOUBLE_EQ(floor.GetInter(total)->GetChild(Tag::Point)->GetPoint()->x, line->x1);

    auto power = [&floor](int i) { return floor.GetInter(i)->GetChild(Tag::Power)->GetDouble(0); };
    auto at = [&floor](int i) { return *floor.GetInter(i)->GetChild(Tag::Point)->GetPoint(); };
    auto dist = [](const CPoint& a, const CPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); };
    EXPECT_NEAR(power(1), power(2) - dist(at(1), at(2)) / dist(at(2), at(3)) * (power(3) - power(2)), 1e-9);
}

TEST_F(AimLineTest, OneAimLineLendsItsLevelToBothEndsOfEveryList)
{
    Command("Model_DRXS1", 0);
    Command("Model_DRXR1", 3);
    ShootRay(600.0, 600.0, -90.0);
    CVenueAreaWrap floor;
    CVenueDataWrap(Venue()).GetArea(floor, 3);
    ASSERT_EQ(floor.GetInterTotal(), 3);
    const double level = floor.GetInter(2)->GetChild(Tag::Power)->GetDouble(0);
    EXPECT_TRUE(std::isfinite(level));
    EXPECT_DOUBLE_EQ(floor.GetInter(1)->GetChild(Tag::Power)->GetDouble(-1), level);
    EXPECT_DOUBLE_EQ(floor.GetInter(3)->GetChild(Tag::Power)->GetDouble(-1), level);
}
