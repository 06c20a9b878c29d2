#include "app/CAppStartup.h"

#include "app/CCommandManager.h"
#include "app/CJuceEngineHooks.h"
#include "app/CJuceManager.h"
#include "app/CJuceReportError.h"
#include "app/CListenerManager.h"
#include "array/CArrayManager.h"
#include "base/CReportError.h"
#include "engine/CCommandTable.h"
#include "engine/CDesignState.h"
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
    { Create<CDesignState>, Destroy<CDesignState>, true },
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

std::string ChooseStartupFile(const std::string& commandLineFile, const std::string& rememberedFile,
                              const std::string& documentsFolder)
{
    if (! commandLineFile.empty())
        return commandLineFile;
    if (! rememberedFile.empty() && juce::File::isAbsolutePath(rememberedFile)
        && juce::File(rememberedFile).existsAsFile())
        return rememberedFile;

    const juce::String wanted = "Default.21w";
    const juce::File folder = juce::File(documentsFolder).getChildFile("Kesta");
    if (folder.getChildFile(wanted).existsAsFile())
        return folder.getChildFile(wanted).getFullPathName().toStdString();
    // The name as another system's save dialog may have spelled it; sorted, so that the
    // choice among several spellings does not depend on the directory's order.
    juce::Array<juce::File> found = folder.findChildFiles(juce::File::findFiles, false, "*");
    found.sort();
    for (const juce::File& file : found)
        if (file.getFileName().equalsIgnoreCase(wanted))
            return file.getFullPathName().toStdString();
    return {};
}

void OpenStartupFile()
{
    const std::string path = ChooseStartupFile(
        CJuceManager::GetInstance()->GetStartupFile(), CDesignState::RememberedDesignFile(),
        juce::File::getSpecialLocation(juce::File::userDocumentsDirectory).getFullPathName().toStdString());

    // The default design may be spelled in capitals, extension and all.
    const std::string lower = juce::String(path).toLowerCase().toStdString();
    if (lower.find(".21w") != std::string::npos)
        CCommandManager::GetInstance()->DoGeneral(CCommandTable::kLoadArrayFile, path, 0.0);
    else if (lower.find(".21v") != std::string::npos)
        CCommandManager::GetInstance()->DoGeneral(CCommandTable::kLoadVenueFile, path, 0.0);
    // The history starts at the design the wizard opened with, which has no changes yet.
    CCommandManager::GetInstance()->ClearHistory();
    CDesignState::GetInstance()->TakeAsUnchanged();
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
