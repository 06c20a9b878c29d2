#include "TestSupport.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

// Each test process works in its own temporary folder; JUCE needs its message manager for
// timers, components and images.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    const ScopedProcessFolder folder;
    juce::ScopedJuceInitialiser_GUI juceInit;
    return RUN_ALL_TESTS();
}
