#include "engine/CFieldMap.h"

#include "engine/CBandKernel.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <utility>

CFieldMap::CFieldMap(CBandModel bandModel, CClassicModel classicModel)
    : band(std::move(bandModel)), classic(std::move(classicModel))
{
}

CFieldMap CFieldMap::FromDesign()
{
    return CFieldMap(CBandModel::FromDesign(), CClassicModel::FromDesign());
}

int CFieldMap::DefaultThreads()
{
    return (int) std::max(1u, std::thread::hardware_concurrency());
}

void CFieldMap::CellCentre(const CPictureConversion& conversion, int cellPx, int column, int row, double& x, double& y)
{
    const double px = (column + 0.5) * cellPx;
    const double py = (row + 0.5) * cellPx;
    x = (px - conversion.originX) / conversion.scale;
    y = (conversion.originY - py) / conversion.scale;
}

CFieldGrid CFieldMap::Compute(const CBandView& view, const CPictureConversion& conversion, int cellPx, int threads) const
{
    CFieldGrid grid;
    grid.cellPx = std::max(cellPx, 1);
    const int width = std::max(conversion.width, 0);
    const int height = std::max(conversion.height, 0);
    grid.columns = width / grid.cellPx + (width % grid.cellPx > 0 ? 1 : 0);
    grid.rows = height / grid.cellPx + (height % grid.cellPx > 0 ? 1 : 0);
    grid.levels.assign((size_t) grid.columns * (size_t) grid.rows, 0.0);
    if (grid.levels.empty())
        return grid;

    // A cell's x depends on its column only, its y on its row only.
    std::vector<double> xs((size_t) grid.columns);
    for (int column = 0; column < grid.columns; ++column)
    {
        double y = 0.0;
        CellCentre(conversion, grid.cellPx, column, 0, xs[(size_t) column], y);
    }

    const bool classicView = view.GetKind() == CBandView::Kind::Classic;
    const int onlyBand = view.GetKind() == CBandView::Kind::Band ? view.GetBand() - CBandModel::kFirstBand : -1;
    const CBandKernel kernel(band, onlyBand);
    CBandKernel::BandValues weights {};
    if (view.GetKind() == CBandView::Kind::BandA)
        weights = kernel.AWeights();
    else if (onlyBand >= 0 && onlyBand < CBandModel::kBandCount)
        weights[(size_t) onlyBand] = 1.0;
    else if (onlyBand < 0)
        weights.fill(1.0);

    // Every cell is computed alone from the same constants and every row is written by one
    // thread, so which thread takes a row cannot change a value. Rows are handed out in
    // small runs as threads come free, which keeps every core busy when another program
    // holds one of them.
    constexpr int kRowsPerClaim = 2;
    std::atomic<int> nextRow { 0 };
    auto work = [&]() {
        for (int begin = nextRow.fetch_add(kRowsPerClaim); begin < grid.rows; begin = nextRow.fetch_add(kRowsPerClaim))
        {
            for (int row = begin; row < std::min(begin + kRowsPerClaim, grid.rows); ++row)
            {
                double x = 0.0, y = 0.0;
                CellCentre(conversion, grid.cellPx, 0, row, x, y);
                double* out = grid.levels.data() + (size_t) row * (size_t) grid.columns;
                if (! classicView)
                {
                    kernel.Levels(xs.data(), grid.columns, y, weights, out);
                    continue;
                }
                for (int column = 0; column < grid.columns; ++column)
                    out[column] = classic.Level(xs[(size_t) column], y);
            }
        }
    };

    const int helpers = std::clamp(threads, 1, (grid.rows + kRowsPerClaim - 1) / kRowsPerClaim) - 1;
    std::vector<std::thread> workers;
    for (int i = 0; i < helpers; ++i)
    {
        try
        {
            workers.emplace_back(work);
        }
        catch (const std::system_error&)
        {
            break; // the threads already started share the rows
        }
    }
    work();
    for (std::thread& worker : workers)
        worker.join();
    return grid;
}
