// The band prediction's formulas on hand-built sources: the air, the A-weighting, the band
// and line table, the crossover, levels on axis, coherent addition and polarity, the
// directivity from the polar table, screening, the near limit, the processing, and what a
// virtual microphone reports, against an evaluation written out term by term.

#include "engine/CAirModel.h"
#include "engine/CBandKernel.h"
#include "engine/CBandModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <vector>

namespace
{
constexpr double kOneMetre = 39.370078740157474; // inches
const CAirModel kStandardAir(20.0, 50.0);
using Role = CBandModel::Role;

size_t Index(int n)
{
    return (size_t) (n - CBandModel::kFirstBand);
}

// The full-range module's polar table, as the SPL manager holds it.
const std::vector<std::pair<double, double>> kPolar = {
    { 0.0, 123.5 },  { 7.5, 120.9 },  { 15.0, 117.2 }, { 22.5, 115.0 }, { 30.0, 113.3 },
    { 37.5, 112.2 }, { 45.0, 111.5 }, { 52.5, 110.3 }, { 60.0, 111.6 }, { 67.5, 109.1 },
    { 75.0, 108.0 }, { 82.5, 107.2 }, { 90.0, 106.3 }, { 97.5, 105.8 },
};

CBandModel::Source FullRange(double x, double y, double angle, int shading = 1, int position = 2)
{
    CBandModel::Source s;
    s.position = position;
    s.x = x;
    s.y = y;
    s.angle = angle;
    s.bandLow = -13;
    s.bandHigh = 12;
    s.onAxisDB = 123.5;
    s.shading = shading;
    s.role = Role::High;
    s.crossoverHz = 100.0;
    s.polar = kPolar;
    return s;
}

CBandModel::Source Subwoofer(double x, double y, int position)
{
    CBandModel::Source s;
    s.position = position;
    s.x = x;
    s.y = y;
    s.bandLow = -13;
    s.bandHigh = -6;
    s.onAxisDB = 123.5;
    s.role = Role::Low;
    s.crossoverHz = 100.0;
    return s;
}

// An unfiltered omnidirectional source radiating only band n at `onAxisDB`.
CBandModel::Source PointSource(double x, double y, int n, double onAxisDB)
{
    CBandModel::Source s;
    s.x = x;
    s.y = y;
    s.bandLow = n;
    s.bandHigh = n;
    s.onAxisDB = onAxisDB;
    return s;
}

// The formulas written out once more, term by term, for comparison: the band levels, L_Z,
// L_A and each source's own L_Z at (x, y).
struct ByHand
{
    std::vector<double> bands;
    double z = 0.0, a = 0.0;
    std::vector<double> own;
};

ByHand Evaluate(const CAirModel& air, const std::vector<CBandModel::Source>& sources,
                const std::vector<CBandModel::Screen>& screens, double x, double y)
{
    const double c = 331.3 * std::sqrt(1.0 + air.GetTemperature() / 273.15);
    std::vector<std::complex<double>> sums(26 * 8);
    ByHand result;
    for (const CBandModel::Source& s : sources)
    {
        auto filter = [&s](double f) {
            const std::complex<double> j(0.0, f / s.crossoverHz);
            const std::complex<double> d = j * j + std::sqrt(2.0) * j + 1.0;
            if (s.role == Role::High)
                return std::pow(j * j / d, 2);
            return s.role == Role::Low ? std::pow(1.0 / d, 2) : std::complex<double>(1.0);
        };
        double norm = 0.0;
        for (int n = s.bandLow; n <= s.bandHigh; ++n)
            for (int k = 0; k < 8; ++k)
                norm += std::norm(filter(1000.0 * std::pow(10.0, n / 10.0) * std::pow(10.0, (2 * k - 7) / 160.0))) / 8.0;
        const double base = s.onAxisDB - 10.0 * std::log10(norm);

        const double dx = x - s.x, dy = y - s.y;
        const double r = std::max(1.0, std::hypot(dx, dy) * 0.0254);
        const double offAxis = s.polar.empty() ? 0.0
                                               : CBandModel::PolarLevel(s.polar, std::atan2(dy, dx) * 180.0 / M_PI + s.angle)
                                                     - s.polar.front().second;
        double z = -1.0;
        for (const CBandModel::Screen& w : screens)
        {
            // Crossing where s + t d = w1 + u (w2 - w1), 0 < t < 1, 0 <= u <= 1.
            const double ex = w.x2 - w.x1, ey = w.y2 - w.y1;
            const double det = dx * ey - dy * ex;
            if (det == 0.0)
                continue;
            const double t = ((w.x1 - s.x) * ey - (w.y1 - s.y) * ex) / det;
            const double u = ((w.x1 - s.x) * dy - (w.y1 - s.y) * dx) / det;
            if (t <= 0.0 || t >= 1.0 || u < 0.0 || u > 1.0)
                continue;
            const double around1 = std::hypot(w.x1 - s.x, w.y1 - s.y) + std::hypot(x - w.x1, y - w.y1);
            const double around2 = std::hypot(w.x2 - s.x, w.y2 - s.y) + std::hypot(x - w.x2, y - w.y2);
            z = std::max(z, (std::min(around1, around2) - std::hypot(dx, dy)) * 0.0254);
        }
        const double sign = s.processing.inverted ? -1.0 : 1.0;

        double energy = 0.0;
        for (int n = s.bandLow; n <= s.bandHigh; ++n)
        {
            double shading = 0.0;
            if (s.role == Role::High && n >= 3)
                shading = s.shading == 2 ? -3.1 : s.shading == 3 ? 0.5 : 0.0;
            for (int k = 0; k < 8; ++k)
            {
                const double f = 1000.0 * std::pow(10.0, n / 10.0) * std::pow(10.0, (2 * k - 7) / 160.0);
                const double w = std::min(1.0, std::max(0.0, std::log10(f / 200.0)));
                const double screening = z < 0.0 ? 0.0 : std::min(20.0, 10.0 * std::log10(3.0 + 20.0 * z * f / c));
                const double amplitude = std::pow(10.0, (base + shading + s.processing.gainDB - screening) / 20.0)
                                         * std::pow(10.0, w * offAxis / 20.0) / r
                                         * std::pow(10.0, -air.Absorption(f) * r / 20.0);
                const std::complex<double> term = amplitude * filter(f) * sign
                                                  * std::exp(std::complex<double>(0.0, -2.0 * M_PI * f * (r / c + s.processing.delayMs / 1000.0)));
                sums[Index(n) * 8 + (size_t) k] += term;
                energy += std::norm(term) / 8.0;
            }
        }
        result.own.push_back(10.0 * std::log10(energy));
    }
    double z = 0.0, a = 0.0;
    for (int i = 0; i < 26; ++i)
    {
        double energy = 0.0;
        for (int k = 0; k < 8; ++k)
            energy += std::norm(sums[(size_t) i * 8 + (size_t) k]) / 8.0;
        const double level = 10.0 * std::log10(energy);
        result.bands.push_back(level);
        if (energy > 0.0)
        {
            z += energy;
            a += std::pow(10.0, (level + CBandModel::AWeighting(1000.0 * std::pow(10.0, (i - 13) / 10.0))) / 10.0);
        }
    }
    result.z = 10.0 * std::log10(z);
    result.a = 10.0 * std::log10(a);
    return result;
}
}

