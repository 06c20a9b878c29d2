#pragma once
// The coverage suggestion as a section of the design report: every pick pin with the
// spread, median and coverage of the audience levels and their lowest and highest, the
// suggested pin marked, and the view whose levels they are. GUI message thread only.

#include "engine/CPinSuggestion.h"
#include "report/CDesignReport.h"

class CSuggestionReport
{
public:
    // The section of a suggestion computed (CPinSuggestion::Compute).
    static CDesignReport::Section Section(const CPinSuggestion& suggestion);
};
