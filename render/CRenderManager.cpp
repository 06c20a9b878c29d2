#include "render/CRenderManager.h"

#include "render/CRenderParser.h"

#include <memory>

void CRenderManager::Render(juce::Image* image, CXmlNode* scene, const CRendererLine::SplColours& splColours,
                            const CRendererLine::SampleLevel& sampleLevel)
{
    Render(image, scene, splColours, CRenderView(), nullptr, sampleLevel);
}

void CRenderManager::Render(juce::Image* image, CXmlNode* scene, const CRendererLine::SplColours& splColours,
                            const CRenderView& view, CRenderExtent* extent,
                            const CRendererLine::SampleLevel& sampleLevel)
{
    if (image == nullptr)
        return;
    // The parser and its renderers go even when an item's attribute cannot be read.
    auto parser = std::make_unique<CRenderParser>();
    parser->RegisterActors();
    parser->SetTarget(image);
    parser->SetSplColours(splColours, sampleLevel);
    parser->SetView(view, extent);
    parser->Walk(scene);
}
