#include "engine/CSceneManager.h"

#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

CSceneManager::~CSceneManager()
{
    if (document != nullptr)
        document->Save("Scene_Data.xml");
}

CXmlDocument* CSceneManager::GetSceneDocument()
{
    if (document == nullptr)
        document = std::make_unique<CXmlDocument>();
    return document.get();
}

CXmlNode* CSceneManager::GetScene(int slot)
{
    return GetSceneDocument()->GetRoot(Tag::Root)->GetChildByInt(Tag::Scene, Tag::Slot, slot);
}
