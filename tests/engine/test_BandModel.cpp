// The band prediction's formulas on hand-built sources: the air, the A-weighting, the band
// table, levels on axis, coherent addition, the directivity's nulls, interference between
// two sources and what a virtual microphone reports.

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
constexpr double kFullRangeHeight = 0.82 * 12.454;
const CAirModel kStandardAir(20.0, 50.0);

size_t Index(int n)
{
    return (size_t) (n - CBandModel::kFirstBand);
}

CBandModel::Source FullRange(double x, double y, double angle, int shading = 1, int position = 2)
{
    CBandModel::Source s;
    s.position = position;
    s.x = x;
    s.y = y;
    s.angle = angle;
    s.height = kFullRangeHeight;
    s.bandLow = -11;
    s.bandHigh = 12;
    s.onAxisDB = 123.5;
    s.shading = shading;
    return s;
}

CBandModel::Source Subwoofer(double x, double y, int position)
{
    CBandModel::Source s;
    s.position = position;
    s.x = x;
    s.y = y;
    s.height = 0.82 * 12.37;
    s.bandLow = -13;
    s.bandHigh = -9;
    s.onAxisDB = 123.5;
    return s;
}

// A point source radiating only band n at `onAxisDB`: no directivity, no share.
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

TEST(BandModel, OneModuleOnAxisAtOneMetreGivesItsOnAxisLevelLessTheAir)
{
    const CBandModel model(kStandardAir, { FullRange(0.0, 0.0, 0.0) });
    const CBandModel::Levels levels = model.Evaluate(kOneMetre, 0.0);

    const double share = 123.5 - 10.0 * std::log10(24.0);
    double energy = 0.0;
    for (int n = -11; n <= 12; ++n)
    {
        const double expected = share - kStandardAir.Absorption(CBandModel::BandCentre(n)) * 1.0;
        EXPECT_NEAR(levels.bands[Index(n)], expected, 1e-9) << CBandModel::BandLabel(n);
        energy += std::pow(10.0, expected / 10.0);
    }
    EXPECT_NEAR(levels.z, 10.0 * std::log10(energy), 1e-9);
    // The air takes a few hundredths of a dB over the first metre.
    EXPECT_GT(123.5 - levels.z, 0.005);
    EXPECT_LT(123.5 - levels.z, 0.05);

    EXPECT_EQ(levels.bands[Index(-13)], -std::numeric_limits<double>::infinity());
    EXPECT_FALSE(model.IsBandPresent((int) Index(-12)));
    EXPECT_TRUE(model.IsBandPresent((int) Index(-11)));
}

TEST(BandModel, HighFrequencyShadingMovesTheBandsFrom2kUp)
{
    const CBandModel plain(kStandardAir, { FullRange(0.0, 0.0, 0.0) });
    const CBandModel::Levels reference = plain.Evaluate(300.0, -40.0);

    struct Case { int mode; double change; };
    for (const Case c : { Case { 2, -3.1 }, Case { 3, 0.5 }, Case { 4, 0.0 }, Case { 0, 0.0 } })
    {
        SCOPED_TRACE(c.mode);
        const CBandModel shaded(kStandardAir, { FullRange(0.0, 0.0, 0.0, c.mode) });
        const CBandModel::Levels levels = shaded.Evaluate(300.0, -40.0);
        for (int n = -11; n <= 12; ++n)
            EXPECT_NEAR(levels.bands[Index(n)] - reference.bands[Index(n)], n >= 3 ? c.change : 0.0, 1e-9) << n;
    }
}

TEST(BandModel, TwoCoincidentModulesAreSixDecibelsUpInEveryBand)
{
    const CBandModel one(kStandardAir, { FullRange(10.0, 200.0, 7.5), Subwoofer(0.0, 230.0, 3) });
    const CBandModel two(kStandardAir, { FullRange(10.0, 200.0, 7.5), FullRange(10.0, 200.0, 7.5),
                                         Subwoofer(0.0, 230.0, 3), Subwoofer(0.0, 230.0, 4) });
    for (const auto& point : { std::make_pair(600.0, 48.0), std::make_pair(-150.0, 400.0) })
    {
        const CBandModel::Levels single = one.Evaluate(point.first, point.second);
        const CBandModel::Levels doubled = two.Evaluate(point.first, point.second);
        for (int n = CBandModel::kFirstBand; n <= CBandModel::kLastBand; ++n)
            EXPECT_NEAR(doubled.bands[Index(n)] - single.bands[Index(n)], 20.0 * std::log10(2.0), 1e-9) << n;
        EXPECT_NEAR(doubled.z - single.z, 6.0206, 0.0001);
        EXPECT_NEAR(doubled.a - single.a, 6.0206, 0.0001);
    }
}

