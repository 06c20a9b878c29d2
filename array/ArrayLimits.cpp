#include "array/ArrayLimits.h"

#include "product/CProductManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

namespace
{
// The enclosures below the flybar when the catalogue gives no limit.
constexpr int kDefaultMaxEnclosures = 6;

std::string CheckArray(CXmlNode* array)
{
    const std::string name = Tag::Array + " " + array->FindChild(Tag::Slot)->GetString("");
    int total = 0;
    try
    {
        total = array->FindChild(Tag::Total)->GetInt(0);
    }
    catch (const std::runtime_error&)
    {
        return name + " " + Tag::Total + " holds text where a number belongs";
    }
    const int high = ArrayLimits::MaxPositions();
    if (total < 0 || total > high)
        return name + " " + Tag::Total + " is " + std::to_string(total) + "; an array holds from 0 to " + std::to_string(high)
               + " positions (the flybar and the enclosures below it)";

    CXmlNode* hang = array->FindChild(Tag::HangPoint);
    const struct { std::string what; CXmlNode* node; } values[] = {
        { Tag::HangPoint + "/" + Tag::X, hang->FindChild(Tag::X) },
        { Tag::HangPoint + "/" + Tag::Y, hang->FindChild(Tag::Y) },
        { Tag::HangPoint + "/" + Tag::Y + "/" + Tag::Total, hang->FindChild(Tag::Y)->FindChild(Tag::Total) },
    };
    for (const auto& v : values)
    {
        double value = 0.0;
        try
        {
            value = v.node->GetDouble(0.0);
        }
        catch (const std::runtime_error&)
        {
            return name + " " + v.what + " holds text where a number belongs";
        }
        if (! std::isfinite(value))
        {
            std::ostringstream shown;
            shown << value;
            return name + " " + v.what + " is " + shown.str() + "; it must be a finite number";
        }
    }
    return {};
}
// The user's processing of one product, where it has any: each value within the range
// its command allows.
std::string CheckProcessing(CXmlNode* product, int index)
{
    CXmlNode* processing = product->FindChild(Tag::Processing);
    if (processing->IsNull())
        return {};
    const struct { const std::string* tag; double low, high; bool whole; } fields[] = {
        { &Tag::Delay, 0.0, ArrayLimits::kMaxDelayMs, false },
        { &Tag::Polarity, 0.0, 1.0, true },
        { &Tag::Gain, ArrayLimits::kMinGainDB, ArrayLimits::kMaxGainDB, false },
    };
    const std::string name = Tag::Product + " " + std::to_string(index) + " " + Tag::Processing + "/";
    for (const auto& field : fields)
    {
        CXmlNode* node = processing->FindChild(*field.tag);
        if (node->IsNull())
            continue;
        double value = 0.0;
        try
        {
            value = node->GetDouble(0.0);
        }
        catch (const std::runtime_error&)
        {
            return name + *field.tag + " holds text where a number belongs";
        }
        if (! std::isfinite(value) || value < field.low || value > field.high || (field.whole && value != std::trunc(value)))
        {
            std::ostringstream shown;
            shown << value << "; it must be " << (field.whole ? "0 or 1" : "from ") ;
            if (! field.whole)
                shown << field.low << " to " << field.high;
            return name + *field.tag + " is " + shown.str();
        }
    }
    return {};
}
} // namespace

int ArrayLimits::MaxPositions()
{
    CXmlNode* combined = CProductManager::GetInstance()->FindProduct(Tag::Model_HB1)
                             ->FindChild(Tag::ArrayInfo)->FindChild(Tag::Total_Model_Combined)->FindChild(Tag::Max);
    const int enclosures = combined->IsNull() ? kDefaultMaxEnclosures : combined->GetInt(kDefaultMaxEnclosures);
    return 1 + enclosures;
}

std::string ArrayLimits::CheckArrays(CXmlNode* root)
{
    for (CXmlNode* array = root->FindChild(Tag::Array); ! array->IsNull(); array = array->NextSibling(Tag::Array))
    {
        const std::string refusal = CheckArray(array);
        if (! refusal.empty())
            return refusal;
    }
    CXmlNode* products = root->FindChild(Tag::ProductList);
    int index = 1;
    for (CXmlNode* product = products->FindChild(Tag::Product); ! product->IsNull(); product = product->NextSibling(Tag::Product))
    {
        const std::string refusal = CheckProcessing(product, index++);
        if (! refusal.empty())
            return refusal;
    }
    return {};
}
