#include "venue/VenueLimits.h"

#include "base/CLine.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

namespace
{
std::string Show(double value)
{
    std::ostringstream out;
    out << value;
    return out.str();
}

std::string CheckCoordinate(const std::string& what, double value)
{
    if (std::isfinite(value) && std::fabs(value) <= VenueLimits::kMaxCoordinate)
        return {};
    return what + " is " + Show(value) + "; coordinates and lengths must be within ±"
           + Show(VenueLimits::kMaxCoordinate) + " inches";
}

// A text where the engine reads a number: the message naming the element and the text.
struct NotANumber
{
    std::string what;
};

double ReadDouble(CXmlNode* node, double defaultValue, const std::string& what)
{
    try
    {
        return node->GetDouble(defaultValue);
    }
    catch (const std::runtime_error&)
    {
        throw NotANumber { what + " holds '" + node->GetString("") + "' where a number belongs" };
    }
}

// An element written without a number (`<ConvLBaseX />`) leaves the default in place.
bool HoldsNumber(CXmlNode* node)
{
    if (node->IsNull() || ! node->HasValue())
        return false;
    return node->GetValueType() != CXmlNode::kString || node->GetString("").find_first_not_of(" \t\r\n") != std::string::npos;
}

bool IsRenderOffset(const std::string& tag)
{
    for (const std::string* offset : { &Tag::ConvBaseX, &Tag::ConvBaseY, &Tag::ConvLBaseX, &Tag::ConvLBaseY,
                                       &Tag::ConvGBaseX, &Tag::ConvGBaseY })
        if (tag == *offset)
            return true;
    return false;
}

// The stored scale, when the venue keeps one.
std::string CheckStoredScale(CXmlNode* venue, const std::string& name)
{
    CXmlNode* scale = venue->FindChild(Tag::SplScale);
    CXmlNode* bottom = scale->FindChild(Tag::Bottom);
    CXmlNode* top = scale->FindChild(Tag::Top);
    if (! HoldsNumber(bottom) || ! HoldsNumber(top))
        return {};
    const std::string what = name + " " + Tag::SplScale;
    const double low = ReadDouble(bottom, 0.0, what + "/" + Tag::Bottom);
    const double high = ReadDouble(top, 0.0, what + "/" + Tag::Top);
    const std::string refusal = VenueLimits::CheckSplScale(low, high);
    return refusal.empty() ? refusal : what + ": " + refusal;
}

int ReadInt(CXmlNode* node, int defaultValue, const std::string& what)
{
    try
    {
        return node->GetInt(defaultValue);
    }
    catch (const std::runtime_error&)
    {
        throw NotANumber { what + " holds '" + node->GetString("") + "' where a whole number belongs" };
    }
}

// The count under `parent`/Total, read as the engine reads it.
std::string CheckTotal(CXmlNode* parent, const std::string& what, int high)
{
    return VenueLimits::CheckCount(what, ReadInt(parent->FindChild(Tag::Total), 0, what), 0, high);
}

std::string CheckArea(CXmlNode* area, const std::string& where)
{
    ReadInt(area->FindChild(Tag::Visible), 1, where + " " + Tag::Visible);
    const std::string count = CheckTotal(area->FindChild(Tag::InterList),
                                         where + " " + Tag::InterList + "/" + Tag::Total, VenueLimits::kMaxIntersections);
    if (! count.empty())
        return count;
    const CLine* line = nullptr;
    try
    {
        line = area->FindChild(Tag::Line)->GetLine();
    }
    catch (const std::runtime_error&)
    {
        throw NotANumber { where + " " + Tag::Line + " holds text where a number belongs" };
    }
    const std::string refusal = VenueLimits::CheckAreaLine(*line);
    return refusal.empty() ? refusal : where + " " + Tag::Line + ": " + refusal;
}

std::string CheckOffsetsUnder(CXmlNode* node, const std::string& where)
{
    for (CXmlNode* child = node->FindChild(""); ! child->IsNull(); child = child->NextSibling(""))
    {
        const std::string tag = child->GetName();
        std::string refusal;
        if (IsRenderOffset(tag) && HoldsNumber(child))
        {
            const double value = ReadDouble(child, 0.0, where + " " + tag);
            refusal = CheckCoordinate(tag, value);
            if (! refusal.empty())
                refusal = where + " " + refusal;
        }
        else
        {
            refusal = CheckOffsetsUnder(child, where);
        }
        if (! refusal.empty())
            return refusal;
    }
    return {};
}
} // namespace

