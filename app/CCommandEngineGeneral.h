#pragma once
// One general command (files, counts, pin, switches, SPL scale, units) as an undoable
// action: performing it hands target, value and number to the engine. Owned by the
// command manager's UndoManager once performed. Undo does nothing. GUI message thread only.

#include <juce_data_structures/juce_data_structures.h>

#include <string>

class CCommandEngineGeneral : public juce::UndoableAction
{
public:
    CCommandEngineGeneral(const std::string& name, const std::string& target, double number, const std::string& value);
    ~CCommandEngineGeneral() override = default;

    bool perform() override;
    bool undo() override;

    const std::string& GetName() const { return name; }

private:
    std::string name;
    std::string target;
    double number;
    std::string value;
};
