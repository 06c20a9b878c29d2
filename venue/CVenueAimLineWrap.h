#pragma once
// Typed handle on one AimLine element of a venue (AimStuff): the line's type, the cabinet
// it belongs to, its ray and its render hints. Owns nothing; bound to the null node until
// SetNode. GUI message thread only.

#include "xml/CXmlWrap.h"

#include <string>

class CLine;

class CVenueAimLineWrap : public CXmlWrap
{
public:
    using CXmlWrap::CXmlWrap;

    //==========================================================================
    // "UEdge", "Center" or "LEdge"; "None" when unset.
    std::string GetAimType() const;
    void SetAimType(const std::string& type) const;
    bool IsUpperEdge() const;
    bool IsLowerEdge() const;
    bool IsInUse() const;
    // The cabinet position (1 = flybar) whose module the line belongs to; default 1.
    int GetCab() const;
    void SetCab(int position) const;
    int GetSlot() const;

    //==========================================================================
    // Set the type and the render hints of the line's end points (Render = "Line" with
    // the aim line's own Slot); the edges carry the edge marker, the centre line a width.
    void SetUpperEdgeStyle() const;
    void SetCenterStyle() const;
    void SetLowerEdgeStyle() const;

    //==========================================================================
    // The cached ray: start at the module, end at the nearest hit once intersected.
    CLine* GetLine() const;
};
