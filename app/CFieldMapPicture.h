#pragma once
// The field map as a layer of the venue picture: the picture's inches-to-pixels conversion,
// the computed cells coloured on the SPL scale, and the venue picture drawn with the map
// under its lines. GUI message thread only (the colours and the conversion come from the
// SPL manager and the last drawing of the scene).

#include "engine/CFieldMap.h"

namespace juce
{
class Image;
}

class CFieldMapPicture
{
public:
    // The venue picture's conversion, as the last drawing of the scene left its global base,
    // for a picture of `width` x `height` pixels.
    static CPictureConversion VenueConversion(int width, int height);
    // An ARGB picture of `width` x `height`: every cell filled with the SPL colour of its
    // level; cells nothing reaches stay transparent.
    static juce::Image Paint(const CFieldGrid& grid, int width, int height);
    // The venue picture with the current view's field map under the venue lines (the scene
    // is drawn once to place the map, then again over it).
    static void DrawVenuePictureWithMap(juce::Image& picture);
};
