#pragma once
// The top-level document window. Its construction starts the core, applies the
// remembered interface size and builds the main content; its destruction runs the
// shutdown order of the singletons.

#include "app/CXEventWake.h"
#include "ui/CUndoKeys.h"

#include <juce_gui_basics/juce_gui_basics.h>

class CAppWindow : public juce::DocumentWindow
{
public:
    CAppWindow(const juce::String& title, int width, int height);
    ~CAppWindow() override;

    void closeButtonPressed() override;
    bool keyPressed(const juce::KeyPress& key) override;
    void resized() override;

private:
    void UpdateTitle();

    const juce::String cleanTitle;
    CUndoKeys undoKeys;
    CXEventWake eventWake { *this };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CAppWindow)
};
