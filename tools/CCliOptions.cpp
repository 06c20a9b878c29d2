#include "CCliOptions.h"

#include "xml/XmlTags.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>

namespace
{
// The general commands a --set may send, with the descriptions the panels send them with.
struct GeneralCommand
{
    const std::string* target;
    const char* name;
    const char* saveName; // for the file targets: the description of a save (NUMBER not 0)
};

const GeneralCommand kGeneralCommands[] = {
    { &Tag::ArrayFile, "Load Array File", "Save Array File" },
    { &Tag::VenueFile, "Load Venue File", "Save Venue File" },
    { &Tag::SlotPin, "Change Pin Slot", nullptr },
    { &Tag::Model_DRXS1, "Change SubWoofer Total", nullptr },
    { &Tag::Model_DRXR1, "Change Range Total", nullptr },
    { &Tag::Meters, "Toggle between US and SI units", nullptr },
    { &Tag::SplBase, "Change SPL Base Value", nullptr },
    { &Tag::SplRange, "Change SPL Range on Scale", nullptr },
    { &Tag::Switch1, "Toggle Module Switch", nullptr },
    { &Tag::Switch2, "Toggle Module Switch", nullptr },
};

const std::string* const kAreaKeys[] = { &Tag::sX, &Tag::sY, &Tag::eX, &Tag::eY, &Tag::LAngle, &Tag::LDist };

const char* const kUsage =
    "usage: drxwizard-cli [options] [FILE]\n"
    "\n"
    "Runs the DRX Wizard's engine without a window: loads FILE (an array file .21w or a\n"
    "venue file .21v), sends the commands in the order given, then saves, renders and\n"
    "reports.\n"
    "\n"
    "options:\n"
    "  --set TARGET=NUMBER[:TEXT]  send one general command; TARGET is one of ArrayFile,\n"
    "                              VenueFile, SlotPin, Model_DRXS1, Model_DRXR1, Meters,\n"
    "                              SplBase, SplRange, Switch1, Switch2\n"
    "  --area SLOT:KEY=VALUE       change one value of venue area SLOT; KEY is one of sX, sY,\n"
    "                              eX, eY, LAngle, LDist; VALUE in the current display units\n"
    "  --save-array OUT.21w        save the array file after all commands\n"
    "  --save-venue OUT.21v        save the venue file after all commands\n"
    "  --render OUT.png            write the 1000 x 600 venue picture\n"
    "  --fit                       draw --render's picture to show the whole venue, with a\n"
    "                              grid in the display units and the surfaces' names\n"
    "  --report                    print a JSON report of the design on standard output\n"
    "  --report-html OUT.html      write the printable design report\n"
    "  --run-dir DIR               directory for the engine's own files (default: a fresh\n"
    "                              temporary directory, removed at exit)\n"
    "  --seed N                    seed the start-up array's random choice\n"
    "  --help                      show this text\n"
    "  --version                   show the version\n"
    "\n"
    "exit status: 0 success, 1 an error was reported, 2 usage error\n";

// A decimal number (no hex, no inf or nan) filling the whole of `text`.
bool ParseNumber(const std::string& text, double& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (begin != end && *begin == '+')
        ++begin;
    if (begin == end || (*begin == '-' && text[0] == '+'))
        return false;
    for (const char* c = begin; c != end; ++c)
        if (! ((*c >= '0' && *c <= '9') || *c == '.' || *c == 'e' || *c == 'E' || *c == '-' || *c == '+'))
            return false;
    const auto result = std::from_chars(begin, end, value, std::chars_format::general);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool HasExtension(const std::string& path, const std::string& extension)
{
    if (path.size() <= extension.size())
        return false;
    const std::string tail = path.substr(path.size() - extension.size());
    return std::equal(tail.begin(), tail.end(), extension.begin(),
                      [](char a, char b) { return std::tolower((unsigned char) a) == std::tolower((unsigned char) b); });
}

bool IsWholeNumber(double value)
{
    return value == std::trunc(value) && value >= std::numeric_limits<int>::min()
           && value <= std::numeric_limits<int>::max();
}

// The shortest decimal text that reads back as `value`, as the engine reads area values.
std::string DecimalText(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof(buffer), value);
    return std::string(buffer, result.ptr);
}

const GeneralCommand* FindGeneralCommand(const std::string& target)
{
    for (const GeneralCommand& command : kGeneralCommands)
        if (*command.target == target)
            return &command;
    return nullptr;
}

bool IsValueOption(const std::string& name)
{
    return name == "--set" || name == "--area" || name == "--save-array" || name == "--save-venue"
           || name == "--render" || name == "--run-dir" || name == "--seed" || name == "--report-html";
}

bool IsAreaKey(const std::string& key)
{
    for (const std::string* known : kAreaKeys)
        if (*known == key)
            return true;
    return false;
}

// The switch commands carry 2 x switch number + 1 when on: Switch1 has switches 1 and 2,
// Switch2 has 1, 2 and 3.
bool CheckSwitchNumber(CCliOptions::Step& step, std::string& error)
{
    const int switches = step.target == Tag::Switch1 ? 2 : 3;
    if (! IsWholeNumber(step.number) || step.number < 2 || step.number > 2 * switches + 1)
    {
        error = "--set " + step.argument + ": NUMBER must be 2 x switch (1.." + std::to_string(switches)
                + ") + 1 for on, a whole number from 2 to " + std::to_string(2 * switches + 1);
        return false;
    }
    if (step.target == Tag::Switch2)
    {
        double position = 0.0;
        if (! ParseNumber(step.text, position) || ! IsWholeNumber(position))
        {
            error = "--set " + step.argument + ": Switch2 needs the module's position as TEXT, e.g. Switch2=7:4";
            return false;
        }
        // The engine puts the text into a dotted path, where only plain digits are safe.
        step.text = std::to_string((int) position);
    }
    return true;
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
                     : name == "--fit"              ? &options.fit
                                                    : nullptr;
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
    return true;
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

    const size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0)
    {
        error = "--set " + value + ": expected TARGET=NUMBER[:TEXT]";
        return false;
    }
    step.target = value.substr(0, equals);
    const std::string rest = value.substr(equals + 1);
    const size_t colon = rest.find(':');
    const std::string numberText = rest.substr(0, colon);
    if (colon != std::string::npos)
        step.text = rest.substr(colon + 1);

