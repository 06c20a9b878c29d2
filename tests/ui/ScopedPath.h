#pragma once
// PATH holds only `folder` while it lives, so the programs found (web-page openers) are
// the test's own.

#include <juce_core/juce_core.h>

#include <cstdlib>

class ScopedPath
{
public:
    explicit ScopedPath(const juce::File& folder) : previous(juce::SystemStats::getEnvironmentVariable("PATH", ""))
    {
        folder.createDirectory();
        setenv("PATH", folder.getFullPathName().toRawUTF8(), 1);
    }
    ~ScopedPath() { setenv("PATH", previous.toRawUTF8(), 1); }

private:
    juce::String previous;
};
