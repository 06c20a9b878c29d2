#pragma once
// The silent update check of the main window: shows the version at once, asks the update
// service on its own thread so the window opens and works meanwhile, and marks the version
// label and the Update button when a newer wizard exists. An unreachable service or any
// other answer changes nothing and shows nothing. Owned by the main window, created and
// destroyed on the message thread; destruction cancels a fetch still in progress.

#include "ui/CUpdateCheck.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <string>

class CStartupUpdateCheck : private juce::Thread, private juce::AsyncUpdater
{
public:
    // The label and the button must outlive this check.
    CStartupUpdateCheck(juce::Label& versionLabel, juce::TextButton& updateButton);
    ~CStartupUpdateCheck() override;

    // True once the answer has been shown (or found to need no change).
    bool IsFinished() const { return finished; }

private:
    void run() override;
    void handleAsyncUpdate() override;

    juce::Label& label;
    juce::TextButton& button;
    const std::string url;
    CUpdateCheck::Fetcher fetcher;
    std::atomic<bool> newer { false };
    bool finished = false;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CStartupUpdateCheck)
};
