#include "report/CDesignReport.h"

#include "base/CPoint.h"
#include "array/CArrayManager.h"
#include "array/CArrayProdWrap.h"
#include "array/ModuleNumbers.h"
#include "engine/CBandModel.h"
#include "engine/CBandView.h"
#include "engine/CEngineManager.h"
#include "engine/CSPLManager.h"
#include "engine/CSceneManager.h"
#include "engine/CSplScaleSetting.h"
#include "render/CVenuePicture.h"
#include "report/CRiggingSummary.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/SafeFile.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <memory>
#include <sstream>
#include <utility>

namespace
{
// Values are read only where the element exists and holds one: the report adds nothing.
bool HoldsValue(CXmlNode* node)
{
    if (node->IsNull() || ! node->HasValue())
        return false;
    return node->GetValueType() != CXmlNode::kString || ! node->GetString("").empty();
}

double NumberOr(CXmlNode* node, double fallback)
{
    return HoldsValue(node) ? node->GetDouble(fallback) : fallback;
}

std::string TextOr(CXmlNode* node, const std::string& fallback)
{
    return HoldsValue(node) ? node->GetString(fallback) : fallback;
}


std::string Degrees(double value)
{
    return std::isfinite(value) ? CDesignReport::Fixed(value, 1) + "°" : "–";
}

std::string Decibels(double value)
{
    return std::isfinite(value) ? CDesignReport::Fixed(value, 1) + " dB" : "–";
}

// The children `tag` of `parent` by their Slot, in slot order.
std::vector<std::pair<int, CXmlNode*>> BySlot(CXmlNode* parent, const std::string& tag)
{
    std::vector<std::pair<int, CXmlNode*>> found;
    for (CXmlNode* child = parent->FindChild(tag); ! child->IsNull(); child = child->NextSibling(tag))
        found.emplace_back((int) NumberOr(child->FindChild(Tag::Slot), 0.0), child);
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return found;
}

CXmlNode* ProductAt(CXmlNode* cab)
{
    return CArrayManager::GetInstance()->FindProductByXGuid(TextOr(cab->FindChild(Tag::TargetXGuid), "")).GetNode();
}

// As the module panels name the switches' modes: a switch without a value of its own works
// as single amp and Multi.
std::string OperatingMode(int mode)
{
    return mode == 1 ? "Bi-Amp" : "S-Amp";
}

std::string HfShading(int mode)
{
    return mode == 2 ? "Single" : mode == 3 ? "Long" : "Multi";
}

// The levels the report gives: those of the view shown, and its name beside every one.
struct ViewLevels
{
    CBandView view;
    std::shared_ptr<const CBandModel> model;

    static ViewLevels Current()
    {
        ViewLevels levels;
        levels.view = CEngineManager::GetView();
        if (levels.view != CBandView::Classic())
            levels.model = std::make_shared<const CBandModel>(CBandModel::FromDesign());
        return levels;
    }

    bool IsClassic() const { return model == nullptr; }
    std::string Name() const { return view.ToString(); }
    // "SPL (Band A)"
    std::string Label() const { return "SPL (" + Name() + ")"; }

    double AtSample(CXmlNode* splPoint) const
    {
        return IsClassic() ? NumberOr(splPoint->FindChild(Tag::PressureDB), std::nan("")) : view.ValueAt(splPoint, *model);
    }

    // At a listening point (x, y) of the venue: the ear is above the surface, as at the samples.
    double AtPoint(double x, double y) const
    {
        const CBandModel::Levels levels = model->Evaluate(x, y + CSPLManager::kEarHeight);
        switch (view.GetKind())
        {
            case CBandView::Kind::BandZ: return levels.z;
            case CBandView::Kind::BandA: return levels.a;
            case CBandView::Kind::Band:
            {
                const int index = view.GetBand() - CBandModel::kFirstBand;
                return index >= 0 && index < CBandModel::kBandCount ? levels.bands[(size_t) index] : std::nan("");
            }
            case CBandView::Kind::Classic: break;
        }
        return std::nan("");
    }

