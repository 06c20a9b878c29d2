#pragma once
// Where the wizard keeps its files. Files are opened by plain name in the current directory,
// the state folder; settings files go through SettingsFile(). A wizard run from its build
// tree keeps everything beside its executable. An installed one (its executable in the
// bin/ of a prefix with share/drxwizard, or in a folder it cannot write) keeps its settings
// in $XDG_CONFIG_HOME/DRXWizard, its log and record files in $XDG_STATE_HOME/DRXWizard and
// reads shipped data from share/drxwizard. Until Enter() runs (command-line tool, tests),
// every file stays in the current directory. Static operations; message thread only.

#include <juce_core/juce_core.h>

#include <string>

class CRunFolders
{
public:
    struct Layout
    {
        juce::File settings;
        juce::File state;
        juce::File data;
        bool installed = false;
    };

    static constexpr const char* kFolderName = "DRXWizard";
    static constexpr const char* kShareName = "drxwizard";
    static constexpr const char* kSamplesName = "samples";
    // Shipped beside the print picture, which is written into the state folder.
    static constexpr const char* kPrintPage = "DRXWizard_Print_Page.html";

    //==========================================================================
    // The running program's file, however it was started (JUCE's executable file is the
    // command's name taken from the current directory, wrong for a program found on the PATH).
    static juce::File Executable();
    // The layout for a wizard at `executable`, reading XDG_CONFIG_HOME, XDG_STATE_HOME and
    // HOME from the environment (unset, empty or relative XDG variables take their defaults).
    static Layout Choose(const juce::File& executable);
    // Creates the folders, refreshes the print page in the state folder of an installed
    // wizard and makes the state folder current. A failure names the folder and the reason;
    // the current directory and the settings paths then stay as they were.
    static juce::Result Enter(const Layout& layout);

    //==========================================================================
    // The path to open a settings file by: its plain name until Enter() chose a folder.
    static std::string SettingsFile(const std::string& name);
    // The shipped data: share/drxwizard of an install, else the executable's folder.
    static juce::File DataFolder();
    // The sample designs shipped in the data folder.
    static juce::File SamplesFolder() { return DataFolder().getChildFile(kSamplesName); }
};
