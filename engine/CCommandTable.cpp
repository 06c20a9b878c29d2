#include "engine/CCommandTable.h"

#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "array/CArrayProdWrap.h"
#include "base/NumberText.h"
#include "engine/CBandModel.h"
#include "engine/CBandView.h"
#include "engine/CCommandHistory.h"
#include "engine/CEngineHooks.h"
#include "engine/CEngineManager.h"
#include "engine/CSubAlignment.h"
#include "product/CProductManager.h"
#include "venue/CVenueAirWrap.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "venue/CVenueManager.h"
#include "venue/VenueLimits.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
using Entry = CCommandTable::Entry;
using Kind = CCommandTable::Kind;
using Scope = CCommandTable::Scope;
using NumberRule = CCommandTable::NumberRule;
using TextRule = CCommandTable::TextRule;

const std::string kDefaultArrayFile = "Array_5-1.xml";
const std::string kDefaultVenueFile = "Venue_Large.xml";

CEngineManager* Engine()
{
    return CEngineManager::GetInstance();
}

//==============================================================================
// Rules
NumberRule AnyNumber()
{
    NumberRule rule;
    rule.form = NumberRule::Form::Finite;
    return rule;
}

NumberRule WholeNumber()
{
    NumberRule rule;
    rule.form = NumberRule::Form::Whole;
    return rule;
}

// The switch commands carry 2 x switch number + 1 when the switch was turned on.
NumberRule OnOffNumber()
{
    NumberRule rule = WholeNumber();
    rule.min = 0.0;
    rule.max = 1.0;
    return rule;
}

NumberRule SwitchNumber(int switches)
{
    NumberRule rule = WholeNumber();
    rule.min = 2;
    rule.max = 2 * switches + 1;
    rule.meaning = "2 x switch (1.." + std::to_string(switches) + ") + 1 for on";
    return rule;
}

NumberRule Range(double min, double max)
{
    NumberRule rule = AnyNumber();
    rule.min = min;
    rule.max = max;
    return rule;
}

// The unit system asked for, not a toggle: a number that toggled would make a repeated
// command undo itself.
NumberRule UnitsNumber()
{
    NumberRule rule = OnOffNumber();
    rule.meaning = "1 for SI units (metres, kilograms) or 0 for US units (feet, pounds)";
    return rule;
}

TextRule Text(TextRule::Form form)
{
    TextRule rule;
    rule.form = form;
    return rule;
}

TextRule Choice(std::vector<std::string> choices, const std::string& meaning)
{
    TextRule rule = Text(TextRule::Form::Choice);
    rule.choices = std::move(choices);
    rule.meaning = meaning;
    return rule;
}

//==============================================================================
// Limits of the design as it stands
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

std::function<std::string(const CCommand&)> CatalogueLimit(const std::string& limitTag, const std::string& what)
{
    return [limitTag, what](const CCommand& command) -> std::string {
        CXmlNode* limits = CatalogueArrayInfo()->FindChild(limitTag);
        CXmlNode* minimum = limits->FindChild(Tag::Min);
        CXmlNode* maximum = limits->FindChild(Tag::Max);
        if (minimum->IsNull() || maximum->IsNull())
            return "the catalogue gives no limits for the " + what;
        const int low = minimum->GetInt(0);
        const int high = maximum->GetInt(0);
        if (command.number >= low && command.number <= high)
            return {};
        return "the " + what + " must be from " + std::to_string(low) + " to " + std::to_string(high);
    };
}

// A module's number is its position in the array (ModuleNumbers.h): 2 to the array's total.
std::string ModulePositionLimit(const CCommand& command)
{
    double module = 0.0;
    ParseDecimal(command.text, module);
    const int total = ArrayNode()->FindChild(Tag::Total)->GetInt(0);
    if (module >= 2 && module <= total)
        return {};
    if (total < 2)
        return "there is no module " + command.text + " (the array has no modules)";
    return "there is no module " + command.text + " (the array has modules 2 to " + std::to_string(total) + ")";
}

