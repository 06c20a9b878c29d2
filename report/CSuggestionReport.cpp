#include "report/CSuggestionReport.h"

#include <sstream>
#include <string>

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
             << "<td>" << CDesignReport::Fixed(pin.spread, 1, " dB") << "</td><td>" << CDesignReport::Fixed(pin.median, 1, " dB") << "</td>"
             << "<td>" << CDesignReport::Fixed(100.0 * pin.coverage, 0, " %") << "</td><td>" << CDesignReport::Fixed(pin.min, 1, " dB") << "</td>"
             << "<td>" << CDesignReport::Fixed(pin.max, 1, " dB") << "</td></tr>\n";
    }
    html << "</table>\n";
    return { "Coverage suggestion", html.str() };
}
