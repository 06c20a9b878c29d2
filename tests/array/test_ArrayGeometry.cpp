#include "array/ArrayTestFixture.h"

#include "base/CMathHelper.h"

#include <cmath>
#include <stdexcept>

namespace
{
const std::string& HB1 = Tag::Model_HB1;
const std::string& R1 = Tag::Model_DRXR1;
const std::string& S1 = Tag::Model_DRXS1;

class ArrayGeometryTest : public ArrayTestFixture
{
protected:
    static double PinAngle(CArrayLineWrap line, int pin)
    {
        return line.GetNode()->FindChild(Tag::PinList)->FindChildByInt(Tag::Pin, Tag::Slot, pin)
            ->FindChild(Tag::Angle)->GetDouble(-9999.0);
    }

    static double Tilt(CArrayLineWrap line, int position, const std::string& section)
    {
        return Section(line, position, section)->FindChild(Tag::Angle)->GetDouble(-9999.0);
    }

    static CPoint ArrayCG(CArrayLineWrap line, const std::string& section)
    {
        return PointOf(line.GetNode()->FindChild(section)->FindChild(Tag::CG));
    }
};

// The reference figures of the rigging tables.
TEST_F(ArrayGeometryTest, FlybarSubwooferAndFiveModules)
{
    CArrayLineWrap line = Build(Repeat({ HB1, S1 }, R1, 5));

    EXPECT_NEAR(line.GetNode()->FindChild(Tag::Weight)->GetDouble(0.0), 371.2, 1e-9);
    const CPoint cg = ArrayCG(line, Tag::AssemblyCGInfo);
    EXPECT_NEAR(cg.x, -7.686, 0.0005);
    EXPECT_NEAR(cg.y, -31.850, 0.0005);

    const double expected[] = { 22.91, 19.79, 16.54, 9.72, 6.20, 2.62, -0.97, -4.56 };
    for (int pin = 1; pin <= 8; ++pin)
        EXPECT_NEAR(PinAngle(line, pin), expected[pin - 1], 0.005) << "pin " << pin;

    // A pin the flybar does not have hangs the array level.
    line.SetSlotPin(9);
    line.ApplyPickPin();
    EXPECT_DOUBLE_EQ(line.GetArrayAngle(), 0.0);
    EXPECT_DOUBLE_EQ(Tilt(line, 1, Tag::CGInfo), 0.0);
}

TEST_F(ArrayGeometryTest, FlybarAndSixModules)
{
    CArrayLineWrap line = Build(Repeat({ HB1 }, R1, 6));

    const double tilts[] = { 0, 7.5, 22.5, 37.5, 52.5, 67.5, 82.5 };
    for (int i = 1; i <= 7; ++i)
        EXPECT_NEAR(Tilt(line, i, Tag::AssemblyCGInfo), tilts[i - 1], 1e-9) << "position " << i;

    const CPoint origin = PointOf(Section(line, 2, Tag::AssemblyCGInfo)->FindChild(Tag::CG));
    EXPECT_NEAR(origin.x, 0.416, 0.0005);
    EXPECT_NEAR(origin.y, -6.393, 0.0005);
    const CPoint ur = PointOf(Section(line, 2, Tag::AssemblyCGInfo)->FindChild(Tag::UR));
    EXPECT_NEAR(ur.x, 9.577, 0.0005);
    EXPECT_NEAR(ur.y, -1.495, 0.0005);

    const CPoint cg = ArrayCG(line, Tag::AssemblyCGInfo);
    EXPECT_NEAR(cg.x, -12.381, 0.0005);
    EXPECT_NEAR(cg.y, -24.182, 0.0005);
    EXPECT_NEAR(line.GetNode()->FindChild(Tag::Weight)->GetDouble(0.0), 323.4, 1e-9);
    EXPECT_NEAR(PinAngle(line, 7), 9.75, 0.005);
    EXPECT_NEAR(PinAngle(line, 1), 36.90, 0.005);
}

TEST_F(ArrayGeometryTest, LoneFlybarHangsUpright)
{
    CArrayLineWrap line = Build({ HB1 });

    const CPoint cg = ArrayCG(line, Tag::AssemblyCGInfo);
    EXPECT_NEAR(cg.x, 0.0, 1e-12);
    EXPECT_NEAR(cg.y, 0.0, 1e-12);
    for (int pin = 1; pin <= 8; ++pin)
        EXPECT_NEAR(PinAngle(line, pin), pin <= 3 ? -270.0 : -90.0, 1e-9) << "pin " << pin;
}

struct ArrayCase
{
    const char* name;
    std::vector<std::string> models;
};

const std::vector<ArrayCase>& ArrayCases()
{
    static const std::vector<ArrayCase> cases = {
        { "one module", { HB1, R1 } },
        { "two subwoofers and a module", { HB1, S1, S1, R1 } },
        { "subwoofer and five modules", { HB1, S1, R1, R1, R1, R1, R1 } },
        { "six modules", { HB1, R1, R1, R1, R1, R1, R1 } },
        { "three subwoofers and three modules", { HB1, S1, S1, S1, R1, R1, R1 } },
    };
    return cases;
}

// Every joint: the lower cabinet is turned by the splay angle and its touch-to point sits
// the gap away from the upper cabinet's touch point, square to the mean of the tilts.
TEST_F(ArrayGeometryTest, JointsHoldInBothPositions)
{
    CProductManager* catalogue = CProductManager::GetInstance();
    for (const ArrayCase& c : ArrayCases())
    {
        SCOPED_TRACE(c.name);
        CArrayLineWrap line = Build(c.models, 3);
        const int total = line.GetTotal();
        ASSERT_EQ(total, (int) c.models.size());
        for (const std::string* section : { &Tag::AssemblyCGInfo, &Tag::CGInfo })
        {
            for (int i = 2; i <= total; ++i)
            {
                SCOPED_TRACE(*section + " position " + std::to_string(i));
                CXmlNode* joint = catalogue->FindSplay(c.models[i - 2], c.models[i - 1], 1);
                ASSERT_FALSE(joint->IsNull());
                const double splay = joint->FindChild(Tag::Angle)->GetDouble(0.0);
                const double gap = joint->FindChild(Tag::Spacing)->GetDouble(0.0);
                const double upperTilt = Tilt(line, i - 1, *section);
                const double tilt = Tilt(line, i, *section);
                EXPECT_NEAR(tilt - upperTilt, splay, 1e-9);

                const double below = i < total
                                         ? catalogue->FindSplay(c.models[i - 1], c.models[i], 1)
                                               ->FindChild(Tag::Angle)->GetDouble(0.0)
                                         : 0.0;
                const CPoint touch = PointOf(Section(line, i - 1, *section)
                                                 ->FindChild(joint->FindChild(Tag::Touch)->GetString("")));
                const CPoint rest = PointOf(Section(line, i, *section)
                                                ->FindChild(joint->FindChild(Tag::TouchTo)->GetString("")));
                const double beta = (-(tilt + tilt + below) / 2.0 - 90.0) * kDegreesToRadians;
                EXPECT_NEAR(rest.x - touch.x, gap * std::cos(beta), 1e-9);
                EXPECT_NEAR(rest.y - touch.y, gap * std::sin(beta), 1e-9);
            }
        }
    }
}

TEST_F(ArrayGeometryTest, FirstModuleRestsBelowTheFlybarConnector)
{
    CArrayLineWrap line = Build({ HB1, R1 });
    EXPECT_NEAR(Tilt(line, 2, Tag::AssemblyCGInfo), 7.5, 1e-12);
    const CPoint connect = PointOf(Section(line, 1, Tag::AssemblyCGInfo)->FindChild(Tag::Connect1));
    const CPoint ur = PointOf(Section(line, 2, Tag::AssemblyCGInfo)->FindChild(Tag::UR));
    EXPECT_NEAR(connect.x, 9.609, 1e-12);
    EXPECT_NEAR(connect.y, -1.374, 1e-12);
    // Polar forms pass through the catalogue file's 16 digits.
    EXPECT_NEAR(ur.x - connect.x, 0.125 * std::cos(-97.5 * kDegreesToRadians), 1e-9);
    EXPECT_NEAR(ur.y - connect.y, 0.125 * std::sin(-97.5 * kDegreesToRadians), 1e-9);
}

// Picked at any pin, the array hangs still: its CG straight below the pick point.
TEST_F(ArrayGeometryTest, CentreOfGravityHangsUnderEveryPin)
{
    for (const ArrayCase& c : ArrayCases())
    {
        CArrayLineWrap line = Build(c.models);
        for (int pin = 1; pin <= 8; ++pin)
        {
            SCOPED_TRACE(std::string(c.name) + " pin " + std::to_string(pin));
            line.SetSlotPin(pin);
            line.ComputeGeometry();
            const CPoint hang = PointOf(Section(line, 1, Tag::CGInfo)->FindChild(Tag::HangCG));
            const CPoint cg = ArrayCG(line, Tag::CGInfo);
            EXPECT_NEAR(cg.x, hang.x, 1e-9);
            EXPECT_LT(cg.y, hang.y);
            EXPECT_DOUBLE_EQ(line.GetArrayAngle(), PinAngle(line, pin));
            EXPECT_DOUBLE_EQ(Tilt(line, 1, Tag::CGInfo), -PinAngle(line, pin));
        }
    }
}

TEST_F(ArrayGeometryTest, HangingPassTurnsTheAssemblyRigidly)
{
    CArrayLineWrap line = Build(Repeat({ HB1, S1 }, R1, 5), 2);
    const double angle = line.GetArrayAngle() * kDegreesToRadians;
    CMathHelper math;
    for (int i = 1; i <= 7; ++i)
        for (const std::string* point : { &Tag::CG, &Tag::UR, &Tag::LL })
        {
            const CPoint a = PointOf(Section(line, i, Tag::AssemblyCGInfo)->FindChild(*point));
            const CPoint h = PointOf(Section(line, i, Tag::CGInfo)->FindChild(*point));
            // Turning by the array angle about the flybar's CG (positive raises the front).
            EXPECT_NEAR(h.x, a.x * std::cos(angle) - a.y * std::sin(angle), 1e-9);
            EXPECT_NEAR(h.y, a.x * std::sin(angle) + a.y * std::cos(angle), 1e-9);
            EXPECT_NEAR(math.Distance(h, CPoint()), math.Distance(a, CPoint()), 1e-9);
        }
}

TEST_F(ArrayGeometryTest, TopThatIsNoFlybarIsReported)
{
    try
    {
        Build({ R1, R1 });
        FAIL() << "no report";
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_STREQ(e.what(), "Error: Top of array is not a flybar");
    }
    // The assembly position stays; no pin angles, no hanging pass.
    CArrayLineWrap line = Arrays()->GetLine(1, CArrayManager::kFind);
    EXPECT_FALSE(line.GetNode()->FindChild(Tag::AssemblyCGInfo)->FindChild(Tag::CG)->IsNull());
    EXPECT_TRUE(line.GetNode()->FindChild(Tag::PinList)->FindChild(Tag::Pin)->IsNull());
    EXPECT_TRUE(line.GetNode()->FindChild(Tag::CGInfo)->IsNull());
}

TEST_F(ArrayGeometryTest, WeightlessArrayPutsItsCentreAtTheOrigin)
{
    CArrayLineWrap line(Arrays()->GetArray(1, CArrayManager::kCreate));
    CArrayProdWrap product = line.GetCab(1).GetOrCreateProduct([] { return Arrays()->NewProduct(""); });
    product.SetModel("PX9");
    line.SetTotal(1);
    line.RelinkAll();
    line.PlacePositions(Tag::AssemblyCGInfo, 0, 0.0);
    line.ComputeCentreOfGravity(Tag::AssemblyCGInfo);

    const CPoint cg = ArrayCG(line, Tag::AssemblyCGInfo);
    EXPECT_EQ(cg.x, 0.0);
    EXPECT_EQ(cg.y, 0.0);
    EXPECT_EQ(line.GetNode()->FindChild(Tag::Weight)->GetDouble(-1.0), 0.0);
}

TEST_F(ArrayGeometryTest, SectionsCarryDrawableMarkers)
{
    CArrayLineWrap line = Build({ HB1, R1 }, 4);
    struct Row { CXmlNode* element; int slot; const std::string* meta; };
    const Row rows[] = {
        { Section(line, 2, Tag::AssemblyCGInfo)->FindChild(Tag::CG), 1, &Tag::CG },
        { Section(line, 1, Tag::CGInfo)->FindChild(Tag::HangCG), 2, &Tag::HangCG },
        { line.GetNode()->FindChild(Tag::CGInfo)->FindChild(Tag::CG), 1, &Tag::ArrayCG },
        { line.GetNode()->FindChild(Tag::AssemblyCGInfo)->FindChild(Tag::CG), 1, &Tag::ArrayCG },
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(*row.meta);
        CXmlNode* render = row.element->FindChild(Tag::Render);
        EXPECT_EQ(render->GetString(""), "Circle");
        EXPECT_EQ(render->FindChild(Tag::Slot)->GetInt(0), row.slot);
        EXPECT_FALSE(row.element->FindChild(Tag::Meta)->FindChild(*row.meta)->IsNull());
    }
    // The hang point keeps the pin's polar form, the placed points their local one.
    CXmlNode* hang = Section(line, 1, Tag::CGInfo)->FindChild(Tag::HangCG);
    EXPECT_NEAR(hang->FindChild(Tag::Dist)->GetDouble(0.0), 2.2276, 1e-12);
    EXPECT_NEAR(hang->FindChild(Tag::Angle)->GetDouble(0.0), 180.0, 1e-9);
    CXmlNode* ur = Section(line, 2, Tag::CGInfo)->FindChild(Tag::UR);
    EXPECT_NEAR(ur->FindChild(Tag::Dist)->GetDouble(0.0), std::hypot(8.443, 6.052), 1e-12);
    // The array editor reads its limits through the forward link to the catalogue.
    EXPECT_EQ(line.GetNode()->FindChild(Tag::ArrayInfo)->FindChild(Tag::SlotPin)->FindChild(Tag::Max)->GetInt(0), 8);
}

TEST_F(ArrayGeometryTest, LevelAndOffAxisAngleOfAModule)
{
    CArrayLineWrap line = Build(Repeat({ HB1, S1 }, R1, 5));
    CArrayProdWrap module = line.GetCab(3).GetProduct();

    const double oneMetre = 12.0 / 0.3048;
    const int enclosures = line.GetTotal() - 1;
    EXPECT_NEAR(module.LevelAtDistance(oneMetre, enclosures), 114.0 + 10.0 * std::log10(6.0), 1e-9);
    EXPECT_NEAR(module.LevelAtDistance(10.0 * oneMetre, enclosures), 114.0 + 10.0 * std::log10(6.0) - 20.0, 1e-9);

    const CPoint cg = PointOf(Section(line, 3, Tag::CGInfo)->FindChild(Tag::CG));
    const double tilt = Section(line, 3, Tag::CGInfo)->FindChild(Tag::Angle)->GetDouble(0.0);
    CPoint offset;
    offset.x = 10.0;
    offset.y = 100.0;
    CPoint target;
    target.x = cg.x + offset.x + 3.0;
    target.y = cg.y + offset.y - 4.0;
    double distance = 0.0, angle = 0.0;
    module.DistanceAndAngleTo(target, offset, distance, angle);
    EXPECT_NEAR(distance, 5.0, 1e-9);
    EXPECT_NEAR(angle, std::atan2(-4.0, 3.0) * kRadiansToDegrees + tilt, 1e-9);
}
} // namespace
