#include "ui/WindowFixture.h"

#include "ui/ScopedPath.h"
#include "ui/CKwemJuceAbout.h"
#include "ui/CPrintReport.h"
#include "ui/CUiScale.h"

#include <cstdlib>

namespace
{
void WriteOpener(const juce::File& folder, const std::string& name, const std::string& body)
{
    const juce::File script = folder.getChildFile(name);
    script.replaceWithText("#!/bin/sh\n" + body + "\n", false, false, "\n");
    script.setExecutePermission(true);
}
} // namespace

using PrintAndScale = WindowFixture;

TEST_F(PrintAndScale, PrintWritesTheWholePictureAndTheReportAndSaysWhereWithoutABrowser)
{
    ScopedPath path(temp.File("no-browser"));
    const CPrintReport::Outcome outcome = CPrintReport::Print();
    EXPECT_TRUE(outcome.written);
    EXPECT_FALSE(outcome.opened);
    EXPECT_EQ(outcome.report, temp.File(CPrintReport::kReportFile));
    EXPECT_NE(outcome.message.find("No web browser could be started"), std::string::npos) << outcome.message;
    EXPECT_NE(outcome.message.find(outcome.report.getFullPathName().toStdString()), std::string::npos);

    const juce::Image picture = juce::ImageFileFormat::loadFrom(temp.File(CPrintReport::kPictureFile));
    EXPECT_EQ(picture.getWidth(), CPrintReport::kPictureWidth);
    EXPECT_EQ(picture.getHeight(), CPrintReport::kPictureHeight);
    const std::string page = temp.Read(CPrintReport::kReportFile);
    EXPECT_NE(page.find("<h1>Untitled design</h1>"), std::string::npos);
    EXPECT_NE(page.find("data:image/png;base64,"), std::string::npos);
    EXPECT_TRUE(reported().empty());
}

TEST_F(PrintAndScale, APrintPictureThatCannotBeWrittenIsReported)
{
    ScopedPath path(temp.File("no-browser"));
    temp.File(CPrintReport::kPictureFile).createDirectory();
    reported().clear();
    const CPrintReport::Outcome outcome = CPrintReport::Print();
    EXPECT_FALSE(outcome.written);
    ASSERT_EQ(reported().size(), 1u);
    EXPECT_EQ(reported()[0].rfind("Error: Could not write picture ", 0), 0u) << reported()[0];
    EXPECT_NE(reported()[0].find("(it is a folder)"), std::string::npos) << reported()[0];
    EXPECT_TRUE(temp.File(CPrintReport::kPictureFile).isDirectory());
}

TEST_F(PrintAndScale, PrintHandsTheReportToTheFirstOpenerThatTakesIt)
{
    const juce::File bin = temp.File("bin");
    ScopedPath path(bin);
    const juce::File record = temp.File("opened.txt");
    // xdg-open finds no browser and says so by its status; the next opener takes the page.
    WriteOpener(bin, "xdg-open", "exit 3");
    WriteOpener(bin, "x-www-browser", "echo \"$1\" > '" + record.getFullPathName().toStdString() + "'");

    const CPrintReport::Outcome outcome = CPrintReport::Print();
    EXPECT_TRUE(outcome.opened);
    EXPECT_NE(outcome.message.find("open in your web browser"), std::string::npos) << outcome.message;
    ASSERT_TRUE(record.existsAsFile());
    EXPECT_EQ(record.loadFileAsString().trim(), juce::URL(outcome.report).toString(false));

    // An opener that is still busy after its grace time has handed the page on.
    record.deleteFile();
    WriteOpener(bin, "xdg-open", "exec /bin/sleep 3");
    EXPECT_TRUE(CPrintReport::OpenInBrowser(outcome.report));
    EXPECT_FALSE(record.existsAsFile()) << "the first opener took it";
}

TEST_F(PrintAndScale, TheInterfaceSizeIsKeptInTheSettingsWithinItsLimits)
{
    CXmlNode* value = CJuceManager::GetInstance()->GetSettingsRoot()->GetChild("UiScale")->GetChild(Tag::Value);
    struct Case
    {
        const char* stored;
        int remembered;
    };
    const Case cases[] = { { "150", 150 }, { "90", 100 }, { "250", 200 }, { "abc", 100 }, { "12.5", 100 }, { "", 100 } };
    for (const Case& c : cases)
    {
        value->SetString(c.stored);
        EXPECT_EQ(CUiScale::Remembered(), c.remembered) << "'" << c.stored << "'";
    }

    juce::ComboBox& choice = window->GetAboutPanel().GetScaleChoice();
    EXPECT_EQ(choice.getNumItems(), (int) CUiScale::kChoices.size());
    choice.setSelectedId(175, juce::sendNotificationSync);
    EXPECT_EQ(value->GetString(""), "175");
    EXPECT_FLOAT_EQ(juce::Desktop::getInstance().getGlobalScaleFactor(), 1.75f);
    EXPECT_EQ(CUiScale::Apply(300), 200);
    EXPECT_EQ(CUiScale::Apply(100), 100);
    EXPECT_FLOAT_EQ(juce::Desktop::getInstance().getGlobalScaleFactor(), 1.0f);
}
