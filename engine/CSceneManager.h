#pragma once
// Owns the scene document: one `Scene` element per slot, holding copies of the hinted
// parts of the array and venue documents that the renderers draw. Saved to
// "Scene_Data.xml" when destroyed at shutdown. GUI message thread only.

#include "base/TemplateSingleton.h"
#include "xml/CXmlDocument.h"

#include <memory>

class CXmlNode;

class CSceneManager : public TemplateSingleton<CSceneManager>
{
public:
    virtual ~CSceneManager();

    CXmlDocument* GetSceneDocument();
    CXmlNode* GetScene(int slot);

private:
    std::unique_ptr<CXmlDocument> document;
};
