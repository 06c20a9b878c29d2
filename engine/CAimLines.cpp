#include "engine/CAimLines.h"

#include "base/CLine.h"
#include "base/CMathHelper.h"
#include "base/CPoint.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "venue/CVenueAimLineWrap.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
CArrayLineWrap ArrayOne()
{
    return CArrayLineWrap(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
}

void ComputeAimLine(const CVenueAimLineWrap& aim, CArrayProdWrap product, CXmlNode* metaMore)
{
    const std::string type = aim.GetAimType();
    const std::string& corner = aim.IsUpperEdge() ? Tag::UR : aim.IsLowerEdge() ? Tag::LR : Tag::Center;
    CXmlNode* cgInfo = product.GetNode()->FindChild(Tag::CGInfo);
    const CPoint* p = cgInfo->FindChild(corner)->GetPoint();

    CLine* line = aim.GetLine();
    line->x1 = p->x + 2.0 * metaMore->FindChild(Tag::ConvLBaseX)->GetDouble(0.0);
    line->y1 = p->y + 2.0 * metaMore->FindChild(Tag::ConvLBaseY)->GetDouble(0.0);
    const double offset = product.GetCatalogueProduct()->FindChild(Tag::AimStuff)->FindChild(type)->GetDouble(0.0);
    line->angle = offset - cgInfo->FindChild(Tag::Angle)->GetDouble(0.0);
    line->length = AimLines::kRayLength;
    const double r = line->angle * kDegreesToRadians;
    line->x2 = line->x1 + AimLines::kRayLength * std::cos(r);
    line->y2 = line->y1 + AimLines::kRayLength * std::sin(r);
    // The scene copies the end points, so they must hold the ray, not just the cache.
    aim.GetNode()->GetChild(Tag::Line)->StoreValue();
}

enum class AimKind { Upper, Center, Lower };

void AddAimLine(const CVenueDataWrap& venue, int slot, int cab, AimKind kind, CArrayProdWrap product, CXmlNode* metaMore)
{
    CVenueAimLineWrap aim;
    venue.GetAimLine(aim, slot);
    aim.SetInUse(true);
    aim.SetCab(cab);
    if (kind == AimKind::Upper)
        aim.SetUpperEdgeStyle();
    else if (kind == AimKind::Center)
        aim.SetCenterStyle();
    else
        aim.SetLowerEdgeStyle();
    ComputeAimLine(aim, product, metaMore);
}

CLine Segment(double x1, double y1, double x2, double y2)
{
    CLine line;
    line.x1 = x1;
    line.y1 = y1;
    line.x2 = x2;
    line.y2 = y2;
    line.UpdatePolar();
    return line;
}

// P(a) from its neighbours b and c, linearly over distance; b's level when b and c
// coincide (no slope to extrapolate with).
double Extrapolate(CXmlNode* a, CXmlNode* b, CXmlNode* c)
{
    CMathHelper math;
    const double pb = b->GetChild(Tag::Power)->GetDouble(0.0);
    const double pc = c->GetChild(Tag::Power)->GetDouble(0.0);
    const double dab = math.Distance(*a->GetChild(Tag::Point)->GetPoint(), *b->GetChild(Tag::Point)->GetPoint());
    const double dbc = math.Distance(*b->GetChild(Tag::Point)->GetPoint(), *c->GetChild(Tag::Point)->GetPoint());
    if (dbc == 0.0)
        return pb;
    return pb - dab / dbc * (pc - pb);
}

void SetEntryPoint(CXmlNode* entry, double x, double y)
{
    CPoint* point = entry->GetChild(Tag::Point)->GetPoint();
    point->x = x;
    point->y = y;
}

std::vector<CVenueAreaWrap> Surfaces(const CVenueDataWrap& venue)
{
    std::vector<CVenueAreaWrap> areas;
    const int total = venue.GetAreaTotal();
    for (int i = 1; i <= total; ++i)
    {
        CVenueAreaWrap area;
        venue.GetArea(area, i);
        if (! area.IsHangPoint())
            areas.push_back(area);
    }
    return areas;
}
}

