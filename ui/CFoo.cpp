#include "ui/CFoo.h"

void CFoo::SetImage(juce::Image* newImage)
{
    image.reset(newImage);
    repaint();
}

void CFoo::paint(juce::Graphics& g)
{
    if (image != nullptr)
        g.drawImageAt(*image, 0, 0);
}
