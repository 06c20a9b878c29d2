#pragma once
// Handle on one position (CabList/Cab) of an array line: which product it holds, found by
// TargetXGuid, with in-memory Pointer and Parent links. A value object owning nothing;
// the element belongs to CArrayManager's document. GUI message thread only.

#include "array/CArrayProdWrap.h"
#include "xml/CXmlWrap.h"

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

    // The product named by TargetXGuid, or a wrapper on the null node.
    CArrayProdWrap GetProduct() const;
    // GetProduct, or a new "None" product with SlotSplay 1 attached to this position.
    CArrayProdWrap GetOrCreateProduct();
    // Points this position at `product` and the product's Parent link back here.
    // A null product changes nothing, so a dangling TargetXGuid stays visible.
    void Attach(CArrayProdWrap product);
};
