#include "report/CRiggingSummary.h"

#include "array/CArrayManager.h"
#include "array/CArrayProdWrap.h"
#include "base/CLine.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace
{
double NumberOf(CXmlNode* node)
{
    const bool holds = ! node->IsNull() && node->HasValue()
                       && (node->GetValueType() != CXmlNode::kString || ! node->GetString("").empty());
    return holds ? node->GetDouble(0.0) : std::nan("");
}

std::string TypeOf(CXmlNode* area)
{
    CXmlNode* type = area->FindChild(Tag::Type);
    return type->IsNull() ? std::string() : type->GetString("");
}

// The visible areas of venue 1 in slot order.
std::vector<CXmlNode*> Areas()
{
    std::vector<std::pair<int, CXmlNode*>> found;
    CXmlNode* list = CVenueManager::GetInstance()->GetVenue(1)->FindChild(Tag::AreaList);
    for (CXmlNode* area = list->FindChild(Tag::Area); ! area->IsNull(); area = area->NextSibling(Tag::Area))
    {
        const double slot = NumberOf(area->FindChild(Tag::Slot));
        found.emplace_back(std::isfinite(slot) ? (int) slot : 0, area);
    }
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<CXmlNode*> areas;
    for (const auto& entry : found)
        areas.push_back(entry.second);
    return areas;
}

// The floor's height under x: along its line, its nearer end beyond it.
double FloorHeightAt(const CLine* floor, double x)
{
    if (floor == nullptr)
        return 0.0;
    const double left = std::min(floor->x1, floor->x2);
    const double right = std::max(floor->x1, floor->x2);
    const double at = std::clamp(x, left, right);
    if (right - left < 1e-9)
        return std::max(floor->y1, floor->y2);
    return floor->y1 + (floor->y2 - floor->y1) * (at - floor->x1) / (floor->x2 - floor->x1);
}
}

CRiggingSummary CRiggingSummary::Read()
{
    CXmlNode* array = CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind);
    CXmlNode* info = array->FindChild(Tag::ArrayInfo);
    CXmlNode* cg = array->FindChild(Tag::AssemblyCGInfo)->FindChild(Tag::CG);

    CRiggingSummary rigging;
    rigging.weight = NumberOf(array->FindChild(Tag::Weight));
    rigging.cgX = NumberOf(cg->FindChild(Tag::X));
    rigging.cgY = NumberOf(cg->FindChild(Tag::Y));
    const double pin = NumberOf(info->FindChild(Tag::SlotPin)->FindChild(Tag::Value));
    rigging.pin = std::isfinite(pin) ? (int) pin : 0;
    rigging.arrayAngle = NumberOf(info->FindChild(Tag::Angle));

    CXmlNode* pins = array->FindChild(Tag::PinList);
    for (CXmlNode* p = pins->FindChild(Tag::Pin); ! p->IsNull(); p = p->NextSibling(Tag::Pin))
    {
        const double slot = NumberOf(p->FindChild(Tag::Slot));
        rigging.pinAngles.emplace_back(std::isfinite(slot) ? (int) slot : 0, NumberOf(p->FindChild(Tag::Angle)));
    }
    std::stable_sort(rigging.pinAngles.begin(), rigging.pinAngles.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    const double none = std::nan("");
    rigging.hangX = rigging.hangY = none;
    const CLine* floor = nullptr;
    rigging.venueLeft = rigging.venueBottom = std::numeric_limits<double>::infinity();
    rigging.venueRight = rigging.venueTop = -std::numeric_limits<double>::infinity();
    for (CXmlNode* area : Areas())
    {
        const std::string type = TypeOf(area);
        CXmlNode* lineNode = area->FindChild(Tag::Line);
        if (lineNode->IsNull())
            continue;
        const CLine* line = lineNode->GetLine();
        if (type == Tag::HangPoint)
        {
            if (! std::isfinite(rigging.hangX))
            {
                rigging.hangX = line->x1;
                rigging.hangY = line->y1;
            }
            continue;
        }
        if (type == Tag::Area && floor == nullptr)
            floor = line;
        rigging.venueLeft = std::min({ rigging.venueLeft, line->x1, line->x2 });
        rigging.venueRight = std::max({ rigging.venueRight, line->x1, line->x2 });
        rigging.venueBottom = std::min({ rigging.venueBottom, line->y1, line->y2 });
        rigging.venueTop = std::max({ rigging.venueTop, line->y1, line->y2 });
    }
    if (! std::isfinite(rigging.venueLeft))
        rigging.venueLeft = rigging.venueRight = rigging.venueBottom = rigging.venueTop = none;

    // The cabinets' corners hang from the hang point (the origin without one), as the
    // prediction places them.
    const double originX = std::isfinite(rigging.hangX) ? rigging.hangX : 0.0;
    const double originY = std::isfinite(rigging.hangY) ? rigging.hangY : 0.0;
    double top = -std::numeric_limits<double>::infinity();
    double bottom = std::numeric_limits<double>::infinity();
    double topX = 0.0, bottomX = 0.0;
    CXmlNode* cabs = array->FindChild(Tag::CabList);
    for (CXmlNode* cab = cabs->FindChild(Tag::Cab); ! cab->IsNull(); cab = cab->NextSibling(Tag::Cab))
    {
        CArrayProdWrap product = CArrayManager::GetInstance()->FindProductByXGuid(
            cab->FindChild(Tag::TargetXGuid)->GetString(""));
        if (product.IsNull() || ! product.IsInUse())
            continue;
        CXmlNode* corners = product.GetNode()->FindChild(Tag::CGInfo);
        for (const std::string* corner : { &Tag::UR, &Tag::LR, &Tag::LL, &Tag::UL })
        {
            CXmlNode* point = corners->FindChild(*corner);
            const double x = NumberOf(point->FindChild(Tag::X)) + originX;
            const double y = NumberOf(point->FindChild(Tag::Y)) + originY;
            if (! std::isfinite(x) || ! std::isfinite(y))
                continue;
            if (y > top)
            {
                top = y;
                topX = x;
            }
            if (y < bottom)
            {
                bottom = y;
                bottomX = x;
            }
        }
    }
    rigging.hangHeight = std::isfinite(rigging.hangY) ? rigging.hangY - FloorHeightAt(floor, rigging.hangX) : none;
    rigging.topTrim = std::isfinite(top) ? top - FloorHeightAt(floor, topX) : none;
    rigging.bottomTrim = std::isfinite(bottom) ? bottom - FloorHeightAt(floor, bottomX) : none;
    return rigging;
}
