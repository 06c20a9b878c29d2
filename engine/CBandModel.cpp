#include "engine/CBandModel.h"

#include "base/CLine.h"
#include "base/CPoint.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "engine/CSPLManager.h"
#include "engine/HfShading.h"
#include "venue/CVenueAirWrap.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <stdexcept>
#include <utility>

namespace
{
const std::string kLabels[CBandModel::kBandCount] = {
    "50", "63", "80", "100", "125", "160", "200", "250", "315", "400", "500", "630", "800",
    "1k", "1.25k", "1.6k", "2k", "2.5k", "3.15k", "4k", "5k", "6.3k", "8k", "10k", "12.5k", "16k",
};

constexpr double kMinusInfinity = -std::numeric_limits<double>::infinity();

size_t IndexOf(int n)
{
    return (size_t) (n - CBandModel::kFirstBand);
}

// The start of the first hang-point line in slot order, the origin without one.
void HangPosition(CXmlNode* venue, double& x, double& y)
{
    x = 0.0;
    y = 0.0;
    CXmlNode* areas = venue->FindChild(Tag::AreaList);
    const int total = areas->FindChild(Tag::Total)->GetInt(0);
    for (int slot = 1; slot <= total; ++slot)
    {
        CXmlNode* area = areas->FindChildByInt(Tag::Area, Tag::Slot, slot);
        if (! area->IsNull() && area->FindChild(Tag::Type)->GetString(Tag::None) == Tag::HangPoint)
        {
            const CLine* line = area->GetChild(Tag::Line)->GetLine();
            x = line->x1;
            y = line->y1;
            return;
        }
    }
}
}

//==============================================================================
double CBandModel::BandCentre(int n)
{
    return 1000.0 * std::pow(10.0, n / 10.0);
}

double CBandModel::LineFrequency(int n, int k)
{
    return BandCentre(n) * std::pow(10.0, (2 * k - 7) / 160.0);
}

double CBandModel::DirectivityWeight(double hz)
{
    return std::min(1.0, std::max(0.0, std::log10(hz / kOmniHz) / std::log10(kDirectiveHz / kOmniHz)));
}

std::complex<double> CBandModel::Crossover(Role role, double hz, double crossoverHz)
{
    if (role == Role::None)
        return 1.0;
    const std::complex<double> s(0.0, hz / crossoverHz);
    const std::complex<double> butterworth = 1.0 / (s * s + M_SQRT2 * s + 1.0);
    const std::complex<double> half = role == Role::High ? s * s * butterworth : butterworth;
    return half * half;
}

const std::string& CBandModel::BandLabel(int n)
{
    return kLabels[IndexOf(std::clamp(n, kFirstBand, kLastBand))];
}

bool CBandModel::BandOfLabel(const std::string& label, int& n)
{
    for (int band = kFirstBand; band <= kLastBand; ++band)
    {
        if (kLabels[IndexOf(band)] == label)
        {
            n = band;
            return true;
        }
    }
    return false;
}

double CBandModel::AWeighting(double f)
{
    const double f2 = f * f;
    const double ra = 12194.0 * 12194.0 * f2 * f2
                      / ((f2 + 20.6 * 20.6) * std::sqrt((f2 + 107.7 * 107.7) * (f2 + 737.9 * 737.9))
                         * (f2 + 12194.0 * 12194.0));
    return 20.0 * std::log10(ra) + 2.00;
}

double CBandModel::BaseLevel(const Source& source)
{
    double energy = 0.0;
    for (int n = source.bandLow; n <= source.bandHigh; ++n)
        for (int k = 0; k < kLinesPerBand; ++k)
            energy += std::norm(Crossover(source.role, LineFrequency(n, k), source.crossoverHz)) / kLinesPerBand;
    return source.onAxisDB - 10.0 * std::log10(energy);
}