// The position holds a loudspeaker the band prediction hears.
std::string RadiatingPositionLimit(const CCommand& command)
{
    double position = 0.0;
    ParseDecimal(command.text, position);
    const int total = ArrayNode()->FindChild(Tag::Total)->GetInt(0);
    if (position < 1 || position > total)
        return "the array has no position " + command.text + " (it has positions 1 to " + std::to_string(total) + ")";
    CArrayProdWrap product = CArrayLineWrap(ArrayNode()).GetCab((int) position).GetProduct();
    if (product.GetCatalogueProduct()->FindChild(Tag::Acoustics)->IsNull())
        return "position " + command.text + " holds no loudspeaker (" + product.GetModel() + " radiates nothing)";
    return {};
}

// The user's processing of one loudspeaker: the position leads, then the value.
Entry ProcessingCommand(const std::string& field, const std::string& name, NumberRule value)
{
    TextRule position = Text(TextRule::Form::Position);
    position.leads = true;
    return { field, name, Kind::Design, Scope::General, std::move(value), position, RadiatingPositionLimit,
             [field](const CCommand& c) {
                 double at = 0.0;
                 ParseDecimal(c.text, at);
                 Engine()->SetProcessing(field, (int) at, c.number);
             } };
}

// The scale the steps would leave stays within VenueLimits::CheckSplScale.
std::function<std::string(const CCommand&)> SplScaleLimit(CEngineManager::SplScale (*after)(double steps))
{
    return [after](const CCommand& command) -> std::string {
        const CEngineManager::SplScale scale = after(command.number);
        return VenueLimits::CheckSplScale(scale.bottom, scale.top);
    };
}

// Both sides of the crossover are hung: a subwoofer and a full-range module.
std::string AlignmentLimit(const CCommand&)
{
    bool low = false, high = false;
    CArrayLineWrap line(ArrayNode());
    for (int position = 1; position <= line.GetTotal(); ++position)
    {
        CXmlNode* acoustics = line.GetCab(position).GetProduct().GetCatalogueProduct()->FindChild(Tag::Acoustics);
        const std::string role = acoustics->FindChild(Tag::Role)->GetString(Tag::None);
        low = low || role == Tag::Low;
        high = high || role == Tag::High;
    }
    if (low && high)
        return {};
    return std::string("there is nothing to align: ") + (! low && ! high ? "no subwoofer and no full-range module"
                                                          : ! low        ? "no subwoofer"
                                                                         : "no full-range module");
}

// The area exists, and the line the edit would leave stays within VenueLimits.
std::function<std::string(const CCommand&)> AreaLimit(const std::string& key)
{
    return [key](const CCommand& command) -> std::string {
        const CVenueDataWrap venue(CVenueManager::GetInstance()->GetVenue(1));
        const int total = venue.GetAreaTotal();
        if (command.areaSlot < 1 || command.areaSlot > total)
            return "the venue has no area " + std::to_string(command.areaSlot) + " (it has areas 1 to "
                   + std::to_string(total) + ")";
        double value = 0.0;
        ParseDecimal(command.text, value);
        // The value as the engine takes it: in inches unless it is the angle.
        if (key != Tag::LAngle)
            value = CEngineHooks::Get().FromDisplayLength(key, value);
        CVenueAreaWrap area;
        venue.GetArea(area, command.areaSlot);
        if (VenueLimits::CheckAreaEdit(*area.GetLine(), key, value, command.text).empty())
            return {};
        // Said as the panel shows it: the field's label, display units.
        const std::string& label = CCommandTable::Find(key)->text.meaning;
        if (key == Tag::LAngle)
            return label + " " + command.text + " degrees is refused: angles must be within ±"
                   + ShortestText(VenueLimits::kMaxAngle) + " degrees";
        CEngineHooks& hooks = CEngineHooks::Get();
        const double limit = VenueLimits::kMaxCoordinate / (hooks.FromDisplayLength("", 1.0) - hooks.FromDisplayLength("", 0.0));
        return label + " " + command.text + " " + hooks.LengthSymbol() + " is refused: it would take the " + Tag::Line
               + "'s ends or length beyond ±" + DoubleToString(limit, 0) + " " + hooks.LengthSymbol()
               + ", the most a venue holds";
    };
}

