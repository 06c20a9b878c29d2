#pragma once
// Shared test helpers: a fresh working directory per test, and reading files back.

#include <juce_core/juce_core.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

// The whole test process runs in a folder of its own, made with a unique name, which is
// also its TMPDIR: tests run side by side by CTest, each in its own process, then never
// meet in a file, whatever name they write by or whichever temporary file they make.
// Removed with everything in it at the end of the process.
class ScopedProcessFolder
{
public:
    ScopedProcessFolder()
    {
        const char* parent = std::getenv("TMPDIR");
        std::string pattern = std::string(parent != nullptr && *parent == '/' ? parent : "/tmp") + "/drx-test-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr || ::chdir(pattern.c_str()) != 0)
        {
            std::perror(("cannot make or enter a temporary folder " + pattern).c_str());
            std::exit(2);
        }
        folder = pattern;
        ::setenv("TMPDIR", folder.c_str(), 1);
    }

    ~ScopedProcessFolder()
    {
        juce::File(folder).getParentDirectory().setAsCurrentWorkingDirectory();
        juce::File(folder).deleteRecursively();
    }

    ScopedProcessFolder(const ScopedProcessFolder&) = delete;
    ScopedProcessFolder& operator=(const ScopedProcessFolder&) = delete;

private:
    std::string folder;
};

// Makes a fresh temporary directory the current directory for the scope of a test, so
// that files opened by relative name land there; removes it afterwards.
class ScopedTempDirectory
{
public:
    ScopedTempDirectory()
        : previous(juce::File::getCurrentWorkingDirectory()),
          dir(juce::File::getSpecialLocation(juce::File::tempDirectory)
                  .getNonexistentChildFile("drx-test", "", false))
    {
        dir.createDirectory();
        dir.setAsCurrentWorkingDirectory();
    }

    ~ScopedTempDirectory()
    {
        previous.setAsCurrentWorkingDirectory();
        dir.deleteRecursively();
    }

    juce::File File(const std::string& name) const { return dir.getChildFile(name); }
    std::string Read(const std::string& name) const { return File(name).loadFileAsString().toStdString(); }
    void Write(const std::string& name, const std::string& text) const { File(name).replaceWithText(text); }
    std::string Path() const { return dir.getFullPathName().toStdString(); }

private:
    juce::File previous;
    juce::File dir;
};
