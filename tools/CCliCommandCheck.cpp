#include "CCliCommandCheck.h"

#include "array/CArrayManager.h"
#include "array/CArrayProdWrap.h"
#include "app/CJuceManager.h"
#include "product/CProductManager.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "venue/CVenueManager.h"
#include "venue/VenueLimits.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

namespace
{
CXmlNode* ArrayNode()
{
    return CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind);
}

// The limits of the design's top product in the catalogue, or of the built-in flybar when
// the design has no top product (an array file that failed to load).
CXmlNode* CatalogueArrayInfo()
{
    CXmlNode* top = ArrayNode()->FindChild(Tag::CabList)->FindChildByInt(Tag::Cab, Tag::Slot, 1);
    CArrayProdWrap product = CArrayManager::GetInstance()->FindProductByXGuid(top->FindChild(Tag::TargetXGuid)->GetString(""));
    CXmlNode* catalogue = product.IsNull() ? CXmlNode::GetNullNode() : product.GetCatalogueProduct();
    if (catalogue->IsNull())
        catalogue = CProductManager::GetInstance()->FindProduct(Tag::Model_HB1);
    return catalogue->FindChild(Tag::ArrayInfo);
}

std::string Describe(const CCliOptions::Step& step)
{
    return (step.kind == CCliOptions::Step::Kind::General ? "--set " : "--area ") + step.argument + ": ";
}
} // namespace

std::string CCliCommandCheck::Check(const CCliOptions::Step& step)
{
    if (step.kind == CCliOptions::Step::Kind::Area)
        return CheckAreaSlot(step);
    if (step.target == Tag::Model_DRXS1)
        return CheckLimit(step, Tag::Total_Model_1, "subwoofer count");
    if (step.target == Tag::Model_DRXR1)
        return CheckLimit(step, Tag::Total_Model_2, "full-range count");
    if (step.target == Tag::SlotPin)
        return CheckLimit(step, Tag::SlotPin, "pick pin");
    if (step.target == Tag::Switch2)
        return CheckModulePosition(step);
    return {};
}

std::string CCliCommandCheck::CheckLimit(const CCliOptions::Step& step, const std::string& limitTag, const char* what)
{
    CXmlNode* limits = CatalogueArrayInfo()->FindChild(limitTag);
    CXmlNode* minimum = limits->FindChild(Tag::Min);
    CXmlNode* maximum = limits->FindChild(Tag::Max);
    if (minimum->IsNull() || maximum->IsNull())
        return Describe(step) + "the catalogue gives no limits for the " + what + "; the command was not sent";

    const int low = minimum->GetInt(0);
    const int high = maximum->GetInt(0);
    const int value = (int) step.number;
    if (value >= low && value <= high)
        return {};
    return Describe(step) + "the " + what + " must be from " + std::to_string(low) + " to " + std::to_string(high)
           + "; the command was not sent";
}

std::string CCliCommandCheck::CheckModulePosition(const CCliOptions::Step& step)
{
    // The text was checked to be a whole number when the options were read.
    const int position = std::stoi(step.text);
    const int total = ArrayNode()->FindChild(Tag::Total)->GetInt(0);
    if (position >= 2 && position <= total)
        return {};
    return Describe(step) + "position " + step.text + " holds no module (the array has modules at positions 2 to "
           + std::to_string(total) + "); the command was not sent";
}

std::string CCliCommandCheck::CheckAreaSlot(const CCliOptions::Step& step)
{
    const CVenueDataWrap venue(CVenueManager::GetInstance()->GetVenue(1));
    const int total = venue.GetAreaTotal();
    if (step.areaSlot < 1 || step.areaSlot > total)
        return Describe(step) + "the venue has no area " + std::to_string(step.areaSlot) + " (it has areas 1 to "
               + std::to_string(total) + "); the command was not sent";

    // The value as the engine will take it: in inches unless it is the angle.
    double value = step.number;
    if (step.target != Tag::LAngle)
        value = CJuceManager::GetInstance()->FromDisplayLength(step.target, value);
    CVenueAreaWrap area;
    venue.GetArea(area, step.areaSlot);
    const std::string refusal = VenueLimits::CheckAreaEdit(*area.GetLine(), step.target, value);
    if (refusal.empty())
        return {};
    return Describe(step) + refusal + "; the command was not sent";
}
