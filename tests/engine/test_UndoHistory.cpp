#include "EngineFixture.h"

#include "engine/CCommandTable.h"
#include "engine/CPinSuggestion.h"
#include "engine/CSceneManager.h"
#include "render/CRenderManager.h"
#include "engine/CSPLManager.h"
#include "engine/CSubAlignment.h"
#include "engine/CSplScaleSetting.h"
#include "xml/XmlTags.h"

#include <juce_data_structures/juce_data_structures.h>
#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <utility>

namespace
{
class UndoHistory : public EngineFixture
{
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        // A design with room to change: one subwoofer, three full-range modules, pin 2.
        Command(Tag::Model_DRXS1, 1);
        Command(Tag::Model_DRXR1, 3);
        Command(Tag::SlotPin, 2);
        Undo()->clearUndoHistory();
    }

    static CCommandManager* Commands() { return CCommandManager::GetInstance(); }
    static juce::UndoManager* Undo() { return Commands()->GetUndoManager(); }
    static int Steps() { return Undo()->getUndoDescriptions().size(); }

    static CCommand Make(const std::string& target, double number, const std::string& text = "", int areaSlot = 0)
    {
        CCommand command;
        command.target = target;
        command.number = number;
        command.text = text;
        command.areaSlot = areaSlot;
        return command;
    }

    // Both documents exactly as they are, not canonicalised.
    static std::string RawDocuments()
    {
        return CArrayManager::GetInstance()->GetDocument()->ToText() + CVenueManager::GetInstance()->SaveState();
    }

    // The array file (with its venue) and the venue file a save writes now, byte for byte.
    std::string Saved()
    {
        const std::string array = temp.File("saved.21w").getFullPathName().toStdString();
        const std::string venue = temp.File("saved.21v").getFullPathName().toStdString();
        Command(CCommandTable::kSaveArrayFile, 0, array);
        Command(CCommandTable::kSaveVenueFile, 0, venue);
        return temp.Read("saved.21w") + "\n--- venue ---\n" + temp.Read("saved.21v");
    }

    // Where two texts part: the first differing line of each, for a readable failure.
    static std::string Difference(const std::string& a, const std::string& b)
    {
        if (a == b)
            return {};
        size_t at = 0;
        while (at < a.size() && at < b.size() && a[at] == b[at])
            ++at;
        const auto lineAround = [at](const std::string& text) {
            const size_t start = text.rfind('\n', at == 0 ? 0 : at - 1);
            const size_t from = start == std::string::npos ? 0 : start + 1;
            return text.substr(from, text.find('\n', at) - from);
        };
        return "line " + std::to_string(std::count(a.begin(), a.begin() + (long) at, '\n') + 1) + ": '" + lineAround(a)
               + "' != '" + lineAround(b) + "'";
    }

    static bool DoHistory(const std::string& target) { return Commands()->DoGeneral(target, "", 0.0).WasDone(); }

    // What the engine keeps beside the documents, as the window shows it: the venue picture
    // drawn from its scene, the hang position the field map works from, and the SPL scale.
    struct Kept
    {
        std::string values;
        juce::Image picture;

        static Kept Now()
        {
            const CPoint* hang = CSPLManager::GetInstance()->GetHangPosition();
            Kept kept { "hang " + std::to_string(hang->x) + " " + std::to_string(hang->y) + ", scale "
                            + std::to_string(Scale().first) + " " + std::to_string(Scale().second),
                        juce::Image(juce::Image::RGB, 500, 300, true) };
            CRenderManager::GetInstance()->Render(&kept.picture, CSceneManager::GetInstance()->GetScene(2),
                                                  [](double level) { return CSPLManager::GetInstance()->ColourOf(level); });
            return kept;
        }
    };

    static void ExpectKept(const Kept& expected)
    {
        const Kept now = Kept::Now();
        EXPECT_EQ(now.values, expected.values);
        int differing = 0;
        for (int y = 0; y < now.picture.getHeight(); ++y)
            for (int x = 0; x < now.picture.getWidth(); ++x)
                differing += now.picture.getPixelAt(x, y) != expected.picture.getPixelAt(x, y) ? 1 : 0;
        EXPECT_EQ(differing, 0) << "pixels of the venue picture differ";
    }
};
}

