#include "engine/EngineFixture.h"

#include "engine/CCommandTable.h"
#include "engine/CSPLManager.h"
#include "engine/CSplScaleSetting.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace
{
class SplScaleSettingTest : public EngineFixture
{
};
}

TEST_F(SplScaleSettingTest, TheScaleTravelsWithTheArrayAndTheVenueFile)
{
    EXPECT_TRUE(Venue()->FindChild(Tag::SplScale)->IsNull()) << "an untouched design keeps no scale";
    EXPECT_TRUE(SplScaleSetting::IsAutomatic()) << "and follows its levels";
    EXPECT_EQ(Scale(), VenueLevels());
    MovedScale();
    SplScaleSetting::SetAutomatic(true);
    Command(Tag::SplBase, -2);  // top 120 -> 110, span kept
    Command(Tag::SplRange, 15); // bottom 100 -> 85
    ASSERT_EQ(Scale(), std::make_pair(85.0, 110.0));
    EXPECT_FALSE(SplScaleSetting::IsAutomatic()) << "moving Base or Range ends the automatic scale";

    const std::string design = temp.File("hall.21w").getFullPathName().toStdString();
    const std::string venue = temp.File("hall.21v").getFullPathName().toStdString();
    Command(CCommandTable::kSaveArrayFile, 0, design);
    Command(CCommandTable::kSaveVenueFile, 0, venue);
    for (const std::string& file : { design, venue })
    {
        Command(Tag::SplBase, 1);
        ASSERT_EQ(Scale(), std::make_pair(90.0, 115.0));
        Command(file == design ? CCommandTable::kLoadArrayFile : CCommandTable::kLoadVenueFile, 0, file);
        EXPECT_EQ(Scale(), std::make_pair(85.0, 110.0)) << file;
    }
    EXPECT_TRUE(reported().empty());
}

TEST_F(SplScaleSettingTest, AFileWithoutAUsableScaleLeavesTheScaleAlone)
{
    Command(CCommandTable::kSaveVenueFile, 0, temp.File("plain.21v").getFullPathName().toStdString());
    Command(Tag::SplRange, 20);
    const std::string stored = temp.Read("plain.21v");
    ASSERT_EQ(stored.find("<SplScale>"), std::string::npos);
    const size_t end = stored.find("</Venue>");
    ASSERT_NE(end, std::string::npos);

    // A venue that keeps no scale never had it moved: its levels set the scale.
    Command(CCommandTable::kLoadVenueFile, 0, temp.File("plain.21v").getFullPathName().toStdString());
    EXPECT_TRUE(SplScaleSetting::IsAutomatic());
    EXPECT_EQ(Scale(), VenueLevels());
    MovedScale(80.0, 125.0);

    // One that keeps an unusable scale leaves the scale alone, and does not follow the levels.
    const std::pair<double, double> before = Scale();
    const char* const scales[] = {
        "<SplScale><Bottom>120</Bottom><Top>100</Top></SplScale>", // upside down
        "<SplScale><Bottom>100</Bottom><Top>100</Top></SplScale>", // no span
        "<SplScale><Top>130</Top></SplScale>",                      // half
    };
    for (const char* scale : scales)
    {
        std::string text = stored;
        text.insert(end, scale);
        temp.Write("odd.21v", text);
        Command(CCommandTable::kLoadVenueFile, 0, temp.File("odd.21v").getFullPathName().toStdString());
        EXPECT_EQ(Scale(), before) << scale;
        EXPECT_FALSE(SplScaleSetting::IsAutomatic()) << scale;
    }

    std::string text = stored;
    text.insert(end, "<SplScale><Bottom>95.5</Bottom><Top>101</Top><Automatic>0</Automatic></SplScale>");
    temp.Write("kept.21v", text);
    Command(CCommandTable::kLoadVenueFile, 0, temp.File("kept.21v").getFullPathName().toStdString());
    EXPECT_EQ(Scale(), std::make_pair(95.5, 101.0));
    EXPECT_FALSE(SplScaleSetting::IsAutomatic());

    // An automatic scale spans the loaded venue's levels, whatever ends were stored.
    text = stored;
    text.insert(end, "<SplScale><Bottom>95.5</Bottom><Top>101</Top><Automatic>1</Automatic></SplScale>");
    temp.Write("automatic.21v", text);
    Command(CCommandTable::kLoadVenueFile, 0, temp.File("automatic.21v").getFullPathName().toStdString());
    EXPECT_TRUE(SplScaleSetting::IsAutomatic());
    EXPECT_EQ(Scale(), VenueLevels());
}

