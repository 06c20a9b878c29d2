#include "engine/CSPLManager.h"

#include "base/CLine.h"
#include "base/CPoint.h"
#include "base/CReportError.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "engine/HfShading.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <typeinfo>

const std::string CSPLManager::kPolarFileName = "SPLPolarData.xml";

namespace
{

struct PolarRow
{
    double angle;
    double pressureDB;
};

// On-axis-normalised level at 1 m of the full-range module, every 7.5 degrees.
constexpr PolarRow kFullRangePolar[] = {
    { 0.0, 123.5 },  { 7.5, 120.9 },  { 15.0, 117.2 }, { 22.5, 115.0 }, { 30.0, 113.3 },
    { 37.5, 112.2 }, { 45.0, 111.5 }, { 52.5, 110.3 }, { 60.0, 111.6 }, { 67.5, 109.1 },
    { 75.0, 108.0 }, { 82.5, 107.2 }, { 90.0, 106.3 }, { 97.5, 105.8 },
};

constexpr double kSampleSpacing = 24.0;   // inches between samples along a surface
// A 500 m surface is still sampled every 24 inches; a longer one more sparsely.
constexpr double kMaxSamplesPerSurface = 1000.0;

juce::ColourGradient* masterGradient = nullptr;
juce::PixelARGB* gradientTable = nullptr;

// A new sample with its values in the order they are printed. Made whole at once: a value
// looked up before it exists searches the forward links through every sibling sample,
// which made a long surface quadratic.
CXmlNode* AddSample(CXmlNode* lineNode, int slot)
{
    CXmlNode* sample = lineNode->AddChild(Tag::SplPoint);
    sample->AddChild(Tag::Slot)->SetInt(slot);
    for (const std::string* tag : { &Tag::PressureDB, &Tag::BandZ, &Tag::BandA, &Tag::LDist, &Tag::Render, &Tag::X,
                                    &Tag::Y, &Tag::Angle, &Tag::Dist })
        sample->AddChild(*tag);
    return sample;
}

// Sample `slot` of `lineNode`, found or made. The samples are kept in slot order: while they
// are (`inOrder`), the one after `previous` is the next one, and past the last a new one
// goes at the end, without searching the list from its start.
CXmlNode* NextSample(CXmlNode* lineNode, CXmlNode* previous, int slot, bool& inOrder)
{
    CXmlNode* next = previous == nullptr ? lineNode->FindChild(Tag::SplPoint) : lineNode->FindChild(Tag::SplPoint, previous);
    if (inOrder && next->IsNull())
        return AddSample(lineNode, slot);
    if (inOrder)
    {
        CXmlNode* slotNode = next->FindChild(Tag::Slot);
        if (slotNode->HasValue() && slotNode->GetInt(0) == slot)
            return next;
    }
    inOrder = false;
    CXmlNode* found = lineNode->FindChildByInt(Tag::SplPoint, Tag::Slot, slot);
    return found->IsNull() ? AddSample(lineNode, slot) : found;
}

double InchesToMetres(double inches)
{
    return inches / 12.0 * 0.3048;
}

void WriteRenderHint(CXmlNode* element)
{
    CXmlNode* render = element->GetChild(Tag::Render);
    render->SetString(Tag::Line);
    render->GetChild(Tag::Slot)->SetInt(1);
    render->GetChild(Tag::Target)->SetString(Tag::SplList);
}
}

//==============================================================================
CSPLManager::CSPLManager() : polarDocument(std::make_unique<CXmlDocument>())
{
    BuildDefaultPolars();
}

CSPLManager::~CSPLManager()
{
    // The file only records the table; a failed write must not stop the shutdown.
    try
    {
        if (polarDocument != nullptr)
            polarDocument->Save(kPolarFileName);
    }
    catch (...)
    {
    }
    ReleaseGradient();
}

void CSPLManager::BuildDefaultPolars()
{
    CXmlNode* polar = polarDocument->GetRoot(Tag::Root)->GetChild(Tag::PolarList)
                          ->GetChildByString(Tag::Polar, Tag::Model, Tag::Model_DRXR1);
    CXmlNode* list = polar->GetChild(Tag::SplayList);
    for (const PolarRow& row : kFullRangePolar)
        list->GetChildByDouble(Tag::Splay, Tag::Angle, row.angle)->GetChild(Tag::PressureDB)->SetDouble(row.pressureDB);
}

//==============================================================================
CXmlDocument* CSPLManager::GetPolarDocument()
{
    if (polarDocument == nullptr)
    {
        polarDocument = std::make_unique<CXmlDocument>();
        polarDocument->GetRoot(Tag::Root)->GetChild(Tag::PolarList);
    }
    return polarDocument.get();
}

