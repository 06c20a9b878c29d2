#include "TestSupport.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// Each test process works in its own temporary folder, headless; JUCE needs its message
// manager for timers, components and images.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const ScopedProcessFolder folder;
    // No X server: without a display JUCE would take :0, which may be the X server of a
    // window test running beside this one, and take its keyboard or die with it.
    ::setenv("DISPLAY", "no-display", 1);
    juce::ScopedJuceInitialiser_GUI juceInit;
    return RUN_ALL_TESTS();
}
