#include "engine/CEngineManager.h"

#include "app/CJuceManager.h"
#include "app/CListenerManager.h"
#include "app/CLine.h"
#include "app/CReportError.h"
#include "app/NumberText.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "engine/CAimLines.h"
#include "engine/CSPLManager.h"
#include "engine/CSplScaleSetting.h"
#include "engine/CSceneManager.h"
#include "engine/CSceneWrap.h"
#include "product/CProductManager.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <functional>
#include <cmath>
#include <limits>
#include <sstream>
#include <stdexcept>

namespace
{
constexpr int kMaxEnclosures = 6;
constexpr double kSplCeiling = 130.0;
const std::string kDefaultArrayFile = "Array_5-1.xml";
const std::string kDefaultVenueFile = "Venue_Large.xml";

// Truncation toward zero, kept inside the int range (a NaN counts as 0).
int ToInt(double number)
{
    if (std::isnan(number))
        return 0;
    const double limited = std::clamp(number, (double) std::numeric_limits<int>::min(),
                                      (double) std::numeric_limits<int>::max());
    return static_cast<int>(limited);
}

CArrayLineWrap ArrayLine(int mode)
{
    return CArrayLineWrap(CArrayManager::GetInstance()->GetArray(1, mode));
}

CXmlNode* MetaMoreOf(CXmlNode* element)
{
    return element->GetChild(Tag::RenderSpec)->GetChild(Tag::RenderItem)->GetChild(Tag::MetaMore);
}

// The serialized documents before a load, so that a load that fails half-way can be undone.
struct DocumentSnapshot
{
    DocumentSnapshot()
        : array(CArrayManager::GetInstance()->GetDocument()->ToText()),
          venue(CVenueManager::GetInstance()->SaveState())
    {
    }

    void Restore() const
    {
        CArrayManager::GetInstance()->GetDocument()->ParseText(array);
        CVenueManager::GetInstance()->RestoreState(venue);
        ArrayLine(CArrayManager::kFind).RecomputeAll();
    }

    std::string array;
    std::string venue;
};

void RefreshViewsAfterLoad(bool arrayChanged)
{
    CJuceManager* ui = CJuceManager::GetInstance();
    CListenerManager::GetInstance()->RebindAll();
    ui->Redraw();
    if (arrayChanged)
        ui->LayoutModulePanels(nullptr);
    ui->LayoutAreaPanels(nullptr);
    CListenerManager::GetInstance()->RefreshAll();
}
}

//==============================================================================
void CEngineManager::StartEngine()
{
    CProductManager::GetInstance()->StartUp();
    CArrayManager::GetInstance()->StartUp();
    CVenueManager::GetInstance()->InitialiseVenue();
    CSceneManager::GetInstance();
    CEngineManager::GetInstance();
    InitialiseEngine();
}

