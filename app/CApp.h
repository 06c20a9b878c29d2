#pragma once
// The application object: takes the start-up file from the command line, enters the run
// folders (the state folder becomes current) and opens the one document window.

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <string>

class CAppWindow;

class CApp : public juce::JUCEApplication
{
public:
    CApp();
    ~CApp() override;

    const juce::String getApplicationName() override { return "  DRX Wizard"; }
    const juce::String getApplicationVersion() override { return "1.0.0.0"; }

    void initialise(const juce::String& commandLine) override;
    void shutdown() override;

    // A reported error has already been logged and shown; the event is abandoned and the
    // program goes on.
    void unhandledException(const std::exception*, const juce::String&, int) override {}

    // The start-up file named by a command line: surrounding double quotes dropped.
    static std::string StartupFileFromCommandLine(const std::string& commandLine);

private:
    std::unique_ptr<CAppWindow> mainWindow;
};
