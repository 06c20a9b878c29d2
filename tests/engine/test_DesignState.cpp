#include "EngineFixture.h"

#include "engine/CCommandTable.h"
#include "engine/CDesignState.h"
#include "engine/CSceneManager.h"
#include "engine/CSPLManager.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <cstdio>
#include <functional>
#include <stdexcept>

namespace
{
class DesignState : public EngineFixture
{
protected:
    static bool Modified() { return CDesignState::GetInstance()->IsModified(); }
    static CCommandManager* Commands() { return CCommandManager::GetInstance(); }

    std::string PathOf(const std::string& name) const { return temp.File(name).getFullPathName().toStdString(); }

    void SaveArray(const std::string& name) const { Command(CCommandTable::kSaveArrayFile, 0, PathOf(name)); }
    void LoadArray(const std::string& name) const { Command(CCommandTable::kLoadArrayFile, 0, PathOf(name)); }

    // A load or save the engine refuses reports a fatal error, which leaves as an exception.
    static bool Refused(const std::function<void()>& command)
    {
        try
        {
            command();
            return false;
        }
        catch (const std::runtime_error&)
        {
            return true;
        }
    }

    static bool Area(int area, const std::string& key, const std::string& text)
    {
        return Commands()->DoVenueArea(area, key, text).WasDone();
    }

    static bool History(const std::string& target) { return Commands()->DoGeneral(target, "", 0.0).WasDone(); }

    static std::string FloorAngleText()
    {
        CVenueAreaWrap floor;
        CVenueDataWrap(Venue()).GetArea(floor, 3);
        char text[32];
        std::snprintf(text, sizeof(text), "%.17g", floor.GetLine()->angle);
        return text;
    }

    // `one`, unless the design has that already.
    static int Other(int current, int one, int another) { return current == one ? another : one; }

    static int SwitchOf(const std::string& which)
    {
        return CEngineManager::GetInstance()->ResolvePath("Array.1.CabProd.2")->FindChild(which)->FindChild(Tag::Value)->GetInt(0);
    }

    static double StageFrontX()
    {
        CVenueAreaWrap stage;
        CVenueDataWrap(Venue()).GetArea(stage, 2);
        return stage.GetLine()->x2;
    }

    // `text` with `insert` put in after the first `after`.
    static std::string Inserted(std::string text, const std::string& after, const std::string& insert)
    {
        const size_t at = text.find(after);
        EXPECT_NE(at, std::string::npos) << after;
        return at == std::string::npos ? text : text.insert(at + after.size(), insert);
    }

    // Both documents exactly as they are.
    static std::string RawDocuments()
    {
        return CArrayManager::GetInstance()->GetDocument()->ToText() + CVenueManager::GetInstance()->SaveState();
    }
};
} // namespace

TEST_F(DesignState, DesignCommandsMarkTheDesignModifiedViewsAndRefusalsDoNot)
{
    struct Case { const char* what; std::function<void()> command; bool modifies; };
    const Case cases[] = {
        { "units", [] { Command(Tag::Meters, 0); }, false },
        { "SPL scale top", [] { Command(Tag::SplBase, 1); }, false },
        { "SPL scale range", [] { Command(Tag::SplRange, 5); }, false },
        { "SPL scale automatic", [] { Command(Tag::SplAuto, 1); }, false },
        { "an area text that is no number", [] { EXPECT_FALSE(Area(3, Tag::LAngle, "abc")); }, false },
        { "a negative length", [] { EXPECT_FALSE(Area(3, Tag::LDist, "-5")); }, false },
        { "a count beyond the catalogue", [] { Command(Tag::Model_DRXR1, 99); }, false },
        { "an area value as it is", [] { Area(3, Tag::LAngle, FloorAngleText()); }, false },
        { "pick pin", [] { Command(Tag::SlotPin, Other(Line().GetSlotPin(), 4, 5)); }, true },
        { "full-range count", [] { Command(Tag::Model_DRXR1, Other(Line().GetFullRangeCount(), 2, 3)); }, true },
        { "subwoofer count", [] { Command(Tag::Model_DRXS1, Other(Line().GetSubwooferCount(), 1, 2)); }, true },
        { "amplifier mode", [] { Command(Tag::Switch1, 2 * Other(SwitchOf(Tag::Switch1), 1, 2) + 1); }, true },
        { "HF shading", [] { Command(Tag::Switch2, 2 * Other(SwitchOf(Tag::Switch2), 2, 3) + 1, "2"); }, true },
        { "floor angle", [] { EXPECT_TRUE(Area(3, Tag::LAngle, "7")); }, true },
        { "stage start", [] { EXPECT_TRUE(Area(2, Tag::sX, "3")); }, true },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        SaveArray("design.21w");
        ASSERT_FALSE(Modified()) << "saved";
        c.command();
        EXPECT_EQ(Modified(), c.modifies);
    }
}

