#pragma once
// The venue picture as people read it: the scene drawn through a view (the classic 6
// pixels per foot picture, a view that shows the whole venue, or any view), and on request
// a light grid with distances in the display units and the name of every surface. Also
// the level range that a view shows. Used by the venue view, the command-line tool and the
// design report; stateless. GUI message thread only (the renderers share their bases).

#include "render/CDisplayUnits.h"
#include "render/CRenderView.h"
#include "render/CRendererLine.h"

#include <functional>

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

    struct Options
    {
        // The scene element drawn and the colours of its SPL samples.
        CXmlNode* scene = nullptr;
        CRendererLine::SplColours colours;
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
    };

    // Free pixels around the fitted venue.
    static constexpr double kFitMargin = 24.0;

    // Clears `picture` to dark grey and draws it as `options` say; returns the view used.
    static CRenderView Draw(juce::Image& picture, const Options& options);
    // Everything the scene places but the aim lines, in classic pixels (draws nothing).
    static CRenderExtent Measure(CXmlNode* scene);
    // The view that shows the whole scene in a width x height picture, `margin` pixels free.
    static CRenderView FitView(CXmlNode* scene, int width, int height, double margin = kFitMargin);

    // Lowest and highest sampled level of the surfaces drawn where a width x height
    // picture through `view` shows them, rounded out to whole dB and at least 1 dB apart;
    // false when the view shows no level.
    static bool ShownLevelRange(CXmlNode* scene, const CRenderView& view, int width, int height, double& low, double& high);

    // The grid spacing in display units: 1, 2 or 5 times a power of ten, at least
    // `minimumPixels` apart at `pixelsPerUnit`.
    static double GridStep(double pixelsPerUnit, double minimumPixels);

private:
    static void DrawGrid(juce::Image& picture, const CRenderView& view, const Options& options);
    static void DrawSurfaceNames(juce::Image& picture, const CRenderView& view, const Options& options);
};
