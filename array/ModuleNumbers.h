#pragma once
// How the user counts and names the cabinets: modules from the top, 1 to N, the flybar not
// counted, each with its model's name beside it. The documents keep each cabinet at its
// position in the array, the flybar being position 1. Every panel, picture, report and
// message that names a cabinet uses these.

#include "xml/XmlTags.h"

#include <string>

inline int ModuleNumberOf(int position)
{
    return position - 1;
}

inline int PositionOfModule(int module)
{
    return module + 1;
}

// "DRX-R1", "DRX-S1", "HB1"; an unknown model by its own name.
inline std::string ModelShortName(const std::string& model)
{
    if (model == Tag::Model_HB1)
        return "HB1";
    if (model == Tag::Model_DRXS1)
        return "DRX-S1";
    if (model == Tag::Model_DRXR1)
        return "DRX-R1";
    return model;
}

// "DRX-R1 full-range module", "DRX-S1 subwoofer", "HB1 flybar".
inline std::string ModelName(const std::string& model)
{
    if (model == Tag::Model_HB1)
        return "HB1 flybar";
    if (model == Tag::Model_DRXS1)
        return "DRX-S1 subwoofer";
    if (model == Tag::Model_DRXR1)
        return "DRX-R1 full-range module";
    return model;
}
