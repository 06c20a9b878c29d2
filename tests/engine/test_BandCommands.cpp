#include "EngineFixture.h"

#include "engine/CBandView.h"
#include "engine/CCommandTable.h"
#include "venue/CVenueAirWrap.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <juce_data_structures/juce_data_structures.h>

#include <cmath>
#include <limits>

namespace
{
class BandCommands : public EngineFixture
{
protected:
    static CCommandResult Do(const std::string& target, double number, const std::string& text = "")
    {
        return CCommandManager::GetInstance()->DoGeneral(target, text, number);
    }

    static int Transactions() { return CCommandManager::GetInstance()->GetUndoManager()->getUndoDescriptions().size(); }

    static double FirstFloorBandZ()
    {
        CVenueAreaWrap floor;
        CVenueDataWrap(Venue()).GetArea(floor, 3);
        return floor.GetNode()->FindChild(Tag::Line)->FindChildByInt(Tag::SplPoint, Tag::Slot, 10)->FindChild(Tag::BandZ)
            ->GetDouble(std::numeric_limits<double>::quiet_NaN());
    }
};
}

TEST_F(BandCommands, AirValuesOutsideTheirRangesAreRefusedAndChangeNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case { const char* target; double value; const char* refusal; };
    const Case cases[] = {
        { "AirTemperature", 50.0, "" },
        { "AirTemperature", -20.0, "" },
        { "AirTemperature", 50.5, "AirTemperature must be from -20 to 50, not '50.5'" },
        { "AirTemperature", -21.0, "AirTemperature must be from -20 to 50, not '-21'" },
        { "AirTemperature", nan, "AirTemperature needs a finite number" },
        { "AirHumidity", 0.0, "" },
        { "AirHumidity", 100.0, "" },
        { "AirHumidity", 100.01, "AirHumidity must be from 0 to 100, not '100.01'" },
        { "AirHumidity", -0.5, "AirHumidity must be from 0 to 100, not '-0.5'" },
        { "AirHumidity", std::numeric_limits<double>::infinity(), "AirHumidity needs a finite number" },
    };
    const std::string before = Documents();
    const int transactions = Transactions();
    // Only the refused cases are sent.
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.target) + " " + std::to_string(c.value));
        CCommand command;
        command.target = c.target;
        command.number = c.value;
        EXPECT_EQ(CCommandTable::Check(command).GetReason(), c.refusal);
        if (*c.refusal != '\0')
        {
            EXPECT_FALSE(CCommandManager::GetInstance()->Do(command).WasDone());
        }
    }
    EXPECT_EQ(Documents(), before);
    EXPECT_EQ(Transactions(), transactions);
}

TEST_F(BandCommands, AirCommandsChangeTheVenueAndTheBandLevelsAsOneUndoStep)
{
    const double mild = FirstFloorBandZ();
    ASSERT_TRUE(std::isfinite(mild));
    const int transactions = Transactions();

    ASSERT_TRUE(Do("AirHumidity", 10.0).WasDone());
    ASSERT_TRUE(Do("AirTemperature", 35.0).WasDone());
    CVenueAirWrap air(Venue());
    EXPECT_EQ(air.GetTemperature(), 35.0);
    EXPECT_EQ(air.GetHumidity(), 10.0);
    EXPECT_EQ(Transactions(), transactions + 2);
    EXPECT_EQ(CCommandManager::GetInstance()->GetUndoManager()->getUndoDescription(), "Change Air Temperature");
    // The recompute ran with the new air: the level at the sample moved.
    EXPECT_GT(std::abs(FirstFloorBandZ() - mild), 1e-6);
}

TEST_F(BandCommands, TheViewIsAWindowSettingNotPartOfTheDesign)
{
    const std::string before = Documents();
    EXPECT_EQ(CEngineManager::GetView(), CBandView::Classic());
    struct Case { const char* text; const char* stored; };
    const Case accepted[] = {
        { "BandA", "Band A" }, { "Band Z", "Band Z" }, { "Band:4k", "Band 4k" }, { "Band 1.25k", "Band 1.25k" },
        { "Band:63", "Band 63" }, { "Classic", "Classic" }, { "BandZ", "Band Z" },
    };
    CXmlNode* settings = CJuceManager::GetInstance()->GetSettingsRoot();
    for (const Case& c : accepted)
    {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(Do("View", 0.0, c.text).WasDone());
        EXPECT_EQ(settings->FindChild(Tag::View)->FindChild(Tag::Value)->GetString(""), c.stored);
        EXPECT_EQ(CEngineManager::GetView().ToString(), c.stored);
    }
    for (const char* refused : { "Band:4K", "Band 3k", "band z", "", "Band:" })
    {
        SCOPED_TRACE(refused);
        const CCommandResult result = Do("View", 0.0, refused);
        EXPECT_FALSE(result.WasDone());
        EXPECT_EQ(result.GetReason().rfind("View must be Classic, BandZ, BandA or Band:LABEL with LABEL one of 50, 63, 80", 0),
                  0u)
            << result.GetReason();
        EXPECT_EQ(CEngineManager::GetView().ToString(), "Band Z");
    }
    EXPECT_EQ(Documents(), before);

    // A stored text that names no view reads as Classic.
    settings->FindChild(Tag::View)->FindChild(Tag::Value)->SetString("Band 7k");
    EXPECT_EQ(CEngineManager::GetView(), CBandView::Classic());
}

TEST_F(BandCommands, TheViewAndTheMapSwitchAreRememberedBetweenRuns)
{
    ASSERT_TRUE(Do("View", 0.0, "Band:2k").WasDone());
    ASSERT_TRUE(Do("FieldMap", 1.0).WasDone());
    EXPECT_FALSE(Do("FieldMap", 2.0).WasDone());
    EXPECT_TRUE(CEngineManager::IsFieldMapShown());

    // A whole shutdown saves the settings; the next start reads them.
    TearDown();
    SetUp();
    EXPECT_EQ(CEngineManager::GetView(), CBandView::OneBand(3));
    EXPECT_TRUE(CEngineManager::IsFieldMapShown());
    ASSERT_TRUE(Do("FieldMap", 0.0).WasDone());
    EXPECT_FALSE(CEngineManager::IsFieldMapShown());
}
