#include "report/CAlignmentReport.h"

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

const char* Polarity(bool inverted)
{
    return inverted ? "inverted" : "normal";
}
} // namespace

CDesignReport::Section CAlignmentReport::Section(const CSubAlignment& alignment, const CDisplayUnits& units)
{
    const std::string length = std::string(" ") + units.LengthSymbol();
    std::ostringstream html;
    html << "<p class=\"alignment-point\">At x " << Fixed(units.VenueX(alignment.xIn), 2, length) << ", y "
         << Fixed(units.VenueY(alignment.yIn), 2, length) << ".</p>\n";
    if (! alignment.found)
    {
        html << "<p class=\"alignment\">Nothing to align: " << CDesignReport::Escape(alignment.reason) << ".</p>\n";
        return { "Subwoofer alignment", html.str() };
    }

    const double delta = alignment.deltaMs;
    html << "<p class=\"alignment\">"
         << (delta > 0.0   ? "Subwoofers delayed by <strong>" + Fixed(delta, 2, " ms") + "</strong>"
             : delta < 0.0 ? "Full-range modules delayed by <strong>" + Fixed(-delta, 2, " ms") + "</strong>"
                           : std::string("No delay"))
         << ", subwoofer polarity <strong>" << Polarity(alignment.inverted) << "</strong>. Level over 63 to 160 Hz: "
         << Fixed(alignment.beforeDB, 1, " dB") << " before, " << Fixed(alignment.afterDB, 1, " dB") << " after.</p>\n";
    html << "<table class=\"alignment\">\n<tr><th>Position</th><th>Delay</th><th>Polarity</th></tr>\n";
    for (const CSubAlignment::Setting& s : alignment.settings)
        html << "<tr><td>" << s.position << "</td><td>" << Fixed(s.delayMs, 2, " ms") << "</td><td>"
             << Polarity(s.inverted) << "</td></tr>\n";
    html << "</table>\n";
    return { "Subwoofer alignment", html.str() };
}
