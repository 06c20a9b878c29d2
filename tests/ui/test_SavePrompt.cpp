#include "ui/PanelFixture.h"

#include "engine/CCommandTable.h"
#include "engine/CDesignState.h"
#include "ui/CFileDialogs.h"
#include "ui/CSavePrompt.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace
{
// The question answered as the test says, and the quit only counted.
class ScriptedPromptUi : public CSavePrompt::Ui
{
public:
    void Ask(const std::string&, std::function<void(CSavePrompt::Answer)> answered) override
    {
        ++asked;
        pending = std::move(answered);
    }
    void Quit() override { ++quits; }

    // The user answers the question on show.
    void Answer(CSavePrompt::Answer answer)
    {
        ASSERT_TRUE(pending) << "no question on show";
        auto answered = std::move(pending);
        pending = nullptr;
        answered(answer);
    }

    int asked = 0;
    int quits = 0;
    std::function<void(CSavePrompt::Answer)> pending;
};

// The save dialog: picks `answer`, or is cancelled without one; at once, or (with `hold`)
// when the test closes it, as the desktop's dialog answers after its caller returned.
class ScriptedSaveChooser : public CFileDialogs::Chooser
{
public:
    explicit ScriptedSaveChooser(juce::File folder) : documents(std::move(folder)) {}
    juce::File DocumentsFolder() override { return documents; }
    juce::File SamplesFolder() override { return documents.getChildFile("no samples"); }
    void Browse(const CFileDialogs::Request&, std::function<void(std::optional<juce::File>)> chosen) override
    {
        ++browsed;
        if (hold)
            shown = std::move(chosen);
        else
            chosen(answer);
    }
    void ConfirmOverwrite(const juce::File&, std::function<void(bool)> answered) override { answered(true); }

    void Close()
    {
        ASSERT_TRUE(shown) << "no dialog on show";
        auto chosen = std::move(shown);
        shown = nullptr;
        chosen(answer);
    }

    juce::File documents;
    std::optional<juce::File> answer;
    bool hold = false;
    std::function<void(std::optional<juce::File>)> shown;
    int browsed = 0;
};
} // namespace

class SavePrompt : public PanelFixture
{
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        CSavePrompt::SetUi(&ui);
        CFileDialogs::SetChooser(&chooser);
    }
    void TearDown() override
    {
        CFileDialogs::SetChooser(nullptr);
        CSavePrompt::SetUi(nullptr);
        PanelFixture::TearDown();
    }

    static bool Modified() { return CDesignState::GetInstance()->IsModified(); }
    static void Edit() { CCommandManager::GetInstance()->DoGeneral(Tag::SlotPin, "", 5); }

    // The pick pin a design file holds; 0 without one.
    static int PinIn(const juce::File& file)
    {
        const std::unique_ptr<juce::XmlElement> root = juce::parseXML(file);
        if (root == nullptr)
            return 0;
        for (const juce::XmlElement* info : root->getChildWithTagNameIterator("Array"))
            if (const juce::XmlElement* pin = info->getChildByName("ArrayInfo"))
                if (const juce::XmlElement* slot = pin->getChildByName("SlotPin"))
                    return slot->getChildElementAllSubText("Value", "0").getIntValue();
        return 0;
    }

    ScriptedPromptUi ui;
    ScriptedSaveChooser chooser { temp.File("Documents") };
};

TEST_F(SavePrompt, WithoutChangesTheWizardQuitsAtOnce)
{
    ASSERT_FALSE(Modified());
    CSavePrompt::RequestQuit();
    EXPECT_EQ(ui.asked, 0);
    EXPECT_EQ(ui.quits, 1);

    // Units and the SPL scale change the view, not the design.
    CCommandManager::GetInstance()->DoGeneral(Tag::Meters, "", 1);
    CCommandManager::GetInstance()->DoGeneral(Tag::SplRange, "", 5);
    CSavePrompt::RequestQuit();
    EXPECT_EQ(ui.asked, 0);
    EXPECT_EQ(ui.quits, 2);

    // An edit undone leaves nothing to save.
    Edit();
    ASSERT_TRUE(CCommandManager::GetInstance()->DoGeneral(CCommandTable::kUndo, "", 0).WasDone());
    CSavePrompt::RequestQuit();
    EXPECT_EQ(ui.asked, 0);
    EXPECT_EQ(ui.quits, 3);
}

TEST_F(SavePrompt, CancelKeepsTheWizardAndItsChanges)
{
    Edit();
    CSavePrompt::RequestQuit();
    EXPECT_EQ(ui.asked, 1);
    EXPECT_TRUE(CSavePrompt::IsAsking());
    CSavePrompt::RequestQuit();
    EXPECT_EQ(ui.asked, 1) << "a second close while the question shows asks nothing more";

    ui.Answer(CSavePrompt::Answer::Cancel);
    EXPECT_EQ(ui.quits, 0);
    EXPECT_FALSE(CSavePrompt::IsAsking());
    EXPECT_TRUE(Modified());
    EXPECT_EQ(chooser.browsed, 0);

    // And the next close asks again.
    CSavePrompt::RequestQuit();
    EXPECT_EQ(ui.asked, 2);
    ui.Answer(CSavePrompt::Answer::Discard);
    EXPECT_EQ(ui.quits, 1);
    EXPECT_EQ(chooser.browsed, 0) << "Discard saves nothing";
}

