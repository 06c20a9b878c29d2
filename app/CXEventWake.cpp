// Xlib's types and JUCE's X window system come with the module's X headers.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include "app/CXEventWake.h"

namespace
{
// Often enough that a stranded event goes unnoticed; a look at the queue costs no I/O.
constexpr int kCheckMs = 50;
}

CXEventWake::CXEventWake(juce::Component& watched) : window(watched)
{
    startTimer(kCheckMs);
}

CXEventWake::~CXEventWake()
{
    stopTimer();
}

void CXEventWake::timerCallback()
{
    juce::XWindowSystem* system = juce::XWindowSystem::getInstanceWithoutCreating();
    juce::ComponentPeer* peer = window.getPeer();
    if (system == nullptr || peer == nullptr || system->getDisplay() == nullptr)
        return;
    ::Display* display = system->getDisplay();
    juce::X11Symbols* x = juce::X11Symbols::getInstance();

    juce::XWindowSystemUtilities::ScopedXLock lock;
    // Timers run between readings, each of which empties the queue: whatever is queued now
    // was stranded there.
    if (x->xEventsQueued(display, QueuedAlready) == 0)
        return;
    XEvent wake {};
    wake.xclient.type = ClientMessage;
    wake.xclient.window = (::Window) peer->getNativeHandle();
    // No message type: the window takes it for no request and ignores it.
    wake.xclient.message_type = None;
    wake.xclient.format = 32;
    x->xSendEvent(display, wake.xclient.window, False, NoEventMask, &wake);
    x->xFlush(display);
}
