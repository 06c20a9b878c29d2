#pragma once
// The virtual microphone: a click on the venue picture places it there (a marker that
// scrolls with the picture) and opens its call-out; every redraw (every edit) evaluates it
// again. Works on the venue view from outside: it listens to the view's mouse clicks and
// takes the picture's inches-to-pixels conversion, so it keeps out of the view's own code.
// Owned by the band strip; GUI message thread only.

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class CMicrophonePanel;

class CMicrophone : private juce::MouseListener
{
public:
    // `view` shows the picture; `panel` is shown and hidden as the call-out.
    CMicrophone(juce::Viewport& view, CMicrophonePanel& panel);
    ~CMicrophone() override;

    // At a pixel of the venue picture.
    void PlaceAtPixel(juce::Point<int> pixel);
    // In the middle of what the view shows.
    void PlaceInView();
    void Remove();
    bool IsPlaced() const { return placed; }
    juce::Point<int> GetPixel() const { return pixel; }
    // Evaluates the microphone again (the design changed).
    void Update();

private:
    void mouseDown(const juce::MouseEvent& event) override;

    class Marker;
    juce::Viewport& view;
    CMicrophonePanel& panel;
    std::unique_ptr<Marker> marker;
    juce::Point<int> pixel;
    bool placed = false;
};