TEST(BandAir, SpeedOfSoundAndAbsorption)
{
    EXPECT_DOUBLE_EQ(CAirModel(0.0, 50.0).SpeedOfSound(), 331.3);
    EXPECT_NEAR(kStandardAir.SpeedOfSound(), 343.21, 0.005);

    // The reference values of the standard at 20 degrees and 50 %.
    EXPECT_NEAR(kStandardAir.Absorption(1000.0), 0.00466, 0.000005);
    EXPECT_NEAR(kStandardAir.Absorption(10000.0), 0.159, 0.0005);
    // Dry air takes more of 4 kHz: the relaxation frequencies move with the water vapour.
    EXPECT_GT(CAirModel(20.0, 10.0).Absorption(4000.0), kStandardAir.Absorption(4000.0) * 3.0);
}

TEST(BandTable, CentresLabelsAndAWeighting)
{
    EXPECT_DOUBLE_EQ(CBandModel::BandCentre(0), 1000.0);
    EXPECT_NEAR(CBandModel::BandCentre(-13), 50.1187, 0.0001);
    EXPECT_NEAR(CBandModel::BandCentre(12), 15848.93, 0.01);

    const char* labels[] = { "50", "63", "80", "100", "125", "160", "200", "250", "315", "400", "500", "630", "800",
                             "1k", "1.25k", "1.6k", "2k", "2.5k", "3.15k", "4k", "5k", "6.3k", "8k", "10k", "12.5k",
                             "16k" };
    for (int n = CBandModel::kFirstBand; n <= CBandModel::kLastBand; ++n)
    {
        EXPECT_EQ(CBandModel::BandLabel(n), labels[Index(n)]);
        int found = 99;
        EXPECT_TRUE(CBandModel::BandOfLabel(labels[Index(n)], found));
        EXPECT_EQ(found, n);
    }
    int unchanged = 99;
    for (const char* wrong : { "", "20k", "1000", "1K", "4 k" })
        EXPECT_FALSE(CBandModel::BandOfLabel(wrong, unchanged)) << wrong;
    EXPECT_EQ(unchanged, 99);

    EXPECT_NEAR(CBandModel::AWeighting(1000.0), 0.0, 0.01);
    EXPECT_NEAR(CBandModel::AWeighting(100.0), -19.1, 0.05);
}