    const GeneralCommand* command = FindGeneralCommand(step.target);
    if (command == nullptr)
    {
        error = "--set " + value + ": unknown target '" + step.target
                + "' (known: ArrayFile, VenueFile, SlotPin, Model_DRXS1, Model_DRXR1, Meters, SplBase, SplRange, "
                  "Switch1, Switch2)";
        return false;
    }
    if (! ParseNumber(numberText, step.number))
    {
        error = "--set " + value + ": '" + numberText + "' is not a number";
        return false;
    }

    const bool isFile = step.target == Tag::ArrayFile || step.target == Tag::VenueFile;
    step.name = isFile && step.number != 0.0 ? command->saveName : command->name;
    step.textIsPath = isFile && ! step.text.empty();

    const bool isCount = step.target == Tag::Model_DRXS1 || step.target == Tag::Model_DRXR1 || step.target == Tag::SlotPin;
    if (isCount && ! IsWholeNumber(step.number))
    {
        error = "--set " + value + ": " + step.target + " needs a whole number, not '" + numberText + "'";
        return false;
    }
    if ((step.target == Tag::Switch1 || step.target == Tag::Switch2) && ! CheckSwitchNumber(step, error))
        return false;

    steps.push_back(step);
    return true;
}

bool CCliOptions::ParseArea(const std::string& value, std::string& error)
{
    Step step;
    step.kind = Step::Kind::Area;
    step.argument = value;
    step.name = "Area Change";

    const size_t colon = value.find(':');
    const size_t equals = value.find('=', colon == std::string::npos ? 0 : colon);
    if (colon == std::string::npos || equals == std::string::npos)
    {
        error = "--area " + value + ": expected SLOT:KEY=VALUE";
        return false;
    }
    const std::string slotText = value.substr(0, colon);
    step.target = value.substr(colon + 1, equals - colon - 1);
    const std::string valueText = value.substr(equals + 1);

    double slot = 0.0;
    if (! ParseNumber(slotText, slot) || ! IsWholeNumber(slot) || slot < 1)
    {
        error = "--area " + value + ": SLOT must be an area number (1, 2, ...), not '" + slotText + "'";
        return false;
    }
    step.areaSlot = (int) slot;
    if (! IsAreaKey(step.target))
    {
        error = "--area " + value + ": unknown key '" + step.target + "' (known: sX, sY, eX, eY, LAngle, LDist)";
        return false;
    }
    if (! ParseNumber(valueText, step.number))
    {
        error = "--area " + value + ": '" + valueText + "' is not a number";
        return false;
    }
    step.text = DecimalText(step.number);

    steps.push_back(step);
    return true;
}

std::string CCliOptions::UsageText()
{
    return kUsage;
}
