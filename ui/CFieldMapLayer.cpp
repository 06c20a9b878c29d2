#include "ui/CFieldMapLayer.h"

#include "app/CFieldMapPicture.h"
#include "app/CJuceManager.h"
#include "engine/CEngineManager.h"
#include "engine/CFieldMap.h"

#include <juce_gui_basics/juce_gui_basics.h>

// Tells a finished computation whether the layer that asked for it still exists; both
// sides look at it on the message thread only.
struct CFieldMapLayer::Token
{
    CFieldMapLayer* layer = nullptr;
};

CFieldMapLayer::CFieldMapLayer() : token(std::make_shared<Token>())
{
    token->layer = this;
}

CFieldMapLayer::~CFieldMapLayer()
{
    token->layer = nullptr;
    if (worker.joinable())
        worker.join();
}

void CFieldMapLayer::Update()
{
    if (! CEngineManager::IsFieldMapShown())
    {
        ++generation;
        pending = false;
        if (shown)
        {
            shown = false;
            CJuceManager::GetInstance()->SetFieldMapImage(juce::Image());
        }
        return;
    }
    pending = true;
    if (! running)
        StartNext();
}

void CFieldMapLayer::StartNext()
{
    const juce::Image* canvas = CJuceManager::GetInstance()->GetCanvasImage();
    pending = false;
    if (canvas == nullptr || ! canvas->isValid())
        return;
    if (worker.joinable())
        worker.join();
    running = true;
    const unsigned asked = ++generation;
    // The snapshot is taken here, on the GUI thread; the worker only reads it.
    auto map = std::make_shared<const CFieldMap>(CFieldMap::FromDesign());
    const CBandView view = CEngineManager::GetView();
    const CPictureConversion conversion = CFieldMapPicture::VenueConversion(canvas->getWidth(), canvas->getHeight());
    std::shared_ptr<Token> owner = token;
    worker = std::thread([map, view, conversion, owner, asked] {
        auto grid = std::make_shared<CFieldGrid>(
            map->Compute(view, conversion, CFieldMap::kDefaultCellPx, CFieldMap::DefaultThreads()));
        juce::MessageManager::callAsync([owner, asked, grid] {
            if (owner->layer != nullptr)
                owner->layer->Finish(asked, *grid);
        });
    });
}

void CFieldMapLayer::Finish(unsigned asked, const CFieldGrid& grid)
{
    running = false;
    if (asked == generation && CEngineManager::IsFieldMapShown())
    {
        const juce::Image* canvas = CJuceManager::GetInstance()->GetCanvasImage();
        if (canvas != nullptr && canvas->isValid())
        {
            shown = true;
            CJuceManager::GetInstance()->SetFieldMapImage(
                CFieldMapPicture::Paint(grid, canvas->getWidth(), canvas->getHeight()));
        }
    }
    if (pending)
        StartNext();
}
