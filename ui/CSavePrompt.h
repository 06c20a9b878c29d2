#pragma once
// Quitting the wizard (Exit, the title bar's close button, "yes" to the update's download)
// or loading another design with unsaved changes first asks Save / Discard / Cancel. Save
// saves the design (to its file, or through the save dialog) and quits or loads only once
// the design is saved; Discard quits or loads; Cancel keeps the design. Without changes it
// quits or loads at once. Static operations only; GUI message thread only.

#include <functional>
#include <string>

class CSavePrompt
{
public:
    enum class Answer { Save, Discard, Cancel };

    // The question and the quit of the desktop; tests install their own.
    class Ui
    {
    public:
        virtual ~Ui() = default;
        // Shows the question, `message` under its title, and returns; `answered` is called
        // later with the answer.
        virtual void Ask(const std::string& message, std::function<void(Answer)> answered) = 0;
        virtual void Quit() = 0;
    };

    static void RequestQuit();
    // The array's Load: the load dialog, then the question about changes before the chosen
    // design replaces them.
    static void RequestLoad();
    // Whether the question, or the save dialog it opened, is showing now (a second request
    // meanwhile is ignored, as is one while any file dialog shows).
    static bool IsAsking();
    // Null restores the JUCE dialog and the application's quit.
    static void SetUi(Ui* ui);

private:
    // Asks (when there are changes) and runs `then` once they are saved or discarded.
    static void Settle(const std::string& message, std::function<void()> then, std::function<void()> cancelled);
};
