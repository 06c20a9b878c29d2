#include "ui/PanelFixture.h"

#include "engine/CDesignState.h"
#include "ui/CFileDialogs.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace
{
using Dialog = CFileDialogs::Dialog;

// Stands in for the desktop: a documents folder in the test's directory, a scripted answer
// for the chooser and for the overwrite question, and a record of what was asked.
class ScriptedChooser : public CFileDialogs::Chooser
{
public:
    explicit ScriptedChooser(juce::File documentsFolder) : documents(std::move(documentsFolder)) {}

    juce::File DocumentsFolder() override { return documents; }
    juce::File SamplesFolder() override { return samples; }

    void Browse(const CFileDialogs::Request& request, std::function<void(std::optional<juce::File>)> chosen) override
    {
        requests.push_back(request);
        chosen(answer);
    }

    void ConfirmOverwrite(const juce::File& file, std::function<void(bool)> answered) override
    {
        overwriteQuestions.push_back(file);
        answered(overwrite);
    }

    juce::File documents;
    juce::File samples;
    std::optional<juce::File> answer;
    bool overwrite = false;
    std::vector<CFileDialogs::Request> requests;
    std::vector<juce::File> overwriteQuestions;
};

// The scripted chooser answers at once, so the dialog is over when Choose returns.
std::optional<CFileDialogs::Command> Chosen(Dialog dialog, CFileDialogs::Chooser& chooser)
{
    std::optional<CFileDialogs::Command> result;
    bool over = false;
    CFileDialogs::Choose(dialog, chooser, [&](std::optional<CFileDialogs::Command> command) {
        result = std::move(command);
        over = true;
    });
    EXPECT_TRUE(over);
    return result;
}

class FileDialogsTest : public ::testing::Test
{
protected:
    juce::File Documents() const { return dir.File("Documents"); }
    juce::File Kesta() const { return Documents().getChildFile("Kesta"); }
    juce::File Venues() const { return Kesta().getChildFile("Venues"); }

    ScopedTempDirectory dir;
    ScriptedChooser chooser { Documents() };
};

const std::string kSaveTitle = "Select a file name to save the current array and venue as...";
} // namespace

TEST_F(FileDialogsTest, EachDialogOpensInItsFolderWithItsFilterAndTitle)
{
    struct Case { Dialog dialog; std::string initial; std::string filter; std::string title; bool save; };
    const Case cases[] = {
        { Dialog::SaveArray, "Kesta/Default.21w", "*.21w", kSaveTitle, true },
        { Dialog::LoadArray, "Kesta/Default.21w", "*.21w",
          "Select a file name to load as the current array and venue...", false },
        { Dialog::SaveVenue, "Kesta/Venues/Default.21v", "*.21v", kSaveTitle, true },
        { Dialog::LoadVenue, "Kesta/Venues/Default.21v", "*.21v", "Select a file name to load as the current venue...",
          false },
    };
    for (const Case& c : cases)
    {
        chooser.requests.clear();
        EXPECT_FALSE(Chosen(c.dialog, chooser).has_value()) << c.initial << ": cancelled";
        ASSERT_EQ(chooser.requests.size(), 1u);
        const CFileDialogs::Request& request = chooser.requests[0];
        EXPECT_EQ(request.initialFile, Documents().getChildFile(c.initial)) << c.initial;
        EXPECT_TRUE(request.initialFile.getParentDirectory().isDirectory()) << c.initial << ": folder made";
        EXPECT_EQ(request.filter, c.filter);
        EXPECT_EQ(request.title, c.title);
        EXPECT_EQ(request.save, c.save);
    }
}

