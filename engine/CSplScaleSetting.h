#pragma once
// The SPL colour scale as part of the design: venue 1 keeps the scale's bottom and top (dB)
// and whether the scale follows the levels on show (automatic), in its SplScale element, so
// that they are saved and loaded with the venue and the array file. GUI message thread only.

#include <string>

class CBandView;

namespace SplScaleSetting
{
// The scale as it is shown: venue 1's SplScale element as printed ("" when the venue keeps
// none) and the SPL manager's ends. It is a view of the design, not part of it: undo and
// redo leave it as it is, unless the step itself changed the element (a load).
struct Shown
{
    std::string element;
    double bottom = 0.0;
    double top = 0.0;
};
Shown Capture();
// Gives venue 1 the element of `shown` in place of its own (where the venue keeps its own,
// otherwise at its end; none: the venue keeps none), and the SPL manager its ends.
void Put(const Shown& shown);

// Writes the SPL manager's scale into the venue, keeping the automatic flag.
void StoreScale();
// Whether the scale follows the levels on show: as the venue says, and so when it keeps
// no scale at all (its scale was never moved).
bool IsAutomatic();
void SetAutomatic(bool automatic);
// While the scale is automatic, gives the SPL manager the range of the venue's levels in
// `view`, the view shown (all of them: a picture that shows only part of the venue narrows
// it), rounded out to whole dB and at least 1 dB apart. False when the scale is not
// automatic or the venue holds no level.
bool FollowVenueLevels(const CBandView& view);
// `low` and `high` rounded out to whole dB, at least 1 dB apart and within the levels a
// stored scale may hold (VenueLimits); false unless both are finite and in order.
bool RoundOut(double& low, double& high);
// Gives the SPL manager the venue's scale when the venue holds one whose ends are finite
// and in order; otherwise the scale is left as it is and the answer is false.
bool Restore();
}
