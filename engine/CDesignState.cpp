#include "engine/CDesignState.h"

#include "engine/CCommandHistory.h"
#include "engine/CCommandTable.h"
#include "engine/CEngineHooks.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

bool CDesignState::IsModified() const
{
    return CCommandHistory::Get().TopSerial() != savedStep;
}

void CDesignState::CommandDone(const CCommand& command)
{
    const std::string before = designFile;
    const long long top = CCommandHistory::Get().TopSerial();
    // A new step after an undo dropped the steps that were undone, and the files they had.
    if (command.target != CCommandTable::kUndo && command.target != CCommandTable::kRedo && top > lastTop)
        fileAtStep.erase(fileAtStep.upper_bound(lastTop), fileAtStep.lower_bound(top));
    lastTop = top;

    const bool arrayFile = command.target == CCommandTable::kLoadArrayFile
                           || command.target == CCommandTable::kSaveArrayFile;
    if (arrayFile)
    {
        // A load that changed nothing recorded no step: the design is the file all the same.
        savedStep = top;
        // The built-in array (a load without a path) is no file of the user's.
        fileAtStep[top] = command.text;
        if (! command.text.empty())
            CEngineHooks::Get().GetSettingsRoot()->GetChild(Tag::LastDesign)->GetChild(Tag::Value)->SetString(command.text);
    }
    else if ((command.target == CCommandTable::kLoadVenueFile || command.target == CCommandTable::kSaveVenueFile)
             && ! command.text.empty())
    {
        venueFile = command.text;
    }
    const auto file = fileAtStep.upper_bound(top);
    designFile = file == fileAtStep.begin() ? std::string() : std::prev(file)->second;

    const bool modified = IsModified();
    if (modified == reportedModified && designFile == before)
        return;
    reportedModified = modified;
    if (observer)
        observer();
}

void CDesignState::TakeAsUnchanged()
{
    savedStep = CCommandHistory::Get().TopSerial();
    const bool wasModified = reportedModified;
    reportedModified = false;
    if (wasModified && observer)
        observer();
}

std::string CDesignState::RememberedDesignFile()
{
    return CEngineHooks::Get().GetSettingsRoot()->FindChild(Tag::LastDesign)->FindChild(Tag::Value)->GetString("");
}

void CDesignState::SetObserver(std::function<void()> newObserver)
{
    observer = std::move(newObserver);
    reportedModified = IsModified();
}
