#pragma once
// The size of the whole interface, 100 to 200 percent, for HiDPI screens. Kept in the
// settings ("Settings.xml", Root/UiScale/Value) and applied to every window through the
// desktop's scale factor. Static operations only; GUI message thread only.

#include <array>

namespace juce
{
class ResizableWindow;
}

class CUiScale
{
public:
    static constexpr int kMinimum = 100;
    static constexpr int kMaximum = 200;
    // The main window's size in interface pixels as it opens, and the least it may have.
    static constexpr int kWindowWidth = 800;
    static constexpr int kWindowHeight = 600;
    // The steps the About panel offers.
    static constexpr std::array<int, 5> kChoices { 100, 125, 150, 175, 200 };

    // The remembered percentage, limited to kMinimum..kMaximum; 100 when none is kept or
    // the kept text is no number.
    static int Remembered();
    // Applies `percent` (limited as above) and remembers it; returns what was applied.
    static int Apply(int percent);
    // Applies the remembered percentage.
    static void ApplyRemembered();

    // Keeps `window` within the work area of the screen it is on: it may not shrink below
    // `minWidth` x `minHeight` (less where the screen is smaller), and it is made smaller
    // and moved until it fits. Also after the scale changed.
    static void FitToScreen(juce::ResizableWindow& window, int minWidth, int minHeight);
};
