#include "ui/WindowFixture.h"

#include "engine/CCommandTable.h"
#include "ui/CPinSuggestionPanel.h"
#include "xml/XmlTags.h"

namespace
{
std::string Angle(CKWEMJuceArrayInfo& panel)
{
    return panel.GetAngleEditor().getText().toStdString();
}

std::string AngleInDocument()
{
    std::string text;
    DoubleToString(text, CEngineManager::GetInstance()->ResolvePath(CKWEMJuceArrayInfo::ArrayInfoPath())
                             ->GetChild(Tag::Angle)->GetDouble(0.0), 1);
    return text;
}
} // namespace

class ArrayInfoPanel : public WindowFixture
{
protected:
    // One subwoofer, four full-range modules, picked at pin 4; no panel command yet.
    void SetUp() override
    {
        WindowFixture::SetUp();
        Command(Tag::Model_DRXS1, 1);
        Command(Tag::Model_DRXR1, 4);
        Command(Tag::SlotPin, 4);
        // The set-up commands carry the panel's command names; only the test's steps count.
        CCommandManager::GetInstance()->GetUndoManager()->clearUndoHistory();
        CCommandManager::GetInstance()->ResetPerformedCounts();
        setUpCommands = AllCommands();
    }

    int PanelCommands() const { return AllCommands() - setUpCommands; }

    int setUpCommands = 0;
};

TEST_F(ArrayInfoPanel, ShowsTheArrayInfoWithTheCatalogueLimits)
{
    CKWEMJuceArrayInfo& panel = window->GetArrayInfo();
    struct Row { juce::Slider* slider; const std::string& element; double min; double max; };
    const Row rows[] = {
        { &panel.GetRangeSlider(), Tag::Total_Model_2, 0, 6 },
        { &panel.GetSubwooferSlider(), Tag::Total_Model_1, 0, 6 },
        { &panel.GetPinSlider(), Tag::SlotPin, 1, 8 },
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.element);
        EXPECT_EQ(row.slider->getValue(), ArrayInfoValue(row.element)->GetInt(-1));
        EXPECT_EQ(row.slider->getMinimum(), row.min);
        EXPECT_EQ(row.slider->getMaximum(), row.max);
    }
    EXPECT_EQ(Angle(panel), AngleInDocument());
    EXPECT_TRUE(panel.GetAngleEditor().isReadOnly());
    // Showing the document, and following the commands above, sends nothing back.
    EXPECT_EQ(PanelCommands(), 0);
}

TEST_F(ArrayInfoPanel, EachStepSendsOneCommandAndTheSlidersShowWhatTheEngineAccepted)
{
    CKWEMJuceArrayInfo& panel = window->GetArrayInfo();
    ASSERT_EQ(panel.GetRangeSlider().getValue(), 4);
    ASSERT_EQ(panel.GetSubwooferSlider().getValue(), 1);

    Step(panel.GetRangeSlider(), +1);
    EXPECT_EQ(Commands("Change Range Total"), 1);
    EXPECT_EQ(ArrayInfoValue(Tag::Total_Model_2)->GetInt(-1), 5);
    EXPECT_EQ(Line().GetNode()->GetChild(Tag::Total)->GetInt(0), 7);
    EXPECT_EQ(Angle(panel), AngleInDocument());

    // A seventh enclosure does not fit: refused with the real limit, the subwoofer kept,
    // and the sliders' tips said so before.
    EXPECT_NE(panel.GetRangeSlider().getTooltip().indexOf("at most 5 beside 1 subwoofer"), -1)
        << panel.GetRangeSlider().getTooltip();
    reported().clear();
    Step(panel.GetRangeSlider(), +1);
    EXPECT_EQ(panel.GetRangeSlider().getValue(), 5);
    EXPECT_EQ(panel.GetSubwooferSlider().getValue(), 1);
    ASSERT_EQ(reported().size(), 1u);
    EXPECT_EQ(reported()[0], "At most 5 full-range modules fit beside 1 subwoofer (6 enclosures in all), not 6. "
                             "Remove a subwoofer first.");
    EXPECT_EQ(Commands("Change Range Total"), 1);
    EXPECT_EQ(Commands("Change SubWoofer Total"), 0);
    EXPECT_EQ(PanelCommands(), 1);
    // Typed, the same.
    EXPECT_EQ(dynamic_cast<CCheckedSlider&>(panel.GetRangeSlider()).checkTyped("9"),
              "At most 5 full-range modules fit beside 1 subwoofer (6 enclosures in all), not 9. Remove a subwoofer first.");

    const std::string angleBefore = Angle(panel);
    Step(panel.GetPinSlider(), -1);
    EXPECT_EQ(ArrayInfoValue(Tag::SlotPin)->GetInt(-1), 3);
    EXPECT_EQ(panel.GetPinSlider().getValue(), 3);
    EXPECT_EQ(Angle(panel), AngleInDocument());
    EXPECT_NE(Angle(panel), angleBefore);
}

