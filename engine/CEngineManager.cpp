#include "engine/CEngineManager.h"

#include "engine/CBandKernel.h"

#include "base/CLine.h"
#include "base/CReportError.h"
#include "base/NumberText.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "engine/CAimLines.h"
#include "engine/CBandKernel.h"
#include "engine/CEngineHooks.h"
#include "engine/CSPLManager.h"
#include "engine/CSplScaleSetting.h"
#include "engine/CSceneManager.h"
#include "engine/CSceneWrap.h"
#include "product/CProductManager.h"
#include "render/CRenderManager.h"
#include "venue/CVenueAirWrap.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlChangeObserver.h"
#include "venue/VenueLimits.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <stdexcept>

namespace
{
constexpr int kMaxEnclosures = 6;
constexpr double kSplCeiling = 130.0;

CArrayLineWrap ArrayLine(int mode)
{
    return CArrayLineWrap(CArrayManager::GetInstance()->GetArray(1, mode));
}

CXmlNode* MetaMoreOf(CXmlNode* element)
{
    return element->GetChild(Tag::RenderSpec)->GetChild(Tag::RenderItem)->GetChild(Tag::MetaMore);
}

// Shown X coordinates count from the stage's front edge, so they follow the stage of the
// venue in the documents: after an edit of it, a load and an undo.
void ApplyStageOffset()
{
    CVenueDataWrap venue(CVenueManager::GetInstance()->GetVenue(1));
    for (int slot = 1; slot <= venue.GetAreaTotal(); ++slot)
    {
        CVenueAreaWrap area;
        venue.GetArea(area, slot);
        if (area.IsStage())
            CEngineHooks::Get().SetOffsets(-area.GetLine()->x2, 0.0);
    }
}

// A design that cannot be drawn cannot be shown or used: drawing it once, off screen, is
// part of loading it. What can fail is reading an item's attributes, which every renderer
// does before it paints, so one pixel is picture enough: the window paints the design next.
void DrawOffScreen()
{
    juce::Image picture(juce::Image::RGB, 1, 1, false);
    CRenderManager::GetInstance()->Render(&picture, CSceneManager::GetInstance()->GetScene(2),
                                          [](double level) { return CSPLManager::GetInstance()->ColourOf(level); });
}

// Polarity is stored as a whole number, the others as decimals.
void SetProcessingValue(CXmlNode* node, const std::string& field, double value)
{
    if (field == Tag::Polarity)
        node->SetInt((int) value);
    else
        node->SetDouble(value);
}

void RefreshViewsAfterLoad(bool arrayChanged)
{
    CEngineHooks& hooks = CEngineHooks::Get();
    hooks.RebindAll();
    hooks.Redraw();
    if (arrayChanged)
        hooks.LayoutModulePanels();
    hooks.LayoutAreaPanels();
    hooks.RefreshAll();
}
}

//==============================================================================
void CEngineManager::StartEngine()
{
    CProductManager::GetInstance()->StartUp();
    CArrayManager::GetInstance()->StartUp();
    CVenueManager::GetInstance()->InitialiseVenue();
    InitialiseEngine();
}

void CEngineManager::InitialiseEngine()
{
    BuildArrayScene(CSceneManager::GetInstance()->SceneToBuild(1));
    Recompute();
}

