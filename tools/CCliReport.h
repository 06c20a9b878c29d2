#pragma once
// The --report document: the units, the array (positions, counts, pin, angles, weight,
// centres of gravity), the aim lines, the venue areas with their SPL samples and the SPL
// range, read from the documents as the last command left them. Lengths are given in
// inches and in the display length unit, weights in pounds and in the display weight unit,
// angles in degrees, levels in dB. Reading creates no elements.

#include "CJsonValue.h"

#include <string>

class CPinSuggestion;
class CSubAlignment;

class CXmlNode;

class CCliReport
{
public:
    static CJsonValue Build();
    // {"view", "pins": [{"pin", "spread", "median", "coverage", "min", "max"}], "best"}.
    static CJsonValue Suggestion(const CPinSuggestion& suggestion, const std::string& view);
    // The "alignment" object; null when there was nothing to align.
    static CJsonValue Alignment(const CSubAlignment& alignment);

private:
    static CJsonValue Units();
    static CJsonValue Array();
    static CJsonValue Position(int slot, CXmlNode* cab);
    static CJsonValue PinAngles(CXmlNode* array);
    static CJsonValue AimLines(CXmlNode* venue);
    static CJsonValue Areas(CXmlNode* venue);
    static CJsonValue Area(CXmlNode* area);
    static CJsonValue SplRange(CXmlNode* venue);
};
