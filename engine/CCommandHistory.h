#pragma once
// The undo history as the command table's Undo and Redo entries reach it. The command
// manager keeps the history and installs itself here at start-up; without it there is
// nothing to undo. Not owned; GUI message thread only.

class CCommandHistory
{
public:
    virtual ~CCommandHistory() = default;

    virtual bool CanUndo();
    virtual bool CanRedo();
    // Step back or forward one step; only called when CanUndo / CanRedo said yes.
    virtual void Undo();
    virtual void Redo();
    // The serial number of the step the design stands at: the step at the top of the
    // history, or, with every step undone, the one before the oldest (0: the design the
    // program started with). Every recorded step has its own; steps merged into one keep
    // the first one's.
    virtual long long TopSerial();

    //==========================================================================
    // The installed history, or an empty one.
    static CCommandHistory& Get();
    // `history` is not owned; Uninstall of another history leaves the installed one.
    static void Install(CCommandHistory* history);
    static void Uninstall(CCommandHistory* history);
};
