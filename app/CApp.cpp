#include "app/CApp.h"

#include "app/CAppStartup.h"
#include "app/CAppWindow.h"
#include "ui/CUiScale.h"
#include "app/CJuceManager.h"
#include "base/CRunFolders.h"

CApp::CApp() = default;
CApp::~CApp() = default;

std::string CApp::StartupFileFromCommandLine(const std::string& commandLine)
{
    // The last character goes whatever it is, as the quoted form always ends in a quote.
    if (! commandLine.empty() && commandLine.front() == '"')
        return commandLine.size() >= 2 ? commandLine.substr(1, commandLine.size() - 2) : std::string();
    return commandLine;
}

void CApp::initialise(const juce::String& commandLine)
{
    // A start-up file named relative to where the program was started is found there.
    const std::string named = StartupFileFromCommandLine(commandLine.toStdString());
    const std::string startupFile = named.empty() ? named
        : juce::File::getCurrentWorkingDirectory().getChildFile(named).getFullPathName().toStdString();

    // Every data file is opened by relative name in the state folder; nothing has been
    // written yet, so a folder that cannot be used ends the program before anything is lost.
    const juce::Result folders = CRunFolders::Enter(CRunFolders::Choose(CRunFolders::Executable()));
    if (folders.failed())
    {
        juce::Logger::outputDebugString(folders.getErrorMessage());
        juce::AlertWindow::showMessageBox(juce::MessageBoxIconType::WarningIcon, "DRX Wizard cannot start",
                                          folders.getErrorMessage());
        quit();
        return;
    }

    // The window starts the core, which creates every singleton.
    mainWindow = std::make_unique<CAppWindow>(getApplicationName(), CUiScale::kWindowWidth, CUiScale::kWindowHeight);
    CJuceManager::GetInstance()->SetStartupFile(startupFile);

    // The start-up load is a command like any other, but it runs before the message loop,
    // where nothing catches for us: a reported failure (already logged and shown) must not
    // end the program.
    try
    {
        OpenStartupFile();
    }
    catch (const std::exception&)
    {
    }
}

void CApp::shutdown()
{
    mainWindow.reset();
}
