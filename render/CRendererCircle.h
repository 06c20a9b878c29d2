#pragma once
// Renderer of Circle items: an outlined circle of Radius pixels at every point, filled
// with a texture, a gradient or ColorFill when the item asks for one. Owned by the render
// parser; GUI message thread only.

#include "render/CRenderer.h"

class CRendererCircle : public CRenderer
{
public:
    CRendererCircle() = default;
    ~CRendererCircle() override = default;

    void Render() override;
};
