#include "engine/EngineFixture.h"

#include "base/NumberText.h"
#include "report/CDesignReport.h"
#include "report/CRiggingSummary.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <cmath>
#include <cstdio>

namespace
{
class DesignReport : public EngineFixture
{
protected:
    static std::string Build(const CDisplayUnits& units, std::vector<CDesignReport::Section> sections = {})
    {
        CDesignReport::Options options;
        options.title = "Hall <A> & B";
        options.date = "2026-12-10 09:30";
        options.units = units;
        options.sections = std::move(sections);
        options.pictureWidth = 300;
        options.pictureHeight = 160;
        return CDesignReport::Build(options);
    }

    static std::string Fixed(double value, int decimals)
    {
        char text[64];
        std::snprintf(text, sizeof(text), "%.*f", decimals, value);
        return text;
    }

    static int Count(const std::string& text, const std::string& part)
    {
        int n = 0;
        for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++n;
        return n;
    }

    // The listening distances of the full-range modules, inches, top to bottom.
    static std::vector<double> ListeningDistances()
    {
        std::vector<double> distances;
        CArrayLineWrap line = Line();
        for (int slot = 1; slot <= line.GetTotal(); ++slot)
        {
            CXmlNode* product = line.GetCab(slot).GetProduct().GetNode();
            if (product->FindChild(Tag::Model)->GetString("") == Tag::Model_DRXR1)
                distances.push_back(product->FindChild(Tag::AimDist)->FindChild(Tag::Value)->GetDouble(0.0));
        }
        return distances;
    }
};
} // namespace

TEST_F(DesignReport, HoldsTheRiggingAndCoverageInTheDisplayUnits)
{
    Command(Tag::Model_DRXR1, 6);
    const CRiggingSummary rigging = CRiggingSummary::Read();
    ASSERT_EQ(rigging.pinAngles.size(), 8u);
    const std::vector<double> distances = ListeningDistances();
    ASSERT_EQ(distances.size(), 6u);

    struct Case
    {
        CDisplayUnits units;
        double inchesPerUnit, poundsPerUnit;
        const char *length, *weight;
    };
    CDisplayUnits metric;
    metric.length = Tag::Meters;
    metric.weight = Tag::Kilograms;
    const Case cases[] = { { CDisplayUnits(), 12.0, 1.0, "ft", "lb" }, { metric, 39.37007874015748, 2.2046226218487757, "m", "kg" } };
    for (const Case& c : cases)
    {
        const std::string html = Build(c.units);
        EXPECT_NE(html.find("<h1>Hall &lt;A&gt; &amp; B</h1>"), std::string::npos);
        EXPECT_NE(html.find("2026-12-10 09:30"), std::string::npos);
        EXPECT_NE(html.find(Fixed(rigging.weight / c.poundsPerUnit, 1) + " " + c.weight), std::string::npos) << c.weight;
        EXPECT_NE(html.find(Fixed(rigging.cgX / c.inchesPerUnit, 2) + " " + c.length + ", "
                            + Fixed(rigging.cgY / c.inchesPerUnit, 2) + " " + c.length),
                  std::string::npos);
        for (const auto& [pin, angle] : rigging.pinAngles)
            EXPECT_NE(html.find("<td class=\"n\">" + Fixed(angle, 1) + "°</td>"), std::string::npos) << "pin " << pin;
        EXPECT_NE(html.find("<td>Array angle</td><td>" + Fixed(rigging.arrayAngle, 1) + "°</td>"), std::string::npos);
        for (double inches : distances)
            EXPECT_NE(html.find("<td>" + Fixed(inches / c.inchesPerUnit, 2) + " " + c.length + "</td>"), std::string::npos)
                << inches << " inches";
        // In the rigging table and beside each module's number in the coverage table.
        EXPECT_EQ(Count(html, "DRX-R1 full-range module"), 12);
        EXPECT_EQ(Count(html, "DRX-S1 subwoofer"), 0) << "the subwoofer gave way";
    }

    // Each loudspeaker's processing; the flybar has none.
    Command(Tag::Delay, 2.5, "3");
    Command(Tag::Polarity, 1, "3");
    Command(Tag::Gain, -4, "4");
    const std::string html = Build(CDisplayUnits());
    EXPECT_NE(html.find("<td>2.50 ms</td><td>inverted</td><td>0.0 dB</td>"), std::string::npos);
    EXPECT_NE(html.find("<td>0.00 ms</td><td>normal</td><td>-4.0 dB</td>"), std::string::npos);
    EXPECT_EQ(Count(html, "<td>normal</td>"), 5);
}

