#include "engine/CFieldMap.h"

#include "engine/CBandKernel.h"

#include <algorithm>
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

    // Every cell is computed alone from the same constants, so how the rows are shared out
    // cannot change a value.
    auto rowsFromTo = [&](int begin, int end) {
        for (int row = begin; row < end; ++row)
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
    };

    const int parts = std::clamp(threads, 1, grid.rows);
    std::vector<std::thread> workers;
    for (int part = 1; part < parts; ++part)
    {
        const int begin = grid.rows * part / parts;
        const int end = grid.rows * (part + 1) / parts;
        try
        {
            workers.emplace_back(rowsFromTo, begin, end);
        }
        catch (const std::system_error&)
        {
            rowsFromTo(begin, end);
        }
    }
    rowsFromTo(0, grid.rows / parts);
    for (std::thread& worker : workers)
        worker.join();
    return grid;
}
