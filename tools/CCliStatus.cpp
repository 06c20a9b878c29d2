#include "CCliStatus.h"

#include "base/CReportError.h"

#include <iostream>

namespace
{
bool failed = false;
int reports = 0;
std::string lastPrinted;
}

void CCliStatus::Install()
{
    SetReportObserver(&CCliStatus::Observe);
}

void CCliStatus::Uninstall()
{
    SetReportObserver(nullptr);
}

void CCliStatus::Fail(const std::string& message)
{
    Observe(message);
}

void CCliStatus::Note(const std::string& message)
{
    std::cerr << "note: " << message << std::endl;
}

bool CCliStatus::WasLastPrinted(const std::string& message)
{
    return failed && message == lastPrinted;
}

CCliStatus::ExitStatus CCliStatus::GetExitStatus()
{
    return failed ? kReportedError : kSuccess;
}

int CCliStatus::GetReportCount()
{
    return reports;
}

void CCliStatus::Observe(const std::string& message)
{
    failed = true;
    ++reports;
    lastPrinted = message;
    std::cerr << "error: " << message << std::endl;
}
