#include "report/CSuggestionReport.h"

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>

namespace
{
std::string Fixed(double value, int decimals, const std::string& unit)
{
    if (! std::isfinite(value))
        return "–";
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.*f", decimals, value);
    return buffer + unit;
}
} // namespace

CDesignReport::Section CSuggestionReport::Section(const CPinSuggestion& suggestion)
{
    std::ostringstream html;
    if (suggestion.best)
        html << "<p class=\"suggested\">Suggested pick pin: <strong>" << *suggestion.best
             << "</strong>, the most even coverage of the audience.</p>\n";
    else
        html << "<p class=\"suggested\">No pick pin can be suggested: no pin gives the audience a level.</p>\n";
    html << "<p class=\"view\">Levels of the " << suggestion.view.ToString() << " view.</p>\n";
    html << "<table class=\"suggestion\">\n<tr><th>Pin</th><th>Spread (10 % to 90 %)</th><th>Median</th>"
            "<th>Within ±3 dB of the median</th><th>Minimum</th><th>Maximum</th></tr>\n";
    for (const PinCoverage& pin : suggestion.pins)
    {
        const bool best = suggestion.best && *suggestion.best == pin.pin;
        html << (best ? "<tr class=\"best\">" : "<tr>") << "<td>" << pin.pin << (best ? " (suggested)" : "") << "</td>"
             << "<td>" << Fixed(pin.spread, 1, " dB") << "</td><td>" << Fixed(pin.median, 1, " dB") << "</td>"
             << "<td>" << Fixed(100.0 * pin.coverage, 0, " %") << "</td><td>" << Fixed(pin.min, 1, " dB") << "</td>"
             << "<td>" << Fixed(pin.max, 1, " dB") << "</td></tr>\n";
    }
    html << "</table>\n";
    return { "Coverage suggestion", html.str() };
}
