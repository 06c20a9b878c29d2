#include "engine/CSubAlignment.h"
#include "report/CAlignmentReport.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
CSubAlignment ModulesDelayed()
{
    CSubAlignment a;
    a.found = true;
    a.xIn = 960.0;
    a.yIn = 60.0;
    a.step = -997;
    a.deltaMs = -9.97;
    a.beforeDB = 96.04;
    a.afterDB = 101.26;
    a.settings = { { 2, 9.97, false }, { 3, 9.97, true }, { 7, 0.0, false } };
    return a;
}
}

TEST(AlignmentReport, ShowsThePointTheDelayTheLevelsAndEverySource)
{
    CDisplayUnits feet;
    feet.offsetX = -240.0; // x from a stage front 20 ft in
    const CDesignReport::Section section = CAlignmentReport::Section(ModulesDelayed(), feet);
    EXPECT_EQ(section.title, "Subwoofer alignment");
    const std::string& html = section.html;
    EXPECT_NE(html.find("At x 60.00 ft, y 5.00 ft."), std::string::npos) << html;
    EXPECT_NE(html.find("Full-range modules delayed by <strong>9.97 ms</strong>"), std::string::npos) << html;
    EXPECT_NE(html.find("subwoofer polarity <strong>normal</strong>"), std::string::npos);
    EXPECT_NE(html.find("96.0 dB before, 101.3 dB after"), std::string::npos);
    EXPECT_NE(html.find("<tr><td>3</td><td>9.97 ms</td><td>inverted</td></tr>"), std::string::npos);
    EXPECT_NE(html.find("<tr><td>7</td><td>0.00 ms</td><td>normal</td></tr>"), std::string::npos);

    CSubAlignment later = ModulesDelayed();
    later.deltaMs = 2.5;
    later.inverted = true;
    CDisplayUnits metres;
    metres.length = "Meters";
    const std::string laterHtml = CAlignmentReport::Section(later, metres).html;
    EXPECT_NE(laterHtml.find("At x 24.38 m, y 1.52 m."), std::string::npos) << laterHtml;
    EXPECT_NE(laterHtml.find("Subwoofers delayed by <strong>2.50 ms</strong>, subwoofer polarity <strong>inverted"),
              std::string::npos);
}

TEST(AlignmentReport, SaysWhyThereIsNothingToAlign)
{
    CSubAlignment none;
    none.reason = "there is no subwoofer";
    const std::string html = CAlignmentReport::Section(none, CDisplayUnits()).html;
    EXPECT_NE(html.find("Nothing to align: there is no subwoofer."), std::string::npos) << html;
    EXPECT_EQ(html.find("<table"), std::string::npos);
}
