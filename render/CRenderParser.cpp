#include "render/CRenderParser.h"

#include "render/CRendererCircle.h"
#include "render/CRendererInfo.h"
#include "render/CRendererLine.h"
#include "render/CRendererPolygon.h"
#include "xml/XmlTags.h"

void CRenderParser::RegisterActors()
{
    SetActor(Tag::Info, new CRendererInfo());
    SetActor(Tag::Polygon, new CRendererPolygon());
    SetActor(Tag::Circle, new CRendererCircle());
    SetActor(Tag::Line, new CRendererLine());
}

void CRenderParser::SetTarget(juce::Image* image)
{
    for (auto& entry : actors)
        if (auto* renderer = dynamic_cast<CRenderer*>(entry.second))
            renderer->SetTarget(image);
}

void CRenderParser::SetView(const CRenderView& view, CRenderExtent* extent)
{
    for (auto& entry : actors)
        if (auto* renderer = dynamic_cast<CRenderer*>(entry.second))
        {
            renderer->SetView(view);
            renderer->SetExtent(extent);
        }
}

void CRenderParser::SetSplColours(const CRendererLine::SplColours& colours, const CRendererLine::SampleLevel& level)
{
    for (auto& entry : actors)
        if (auto* line = dynamic_cast<CRendererLine*>(entry.second))
        {
            line->SetSplColours(colours);
            line->SetSampleLevel(level);
        }
}
