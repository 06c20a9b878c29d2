#pragma once
// Handle on one Product of the array document's ProductList: its model, splay option,
// in-use flag and its in-memory links to the catalogue (State/Model, State/SlotSplay).
// A value object owning nothing; the element belongs to CArrayManager's document.
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

    //==========================================================================
    std::string GetModel() const;
    void SetModel(const std::string& model);
    int GetSlotSplay() const;
    void SetSlotSplayToOne();
    bool IsInUse() const;
    void SetAimDistance(double distance);

    //==========================================================================
    // Catalogue links; both are rebuilt by RefreshFromCatalogue and never saved.
    CXmlNode* GetCatalogueProduct();
    CXmlNode* GetSplayOption();
    void LinkCatalogue();
    // The joint below: own model over the model of the next position of the same line.
    void LinkSplay();
    // Both links, then fresh CGInfo and AssemblyCGInfo copies of the catalogue's CGInfo.
    void RefreshFromCatalogue();

    //==========================================================================
    // The array's level (dB) at `distance` inches: catalogue Pressure (default 100) summed
    // over the enclosures of array 1, falling 20·log10 with the distance in metres.
    double LevelAtDistance(double distance);
    // From the hanging CG moved by `offset` to `target`: the distance (inches) and the
    // angle of the target off the cabinet's axis (degrees).
    void DistanceAndAngleTo(const CPoint& target, const CPoint& offset, double& distance, double& angle);

private:
    CXmlNode* StateLink(const std::string& tag);
};
