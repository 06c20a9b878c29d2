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

// A text where the engine reads a number, named.
struct NotANumber
{
    std::string what;
};

int ReadInt(CXmlNode* node, int defaultValue, const std::string& what)
{
    try
    {
        return node->GetInt(defaultValue);
    }
    catch (const std::runtime_error&)
    {
        throw NotANumber { what };
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
        throw NotANumber { where + " " + Tag::Line };
    }
    const std::string refusal = VenueLimits::CheckAreaLine(*line);
    return refusal.empty() ? refusal : where + " " + Tag::Line + ": " + refusal;
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

std::string VenueLimits::CheckAreaEdit(const CLine& current, const std::string& key, double value)
{
    if (! std::isfinite(value))
        return key + " = " + Show(value) + " is refused: it must be a finite number";
    CLine edited = current;
    edited.SetByKey(key, value);
    const std::string refusal = CheckAreaLine(edited);
    return refusal.empty() ? refusal : key + " = " + Show(value) + " is refused: " + refusal;
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
        return e.what + " holds text where a number belongs";
    }
}
