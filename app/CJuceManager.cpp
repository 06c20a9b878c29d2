#include "app/CJuceManager.h"

#include "base/CMathHelper.h"
#include "base/CRunFolders.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "array/ModuleNumbers.h"
#include "engine/CBandModel.h"
#include "engine/CEngineManager.h"
#include "engine/CSPLManager.h"
#include "engine/CSceneManager.h"
#include "engine/CSplScaleSetting.h"
#include "render/CRenderManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace
{
const std::string kSettingsFile = "Settings.xml";

const CMathHelper& Units()
{
    static const CMathHelper helper;
    return helper;
}

// Deletes a column's panels while the column is being deleted, so that no panel outlives
// the column it sits in (the panels unregister their bindings as they go).
class ColumnWatcher : public juce::ComponentListener
{
public:
    void componentBeingDeleted(juce::Component& column) override
    {
        if (CJuceManager::HasInstance())
            CJuceManager::GetInstance()->ReleasePanelsOf(&column);
    }
};

ColumnWatcher& Watcher()
{
    static ColumnWatcher watcher;
    return watcher;
}

// Remembers `column` in `field` and watches it for deletion.
void Remember(juce::Component*& field, juce::Component* column)
{
    if (column == nullptr || column == field)
        return;
    if (field != nullptr)
        field->removeComponentListener(&Watcher());
    field = column;
    field->addComponentListener(&Watcher());
}

// The module panel set-up for position index `i` of an array with `total` cabinets.
struct ModuleRole
{
    std::string caption;
    int kind;
};

ModuleRole RoleOf(CArrayLineWrap& line, int i, int total)
{
    if (i >= total)
        return { Tag::None, CJuceManager::kModuleNone };
    if (i == 0)
        return { ModelShortName(Tag::Model_HB1), CJuceManager::kModuleFlybar };
    if (line.GetCab(i + 1).GetProduct().GetModel() == Tag::Model_DRXS1)
        return { ModelShortName(Tag::Model_DRXS1), CJuceManager::kModuleSubwoofer };
    return { ModelShortName(Tag::Model_DRXR1), CJuceManager::kModuleFullRange };
}
}

CJuceManager::CJuceManager() = default;

CJuceManager::~CJuceManager()
{
    ReleaseLookAndFeels();
}

//==============================================================================
void CJuceManager::SetLookAndFeelCreator(LookAndFeelCreator creator)
{
    lookAndFeelCreator = std::move(creator);
}

juce::LookAndFeel* CJuceManager::GetLookAndFeel(int kind)
{
    auto found = lookAndFeels.find(kind);
    if (found != lookAndFeels.end())
        return found->second.get();
    if (kind != 1 && kind != 2)
    {
        lookAndFeels[kind] = nullptr;
        return nullptr;
    }
    // Not remembered until a creator exists, so a request made before the window has
    // installed it does not fix the kind to null for good.
    if (! lookAndFeelCreator)
        return nullptr;
    juce::LookAndFeel* created = lookAndFeelCreator(kind);
    if (created != nullptr)
        lookAndFeels[kind].reset(created);
    return created;
}

void CJuceManager::ReleaseLookAndFeels()
{
    ReleasePanels();
    lookAndFeels.clear();
}

//==============================================================================
CXmlNode* CJuceManager::GetSettingsRoot()
{
    if (settings == nullptr)
    {
        settings = std::make_unique<CXmlDocument>();
        settings->Load(CRunFolders::SettingsFile(kSettingsFile));
    }
    return settings->GetRoot(Tag::Root);
}

void CJuceManager::SaveAndReleaseSettings()
{
    if (settings == nullptr)
        return;
    settings->Save(CRunFolders::SettingsFile(kSettingsFile));
    settings.reset();
}

//==============================================================================
void CJuceManager::SetUnitSystem(const std::string& lengthUnit, const std::string& weightUnit)
{
    internalLengthUnit = Tag::Inches;
    internalWeightUnit = Tag::Pounds;
    displayLengthUnit = lengthUnit;
    displayWeightUnit = weightUnit;

    const bool feet = lengthUnit == Tag::Feet;
    CXmlNode* display = GetSettingsRoot()->GetChild(Tag::Display);
    display->GetChild(Tag::UnitType)->GetChild(Tag::Value)->SetString(feet ? "feet" : "meters");
    display->GetChild(Tag::UnitDescribe)->GetChild(Tag::Value)->SetString(feet ? "US Units" : "SI Units");
}

void CJuceManager::SetOffsets(double x, double y)
{
    offsets[Tag::sX] = x;
    offsets[Tag::sY] = y;
    offsets[Tag::eX] = x;
    offsets[Tag::eY] = y;
}

double CJuceManager::GetOffset(const std::string& key) const
{
    auto found = offsets.find(key);
    return found == offsets.end() ? 0.0 : found->second;
}

double CJuceManager::ToDisplayLength(const std::string& key, double inches) const
{
    return Units().Convert(internalLengthUnit, displayLengthUnit, inches + GetOffset(key));
}

double CJuceManager::FromDisplayLength(const std::string& key, double shown) const
{
    return Units().Convert(displayLengthUnit, internalLengthUnit, shown) - GetOffset(key);
}

double CJuceManager::ToDisplayWeight(double pounds) const
{
    return Units().Convert(internalWeightUnit, displayWeightUnit, pounds);
}