CSPLPolar CSPLManager::GetPolar(const std::string& model)
{
    if (model == Tag::None)
        CReportError::GetInstance()->ReportFatalError("Error: No model name provided for polar data request.");
    return CSPLPolar(GetPolarDocument()->GetRoot(Tag::Root)->FindChild(Tag::PolarList)
                         ->FindChildByString(Tag::Polar, Tag::Model, model));
}

double CSPLManager::PolarLevel(const CSPLPolar& polar, double angle, double distance)
{
    const double a = std::fabs(angle);
    CXmlNode* list = polar.GetNode()->FindChild(Tag::SplayList);

    CXmlNode* lower = nullptr;
    CXmlNode* upper = nullptr;
    double lowerAngle = 0.0;
    double upperAngle = 0.0;
    for (CXmlNode* splay = list->FindChild(Tag::Splay); ! splay->IsNull(); splay = list->FindChild(Tag::Splay, splay))
    {
        const double entryAngle = splay->FindChild(Tag::Angle)->GetDouble(0.0);
        if (entryAngle <= a && (lower == nullptr || entryAngle > lowerAngle))
        {
            lower = splay;
            lowerAngle = entryAngle;
        }
        if (entryAngle >= a && (upper == nullptr || entryAngle < upperAngle))
        {
            upper = splay;
            upperAngle = entryAngle;
        }
    }

    auto pressureOf = [](CXmlNode* entry) { return entry->FindChild(Tag::PressureDB)->GetDouble(100.0); };
    double level = 100.0;
    if (lower == nullptr)
        level = upper != nullptr ? pressureOf(upper) : 100.0;
    else if (upper == nullptr || upper == lower)
        level = pressureOf(lower);
    else
    {
        const double lowerLevel = pressureOf(lower);
        level = lowerLevel + (a - lowerAngle) / (upperAngle - lowerAngle) * (pressureOf(upper) - lowerLevel);
    }
    return level - 20.0 * std::log10(InchesToMetres(distance));
}

//==============================================================================
CPoint* CSPLManager::GetHangPosition()
{
    if (hangPosition == nullptr)
        hangPosition = std::make_unique<CPoint>();
    return hangPosition.get();
}

bool CSPLManager::TakeHangPositionFrom(CVenueAreaWrap& area)
{
    if (area.GetNode()->FindChild(Tag::Type)->GetString(Tag::None) != Tag::HangPoint)
        return false;
    const CLine* line = area.GetNode()->GetChild(Tag::Line)->GetLine();
    GetHangPosition()->x = line->x1;
    GetHangPosition()->y = line->y1;
    return true;
}

void CSPLManager::TakeHangPosition()
{
    CVenueDataWrap venue(CVenueManager::GetInstance()->GetVenue(1));
    for (int i = venue.GetAreaTotal(); i >= 1; --i)
    {
        CVenueAreaWrap area;
        venue.GetArea(area, i);
        if (TakeHangPositionFrom(area))
            return;
    }
}

void CSPLManager::ComputeAreaSpl()
{
    CVenueDataWrap venue(CVenueManager::GetInstance()->GetVenue(1));
    for (int i = 1; i <= venue.GetAreaTotal(); ++i)
    {
        CVenueAreaWrap area;
        venue.GetArea(area, i);
        if (! TakeHangPositionFrom(area))
        {
            CXmlNode* lineNode = area.GetNode()->GetChild(Tag::Line);
            SampleLine(lineNode, *lineNode->GetLine());
        }
    }
}

void CSPLManager::SampleArea(CVenueAreaWrap& area)
{
    CXmlNode* lineNode = area.GetNode()->GetChild(Tag::Line);
    SampleLine(lineNode, *lineNode->GetLine());
}

void CSPLManager::SampleLine(CXmlNode* lineNode, const CLine& line)
{
    // A surface without a finite length cannot be walked; one absurdly long is sampled
    // more sparsely so that a recompute stays bounded.
    int slot = 1;
    double along = 0.0;
    CXmlNode* previous = nullptr;
    bool inOrder = true;
    if (std::isfinite(line.length))
    {
        const double spacing = std::max(kSampleSpacing, line.length / kMaxSamplesPerSurface);
        for (;;)
        {
            CPoint surface;
            const bool last = line.PointAlong(along, surface);
            CPoint listener;
            listener.x = surface.x;
            listener.y = surface.y + kEarHeight;

            const double level = SplAt(listener);
            runningMinimum = std::min(runningMinimum, level);
            runningMaximum = std::max(runningMaximum, level);

            CXmlNode* sample = NextSample(lineNode, previous, slot, inOrder);
            previous = sample;
            CPoint* position = sample->GetPoint();
            position->x = surface.x;
            position->y = surface.y;
            position->angle = 0.0;
            position->distance = 1.0;
            sample->GetChild(Tag::PressureDB)->SetDouble(level);
            // Their places beside the classic level; the band prediction's pass fills them.
            sample->GetChild(Tag::BandZ);
            sample->GetChild(Tag::BandA);
            sample->GetChild(Tag::LDist)->SetDouble(line.length != 0.0 ? along / line.length : 0.0);
            WriteRenderHint(sample);

            ++slot;
            if (last)
                break;
            along += spacing;
        }
    }
    else
    {
        along = line.length;
    }

    CXmlNode* total = lineNode->GetChild(Tag::SplTotal);
    total->GetChild(Tag::Total)->SetInt(slot - 1);
    total->GetChild(Tag::LDist)->SetDouble(along);
    WriteRenderHint(total);
}

