#pragma once
// Owns the scene document: one `Scene` element per slot, holding copies of the hinted
// parts of the array and venue documents that the renderers draw. Saved to
// "Scene_Data.xml" when destroyed at shutdown. GUI message thread only.

#include "base/TemplateSingleton.h"
#include "xml/CXmlDocument.h"

#include <functional>
#include <map>
#include <memory>

class CXmlNode;

class CSceneManager : public TemplateSingleton<CSceneManager>
{
public:
    virtual ~CSceneManager();

    // The document with every scene built.
    CXmlDocument* GetSceneDocument();
    // The scene of `slot`, built first when its build was put off.
    CXmlNode* GetScene(int slot);

    // Puts off building the scene of `slot` until it is next asked for: a design put back
    // by an undo is often replaced before anything draws it. `build` fills the scene it is
    // given and may only use what outlives this manager (it may run at shutdown).
    void BuildWhenAsked(int slot, std::function<void(CXmlNode* scene)> build);
    // The scene of `slot` for a build that runs now; a build put off is dropped.
    CXmlNode* SceneToBuild(int slot);

private:
    CXmlDocument* Document();
    CXmlNode* SceneNode(int slot);

    std::unique_ptr<CXmlDocument> document;
    std::map<int, std::function<void(CXmlNode*)>> putOff;
};