TEST_F(DesignReport, ShowsEveryVisibleAudienceSurfaceWithItsLevelsAndPlotAndNothingHidden)
{
    const std::string all = Build(CDisplayUnits());
    for (const char* name : { "Floor", "Rake", "Balcony1" })
        EXPECT_EQ(Count(all, "<h3>" + std::string(name) + "</h3>"), 1) << name;
    EXPECT_EQ(Count(all, "<svg class=\"plot\""), 3);
    EXPECT_EQ(all.find("<td>Stage</td>"), std::string::npos) << "the stage is no audience surface";

    // The floor's row: min, median, max of its samples.
    CVenueAreaWrap floor;
    CVenueDataWrap(Venue()).GetArea(floor, 3);
    CXmlNode* line = floor.GetNode()->FindChild(Tag::Line);
    std::vector<double> levels;
    for (int k = 1; k <= line->FindChild(Tag::SplTotal)->FindChild(Tag::Total)->GetInt(0); ++k)
        levels.push_back(line->FindChildByInt(Tag::SplPoint, Tag::Slot, k)->FindChild(Tag::PressureDB)->GetDouble(0.0));
    ASSERT_GT(levels.size(), 10u);
    const std::string row = "<tr><td>Floor</td><td>" + Fixed(*std::min_element(levels.begin(), levels.end()), 1) + " dB</td><td>"
                            + Fixed(CDesignReport::Median(levels), 1) + " dB</td><td>"
                            + Fixed(*std::max_element(levels.begin(), levels.end()), 1) + " dB</td></tr>";
    EXPECT_NE(all.find(row), std::string::npos) << row;

    Venue()->FindChild(Tag::AreaList)->FindChildByInt(Tag::Area, Tag::Slot, 4)->GetChild(Tag::Visible)->SetInt(0);
    const std::string fewer = Build(CDisplayUnits());
    EXPECT_EQ(Count(fewer, "Rake"), 0);
    EXPECT_EQ(Count(fewer, "<svg class=\"plot\""), 2);
}

TEST_F(DesignReport, EveryLevelIsInTheViewShownAndSaysWhichItIs)
{
    // The floor's row of the audience table, from its samples' values in the view.
    const auto floorRow = [](const std::string& value) {
        CVenueAreaWrap floor;
        CVenueDataWrap(Venue()).GetArea(floor, 3);
        CXmlNode* line = floor.GetNode()->FindChild(Tag::Line);
        std::vector<double> levels;
        for (int k = 1; k <= line->FindChild(Tag::SplTotal)->FindChild(Tag::Total)->GetInt(0); ++k)
            levels.push_back(line->FindChildByInt(Tag::SplPoint, Tag::Slot, k)->FindChild(value)->GetDouble(0.0));
        return "<tr><td>Floor</td><td>" + Fixed(*std::min_element(levels.begin(), levels.end()), 1) + " dB</td><td>"
               + Fixed(CDesignReport::Median(levels), 1) + " dB</td><td>"
               + Fixed(*std::max_element(levels.begin(), levels.end()), 1) + " dB</td></tr>";
    };
    const auto picture = [](const std::string& html) {
        const size_t at = html.find("data:image/png");
        return html.substr(at, html.find('"', at) - at);
    };

    const std::string classic = Build(CDisplayUnits());
    EXPECT_NE(classic.find(floorRow(Tag::PressureDB)), std::string::npos);
    Command(Tag::View, 0, "BandA");
    const std::string bandA = Build(CDisplayUnits());
    EXPECT_NE(bandA.find(floorRow(Tag::BandA)), std::string::npos) << "the table";
    EXPECT_NE(picture(bandA), picture(classic)) << "the picture";
    EXPECT_EQ(Count(bandA, ">SPL (Band A), dB</text>"), 3) << "every plot's axis";
    for (const char* label : { "<h3>Audience surfaces, SPL (Band A)</h3>", "<h2>Venue, SPL (Band A)</h2>",
                               ">SPL (Band A) colour scale</text>", "<h2>SPL (Band A) along the audience surfaces</h2>",
                               "<th>Level where its aim line lands (Band A)</th>" })
        EXPECT_NE(bandA.find(label), std::string::npos) << label;
    EXPECT_EQ(Count(bandA, "Classic"), 0);
    EXPECT_EQ(Count(bandA, " dB</td>"), Count(classic, " dB</td>")) << "no level left out";
}

