#pragma once
// Renderer of Line items: the polyline through the item's points, plain or dashed, in
// ColorLine or painted with a texture, a gradient brush or the SPL colours of the item's
// SplList samples. Also draws the SPL scale bar from code (own points and attributes).
// Owned by the render parser or by the code drawing with it; GUI message thread only.

#include "render/CRenderer.h"

#include <functional>

namespace juce
{
class ColourGradient;
}

class CRendererLine : public CRenderer
{
public:
    CRendererLine() = default;
    ~CRendererLine() override = default;

    // The colour (0xAARRGGBB) of an SPL level on the current scale.
    using SplColours = std::function<unsigned int(double level)>;
    // The level an SplPoint sample shows; without it, its PressureDB.
    using SampleLevel = std::function<double(CXmlNode* splPoint)>;

    void Render() override;

    // Where the colours of SPL samples come from; without it every SPL line gets the
    // default SPL gradient.
    void SetSplColours(SplColours colours) { splColours = std::move(colours); }
    void SetSampleLevel(SampleLevel level) { sampleLevel = std::move(level); }

    // The colours of the item's SPL samples, one stop per sample at its position along the
    // line; the default SPL gradient when the item has fewer than two samples or no colours
    // were given. The caller sets the gradient's end points.
    juce::ColourGradient BuildSplGradient();

private:
    SplColours splColours;
    SampleLevel sampleLevel;
};