TEST_F(DesignState, UndoBackToTheSavedStepMakesTheDesignUnchangedAgain)
{
    EXPECT_FALSE(Modified()) << "the start-up design";
    Command(Tag::SlotPin, 3);
    SaveArray("design.21w");
    Command(Tag::SlotPin, 5);
    Command(Tag::Model_DRXR1, 2);
    EXPECT_TRUE(Modified());

    EXPECT_TRUE(History(CCommandTable::kUndo));
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(History(CCommandTable::kUndo));
    EXPECT_FALSE(Modified()) << "back at the saved step";
    EXPECT_TRUE(History(CCommandTable::kUndo));
    EXPECT_TRUE(Modified()) << "before the saved step";
    EXPECT_TRUE(History(CCommandTable::kRedo));
    EXPECT_FALSE(Modified());
    EXPECT_TRUE(History(CCommandTable::kRedo));
    EXPECT_TRUE(Modified());

    // A new step after an undo to the saved one replaces the steps there were to redo.
    EXPECT_TRUE(History(CCommandTable::kUndo));
    ASSERT_FALSE(Modified());
    Command(Tag::SlotPin, 6);
    EXPECT_TRUE(Modified());
    EXPECT_FALSE(History(CCommandTable::kRedo)) << "the count change to redo went with the new step";
    EXPECT_TRUE(History(CCommandTable::kUndo));
    EXPECT_FALSE(Modified());
}

TEST_F(DesignState, AMergedDragIsOneStepAndASaveEndsIt)
{
    SaveArray("design.21w");
    const std::string saved = temp.Read("design.21w");

    // A drag merged into one step: one undo is back at the saved design.
    Commands()->BeginGesture();
    for (const char* angle : { "2", "4", "6" })
        Area(3, Tag::LAngle, angle);
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(History(CCommandTable::kUndo));
    EXPECT_FALSE(Modified());

    // Saved half-way through a drag: what comes after is a new step, undone to the save.
    for (const char* angle : { "3", "5" })
        Area(3, Tag::LAngle, angle);
    SaveArray("dragged.21w");
    const std::string halfway = RawDocuments();
    EXPECT_FALSE(Modified());
    for (const char* angle : { "7", "9" })
        Area(3, Tag::LAngle, angle);
    Commands()->EndGesture();
    EXPECT_TRUE(Modified());
    EXPECT_TRUE(History(CCommandTable::kUndo));
    EXPECT_FALSE(Modified());
    EXPECT_EQ(RawDocuments(), halfway);
    EXPECT_TRUE(History(CCommandTable::kUndo));
    EXPECT_TRUE(Modified());
    SaveArray("again.21w");
    EXPECT_EQ(temp.Read("again.21w"), saved);
}