//==============================================================================
TEST_F(UndoHistory, EveryRefusalNamesTheFieldAndRangeAndChangesNothing)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case { CCommand command; const char* refusal; };
    const Case cases[] = {
        { Make(Tag::LDist, 0, "abc", 3), "Floor (area 3): Length must be a number greater than 0 ft, not 'abc'" },
        { Make(Tag::LDist, 0, "-5", 3), "Floor (area 3): Length must be a number greater than 0 ft, not '-5'" },
        { Make(Tag::LDist, 0, "0.00", 3), "Length must be a number greater than 0 ft, not '0.00'" },
        { Make(Tag::LDist, 0, "", 3), "Length must be a number greater than 0 ft, not ''" },
        { Make(Tag::LAngle, 0, "95", 3), "Floor (area 3): Angle must be a number from -90 to 90 degrees, not '95'" },
        { Make(Tag::LAngle, 0, "-90.5", 4), "Rake (area 4): Angle must be a number from -90 to 90 degrees" },
        { Make(Tag::sX, 0, "abc", 3), "Floor (area 3): sX must be a number, not 'abc'" },
        { Make(Tag::sY, 0, "inf", 2), "sZ must be a number, not 'inf'" },
        { Make(Tag::eX, 0, "nan", 2), "eX must be a number, not 'nan'" },
        { Make(Tag::eY, 0, "1e999", 2), "eZ must be a number, not '1e999'" },
        { Make(Tag::eY, 0, "1", 6), "the venue has no area 6 (it has areas 1 to 5)" },
        { Make(Tag::Model_DRXR1, 7), "the full-range count must be from 0 to 6" },
        { Make(Tag::Model_DRXS1, -1), "the subwoofer count must be from 0 to 6" },
        { Make(Tag::Model_DRXR1, 2.5), "Model_DRXR1 needs a whole number, not '2.5'" },
        { Make(Tag::Model_DRXR1, nan), "Model_DRXR1 needs a finite number" },
        { Make(Tag::SlotPin, 0), "the pick pin must be from 1 to 8" },
        { Make(Tag::SlotPin, 9), "the pick pin must be from 1 to 8" },
        { Make(Tag::SlotPin, inf), "SlotPin needs a finite number" },
        { Make(Tag::Switch1, 8), "2 x switch (1..2) + 1 for on, a whole number from 2 to 5" },
        { Make(Tag::Switch2, 9, "3"), "2 x switch (1..3) + 1 for on, a whole number from 2 to 7" },
        { Make(Tag::Switch2, 7, "9"), "there is no module 9 (the array has modules 2 to 5)" },
        { Make(Tag::Delay, 100.5, "2"), "Delay must be from 0 to 100, not '100.5'" },
        { Make(Tag::Delay, -0.01, "3"), "Delay must be from 0 to 100, not '-0.01'" },
        { Make(Tag::Delay, nan, "3"), "Delay needs a finite number" },
        { Make(Tag::Delay, 1, ""), "Delay needs the module's number as TEXT" },
        { Make(Tag::Delay, 1, "6"), "the array has no position 6 (it has positions 1 to 5)" },
        { Make(Tag::Polarity, 2, "2"), "Polarity must be from 0 to 1, not '2'" },
        { Make(Tag::Polarity, 0.5, "2"), "Polarity needs a whole number, not '0.5'" },
        { Make(Tag::Polarity, 1, "1"), "position 1 holds no loudspeaker (Model_HB1 radiates nothing)" },
        { Make(Tag::Gain, 10.5, "4"), "Gain must be from -40 to 10, not '10.5'" },
        { Make(Tag::Gain, -40.5, "4"), "Gain must be from -40 to 10, not '-40.5'" },
        { Make(Tag::Gain, inf, "4"), "Gain needs a finite number" },
        { Make(CCommandTable::kRedo, 0), "there is nothing to redo" },
    };
    const std::string before = RawDocuments();
    const std::string saved = Saved();
    const int steps = Steps();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.command.target + " " + std::to_string(c.command.number) + " '" + c.command.text + "'");
        const CCommandResult result = Commands()->Do(c.command);
        EXPECT_FALSE(result.WasDone());
        EXPECT_NE(result.GetReason().find(c.refusal), std::string::npos) << result.GetReason();
        EXPECT_EQ(Difference(RawDocuments(), before), "");
    }
    EXPECT_EQ(Steps(), steps);
    EXPECT_EQ(Difference(Saved(), saved), "");
}