TEST(BandTable, EveryLineSitsInTheMiddleOfItsEighthOfTheBand)
{
    for (int n = CBandModel::kFirstBand; n <= CBandModel::kLastBand; ++n)
    {
        const double low = CBandModel::BandCentre(n) * std::pow(10.0, -1.0 / 20.0);
        const double high = CBandModel::BandCentre(n) * std::pow(10.0, 1.0 / 20.0);
        for (int k = 0; k < CBandModel::kLinesPerBand; ++k)
        {
            const double f = CBandModel::LineFrequency(n, k);
            EXPECT_GT(f, low) << n << " " << k;
            EXPECT_LT(f, high) << n << " " << k;
            // Its eighth in log frequency runs from k / 8 to (k + 1) / 8 of the band.
            EXPECT_NEAR(std::log10(f / low) / std::log10(high / low), (k + 0.5) / 8.0, 1e-12);
        }
    }
}

TEST(BandCrossover, ThePairSumsToMagnitudeOneAndEachIsSixDecibelsDownAtTheCrossover)
{
    for (double f : { 20.0, 50.0, 70.7, 100.0, 141.0, 400.0, 16000.0 })
    {
        const std::complex<double> high = CBandModel::Crossover(Role::High, f, 100.0);
        const std::complex<double> low = CBandModel::Crossover(Role::Low, f, 100.0);
        EXPECT_NEAR(std::abs(high + low), 1.0, 1e-12) << f;
    }
    EXPECT_NEAR(20.0 * std::log10(std::abs(CBandModel::Crossover(Role::High, 100.0, 100.0))), -6.0206, 1e-4);
    EXPECT_NEAR(20.0 * std::log10(std::abs(CBandModel::Crossover(Role::Low, 100.0, 100.0))), -6.0206, 1e-4);
    // Fourth order: 24 dB per octave an octave and more away.
    EXPECT_NEAR(20.0 * std::log10(std::abs(CBandModel::Crossover(Role::Low, 400.0, 100.0))), -48.0, 0.3);
    EXPECT_EQ(CBandModel::Crossover(Role::None, 400.0, 100.0), std::complex<double>(1.0));
}

