#pragma once
// The window's Print: writes the whole venue picture as "PrintOutput.png" (which the
// classic print page "DRXWizard_Print_Page.html" shows) and the design report as
// "DRXWizard_Report.html" in the run directory, or in the temporary folder when that cannot
// be written, then opens the report in the default web browser. Static operations only;
// GUI message thread only.

#include "engine/CSubAlignment.h"

#include <juce_core/juce_core.h>

#include <optional>
#include <string>

class CPrintReport
{
public:
    static constexpr const char* kPictureFile = "PrintOutput.png";
    static constexpr const char* kReportFile = "DRXWizard_Report.html";
    // The whole venue picture, in pixels.
    static constexpr int kPictureWidth = 1500;
    static constexpr int kPictureHeight = 800;

    struct Outcome
    {
        bool written = false;
        bool opened = false;
        juce::File report;
        // What to tell the user: where the report is and whether a browser shows it.
        std::string message;
    };

    // Writes both files and tries the browser; the picture and the report's coverage
    // suggestion are in the view shown (the picture with the field map while it is shown).
    // A write failure is reported through the error reporter and also comes back in the
    // outcome. `alignment`, the subwoofer alignment last applied, gets its section while
    // the design still has its settings.
    static Outcome Print(const std::optional<CSubAlignment>& alignment = std::nullopt);
    // Print, then a box that says what happened.
    static void PrintAndTell(const std::optional<CSubAlignment>& alignment = std::nullopt);

    // Starts the first web-page opener found on the PATH ("xdg-open", "x-www-browser",
    // "sensible-browser") on `page`; false when there is none or it gives up at once.
    static bool OpenInBrowser(const juce::File& page);

private:
    static bool WritePicture(const juce::File& target, std::string& error);
};
