#include "ui/CSavePrompt.h"

#include "engine/CDesignState.h"
#include "ui/AskBox.h"
#include "ui/CFileDialogs.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
const char* const kTitle = "Save changes?";
const char* const kQuitMessage = "The design has changes that are not saved.\n"
                                 "Save them before the wizard closes?";
const char* const kLoadMessage = "The design has changes that are not saved.\n"
                                 "Save them before the other design replaces it?";

class JuceUi : public CSavePrompt::Ui
{
public:
    void Ask(const std::string& message, std::function<void(CSavePrompt::Answer)> answered) override
    {
        // The alert window's own shortcuts: "s" and "d" for the first two buttons, Escape
        // for the last; its result is 1, 2 and 0 in that order.
        const auto options = juce::MessageBoxOptions()
                                 .withIconType(juce::MessageBoxIconType::QuestionIcon)
                                 .withTitle(kTitle)
                                 .withMessage(message)
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
    Settle(kQuitMessage, [] { CurrentUi().Quit(); }, [] {});
}

void CSavePrompt::RequestLoad()
{
    if (asking || CFileDialogs::IsOpen())
        return;
    // The question comes once a design is chosen: a cancelled dialog needs none, and a
    // double click in the list is a choice like any other.
    CFileDialogs::Run(CFileDialogs::Dialog::LoadArray, nullptr,
                      [](const CFileDialogs::Command&, std::function<void(bool)> send) {
                          Settle(kLoadMessage, [send] { send(true); }, [send] { send(false); });
                      });
}

bool CSavePrompt::IsAsking()
{
    return asking;
}

void CSavePrompt::Settle(const std::string& message, std::function<void()> then, std::function<void()> cancelled)
{
    if (! CDesignState::GetInstance()->IsModified())
    {
        then();
        return;
    }
    asking = true;
    CurrentUi().Ask(message, [then, cancelled](Answer answer) {
        if (answer != Answer::Save)
        {
            asking = false;
            if (answer == Answer::Discard)
                then();
            else
                cancelled();
            return;
        }
        // The question stays asked until the save is over.
        CFileDialogs::SaveArray([then, cancelled] {
            asking = false;
            // A cancelled or failed save (reported) leaves the changes unsaved: they stay.
            if (CDesignState::GetInstance()->IsModified())
                cancelled();
            else
                then();
        });
    });
}

void CSavePrompt::SetUi(Ui* ui)
{
    installedUi = ui;
}
