#pragma once
// The canvas: shows the venue picture at 1:1 inside the venue view. Owns its image.

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

class CFoo : public juce::Component, public juce::SettableTooltipClient
{
public:
    CFoo() = default;

    void SetImage(juce::Image* image);
    juce::Image* GetImage() const { return image.get(); }

    void paint(juce::Graphics& g) override;

private:
    std::unique_ptr<juce::Image> image;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CFoo)
};
