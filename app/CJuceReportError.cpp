#include "app/CJuceReportError.h"

#include <juce_gui_basics/juce_gui_basics.h>

void CJuceReportError::ShowMessage(std::string message, bool)
{
    juce::AlertWindow::showMessageBox(juce::AlertWindow::NoIcon, "ZORV Warning", juce::String(message));
    // What the box covered is drawn again now: a loaded X server has been seen not to tell
    // the window below, leaving the box's picture on it.
    juce::Desktop& desktop = juce::Desktop::getInstance();
    for (int i = 0; i < desktop.getNumComponents(); ++i)
        desktop.getComponent(i)->repaint();
}

void InstallGuiReporter()
{
    auto* reporter = new CJuceReportError();
    CReportError::Replace(reporter);
    reporter->LogMessage("ZORV log file:");
}