    CRendererLine::SampleLevel SampleLevel() const
    {
        if (IsClassic())
            return {};
        const CBandView shown = view;
        const std::shared_ptr<const CBandModel> shared = model;
        return [shown, shared](CXmlNode* splPoint) { return shown.ValueAt(splPoint, *shared); };
    }
};

// Where the centre aim line of the cabinet at `position` lands, in venue coordinates.
bool AimHit(int position, double& x, double& y)
{
    CXmlNode* aims = CVenueManager::GetInstance()->GetVenue(1)->FindChild(Tag::AimStuff);
    for (CXmlNode* aim = aims->FindChild(Tag::AimLine); ! aim->IsNull(); aim = aim->NextSibling(Tag::AimLine))
    {
        if (TextOr(aim->FindChild(Tag::Type), "") != Tag::Center || (int) NumberOr(aim->FindChild(Tag::Cab), 0.0) != position)
            continue;
        CXmlNode* hit = aim->FindChild(Tag::Line)->FindChild(Tag::Point2);
        x = NumberOr(hit->FindChild(Tag::X), std::nan(""));
        y = NumberOr(hit->FindChild(Tag::Y), std::nan(""));
        return std::isfinite(x) && std::isfinite(y);
    }
    return false;
}

// One hung cabinet: its position number and its product element.
struct Position
{
    int slot;
    CXmlNode* product;
    std::string model;
};

std::vector<Position> HungPositions(CXmlNode* array)
{
    std::vector<Position> positions;
    for (const auto& [slot, cab] : BySlot(array->FindChild(Tag::CabList), Tag::Cab))
    {
        CXmlNode* product = ProductAt(cab);
        if (product->IsNull() || ! CArrayProdWrap(product).IsInUse())
            continue;
        positions.push_back({ slot, product, TextOr(product->FindChild(Tag::Model), Tag::None) });
    }
    return positions;
}

// An audience surface with its sampled levels along display x.
struct Surface
{
    std::string name;
    std::vector<std::pair<double, double>> samples; // (display x, dB), finite only
};

std::vector<Surface> AudienceSurfaces(const CDisplayUnits& units, const ViewLevels& shown)
{
    std::vector<Surface> surfaces;
    CXmlNode* areaList = CVenueManager::GetInstance()->GetVenue(1)->FindChild(Tag::AreaList);
    for (const auto& [slot, area] : BySlot(areaList, Tag::Area))
    {
        if (TextOr(area->FindChild(Tag::Type), Tag::Area) != Tag::Area || NumberOr(area->FindChild(Tag::Visible), 1.0) == 0.0)
            continue;
        Surface surface;
        surface.name = TextOr(area->FindChild(Tag::Name), "Area " + std::to_string(slot));
        CXmlNode* line = area->FindChild(Tag::Line);
        const int samples = (int) NumberOr(line->FindChild(Tag::SplTotal)->FindChild(Tag::Total), 0.0);
        for (int k = 1; k <= samples; ++k)
        {
            CXmlNode* sample = line->FindChildByInt(Tag::SplPoint, Tag::Slot, k);
            if (sample->IsNull())
                continue;
            const double level = shown.AtSample(sample);
            // The sample's place is its own point (kept in the node's point cache).
            const double x = units.VenueX(sample->GetPoint()->x);
            if (std::isfinite(level) && std::isfinite(x))
                surface.samples.emplace_back(x, level);
        }
        surfaces.push_back(std::move(surface));
    }
    return surfaces;
}

std::string DesignName(const std::string& given)
{
    if (! given.empty())
        return given;
    const std::string path = CArrayManager::GetInstance()->GetDocument()->GetFileName();
    const juce::File file = juce::File::createFileWithoutCheckingPath(path);
    // The record file the wizard writes at every start names no design.
    if (path.empty() || file.getFileName() == juce::String(CArrayManager::kOutputFileName))
        return "Untitled design";
    return file.getFileNameWithoutExtension().toStdString();
}

std::string PictureDataUri(const CDisplayUnits& units, const ViewLevels& shown, int width, int height)
{
    juce::Image picture(juce::Image::RGB, std::max(width, 1), std::max(height, 1), true);
    CVenuePicture::Options options;
    options.scene = CSceneManager::GetInstance()->GetScene(2);
    options.colours = [](double level) { return CSPLManager::GetInstance()->ColourOf(level); };
    options.level = shown.SampleLevel();
    if (SplScaleSetting::IsAutomatic())
        options.followLevels = [](double low, double high) { CSPLManager::GetInstance()->SetScale(low, high); };
    options.framing = CVenuePicture::Framing::Fit;
    options.annotate = true;
    options.units = units;
    options.textScale = (float) std::max(1.0, width / 1000.0);
    CVenuePicture::Draw(picture, options);

    juce::MemoryOutputStream png;
    juce::PNGImageFormat().writeImageToStream(picture, png);
    juce::MemoryOutputStream base64;
    juce::Base64::convertToBase64(base64, png.getData(), png.getDataSize());
    return "data:image/png;base64," + base64.toString().toStdString();
}

std::string Row(std::initializer_list<std::string> cells, bool header = false)
{
    std::string html = "<tr>";
    for (const std::string& cell : cells)
        html += (header ? "<th>" : "<td>") + cell + (header ? "</th>" : "</td>");
    return html + "</tr>\n";
}

// Grid values for a plot axis: 1, 2 or 5 times a power of ten, about `count` of them.
double AxisStep(double span, int count)
{
    return CVenuePicture::GridStep(count / std::max(span, 1e-9), 1.0);
}

std::string ColourHex(double level)
{
    const juce::Colour c(CSPLManager::GetInstance()->ColourOf(level));
    return "#" + c.toDisplayString(false).toLowerCase().toStdString();
}

std::string Plot(const Surface& surface, const CDisplayUnits& units, const ViewLevels& shown)
{
    constexpr double w = 640.0, h = 250.0, left = 56.0, right = 16.0, top = 14.0, bottom = 40.0;
    double x0 = std::numeric_limits<double>::infinity(), x1 = -x0, y0 = x0, y1 = -x0;
    for (const auto& [x, level] : surface.samples)
    {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, level);
        y1 = std::max(y1, level);
    }
    if (x1 - x0 < 1e-6)
    {
        x0 -= 1.0;
        x1 += 1.0;
    }
    y0 = std::floor(y0 - 1.0);
    y1 = std::ceil(y1 + 1.0);
    const auto px = [&](double x) { return left + (x - x0) / (x1 - x0) * (w - left - right); };
    const auto py = [&](double level) { return top + (y1 - level) / (y1 - y0) * (h - top - bottom); };