TEST(BandModel, OneModuleOnAxisAtOneMetreAddsUpToItsOnAxisLevelLessTheAir)
{
    for (const CBandModel::Source& source : { FullRange(0.0, 0.0, 0.0), Subwoofer(0.0, 0.0, 2) })
    {
        const CBandModel model(kStandardAir, { source });
        const CBandModel::Levels levels = model.Evaluate(kOneMetre, 0.0);

        // Without the air the bands' energies add up to OnAxisDB exactly: take the air out
        // line by line.
        const double base = CBandModel::BaseLevel(source);
        double energy = 0.0;
        for (int n = source.bandLow; n <= source.bandHigh; ++n)
            for (int k = 0; k < 8; ++k)
            {
                const double f = CBandModel::LineFrequency(n, k);
                energy += std::norm(CBandModel::Crossover(source.role, f, 100.0)) / 8.0 * std::pow(10.0, base / 10.0);
            }
        EXPECT_NEAR(10.0 * std::log10(energy), 123.5, 1e-9);
        // The air takes a few hundredths of a dB over the first metre.
        EXPECT_GT(123.5 - levels.z, 0.0001);
        EXPECT_LT(123.5 - levels.z, 0.05);
        const ByHand hand = Evaluate(kStandardAir, { source }, {}, kOneMetre, 0.0);
        EXPECT_NEAR(levels.z, hand.z, 1e-9);
    }
    const CBandModel sub(kStandardAir, { Subwoofer(0.0, 0.0, 2) });
    EXPECT_TRUE(sub.IsBandPresent((int) Index(-6)));
    EXPECT_FALSE(sub.IsBandPresent((int) Index(-5)));
    EXPECT_EQ(sub.Evaluate(kOneMetre, 0.0).bands[Index(-5)], -std::numeric_limits<double>::infinity());
}

TEST(BandModel, BehindAModuleTheTableCountsAtHighFrequenciesAndNothingAtLowOnes)
{
    const CBandModel model(kStandardAir, { FullRange(0.0, 0.0, 0.0) });
    const double d = 10.0 * kOneMetre;
    const CBandModel::Levels front = model.Evaluate(d, 0.0);
    const CBandModel::Levels behind = model.Evaluate(-d, 0.0);
    // The table's last entry (97.5 degrees) holds behind the box: 105.8 - 123.5.
    EXPECT_NEAR(behind.bands[Index(9)] - front.bands[Index(9)], -17.7, 1e-9);
    EXPECT_NEAR(behind.bands[Index(-9)] - front.bands[Index(-9)], 0.0, 1e-9);
    // Half way in log frequency between 200 Hz and 2 kHz, half the table; the lines of
    // 630 Hz straddle that point, so the band is near, not at, half.
    EXPECT_NEAR(behind.bands[Index(-2)] - front.bands[Index(-2)], -17.7 / 2.0, 0.1);
    // Angles wrap: 350 degrees off axis is 10 degrees off it.
    EXPECT_DOUBLE_EQ(CBandModel::PolarLevel(kPolar, 350.0), CBandModel::PolarLevel(kPolar, -10.0));
    EXPECT_NEAR(CBandModel::PolarLevel(kPolar, 10.0), 120.9 + (117.2 - 120.9) / 3.0, 1e-12);
}

// The field map's lookup by halving answers as the scan does, on tables out of order, with
// repeated angles (the first counts), angles that are not numbers, and at, between and
// beyond the entries.
TEST(BandModel, SortedPolarLookupAnswersAsTheScan)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<std::vector<std::pair<double, double>>> tables = {
        {},
        { { 30.0, 110.0 } },
        { { 90.0, 100.0 }, { 0.0, 120.0 }, { 30.0, 117.0 }, { 30.0, 99.0 }, { nan, 50.0 }, { 180.0, 95.0 } },
        { { 45.0, 1.0 }, { 15.0, 2.0 }, { 15.0, 3.0 }, { 60.0, 4.0 }, { -10.0, 5.0 } },
    };
    const double angles[] = { 0.0, 10.0, 15.0, 29.9, 30.0, 31.0, -45.0, 60.0, 179.0, 180.0, -180.0, 350.0, 725.0, nan };
    for (size_t t = 0; t < tables.size(); ++t)
    {
        const auto sorted = CBandModel::SortedPolar(tables[t]);
        for (double angle : angles)
        {
            const double scanned = CBandModel::PolarLevel(tables[t], angle);
            EXPECT_EQ(CBandModel::SortedPolarLevel(sorted, angle), scanned) << "table " << t << ", " << angle;
        }
    }
}

TEST(BandModel, NearerThanOneMetreReadsAsAtOneMetre)
{
    const CBandModel model(kStandardAir, { FullRange(0.0, 0.0, 0.0), Subwoofer(0.0, -20.0, 3) });
    const CBandModel::ProbeResult at20cm = model.Probe(0.2 * kOneMetre, 0.0);
    const CBandModel::ProbeResult atBox = model.Probe(0.0, 0.0);
    ASSERT_EQ(at20cm.sources.size(), 2u);
    EXPECT_EQ(at20cm.sources[0].distanceM, 1.0);
    EXPECT_EQ(atBox.sources[0].distanceM, 1.0);
    // On axis: as at 1 m on axis.
    const CBandModel alone(kStandardAir, { FullRange(0.0, 0.0, 0.0) });
    EXPECT_NEAR(alone.Evaluate(0.2 * kOneMetre, 0.0).z, alone.Evaluate(kOneMetre, 0.0).z, 1e-9);
    EXPECT_LT(atBox.z, 130.0);
}

