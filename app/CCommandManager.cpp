#include "app/CCommandManager.h"

#include "app/CCommandEngineGeneral.h"
#include "base/CReportError.h"
#include "engine/CCommandTable.h"
#include "xml/SafeFile.h"


#include <new>

namespace
{
// Hands `action` to the undo manager as a transaction of its own; the undo manager owns
// it from here on, also when performing throws.
void Perform(juce::UndoManager* undo, juce::UndoableAction* action, const std::string& name)
{
    undo->beginNewTransaction();
    undo->perform(action, juce::String(name));
}
}

CCommandManager::CCommandManager() = default;

CCommandManager::~CCommandManager() = default;

juce::UndoManager* CCommandManager::GetUndoManager()
{
    if (undoManager == nullptr)
    {
        undoManager.reset(new (std::nothrow) juce::UndoManager());
        if (undoManager == nullptr)
            CReportError::GetInstance()->ReportFatalError("Command Manager Error: could not allocate memory for undo manager");
    }
    return undoManager.get();
}

CCommandResult CCommandManager::Do(const CCommand& command)
{
    const CCommandResult checked = CCommandTable::Check(command);
    if (! checked)
        return checked;
    const std::string& name = CCommandTable::Find(command.target)->name;
    Perform(GetUndoManager(), new CCommandEngineGeneral(name, command), name);
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
