#include "CCliOptions.h"

#include "base/NumberText.h"
#include "engine/CCommandTable.h"
#include "xml/XmlTags.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <cctype>
#include <sys/stat.h>
#include <charconv>
#include <limits>

namespace
{
using Entry = CCommandTable::Entry;

const char* const kUsage =
    "usage: drxwizard-cli [options] [FILE]\n"
    "\n"
    "Runs the DRX Wizard's engine without a window: loads FILE (an array file .21w or a\n"
    "venue file .21v), sends the commands in the order given, then saves, renders and\n"
    "reports.\n"
    "\n"
    "options:\n"
    "  --set TARGET=ARGUMENT       send one command; TARGET and its ARGUMENT are one of:\n"
    "%COMMANDS%"
    "  --area SLOT:KEY=VALUE       change one value of venue area SLOT; KEY is one of\n"
    "                              %AREAKEYS%;\n"
    "                              VALUE in the current display units\n"
    "  --undo                      take back the last design change or load, in order\n"
    "                              with the commands; exit status 1 if there is none\n"
    "  --redo                      make the last change taken back again\n"
    "  --view VIEW                 what colours the surfaces and the field map: Classic,\n"
    "                              BandZ, BandA or Band:LABEL (a band: 63, 1.25k, 4k ...)\n"
    "  --probe X,Y                 add a virtual microphone at X,Y (display units and\n"
    "                              origin, like --area values) to the report; repeatable\n"
    "  --align-subs X,Y            find the subwoofer alignment at X,Y (display units and\n"
    "                              origin, like --probe): the relative delay and subwoofer\n"
    "                              polarity that add subwoofers and modules up best over\n"
    "                              63 to 160 Hz; added to the report and the printed report\n"
    "  --apply-alignment           also apply it (one command, after the --set's)\n"
    "  --field-map                 draw the field map under the venue in --render's picture\n"
    "  --save-array OUT.21w        save the array file after all commands\n"
    "  --save-venue OUT.21v        save the venue file after all commands\n"
    "  --render OUT.png            write the 1000 x 600 venue picture\n"
    "  --fit                       draw --render's picture to show the whole venue, with a\n"
    "                              grid in the display units and the surfaces' names\n"
    "  --report                    print a JSON report of the design on standard output\n"
    "  --suggest-pin               try every pick pin after the commands and add the coverage\n"
    "                              suggestion (in the --view's levels) to the report\n"
    "  --apply-suggestion          also apply the suggested pin (one pick-pin command)\n"
    "  --report-html OUT.html      write the printable design report, every level in the --view\n"
    "  --run-dir DIR               directory for the engine's own files (default: a fresh\n"
    "                              temporary directory, removed at exit)\n"
    "  --seed N                    seed the start-up array's random choice\n"
    "  --help                      show this text\n"
    "  --version                   show the version\n"
    "\n"
    "exit status: 0 success, 1 an error was reported, 2 usage error\n";

bool HasExtension(const std::string& path, const std::string& extension)
{
    if (path.size() <= extension.size())
        return false;
    const std::string tail = path.substr(path.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(),
                      [](char a, char b) { return std::tolower((unsigned char) a) == std::tolower((unsigned char) b); });
}

bool IsValueOption(const std::string& name)
{
    return name == "--set" || name == "--area" || name == "--view" || name == "--probe" || name == "--align-subs"
           || name == "--save-array"
           || name == "--save-venue" || name == "--render" || name == "--run-dir" || name == "--seed"
           || name == "--report-html";
}

// How a --set of `entry` is written after its target.
std::string ArgumentForm(const Entry& entry)
{
    using TF = CCommandTable::TextRule::Form;
    const bool number = entry.number.form != CCommandTable::NumberRule::Form::Unused;
    std::string text;
    switch (entry.text.form)
    {
        case TF::Unused: break;
        case TF::Path: text = "PATH"; break;
        case TF::OptionalPath: text = "[PATH]"; break;
        case TF::Position: text = "MODULE"; break;
        case TF::Decimal: text = "VALUE"; break;
        case TF::View: text = "Classic|BandZ|BandA|Band:LABEL"; break;
        case TF::Choice:
            for (const std::string& choice : entry.text.choices)
                text += (text.empty() ? "" : "|") + choice;
            break;
    }
    if (number && entry.text.leads)
        return "=" + text + ":NUMBER";
    if (number)
        return "=NUMBER" + (text.empty() ? std::string() : ":" + text);
    return text.empty() ? std::string() : "=" + text;
}

// Two outputs of one run on the same file would leave only the last one's content under a
// name chosen for the other (a PNG named design.21w). The same file however named: "./a",
// "sub/../a", a link or a second hard link to it.
std::string Named(const std::string& label, const std::string& path)
{
    return label.rfind("--set ", 0) == 0 ? label : label + " " + path;
}

std::string SameOutputTwice(const CCliOptions& options)
{
    struct Output
    {
        std::string label;
        std::string kind;
        std::string path;
    };
    std::vector<Output> outputs;
    const auto add = [&outputs](const std::string& label, const std::string& kind, const std::string& path) {
        if (! path.empty())
            outputs.push_back({ label, kind, path });
    };
    add("--save-array", CCommandTable::kSaveArrayFile, options.saveArray);
    add("--save-venue", CCommandTable::kSaveVenueFile, options.saveVenue);
    add("--render", "picture", options.render);
    add("--report-html", "report", options.reportHtml);
    for (const CCliOptions::Step& step : options.steps)
        if (step.command.target == CCommandTable::kSaveArrayFile || step.command.target == CCommandTable::kSaveVenueFile)
            add("--set " + step.argument, step.command.target, step.command.text);

    const juce::File here = juce::File::getCurrentWorkingDirectory();
    const auto same = [&here](const std::string& a, const std::string& b) {
        const std::string fullA = here.getChildFile(a).getFullPathName().toStdString();
        const std::string fullB = here.getChildFile(b).getFullPathName().toStdString();
        struct stat infoA {}, infoB {};
        return fullA == fullB
               || (::stat(fullA.c_str(), &infoA) == 0 && ::stat(fullB.c_str(), &infoB) == 0
                   && infoA.st_dev == infoB.st_dev && infoA.st_ino == infoB.st_ino);
    };
    for (size_t i = 0; i < outputs.size(); ++i)
        for (size_t j = i + 1; j < outputs.size(); ++j)
            // A save of one kind sent again to its file saves the later design; that is meant.
            if (outputs[i].kind != outputs[j].kind && same(outputs[i].path, outputs[j].path))
                return Named(outputs[i].label, outputs[i].path) + " and " + Named(outputs[j].label, outputs[j].path)
                       + " name the same file; give each output a file of its own";
    return {};
}

std::string CommandLines()
{
    std::string lines;
    for (const Entry& entry : CCommandTable::Entries())
    {
        if (entry.scope != CCommandTable::Scope::General)
            continue;
        std::string form = entry.target + ArgumentForm(entry);
        form.resize(std::max<size_t>(form.size() + 1, 28), ' ');
        lines += "      " + form + entry.name + "\n";
    }
    return lines;
}
} // namespace