TEST(BandModel, TwoCoincidentModulesAreSixDecibelsUpAndCancelWhenOneIsInverted)
{
    const CBandModel one(kStandardAir, { FullRange(10.0, 200.0, 7.5), Subwoofer(0.0, 230.0, 3) });
    const CBandModel two(kStandardAir, { FullRange(10.0, 200.0, 7.5), FullRange(10.0, 200.0, 7.5),
                                         Subwoofer(0.0, 230.0, 3), Subwoofer(0.0, 230.0, 4) });
    CBandModel::Source inverted = FullRange(10.0, 200.0, 7.5);
    inverted.processing.inverted = true;
    const CBandModel cancelling(kStandardAir, { FullRange(10.0, 200.0, 7.5), inverted });
    for (const auto& point : { std::make_pair(600.0, 48.0), std::make_pair(-150.0, 400.0) })
    {
        const CBandModel::Levels single = one.Evaluate(point.first, point.second);
        const CBandModel::Levels doubled = two.Evaluate(point.first, point.second);
        for (int n = CBandModel::kFirstBand; n <= CBandModel::kLastBand; ++n)
            EXPECT_NEAR(doubled.bands[Index(n)] - single.bands[Index(n)], 20.0 * std::log10(2.0), 1e-9) << n;
        EXPECT_NEAR(doubled.z - single.z, 6.0206, 0.0001);
        EXPECT_NEAR(doubled.a - single.a, 6.0206, 0.0001);
        EXPECT_EQ(cancelling.Evaluate(point.first, point.second).z, -std::numeric_limits<double>::infinity());
    }
}

TEST(BandModel, AWallBetweenTheSourceAndThePointScreensItUpToTheCap)
{
    const std::vector<CBandModel::Source> sources = { PointSource(0.0, 0.0, 9, 100.0) };
    // A tall wall half way: the detour is metres, 8 kHz screened at the 20 dB cap.
    const CBandModel::Screen wall { 200.0, -400.0, 200.0, 400.0 };
    const CBandModel open(kStandardAir, sources);
    const CBandModel walled(kStandardAir, sources, { wall });
    EXPECT_NEAR(walled.Evaluate(400.0, 0.0).bands[Index(9)] - open.Evaluate(400.0, 0.0).bands[Index(9)], -20.0, 1e-9);
    // In plain view beside the wall, and beyond its end, nothing changes.
    EXPECT_EQ(walled.Evaluate(150.0, 0.0).z, open.Evaluate(150.0, 0.0).z);
    EXPECT_EQ(walled.Evaluate(400.0, 900.0).z, open.Evaluate(400.0, 900.0).z);
    // A low edge just in the way screens 63 Hz by about 5 dB, not 20.
    const CBandModel ledge(kStandardAir, { PointSource(0.0, 0.0, -12, 100.0) }, { { 200.0, -400.0, 200.0, 1.0 } });
    const double step = ledge.Evaluate(400.0, 0.0).z - CBandModel(kStandardAir, { PointSource(0.0, 0.0, -12, 100.0) }).Evaluate(400.0, 0.0).z;
    EXPECT_LT(step, -4.7);
    EXPECT_GT(step, -5.0);
    EXPECT_NEAR(walled.ScreeningDB(-1.0, 8000.0), 0.0, 0.0);
    EXPECT_NEAR(walled.ScreeningDB(0.0, 8000.0), 10.0 * std::log10(3.0), 1e-12);
}

