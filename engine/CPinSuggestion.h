#pragma once
// The coverage suggestion: for every pick pin of array 1, the spread, median and coverage of
// the audience levels in the quantity the view shows, and the pin that covers the audience
// most evenly. Trying the pins leaves the documents exactly as they were; nothing changes
// until the caller applies the suggested pin as an ordinary pick-pin command.
// GUI message thread only (it recomputes the documents in place while it runs).

#include "engine/CBandView.h"

#include <functional>
#include <optional>
#include <vector>

class CXmlNode;

struct PinCoverage
{
    int pin = 0;
    double spread = 0.0;   // P(0.9) - P(0.1); +infinity with no finite level
    double median = 0.0;   // P(0.5); NaN with no finite level
    double coverage = 0.0; // share of finite levels within +-3 dB of the median; NaN with none
    double min = 0.0;
    double max = 0.0;
};

class CPinSuggestion
{
public:
    // The level a sample shows in the current view, read from one SplPoint element of the
    // recomputed venue (Classic: its PressureDB). Must not write to the document.
    using SampleLevel = std::function<double(CXmlNode* splPoint)>;

    //==========================================================================
    // Tries every pin from SlotPin's Min to Max with everything recomputed, then puts the
    // design back as it was. The levels are the quantity `view` shows.
    static CPinSuggestion Compute(const CBandView& view);
    // The same with each sample's level read by `levelOf`.
    static CPinSuggestion Compute(const SampleLevel& levelOf);

    // The statistics of one pin's audience levels (any order, non-finite ones ignored).
    static PinCoverage Summarise(int pin, std::vector<double> levels);
    // Of the pins whose spread is within 0.01 dB of the smallest, the one with the highest
    // median, the lower pin on a tie; none when no spread is finite.
    static std::optional<int> Choose(const std::vector<PinCoverage>& pins);
    // The levels of every audience sample (areas after the stage) of venue 1 as it stands.
    static std::vector<double> AudienceLevels(const SampleLevel& levelOf);
    // Classic: the sample's PressureDB.
    static double ClassicLevel(CXmlNode* splPoint);

private:
    // The audience levels of the design as it stands, asked once per pin.
    using PinLevels = std::function<std::vector<double>()>;
    static CPinSuggestion TryEveryPin(const PinLevels& levelsOf);

public:

    //==========================================================================
    CBandView view; // Classic when the levels came from a SampleLevel
    std::vector<PinCoverage> pins;
    std::optional<int> best;
};
