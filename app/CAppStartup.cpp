#include "app/CAppStartup.h"

#include "app/CCommandManager.h"
#include "app/CJuceEngineHooks.h"
#include "app/CJuceManager.h"
#include "app/CJuceReportError.h"
#include "app/CListenerManager.h"
#include "array/CArrayManager.h"
#include "base/CReportError.h"
#include "engine/CCommandTable.h"
#include "base/CRunFolders.h"
#include "engine/CEngineManager.h"
#include "engine/CSPLManager.h"
#include "engine/CSceneManager.h"
#include "product/CProductManager.h"
#include "render/CRenderManager.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_core/juce_core.h>

namespace
{
template <class T>
void Create()
{
    T::GetInstance();
}

template <class T>
void Destroy()
{
    T::DestroyInstance();
}

void DestroyUiManager()
{
    if (! CJuceManager::HasInstance())
        return;
    CJuceManager::GetInstance()->ReleaseLookAndFeels();
    CJuceManager::GetInstance()->SaveAndReleaseSettings();
    CJuceManager::DestroyInstance();
}

struct Singleton
{
    void (*create)();
    void (*destroy)();
    bool engineSide; // destroyed by ShutdownEngineDocuments
};

// Every process-wide object in the order of creation; shutdown destroys them in the reverse
// order, so the error reporter goes last and every manager outlives those made after it.
const Singleton kSingletons[] = {
    { Create<CReportError>, Destroy<CReportError>, false },
    { [] { CXmlNode::GetNullNode(); }, CXmlNode::DestroyNullNode, false },
    { Create<CListenerManager>, Destroy<CListenerManager>, false },
    { Create<CJuceManager>, DestroyUiManager, false },
    { Create<CCommandManager>, Destroy<CCommandManager>, false },
    { Create<CRenderManager>, Destroy<CRenderManager>, false },
    { Create<CSPLManager>, Destroy<CSPLManager>, false },
    { Create<CProductManager>, Destroy<CProductManager>, true },
    { Create<CArrayManager>, Destroy<CArrayManager>, true },
    { Create<CVenueManager>, Destroy<CVenueManager>, true },
    { Create<CSceneManager>, Destroy<CSceneManager>, true },
    { Create<CEngineManager>, Destroy<CEngineManager>, true },
};

void DestroySingletons(bool engineSide)
{
    for (auto it = std::rbegin(kSingletons); it != std::rend(kSingletons); ++it)
        if (it->engineSide == engineSide)
            it->destroy();
}
} // namespace

void StartServices(ReporterMode mode)
{
    CJuceManager* ui = CJuceManager::GetInstance();
    ui->SetOffsets(-240.0, 0.0);
    CEngineHooks::Install(&CJuceEngineHooks::Instance());
    if (mode == ReporterMode::Gui)
        InstallGuiReporter();
    CCommandManager::GetInstance()->GetUndoManager();
    CListenerManager::GetInstance();
}

void StartCore(ReporterMode mode)
{
    for (const Singleton& singleton : kSingletons)
        singleton.create();
    StartServices(mode);
    CEngineManager::GetInstance()->StartEngine();

    CXmlNode* unitType = CJuceManager::GetInstance()->GetSettingsRoot()->GetChild(Tag::UnitType)->GetChild(Tag::Value);
    if (unitType->GetString(Tag::US) == Tag::US)
        CJuceManager::GetInstance()->SetUnitSystem(Tag::Feet, Tag::Pounds);
    else
        CJuceManager::GetInstance()->SetUnitSystem(Tag::Meters, Tag::Kilograms);

    CXmlDocument settings;
    settings.Load(CRunFolders::SettingsFile("ZORV_Settings.xml"));
    settings.GetRoot(Tag::Root)->GetChild(Tag::Run_Directory)->GetString("..\\RunHere\\");
    settings.Save("");
}

void OpenStartupFile()
{
    std::string path = CJuceManager::GetInstance()->GetStartupFile();
    if (path.empty())
    {
        // A first run has no default design yet; the built-in one stays.
        const juce::File fallback = juce::File::getSpecialLocation(juce::File::userDocumentsDirectory)
                                        .getChildFile("Kesta")
                                        .getChildFile("Default.21w");
        if (! fallback.existsAsFile())
            return;
        path = fallback.getFullPathName().toStdString();
    }

    if (path.find(".21w") != std::string::npos)
        CCommandManager::GetInstance()->DoGeneral(CCommandTable::kLoadArrayFile, path, 0.0);
    else if (path.find(".21v") != std::string::npos)
        CCommandManager::GetInstance()->DoGeneral(CCommandTable::kLoadVenueFile, path, 0.0);
    // The history starts at the design the wizard opened with.
    CCommandManager::GetInstance()->GetUndoManager()->clearUndoHistory();
}

void ShutdownEngineDocuments()
{
    DestroySingletons(true);
}

void ShutdownCore()
{
    CEngineHooks::Uninstall(&CJuceEngineHooks::Instance());
    DestroySingletons(false);
}
