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
    int fillColour = 0;
    const bool hasFillColour = GetAttrColour(Tag::ColorFill, 0, fillColour);
    int centred = 1;
    GetAttrInt(Tag::CenterOnPoint, 1, centred);

    juce::Graphics g(*GetTarget());
    std::optional<juce::FillType> fill;

    std::string texture;
    GetAttrText(Tag::TextureFill, "", texture);
    int gradientFill = 0;
    GetAttrInt(Tag::GradientFill, 0, gradientFill);
    int startColour = 0;
    int endColour = 0;
    GetAttrColour(Tag::GradientColorStart, 0, startColour);
    GetAttrColour(Tag::GradientColorEnd, 0, endColour);

    if (! texture.empty())
    {
        float tx = 0.0f, ty = 0.0f;
        GetAttrFloat(Tag::TextureX, 0.0f, tx);
        GetAttrFloat(Tag::TextureY, 0.0f, ty);
        fill = juce::FillType(GetTextureTile(), juce::AffineTransform::translation(tx, ty));
    }
    else if (gradientFill != 0 && startColour != 0 && endColour != 0)
    {
        float x1 = 0.0f, y1 = 0.0f, x2 = 0.0f, y2 = 0.0f;
        int radial = 0;
        GetAttrFloat(Tag::GradientX1, 0.0f, x1);
        GetAttrFloat(Tag::GradientY1, 0.0f, y1);
        GetAttrFloat(Tag::GradientX2, 0.0f, x2);
        GetAttrFloat(Tag::GradientY2, 0.0f, y2);
        GetAttrInt(Tag::GradientRadial, 0, radial);
        fill = juce::FillType(juce::ColourGradient(juce::Colour((juce::uint32) startColour), x1 + OffsetX(), y1 + OffsetY(),
                                                   juce::Colour((juce::uint32) endColour), x2 + OffsetX(), y2 + OffsetY(),
                                                   radial != 0));
    }
    else if (hasFillColour)
    {
        fill = juce::FillType(juce::Colour((juce::uint32) fillColour));
    }

    SetupTransform();
    float x = 0.0f, y = 0.0f;
    while (NextPoint(x, y))
    {
        const float left = (centred != 0 ? x - radius : x) + OffsetX();
        const float top = (centred != 0 ? y - radius : y) + OffsetY();
        g.setColour(juce::Colour((juce::uint32) lineColour));
        g.drawEllipse(left, top, 2.0f * radius, 2.0f * radius, lineWidth);
        if (fill)
        {
            g.setFillType(*fill);
            g.fillEllipse(left, top, 2.0f * radius, 2.0f * radius);
        }
    }
}
