#pragma once
// The history's keys for the whole window: Ctrl+Z takes back the last step, Ctrl+Shift+Z
// and Ctrl+Y make it again. Added as a key listener of the top-level window, so it hears
// every key press no control used itself. Stateless; GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

class CUndoKeys : public juce::KeyListener
{
public:
    bool keyPressed(const juce::KeyPress& key, juce::Component* origin) override;

    // Which history command `key` asks for: the Undo or Redo target, or "" for none.
    static std::string TargetOf(const juce::KeyPress& key);
};
