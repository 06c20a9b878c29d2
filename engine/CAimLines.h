#pragma once
// Aim lines of the array and their hits on the venue: one centre line per full-range
// module plus the upper and lower coverage edges, each cut off at the nearest surface.
// Results go into the Venue element (AimStuff, InterList, Power) and into the modules'
// product elements (AimDist, Power). Works on the documents in place; GUI thread only.

class CVenueDataWrap;

namespace AimLines
{
constexpr double kEdgeLoss = 2.5;       // dB less on the coverage edges
constexpr double kRayLength = 10000.0;  // inches

// Rebuilds every aim line from array 1, then intersects them.
void BuildAimLines(const CVenueDataWrap& venue);
// Intersects the existing aim lines with the areas, the ground and the back wall.
void IntersectAimLines(const CVenueDataWrap& venue);
// Adds each area's end points to its intersection list, with extrapolated levels.
void CompleteInterLists(const CVenueDataWrap& venue);
}