TEST_F(DesignState, LoadsAreStepsArrayFilesMarkTheSavedOneAndAreRemembered)
{
    CDesignState* state = CDesignState::GetInstance();
    EXPECT_EQ(state->GetDesignFile(), "");

    int notified = 0;
    state->SetObserver([&notified] { ++notified; });
    Command(Tag::SlotPin, 3);
    EXPECT_TRUE(Modified());
    EXPECT_EQ(notified, 1) << "the window title follows";
    Command(Tag::SlotPin, 4);
    EXPECT_EQ(notified, 1) << "still modified: nothing new to show";

    const std::string design = PathOf("design.21w");
    SaveArray("design.21w");
    EXPECT_FALSE(Modified());
    EXPECT_EQ(notified, 2);
    EXPECT_EQ(state->GetDesignFile(), design);
    EXPECT_EQ(CDesignState::RememberedDesignFile(), design);

    const std::string venue = PathOf("hall.21v");
    Command(CCommandTable::kSaveVenueFile, 0, venue);
    EXPECT_FALSE(Modified()) << "saving the venue alone changes nothing";
    Area(3, Tag::LAngle, "6");
    Command(CCommandTable::kSaveVenueFile, 0, venue);
    Command(CCommandTable::kLoadArrayFile, 0, design);
    ASSERT_FALSE(Modified());
    Command(CCommandTable::kLoadVenueFile, 0, venue);
    EXPECT_TRUE(Modified()) << "the design now has a venue it was not saved with";
    EXPECT_EQ(state->GetVenueFile(), venue);
    EXPECT_EQ(state->GetDesignFile(), design);
    EXPECT_TRUE(History(CCommandTable::kUndo));
    EXPECT_FALSE(Modified()) << "the venue load undone";

    SaveArray("other.21w");
    Command(Tag::SlotPin, 5);
    LoadArray("design.21w");
    EXPECT_FALSE(Modified());
    EXPECT_EQ(CDesignState::RememberedDesignFile(), design) << "the last one loaded";
    EXPECT_TRUE(History(CCommandTable::kUndo));
    EXPECT_TRUE(Modified()) << "the load undone: the design is no longer the file's";
    EXPECT_EQ(Line().GetSlotPin(), 5);
    EXPECT_EQ(state->GetDesignFile(), PathOf("other.21w")) << "Save must not write over the file the load opened";
    EXPECT_TRUE(History(CCommandTable::kRedo));
    EXPECT_FALSE(Modified());
    EXPECT_EQ(state->GetDesignFile(), design);
    // A new step after an undo forgets the file of the step it replaced.
    EXPECT_TRUE(History(CCommandTable::kUndo));
    Command(Tag::SlotPin, 7);
    EXPECT_EQ(state->GetDesignFile(), PathOf("other.21w"));

    // Refused loads and saves leave the state as it was, modified or not.
    Command(Tag::SlotPin, 6);
    EXPECT_TRUE(Refused([this] { LoadArray("missing.21w"); }));
    EXPECT_TRUE(Refused([this] { SaveArray("no/such/folder/x.21w"); }));
    EXPECT_TRUE(Modified());
    EXPECT_EQ(state->GetDesignFile(), PathOf("other.21w"));
    EXPECT_EQ(CDesignState::RememberedDesignFile(), design);
    state->SetObserver(nullptr);

    // The settings carry the remembered file to the next start.
    CJuceManager::GetInstance()->SaveAndReleaseSettings();
    EXPECT_EQ(CDesignState::RememberedDesignFile(), design);
}

TEST_F(DesignState, EveryLoadTakesTheDisplayOffsetFromTheLoadedStage)
{
    CJuceManager* ui = CJuceManager::GetInstance();
    const double startOffset = ui->GetOffset(Tag::sX);
    ASSERT_DOUBLE_EQ(startOffset, -StageFrontX()) << "X is shown from the stage's front";
    SaveArray("design.21w");
    Command(CCommandTable::kSaveVenueFile, 0, PathOf("hall.21v"));
    CVenueAreaWrap floor;
    CVenueDataWrap(Venue()).GetArea(floor, 3);
    const double floorShown = ui->ToDisplayLength(Tag::sX, floor.GetLine()->x1);

    struct Case { const char* file; const std::string& target; };
    const Case cases[] = {
        { "design.21w", CCommandTable::kLoadArrayFile },
        { "hall.21v", CCommandTable::kLoadVenueFile },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        ASSERT_TRUE(Area(2, Tag::sX, "4"));
        ASSERT_NE(ui->GetOffset(Tag::sX), startOffset);
        Command(c.target, 0, PathOf(c.file));
        EXPECT_DOUBLE_EQ(ui->GetOffset(Tag::sX), startOffset);
        EXPECT_DOUBLE_EQ(ui->GetOffset(Tag::eX), startOffset);
        CVenueDataWrap(Venue()).GetArea(floor, 3);
        EXPECT_NEAR(ui->ToDisplayLength(Tag::sX, floor.GetLine()->x1), floorShown, 1e-9) << "shown as when saved";
    }

    // A file with another stage brings its own offset.
    ASSERT_TRUE(Area(2, Tag::sX, "4"));
    const double moved = ui->GetOffset(Tag::sX);
    SaveArray("moved.21w");
    LoadArray("design.21w");
    LoadArray("moved.21w");
    EXPECT_DOUBLE_EQ(ui->GetOffset(Tag::sX), moved);
    EXPECT_DOUBLE_EQ(moved, -StageFrontX());
}

