#pragma once
// Handle on one Product of the array document's ProductList: its model, splay option,
// in-use flag and its in-memory links to the catalogue (State/Model, State/SlotSplay).
// A value object owning nothing; the element belongs to the array document.
// GUI message thread only.

#include "xml/CXmlWrap.h"

#include <string>

class CPoint;

class CArrayProdWrap : public CXmlWrap
{
public:
    CArrayProdWrap() = default;
    explicit CArrayProdWrap(CXmlNode* node) : CXmlWrap(node) {}

    bool IsNull() const;

    // The Product of `productList` whose XGuid is `xguid`, or a wrapper on the null node.
    // An empty identifier names no product (it would match one that lacks XGuid).
    static CArrayProdWrap FindInList(CXmlNode* productList, const std::string& xguid);

    //==========================================================================
    std::string GetModel() const;
    void SetModel(const std::string& model);
    int GetSlotSplay() const;
    void SetSlotSplayToOne();
    bool IsInUse() const;
    void SetAimDistance(double distance);

    //==========================================================================
    // Catalogue links; both are rebuilt by RefreshFromCatalogue and never saved.
    // The line that holds the product knows what hangs below it, so it names the lower
    // model; the product itself knows nothing of its neighbours.
    CXmlNode* GetCatalogueProduct();
    // The linked joint, or the null node when none is linked.
    CXmlNode* GetSplayOption();
    void LinkCatalogue();
    // The joint below: own model over `lowerModel` ("None" when nothing hangs below).
    void LinkSplay(const std::string& lowerModel);
    // Both links, then fresh CGInfo and AssemblyCGInfo copies of the catalogue's CGInfo.
    void RefreshFromCatalogue(const std::string& lowerModel);

    //==========================================================================
    // The array's level (dB) at `distance` inches: catalogue Pressure (default 100) summed
    // over `enclosures` cabinets, falling 20·log10 with the distance in metres.
    double LevelAtDistance(double distance, int enclosures);
    // From the hanging CG moved by `offset` to `target`: the distance (inches) and the
    // angle of the target off the cabinet's axis (degrees).
    void DistanceAndAngleTo(const CPoint& target, const CPoint& offset, double& distance, double& angle);

private:
    CXmlNode* StateLink(const std::string& tag);
};
