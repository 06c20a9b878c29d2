#include "app/CFieldMapPicture.h"

#include "engine/CEngineManager.h"
#include "engine/CSPLManager.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>

CPictureConversion CFieldMapPicture::Conversion(const CVenuePicture::Placement& placement, int width, int height)
{
    CPictureConversion conversion;
    conversion.scale = placement.scale;
    conversion.originX = placement.originX;
    conversion.originY = placement.originY;
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

CVenuePicture::Underlay CFieldMapPicture::Underlay()
{
    return [](juce::Image& picture, const CVenuePicture::Placement& placement) {
        const CFieldGrid grid
            = CFieldMap::FromDesign().Compute(CEngineManager::GetView(), Conversion(placement, picture.getWidth(), picture.getHeight()),
                                              CFieldMap::kDefaultCellPx, CFieldMap::DefaultThreads());
        juce::Graphics g(picture);
        g.drawImageAt(Paint(grid, picture.getWidth(), picture.getHeight()), 0, 0);
    };
}
