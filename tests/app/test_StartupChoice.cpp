#include "TestSupport.h"

#include "app/CAppStartup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class StartupChoice : public ::testing::Test
{
protected:
    std::string Documents() const { return dir.File("Documents").getFullPathName().toStdString(); }
    std::string Kesta(const std::string& name) const
    {
        return dir.File("Documents").getChildFile("Kesta").getChildFile(name).getFullPathName().toStdString();
    }
    void Make(const std::string& path) const
    {
        juce::File(path).getParentDirectory().createDirectory();
        juce::File(path).replaceWithText("<Root/>");
    }
    std::string Elsewhere(const std::string& name) const { return dir.File(name).getFullPathName().toStdString(); }

    ScopedTempDirectory dir;
};
} // namespace

TEST_F(StartupChoice, CommandLineThenRememberedThenDefaultThenBuiltIn)
{
    const std::string remembered = Elsewhere("last.21w");
    Make(remembered);
    Make(Kesta("Default.21w"));

    EXPECT_EQ(ChooseStartupFile("/given/on/command/line.21v", remembered, Documents()), "/given/on/command/line.21v");
    EXPECT_EQ(ChooseStartupFile("", remembered, Documents()), remembered);
    EXPECT_EQ(ChooseStartupFile("", Elsewhere("deleted-since.21w"), Documents()), Kesta("Default.21w"))
        << "a remembered file that is gone gives way to the default design";
    EXPECT_EQ(ChooseStartupFile("", "", Documents()), Kesta("Default.21w"));
    EXPECT_EQ(ChooseStartupFile("", "relative.21w", Documents()), Kesta("Default.21w"));

    juce::File(Kesta("Default.21w")).deleteFile();
    EXPECT_EQ(ChooseStartupFile("", "", Documents()), "") << "no default design: the built-in array stays";
}

TEST_F(StartupChoice, TheDefaultDesignIsFoundWhateverTheCaseOfItsName)
{
    struct Case { std::vector<std::string> files; std::string chosen; };
    const Case cases[] = {
        { { "default.21w" }, "default.21w" },
        { { "DEFAULT.21W" }, "DEFAULT.21W" },
        { { "Default.21W", "other.21w" }, "Default.21W" },
        { { "default.21w", "Default.21w" }, "Default.21w" },
        { { "default.21w.bak", "my default.21w", "Default.21v" }, "" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.chosen);
        juce::File(Kesta("")).deleteRecursively();
        for (const std::string& name : c.files)
            Make(Kesta(name));
        EXPECT_EQ(ChooseStartupFile("", "", Documents()), c.chosen.empty() ? "" : Kesta(c.chosen));
    }

    // A folder by that name is no design.
    juce::File(Kesta("")).deleteRecursively();
    juce::File(Kesta("default.21w")).createDirectory();
    EXPECT_EQ(ChooseStartupFile("", "", Documents()), "");
}
