#pragma once
// The band sums of a CBandModel prepared for evaluating many points: per source and line
// the constants taken once (the design's processing included), the eight lines of a band
// worked together in vector registers with branch-free polynomials for the sines, cosines,
// exponentials and the screening's square roots (to about 1e-10 at worst, far inside what a
// level in dB shows). CBandModel::Evaluate is the plain form of
// the same sums. Immutable once built; any number of threads may evaluate it, and a value
// never depends on which thread or in which order it was computed.

#include "engine/CBandModel.h"

#include <array>
#include <memory>

class CBandKernel
{
public:
    using BandValues = CBandModel::BandLevels;

    // Every band the model's sources radiate.
    explicit CBandKernel(const CBandModel& model);
    // Only band index `onlyBand` (0 ... 25); the other bands stay 0.
    CBandKernel(const CBandModel& model, int onlyBand);

    // Band energies at (x, y) inches: the mean over each band's lines of |sum|^2; 0 for a
    // band no source radiates.
    BandValues Energies(double x, double y) const;
    // L_Z and L_A at (x, y).
    void Broadband(double x, double y, double& z, double& a) const;
    // For i < count: 10 log10 of the sum over the bands of weights[n] times band n's energy at
    // (xs[i], y); -infinity where that is 0.
    void Levels(const double* xs, int count, double y, const BandValues& weights, double* out) const;

    // Writes BandZ and BandA (L_Z and L_A at ear height above the sample) into every
    // SplPoint of venue 1 from the design as it stands (GUI thread).
    static void WriteSurfaceLevels();

    // The A-weighting of each band index as a power factor.
    const BandValues& AWeights() const { return aWeights; }

    struct Terms;

private:
    std::shared_ptr<const Terms> terms;
    BandValues aWeights {};
};
