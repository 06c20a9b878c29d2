#include "ui/CFileDialogs.h"

#include "app/CCommandManager.h"
#include "engine/CCommandTable.h"
#include "base/CRunFolders.h"
#include "engine/CDesignState.h"
#include "xml/XmlTags.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
const std::string kSaveTitle = "Select a file name to save the current array and venue as...";

struct DialogInfo
{
    bool venue;
    bool save;
    const char* title;
    const std::string& target;
};

DialogInfo InfoFor(CFileDialogs::Dialog dialog)
{
    switch (dialog)
    {
        case CFileDialogs::Dialog::SaveArray:
            return { false, true, kSaveTitle.c_str(), CCommandTable::kSaveArrayFile };
        case CFileDialogs::Dialog::LoadArray:
            return { false, false, "Select a file name to load as the current array and venue...",
                     CCommandTable::kLoadArrayFile };
        case CFileDialogs::Dialog::SaveVenue:
            return { true, true, kSaveTitle.c_str(), CCommandTable::kSaveVenueFile };
        case CFileDialogs::Dialog::LoadVenue:
            break;
    }
    return { true, false, "Select a file name to load as the current venue...", CCommandTable::kLoadVenueFile };
}

class JuceChooser : public CFileDialogs::Chooser
{
public:
    juce::File DocumentsFolder() override
    {
        return juce::File::getSpecialLocation(juce::File::userDocumentsDirectory);
    }

    juce::File SamplesFolder() override { return CRunFolders::SamplesFolder(); }

    bool Browse(const CFileDialogs::Request& request, juce::File& chosen) override
    {
        juce::FileChooser chooser(request.title, request.initialFile, request.filter);
        // The overwrite question is asked by Choose, about the name after the extension rule.
        const bool confirmed = request.save ? chooser.browseForFileToSave(false) : chooser.browseForFileToOpen();
        if (confirmed)
            chosen = chooser.getResult();
        return confirmed;
    }

    bool ConfirmOverwrite(const juce::File& file) override
    {
        return juce::AlertWindow::showOkCancelBox(juce::MessageBoxIconType::WarningIcon, "File already exists",
                                                  "There's already a file called: " + file.getFullPathName()
                                                      + "\n\nAre you sure you want to overwrite it?",
                                                  "Overwrite", "Cancel");
    }
};

bool HoldsDesigns(const juce::File& folder, const std::string& pattern)
{
    return ! folder.findChildFiles(juce::File::findFiles, false, pattern).isEmpty();
}

CFileDialogs::Chooser* installedChooser = nullptr;

CFileDialogs::Chooser& CurrentChooser()
{
    static JuceChooser juceChooser;
    return installedChooser != nullptr ? *installedChooser : juceChooser;
}
} // namespace

//==============================================================================
CFileDialogs::Request CFileDialogs::MakeRequest(Dialog dialog, const juce::File& documents, const juce::File& samples)
{
    const DialogInfo info = InfoFor(dialog);
    // A folder that cannot be created is not reported: the chooser opens all the same.
    juce::File folder = documents.getChildFile("Kesta");
    folder.createDirectory();
    if (info.venue)
    {
        folder = folder.getChildFile("Venues");
        folder.createDirectory();
    }

    // The file the design (or venue) came from or went to last; otherwise the default
    // design, by the name the start-up looks for.
    const std::string& current = info.venue ? CDesignState::GetInstance()->GetVenueFile()
                                            : CDesignState::GetInstance()->GetDesignFile();
    Request request;
    request.filter = info.venue ? "*.21v" : "*.21w";
    if (juce::File::isAbsolutePath(current))
        request.initialFile = juce::File(current);
    else
    {
        request.initialFile = folder.getChildFile(info.venue ? "Default.21v" : "Default.21w");
        // A new user's first load finds the samples rather than an empty folder.
        if (! info.save && ! HoldsDesigns(folder, request.filter) && HoldsDesigns(samples, request.filter))
            request.initialFile = samples;
    }
    request.title = info.title;
    request.save = info.save;
    return request;
}

std::optional<CFileDialogs::Command> CFileDialogs::Choose(Dialog dialog, Chooser& chooser)
{
    const DialogInfo info = InfoFor(dialog);
    const Request request = MakeRequest(dialog, chooser.DocumentsFolder(), chooser.SamplesFolder());
    juce::File chosen;
    if (! chooser.Browse(request, chosen))
        return std::nullopt;

    if (info.save)
    {
        if (chosen.getFileExtension().isEmpty())
            chosen = chosen.withFileExtension(info.venue ? ".21v" : ".21w");
        if (chosen.exists() && ! chooser.ConfirmOverwrite(chosen))
            return std::nullopt;
    }

    Command command;
    command.name = CCommandTable::Find(info.target)->name;
    command.target = info.target;
    command.path = chosen.getFullPathName().toStdString();
    return command;
}

void CFileDialogs::Run(Dialog dialog)
{
    if (const std::optional<Command> command = Choose(dialog, CurrentChooser()))
        CCommandManager::GetInstance()->DoGeneral(command->target, command->path, 0.0);
}

void CFileDialogs::SetChooser(Chooser* chooser)
{
    installedChooser = chooser;
}
