#pragma once
// What a venue can hold, and the checks that keep files and commands within it. Every
// check returns "" when the value is acceptable, or the reason, naming the element or key
// and the limit, ready for a message. Numbers are in inches and degrees.

#include <string>

class CLine;
class CXmlNode;

namespace VenueLimits
{
// The wizard's venues have five areas; hand-made ones may have many more.
constexpr int kMaxAreas = 64;
// An array of seven positions casts nine aim lines; the limit leaves room for larger ones.
constexpr int kMaxAimLines = 64;
// The aim-line hits on an area plus its two end points.
constexpr int kMaxIntersections = kMaxAimLines + 2;
// Far beyond any hall (over 2.5 km), near enough that the geometry stays exact.
constexpr double kMaxCoordinate = 100000.0;
// Any direction is within a turn; the bound only keeps nonsense out of the geometry.
constexpr double kMaxAngle = 100000.0;

// "<what> is <value>; it must be from <low> to <high>" or "".
std::string CheckCount(const std::string& what, int value, int low, int high);
// The end points and length within ±kMaxCoordinate, the angle within ±kMaxAngle.
std::string CheckAreaLine(const CLine& line);
// The line `current` would become after setting `key` ("sX", "eY", "LAngle", ...) to
// `value`, checked as CheckAreaLine does; names the key.
std::string CheckAreaEdit(const CLine& current, const std::string& key, double value);
// Every Venue under `root`: its counts within the limits above, its areas' lines within
// CheckAreaLine, and every number the engine reads from them a number.
std::string CheckVenues(CXmlNode* root);
}
