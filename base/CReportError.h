#pragma once
// The error reporter: appends every report to "LogFile.txt" in the run directory (a regular
// file, never reached through a link) and,
// once the GUI reporter is installed, shows it in a modal box. Fatal reports then throw
// std::runtime_error, which abandons the current command at the event boundary.

#include "base/TemplateSingleton.h"

#include <string>

class CReportError : public TemplateSingleton<CReportError>
{
public:
    CReportError();

    virtual void ReportError(std::string message);
    [[noreturn]] virtual void ReportFatalError(std::string message);
    virtual void LogMessage(std::string message);
    virtual void ShowMessage(std::string message, bool fatal);
    virtual void SetLogFileName(std::string name);
    virtual std::string GetLogFileName();
    virtual void StartLog();
    virtual ~CReportError() = default;
    virtual void WriteLine(std::string message);

    // Makes `reporter` the process-wide instance, deleting the previous one.
    static void Replace(CReportError* reporter);

private:
    std::string logFileName;
    // The log is a link or not a regular file: nothing is written to it.
    bool logRefused = false;
};

// Lets a headless program (command-line tool, tests) see every report as it is made.
void SetReportObserver(void (*observer)(const std::string& message));
