#include "app/CCommandManager.h"

#include "app/CCommandEngineGeneral.h"
#include "base/CReportError.h"
#include "engine/CCommandTable.h"
#include "engine/CDesignState.h"
#include "engine/CEngineManager.h"

#include <algorithm>
#include <new>

CCommandManager::CCommandManager()
{
    CCommandHistory::Install(this);
}

CCommandManager::~CCommandManager()
{
    CCommandHistory::Uninstall(this);
}

juce::UndoManager* CCommandManager::GetUndoManager()
{
    if (undoManager == nullptr)
    {
        undoManager.reset(new (std::nothrow) juce::UndoManager(kHistoryBytes, kMinimumSteps));
        if (undoManager == nullptr)
            CReportError::GetInstance()->ReportFatalError("Command Manager Error: could not allocate memory for undo manager");
    }
    return undoManager.get();
}

void CCommandManager::ClearHistory()
{
    GetUndoManager()->clearUndoHistory();
    CEngineManager::ForgetPutBacks();
}

CCommandResult CCommandManager::Do(const CCommand& command)
{
    const CCommandResult checked = CCommandTable::Check(command);
    if (! checked)
        return checked;
    const CCommandTable::Entry& entry = *CCommandTable::Find(command.target);
    if (CCommandTable::IsUndoStep(entry))
    {
        PerformStep(entry.name, command);
    }
    else
    {
        // Saving (a drag going on after it is a new step, so that undo comes back to the
        // saved design) and moving through the history end any merging of steps.
        if (entry.kind != CCommandTable::Kind::View)
            lastStepKey.clear();
        CCommandTable::Perform(command);
    }
    ++performed[entry.name];
    CDesignState::GetInstance()->CommandDone(command);
    return checked;
}

CCommandResult CCommandManager::DoGeneral(const std::string& target, const std::string& value, double number)
{
    CCommand command;
    command.target = target;
    command.number = number;
    command.text = value;
    return Do(command);
}

CCommandResult CCommandManager::DoVenueArea(int areaSlot, const std::string& target, const std::string& value)
{
    CCommand command;
    command.target = target;
    command.text = value;
    command.areaSlot = areaSlot;
    return Do(command);
}

void CCommandManager::PerformStep(const std::string& name, const CCommand& command)
{
    juce::UndoManager* undo = GetUndoManager();
    const std::string key = CCommandEngineGeneral::MergeKey(command);
    const unsigned now = juce::Time::getMillisecondCounter();
    const bool merge = ! key.empty() && key == lastStepKey && undo->canUndo()
                       && (gestures > 0 || now - lastStepTime <= mergeWindowMs);
    if (! merge)
        undo->beginNewTransaction(juce::String(name));
    // A step merged into the one before keeps its serial: the design is still at that step.
    const long long serial = merge ? topSerial : lastSerial + 1;
    // The undo manager owns the action from here on, also when performing throws.
    const bool recorded = undo->perform(new CCommandEngineGeneral(name, command, serial, topSerial, topSerial));
    if (recorded)
        lastSerial = std::max(lastSerial, serial);
    if (recorded || ! merge)
        lastStepKey = recorded ? key : std::string();
    lastStepTime = now;
}

bool CCommandManager::CanUndo()
{
    return GetUndoManager()->canUndo();
}

bool CCommandManager::CanRedo()
{
    return GetUndoManager()->canRedo();
}

void CCommandManager::Undo()
{
    lastStepKey.clear();
    GetUndoManager()->undo();
}

void CCommandManager::Redo()
{
    lastStepKey.clear();
    GetUndoManager()->redo();
}

int CCommandManager::GetPerformedCount(const std::string& name) const
{
    if (! name.empty())
    {
        const auto found = performed.find(name);
        return found == performed.end() ? 0 : found->second;
    }
    int total = 0;
    for (const auto& entry : performed)
        total += entry.second;
    return total;
}
