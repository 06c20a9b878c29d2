#pragma once
// The GUI error reporter: logs like its base and shows every report in a modal box
// titled "ZORV Warning". Installed once at start-up by InstallGuiReporter().

#include "base/CReportError.h"

class CJuceReportError : public CReportError
{
public:
    void ShowMessage(std::string message, bool fatal) override;
};

// Start-up step: from here on reports are shown as well as logged.
void InstallGuiReporter();
