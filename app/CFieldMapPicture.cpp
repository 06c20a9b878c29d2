#include "app/CFieldMapPicture.h"

#include "app/CJuceManager.h"
#include "base/CPoint.h"
#include "engine/CEngineManager.h"
#include "engine/CSPLManager.h"
#include "render/CRenderer.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>

CPictureConversion CFieldMapPicture::VenueConversion(int width, int height)
{
    const CPoint base = CRenderer::GetGlobalBase();
    CPictureConversion conversion;
    conversion.scale = 0.5;
    conversion.originX = base.x;
    conversion.originY = -base.y;
    conversion.width = width;
    conversion.height = height;
    return conversion;
}

juce::Image CFieldMapPicture::Paint(const CFieldGrid& grid, int width, int height)
{
    juce::Image picture(juce::Image::ARGB, std::max(width, 1), std::max(height, 1), true);
    const CSPLManager* spl = CSPLManager::GetInstance();
    juce::Graphics g(picture);
    for (int row = 0; row < grid.rows; ++row)
        for (int column = 0; column < grid.columns; ++column)
        {
            const double level = grid.At(column, row);
            if (! std::isfinite(level))
                continue;
            g.setColour(juce::Colour((juce::uint32) spl->ColourOf(level)));
            g.fillRect(column * grid.cellPx, row * grid.cellPx, grid.cellPx, grid.cellPx);
        }
    return picture;
}

void CFieldMapPicture::DrawVenuePictureWithMap(juce::Image& picture)
{
    CJuceManager::DrawVenuePicture(picture);
    const CPictureConversion conversion = VenueConversion(picture.getWidth(), picture.getHeight());
    const CFieldGrid grid = CFieldMap::FromDesign().Compute(CEngineManager::GetView(), conversion,
                                                             CFieldMap::kDefaultCellPx, CFieldMap::DefaultThreads());
    CJuceManager::DrawVenuePicture(picture, Paint(grid, picture.getWidth(), picture.getHeight()));
}