// The area's name as its panel shows it, "area N" for one without a name.
std::string AreaName(int slot)
{
    const CVenueDataWrap venue(CVenueManager::GetInstance()->GetVenue(1));
    if (slot >= 1 && slot <= venue.GetAreaTotal())
    {
        CVenueAreaWrap area;
        venue.GetArea(area, slot);
        CXmlNode* name = area.GetNode()->FindChild(Tag::Name);
        if (! name->IsNull() && name->HasValue() && ! name->GetString("").empty())
            return name->GetString("") + " (area " + std::to_string(slot) + ")";
    }
    return "area " + std::to_string(slot);
}

//==============================================================================
Entry FileCommand(const std::string& target, const std::string& name, TextRule::Form path,
                  std::function<void(const CCommand&)> perform)
{
    return { target, name, Kind::File, Scope::General, {}, Text(path), nullptr, std::move(perform) };
}

// An area's line value: coordinates may be anywhere, a length is above 0, an angle keeps
// the line from turning into a wall.
Entry AreaCommand(const std::string& key, const std::string& meaning, double min, double max, bool minExcluded)
{
    TextRule value = Text(TextRule::Form::Decimal);
    value.min = min;
    value.max = max;
    value.minExcluded = minExcluded;
    value.meaning = meaning;
    return { key, "Area Change", Kind::Design, Scope::Area, {}, value, AreaLimit(key),
             [key](const CCommand& c) { Engine()->PerformAreaCommand(1, c.areaSlot, key, c.text); } };
}

Entry HistoryCommand(const std::string& target, const std::string& name, bool redo)
{
    const std::string nothing = redo ? "there is nothing to redo" : "there is nothing to undo";
    return { target, name, Kind::History, Scope::General, {}, {},
             [redo, nothing](const CCommand&) {
                 CCommandHistory& history = CCommandHistory::Get();
                 return (redo ? history.CanRedo() : history.CanUndo()) ? std::string() : nothing;
             },
             [redo](const CCommand&) {
                 if (redo)
                     CCommandHistory::Get().Redo();
                 else
                     CCommandHistory::Get().Undo();
             } };
}

