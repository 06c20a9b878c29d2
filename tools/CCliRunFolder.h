#pragma once
// The run folder the tool makes for itself when none is given: a fresh folder of an
// unpredictable name under the temporary directory, made exclusively (two runs started
// together never share one, and a name planted in advance is never used), and removed when
// the run ends, also when it is ended by SIGTERM, SIGHUP, SIGINT or SIGPIPE (a report read by
// `head`). One per process.

#include <string>

class CCliRunFolder
{
public:
    // Makes the folder under `parent`; false with `error` saying why.
    bool Create(const std::string& parent, std::string& error);
    const std::string& Path() const { return path; }
    // Removes the folder with the files the run left in it.
    void Remove();

private:
    std::string path;
};
