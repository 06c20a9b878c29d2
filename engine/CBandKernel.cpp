#include "engine/CBandKernel.h"

#include "base/CPoint.h"
#include "engine/CSPLManager.h"
#include "venue/CVenueDataWrap.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <limits>
#include <vector>

// Where the time of a band map goes: some 1400 complex terms per point (8 lines in each
// band of each source), each needing the sine and cosine of its phase and one exponential
// for its directivity and air loss together. Through the C library, one term at a time,
// these are nearly all of it. Here the lines of one band of a source are taken together
// in vector registers (two to eight, as the processor has them), the transcendental
// functions are range-reduced polynomials without branches, and what depends on the
// point only (distance, angle off axis, screening path) is worked out once per source.

// The vector helpers are inlined and never cross a call boundary, so the calling
// convention for wide vectors on processors without them does not matter.
#pragma GCC diagnostic ignored "-Wpsabi"

namespace
{
// The lines of one band of one source make a group; narrower vectors take it in parts.
constexpr int kGroupLanes = CBandModel::kLinesPerBand;

template <int Lanes>
struct Vector
{
    typedef double Real __attribute__((vector_size(Lanes * 8)));
    typedef unsigned long long Bits __attribute__((vector_size(Lanes * 8)));
};

#define DRX_INLINE __attribute__((always_inline)) inline

template <typename Real>
DRX_INLINE Real Splat(double v)
{
    return Real {} + v;
}

template <typename Real>
DRX_INLINE Real Load(const double* p)
{
    Real v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <typename Real>
DRX_INLINE void Store(double* p, const Real& v)
{
    std::memcpy(p, &v, sizeof v);
}

// 1.5 x 2^52: adding it to a double below 2^51 in size rounds that to an integer, which
// then sits in the low bits of the sum's representation.
constexpr double kShifter = 6755399441055744.0;

// pi / 2 in three parts of 33, 33 and 53 bits: q times either of the first two is exact for
// |q| < 2^20, so phases up to a million radians (some 5 km at 16 kHz) lose nothing in the
// reduction; beyond, the error grows to a few 1e-10 radians at 10 million.
constexpr double kHalfPi1 = 1.57079632673412561417e+00;
constexpr double kHalfPi2 = 6.07710050630396597660e-11;
constexpr double kHalfPi3 = 2.02226624879595063154e-21;

// sin(x) and cos(x): x less a multiple q of pi / 2, then the minimax polynomials on
// -pi/4 ... pi/4, exchanged and negated by q mod 4.
template <typename Real, typename Bits>
DRX_INLINE void SinCos(const Real& x, Real& sine, Real& cosine)
{
    const Real shifted = x * Splat<Real>(M_2_PI) + Splat<Real>(kShifter);
    const Real q = shifted - Splat<Real>(kShifter);
    const Bits quadrant = (Bits) shifted;
    Real r = x - q * Splat<Real>(kHalfPi1);
    r = r - q * Splat<Real>(kHalfPi2);
    r = r - q * Splat<Real>(kHalfPi3);

    const Real z = r * r;
    Real s = Splat<Real>(1.58962301576546568060e-10);
    s = s * z + Splat<Real>(-2.50507477628578072866e-8);
    s = s * z + Splat<Real>(2.75573136213857245213e-6);
    s = s * z + Splat<Real>(-1.98412698295895385996e-4);
    s = s * z + Splat<Real>(8.33333333332211858878e-3);
    s = s * z + Splat<Real>(-1.66666666666666307295e-1);
    s = r + r * z * s;

    Real c = Splat<Real>(-1.13585365213876817300e-11);
    c = c * z + Splat<Real>(2.08757008419747316778e-9);
    c = c * z + Splat<Real>(-2.75573141792967388112e-7);
    c = c * z + Splat<Real>(2.48015872888517045348e-5);
    c = c * z + Splat<Real>(-1.38888888888730564116e-3);
    c = c * z + Splat<Real>(4.16666666666665929218e-2);
    c = Splat<Real>(1.0) - Splat<Real>(0.5) * z + z * z * c;

    // All ones where q is odd: picks the other polynomial without a 64-bit comparison,
    // which processors before SSE4.1 do not have.
    const Bits odd = Bits {} - (quadrant & 1);
    const Real sineBase = (Real) (((Bits) c & odd) | ((Bits) s & ~odd));
    const Real cosineBase = (Real) (((Bits) s & odd) | ((Bits) c & ~odd));
    sine = (Real) ((Bits) sineBase ^ ((quadrant & 2) << 62));
    cosine = (Real) ((Bits) cosineBase ^ (((quadrant + 1) & 2) << 62));
}

// e^t for t up to some hundreds (a loss, or a polar table that lifts a direction above its
// axis) to about 3e-13 relative: t = k ln 2 + w with |w| <= ln 2 / 2, e^w by its Taylor
// series to w^10, 2^k put into the exponent bits. Below -700 (a loss of some 3000 dB) the
// result is e^-700.
constexpr double kLn2High = 6.93147180369123816490e-01;
constexpr double kLn2Low = 1.90821492927058770002e-10;

template <typename Real, typename Bits>
DRX_INLINE Real ExpNonPositive(const Real& exponent)
{
    const Real t = exponent < Splat<Real>(-700.0) ? Splat<Real>(-700.0) : exponent;
    const Real shifted = t * Splat<Real>(M_LOG2E) + Splat<Real>(kShifter);
    const Real k = shifted - Splat<Real>(kShifter);
    const Bits powerOfTwo = (Bits) shifted - (Bits) Splat<Real>(kShifter);
    const Real w = (t - k * Splat<Real>(kLn2High)) - k * Splat<Real>(kLn2Low);

    Real p = Splat<Real>(1.0 / 3628800.0);
    p = p * w + Splat<Real>(1.0 / 362880.0);
    p = p * w + Splat<Real>(1.0 / 40320.0);
    p = p * w + Splat<Real>(1.0 / 5040.0);
    p = p * w + Splat<Real>(1.0 / 720.0);
    p = p * w + Splat<Real>(1.0 / 120.0);
    p = p * w + Splat<Real>(1.0 / 24.0);
    p = p * w + Splat<Real>(1.0 / 6.0);
    p = p * w + Splat<Real>(0.5);
    p = p * w + Splat<Real>(1.0);
    p = p * w + Splat<Real>(1.0);
    return p * (Real) ((powerOfTwo + 1023) << 52);
}

// 1 / sqrt(x) for x of at least 1 (a screening's argument is at least 3): the first guess
// from the bit pattern (within 3.5 %), then three Newton steps, each squaring the error, to
// some 3e-11 (3e-10 dB).
template <typename Real, typename Bits>
DRX_INLINE Real InverseSqrt(const Real& x)
{
    Real y = (Real) ((Bits {} + 0x5FE6EB50C7B537A9ULL) - ((Bits) x >> 1));
    const Real half = Splat<Real>(0.5) * x;
    for (int step = 0; step < 3; ++step)
        y = y * (Splat<Real>(1.5) - half * y * y);
    return y;
}

// The eight lines of one band of one source.
struct TermGroup
{
    alignas(64) double magnitude[kGroupLanes];  // pressure at 1 m on axis, filter and gain included
    alignas(64) double phase[kGroupLanes];      // added to k r: the delay's, less the filter's and the polarity's
    alignas(64) double waveNumber[kGroupLanes]; // rad/m
    alignas(64) double weight[kGroupLanes];     // the directivity weight in nepers per dB off axis
    alignas(64) double loss[kGroupLanes];       // the air's absorption in nepers per metre
    alignas(64) double screen[kGroupLanes];     // 20 f / c: times the detour, the screening's argument
    int firstLine;                              // line index of the first lane
};

struct SourceTerms
{
    size_t source;                              // in the model
    size_t firstGroup, groupCount;
};
} // namespace

struct CBandKernel::Terms
{
    explicit Terms(const CBandModel& m) : model(m) {}

