#include "array/CArrayProdWrap.h"

#include "base/CLine.h"
#include "base/CMathHelper.h"
#include "base/CPoint.h"
#include "product/CProductManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <cmath>

bool CArrayProdWrap::IsNull() const
{
    return node->IsNull();
}

CArrayProdWrap CArrayProdWrap::FindInList(CXmlNode* productList, const std::string& xguid)
{
    if (xguid.empty())
        return CArrayProdWrap();
    return CArrayProdWrap(productList->FindChildByString(Tag::Product, Tag::XGuid, xguid));
}

std::string CArrayProdWrap::GetModel() const
{
    return node->GetChild(Tag::Model)->GetString(Tag::None);
}

void CArrayProdWrap::SetModel(const std::string& model)
{
    node->GetChild(Tag::Model)->SetString(model);
}

int CArrayProdWrap::GetSlotSplay() const
{
    return node->GetChild(Tag::SlotSplay)->GetInt(1);
}

void CArrayProdWrap::SetSlotSplayToOne()
{
    node->GetChild(Tag::SlotSplay)->SetInt(1);
}

bool CArrayProdWrap::IsInUse() const
{
    return node->FindChild(Tag::FlagInUse)->GetString("") == Tag::True;
}

void CArrayProdWrap::SetAimDistance(double distance)
{
    node->GetChild(Tag::AimDist)->GetChild(Tag::Value)->SetDouble(distance);
}

//==============================================================================
CXmlNode* CArrayProdWrap::StateLink(const std::string& tag)
{
    CXmlNode* target = node->GetChild(Tag::State)->GetChild(tag)->GetLink();
    return target != nullptr ? target : CXmlNode::GetNullNode();
}

CXmlNode* CArrayProdWrap::GetCatalogueProduct()
{
    if (StateLink(Tag::Model)->IsNull())
        LinkCatalogue();
    return StateLink(Tag::Model);
}

CXmlNode* CArrayProdWrap::GetSplayOption()
{
    return StateLink(Tag::SlotSplay);
}

void CArrayProdWrap::LinkCatalogue()
{
    if (IsNull())
        return;
    CXmlNode* catalogue = CProductManager::GetInstance()->FindProduct(GetModel());
    node->GetChild(Tag::State)->GetChild(Tag::Model)->SetLink(catalogue);
}

void CArrayProdWrap::LinkSplay(const std::string& lowerModel)
{
    if (IsNull())
        return;
    CXmlNode* joint = CProductManager::GetInstance()->FindSplay(GetModel(), lowerModel, GetSlotSplay());
    node->GetChild(Tag::State)->GetChild(Tag::SlotSplay)->SetLink(joint);
}

void CArrayProdWrap::RefreshFromCatalogue(const std::string& lowerModel)
{
    if (IsNull())
        return;
    LinkCatalogue();
    LinkSplay(lowerModel);
    CXmlNode* source = GetCatalogueProduct()->GetChild(Tag::CGInfo);
    for (const std::string* section : { &Tag::CGInfo, &Tag::AssemblyCGInfo })
    {
        CXmlNode* target = node->GetChild(*section);
        target->ClearChildren();
        target->CopyFrom(source);
    }
}

//==============================================================================
double CArrayProdWrap::LevelAtDistance(double distance, int enclosures)
{
    const double pressure = GetCatalogueProduct()->FindChild(Tag::Pressure)->GetDouble(100.0);
    const double metres = distance / 12.0 * 0.3048;
    return pressure + 10.0 * std::log10((double) enclosures) - 20.0 * std::log10(metres);
}

void CArrayProdWrap::DistanceAndAngleTo(const CPoint& target, const CPoint& offset, double& distance, double& angle)
{
    CXmlNode* section = node->FindChild(Tag::CGInfo);
    const CPoint* cg = section->FindChild(Tag::CG)->GetPoint();
    CPoint from;
    from.x = cg->x + offset.x;
    from.y = cg->y + offset.y;

    distance = CMathHelper().Distance(target, from);

    CLine line;
    line.x1 = from.x;
    line.y1 = from.y;
    line.x2 = target.x;
    line.y2 = target.y;
    line.UpdatePolar();
    angle = line.angle + section->FindChild(Tag::Angle)->GetDouble(0.0);
}
