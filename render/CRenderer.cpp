#include "render/CRenderer.h"

#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace
{
CPoint globalBase;
CPoint localBase;

constexpr double kScale = 0.5;

int ToInt(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= (float) std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (value <= (float) std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return (int) value;
}

// Runs `read`, naming the attribute it reads in the error it may raise.
template <typename Read>
auto Named(const std::string& name, Read read) -> decltype(read())
{
    try
    {
        return read();
    }
    catch (const std::exception& e)
    {
        throw std::runtime_error(name + ": " + e.what());
    }
}

// An element that only marks something: created without a value, or loaded empty.
bool CarriesNoValue(CXmlNode* element)
{
    if (! element->HasValue())
        return true;
    return element->GetValueType() == CXmlNode::kString && element->GetString("").empty();
}
}

//==============================================================================
juce::Rectangle<float> CRenderer::DrawableBox() const
{
    return target != nullptr ? DrawableBox(*target) : juce::Rectangle<float>();
}

juce::Rectangle<float> CRenderer::DrawableBox(const juce::Image& picture)
{
    // Far inside what 24.8 fixed point holds, far beyond anything on show.
    constexpr float kMargin = 100000.0f;
    return picture.getBounds().toFloat().expanded(kMargin);
}

bool CRenderer::ClipSegment(juce::Point<float>& a, juce::Point<float>& b, const juce::Rectangle<float>& box)
{
    if (! std::isfinite(a.x) || ! std::isfinite(a.y) || ! std::isfinite(b.x) || ! std::isfinite(b.y))
        return false;
    // Liang-Barsky, in doubles so that the far ends keep their direction.
    const double dx = (double) b.x - a.x, dy = (double) b.y - a.y;
    double t0 = 0.0, t1 = 1.0;
    const double p[] = { -dx, dx, -dy, dy };
    const double q[] = { (double) a.x - box.getX(), (double) box.getRight() - a.x, (double) a.y - box.getY(),
                         (double) box.getBottom() - a.y };
    for (int i = 0; i < 4; ++i)
    {
        if (p[i] == 0.0)
        {
            if (q[i] < 0.0)
                return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1)
            return false;
    }
    const juce::Point<double> from(a.x, a.y);
    a = { (float) (from.x + t0 * dx), (float) (from.y + t0 * dy) };
    b = { (float) (from.x + t1 * dx), (float) (from.y + t1 * dy) };
    return true;
}

juce::Path CRenderer::ClipPolygon(const std::vector<juce::Point<float>>& points, const juce::Rectangle<float>& box)
{
    juce::Path path;
    for (const juce::Point<float>& p : points)
        if (! std::isfinite(p.x) || ! std::isfinite(p.y))
            return path;
    // Sutherland-Hodgman against the box's four sides, in doubles.
    std::vector<juce::Point<double>> polygon;
    for (const juce::Point<float>& p : points)
        polygon.push_back(p.toDouble());
    const auto inside = [&box](int side, juce::Point<double> p) {
        switch (side)
        {
            case 0: return p.x >= box.getX();
            case 1: return p.x <= box.getRight();
            case 2: return p.y >= box.getY();
            default: return p.y <= box.getBottom();
        }
    };
    const auto crossing = [&box](int side, juce::Point<double> a, juce::Point<double> b) {
        const double edge = side == 0 ? box.getX() : side == 1 ? box.getRight() : side == 2 ? box.getY() : box.getBottom();
        const double t = side < 2 ? (edge - a.x) / (b.x - a.x) : (edge - a.y) / (b.y - a.y);
        return a + (b - a) * t;
    };
    for (int side = 0; side < 4 && ! polygon.empty(); ++side)
    {
        std::vector<juce::Point<double>> kept;
        for (size_t i = 0; i < polygon.size(); ++i)
        {
            const juce::Point<double> current = polygon[i];
            const juce::Point<double> previous = polygon[(i + polygon.size() - 1) % polygon.size()];
            if (inside(side, current))
            {
                if (! inside(side, previous))
                    kept.push_back(crossing(side, previous, current));
                kept.push_back(current);
            }
            else if (inside(side, previous))
            {
                kept.push_back(crossing(side, previous, current));
            }
        }
        polygon = std::move(kept);
    }
    for (size_t i = 0; i < polygon.size(); ++i)
    {
        const juce::Point<float> p = polygon[i].toFloat();
        if (i == 0)
            path.startNewSubPath(p);
        else
            path.lineTo(p);
    }
    if (! polygon.empty())
        path.closeSubPath();
    return path;
}

float CRenderer::ToPixel(double value)
{
    // A double beyond the float range must not be converted (undefined behaviour).
    if (value > std::numeric_limits<float>::max())
        return std::numeric_limits<float>::infinity();
    if (value < -std::numeric_limits<float>::max())
        return -std::numeric_limits<float>::infinity();
    return (float) value;
}

std::optional<juce::FillType> CRenderer::ReadFill(FillAnchors anchors)
{
    auto anchor = [this, anchors](const std::string& xTag, const std::string& yTag) {
        double x = 0.0, y = 0.0;
        GetAttrDouble(xTag, 0.0, x);
        GetAttrDouble(yTag, 0.0, y);
        if (anchors == FillAnchors::Converted)
            Transform(x, y);
        return juce::Point<float>(ToPixel(x), ToPixel(y));
    };

    std::string texture;
    GetAttrText(Tag::TextureFill, "", texture);
    if (! texture.empty())
    {
        const juce::Point<float> at = anchor(Tag::TextureX, Tag::TextureY);
        return juce::FillType(GetTextureTile(), juce::AffineTransform::translation(at.x, at.y));
    }

    int gradientFill = 0;
    GetAttrInt(Tag::GradientFill, 0, gradientFill);
    int startColour = 0, endColour = 0;
    GetAttrColour(Tag::GradientColorStart, 0, startColour);
    GetAttrColour(Tag::GradientColorEnd, 0, endColour);
    if (gradientFill != 0 && startColour != 0 && endColour != 0)
    {
        const juce::Point<float> offset(OffsetX(), OffsetY());
        const juce::Point<float> from = anchor(Tag::GradientX1, Tag::GradientY1) + offset;
        const juce::Point<float> to = anchor(Tag::GradientX2, Tag::GradientY2) + offset;
        int radial = 0;
        GetAttrInt(Tag::GradientRadial, 0, radial);
        return juce::FillType(juce::ColourGradient(juce::Colour((juce::uint32) startColour), from,
                                                   juce::Colour((juce::uint32) endColour), to, radial != 0));
    }

    int fillColour = 0;
    if (GetAttrColour(Tag::ColorFill, 0, fillColour))
        return juce::FillType(juce::Colour((juce::uint32) fillColour));
    return std::nullopt;
}

void CRenderer::Act(CXmlNode* item)
{
    CXmlParserActor::Act(item);
    RestartPoints();
    try
    {
        Render();
    }
    catch (const std::exception& e)
    {
        // The scene names each item's group after the document path it was copied from,
        // "_Venue1_RenderSpec" for instance.
        std::string item = node->GetName();
        if (const int slot = node->FindChild(Tag::Slot)->GetInt(0); slot > 0)
            item += " " + std::to_string(slot);
        std::string from = node->GetParent()->GetName();
        from.erase(0, from.find_first_not_of('_'));
        std::replace(from.begin(), from.end(), '_', '/');
        throw std::runtime_error("Could not draw " + item + " of " + from + ": " + e.what());
    }
}

bool CRenderer::HasItem() const
{
    return node != nullptr && ! node->IsNull();
}

CXmlNode* CRenderer::FindAttribute(const std::string& name) const
{
    return node->FindChild(Tag::TagList)->FindChild(name);
}

void CRenderer::SetPixelOffset(float x, float y)
{
    offsetX = x;
    offsetY = y;
}

//==============================================================================
bool CRenderer::GetAttrInt(const std::string& name, int defaultValue, int& out)
{
    out = defaultValue;
    if (HasItem())
    {
        CXmlNode* attribute = FindAttribute(name);
        if (attribute->IsNull())
            return false;
        out = Named(name, [&] { return attribute->GetInt(defaultValue); });
        return true;
    }
    auto found = ownNumbers.find(name);
    if (found == ownNumbers.end())
        return false;
    out = ToInt(found->second);
    return true;
}

bool CRenderer::GetAttrFloat(const std::string& name, float defaultValue, float& out)
{
    double value = 0.0;
    const bool found = GetAttrDouble(name, defaultValue, value);
    out = ToPixel(value);
    return found;
}

bool CRenderer::GetAttrDouble(const std::string& name, double defaultValue, double& out)
{
    out = defaultValue;
    if (HasItem())
    {
        CXmlNode* attribute = FindAttribute(name);
        if (attribute->IsNull())
            return false;
        out = Named(name, [&] { return attribute->GetDouble(defaultValue); });
        return true;
    }
    auto found = ownNumbers.find(name);
    if (found == ownNumbers.end())
        return false;
    out = found->second;
    return true;
}

bool CRenderer::GetAttrColour(const std::string& name, int defaultValue, int& out)
{
    if (HasItem())
        return GetAttrInt(name, defaultValue, out);
    out = defaultValue;
    auto found = ownColours.find(name);
    if (found == ownColours.end())
        return false;
    out = found->second;
    return true;
}

bool CRenderer::GetAttrText(const std::string& name, const std::string& defaultValue, std::string& out)
{
    out = defaultValue;
    if (HasItem())
    {
        CXmlNode* attribute = FindAttribute(name);
        if (attribute->IsNull())
            return false;
        out = Named(name, [&] { return attribute->GetString(defaultValue); });
        return true;
    }
    auto found = ownTexts.find(name);
    if (found == ownTexts.end())
        return false;
    out = found->second;
    return true;
}

bool CRenderer::GetAttrSwitch(const std::string& name)
{
    if (HasItem())
    {
        CXmlNode* attribute = FindAttribute(name);
        if (attribute->IsNull())
            return false;
        return CarriesNoValue(attribute) || Named(name, [&] { return attribute->GetInt(0); }) != 0;
    }
    int value = 0;
    GetAttrInt(name, 0, value);
    return value != 0;
}

void CRenderer::SetAttrNumber(const std::string& name, float value)
{
    ownNumbers[name] = value;
}

void CRenderer::SetAttrColour(const std::string& name, int argb)
{
    ownColours[name] = argb;
}

void CRenderer::SetAttrText(const std::string& name, const std::string& value)
{
    ownTexts[name] = value;
}

void CRenderer::AddPoint(float x, float y)
{
    ownPoints.emplace_back(x, y);
}

//==============================================================================
void CRenderer::RestartPoints()
{
    nextOwnPoint = 0;
    currentPoint = nullptr;
    pointsStarted = false;
}

bool CRenderer::NextPoint(float& x, float& y)
{
    if (! HasItem())
    {
        if (nextOwnPoint >= ownPoints.size())
            return false;
        x = ownPoints[nextOwnPoint].first;
        y = ownPoints[nextOwnPoint].second;
        ++nextOwnPoint;
        return true;
    }

    if (! pointsStarted)
    {
        currentPoint = node->FindChild(Tag::PointList)->FindChild("");
        pointsStarted = true;
        // The item's key is the name of the element that holds it.
        measuring = extent != nullptr && extent->Takes(node->GetParent()->GetName());
    }
    else if (currentPoint != nullptr && ! currentPoint->IsNull())
    {
        currentPoint = currentPoint->NextSibling("");
    }
    if (currentPoint == nullptr || currentPoint->IsNull())
        return false;

    const CPoint* point = Named(Tag::PointList + " " + currentPoint->GetName(), [this] { return currentPoint->GetPoint(); });
    double px = point->x;
    double py = point->y;
    Transform(px, py);
    if (measuring)
        extent->Add(view.ToClassicX(px), view.ToClassicY(py));
    x = ToPixel(px);
    y = ToPixel(py);
    return true;
}

//==============================================================================
double CRenderer::ReadBase(const std::string& name, double fallback)
{
    // A base element without a number (the venue's own local base) places the item at the
    // origin; keeping the previous item's base would shift it.
    CXmlNode* attribute = FindAttribute(name);
    if (! attribute->IsNull() && CarriesNoValue(attribute))
        return 0.0;
    double value = fallback;
    GetAttrDouble(name, fallback, value);
    return value;
}

void CRenderer::SetupTransform()
{
    translation.x = 0.0;
    translation.y = 0.0;
    if (HasItem())
    {
        if (! FindAttribute(Tag::ConvGBaseX)->IsNull())
        {
            globalBase.x = ReadBase(Tag::ConvGBaseX, globalBase.x);
            globalBase.y = ReadBase(Tag::ConvGBaseY, globalBase.y);
        }
        if (! FindAttribute(Tag::ConvLBaseX)->IsNull())
        {
            localBase.x = ReadBase(Tag::ConvLBaseX, localBase.x);
            localBase.y = ReadBase(Tag::ConvLBaseY, localBase.y);
        }
        const double baseX = ReadBase(Tag::ConvBaseX, 0.0);
        const double baseY = ReadBase(Tag::ConvBaseY, 0.0);
        translation.x = localBase.x + globalBase.x + baseX;
        translation.y = localBase.y + globalBase.y + baseY;
    }

    // Scale and flip are fixed; the attributes are read for their defaults only.
    double ignored = 0.0;
    GetAttrDouble(Tag::ConvScaleX, 1.0, ignored);
    GetAttrDouble(Tag::ConvScaleY, 1.0, ignored);
    int ignoredFlip = 0;
    GetAttrInt(Tag::ConvFlipY, 0, ignoredFlip);
    scale.x = kScale;
    scale.y = kScale;
    flipY = true;
}

void CRenderer::Transform(double& x, double& y)
{
    x = scale.x * x + translation.x;
    y = scale.y * y + translation.y;
    if (flipY)
        y = -y;
    x = view.ToViewX(x);
    y = view.ToViewY(y);
}

//==============================================================================
CPoint CRenderer::GetGlobalBase()
{
    return globalBase;
}

CPoint CRenderer::GetLocalBase()
{
    return localBase;
}

void CRenderer::ResetSharedBases()
{
    globalBase = CPoint();
    localBase = CPoint();
}

const juce::Image& CRenderer::GetTextureTile()
{
    static const juce::Image tile = [] {
        juce::Image image(juce::Image::RGB, 30, 30, true);
        juce::Graphics g(image);
        g.fillAll(juce::Colours::black);
        g.setColour(juce::Colour(0xffff0000));
        g.fillEllipse(10.0f, 10.0f, 10.0f, 10.0f);
        return image;
    }();
    return tile;
}

const juce::ColourGradient& CRenderer::GetDefaultSplGradient()
{
    static const juce::ColourGradient gradient = [] {
        juce::ColourGradient g;
        g.point1 = { 0.0f, 0.0f };
        g.point2 = { 2000.0f, 2000.0f };
        g.isRadial = false;
        const juce::uint32 stops[] = { 0xff000000, 0xff800040, 0xff0000ff, 0xff008040, 0xffd2d200, 0xffff8000, 0xffff0000 };
        for (int i = 0; i < 7; ++i)
            g.addColour(i / 6.0, juce::Colour(stops[i]));
        return g;
    }();
    return gradient;
}