TEST_F(ArrayInfoPanel, AStepChangesThePicture)
{
    CKWEMJuceArrayInfo& panel = window->GetArrayInfo();
    const juce::Image before = Picture();
    Step(panel.GetRangeSlider(), +1);
    const juce::Image after = Picture();
    int changed = 0;
    for (int y = 0; y < 600; y += 2)
        for (int x = 0; x < 1000; x += 2)
            changed += before.getPixelAt(x, y) != after.getPixelAt(x, y) ? 1 : 0;
    EXPECT_GT(changed, 50);
}

TEST_F(ArrayInfoPanel, AUserStepAfterAQuietRefreshStillCounts)
{
    CKWEMJuceArrayInfo& panel = window->GetArrayInfo();
    // A refresh that writes the value the slider already shows leaves no change message.
    CListenerManager::GetInstance()->RefreshAll();
    Step(panel.GetSubwooferSlider(), +1);
    EXPECT_EQ(Commands("Change SubWoofer Total"), 1);
}

TEST_F(ArrayInfoPanel, GroundStackIsShownAsNotAvailableWithTheReason)
{
    CKWEMJuceArrayInfo& panel = window->GetArrayInfo();
    EXPECT_TRUE(panel.GetFlownToggle().getToggleState());
    EXPECT_FALSE(panel.GetGroundToggle().isEnabled());
    EXPECT_TRUE(panel.GetGroundToggle().getTooltip().startsWith("Not available:"));
    Click(panel.GetGroundToggle());
    EXPECT_FALSE(panel.GetGroundToggle().getToggleState());
    EXPECT_TRUE(panel.GetFlownToggle().getToggleState());
    EXPECT_EQ(PanelCommands(), 0);
}

TEST_F(ArrayInfoPanel, RefreshBindsTheReplacedArrayDocument)
{
    CKWEMJuceArrayInfo& panel = window->GetArrayInfo();
    const std::string file = temp.File("two.21w").getFullPathName().toStdString();
    Command(Tag::Model_DRXR1, 2);
    Command(CCommandTable::kSaveArrayFile, 0, file);
    Command(Tag::Model_DRXR1, 5);
    ASSERT_EQ(panel.GetRangeSlider().getValue(), 5);

    Command(CCommandTable::kLoadArrayFile, 0, file);
    panel.Refresh();
    EXPECT_EQ(panel.GetRangeSlider().getValue(), 2);
    EXPECT_EQ(Angle(panel), AngleInDocument());
    // The new bindings follow the new document.
    ArrayInfoValue(Tag::Total_Model_2)->SetInt(3);
    EXPECT_EQ(panel.GetRangeSlider().getValue(), 3);
}

// The suggestion table computes without a command; its Apply button sends one pick-pin
// command, a step of its own that undo takes back to the design the table was made for.
TEST_F(ArrayInfoPanel, TheSuggestedPinIsAppliedAsOneStepThatUndoTakesBack)
{
    CKWEMJuceArrayInfo& panel = window->GetArrayInfo();
    juce::UndoManager* history = CCommandManager::GetInstance()->GetUndoManager();
    const int best = CPinSuggestionPanel().GetSuggestion().best.value_or(0);
    ASSERT_GT(best, 0);
    const int start = best == 1 ? 8 : 1;
    Command(Tag::SlotPin, start);
    history->clearUndoHistory();
    setUpCommands = AllCommands();
    const std::string before = CArrayManager::GetInstance()->GetDocument()->ToText() + CVenueManager::GetInstance()->SaveState();

    CPinSuggestionPanel table;
    ASSERT_EQ(table.GetSuggestion().best, best);
    EXPECT_EQ(PanelCommands(), 0);
    EXPECT_FALSE(history->canUndo());
    ASSERT_TRUE(table.GetApplyButton().isEnabled());

    Click(table.GetApplyButton());
    EXPECT_EQ(PanelCommands(), 1);
    EXPECT_EQ(history->getUndoDescriptions(), juce::StringArray("Change Pin Slot"));
    EXPECT_EQ(Line().GetSlotPin(), best);
    EXPECT_EQ(panel.GetPinSlider().getValue(), best);

    ASSERT_TRUE(CCommandManager::GetInstance()->DoGeneral(CCommandTable::kUndo, "", 0).WasDone());
    EXPECT_EQ(Line().GetSlotPin(), start);
    EXPECT_EQ(panel.GetPinSlider().getValue(), start);
    EXPECT_EQ(CArrayManager::GetInstance()->GetDocument()->ToText() + CVenueManager::GetInstance()->SaveState(), before);
}
