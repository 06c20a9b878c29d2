#pragma once
// The field map: the shown quantity (classic level, band Z, band A or one band) over the
// whole section, one value per square cell of the picture, each taken at the cell's
// centre (no ear height). A map holds snapshots of both models, so it is computed away
// from the documents; FromDesign must run on the GUI thread, Compute may use several
// threads and gives the same values, bit for bit, for any number of them.

#include "engine/CBandModel.h"
#include "engine/CBandView.h"
#include "engine/CClassicModel.h"

#include <vector>

// Section inches to picture pixels: px = originX + scale * x, py = originY - scale * y
// (the section's y grows upwards, the picture's downwards); width and height are the
// picture's size in pixels. The venue picture gives its own (its placement of the venue).
struct CPictureConversion
{
    double scale = 0.5;
    double originX = 0.0;
    double originY = 0.0;
    int width = 0;
    int height = 0;
};

// Cell values row by row from the top left, dB; -infinity where nothing arrives.
struct CFieldGrid
{
    int columns = 0;
    int rows = 0;
    int cellPx = 0;
    std::vector<double> levels;

    double At(int column, int row) const { return levels[(size_t) row * (size_t) columns + (size_t) column]; }
};

class CFieldMap
{
public:
    static constexpr int kDefaultCellPx = 4;
    // One thread per processor core.
    static int DefaultThreads();

    CFieldMap(CBandModel band, CClassicModel classic);
    // Both models of the current design, as the last recompute left it.
    static CFieldMap FromDesign();

    const CBandModel& GetBandModel() const { return band; }
    const CClassicModel& GetClassicModel() const { return classic; }

    // Cells of `cellPx` x `cellPx` pixels covering the picture (the last column and row
    // may stick out of it). `threads` below 1 counts as 1.
    CFieldGrid Compute(const CBandView& view, const CPictureConversion& conversion, int cellPx, int threads) const;

    // The section point (inches) at the centre of a cell.
    static void CellCentre(const CPictureConversion& conversion, int cellPx, int column, int row, double& x, double& y);

private:
    CBandModel band;
    CClassicModel classic;
};
