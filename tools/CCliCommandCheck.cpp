#include "CCliCommandCheck.h"

#include "engine/CCommandTable.h"

std::string CCliCommandCheck::Check(const CCliOptions::Step& step)
{
    const CCommandTable::Entry* entry = CCommandTable::Find(step.command.target);
    // The window loads its default design for an empty path; the tool has none to load.
    if (entry != nullptr && entry->text.form == CCommandTable::TextRule::Form::OptionalPath && step.command.text.empty())
        return NotSent(step, step.command.target + " needs the path of the file to load");
    // The form first: a value outside its range is named by the range the panels give it.
    const std::string refusal = entry == nullptr ? std::string() : CCommandTable::Check(step.command).GetReason();
    return refusal.empty() ? refusal : NotSent(step, refusal);
}

std::string CCliCommandCheck::NotSent(const CCliOptions::Step& step, const std::string& reason)
{
    using Kind = CCliOptions::Step::Kind;
    const std::string option = step.kind == Kind::General ? "--set " : step.kind == Kind::Area ? "--area " : "";
    return option + step.argument + ": " + reason + "; the command was not sent";
}
