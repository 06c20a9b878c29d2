#pragma once
// The entry point of every user command: wraps it in an undoable action and has the JUCE
// UndoManager perform it at once, which hands it to the engine. Undo itself does nothing.
// GUI message thread only.

#include "app/TemplateSingleton.h"

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

    // One transaction per command; whatever the engine reports leaves these as an exception.
    void DoGeneral(const std::string& name, const std::string& target, const std::string& value, double number);
    void DoVenueArea(const std::string& name, int areaSlot, const std::string& target, const std::string& value,
                     double number);

private:
    std::unique_ptr<juce::UndoManager> undoManager;
};
