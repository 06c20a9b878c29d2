#include "engine/CSubAlignment.h"

#include "engine/CBandModel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{
using Source = CSubAlignment::Source;
constexpr double kSpeed = 343.0;
constexpr double kCrossoverHz = 100.0;
constexpr int kCandidates = 2 * CSubAlignment::kMaxStep + 1;

// The fourth-order Linkwitz-Riley low-pass or high-pass at f.
std::complex<double> Crossover(double f, bool lowPass)
{
    const std::complex<double> s(0.0, f / kCrossoverHz);
    const std::complex<double> d = s * s + std::sqrt(2.0) * s + 1.0;
    return lowPass ? 1.0 / (d * d) : (s * s / d) * (s * s / d);
}

// A source `metres` from the point: its filter, spreading and distance phase at every line.
Source At(int position, bool subwoofer, double metres, double gain = 1.0)
{
    Source source;
    source.position = position;
    source.subwoofer = subwoofer;
    for (int l = 0; l < CSubAlignment::kLineCount; ++l)
    {
        const double f = CSubAlignment::LineFrequency(l);
        source.pressure[(size_t) l] = gain * Crossover(f, subwoofer) / metres
                                      * std::polar(1.0, -2.0 * M_PI * f * metres / kSpeed);
    }
    return source;
}

// The two products of the catalogue as the band model takes them (the module omni: in the
// crossover bands its polar table does not count).
CBandModel::Source Product(int position, bool subwoofer, double xInches)
{
    CBandModel::Source s;
    s.position = position;
    s.x = xInches;
    s.bandLow = -13;
    s.bandHigh = subwoofer ? -6 : 12;
    s.onAxisDB = 123.5;
    s.role = subwoofer ? CBandModel::Role::Low : CBandModel::Role::High;
    s.crossoverHz = 100.0;
    return s;
}

// Every candidate tried the long way: each source set as the candidate says, then summed.
CSubAlignment::Candidate ChooseByBruteForce(const std::vector<Source>& sources)
{
    std::vector<double> normal, inverted;
    for (const bool inv : { false, true })
    {
        for (int step = -CSubAlignment::kMaxStep; step <= CSubAlignment::kMaxStep; ++step)
        {
            std::vector<Source> tried = sources;
            const auto settings = CSubAlignment::SettingsFor(sources, step, inv);
            for (size_t m = 0; m < tried.size(); ++m)
            {
                tried[m].delayMs = settings[m].delayMs;
                tried[m].inverted = settings[m].inverted;
            }
            (inv ? inverted : normal).push_back(CSubAlignment::CrossoverLevel(tried));
        }
    }
    return CSubAlignment::Choose(normal, inverted);
}
}

TEST(SubAlignment, LinesSitInTheMiddleOfTheirEighthOfTheCrossoverBands)
{
    // 63 Hz band (n = -12): from f x 10^(-1/20) to f x 10^(1/20); line 0 at 10^(-7/160).
    const double f63 = 1000.0 * std::pow(10.0, -1.2);
    EXPECT_DOUBLE_EQ(CSubAlignment::LineFrequency(0), f63 * std::pow(10.0, -7.0 / 160.0));
    EXPECT_DOUBLE_EQ(CSubAlignment::LineFrequency(7), f63 * std::pow(10.0, 7.0 / 160.0));
    EXPECT_DOUBLE_EQ(CSubAlignment::LineFrequency(39), 1000.0 * std::pow(10.0, -0.8) * std::pow(10.0, 7.0 / 160.0));
}

TEST(SubAlignment, ChoiceAndItsTieRules)
{
    const double quiet = 80.0;
    struct Peak { int step; bool inverted; double db; };
    struct Case { const char* what; std::vector<Peak> peaks; int step; bool inverted; };
    const Case cases[] = {
        { "the highest sum wins", { { 500, false, 100.0 }, { -300, true, 99.0 } }, 500, false },
        { "within 0.001 dB the smaller |delta|", { { 700, false, 100.0 }, { -650, false, 99.9995 } }, -650, false },
        { "0.0011 dB lower is not a tie", { { 700, false, 100.0 }, { -650, false, 99.9989 } }, 700, false },
        { "same |delta|: normal polarity", { { -40, true, 100.0 }, { -40, false, 99.9995 } }, -40, false },
        { "same |delta| and polarity: delta >= 0", { { -40, true, 100.0 }, { 40, true, 100.0 } }, 40, true },
        { "all equal: no delay, normal", {}, 0, false },
    };
    for (const Case& c : cases)
    {
        std::vector<double> normal((size_t) kCandidates, quiet), inverted((size_t) kCandidates, quiet);
        for (const Peak& p : c.peaks)
            (p.inverted ? inverted : normal)[(size_t) (p.step + CSubAlignment::kMaxStep)] = p.db;
        const CSubAlignment::Candidate chosen = CSubAlignment::Choose(normal, inverted);
        EXPECT_EQ(chosen.step, c.step) << c.what;
        EXPECT_EQ(chosen.inverted, c.inverted) << c.what;
    }
}

