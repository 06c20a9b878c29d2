#include "CCliCommandCheck.h"

#include "engine/CCommandTable.h"

std::string CCliCommandCheck::Check(const CCliOptions::Step& step)
{
    const CCommandTable::Entry* entry = CCommandTable::Find(step.command.target);
    const std::string refusal = entry == nullptr ? std::string() : CCommandTable::CheckLimits(*entry, step.command);
    return refusal.empty() ? refusal : NotSent(step, refusal);
}

std::string CCliCommandCheck::NotSent(const CCliOptions::Step& step, const std::string& reason)
{
    return (step.kind == CCliOptions::Step::Kind::General ? "--set " : "--area ") + step.argument + ": " + reason
           + "; the command was not sent";
}