TEST_F(FileDialogsTest, ALoadOpensInTheSamplesUntilTheUserHasADesignOfThatKind)
{
    chooser.samples = dir.File("samples");
    chooser.samples.createDirectory();
    ASSERT_TRUE(chooser.samples.getChildFile("club.21w").replaceWithText("<Root/>"));
    ASSERT_TRUE(chooser.samples.getChildFile("club.21v").replaceWithText("<Root/>"));

    struct Case { const char* userFile; Dialog dialog; juce::File initial; };
    const Case cases[] = {
        { nullptr, Dialog::LoadArray, chooser.samples },
        { nullptr, Dialog::LoadVenue, chooser.samples },
        { nullptr, Dialog::SaveArray, Kesta().getChildFile("Default.21w") },
        { nullptr, Dialog::SaveVenue, Venues().getChildFile("Default.21v") },
        // A venue in the arrays' folder is not a design of the array kind.
        { "Kesta/stray.21v", Dialog::LoadArray, chooser.samples },
        { "Kesta/mine.21w", Dialog::LoadArray, Kesta().getChildFile("Default.21w") },
        { "Kesta/mine.21w", Dialog::LoadVenue, chooser.samples },
        { "Kesta/Venues/room.21v", Dialog::LoadVenue, Venues().getChildFile("Default.21v") },
    };
    for (const Case& c : cases)
    {
        if (c.userFile != nullptr)
        {
            Documents().getChildFile(c.userFile).getParentDirectory().createDirectory();
            ASSERT_TRUE(Documents().getChildFile(c.userFile).replaceWithText("<Root/>"));
        }
        chooser.requests.clear();
        Chosen(c.dialog, chooser);
        ASSERT_EQ(chooser.requests.size(), 1u);
        EXPECT_EQ(chooser.requests[0].initialFile, c.initial) << (c.userFile ? c.userFile : "no design") << " "
                                                              << (int) c.dialog;
    }

    chooser.samples = dir.File("no-samples-here");
    Kesta().getChildFile("mine.21w").deleteFile();
    chooser.requests.clear();
    Chosen(Dialog::LoadArray, chooser);
    EXPECT_EQ(chooser.requests[0].initialFile, Kesta().getChildFile("Default.21w")) << "no samples installed";
}

TEST_F(FileDialogsTest, AConfirmedDialogSendsItsCommandWithTheFullPath)
{
    struct Case { Dialog dialog; std::string chosen; std::string name; std::string target; std::string sent; };
    const Case cases[] = {
        { Dialog::SaveArray, "mydesign", "Save Array File", "SaveArrayFile", "mydesign.21w" },
        { Dialog::SaveArray, "mydesign.xml", "Save Array File", "SaveArrayFile", "mydesign.xml" },
        { Dialog::SaveArray, "hall.21w", "Save Array File", "SaveArrayFile", "hall.21w" },
        { Dialog::SaveVenue, "hall", "Save Venue File", "SaveVenueFile", "hall.21v" },
        { Dialog::SaveVenue, "hall.21w", "Save Venue File", "SaveVenueFile", "hall.21w" },
        // Loads take the name as chosen.
        { Dialog::LoadArray, "plain", "Load Array File", "LoadArrayFile", "plain" },
        { Dialog::LoadVenue, "room.21v", "Load Venue File", "LoadVenueFile", "room.21v" },
    };
    for (const Case& c : cases)
    {
        chooser.answer = Kesta().getChildFile(c.chosen);
        const std::optional<CFileDialogs::Command> command = Chosen(c.dialog, chooser);
        ASSERT_TRUE(command.has_value()) << c.chosen;
        EXPECT_EQ(command->name, c.name) << c.chosen;
        EXPECT_EQ(command->target, c.target) << c.chosen;
        EXPECT_EQ(command->path, Kesta().getChildFile(c.sent).getFullPathName().toStdString()) << c.chosen;
    }
    EXPECT_TRUE(chooser.overwriteQuestions.empty()) << "no file existed";
}

