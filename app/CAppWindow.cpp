#include "app/CAppWindow.h"

#include "app/CAppStartup.h"
#include "app/CCommandManager.h"
#include "ui/CFoo.h"
#include "app/CJuceManager.h"
#include "ui/CZorvJuceKWEMWindow.h"

namespace
{
constexpr unsigned kStepperMergeMs = 600;
}

CAppWindow::CAppWindow(const juce::String& title, int width, int height)
    : juce::DocumentWindow(title, juce::Colour(0xff2f4f4fu), juce::DocumentWindow::allButtons, true)
{
    setVisible(true);
    centreWithSize(width, height);
    setResizable(true, false);
    setTitleBarTextCentred(false);
    setUsingNativeTitleBar(false);
    StartCore(ReporterMode::Gui);
    // The core creates the window's look and feels and panels through these.
    CZorvJuceKWEMWindow::InstallCreators();
    setLookAndFeel(CJuceManager::GetInstance()->GetLookAndFeel(2));

    juce::Image picture(juce::Image::RGB, 1000, 600, true);
    picture.clear(picture.getBounds(), juce::Colour(0xfff0f8ffu));
    CJuceManager::RenderScene(picture);
    auto* canvas = new CFoo();
    auto* canvasImage = new juce::Image(picture);
    canvas->SetImage(canvasImage);
    CJuceManager::GetInstance()->SetCanvasImage(canvasImage);
    canvas->setSize(picture.getWidth(), picture.getHeight());

    auto* content = new CZorvJuceKWEMWindow();
    setContentOwned(content, false);
    juce::Viewport* view = content->GetVenueViewport();
    view->setViewedComponent(canvas, true);
    view->setViewPosition(0, 0);
    view->setScrollBarsShown(true, true);
    CJuceManager::GetInstance()->SetMainComponent(content);

    // A held stepper's repeats, closer than this, are one step of the history.
    CCommandManager::GetInstance()->SetMergeWindow(kStepperMergeMs);
    addKeyListener(&undoKeys);
}

CAppWindow::~CAppWindow()
{
    // The panels unregister their bindings as they go, so they go first, while the
    // managers they talk to still exist.
    removeKeyListener(&undoKeys);
    CJuceManager::GetInstance()->SetMainComponent(nullptr);
    CJuceManager::GetInstance()->SetCanvasImage(nullptr);
    clearContentComponent();
    setLookAndFeel(nullptr);

    ShutdownEngineDocuments();
    ShutdownCore();
}

void CAppWindow::closeButtonPressed()
{
    juce::JUCEApplication::quit();
}
