#pragma once
// The entry point of every user command: wraps it in an undoable action and has the JUCE
// UndoManager perform it at once, which hands it to the engine. Undo itself does nothing.
// GUI message thread only.

#include "base/TemplateSingleton.h"
#include "engine/CCommand.h"

#include <juce_data_structures/juce_data_structures.h>

#include <memory>
#include <string>

class CCommandManager : public TemplateSingleton<CCommandManager>
{
public:
    CCommandManager();
    virtual ~CCommandManager();

    // Created on first use; start-up calls it once so it exists before the first command.
    juce::UndoManager* GetUndoManager();

    // One transaction per command, named by the command table; a command the table refuses
    // is answered with the reason and recorded nowhere. Whatever the engine reports while
    // performing leaves these as an exception.
    CCommandResult Do(const CCommand& command);
    CCommandResult DoGeneral(const std::string& target, const std::string& value, double number);
    CCommandResult DoVenueArea(int areaSlot, const std::string& target, const std::string& value);

private:
    std::unique_ptr<juce::UndoManager> undoManager;
};
