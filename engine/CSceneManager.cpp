#include "engine/CSceneManager.h"

#include "base/CReportError.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <new>

CSceneManager::~CSceneManager()
{
    if (document != nullptr)
        document->Save("Scene_Data.xml");
    delete document;
}

CXmlDocument* CSceneManager::GetSceneDocument()
{
    if (document == nullptr)
    {
        document = new (std::nothrow) CXmlDocument();
        if (document == nullptr)
            CReportError::GetInstance()->ReportFatalError("Error: not enough memory to allocate Master Scene XML Document");
    }
    return document;
}

CXmlNode* CSceneManager::GetScene(int slot)
{
    return GetSceneDocument()->GetRoot("Root")->GetChildByInt(Tag::Scene, Tag::Slot, slot);
}