TEST(BandModel, HighFrequencyShadingMovesTheBandsFrom2kUpOfAFullRangeModuleOnly)
{
    const CBandModel plain(kStandardAir, { FullRange(0.0, 0.0, 0.0), Subwoofer(0.0, -30.0, 3) });
    const CBandModel::Levels reference = plain.Evaluate(300.0, -40.0);

    struct Case { int mode; double change; };
    for (const Case c : { Case { 2, -3.1 }, Case { 3, 0.5 }, Case { 4, 0.0 }, Case { 0, 0.0 } })
    {
        SCOPED_TRACE(c.mode);
        CBandModel::Source sub = Subwoofer(0.0, -30.0, 3);
        sub.shading = c.mode;
        const CBandModel shaded(kStandardAir, { FullRange(0.0, 0.0, 0.0, c.mode), sub });
        const CBandModel::Levels levels = shaded.Evaluate(300.0, -40.0);
        // The base level is set before the shading: the unshaded bands stay where they were.
        for (int n = -13; n <= 12; ++n)
            EXPECT_NEAR(levels.bands[Index(n)] - reference.bands[Index(n)], n >= 3 ? c.change : 0.0, 1e-9) << n;
    }
}

TEST(BandModel, AgreesWithTheFormulasWrittenOutTermByTerm)
{
    // Delays, an inverted subwoofer, gains, HF shading, tilts, screens and a warm, dry air.
    const CAirModel air(31.0, 22.0);
    std::vector<CBandModel::Source> sources = { Subwoofer(-5.0, 250.0, 2), FullRange(3.0, 230.0, 4.0, 2, 3),
                                                FullRange(1.0, 215.0, 11.0, 3, 4), PointSource(40.0, -30.0, -2, 110.0) };
    sources[0].processing = { 7.25, true, -3.0 };
    sources[1].processing = { 0.0, false, 4.5 };
    sources[2].processing = { 1.5, false, 0.0 };
    const std::vector<CBandModel::Screen> screens = { { 300.0, 120.0, 900.0, 120.0 }, { 500.0, 0.0, 500.0, 90.0 } };
    const CBandModel model(air, sources, screens);
    const double c = air.SpeedOfSound();

    const std::pair<double, double> points[] = { { 620.0, 60.0 }, { 700.0, 200.0 }, { -300.0, 100.0 }, { 10.0, 240.0 },
                                                 { 1200.0, 48.0 }, { 450.0, -200.0 } };
    for (const auto& q : points)
    {
        SCOPED_TRACE(testing::Message() << q.first << ", " << q.second);
        const ByHand hand = Evaluate(air, sources, screens, q.first, q.second);
        const CBandModel::ProbeResult probe = model.Probe(q.first, q.second);
        ASSERT_EQ(probe.bands.size(), 26u);
        for (size_t i = 0; i < probe.bands.size(); ++i)
        {
            EXPECT_EQ(probe.bands[i].hz, CBandModel::BandCentre((int) i - 13));
            EXPECT_EQ(probe.bands[i].label, CBandModel::BandLabel((int) i - 13));
            EXPECT_NEAR(probe.bands[i].db, hand.bands[i], 1e-9) << probe.bands[i].label;
        }
        EXPECT_NEAR(probe.z, hand.z, 1e-9);
        EXPECT_NEAR(probe.a, hand.a, 1e-9);
        ASSERT_EQ(probe.sources.size(), 4u);
        for (size_t m = 0; m < 4; ++m)
        {
            const double r = std::max(1.0, std::hypot(q.first - sources[m].x, q.second - sources[m].y) * 0.0254);
            EXPECT_EQ(probe.sources[m].position, sources[m].position);
            EXPECT_NEAR(probe.sources[m].distanceM, r, 1e-12);
            // The arrival time includes the source's delay.
            EXPECT_NEAR(probe.sources[m].delayMs, r / c * 1000.0 + sources[m].processing.delayMs, 1e-9);
            EXPECT_NEAR(probe.sources[m].z, hand.own[m], 1e-9);
        }
    }
}

TEST(BandModel, OtherProcessingIsTriedOnOnePointWithoutANewModel)
{
    std::vector<CBandModel::Source> sources = { Subwoofer(-5.0, 250.0, 2), FullRange(3.0, 230.0, 4.0, 1, 3) };
    const CBandModel model(kStandardAir, sources);
    const CBandModel::PointField field = model.FieldAt(800.0, 48.0);
    for (const CBandModel::Processing& sub : { CBandModel::Processing { 3.2, true, 0.0 }, CBandModel::Processing { 0.0, false, -6.0 } })
    {
        sources[0].processing = sub;
        const CBandModel::Levels tried = model.Combine(field, { sub, CBandModel::Processing {} });
        const CBandModel::Levels rebuilt = CBandModel(kStandardAir, sources).Evaluate(800.0, 48.0);
        for (size_t i = 0; i < tried.bands.size(); ++i)
            EXPECT_NEAR(tried.bands[i], rebuilt.bands[i], 1e-9) << i;
    }
}

