#pragma once
// Draws the venue picture: walks scene 2 of the scene document with a render parser whose
// renderers paint each Circle, Line, Polygon and Info item into the given image. A
// singleton with no state of its own that lives until the process ends. GUI message
// thread only; the caller clears the image before a pass.

#include "app/TemplateSingleton.h"
#include "render/CRenderView.h"

namespace juce
{
class Image;
}

class CRenderManager : public TemplateSingleton<CRenderManager>
{
public:
    virtual ~CRenderManager() = default;

    // Draws the items of scene 2 in document order over what `image` holds; a null image
    // draws nothing.
    void Render(juce::Image* image);
    // The same pass through `view`; every item point is added to `extent` when given.
    void Render(juce::Image* image, const CRenderView& view, CRenderExtent* extent);
};
