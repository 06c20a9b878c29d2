#include "engine/CBandModel.h"

#include "base/CLine.h"
#include "base/CPoint.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "engine/CSPLManager.h"
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

double CBandModel::BandLevelAtOneMetre(const Source& source, int n)
{
    const int bands = source.bandHigh - source.bandLow + 1;
    double level = source.onAxisDB - 10.0 * std::log10((double) bands);
    if (n >= kFirstShadedBand)
        level += CSPLManager::ShadingDB(source.shading);
    return level;
}

//==============================================================================
CBandModel::CBandModel(const CAirModel& airModel, std::vector<Source> radiating)
    : air(airModel), speedOfSound(airModel.SpeedOfSound())
{
    for (int n = kFirstBand; n <= kLastBand; ++n)
    {
        const double f = BandCentre(n);
        centre[IndexOf(n)] = f;
        waveNumber[IndexOf(n)] = 2.0 * M_PI * f / speedOfSound;
        absorption[IndexOf(n)] = air.Absorption(f);
        aWeight[IndexOf(n)] = AWeighting(f);
    }

    for (Source& source : radiating)
    {
        source.bandLow = std::max(source.bandLow, kFirstBand);
        source.bandHigh = std::min(source.bandHigh, kLastBand);
        if (source.bandLow > source.bandHigh)
            continue;
        BandLevels pressure {};
        for (int n = source.bandLow; n <= source.bandHigh; ++n)
        {
            pressure[IndexOf(n)] = std::pow(10.0, BandLevelAtOneMetre(source, n) / 20.0);
            present[IndexOf(n)] = true;
        }
        amplitude.push_back(pressure);
        sources.push_back(source);
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
        source.height = acoustics->FindChild(Tag::Height)->GetDouble(0.0);
        source.bandLow = acoustics->FindChild(Tag::BandLow)->GetInt(kFirstBand);
        source.bandHigh = acoustics->FindChild(Tag::BandHigh)->GetInt(kLastBand);
        source.onAxisDB = acoustics->FindChild(Tag::OnAxisDB)->GetDouble(0.0);
        source.shading = product.GetNode()->FindChild(Tag::Switch2)->FindChild(Tag::Value)->GetInt(1);
        found.push_back(source);
    }
    return CBandModel(CAirModel(airWrap.GetTemperature(), airWrap.GetHumidity()), std::move(found));
}

//==============================================================================
void CBandModel::Geometry(const Source& s, double x, double y, double& r, double& sinTheta)
{
    const double dx = x - s.x;
    const double dy = y - s.y;
    r = std::max(std::sqrt(dx * dx + dy * dy) * kMetresPerInch, kMinDistance);
    const double theta = std::atan2(dy, dx) * 180.0 / M_PI + s.angle;
    sinTheta = std::sin(theta * M_PI / 180.0);
}

double CBandModel::TermAmplitude(size_t m, int n, double r, double sinTheta) const
{
    const size_t i = IndexOf(n);
    const double u = M_PI * centre[i] * (sources[m].height * kMetresPerInch) * sinTheta / speedOfSound;
    const double directivity = u == 0.0 ? 1.0 : std::sin(u) / u;
    return amplitude[m][i] * directivity / r * std::pow(10.0, -absorption[i] * r / 20.0);
}

CBandModel::Levels CBandModel::Evaluate(double x, double y) const
{
    std::array<std::complex<double>, kBandCount> sums {};
    for (size_t m = 0; m < sources.size(); ++m)
    {
        double r = 0.0, sinTheta = 0.0;
        Geometry(sources[m], x, y, r, sinTheta);
        for (int n = sources[m].bandLow; n <= sources[m].bandHigh; ++n)
        {
            const size_t i = IndexOf(n);
            sums[i] += TermAmplitude(m, n, r, sinTheta) * std::exp(std::complex<double>(0.0, -waveNumber[i] * r));
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
        levels.bands[i] = 20.0 * std::log10(std::abs(sums[i]));
        z += std::pow(10.0, levels.bands[i] / 10.0);
        weighted += std::pow(10.0, (levels.bands[i] + aWeight[i]) / 10.0);
    }
    levels.z = 10.0 * std::log10(z);
    levels.a = 10.0 * std::log10(weighted);
    return levels;
}

CBandModel::ProbeResult CBandModel::Probe(double x, double y) const
{
    const Levels levels = Evaluate(x, y);
    ProbeResult result { x, y, {}, levels.z, levels.a, {} };
    for (int n = kFirstBand; n <= kLastBand; ++n)
        if (present[IndexOf(n)])
            result.bands.push_back({ BandCentre(n), BandLabel(n), levels.bands[IndexOf(n)] });

    for (size_t m = 0; m < sources.size(); ++m)
    {
        double r = 0.0, sinTheta = 0.0;
        Geometry(sources[m], x, y, r, sinTheta);
        double energy = 0.0;
        for (int n = sources[m].bandLow; n <= sources[m].bandHigh; ++n)
        {
            const double a = TermAmplitude(m, n, r, sinTheta);
            energy += a * a;
        }
        result.sources.push_back({ sources[m].position, r, r / speedOfSound * 1000.0, 10.0 * std::log10(energy) });
    }
    return result;
}
