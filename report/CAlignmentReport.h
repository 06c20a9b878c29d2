#pragma once
// The subwoofer alignment as a section of the design report: the point it was made at (in
// the display units and origin), the relative delay and the subwoofers' polarity, the
// crossover-band level there before and after, and what every source is set to. Plain
// text building; GUI message thread only like the rest of the report.

#include "engine/CSubAlignment.h"
#include "report/CDesignReport.h"

class CAlignmentReport
{
public:
    static CDesignReport::Section Section(const CSubAlignment& alignment, const CDisplayUnits& units);
};
