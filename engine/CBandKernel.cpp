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
// for its magnitude, directivity and air loss together. Through the C library, one term at a time,
// these are nearly all of it. Here the lines of one band of a source are taken together
// in vector registers (two to eight, as the processor has them), the transcendental
// functions are range-reduced polynomials without branches (the sign of a phase reduced by
// pi goes into the amplitude, so no quadrant is sorted out), and what depends on the point
// only (distance, angle off axis, screening path) is worked out once per source.

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

// The larger of a and b lane by lane, b where either is not a number (the processor's own
// maximum: one instruction where the comparison and selection it stands for are two). The
// wide forms exist only where the vectors are that wide: the versions for processors with
// AVX and AVX-512 alone use them.
template <typename Real>
DRX_INLINE Real Max(const Real& a, const Real& b)
{
#if defined(__x86_64__)
    Real m;
    if constexpr (sizeof(Real) == 16)
        m = (Real) __builtin_ia32_maxpd(a, b);
    else
        asm("vmaxpd %2, %1, %0" : "=v"(m) : "v"(a), "v"(b));
    return m;
#else
    return a > b ? a : b;
#endif
}

// 1.5 x 2^52: adding it to a double below 2^51 in size rounds that to an integer, which
// then sits in the low bits of the sum's representation.
constexpr double kShifter = 6755399441055744.0;

// pi in two parts, the first of 33 bits: q times it is exact for |q| < 2^20 even without a
// fused multiply-add, so phases up to three million radians (some 10 km at 16 kHz) lose
// nothing in the reduction.
constexpr double kPi1 = 3.14159265346825122834e+00;
constexpr double kPi2 = 1.21542010122643383280e-10;

// sin(x) and cos(x) up to a common sign: x less the nearest multiple q of pi, then minimax
// polynomials on -pi/2 ... pi/2 (to 6e-13 and 3e-12). The true values are the returned ones
// times (-1)^q; `sign` holds that as a sign bit, for the caller to put into a factor it
// multiplies both with, which is cheaper than exchanging and negating by quadrant.
template <typename Real, typename Bits>
DRX_INLINE void SinCos(const Real& x, Real& sine, Real& cosine, Bits& sign)
{
    const Real shifted = x * Splat<Real>(M_1_PI) + Splat<Real>(kShifter);
    const Real q = shifted - Splat<Real>(kShifter);
    sign = (Bits) shifted << 63;
    Real r = x - q * Splat<Real>(kPi1);
    r = r - q * Splat<Real>(kPi2);

    const Real z = r * r;
    Real s = Splat<Real>(1.5548374585528741979e-10);
    s = s * z + Splat<Real>(-2.5039750804645967113e-8);
    s = s * z + Splat<Real>(2.7557191231376200999e-6);
    s = s * z + Splat<Real>(-1.9841269320967424065e-4);
    s = s * z + Splat<Real>(8.333333332755376093e-3);
    s = s * z + Splat<Real>(-1.666666666666608881e-1);
    sine = r + r * z * s;

    Real c = Splat<Real>(2.0043838536512216694e-9);
    c = c * z + Splat<Real>(-2.7534343177601691189e-7);
    c = c * z + Splat<Real>(2.4801294209817043898e-5);
    c = c * z + Splat<Real>(-1.3888887196551059145e-3);
    c = c * z + Splat<Real>(4.1666666630901727741e-2);
    c = c * z + Splat<Real>(-0.49999999999877453052);
    cosine = c * z + Splat<Real>(1.0);
}

// e^t to about 1e-12 relative: t = k ln 2 + w with |w| <= ln 2 / 2, e^w by a minimax
// polynomial of degree 8, 2^k put into the exponent bits. Below -700 (a loss of some 3000 dB,
// or a zero) the result is e^-700.
template <typename Real, typename Bits>
DRX_INLINE Real Exp(const Real& exponent)
{
    const Real t = Max(Splat<Real>(-700.0), exponent);
    // The shifter with the exponent's bias added leaves k + 1023 (13 ... 2046) in the low
    // bits, where a shift moves it into the exponent field of 2^k.
    constexpr double biasedShifter = kShifter + 1023.0;
    const Real shifted = t * Splat<Real>(M_LOG2E) + Splat<Real>(biasedShifter);
    const Real k = shifted - Splat<Real>(biasedShifter);
    // |k| is at most about 1010: k ln 2 rounded once is off by less than 1e-13.
    const Real w = t - k * Splat<Real>(M_LN2);

    // Horner's scheme: fewer operations than splitting the chain, and the terms of
    // neighbouring groups keep the processor busy while one waits on its chain.
    Real p = Splat<Real>(2.4876164023056921743e-5);
    p = p * w + Splat<Real>(1.9915866927213871105e-4);
    p = p * w + Splat<Real>(1.3888821677629586686e-3);
    p = p * w + Splat<Real>(8.3332660979488375135e-3);
    p = p * w + Splat<Real>(4.1666666890957003107e-2);
    p = p * w + Splat<Real>(1.6666666891045780484e-1);
    p = p * w + Splat<Real>(4.9999999999797934401e-1);
    p = p * w + Splat<Real>(0.99999999997978516655);
    p = p * w + Splat<Real>(1.0);
    return p * (Real) ((Bits) shifted << 52);
}