    std::ostringstream svg;
    svg << "<svg class=\"plot\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " << w << " " << h
        << "\" role=\"img\" aria-label=\"" << shown.Label() << " along " << CDesignReport::Escape(surface.name) << "\">\n";
    svg << "<rect x=\"" << left << "\" y=\"" << top << "\" width=\"" << w - left - right << "\" height=\""
        << h - top - bottom << "\" fill=\"#fafafa\" stroke=\"#999\"/>\n";
    const double xStep = AxisStep(x1 - x0, 8);
    for (double k = std::ceil(x0 / xStep); k * xStep <= x1 + 1e-9; k += 1.0)
    {
        const double x = px(k * xStep);
        svg << "<line x1=\"" << x << "\" y1=\"" << top << "\" x2=\"" << x << "\" y2=\"" << h - bottom
            << "\" stroke=\"#ddd\"/><text x=\"" << x << "\" y=\"" << h - bottom + 14
            << "\" text-anchor=\"middle\">" << CDesignReport::Fixed(k * xStep, xStep < 1.0 ? 1 : 0) << "</text>\n";
    }
    const double yStep = AxisStep(y1 - y0, 5);
    for (double k = std::ceil(y0 / yStep); k * yStep <= y1 + 1e-9; k += 1.0)
    {
        const double y = py(k * yStep);
        svg << "<line x1=\"" << left << "\" y1=\"" << y << "\" x2=\"" << w - right << "\" y2=\"" << y
            << "\" stroke=\"#ddd\"/><text x=\"" << left - 6 << "\" y=\"" << y + 4 << "\" text-anchor=\"end\">"
            << CDesignReport::Fixed(k * yStep, yStep < 1.0 ? 1 : 0) << "</text>\n";
    }
    svg << "<text x=\"" << (left + w - right) / 2 << "\" y=\"" << h - 6
        << "\" text-anchor=\"middle\">Distance from the stage front (" << units.LengthSymbol() << ")</text>\n";
    svg << "<text transform=\"translate(14 " << (top + h - bottom) / 2
        << ") rotate(-90)\" text-anchor=\"middle\">" << shown.Label() << ", dB</text>\n";

