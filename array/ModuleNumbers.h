#pragma once
// How the user names the cabinets: each by its position in the array (the flybar is 1, the
// modules 2 to 7 from the top, the numbers the files, the commands and --set use), with its
// model's name beside it. Every panel, picture, report and message that names a cabinet
// uses these.

#include "xml/XmlTags.h"

#include <string>

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
