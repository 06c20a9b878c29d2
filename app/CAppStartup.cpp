#include "app/CAppStartup.h"

#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "app/CJuceReportError.h"
#include "app/CListenerManager.h"
#include "array/CArrayManager.h"
#include "base/CRunFolders.h"
#include "engine/CEngineManager.h"
#include "engine/CSPLManager.h"
#include "engine/CSceneManager.h"
#include "product/CProductManager.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_core/juce_core.h>

void StartServices(ReporterMode mode)
{
    CJuceManager* ui = CJuceManager::GetInstance();
    ui->SetOffsets(-240.0, 0.0);
    if (mode == ReporterMode::Gui)
        InstallGuiReporter();
    CCommandManager::GetInstance()->GetUndoManager();
    CListenerManager::GetInstance();
}

void StartCore(ReporterMode mode)
{
    CJuceManager::GetInstance();
    StartServices(mode);
    CEngineManager::GetInstance()->StartEngine();

    CXmlNode* unitType = CJuceManager::GetInstance()->GetSettingsRoot()->GetChild(Tag::UnitType)->GetChild(Tag::Value);
    if (unitType->GetString(Tag::US) == Tag::US)
        CJuceManager::GetInstance()->SetUnitSystem(Tag::Feet, Tag::Pounds);
    else
        CJuceManager::GetInstance()->SetUnitSystem(Tag::Meters, Tag::Kilograms);

    CXmlDocument settings;
    settings.Load(CRunFolders::SettingsFile("ZORV_Settings.xml"));
    settings.GetRoot("Root")->GetChild("Run_Directory")->GetString("..\\RunHere\\");
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
        CCommandManager::GetInstance()->DoGeneral("Load Array File", Tag::ArrayFile, path, 0.0);
    else if (path.find(".21v") != std::string::npos)
        CCommandManager::GetInstance()->DoGeneral("Load Venue File", Tag::VenueFile, path, 0.0);
}

void ShutdownEngineDocuments()
{
    CEngineManager::GetInstance();
    CProductManager::DestroyInstance();
    CArrayManager::DestroyInstance();
    CVenueManager::DestroyInstance();
    CSceneManager::DestroyInstance();
}

void ShutdownCore()
{
    CXmlNode::DestroyNullNode();
    CReportError::DestroyInstance();
    CCommandManager::DestroyInstance();
    CListenerManager::DestroyInstance();
    CSPLManager::DestroyInstance();
    CJuceManager::GetInstance()->ReleaseLookAndFeels();
    CJuceManager::GetInstance()->SaveAndReleaseSettings();
}