std::string VenueLimits::CheckCount(const std::string& what, int value, int low, int high)
{
    if (value >= low && value <= high)
        return {};
    return what + " is " + std::to_string(value) + "; it must be from " + std::to_string(low) + " to "
           + std::to_string(high);
}

std::string VenueLimits::CheckAreaLine(const CLine& line)
{
    const struct { const char* what; double value; } coordinates[] = {
        { "the start X", line.x1 }, { "the start Y", line.y1 }, { "the end X", line.x2 },
        { "the end Y", line.y2 },   { "the length", line.length },
    };
    for (const auto& c : coordinates)
    {
        const std::string refusal = CheckCoordinate(c.what, c.value);
        if (! refusal.empty())
            return refusal;
    }
    if (! (std::fabs(line.angle) <= VenueLimits::kMaxAngle))
        return "the angle is " + Show(line.angle) + "; angles must be within ±" + Show(VenueLimits::kMaxAngle)
               + " degrees";
    return {};
}

std::string VenueLimits::CheckAreaEdit(const CLine& current, const std::string& key, double value, const std::string& typed)
{
    const std::string shown = key + " = " + (typed.empty() ? Show(value) : typed);
    if (! std::isfinite(value))
        return shown + " is refused: it lies beyond any venue (coordinates and lengths must be within ±"
               + Show(kMaxCoordinate) + " inches)";
    CLine edited = current;
    edited.SetByKey(key, value);
    const std::string refusal = CheckAreaLine(edited);
    return refusal.empty() ? refusal : shown + " is refused: " + refusal;
}

std::string VenueLimits::CheckSplScale(double bottom, double top)
{
    if (std::isfinite(bottom) && std::isfinite(top) && bottom >= kMinSplLevel && top <= kMaxSplLevel
        && top - bottom >= kMinSplSpan)
        return {};
    return "the SPL scale runs from " + Show(bottom) + " to " + Show(top) + " dB; it must lie within "
           + Show(kMinSplLevel) + " to " + Show(kMaxSplLevel) + " dB with its top at least " + Show(kMinSplSpan)
           + " dB above its bottom";
}

std::string VenueLimits::CheckRenderOffsets(CXmlNode* node, const std::string& where)
{
    try
    {
        return CheckOffsetsUnder(node, where);
    }
    catch (const NotANumber& e)
    {
        return e.what;
    }
}

std::string VenueLimits::CheckVenues(CXmlNode* root)
{
    try
    {
        for (CXmlNode* venue = root->FindChild(Tag::Venue); ! venue->IsNull(); venue = venue->NextSibling(Tag::Venue))
        {
            const int venueSlot = ReadInt(venue->FindChild(Tag::Slot), 1, Tag::Venue + "/" + Tag::Slot);
            const std::string name = Tag::Venue + " " + std::to_string(venueSlot);
            CXmlNode* areaList = venue->FindChild(Tag::AreaList);
            std::string refusal = CheckTotal(areaList, name + " " + Tag::AreaList + "/" + Tag::Total, kMaxAreas);
            if (refusal.empty())
                refusal = CheckTotal(venue->FindChild(Tag::AimStuff), name + " " + Tag::AimStuff + "/" + Tag::Total, kMaxAimLines);
            if (refusal.empty())
                refusal = CheckStoredScale(venue, name);
            if (refusal.empty())
                refusal = CheckRenderOffsets(venue->FindChild(Tag::RenderSpec), name + " " + Tag::RenderSpec);
            for (CXmlNode* area = areaList->FindChild(Tag::Area); refusal.empty() && ! area->IsNull();
                 area = area->NextSibling(Tag::Area))
            {
                const int slot = ReadInt(area->FindChild(Tag::Slot), 0, name + " " + Tag::Area + "/" + Tag::Slot);
                refusal = CheckArea(area, name + " " + Tag::Area + " " + std::to_string(slot));
            }
            if (! refusal.empty())
                return refusal;
        }
        return {};
    }
    catch (const NotANumber& e)
    {
        return e.what;
    }
}
