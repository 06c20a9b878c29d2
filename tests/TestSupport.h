#pragma once
// Shared test helpers: a fresh working directory per test, and reading files back.

#include <juce_core/juce_core.h>

#include <string>

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
