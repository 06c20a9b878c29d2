#include "EngineFixture.h"

#include "engine/CBandModel.h"
#include "engine/CCommandTable.h"
#include "engine/CSubAlignment.h"

#include <algorithm>

namespace
{
class AlignmentCommand : public EngineFixture
{
protected:
    // A point 20 m in front of the top loudspeaker, at ear height.
    static std::pair<double, double> Point()
    {
        const CBandModel::Source top = CBandModel::FromDesign().GetSources().front();
        return { top.x + 20.0 / CBandModel::kMetresPerInch, 48.0 };
    }

    std::string SavedArray(const std::string& name)
    {
        Command(CCommandTable::kSaveArrayFile, 0, temp.File(name).getFullPathName().toStdString());
        return temp.Read(name);
    }

    static std::string Texts()
    {
        return CArrayManager::GetInstance()->GetDocument()->ToText() + CVenueManager::GetInstance()->SaveState();
    }
};
}

TEST_F(AlignmentCommand, TryingChangesNothingApplyingIsOneStepThatUndoTakesBackToTheByte)
{
    Command(Tag::Model_DRXS1, 1);
    Command(Tag::Model_DRXR1, 5);
    // A gain and an inverted module, which the alignment keeps.
    Command(Tag::Gain, -2.0, "4");
    Command(Tag::Polarity, 1.0, "5");
    const auto [x, y] = Point();
    const std::string saved = SavedArray("before.21w");
    const std::string texts = Texts();

    const CSubAlignment alignment = CSubAlignment::InDesign(x, y);
    ASSERT_TRUE(alignment.found) << alignment.reason;
    EXPECT_EQ(Texts(), texts);
    EXPECT_EQ(SavedArray("tried.21w"), saved);
    EXPECT_NEAR(alignment.beforeDB, CSubAlignment::CrossoverSum(CBandModel::FromDesign().Evaluate(x, y)), 1e-12);
    ASSERT_NE(alignment.step, 0) << "the point should ask for a delay";

    const int steps = CCommandManager::GetInstance()->GetPerformedCount();
    ASSERT_TRUE(CCommandManager::GetInstance()->Do(CSubAlignment::Command(alignment))) << reported().back();
    EXPECT_EQ(CCommandManager::GetInstance()->GetPerformedCount(), steps + 1);
    const CBandModel applied = CBandModel::FromDesign();
    for (const CBandModel::Source& s : applied.GetSources())
    {
        SCOPED_TRACE(s.position);
        const bool sub = s.role == CBandModel::Role::Low;
        EXPECT_DOUBLE_EQ(s.processing.delayMs, std::max(sub ? alignment.deltaMs : -alignment.deltaMs, 0.0));
        EXPECT_EQ(s.processing.inverted, sub ? alignment.inverted : s.position == 5);
        EXPECT_DOUBLE_EQ(s.processing.gainDB, s.position == 4 ? -2.0 : 0.0);
    }
    EXPECT_NEAR(CSubAlignment::CrossoverSum(applied.Evaluate(x, y)), alignment.afterDB, 1e-9);
    const std::string appliedTexts = Texts();

    Command(CCommandTable::kUndo, 0);
    EXPECT_EQ(Texts(), texts);
    EXPECT_EQ(SavedArray("undone.21w"), saved);
    Command(CCommandTable::kRedo, 0);
    EXPECT_EQ(Texts(), appliedTexts);
}

TEST_F(AlignmentCommand, RefusedWhenThereIsNothingToAlignOrTheValuesDoNotFit)
{
    Command(Tag::Model_DRXS1, 0);
    Command(Tag::Model_DRXR1, 4);
    const auto [x, y] = Point();
    const CSubAlignment none = CSubAlignment::InDesign(x, y);
    EXPECT_FALSE(none.found);
    EXPECT_EQ(none.reason, "there is no subwoofer");

    const std::string texts = Texts();
    struct Case { double delta; const char* polarity; const char* why; };
    const Case cases[] = {
        { 1.0, "normal", "there is nothing to align: no subwoofer" },
        { 20.01, "normal", "-20" },
        { 1.0, "upside down", "must be one of normal, inverted" },
    };
    for (const Case& c : cases)
    {
        CCommand command { CSubAlignment::kCommandTarget, c.delta, c.polarity };
        const CCommandResult result = CCommandManager::GetInstance()->Do(command);
        EXPECT_FALSE(result.WasDone()) << c.why;
        EXPECT_NE(result.GetReason().find(c.why), std::string::npos) << result.GetReason();
        EXPECT_EQ(Texts(), texts);
    }
}
