#pragma once
// The walker of render XML: hands every Info, Polygon, Circle and Line element of a scene
// to its renderer, which draws it into the target image. Owns its four renderers; lives
// for one drawing pass. GUI message thread only.

#include "render/CRenderView.h"
#include "render/CRendererLine.h"
#include "xml/CXmlParser.h"

namespace juce
{
class Image;
}

class CRenderParser : public CXmlParser
{
public:
    CRenderParser() = default;
    ~CRenderParser() override = default;

    void RegisterActors() override;
    // Every registered renderer draws into `image` (null: draws nothing).
    void SetTarget(juce::Image* image);
    // Every renderer draws through `view` and reports its points to `extent` (may be null).
    void SetView(const CRenderView& view, CRenderExtent* extent);
    // The colours the Line renderer paints SPL samples with.
    void SetSplColours(const CRendererLine::SplColours& colours, const CRendererLine::SampleLevel& level = {});
};
