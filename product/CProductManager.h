#pragma once
// The product catalogue: the products ("Product_PX1.xml") and the joints between two
// stacked products ("Product_PX1_Combos.xml"). The singleton owns both documents, loads
// each on first use and never saves or reloads them, so catalogue nodes handed out stay
// valid for the run. GUI message thread only.

#include "base/TemplateSingleton.h"
#include "xml/CXmlDocument.h"

#include <memory>
#include <string>

class CXmlNode;

class CProductManager : public TemplateSingleton<CProductManager>
{
public:
    static const std::string kSettingsFileName;

    virtual ~CProductManager();

    // Start-up step: the settings file, then the product files from the built-in
    // definitions. True; a product file that cannot be written is a fatal report naming it
    // and why (the catalogue is read back from it).
    bool StartUp();

    CXmlNode* GetProductRoot();
    CXmlNode* GetCombosRoot();

    // The Product whose Model is `model`, or the null node.
    CXmlNode* FindProduct(const std::string& model);
    // The Splay option `option` of the joint of `upperModel` over `lowerModel`, or the null node.
    CXmlNode* FindSplay(const std::string& upperModel, const std::string& lowerModel, int option);

private:
    friend class TemplateSingleton<CProductManager>;
    CProductManager() = default;

    static CXmlDocument* LoadDocument(std::unique_ptr<CXmlDocument>& field, const std::string& fileName);

    std::unique_ptr<CXmlDocument> productDocument;
    std::unique_ptr<CXmlDocument> combosDocument;
};
