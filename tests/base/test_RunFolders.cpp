#include "TestSupport.h"
#include "base/CRunFolders.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <unistd.h>

namespace
{
// Each test gets its own home and restores the variables the folders are read from.
class RunFoldersTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : kVariables)
            if (const char* value = std::getenv(name))
                saved.emplace_back(name, value);
        Set("HOME", Home().getFullPathName().toStdString());
        Set("XDG_CONFIG_HOME", std::nullopt);
        Set("XDG_STATE_HOME", std::nullopt);
    }

    void TearDown() override
    {
        for (const char* name : kVariables)
            ::unsetenv(name);
        for (const auto& [name, value] : saved)
            ::setenv(name.c_str(), value.c_str(), 1);
    }

    static void Set(const char* name, const std::optional<std::string>& value)
    {
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }

    // An executable at `relative` under the test's directory, with its folder made.
    juce::File Executable(const std::string& relative) const
    {
        const juce::File exe = dir.File(relative);
        exe.getParentDirectory().createDirectory();
        return exe;
    }

    juce::File Home() const { return dir.File("home"); }

    static constexpr const char* kVariables[] = { "HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME" };
    ScopedTempDirectory dir;
    std::vector<std::pair<std::string, std::string>> saved;
};
} // namespace

TEST_F(RunFoldersTest, AWizardOutsideAnInstallKeepsEverythingBesideItself)
{
    for (const char* where : { "build/bin/DRXWizard", "opt/wizard/DRXWizard", "bin/DRXWizard" })
    {
        const juce::File exe = Executable(where);
        const CRunFolders::Layout layout = CRunFolders::Choose(exe);
        EXPECT_FALSE(layout.installed) << where;
        EXPECT_EQ(layout.settings, exe.getParentDirectory()) << where;
        EXPECT_EQ(layout.state, exe.getParentDirectory()) << where;
        EXPECT_EQ(layout.data, exe.getParentDirectory()) << where;
    }
}

TEST_F(RunFoldersTest, AnInstalledWizardUsesTheXdgFoldersAndTheSharedData)
{
    const juce::File exe = Executable("usr/bin/DRXWizard");
    const juce::File share = dir.File("usr/share/drxwizard");
    share.createDirectory();

    struct Case { const char* what; std::optional<std::string> config; std::optional<std::string> state;
                  juce::File settings; juce::File records; };
    const juce::File config = dir.File("cfg"), state = dir.File("st");
    const Case cases[] = {
        { "both set", config.getFullPathName().toStdString(), state.getFullPathName().toStdString(),
          config.getChildFile("DRXWizard"), state.getChildFile("DRXWizard") },
        { "unset", std::nullopt, std::nullopt,
          Home().getChildFile(".config/DRXWizard"), Home().getChildFile(".local/state/DRXWizard") },
        { "empty", "", "", Home().getChildFile(".config/DRXWizard"), Home().getChildFile(".local/state/DRXWizard") },
        { "relative, which the standard says to ignore", "cfg", "st",
          Home().getChildFile(".config/DRXWizard"), Home().getChildFile(".local/state/DRXWizard") },
        { "only the state set", std::nullopt, state.getFullPathName().toStdString(),
          Home().getChildFile(".config/DRXWizard"), state.getChildFile("DRXWizard") },
    };
    for (const Case& c : cases)
    {
        Set("XDG_CONFIG_HOME", c.config);
        Set("XDG_STATE_HOME", c.state);
        const CRunFolders::Layout layout = CRunFolders::Choose(exe);
        EXPECT_TRUE(layout.installed) << c.what;
        EXPECT_EQ(layout.settings, c.settings) << c.what;
        EXPECT_EQ(layout.state, c.records) << c.what;
        EXPECT_EQ(layout.data, share) << c.what;
    }
}

TEST_F(RunFoldersTest, FoldersItCannotWriteAreNeitherARunFolderNorEntered)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes in any folder";
    const juce::File exe = Executable("ro/DRXWizard");
    ASSERT_TRUE(exe.getParentDirectory().setReadOnly(true));
    const CRunFolders::Layout layout = CRunFolders::Choose(exe);
    CRunFolders::Layout blocked = layout;
    blocked.state = exe.getParentDirectory();
    const juce::Result entered = CRunFolders::Enter(blocked);
    exe.getParentDirectory().setReadOnly(false);

    EXPECT_TRUE(layout.installed);
    EXPECT_EQ(layout.settings, Home().getChildFile(".config/DRXWizard"));
    EXPECT_EQ(layout.data, exe.getParentDirectory()) << "no share folder: the data stays beside it";
    ASSERT_TRUE(entered.failed());
    EXPECT_EQ(entered.getErrorMessage(), "Cannot write in the folder for the log and records "
                                             + exe.getParentDirectory().getFullPathName() + ": Permission denied");
    EXPECT_EQ(CRunFolders::SettingsFile("Settings.xml"), "Settings.xml");
}

TEST_F(RunFoldersTest, AFolderThatCannotBeMadeIsNamedAndChangesNothing)
{
    const juce::File blocker = dir.File("blocker");
    ASSERT_TRUE(blocker.replaceWithText("a plain file where a folder should be"));
    CRunFolders::Layout layout;
    layout.installed = true;
    layout.settings = dir.File("config/DRXWizard");
    layout.state = blocker.getChildFile("DRXWizard");
    layout.data = dir.File("share");

    const juce::File before = juce::File::getCurrentWorkingDirectory();
    const juce::Result entered = CRunFolders::Enter(layout);
    ASSERT_TRUE(entered.failed());
    EXPECT_TRUE(entered.getErrorMessage().contains(layout.state.getFullPathName())) << entered.getErrorMessage();
    EXPECT_TRUE(entered.getErrorMessage().contains("log and records")) << entered.getErrorMessage();
    EXPECT_TRUE(entered.getErrorMessage().endsWith(blocker.getFullPathName() + " is a file, not a folder"))
        << entered.getErrorMessage();
    EXPECT_EQ(juce::File::getCurrentWorkingDirectory(), before);
    EXPECT_EQ(CRunFolders::SettingsFile("Settings.xml"), "Settings.xml");
}