void CEngineManager::InitialiseEngine()
{
    {
        CXmlDocument settings;
        settings.Load("Manager_Engine_Settings.xml");
        settings.GetRoot("Root")->GetChild("Types")->GetString("Many");
        settings.Save("");
    }

    CSceneWrap scene;
    scene.SetNode(CSceneManager::GetInstance()->GetScene(1));
    scene.ClearLists();
    scene.AddTrigger(Tag::AssemblyCGInfo);
    scene.AddTrigger(Tag::RenderSpec);
    scene.AddScanRoot(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
    scene.BuildScene();

    Recompute();
}

//==============================================================================
void CEngineManager::PerformCommand(const std::string& target, const std::string& text, double number)
{
    if (target == Tag::ArrayFile)
    {
        if (number == 0.0)
            LoadArrayFile(text.empty() ? kDefaultArrayFile : text);
        else
            SaveArrayFile(text);
    }
    else if (target == Tag::VenueFile)
    {
        if (number == 0.0)
            LoadVenueFile(text.empty() ? kDefaultVenueFile : text);
        else
            SaveVenueFile(text);
    }
    else if (target == Tag::SlotPin)
    {
        SetPinSlot(ToInt(number));
    }
    else if (target == Tag::Model_DRXS1)
    {
        ArrayLine(CArrayManager::kCreate).SetSubwooferCount(ToInt(number));
        ApplyModelTotals(target);
    }
    else if (target == Tag::Model_DRXR1)
    {
        ArrayLine(CArrayManager::kCreate).SetFullRangeCount(ToInt(number));
        ApplyModelTotals(target);
    }
    else if (target == Tag::Meters)
    {
        ToggleUnitSystem();
    }
    else if (target == Tag::SplBase)
    {
        CSPLManager* spl = CSPLManager::GetInstance();
        const double span = spl->GetScaleTop() - spl->GetScaleBottom();
        const double top = std::min(spl->GetScaleTop() + 5.0 * number, kSplCeiling);
        spl->SetScale(top - span, top);
        SplScaleSetting::SetAutomatic(false);
        SplScaleSetting::StoreScale();
    }
    else if (target == Tag::SplRange)
    {
        CSPLManager* spl = CSPLManager::GetInstance();
        spl->SetScale(spl->GetScaleBottom() - number, spl->GetScaleTop());
        SplScaleSetting::SetAutomatic(false);
        SplScaleSetting::StoreScale();
    }
    else if (target == Tag::Switch1)
    {
        const int v = ToInt(number);
        if (v % 2 != 1)
            return;
        const int mode = v / 2;
        const std::string name = mode == 1 ? "HF via DSP" : "HF via Toggle";
        const int total = ArrayLine(CArrayManager::kCreate).GetTotal();
        for (int n = 1; n <= total; ++n)
        {
            CXmlNode* product = ResolvePath("Array.1.CabProd." + std::to_string(n));
            product->GetChild(Tag::Switch1)->GetChild(Tag::Value)->SetInt(mode);
            product->GetChild(Tag::Switch2Name)->GetChild(Tag::Value)->SetString(name);
        }
    }
    else if (target == Tag::Switch2)
    {
        const int v = ToInt(number);
        if (v % 2 == 1)
            ResolvePath("Array.1.CabProd." + text)->GetChild(Tag::Switch2)->GetChild(Tag::Value)->SetInt(v / 2);
        Recompute();
    }
}

void CEngineManager::ApplyModelTotals(const std::string& target)
{
    CArrayLineWrap line = ArrayLine(CArrayManager::kCreate);
    const bool subEdited = target == Tag::Model_DRXS1;
    int edited = subEdited ? line.GetSubwooferCount() : line.GetFullRangeCount();
    int other = subEdited ? line.GetFullRangeCount() : line.GetSubwooferCount();
    // The edited model keeps its count; the other one gives way.
    edited = std::min(edited, kMaxEnclosures);
    other = std::min(other, kMaxEnclosures);
    other = std::min(other, kMaxEnclosures - edited);
    line.SetSubwooferCount(subEdited ? edited : other);
    line.SetFullRangeCount(subEdited ? other : edited);

    line.PlaceModels();
    line.RecomputeAll();
    CJuceManager::GetInstance()->LayoutModulePanels(nullptr);
    Recompute();
}

void CEngineManager::SetPinSlot(int slot)
{
    CArrayLineWrap line = ArrayLine(CArrayManager::kCreate);
    line.SetSlotPin(slot);
    line.ApplyPickPin();
    Recompute();
}

void CEngineManager::ToggleUnitSystem()
{
    CXmlNode* value = CJuceManager::GetInstance()->GetSettingsRoot()->GetChild(Tag::UnitType)->GetChild(Tag::Value);
    const std::string next = value->GetString(Tag::US) == Tag::US ? Tag::SI : Tag::US;
    value->SetString(next);
    if (next == Tag::US)
        CJuceManager::GetInstance()->SetUnitSystem(Tag::Feet, Tag::Pounds);
    else
        CJuceManager::GetInstance()->SetUnitSystem(Tag::Meters, Tag::Kilograms);
    CListenerManager::GetInstance()->RefreshAll();
}

//==============================================================================
void CEngineManager::LoadArrayFile(const std::string& path)
{
    const std::string failure = "Error: Could not load array file " + path;
    const bool loaded = LoadRestoringOnFailure(failure, true, [this, &path] {
        if (! CArrayManager::GetInstance()->LoadArrayFile(path))
            return false;
        SplScaleSetting::Restore();
        Recompute();
        return true;
    });
    if (! loaded)
        CReportError::GetInstance()->ReportFatalError(failure);
}

void CEngineManager::SaveArrayFile(const std::string& path)
{
    if (! CArrayManager::GetInstance()->SaveArrayFile(path))
        CReportError::GetInstance()->ReportFatalError("Error: Could not save array file " + path);
}

void CEngineManager::LoadVenueFile(const std::string& path)
{
    // A refused venue file is reported by the venue manager itself.
    LoadRestoringOnFailure("Error: Could not load venue file " + path, false, [this, &path] {
        if (! CVenueManager::GetInstance()->LoadVenueFile(path))
            return false;
        AimLines::BuildAimLines(CVenueDataWrap(CVenueManager::GetInstance()->GetVenue(1)));
        SplScaleSetting::Restore();
        Recompute();
        return true;
    });
}

bool CEngineManager::LoadRestoringOnFailure(const std::string& failure, bool arrayChanged,
                                            const std::function<bool()>& load)
{
    const DocumentSnapshot before;
    bool loaded = false;
    try
    {
        loaded = load();
    }
    catch (const std::exception& e)
    {
        // A file that failed half-way (a value that is not a number, say) is undone.
        before.Restore();
        Recompute();
        RefreshViewsAfterLoad(arrayChanged);
        CReportError::GetInstance()->ReportFatalError(failure + " (" + e.what() + ")");
    }
    if (loaded)
        RefreshViewsAfterLoad(arrayChanged);
    return loaded;
}

void CEngineManager::SaveVenueFile(const std::string& path)
{
    CVenueManager::GetInstance()->SaveVenueFile(path);
}

//==============================================================================
void CEngineManager::PerformAreaCommand(int venueSlot, int areaSlot, const std::string& target, const std::string& text)
{
    // A text without a number is no edit.
    std::istringstream stream(text);
    double v = 0.0;
    if (! (stream >> v))
        return;
    if (target != Tag::LAngle)
        v = CJuceManager::GetInstance()->FromDisplayLength(target, v);

    CVenueDataWrap venue(CVenueManager::GetInstance()->GetVenue(venueSlot));
    CVenueAreaWrap area;
    venue.GetArea(area, areaSlot);
    CXmlNode* lineNode = area.GetNode()->GetChild(Tag::Line);
    CLine* line = area.GetLine();
    if (line->GetByKey(target) == v)
        return;
    line->SetByKey(target, v);
    lineNode->StoreValue();

    if (area.IsHangPoint())
    {
        CXmlNode* metaMore = MetaMoreOf(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
        metaMore->GetChild(Tag::ConvLBaseX)->SetDouble(line->x1 * 0.5);
        metaMore->GetChild(Tag::ConvLBaseY)->SetDouble(line->y1 * 0.5);
    }
    const bool stage = area.IsStage();
    if (stage)
        CJuceManager::GetInstance()->SetOffsets(-line->x2, 0.0);
    Recompute();
    if (stage)
        CListenerManager::GetInstance()->RefreshAll();
}

//==============================================================================
CXmlNode* CEngineManager::ResolvePath(const std::string& path)
{
    std::vector<std::string> tokens;
    std::string token;
    std::istringstream stream(path);
    while (std::getline(stream, token, '.'))
        tokens.push_back(token);

    auto numberAfter = [&tokens](size_t& i) {
        int n = 0;
        if (i + 1 < tokens.size())
            StringToInt(tokens[++i], n);
        return n;
    };

    CXmlNode* node = CXmlNode::GetNullNode();
    for (size_t i = 0; i < tokens.size(); ++i)
    {
        const std::string& t = tokens[i];
        if (t == Tag::Application)
            node = CJuceManager::GetInstance()->GetSettingsRoot();
        else if (t == Tag::Array)
            node = CArrayManager::GetInstance()->GetArray(numberAfter(i), CArrayManager::kFind);
        else if (t == Tag::Venue)
            node = CVenueManager::GetInstance()->GetVenue(numberAfter(i));
        else if (t == Tag::Area)
        {
            CVenueAreaWrap area;
            CVenueDataWrap(node).GetArea(area, numberAfter(i));
            node = area.GetNode();
        }
        else if (t == Tag::CabProd)
            node = CArrayLineWrap(node).GetCab(numberAfter(i)).GetProduct().GetNode();
        else
            node = node->GetChild(t);
    }
    return node;
}

//==============================================================================
void CEngineManager::Recompute()
{
    CXmlNode* venueNode = CVenueManager::GetInstance()->GetVenue(1);
    CVenueDataWrap venue(venueNode);
    CXmlNode* array = CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind);

    CVenueAreaWrap hangArea;
    venue.GetArea(hangArea, 1);
    const CLine* hang = hangArea.GetLine();
    CXmlNode* metaMore = MetaMoreOf(array);
    metaMore->GetChild(Tag::ConvLBaseX)->SetDouble(hang->x1 * 0.5);
    metaMore->GetChild(Tag::ConvLBaseY)->SetDouble(hang->y1 * 0.5);

    AimLines::BuildAimLines(venue);

    for (int i = 3; i <= venue.GetAreaTotal(); ++i)
    {
        CVenueAreaWrap area;
        venue.GetArea(area, i);
        area.SetAreaStyle();
    }

    CSPLManager* spl = CSPLManager::GetInstance();
    spl->SetRunningMinimum(1e9);
    spl->SetRunningMaximum(0.0);
    spl->ComputeAreaSpl();
    spl->StoreSplRange();

    CSceneWrap scene;
    scene.SetNode(CSceneManager::GetInstance()->GetScene(2));
    scene.ClearLists();
    scene.AddTrigger(Tag::RenderSpec);
    scene.AddTrigger(Tag::CGInfo);
    scene.AddTrigger(Tag::Line);
    scene.AddTrigger(Tag::SplList);
    scene.AddScanRoot(array);
    scene.AddScanRoot(venueNode);
    scene.BuildScene();
}
