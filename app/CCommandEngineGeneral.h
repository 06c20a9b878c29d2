#pragma once
// One command of the command table as a step of the undo history. Performing it the first
// time hands the command to the engine's table and keeps the documents it changed as text,
// before and after; undo and redo put that text back. The SPL scale is a view: undo and redo
// keep it as it is unless the step changed it. It holds no pointer into a document.
// Each step carries a serial number and writes the serial the design stands at into its
// history as it is done, undone or redone. Owned by the command manager's UndoManager once
// performed. GUI message thread only.

#include "engine/CCommand.h"
#include "engine/CEngineManager.h"

#include <juce_data_structures/juce_data_structures.h>

#include <string>

class CCommandEngineGeneral : public juce::UndoableAction
{
public:
    // `serial` numbers this step, `previous` is the serial the design stood at before it, and
    // `top` (the history's, which outlives its steps) receives the serial the design stands
    // at after each perform, undo and redo.
    CCommandEngineGeneral(const std::string& name, const CCommand& command, long long serial, long long previous,
                          long long& top);
    ~CCommandEngineGeneral() override = default;

    // False (nothing to record) when the command changed neither document.
    bool perform() override;
    bool undo() override;
    // The bytes of text kept.
    int getSizeInUnits() override;
    // This step followed by `next`, as one step with this step's serials; null unless `next`
    // is a step of the same command on the same value (see MergeKey).
    juce::UndoableAction* createCoalescedAction(juce::UndoableAction* next) override;

    const std::string& GetName() const { return name; }
    // Steps with the same non-empty key change the same value and may merge: the target, its
    // area and the module position. Loads never merge.
    static std::string MergeKey(const CCommand& command);

private:
    using DesignText = CEngineManager::DesignText;

    std::string name;
    CCommand command;
    long long serial;
    long long previous;
    long long* top;
    bool performed = false;
    // The SPL scale to show once the step's text is back: the one shown now, unless the
    // step changed the venue's scale element (a load), then the one it found or left.
    SplScaleSetting::Shown ShownWith(const SplScaleSetting::Shown& own) const;

    // A document the step left unchanged is kept as no text on both sides.
    DesignText before;
    DesignText after;
    SplScaleSetting::Shown shownBefore;
    SplScaleSetting::Shown shownAfter;
    bool changedShown = false;
};