TEST_F(DesignReport, TheRiggingTableGivesEveryModeOneAngleConventionAndTheTrimHeights)
{
    Command(Tag::Model_DRXS1, 1);
    Command(Tag::Model_DRXR1, 3);
    Command(Tag::Switch1, 3);
    Command(Tag::Switch2, 5, "4");
    Command(Tag::Switch2, 7, "5");
    const CRiggingSummary rigging = CRiggingSummary::Read();
    const std::string html = Build(CDisplayUnits());

    // A cabinet's tilt is the angle its aim line leaves at, and the flybar's the array angle.
    const auto aimAngle = [](int position) {
        CXmlNode* aims = Venue()->FindChild(Tag::AimStuff);
        for (CXmlNode* aim = aims->FindChild(Tag::AimLine); ! aim->IsNull(); aim = aim->NextSibling(Tag::AimLine))
            if (aim->FindChild(Tag::Type)->GetString("") == Tag::Center && aim->FindChild(Tag::Cab)->GetInt(0) == position)
                return aim->FindChild(Tag::Line)->FindChild(Tag::LAngle)->GetDouble(0.0);
        return std::nan("");
    };
    const std::string rows[] = {
        "<tr><td>1</td><td>HB1 flybar</td><td>" + Fixed(rigging.arrayAngle, 1) + "°</td><td>–</td><td>–</td><td>–</td><td>–</td><td>–</td></tr>",
        "<tr><td>2</td><td>DRX-S1 subwoofer</td>",
        "<tr><td>3</td><td>DRX-R1 full-range module</td><td>" + Fixed(aimAngle(3), 1) + "°</td><td>Bi-Amp</td><td>Multi</td>",
        "<tr><td>4</td><td>DRX-R1 full-range module</td><td>" + Fixed(aimAngle(4), 1) + "°</td><td>Bi-Amp</td><td>Single</td>",
        "<tr><td>5</td><td>DRX-R1 full-range module</td><td>" + Fixed(aimAngle(5), 1) + "°</td><td>Bi-Amp</td><td>Long</td>",
        "<td>3 (DRX-R1 full-range module)</td>",
        "positive when the front points up",
    };
    for (const std::string& row : rows)
        EXPECT_NE(html.find(row), std::string::npos) << row;

    // The trims: the flybar hangs at the hang point, the array below it, and they move with it.
    ASSERT_TRUE(std::isfinite(rigging.topTrim));
    EXPECT_NEAR(rigging.topTrim, rigging.hangHeight, 24.0);
    EXPECT_LT(rigging.bottomTrim, rigging.topTrim - 24.0);
    EXPECT_NE(html.find("<td>Top trim height (top of the array above the floor)</td><td>"
                        + Fixed(rigging.topTrim / 12.0, 2) + " ft</td>"),
              std::string::npos);
    EXPECT_NE(html.find("<td>Bottom trim height (bottom of the array above the floor)</td><td>"
                        + Fixed(rigging.bottomTrim / 12.0, 2) + " ft</td>"),
              std::string::npos);
    EXPECT_NE(html.find("<td>Venue size (depth × height)</td><td>"
                        + Fixed((rigging.venueRight - rigging.venueLeft) / 12.0, 2) + " ft × "),
              std::string::npos);

    CVenueAreaWrap hang;
    CVenueDataWrap(Venue()).GetArea(hang, 1);
    const double raised = hang.GetLine()->y1 + 12.0;
    std::string text;
    DoubleToString(text, CJuceManager::GetInstance()->ToDisplayLength(Tag::sY, raised), 4);
    ASSERT_TRUE(CCommandManager::GetInstance()->DoVenueArea(1, Tag::sY, text));
    const CRiggingSummary higher = CRiggingSummary::Read();
    EXPECT_NEAR(higher.hangHeight - rigging.hangHeight, 12.0, 1e-6);
    EXPECT_NEAR(higher.topTrim - rigging.topTrim, 12.0, 1e-6);
    EXPECT_NEAR(higher.bottomTrim - rigging.bottomTrim, 12.0, 1e-6);
}

