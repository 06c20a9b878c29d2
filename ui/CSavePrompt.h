#pragma once
// Quitting the wizard (Exit, the title bar's close button, "yes" to the update's download)
// with unsaved changes first asks Save / Discard / Cancel. Save runs the array save
// dialog and quits only once the design is saved; Discard quits; Cancel keeps the wizard
// open. Without changes it quits at once. Static operations only; GUI message thread only.

#include <functional>

class CSavePrompt
{
public:
    enum class Answer { Save, Discard, Cancel };

    // The question and the quit of the desktop; tests install their own.
    class Ui
    {
    public:
        virtual ~Ui() = default;
        // Shows the question and returns; `answered` is called later with the answer.
        virtual void Ask(std::function<void(Answer)> answered) = 0;
        virtual void Quit() = 0;
    };

    static void RequestQuit();
    // Whether the question, or the save dialog it opened, is showing now (a second request
    // meanwhile is ignored, as is one while any file dialog shows).
    static bool IsAsking();
    // Null restores the JUCE dialog and the application's quit.
    static void SetUi(Ui* ui);

private:
    static void Answered(Answer answer);
};
