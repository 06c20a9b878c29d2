#include "render/CVenuePicture.h"

#include "base/CLine.h"
#include "base/CPoint.h"
#include "render/CRenderManager.h"
#include "render/CRenderer.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace
{
const juce::Colour kBackground(0xff3c3c3cu);
const juce::Colour kSurfaceOutline(0xff101010u);
// Wider than a surface's six-pixel line: a rim on either side.
constexpr float kSurfaceOutlineWidth = 10.0f;
const juce::Colour kGridLine(0x30ffffffu);
const juce::Colour kGridZero(0x70ffffffu);
const juce::Colour kGridText(0xc0ffffffu);
const juce::Colour kSurfaceText(0xf0ffffffu);
constexpr double kMinGridPixels = 56.0;
// More grid lines than this means a degenerate view; none are drawn then.
constexpr int kMaxGridLines = 400;

// Lines first..last; where the doubles are too coarse to count them, at most the limit.
int GridLineCount(double first, double last)
{
    const double count = last - first + 1.0;
    return count > 0.0 ? (int) std::min(count, (double) kMaxGridLines + 1.0) : 0;
}

// Venue inches to classic pixels. The venue's items come last in the scene and leave the
// shared bases as they drew with them, so after a pass the bases are the venue's.
struct VenueFrame
{
    double tx = 0.0;
    double ty = 0.0;

    static VenueFrame Current()
    {
        const CPoint g = CRenderer::GetGlobalBase();
        const CPoint l = CRenderer::GetLocalBase();
        return { g.x + l.x, g.y + l.y };
    }

    double ClassicX(double x) const { return 0.5 * x + tx; }
    double ClassicY(double y) const { return -(0.5 * y + ty); }
    double VenueX(double classicX) const { return (classicX - tx) / 0.5; }
    double VenueY(double classicY) const { return (-classicY - ty) / 0.5; }
};

bool HoldsNumber(CXmlNode* node)
{
    return ! node->IsNull() && node->HasValue() && (node->GetValueType() != CXmlNode::kString || ! node->GetString("").empty());
}

double NumberOr(CXmlNode* node, double fallback)
{
    return HoldsNumber(node) ? node->GetDouble(fallback) : fallback;
}

// The drawn surfaces of venue 1 (stage and visible audience areas), read without adding
// anything to the document.
template <typename Visit>
void ForEachDrawnSurface(Visit&& visit)
{
    CXmlNode* areaList = CVenueManager::GetInstance()->GetVenue(1)->FindChild(Tag::AreaList);
    const int total = (int) NumberOr(areaList->FindChild(Tag::Total), 0.0);
    for (int slot = 1; slot <= total; ++slot)
    {
        CXmlNode* area = areaList->FindChildByInt(Tag::Area, Tag::Slot, slot);
        CXmlNode* lineNode = area->FindChild(Tag::Line);
        if (area->IsNull() || lineNode->IsNull())
            continue;
        const std::string type = HoldsNumber(area->FindChild(Tag::Type)) ? area->FindChild(Tag::Type)->GetString("") : Tag::Area;
        if (type == Tag::HangPoint)
            continue;
        if (type == Tag::Area && NumberOr(area->FindChild(Tag::Visible), 1.0) == 0.0)
            continue;
        visit(area, lineNode);
    }
}

juce::Font TextFont(float height)
{
    return juce::Font(juce::Font::getDefaultSansSerifFontName(), height, juce::Font::plain);
}

std::string GridText(double value, double step)
{
    const int decimals = step >= 1.0 ? 0 : step >= 0.1 ? 1 : 2;
    if (std::abs(value) < step * 1e-6)
        value = 0.0;
    return juce::String(value, decimals).toStdString();
}
} // namespace

//==============================================================================
CRenderExtent CVenuePicture::Measure(CXmlNode* scene)
{
    juce::Image scratch(juce::Image::RGB, 1, 1, true);
    CRenderExtent extent;
    // An aim line that misses every surface runs on to the back wall, far above the
    // venue; those that land, land on surfaces the extent holds anyway.
    extent.leftOut.push_back("_" + Tag::AimStuff);
    CRenderManager::GetInstance()->Render(&scratch, scene, {}, CRenderView(), &extent);
    return extent;
}

CRenderView CVenuePicture::FitView(CXmlNode* scene, int width, int height, double margin)
{
    return CRenderView::Fit(Measure(scene), width, height, margin);
}