TEST_F(FileDialogsTest, SavingOverAnExistingFileAsksFirst)
{
    Kesta().createDirectory();
    const juce::File existing = Kesta().getChildFile("mydesign.21w");
    ASSERT_TRUE(existing.replaceWithText("<Root/>"));

    // The question is about the file the save will write, after the extension is added.
    chooser.answer = Kesta().getChildFile("mydesign");
    chooser.overwrite = false;
    EXPECT_FALSE(Chosen(Dialog::SaveArray, chooser).has_value());
    ASSERT_EQ(chooser.overwriteQuestions.size(), 1u);
    EXPECT_EQ(chooser.overwriteQuestions[0], existing);

    chooser.overwrite = true;
    const std::optional<CFileDialogs::Command> command = Chosen(Dialog::SaveArray, chooser);
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->path, existing.getFullPathName().toStdString());

    chooser.overwriteQuestions.clear();
    chooser.answer = existing;
    EXPECT_TRUE(Chosen(Dialog::LoadArray, chooser).has_value());
    EXPECT_TRUE(chooser.overwriteQuestions.empty()) << "a load never asks";
}

TEST_F(FileDialogsTest, AFolderThatCannotBeMadeStillOpensTheDialog)
{
    // The documents "folder" is a plain file, so neither Kesta nor Venues can be made.
    ASSERT_TRUE(Documents().replaceWithText("not a folder"));
    chooser.answer = dir.File("elsewhere.21v");
    const std::optional<CFileDialogs::Command> command = Chosen(Dialog::LoadVenue, chooser);
    ASSERT_EQ(chooser.requests.size(), 1u);
    EXPECT_FALSE(Kesta().exists());
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->path, dir.File("elsewhere.21v").getFullPathName().toStdString());
}

// The dialogs' commands reach the engine: the files are written and read back, and the
// panels show what was loaded.
class FileDialogsRun : public PanelFixture
{
protected:
    void SetUp() override
    {
        PanelFixture::SetUp();
        CFileDialogs::SetChooser(&chooser);
    }
    void TearDown() override
    {
        CFileDialogs::SetChooser(nullptr);
        PanelFixture::TearDown();
    }

    juce::File Kesta() const { return temp.File("Documents").getChildFile("Kesta"); }
    static double FloorAngle() { return AreaNode(3)->GetChild(Tag::Line)->GetLine()->angle; }

    ScriptedChooser chooser { temp.File("Documents") };
};

TEST_F(FileDialogsRun, SavedFilesLoadBackThroughTheEngine)
{
    const double angle = FloorAngle();
    chooser.answer = Kesta().getChildFile("Venues").getChildFile("hall");
    CFileDialogs::SaveVenue();
    const juce::File venueFile = Kesta().getChildFile("Venues").getChildFile("hall.21v");
    ASSERT_TRUE(venueFile.existsAsFile());

    chooser.answer = Kesta().getChildFile("design");
    CFileDialogs::SaveArray();
    const juce::File arrayFile = Kesta().getChildFile("design.21w");
    ASSERT_TRUE(arrayFile.existsAsFile());

    CCommandManager::GetInstance()->DoVenueArea(3, Tag::LAngle, "10.00");
    ASSERT_DOUBLE_EQ(FloorAngle(), 10.0);

    chooser.answer = venueFile;
    CFileDialogs::LoadVenue();
    EXPECT_DOUBLE_EQ(FloorAngle(), angle);
    EXPECT_NEAR(Area(3).AngleSlider().getValue(), angle, 0.05);

    CCommandManager::GetInstance()->DoVenueArea(3, Tag::LAngle, "10.00");
    chooser.answer = arrayFile;
    CFileDialogs::Run(Dialog::LoadArray);
    EXPECT_DOUBLE_EQ(FloorAngle(), angle) << "the design file carries its venue";
    EXPECT_NEAR(Area(3).AngleSlider().getValue(), angle, 0.05);
    EXPECT_EQ(Commands("Load Array File"), 1);
    EXPECT_EQ(Commands("Save Venue File"), 1);
}