// 1 / sqrt(x) for x of at least 1 (a screening's argument is at least 3) to some 3e-11
// (3e-10 dB): a first guess, then Newton steps, each squaring the error. With AVX-512 the
// processor's estimate (within 2^-14) needs two steps; elsewhere the guess from the bit
// pattern (within 3.5 %) needs three.
template <typename Real, typename Bits>
DRX_INLINE Real InverseSqrt(const Real& x)
{
    Real y;
    int steps = 3;
#if defined(__x86_64__)
    if constexpr (sizeof(Real) == 64)
    {
        asm("vrsqrt14pd %1, %0" : "=v"(y) : "v"(x));
        steps = 2;
    }
    else
#endif
        y = (Real) ((Bits {} + 0x5FE6EB50C7B537A9ULL) - ((Bits) x >> 1));
    const Real half = Splat<Real>(0.5) * x;
    for (int step = 0; step < steps; ++step)
        y = y * (Splat<Real>(1.5) - half * y * y);
    return y;
}

// atan2(y, x) to within some 4e-16 radians of the C library's: the larger of |x| and |y| over
// the other, above tan(pi/8) as pi/4 + atan((lo - hi) / (lo + hi)), so that one division
// does and the minimax polynomial of atan (degree 19, error 6e-17) stays within tan(pi/8);
// then the octant and the sign put back. Lanes where both are zero or either is not finite
// are for the caller to take from the library.
template <typename Real, typename Bits>
DRX_INLINE Real Atan2(const Real& y, const Real& x)
{
    const Bits signBit = Bits {} + 0x8000000000000000ULL;
    const Real ax = (Real) ((Bits) x & ~signBit);
    const Real ay = (Real) ((Bits) y & ~signBit);
    const Real lo = ax < ay ? ax : ay;
    const Real hi = ax < ay ? ay : ax;
    const auto upper = lo > Splat<Real>(0.41421356237309504880) * hi;
    const Real u = (upper ? lo - hi : lo) / (upper ? lo + hi : hi);
    const Real z = u * u;
    Real g = Splat<Real>(0.0227505269774885769691);
    g = g * z + Splat<Real>(-0.0448333462111296469602);
    g = g * z + Splat<Real>(0.0573633216555559805745);
    g = g * z + Splat<Real>(-0.0664961369523425674406);
    g = g * z + Splat<Real>(0.0769105515838771445377);
    g = g * z + Splat<Real>(-0.0909085255717574854249);
    g = g * z + Splat<Real>(0.111111096365343521393);
    g = g * z + Splat<Real>(-0.14285714266096617774);
    g = g * z + Splat<Real>(0.199999999998984081288);
    g = g * z + Splat<Real>(-0.333333333333332462497);
    Real angle = u + u * z * g;
    angle = upper ? angle + Splat<Real>(M_PI_4) : angle;
    angle = ay > ax ? Splat<Real>(M_PI_2) - angle : angle;
    angle = x < Splat<Real>(0.0) ? Splat<Real>(M_PI) - angle : angle;
    return (Real) ((Bits) angle | ((Bits) y & signBit));
}

