#include "TestSupport.h"

#include "engine/CSPLManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>

namespace
{
constexpr double kOneMetre = 39.370078740157474;

class SplPolarTest : public ::testing::Test
{
protected:
    void TearDown() override { CSPLManager::DestroyInstance(); }

    static CSPLManager* Spl() { return CSPLManager::GetInstance(); }

    // A table of the given (angle, level) rows, in the order given, under `model`.
    static CSPLPolar AddPolar(const std::string& model, std::initializer_list<std::pair<double, double>> rows)
    {
        CXmlNode* polar = Spl()->GetPolarDocument()->GetRoot("Root")->GetChild(Tag::PolarList)->AddChild(Tag::Polar);
        polar->GetChild(Tag::Model)->SetString(model);
        CXmlNode* list = polar->GetChild(Tag::SplayList);
        for (const auto& row : rows)
        {
            CXmlNode* splay = list->AddChild(Tag::Splay);
            splay->GetChild(Tag::Angle)->SetDouble(row.first);
            splay->GetChild(Tag::PressureDB)->SetDouble(row.second);
        }
        return Spl()->GetPolar(model);
    }

    ScopedTempDirectory run;
};
}

TEST_F(SplPolarTest, FullRangeModuleLevels)
{
    struct Case
    {
        double angle;
        double distance;
        double level;
    };
    const Case cases[] = {
        { 0.0, kOneMetre, 123.5 },                                     // on axis at 1 m
        { -10.0, kOneMetre, 120.9 + 2.5 / 7.5 * (117.2 - 120.9) },     // either side of the axis
        { 7.5, kOneMetre, 120.9 },                                     // exactly a table angle
        { 55.0, kOneMetre, 110.3 + 2.5 / 7.5 * 1.3 },                  // where the table rises again
        { 120.0, kOneMetre, 105.8 },                                   // beyond the last angle
        { 0.0, 2.0 * kOneMetre, 123.5 - 20.0 * std::log10(2.0) },      // distance loss
        { 0.0, 0.5 * kOneMetre, 123.5 + 20.0 * std::log10(2.0) },      // no near-field limit
    };
    CSPLPolar polar = Spl()->GetPolar(Tag::Model_DRXR1);
    ASSERT_FALSE(polar.GetNode()->IsNull());
    for (const Case& c : cases)
        EXPECT_NEAR(Spl()->PolarLevel(polar, c.angle, c.distance), c.level, 1e-9) << "angle " << c.angle;

    EXPECT_NEAR(Spl()->PolarLevel(polar, -10.0, kOneMetre), 119.667, 0.0005);
    EXPECT_NEAR(Spl()->PolarLevel(polar, 55.0, kOneMetre), 110.733, 0.0005);
    EXPECT_NEAR(Spl()->PolarLevel(polar, 0.0, 2.0 * kOneMetre), 117.479, 0.0005);
    EXPECT_EQ(Spl()->PolarLevel(polar, 0.0, 0.0), std::numeric_limits<double>::infinity());
}

TEST_F(SplPolarTest, LookupDoesNotDependOnTheOrderOfEntries)
{
    CSPLPolar polar = AddPolar("Test_Unsorted", { { 40.0, 90.0 }, { 10.0, 120.0 }, { 20.0, 100.0 } });
    EXPECT_NEAR(Spl()->PolarLevel(polar, 15.0, kOneMetre), 110.0, 1e-9);
    EXPECT_NEAR(Spl()->PolarLevel(polar, 30.0, kOneMetre), 95.0, 1e-9);
    EXPECT_NEAR(Spl()->PolarLevel(polar, 5.0, kOneMetre), 120.0, 1e-9) << "below the first angle";
    EXPECT_NEAR(Spl()->PolarLevel(polar, 45.0, kOneMetre), 90.0, 1e-9) << "beyond the last angle";

    CSPLPolar empty = AddPolar("Test_Empty", {});
    EXPECT_NEAR(Spl()->PolarLevel(empty, 15.0, kOneMetre), 100.0, 1e-9);
    EXPECT_NEAR(Spl()->PolarLevel(CSPLPolar(), 15.0, 2.0 * kOneMetre), 100.0 - 20.0 * std::log10(2.0), 1e-9);
}

TEST_F(SplPolarTest, ModelsWithoutATableAndTheMissingModel)
{
    EXPECT_TRUE(Spl()->GetPolar(Tag::Model_DRXS1).GetNode()->IsNull());
    EXPECT_TRUE(Spl()->GetPolar(Tag::Model_HB1).GetNode()->IsNull());
    try
    {
        Spl()->GetPolar(Tag::None);
        FAIL() << "no error for a product without a model";
    }
    catch (const std::runtime_error& e)
    {
        EXPECT_STREQ(e.what(), "Error: No model name provided for polar data request.");
    }
}

TEST_F(SplPolarTest, ShutdownRecordsTheBuiltInTable)
{
    Spl();
    CSPLManager::DestroyInstance();
    EXPECT_FALSE(CSPLManager::HasInstance());

    CXmlDocument written;
    written.Load(CSPLManager::kPolarFileName);
    ASSERT_TRUE(written.LastParseSucceeded());
    CXmlNode* list = written.GetRoot("Root")->FindChild(Tag::PolarList);
    CXmlNode* polar = list->FindChild(Tag::Polar);
    EXPECT_EQ(polar->FindChild(Tag::Model)->GetString(""), Tag::Model_DRXR1);
    EXPECT_TRUE(list->FindChild(Tag::Polar, polar)->IsNull());

    int entries = 0;
    double previousAngle = -1.0;
    CXmlNode* splays = polar->FindChild(Tag::SplayList);
    for (CXmlNode* s = splays->FindChild(Tag::Splay); ! s->IsNull(); s = splays->FindChild(Tag::Splay, s))
    {
        const double angle = s->FindChild(Tag::Angle)->GetDouble(-1.0);
        EXPECT_DOUBLE_EQ(angle, previousAngle < 0 ? 0.0 : previousAngle + 7.5);
        previousAngle = angle;
        ++entries;
    }
    EXPECT_EQ(entries, 14);
    EXPECT_DOUBLE_EQ(splays->FindChildByDouble(Tag::Splay, Tag::Angle, 60.0)->FindChild(Tag::PressureDB)->GetDouble(0.0), 111.6);
}
