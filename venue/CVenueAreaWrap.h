#pragma once
// Typed handle on one Area element of a venue (hang point, stage or audience surface):
// its type, name, line, render hints and aim-line intersection list.
// Owns nothing; bound to the null node until SetNode. GUI message thread only.

#include "xml/CXmlWrap.h"

#include <string>

class CLine;

class CVenueAreaWrap : public CXmlWrap
{
public:
    using CXmlWrap::CXmlWrap;

    //==========================================================================
    // "HangPoint", "Stage" or "Area" (the default).
    std::string GetAreaType() const;
    void SetAreaType(const std::string& type) const;
    bool IsHangPoint() const;
    bool IsStage() const;
    void SetAreaName(const std::string& name) const;
    std::string GetAreaName() const;

    //==========================================================================
    // The hang point's line carries no drawable hint; the stage is a thick line; an
    // audience area is drawn unless its Visible is 0 (a missing Visible becomes 1).
    void SetHangPointStyle() const;
    void SetStageStyle() const;
    void SetAreaStyle() const;

    //==========================================================================
    // The cached segment of Line; written back into the children at save or StoreValue.
    CLine* GetLine() const;

    //==========================================================================
    // Aim-line intersections (InterList): entries are created when missing.
    int GetInterTotal() const;
    void SetInterTotal(int total) const;
    CXmlNode* GetInter(int slot) const;
};
