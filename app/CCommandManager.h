#pragma once
// The entry point of every user command. A design change or a load becomes one step of the
// undo history (JUCE's UndoManager holding serialized documents); views, saves and the
// history's own Undo and Redo are performed at once and recorded nowhere. Quick repeats and
// drags of one value merge into one step. GUI message thread only.

#include "base/TemplateSingleton.h"
#include "engine/CCommand.h"
#include "engine/CCommandHistory.h"

#include <juce_data_structures/juce_data_structures.h>

#include <map>
#include <memory>
#include <string>

class CCommandManager : public TemplateSingleton<CCommandManager>, public CCommandHistory
{
public:
    // The history keeps steps up to this many bytes of document text, dropping the oldest,
    // but always the newest kMinimumSteps.
    static constexpr int kHistoryBytes = 64 * 1024 * 1024;
    static constexpr int kMinimumSteps = 1;

    CCommandManager();
    virtual ~CCommandManager();

    // Created on first use; start-up calls it once so it exists before the first command.
    juce::UndoManager* GetUndoManager();
    // Empties the history, and the documents let go of what they kept to put a design back.
    void ClearHistory();

    // One step per design command or load, named by the command table; a command the table
    // refuses is answered with the reason and changes and records nothing. Whatever the
    // engine reports while performing leaves these as an exception.
    CCommandResult Do(const CCommand& command);
    CCommandResult DoGeneral(const std::string& target, const std::string& value, double number);
    CCommandResult DoVenueArea(int areaSlot, const std::string& target, const std::string& value);

    //==========================================================================
    // Steps of one value merge while a gesture (a slider drag) is active, and when they come
    // within `milliseconds` of each other (a held stepper); 0, the default: only in gestures.
    void SetMergeWindow(unsigned milliseconds) { mergeWindowMs = milliseconds; }
    void BeginGesture() { ++gestures; }
    void EndGesture() { gestures = gestures > 0 ? gestures - 1 : 0; }

    bool CanUndo() override;
    bool CanRedo() override;
    void Undo() override;
    void Redo() override;
    long long TopSerial() override { return topSerial; }

    // How many commands named `name` (all commands: empty) were performed, steps or not.
    int GetPerformedCount(const std::string& name = {}) const;
    void ResetPerformedCounts() { performed.clear(); }

private:
    void PerformStep(const std::string& name, const CCommand& command);

    std::unique_ptr<juce::UndoManager> undoManager;
    std::map<std::string, int> performed;
    std::string lastStepKey;
    unsigned lastStepTime = 0;
    unsigned mergeWindowMs = 0;
    // The serial the design stands at, and the last one given to a step.
    long long topSerial = 0;
    long long lastSerial = 0;
    int gestures = 0;
};
