#pragma once
// What a venue can hold, and the checks that keep files and commands within it. Every
// check returns "" when the value is acceptable, or the reason, naming the element or key
// and the limit, ready for a message. Numbers are in inches and degrees.

#include <string>

class CLine;
class CXmlNode;

namespace VenueLimits
{
// The wizard's venues have five areas; hand-made ones may have several times more. Every area
// is sampled for its levels at every edit, so the limit bounds the work of one edit.
constexpr int kMaxAreas = 32;
// An array of seven positions casts nine aim lines; the limit leaves room for larger ones.
constexpr int kMaxAimLines = 64;
// The aim-line hits on an area plus its two end points.
constexpr int kMaxIntersections = kMaxAimLines + 2;
// About a kilometre: twice the largest open-air venue's depth (500 m, 19,685 inches), so
// that such a venue fits wherever its origin lies.
constexpr double kMaxCoordinate = 40000.0;
// A line's direction: its angle follows from its end points, so any direction is within half
// a turn either way.
constexpr double kMaxAngle = 180.0;

// The SPL colour scale, in dB: from the threshold of hearing to beyond any level in air near
// an array (the automatic scale follows the levels), its ends at least 1 dB apart so that it
// has a direction and a width.
constexpr double kMinSplLevel = 0.0;
constexpr double kMaxSplLevel = 200.0;
constexpr double kMinSplSpan = 1.0;

// "<what> is <value>; it must be from <low> to <high>" or "".
std::string CheckCount(const std::string& what, int value, int low, int high);
// The end points and length within ±kMaxCoordinate, the angle within ±kMaxAngle.
std::string CheckAreaLine(const CLine& line);
// The line `current` would become after setting `key` ("sX", "eY", "LAngle", ...) to
// `value`, checked as CheckAreaLine does; names the key, and the value as `typed` when given
// (the user's text in display units, which a conversion may have taken to infinity).
std::string CheckAreaEdit(const CLine& current, const std::string& key, double value, const std::string& typed = "");
// The SPL scale from `bottom` to `top` within the limits above.
std::string CheckSplScale(double bottom, double top);
// Every offset the picture is placed by (ConvBaseX, ConvLBaseY, ConvGBaseX ...) anywhere
// under `node`: a finite number within ±kMaxCoordinate; `where` names `node`.
std::string CheckRenderOffsets(CXmlNode* node, const std::string& where);
// Every Venue under `root`: its counts within the limits above, its areas' lines within
// CheckAreaLine, its SPL scale within CheckSplScale, its picture offsets within
// CheckRenderOffsets, and every number the engine reads from them a number.
std::string CheckVenues(CXmlNode* root);
}
