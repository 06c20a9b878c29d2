#include "xml/SafeFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
std::string Reason(int error)
{
    return std::strerror(error);
}

// What a path that is not a regular file is, for the message.
std::string KindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISLNK(mode))
        return "a symbolic link";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    return "not a regular file";
}

std::string NotRegular(mode_t mode)
{
    const std::string kind = KindOf(mode);
    return kind == "not a regular file" ? "is " + kind : "is not a regular file (it is " + kind + ")";
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int descriptor) : fd(descriptor) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int Get() const { return fd; }
    bool Close()
    {
        if (fd < 0)
            return true;
        const bool ok = ::close(fd) == 0;
        fd = -1;
        return ok;
    }

private:
    int fd;
};

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A short random name, so that the temporary file fits wherever the target's name fits.
std::string TemporaryName(const std::string& folder)
{
    static std::mt19937 generator { std::random_device {}() };
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::uniform_int_distribution<size_t> pick(0, sizeof kLetters - 2);
    std::string name = folder + "/.drx";
    for (int i = 0; i < 6; ++i)
        name += kLetters[pick(generator)];
    return name;
}

bool WriteAll(int fd, const std::string& content, std::string& error)
{
    size_t done = 0;
    while (done < content.size())
    {
        const ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
        {
            error = "cannot be written (" + Reason(n < 0 ? errno : ENOSPC) + ")";
            return false;
        }
        done += (size_t) n;
    }
    return true;
}
} // namespace

bool SafeFile::ReadRegularFile(const std::string& path, std::string& content, std::string& error)
{
    // The type is checked before opening: opening a FIFO blocks and opening a device may
    // act on it. The descriptor is checked again, in case the path changed meanwhile.
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0)
    {
        error = "cannot be opened (" + Reason(errno) + ")";
        return false;
    }
    if (! S_ISREG(before.st_mode))
    {
        error = NotRegular(before.st_mode);
        return false;
    }

    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    if (file.Get() < 0 || ::fstat(file.Get(), &opened) != 0)
    {
        error = "cannot be opened (" + Reason(errno) + ")";
        return false;
    }
    if (! S_ISREG(opened.st_mode))
    {
        error = NotRegular(opened.st_mode);
        return false;
    }
    const std::string tooLarge = "is larger than " + std::to_string(kMaxReadBytes / (1024 * 1024)) + " MB";
    if ((unsigned long long) opened.st_size > kMaxReadBytes)
    {
        error = tooLarge;
        return false;
    }

    std::string data;
    data.reserve((size_t) opened.st_size);
    char buffer[65536];
    while (true)
    {
        const ssize_t n = ::read(file.Get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
        {
            error = "cannot be read (" + Reason(errno) + ")";
            return false;
        }
        if (n == 0)
            break;
        // The file may have grown since it was measured.
        if (data.size() + (size_t) n > kMaxReadBytes)
        {
            error = tooLarge;
            return false;
        }
        data.append(buffer, (size_t) n);
    }
    content.swap(data);
    return true;
}

bool SafeFile::WriteFileAtomically(const std::string& path, const std::string& content, std::string& error)
{
    if (path.empty())
    {
        error = "no file name";
        return false;
    }
    struct stat existing {};
    const bool exists = ::lstat(path.c_str(), &existing) == 0;
    if (! exists && errno != ENOENT)
    {
        error = "cannot be replaced (" + Reason(errno) + ")";
        return false;
    }
    // The rename would replace a link, a FIFO or a device node by a plain file.
    if (exists && ! S_ISREG(existing.st_mode))
    {
        error = NotRegular(existing.st_mode);
        return false;
    }

    const std::string folder = FolderOf(path);
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt)
    {
        temporary = TemporaryName(folder);
        // Exclusive creation never opens what someone else put at that name, link or not.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0)
    {
        error = "cannot be written: no temporary file in " + folder + " (" + Reason(errno) + ")";
        return false;
    }
    FileDescriptor file(fd);

    bool ok = true;
    if (exists && ::fchmod(fd, existing.st_mode & 07777) != 0)
    {
        error = "cannot keep its permissions (" + Reason(errno) + ")";
        ok = false;
    }
    ok = ok && WriteAll(fd, content, error);
    if (ok && ::fsync(fd) != 0)
    {
        error = "cannot be written (" + Reason(errno) + ")";
        ok = false;
    }
    if (! file.Close() && ok)
    {
        error = "cannot be written (" + Reason(errno) + ")";
        ok = false;
    }
    if (ok && ::rename(temporary.c_str(), path.c_str()) != 0)
    {
        error = "cannot be replaced (" + Reason(errno) + ")";
        ok = false;
    }
    if (! ok)
    {
        ::unlink(temporary.c_str());
        return false;
    }

    // The new name reaches the disk with the folder.
    FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.Get() >= 0)
        ::fsync(directory.Get());
    return true;
}
