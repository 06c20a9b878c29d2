#include "EngineFixture.h"

#include "app/CJuceEngineHooks.h"
#include "engine/CCommandTable.h"
#include "engine/CEngineHooks.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <juce_data_structures/juce_data_structures.h>

#include <cmath>
#include <limits>
#include <set>

namespace
{
class CommandTable : public EngineFixture
{
protected:
    static CCommand Make(const std::string& target, double number, const std::string& text = "", int areaSlot = 0)
    {
        CCommand command;
        command.target = target;
        command.number = number;
        command.text = text;
        command.areaSlot = areaSlot;
        return command;
    }

    static int Transactions() { return CCommandManager::GetInstance()->GetUndoManager()->getUndoDescriptions().size(); }
};
}

TEST_F(CommandTable, EveryTargetIsListedOnceAndCanBeRun)
{
    std::set<std::string> targets;
    for (const CCommandTable::Entry& entry : CCommandTable::Entries())
    {
        EXPECT_TRUE(targets.insert(entry.target).second) << entry.target << " is in the table twice";
        EXPECT_FALSE(entry.name.empty()) << entry.target;
        EXPECT_TRUE(entry.perform) << entry.target;
    }
    EXPECT_EQ(CCommandTable::TargetList(CCommandTable::Scope::Area), "sX, sY, eX, eY, LAngle, LDist");
}

TEST_F(CommandTable, FormChecksRefuseWithTheReason)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case { CCommand command; const char* refusal; };
    const Case cases[] = {
        { Make("Model_DRXR1", 3), "" },
        { Make("Model_DRXR1", 2.5), "Model_DRXR1 needs a whole number, not '2.5'" },
        { Make("SlotPin", 3e10), "SlotPin must be from -2147483648 to 2147483647, not '3e+10'" },
        { Make("SplBase", nan), "SplBase needs a finite number" },
        { Make("SplRange", -3.5), "SplRange needs a whole number, not '-3.5'" },
        { Make("SplRange", 3), "" },
        { Make("Meters", 2), "NUMBER must be 1 for SI units (metres, kilograms) or 0 for US units (feet, pounds), a whole number from 0 to 1" },
        { Make("Switch1", 8), "NUMBER must be 2 x switch (1..2) + 1 for on, a whole number from 2 to 5" },
        { Make("Switch1", 2), "" },
        { Make("Switch2", 7), "Switch2 needs the module's number as TEXT (a whole number, 2 being the top module)" },
        { Make("Switch2", 7, "4x"), "Switch2 needs the module's number as TEXT (a whole number, 2 being the top module)" },
        { Make("Switch2", 7, "4"), "" },
        { Make("SaveArrayFile", 0), "SaveArrayFile needs a file path as TEXT" },
        { Make("LoadVenueFile", 0), "" },
        { Make("sX", 0, "1.5"), "sX needs an area number (1, 2, ...)" },
        { Make("LAngle", 0, "ten", 3), "Floor (area 3): Angle must be a number from -90 to 90 degrees, not 'ten'" },
        { Make("LDist", 0, "-2", 3), "Floor (area 3): Length must be a number greater than 0 ft, not '-2'" },
        { Make("LDist", 0, "2", 3), "" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.command.target + " " + std::to_string(c.command.number) + " '" + c.command.text + "'");
        EXPECT_EQ(CCommandTable::Check(c.command).GetReason(), c.refusal);
    }
    const std::string unknown = CCommandTable::Check(Make("Volume", 3)).GetReason();
    EXPECT_EQ(unknown.rfind("unknown command 'Volume' (known: LoadArrayFile, SaveArrayFile", 0), 0u) << unknown;
}

TEST_F(CommandTable, LimitsComeFromTheDesignAsItStands)
{
    Command("Model_DRXS1", 0);
    Command("Model_DRXR1", 3);
    struct Case { CCommand command; const char* refusal; };
    const Case cases[] = {
        { Make("Model_DRXR1", 6), "" },
        { Make("Model_DRXR1", 7), "the full-range count must be from 0 to 6" },
        { Make("Model_DRXS1", -1), "the subwoofer count must be from 0 to 6" },
        { Make("SlotPin", 9), "the pick pin must be from 1 to 8" },
        { Make("Switch2", 7, "4"), "" },
        { Make("Switch2", 7, "5"), "there is no module 5 (the array has modules 2 to 4)" },
        { Make("Switch2", 7, "1"), "there is no module 1 (the array has modules 2 to 4)" },
        { Make("eY", 0, "1", 5), "" },
        { Make("eY", 0, "1", 6), "the venue has no area 6 (it has areas 1 to 5)" },
        { Make("Meters", 0), "" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.command.target + " " + std::to_string(c.command.number));
        EXPECT_EQ(CCommandTable::CheckLimits(*CCommandTable::Find(c.command.target), c.command), c.refusal);
    }
}

TEST_F(CommandTable, ARefusedCommandChangesNothingAndIsNotRecorded)
{
    const std::string before = Documents();
    const int transactions = Transactions();
    struct Case { CCommand command; };
    const Case cases[] = { { Make("Model_DRXR1", 2.5) }, { Make("Switch2", 7, "") }, { Make("sY", 0, "x", 3) },
                           { Make("SaveVenueFile", 0) }, { Make("ArrayFile", 0) } };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.command.target);
        const CCommandResult result = CCommandManager::GetInstance()->Do(c.command);
        EXPECT_FALSE(result.WasDone());
        EXPECT_FALSE(result.GetReason().empty());
    }
    EXPECT_EQ(Documents(), before);
    EXPECT_EQ(Transactions(), transactions);

    EXPECT_TRUE(CCommandManager::GetInstance()->DoGeneral("Model_DRXR1", "", 2).WasDone());
    EXPECT_EQ(CCommandManager::GetInstance()->GetUndoManager()->getUndoDescription(), "Change Range Total");
    EXPECT_EQ(Transactions(), transactions + 1);
}

TEST_F(CommandTable, AnEngineWithoutAWindowTakesLengthsAsInchesAndShowsNothing)
{
    CEngineHooks::Uninstall(&CJuceEngineHooks::Instance());
    const double offset = CJuceManager::GetInstance()->GetOffset("sX");

    EXPECT_TRUE(CCommandManager::GetInstance()->DoVenueArea(3, "sX", "5").WasDone());
    CVenueAreaWrap floor;
    CVenueDataWrap(Venue()).GetArea(floor, 3);
    EXPECT_DOUBLE_EQ(floor.GetLine()->x1, 5.0) << "no display unit, no offset";

    // The stage and the unit switch reach no window: its offsets and units stay as they were.
    EXPECT_TRUE(CCommandManager::GetInstance()->DoVenueArea(2, "eX", "100").WasDone());
    EXPECT_DOUBLE_EQ(CJuceManager::GetInstance()->GetOffset("sX"), offset);
    EXPECT_TRUE(CCommandManager::GetInstance()->DoGeneral("Meters", "", 0).WasDone());
    EXPECT_EQ(CJuceManager::GetInstance()->GetDisplayLengthUnit(), "Feet");
    EXPECT_TRUE(CEngineHooks::Get().GetSettingsRoot()->IsNull());
}