// The eight lines of one band of one source.
struct TermGroup
{
    alignas(64) double logMagnitude[kGroupLanes]; // ln of the pressure at 1 m on axis, filter and gain included
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

// One source's lines at one point added into re and im, `Lanes` lines at a time.
template <int Lanes, bool Screened>
DRX_INLINE void AddSource(const TermGroup* group, size_t groupCount, const CBandModel::View& view, double* re, double* im)
{
    using Real = typename Vector<Lanes>::Real;
    using Bits = typename Vector<Lanes>::Bits;
    const Real distance = Splat<Real>(view.r);
    const Real spreading = Splat<Real>(1.0 / view.r);
    const Real offAxis = Splat<Real>(view.offAxisDB);
    const Real detour = Splat<Real>(view.detour);

    for (size_t g = 0; g < groupCount; ++g, ++group)
        for (int lane = 0; lane < kGroupLanes; lane += Lanes)
        {
            // The amplitude as one exponential: ln of the magnitude, the directivity and the
            // air's loss added up in nepers.
            Real sinPhase, cosPhase;
            Bits sign;
            SinCos<Real, Bits>(Load<Real>(group->waveNumber + lane) * distance + Load<Real>(group->phase + lane),
                               sinPhase, cosPhase, sign);
            Real a = spreading
                     * Exp<Real, Bits>(Load<Real>(group->weight + lane) * offAxis
                                       + Load<Real>(group->logMagnitude + lane) - Load<Real>(group->loss + lane) * distance);
            a = (Real) ((Bits) a ^ sign);
            if constexpr (Screened)
            {
                // 10^(-S / 20) with S = min(20, 10 log10(3 + 20 z f / c)).
                const Real factor = InverseSqrt<Real, Bits>(Splat<Real>(3.0) + detour * Load<Real>(group->screen + lane));
                a = a * Max(Splat<Real>(0.1), factor);
            }

            double* reAt = re + group->firstLine + lane;
            double* imAt = im + group->firstLine + lane;
            Store(reAt, Load<Real>(reAt) + a * cosPhase);
            Store(imAt, Load<Real>(imAt) - a * sinPhase);
        }
}

// The complex sum of every line at one point into re and im (kLineCount each); viewOf(j) is
// the point seen from the j-th source of the terms.
template <int Lanes, typename ViewOfSource>
DRX_INLINE void SumLines(const Terms& terms, const ViewOfSource& viewOf, double* re, double* im)
{
    std::fill(re, re + CBandModel::kLineCount, 0.0);
    std::fill(im, im + CBandModel::kLineCount, 0.0);
    for (size_t j = 0; j < terms.sources.size(); ++j)
    {
        const SourceTerms& s = terms.sources[j];
        const CBandModel::View& view = viewOf(j);
        const TermGroup* group = terms.groups.data() + s.firstGroup;
        if (view.detour >= 0.0)
            AddSource<Lanes, true>(group, s.groupCount, view, re, im);
        else
            AddSource<Lanes, false>(group, s.groupCount, view, re, im);
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
    SumLines<Lanes>(
        terms, [&](size_t j) { return terms.model.ViewOf(terms.sources[j].source, x, y); }, re, im);
    BandEnergies(re, im, energies);
}

// Every source's view of every point of a row into views (source j's at j * count): the
// directions from the sources `Lanes` points at a time, the rest per point by the model.
template <int Lanes>
DRX_INLINE void RowViews(const Terms& terms, const double* xs, int count, double y, CBandModel::View* views)
{
    using Real = typename Vector<Lanes>::Real;
    using Bits = typename Vector<Lanes>::Bits;
    const int padded = (count + Lanes - 1) / Lanes * Lanes;
    std::vector<double> directions((size_t) padded);
    for (size_t j = 0; j < terms.sources.size(); ++j)
    {
        const size_t m = terms.sources[j].source;
        const CBandModel::Source& source = terms.model.GetSources()[m];
        const double* given = nullptr;
        if (! source.polar.empty())
        {
            const double dy = y - source.y;
            for (int k = 0; k < padded; k += Lanes)
            {
                double dx[Lanes];
                for (int lane = 0; lane < Lanes; ++lane)
                    dx[lane] = xs[std::min(k + lane, count - 1)] - source.x;
                Store(directions.data() + k, Atan2<Real, Bits>(Splat<Real>(dy), Load<Real>(dx)));
            }
            for (int k = 0; k < count; ++k)
            {
                const double dx = xs[k] - source.x;
                if (! (dx != 0.0 || dy != 0.0) || ! std::isfinite(dx) || ! std::isfinite(dy))
                    directions[(size_t) k] = std::atan2(dy, dx);
            }
            given = directions.data();
        }
        terms.model.ViewsAlong(m, xs, count, y, given, views + j * (size_t) count);
    }
}

template <int Lanes>
DRX_INLINE void LevelsWith(const Terms& terms, const double* xs, int count, double y, const double* weights, double* out)
{
    if (count <= 0)
        return;
    alignas(64) double re[CBandModel::kLineCount];
    alignas(64) double im[CBandModel::kLineCount];
    double energies[CBandModel::kBandCount];
    std::vector<CBandModel::View> views(terms.sources.size() * (size_t) count);
    RowViews<Lanes>(terms, xs, count, y, views.data());
    for (int k = 0; k < count; ++k)
    {
        SumLines<Lanes>(
            terms, [&](size_t j) -> const CBandModel::View& { return views[j * (size_t) count + (size_t) k]; }, re, im);
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
                group.logMagnitude[lane] = std::log(std::abs(pressure) * gain);
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