//==============================================================================
bool CCliOptions::Parse(const std::vector<std::string>& arguments, CCliOptions& options, std::string& error)
{
    bool optionsEnded = false;
    for (size_t i = 0; i < arguments.size(); ++i)
    {
        const std::string& argument = arguments[i];
        if (! optionsEnded && argument == "--")
        {
            optionsEnded = true;
            continue;
        }
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-")
        {
            if (! options.file.empty())
            {
                error = "only one FILE may be given (got '" + options.file + "' and '" + argument + "')";
                return false;
            }
            options.file = argument;
            continue;
        }

        // "--name value" or "--name=value".
        std::string name = argument;
        std::optional<std::string> attached;
        if (const size_t equals = argument.find('='); equals != std::string::npos && argument.rfind("--", 0) == 0)
        {
            name = argument.substr(0, equals);
            attached = argument.substr(equals + 1);
        }

        bool* flag = name == "--help" || name == "-h" ? &options.help
                     : name == "--version"          ? &options.version
                     : name == "--report"           ? &options.report
                     : name == "--field-map"        ? &options.fieldMap
                     : name == "--suggest-pin"      ? &options.suggestPin
                     : name == "--apply-suggestion" ? &options.applySuggestion
                     : name == "--apply-alignment"  ? &options.applyAlignment
                     : name == "--fit"              ? &options.fit
                                                    : nullptr;
        if (name == "--undo" || name == "--redo")
        {
            if (attached)
            {
                error = name + " takes no value";
                return false;
            }
            Step step;
            step.kind = Step::Kind::History;
            step.argument = name;
            step.command.target = name == "--undo" ? CCommandTable::kUndo : CCommandTable::kRedo;
            options.steps.push_back(step);
            continue;
        }
        if (flag != nullptr)
        {
            if (attached)
            {
                error = name + " takes no value";
                return false;
            }
            *flag = true;
            continue;
        }

        if (! attached && i + 1 >= arguments.size())
        {
            error = IsValueOption(name) ? name + " needs a value" : "unknown option '" + name + "'";
            return false;
        }
        if (! options.ParseValueOption(name, attached ? *attached : arguments[++i], error))
            return false;
    }

    if (options.fit && options.render.empty())
    {
        error = "--fit draws the --render picture; give --render OUT.png too";
        return false;
    }
    if (! options.file.empty() && ! HasExtension(options.file, ".21w") && ! HasExtension(options.file, ".21v"))
    {
        error = "FILE must be an array file (.21w) or a venue file (.21v), not '" + options.file + "'";
        return false;
    }
    if (! options.probes.empty() && ! options.report)
    {
        error = "--probe adds to the report: give --report as well";
        return false;
    }
    if (options.alignSubs && ! options.report && options.reportHtml.empty() && ! options.applyAlignment)
    {
        error = "--align-subs adds to the report: give --report, --report-html or --apply-alignment as well";
        return false;
    }
    if (options.applyAlignment && ! options.alignSubs)
    {
        error = "--apply-alignment applies the alignment found at --align-subs X,Y: give --align-subs as well";
        return false;
    }
    if (options.fieldMap && options.render.empty())
    {
        error = "--field-map draws into the picture: give --render as well";
        return false;
    }
    error = SameOutputTwice(options);
    return error.empty();
}

