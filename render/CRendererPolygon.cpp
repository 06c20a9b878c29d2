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

    juce::Path path;
    float x = 0.0f, y = 0.0f;
    bool first = true;
    while (NextPoint(x, y))
    {
        if (first)
            path.startNewSubPath(x + OffsetX(), y + OffsetY());
        else
            path.lineTo(x + OffsetX(), y + OffsetY());
        first = false;
    }
    path.closeSubPath();
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