namespace
{
double WrappedOffAxis(double degrees)
{
    double wrapped = degrees;
    if (wrapped > 180.0 || wrapped <= -180.0)
    {
        wrapped = std::fmod(wrapped, 360.0);
        if (wrapped > 180.0)
            wrapped -= 360.0;
        else if (wrapped <= -180.0)
            wrapped += 360.0;
    }
    return std::fabs(wrapped);
}

double Interpolated(const std::pair<double, double>* lower, const std::pair<double, double>* upper, double a)
{
    if (lower == nullptr)
        return upper != nullptr ? upper->second : 0.0;
    if (upper == nullptr || upper == lower)
        return lower->second;
    return lower->second + (a - lower->first) / (upper->first - lower->first) * (upper->second - lower->second);
}

} // namespace

double CBandModel::PolarLevel(const std::vector<std::pair<double, double>>& polar, double degrees)
{
    const double a = WrappedOffAxis(degrees);
    const std::pair<double, double>* lower = nullptr;
    const std::pair<double, double>* upper = nullptr;
    for (const auto& entry : polar)
    {
        if (entry.first <= a && (lower == nullptr || entry.first > lower->first))
            lower = &entry;
        if (entry.first >= a && (upper == nullptr || entry.first < upper->first))
            upper = &entry;
    }
    return Interpolated(lower, upper, a);
}

std::vector<std::pair<double, double>> CBandModel::SortedPolar(const std::vector<std::pair<double, double>>& polar)
{
    std::vector<std::pair<double, double>> sorted;
    for (const auto& entry : polar)
        if (! std::isnan(entry.first))
            sorted.push_back(entry);
    std::stable_sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    sorted.erase(std::unique(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first == b.first; }),
                 sorted.end());
    return sorted;
}
double CBandModel::SortedPolarLevel(const std::vector<std::pair<double, double>>& sorted, double degrees)
{
    const double a = WrappedOffAxis(degrees);
    if (std::isnan(a))
        return 0.0;
    // The first entry above a; the one before it is the last at or below a.
    const auto above = std::upper_bound(sorted.begin(), sorted.end(), a,
                                        [](double value, const auto& entry) { return value < entry.first; });
    const std::pair<double, double>* lower = above != sorted.begin() ? &*(above - 1) : nullptr;
    const std::pair<double, double>* upper = lower != nullptr && lower->first == a ? lower
                                             : above != sorted.end()               ? &*above
                                                                                   : nullptr;
    return Interpolated(lower, upper, a);
}

//==============================================================================
CBandModel::CBandModel(const CAirModel& airModel, std::vector<Source> radiating, std::vector<Screen> solid)
    : air(airModel), screens(std::move(solid)), speedOfSound(airModel.SpeedOfSound())
{
    for (int n = kFirstBand; n <= kLastBand; ++n)
    {
        aWeight[IndexOf(n)] = AWeighting(BandCentre(n));
        for (int k = 0; k < kLinesPerBand; ++k)
        {
            const size_t line = IndexOf(n) * kLinesPerBand + (size_t) k;
            const double f = LineFrequency(n, k);
            lineHz[line] = f;
            waveNumber[line] = 2.0 * M_PI * f / speedOfSound;
            absorption[line] = air.Absorption(f);
            weight[line] = DirectivityWeight(f);
        }
    }

    for (Source& source : radiating)
    {
        source.bandLow = std::max(source.bandLow, kFirstBand);
        source.bandHigh = std::min(source.bandHigh, kLastBand);
        if (source.bandLow > source.bandHigh)
            continue;
        const double base = BaseLevel(source);
        std::array<std::complex<double>, kLineCount> lines {};
        for (int n = source.bandLow; n <= source.bandHigh; ++n)
        {
            const double shading = source.role == Role::High && n >= kFirstShadedBand ? HfShadingDB(source.shading) : 0.0;
            const double magnitude = std::pow(10.0, (base + shading) / 20.0);
            for (int k = 0; k < kLinesPerBand; ++k)
            {
                const size_t line = IndexOf(n) * kLinesPerBand + (size_t) k;
                lines[line] = magnitude * Crossover(source.role, lineHz[line], source.crossoverHz);
            }
            present[IndexOf(n)] = true;
        }
        pressure.push_back(lines);
        axisLevel.push_back(PolarLevel(source.polar, 0.0));
        sortedPolar.push_back(SortedPolar(source.polar));
        sources.push_back(std::move(source));
    }
}

