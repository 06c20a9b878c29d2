#pragma once
// The band prediction: per third-octave band, the energy average of 8 lines spread across
// it; at every line the complex sum over the sources of the design, each with its distance
// phase, its directivity (its polar table at high frequencies, omni at low ones), its
// crossover filter, the user's delay, polarity and gain, the screening by the venue's
// surfaces and the air's absorption. The bands are then added by energy, unweighted (Z)
// and A-weighted.
//
// Bands are numbered n = -13 ... 12 (centre 1000 x 10^(n / 10) Hz, 50 Hz ... 16 kHz) and
// indexed 0 ... 25 in arrays; line k = 0 ... 7 of band index i is line index 8 i + k.
// Positions are inches in the section frame; distances in the results are metres. A model
// is an immutable snapshot: FromDesign reads the documents on the GUI thread, after which a
// model may be evaluated from any number of threads.

#include "array/ArrayLimits.h"
#include "engine/CAirModel.h"

#include <array>
#include <complex>
#include <string>
#include <utility>
#include <vector>

class CBandModel
{
public:
    static constexpr int kFirstBand = -13;
    static constexpr int kLastBand = 12;
    static constexpr int kBandCount = kLastBand - kFirstBand + 1;
    static constexpr int kLinesPerBand = 8;
    static constexpr int kLineCount = kBandCount * kLinesPerBand;
    // Bands from this one up (2 kHz) follow a full-range module's HF shading.
    static constexpr int kFirstShadedBand = 3;
    static constexpr double kMetresPerInch = 0.0254;
    // Nearer than this (metres) a box is no point source: the level at this distance is shown.
    static constexpr double kNearLimit = 1.0;
    // Screening by one edge is capped here, dB.
    static constexpr double kMaxScreeningDB = 20.0;
    // The polar table counts fully from this frequency up and not at all up to kOmniHz.
    static constexpr double kOmniHz = 200.0;
    static constexpr double kDirectiveHz = 2000.0;

    using BandLevels = std::array<double, kBandCount>;

    // The exact centre of band n, Hz.
    static double BandCentre(int n);
    // Line k (0 ... 7) of band n, Hz: the middle of the k-th eighth of the band in log frequency.
    static double LineFrequency(int n, int k);
    // "50", "63", ... "800", "1k", "1.25k", ... "16k".
    static const std::string& BandLabel(int n);
    // The band whose label is `label`; false when there is none.
    static bool BandOfLabel(const std::string& label, int& n);
    // A-weighting in dB at `hz`.
    static double AWeighting(double hz);
    // How much of the polar table counts at `hz`: 0 up to 200 Hz, 1 from 2 kHz, log in between.
    static double DirectivityWeight(double hz);

    //==========================================================================
    // Which side of the crossover feeds a source.
    enum class Role
    {
        None,  // unfiltered
        High,  // a full-range module, fed by the high-pass
        Low,   // a subwoofer, fed by the low-pass
    };
    // The fourth-order Linkwitz-Riley filter of `role` at `hz` for a crossover at `crossoverHz`.
    static std::complex<double> Crossover(Role role, double hz, double crossoverHz);

    // The user's processing of one source.
    struct Processing
    {
        double delayMs = 0.0;
        bool inverted = false;
        double gainDB = 0.0;
    };
    static constexpr double kMaxDelayMs = ArrayLimits::kMaxDelayMs;
    static constexpr double kMinGainDB = ArrayLimits::kMinGainDB;
    static constexpr double kMaxGainDB = ArrayLimits::kMaxGainDB;

    // One radiating cabinet as the design describes it.
    struct Source
    {
        int position = 0;        // cabinet position in the array
        double x = 0.0;          // acoustic centre, inches
        double y = 0.0;
        double angle = 0.0;      // added to the direction of a listener: its axis points at -angle
        int bandLow = kFirstBand;
        int bandHigh = kLastBand;
        double onAxisDB = 0.0;   // broadband on-axis level at 1 m
        int shading = 1;         // HF shading mode: 2 single, 3 long, others nothing
        Role role = Role::None;
        double crossoverHz = 100.0;
        // (angle, level at 1 m) in the table's order; empty for an omnidirectional source.
        std::vector<std::pair<double, double>> polar;
        Processing processing;
    };

    // A solid surface between two points, inches.
    struct Screen
    {
        double x1, y1, x2, y2;
    };

    // The level a source's lines are scaled to: on axis at 1 m, without air, the energies
    // of its bands through its filter add up to OnAxisDB.
    static double BaseLevel(const Source& source);
    // The polar table's level at `degrees` off axis (either side, wrapped to -180 ... 180),
    // interpolated, the last entry holding beyond the table.
    static double PolarLevel(const std::vector<std::pair<double, double>>& polar, double degrees);
    // The same for a table SortedPolar made: by angle, each angle once, no angle that is not
    // a number; found by halving instead of a scan, which the field map does millions of times.
    static std::vector<std::pair<double, double>> SortedPolar(const std::vector<std::pair<double, double>>& polar);
    static double SortedPolarLevel(const std::vector<std::pair<double, double>>& sorted, double degrees);

