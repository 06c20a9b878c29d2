#include "report/CRiggingSummary.h"

#include "array/CArrayManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>

namespace
{
double NumberOf(CXmlNode* node)
{
    const bool holds = ! node->IsNull() && node->HasValue()
                       && (node->GetValueType() != CXmlNode::kString || ! node->GetString("").empty());
    return holds ? node->GetDouble(0.0) : std::nan("");
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
    return rigging;
}
