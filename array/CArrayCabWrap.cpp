#include "array/CArrayCabWrap.h"

#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

namespace
{
// The products live beside the lines, under the document's top element.
CXmlNode* ProductListOf(CXmlNode* member)
{
    CXmlNode* top = member;
    while (! top->GetParent()->IsNull())
        top = top->GetParent();
    return top->GetChild(Tag::ProductList);
}
} // namespace

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
    return CArrayProdWrap::FindInList(ProductListOf(node), GetTargetXGuid());
}

CArrayProdWrap CArrayCabWrap::GetOrCreateProduct(const std::function<CArrayProdWrap()>& newProduct)
{
    if (IsNull())
        return CArrayProdWrap();
    CArrayProdWrap product = GetProduct();
    if (product.IsNull())
    {
        product = newProduct();
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
