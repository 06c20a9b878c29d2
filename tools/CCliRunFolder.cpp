#include "CCliRunFolder.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace
{
constexpr int kSignals[] = { SIGTERM, SIGHUP, SIGINT, SIGPIPE };

// The folder as the signal handler sees it: fixed before the handlers are installed.
char folderPath[4096] = {};
int folderFd = -1;

// The directory entries as the kernel gives them; a signal handler may not use readdir.
struct LinuxDirent
{
    unsigned long long inode;
    long long offset;
    unsigned short length;
    unsigned char type;
    char name[1];
};

// Empties the folder (the engine writes only plain files there, and its own temporary files
// while saving) and removes it, with async-signal-safe calls only.
void RemoveFolder()
{
    if (folderFd < 0)
        return;
    alignas(8) char buffer[8192];
    for (bool removed = true; removed;)
    {
        removed = false;
        ::lseek(folderFd, 0, SEEK_SET);
        long n = 0;
        while ((n = ::syscall(SYS_getdents64, folderFd, buffer, sizeof buffer)) > 0)
        {
            for (long at = 0; at < n;)
            {
                const LinuxDirent* entry = reinterpret_cast<const LinuxDirent*>(buffer + at);
                at += entry->length;
                const char* name = entry->name;
                if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
                    continue;
                if (::unlinkat(folderFd, name, 0) == 0 || ::unlinkat(folderFd, name, AT_REMOVEDIR) == 0)
                    removed = true;
            }
        }
    }
    ::close(folderFd);
    folderFd = -1;
    ::rmdir(folderPath);
}

void OnSignal(int signal)
{
    RemoveFolder();
    // Ends as the signal would have ended the run, so the caller sees the same status.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}
} // namespace

bool CCliRunFolder::Create(const std::string& parent, std::string& error)
{
    std::string pattern = (parent.empty() ? std::string("/tmp") : parent) + "/drxwizard-cli-XXXXXX";
    if (pattern.size() >= sizeof folderPath)
    {
        error = "the temporary directory's path is too long";
        return false;
    }
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (::mkdtemp(name.data()) == nullptr)
    {
        error = "cannot make a run directory in " + parent + " (" + std::strerror(errno) + ")";
        return false;
    }
    path = name.data();
    std::memcpy(folderPath, path.c_str(), path.size() + 1);
    folderFd = ::open(folderPath, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);

    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals)
        sigaddset(&action.sa_mask, signal);
    for (int signal : kSignals)
    {
        struct sigaction previous {};
        // A signal the caller had ignored (nohup, a shell's background job) stays ignored.
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN)
            continue;
        ::sigaction(signal, &action, nullptr);
    }
    return true;
}

void CCliRunFolder::Remove()
{
    for (int signal : kSignals)
    {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == OnSignal)
            ::signal(signal, SIG_DFL);
    }
    RemoveFolder();
    path.clear();
}