TEST_F(FileDialogsRun, EachDialogProposesTheFileLastLoadedOrSaved)
{
    auto proposed = [this](Dialog dialog) {
        chooser.requests.clear();
        chooser.answer.reset();
        Chosen(dialog, chooser);
        return chooser.requests.at(0).initialFile;
    };
    EXPECT_EQ(proposed(Dialog::SaveArray), Kesta().getChildFile("Default.21w"))
        << "the name the start-up looks for";

    const juce::File elsewhere = temp.File("projects").getChildFile("Club Night.21w");
    elsewhere.getParentDirectory().createDirectory();
    chooser.answer = elsewhere;
    CFileDialogs::SaveArray();
    ASSERT_TRUE(elsewhere.existsAsFile());
    EXPECT_EQ(proposed(Dialog::SaveArray), elsewhere);
    EXPECT_EQ(proposed(Dialog::LoadArray), elsewhere);
    EXPECT_EQ(proposed(Dialog::SaveVenue), Kesta().getChildFile("Venues").getChildFile("Default.21v"))
        << "a design file is no venue file";

    const juce::File venue = temp.File("projects").getChildFile("hall.21v");
    chooser.answer = venue;
    CFileDialogs::SaveVenue();
    chooser.answer = venue;
    CFileDialogs::LoadVenue();
    EXPECT_EQ(proposed(Dialog::SaveVenue), venue);
    EXPECT_EQ(proposed(Dialog::SaveArray), elsewhere) << "loading a venue keeps the design's file";

    // A refused load proposes what was there before.
    const juce::File broken = temp.File("projects").getChildFile("broken.21w");
    broken.replaceWithText("<Root><Array>");
    chooser.answer = broken;
    CFileDialogs::Run(Dialog::LoadArray);
    EXPECT_FALSE(reported().empty());
    EXPECT_EQ(proposed(Dialog::SaveArray), elsewhere);
}

TEST_F(FileDialogsRun, SaveWritesTheDesignsOwnFileAtOnceAndNeverASample)
{
    chooser.samples = temp.File("samples");
    chooser.samples.createDirectory();

    // A new design has no file: Save asks for one.
    const juce::File design = Kesta().getChildFile("design.21w");
    chooser.answer = design;
    CFileDialogs::SaveArray();
    ASSERT_EQ(chooser.requests.size(), 1u);
    ASSERT_TRUE(design.existsAsFile());

    // Then it writes there at once, without a dialog or a question.
    CCommandManager::GetInstance()->DoGeneral(Tag::SlotPin, "", 5);
    ASSERT_TRUE(CDesignState::GetInstance()->IsModified());
    chooser.answer.reset();
    CFileDialogs::SaveArray();
    EXPECT_EQ(chooser.requests.size(), 1u);
    EXPECT_TRUE(chooser.overwriteQuestions.empty());
    EXPECT_FALSE(CDesignState::GetInstance()->IsModified());
    EXPECT_NE(design.loadFileAsString().indexOf("<SlotPin>"), -1);
    EXPECT_EQ(Commands("Save Array File"), 2);

    // Save As always asks.
    CFileDialogs::SaveArrayAs();
    EXPECT_EQ(chooser.requests.size(), 2u);

    // A design opened from the samples is saved under a new name in the user's folder...
    const juce::File sample = chooser.samples.getChildFile("club.21w");
    ASSERT_TRUE(design.copyFileTo(sample));
    const juce::String shipped = sample.loadFileAsString();
    chooser.answer = sample;
    CFileDialogs::Run(Dialog::LoadArray);
    ASSERT_EQ(CDesignState::GetInstance()->GetDesignFile(), sample.getFullPathName().toStdString());
    chooser.answer.reset();
    CFileDialogs::SaveArray();
    ASSERT_EQ(chooser.requests.size(), 4u);
    EXPECT_TRUE(chooser.requests.back().save);
    EXPECT_EQ(chooser.requests.back().initialFile, Kesta().getChildFile("club.21w"));

    // ...and a save into the samples' folder is refused, saying why.
    reported().clear();
    chooser.answer = sample;
    CFileDialogs::SaveArrayAs();
    ASSERT_EQ(reported().size(), 1u);
    EXPECT_NE(reported()[0].find("shipped samples"), std::string::npos) << reported()[0];
    EXPECT_EQ(sample.loadFileAsString(), shipped);
    EXPECT_EQ(Commands("Save Array File"), 2);
}
