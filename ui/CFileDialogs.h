#pragma once
// The four file dialogs of the main window: save and load an array design (.21w, under
// documents/Kesta) and a venue (.21v, under documents/Kesta/Venues). A load opens in the
// shipped samples instead while the user's folder holds no design of its kind. Save writes
// a design that has a file of the user's to it at once; a new design, and one loaded from
// the shipped samples, are asked a name in the user's folder. No save writes into the
// samples' folder. None touches a file itself; each ends with one load or save command to
// the engine. The dialogs run
// asynchronously: a modal loop inside an event handler can leave a quit that follows it
// waiting for the next input event. Static operations only; GUI message thread only.

#include <juce_core/juce_core.h>

#include <functional>
#include <optional>
#include <string>

class CFileDialogs
{
public:
    enum class Dialog { SaveArray, LoadArray, SaveVenue, LoadVenue };

    // What one dialog asks the chooser for.
    struct Request
    {
        juce::File initialFile;
        std::string filter;
        std::string title;
        bool save = false;
    };

    // The command a confirmed dialog sends.
    struct Command
    {
        std::string name;
        std::string target;
        std::string path;
    };

    // The desktop side of the dialogs; tests install their own.
    class Chooser
    {
    public:
        virtual ~Chooser() = default;
        virtual juce::File DocumentsFolder() = 0;
        virtual juce::File SamplesFolder() = 0;
        // Shows the dialog and returns; `chosen` is called once it closes, with the file
        // picked, or with none when the user cancelled.
        virtual void Browse(const Request& request, std::function<void(std::optional<juce::File>)> chosen) = 0;
        // Asks before a save replaces an existing file; `answered` gets false to keep it.
        virtual void ConfirmOverwrite(const juce::File& file, std::function<void(bool)> answered) = 0;
    };

    // Decides whether a chosen file's command goes: calls `send` once, now or later, with
    // true to send it or false to drop it.
    using Confirm = std::function<void(const Command& command, std::function<void(bool)> send)>;

    //==========================================================================
    // The main window's "Save" (Ctrl+S), "Save As...", "Venue Save" and "Venue Load"
    // buttons; the array's Load asks about unsaved changes first (CSavePrompt).
    static void SaveArray(std::function<void()> finished = nullptr);
    static void SaveArrayAs() { Run(Dialog::SaveArray); }
    static void SaveVenue() { Run(Dialog::SaveVenue); }
    static void LoadVenue() { Run(Dialog::LoadVenue); }

    // Shows the dialog and returns; when the user confirms (and `confirm`, when given, sends
    // it), its command is sent. `finished` is called once the dialog is over, also when its
    // command failed (and was reported) or was not sent.
    // While another dialog shows, nothing opens and `finished` is called at once.
    static void Run(Dialog dialog, std::function<void()> finished = nullptr, Confirm confirm = nullptr);
    // Whether one of the dialogs (or its overwrite question) is showing.
    static bool IsOpen();

    //==========================================================================
    // The steps a dialog is made of.

    // The file Save writes to without asking: the design's own file, unless it is none, one
    // of the shipped samples, or in a folder that is gone.
    static std::optional<juce::File> OwnDesignFile(const juce::File& samples);

    // Makes sure the dialog's folder exists and describes the dialog; it proposes the file
    // the design (or venue) was last loaded from or saved to (a shipped sample's name in
    // the user's folder, for a save).
    static Request MakeRequest(Dialog dialog, const juce::File& documents, const juce::File& samples);
    // Runs the chooser; `chosen` gets the command to send, or none when the user cancelled or
    // declined to overwrite, or chose to save into the samples' folder (reported). A save
    // adds the extension to a name that has none.
    static void Choose(Dialog dialog, Chooser& chooser, std::function<void(std::optional<Command>)> chosen);

    // Null restores JUCE's FileChooser, the user's documents folder and the shipped samples.
    static void SetChooser(Chooser* chooser);
};
