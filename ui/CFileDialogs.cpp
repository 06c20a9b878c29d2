#include "ui/CFileDialogs.h"

#include "app/CCommandManager.h"
#include "engine/CCommandTable.h"
#include "base/CReportError.h"
#include "base/CRunFolders.h"
#include "engine/CDesignState.h"
#include "ui/AskBox.h"
#include "xml/XmlTags.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <exception>

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

// A DeletedAtShutdown singleton, so that a dialog still open when the wizard quits goes with
// JUCE's windows rather than after them.
class JuceChooser : public CFileDialogs::Chooser, private juce::DeletedAtShutdown
{
public:
    JuceChooser() = default;
    ~JuceChooser() override { clearSingletonInstance(); }

    juce::File DocumentsFolder() override
    {
        return juce::File::getSpecialLocation(juce::File::userDocumentsDirectory);
    }

    juce::File SamplesFolder() override { return CRunFolders::SamplesFolder(); }

    void Browse(const CFileDialogs::Request& request, std::function<void(std::optional<juce::File>)> chosen) override
    {
        // The overwrite question is asked by Choose, about the name after the extension rule.
        const int flags = juce::FileBrowserComponent::canSelectFiles
                          | (request.save ? juce::FileBrowserComponent::saveMode : juce::FileBrowserComponent::openMode);
        shown = std::make_unique<juce::FileChooser>(request.title, request.initialFile, request.filter);
        shown->launchAsync(flags, [chosen = std::move(chosen)](const juce::FileChooser& chooser) {
            const juce::File result = chooser.getResult();
            chosen(result == juce::File() ? std::nullopt : std::optional<juce::File>(result));
        });
    }

    void ConfirmOverwrite(const juce::File& file, std::function<void(bool)> answered) override
    {
        const auto options = juce::MessageBoxOptions()
                                 .withIconType(juce::MessageBoxIconType::WarningIcon)
                                 .withTitle("File already exists")
                                 .withMessage("There's already a file called: " + file.getFullPathName()
                                              + "\n\nAre you sure you want to overwrite it?")
                                 .withButton("Overwrite")
                                 .withButton("Cancel");
        AskBox(options, [answered = std::move(answered)](int result) { answered(result == 1); });
    }

    JUCE_DECLARE_SINGLETON_SINGLETHREADED_MINIMAL(JuceChooser)

private:
    // The last dialog launched; JUCE's chooser must outlive its dialog.
    std::unique_ptr<juce::FileChooser> shown;
};

JUCE_IMPLEMENT_SINGLETON(JuceChooser)

bool HoldsDesigns(const juce::File& folder, const std::string& pattern)
{
    return ! folder.findChildFiles(juce::File::findFiles, false, pattern).isEmpty();
}

bool IsSample(const juce::File& file, const juce::File& samples)
{
    return file.isAChildOf(samples) || file.getParentDirectory() == samples;
}

CFileDialogs::Chooser* installedChooser = nullptr;
bool dialogOpen = false;

CFileDialogs::Chooser& CurrentChooser()
{
    return installedChooser != nullptr ? *installedChooser : *JuceChooser::getInstance();
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
    if (juce::File::isAbsolutePath(current) && info.save && IsSample(juce::File(current), samples))
        request.initialFile = folder.getChildFile(juce::File(current).getFileName());
    else if (juce::File::isAbsolutePath(current))
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

std::optional<juce::File> CFileDialogs::OwnDesignFile(const juce::File& samples)
{
    const std::string& current = CDesignState::GetInstance()->GetDesignFile();
    if (! juce::File::isAbsolutePath(current))
        return std::nullopt;
    const juce::File file(current);
    if (IsSample(file, samples) || ! file.getParentDirectory().isDirectory())
        return std::nullopt;
    return file;
}

void CFileDialogs::SaveArray(std::function<void()> finished)
{
    if (dialogOpen)
    {
        if (finished)
            finished();
        return;
    }
    const std::optional<juce::File> own = OwnDesignFile(CurrentChooser().SamplesFolder());
    if (! own)
    {
        Run(Dialog::SaveArray, std::move(finished));
        return;
    }
    // A failure was reported before it was thrown; the design stays unsaved.
    try
    {
        CCommandManager::GetInstance()->DoGeneral(CCommandTable::kSaveArrayFile, own->getFullPathName().toStdString(),
                                                  0.0);
    }
    catch (const std::exception&)
    {
    }
    if (finished)
        finished();
}

void CFileDialogs::Choose(Dialog dialog, Chooser& chooser, std::function<void(std::optional<Command>)> chosen)
{
    const DialogInfo info = InfoFor(dialog);
    const juce::File samples = chooser.SamplesFolder();
    const Request request = MakeRequest(dialog, chooser.DocumentsFolder(), samples);
    chooser.Browse(request, [info, samples, &chooser, chosen = std::move(chosen)](std::optional<juce::File> file) {
        if (! file)
        {
            chosen(std::nullopt);
            return;
        }
        if (info.save && file->getFileExtension().isEmpty())
            file = file->withFileExtension(info.venue ? ".21v" : ".21w");
        if (info.save && IsSample(*file, samples))
        {
            CReportError::GetInstance()->ReportError(
                "Error: " + file->getFullPathName().toStdString()
                + " is in the folder of the shipped samples, which stay as shipped; nothing was saved. "
                  "Save the design in a folder of your own.");
            chosen(std::nullopt);
            return;
        }
        Command command;
        command.name = CCommandTable::Find(info.target)->name;
        command.target = info.target;
        command.path = file->getFullPathName().toStdString();
        if (! info.save || ! file->exists())
        {
            chosen(command);
            return;
        }
        chooser.ConfirmOverwrite(*file, [command, chosen](bool overwrite) {
            chosen(overwrite ? std::optional<Command>(command) : std::nullopt);
        });
    });
}

void CFileDialogs::Run(Dialog dialog, std::function<void()> finished, Confirm confirm)
{
    if (dialogOpen)
    {
        if (finished)
            finished();
        return;
    }
    dialogOpen = true;
    Choose(dialog, CurrentChooser(),
           [finished = std::move(finished), confirm = std::move(confirm)](std::optional<Command> command) {
               dialogOpen = false;
               auto send = [command, finished](bool go) {
                   // This is the command's event boundary: a failure was reported before it
                   // was thrown, and an exception must not leave JUCE's callbacks half done.
                   try
                   {
                       if (command && go)
                           CCommandManager::GetInstance()->DoGeneral(command->target, command->path, 0.0);
                   }
                   catch (const std::exception&)
                   {
                   }
                   if (finished)
                       finished();
               };
               if (command && confirm)
                   confirm(*command, send);
               else
                   send(true);
           });
}

bool CFileDialogs::IsOpen()
{
    return dialogOpen;
}

void CFileDialogs::SetChooser(Chooser* chooser)
{
    installedChooser = chooser;
}
