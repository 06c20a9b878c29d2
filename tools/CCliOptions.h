#pragma once
// The command line of drxwizard-cli: what to load, the commands to send in order, what to
// write afterwards. Parse checks the form of every argument (known options, and for the
// commands what the command table says they take); limits that depend on the design are
// checked when the command is about to be sent.

#include "engine/CCommand.h"

#include <optional>
#include <string>
#include <vector>

class CCliOptions
{
public:
    // One --set (a general command), --area (a venue-area command), or --undo / --redo (a
    // step through the design's history).
    struct Step
    {
        enum class Kind { General, Area, History };

        Kind kind = Kind::General;
        std::string argument; // as given, for messages
        CCommand command;     // area: the line key as target, VALUE as decimal text
        bool textIsPath = false;
    };

    // False with a one-line `error` when the arguments are not usable.
    static bool Parse(const std::vector<std::string>& arguments, CCliOptions& options, std::string& error);
    static std::string UsageText();

    bool help = false;
    bool version = false;
    std::string file;
    std::vector<Step> steps;
    std::string saveArray;
    std::string saveVenue;
    std::string render;
    bool fit = false;
    bool report = false;
    // --probe X,Y in the display units and origin, converted when the report is written.
    struct Probe
    {
        double x = 0.0;
        double y = 0.0;
    };
    std::vector<Probe> probes;
    // --align-subs X,Y: the point of the subwoofer alignment, the same form as --probe.
    std::optional<Probe> alignSubs;
    bool applyAlignment = false;
    bool fieldMap = false;
    bool suggestPin = false;
    bool applySuggestion = false;
    std::string reportHtml;
    std::string runDir;
    std::optional<unsigned> seed;

private:
    bool ParseValueOption(const std::string& name, const std::string& value, std::string& error);
    bool ParseSeed(const std::string& value, std::string& error);
    bool ParseSet(const std::string& value, std::string& error);
    bool ParseArea(const std::string& value, std::string& error);
    bool ParseView(const std::string& value, std::string& error);
    // X,Y of --probe or --align-subs.
    static bool ParsePoint(const std::string& name, const std::string& value, Probe& point, std::string& error);
};
