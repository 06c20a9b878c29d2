#pragma once
// The four file dialogs of the main window: save and load an array design (.21w, under
// documents/Kesta) and a venue (.21v, under documents/Kesta/Venues). A load opens in the
// shipped samples instead while the user's folder holds no design of its kind. None touches
// a file itself; each ends with one load or save command to the engine. Static operations only;
// GUI message thread only.

#include <juce_core/juce_core.h>

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
        // False when the user cancelled; otherwise `chosen` holds the file picked.
        virtual bool Browse(const Request& request, juce::File& chosen) = 0;
        // Asked before a save replaces an existing file; false keeps the file.
        virtual bool ConfirmOverwrite(const juce::File& file) = 0;
    };

    //==========================================================================
    // The main window's "Save", "Load", "Venue Save" and "Venue Load" buttons.
    static void SaveArray() { Run(Dialog::SaveArray); }
    static void LoadArray() { Run(Dialog::LoadArray); }
    static void SaveVenue() { Run(Dialog::SaveVenue); }
    static void LoadVenue() { Run(Dialog::LoadVenue); }

    // Shows the dialog and, when the user confirms, sends its command.
    static void Run(Dialog dialog);

    //==========================================================================
    // The steps a dialog is made of.

    // Makes sure the dialog's folder exists and describes the dialog; it proposes the file
    // the design (or venue) was last loaded from or saved to.
    static Request MakeRequest(Dialog dialog, const juce::File& documents, const juce::File& samples);
    // Runs the chooser; the command to send, or none when the user cancelled or declined
    // to overwrite. A save adds the extension to a name that has none.
    static std::optional<Command> Choose(Dialog dialog, Chooser& chooser);

    // Null restores JUCE's FileChooser, the user's documents folder and the shipped samples.
    static void SetChooser(Chooser* chooser);
};