std::vector<Entry> BuildEntries()
{
    using TF = TextRule::Form;
    std::vector<Entry> entries = {
        FileCommand(CCommandTable::kLoadArrayFile, "Load Array File", TF::OptionalPath,
                    [](const CCommand& c) { Engine()->LoadArrayFile(c.text.empty() ? kDefaultArrayFile : c.text); }),
        FileCommand(CCommandTable::kSaveArrayFile, "Save Array File", TF::Path,
                    [](const CCommand& c) { Engine()->SaveArrayFile(c.text); }),
        FileCommand(CCommandTable::kLoadVenueFile, "Load Venue File", TF::OptionalPath,
                    [](const CCommand& c) { Engine()->LoadVenueFile(c.text.empty() ? kDefaultVenueFile : c.text); }),
        FileCommand(CCommandTable::kSaveVenueFile, "Save Venue File", TF::Path,
                    [](const CCommand& c) { Engine()->SaveVenueFile(c.text); }),
        { Tag::SlotPin, "Change Pin Slot", Kind::Design, Scope::General, WholeNumber(), {},
          CatalogueLimit(Tag::SlotPin, "pick pin"),
          [](const CCommand& c) { Engine()->SetPinSlot((int) c.number); } },
        { Tag::Model_DRXS1, "Change SubWoofer Total", Kind::Design, Scope::General, WholeNumber(), {},
          CatalogueLimit(Tag::Total_Model_1, "subwoofer count"),
          [](const CCommand& c) { Engine()->SetModelCount(Tag::Model_DRXS1, (int) c.number); } },
        { Tag::Model_DRXR1, "Change Range Total", Kind::Design, Scope::General, WholeNumber(), {},
          CatalogueLimit(Tag::Total_Model_2, "full-range count"),
          [](const CCommand& c) { Engine()->SetModelCount(Tag::Model_DRXR1, (int) c.number); } },
        { Tag::Meters, "Toggle between US and SI units", Kind::View, Scope::General, UnitsNumber(), {}, nullptr,
          [](const CCommand& c) { Engine()->SetMetricUnits(c.number != 0.0); } },
        { Tag::SplBase, "Change SPL Base Value", Kind::View, Scope::General, WholeNumber(), {},
          SplScaleLimit(&CEngineManager::ScaleAfterTopStep),
          [](const CCommand& c) { Engine()->StepSplScaleTop(c.number); } },
        { Tag::SplRange, "Change SPL Range on Scale", Kind::View, Scope::General, WholeNumber(), {},
          SplScaleLimit(&CEngineManager::ScaleAfterBottomStep),
          [](const CCommand& c) { Engine()->StepSplScaleBottom(c.number); } },
        { Tag::SplAuto, "Change Automatic SPL Scale", Kind::View, Scope::General, OnOffNumber(), {}, nullptr,
          [](const CCommand& c) { Engine()->SetSplScaleAutomatic(c.number != 0.0); } },
        { Tag::Switch1, "Toggle Module Switch", Kind::Design, Scope::General, SwitchNumber(2), {}, nullptr,
          [](const CCommand& c) { Engine()->SetAmplifierMode((int) c.number); } },
        { Tag::Switch2, "Toggle Module Switch", Kind::Design, Scope::General, SwitchNumber(3), Text(TF::Position),
          ModulePositionLimit,
          [](const CCommand& c) {
              double module = 0.0;
              ParseDecimal(c.text, module);
              Engine()->SetShadingMode((int) c.number, (int) module);
          } },
        ProcessingCommand(Tag::Delay, "Change Delay", Range(0.0, CBandModel::kMaxDelayMs)),
        ProcessingCommand(Tag::Polarity, "Change Polarity", OnOffNumber()),
        ProcessingCommand(Tag::Gain, "Change Gain", Range(CBandModel::kMinGainDB, CBandModel::kMaxGainDB)),
        { CSubAlignment::kCommandTarget, "Align Subwoofers", Kind::Design, Scope::General,
          Range(-CSubAlignment::kMaxStep * CSubAlignment::kStepMs, CSubAlignment::kMaxStep * CSubAlignment::kStepMs),
          Choice({ CSubAlignment::kNormal, CSubAlignment::kInverted }, "subwoofer polarity"), AlignmentLimit,
          [](const CCommand& c) { Engine()->AlignSubwoofers(c.number, c.text == CSubAlignment::kInverted); } },
        { Tag::AirTemperature, "Change Air Temperature", Kind::Design, Scope::General,
          Range(CVenueAirWrap::kMinTemperature, CVenueAirWrap::kMaxTemperature), {}, nullptr,
          [](const CCommand& c) { Engine()->SetAirTemperature(c.number); } },
        { Tag::AirHumidity, "Change Air Humidity", Kind::Design, Scope::General,
          Range(CVenueAirWrap::kMinHumidity, CVenueAirWrap::kMaxHumidity), {}, nullptr,
          [](const CCommand& c) { Engine()->SetAirHumidity(c.number); } },
        { Tag::View, "Change View", Kind::View, Scope::General, {}, Text(TF::View), nullptr,
          [](const CCommand& c) { Engine()->SetView(c.text); } },
        { Tag::FieldMap, "Show Field Map", Kind::View, Scope::General, OnOffNumber(), {}, nullptr,
          [](const CCommand& c) { Engine()->SetFieldMapShown(c.number != 0.0); } },
    };
    const double anywhere = std::numeric_limits<double>::infinity();
    // Named as the area panels label the fields.
    entries.push_back(AreaCommand(Tag::sX, "sX", -anywhere, anywhere, false));
    entries.push_back(AreaCommand(Tag::sY, "sZ", -anywhere, anywhere, false));
    entries.push_back(AreaCommand(Tag::eX, "eX", -anywhere, anywhere, false));
    entries.push_back(AreaCommand(Tag::eY, "eZ", -anywhere, anywhere, false));
    entries.push_back(AreaCommand(Tag::LAngle, "Angle", -90.0, 90.0, false));
    entries.push_back(AreaCommand(Tag::LDist, "Length", 0.0, anywhere, true));
    entries.push_back(HistoryCommand(CCommandTable::kUndo, "Undo", false));
    entries.push_back(HistoryCommand(CCommandTable::kRedo, "Redo", true));
    return entries;
}