    CBandModel model;
    std::vector<SourceTerms> sources;
    std::vector<TermGroup> groups;
};

namespace
{
using Terms = CBandKernel::Terms;

// The complex sum of every line at (x, y) inches into re and im (kLineCount each), `Lanes`
// lines at a time.
template <int Lanes>
DRX_INLINE void SumLines(const Terms& terms, double x, double y, double* re, double* im)
{
    using Real = typename Vector<Lanes>::Real;
    using Bits = typename Vector<Lanes>::Bits;
    std::fill(re, re + CBandModel::kLineCount, 0.0);
    std::fill(im, im + CBandModel::kLineCount, 0.0);
    for (const SourceTerms& s : terms.sources)
    {
        const CBandModel::View view = terms.model.ViewOf(s.source, x, y);
        const Real distance = Splat<Real>(view.r);
        const Real spreading = Splat<Real>(1.0 / view.r);
        const Real offAxis = Splat<Real>(view.offAxisDB);
        const bool screened = view.detour >= 0.0;
        const Real detour = Splat<Real>(view.detour);

        const TermGroup* group = terms.groups.data() + s.firstGroup;
        for (size_t g = 0; g < s.groupCount; ++g, ++group)
        {
            for (int lane = 0; lane < kGroupLanes; lane += Lanes)
            {
                Real sinPhase, cosPhase;
                SinCos<Real, Bits>(Load<Real>(group->waveNumber + lane) * distance + Load<Real>(group->phase + lane),
                                   sinPhase, cosPhase);
                Real a = Load<Real>(group->magnitude + lane) * spreading
                         * ExpNonPositive<Real, Bits>(Load<Real>(group->weight + lane) * offAxis
                                                      - Load<Real>(group->loss + lane) * distance);
                if (screened)
                {
                    // 10^(-S / 20) with S = min(20, 10 log10(3 + 20 z f / c)).
                    const Real factor = InverseSqrt<Real, Bits>(Splat<Real>(3.0) + detour * Load<Real>(group->screen + lane));
                    a = a * (factor < Splat<Real>(0.1) ? Splat<Real>(0.1) : factor);
                }

                double* reAt = re + group->firstLine + lane;
                double* imAt = im + group->firstLine + lane;
                Store(reAt, Load<Real>(reAt) + a * cosPhase);
                Store(imAt, Load<Real>(imAt) - a * sinPhase);
            }
        }
    }
}

// The band energies: the mean of |sum|^2 over each band's lines.
DRX_INLINE void BandEnergies(const double* re, const double* im, double* energies)
{
    for (int i = 0; i < CBandModel::kBandCount; ++i)
    {
        double energy = 0.0;
        for (int k = 0; k < CBandModel::kLinesPerBand; ++k)
        {
            const int line = i * CBandModel::kLinesPerBand + k;
            energy += re[line] * re[line] + im[line] * im[line];
        }
        energies[i] = energy / CBandModel::kLinesPerBand;
    }
}

template <int Lanes>
DRX_INLINE void EnergiesWith(const Terms& terms, double x, double y, double* energies)
{
    alignas(64) double re[CBandModel::kLineCount];
    alignas(64) double im[CBandModel::kLineCount];
    SumLines<Lanes>(terms, x, y, re, im);
    BandEnergies(re, im, energies);
}

template <int Lanes>
DRX_INLINE void LevelsWith(const Terms& terms, const double* xs, int count, double y, const double* weights, double* out)
{
    alignas(64) double re[CBandModel::kLineCount];
    alignas(64) double im[CBandModel::kLineCount];
    double energies[CBandModel::kBandCount];
    for (int k = 0; k < count; ++k)
    {
        SumLines<Lanes>(terms, xs[k], y, re, im);
        BandEnergies(re, im, energies);
        double energy = 0.0;
        for (int i = 0; i < CBandModel::kBandCount; ++i)
            energy += weights[i] * energies[i];
        out[k] = 10.0 * std::log10(energy);
    }
}

// The two entry points come in versions for every x86-64 processor (two bands to an SSE2
// register), for those with AVX2 and FMA (four) and for those with AVX-512 (eight); the
// best one the processor runs is picked once, when the program loads. A group is taken in
// parts as wide as the registers, so that every value of a part stays in a register;
// fused multiply-adds halve the polynomials' chains.
// Clang (the sanitizer build) knows no "arch=" targets for multiversioning: it builds the
// portable version only.
#if defined(__x86_64__) && defined(__GNUC__) && ! defined(__clang__)
#define DRX_TARGET(isa) __attribute__((target(isa)))

DRX_TARGET("default")
void EnergiesAt(const Terms& terms, double x, double y, double* energies)
{
    EnergiesWith<2>(terms, x, y, energies);
}

DRX_TARGET("arch=x86-64-v3")
void EnergiesAt(const Terms& terms, double x, double y, double* energies)
{
    EnergiesWith<4>(terms, x, y, energies);
}

DRX_TARGET("arch=x86-64-v4")
void EnergiesAt(const Terms& terms, double x, double y, double* energies)
{
    EnergiesWith<8>(terms, x, y, energies);
}

DRX_TARGET("default")
void LevelsAlong(const Terms& terms, const double* xs, int count, double y, const double* weights, double* out)
{
    LevelsWith<2>(terms, xs, count, y, weights, out);
}

DRX_TARGET("arch=x86-64-v3")
void LevelsAlong(const Terms& terms, const double* xs, int count, double y, const double* weights, double* out)
{
    LevelsWith<4>(terms, xs, count, y, weights, out);
}

DRX_TARGET("arch=x86-64-v4")
void LevelsAlong(const Terms& terms, const double* xs, int count, double y, const double* weights, double* out)
{
    LevelsWith<8>(terms, xs, count, y, weights, out);
}
#else
void EnergiesAt(const Terms& terms, double x, double y, double* energies)
{
    EnergiesWith<2>(terms, x, y, energies);
}

void LevelsAlong(const Terms& terms, const double* xs, int count, double y, const double* weights, double* out)
{
    LevelsWith<2>(terms, xs, count, y, weights, out);
}
#endif

std::shared_ptr<const Terms> BuildTerms(const CBandModel& model, int onlyBand)
{
    auto terms = std::make_shared<Terms>(model);
    const double c = model.GetSpeedOfSound();
    const std::vector<CBandModel::Source>& sources = model.GetSources();
    constexpr double kNepersPerDB = M_LN10 / 20.0;
    for (size_t m = 0; m < sources.size(); ++m)
    {
        const CBandModel::Source& source = sources[m];
        int low = source.bandLow - CBandModel::kFirstBand;
        int high = source.bandHigh - CBandModel::kFirstBand;
        if (onlyBand >= 0)
        {
            if (onlyBand < low || onlyBand > high)
                continue;
            low = high = onlyBand;
        }

        const CBandModel::Processing& p = source.processing;
        const double gain = std::pow(10.0, p.gainDB / 20.0);
        SourceTerms s { m, terms->groups.size(), 0 };
        for (int band = low; band <= high; ++band)
        {
            TermGroup group {};
            group.firstLine = band * CBandModel::kLinesPerBand;
            for (int lane = 0; lane < kGroupLanes; ++lane)
            {
                const int line = group.firstLine + lane;
                const std::complex<double> pressure = model.Pressure(m, line);
                const double f = model.LineHz(line);
                group.magnitude[lane] = std::abs(pressure) * gain;
                group.phase[lane] = 2.0 * M_PI * f * p.delayMs / 1000.0 - std::arg(pressure) - (p.inverted ? M_PI : 0.0);
                group.waveNumber[lane] = model.WaveNumber(line);
                group.weight[lane] = model.Weight(line) * kNepersPerDB;
                group.loss[lane] = model.Absorption(line) * kNepersPerDB;
                group.screen[lane] = 20.0 * f / c;
            }
            terms->groups.push_back(group);
            ++s.groupCount;
        }
        terms->sources.push_back(s);
    }
    return terms;
}
} // namespace

//==============================================================================
CBandKernel::CBandKernel(const CBandModel& model) : CBandKernel(model, -1)
{
}

CBandKernel::CBandKernel(const CBandModel& model, int onlyBand) : terms(BuildTerms(model, onlyBand))
{
    for (int i = 0; i < CBandModel::kBandCount; ++i)
        aWeights[(size_t) i] = std::pow(10.0, model.AWeight(i) / 10.0);
}

CBandKernel::BandValues CBandKernel::Energies(double x, double y) const
{
    BandValues energies {};
    EnergiesAt(*terms, x, y, energies.data());
    return energies;
}

void CBandKernel::Broadband(double x, double y, double& z, double& a) const
{
    const BandValues energies = Energies(x, y);
    double unweighted = 0.0;
    double weighted = 0.0;
    for (size_t i = 0; i < energies.size(); ++i)
    {
        unweighted += energies[i];
        weighted += energies[i] * aWeights[i];
    }
    z = 10.0 * std::log10(unweighted);
    a = 10.0 * std::log10(weighted);
}

void CBandKernel::Levels(const double* xs, int count, double y, const BandValues& weights, double* out) const
{
    LevelsAlong(*terms, xs, count, y, weights.data(), out);
}

void CBandKernel::WriteSurfaceLevels()
{
    const CBandKernel band(CBandModel::FromDesign());
    CVenueDataWrap(CVenueManager::GetInstance()->GetVenue(1)).ForEachSplPoint(1, [&band](CXmlNode* sample) {
        const CPoint* at = sample->GetPoint();
        double z = 0.0, a = 0.0;
        band.Broadband(at->x, at->y + CSPLManager::kEarHeight, z, a);
        sample->GetChild(Tag::BandZ)->SetDouble(z);
        sample->GetChild(Tag::BandA)->SetDouble(a);
    });
}