TEST(SubAlignment, CoincidentSubwooferAndModuleNeedNoDelay)
{
    // The crossover pair is in phase at every frequency: together they add up fully at once.
    const std::vector<Source> sources = { At(1, false, 10.0), At(2, true, 10.0) };
    const CSubAlignment result = CSubAlignment::Search(120.0, 48.0, sources);
    ASSERT_TRUE(result.found) << result.reason;
    EXPECT_EQ(result.step, 0);
    EXPECT_FALSE(result.inverted);
    EXPECT_NEAR(result.afterDB, result.beforeDB, 1e-12);
    EXPECT_EQ(result.xIn, 120.0);
    EXPECT_EQ(result.yIn, 48.0);

    // Inverted at the source, the subwoofer is put right by its polarity, not by a delay.
    std::vector<Source> flipped = sources;
    flipped[1].inverted = true;
    const CSubAlignment repaired = CSubAlignment::Search(0.0, 0.0, flipped);
    EXPECT_EQ(repaired.step, 0);
    EXPECT_FALSE(repaired.inverted);
    EXPECT_GT(repaired.afterDB - repaired.beforeDB, 5.0);
}

TEST(SubAlignment, SubwooferFurtherAwayDelaysTheModulesByItsExtraTravel)
{
    // The subwoofer 3.43 m further: the modules wait about 10 ms for it. The sum is flat at
    // its peak, so the tie margin takes the answer a few steps towards no delay.
    const std::vector<Source> sources = { At(1, false, 20.0), At(2, false, 20.0, 0.8), At(3, true, 23.43) };
    const CSubAlignment result = CSubAlignment::Search(0.0, 0.0, sources);
    ASSERT_TRUE(result.found);
    EXPECT_LE(result.deltaMs, -9.9);
    EXPECT_GE(result.deltaMs, -3.43 / kSpeed * 1000.0);
    EXPECT_FALSE(result.inverted);
    EXPECT_GT(result.afterDB, result.beforeDB + 0.5);

    // The same answer as trying each candidate with the plain sum.
    const CSubAlignment::Candidate reference = ChooseByBruteForce(sources);
    EXPECT_EQ(result.step, reference.step);
    EXPECT_EQ(result.inverted, reference.inverted);

    ASSERT_EQ(result.settings.size(), 3u);
    for (const CSubAlignment::Setting& s : result.settings)
    {
        const bool subwoofer = s.position == 3;
        EXPECT_DOUBLE_EQ(s.delayMs, subwoofer ? 0.0 : -result.deltaMs) << s.position;
        EXPECT_FALSE(s.inverted);
    }
}

TEST(SubAlignment, SettingsKeepTheModulesPolarityAndReplaceTheirDelays)
{
    std::vector<Source> sources = { At(1, false, 10.0), At(2, true, 10.0), At(3, true, 12.0) };
    sources[0].inverted = true;
    sources[0].delayMs = 7.5;
    sources[1].delayMs = 3.0;
    const auto later = CSubAlignment::SettingsFor(sources, 1234, true);
    EXPECT_DOUBLE_EQ(later[0].delayMs, 0.0);
    EXPECT_TRUE(later[0].inverted);
    EXPECT_DOUBLE_EQ(later[1].delayMs, 12.34);
    EXPECT_TRUE(later[1].inverted && later[2].inverted);
    const auto earlier = CSubAlignment::SettingsFor(sources, -2000, false);
    EXPECT_DOUBLE_EQ(earlier[0].delayMs, 20.0);
    EXPECT_DOUBLE_EQ(earlier[2].delayMs, 0.0);
    EXPECT_FALSE(earlier[2].inverted);

    // Before is the design as it stands, delays and polarities included (here the subwoofers
    // differ in delay, which no candidate gives, so after need not be higher).
    const CSubAlignment result = CSubAlignment::Search(0.0, 0.0, sources);
    EXPECT_DOUBLE_EQ(result.beforeDB, CSubAlignment::CrossoverLevel(sources));
    sources[1].delayMs = 0.0;
    EXPECT_NE(CSubAlignment::CrossoverLevel(sources), result.beforeDB);
}