namespace AimLines
{
void BuildAimLines(const CVenueDataWrap& venue)
{
    venue.ClearAimLines();
    CArrayLineWrap array = ArrayOne();
    CXmlNode* metaMore = array.GetNode()->GetChild(Tag::RenderSpec)->GetChild(Tag::RenderItem)->GetChild(Tag::MetaMore);
    const int n = array.GetNode()->GetChild(Tag::Total)->GetInt(0);
    int slot = 1;
    bool first = true;
    for (int i = 1; i <= n; ++i)
    {
        CArrayProdWrap product = array.GetCab(i).GetProduct();
        if (! product.GetCatalogueProduct()->FindChild(Tag::AimStuff)->FindChild(Tag::NoAimLines)->IsNull())
            continue;
        if (first)
        {
            AddAimLine(venue, slot++, i, AimKind::Upper, product, metaMore);
            first = false;
        }
        AddAimLine(venue, slot++, i, AimKind::Center, product, metaMore);
        if (i == n)
            AddAimLine(venue, slot++, i, AimKind::Lower, product, metaMore);
    }
    venue.SetAimLineTotal(slot - 1);
    IntersectAimLines(venue);
}

void IntersectAimLines(const CVenueDataWrap& venue)
{
    const std::vector<CVenueAreaWrap> areas = Surfaces(venue);
    double backX = 0.0;
    for (const CVenueAreaWrap& area : areas)
    {
        area.SetInterTotal(0);
        backX = std::max(backX, area.GetLine()->x2);
    }
    const CLine ground = Segment(0.0, 0.0, 10000.0, 0.0);
    const CLine backWall = Segment(backX, 0.0, backX, 100000.0);

    double minLevel = 1000.0;
    double maxLevel = 0.0;
    CArrayLineWrap array = ArrayOne();
    const int enclosures = array.GetTotal() - 1;
    const int aimTotal = venue.GetAimLineTotal();
    for (int j = 1; j <= aimTotal; ++j)
    {
        CVenueAimLineWrap aim;
        venue.GetAimLine(aim, j);
        CLine* ray = aim.GetLine();
        const bool edge = aim.IsUpperEdge() || aim.IsLowerEdge();
        CArrayProdWrap product = array.GetCab(aim.GetCab()).GetProduct();

        for (size_t s = 0; s < areas.size() + 2; ++s)
        {
            const bool isArea = s < areas.size();
            const CLine surface = isArea ? *areas[s].GetLine() : s == areas.size() ? ground : backWall;
            CPoint p;
            double dRay = 0.0, dSurface = 0.0;
            ray->Intersect(surface, p, dRay, dSurface);
            const double d = std::hypot(p.x - ray->x1, p.y - ray->y1);
            double level = product.LevelAtDistance(d, enclosures);
            if (edge)
                level -= kEdgeLoss;

            if (dRay <= 0.01 && dSurface <= 0.01)
            {
                // The ray stops at the hit, so a later surface can only hit it closer.
                ray->x2 = p.x;
                ray->y2 = p.y;
                ray->UpdatePolar();
                product.SetAimDistance(ray->length);
                product.GetNode()->GetChild(Tag::Power)->SetDouble(level);
                minLevel = std::min(minLevel, level);
                maxLevel = std::max(maxLevel, level);
            }
            if (isArea)
            {
                const int count = areas[s].GetInterTotal();
                // Slot 1 is kept for the area's end point (see CompleteInterLists).
                CXmlNode* entry = areas[s].GetInter(count + 2);
                SetEntryPoint(entry, p.x, p.y);
                entry->GetChild(Tag::Power)->SetDouble(level);
                areas[s].SetInterTotal(count + 1);
            }
        }
        aim.GetNode()->GetChild(Tag::Line)->StoreValue();
    }

    CompleteInterLists(venue);
    venue.SetPowerRange(minLevel, maxLevel);
}

void CompleteInterLists(const CVenueDataWrap& venue)
{
    for (const CVenueAreaWrap& area : Surfaces(venue))
    {
        const int m = area.GetInterTotal();
        const int last = m + 2;
        const CLine* line = area.GetLine();
        CXmlNode* endEntry = area.GetInter(1);
        CXmlNode* startEntry = area.GetInter(last);
        SetEntryPoint(endEntry, line->x2, line->y2);
        SetEntryPoint(startEntry, line->x1, line->y1);
        area.SetInterTotal(last);

        // With fewer than two aim-line entries there is no slope: one entry lends its
        // level to both ends, none gives 0.
        double endPower = 0.0;
        double startPower = 0.0;
        if (m >= 2)
        {
            endPower = Extrapolate(endEntry, area.GetInter(2), area.GetInter(3));
            startPower = Extrapolate(startEntry, area.GetInter(last - 1), area.GetInter(last - 2));
        }
        else if (m == 1)
        {
            endPower = startPower = area.GetInter(2)->GetChild(Tag::Power)->GetDouble(0.0);
        }
        endEntry->GetChild(Tag::Power)->SetDouble(endPower);
        startEntry->GetChild(Tag::Power)->SetDouble(startPower);
    }
}
}
