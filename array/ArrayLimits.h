#pragma once
// What an array can hold, and the check that keeps array files within it. Returns "" when
// acceptable, or the reason naming the element and the limit, ready for a message.

#include <string>

class CXmlNode;

namespace ArrayLimits
{
// The user's processing of a loudspeaker: delay in ms, gain in dB.
constexpr double kMaxDelayMs = 100.0;
constexpr double kMinGainDB = -40.0;
constexpr double kMaxGainDB = 10.0;

// The flybar and the most enclosures the flybar's catalogue entry allows below it.
int MaxPositions();
// Every Array under `root`: its Total within 0..MaxPositions(), read as the engine reads
// it, and its hang point finite; every product's Processing values within their ranges.
std::string CheckArrays(CXmlNode* root);
}
