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
    int fillColour = 0;
    const bool hasFillColour = GetAttrColour(Tag::ColorFill, 0, fillColour);

    std::optional<juce::FillType> fill;
    std::string texture;
    GetAttrText(Tag::TextureFill, "", texture);
    int gradientFill = 0;
    GetAttrInt(Tag::GradientFill, 0, gradientFill);
    int startColour = 0;
    int endColour = 0;
    GetAttrColour(Tag::GradientColorStart, 0, startColour);
    GetAttrColour(Tag::GradientColorEnd, 0, endColour);

    // Fill anchors are data coordinates, converted like the points.
    if (! texture.empty())
    {
        double tx = 0.0, ty = 0.0;
        GetAttrDouble(Tag::TextureX, 0.0, tx);
        GetAttrDouble(Tag::TextureY, 0.0, ty);
        Transform(tx, ty);
        fill = juce::FillType(GetTextureTile(), juce::AffineTransform::translation(ToPixel(tx), ToPixel(ty)));
    }
    else if (gradientFill != 0 && startColour != 0 && endColour != 0)
    {
        double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
        int radial = 0;
        GetAttrDouble(Tag::GradientX1, 0.0, x1);
        GetAttrDouble(Tag::GradientY1, 0.0, y1);
        GetAttrDouble(Tag::GradientX2, 0.0, x2);
        GetAttrDouble(Tag::GradientY2, 0.0, y2);
        GetAttrInt(Tag::GradientRadial, 0, radial);
        Transform(x1, y1);
        Transform(x2, y2);
        fill = juce::FillType(juce::ColourGradient(juce::Colour((juce::uint32) startColour),
                                                   ToPixel(x1) + OffsetX(), ToPixel(y1) + OffsetY(),
                                                   juce::Colour((juce::uint32) endColour),
                                                   ToPixel(x2) + OffsetX(), ToPixel(y2) + OffsetY(), radial != 0));
    }
    else if (hasFillColour)
    {
        fill = juce::FillType(juce::Colour((juce::uint32) fillColour));
    }

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