TEST_F(SavePrompt, SaveQuitsOnlyOnceTheDesignIsSaved)
{
    Edit();
    const std::string pinned = CArrayManager::GetInstance()->GetDocument()->ToText();

    // The save dialog cancelled: nothing saved, the wizard stays.
    CSavePrompt::RequestQuit();
    ui.Answer(CSavePrompt::Answer::Save);
    EXPECT_EQ(chooser.browsed, 1);
    EXPECT_EQ(ui.quits, 0);
    EXPECT_TRUE(Modified());

    // A save that fails is reported; the wizard stays.
    chooser.answer = temp.File("no/such/folder/design.21w");
    CSavePrompt::RequestQuit();
    ui.Answer(CSavePrompt::Answer::Save);
    EXPECT_EQ(ui.quits, 0);
    EXPECT_TRUE(Modified());
    EXPECT_FALSE(reported().empty());

    // Saved: the wizard quits, and the file holds the edited design.
    const juce::File design = temp.File("design.21w");
    chooser.answer = design;
    CSavePrompt::RequestQuit();
    ui.Answer(CSavePrompt::Answer::Save);
    EXPECT_EQ(ui.quits, 1);
    EXPECT_FALSE(Modified());
    ASSERT_TRUE(design.existsAsFile());
    EXPECT_NE(design.loadFileAsString().indexOf("<SlotPin>"), -1);
    EXPECT_EQ(CDesignState::GetInstance()->GetDesignFile(), design.getFullPathName().toStdString());
    EXPECT_EQ(CArrayManager::GetInstance()->GetDocument()->ToText(), pinned) << "saving changed nothing";
}

TEST_F(SavePrompt, TheSaveDialogRunsAfterTheAnswerReturns)
{
    Edit();
    chooser.hold = true;
    chooser.answer = temp.File("later.21w");
    CSavePrompt::RequestQuit();
    ui.Answer(CSavePrompt::Answer::Save);
    ASSERT_EQ(chooser.browsed, 1);
    EXPECT_TRUE(CFileDialogs::IsOpen());
    EXPECT_TRUE(CSavePrompt::IsAsking()) << "the question lasts until its save dialog is over";
    EXPECT_EQ(ui.quits, 0);

    // Closing or quitting again while the dialog shows does nothing; nor does another dialog open.
    CSavePrompt::RequestQuit();
    EXPECT_EQ(ui.asked, 1);
    bool finishedAtOnce = false;
    CFileDialogs::Run(CFileDialogs::Dialog::LoadArray, [&] { finishedAtOnce = true; });
    EXPECT_TRUE(finishedAtOnce);
    EXPECT_EQ(chooser.browsed, 1);

    chooser.Close();
    EXPECT_FALSE(CFileDialogs::IsOpen());
    EXPECT_FALSE(CSavePrompt::IsAsking());
    EXPECT_TRUE(temp.File("later.21w").existsAsFile());
    EXPECT_FALSE(Modified());
    EXPECT_EQ(ui.quits, 1);
}

TEST_F(SavePrompt, WhileAnyFileDialogShowsCloseIsIgnored)
{
    chooser.hold = true;
    CSavePrompt::RequestLoad();
    CSavePrompt::RequestQuit();
    EXPECT_EQ(ui.quits, 0) << "the dialog's window stays";
    chooser.Close();
    CSavePrompt::RequestQuit();
    EXPECT_EQ(ui.quits, 1);
}

TEST_F(SavePrompt, LoadingAnotherDesignOverChangesAsksFirst)
{
    // Two designs on disk; the wizard shows the first, edited.
    const juce::File first = temp.File("first.21w");
    const juce::File second = temp.File("second.21w");
    chooser.answer = second;
    CFileDialogs::SaveArrayAs();
    chooser.answer = first;
    CFileDialogs::SaveArrayAs();
    const auto designFile = [] { return CDesignState::GetInstance()->GetDesignFile(); };
    ASSERT_EQ(designFile(), first.getFullPathName().toStdString());
    Edit();

    // Cancel: the chosen design is not loaded, the changes stay.
    chooser.answer = second;
    CSavePrompt::RequestLoad();
    ASSERT_EQ(ui.asked, 1);
    EXPECT_EQ(Commands("Load Array File"), 0) << "nothing is loaded before the answer";
    ui.Answer(CSavePrompt::Answer::Cancel);
    EXPECT_EQ(Commands("Load Array File"), 0);
    EXPECT_TRUE(Modified());
    EXPECT_EQ(designFile(), first.getFullPathName().toStdString());

    // Save: the changes go to the design's own file at once, then the other design loads.
    const int browsedBefore = chooser.browsed;
    CSavePrompt::RequestLoad();
    ui.Answer(CSavePrompt::Answer::Save);
    EXPECT_EQ(chooser.browsed, browsedBefore + 1) << "only the load dialog";
    EXPECT_EQ(PinIn(first), 5);
    EXPECT_EQ(designFile(), second.getFullPathName().toStdString());
    EXPECT_FALSE(Modified());
    EXPECT_EQ(ui.quits, 0);

    // Discard: loaded without saving; without changes nothing is asked.
    Edit();
    chooser.answer = first;
    const juce::String saved = first.loadFileAsString();
    CSavePrompt::RequestLoad();
    ui.Answer(CSavePrompt::Answer::Discard);
    EXPECT_EQ(designFile(), first.getFullPathName().toStdString());
    EXPECT_EQ(first.loadFileAsString(), saved) << "the edit was not saved";
    CSavePrompt::RequestLoad();
    EXPECT_EQ(ui.asked, 3);
    EXPECT_EQ(Commands("Load Array File"), 3);
}
