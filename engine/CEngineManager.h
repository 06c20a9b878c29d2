#pragma once
// The one place where the documents change in answer to the user: start-up of all
// documents, the general and area command tables, the recompute pipeline and the
// dotted-path lookup the panels bind through. Never destroyed; GUI message thread only.

#include "base/TemplateSingleton.h"

#include <functional>
#include <string>

class CXmlNode;

class CEngineManager : public TemplateSingleton<CEngineManager>
{
public:
    virtual ~CEngineManager() = default;

    void StartEngine();
    void InitialiseEngine();

    void PerformCommand(const std::string& target, const std::string& text, double number);
    void PerformAreaCommand(int venueSlot, int areaSlot, const std::string& target, const std::string& text);
    CXmlNode* ResolvePath(const std::string& path);
    void Recompute();

    void ApplyModelTotals(const std::string& target);
    void SetPinSlot(int slot);
    void LoadArrayFile(const std::string& path);
    void SaveArrayFile(const std::string& path);
    void LoadVenueFile(const std::string& path);
    void SaveVenueFile(const std::string& path);
    void ToggleUnitSystem();

private:
    // Runs `load`; when it throws, both documents are put back as they were and the
    // failure is reported. Returns what `load` returned (false: refused, nothing changed).
    bool LoadRestoringOnFailure(const std::string& failure, bool arrayChanged, const std::function<bool()>& load);
};
