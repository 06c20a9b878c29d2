#include "venue/CVenueDataWrap.h"

#include "venue/CVenueAimLineWrap.h"
#include "venue/CVenueAreaWrap.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

void CVenueDataWrap::GetArea(CVenueAreaWrap& area, int slot) const
{
    area.SetNode(node->GetChild(Tag::AreaList)->GetChildByInt(Tag::Area, Tag::Slot, slot));
}

int CVenueDataWrap::GetAreaTotal() const
{
    return node->GetChild(Tag::AreaList)->GetChild(Tag::Total)->GetInt(0);
}

void CVenueDataWrap::ForEachSplPoint(int firstSlot, const std::function<void(CXmlNode*)>& visit) const
{
    const int areas = GetAreaTotal();
    for (int slot = firstSlot; slot <= areas; ++slot)
    {
        CVenueAreaWrap area;
        GetArea(area, slot);
        CXmlNode* line = area.GetNode()->FindChild(Tag::Line);
        const int samples = line->FindChild(Tag::SplTotal)->FindChild(Tag::Total)->GetInt(0);
        for (int n = 1; n <= samples; ++n)
        {
            CXmlNode* sample = line->FindChildByInt(Tag::SplPoint, Tag::Slot, n);
            if (! sample->IsNull())
                visit(sample);
        }
    }
}

void CVenueDataWrap::SetAreaTotal(int total) const
{
    node->GetChild(Tag::AreaList)->GetChild(Tag::Total)->SetInt(total);
}

void CVenueDataWrap::GetAimLine(CVenueAimLineWrap& aimLine, int slot) const
{
    aimLine.SetNode(node->GetChild(Tag::AimStuff)->GetChildByInt(Tag::AimLine, Tag::Slot, slot));
}

int CVenueDataWrap::GetAimLineTotal() const
{
    return node->GetChild(Tag::AimStuff)->GetChild(Tag::Total)->GetInt(0);
}

void CVenueDataWrap::SetAimLineTotal(int total) const
{
    node->GetChild(Tag::AimStuff)->GetChild(Tag::Total)->SetInt(total);
}

void CVenueDataWrap::ClearAimLines() const
{
    CXmlNode* aimStuff = node->GetChild(Tag::AimStuff);
    aimStuff->ClearChildren();
    aimStuff->GetChild(Tag::Total)->SetInt(0);
}

double CVenueDataWrap::GetPowerMin() const
{
    return node->GetChild(Tag::Power)->GetChild(Tag::Min)->GetDouble(0.0);
}

double CVenueDataWrap::GetPowerMax() const
{
    return node->GetChild(Tag::Power)->GetChild(Tag::Max)->GetDouble(0.0);
}

void CVenueDataWrap::SetPowerRange(double minimum, double maximum) const
{
    CXmlNode* power = node->GetChild(Tag::Power);
    power->GetChild(Tag::Min)->SetDouble(minimum);
    power->GetChild(Tag::Max)->SetDouble(maximum);
}
