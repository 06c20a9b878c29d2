#include "array/CArrayCabWrap.h"

#include "array/CArrayManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

bool CArrayCabWrap::IsNull() const
{
    return node->IsNull();
}

int CArrayCabWrap::GetSlot() const
{
    return node->FindChild(Tag::Slot)->GetInt(0);
}

std::string CArrayCabWrap::GetTargetXGuid() const
{
    return node->GetChild(Tag::TargetXGuid)->GetString("");
}

void CArrayCabWrap::SetTargetXGuid(const std::string& xguid)
{
    node->GetChild(Tag::TargetXGuid)->SetString(xguid);
}

CArrayProdWrap CArrayCabWrap::GetProduct() const
{
    if (IsNull())
        return CArrayProdWrap();
    return CArrayManager::GetInstance()->FindProductByXGuid(GetTargetXGuid());
}

CArrayProdWrap CArrayCabWrap::GetOrCreateProduct()
{
    if (IsNull())
        return CArrayProdWrap();
    CArrayProdWrap product = GetProduct();
    if (product.IsNull())
    {
        product = CArrayManager::GetInstance()->NewProduct("");
        product.SetModel(Tag::None);
        product.SetSlotSplayToOne();
        Attach(product);
    }
    return product;
}

void CArrayCabWrap::Attach(CArrayProdWrap product)
{
    if (IsNull() || product.IsNull())
        return;
    SetTargetXGuid(product.GetXGuid());
    node->GetChild(Tag::Pointer)->SetLink(product.GetNode());
    product.GetNode()->GetChild(Tag::Parent);
    product.SetParentLink(node);
}