void CEngineManager::BuildArrayScene(CXmlNode* node)
{
    CSceneWrap scene;
    scene.SetNode(node);
    scene.ClearLists();
    scene.AddTrigger(Tag::AssemblyCGInfo);
    scene.AddTrigger(Tag::RenderSpec);
    scene.AddScanRoot(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
    scene.BuildScene();
}

void CEngineManager::BuildVenueScene(CXmlNode* node)
{
    CSceneWrap scene;
    scene.SetNode(node);
    scene.ClearLists();
    scene.AddTrigger(Tag::RenderSpec);
    scene.AddTrigger(Tag::CGInfo);
    scene.AddTrigger(Tag::Line);
    scene.AddTrigger(Tag::SplList);
    scene.AddScanRoot(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
    scene.AddScanRoot(CVenueManager::GetInstance()->GetVenue(1));
    scene.BuildScene();
}

//==============================================================================
void CEngineManager::SetModelCount(const std::string& target, int count)
{
    if (target == Tag::Model_DRXS1)
        ArrayLine(CArrayManager::kCreate).SetSubwooferCount(count);
    else
        ArrayLine(CArrayManager::kCreate).SetFullRangeCount(count);
    ApplyModelTotals(target);
}

CEngineManager::SplScale CEngineManager::ScaleAfterTopStep(double steps)
{
    CSPLManager* spl = CSPLManager::GetInstance();
    const double span = spl->GetScaleTop() - spl->GetScaleBottom();
    const double top = std::min(spl->GetScaleTop() + 5.0 * steps, kSplCeiling);
    return { top - span, top };
}

CEngineManager::SplScale CEngineManager::ScaleAfterBottomStep(double steps)
{
    CSPLManager* spl = CSPLManager::GetInstance();
    return { spl->GetScaleBottom() - steps, spl->GetScaleTop() };
}

void CEngineManager::StepSplScaleTop(double steps)
{
    const SplScale scale = ScaleAfterTopStep(steps);
    CSPLManager::GetInstance()->SetScale(scale.bottom, scale.top);
    SplScaleSetting::SetAutomatic(false);
    SplScaleSetting::StoreScale();
}

void CEngineManager::StepSplScaleBottom(double steps)
{
    const SplScale scale = ScaleAfterBottomStep(steps);
    CSPLManager::GetInstance()->SetScale(scale.bottom, scale.top);
    SplScaleSetting::SetAutomatic(false);
    SplScaleSetting::StoreScale();
}

void CEngineManager::SetSplScaleAutomatic(bool automatic)
{
    SplScaleSetting::SetAutomatic(automatic);
    SplScaleSetting::FollowVenueLevels(GetView());
    SplScaleSetting::StoreScale();
    // The picture narrows the scale to the part of the venue it shows.
    CEngineHooks::Get().Redraw();
}

void CEngineManager::SetAmplifierMode(int number)
{
    if (number % 2 != 1)
        return;
    const int mode = number / 2;
    const std::string name = mode == 1 ? "HF via DSP" : "HF via Toggle";
    const int total = ArrayLine(CArrayManager::kCreate).GetTotal();
    for (int n = 1; n <= total; ++n)
    {
        CXmlNode* product = ResolvePath("Array.1.CabProd." + std::to_string(n));
        product->GetChild(Tag::Switch1)->GetChild(Tag::Value)->SetInt(mode);
        product->GetChild(Tag::Switch2Name)->GetChild(Tag::Value)->SetString(name);
    }
}

void CEngineManager::SetShadingMode(int number, int position)
{
    if (number % 2 == 1)
        ResolvePath("Array.1.CabProd." + std::to_string(position))->GetChild(Tag::Switch2)->GetChild(Tag::Value)->SetInt(number / 2);
    Recompute();
}

void CEngineManager::SetProcessing(const std::string& field, int position, double value)
{
    WriteProcessing(field, position, value);
    Recompute();
}

void CEngineManager::WriteProcessing(const std::string& field, int position, double value)
{
    CXmlNode* processing = ResolvePath("Array.1.CabProd." + std::to_string(position))->GetChild(Tag::Processing);
    // A new Processing element starts with every field at its default, so that the file
    // says what the prediction uses.
    for (const std::string* tag : { &Tag::Delay, &Tag::Polarity, &Tag::Gain })
        if (processing->FindChild(*tag)->IsNull())
            SetProcessingValue(processing->GetChild(*tag), *tag, 0.0);
    SetProcessingValue(processing->GetChild(field), field, value);
}

void CEngineManager::AlignSubwoofers(double deltaMs, bool inverted)
{
    CArrayLineWrap line = ArrayLine(CArrayManager::kFind);
    for (int position = 1; position <= line.GetTotal(); ++position)
    {
        CXmlNode* acoustics = line.GetCab(position).GetProduct().GetCatalogueProduct()->FindChild(Tag::Acoustics);
        const std::string role = acoustics->FindChild(Tag::Role)->GetString(Tag::None);
        if (role == Tag::Low)
        {
            WriteProcessing(Tag::Delay, position, std::max(deltaMs, 0.0));
            WriteProcessing(Tag::Polarity, position, inverted ? 1.0 : 0.0);
        }
        else if (role == Tag::High)
        {
            WriteProcessing(Tag::Delay, position, std::max(-deltaMs, 0.0));
        }
    }
    // The loudspeakers' panels show the values set.
    CEngineHooks::Get().LayoutModulePanels();
    Recompute();
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

    line.PlaceModels([] { return CArrayManager::GetInstance()->NewProduct(""); });
    line.RecomputeAll();
    CEngineHooks::Get().LayoutModulePanels();
    Recompute();
}

void CEngineManager::SetPinSlot(int slot)
{
    CArrayLineWrap line = ArrayLine(CArrayManager::kCreate);
    line.SetSlotPin(slot);
    line.ApplyPickPin();
    Recompute();
}

void CEngineManager::SetMetricUnits(bool metric)
{
    CEngineHooks& hooks = CEngineHooks::Get();
    CXmlNode* value = hooks.GetSettingsRoot()->GetChild(Tag::UnitType)->GetChild(Tag::Value);
    const std::string next = metric ? Tag::SI : Tag::US;
    value->SetString(next);
    if (next == Tag::US)
        hooks.SetUnitSystem(Tag::Feet, Tag::Pounds);
    else
        hooks.SetUnitSystem(Tag::Meters, Tag::Kilograms);
    hooks.RefreshAll();
}

void CEngineManager::SetAirTemperature(double celsius)
{
    CVenueAirWrap(CVenueManager::GetInstance()->GetVenue(1)).SetTemperature(celsius);
    Recompute();
}

void CEngineManager::SetAirHumidity(double percent)
{
    CVenueAirWrap(CVenueManager::GetInstance()->GetVenue(1)).SetHumidity(percent);
    Recompute();
}

void CEngineManager::SetView(const std::string& text)
{
    CBandView view;
    if (! CBandView::Parse(text, view))
        return;
    CEngineHooks& hooks = CEngineHooks::Get();
    hooks.GetSettingsRoot()->GetChild(Tag::View)->GetChild(Tag::Value)->SetString(view.ToString());
    hooks.Redraw();
    hooks.RefreshAll();
}

CBandView CEngineManager::GetView()
{
    CBandView view = CBandView::Classic();
    CBandView::Parse(CEngineHooks::Get().GetSettingsRoot()->FindChild(Tag::View)->FindChild(Tag::Value)->GetString(""), view);
    return view;
}

void CEngineManager::SetFieldMapShown(bool shown)
{
    CEngineHooks& hooks = CEngineHooks::Get();
    hooks.GetSettingsRoot()->GetChild(Tag::FieldMap)->GetChild(Tag::Value)->SetInt(shown ? 1 : 0);
    hooks.Redraw();
    hooks.RefreshAll();
}

bool CEngineManager::IsFieldMapShown()
{
    return CEngineHooks::Get().GetSettingsRoot()->FindChild(Tag::FieldMap)->FindChild(Tag::Value)->GetInt(0) != 0;
}

//==============================================================================
void CEngineManager::LoadArrayFile(const std::string& path)
{
    const std::string failure = "Error: Could not load array file " + path;
    const bool loaded = LoadRestoringOnFailure(failure, true, [this, &path] {
        if (! CArrayManager::GetInstance()->LoadArrayFile(path))
            return false;
        SplScaleSetting::Restore();
        ApplyStageOffset();
        Recompute();
        DrawOffScreen();
        return true;
    });
    if (! loaded)
        CReportError::GetInstance()->ReportFatalError(failure + " (" + CArrayManager::GetInstance()->LastLoadError()
                                                      + ")");
}

void CEngineManager::SaveArrayFile(const std::string& path)
{
    CArrayManager* arrays = CArrayManager::GetInstance();
    if (! arrays->SaveArrayFile(path))
        CReportError::GetInstance()->ReportFatalError("Error: Could not save array file " + path + " ("
                                                      + arrays->LastSaveError() + ")");
}

void CEngineManager::LoadVenueFile(const std::string& path)
{
    // A refused venue file is reported by the venue manager itself.
    LoadRestoringOnFailure("Error: Could not load venue file " + path, false, [this, &path] {
        if (! CVenueManager::GetInstance()->LoadVenueFile(path))
            return false;
        AimLines::BuildAimLines(CVenueDataWrap(CVenueManager::GetInstance()->GetVenue(1)));
        SplScaleSetting::Restore();
        ApplyStageOffset();
        Recompute();
        DrawOffScreen();
        return true;
    });
}

bool CEngineManager::LoadRestoringOnFailure(const std::string& failure, bool arrayChanged,
                                            const std::function<bool()>& load)
{
    // A load is one transaction: it ends once the loaded design is recomputed and drawn,
    // and until then everything it changes can go back as it was.
    const DesignText before = CaptureDesign();
    const SplScaleSetting::Shown shown = SplScaleSetting::Capture();
    bool loaded = false;
    try
    {
        loaded = load();
    }
    catch (const std::exception& e)
    {
        // A file that failed half-way (a value that is not a number, an item that cannot be
        // drawn) is undone to the byte.
        RestoreDesign(before, shown);
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
CEngineManager::DesignText CEngineManager::CaptureDesign()
{
    // Printing writes cached numbers into the text. That shows nothing new, so the bound
    // controls, and the edits a throttle holds in them, are not told.
    struct ObserverPause
    {
        CXmlChangeObserver* observer = CXmlChangeObserver::Get();
        ObserverPause() { CXmlChangeObserver::Install(nullptr); }
        ~ObserverPause() { CXmlChangeObserver::Install(observer); }
    } pause;
    return { CArrayManager::GetInstance()->GetDocument()->Printed(),
             CVenueManager::GetInstance()->GetVenueDocument()->Printed() };
}

void CEngineManager::RestoreDesign(const DesignText& design, const SplScaleSetting::Shown& shown)
{
    // Every computed value (positions, aim lines, levels, band levels, the level range) is
    // kept in the documents, so their texts put the design's results back as they were. A
    // document still holding the text asked for is not read again.
    CXmlDocument* arrayDocument = CArrayManager::GetInstance()->GetDocument();
    CXmlDocument* venueDocument = CVenueManager::GetInstance()->GetVenueDocument();
    DesignText target = design;
    if (target.array != nullptr && arrayDocument->StillHolds(target.array))
        target.array = nullptr;
    if (target.venue != nullptr && venueDocument->StillHolds(target.venue))
        target.venue = nullptr;
    const auto read = [arrayDocument](const DesignText& texts) {
        if (texts.array != nullptr)
            arrayDocument->PutBack(texts.array);
        if (texts.venue != nullptr)
            CVenueManager::GetInstance()->RestoreState(texts.venue);
    };
    read(target);

    // The array's links are lost only when it is read back, and computing its geometry links
    // it again.
    if (target.array != nullptr)
    {
        // The numbers a document prints are rounded. The array's geometry is computed again
        // from the user's choices, so that an edit of the venue after an undo computes the
        // levels from what it would have without the undo. Should that differ from the
        // text in a last digit, the documents are put back once more, to the byte.
        const DesignText printed { target.array, target.venue != nullptr ? target.venue : venueDocument->Printed() };
        ArrayLine(CArrayManager::kFind).RecomputeAll();
        const DesignText now = CaptureDesign();
        const DesignText differing { DesignText::Same(now.array, printed.array) ? nullptr : printed.array,
                                     DesignText::Same(now.venue, printed.venue) ? nullptr : printed.venue };
        read(differing);
        if (differing.array != nullptr)
            ArrayLine(CArrayManager::kFind).AttachAll();
    }

    // What is kept outside the documents follows from them: the hang position the field
    // map works from, the SPL scale and the scenes (built once drawn).
    CSPLManager::GetInstance()->TakeHangPosition();
    SplScaleSetting::Put(shown);
    SplScaleSetting::FollowVenueLevels(GetView());
    CSceneManager* scenes = CSceneManager::GetInstance();
    scenes->BuildWhenAsked(1, BuildArrayScene);
    scenes->BuildWhenAsked(2, BuildVenueScene);

    ApplyStageOffset();
    RefreshViewsAfterLoad(true);
}

void CEngineManager::ForgetPutBacks()
{
    CArrayManager::GetInstance()->GetDocument()->DropContentAside();
    CVenueManager::GetInstance()->GetVenueDocument()->DropContentAside();
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
        v = CEngineHooks::Get().FromDisplayLength(target, v);

    CVenueDataWrap venue(CVenueManager::GetInstance()->GetVenue(venueSlot));
    CVenueAreaWrap area;
    venue.GetArea(area, areaSlot);
    CXmlNode* lineNode = area.GetNode()->GetChild(Tag::Line);
    CLine* line = area.GetLine();
    if (line->GetByKey(target) == v)
        return;
    const std::string refusal = VenueLimits::CheckAreaEdit(*line, target, v);
    if (! refusal.empty())
    {
        CReportError::GetInstance()->ReportError("Error: Area " + std::to_string(areaSlot) + ": " + refusal
                                                 + "; the area was not changed");
        CEngineHooks::Get().RefreshAll();
        return;
    }
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
        CEngineHooks::Get().SetOffsets(-line->x2, 0.0);
    Recompute();
    if (stage)
        CEngineHooks::Get().RefreshAll();
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
            node = CEngineHooks::Get().GetSettingsRoot();
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
    CBandKernel::WriteSurfaceLevels();
    spl->StoreSplRange();
    SplScaleSetting::FollowVenueLevels(GetView());

    BuildVenueScene(CSceneManager::GetInstance()->SceneToBuild(2));
}