TEST(BandModel, DirectivityHasItsFirstNullWhereTheFrontSpansOneWavelength)
{
    // Tilted by 10 degrees (its axis points 10 degrees down), so the null above the axis
    // lies at the arc sine less 10 degrees from the horizontal.
    const double tilt = 10.0;
    const CBandModel model(kStandardAir, { FullRange(0.0, 0.0, tilt) });
    const double c = kStandardAir.SpeedOfSound();
    const double height = kFullRangeHeight * 0.0254;
    const double distance = 400.0;

    for (int n : { 3, 6, 9, 12 })
    {
        SCOPED_TRACE(CBandModel::BandLabel(n));
        const double f = CBandModel::BandCentre(n);
        const double nullAngle = std::asin(c / (f * height)) * 180.0 / M_PI;
        auto levelAt = [&](double offAxis) {
            const double a = (offAxis - tilt) * M_PI / 180.0;
            return model.Evaluate(distance * std::cos(a), distance * std::sin(a)).bands[Index(n)];
        };
        const double onAxis = levelAt(0.0);
        EXPECT_LT(levelAt(nullAngle), onAxis - 100.0);
        EXPECT_LT(levelAt(-nullAngle), onAxis - 100.0);
        // Either side of the null the lobes come back.
        EXPECT_GT(levelAt(nullAngle * 0.9), onAxis - 40.0);
        EXPECT_GT(levelAt(nullAngle * 1.1), onAxis - 50.0);
        // The 3 dB point lies between the axis and the null.
        EXPECT_GT(levelAt(nullAngle * 0.3), onAxis - 3.0);
    }
}

TEST(BandModel, TwoSourcesInterfereByTheirPathDifference)
{
    // Two point sources 1 m apart radiate 1 kHz. Worked by hand: with amplitudes
    // p_i = P / r_i x 10^(-alpha r_i / 20) the band sum is
    // |S|^2 = p1^2 + p2^2 + 2 p1 p2 cos(k (r1 - r2)).
    const int band = 0;
    const double half = kOneMetre / 2.0;
    const CBandModel model(kStandardAir, { PointSource(0.0, half, band, 100.0), PointSource(0.0, -half, band, 100.0) });
    const double c = kStandardAir.SpeedOfSound();
    const double k = 2.0 * M_PI * 1000.0 / c;
    const double alpha = kStandardAir.Absorption(1000.0);
    const double p = std::pow(10.0, 100.0 / 20.0);

    auto byHand = [&](double x, double y) {
        const double r1 = std::hypot(x, y - half) * 0.0254;
        const double r2 = std::hypot(x, y + half) * 0.0254;
        const double p1 = p / r1 * std::pow(10.0, -alpha * r1 / 20.0);
        const double p2 = p / r2 * std::pow(10.0, -alpha * r2 / 20.0);
        return 10.0 * std::log10(p1 * p1 + p2 * p2 + 2.0 * p1 * p2 * std::cos(k * (r1 - r2)));
    };

    // On the axis between them both arrive together: 6 dB over one source at 10 m.
    const double tenMetres = 10.0 * kOneMetre;
    const double r = std::hypot(10.0, 0.5);
    EXPECT_NEAR(model.Evaluate(tenMetres, 0.0).bands[Index(band)],
                100.0 - 20.0 * std::log10(r) - alpha * r + 20.0 * std::log10(2.0), 1e-9);

    // Far away, where the paths differ by half a wavelength, they cancel:
    // sin(phi) = (lambda / 2) / 1 m.
    const double lambda = c / 1000.0;
    const double phi = std::asin(lambda / 2.0);
    const double far = 2000.0 * kOneMetre;
    const double cancelled = model.Evaluate(far * std::cos(phi), far * std::sin(phi)).bands[Index(band)];
    const double single = 100.0 - 20.0 * std::log10(2000.0) - alpha * 2000.0;
    EXPECT_LT(cancelled, single - 30.0);

    for (const auto& q : { std::make_pair(tenMetres, 30.0), std::make_pair(120.0, -80.0), std::make_pair(far * std::cos(phi), far * std::sin(phi)),
                           std::make_pair(-300.0, 10.0) })
        EXPECT_NEAR(model.Evaluate(q.first, q.second).bands[Index(band)], byHand(q.first, q.second), 1e-6)
            << q.first << ", " << q.second;
}