//==============================================================================
std::string Quoted(const std::string& text)
{
    return "'" + text + "'";
}

std::string CheckNumber(const Entry& entry, double number)
{
    const NumberRule& rule = entry.number;
    if (rule.form == NumberRule::Form::Unused)
        return {};
    const bool whole = rule.form == NumberRule::Form::Whole;
    // A whole number also has to fit an int.
    const double min = whole ? std::max(rule.min, (double) std::numeric_limits<int>::min()) : rule.min;
    const double max = whole ? std::min(rule.max, (double) std::numeric_limits<int>::max()) : rule.max;
    const bool isWhole = number == std::trunc(number);
    if (std::isfinite(number) && (! whole || isWhole) && number >= min && number <= max)
        return {};

    const std::string range = std::isfinite(min) || std::isfinite(max)
                                  ? " from " + ShortestText(min) + " to " + ShortestText(max)
                                  : std::string();
    if (! rule.meaning.empty())
        return "NUMBER must be " + rule.meaning + (whole ? ", a whole number" : ", a number") + range;
    if (! std::isfinite(number))
        return entry.target + " needs a finite number";
    if (whole && ! isWhole)
        return entry.target + " needs a whole number, not " + Quoted(ShortestText(number));
    return entry.target + " must be" + range + ", not " + Quoted(ShortestText(number));
}

bool InRange(const TextRule& rule, double value)
{
    return std::isfinite(value) && (rule.minExcluded ? value > rule.min : value >= rule.min) && value <= rule.max;
}

// "Length must be a number greater than 0 ft, not '-2'": an area's field by its label, in
// the display units.
std::string DecimalRefusal(const Entry& entry, const std::string& text)
{
    const TextRule& rule = entry.text;
    const std::string unit = entry.scope != Scope::Area ? std::string()
                             : entry.target == Tag::LAngle ? " degrees"
                                                           : " " + CEngineHooks::Get().LengthSymbol();
    std::string range;
    if (std::isfinite(rule.min) && std::isfinite(rule.max))
        range = " from " + ShortestText(rule.min) + " to " + ShortestText(rule.max) + unit;
    else if (std::isfinite(rule.min))
        range = (rule.minExcluded ? " greater than " : " of at least ") + ShortestText(rule.min) + unit;
    else if (std::isfinite(rule.max))
        range = " of at most " + ShortestText(rule.max) + unit;
    const std::string field = rule.meaning.empty() ? entry.target : rule.meaning;
    return field + " must be a number" + range + ", not " + Quoted(text);
}

