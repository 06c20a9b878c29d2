#pragma once
// What an array can hold, and the check that keeps array files within it. Returns "" when
// acceptable, or the reason naming the element and the limit, ready for a message.

#include <string>

class CXmlNode;

namespace ArrayLimits
{
// The flybar and the most enclosures the flybar's catalogue entry allows below it.
int MaxPositions();
// Every Array under `root`: its Total within 0..MaxPositions(), read as the engine reads
// it, and its hang point finite.
std::string CheckArrays(CXmlNode* root);
}
