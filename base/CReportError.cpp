#include "base/CReportError.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <iostream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
void (*reportObserver)(const std::string&) = nullptr;

// The log in the run folder, opened as the other run-folder files are written: never through
// a link (a planted one would have the log overwrite its target) and never a FIFO or device
// (a FIFO blocks the program for ever). -1 with `why` set when it cannot be used.
int OpenLog(const std::string& name, bool truncate, std::string& why)
{
    // Looked at first, for the reason: opening a FIFO without a reader fails as "no such device".
    struct stat seen {};
    if (::lstat(name.c_str(), &seen) == 0 && ! S_ISREG(seen.st_mode))
    {
        why = S_ISLNK(seen.st_mode) ? "it is a symbolic link" : "it is not a regular file";
        return -1;
    }
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
    {
        why = errno == ELOOP ? "it is a symbolic link" : std::strerror(errno);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || ! S_ISREG(info.st_mode) || (truncate && ::ftruncate(fd, 0) != 0))
    {
        why = S_ISREG(info.st_mode) ? std::strerror(errno) : "it is not a regular file";
        ::close(fd);
        return -1;
    }
    return fd;
}
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
    std::string why;
    const int fd = OpenLog(GetLogFileName(), true, why);
    if (fd < 0)
    {
        // Said once, where it can be seen; the reports themselves still reach the observer
        // and the window.
        std::cerr << "warning: the log " << GetLogFileName() << " is not written: " << why << std::endl;
        logRefused = true;
        return;
    }
    ::close(fd);
    logRefused = false;

    std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    char buffer[100] = {};
    std::strftime(buffer, sizeof(buffer), "Time Stamp: %m/%d/%Y %I:%M:%S%p.\n", &local);
    WriteLine(buffer);
}

void CReportError::WriteLine(std::string message)
{
    if (logRefused)
        return;
    std::string why;
    const int fd = OpenLog(GetLogFileName(), false, why);
    if (fd < 0)
        return;
    message += '\n';
    size_t done = 0;
    while (done < message.size())
    {
        const ssize_t n = ::write(fd, message.data() + done, message.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        done += (size_t) n;
    }
    ::close(fd);
}

void CReportError::Replace(CReportError* reporter)
{
    CReportError*& instance = InstancePointer();
    if (instance != nullptr && instance != reporter)
        delete instance;
    instance = reporter;
}
