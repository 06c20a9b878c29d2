#include "engine/EngineFixture.h"

#include "engine/CPinSuggestion.h"
#include "report/CSuggestionReport.h"
#include "xml/XmlTags.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace
{
using SuggestionReport = EngineFixture;

int Count(const std::string& text, const std::string& part)
{
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// Where the row of `pin` starts its cells.
size_t RowAt(const std::string& html, int pin)
{
    const std::string plain = "<tr><td>" + std::to_string(pin) + "</td>";
    const size_t at = html.find(plain);
    if (at != std::string::npos)
        return at + 4;
    return html.find("<td>" + std::to_string(pin) + " (suggested)</td>");
}

// The cells of the row of `pin`, as "<td>..</td><td>..</td>".
std::string Row(const std::string& html, int pin)
{
    const size_t at = RowAt(html, pin);
    if (at == std::string::npos)
        return {};
    return html.substr(at, html.find("</tr>", at) - at);
}

std::string Decibels(double value)
{
    char text[64];
    std::snprintf(text, sizeof(text), "%.1f dB", value);
    return text;
}
} // namespace

TEST_F(SuggestionReport, MarksTheSuggestedPinAndShowsMissingNumbersAsADash)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    CPinSuggestion suggestion;
    suggestion.pins = { { 1, 7.24, 101.04, 0.5, 95.0, 108.0 },
                        { 2, 3.5, 104.0, 0.87, 99.95, 106.5 },
                        { 3, inf, nan, nan, nan, nan } };
    suggestion.best = 2;

    const CDesignReport::Section section = CSuggestionReport::Section(suggestion);
    EXPECT_EQ(section.title, "Coverage suggestion");
    const std::string& html = section.html;
    EXPECT_NE(html.find("Suggested pick pin: <strong>2</strong>"), std::string::npos);
    EXPECT_EQ(Count(html, "<tr class=\"best\">"), 1);
    EXPECT_EQ(Count(html, "(suggested)"), 1);
    EXPECT_NE(html.find("<tr class=\"best\"><td>2 (suggested)</td>"), std::string::npos);
    EXPECT_EQ(Row(html, 1), "<td>1</td><td>7.2 dB</td><td>101.0 dB</td><td>50 %</td><td>95.0 dB</td><td>108.0 dB</td>");
    EXPECT_EQ(Row(html, 2).substr(0, 40), "<td>2 (suggested)</td><td>3.5 dB</td><td");
    EXPECT_NE(Row(html, 2).find("<td>87 %</td>"), std::string::npos);
    EXPECT_EQ(Row(html, 3), "<td>3</td><td>–</td><td>–</td><td>–</td><td>–</td><td>–</td>");

    suggestion.best.reset();
    const std::string none = CSuggestionReport::Section(suggestion).html;
    EXPECT_NE(none.find("No pick pin can be suggested"), std::string::npos);
    EXPECT_EQ(Count(none, "class=\"best\""), 0);
    EXPECT_EQ(Count(none, "(suggested)"), 0);
}

TEST_F(SuggestionReport, TriesEveryPinWithTheGivenLevelsAndLeavesTheDesignAsItWas)
{
    const std::string before = Documents();
    const CPinSuggestion classic = CPinSuggestion::Compute(CPinSuggestion::ClassicLevel);
    const std::string html = CSuggestionReport::Section(classic).html;
    EXPECT_EQ(Documents(), before);

    ASSERT_GE(classic.pins.size(), 2u);
    ASSERT_TRUE(classic.best.has_value());
    EXPECT_NE(html.find("<tr class=\"best\"><td>" + std::to_string(*classic.best) + " (suggested)</td>"),
              std::string::npos);
    size_t last = 0;
    for (const PinCoverage& pin : classic.pins)
    {
        const size_t at = RowAt(html, pin.pin);
        ASSERT_NE(at, std::string::npos) << "pin " << pin.pin;
        EXPECT_GT(at, last) << "pins in order";
        last = at;
        EXPECT_NE(Row(html, pin.pin).find("<td>" + Decibels(pin.median) + "</td>"), std::string::npos) << pin.pin;
    }

    // Another view's levels: the table speaks of them, not of the classic SPL.
    const auto quieter = [](CXmlNode* splPoint) { return CPinSuggestion::ClassicLevel(splPoint) - 40.0; };
    const std::string shifted = CSuggestionReport::Section(CPinSuggestion::Compute(quieter)).html;
    for (const PinCoverage& pin : classic.pins)
        EXPECT_NE(Row(shifted, pin.pin).find("<td>" + Decibels(pin.median - 40.0) + "</td>"), std::string::npos)
            << pin.pin;
    EXPECT_EQ(Documents(), before);
}
