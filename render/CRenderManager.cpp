#include "render/CRenderManager.h"

#include "render/CRenderParser.h"

#include <memory>

void CRenderManager::Render(juce::Image* image, CXmlNode* scene, const CRendererLine::SplColours& splColours)
{
    Render(image, scene, splColours, CRenderView(), nullptr);
}

void CRenderManager::Render(juce::Image* image, CXmlNode* scene, const CRendererLine::SplColours& splColours,
                            const CRenderView& view, CRenderExtent* extent)
{
    if (image == nullptr)
        return;
    // The parser and its renderers go even when an item's attribute cannot be read.
    auto parser = std::make_unique<CRenderParser>();
    parser->RegisterActors();
    parser->SetTarget(image);
    parser->SetSplColours(splColours);
    parser->SetView(view, extent);
    parser->Walk(scene);
}
