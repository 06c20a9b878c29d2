#include "engine/CSceneManager.h"

#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <utility>

CSceneManager::~CSceneManager()
{
    if (document != nullptr)
        GetSceneDocument()->Save("Scene_Data.xml");
}

CXmlDocument* CSceneManager::GetSceneDocument()
{
    while (! putOff.empty())
        GetScene(putOff.begin()->first);
    return Document();
}

CXmlNode* CSceneManager::GetScene(int slot)
{
    const auto found = putOff.find(slot);
    if (found != putOff.end())
    {
        const std::function<void(CXmlNode*)> build = std::move(found->second);
        putOff.erase(found);
        build(SceneNode(slot));
    }
    return SceneNode(slot);
}

void CSceneManager::BuildWhenAsked(int slot, std::function<void(CXmlNode*)> build)
{
    putOff[slot] = std::move(build);
    // The scene drawn so far is of the design replaced: no one may see it again, so it is
    // let go now rather than held until the build.
    CXmlNode* scene = SceneNode(slot);
    scene->ClearChildren();
    scene->GetChild(Tag::Slot)->SetInt(slot);
}

CXmlNode* CSceneManager::SceneToBuild(int slot)
{
    putOff.erase(slot);
    return SceneNode(slot);
}

CXmlDocument* CSceneManager::Document()
{
    if (document == nullptr)
        document = std::make_unique<CXmlDocument>();
    return document.get();
}

CXmlNode* CSceneManager::SceneNode(int slot)
{
    return Document()->GetRoot(Tag::Root)->GetChildByInt(Tag::Scene, Tag::Slot, slot);
}
