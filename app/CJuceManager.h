#pragma once
// User-interface state shared by the panels and the engine: display units and origin
// offsets, the settings document ("Settings.xml"), the look and feels, the canvas picture
// and the two panel columns. Never destroyed; its documents, look and feels and panels are
// released by the shutdown steps. GUI message thread only.
//
// The panel and look-and-feel classes live in the user-interface layer, which the core
// must not depend on: the window installs creators for them (SetPanelFactory,
// SetLookAndFeelCreator) before it builds its content.

#include "base/TemplateSingleton.h"
#include "render/CDisplayUnits.h"
#include "render/CVenuePicture.h"
#include "xml/XmlTags.h"

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace juce
{
class Component;
class Image;
class LookAndFeel;
}
class CXmlDocument;
class CXmlNode;

class CJuceManager : public TemplateSingleton<CJuceManager>
{
public:
    // What each module panel shows: 1 empty position, 2 flybar, 3 subwoofer, 4 full range.
    enum ModuleKind { kModuleNone = 1, kModuleFlybar = 2, kModuleSubwoofer = 3, kModuleFullRange = 4 };

    struct PanelFactory
    {
        // A new module panel (CKWEMJuceModule).
        std::function<juce::Component*()> createModulePanel;
        // Sets a module panel up: (panel, position number, index, model caption, kind).
        std::function<void(juce::Component*, int, int, const std::string&, int)> refreshModulePanel;
        // A new venue-area panel for area 1 (hang point), 2 (stage) or 3..5 (audience).
        std::function<juce::Component*(int)> createAreaPanel;
        // Gives an area panel its area number and binds it: (panel, area number).
        std::function<void(juce::Component*, int)> refreshAreaPanel;
    };
    // The look and feel of `kind` (1 or 2), owned by the caller of the creator's result
    // from then on, i.e. by this manager.
    using LookAndFeelCreator = std::function<juce::LookAndFeel*(int)>;

    CJuceManager();
    virtual ~CJuceManager();

    //==========================================================================
    // Start-up file and the components of the window (none owned)
    std::string GetStartupFile() const { return startupFile; }
    void SetStartupFile(const std::string& path) { startupFile = path; }
    juce::Component* GetMainWindowContent() const { return mainWindowContent; }
    void SetMainWindowContent(juce::Component* c) { mainWindowContent = c; }
    juce::Component* GetArrayInfoPanel() const { return arrayInfoPanel; }
    void SetArrayInfoPanel(juce::Component* c) { arrayInfoPanel = c; }
    juce::Component* GetModuleColumn() const { return moduleColumn; }
    juce::Component* GetAreaColumn() const { return areaColumn; }
    // Repainted after every redraw.
    juce::Component* GetMainComponent() const { return mainComponent; }
    void SetMainComponent(juce::Component* c) { mainComponent = c; }
    juce::Image* GetCanvasImage() const { return canvasImage; }
    void SetCanvasImage(juce::Image* image) { canvasImage = image; }

    //==========================================================================
    // Look and feels: kinds 1 and 2 are created on first request (once a creator is
    // installed) and kept; any other kind is null.
    void SetLookAndFeelCreator(LookAndFeelCreator creator);
    juce::LookAndFeel* GetLookAndFeel(int kind);
    // Shutdown step: deletes the panels (they use the look and feels), then the look and feels.
    void ReleaseLookAndFeels();

    //==========================================================================
    // Settings document, loaded from "Settings.xml" on first use.
    CXmlNode* GetSettingsRoot();
    // Shutdown step: saves "Settings.xml" (silently) and deletes the document.
    void SaveAndReleaseSettings();

    //==========================================================================
    // Units and offsets. Documents hold inches and pounds; offsets are inches, keyed
    // "sX", "sY", "eX", "eY" (unknown keys count 0).
    void SetUnitSystem(const std::string& lengthUnit, const std::string& weightUnit);
    std::string GetDisplayLengthUnit() const { return displayLengthUnit; }
    std::string GetDisplayWeightUnit() const { return displayWeightUnit; }
    std::string GetInternalLengthUnit() const { return internalLengthUnit; }
    std::string GetInternalWeightUnit() const { return internalWeightUnit; }
    void SetOffsets(double x, double y);
    double GetOffset(const std::string& key) const;
    double ToDisplayLength(const std::string& key, double inches) const;
    double FromDisplayLength(const std::string& key, double shown) const;
    double ToDisplayWeight(double pounds) const;
    // The units and the venue's x and y offsets, for the picture and the report.
    CDisplayUnits GetDisplayUnits() const;
    // The venue picture: scene 2, SPL samples in the view's level on the SPL manager's
    // scale, which follows the levels on show while the design's scale is automatic.
    static CVenuePicture::Options ScenePicture();
    // The level an SPL sample shows in the current view (null in the classic view: its
    // PressureDB).
    static CRendererLine::SampleLevel ViewLevel();
    // The same, annotated in the display units; the caller sets the framing.
    CVenuePicture::Options AnnotatedPicture() const;

    //==========================================================================
    // Clears the canvas picture, draws scene 2 into it and repaints the main component.
    // While a picture redraw is installed (the window's venue view), it draws instead.
    // Then tells the redraw listener (the design may have changed).
    void Redraw();
    void SetPictureRedraw(std::function<void()> redraw) { pictureRedraw = std::move(redraw); }
    void SetRedrawListener(std::function<void()> listener) { redrawListener = std::move(listener); }
    // The venue picture as the venue view shows it after a redraw: the dark grey
    // background, then scene 2 (also for pictures drawn outside the window).
    static void DrawVenuePicture(juce::Image& picture);
    // Draws scene 2 over what `picture` holds, SPL samples in the view's level on the SPL
    // manager's scale.
    static void RenderScene(juce::Image& picture);

    //==========================================================================
    // Panel columns. A non-null column is remembered and the panels are created in it;
    // null updates the panels of the remembered column. The panels are owned here and go
    // with their column: deleting a column deletes its panels first.
    void SetPanelFactory(PanelFactory factory);
    void LayoutModulePanels(juce::Component* column);
    void LayoutAreaPanels(juce::Component* column);
    juce::Component* GetModulePanel(int index) const;
    juce::Component* GetAreaPanel(int index) const;
    // Deletes the panels of `column` (module or area column) and forgets the column.
    void ReleasePanelsOf(juce::Component* column);
    void ReleasePanels();

    static constexpr int kModulePanelCount = 7;
    static constexpr int kAreaPanelCount = 5;

private:
    std::string startupFile;
    juce::Component* mainWindowContent = nullptr;
    juce::Component* arrayInfoPanel = nullptr;
    juce::Component* moduleColumn = nullptr;
    juce::Component* areaColumn = nullptr;
    juce::Component* mainComponent = nullptr;
    juce::Image* canvasImage = nullptr;
    std::function<void()> pictureRedraw;
    std::function<void()> redrawListener;
    std::map<int, std::unique_ptr<juce::LookAndFeel>> lookAndFeels;
    LookAndFeelCreator lookAndFeelCreator;
    std::string internalLengthUnit = Tag::Inches;
    std::string internalWeightUnit = Tag::Pounds;
    std::string displayLengthUnit = Tag::Feet;
    std::string displayWeightUnit = Tag::Pounds;
    std::map<std::string, double> offsets;
    std::unique_ptr<CXmlDocument> settings;
    PanelFactory panelFactory;
    std::vector<std::unique_ptr<juce::Component>> modulePanels;
    std::vector<std::unique_ptr<juce::Component>> areaPanels;
};
