#pragma once
// Renderer of Polygon items: the closed path through the item's points, outlined in
// ColorLine and filled with a texture, a gradient or ColorFill when the item asks for one.
// Owned by the render parser; GUI message thread only.

#include "render/CRenderer.h"

class CRendererPolygon : public CRenderer
{
public:
    CRendererPolygon() = default;
    ~CRendererPolygon() override = default;

    void Render() override;
};
