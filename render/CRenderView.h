#pragma once
// Where the venue picture's pixels land on screen: the classic picture (half an inch per
// pixel, 6 pixels per foot) scaled by `zoom` and then moved by (x, y). The identity view
// is the classic picture itself. Also the extent of what a drawing pass placed, in classic
// pixels, from which a view that shows all of it is made. Plain values.

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

struct CRenderExtent
{
    double left = std::numeric_limits<double>::infinity();
    double top = std::numeric_limits<double>::infinity();
    double right = -std::numeric_limits<double>::infinity();
    double bottom = -std::numeric_limits<double>::infinity();

    // Items whose scene key contains one of these parts add nothing.
    std::vector<std::string> leftOut;

    bool IsEmpty() const { return ! (left <= right && top <= bottom); }

    bool Takes(const std::string& key) const
    {
        for (const std::string& part : leftOut)
            if (key.find(part) != std::string::npos)
                return false;
        return true;
    }

    // Points that are not finite (a surface pushed out of range) are left out.
    void Add(double x, double y)
    {
        if (! std::isfinite(x) || ! std::isfinite(y))
            return;
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
};

struct CRenderView
{
    // Far enough out that Fit shows the widest venue the limits allow whole (about 200 px
    // for ±100000 inches), so the array never falls out of a fitted view.
    static constexpr double kMinZoom = 1.0 / 1024.0;
    static constexpr double kMaxZoom = 64.0;

    double zoom = 1.0;
    double x = 0.0;
    double y = 0.0;

    double ToViewX(double classicX) const { return classicX * zoom + x; }
    double ToViewY(double classicY) const { return classicY * zoom + y; }
    double ToClassicX(double viewX) const { return (viewX - x) / zoom; }
    double ToClassicY(double viewY) const { return (viewY - y) / zoom; }

    // The view that shows `extent` whole and centred in a width x height picture, with
    // `margin` pixels free on every side. An empty extent gives the classic view.
    static CRenderView Fit(const CRenderExtent& extent, double width, double height, double margin)
    {
        CRenderView view;
        if (extent.IsEmpty())
            return view;
        const double spanX = std::max(extent.right - extent.left, 1.0);
        const double spanY = std::max(extent.bottom - extent.top, 1.0);
        const double roomX = std::max(width - 2.0 * margin, 1.0);
        const double roomY = std::max(height - 2.0 * margin, 1.0);
        view.zoom = std::clamp(std::min(roomX / spanX, roomY / spanY), kMinZoom, kMaxZoom);
        const double centreX = 0.5 * (extent.left + extent.right);
        const double centreY = 0.5 * (extent.top + extent.bottom);
        view.x = 0.5 * width - centreX * view.zoom;
        view.y = 0.5 * height - centreY * view.zoom;
        return view;
    }

    // Scaled by `factor` about the view pixel (atX, atY), which keeps its place; the zoom
    // stays within kMinZoom..kMaxZoom.
    CRenderView ZoomedAbout(double factor, double atX, double atY) const
    {
        CRenderView view = *this;
        view.zoom = std::clamp(zoom * factor, kMinZoom, kMaxZoom);
        const double applied = view.zoom / zoom;
        view.x = atX - (atX - x) * applied;
        view.y = atY - (atY - y) * applied;
        return view;
    }
};