TEST_F(UndoHistory, TypedTextIsCheckedAsTheCommandWouldBe)
{
    struct Case { CCommand command; const char* typed; const char* refusal; };
    const Case cases[] = {
        { Make(Tag::Model_DRXR1, 0), "abc", "the full-range count must be from 0 to 6, not 'abc'" },
        { Make(Tag::Model_DRXR1, 0), "7", "the full-range count must be from 0 to 6" },
        { Make(Tag::Model_DRXR1, 0), "4", "" },
        { Make(Tag::Model_DRXS1, 0), "", "the subwoofer count must be from 0 to 6, not ''" },
        { Make(Tag::SlotPin, 0), "1e400", "the pick pin must be from 1 to 8, not '1e400'" },
        { Make(Tag::SlotPin, 0), "3", "" },
        { Make(Tag::LDist, 0, "", 3), "abc", "Floor (area 3): Length must be a number greater than 0 ft, not 'abc'" },
        { Make(Tag::LDist, 0, "", 3), "-12.5", "not '-12.5'" },
        { Make(Tag::LDist, 0, "", 3), "12.5", "" },
        { Make(Tag::LAngle, 0, "", 3), "90", "" },
        { Make(Tag::sX, 0, "", 1), "-3", "" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.command.target + " '" + c.typed + "'");
        const CCommandResult result = CCommandTable::CheckTyped(c.command, c.typed);
        if (*c.refusal == '\0')
            EXPECT_TRUE(result.WasDone()) << result.GetReason();
        else
            EXPECT_NE(result.GetReason().find(c.refusal), std::string::npos) << result.GetReason();
    }
}

//==============================================================================
TEST_F(UndoHistory, EveryKindOfStepUndoesAndRedoesToTheByte)
{
    // A design file and a venue file to load, written from other designs.
    const std::string otherArray = temp.File("other.21w").getFullPathName().toStdString();
    const std::string otherVenue = temp.File("other.21v").getFullPathName().toStdString();
    Command(Tag::Model_DRXR1, 5);
    Commands()->DoVenueArea(3, Tag::LAngle, "12.5");
    Command(CCommandTable::kSaveArrayFile, 0, otherArray);
    Commands()->DoVenueArea(4, Tag::LDist, "300");
    Command(CCommandTable::kSaveVenueFile, 0, otherVenue);
    DoHistory(CCommandTable::kUndo);
    DoHistory(CCommandTable::kUndo);
    DoHistory(CCommandTable::kUndo);

    struct Case { CCommand command; const char* name; };
    const Case cases[] = {
        { Make(Tag::Model_DRXR1, 2), "Change Range Total" },
        { Make(Tag::Model_DRXS1, 3), "Change SubWoofer Total" },
        { Make(Tag::SlotPin, 4), "Change Pin Slot" },
        { Make(Tag::Switch1, 5), "Toggle Module Switch" },
        { Make(Tag::Switch2, 7, "3"), "Toggle Module Switch" },
        { Make(Tag::LAngle, 0, "-7.5", 3), "Area Change" },
        { Make(Tag::sX, 0, "-40", 2), "Area Change" },
        { Make(Tag::eY, 0, "50", 1), "Area Change" },
        { Make(Tag::sX, 0, "30", 1), "Area Change" },
        { Make(Tag::sY, 0, "7", 2), "Area Change" },
        { Make(Tag::eX, 0, "90", 4), "Area Change" },
        { Make(Tag::LDist, 0, "60", 3), "Area Change" },
        { Make(Tag::Delay, 12.5, "2"), "Change Delay" },
        { Make(Tag::Polarity, 1, "2"), "Change Polarity" },
        { Make(Tag::Gain, -6, "4"), "Change Gain" },
        { Make(CSubAlignment::kCommandTarget, -3.5, "inverted"), "Align Subwoofers" },
        { Make(Tag::AirTemperature, 35), "Change Air Temperature" },
        { Make(Tag::AirHumidity, 80), "Change Air Humidity" },
        { Make(CCommandTable::kLoadArrayFile, 0, otherArray), "Load Array File" },
        { Make(CCommandTable::kLoadVenueFile, 0, otherVenue), "Load Venue File" },
    };
    // A command added to the table as a step is missing here until it gets its case.
    for (const CCommandTable::Entry& entry : CCommandTable::Entries())
        EXPECT_EQ(std::any_of(std::begin(cases), std::end(cases),
                              [&entry](const Case& c) { return c.command.target == entry.target; }),
                  CCommandTable::IsUndoStep(entry))
            << entry.target;
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.command.target + " " + std::to_string(c.command.number) + " '" + c.command.text + "'");
        const std::string before = Saved();
        const std::string documentsBefore = RawDocuments();
        const Kept keptBefore = Kept::Now();
        const int steps = Steps();
        ASSERT_TRUE(Commands()->Do(c.command).WasDone());
        EXPECT_EQ(Steps(), steps + 1);
        EXPECT_EQ(Undo()->getUndoDescription(), juce::String(c.name));
        const std::string after = Saved();
        const std::string documentsAfter = RawDocuments();
        const Kept keptAfter = Kept::Now();
        ASSERT_NE(after, before) << "the command changed nothing";

        EXPECT_TRUE(DoHistory(CCommandTable::kUndo));
        EXPECT_EQ(Difference(RawDocuments(), documentsBefore), "");
        EXPECT_EQ(Difference(Saved(), before), "");
        ExpectKept(keptBefore);
        EXPECT_TRUE(DoHistory(CCommandTable::kRedo));
        EXPECT_EQ(Difference(RawDocuments(), documentsAfter), "");
        EXPECT_EQ(Difference(Saved(), after), "");
        ExpectKept(keptAfter);
        EXPECT_FALSE(DoHistory(CCommandTable::kRedo)) << "nothing more to redo";
    }

    // Back through all of them to the design the test started from.
    int undone = 0;
    while (DoHistory(CCommandTable::kUndo))
        ++undone;
    EXPECT_EQ(undone, (int) std::size(cases));
    EXPECT_EQ(Line().GetFullRangeCount(), 3);
    EXPECT_EQ(Line().GetSubwooferCount(), 1);
    EXPECT_EQ(Line().GetSlotPin(), 2);
}

