#pragma once
// What colours the surfaces and the field: the classic level (the default), the band
// prediction's broadband level unweighted or A-weighted, or the level of one band.
// Written "Classic", "Band Z", "Band A", "Band 4k"; also read as "BandZ", "BandA" and
// "Band:4k" (the band labels of CBandModel). A small value type.

#include <string>

class CBandModel;
class CXmlNode;

class CBandView
{
public:
    enum class Kind { Classic, BandZ, BandA, Band };

    CBandView() = default;
    static CBandView Classic() { return CBandView(Kind::Classic, 0); }
    static CBandView BandZ() { return CBandView(Kind::BandZ, 0); }
    static CBandView BandA() { return CBandView(Kind::BandA, 0); }
    // Band n, -13 ... 12.
    static CBandView OneBand(int n) { return CBandView(Kind::Band, n); }

    // False, leaving `view` alone, when `text` names no view. Reads both spellings below.
    static bool Parse(const std::string& text, CBandView& view);
    // As the window shows it: Classic, Band Z, Band A, Band 4k.
    std::string ToString() const;
    // As commands and command lines take it: Classic, BandZ, BandA, Band:4k.
    std::string ToCompactString() const;

    Kind GetKind() const { return kind; }
    // The band of a one-band view.
    int GetBand() const { return band; }
    bool operator==(const CBandView& other) const { return kind == other.kind && band == other.band; }
    bool operator!=(const CBandView& other) const { return ! (*this == other); }

    // The shown quantity at a surface sample (an SplPoint element written by the last
    // recompute): its PressureDB, BandZ or BandA; for one band, `model` evaluated at the
    // sample's listening point. A band no source radiates is -infinity.
    double ValueAt(CXmlNode* splPoint, const CBandModel& model) const;

private:
    CBandView(Kind k, int n) : kind(k), band(n) {}

    Kind kind = Kind::Classic;
    int band = 0;
};