namespace
{
CBandModel::Role RoleOf(const std::string& text)
{
    if (text == Tag::High)
        return CBandModel::Role::High;
    if (text == Tag::Low)
        return CBandModel::Role::Low;
    return CBandModel::Role::None;
}

std::vector<std::pair<double, double>> PolarTable(const std::string& model)
{
    std::vector<std::pair<double, double>> table;
    CXmlNode* list = CSPLManager::GetInstance()->GetPolar(model).GetNode()->FindChild(Tag::SplayList);
    for (CXmlNode* splay = list->FindChild(Tag::Splay); ! splay->IsNull(); splay = list->FindChild(Tag::Splay, splay))
        table.emplace_back(splay->FindChild(Tag::Angle)->GetDouble(0.0), splay->FindChild(Tag::PressureDB)->GetDouble(100.0));
    return table;
}

std::vector<CBandModel::Screen> SurfacesOf(CXmlNode* venue)
{
    std::vector<CBandModel::Screen> surfaces;
    CXmlNode* areas = venue->FindChild(Tag::AreaList);
    const int total = areas->FindChild(Tag::Total)->GetInt(0);
    for (int slot = 1; slot <= total; ++slot)
    {
        CXmlNode* area = areas->FindChildByInt(Tag::Area, Tag::Slot, slot);
        CXmlNode* line = area->FindChild(Tag::Line);
        if (area->IsNull() || line->IsNull() || area->FindChild(Tag::Type)->GetString(Tag::None) == Tag::HangPoint)
            continue;
        const CLine* l = line->GetLine();
        surfaces.push_back({ l->x1, l->y1, l->x2, l->y2 });
    }
    return surfaces;
}
}