TEST_F(UndoHistory, ViewsSavesAndNoChangeAreNoSteps)
{
    const std::string before = Saved();
    Command(Tag::Meters, 0);
    Command(Tag::SplBase, 1);
    Command(Tag::SplRange, -2);
    Command(Tag::SplAuto, 1);
    Command(Tag::Meters, 0);
    // Every view command the table holds, whatever it is called.
    for (const CCommandTable::Entry& entry : CCommandTable::Entries())
    {
        if (entry.kind != CCommandTable::Kind::View)
            continue;
        const bool namesAView = entry.text.form == CCommandTable::TextRule::Form::View;
        ASSERT_TRUE(Commands()->DoGeneral(entry.target, namesAView ? "BandZ" : "", 1).WasDone()) << entry.target;
    }
    EXPECT_EQ(Steps(), 0) << Undo()->getUndoDescription();
    // The scale is saved with the design, so the views show in the file.
    const std::string viewed = Saved();
    ASSERT_NE(viewed, before);

    Commands()->DoVenueArea(3, Tag::LAngle, "0");
    Commands()->DoVenueArea(3, Tag::LAngle, "0");
    Command(Tag::Model_DRXR1, 3);
    CPinSuggestion::Compute(CBandView::Classic());
    EXPECT_EQ(Steps(), 1) << Undo()->getUndoDescription();
    EXPECT_TRUE(DoHistory(CCommandTable::kUndo));
    EXPECT_FALSE(DoHistory(CCommandTable::kUndo));
    EXPECT_EQ(Difference(Saved(), viewed), "");
}

