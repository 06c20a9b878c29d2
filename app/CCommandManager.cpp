#include "app/CCommandManager.h"

#include "app/CCommandEngineGeneral.h"
#include "base/CReportError.h"
#include "engine/CCommandTable.h"
#include "xml/SafeFile.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <new>

namespace
{
const char* const kPrintPicture = "PrintOutput.png";
const char* const kPrintPage = "DRXWizard_Print_Page.html";

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

void CCommandManager::PrintPage(juce::Component* component)
{
    if (component == nullptr)
        return;
    const juce::Image snapshot = component->createComponentSnapshot(component->getLocalBounds());

    const juce::File picture = juce::File::getCurrentWorkingDirectory().getChildFile(kPrintPicture);
    juce::MemoryOutputStream png;
    std::string error = "the picture could not be encoded";
    const bool encoded = juce::PNGImageFormat().writeImageToStream(snapshot, png);
    const std::string bytes(static_cast<const char*>(png.getData()), png.getDataSize());
    if (! encoded || ! SafeFile::WriteFileAtomically(picture.getFullPathName().toStdString(), bytes, error))
    {
        CReportError::GetInstance()->ReportError("Error: Could not write picture "
                                                 + picture.getFullPathName().toStdString() + " (" + error + ")");
        return;
    }

    const juce::File page = juce::File::getCurrentWorkingDirectory().getChildFile(kPrintPage);
    juce::URL(page).launchInDefaultBrowser();
}
