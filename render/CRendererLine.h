#pragma once
// Renderer of Line items: the polyline through the item's points, plain or dashed, in
// ColorLine or painted with a texture, a gradient brush or the SPL colours of the item's
// SplList samples. Also draws the SPL scale bar from code (own points and attributes).
// Owned by the render parser or by the code drawing with it; GUI message thread only.

#include "render/CRenderer.h"

namespace juce
{
class ColourGradient;
}

class CRendererLine : public CRenderer
{
public:
    CRendererLine() = default;
    ~CRendererLine() override = default;

    void Render() override;

    // The colours of the item's SPL samples on the SPL manager's scale, one stop per
    // sample at its position along the line; the default SPL gradient when the item has
    // fewer than two samples. The caller sets the gradient's end points.
    juce::ColourGradient BuildSplGradient();
};
