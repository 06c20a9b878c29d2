#pragma once
// Handle on one Array element (a line: the flybar and the enclosures hanging from it).
// Holds the assembly rules (RelinkAll) and the rigging geometry: placement of every
// cabinet, centres of gravity, the array angle per pick pin. Results are written back
// into the array document. A value object owning nothing.
// GUI message thread only.

#include "array/CArrayCabWrap.h"
#include "xml/CXmlWrap.h"

#include <functional>
#include <string>

class CArrayLineWrap : public CXmlWrap
{
public:
    CArrayLineWrap() = default;
    explicit CArrayLineWrap(CXmlNode* node) : CXmlWrap(node) {}

    bool IsNull() const;

    //==========================================================================
    // Positions and the user's choices
    // CabList/Cab `position`, created when absent; its Parent link is set to this line.
    CArrayCabWrap GetCab(int position);
    int GetTotal();
    void SetTotal(int total);
    int GetSlotPin();
    void SetSlotPin(int pin);
    int GetSubwooferCount();
    void SetSubwooferCount(int count);
    int GetFullRangeCount();
    void SetFullRangeCount(int count);
    // The array angle of the last placement pass (ArrayInfo/Angle).
    double GetArrayAngle();

    //==========================================================================
    // Assembly: re-attaches every active position and refreshes its catalogue data.
    void RelinkAll();
    // Links every cab to its product again (a document read from text has no links) and
    // changes no value.
    void AttachAll();
    // Puts the counted models in positions 2..7, subwoofers directly under the flybar and
    // full-range modules below them, parks the products of positions left over and sets
    // Total. An empty position gets a product from `newProduct`. The counts must already
    // be within their limits.
    void PlaceModels(const std::function<CArrayProdWrap()>& newProduct);

    //==========================================================================
    // Geometry
    void PlacePositions(const std::string& section, int pin, double defaultAngle);
    void ComputeCentreOfGravity(const std::string& section);
    // Reports "Error: Top of array is not a flybar" (fatal) for any other top product.
    void ComputePinAngles();
    void ComputeGeometry();
    // Mirrors each position's assembly outline into the venue's Array/Cab/Polygon
    // (the newest copy only).
    void CopyPolygonsToVenue();
    // RelinkAll, ComputeGeometry, CopyPolygonsToVenue, then ApplyPickPin.
    void RecomputeAll();
    // The hanging pass at the chosen pin and its centre of gravity.
    void ApplyPickPin();

private:
    // The model hanging below `position` ("None" when nothing does); creates that
    // position's Cab, as the placement reads it.
    std::string ModelBelow(int position);
};
