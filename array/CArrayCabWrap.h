#pragma once
// Handle on one position (CabList/Cab) of an array line: which product it holds, found by
// TargetXGuid, with in-memory Pointer and Parent links. A value object owning nothing;
// the element belongs to the array document. GUI message thread only.

#include "array/CArrayProdWrap.h"
#include "xml/CXmlWrap.h"

#include <functional>
#include <string>

class CArrayCabWrap : public CXmlWrap
{
public:
    CArrayCabWrap() = default;
    explicit CArrayCabWrap(CXmlNode* node) : CXmlWrap(node) {}

    bool IsNull() const;
    int GetSlot() const;

    std::string GetTargetXGuid() const;
    void SetTargetXGuid(const std::string& xguid);

    // The product named by TargetXGuid in the ProductList of this position's document, or a
    // wrapper on the null node.
    CArrayProdWrap GetProduct() const;
    // GetProduct, or one made by `newProduct` (the document's owner hands out identifiers),
    // turned into a "None" product with SlotSplay 1 and attached to this position.
    CArrayProdWrap GetOrCreateProduct(const std::function<CArrayProdWrap()>& newProduct);
    // Points this position at `product` and the product's Parent link back here.
    // A null product changes nothing, so a dangling TargetXGuid stays visible.
    void Attach(CArrayProdWrap product);
};
