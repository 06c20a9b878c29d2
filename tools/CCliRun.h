#pragma once
// One run of the tool: enters the run directory, starts the core headless as the wizard
// does, loads the file, sends the commands in order, saves, renders and reports, and shuts
// the core down in the wizard's order. Each step is its own command boundary: a failure is
// printed (CCliStatus) and the later steps still run.

#include "CCliOptions.h"

#include <juce_core/juce_core.h>

#include <functional>

class CCliRun
{
public:
    explicit CCliRun(CCliOptions options);

    // The outcome is CCliStatus::GetExitStatus().
    void Execute();

private:
    // File arguments name files relative to the caller's directory, not the run directory.
    void ResolvePaths();
    bool EnterRunDirectory();
    void LeaveRunDirectory();

    // The command boundary: false when `step` failed (its failure has been printed).
    static bool Guarded(const std::function<void()>& step);

    void LoadFile();
    static void Send(const CCliOptions::Step& step);
    void SaveFiles();
    void RenderPicture();
    void PrintReport();

    CCliOptions options;
    juce::File callerDirectory;
    juce::File runDirectory;
    bool removeRunDirectory = false;
};