// The scale is a view: undo and redo of a design step keep the scale the user set since,
// and an automatic scale follows the levels of the design they put back. A load brings its
// file's scale, and its undo the one before.
TEST_F(UndoHistory, UndoAndRedoKeepTheScaleShownUnlessTheStepBroughtIt)
{
    Command(Tag::Model_DRXR1, 5);
    Command(Tag::SplBase, 1);
    const std::pair<double, double> moved = Scale();
    const std::string movedElement = SplScaleSetting::Capture().element;
    ASSERT_FALSE(movedElement.empty());
    for (const std::string& history : { CCommandTable::kUndo, CCommandTable::kRedo })
    {
        ASSERT_TRUE(DoHistory(history)) << history;
        EXPECT_EQ(Line().GetFullRangeCount(), history == CCommandTable::kUndo ? 3 : 5);
        EXPECT_EQ(Scale(), moved) << history;
        EXPECT_EQ(SplScaleSetting::Capture().element, movedElement) << history;
    }

    // Automatic, switched on after the step: it stays on and follows the levels.
    Command(Tag::SplAuto, 1);
    const std::pair<double, double> louder = Scale();
    ASSERT_EQ(louder, VenueLevels());
    ASSERT_TRUE(DoHistory(CCommandTable::kUndo));
    EXPECT_TRUE(SplScaleSetting::IsAutomatic());
    const std::pair<double, double> quieter = Scale();
    EXPECT_EQ(quieter, VenueLevels());
    EXPECT_NE(quieter, louder);
    ASSERT_TRUE(DoHistory(CCommandTable::kRedo));
    EXPECT_TRUE(SplScaleSetting::IsAutomatic());
    EXPECT_EQ(Scale(), louder);

    // Automatic when the step was made, switched off since: off it stays.
    Command(Tag::Model_DRXS1, 0);
    Command(Tag::SplAuto, 0);
    const std::pair<double, double> kept = Scale();
    ASSERT_TRUE(DoHistory(CCommandTable::kUndo));
    EXPECT_FALSE(SplScaleSetting::IsAutomatic());
    EXPECT_EQ(Scale(), kept);

    // A load brings the scale saved in its file; undone, the scale before it is back.
    const std::string file = temp.File("scaled.21w").getFullPathName().toStdString();
    Command(Tag::SplRange, 10);
    const std::pair<double, double> saved = Scale();
    Command(CCommandTable::kSaveArrayFile, 0, file);
    Command(Tag::SplBase, -1);
    const std::string beforeLoad = Saved();
    const std::pair<double, double> shown = Scale();
    ASSERT_NE(shown, saved);
    Command(CCommandTable::kLoadArrayFile, 0, file);
    EXPECT_EQ(Scale(), saved);
    ASSERT_TRUE(DoHistory(CCommandTable::kUndo));
    EXPECT_EQ(Scale(), shown);
    EXPECT_EQ(Difference(Saved(), beforeLoad), "");
    ASSERT_TRUE(DoHistory(CCommandTable::kRedo));
    EXPECT_EQ(Scale(), saved);
    EXPECT_TRUE(reported().empty());
}

// The coverage suggestion tries every pin and records nothing; applying it is one pick-pin
// step that undo takes back to the byte, also when the pins were tried on a design undo had
// put back.
TEST_F(UndoHistory, TheSuggestedPinIsOneStepAndTryingThePinsNone)
{
    for (bool afterUndo : { false, true })
    {
        SCOPED_TRACE(afterUndo ? "on a design undo put back" : "on the design as edited");
        if (afterUndo)
        {
            Command(Tag::Model_DRXR1, 4);
            ASSERT_TRUE(DoHistory(CCommandTable::kUndo));
        }
        const int steps = Steps();
        CPinSuggestion suggestion = CPinSuggestion::Compute(CBandView::Classic());
        ASSERT_TRUE(suggestion.best.has_value());
        if (*suggestion.best == Line().GetSlotPin())
        {
            Command(Tag::SlotPin, *suggestion.best == 1 ? 8 : 1);
            suggestion = CPinSuggestion::Compute(CBandView::Classic());
        }
        const std::string before = Saved();
        const std::string documentsBefore = RawDocuments();
        const int pinBefore = Line().GetSlotPin();
        CPinSuggestion::Compute(CBandView::Classic());
        EXPECT_EQ(Difference(RawDocuments(), documentsBefore), "") << "trying the pins changed the documents";
        const int stepsBefore = Steps();
        EXPECT_LE(stepsBefore, steps + 1);

        ASSERT_TRUE(Commands()->DoGeneral(Tag::SlotPin, "", *suggestion.best).WasDone());
        EXPECT_EQ(Steps(), stepsBefore + 1);
        EXPECT_EQ(Undo()->getUndoDescription(), juce::String("Change Pin Slot"));
        const std::string after = Saved();
        ASSERT_TRUE(DoHistory(CCommandTable::kUndo));
        EXPECT_EQ(Line().GetSlotPin(), pinBefore);
        EXPECT_EQ(Difference(RawDocuments(), documentsBefore), "");
        EXPECT_EQ(Difference(Saved(), before), "");
        ASSERT_TRUE(DoHistory(CCommandTable::kRedo));
        EXPECT_EQ(Line().GetSlotPin(), *suggestion.best);
        EXPECT_EQ(Difference(Saved(), after), "");
    }
}

