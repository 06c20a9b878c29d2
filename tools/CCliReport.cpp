#include "CCliReport.h"

#include "app/CJuceManager.h"
#include "base/CLine.h"
#include "base/CPoint.h"
#include "array/CArrayManager.h"
#include "array/ModuleNumbers.h"
#include "array/CArrayProdWrap.h"
#include "engine/CPinSuggestion.h"
#include "engine/CSPLManager.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <initializer_list>
#include <limits>
#include <utility>
#include <vector>

namespace
{
// Values are read only where the element exists and holds one, so the report adds nothing
// to the documents; an absent value is null.
bool HoldsValue(CXmlNode* node)
{
    if (node->IsNull() || ! node->HasValue())
        return false;
    return node->GetValueType() != CXmlNode::kString || ! node->GetString("").empty();
}

CJsonValue NumberOf(CXmlNode* node)
{
    return HoldsValue(node) ? CJsonValue(node->GetDouble(0.0)) : CJsonValue();
}

CJsonValue IntOf(CXmlNode* node)
{
    return HoldsValue(node) ? CJsonValue(node->GetInt(0)) : CJsonValue();
}

CJsonValue TextOf(CXmlNode* node)
{
    return HoldsValue(node) ? CJsonValue(node->GetString("")) : CJsonValue();
}

int IntOr(CXmlNode* node, int fallback)
{
    return HoldsValue(node) ? node->GetInt(fallback) : fallback;
}

CXmlNode* Path(CXmlNode* node, std::initializer_list<const std::string*> tags)
{
    for (const std::string* tag : tags)
        node = node->FindChild(*tag);
    return node;
}

CJsonValue Length(double inches, const std::string& key)
{
    CJsonValue length = CJsonValue::MakeObject();
    length.Set("inches", inches);
    length.Set("display", CJuceManager::GetInstance()->ToDisplayLength(key, inches));
    return length;
}

CJsonValue LengthOf(CXmlNode* node)
{
    return HoldsValue(node) ? Length(node->GetDouble(0.0), Tag::LDist) : CJsonValue();
}

CJsonValue WeightOf(CXmlNode* node)
{
    if (! HoldsValue(node))
        return {};
    const double pounds = node->GetDouble(0.0);
    CJsonValue weight = CJsonValue::MakeObject();
    weight.Set("pounds", pounds);
    weight.Set("display", CJuceManager::GetInstance()->ToDisplayWeight(pounds));
    return weight;
}

// A point in inches and in display units; `keyX`/`keyY` select the display offsets (venue
// coordinates are shown relative to the stage, array coordinates without an offset).
CJsonValue Point(double x, double y, const std::string& keyX, const std::string& keyY)
{
    const CJuceManager* ui = CJuceManager::GetInstance();
    CJsonValue display = CJsonValue::MakeObject();
    display.Set("x", ui->ToDisplayLength(keyX, x));
    display.Set("y", ui->ToDisplayLength(keyY, y));
    CJsonValue point = CJsonValue::MakeObject();
    point.Set("x", x);
    point.Set("y", y);
    point.Set("display", std::move(display));
    return point;
}

CJsonValue ArrayPointOf(CXmlNode* node)
{
    if (node->IsNull())
        return {};
    const CPoint* p = node->GetPoint();
    return Point(p->x, p->y, "", "");
}

CJsonValue VenueLine(CXmlNode* lineNode)
{
    if (lineNode->IsNull())
        return {};
    const CLine* line = lineNode->GetLine();
    CJsonValue json = CJsonValue::MakeObject();
    json.Set("start", Point(line->x1, line->y1, Tag::sX, Tag::sY));
    json.Set("end", Point(line->x2, line->y2, Tag::eX, Tag::eY));
    json.Set("angle", line->angle);
    json.Set("length", Length(line->length, Tag::LDist));
    return json;
}

// The children `tag` of `parent` by their Slot, in slot order.
std::vector<std::pair<int, CXmlNode*>> BySlot(CXmlNode* parent, const std::string& tag)
{
    std::vector<std::pair<int, CXmlNode*>> found;
    for (CXmlNode* child = parent->FindChild(tag); ! child->IsNull(); child = child->NextSibling(tag))
        found.emplace_back(IntOr(child->FindChild(Tag::Slot), 0), child);
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return found;
}

CXmlNode* ArrayNode()
{
    return CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind);
}

CXmlNode* ProductAt(CXmlNode* cab)
{
    const std::string xguid = HoldsValue(cab->FindChild(Tag::TargetXGuid)) ? cab->FindChild(Tag::TargetXGuid)->GetString("") : "";
    return CArrayManager::GetInstance()->FindProductByXGuid(xguid).GetNode();
}
} // namespace

