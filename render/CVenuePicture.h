#pragma once
// The venue picture as people read it: the scene drawn through a view (the classic 6
// pixels per foot picture, a view that shows the whole venue, or any view), and on request
// a light grid with distances in the display units and the name of every surface. Also
// the level range that a view shows. Used by the venue view, the command-line tool and the
// design report; stateless. GUI message thread only (the renderers share their bases).

#include "render/CDisplayUnits.h"
#include "render/CRenderView.h"
#include "render/CRendererLine.h"

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <vector>

namespace juce
{
class Image;
}

class CXmlNode;

class CVenuePicture
{
public:
    enum class Framing
    {
        Classic, // the classic picture: the identity view
        Fit,     // the whole venue and the array (aim lines land on its surfaces)
        Given    // `view` as given
    };

    // Where venue inches land in a drawn picture: px = originX + scale * x and
    // py = originY - scale * y (the venue's y grows upwards, the picture's downwards).
    struct Placement
    {
        double scale = 0.5;
        double originX = 0.0;
        double originY = 0.0;

        double PixelX(double x) const { return originX + scale * x; }
        double PixelY(double y) const { return originY - scale * y; }
        double VenueX(double px) const { return (px - originX) / scale; }
        double VenueY(double py) const { return (originY - py) / scale; }
    };
    // Drawn over the background, under the grid and the scene (a field map).
    using Underlay = std::function<void(juce::Image& picture, const Placement& placement)>;

    struct Options
    {
        // The scene element drawn and the colours of its SPL samples.
        CXmlNode* scene = nullptr;
        CRendererLine::SplColours colours;
        // The level an SPL sample shows, for its colour and for the levels followed (null:
        // its PressureDB).
        CRendererLine::SampleLevel level;
        Underlay underlay;
        // A dark rim under every surface, which sets it apart from a field map in the same
        // colours under it.
        bool outlineSurfaces = false;
        // Given the range of the levels the view shows before the scene is drawn (a scale
        // that follows them); null: the scale stays.
        std::function<void(double low, double high)> followLevels;
        Framing framing = Framing::Classic;
        CRenderView view;
        // Grid with distances and the surfaces' names.
        bool annotate = false;
        CDisplayUnits units;
        // Text and grid lines grow with it (HiDPI pictures drawn at device pixels).
        float textScale = 1.0f;
        // Parts of the picture the grid's numbers keep clear of, in picture pixels (what
        // the caller draws over the picture there, a title or buttons).
        std::vector<juce::Rectangle<float>> keepClear;
    };

    // Free pixels around the fitted venue.
    static constexpr double kFitMargin = 24.0;

    // Clears `picture` to dark grey and draws it as `options` say; returns the view used.
    static CRenderView Draw(juce::Image& picture, const Options& options);
    // Everything the scene places but the aim lines, in classic pixels (draws nothing).
    static CRenderExtent Measure(CXmlNode* scene);
    // The view that shows the whole scene in a width x height picture, `margin` pixels free.
    static CRenderView FitView(CXmlNode* scene, int width, int height, double margin = kFitMargin);

    // Where the venue lands in a picture drawn through `view`, for the scene last drawn or
    // measured.
    static Placement VenuePlacement(const CRenderView& view);

    // Lowest and highest sampled level of the surfaces drawn where a width x height
    // picture through `view` shows them, rounded out to whole dB and at least 1 dB apart;
    // false when the view shows no level. `level` reads a sample's level (null: its
    // PressureDB).
    static bool ShownLevelRange(CXmlNode* scene, const CRenderView& view, int width, int height, double& low, double& high,
                                const CRendererLine::SampleLevel& level = {});

    // The grid spacing in display units: 1, 2 or 5 times a power of ten, at least
    // `minimumPixels` apart at `pixelsPerUnit`.
    static double GridStep(double pixelsPerUnit, double minimumPixels);

private:
    static void DrawGrid(juce::Image& picture, const CRenderView& view, const Options& options);
    static void DrawSurfaceNames(juce::Image& picture, const CRenderView& view, const Options& options);
    // Under every surface: a dark rim.
    static void DrawSurfaceOutlines(juce::Image& picture, const CRenderView& view, const Options& options);
};