CDisplayUnits CJuceManager::GetDisplayUnits() const
{
    CDisplayUnits units;
    units.length = displayLengthUnit;
    units.weight = displayWeightUnit;
    units.offsetX = GetOffset(Tag::sX);
    units.offsetY = GetOffset(Tag::sY);
    return units;
}

//==============================================================================
void CJuceManager::Redraw()
{
    if (pictureRedraw)
        pictureRedraw();
    else if (canvasImage != nullptr && canvasImage->isValid())
        DrawVenuePicture(*canvasImage);
    if (mainComponent != nullptr)
        mainComponent->repaint();
    if (redrawListener)
        redrawListener();
}

CVenuePicture::Options CJuceManager::ScenePicture()
{
    CVenuePicture::Options options;
    options.scene = CSceneManager::GetInstance()->GetScene(2);
    options.colours = [](double level) { return CSPLManager::GetInstance()->ColourOf(level); };
    options.level = ViewLevel();
    if (SplScaleSetting::IsAutomatic())
        options.followLevels = [](double low, double high) { CSPLManager::GetInstance()->SetScale(low, high); };
    return options;
}

CVenuePicture::Options CJuceManager::AnnotatedPicture() const
{
    CVenuePicture::Options options = ScenePicture();
    options.annotate = true;
    options.units = GetDisplayUnits();
    return options;
}

void CJuceManager::DrawVenuePicture(juce::Image& picture)
{
    CVenuePicture::Draw(picture, ScenePicture());
}

CRendererLine::SampleLevel CJuceManager::ViewLevel()
{
    const CBandView view = CEngineManager::GetView();
    if (view == CBandView::Classic())
        return {};
    // One model for the whole picture; only a one-band view evaluates it.
    auto model = std::make_shared<const CBandModel>(CBandModel::FromDesign());
    return [view, model](CXmlNode* splPoint) { return view.ValueAt(splPoint, *model); };
}

void CJuceManager::RenderScene(juce::Image& picture)
{
    CRenderManager::GetInstance()->Render(&picture, CSceneManager::GetInstance()->GetScene(2),
                                          [](double level) { return CSPLManager::GetInstance()->ColourOf(level); },
                                          ViewLevel());
}

//==============================================================================
void CJuceManager::SetPanelFactory(PanelFactory factory)
{
    panelFactory = std::move(factory);
}

void CJuceManager::LayoutModulePanels(juce::Component* column)
{
    Remember(moduleColumn, column);
    if (moduleColumn == nullptr)
        return;

    CArrayLineWrap line(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
    const int total = line.GetNode()->GetChild(Tag::Total)->GetInt(0);

    int y = 0;
    int width = 0;
    for (int i = 0; i < kModulePanelCount; ++i)
    {
        if ((int) modulePanels.size() <= i)
        {
            juce::Component* created = panelFactory.createModulePanel ? panelFactory.createModulePanel() : nullptr;
            if (created == nullptr)
                break;
            modulePanels.emplace_back(created);
        }
        juce::Component* panel = modulePanels[(size_t) i].get();
        if (panel->getParentComponent() != moduleColumn)
            moduleColumn->addAndMakeVisible(panel);

        const ModuleRole role = RoleOf(line, i, total);
        if (panelFactory.refreshModulePanel)
            panelFactory.refreshModulePanel(panel, i + 1, i, role.caption, role.kind);
        panel->setTopLeftPosition(0, y);
        y += panel->getHeight();
        width = panel->getWidth();
    }
    moduleColumn->setSize(width, y);
    moduleColumn->repaint();
}

void CJuceManager::LayoutAreaPanels(juce::Component* column)
{
    Remember(areaColumn, column);
    if (areaColumn == nullptr)
        return;

    int x = 0;
    int height = 0;
    for (int i = 0; i < kAreaPanelCount; ++i)
    {
        if ((int) areaPanels.size() <= i)
        {
            juce::Component* created = panelFactory.createAreaPanel ? panelFactory.createAreaPanel(i + 1) : nullptr;
            if (created == nullptr)
                break;
            areaPanels.emplace_back(created);
        }
        juce::Component* panel = areaPanels[(size_t) i].get();
        if (panel->getParentComponent() != areaColumn)
            areaColumn->addAndMakeVisible(panel);
        panel->setTopLeftPosition(x, 0);
        if (panelFactory.refreshAreaPanel)
            panelFactory.refreshAreaPanel(panel, i + 1);
        x += panel->getWidth();
        height = panel->getHeight();
    }
    areaColumn->setSize(x, height);
}

juce::Component* CJuceManager::GetModulePanel(int index) const
{
    return index >= 0 && index < (int) modulePanels.size() ? modulePanels[(size_t) index].get() : nullptr;
}

juce::Component* CJuceManager::GetAreaPanel(int index) const
{
    return index >= 0 && index < (int) areaPanels.size() ? areaPanels[(size_t) index].get() : nullptr;
}

void CJuceManager::ReleasePanelsOf(juce::Component* column)
{
    if (column == nullptr)
        return;
    if (column == moduleColumn)
    {
        moduleColumn->removeComponentListener(&Watcher());
        moduleColumn = nullptr;
        modulePanels.clear();
    }
    if (column == areaColumn)
    {
        areaColumn->removeComponentListener(&Watcher());
        areaColumn = nullptr;
        areaPanels.clear();
    }
}

void CJuceManager::ReleasePanels()
{
    ReleasePanelsOf(moduleColumn);
    ReleasePanelsOf(areaColumn);
    // Panels whose column was never given or is gone already.
    modulePanels.clear();
    areaPanels.clear();
}
