#pragma once
// Handle on the polar table of one loudspeaker model: a Polar element of the SPL
// manager's polar document (Model, SplayList/Splay with Angle and PressureDB), or the
// null node when the model has no table. A value object owning nothing.

#include "xml/CXmlWrap.h"

class CSPLPolar : public CXmlWrap
{
public:
    CSPLPolar() = default;
    explicit CSPLPolar(CXmlNode* polar) : CXmlWrap(polar) {}
};
