#include "app/CJuceReportError.h"

#include <juce_gui_basics/juce_gui_basics.h>

void CJuceReportError::ShowMessage(std::string message, bool)
{
    juce::AlertWindow::showMessageBox(juce::AlertWindow::NoIcon, "ZORV Warning", juce::String(message));
}

void InstallGuiReporter()
{
    auto* reporter = new CJuceReportError();
    CReportError::Replace(reporter);
    reporter->LogMessage("ZORV log file:");
}
