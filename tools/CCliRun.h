#pragma once
// One run of the tool: enters the run directory, starts the core headless as the wizard
// does, loads the file, sends the commands in order, saves, renders and reports, and shuts
// the core down in the wizard's order. Each step is its own command boundary: a failure is
// printed (CCliStatus) and the later steps still run, except a save over a file that
// failed to load in the same run, which is refused.

#include "CCliOptions.h"
#include "CCliRunFolder.h"

#include "engine/CPinSuggestion.h"
#include "engine/CSubAlignment.h"

#include <juce_core/juce_core.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

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

    // Existing files whose load failed in this run: saving over them is refused.
    class FailedLoads
    {
    public:
        void Add(const std::string& path);
        bool Contains(const std::string& path) const;

    private:
        struct Entry
        {
            std::string path;
            bool identified = false;
            unsigned long long device = 0, inode = 0;
        };
        std::vector<Entry> entries;
    };

    void LoadFile();
    void Load(const std::string& target, const std::string& path);
    bool RefusedAsFailedLoad(const std::string& saveTarget, const std::string& path) const;
    void Send(const CCliOptions::Step& step);
    void SaveFiles();
    // Tries every pick pin (the design is left as it was), then applies the best one when asked.
    void SuggestPin();
    // Finds the subwoofer alignment at --align-subs's point (the design is left as it was),
    // then applies it when asked.
    void AlignSubwoofers();
    void RenderPicture();
    void WriteReportPage();
    void PrintReport() const;

    CCliOptions options;
    juce::File callerDirectory;
    juce::File runDirectory;
    // The run folder made for this run when none was given; removed at its end.
    CCliRunFolder ownRunFolder;
    std::optional<CPinSuggestion> suggestion;
    std::optional<CSubAlignment> alignment;
    FailedLoads failedLoads;
};
