#include "ui/CStartupUpdateCheck.h"

namespace
{
// A cancelled fetch returns within about a second; this bounds the wait at close.
constexpr int kStopTimeoutMs = 3000;
} // namespace

CStartupUpdateCheck::CStartupUpdateCheck(juce::Label& versionLabel, juce::TextButton& updateButton)
    : juce::Thread("Update check"), label(versionLabel), button(updateButton), url(CUpdateCheck::ServiceUrl())
{
    CUpdateCheck::ShowVersion(label, button, false);
    startThread();
}

CStartupUpdateCheck::~CStartupUpdateCheck()
{
    fetcher.Cancel();
    stopThread(kStopTimeoutMs);
    cancelPendingUpdate();
}

void CStartupUpdateCheck::run()
{
    newer = CUpdateCheck::Interpret(fetcher.Fetch(url)).outcome == CUpdateCheck::Outcome::Newer;
    triggerAsyncUpdate();
}

void CStartupUpdateCheck::handleAsyncUpdate()
{
    if (newer)
        CUpdateCheck::ShowVersion(label, button, true);
    finished = true;
}
