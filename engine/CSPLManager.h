#pragma once
// The predicted sound-pressure level: owns the polar document (the built-in table of the
// full-range module, written to "SPLPolarData.xml" when destroyed), samples the SPL along
// every venue surface into the venue document, keeps the running range of a recompute
// and the colour scale, and holds the master colour gradient with its 1536-entry table.
// Created on first use, destroyed at shutdown; GUI message thread only.

#include "base/CPoint.h"
#include "base/TemplateSingleton.h"
#include "engine/CSPLPolar.h"
#include "xml/CXmlDocument.h"

#include <memory>
#include <string>

class CLine;
class CVenueAreaWrap;

namespace juce
{
class ColourGradient;
class PixelARGB;
}

class CSPLManager : public TemplateSingleton<CSPLManager>
{
public:
    static constexpr int kGradientEntries = 1536;
    // Listening height above a surface, inches.
    static constexpr double kEarHeight = 48.0;
    static const std::string kPolarFileName;

    //==========================================================================
    CSPLManager();
    CSPLManager(const CSPLManager&) = delete;
    CSPLManager& operator=(const CSPLManager&) = delete;
    // Writes "SPLPolarData.xml" and releases the colour gradient buffers.
    virtual ~CSPLManager();

    //==========================================================================
    // Polar data
    CXmlDocument* GetPolarDocument();
    // The table of `model`, bound to the null node when it has none; "None" is a fatal error.
    CSPLPolar GetPolar(const std::string& model);
    // dB of one module at `distance` inches, `angle` degrees off its axis (either side).
    double PolarLevel(const CSPLPolar& polar, double angle, double distance);

    //==========================================================================
    // Sampling along venue 1. The recompute resets the running range, then calls
    // ComputeAreaSpl and StoreSplRange.
    void ComputeAreaSpl();
    // Writes Line/SplPoint (one per 24 inches, the last at the end; beside the classic
    // PressureDB the places of the band prediction's BandZ and BandA, which
    // CBandKernel::WriteSurfaceLevels fills) and Line/SplTotal.
    // Lines longer than 2000 samples are walked more sparsely; one whose length is not
    // finite gets no samples.
    void SampleArea(CVenueAreaWrap& area);
    // The coherent sum over the full-range modules of array 1 at `listener` (venue
    // inches); -infinity when no module contributes.
    double SplAt(const CPoint& listener);
    // Venue 1's RenderSpec/RenderItem/MetaMore/SplMin and SplMax from the running range.
    void StoreSplRange();

    void SetRunningMinimum(double level) { runningMinimum = level; }
    void SetRunningMaximum(double level) { runningMaximum = level; }
    double GetRunningMinimum() const { return runningMinimum; }
    double GetRunningMaximum() const { return runningMaximum; }

    // Start of the venue's hang-point line, the origin of the array's geometry; created
    // at (0, 0) when no hang point has been seen yet.
    CPoint* GetHangPosition();
    // Sets the hang position as ComputeAreaSpl leaves it (the start of the last hang-point
    // line of venue 1), without sampling: for a design whose levels are already computed.
    void TakeHangPosition();

    //==========================================================================
    // Colour scale: the levels drawn black (bottom) and red (top).
    double GetScaleBottom() const { return scaleBottom; }
    double GetScaleTop() const { return scaleTop; }
    void SetScale(double bottom, double top);

    // Entry of the gradient table for `level` on the scale bottom..top: 0 at or below
    // the bottom, 1535 at or above the top. Well defined for every input: NaN and
    // -infinity give 0, +infinity 1535, a scale whose top equals its bottom 0.
    static int ColourIndex(double level, double bottom, double top);
    // The colour of `level` on this manager's scale, as 0xAARRGGBB; below the bottom, a
    // pale slate that neither the scale nor the picture's dark background uses.
    unsigned int ColourOf(double level) const;
    static constexpr unsigned int kBelowScaleColour = 0xff9aa4b8u;

    // The seven-stop master gradient, black through blue, green and yellow to red;
    // created on first use and kept until DestroyInstance.
    static juce::ColourGradient* GetMasterGradient();
    // The master gradient's lookup table of kGradientEntries colours.
    static const juce::PixelARGB* GetGradientTable();

private:
    static void ReleaseGradient();
    void BuildDefaultPolars();
    void SampleLine(CXmlNode* lineNode, const CLine& line);
    // When `area` is a hang point, its line's start becomes the hang position (true).
    bool TakeHangPositionFrom(CVenueAreaWrap& area);

    std::unique_ptr<CPoint> hangPosition;
    double runningMinimum = 1e9;
    double runningMaximum = 0.0;
    double scaleBottom = 110.0;
    double scaleTop = 120.0;
    std::unique_ptr<CXmlDocument> polarDocument;
};
