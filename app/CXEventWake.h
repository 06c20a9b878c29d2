#pragma once
// Keeps the window answering X events that wait in Xlib's queue. JUCE reads the X
// connection when its socket has data. A round trip made outside that reading (the wait
// for a finished shared-memory paint, for one) moves every event that has arrived into
// Xlib's queue, where nothing looks for it until more data comes: a resize, a click or
// the expose after a box closed then waits for the user's next move. While events wait
// so, this sends the window an event of its own, whose arrival wakes the reading.

#include <juce_gui_basics/juce_gui_basics.h>

class CXEventWake : private juce::Timer
{
public:
    explicit CXEventWake(juce::Component& window);
    ~CXEventWake() override;

private:
    void timerCallback() override;

    juce::Component& window;

    JUCE_DECLARE_NON_COPYABLE(CXEventWake)
};
