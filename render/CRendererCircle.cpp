#include "render/CRendererCircle.h"

#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <optional>

void CRendererCircle::Render()
{
    RestartPoints();
    if (GetTarget() == nullptr)
        return;

    float radius = 0.0f;
    GetAttrFloat(Tag::Radius, 2.0f, radius);
    if (! (radius > 0.0f) || ! std::isfinite(radius))
        return;

    int lineColour = 0;
    GetAttrColour(Tag::ColorLine, (int) 0xff000000u, lineColour);
    float lineWidth = 1.0f;
    GetAttrFloat(Tag::LineWidth, 1.0f, lineWidth);
    int centred = 1;
    GetAttrInt(Tag::CenterOnPoint, 1, centred);

    juce::Graphics g(*GetTarget());
    const std::optional<juce::FillType> fill = ReadFill(FillAnchors::AsGiven);

    SetupTransform();
    float x = 0.0f, y = 0.0f;
    while (NextPoint(x, y))
    {
        const float left = (centred != 0 ? x - radius : x) + OffsetX();
        const float top = (centred != 0 ? y - radius : y) + OffsetY();
        if (! DrawableBox().contains(juce::Rectangle<float>(left, top, 2.0f * radius, 2.0f * radius)))
            continue;
        g.setColour(juce::Colour((juce::uint32) lineColour));
        g.drawEllipse(left, top, 2.0f * radius, 2.0f * radius, lineWidth);
        if (fill)
        {
            g.setFillType(*fill);
            g.fillEllipse(left, top, 2.0f * radius, 2.0f * radius);
        }
    }
}
