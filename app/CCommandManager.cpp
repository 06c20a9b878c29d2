#include "app/CCommandManager.h"

#include "app/CCommandEngineGeneral.h"
#include "app/CCommandEngineVenueArea.h"
#include "app/CReportError.h"


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

void CCommandManager::DoGeneral(const std::string& name, const std::string& target, const std::string& value,
                                double number)
{
    Perform(GetUndoManager(), new CCommandEngineGeneral(name, target, number, value), name);
}

void CCommandManager::DoVenueArea(const std::string& name, int areaSlot, const std::string& target,
                                  const std::string& value, double number)
{
    Perform(GetUndoManager(), new CCommandEngineVenueArea(name, 1, areaSlot, target, number, value), name);
}
