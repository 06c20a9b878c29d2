#pragma once
// Base of the renderers: draws one render item (Circle, Line, Polygon or Info element
// with its TagList and PointList) into a target juce::Image, or a shape given by code
// through the own points and attributes. Owns nothing; the render parser owns its
// renderers for one drawing pass. GUI message thread only.

#include "base/CPoint.h"
#include "render/CRenderView.h"
#include "xml/CXmlParserActor.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace juce
{
class ColourGradient;
class FillType;
class Image;
class Path;
template <typename> class Point;
template <typename> class Rectangle;
}

class CRenderer : public CXmlParserActor
{
public:
    CRenderer() = default;

    // Makes `item` the current item (a null pointer keeps it) and draws it.
    void Act(CXmlNode* item) override;
    ~CRenderer() override = default;
    // Takes the item's conversion bases; the global and local bases are shared by all
    // renderers and kept between items and passes.
    virtual void SetupTransform();
    // Data units to pixels: half scale, then the translation, then y negated (the classic
    // picture), then the view.
    virtual void Transform(double& x, double& y);
    virtual void Render() = 0;

    //==========================================================================
    // Nothing is drawn while the target is null.
    void SetTarget(juce::Image* image) { target = image; }
    juce::Image* GetTarget() const { return target; }
    // Added to every drawn coordinate.
    void SetPixelOffset(float x, float y);
    // Where the classic picture lands; the identity view unless set. Widths and radii stay
    // in pixels whatever the zoom.
    void SetView(const CRenderView& newView) { view = newView; }
    const CRenderView& GetView() const { return view; }
    // Receives every item point in classic pixels while set (not owned; null: none).
    void SetExtent(CRenderExtent* collector) { extent = collector; }

    //==========================================================================
    // Attributes: from the item's TagList, or without an item from the own attributes.
    // Each returns whether the attribute was found; `out` is `defaultValue` when not.
    bool GetAttrInt(const std::string& name, int defaultValue, int& out);
    bool GetAttrFloat(const std::string& name, float defaultValue, float& out);
    bool GetAttrDouble(const std::string& name, double defaultValue, double& out);
    bool GetAttrColour(const std::string& name, int defaultValue, int& out);
    bool GetAttrText(const std::string& name, const std::string& defaultValue, std::string& out);
    // A switch that the scene writes as an empty marker element: on when the element is
    // present without a value, or when it holds a non-zero number.
    bool GetAttrSwitch(const std::string& name);

    void SetAttrNumber(const std::string& name, float value);
    void SetAttrColour(const std::string& name, int argb);
    void SetAttrText(const std::string& name, const std::string& value);
    void AddPoint(float x, float y);

    // The item's next point in pixels (its PointList children in order, converted), or
    // without an item the next own point as given. False at the end.
    bool NextPoint(float& x, float& y);

    //==========================================================================
    static CPoint GetGlobalBase();
    static CPoint GetLocalBase();
    // Both bases back to (0, 0), as at program start.
    static void ResetSharedBases();

    // A double as a float coordinate; values beyond the float range become infinite.
    static float ToPixel(double value);
    // JUCE rasterises in integer sub-pixels, which overflow for points millions of pixels
    // away (a venue moved far off the view). Shapes are cut to this box, the target's bounds
    // with a wide margin, before they are drawn.
    juce::Rectangle<float> DrawableBox() const;
    static juce::Rectangle<float> DrawableBox(const juce::Image& picture);
    // The part of segment a-b inside `box`; false when none (or an end is not finite).
    static bool ClipSegment(juce::Point<float>& a, juce::Point<float>& b, const juce::Rectangle<float>& box);
    // The closed polygon cut to `box` (empty when nothing of it is inside or a point is not finite).
    static juce::Path ClipPolygon(const std::vector<juce::Point<float>>& points, const juce::Rectangle<float>& box);

protected:
    bool HasItem() const;
    // Points start again from the first; every Render calls it before reading points.
    void RestartPoints();
    float OffsetX() const { return offsetX; }
    float OffsetY() const { return offsetY; }


    // Where a fill's anchor points land: as given, or converted like the item's points
    // (which needs SetupTransform first).
    enum class FillAnchors { AsGiven, Converted };
    // The item's fill: the texture tile, else the gradient (both colours non-zero), else
    // ColorFill; none when the item sets none of them. Gradient points get the pixel offset.
    std::optional<juce::FillType> ReadFill(FillAnchors anchors);

    // 30 x 30 black tile with a red dot, the fill of every non-empty TextureFill.
    static const juce::Image& GetTextureTile();
    // Seven stops from black through blue, green and yellow to red, over (0, 0)..(2000, 2000).
    static const juce::ColourGradient& GetDefaultSplGradient();

private:
    CXmlNode* FindAttribute(const std::string& name) const;
    double ReadBase(const std::string& name, double fallback);

    float offsetX = 0.0f;
    float offsetY = 0.0f;
    juce::Image* target = nullptr;
    std::vector<std::pair<float, float>> ownPoints;
    std::map<std::string, int> ownColours;
    std::map<std::string, float> ownNumbers;
    std::map<std::string, std::string> ownTexts;
    std::size_t nextOwnPoint = 0;
    CXmlNode* currentPoint = nullptr;
    bool pointsStarted = false;
    CPoint translation;
    CPoint scale;
    CRenderView view;
    CRenderExtent* extent = nullptr;
    bool measuring = false;
    bool flipY = true;
};
