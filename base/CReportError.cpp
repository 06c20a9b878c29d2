#include "base/CReportError.h"

#include <ctime>
#include <fstream>
#include <stdexcept>

namespace
{
void (*reportObserver)(const std::string&) = nullptr;
}

void ReportSingletonAllocationFailure(const std::string& typeName)
{
    // The reporter's own accessor cannot report its own failure.
    if (CReportError* reporter = CReportError::GetInstance())
        reporter->ReportFatalError("Error: Not enough memory to allocate singleton for " + typeName);
}

void SetReportObserver(void (*observer)(const std::string& message))
{
    reportObserver = observer;
}

CReportError::CReportError()
{
    SetLogFileName("LogFile.txt");
    StartLog();
}

void CReportError::ReportError(std::string message)
{
    WriteLine(message);
    if (reportObserver != nullptr)
        reportObserver(message);
    ShowMessage(message, false);
}

void CReportError::ReportFatalError(std::string message)
{
    WriteLine(message);
    if (reportObserver != nullptr)
        reportObserver(message);
    ShowMessage(message, true);
    throw std::runtime_error(message);
}

void CReportError::LogMessage(std::string message)
{
    WriteLine(message);
}

void CReportError::ShowMessage(std::string, bool) {}

void CReportError::SetLogFileName(std::string name)
{
    logFileName = name;
}

std::string CReportError::GetLogFileName()
{
    return logFileName;
}

void CReportError::StartLog()
{
    {
        std::ofstream truncate(GetLogFileName(), std::ios::out);
    }

    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char buffer[100] = {};
    std::strftime(buffer, sizeof(buffer), "Time Stamp: %m/%d/%Y %I:%M:%S%p.\n", &local);
    WriteLine(buffer);
}

void CReportError::WriteLine(std::string message)
{
    std::ofstream out(GetLogFileName(), std::ios::out | std::ios::app);
    if (! out)
        return;
    out << message << '\n';
    out.flush();
}

void CReportError::Replace(CReportError* reporter)
{
    CReportError*& instance = InstancePointer();
    if (instance != nullptr && instance != reporter)
        delete instance;
    instance = reporter;
}