    svg << "<polyline fill=\"none\" stroke=\"#234\" stroke-width=\"1.5\" points=\"";
    for (const auto& [x, level] : surface.samples)
        svg << px(x) << "," << py(level) << " ";
    svg << "\"/>\n";
    for (const auto& [x, level] : surface.samples)
        svg << "<circle cx=\"" << px(x) << "\" cy=\"" << py(level) << "\" r=\"3\" fill=\"" << ColourHex(level)
            << "\" stroke=\"#234\" stroke-width=\"0.5\"/>\n";
    svg << "</svg>\n";
    return svg.str();
}

// The colour scale as a horizontal bar with its two ends.
std::string ScaleLegend(const ViewLevels& shown)
{
    const CSPLManager* spl = CSPLManager::GetInstance();
    const double bottom = spl->GetScaleBottom();
    const double top = spl->GetScaleTop();
    std::ostringstream svg;
    svg << "<svg class=\"legend\" xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 420 40\">\n"
        << "<defs><linearGradient id=\"scale\" x1=\"0\" x2=\"1\" y1=\"0\" y2=\"0\">\n";
    for (int i = 0; i <= 12; ++i)
        svg << "<stop offset=\"" << i / 12.0 << "\" stop-color=\"" << ColourHex(bottom + (top - bottom) * (i / 12.0 - 1e-9))
            << "\"/>\n";
    svg << "</linearGradient></defs>\n"
        << "<rect x=\"60\" y=\"6\" width=\"300\" height=\"16\" fill=\"url(#scale)\" stroke=\"#666\"/>\n"
        << "<text x=\"54\" y=\"19\" text-anchor=\"end\">" << Decibels(bottom) << "</text>\n"
        << "<text x=\"366\" y=\"19\">" << Decibels(top) << "</text>\n"
        << "<text x=\"210\" y=\"36\" text-anchor=\"middle\">" << shown.Label() << " colour scale</text>\n</svg>\n";
    return svg.str();
}

const char* const kAngleConvention =
    "Angles in degrees: the array angle and every tilt are positive when the front points up "
    "(above the horizontal), negative when it points down, as the aim lines leave the array. Modules are numbered from the top, 1 being the "
    "first cabinet under the flybar.";

const char* const kStyle = R"(
body { font-family: "Liberation Sans", Arial, Helvetica, sans-serif; color: #111; margin: 24px auto;
       max-width: 980px; font-size: 11pt; }
