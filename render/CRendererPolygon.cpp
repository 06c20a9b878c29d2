#include "render/CRendererPolygon.h"

#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <optional>

void CRendererPolygon::Render()
{
    RestartPoints();
    if (GetTarget() == nullptr)
        return;

    SetupTransform();
    int lineColour = 0;
    GetAttrColour(Tag::ColorLine, (int) 0xffffffffu, lineColour);
    float lineWidth = 1.0f;
    GetAttrFloat(Tag::LineWidth, 1.0f, lineWidth);

    // Fill anchors are data coordinates, converted like the points.
    const std::optional<juce::FillType> fill = ReadFill(FillAnchors::Converted);

    std::vector<juce::Point<float>> points;
    float x = 0.0f, y = 0.0f;
    while (NextPoint(x, y))
        points.emplace_back(x + OffsetX(), y + OffsetY());
    const juce::Path path = ClipPolygon(points, DrawableBox());
    if (path.isEmpty())
        return;

    juce::Graphics g(*GetTarget());
    g.setColour(juce::Colour((juce::uint32) lineColour));
    g.strokePath(path, juce::PathStrokeType(lineWidth));
    if (fill)
    {
        g.setFillType(*fill);
        g.fillPath(path);
    }
}
