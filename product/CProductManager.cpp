#include "product/CProductManager.h"

#include "base/CReportError.h"
#include "base/CRunFolders.h"
#include "product/CBuiltInProducts.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

const std::string CProductManager::kSettingsFileName = "Manager_Product_Settings.xml";

namespace
{
const std::string kTypesDefault = "Many";
}

CProductManager::~CProductManager() = default;

bool CProductManager::StartUp()
{
    CXmlDocument settings;
    settings.Load(CRunFolders::SettingsFile(kSettingsFileName));
    settings.GetRoot(Tag::Root)->GetChild(Tag::Types)->GetString(kTypesDefault);
    settings.Save("");

    // The catalogue is read back from these files: without them no array can be built, and
    // what would fail later ("Top of array is not a flybar") would not say why.
    const std::string error = CBuiltInProducts::WriteBuiltInProducts();
    if (! error.empty())
        CReportError::GetInstance()->ReportFatalError("Error: The product catalogue cannot be written in the run folder: "
                                                      + error);
    return true;
}

CXmlDocument* CProductManager::LoadDocument(std::unique_ptr<CXmlDocument>& field, const std::string& fileName)
{
    if (field == nullptr)
    {
        field = std::make_unique<CXmlDocument>();
        field->Load(fileName);
    }
    return field.get();
}

CXmlNode* CProductManager::GetProductRoot()
{
    return LoadDocument(productDocument, CBuiltInProducts::kProductFileName)->GetRoot(Tag::Root);
}

CXmlNode* CProductManager::GetCombosRoot()
{
    return LoadDocument(combosDocument, CBuiltInProducts::kCombosFileName)->GetRoot(Tag::Root);
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
