#pragma once
// The design limits a command gets from the tool just before it is sent, as the command
// table states them: counts and the pick pin within the catalogue's limits, module switches
// on an existing module position, area commands on an existing area. A refused command is
// not sent, so it cannot leave stray elements in the documents.

#include "CCliOptions.h"

#include <string>

class CCliCommandCheck
{
public:
    // Empty when `step` may be sent, otherwise why not.
    static std::string Check(const CCliOptions::Step& step);
    // The message of a step refused for `reason`.
    static std::string NotSent(const CCliOptions::Step& step, const std::string& reason);
};