double CSPLManager::SplAt(const CPoint& listener)
{
    CArrayLineWrap array(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
    const int positions = array.GetTotal();

    double pressure = 0.0;
    for (int i = 1; i <= positions; ++i)
    {
        CArrayProdWrap product = array.GetCab(i).GetProduct();
        if (product.GetCatalogueProduct()->FindChild(Tag::Type)->GetString("") == Tag::Flybar)
            continue;

        double distance = 0.0;
        double angle = 0.0;
        product.DistanceAndAngleTo(listener, *GetHangPosition(), distance, angle);

        CSPLPolar polar = GetPolar(product.GetModel());
        if (polar.GetNode()->IsNull())
            continue;

        const int shading = product.GetNode()->FindChild(Tag::Switch2)->FindChild(Tag::Value)->GetInt(1);
        const double level = PolarLevel(polar, angle, distance) + HfShadingDB(shading);
        pressure += std::pow(10.0, level / 20.0);
    }
    return 20.0 * std::log10(pressure);
}


void CSPLManager::StoreSplRange()
{
    CXmlNode* metaMore = CVenueManager::GetInstance()->GetVenue(1)->GetChild(Tag::RenderSpec)
                             ->GetChild(Tag::RenderItem)->GetChild(Tag::MetaMore);
    metaMore->GetChild(Tag::SplMin)->SetDouble(runningMinimum);
    metaMore->GetChild(Tag::SplMax)->SetDouble(runningMaximum);
}

//==============================================================================
void CSPLManager::SetScale(double bottom, double top)
{
    scaleBottom = bottom;
    scaleTop = top;
}

int CSPLManager::ColourIndex(double level, double bottom, double top)
{
    if (std::isnan(level) || top == bottom)
        return 0;
    const double scaled = (level - bottom) / (top - bottom) * kGradientEntries;
    // Limited before the conversion, so that no value outside the int range is converted.
    if (std::isnan(scaled) || scaled <= 0.0)
        return 0;
    if (scaled >= kGradientEntries - 1)
        return kGradientEntries - 1;
    return (int) scaled;
}

unsigned int CSPLManager::ColourOf(double level) const
{
    if (level < scaleBottom)
        return kBelowScaleColour;
    return juce::Colour(GetGradientTable()[ColourIndex(level, scaleBottom, scaleTop)]).getARGB();
}

juce::ColourGradient* CSPLManager::GetMasterGradient()
{
    if (masterGradient != nullptr)
        return masterGradient;

    masterGradient = new (std::nothrow) juce::ColourGradient();
    if (masterGradient == nullptr)
        CReportError::GetInstance()->ReportFatalError("Error in SplManager: Could not allocate memory for master colour gradient.");

    const juce::uint8 stops[7][3] = {
        { 0, 0, 0 }, { 128, 0, 64 }, { 0, 0, 255 }, { 0, 128, 64 }, { 210, 210, 0 }, { 255, 128, 0 }, { 255, 0, 0 },
    };
    // The positions are sums of sixths, so the last stop lies just below 1.
    double position = 0.0;
    for (const auto& rgb : stops)
    {
        masterGradient->addColour(position, juce::Colour(rgb[0], rgb[1], rgb[2]));
        position += 0.16666666666666666;
    }
    masterGradient->point1 = { 0.0f, 0.0f };
    masterGradient->point2 = { 2000.0f, 2000.0f };
    masterGradient->isRadial = false;
    return masterGradient;
}

const juce::PixelARGB* CSPLManager::GetGradientTable()
{
    if (gradientTable == nullptr)
    {
        // (7 - 1) x 256 entries: the framework's count for seven stops on a gradient line
        // longer than 512 pixels. The table is filled by the framework's own routine.
        juce::ColourGradient* gradient = GetMasterGradient();
        gradientTable = new (std::nothrow) juce::PixelARGB[kGradientEntries];
        if (gradientTable == nullptr)
            CReportError::GetInstance()->ReportFatalError("Error in SplManager: Could not allocate memory for master colour gradient index.");
        gradient->createLookupTable(gradientTable, kGradientEntries);
    }
    return gradientTable;
}

void CSPLManager::ReleaseGradient()
{
    delete[] gradientTable;
    gradientTable = nullptr;
    delete masterGradient;
    masterGradient = nullptr;
}