h1 { font-size: 20pt; margin: 0 0 2px 0; }
h2 { font-size: 14pt; border-bottom: 2px solid #530006; padding-bottom: 2px; margin-top: 18px; }
h3 { font-size: 11.5pt; margin: 10px 0 4px 0; }
.date { color: #555; margin-bottom: 10px; }
table { border-collapse: collapse; margin: 4px 0 10px 0; }
th, td { border: 1px solid #aaa; padding: 3px 8px; text-align: left; }
td.n { text-align: right; }
th { background: #eee; }
tr.best td { font-weight: bold; background: #e2f0e2; }
img.venue { width: 100%; height: auto; border: 1px solid #666; }
svg { width: 100%; height: auto; font-family: inherit; font-size: 11px; }
svg.legend { max-width: 420px; }
.figure { page-break-inside: avoid; break-inside: avoid; }
/* The paper is the browser's choice; 12 mm margins and a body narrower than both A4
   (210 mm) and Letter (216 mm) leave every table and picture whole on either. */
@page { margin: 12mm; }
@media print {
  body { margin: 0; max-width: none; font-size: 10pt; }
  h2 { page-break-after: avoid; break-after: avoid; }
  table, .figure { page-break-inside: avoid; break-inside: avoid; }
}
)";
} // namespace

//==============================================================================
std::string CDesignReport::Fixed(double value, int decimals, const std::string& unit)
{
    if (! std::isfinite(value))
        return "–";
    char buffer[64];
    std::snprintf(buffer, sizeof(buffer), "%.*f", decimals, value);
    std::string text = buffer;
    // "-0.0" reads as a sign error on paper.
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-')
        text.erase(0, 1);
    return text + unit;
}

std::string CDesignReport::Escape(const std::string& text)
{
    std::string out;
    for (char c : text)
    {
        switch (c)
        {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += c;
        }
    }
    return out;
}

double CDesignReport::Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 == 1 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

std::string CDesignReport::Build(const Options& options)
{
    const CDisplayUnits& units = options.units;
    const std::string length = units.LengthSymbol();
    const std::string name = DesignName(options.title);
    const std::string date = options.date.empty()
                                 ? juce::Time::getCurrentTime().formatted("%Y-%m-%d %H:%M").toStdString()
                                 : options.date;

    CXmlNode* array = CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind);
    const std::vector<Position> positions = HungPositions(array);

    std::ostringstream html;
    html << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>"
         << Escape(name) << " – DRX Wizard design report</title>\n<style>" << kStyle << "</style>\n</head>\n<body>\n";
    html << "<h1>" << Escape(name) << "</h1>\n<div class=\"date\">DRX Wizard design report, " << Escape(date)
         << "</div>\n";

    const ViewLevels shown = ViewLevels::Current();
    html << "<p class=\"view\">Every level in this report is the " << Escape(shown.Label())
         << ", in dB, as the wizard's view shows it.</p>\n";

    // Rigging.
    const CRiggingSummary rigging = CRiggingSummary::Read();
    const auto lengthText = [&](double inches) { return CDesignReport::Fixed(units.Length(inches), 2) + " " + length; };
    html << "<h2>Rigging</h2>\n<table>\n";
    html << Row({ "Array weight", CDesignReport::Fixed(units.Weight(rigging.weight), 1) + " " + units.WeightSymbol() });
    html << Row({ "Centre of gravity (x, y from the flybar)", lengthText(rigging.cgX) + ", " + lengthText(rigging.cgY) });
    html << Row({ "Pick pin", rigging.pin > 0 ? std::to_string(rigging.pin) : "–" });
    html << Row({ "Array angle", Degrees(rigging.arrayAngle) });
    html << Row({ "Hang point (x from the stage front, height above the floor)",
                  CDesignReport::Fixed(units.VenueX(rigging.hangX), 2) + " " + length + ", " + lengthText(rigging.hangHeight) });
    html << Row({ "Top trim height (top of the array above the floor)", lengthText(rigging.topTrim) });
    html << Row({ "Bottom trim height (bottom of the array above the floor)", lengthText(rigging.bottomTrim) });
    html << Row({ "Venue size (depth × height)", lengthText(rigging.venueRight - rigging.venueLeft) + " × "
                                                     + lengthText(rigging.venueTop - rigging.venueBottom) });
    html << "</table>\n<p class=\"note\">" << kAngleConvention << "</p>\n";
    html << "<h3>Array angle at every pick pin</h3>\n<table>\n";
    std::string pinHeader = "<tr><th>Pin</th>";
    std::string pinAngles = "<tr><th>Array angle</th>";
    for (const auto& [pin, angle] : rigging.pinAngles)
    {
        pinHeader += "<th>" + std::to_string(pin) + "</th>";
        pinAngles += "<td class=\"n\">" + Degrees(angle) + "</td>";
    }
    html << pinHeader << "</tr>\n" << pinAngles << "</tr>\n</table>\n";
    html << "<h3>Flybar and modules, top to bottom</h3>\n<table>\n"
         << Row({ "Position", "Model", "Tilt", "Operating mode", "HF shading", "Delay", "Polarity", "Gain" }, true);
    for (const Position& p : positions)
    {
        const bool fullRange = p.model == Tag::Model_DRXR1;
        const bool loudspeaker = fullRange || p.model == Tag::Model_DRXS1;
        const int mode1 = (int) NumberOr(p.product->FindChild(Tag::Switch1)->FindChild(Tag::Value), 0.0);
        const int mode2 = (int) NumberOr(p.product->FindChild(Tag::Switch2)->FindChild(Tag::Value), 1.0);
        CXmlNode* processing = p.product->FindChild(Tag::Processing);
        const double delay = NumberOr(processing->FindChild(Tag::Delay), 0.0);
        const bool inverted = NumberOr(processing->FindChild(Tag::Polarity), 0.0) == 1.0;
        const double gain = NumberOr(processing->FindChild(Tag::Gain), 0.0);
        // The documents keep the cabinet's turn the other way round; shown with the sign of
        // the array angle and the aim lines.
        const double tilt = -NumberOr(p.product->FindChild(Tag::CGInfo)->FindChild(Tag::Angle), std::nan(""));
        html << Row({ std::to_string(p.slot), ModelName(p.model), Degrees(tilt),
                      fullRange ? OperatingMode(mode1) : "–", fullRange ? HfShading(mode2) : "–",
                      loudspeaker ? CDesignReport::Fixed(delay, 2) + " ms" : "–", loudspeaker ? (inverted ? "inverted" : "normal") : "–",
                      loudspeaker ? CDesignReport::Fixed(gain, 1) + " dB" : "–" });
    }
    html << "</table>\n";

    // Coverage.
    const std::string levelHeader = shown.IsClassic() ? "Level (" + shown.Name() + ")"
                                                      : "Level where its aim line lands (" + shown.Name() + ")";
    html << "<h2>Coverage</h2>\n<h3>Full-range modules</h3>\n<table>\n"
         << Row({ "Module", "Listening distance (" + length + ")", Escape(levelHeader) }, true);
    for (const Position& p : positions)
    {
        if (p.model != Tag::Model_DRXR1)
            continue;
        const double distance = NumberOr(p.product->FindChild(Tag::AimDist)->FindChild(Tag::Value), std::nan(""));
        double level = std::nan("");
        double x = 0.0, y = 0.0;
        if (shown.IsClassic())
            level = NumberOr(p.product->FindChild(Tag::Power), std::nan(""));
        else if (AimHit(p.slot, x, y))
            level = shown.AtPoint(x, y);
        html << Row({ std::to_string(p.slot) + " (" + ModelName(p.model) + ")",
                      CDesignReport::Fixed(units.Length(distance), 2) + " " + length, Decibels(level) });
    }
    html << "</table>\n";
    const std::vector<Surface> surfaces = AudienceSurfaces(units, shown);
    html << "<h3>Audience surfaces, " << Escape(shown.Label()) << "</h3>\n<table>\n"
         << Row({ "Surface", "Minimum", "Median", "Maximum" }, true);
    for (const Surface& s : surfaces)
    {
        std::vector<double> levels;
        for (const auto& sample : s.samples)
            levels.push_back(sample.second);
        if (levels.empty())
        {
            html << Row({ Escape(s.name), "–", "–", "–" });
            continue;
        }
        html << Row({ Escape(s.name), Decibels(*std::min_element(levels.begin(), levels.end())),
                      Decibels(Median(levels)), Decibels(*std::max_element(levels.begin(), levels.end())) });
    }
    html << "</table>\n";

    // The venue.
    html << "<h2>Venue, " << Escape(shown.Label()) << "</h2>\n<div class=\"figure\"><img class=\"venue\" alt=\"The venue "
            "with the array, its aim lines and the predicted "
         << Escape(shown.Label()) << "\" src=\"" << PictureDataUri(units, shown, options.pictureWidth, options.pictureHeight)
         << "\">\n" << ScaleLegend(shown) << "</div>\n";

    html << "<h2>" << Escape(shown.Label()) << " along the audience surfaces</h2>\n";
    for (const Surface& s : surfaces)
    {
        if (s.samples.empty())
            continue;
        html << "<div class=\"figure\"><h3>" << Escape(s.name) << "</h3>\n" << Plot(s, units, shown) << "</div>\n";
    }

    for (const Section& section : options.sections)
        html << "<h2>" << Escape(section.title) << "</h2>\n" << section.html << "\n";

    html << "</body>\n</html>\n";
    return html.str();
}

bool CDesignReport::Write(const std::string& html, const juce::File& target, std::string& error)
{
    // The same safe path as the saves: never through a link, never over a FIFO or device.
    std::string reason;
    if (SafeFile::WriteFileAtomically(target.getFullPathName().toStdString(), html, reason))
        return true;
    error = "Error: Could not write the design report " + target.getFullPathName().toStdString() + " (" + reason + ")";
    return false;
}
