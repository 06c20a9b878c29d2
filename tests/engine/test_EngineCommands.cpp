#include "EngineFixture.h"

#include "base/NumberText.h"
#include "engine/CSPLManager.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <stdexcept>

namespace
{
std::string ModelAt(int position)
{
    return EngineFixture::Line().GetCab(position).GetProduct().GetModel();
}

bool InUseAt(int position)
{
    return EngineFixture::Line().GetCab(position).GetProduct().IsInUse();
}

CXmlNode* ProductAt(int position)
{
    return CEngineManager::GetInstance()->ResolvePath("Array.1.CabProd." + std::to_string(position));
}
}

class EngineCommands : public EngineFixture {};

TEST_F(EngineCommands, CountChangesKeepAtMostSixEnclosures)
{
    struct Case { int subs, full; const char* target; int number; int expectSubs, expectFull; };
    const Case cases[] = {
        { 0, 5, "Model_DRXS1", 4, 4, 2 },
        { 2, 3, "Model_DRXR1", 6, 0, 6 },
        { 0, 3, "Model_DRXR1", 0, 0, 0 },
        { 1, 5, "Model_DRXR1", 5, 1, 5 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.target) + " " + std::to_string(c.number));
        Command("Model_DRXR1", 0);
        Command("Model_DRXS1", c.subs);
        Command("Model_DRXR1", c.full);
        Command(c.target, c.number);

        EXPECT_EQ(Line().GetSubwooferCount(), c.expectSubs);
        EXPECT_EQ(Line().GetFullRangeCount(), c.expectFull);
        const int total = c.expectSubs + c.expectFull;
        EXPECT_EQ(Line().GetTotal(), total + 1);
        EXPECT_EQ(ModelAt(1), "Model_HB1");
        for (int i = 2; i <= total + 1; ++i)
        {
            EXPECT_EQ(ModelAt(i), i <= c.expectSubs + 1 ? "Model_DRXS1" : "Model_DRXR1") << "position " << i;
            EXPECT_TRUE(InUseAt(i));
        }
        for (int i = total + 2; i <= 7; ++i)
            EXPECT_FALSE(! Line().GetCab(i).GetProduct().IsNull() && InUseAt(i)) << "position " << i;
    }
}

TEST_F(EngineCommands, CountChangeMovesCabinetsAimLinesAndDistances)
{
    Command("Model_DRXS1", 0);
    Command("Model_DRXR1", 2);
    CVenueDataWrap venue(Venue());
    EXPECT_EQ(venue.GetAimLineTotal(), 4);
    const double angleBefore = Line().GetArrayAngle();
    const double distanceBefore = ProductAt(3)->GetChild(Tag::AimDist)->GetChild(Tag::Value)->GetDouble(0);
    const double yBefore = ProductAt(3)->GetChild(Tag::CGInfo)->GetChild(Tag::CG)->GetPoint()->y;

    CCommandManager::GetInstance()->DoGeneral("Model_DRXR1", "", 6);
    EXPECT_EQ(venue.GetAimLineTotal(), 8);
    EXPECT_NE(Line().GetArrayAngle(), angleBefore);
    EXPECT_NE(ProductAt(3)->GetChild(Tag::AimDist)->GetChild(Tag::Value)->GetDouble(0), distanceBefore);
    EXPECT_NE(ProductAt(3)->GetChild(Tag::CGInfo)->GetChild(Tag::CG)->GetPoint()->y, yBefore);
}

TEST_F(EngineCommands, SplScaleSteps)
{
    struct Case { const char* target; double number; double bottom, top; };
    const Case cases[] = {
        { "SplBase", 3, 120, 130 },
        { "SplBase", -2, 110, 120 },
        { "SplRange", 5, 105, 120 },
        { "SplRange", -5, 110, 120 },
    };
    CSPLManager* spl = CSPLManager::GetInstance();
    MovedScale();
    for (const Case& c : cases)
    {
        Command(c.target, c.number);
        EXPECT_DOUBLE_EQ(spl->GetScaleBottom(), c.bottom) << c.target << " " << c.number;
        EXPECT_DOUBLE_EQ(spl->GetScaleTop(), c.top) << c.target << " " << c.number;
    }
}

