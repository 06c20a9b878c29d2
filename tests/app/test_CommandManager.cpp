#include "engine/EngineFixture.h"

#include "app/CCommandManager.h"
#include "engine/CCommandTable.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <juce_data_structures/juce_data_structures.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <stdexcept>

namespace
{
class CommandFixture : public EngineFixture
{
protected:
    static CCommandManager* Commands() { return CCommandManager::GetInstance(); }
    static juce::UndoManager* Undo() { return Commands()->GetUndoManager(); }
    static int AimLineTotal() { return CVenueDataWrap(Venue()).GetAimLineTotal(); }
};
}

TEST_F(CommandFixture, EachCommandIsPerformedAtOnceAsItsOwnTransaction)
{
    const int before = Undo()->getUndoDescriptions().size();
    const juce::File file = temp.File("room.21v");
    Commands()->DoGeneral(CCommandTable::kSaveVenueFile, file.getFullPathName().toStdString(), 0.0);
    EXPECT_TRUE(file.existsAsFile()) << "performed before DoGeneral returns";
    EXPECT_EQ(Undo()->getUndoDescription(), "Save Venue File");

    Commands()->DoVenueArea(3, Tag::LAngle, "5.00");
    CVenueAreaWrap floor;
    CVenueDataWrap(Venue()).GetArea(floor, 3);
    EXPECT_NEAR(floor.GetLine()->angle, 5.0, 1e-12);
    EXPECT_EQ(Undo()->getUndoDescription(), "Area Change");
    EXPECT_EQ(Undo()->getUndoDescriptions().size(), before + 2);
}

TEST_F(CommandFixture, CountChangeReachesTheDocumentsAndUndoLeavesThem)
{
    const int cabinets = Line().GetTotal();
    const int aimLines = AimLineTotal();
    Commands()->DoGeneral(Tag::Model_DRXR1, "", 2.0);
    EXPECT_NE(Line().GetTotal(), cabinets);
    EXPECT_NE(AimLineTotal(), aimLines);

    const std::string after = Documents();
    EXPECT_TRUE(Undo()->undo());
    EXPECT_EQ(Documents(), after);
}

TEST_F(CommandFixture, FailedCommandLeavesTheNextOneWorking)
{
    const int before = Undo()->getUndoDescriptions().size();
    const std::string bad = temp.File("no-folder").getChildFile("a.21w").getFullPathName().toStdString();
    EXPECT_THROW(Commands()->DoGeneral(CCommandTable::kSaveArrayFile, bad, 0.0), std::runtime_error);
    EXPECT_EQ(Undo()->getUndoDescriptions().size(), before) << "a failed command is not recorded";

    Commands()->DoGeneral(Tag::Model_DRXR1, "", 1.0);
    EXPECT_EQ(Line().GetFullRangeCount(), 1);
    EXPECT_EQ(Undo()->getUndoDescriptions().size(), before + 1);
}
