#pragma once
// Keeps the field map under the venue lines up to date: each update snapshots the design
// on the GUI thread and computes the cells on a worker thread, so an edit (a slider being
// dragged) never waits for the map; the newest request wins and stale results are dropped.
// The finished map goes to the UI manager as the canvas's underlay. Owned by the band
// strip; GUI message thread only.

#include <memory>
#include <thread>

struct CFieldGrid;

class CFieldMapLayer
{
public:
    CFieldMapLayer();
    // Waits for a running computation; its result is dropped.
    ~CFieldMapLayer();

    // Starts over from the design, view and picture as they stand (or removes the map when
    // it is switched off).
    void Update();
    // True while a computation runs or waits.
    bool IsBusy() const { return running || pending; }

private:
    struct Token;
    void StartNext();
    void Finish(unsigned generation, const CFieldGrid& grid);

    std::shared_ptr<Token> token;
    std::thread worker;
    unsigned generation = 0;
    bool running = false;
    bool pending = false;
    bool shown = false;
};