    CBandModel(const CAirModel& air, std::vector<Source> sources, std::vector<Screen> screens = {});
    // The cabinets of array 1 whose catalogue product has Acoustics, placed from the first
    // hang point of venue 1 (the origin without one), in the air of venue 1, screened by
    // every surface of venue 1. Throws std::runtime_error naming the value when the
    // venue's air is out of its range.
    static CBandModel FromDesign();

    const CAirModel& GetAir() const { return air; }
    double GetSpeedOfSound() const { return speedOfSound; }
    const std::vector<Source>& GetSources() const { return sources; }
    const std::vector<Screen>& GetScreens() const { return screens; }
    // Whether any source radiates band index i.
    bool IsBandPresent(int index) const { return present[(size_t) index]; }

    //==========================================================================
    // The geometry of one source seen from one point.
    struct View
    {
        double r = 0.0;          // metres, limited below to the near limit
        double offAxisDB = 0.0;  // the polar table at the angle off axis less its on-axis level
        double detour = -1.0;    // the screening path difference, metres; below 0 in plain view
    };
    View ViewOf(size_t source, double x, double y) const;
    // ViewOf at (xs[k], y) for k below count into out, with each point's direction from the
    // source, atan2(dy, dx) in radians, given in `directions` (null: worked out here).
    void ViewsAlong(size_t source, const double* xs, int count, double y, const double* directions, View* out) const;
    // The screening at `hz` for a path difference in metres (0 for a negative one), dB.
    double ScreeningDB(double detour, double hz) const;

    // What every source brings to one point before its processing: per source and line
    // index, the complex pressure (0 outside the source's bands).
    struct PointField
    {
        double x = 0.0, y = 0.0;
        std::vector<View> views;
        std::vector<std::array<std::complex<double>, kLineCount>> lines;
    };
    PointField FieldAt(double x, double y) const;

    // What a listening point receives.
    struct Levels
    {
        BandLevels bands {};     // dB per band index; -infinity for a band no source radiates
        double z = 0.0;          // broadband, unweighted
        double a = 0.0;          // broadband, A-weighted
    };
    // The levels at a point with the given processing per source (one entry per source, in
    // the order of GetSources), without reading the design: the pressures are taken once
    // by FieldAt and any number of processing sets tried on them.
    Levels Combine(const PointField& field, const std::vector<Processing>& processing) const;
    // The sources' own processing.
    std::vector<Processing> DesignProcessing() const;
    // The plain evaluation: each term one std::complex, as the formulas read.
    Levels Evaluate(double x, double y) const;

    // A virtual microphone at (x, y): the levels and what each source contributes.
    struct ProbeBand
    {
        double hz;
        std::string label;
        double db;
    };
    struct ProbeSource
    {
        int position;
        double distanceM;
        double delayMs;          // arrival time: the distance over c plus the source's delay
        double z;                // the source's own L_Z
    };
    struct ProbeResult
    {
        double xIn, yIn;
        std::vector<ProbeBand> bands; // one per band present
        double z, a;
        std::vector<ProbeSource> sources;
    };
    ProbeResult Probe(double x, double y) const;

    //==========================================================================
    // Per line index: the frequency (Hz), the wave number (rad/m), the air's absorption
    // (dB/m) and the directivity weight; per band index the A-weighting (dB); per source
    // and line index the pressure at 1 m on axis before the processing, the filter
    // included (0 outside the source's bands).
    double LineHz(int line) const { return lineHz[(size_t) line]; }
    double WaveNumber(int line) const { return waveNumber[(size_t) line]; }
    double Absorption(int line) const { return absorption[(size_t) line]; }
    double Weight(int line) const { return weight[(size_t) line]; }
    double AWeight(int index) const { return aWeight[(size_t) index]; }
    std::complex<double> Pressure(size_t source, int line) const { return pressure[source][(size_t) line]; }

private:
    using LineValues = std::array<double, kLineCount>;

    CAirModel air;
    std::vector<Source> sources;
    std::vector<Screen> screens;
    double speedOfSound;
    LineValues lineHz {};
    LineValues waveNumber {};
    LineValues absorption {};
    LineValues weight {};
    BandLevels aWeight {};
    std::array<bool, kBandCount> present {};
    std::vector<std::array<std::complex<double>, kLineCount>> pressure;
    std::vector<double> axisLevel;  // per source, its polar table on axis
    // Per source, its polar table by angle, each angle once (its first entry) and without
    // angles that are not numbers: PolarLevel's answer found by halving instead of a scan.
    std::vector<std::vector<std::pair<double, double>>> sortedPolar;

    View ViewWith(size_t source, double x, double y, double direction) const;
    double Direction(size_t source, double x, double y) const;
};
