#pragma once
// One command as it is sent to the engine, and the engine's answer. Plain values, copied
// freely; what each target takes and does is in the command table.

#include <string>
#include <utility>

struct CCommand
{
    std::string target;  // an entry of the command table
    double number = 0.0;
    std::string text;    // a file path, a module position, an area value as decimal text ...
    int areaSlot = 0;    // area commands: the venue area (1-based) they change
};

// Done, or refused with the reason: one sentence naming what and why, without the
// command's own text in front. A refused command has changed nothing.
class CCommandResult
{
public:
    static CCommandResult Done() { return CCommandResult(std::string()); }
    static CCommandResult Refused(std::string reason) { return CCommandResult(reason.empty() ? "refused" : std::move(reason)); }

    bool WasDone() const { return reason.empty(); }
    explicit operator bool() const { return WasDone(); }
    const std::string& GetReason() const { return reason; }

private:
    explicit CCommandResult(std::string why) : reason(std::move(why)) {}

    std::string reason;
};