bool CCliOptions::ParseValueOption(const std::string& name, const std::string& value, std::string& error)
{
    if (! IsValueOption(name))
    {
        error = "unknown option '" + name + "'";
        return false;
    }
    if (name == "--set")
        return ParseSet(value, error);
    if (name == "--area")
        return ParseArea(value, error);
    if (name == "--seed")
        return ParseSeed(value, error);
    if (name == "--view")
        return ParseView(value, error);
    if (name == "--probe" || name == "--align-subs")
    {
        Probe point;
        if (! ParsePoint(name, value, point, error))
            return false;
        if (name == "--probe")
            probes.push_back(point);
        else if (alignSubs)
        {
            error = "--align-subs is given once: the alignment is made at one point";
            return false;
        }
        else
            alignSubs = point;
        return true;
    }

    std::string& field = name == "--save-array" ? saveArray
                         : name == "--save-venue" ? saveVenue
                         : name == "--render"     ? render
                         : name == "--report-html" ? reportHtml
                                                  : runDir;
    if (value.empty())
    {
        error = name + " needs a file name";
        return false;
    }
    if (! field.empty())
    {
        error = name + " given twice";
        return false;
    }
    field = value;
    return true;
}

bool CCliOptions::ParseSeed(const std::string& value, std::string& error)
{
    unsigned number = 0;
    const auto result = std::from_chars(value.data(), value.data() + value.size(), number);
    if (value.empty() || result.ec != std::errc() || result.ptr != value.data() + value.size())
    {
        error = "--seed needs a whole number from 0 to " + std::to_string(std::numeric_limits<unsigned>::max())
                + ", not '" + value + "'";
        return false;
    }
    if (seed)
    {
        error = "--seed given twice";
        return false;
    }
    seed = number;
    return true;
}

