#pragma once
// Builds one scene element: walks the scan roots, and for every element named by a
// trigger copies its render-hinted children into items keyed by where they came from.
// A short-lived local of the code that builds a scene; owns its two lists.

#include "xml/CXmlWrap.h"

#include <memory>
#include <string>

class CXmlDocument;

class CSceneWrap : public CXmlWrap
{
public:
    CSceneWrap();
    ~CSceneWrap() override;

    void ClearLists();
    void AddTrigger(const std::string& tag);
    void AddScanRoot(CXmlNode* root);
    void BuildScene();

private:
    void ScanNode(CXmlNode* n, std::string key);
    void CopyItems(CXmlNode* trigger, const std::string& key);
    static void ApplyStyles(CXmlNode* meta, CXmlNode* tagList);

    std::unique_ptr<CXmlDocument> scanHolder;
    std::unique_ptr<CXmlDocument> triggerHolder;
    CXmlNode* scanList = nullptr;
    CXmlNode* triggerList = nullptr;
};
