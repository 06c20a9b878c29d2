#pragma once
// Typed handle on one Venue element of the venue document (areas, aim lines, level range).
// Owns nothing; bound to the null node until SetNode, so every call is then harmless.
// GUI message thread only.

#include "xml/CXmlWrap.h"

#include <functional>

class CVenueAreaWrap;
class CVenueAimLineWrap;

class CVenueDataWrap : public CXmlWrap
{
public:
    using CXmlWrap::CXmlWrap;

    //==========================================================================
    // Areas (AreaList): an area is created with only its Slot when missing.
    void GetArea(CVenueAreaWrap& area, int slot) const;
    int GetAreaTotal() const;
    void SetAreaTotal(int total) const;
    // Calls `visit` with every level sample (Line/SplPoint, Slot 1 ... SplTotal/Total) of the
    // areas from `firstSlot` on, in slot order; a sample missing from the list is passed over.
    void ForEachSplPoint(int firstSlot, const std::function<void(CXmlNode*)>& visit) const;

    //==========================================================================
    // Aim lines (AimStuff): an aim line is created with only its Slot when missing.
    void GetAimLine(CVenueAimLineWrap& aimLine, int slot) const;
    int GetAimLineTotal() const;
    void SetAimLineTotal(int total) const;
    // Deletes every aim line and sets the total to 0.
    void ClearAimLines() const;

    //==========================================================================
    // Level range over the aim-line hits (Power/Min, Power/Max).
    double GetPowerMin() const;
    double GetPowerMax() const;
    void SetPowerRange(double minimum, double maximum) const;
};