CRenderView CVenuePicture::Draw(juce::Image& picture, const Options& options)
{
    CRenderView view = options.view;
    if (options.framing == Framing::Classic)
        view = CRenderView();
    else if (options.framing == Framing::Fit)
        view = FitView(options.scene, picture.getWidth(), picture.getHeight(), kFitMargin * options.textScale);
    else
        Measure(options.scene); // the bases of this scene, for the grid
    if (options.framing == Framing::Classic && options.underlay)
        Measure(options.scene); // the bases, for the underlay's placement

    double low = 0.0, high = 0.0;
    if (options.followLevels
        && ShownLevelRange(options.scene, view, picture.getWidth(), picture.getHeight(), low, high, options.level))
        options.followLevels(low, high);

    picture.clear(picture.getBounds(), kBackground);
    if (options.underlay)
        options.underlay(picture, VenuePlacement(view));
    if (options.annotate)
        DrawGrid(picture, view, options);
    if (options.outlineSurfaces)
        DrawSurfaceOutlines(picture, view, options);
    CRenderManager::GetInstance()->Render(&picture, options.scene, options.colours, view, nullptr, options.level);
    if (options.annotate)
        DrawSurfaceNames(picture, view, options);
    return view;
}

//==============================================================================
double CVenuePicture::GridStep(double pixelsPerUnit, double minimumPixels)
{
    if (! (pixelsPerUnit > 0.0) || ! std::isfinite(pixelsPerUnit))
        return 1.0;
    const double least = minimumPixels / pixelsPerUnit;
    double power = std::pow(10.0, std::floor(std::log10(least)));
    for (;;)
    {
        for (double m : { 1.0, 2.0, 5.0 })
            if (m * power >= least * (1.0 - 1e-9))
                return m * power;
        power *= 10.0;
    }
}

void CVenuePicture::DrawGrid(juce::Image& picture, const CRenderView& view, const Options& options)
{
    const VenueFrame frame = VenueFrame::Current();
    const CDisplayUnits& units = options.units;
    const double width = picture.getWidth();
    const double height = picture.getHeight();
    // Display units per view pixel: half an inch per classic pixel.
    const double pixelsPerUnit = view.zoom * 0.5 * units.Inches(1.0);
    const double step = GridStep(pixelsPerUnit, kMinGridPixels * options.textScale);

    const double xFrom = units.VenueX(frame.VenueX(view.ToClassicX(0.0)));
    const double xTo = units.VenueX(frame.VenueX(view.ToClassicX(width)));
    const double yFrom = units.VenueY(frame.VenueY(view.ToClassicY(height)));
    const double yTo = units.VenueY(frame.VenueY(view.ToClassicY(0.0)));
    if (! std::isfinite(xFrom + xTo + yFrom + yTo) || (xTo - xFrom) / step > kMaxGridLines
        || (yTo - yFrom) / step > kMaxGridLines)
        return;

    juce::Graphics g(picture);
    const float s = options.textScale;
    const juce::Font font = TextFont(11.0f * s);
    g.setFont(font);
    const float lineWidth = 1.0f * s;
    const juce::Rectangle<float> unitBox(0.0f, (float) height - 18.0f * s, 24.0f * s, 18.0f * s);
    // A number is drawn whole or not at all: never cut by the edges, the unit or what the
    // caller draws over the picture.
    const auto drawNumber = [&](const juce::String& text, juce::Rectangle<float> box) {
        if (box.getX() < 0.0f || box.getRight() > (float) width || box.getY() < 0.0f || box.getBottom() > (float) height
            || box.intersects(unitBox))
            return;
        for (const juce::Rectangle<float>& clear : options.keepClear)
            if (box.intersects(clear))
                return;
        g.drawText(text, box, juce::Justification::centredLeft, false);
    };

    // Counted, not stepped: far from the origin k + 1 == k, and a stepped loop never ends.
    const double xFirst = std::ceil(xFrom / step);
    const int xLines = GridLineCount(xFirst, std::floor(xTo / step));
    for (int i = 0; i < xLines; ++i)
    {
        const double k = xFirst + i;
        const double shown = k * step;
        const float px = (float) view.ToViewX(frame.ClassicX(units.VenueXInches(shown)));
        g.setColour(k == 0.0 ? kGridZero : kGridLine);
        g.fillRect(juce::Rectangle<float>(px - 0.5f * lineWidth, 0.0f, lineWidth, (float) height));
        g.setColour(kGridText);
        // Right of its line, or left of it where the picture's right edge would cut it.
        const juce::String text = GridText(shown, step);
        const float textWidth = font.getStringWidthFloat(text) + 2.0f * s;
        const float left = px + 3.0f * s + textWidth > (float) width ? px - 3.0f * s - textWidth : px + 3.0f * s;
        drawNumber(text, juce::Rectangle<float>(left, (float) height - 16.0f * s, textWidth, 14.0f * s));
    }
    const double yFirst = std::ceil(yFrom / step);
    const int yLines = GridLineCount(yFirst, std::floor(yTo / step));
    for (int i = 0; i < yLines; ++i)
    {
        const double k = yFirst + i;
        const double shown = k * step;
        const float py = (float) view.ToViewY(frame.ClassicY(units.VenueYInches(shown)));
        g.setColour(k == 0.0 ? kGridZero : kGridLine);
        g.fillRect(juce::Rectangle<float>(0.0f, py - 0.5f * lineWidth, (float) width, lineWidth));
        g.setColour(kGridText);
        // Above its line, or below it where the picture's top edge would cut it.
        const float labelTop = py - 15.0f * s < 0.0f ? py + 1.0f * s : py - 15.0f * s;
        const juce::String text = GridText(shown, step);
        drawNumber(text, juce::Rectangle<float>(3.0f * s, labelTop, font.getStringWidthFloat(text) + 2.0f * s, 14.0f * s));
    }
    // The unit, once, in the bottom-left corner.
    g.setColour(kBackground);
    g.fillRect(unitBox);
    g.setColour(kGridText);
    g.drawText(units.LengthSymbol(), unitBox, juce::Justification::centred, false);
}

