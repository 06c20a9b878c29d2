#pragma once
// One change of a venue area's line ("sX", "sY", "eX", "eY", "LAngle", "LDist") as an
// undoable action: performing it hands the area and the new value text to the engine.
// Owned by the command manager's UndoManager once performed. Undo does nothing.
// GUI message thread only.

#include <juce_data_structures/juce_data_structures.h>

#include <string>

class CCommandEngineVenueArea : public juce::UndoableAction
{
public:
    CCommandEngineVenueArea(const std::string& name, int venueSlot, int areaSlot, const std::string& target,
                            double number, const std::string& value);
    ~CCommandEngineVenueArea() override = default;

    bool perform() override;
    bool undo() override;

    const std::string& GetName() const { return name; }

private:
    std::string name;
    int venueSlot;
    int areaSlot;
    std::string target;
    [[maybe_unused]] double number;    // kept with the command; the engine does not take it
    std::string value;
};