TEST_F(DesignState, AFileThatCannotBeDrawnIsRefusedAndTheDesignStaysByteForByte)
{
    SaveArray("good.21w");
    Command(CCommandTable::kSaveVenueFile, 0, PathOf("good.21v"));
    // The venue's drawing attributes with a scale that is no number.
    const std::string emptyScale = "<ConvScaleX />";
    temp.Write("noscale.21v", Inserted(temp.Read("good.21v"), "<ConvLBaseY />", emptyScale));
    temp.Write("noscale.21w", Inserted(temp.Read("good.21w"), "<ConvLBaseY />", emptyScale));

    Command(Tag::SlotPin, 6);
    Area(3, Tag::LAngle, "4");
    Command(Tag::Model_DRXS1, 1);
    // A scale of its own, which the files' scale must not replace.
    Command(Tag::SplBase, -1);
    SaveArray("before.21w");
    Area(2, Tag::sX, "7");
    const std::string before = RawDocuments();
    const double offset = CJuceManager::GetInstance()->GetOffset(Tag::sX);
    const double scaleBottom = CSPLManager::GetInstance()->GetScaleBottom();
    const int steps = Commands()->GetUndoManager()->getUndoDescriptions().size();

    struct Case { const std::string& target; const char* file; const char* kind; };
    const Case cases[] = {
        { CCommandTable::kLoadVenueFile, "noscale.21v", "venue" },
        { CCommandTable::kLoadArrayFile, "noscale.21w", "array" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.file);
        reported().clear();
        EXPECT_TRUE(Refused([&] { Command(c.target, 0, PathOf(c.file)); }));
        ASSERT_FALSE(reported().empty());
        const std::string& message = reported().back();
        EXPECT_EQ(message.rfind(std::string("Error: Could not load ") + c.kind + " file " + PathOf(c.file), 0), 0u)
            << message;
        EXPECT_NE(message.find("Could not draw Info 1 of Venue1/RenderSpec: ConvScaleX: Could not convert string to "
                               "double"),
                  std::string::npos)
            << "names the element: " << message;

        EXPECT_EQ(RawDocuments(), before);
        EXPECT_TRUE(Modified());
        EXPECT_EQ(CDesignState::GetInstance()->GetDesignFile(), PathOf("before.21w"));
        EXPECT_DOUBLE_EQ(CJuceManager::GetInstance()->GetOffset(Tag::sX), offset);
        EXPECT_DOUBLE_EQ(CSPLManager::GetInstance()->GetScaleBottom(), scaleBottom);
        EXPECT_EQ(Commands()->GetUndoManager()->getUndoDescriptions().size(), steps) << "a refused load is no step";
        juce::Image picture(juce::Image::RGB, 100, 60, true);
        EXPECT_NO_THROW(CRenderManager::GetInstance()->Render(&picture, CSceneManager::GetInstance()->GetScene(2),
                                                              [](double) { return 0xff000000u; }))
            << "the design still draws";
    }

    EXPECT_TRUE(History(CCommandTable::kUndo));
    EXPECT_FALSE(Modified()) << "the history is the one before the refused loads";
    SaveArray("after.21w");
    EXPECT_EQ(temp.Read("after.21w"), temp.Read("before.21w")) << "saved again, byte for byte";
}
