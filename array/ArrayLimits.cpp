#include "array/ArrayLimits.h"

#include "product/CProductManager.h"
#include "venue/VenueLimits.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <cmath>
#include <sstream>
#include <stdexcept>

namespace
{
// The enclosures below the flybar when the catalogue gives no limit.
constexpr int kDefaultMaxEnclosures = 6;

// The catalogue's limits for the flybar's `tag` (SlotPin, Total_Model_1 ...), or none.
bool CatalogueLimits(const std::string& tag, int& low, int& high)
{
    CXmlNode* limits = CProductManager::GetInstance()->FindProduct(Tag::Model_HB1)->FindChild(Tag::ArrayInfo)->FindChild(tag);
    CXmlNode* minimum = limits->FindChild(Tag::Min);
    CXmlNode* maximum = limits->FindChild(Tag::Max);
    if (minimum->IsNull() || maximum->IsNull())
        return false;
    low = minimum->GetInt(0);
    high = maximum->GetInt(0);
    return true;
}

// A choice kept in ArrayInfo/`tag`/Value, when the file holds it: a whole number within the
// limits the command for it has. `value` is 0 when the file holds none.
std::string CheckChoice(CXmlNode* array, const std::string& name, const std::string& tag, const std::string& meaning,
                        int& value)
{
    value = 0;
    CXmlNode* node = array->FindChild(Tag::ArrayInfo)->FindChild(tag)->FindChild(Tag::Value);
    if (node->IsNull() || node->GetString("").find_first_not_of(" \t\r\n") == std::string::npos)
        return {};
    const std::string what = name + " " + Tag::ArrayInfo + "/" + tag;
    try
    {
        value = node->GetInt(0);
    }
    catch (const std::runtime_error&)
    {
        return what + " holds '" + node->GetString("") + "' where a whole number belongs";
    }
    int low = 0;
    int high = 0;
    if (CatalogueLimits(tag, low, high) && (value < low || value > high))
        return what + " is " + std::to_string(value) + "; the " + meaning + " must be from " + std::to_string(low)
               + " to " + std::to_string(high);
    return {};
}

// Every position up to Total holds an enclosure of the file's product list.
std::string CheckPositions(CXmlNode* array, const std::string& name, int total)
{
    CXmlNode* root = array->GetParent();
    CXmlNode* products = root->FindChild(Tag::ProductList);
    CXmlNode* cabs = array->FindChild(Tag::CabList);
    for (int position = 1; position <= total; ++position)
    {
        CXmlNode* cab = CXmlNode::GetNullNode();
        for (CXmlNode* c = cabs->FindChild(Tag::Cab); ! c->IsNull(); c = c->NextSibling(Tag::Cab))
            if (c->FindChild(Tag::Slot)->GetString("") == std::to_string(position))
                cab = c;
        const std::string xguid = cab->FindChild(Tag::TargetXGuid)->GetString("");
        if (xguid.empty() || products->FindChildByString(Tag::Product, Tag::XGuid, xguid)->IsNull())
            return name + " " + Tag::Total + " is " + std::to_string(total) + ", but position " + std::to_string(position)
                   + " holds no enclosure";
    }
    return {};
}

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
        return name + " " + Tag::Total + " holds '" + array->FindChild(Tag::Total)->GetString("")
               + "' where a whole number belongs";
    }
    const int high = ArrayLimits::MaxPositions();
    if (total < 0 || total > high)
        return name + " " + Tag::Total + " is " + std::to_string(total) + "; an array holds from 0 to " + std::to_string(high)
               + " positions (the flybar and the enclosures below it)";

    std::string refusal = CheckPositions(array, name, total);
    int pin = 0;
    int subwoofers = 0;
    int fullRange = 0;
    if (refusal.empty())
        refusal = CheckChoice(array, name, Tag::SlotPin, "pick pin", pin);
    if (refusal.empty())
        refusal = CheckChoice(array, name, Tag::Total_Model_1, "subwoofer count", subwoofers);
    if (refusal.empty())
        refusal = CheckChoice(array, name, Tag::Total_Model_2, "full-range count", fullRange);
    if (! refusal.empty())
        return refusal;
    const bool counted = ! array->FindChild(Tag::ArrayInfo)->FindChild(Tag::Total_Model_1)->IsNull()
                         && ! array->FindChild(Tag::ArrayInfo)->FindChild(Tag::Total_Model_2)->IsNull();
    if (counted && total > 0 && subwoofers + fullRange != total - 1)
        return name + " " + Tag::ArrayInfo + " counts " + std::to_string(subwoofers) + " subwoofer(s) and "
               + std::to_string(fullRange) + " full-range module(s), but its " + Tag::Total + " of "
               + std::to_string(total) + " positions leaves room for " + std::to_string(total - 1)
               + " below the flybar";
    refusal = VenueLimits::CheckRenderOffsets(array->FindChild(Tag::RenderSpec), name + " " + Tag::RenderSpec);
    if (! refusal.empty())
        return refusal;

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