TEST_F(EngineCommands, ModuleSwitchDecoding)
{
    Command("Model_DRXS1", 0);
    Command("Model_DRXR1", 5);
    auto switch1 = [](int n) { return ProductAt(n)->GetChild(Tag::Switch1)->GetChild(Tag::Value)->GetInt(-1); };
    auto name = [](int n) { return ProductAt(n)->GetChild(Tag::Switch2Name)->GetChild(Tag::Value)->GetString(""); };
    auto switch2 = [](int n) { return ProductAt(n)->GetChild(Tag::Switch2)->GetChild(Tag::Value)->GetInt(-1); };

    Command("Switch1", 3);
    for (int n = 1; n <= 6; ++n)
    {
        EXPECT_EQ(switch1(n), 1);
        EXPECT_EQ(name(n), "HF via DSP");
    }
    Command("Switch1", 5);
    EXPECT_EQ(switch1(4), 2);
    EXPECT_EQ(name(4), "HF via Toggle");
    Command("Switch1", 2);
    Command("Switch1", 4);
    EXPECT_EQ(switch1(4), 2);

    Command("Switch2", 7, "4");
    EXPECT_EQ(switch2(4), 3);
    Command("Switch2", 6, "4");
    EXPECT_EQ(switch2(4), 3);
}

TEST_F(EngineCommands, UnitCommandSetsTheSystemAskedForAndWritesTheSettings)
{
    Command("Meters", 1);
    CXmlNode* settings = CJuceManager::GetInstance()->GetSettingsRoot();
    EXPECT_EQ(settings->GetChild("UnitType")->GetChild("Value")->GetString(""), "SI");
    EXPECT_EQ(CJuceManager::GetInstance()->GetDisplayLengthUnit(), "Meters");
    EXPECT_EQ(settings->GetChild("Display")->GetChild("UnitType")->GetChild("Value")->GetString(""), "meters");
    // Asked again, it stays: the number says which system, it does not toggle.
    Command("Meters", 1);
    EXPECT_EQ(CJuceManager::GetInstance()->GetDisplayLengthUnit(), "Meters");
    Command("Meters", 0);
    EXPECT_EQ(CJuceManager::GetInstance()->GetDisplayLengthUnit(), "Feet");
}

TEST_F(EngineCommands, AreaCommandsChangeOnlyWhatTheyName)
{
    CVenueDataWrap venue(Venue());
    CVenueAreaWrap floor;
    venue.GetArea(floor, 3);
    // A marker that every recompute overwrites.
    auto mark = [&venue] { venue.SetPowerRange(-1, -1); };
    auto recomputed = [&venue] { return venue.GetPowerMin() != -1; };

    mark();
    CEngineManager::GetInstance()->PerformAreaCommand(1, 3, "LAngle", "not a number");
    EXPECT_FALSE(recomputed());
    CEngineManager::GetInstance()->PerformAreaCommand(1, 3, "LAngle", DoubleToString(floor.GetLine()->angle, -1));
    EXPECT_FALSE(recomputed());

    // Displayed X = (inches + offset) in feet; the stage end at 240 gives an offset of -240.
    CEngineManager::GetInstance()->PerformAreaCommand(1, 3, "sX", "5");
    EXPECT_TRUE(recomputed());
    EXPECT_NEAR(floor.GetLine()->x1, 300.0, 1e-9);

    mark();
    CEngineManager::GetInstance()->PerformAreaCommand(1, 3, "sX", "5");
    EXPECT_FALSE(recomputed());

    CEngineManager::GetInstance()->PerformAreaCommand(1, 2, "eX", "10");
    EXPECT_DOUBLE_EQ(CJuceManager::GetInstance()->GetOffset("sX"), -360.0);

    CVenueAreaWrap hang;
    venue.GetArea(hang, 1);
    CEngineManager::GetInstance()->PerformAreaCommand(1, 1, "sY", "30");
    CXmlNode* metaMore = Line().GetNode()->GetChild(Tag::RenderSpec)->GetChild(Tag::RenderItem)->GetChild(Tag::MetaMore);
    EXPECT_DOUBLE_EQ(metaMore->GetChild(Tag::ConvLBaseY)->GetDouble(0), 180.0);
}

TEST_F(EngineCommands, PathLookup)
{
    CVenueDataWrap venue(Venue());
    const int areas = venue.GetAreaTotal();
    CXmlNode* seven = CEngineManager::GetInstance()->ResolvePath("Venue.1.Area.7");
    EXPECT_EQ(seven->GetName(), "Area");
    EXPECT_EQ(seven->FindChild("Slot")->GetInt(0), 7);
    EXPECT_TRUE(seven->FindChild("Line")->IsNull());
    EXPECT_EQ(venue.GetAreaTotal(), areas);

    EXPECT_EQ(CEngineManager::GetInstance()->ResolvePath("Array.1.CabProd.3Settings"), ProductAt(3));
    EXPECT_EQ(CEngineManager::GetInstance()->ResolvePath("Application.Display.UnitType.Value")->GetString(""), "feet");
    EXPECT_TRUE(CEngineManager::GetInstance()->ResolvePath("Nothing.1.Area.2")->IsNull());
    EXPECT_TRUE(CEngineManager::GetInstance()->ResolvePath("Array.9.Total")->IsNull());
}
