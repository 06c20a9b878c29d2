#pragma once
// The band prediction: one complex pressure sum per third-octave band over the sources of
// the design, each with its distance phase, a line-piston directivity and the air's
// absorption; the bands then added by energy, unweighted (Z) and A-weighted.
//
// Bands are numbered n = -13 ... 12 (centre 1000 x 10^(n / 10) Hz, 50 Hz ... 16 kHz) and
// indexed 0 ... 25 in arrays. Positions are inches in the section frame; distances in the
// results are metres. A model is an immutable snapshot: FromDesign reads the documents on
// the GUI thread, after which a model may be evaluated from any number of threads.

#include "engine/CAirModel.h"

#include <array>
#include <string>
#include <vector>

class CBandModel
{
public:
    static constexpr int kFirstBand = -13;
    static constexpr int kLastBand = 12;
    static constexpr int kBandCount = kLastBand - kFirstBand + 1;
    // Bands from this one up (2 kHz) follow a full-range module's HF shading.
    static constexpr int kFirstShadedBand = 3;
    static constexpr double kMetresPerInch = 0.0254;
    // Distances are limited below to this, in metres.
    static constexpr double kMinDistance = 0.01;

    using BandLevels = std::array<double, kBandCount>;

    // The exact centre of band n, Hz.
    static double BandCentre(int n);
    // "50", "63", ... "800", "1k", "1.25k", ... "16k".
    static const std::string& BandLabel(int n);
    // The band whose label is `label`; false when there is none.
    static bool BandOfLabel(const std::string& label, int& n);
    // A-weighting in dB at `hz`.
    static double AWeighting(double hz);

    //==========================================================================
    // One radiating cabinet as the design describes it.
    struct Source
    {
        int position = 0;        // cabinet position in the array
        double x = 0.0;          // acoustic centre, inches
        double y = 0.0;
        double angle = 0.0;      // added to the direction of a listener: its axis points at -angle
        double height = 0.0;     // radiating height of the front, inches
        int bandLow = kFirstBand;
        int bandHigh = kLastBand;
        double onAxisDB = 0.0;   // broadband on-axis level at 1 m
        int shading = 1;         // HF shading mode: 2 single, 3 long, others nothing
    };

    // The level of a source in band n on its axis at 1 m, before the air: its share of
    // OnAxisDB and the shading.
    static double BandLevelAtOneMetre(const Source& source, int n);

    CBandModel(const CAirModel& air, std::vector<Source> sources);
    // The cabinets of array 1 whose catalogue product has Acoustics, placed from the first
    // hang point of venue 1 (the origin without one), in the air of venue 1. Throws
    // std::runtime_error naming the value when the venue's air is out of its range.
    static CBandModel FromDesign();

    const CAirModel& GetAir() const { return air; }
    double GetSpeedOfSound() const { return speedOfSound; }
    const std::vector<Source>& GetSources() const { return sources; }
    // Whether any source radiates band index i.
    bool IsBandPresent(int index) const { return present[(size_t) index]; }

    //==========================================================================
    // What a listening point receives.
    struct Levels
    {
        BandLevels bands {};     // dB per band index; -infinity for a band no source radiates
        double z = 0.0;          // broadband, unweighted
        double a = 0.0;          // broadband, A-weighted
    };
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
        double delayMs;
        double z;                // the source's own bands, amplitudes squared and added
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
    // Per band index: the wave number (rad/m), the air's absorption (dB/m) and the
    // A-weighting (dB); per source and band index: the pressure amplitude at 1 m before
    // directivity and air (0 outside the source's range).
    double WaveNumber(int index) const { return waveNumber[(size_t) index]; }
    double Absorption(int index) const { return absorption[(size_t) index]; }
    double AWeight(int index) const { return aWeight[(size_t) index]; }
    double Amplitude(size_t source, int index) const { return amplitude[source][(size_t) index]; }

private:
    // The distance of (x, y) from the source in metres (limited below) and the sine of
    // its angle off the source's axis.
    static void Geometry(const Source& source, double x, double y, double& r, double& sinTheta);
    // The real amplitude of source m in band n at that distance and angle: its level at
    // 1 m, the directivity, the spreading and the air.
    double TermAmplitude(size_t m, int n, double r, double sinTheta) const;

    CAirModel air;
    std::vector<Source> sources;
    double speedOfSound;
    BandLevels centre {};
    BandLevels waveNumber {};
    BandLevels absorption {};
    BandLevels aWeight {};
    std::array<bool, kBandCount> present {};
    std::vector<BandLevels> amplitude;
};
