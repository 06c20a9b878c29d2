#pragma once
// The tool's outcome and its exit status, decided in one place: every message the error
// reporter sees is printed on standard error as "error: <message>" and makes the status 1.

#include <string>

class CCliStatus
{
public:
    enum ExitStatus { kSuccess = 0, kReportedError = 1, kUsageError = 2 };

    // Routes the reporter's messages here (SetReportObserver); Uninstall stops it.
    static void Install();
    static void Uninstall();

    // Prints `message` and marks the run as failed (for failures outside the reporter).
    static void Fail(const std::string& message);
    // Prints "note: <message>": the run did something the caller may not expect; the status
    // stays as it is.
    static void Note(const std::string& message);
    // True when `message` is the last one printed, so a caught exception of a fatal
    // report is not printed a second time.
    static bool WasLastPrinted(const std::string& message);

    static ExitStatus GetExitStatus();
    // How many messages have been printed so far, to tell whether a step reported one.
    static int GetReportCount();

private:
    static void Observe(const std::string& message);
};