TEST_F(UndoHistory, ADragOrAHeldStepperIsOneStep)
{
    const std::string before = Saved();

    // A drag: every value sent between its start and end is one step.
    Commands()->BeginGesture();
    for (const char* angle : { "2", "4", "6", "8" })
        Commands()->DoVenueArea(3, Tag::LAngle, angle);
    Commands()->EndGesture();
    EXPECT_EQ(Steps(), 1);
    const std::string dragged = Saved();

    // A held stepper: repeats within the merge window are one step; another value is not.
    Commands()->SetMergeWindow(60000);
    for (int count = 4; count <= 6; ++count)
        Command(Tag::Model_DRXR1, count);
    Command(Tag::SlotPin, 3);
    Command(Tag::SlotPin, 4);
    EXPECT_EQ(Steps(), 3);
    Commands()->SetMergeWindow(0);
    Command(Tag::SlotPin, 5);
    EXPECT_EQ(Steps(), 4) << "outside a gesture and the window, every command is a step";

    DoHistory(CCommandTable::kUndo);
    DoHistory(CCommandTable::kUndo);
    EXPECT_EQ(Line().GetSlotPin(), 2);
    DoHistory(CCommandTable::kUndo);
    EXPECT_EQ(Line().GetFullRangeCount(), 3);
    EXPECT_EQ(Difference(Saved(), dragged), "");
    DoHistory(CCommandTable::kUndo);
    EXPECT_EQ(Difference(Saved(), before), "");

    // After an undo a new drag of the same value starts a step of its own.
    Commands()->BeginGesture();
    Commands()->DoVenueArea(3, Tag::LAngle, "3");
    Commands()->EndGesture();
    DoHistory(CCommandTable::kUndo);
    Commands()->BeginGesture();
    Commands()->DoVenueArea(3, Tag::LAngle, "5");
    Commands()->DoVenueArea(3, Tag::LAngle, "1");
    Commands()->EndGesture();
    EXPECT_EQ(Steps(), 1);
    DoHistory(CCommandTable::kUndo);
    EXPECT_EQ(Difference(Saved(), before), "");
}

TEST_F(UndoHistory, HistoryKeepsAHundredStepsWithinItsByteBudget)
{
    const std::string first = Saved();
    constexpr int kCommands = 120;
    for (int i = 0; i < kCommands; ++i)
        Command(Tag::SlotPin, 1 + i % 8);
    EXPECT_EQ(Steps(), kCommands);
    const int bytes = Undo()->getNumberOfUnitsTakenUpByStoredCommands();
    EXPECT_LE(bytes, CCommandManager::kHistoryBytes);

    int undone = 0;
    while (DoHistory(CCommandTable::kUndo))
        ++undone;
    EXPECT_EQ(undone, kCommands);
    EXPECT_EQ(Difference(Saved(), first), "");

    // Past the budget the oldest steps go, the newest stay.
    Undo()->setMaxNumberOfStoredUnits(bytes / 4, CCommandManager::kMinimumSteps);
    for (int i = 0; i < kCommands; ++i)
        Command(Tag::SlotPin, 1 + i % 8);
    EXPECT_LE(Undo()->getNumberOfUnitsTakenUpByStoredCommands(), bytes / 4);
    const int kept = Steps();
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, kCommands);
    undone = 0;
    while (DoHistory(CCommandTable::kUndo))
        ++undone;
    EXPECT_EQ(undone, kept);
    // Back to the design as the newest dropped step left it.
    EXPECT_EQ(Line().GetSlotPin(), 1 + (kCommands - kept - 1) % 8);
}
