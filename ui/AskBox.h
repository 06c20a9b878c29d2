#pragma once
// A question box that answers once it has gone, so that what the answer does (a dialog, a
// warning, the quit) comes after it and not over it. GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

// Shows the box and returns; `answered` gets the result (1 for the first button, 0 for the
// last, 2 and on for those between) after the box has gone.
inline void AskBox(const juce::MessageBoxOptions& options, std::function<void(int)> answered)
{
    juce::AlertWindow::showAsync(options, [answered = std::move(answered)](int result) {
        juce::MessageManager::callAsync([answered, result] { answered(result); });
    });
}
