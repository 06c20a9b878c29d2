#pragma once
// The "probes" list of the --report document: for every --probe point, what a virtual
// microphone there receives from the band prediction (levels per band, broadband Z and A,
// and each source's level, distance and arrival time). Points are given in the display
// units and origin and written back in inches of the section.

#include "CCliOptions.h"
#include "CJsonValue.h"

#include <string>
#include <vector>

class CCliProbe
{
public:
    // A point beyond the venue's limits (those of the area values) is written as null and
    // its refusal added to `refusals`.
    static CJsonValue Build(const std::vector<CCliOptions::Probe>& probes, std::vector<std::string>& refusals);
};
