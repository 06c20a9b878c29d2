#include "product/CProductManager.h"

#include "app/CReportError.h"
#include "base/CRunFolders.h"
#include "product/CBuiltInProducts.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <new>

const std::string CProductManager::kSettingsFileName = "Manager_Product_Settings.xml";

namespace
{
const std::string kRootName = "Root";
const std::string kTypesTag = "Types";
const std::string kTypesDefault = "Many";
}

CProductManager::~CProductManager()
{
    delete productDocument;
    productDocument = nullptr;
    delete combosDocument;
    combosDocument = nullptr;
}

bool CProductManager::StartUp()
{
    CXmlDocument settings;
    settings.Load(CRunFolders::SettingsFile(kSettingsFileName));
    settings.GetRoot(kRootName)->GetChild(kTypesTag)->GetString(kTypesDefault);
    settings.Save("");

    const bool written = CBuiltInProducts::WriteBuiltInProducts();
    if (! written)
        CReportError::GetInstance()->LogMessage("Warning: the product files could not be written in the run directory.");
    return written;
}

CXmlDocument* CProductManager::LoadDocument(CXmlDocument*& field, const std::string& fileName,
                                            const std::string& failureMessage)
{
    if (field == nullptr)
    {
        CXmlDocument* document = new (std::nothrow) CXmlDocument();
        if (document == nullptr)
            CReportError::GetInstance()->ReportFatalError(failureMessage);
        document->Load(fileName);
        field = document;
    }
    return field;
}

CXmlNode* CProductManager::GetProductRoot()
{
    return LoadDocument(productDocument, CBuiltInProducts::kProductFileName,
                        "Error: CProductManager could not allocate memory for Product XML Document.")
        ->GetRoot(kRootName);
}

CXmlNode* CProductManager::GetCombosRoot()
{
    return LoadDocument(combosDocument, CBuiltInProducts::kCombosFileName,
                        "Error: CProductManager could not allocate memory for Product Combos XML Document.")
        ->GetRoot(kRootName);
}

CXmlNode* CProductManager::FindProduct(const std::string& model)
{
    // A keyed search for "" would match a Product that lacks its Model.
    if (model.empty())
        return CXmlNode::GetNullNode();
    return GetProductRoot()->FindChildByString(Tag::Product, Tag::Model, model);
}

CXmlNode* CProductManager::FindSplay(const std::string& upperModel, const std::string& lowerModel, int option)
{
    CXmlNode* combos = GetCombosRoot()->GetChild(Tag::Product_Combo);
    CXmlNode* combo = combos->FindChildByString(Tag::Combo, Tag::Key, upperModel + lowerModel);
    if (combo->IsNull())
        return combo;
    return combo->FindChildByInt(Tag::Splay, Tag::Slot, option);
}