TEST(SubAlignment, NothingToAlignWithoutBothKinds)
{
    struct Case { std::vector<Source> sources; const char* reason; };
    const Case cases[] = {
        { { At(1, false, 10.0), At(2, false, 11.0) }, "there is no subwoofer" },
        { { At(1, true, 10.0) }, "there is no full-range module" },
        { {}, "there is no subwoofer and no full-range module" },
    };
    for (const Case& c : cases)
    {
        const CSubAlignment result = CSubAlignment::Search(0.0, 0.0, c.sources);
        EXPECT_FALSE(result.found);
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_TRUE(result.settings.empty());
    }
}

//==============================================================================
// On the band model: the pressures of its FieldAt, the levels of its Combine.
TEST(SubAlignmentInModel, SubwooferBesideTheModuleNeedsNoDelay)
{
    const double point = 20.0 / CBandModel::kMetresPerInch;
    const CBandModel model(CAirModel(20.0, 50.0), { Product(2, true, 0.0), Product(3, false, 0.0) });
    const CSubAlignment result = CSubAlignment::InModel(model, point, 0.0);
    ASSERT_TRUE(result.found);
    EXPECT_EQ(result.step, 0);
    EXPECT_FALSE(result.inverted);
    EXPECT_DOUBLE_EQ(result.afterDB, result.beforeDB);
    // S is the energy sum of the crossover bands the model gives.
    const CBandModel::Levels levels = model.Evaluate(point, 0.0);
    double energy = 0.0;
    for (int n = -12; n <= -8; ++n)
        energy += std::pow(10.0, levels.bands[(size_t) (n + 13)] / 10.0);
    EXPECT_NEAR(result.beforeDB, 10.0 * std::log10(energy), 1e-9);
}

TEST(SubAlignmentInModel, SubwooferFurtherAwayAgreesWithEveryCandidateCombinedByTheModel)
{
    // The subwoofer 3.43 m further from the point than the module, its delay and gain set
    // by the user: the modules wait about the extra travel, which the crossover pair (in
    // phase at every frequency) does not change.
    const double metre = 1.0 / CBandModel::kMetresPerInch;
    CBandModel::Source sub = Product(2, true, -3.43 * metre);
    sub.processing.delayMs = 4.0;
    sub.processing.gainDB = -3.0;
    const CBandModel model(CAirModel(20.0, 50.0), { sub, Product(3, false, 0.0) });
    const double x = 20.0 * metre;
    const CSubAlignment result = CSubAlignment::InModel(model, x, 0.0);
    ASSERT_TRUE(result.found);
    const double travelMs = 3.43 / model.GetSpeedOfSound() * 1000.0;
    EXPECT_LE(result.deltaMs, -travelMs + 0.1);
    EXPECT_GE(result.deltaMs, -travelMs);
    EXPECT_FALSE(result.inverted);

    // Every candidate through the model's own Combine, chosen by the rules.
    const CBandModel::PointField field = model.FieldAt(x, 0.0);
    std::vector<double> normal, inverted;
    for (const bool inv : { false, true })
        for (int step = -CSubAlignment::kMaxStep; step <= CSubAlignment::kMaxStep; ++step)
        {
            std::vector<CBandModel::Processing> processing = model.DesignProcessing();
            processing[0].delayMs = std::max(step, 0) / 100.0;
            processing[0].inverted = inv;
            processing[1].delayMs = std::max(-step, 0) / 100.0;
            (inv ? inverted : normal).push_back(CSubAlignment::CrossoverSum(model.Combine(field, processing)));
        }
    const CSubAlignment::Candidate reference = CSubAlignment::Choose(normal, inverted);
    EXPECT_EQ(result.step, reference.step);
    EXPECT_EQ(result.inverted, reference.inverted);
    EXPECT_NEAR(result.afterDB, normal[(size_t) (reference.step + CSubAlignment::kMaxStep)], 1e-9);
    EXPECT_NEAR(result.beforeDB, CSubAlignment::CrossoverSum(model.Evaluate(x, 0.0)), 1e-12);
    EXPECT_GT(result.afterDB, result.beforeDB + 1.0);

    // The microphone's spectrum with it applied.
    const CBandModel::ProbeResult aligned = CSubAlignment::AlignedProbe(model, result);
    EXPECT_NEAR(aligned.bands[2].db, model.Combine(field, CSubAlignment::AlignedProcessing(model, result)).bands[2], 1e-12);
    EXPECT_NEAR(aligned.sources[1].delayMs, model.Probe(x, 0.0).sources[1].delayMs - result.deltaMs, 1e-9);
}
