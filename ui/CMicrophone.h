#pragma once
// The virtual microphone: a click on the venue picture places it at that venue point (a
// marker that moves with the picture when it is panned, zoomed or fitted) and opens its
// call-out; every redraw (every edit) evaluates it again. Works on the venue view from
// outside: it listens to the view's clicks (a drag pans, it places nothing) and is told
// where the venue lands in each picture drawn. Owned by the band strip; GUI message thread
// only.

#include "engine/CSubAlignment.h"
#include "render/CVenuePicture.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <optional>

class CMicrophonePanel;
class CVenueView;

class CMicrophone : private juce::MouseListener
{
public:
    // `view` shows the picture; `panel` is shown and hidden as the call-out.
    CMicrophone(CVenueView& view, CMicrophonePanel& panel);
    ~CMicrophone() override;

    // The venue view drew a picture `pixelScale` times its own size, in which the venue
    // lands at `placement`: the marker follows.
    void PictureDrawn(const CVenuePicture::Placement& placement, double pixelScale);

    // At a point of the venue view (its own coordinates).
    void PlaceAtPixel(juce::Point<float> pixel);
    // At a venue point, in inches.
    void PlaceAt(double xInches, double yInches);
    // In the middle of what the view shows.
    void PlaceInView();
    void Remove();
    bool IsPlaced() const { return placed; }
    double GetX() const { return x; }
    double GetY() const { return y; }
    // The venue view's point where the marker sits.
    juce::Point<float> GetPixel() const;
    // Evaluates the microphone again (the design changed).
    void Update();
    // Finds the subwoofer alignment at the microphone and shows it in the call-out.
    void ShowAlignment();
    // Applies the alignment shown, as one undo step, and goes back to the microphone.
    void ApplyAlignment();
    // The alignment last applied here, for the printed report.
    const std::optional<CSubAlignment>& GetAppliedAlignment() const { return applied; }

private:
    void mouseUp(const juce::MouseEvent& event) override;
    void PlaceMarker();

    class Marker;
    CVenueView& view;
    CMicrophonePanel& panel;
    std::unique_ptr<Marker> marker;
    // Venue inches to the view's own coordinates, as last drawn.
    CVenuePicture::Placement placement;
    double x = 0.0;
    double y = 0.0;
    bool placed = false;
    std::optional<CSubAlignment> applied;
};