//==============================================================================
CJsonValue CCliReport::Build()
{
    CXmlNode* venue = CVenueManager::GetInstance()->GetVenue(1);
    CJsonValue report = CJsonValue::MakeObject();
    report.Set("units", Units());
    report.Set("array", Array());
    report.Set("aimLines", AimLines(venue));
    CJsonValue aimLevel = CJsonValue::MakeObject();
    aimLevel.Set("min", NumberOf(Path(venue, { &Tag::Power, &Tag::Min })));
    aimLevel.Set("max", NumberOf(Path(venue, { &Tag::Power, &Tag::Max })));
    report.Set("aimLevel", std::move(aimLevel));
    report.Set("areas", Areas(venue));
    report.Set("spl", SplRange(venue));
    return report;
}

CJsonValue CCliReport::Suggestion(const CPinSuggestion& suggestion, const std::string& view)
{
    CJsonValue pins = CJsonValue::MakeArray();
    for (const PinCoverage& p : suggestion.pins)
    {
        CJsonValue pin = CJsonValue::MakeObject();
        pin.Set("pin", p.pin);
        pin.Set("spread", p.spread);
        pin.Set("median", p.median);
        pin.Set("coverage", p.coverage);
        pin.Set("min", p.min);
        pin.Set("max", p.max);
        pins.Append(std::move(pin));
    }
    CJsonValue json = CJsonValue::MakeObject();
    json.Set("view", view);
    json.Set("pins", std::move(pins));
    json.Set("best", suggestion.best ? CJsonValue(*suggestion.best) : CJsonValue());
    return json;
}

CJsonValue CCliReport::Units()
{
    const CJuceManager* ui = CJuceManager::GetInstance();
    CXmlNode* unitType = Path(CJuceManager::GetInstance()->GetSettingsRoot(), { &Tag::UnitType, &Tag::Value });
    CJsonValue units = CJsonValue::MakeObject();
    units.Set("system", HoldsValue(unitType) ? unitType->GetString(Tag::US) : Tag::US);
    units.Set("length", ui->GetDisplayLengthUnit());
    units.Set("weight", ui->GetDisplayWeightUnit());
    return units;
}

CJsonValue CCliReport::Array()
{
    CXmlNode* array = ArrayNode();
    if (array->IsNull())
        return {};

    CJsonValue json = CJsonValue::MakeObject();
    json.Set("total", IntOf(array->FindChild(Tag::Total)));
    json.Set("subwoofers", IntOf(Path(array, { &Tag::ArrayInfo, &Tag::Total_Model_1, &Tag::Value })));
    json.Set("fullRange", IntOf(Path(array, { &Tag::ArrayInfo, &Tag::Total_Model_2, &Tag::Value })));
    json.Set("pin", IntOf(Path(array, { &Tag::ArrayInfo, &Tag::SlotPin, &Tag::Value })));
    json.Set("angle", NumberOf(Path(array, { &Tag::ArrayInfo, &Tag::Angle })));

    json.Set("weight", WeightOf(array->FindChild(Tag::Weight)));

    json.Set("assemblyCG", ArrayPointOf(Path(array, { &Tag::AssemblyCGInfo, &Tag::CG })));
    json.Set("hangingCG", ArrayPointOf(Path(array, { &Tag::CGInfo, &Tag::CG })));
    CXmlNode* top = array->FindChild(Tag::CabList)->FindChildByInt(Tag::Cab, Tag::Slot, 1);
    json.Set("pickPoint", ArrayPointOf(Path(ProductAt(top), { &Tag::CGInfo, &Tag::HangCG })));
    json.Set("pinAngles", PinAngles(array));

    CJsonValue positions = CJsonValue::MakeArray();
    for (const auto& [slot, cab] : BySlot(array->FindChild(Tag::CabList), Tag::Cab))
        if (! ProductAt(cab)->IsNull())
            positions.Append(Position(slot, cab));
    json.Set("positions", std::move(positions));
    return json;
}

CJsonValue CCliReport::Position(int slot, CXmlNode* cab)
{
    CXmlNode* product = ProductAt(cab);
    CJsonValue json = CJsonValue::MakeObject();
    json.Set("position", slot);
    // The number the user knows the cabinet by; the flybar is no module.
    if (slot > 1)
        json.Set("module", ModuleNumberOf(slot));
    json.Set("model", product->FindChild(Tag::Model)->GetString(Tag::None));
    json.Set("inUse", CArrayProdWrap(product).IsInUse());
    json.Set("tilt", NumberOf(Path(product, { &Tag::CGInfo, &Tag::Angle })));
    json.Set("cg", ArrayPointOf(Path(product, { &Tag::CGInfo, &Tag::CG })));
    json.Set("listeningDistance", LengthOf(Path(product, { &Tag::AimDist, &Tag::Value })));
    json.Set("level", NumberOf(product->FindChild(Tag::Power)));
    json.Set("switch1", IntOf(Path(product, { &Tag::Switch1, &Tag::Value })));
    json.Set("switch2", IntOf(Path(product, { &Tag::Switch2, &Tag::Value })));
    json.Set("switch2Name", TextOf(Path(product, { &Tag::Switch2Name, &Tag::Value })));
    return json;
}

