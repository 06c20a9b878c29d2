#include "ui/CSavePrompt.h"

#include "engine/CDesignState.h"
#include "ui/AskBox.h"
#include "ui/CFileDialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
const char* const kTitle = "Save changes?";
const char* const kMessage = "The design has changes that are not saved.\n"
                             "Save them before the wizard closes?";

class JuceUi : public CSavePrompt::Ui
{
public:
    void Ask(std::function<void(CSavePrompt::Answer)> answered) override
    {
        // The alert window's own shortcuts: "s" and "d" for the first two buttons, Escape
        // for the last; its result is 1, 2 and 0 in that order.
        const auto options = juce::MessageBoxOptions()
                                 .withIconType(juce::MessageBoxIconType::QuestionIcon)
                                 .withTitle(kTitle)
                                 .withMessage(kMessage)
                                 .withButton("Save")
                                 .withButton("Discard")
                                 .withButton("Cancel");
        AskBox(options, [answered](int result) {
            answered(result == 1   ? CSavePrompt::Answer::Save
                     : result == 2 ? CSavePrompt::Answer::Discard
                                   : CSavePrompt::Answer::Cancel);
        });
    }

    void Quit() override { juce::JUCEApplicationBase::quit(); }
};

CSavePrompt::Ui* installedUi = nullptr;
bool asking = false;

CSavePrompt::Ui& CurrentUi()
{
    static JuceUi juceUi;
    return installedUi != nullptr ? *installedUi : juceUi;
}
} // namespace

void CSavePrompt::RequestQuit()
{
    // While a file dialog shows, the window it belongs to stays.
    if (asking || CFileDialogs::IsOpen())
        return;
    if (! CDesignState::GetInstance()->IsModified())
    {
        CurrentUi().Quit();
        return;
    }
    asking = true;
    CurrentUi().Ask(&CSavePrompt::Answered);
}

bool CSavePrompt::IsAsking()
{
    return asking;
}

void CSavePrompt::Answered(Answer answer)
{
    if (answer != Answer::Save)
    {
        asking = false;
        if (answer == Answer::Discard)
            CurrentUi().Quit();
        return;
    }
    // The question stays asked until the save dialog is over.
    CFileDialogs::Run(CFileDialogs::Dialog::SaveArray, [] {
        asking = false;
        // A cancelled or failed save (reported) leaves the changes unsaved: the wizard stays.
        if (! CDesignState::GetInstance()->IsModified())
            CurrentUi().Quit();
    });
}

void CSavePrompt::SetUi(Ui* ui)
{
    installedUi = ui;
}