CBandModel CBandModel::FromDesign()
{
    CXmlNode* venue = CVenueManager::GetInstance()->GetVenue(1);
    const CVenueAirWrap airWrap(venue);
    const std::string refusal = airWrap.Refusal();
    if (! refusal.empty())
        throw std::runtime_error(refusal);

    double hangX = 0.0, hangY = 0.0;
    HangPosition(venue, hangX, hangY);

    std::vector<Source> found;
    CArrayLineWrap array(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
    const int positions = array.GetTotal();
    for (int i = 1; i <= positions; ++i)
    {
        CArrayProdWrap product = array.GetCab(i).GetProduct();
        CXmlNode* acoustics = product.GetCatalogueProduct()->FindChild(Tag::Acoustics);
        if (acoustics->IsNull())
            continue;

        CXmlNode* cgInfo = product.GetNode()->FindChild(Tag::CGInfo);
        const CPoint* centre = cgInfo->FindChild(Tag::Center)->GetPoint();
        Source source;
        source.position = i;
        source.x = centre->x + hangX;
        source.y = centre->y + hangY;
        source.angle = cgInfo->FindChild(Tag::Angle)->GetDouble(0.0);
        source.bandLow = acoustics->FindChild(Tag::BandLow)->GetInt(kFirstBand);
        source.bandHigh = acoustics->FindChild(Tag::BandHigh)->GetInt(kLastBand);
        source.onAxisDB = acoustics->FindChild(Tag::OnAxisDB)->GetDouble(0.0);
        source.role = RoleOf(acoustics->FindChild(Tag::Role)->GetString(Tag::None));
        source.crossoverHz = acoustics->FindChild(Tag::Crossover)->GetDouble(100.0);
        source.polar = PolarTable(product.GetModel());
        source.shading = product.GetNode()->FindChild(Tag::Switch2)->FindChild(Tag::Value)->GetInt(1);
        CXmlNode* processing = product.GetNode()->FindChild(Tag::Processing);
        source.processing.delayMs = processing->FindChild(Tag::Delay)->GetDouble(0.0);
        source.processing.inverted = processing->FindChild(Tag::Polarity)->GetInt(0) == 1;
        source.processing.gainDB = processing->FindChild(Tag::Gain)->GetDouble(0.0);
        found.push_back(std::move(source));
    }
    return CBandModel(CAirModel(airWrap.GetTemperature(), airWrap.GetHumidity()), std::move(found), SurfacesOf(venue));
}

//==============================================================================
namespace
{
// The path difference around the nearer end of the screen when the segment from the
// source (ax, ay) to the point (qx, qy) crosses it properly, inches; -1 when it does not.
double Detour(const CBandModel::Screen& s, double ax, double ay, double qx, double qy)
{
    const double dx = qx - ax, dy = qy - ay;
    // Both ends on one side of the path: no crossing (most screens, most points).
    const double side1 = dx * (s.y1 - ay) - dy * (s.x1 - ax);
    const double side2 = dx * (s.y2 - ay) - dy * (s.x2 - ax);
    if ((side1 > 0.0 && side2 > 0.0) || (side1 < 0.0 && side2 < 0.0))
        return -1.0;
    const double ex = s.x2 - s.x1, ey = s.y2 - s.y1;
    const double denominator = dx * ey - dy * ex;
    if (denominator == 0.0)
        return -1.0;
    const double wx = s.x1 - ax, wy = s.y1 - ay;
    const double t = (wx * ey - wy * ex) / denominator;  // along source to point
    const double u = (wx * dy - wy * dx) / denominator;  // along the screen
    if (! (t > 0.0 && t < 1.0 && u >= 0.0 && u <= 1.0))
        return -1.0;
    auto length = [](double x, double y) { return std::sqrt(x * x + y * y); };
    const double direct = length(dx, dy);
    const double viaFirst = length(s.x1 - ax, s.y1 - ay) + length(qx - s.x1, qy - s.y1);
    const double viaSecond = length(s.x2 - ax, s.y2 - ay) + length(qx - s.x2, qy - s.y2);
    return std::min(viaFirst, viaSecond) - direct;
}
}

CBandModel::View CBandModel::ViewOf(size_t m, double x, double y) const
{
    return ViewWith(m, x, y, Direction(m, x, y));
}

void CBandModel::ViewsAlong(size_t m, const double* xs, int count, double y, const double* directions, View* out) const
{
    for (int k = 0; k < count; ++k)
        out[k] = ViewWith(m, xs[k], y, directions != nullptr ? directions[k] : Direction(m, xs[k], y));
}

double CBandModel::Direction(size_t m, double x, double y) const
{
    // An omnidirectional source needs no direction.
    const Source& s = sources[m];
    return s.polar.empty() ? 0.0 : std::atan2(y - s.y, x - s.x);
}

CBandModel::View CBandModel::ViewWith(size_t m, double x, double y, double direction) const
{
    const Source& s = sources[m];
    const double dx = x - s.x;
    const double dy = y - s.y;
    View view;
    view.r = std::max(std::sqrt(dx * dx + dy * dy) * kMetresPerInch, kNearLimit);
    if (! s.polar.empty())
    {
        const double theta = direction * 180.0 / M_PI + s.angle;
        view.offAxisDB = SortedPolarLevel(sortedPolar[m], theta) - axisLevel[m];
    }
    for (const Screen& screen : screens)
        view.detour = std::max(view.detour, Detour(screen, s.x, s.y, x, y) * kMetresPerInch);
    return view;
}

double CBandModel::ScreeningDB(double detour, double hz) const
{
    if (detour < 0.0)
        return 0.0;
    return std::min(kMaxScreeningDB, 10.0 * std::log10(3.0 + 20.0 * detour * hz / speedOfSound));
}

CBandModel::PointField CBandModel::FieldAt(double x, double y) const
{
    PointField field;
    field.x = x;
    field.y = y;
    field.lines.resize(sources.size());
    for (size_t m = 0; m < sources.size(); ++m)
    {
        const View view = ViewOf(m, x, y);
        field.views.push_back(view);
        for (int n = sources[m].bandLow; n <= sources[m].bandHigh; ++n)
        {
            for (int k = 0; k < kLinesPerBand; ++k)
            {
                const size_t line = IndexOf(n) * kLinesPerBand + (size_t) k;
                const double f = lineHz[line];
                const double directivity = std::pow(10.0, weight[line] * view.offAxisDB / 20.0);
                const double amplitude = std::pow(10.0, -ScreeningDB(view.detour, f) / 20.0) * directivity / view.r
                                         * std::pow(10.0, -absorption[line] * view.r / 20.0);
                field.lines[m][line] = pressure[m][line] * amplitude
                                       * std::exp(std::complex<double>(0.0, -waveNumber[line] * view.r));
            }
        }
    }
    return field;
}

std::vector<CBandModel::Processing> CBandModel::DesignProcessing() const
{
    std::vector<Processing> processing;
    for (const Source& source : sources)
        processing.push_back(source.processing);
    return processing;
}

CBandModel::Levels CBandModel::Combine(const PointField& field, const std::vector<Processing>& processing) const
{
    std::array<std::complex<double>, kLineCount> sums {};
    for (size_t m = 0; m < sources.size() && m < processing.size(); ++m)
    {
        const Processing& p = processing[m];
        const double gain = std::pow(10.0, p.gainDB / 20.0) * (p.inverted ? -1.0 : 1.0);
        for (int n = sources[m].bandLow; n <= sources[m].bandHigh; ++n)
        {
            for (int k = 0; k < kLinesPerBand; ++k)
            {
                const size_t line = IndexOf(n) * kLinesPerBand + (size_t) k;
                sums[line] += field.lines[m][line] * gain
                              * std::exp(std::complex<double>(0.0, -2.0 * M_PI * lineHz[line] * p.delayMs / 1000.0));
            }
        }
    }

    Levels levels;
    double z = 0.0;
    double weighted = 0.0;
    for (size_t i = 0; i < (size_t) kBandCount; ++i)
    {
        if (! present[i])
        {
            levels.bands[i] = kMinusInfinity;
            continue;
        }
        double energy = 0.0;
        for (size_t k = 0; k < (size_t) kLinesPerBand; ++k)
            energy += std::norm(sums[i * kLinesPerBand + k]);
        levels.bands[i] = 10.0 * std::log10(energy / kLinesPerBand);
        z += std::pow(10.0, levels.bands[i] / 10.0);
        weighted += std::pow(10.0, (levels.bands[i] + aWeight[i]) / 10.0);
    }
    levels.z = 10.0 * std::log10(z);
    levels.a = 10.0 * std::log10(weighted);
    return levels;
}

CBandModel::Levels CBandModel::Evaluate(double x, double y) const
{
    return Combine(FieldAt(x, y), DesignProcessing());
}

CBandModel::ProbeResult CBandModel::Probe(double x, double y) const
{
    const PointField field = FieldAt(x, y);
    const Levels levels = Combine(field, DesignProcessing());
    ProbeResult result { x, y, {}, levels.z, levels.a, {} };
    for (int n = kFirstBand; n <= kLastBand; ++n)
        if (present[IndexOf(n)])
            result.bands.push_back({ BandCentre(n), BandLabel(n), levels.bands[IndexOf(n)] });

    for (size_t m = 0; m < sources.size(); ++m)
    {
        const Processing& p = sources[m].processing;
        double energy = 0.0;
        for (const std::complex<double>& line : field.lines[m])
            energy += std::norm(line);
        const double z = 10.0 * std::log10(energy / kLinesPerBand) + p.gainDB;
        const double r = field.views[m].r;
        result.sources.push_back({ sources[m].position, r, r / speedOfSound * 1000.0 + p.delayMs, z });
    }
    return result;
}
