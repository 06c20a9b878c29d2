#pragma once
// Keeps the field map under the venue view's lines up to date. The view draws it as its
// picture's underlay: the last finished map, moved and scaled to where the venue lands
// now, so a pan or zoom shows it at once. A new map is asked for when the design changes
// (Update) or the venue lands elsewhere in the picture; the request runs from the message
// loop, snapshots the design on the GUI thread and computes the cells on a worker thread,
// so an edit (a slider being dragged) never waits for the map. The newest request wins;
// stale results are dropped. A finished map redraws the picture. Owned by the band strip;
// GUI message thread only.

#include "render/CVenuePicture.h"

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <memory>
#include <thread>

struct CFieldGrid;

class CFieldMapLayer
{
public:
    // `redrawPicture` draws the venue view's picture again (with this layer as underlay).
    explicit CFieldMapLayer(std::function<void()> redrawPicture);
    // Waits for a running computation; its result is dropped.
    ~CFieldMapLayer();

    // The underlay: the map as last computed, where the venue now lands in `picture`.
    void Draw(juce::Image& picture, const CVenuePicture::Placement& placement);
    // The design or the view changed: asks for a new map (or drops the map when it is
    // switched off).
    void Update();
    // True while a computation is asked for, runs or waits.
    bool IsBusy() const { return running || pending; }

private:
    struct Token;
    struct Frame
    {
        CVenuePicture::Placement placement;
        int width = 0;
        int height = 0;

        bool operator==(const Frame& other) const;
    };
    void Request();
    void StartNext();
    void Finish(unsigned asked, const Frame& frame, const CFieldGrid& grid);

    std::function<void()> redrawPicture;
    std::shared_ptr<Token> token;
    std::thread worker;
    unsigned generation = 0;
    bool running = false;
    bool pending = false;
    bool scheduled = false;
    // Where the picture was last drawn; the map is computed for it.
    bool drawn = false;
    Frame lastDrawn;
    // The last finished map and the frame it was computed for.
    juce::Image map;
    Frame mapFrame;
};
