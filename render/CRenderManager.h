#pragma once
// Draws a scene: walks the given scene element with a render parser whose renderers paint
// each Circle, Line, Polygon and Info item into the given image, SPL samples in the given
// colours. A singleton with no state of its own that lives until the process ends. GUI
// message thread only; the caller clears the image before a pass.

#include "base/TemplateSingleton.h"
#include "render/CRenderView.h"
#include "render/CRendererLine.h"

namespace juce
{
class Image;
}
class CXmlNode;

class CRenderManager : public TemplateSingleton<CRenderManager>
{
public:
    virtual ~CRenderManager() = default;

    // Draws the items of `scene` in document order over what `image` holds; a null image
    // draws nothing. `sampleLevel` decides what level an SPL sample shows (default: its PressureDB).
    void Render(juce::Image* image, CXmlNode* scene, const CRendererLine::SplColours& splColours,
                const CRendererLine::SampleLevel& sampleLevel = {});
    // The same pass through `view`; every item point is added to `extent` when given.
    void Render(juce::Image* image, CXmlNode* scene, const CRendererLine::SplColours& splColours,
                const CRenderView& view, CRenderExtent* extent, const CRendererLine::SampleLevel& sampleLevel = {});
};