TEST(BandModel, ProbeReportsBandsLevelsAndEachSource)
{
    const CBandModel model(kStandardAir, { Subwoofer(-5.0, 250.0, 2), FullRange(3.0, 230.0, 4.0, 2, 3),
                                           FullRange(1.0, 215.0, 11.0, 1, 4) });
    const double x = 620.0, y = 60.0;
    const CBandModel::ProbeResult probe = model.Probe(x, y);

    // An independent evaluation of the formulas, term by term.
    const double c = 331.3 * std::sqrt(1.0 + 20.0 / 273.15);
    std::vector<std::complex<double>> sums(26);
    std::vector<double> ownEnergy;
    std::vector<double> distances;
    for (const CBandModel::Source& s : model.GetSources())
    {
        const double r = std::hypot(x - s.x, y - s.y) * 0.0254;
        const double theta = (std::atan2(y - s.y, x - s.x) * 180.0 / M_PI + s.angle) * M_PI / 180.0;
        double energy = 0.0;
        for (int n = s.bandLow; n <= s.bandHigh; ++n)
        {
            const double f = 1000.0 * std::pow(10.0, n / 10.0);
            double level = s.onAxisDB - 10.0 * std::log10(s.bandHigh - s.bandLow + 1.0);
            if (n >= 3 && s.shading == 2)
                level -= 3.1;
            const double u = M_PI * f * s.height * 0.0254 * std::sin(theta) / c;
            const double amplitude = std::pow(10.0, level / 20.0) * std::sin(u) / u / r
                                     * std::pow(10.0, -kStandardAir.Absorption(f) * r / 20.0);
            sums[Index(n)] += std::polar(amplitude, -2.0 * M_PI * f / c * r);
            energy += amplitude * amplitude;
        }
        ownEnergy.push_back(10.0 * std::log10(energy));
        distances.push_back(r);
    }

    EXPECT_EQ(probe.xIn, x);
    EXPECT_EQ(probe.yIn, y);
    ASSERT_EQ(probe.bands.size(), 26u);
    double z = 0.0, a = 0.0;
    for (size_t i = 0; i < probe.bands.size(); ++i)
    {
        const int n = (int) i + CBandModel::kFirstBand;
        EXPECT_EQ(probe.bands[i].hz, 1000.0 * std::pow(10.0, n / 10.0));
        EXPECT_EQ(probe.bands[i].label, CBandModel::BandLabel(n));
        const double level = 20.0 * std::log10(std::abs(sums[i]));
        EXPECT_NEAR(probe.bands[i].db, level, 1e-9) << probe.bands[i].label;
        z += std::pow(10.0, level / 10.0);
        a += std::pow(10.0, (level + CBandModel::AWeighting(probe.bands[i].hz)) / 10.0);
    }
    EXPECT_NEAR(probe.z, 10.0 * std::log10(z), 1e-9);
    EXPECT_NEAR(probe.a, 10.0 * std::log10(a), 1e-9);

    ASSERT_EQ(probe.sources.size(), 3u);
    for (size_t m = 0; m < 3; ++m)
    {
        EXPECT_EQ(probe.sources[m].position, (int) m + 2);
        EXPECT_NEAR(probe.sources[m].distanceM, distances[m], 1e-12);
        EXPECT_NEAR(probe.sources[m].delayMs, distances[m] / c * 1000.0, 1e-9);
        EXPECT_NEAR(probe.sources[m].z, ownEnergy[m], 1e-9);
    }
    // About 16.6 m from the subwoofer: 48.3 ms.
    EXPECT_NEAR(probe.sources[0].delayMs, 48.34, 0.01);
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

TEST(BandModel, DistanceIsLimitedBelowOneCentimetre)
{
    const CBandModel model(kStandardAir, { PointSource(50.0, 50.0, 0, 100.0) });
    const CBandModel::ProbeResult atTheSource = model.Probe(50.0, 50.0);
    ASSERT_EQ(atTheSource.sources.size(), 1u);
    EXPECT_EQ(atTheSource.sources[0].distanceM, 0.01);
    EXPECT_NEAR(atTheSource.z, 100.0 + 40.0 - kStandardAir.Absorption(1000.0) * 0.01, 1e-9);
}

TEST(BandKernel, AgreesWithThePlainSumsEverywhere)
{
    CBandModel::Source omni = PointSource(40.0, -30.0, -2, 110.0);
    omni.bandLow = -13;
    omni.bandHigh = 12;
    const CBandModel model(kStandardAir, { Subwoofer(0.0, 250.0, 2), FullRange(8.0, 235.0, 3.0, 2, 3),
                                           FullRange(6.0, 222.0, 10.5, 3, 4), omni });
    const CBandKernel all(model);
    // At a source (the distance limited), on an axis, behind, near, and 5 km away.
    const std::pair<double, double> points[] = { { 0.0, 250.0 }, { 8.0, 235.0 }, { 600.0, 235.0 - 600.0 * std::tan(3.0 * M_PI / 180.0) },
                                                 { -300.0, 100.0 }, { 50.0, 240.0 }, { 1200.0, 48.0 },
                                                 { 5000.0 * kOneMetre, 0.0 }, { 40.0, -30.0 } };
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
}