TEST_F(DesignReport, IsSelfContainedAddsTheCallersSectionsAndLeavesTheDocumentsAlone)
{
    const std::string before = Documents();
    const std::string html = Build(CDisplayUnits(), { { "Coverage suggestion", "<p>Pin 3, five modules.</p>" } });
    EXPECT_EQ(Documents(), before);

    // One embedded PNG of the requested size; no file, no address outside the page.
    const std::string prefix = "src=\"data:image/png;base64,";
    const size_t start = html.find(prefix);
    ASSERT_NE(start, std::string::npos);
    const size_t end = html.find('"', start + prefix.size());
    juce::MemoryOutputStream png;
    ASSERT_TRUE(juce::Base64::convertFromBase64(png, html.substr(start + prefix.size(), end - start - prefix.size())));
    const juce::Image picture = juce::ImageFileFormat::loadFrom(png.getData(), png.getDataSize());
    EXPECT_EQ(picture.getWidth(), 300);
    EXPECT_EQ(picture.getHeight(), 160);
    EXPECT_EQ(Count(html, "src=\""), 1);
    EXPECT_EQ(Count(html, "http://") + Count(html, "https://"), Count(html, "xmlns=\"http://www.w3.org/2000/svg\""))
        << "no address but the SVG namespace";
    EXPECT_NE(html.find("@page"), std::string::npos);

    const size_t section = html.find("<h2>Coverage suggestion</h2>\n<p>Pin 3, five modules.</p>");
    ASSERT_NE(section, std::string::npos);
    EXPECT_GT(section, html.find("<h2>SPL (Classic) along the audience surfaces</h2>"));
}

TEST_F(DesignReport, WritesAtomicallyAndSaysWhyItCannot)
{
    std::string error;
    const juce::File folder = temp.File("reports");
    ASSERT_TRUE(folder.createDirectory());
    EXPECT_TRUE(CDesignReport::Write("<p>one</p>", folder.getChildFile("report.html"), error));
    EXPECT_TRUE(CDesignReport::Write("<p>two</p>", folder.getChildFile("report.html"), error));
    EXPECT_EQ(folder.getChildFile("report.html").loadFileAsString(), "<p>two</p>");
    EXPECT_EQ(folder.findChildFiles(juce::File::findFiles, false).size(), 1) << "no temporary file left";

    const juce::File nowhere = temp.File("no/such/folder/report.html");
    EXPECT_FALSE(CDesignReport::Write("<p>x</p>", nowhere, error));
    EXPECT_NE(error.find(nowhere.getFullPathName().toStdString()), std::string::npos) << error;
}

TEST(DesignReportText, EscapesAndMedians)
{
    EXPECT_EQ(CDesignReport::Escape("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&#39;");
    EXPECT_EQ(CDesignReport::Median({ 3.0 }), 3.0);
    EXPECT_EQ(CDesignReport::Median({ 5.0, 1.0, 3.0 }), 3.0);
    EXPECT_EQ(CDesignReport::Median({ 4.0, 1.0, 3.0, 2.0 }), 2.5);
}

TEST_F(DesignReport, ThePositionsShowEveryLoudspeakersProcessing)
{
    Command(Tag::Model_DRXS1, 1);
    Command(Tag::Model_DRXR1, 2);
    Command(Tag::Delay, 1.5, "3");
    Command(Tag::Polarity, 1, "3");
    Command(Tag::Gain, -2.0, "3");
    Command(Tag::Delay, 12.25, "2");
    const std::string html = Build(CDisplayUnits());
    EXPECT_NE(html.find("<th>Delay</th><th>Polarity</th><th>Gain</th>"), std::string::npos);
    // The flybar radiates nothing; the subwoofer and the modules show their values or the defaults.
    EXPECT_NE(html.find("<td>–</td><td>–</td><td>–</td><td>–</td><td>–</td></tr>"), std::string::npos);
    EXPECT_NE(html.find("<td>12.25 ms</td><td>normal</td><td>0.0 dB</td></tr>"), std::string::npos);
    EXPECT_NE(html.find("<td>1.50 ms</td><td>inverted</td><td>-2.0 dB</td></tr>"), std::string::npos);
    EXPECT_NE(html.find("<td>0.00 ms</td><td>normal</td><td>0.0 dB</td></tr>"), std::string::npos);
}
