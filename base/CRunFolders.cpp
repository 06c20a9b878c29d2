#include "base/CRunFolders.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace
{
CRunFolders::Layout entered;
bool hasEntered = false;

// An XDG base directory: the variable when it holds an absolute path, else HOME's default.
juce::File XdgFolder(const char* variable, const char* homeDefault)
{
    const juce::String value = juce::SystemStats::getEnvironmentVariable(variable, {});
    if (juce::File::isAbsolutePath(value))
        return juce::File(value);
    return juce::File::getSpecialLocation(juce::File::userHomeDirectory).getChildFile(homeDefault);
}

// 0 when the folder can be written, else the system's error. JUCE answers yes for root
// whatever the folder; the system also knows read-only mounts.
int WriteError(const juce::File& folder)
{
    return ::access(folder.getFullPathName().toRawUTF8(), W_OK) == 0 ? 0 : errno;
}

juce::Result MakeWritable(const juce::File& folder, const juce::String& purpose)
{
    // The system's "File exists" says little when a file stands where a parent folder should be.
    juce::File existing = folder;
    while (! existing.exists() && existing != existing.getParentDirectory())
        existing = existing.getParentDirectory();
    if (! existing.isDirectory())
        return juce::Result::fail("Cannot create the folder for " + purpose + " " + folder.getFullPathName()
                                  + ": " + existing.getFullPathName() + " is a file, not a folder");

    const juce::Result made = folder.createDirectory();
    if (made.failed())
        return juce::Result::fail("Cannot create the folder for " + purpose + " " + folder.getFullPathName()
                                  + ": " + made.getErrorMessage());
    if (const int error = WriteError(folder))
        return juce::Result::fail("Cannot write in the folder for " + purpose + " " + folder.getFullPathName()
                                  + ": " + juce::String(std::strerror(error)));
    return juce::Result::ok();
}
} // namespace

//==============================================================================
juce::File CRunFolders::Executable()
{
    return juce::File::getSpecialLocation(juce::File::hostApplicationPath);
}

CRunFolders::Layout CRunFolders::Choose(const juce::File& executable)
{
    const juce::File folder = executable.getParentDirectory();
    const juce::File share = folder.getParentDirectory().getChildFile("share").getChildFile(kShareName);
    const bool inPrefix = folder.getFileName() == "bin" && share.isDirectory();

    Layout layout;
    layout.installed = inPrefix || WriteError(folder) != 0;
    if (! layout.installed)
    {
        layout.settings = layout.state = layout.data = folder;
        return layout;
    }
    layout.settings = XdgFolder("XDG_CONFIG_HOME", ".config").getChildFile(kFolderName);
    layout.state = XdgFolder("XDG_STATE_HOME", ".local/state").getChildFile(kFolderName);
    layout.data = share.isDirectory() ? share : folder;
    return layout;
}

juce::Result CRunFolders::Enter(const Layout& layout)
{
    for (const auto& [folder, purpose] : { std::pair<juce::File, const char*> { layout.settings, "settings" },
                                           std::pair<juce::File, const char*> { layout.state, "the log and records" } })
    {
        const juce::Result usable = MakeWritable(folder, purpose);
        if (usable.failed())
            return usable;
    }

    // The page shows the picture by relative name, so it has to sit beside it.
    const juce::File page = layout.data.getChildFile(kPrintPage);
    if (layout.installed && page.existsAsFile())
        page.copyFileTo(layout.state.getChildFile(kPrintPage));

    if (! layout.state.setAsCurrentWorkingDirectory())
        return juce::Result::fail("Cannot enter the folder for the log and records " + layout.state.getFullPathName());
    entered = layout;
    hasEntered = true;
    return juce::Result::ok();
}

//==============================================================================
std::string CRunFolders::SettingsFile(const std::string& name)
{
    if (! hasEntered)
        return name;
    return entered.settings.getChildFile(name).getFullPathName().toStdString();
}

juce::File CRunFolders::DataFolder()
{
    if (hasEntered)
        return entered.data;
    return Executable().getParentDirectory();
}
