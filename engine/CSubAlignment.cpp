#include "engine/CSubAlignment.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

namespace
{
constexpr int kCandidates = 2 * CSubAlignment::kMaxStep + 1;
constexpr int kExactEvery = 100;
// The model's line index of the first line searched.
constexpr int kFirstModelLine = (CSubAlignment::kFirstBand - CBandModel::kFirstBand) * CSubAlignment::kLinesPerBand;

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
    return CBandModel::LineFrequency(kFirstBand + lineIndex / kLinesPerBand, lineIndex % kLinesPerBand);
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

std::vector<CSubAlignment::Source> CSubAlignment::SourcesAt(const CBandModel& model,
                                                           const CBandModel::PointField& field)
{
    std::vector<Source> found;
    const auto& sources = model.GetSources();
    for (size_t m = 0; m < sources.size(); ++m)
    {
        const CBandModel::Source& s = sources[m];
        if (s.role == CBandModel::Role::None)
            continue;
        Source source;
        source.position = s.position;
        source.subwoofer = s.role == CBandModel::Role::Low;
        source.delayMs = s.processing.delayMs;
        source.inverted = s.processing.inverted;
        // The gain is kept, so it belongs to what the point receives.
        const double gain = std::pow(10.0, s.processing.gainDB / 20.0);
        for (int l = 0; l < kLineCount; ++l)
            source.pressure[(size_t) l] = field.lines[m][(size_t) (l + kFirstModelLine)] * gain;
        found.push_back(source);
    }
    return found;
}

CCommand CSubAlignment::Command(const CSubAlignment& alignment)
{
    CCommand command;
    command.target = kCommandTarget;
    command.number = alignment.deltaMs;
    command.text = alignment.inverted ? kInverted : kNormal;
    return command;
}

CSubAlignment CSubAlignment::InModel(const CBandModel& model, double x, double y)
{
    const CBandModel::PointField field = model.FieldAt(x, y);
    CSubAlignment alignment = Search(x, y, SourcesAt(model, field));
    if (! alignment.found)
        return alignment;
    // The levels as the band model gives them, the design's processing and the aligned.
    alignment.beforeDB = CrossoverSum(model.Combine(field, model.DesignProcessing()));
    alignment.afterDB = CrossoverSum(model.Combine(field, AlignedProcessing(model, alignment)));
    return alignment;
}

std::vector<CBandModel::Processing> CSubAlignment::AlignedProcessing(const CBandModel& model,
                                                                     const CSubAlignment& alignment)
{
    std::vector<CBandModel::Processing> processing = model.DesignProcessing();
    const auto& sources = model.GetSources();
    for (const Setting& s : alignment.settings)
        for (size_t m = 0; m < sources.size(); ++m)
            if (sources[m].position == s.position)
            {
                processing[m].delayMs = s.delayMs;
                processing[m].inverted = s.inverted;
            }
    return processing;
}

CBandModel::ProbeResult CSubAlignment::AlignedProbe(const CBandModel& model, const CSubAlignment& alignment)
{
    CBandModel::ProbeResult probe = model.Probe(alignment.xIn, alignment.yIn);
    const std::vector<CBandModel::Processing> processing = AlignedProcessing(model, alignment);
    const CBandModel::Levels levels = model.Combine(model.FieldAt(alignment.xIn, alignment.yIn), processing);
    for (CBandModel::ProbeBand& band : probe.bands)
    {
        int n = 0;
        if (CBandModel::BandOfLabel(band.label, n))
            band.db = levels.bands[(size_t) (n - CBandModel::kFirstBand)];
    }
    probe.z = levels.z;
    probe.a = levels.a;
    for (size_t m = 0; m < probe.sources.size() && m < processing.size(); ++m)
        probe.sources[m].delayMs += processing[m].delayMs - model.GetSources()[m].processing.delayMs;
    return probe;
}

bool CSubAlignment::IsInEffect(const CBandModel& model) const
{
    if (! found)
        return false;
    for (const Setting& s : settings)
    {
        const auto& sources = model.GetSources();
        const auto source = std::find_if(sources.begin(), sources.end(),
                                         [&s](const CBandModel::Source& m) { return m.position == s.position; });
        if (source == sources.end() || source->processing.delayMs != s.delayMs
            || source->processing.inverted != s.inverted)
            return false;
    }
    return true;
}

double CSubAlignment::CrossoverSum(const CBandModel::Levels& levels)
{
    double energy = 0.0;
    for (int n = kFirstBand; n <= kLastBand; ++n)
        energy += std::pow(10.0, levels.bands[(size_t) (n - CBandModel::kFirstBand)] / 10.0);
    return 10.0 * std::log10(energy);
}

CSubAlignment CSubAlignment::InDesign(double x, double y)
{
    return InModel(CBandModel::FromDesign(), x, y);
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

    // Each line's phase walks the candidates by one fixed rotation per step, taken afresh
    // from its exact value every kExactEvery steps so that rounding cannot pile up.
    const auto omega = AngularPerMs();
    std::vector<double> interference((size_t) kCandidates, 0.0);
    for (size_t l = 0; l < (size_t) kLineCount; ++l)
    {
        const std::complex<double> turn = std::polar(1.0, -omega[l] * kStepMs);
        std::complex<double> term;
        for (int i = 0; i < kCandidates; ++i)
        {
            if (i % kExactEvery == 0)
                term = cross[l] * std::polar(1.0, -omega[l] * StepMs(i - kMaxStep));
            else
                term *= turn;
            interference[(size_t) i] += term.real();
        }
    }
    std::vector<double> normal((size_t) kCandidates), inverted((size_t) kCandidates);
    for (size_t i = 0; i < (size_t) kCandidates; ++i)
    {
        normal[i] = EnergyToDB(common + interference[i]);
        inverted[i] = EnergyToDB(common - interference[i]);
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
