#include "render/CRenderManager.h"

#include "engine/CSceneManager.h"
#include "render/CRenderParser.h"

#include <memory>

void CRenderManager::Render(juce::Image* image)
{
    Render(image, CRenderView(), nullptr);
}

void CRenderManager::Render(juce::Image* image, const CRenderView& view, CRenderExtent* extent)
{
    if (image == nullptr)
        return;
    // The parser and its renderers go even when an item's attribute cannot be read.
    auto parser = std::make_unique<CRenderParser>();
    parser->RegisterActors();
    parser->SetTarget(image);
    parser->SetView(view, extent);
    parser->Walk(CSceneManager::GetInstance()->GetScene(2));
}