CJsonValue CCliReport::PinAngles(CXmlNode* array)
{
    CJsonValue pins = CJsonValue::MakeArray();
    for (const auto& [slot, pin] : BySlot(array->FindChild(Tag::PinList), Tag::Pin))
    {
        CJsonValue json = CJsonValue::MakeObject();
        json.Set("pin", slot);
        json.Set("angle", NumberOf(pin->FindChild(Tag::Angle)));
        pins.Append(std::move(json));
    }
    return pins;
}

CJsonValue CCliReport::AimLines(CXmlNode* venue)
{
    CXmlNode* aimStuff = venue->FindChild(Tag::AimStuff);
    const int total = IntOr(aimStuff->FindChild(Tag::Total), 0);
    CJsonValue lines = CJsonValue::MakeArray();
    for (int slot = 1; slot <= total; ++slot)
    {
        CXmlNode* aimLine = aimStuff->FindChildByInt(Tag::AimLine, Tag::Slot, slot);
        if (aimLine->IsNull())
            continue;
        CJsonValue json = CJsonValue::MakeObject();
        json.Set("slot", slot);
        json.Set("type", aimLine->FindChild(Tag::Type)->GetString(Tag::None));
        json.Set("cab", IntOf(aimLine->FindChild(Tag::Cab)));
        CXmlNode* lineNode = aimLine->FindChild(Tag::Line);
        if (! lineNode->IsNull())
        {
            const CLine* ray = lineNode->GetLine();
            json.Set("start", Point(ray->x1, ray->y1, Tag::sX, Tag::sY));
            json.Set("end", Point(ray->x2, ray->y2, Tag::eX, Tag::eY));
            json.Set("angle", ray->angle);
            json.Set("length", Length(ray->length, Tag::LDist));
        }
        lines.Append(std::move(json));
    }
    return lines;
}

CJsonValue CCliReport::Areas(CXmlNode* venue)
{
    CXmlNode* areaList = venue->FindChild(Tag::AreaList);
    const int total = IntOr(areaList->FindChild(Tag::Total), 0);
    CJsonValue areas = CJsonValue::MakeArray();
    for (int slot = 1; slot <= total; ++slot)
    {
        CXmlNode* area = areaList->FindChildByInt(Tag::Area, Tag::Slot, slot);
        if (! area->IsNull())
            areas.Append(Area(area));
    }
    return areas;
}

CJsonValue CCliReport::Area(CXmlNode* area)
{
    const std::string type = area->FindChild(Tag::Type)->GetString(Tag::Area);
    CXmlNode* lineNode = area->FindChild(Tag::Line);

    CJsonValue json = CJsonValue::MakeObject();
    json.Set("slot", IntOf(area->FindChild(Tag::Slot)));
    json.Set("name", TextOf(area->FindChild(Tag::Name)));
    json.Set("type", type);
    // Only audience areas can be hidden; one without the flag is shown.
    json.Set("visible", type == Tag::Area ? CJsonValue(IntOr(area->FindChild(Tag::Visible), 1) != 0) : CJsonValue());
    json.Set("line", VenueLine(lineNode));

    const int samples = IntOr(Path(lineNode, { &Tag::SplTotal, &Tag::Total }), 0);
    double minimum = std::numeric_limits<double>::infinity();
    double maximum = -std::numeric_limits<double>::infinity();
    double sum = 0.0;
    int counted = 0;
    for (int k = 1; k <= samples; ++k)
    {
        CXmlNode* level = lineNode->FindChildByInt(Tag::SplPoint, Tag::Slot, k)->FindChild(Tag::PressureDB);
        if (! HoldsValue(level))
            continue;
        const double value = level->GetDouble(0.0);
        minimum = std::min(minimum, value);
        maximum = std::max(maximum, value);
        sum += value;
        ++counted;
    }
    json.Set("samples", samples);
    CJsonValue spl = CJsonValue::MakeObject();
    spl.Set("min", counted > 0 ? CJsonValue(minimum) : CJsonValue());
    spl.Set("max", counted > 0 ? CJsonValue(maximum) : CJsonValue());
    spl.Set("mean", counted > 0 ? CJsonValue(sum / counted) : CJsonValue());
    json.Set("spl", std::move(spl));
    return json;
}

CJsonValue CCliReport::SplRange(CXmlNode* venue)
{
    CXmlNode* metaMore = Path(venue, { &Tag::RenderSpec, &Tag::RenderItem, &Tag::MetaMore });
    const CSPLManager* spl = CSPLManager::GetInstance();
    CJsonValue json = CJsonValue::MakeObject();
    json.Set("min", NumberOf(metaMore->FindChild(Tag::SplMin)));
    json.Set("max", NumberOf(metaMore->FindChild(Tag::SplMax)));
    json.Set("scaleBottom", spl->GetScaleBottom());
    json.Set("scaleTop", spl->GetScaleTop());
    return json;
}
