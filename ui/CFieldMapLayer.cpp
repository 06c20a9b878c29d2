#include "ui/CFieldMapLayer.h"

#include "app/CFieldMapPicture.h"
#include "engine/CEngineManager.h"
#include "engine/CFieldMap.h"

#include <juce_gui_basics/juce_gui_basics.h>

// Tells a finished computation or a queued request whether the layer that asked for it
// still exists; both sides look at it on the message thread only.
struct CFieldMapLayer::Token
{
    CFieldMapLayer* layer = nullptr;
};

bool CFieldMapLayer::Frame::operator==(const Frame& other) const
{
    return placement.scale == other.placement.scale && placement.originX == other.placement.originX
           && placement.originY == other.placement.originY && width == other.width && height == other.height;
}

CFieldMapLayer::CFieldMapLayer(std::function<void()> redraw)
    : redrawPicture(std::move(redraw)), token(std::make_shared<Token>())
{
    token->layer = this;
}

CFieldMapLayer::~CFieldMapLayer()
{
    token->layer = nullptr;
    if (worker.joinable())
        worker.join();
}

void CFieldMapLayer::Draw(juce::Image& picture, const CVenuePicture::Placement& placement)
{
    if (! CEngineManager::IsFieldMapShown())
        return;
    const Frame now { placement, picture.getWidth(), picture.getHeight() };
    if (map.isValid())
    {
        juce::Graphics g(picture);
        if (now == mapFrame)
            g.drawImageAt(map, 0, 0);
        else
        {
            // A venue point at p in the map's frame lands at origin + k (p - old origin) now.
            const CVenuePicture::Placement& old = mapFrame.placement;
            const float k = (float) (placement.scale / old.scale);
            g.drawImageTransformed(map, juce::AffineTransform::translation((float) -old.originX, (float) -old.originY)
                                            .scaled(k)
                                            .translated((float) placement.originX, (float) placement.originY));
        }
    }
    const bool moved = ! drawn || ! (now == lastDrawn);
    drawn = true;
    lastDrawn = now;
    if (moved)
        Request();
}

void CFieldMapLayer::Update()
{
    if (! CEngineManager::IsFieldMapShown())
    {
        // A running computation's result is dropped; the picture already went without it.
        ++generation;
        pending = false;
        map = juce::Image();
        return;
    }
    if (drawn)
        Request();
}

void CFieldMapLayer::Request()
{
    pending = true;
    if (scheduled || running)
        return;
    // From the message loop, so that the requests of one redraw (the picture's and the
    // design's) start one computation.
    scheduled = true;
    std::shared_ptr<Token> owner = token;
    juce::MessageManager::callAsync([owner] {
        if (CFieldMapLayer* layer = owner->layer)
        {
            layer->scheduled = false;
            if (layer->pending && ! layer->running)
                layer->StartNext();
        }
    });
}

void CFieldMapLayer::StartNext()
{
    pending = false;
    if (! CEngineManager::IsFieldMapShown() || ! drawn)
        return;
    if (worker.joinable())
        worker.join();
    running = true;
    const unsigned asked = ++generation;
    // The snapshot is taken here, on the GUI thread; the worker only reads it.
    auto snapshot = std::make_shared<const CFieldMap>(CFieldMap::FromDesign());
    const CBandView view = CEngineManager::GetView();
    const Frame frame = lastDrawn;
    const CPictureConversion conversion = CFieldMapPicture::Conversion(frame.placement, frame.width, frame.height);
    std::shared_ptr<Token> owner = token;
    worker = std::thread([snapshot, view, conversion, owner, asked, frame] {
        auto grid = std::make_shared<CFieldGrid>(
            snapshot->Compute(view, conversion, CFieldMap::kDefaultCellPx, CFieldMap::DefaultThreads()));
        juce::MessageManager::callAsync([owner, asked, frame, grid] {
            if (owner->layer != nullptr)
                owner->layer->Finish(asked, frame, *grid);
        });
    });
}

void CFieldMapLayer::Finish(unsigned asked, const Frame& frame, const CFieldGrid& grid)
{
    running = false;
    if (asked == generation && CEngineManager::IsFieldMapShown())
    {
        map = CFieldMapPicture::Paint(grid, frame.width, frame.height);
        mapFrame = frame;
        if (redrawPicture)
            redrawPicture();
    }
    if (pending)
        StartNext();
}
