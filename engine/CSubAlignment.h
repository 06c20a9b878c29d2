#pragma once
// The subwoofer alignment at one listening point: the relative delay (-20 ... 20 ms in
// 0.01 ms steps) and subwoofer polarity at which subwoofers and full-range modules add up
// best over the crossover bands (63 ... 160 Hz). The search works on each source's complex
// pressure at the point before its delay and polarity, taken once; every candidate is then
// a phase rotation of those, so trying all of them reads and changes no document. Plain
// values; any thread.

#include "engine/CBandModel.h"
#include "engine/CCommand.h"

#include <array>
#include <complex>
#include <string>
#include <vector>

class CSubAlignment
{
public:
    // The crossover bands searched, n = -12 ... -8, and the lines of each band.
    static constexpr int kFirstBand = -12;
    static constexpr int kLastBand = -8;
    static constexpr int kLinesPerBand = 8;
    static constexpr int kLineCount = (kLastBand - kFirstBand + 1) * kLinesPerBand;
    // Candidates: delta = step / 100 ms for step = -kMaxStep ... kMaxStep.
    static constexpr int kMaxStep = 2000;
    static constexpr double kStepMs = 0.01;
    // Candidates this close to the best sum count as equal and go to the tie rules.
    static constexpr double kTieDB = 0.001;

    using Lines = std::array<std::complex<double>, kLineCount>;

    // The frequency of line k of band n, line index (n - kFirstBand) * 8 + k, in Hz.
    static double LineFrequency(int lineIndex);

    //==========================================================================
    // One source as the point receives it.
    struct Source
    {
        int position = 0;
        bool subwoofer = false;  // fed by the crossover's low-pass; otherwise a full-range module
        double delayMs = 0.0;    // the user's processing as it stands
        bool inverted = false;
        Lines pressure {};       // per line: amplitude x filter x distance phase, before delay and polarity
    };

    // What one source is set to.
    struct Setting
    {
        int position = 0;
        double delayMs = 0.0;
        bool inverted = false;
    };

    //==========================================================================
    // The alignment at (x, y) inches with the sources of `model`, and of the design as it
    // stands (read on the GUI thread; the documents are not changed).
    static CSubAlignment InModel(const CBandModel& model, double x, double y);
    static CSubAlignment InDesign(double x, double y);
    // Each subwoofer and full-range module of `model` as the point of `field` receives it,
    // before its delay and polarity (its gain included).
    static std::vector<Source> SourcesAt(const CBandModel& model, const CBandModel::PointField& field);
    // The processing of every source of `model` with the alignment's settings.
    static std::vector<CBandModel::Processing> AlignedProcessing(const CBandModel& model,
                                                                 const CSubAlignment& alignment);
    // What a microphone at the alignment's point would show with it applied.
    static CBandModel::ProbeResult AlignedProbe(const CBandModel& model, const CSubAlignment& alignment);
    // Whether every source of `model` the alignment sets still has its setting.
    bool IsInEffect(const CBandModel& model) const;
    // S of a point's levels: the crossover bands added by energy.
    static double CrossoverSum(const CBandModel::Levels& levels);

    // The best candidate for `sources` at the point (x, y) inches. Without both a
    // subwoofer and a full-range module there is none, and `reason` says which is missing.
    static CSubAlignment Search(double x, double y, const std::vector<Source>& sources);

    // The crossover-band sum S in dB of `sources` with their delays and polarities as given.
    static double CrossoverLevel(const std::vector<Source>& sources);

    // What the candidate (step, subwoofer polarity) sets every source to.
    static std::vector<Setting> SettingsFor(const std::vector<Source>& sources, int step, bool inverted);

    // The command that applies `alignment` (found): the relative delay as its number, the
    // subwoofers' polarity as its text. It sets every source's delay and polarity as the
    // alignment says.
    static CCommand Command(const CSubAlignment& alignment);
    static inline const std::string kCommandTarget = "AlignSubwoofers";
    static inline const std::string kNormal = "normal";
    static inline const std::string kInverted = "inverted";

    // The chosen candidate from every candidate's S in dB, indexed by step + kMaxStep: of
    // those within kTieDB of the highest, the smallest |delta|, then normal polarity, then
    // delta >= 0.
    struct Candidate
    {
        int step = 0;
        bool inverted = false;
    };
    static Candidate Choose(const std::vector<double>& normalDB, const std::vector<double>& invertedDB);

    //==========================================================================
    bool found = false;
    std::string reason;         // why there is nothing to align; empty when found
    double xIn = 0.0;
    double yIn = 0.0;
    int step = 0;               // delta in hundredths of a millisecond
    double deltaMs = 0.0;       // subwoofers later than the modules when positive
    bool inverted = false;      // the subwoofers' polarity
    double beforeDB = 0.0;      // S with the processing as it stands
    double afterDB = 0.0;       // S with the candidate applied
    std::vector<Setting> settings; // every source, in the order given
};
