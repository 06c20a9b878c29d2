#include "render/CRendererLine.h"

#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr float kWideLine = 6.0f;
// More dash periods than this on one segment would stall the drawing; such a line is drawn
// solid instead.
constexpr double kMaxDashPeriods = 100000.0;

bool UsableDashPattern(const juce::Line<float>& segment, float dash, float gap)
{
    if (! (dash > 0.0f) || ! (gap > 0.0f) || ! std::isfinite(dash) || ! std::isfinite(gap))
        return false;
    return segment.getLength() / ((double) dash + gap) <= kMaxDashPeriods;
}

int CountSamples(CXmlNode* list)
{
    int count = 0;
    for (CXmlNode* c = list->FindChild(Tag::SplPoint); ! c->IsNull(); c = list->FindChild(Tag::SplPoint, c))
        ++count;
    return count;
}
}

juce::ColourGradient CRendererLine::BuildSplGradient()
{
    CXmlNode* list = HasItem() ? GetNode()->FindChild(Tag::SplList) : CXmlNode::GetNullNode();
    const int total = list->FindChild(Tag::SplTotal)->FindChild(Tag::Total)->GetInt(0);
    if (total < 2 || ! splColours)
        return GetDefaultSplGradient();

    juce::ColourGradient gradient;
    gradient.isRadial = false;
    // A count beyond the samples present only adds work; missing slots add nothing useful.
    const int samples = std::min(total, CountSamples(list));
    for (int i = 1; i <= samples; ++i)
    {
        CXmlNode* sample = list->FindChildByInt(Tag::SplPoint, Tag::Slot, i);
        const double level = sampleLevel ? sampleLevel(sample) : sample->FindChild(Tag::PressureDB)->GetDouble(0.0);
        double position = sample->FindChild(Tag::LDist)->GetDouble(0.0);
        position = std::isnan(position) ? 0.0 : std::clamp(position, 0.0, 1.0);
        gradient.addColour(position, juce::Colour((juce::uint32) splColours(level)));
    }
    if (gradient.getNumColours() < 2)
        return GetDefaultSplGradient();
    return gradient;
}

void CRendererLine::Render()
{
    RestartPoints();
    if (GetTarget() == nullptr)
        return;

    int lineColour = 0;
    GetAttrColour(Tag::ColorLine, (int) 0xffffffffu, lineColour);
    float lineWidth = 1.0f;
    GetAttrFloat(Tag::LineWidth, 1.0f, lineWidth);
    float dash = 0.0f, gap = 0.0f;
    GetAttrFloat(Tag::DashLength, 0.0f, dash);
    GetAttrFloat(Tag::DashInterval, 0.0f, gap);

    std::string texture;
    GetAttrText(Tag::TextureFill, "", texture);
    const bool useTexture = ! texture.empty();
    float textureX = 0.0f, textureY = 0.0f;
    GetAttrFloat(Tag::TextureX, 0.0f, textureX);
    GetAttrFloat(Tag::TextureY, 0.0f, textureY);

    // The two colours only decide whether the brush is used; it always shows the SPL
    // colours. Wide lines take it regardless of the colours given.
    bool useGradient = false;
    int gradientFill = 0;
    GetAttrInt(Tag::GradientFill, 0, gradientFill);
    juce::ColourGradient brush = GetDefaultSplGradient();
    if (gradientFill != 0)
    {
        int startColour = 0, endColour = 0;
        GetAttrColour(Tag::GradientColorStart, 0, startColour);
        GetAttrColour(Tag::GradientColorEnd, 0, endColour);
        if (lineWidth >= kWideLine)
        {
            startColour = (int) 0xff000000u;
            endColour = (int) 0xffff0000u;
        }
        useGradient = startColour != 0 && endColour != 0;
        float x1 = 0.0f, y1 = 0.0f, x2 = 0.0f, y2 = 0.0f;
        int radial = 0;
        GetAttrFloat(Tag::GradientX1, 0.0f, x1);
        GetAttrFloat(Tag::GradientY1, 0.0f, y1);
        GetAttrFloat(Tag::GradientX2, 0.0f, x2);
        GetAttrFloat(Tag::GradientY2, 0.0f, y2);
        GetAttrInt(Tag::GradientRadial, 0, radial);
        brush.point1 = { x1, y1 };
        brush.point2 = { x2, y2 };
        brush.isRadial = radial != 0;
    }

    const bool useSpl = GetAttrSwitch(Tag::SplGradient);
    juce::ColourGradient splBrush = useSpl ? BuildSplGradient() : juce::ColourGradient();

    juce::Graphics g(*GetTarget());
    g.setColour(juce::Colour((juce::uint32) lineColour));
    SetupTransform();

    float x = 0.0f, y = 0.0f;
    if (! NextPoint(x, y))
        return;
    const juce::Point<float> first(x + OffsetX(), y + OffsetY());
    juce::Point<float> previous = first;
    while (NextPoint(x, y))
    {
        const juce::Point<float> current(x + OffsetX(), y + OffsetY());
        if (useTexture)
        {
            g.setFillType(juce::FillType(GetTextureTile(), juce::AffineTransform::translation(textureX, textureY)));
        }
        else if (useGradient)
        {
            if (lineWidth >= kWideLine)
                brush.point2 = current;
            g.setGradientFill(brush);
        }
        else if (useSpl)
        {
            splBrush.point1 = first;
            splBrush.point2 = current;
            g.setGradientFill(splBrush);
        }

        juce::Point<float> from = previous, to = current;
        previous = current;
        if (! ClipSegment(from, to, DrawableBox()))
            continue;
        const juce::Line<float> segment(from, to);
        if (UsableDashPattern(segment, dash, gap))
        {
            const float pattern[] = { dash, gap };
            g.drawDashedLine(segment, pattern, 2, lineWidth);
        }
        else
        {
            g.drawLine(segment, lineWidth);
        }
    }
}
