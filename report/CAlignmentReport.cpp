#include "report/CAlignmentReport.h"

#include <sstream>
#include <string>

namespace
{
const char* Polarity(bool inverted)
{
    return inverted ? "inverted" : "normal";
}
} // namespace

CDesignReport::Section CAlignmentReport::Section(const CSubAlignment& alignment, const CDisplayUnits& units)
{
    const std::string length = std::string(" ") + units.LengthSymbol();
    std::ostringstream html;
    html << "<p class=\"alignment-point\">At x " << CDesignReport::Fixed(units.VenueX(alignment.xIn), 2, length) << ", y "
         << CDesignReport::Fixed(units.VenueY(alignment.yIn), 2, length) << ".</p>\n";
    if (! alignment.found)
    {
        html << "<p class=\"alignment\">Nothing to align: " << CDesignReport::Escape(alignment.reason) << ".</p>\n";
        return { "Subwoofer alignment", html.str() };
    }

    const double delta = alignment.deltaMs;
    html << "<p class=\"alignment\">"
         << (delta > 0.0   ? "Subwoofers delayed by <strong>" + CDesignReport::Fixed(delta, 2, " ms") + "</strong>"
             : delta < 0.0 ? "Full-range modules delayed by <strong>" + CDesignReport::Fixed(-delta, 2, " ms") + "</strong>"
                           : std::string("No delay"))
         << ", subwoofer polarity <strong>" << Polarity(alignment.inverted) << "</strong>. Level over 63 to 160 Hz: "
         << CDesignReport::Fixed(alignment.beforeDB, 1, " dB") << " before, " << CDesignReport::Fixed(alignment.afterDB, 1, " dB") << " after.</p>\n";
    html << "<table class=\"alignment\">\n<tr><th>Position</th><th>Delay</th><th>Polarity</th></tr>\n";
    for (const CSubAlignment::Setting& s : alignment.settings)
        html << "<tr><td>" << s.position << "</td><td>" << CDesignReport::Fixed(s.delayMs, 2, " ms") << "</td><td>"
             << Polarity(s.inverted) << "</td></tr>\n";
    html << "</table>\n";
    return { "Subwoofer alignment", html.str() };
}
