#pragma once
// Renderer of Info items: draws nothing and only takes the item's conversion bases, which
// the items after it share. Owned by the render parser; GUI message thread only.

#include "render/CRenderer.h"

class CRendererInfo : public CRenderer
{
public:
    CRendererInfo() = default;
    ~CRendererInfo() override = default;

    void Render() override;
};
