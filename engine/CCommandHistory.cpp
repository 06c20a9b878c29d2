#include "engine/CCommandHistory.h"

namespace
{
CCommandHistory* installed = nullptr;
}

bool CCommandHistory::CanUndo()
{
    return false;
}

bool CCommandHistory::CanRedo()
{
    return false;
}

void CCommandHistory::Undo() {}

void CCommandHistory::Redo() {}

long long CCommandHistory::TopSerial()
{
    return 0;
}

//==============================================================================
CCommandHistory& CCommandHistory::Get()
{
    static CCommandHistory empty;
    return installed != nullptr ? *installed : empty;
}

void CCommandHistory::Install(CCommandHistory* history)
{
    installed = history;
}

void CCommandHistory::Uninstall(CCommandHistory* history)
{
    if (installed == history)
        installed = nullptr;
}
