#include "app/CAppWindow.h"

#include "app/CAppStartup.h"
#include "app/CCommandManager.h"
#include "ui/CFoo.h"
#include "app/CJuceManager.h"
#include "engine/CDesignState.h"
#include "ui/CSavePrompt.h"
#include "ui/CUiScale.h"
#include "ui/CZorvJuceKWEMWindow.h"

namespace
{
constexpr unsigned kStepperMergeMs = 600;
}

CAppWindow::CAppWindow(const juce::String& title, int width, int height)
    : juce::DocumentWindow(title, juce::Colour(0xff2f4f4fu), juce::DocumentWindow::allButtons, true),
      cleanTitle(title)
{
    StartCore(ReporterMode::Gui);
    // Before the window takes its size, so that the size is the scaled one.
    CUiScale::ApplyRemembered();
    // Placed before it is shown, so that it appears where it stays.
    centreWithSize(width, height);
    setVisible(true);
    setResizable(true, false);
    setTitleBarTextCentred(false);
    setUsingNativeTitleBar(false);
    // The core creates the window's look and feels and panels through these.
    CZorvJuceKWEMWindow::InstallCreators();
    setLookAndFeel(CJuceManager::GetInstance()->GetLookAndFeel(2));

    // The venue view draws its own picture at its own size; the window gives it room.
    auto* content = new CZorvJuceKWEMWindow();
    setContentOwned(content, false);
    // Smaller than it opens, the window would cut off buttons and fields.
    CUiScale::FitToScreen(*this, width, height);
    CJuceManager::GetInstance()->SetMainComponent(content);

    // A held stepper's repeats, closer than this, are one step of the history.
    CCommandManager::GetInstance()->SetMergeWindow(kStepperMergeMs);
    addKeyListener(&undoKeys);
    CJuceManager::GetInstance()->Redraw();

    CDesignState::GetInstance()->SetObserver([this] { UpdateTitle(); });
    UpdateTitle();
}

void CAppWindow::UpdateTitle()
{
    // Unsaved changes show as a leading "*", as desktop programs mark them; the design's file
    // follows the program's name.
    const CDesignState* state = CDesignState::GetInstance();
    const juce::String file = juce::File::isAbsolutePath(state->GetDesignFile())
                                  ? " - " + juce::File(state->GetDesignFile()).getFileName()
                                  : juce::String();
    setName((state->IsModified() ? "*" : "") + cleanTitle + file);
}

CAppWindow::~CAppWindow()
{
    // The panels unregister their bindings as they go, so they go first, while the
    // managers they talk to still exist.
    removeKeyListener(&undoKeys);
    CDesignState::GetInstance()->SetObserver(nullptr);
    CJuceManager::GetInstance()->SetMainComponent(nullptr);
    clearContentComponent();
    setLookAndFeel(nullptr);

    ShutdownEngineDocuments();
    ShutdownCore();
}

void CAppWindow::resized()
{
    juce::DocumentWindow::resized();
    // A window manager may resize the window past its limits (they bind only JUCE's own
    // resizing): it goes back within them.
    if (juce::ComponentBoundsConstrainer* limits = getConstrainer())
        if (getWidth() < limits->getMinimumWidth() || getHeight() < limits->getMinimumHeight())
            limits->checkComponentBounds(this);
}

bool CAppWindow::keyPressed(const juce::KeyPress& key)
{
    // With no control holding the keyboard the window itself hears the keys: its content
    // answers them as it does those its controls pass on.
    if (juce::Component* content = getContentComponent(); content != nullptr && content->keyPressed(key))
        return true;
    return juce::DocumentWindow::keyPressed(key);
}

void CAppWindow::closeButtonPressed()
{
    CSavePrompt::RequestQuit();
}
