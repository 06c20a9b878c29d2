#pragma once
// The checks a command gets from the tool just before it is sent, against the design as it
// stands: counts and the pick pin within the flybar's catalogue limits, module switches on
// an existing module position, area commands on an existing area. A refused command is not
// sent, so it cannot leave stray elements in the documents.

#include "CCliOptions.h"

#include <string>

class CCliCommandCheck
{
public:
    // Empty when `step` may be sent, otherwise why not.
    static std::string Check(const CCliOptions::Step& step);

private:
    static std::string CheckLimit(const CCliOptions::Step& step, const std::string& limitTag, const char* what);
    static std::string CheckModulePosition(const CCliOptions::Step& step);
    static std::string CheckAreaSlot(const CCliOptions::Step& step);
};
