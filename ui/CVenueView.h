#pragma once
// The venue view: a scrolling window onto the 1000 x 600 venue picture, shown at 1:1.
// The main window owns it; the document window puts the canvas in it. It takes no
// mouse input of its own and keeps its scroll position across redraws. GUI thread only.

#include <juce_gui_basics/juce_gui_basics.h>

class CVenueView : public juce::Viewport
{
public:
    CVenueView() : juce::Viewport(juce::String()) {}

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CVenueView)
};
