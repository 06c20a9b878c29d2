#pragma once
// One command of the command table as an undoable action: performing it hands the command
// to the engine's table. Owned by the command manager's UndoManager once performed. Undo
// does nothing. GUI message thread only.

#include "engine/CCommand.h"

#include <juce_data_structures/juce_data_structures.h>

#include <string>

class CCommandEngineGeneral : public juce::UndoableAction
{
public:
    CCommandEngineGeneral(const std::string& name, const CCommand& command);
    ~CCommandEngineGeneral() override = default;

    bool perform() override;
    bool undo() override;

    const std::string& GetName() const { return name; }

private:
    std::string name;
    CCommand command;
};