void CVenuePicture::DrawSurfaceOutlines(juce::Image& picture, const CRenderView& view, const Options& options)
{
    // Over a field map in the same colours a surface would vanish: a dark rim under it
    // sets it apart.
    const VenueFrame frame = VenueFrame::Current();
    juce::Graphics g(picture);
    g.setColour(kSurfaceOutline);
    ForEachDrawnSurface([&](CXmlNode*, CXmlNode* lineNode) {
        const CLine* line = lineNode->GetLine();
        juce::Point<float> from(CRenderer::ToPixel(view.ToViewX(frame.ClassicX(line->x1))),
                                CRenderer::ToPixel(view.ToViewY(frame.ClassicY(line->y1))));
        juce::Point<float> to(CRenderer::ToPixel(view.ToViewX(frame.ClassicX(line->x2))),
                              CRenderer::ToPixel(view.ToViewY(frame.ClassicY(line->y2))));
        if (CRenderer::ClipSegment(from, to, CRenderer::DrawableBox(picture)))
            g.drawLine(juce::Line<float>(from, to), kSurfaceOutlineWidth * options.textScale);
    });
}

void CVenuePicture::DrawSurfaceNames(juce::Image& picture, const CRenderView& view, const Options& options)
{
    const VenueFrame frame = VenueFrame::Current();
    juce::Graphics g(picture);
    const float s = options.textScale;
    g.setFont(TextFont(12.0f * s));
    g.setColour(kSurfaceText);
    ForEachDrawnSurface([&](CXmlNode* area, CXmlNode* lineNode) {
        CXmlNode* nameNode = area->FindChild(Tag::Name);
        const std::string name = HoldsNumber(nameNode) ? nameNode->GetString("") : std::string();
        if (name.empty())
            return;
        const CLine* line = lineNode->GetLine();
        const double mx = view.ToViewX(frame.ClassicX(0.5 * (line->x1 + line->x2)));
        const double my = view.ToViewY(frame.ClassicY(0.5 * (line->y1 + line->y2)));
        // A name far off the picture is not drawn (nor handed to JUCE's integer text layout).
        if (! (std::abs(mx) < 1e6 && std::abs(my) < 1e6))
            return;
        // Above the surface's middle, clear of its six-pixel line.
        const juce::Rectangle<float> box((float) mx - 80.0f * s, (float) my - 22.0f * s, 160.0f * s, 16.0f * s);
        g.drawText(name, box, juce::Justification::centred, false);
    });
}

CVenuePicture::Placement CVenuePicture::VenuePlacement(const CRenderView& view)
{
    const VenueFrame frame = VenueFrame::Current();
    Placement placement;
    placement.scale = 0.5 * view.zoom;
    placement.originX = view.ToViewX(frame.ClassicX(0.0));
    placement.originY = view.ToViewY(frame.ClassicY(0.0));
    return placement;
}

//==============================================================================
bool CVenuePicture::ShownLevelRange(CXmlNode* scene, const CRenderView& view, int width, int height, double& low, double& high,
                                    const CRendererLine::SampleLevel& level)
{
    Measure(scene);
    const VenueFrame frame = VenueFrame::Current();
    double lowest = std::numeric_limits<double>::infinity();
    double highest = -std::numeric_limits<double>::infinity();
    ForEachDrawnSurface([&](CXmlNode*, CXmlNode* lineNode) {
        const int samples = (int) NumberOr(lineNode->FindChild(Tag::SplTotal)->FindChild(Tag::Total), 0.0);
        for (int k = 1; k <= samples; ++k)
        {
            CXmlNode* sample = lineNode->FindChildByInt(Tag::SplPoint, Tag::Slot, k);
            if (sample->IsNull())
                continue;
            const double shown = level ? level(sample) : NumberOr(sample->FindChild(Tag::PressureDB), std::nan(""));
            // The sample's place is its own point (kept in the node's point cache).
            const CPoint* at = sample->GetPoint();
            const double px = view.ToViewX(frame.ClassicX(at->x));
            const double py = view.ToViewY(frame.ClassicY(at->y));
            if (! std::isfinite(shown) || ! (px >= 0.0 && px <= width && py >= 0.0 && py <= height))
                continue;
            lowest = std::min(lowest, shown);
            highest = std::max(highest, shown);
        }
    });
    if (! std::isfinite(lowest))
        return false;
    low = std::floor(lowest);
    high = std::max(std::ceil(highest), low + 1.0);
    return true;
}