std::string CheckText(const Entry& entry, const std::string& text)
{
    const TextRule& rule = entry.text;
    double value = 0.0;
    switch (rule.form)
    {
        case TextRule::Form::Unused:
        case TextRule::Form::OptionalPath:
            return {};
        case TextRule::Form::Path:
            return text.empty() ? entry.target + " needs a file path as TEXT" : std::string();
        case TextRule::Form::Position:
            if (ParseDecimal(text, value) && IsWholeNumber(value))
                return {};
            return entry.target + " needs the module's number as TEXT (a whole number, 2 being the top module)";
        case TextRule::Form::Decimal:
            return ParseDecimal(text, value) && InRange(rule, value) ? std::string() : DecimalRefusal(entry, text);
        case TextRule::Form::Choice:
            for (const std::string& choice : rule.choices)
                if (choice == text)
                    return {};
            {
                std::string known;
                for (const std::string& choice : rule.choices)
                    known += (known.empty() ? "" : ", ") + choice;
                return entry.target + " must be one of " + known + ", not " + Quoted(text);
            }
        case TextRule::Form::View:
        {
            CBandView view;
            if (CBandView::Parse(text, view))
                return {};
            std::string labels;
            for (int n = CBandModel::kFirstBand; n < CBandModel::kFirstBand + CBandModel::kBandCount; ++n)
                labels += (labels.empty() ? "" : ", ") + CBandModel::BandLabel(n);
            return entry.target + " must be Classic, BandZ, BandA or Band:LABEL with LABEL one of " + labels + ", not "
                   + Quoted(text);
        }
    }
    return {};
}
} // namespace

//==============================================================================
CCommandResult CCommandTable::Check(const CCommand& command)
{
    const Entry* entry = Find(command.target);
    if (entry == nullptr)
        return CCommandResult::Refused("unknown command '" + command.target + "' (known: " + TargetList(Scope::General)
                                       + "; area values: " + TargetList(Scope::Area) + ")");
    std::string refusal = CheckForm(*entry, command);
    if (refusal.empty())
        refusal = CheckLimits(*entry, command);
    if (refusal.empty())
        return CCommandResult::Done();
    // An area value names its area as its panel's title does: every area panel has the same fields.
    const bool namedValue = entry->scope == Scope::Area && ! entry->text.meaning.empty() && command.areaSlot >= 1
                            && refusal.rfind(entry->text.meaning, 0) == 0;
    return CCommandResult::Refused(namedValue ? AreaName(command.areaSlot) + ": " + refusal : refusal);
}

CCommandResult CCommandTable::CheckTyped(CCommand command, const std::string& typed)
{
    const Entry* entry = Find(command.target);
    if (entry == nullptr || entry->scope == Scope::Area)
    {
        command.text = typed;
        return Check(command);
    }
    double value = 0.0;
    if (ParseDecimal(typed, value))
    {
        command.number = value;
        return Check(command);
    }
    // No number is within any range, so the limits name the range it must be in.
    command.number = std::numeric_limits<double>::quiet_NaN();
    std::string range = CheckLimits(*entry, command);
    if (range.empty())
        range = CheckNumber(*entry, command.number);
    return CCommandResult::Refused(range + ", not " + Quoted(typed));
}

bool CCommandTable::IsUndoStep(const Entry& entry)
{
    return entry.kind == Kind::Design || entry.target == kLoadArrayFile || entry.target == kLoadVenueFile;
}

CCommandResult CCommandTable::Perform(const CCommand& command)
{
    CCommandResult result = Check(command);
    if (result)
        Find(command.target)->perform(command);
    return result;
}

const std::vector<CCommandTable::Entry>& CCommandTable::Entries()
{
    static const std::vector<Entry> entries = BuildEntries();
    return entries;
}

const CCommandTable::Entry* CCommandTable::Find(const std::string& target)
{
    for (const Entry& entry : Entries())
        if (entry.target == target)
            return &entry;
    return nullptr;
}

std::string CCommandTable::TargetList(Scope scope)
{
    std::string list;
    for (const Entry& entry : Entries())
        if (entry.scope == scope)
            list += (list.empty() ? "" : ", ") + entry.target;
    return list;
}

std::string CCommandTable::CheckForm(const Entry& entry, const CCommand& command)
{
    if (entry.scope == Scope::Area && command.areaSlot < 1)
        return entry.target + " needs an area number (1, 2, ...)";
    std::string refusal = CheckNumber(entry, command.number);
    if (refusal.empty())
        refusal = CheckText(entry, command.text);
    return refusal;
}

std::string CCommandTable::CheckLimits(const Entry& entry, const CCommand& command)
{
    return entry.limits ? entry.limits(command) : std::string();
}
