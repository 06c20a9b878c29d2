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
    using Kind = CCliOptions::Step::Kind;
    const std::string option = step.kind == Kind::General ? "--set " : step.kind == Kind::Area ? "--area " : "";
    return option + step.argument + ": " + reason + "; the command was not sent";
}