bool CCliOptions::ParseSet(const std::string& value, std::string& error)
{
    Step step;
    step.kind = Step::Kind::General;
    step.argument = value;
    CCommand& command = step.command;

    const size_t equals = value.find('=');
    command.target = value.substr(0, equals);
    const Entry* entry = CCommandTable::Find(command.target);
    if (entry == nullptr || entry->scope != CCommandTable::Scope::General)
    {
        error = equals == std::string::npos || equals == 0
                    ? "--set " + value + ": expected TARGET=NUMBER[:TEXT]"
                    : "--set " + value + ": unknown target '" + command.target + "' (known: "
                          + CCommandTable::TargetList(CCommandTable::Scope::General) + ")";
        return false;
    }

    const std::string rest = equals == std::string::npos ? std::string() : value.substr(equals + 1);
    if (entry->number.form == CCommandTable::NumberRule::Form::Unused)
    {
        command.text = rest;
    }
    else
    {
        if (equals == std::string::npos)
        {
            error = "--set " + value + ": expected TARGET=NUMBER[:TEXT]";
            return false;
        }
        const size_t colon = rest.find(':');
        std::string numberText = rest.substr(0, colon);
        if (colon != std::string::npos)
            command.text = rest.substr(colon + 1);
        if (entry->text.leads)
        {
            if (colon == std::string::npos)
            {
                error = "--set " + value + ": expected " + entry->target + ArgumentForm(*entry);
                return false;
            }
            std::swap(numberText, command.text);
        }
        if (! ParseDecimal(numberText, command.number))
        {
            error = "--set " + value + ": '" + numberText + "' is not a number";
            return false;
        }
    }

    if (const std::string refusal = CCommandTable::CheckForm(*entry, command); ! refusal.empty())
    {
        error = "--set " + value + ": " + refusal;
        return false;
    }
    using TF = CCommandTable::TextRule::Form;
    step.textIsPath = (entry->text.form == TF::Path || entry->text.form == TF::OptionalPath) && ! command.text.empty();
    steps.push_back(step);
    return true;
}

bool CCliOptions::ParseArea(const std::string& value, std::string& error)
{
    Step step;
    step.kind = Step::Kind::Area;
    step.argument = value;
    CCommand& command = step.command;

    const size_t colon = value.find(':');
    const size_t equals = value.find('=', colon == std::string::npos ? 0 : colon);
    if (colon == std::string::npos || equals == std::string::npos)
    {
        error = "--area " + value + ": expected SLOT:KEY=VALUE";
        return false;
    }
    const std::string slotText = value.substr(0, colon);
    command.target = value.substr(colon + 1, equals - colon - 1);
    const std::string valueText = value.substr(equals + 1);

    double slot = 0.0;
    if (! ParseDecimal(slotText, slot) || ! IsWholeNumber(slot) || slot < 1)
    {
        error = "--area " + value + ": SLOT must be an area number (1, 2, ...), not '" + slotText + "'";
        return false;
    }
    command.areaSlot = (int) slot;
    const Entry* entry = CCommandTable::Find(command.target);
    if (entry == nullptr || entry->scope != CCommandTable::Scope::Area)
    {
        error = "--area " + value + ": unknown key '" + command.target + "' (known: "
                + CCommandTable::TargetList(CCommandTable::Scope::Area) + ")";
        return false;
    }
    double number = 0.0;
    if (! ParseDecimal(valueText, number))
    {
        error = "--area " + value + ": '" + valueText + "' is not a number";
        return false;
    }
    command.text = ShortestText(number);

    steps.push_back(step);
    return true;
}

bool CCliOptions::ParseView(const std::string& value, std::string& error)
{
    Step step;
    step.kind = Step::Kind::General;
    step.argument = Tag::View + "=" + value;
    step.command.target = Tag::View;
    step.command.text = value;
    if (const std::string refusal = CCommandTable::CheckForm(*CCommandTable::Find(Tag::View), step.command);
        ! refusal.empty())
    {
        error = "--view " + value + ": " + refusal;
        return false;
    }
    steps.push_back(step);
    return true;
}

bool CCliOptions::ParsePoint(const std::string& name, const std::string& value, Probe& point, std::string& error)
{
    const size_t comma = value.find(',');
    if (comma == std::string::npos || ! ParseDecimal(value.substr(0, comma), point.x)
        || ! ParseDecimal(value.substr(comma + 1), point.y))
    {
        error = name + " " + value + ": expected X,Y (two numbers in the display units)";
        return false;
    }
    return true;
}

std::string CCliOptions::UsageText()
{
    std::string usage = kUsage;
    usage.replace(usage.find("%COMMANDS%"), 10, CommandLines());
    const std::string keys = "%AREAKEYS%";
    usage.replace(usage.find(keys), keys.size(), CCommandTable::TargetList(CCommandTable::Scope::Area));
    return usage;
}
