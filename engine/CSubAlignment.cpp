#include "engine/CSubAlignment.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace
{
constexpr int kCandidates = 2 * CSubAlignment::kMaxStep + 1;

double EnergyToDB(double energy)
{
    // Rounding can leave a full cancellation a hair below zero.
    return 10.0 * std::log10(std::max(energy, 0.0) / CSubAlignment::kLinesPerBand);
}

double StepMs(int step)
{
    return step / 100.0;
}

// 2 pi f in rad per millisecond for every line.
std::array<double, CSubAlignment::kLineCount> AngularPerMs()
{
    std::array<double, CSubAlignment::kLineCount> omega {};
    for (int l = 0; l < CSubAlignment::kLineCount; ++l)
        omega[(size_t) l] = 2.0 * M_PI * CSubAlignment::LineFrequency(l) / 1000.0;
    return omega;
}
}

//==============================================================================
CSubAlignment::Candidate CSubAlignment::Choose(const std::vector<double>& normalDB,
                                               const std::vector<double>& invertedDB)
{
    double best = -std::numeric_limits<double>::infinity();
    for (size_t i = 0; i < (size_t) kCandidates; ++i)
        best = std::max({ best, normalDB[i], invertedDB[i] });

    Candidate chosen;
    std::tuple<int, bool, bool> chosenKey { kMaxStep + 1, true, true };
    for (int step = -kMaxStep; step <= kMaxStep; ++step)
    {
        const size_t i = (size_t) (step + kMaxStep);
        for (const bool inverted : { false, true })
        {
            const double level = inverted ? invertedDB[i] : normalDB[i];
            const std::tuple<int, bool, bool> key { std::abs(step), inverted, step < 0 };
            if (level >= best - kTieDB && key < chosenKey)
            {
                chosenKey = key;
                chosen = { step, inverted };
            }
        }
    }
    return chosen;
}

double CSubAlignment::LineFrequency(int lineIndex)
{
    const int n = kFirstBand + lineIndex / kLinesPerBand;
    const int k = lineIndex % kLinesPerBand;
    return 1000.0 * std::pow(10.0, n / 10.0) * std::pow(10.0, (2 * k - 7) / 160.0);
}

double CSubAlignment::CrossoverLevel(const std::vector<Source>& sources)
{
    const auto omega = AngularPerMs();
    double energy = 0.0;
    for (size_t l = 0; l < (size_t) kLineCount; ++l)
    {
        std::complex<double> sum;
        for (const Source& s : sources)
            sum += s.pressure[l] * (s.inverted ? -1.0 : 1.0) * std::polar(1.0, -omega[l] * s.delayMs);
        energy += std::norm(sum);
    }
    return EnergyToDB(energy);
}

std::vector<CSubAlignment::Setting> CSubAlignment::SettingsFor(const std::vector<Source>& sources, int step,
                                                               bool subsInverted)
{
    std::vector<Setting> settings;
    for (const Source& s : sources)
    {
        if (s.subwoofer)
            settings.push_back({ s.position, StepMs(std::max(step, 0)), subsInverted });
        else
            settings.push_back({ s.position, StepMs(std::max(-step, 0)), s.inverted });
    }
    return settings;
}

CSubAlignment CSubAlignment::Search(double x, double y, const std::vector<Source>& sources)
{
    CSubAlignment result;
    result.xIn = x;
    result.yIn = y;
    const bool anySub = std::any_of(sources.begin(), sources.end(), [](const Source& s) { return s.subwoofer; });
    const bool anyModule = std::any_of(sources.begin(), sources.end(), [](const Source& s) { return ! s.subwoofer; });
    if (! anySub || ! anyModule)
    {
        result.reason = ! anySub && ! anyModule ? "there is no subwoofer and no full-range module"
                        : ! anySub              ? "there is no subwoofer"
                                                : "there is no full-range module";
        return result;
    }
    result.found = true;
    result.beforeDB = CrossoverLevel(sources);

    // Every subwoofer gets the same delay and polarity and every module the same delay, so
    // per line the sum is p S e^(-j w ds) + M e^(-j w dm), where M keeps the modules' own
    // polarities: its energy is |S|^2 + |M|^2 + 2 p Re(S conj(M) e^(-j w delta)).
    Lines cross {};
    double common = 0.0;
    for (size_t l = 0; l < (size_t) kLineCount; ++l)
    {
        std::complex<double> subs, modules;
        for (const Source& s : sources)
        {
            if (s.subwoofer)
                subs += s.pressure[l];
            else
                modules += s.inverted ? -s.pressure[l] : s.pressure[l];
        }
        cross[l] = 2.0 * subs * std::conj(modules);
        common += std::norm(subs) + std::norm(modules);
    }

    const auto omega = AngularPerMs();
    std::vector<double> normal((size_t) kCandidates), inverted((size_t) kCandidates);
    for (int step = -kMaxStep; step <= kMaxStep; ++step)
    {
        double interference = 0.0;
        for (size_t l = 0; l < (size_t) kLineCount; ++l)
            interference += (cross[l] * std::polar(1.0, -omega[l] * StepMs(step))).real();
        const size_t i = (size_t) (step + kMaxStep);
        normal[i] = EnergyToDB(common + interference);
        inverted[i] = EnergyToDB(common - interference);
    }

    const Candidate chosen = Choose(normal, inverted);
    result.step = chosen.step;
    result.inverted = chosen.inverted;
    result.deltaMs = StepMs(result.step);
    result.settings = SettingsFor(sources, result.step, result.inverted);
    std::vector<Source> after = sources;
    for (size_t m = 0; m < after.size(); ++m)
    {
        after[m].delayMs = result.settings[m].delayMs;
        after[m].inverted = result.settings[m].inverted;
    }
    result.afterDB = CrossoverLevel(after);
    return result;
}
