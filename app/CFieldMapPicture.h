#pragma once
// The field map as a layer of the venue picture: the picture's inches-to-pixels conversion,
// the computed cells coloured on the SPL scale, and an underlay that draws the current
// view's map under the venue lines of a picture being drawn. GUI message thread only (the
// colours come from the SPL manager).

#include "engine/CFieldMap.h"
#include "render/CVenuePicture.h"

namespace juce
{
class Image;
}

class CFieldMapPicture
{
public:
    // The conversion of a `width` x `height` picture in which the venue lands at `placement`.
    static CPictureConversion Conversion(const CVenuePicture::Placement& placement, int width, int height);
    // An ARGB picture of `width` x `height`: every cell filled with the SPL colour of its
    // level; cells nothing reaches stay transparent.
    static juce::Image Paint(const CFieldGrid& grid, int width, int height);
    // Computes the current view's map of the design for the picture being drawn and draws
    // it (for pictures drawn at once: the command-line tool's, the tests').
    static CVenuePicture::Underlay Underlay();
};