TEST(BandModel, WithoutSourcesNothingArrives)
{
    const CBandModel model(kStandardAir, {});
    const CBandModel::ProbeResult probe = model.Probe(100.0, 100.0);
    EXPECT_TRUE(probe.bands.empty());
    EXPECT_TRUE(probe.sources.empty());
    EXPECT_EQ(probe.z, -std::numeric_limits<double>::infinity());
    EXPECT_EQ(probe.a, -std::numeric_limits<double>::infinity());
}

TEST(BandKernel, AgreesWithThePlainSumsEverywhere)
{
    CBandModel::Source omni = PointSource(40.0, -30.0, -2, 110.0);
    omni.bandLow = -13;
    omni.bandHigh = 12;
    std::vector<CBandModel::Source> sources = { Subwoofer(0.0, 250.0, 2), FullRange(8.0, 235.0, 3.0, 2, 3),
                                                FullRange(6.0, 222.0, 10.5, 3, 4), omni };
    sources[0].processing = { 12.5, true, -2.0 };
    sources[2].processing = { 99.0, false, 10.0 };
    const CBandModel model(kStandardAir, sources, { { 300.0, 120.0, 900.0, 120.0 }, { -200.0, 0.0, 2000.0, 0.0 } });
    const CBandKernel all(model);
    // At a source, on an axis, behind, near, under the floor, screened, and 5 km away.
    const std::pair<double, double> points[] = { { 0.0, 250.0 }, { 8.0, 235.0 }, { 600.0, 235.0 - 600.0 * std::tan(3.0 * M_PI / 180.0) },
                                                 { -300.0, 100.0 }, { 50.0, 240.0 }, { 1200.0, 48.0 }, { 600.0, 60.0 },
                                                 { 700.0, -40.0 }, { 5000.0 * kOneMetre, 0.0 }, { 40.0, -30.0 } };
    for (const auto& q : points)
    {
        SCOPED_TRACE(testing::Message() << q.first << ", " << q.second);
        const CBandModel::Levels plain = model.Evaluate(q.first, q.second);
        const CBandKernel::BandValues energies = all.Energies(q.first, q.second);
        for (size_t i = 0; i < energies.size(); ++i)
            EXPECT_NEAR(10.0 * std::log10(energies[i]), plain.bands[i], 1e-9) << i;
        double z = 0.0, a = 0.0;
        all.Broadband(q.first, q.second, z, a);
        EXPECT_NEAR(z, plain.z, 1e-9);
        EXPECT_NEAR(a, plain.a, 1e-9);

        const CBandKernel one(model, 19);
        const CBandKernel::BandValues single = one.Energies(q.first, q.second);
        EXPECT_EQ(single[19], energies[19]);
        EXPECT_EQ(single[18], 0.0);
    }

    // Levels along a row, weighted: 1 kHz alone.
    CBandKernel::BandValues weights {};
    weights[13] = 1.0;
    const double xs[] = { -100.0, 0.0, 333.3, 900.0 };
    double out[4];
    all.Levels(xs, 4, 60.0, weights, out);
    for (int k = 0; k < 4; ++k)
        EXPECT_NEAR(out[k], model.Evaluate(xs[k], 60.0).bands[13], 1e-9);

    // A row through a module's centre, its directions taken eight at a time: points on
    // every side of it and on it, all bands weighted alike.
    weights.fill(1.0);
    const double through[] = { -900.0, -1.0, 0.0, 7.999, 8.0, 8.001, 9.0, 100.0, 2000.0, -3.5, 64.0 };
    double levels[11];
    all.Levels(through, 11, 235.0, weights, levels);
    for (int k = 0; k < 11; ++k)
        EXPECT_NEAR(levels[k], model.Evaluate(through[k], 235.0).z, 1e-9) << through[k];
}
