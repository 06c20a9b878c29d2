// The field map over the start-up design: cells and their centres, the same bytes for any
// number of threads, agreement with the plain evaluation, and the classic view.

#include "EngineFixture.h"

#include "engine/CFieldMap.h"
#include "engine/CSPLManager.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace
{
// The venue picture of the start-up design: half scale, y = 0 on pixel row 300.
CPictureConversion VenuePicture(int width = 1000, int height = 600)
{
    CPictureConversion conversion;
    conversion.scale = 0.5;
    conversion.originX = 0.0;
    conversion.originY = 300.0;
    conversion.width = width;
    conversion.height = height;
    return conversion;
}

class FieldMapTest : public EngineFixture
{
protected:
    // The largest difference from the plain evaluation over every cell; cells that are
    // -infinity in one must be so in both.
    static double LargestDifference(const CFieldMap& map, const CBandView& view, const CFieldGrid& grid,
                                    const CPictureConversion& conversion)
    {
        double largest = 0.0;
        for (int row = 0; row < grid.rows; ++row)
            for (int column = 0; column < grid.columns; ++column)
            {
                double x = 0.0, y = 0.0;
                CFieldMap::CellCentre(conversion, grid.cellPx, column, row, x, y);
                const CBandModel::Levels levels = map.GetBandModel().Evaluate(x, y);
                double expected = levels.z;
                if (view.GetKind() == CBandView::Kind::BandA)
                    expected = levels.a;
                else if (view.GetKind() == CBandView::Kind::Band)
                    expected = levels.bands[(size_t) (view.GetBand() - CBandModel::kFirstBand)];
                const double got = grid.At(column, row);
                if (std::isinf(expected) || std::isinf(got))
                {
                    EXPECT_EQ(got, expected) << column << ", " << row;
                    continue;
                }
                largest = std::max(largest, std::fabs(got - expected));
            }
        return largest;
    }
};
}

TEST_F(FieldMapTest, CellsCoverThePictureAndAreTakenAtTheirCentres)
{
    const CFieldMap map = CFieldMap::FromDesign();
    const CFieldGrid grid = map.Compute(CBandView::BandZ(), VenuePicture(), CFieldMap::kDefaultCellPx, 1);
    EXPECT_EQ(grid.columns, 250);
    EXPECT_EQ(grid.rows, 150);
    EXPECT_EQ(grid.levels.size(), 250u * 150u);
    const CFieldGrid ragged = map.Compute(CBandView::BandZ(), VenuePicture(1001, 597), 4, 1);
    EXPECT_EQ(ragged.columns, 251);
    EXPECT_EQ(ragged.rows, 150);
    EXPECT_EQ(map.Compute(CBandView::BandZ(), VenuePicture(0, 600), 4, 1).levels.size(), 0u);

    // Cell (0, 0) spans pixels 0..4: its centre is pixel (2, 2), inches (4, 596).
    double x = 0.0, y = 0.0;
    CFieldMap::CellCentre(VenuePicture(), 4, 0, 0, x, y);
    EXPECT_DOUBLE_EQ(x, 4.0);
    EXPECT_DOUBLE_EQ(y, 596.0);
    CFieldMap::CellCentre(VenuePicture(), 4, 249, 149, x, y);
    EXPECT_DOUBLE_EQ(x, 1996.0);
    EXPECT_DOUBLE_EQ(y, -596.0);
    EXPECT_NEAR(grid.At(12, 40), map.GetBandModel().Evaluate(100.0, 276.0).z, 1e-9);
}

TEST_F(FieldMapTest, TheSameBytesForAnyNumberOfThreads)
{
    const CFieldMap map = CFieldMap::FromDesign();
    for (const CBandView& view : { CBandView::BandZ(), CBandView::BandA(), CBandView::OneBand(-2), CBandView::Classic() })
    {
        SCOPED_TRACE(view.ToString());
        const CFieldGrid one = map.Compute(view, VenuePicture(), 4, 1);
        for (int threads : { 2, 3, 8, 1000 })
        {
            const CFieldGrid many = map.Compute(view, VenuePicture(), 4, threads);
            ASSERT_EQ(many.levels.size(), one.levels.size());
            EXPECT_EQ(std::memcmp(many.levels.data(), one.levels.data(), one.levels.size() * sizeof(double)), 0)
                << threads << " threads";
        }
    }
}

TEST_F(FieldMapTest, AgreesWithThePlainEvaluationEverywhere)
{
    // Closer cells than the picture's, and a wider section, so that the map also holds
    // the cells right at the modules and the far corners.
    CPictureConversion conversion = VenuePicture(600, 360);
    conversion.scale = 0.25;
    conversion.originX = 30.0;
    conversion.originY = 200.0;
    const CFieldMap map = CFieldMap::FromDesign();
    for (const CBandView& view : { CBandView::BandZ(), CBandView::BandA(), CBandView::OneBand(-13), CBandView::OneBand(0),
                                   CBandView::OneBand(12) })
    {
        SCOPED_TRACE(view.ToString());
        const CFieldGrid grid = map.Compute(view, conversion, 5, 2);
        EXPECT_LT(LargestDifference(map, view, grid, conversion), 1e-4);
    }

    // Around the array, cell by cell, with the modules shaded and tilted as the design has them.
    Line().GetCab(4).GetProduct().GetNode()->GetChild(Tag::Switch2)->GetChild(Tag::Value)->SetInt(2);
    CEngineManager::GetInstance()->Recompute();
    const CFieldMap shaded = CFieldMap::FromDesign();
    CPictureConversion close = VenuePicture(80, 80);
    close.scale = 2.0;
    close.originX = -400.0;
    close.originY = 600.0;
    const CFieldGrid grid = shaded.Compute(CBandView::BandZ(), close, 1, 2);
    EXPECT_LT(LargestDifference(shaded, CBandView::BandZ(), grid, close), 1e-4);
}

TEST_F(FieldMapTest, ABandNoSourceRadiatesIsMinusInfinity)
{
    Command("Model_DRXS1", 1);
    Command("Model_DRXR1", 0);
    const CFieldGrid grid = CFieldMap::FromDesign().Compute(CBandView::OneBand(0), VenuePicture(40, 40), 4, 1);
    for (double level : grid.levels)
        EXPECT_EQ(level, -std::numeric_limits<double>::infinity());
}

TEST_F(FieldMapTest, TheClassicViewIsTheClassicLevel)
{
    Line().GetCab(5).GetProduct().GetNode()->GetChild(Tag::Switch2)->GetChild(Tag::Value)->SetInt(3);
    CEngineManager::GetInstance()->Recompute();
    const CFieldMap map = CFieldMap::FromDesign();
    const CFieldGrid grid = map.Compute(CBandView::Classic(), VenuePicture(), 8, 2);
    for (int row = 0; row < grid.rows; row += 7)
        for (int column = 0; column < grid.columns; column += 11)
        {
            double x = 0.0, y = 0.0;
            CFieldMap::CellCentre(VenuePicture(), 8, column, row, x, y);
            CPoint q;
            q.x = x;
            q.y = y;
            EXPECT_EQ(grid.At(column, row), CSPLManager::GetInstance()->SplAt(q)) << column << ", " << row;
        }
}