TEST_F(SplScaleSettingTest, AnAutomaticScaleFollowsTheLevelsAfterEveryEditUntilBaseOrRangeIsMoved)
{
    MovedScale();
    const std::pair<double, double> classic = Scale();
    const std::pair<double, double> levels = VenueLevels();
    ASSERT_LT(levels.first, levels.second);
    ASSERT_NE(levels, classic) << "the fixture must show the scale move";

    Command(Tag::SplAuto, 1);
    EXPECT_TRUE(SplScaleSetting::IsAutomatic());
    EXPECT_EQ(Scale(), levels);

    // Two modules fewer: quieter everywhere; the scale follows. (The start-up array holds
    // five or six full-range modules, the most the catalogue allows: a count above is refused.)
    ASSERT_TRUE(CCommandManager::GetInstance()->DoGeneral(Tag::Model_DRXR1, "", Line().GetFullRangeCount() - 2));
    const std::pair<double, double> quieter = VenueLevels();
    ASSERT_NE(quieter, levels);
    EXPECT_EQ(Scale(), quieter);

    // Moving Base or Range ends it: the scale stays where the user put it through later edits.
    for (const std::string& target : { Tag::SplBase, Tag::SplRange })
    {
        Command(Tag::SplAuto, 1);
        Command(target, 1);
        EXPECT_FALSE(SplScaleSetting::IsAutomatic()) << target;
        const std::pair<double, double> moved = Scale();
        Command(Tag::Model_DRXR1, Line().GetFullRangeCount() - 1);
        EXPECT_EQ(Scale(), moved) << target;
    }

    // Off keeps the scale it had and stores it with the design.
    Command(Tag::SplAuto, 1);
    const std::pair<double, double> followed = Scale();
    Command(Tag::SplAuto, 0);
    EXPECT_FALSE(SplScaleSetting::IsAutomatic());
    EXPECT_EQ(Scale(), followed);
    Command(Tag::Model_DRXR1, Line().GetFullRangeCount() + 1);
    EXPECT_EQ(Scale(), followed);
    EXPECT_EQ(Venue()->FindChild(Tag::SplScale)->FindChild(Tag::Top)->GetDouble(0.0), followed.second);
    EXPECT_TRUE(reported().empty());
}

TEST_F(SplScaleSettingTest, AnAutomaticScaleFollowsTheQuantityOfTheViewShown)
{
    // Every sample's stored value of one quantity, rounded out as the scale takes it.
    const auto storedRange = [](const std::string& quantity) {
        double low = std::numeric_limits<double>::infinity(), high = -low;
        CXmlNode* areas = Venue()->FindChild(Tag::AreaList);
        for (int slot = 1; slot <= areas->FindChild(Tag::Total)->GetInt(0); ++slot)
        {
            CXmlNode* line = areas->FindChildByInt(Tag::Area, Tag::Slot, slot)->FindChild(Tag::Line);
            for (int n = 1; n <= line->FindChild(Tag::SplTotal)->FindChild(Tag::Total)->GetInt(0); ++n)
            {
                const double level = line->FindChildByInt(Tag::SplPoint, Tag::Slot, n)->FindChild(quantity)->GetDouble(0.0);
                low = std::min(low, level);
                high = std::max(high, level);
            }
        }
        return std::make_pair(std::floor(low), std::max(std::ceil(high), std::floor(low) + 1.0));
    };
    Command(Tag::SplAuto, 1);
    const std::pair<double, double> classic = Scale();
    ASSERT_EQ(classic, VenueLevels());

    // The next recompute takes the levels of the view shown.
    std::pair<double, double> previous = classic;
    for (const char* view : { "BandZ", "BandA" })
    {
        Command(Tag::View, 0, view);
        Command(Tag::SlotPin, Line().GetSlotPin() == 4 ? 5 : 4);
        const std::pair<double, double> shown = storedRange(view == std::string("BandZ") ? Tag::BandZ : Tag::BandA);
        EXPECT_EQ(Scale(), shown) << view;
        EXPECT_NE(shown, previous) << view;
        previous = shown;
    }
    // One band: quieter than all bands together.
    Command(Tag::View, 0, "Band:4k");
    Command(Tag::SlotPin, Line().GetSlotPin() == 4 ? 5 : 4);
    const std::pair<double, double> allBands = storedRange(Tag::BandZ);
    EXPECT_LT(Scale().second, allBands.second);

    Command(Tag::View, 0, "Classic");
    Command(Tag::SlotPin, Line().GetSlotPin() == 4 ? 5 : 4);
    EXPECT_EQ(Scale(), VenueLevels());
    EXPECT_TRUE(reported().empty());
}

TEST_F(SplScaleSettingTest, AutomaticModeIsSavedAndALoadedDesignFollowsItsOwnLevels)
{
    Command(Tag::SplAuto, 1);
    const std::string design = temp.File("auto.21w").getFullPathName().toStdString();
    Command(CCommandTable::kSaveArrayFile, 0, design);
    ASSERT_NE(temp.Read("auto.21w").find("<Automatic>1</Automatic>"), std::string::npos);

    Command(Tag::SplAuto, 0);
    Command(Tag::SplBase, 3);
    ASSERT_FALSE(SplScaleSetting::IsAutomatic());
    Command(CCommandTable::kLoadArrayFile, 0, design);
    EXPECT_TRUE(SplScaleSetting::IsAutomatic());
    EXPECT_EQ(Scale(), VenueLevels());
    EXPECT_TRUE(reported().empty());
}

TEST_F(SplScaleSettingTest, TheAutomaticCommandTakesOnlyOnOrOff)
{
    MovedScale();
    for (double number : { -1.0, 2.0, 0.5 })
    {
        const CCommandResult result = CCommandManager::GetInstance()->DoGeneral(Tag::SplAuto, "", number);
        EXPECT_FALSE(result.WasDone()) << number;
        EXPECT_FALSE(SplScaleSetting::IsAutomatic()) << number;
    }
    EXPECT_TRUE(CCommandManager::GetInstance()->DoGeneral(Tag::SplAuto, "", 1).WasDone());
}
