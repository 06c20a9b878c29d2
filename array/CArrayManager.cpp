#include "array/CArrayManager.h"

#include "array/ArrayLimits.h"
#include "base/CRunFolders.h"
#include "venue/CVenueManager.h"
#include "venue/VenueLimits.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <stdexcept>

const std::string CArrayManager::kSettingsFileName = "Manager_Array_Settings.xml";
const std::string CArrayManager::kOutputFileName = "Array_Output.xml";

namespace
{
const std::string kTypesDefault = "Many";
const std::string kScriptDefault = ".\\Default_Array_Script.xml";
const std::string kDefaultArrayFile = "Array_5-1.xml";

// Stored names keep their backslashes; files are opened with '/' separators.
std::string LocalPath(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// Takes the venue copy out of the array document however the save ends.
class VenueInArrayGuard
{
public:
    explicit VenueInArrayGuard(CXmlNode* arrayRoot) : root(arrayRoot) {}
    ~VenueInArrayGuard() { CVenueManager::RemoveVenueFrom(root); }
    VenueInArrayGuard(const VenueInArrayGuard&) = delete;
    VenueInArrayGuard& operator=(const VenueInArrayGuard&) = delete;

private:
    CXmlNode* root;
};
} // namespace

CArrayManager::~CArrayManager()
{
    if (document == nullptr)
        return;
    // A destructor must not throw; the output file is a record, not the design.
    try
    {
        document->Save(kOutputFileName);
    }
    catch (...)
    {
    }
}

//==============================================================================
void CArrayManager::StartUp()
{
    CXmlDocument local;
    local.Load(CRunFolders::SettingsFile(kSettingsFileName));
    CXmlNode* root = local.GetRoot(Tag::Root);
    root->GetChild(Tag::Types)->GetString(kTypesDefault);
    const std::string scriptName = root->GetChild(Tag::FileName)->GetString(kScriptDefault);
    local.Save("");

    std::srand(hasStartupSeed ? startupSeed : (unsigned) std::time(nullptr));

    local.Load(LocalPath(scriptName));
    WriteDefaultScript(local.ClearRoot());
    local.Save("");

    BuildFromScript(local);
}

void CArrayManager::SetStartupSeed(unsigned seed)
{
    hasStartupSeed = true;
    startupSeed = seed;
}

void CArrayManager::WriteDefaultScript(CXmlNode* root)
{
    CXmlNode* array = root->AddChild(Tag::Array);
    array->GetChild(Tag::Slot)->SetInt(1);
    CXmlNode* hang = array->GetChild(Tag::HangPoint);
    hang->GetChild(Tag::UnitLength)->SetString(Tag::Feet);
    hang->GetChild(Tag::X)->SetDouble(0.0);
    CXmlNode* y = hang->GetChild(Tag::Y);
    y->SetDouble(20.0);
    y->GetChild(Tag::Total)->SetDouble(15.0);

    CXmlNode* flybar = array->AddChild(Tag::Product);
    flybar->GetChild(Tag::Model)->SetString(Tag::Model_HB1);
    flybar->GetChild(Tag::SlotSplay)->SetInt(1);
    flybar->GetChild(Tag::SlotPin)->GetInt(1);
    flybar->GetChild(Tag::ValueHang)->SetString(Tag::HangCenter);

    for (int k = 1; k <= 6; ++k)
    {
        const int draw = std::rand() % 4;
        const bool subwoofer = k == 1 && (draw == 0 || draw == 1);
        CXmlNode* product = array->AddChild(Tag::Product);
        product->GetChild(Tag::Model)->SetString(subwoofer ? Tag::Model_DRXS1 : Tag::Model_DRXR1);
        product->GetChild(Tag::SlotSplay)->SetInt(1);
    }
}

void CArrayManager::BuildFromScript(CXmlDocument& script)
{
    GetDocument()->ClearRoot();

    CArrayLineWrap last;
    CXmlNode* scriptRoot = script.GetRoot(Tag::Root);
    for (CXmlNode* source = scriptRoot->FindChild(Tag::Array); ! source->IsNull();
         source = source->NextSibling(Tag::Array))
    {
        CArrayLineWrap line(GetArray(source->FindChild(Tag::Slot)->GetInt(1), kCreate));
        line.GetNode()->GetChild(Tag::HangPoint)->CopyFrom(source->FindChild(Tag::HangPoint));
        line.SetTotal(0);

        int position = 0;
        for (CXmlNode* scriptProduct = source->FindChild(Tag::Product); ! scriptProduct->IsNull();
             scriptProduct = scriptProduct->NextSibling(Tag::Product))
        {
            ++position;
            // A script's own identifier is kept only while it is unique in the design.
            const std::string scriptXGuid = scriptProduct->FindChild(Tag::XGuid)->GetString("");
            CArrayProdWrap product = NewProduct(scriptXGuid);
            const std::string xguid = product.GetXGuid();
            if (! scriptXGuid.empty())
                product.GetNode()->RemoveChild(Tag::XGuid, CXmlNode::kDeleteFlag);
            product.GetNode()->CopyFrom(scriptProduct);
            product.SetXGuid(xguid);
            product.SetInUse(true);
            product.SetAimDistance(1.0);
            line.GetCab(position).Attach(product);
            line.SetTotal(position);
        }

        CArrayProdWrap top = line.GetCab(1).GetProduct();
        line.SetSlotPin(top.GetNode()->GetChild(Tag::SlotPin)->GetInt(7));
        // The counts the panels show must be the cabinets that hang: the script may put a
        // full-range module where the default counts expect the subwoofer.
        int subwoofers = 0;
        int fullRange = 0;
        for (int i = 2; i <= position; ++i)
        {
            const std::string model = line.GetCab(i).GetProduct().GetModel();
            subwoofers += model == Tag::Model_DRXS1 ? 1 : 0;
            fullRange += model == Tag::Model_DRXR1 ? 1 : 0;
        }
        line.SetSubwooferCount(subwoofers);
        line.SetFullRangeCount(fullRange);

        line.RelinkAll();
        line.ComputeGeometry();
        line.CopyPolygonsToVenue();
        last = line;
    }

    GetDocument()->Save(kOutputFileName);
    last.ApplyPickPin();
}

//==============================================================================
CXmlDocument* CArrayManager::GetDocument()
{
    if (document == nullptr)
        document = std::make_unique<CXmlDocument>();
    return document.get();
}

CXmlNode* CArrayManager::GetArray(int number, int mode)
{
    CXmlNode* root = GetDocument()->GetRoot(Tag::Root);
    CXmlNode* array = root->FindChildByInt(Tag::Array, Tag::Slot, number);
    if (! array->IsNull() || mode != kCreate)
        return array;

    array = root->AddChild(Tag::Array);
    array->GetChild(Tag::Slot)->SetInt(number);
    CXmlNode* item = array->GetChild(Tag::RenderSpec)->GetChild(Tag::RenderItem);
    CXmlNode* render = item->GetChild(Tag::Render);
    render->SetString(Tag::Info);
    render->GetChild(Tag::Slot)->SetInt(1);
    CXmlNode* more = item->GetChild(Tag::MetaMore);
    more->GetChild(Tag::ConvLBaseX)->SetDouble(120.0);
    more->GetChild(Tag::ConvLBaseY)->SetDouble(120.0);
    more->GetChild(Tag::ConvGBaseX)->SetDouble(0.0);
    more->GetChild(Tag::ConvGBaseY)->SetDouble(-300.0);
    return array;
}

CArrayLineWrap CArrayManager::GetLine(int number, int mode)
{
    return CArrayLineWrap(GetArray(number, mode));
}

CXmlNode* CArrayManager::GetProductList()
{
    return GetDocument()->GetRoot(Tag::Root)->GetChild(Tag::ProductList);
}

CArrayProdWrap CArrayManager::FindProductByXGuid(const std::string& xguid)
{
    // An empty identifier names no product (it would match one that lacks XGuid).
    if (xguid.empty())
        return CArrayProdWrap();
    return CArrayProdWrap(GetProductList()->FindChildByString(Tag::Product, Tag::XGuid, xguid));
}

CArrayProdWrap CArrayManager::NewProduct(const std::string& xguid)
{
    std::string id = xguid.empty() ? MakeXGuid() : xguid;
    // After a load the counter lags behind the identifiers in the document.
    while (! FindProductByXGuid(id).IsNull())
        id = MakeXGuid();
    CArrayProdWrap product(GetProductList()->AddChild(Tag::Product));
    product.SetXGuid(id);
    return product;
}

std::string CArrayManager::MakeXGuid()
{
    ++xguidCounter;
    std::ostringstream stream;
    stream << xguidCounter;
    if (! stream)
        throw std::runtime_error("XGuidMakeNew Error: Could not convert Int to string");
    return stream.str();
}

//==============================================================================
bool CArrayManager::SaveArrayFile(const std::string& path)
{
    CXmlNode* root = GetDocument()->GetRoot(Tag::Root);
    // The venue travels as a copy, so the venue document and the controls bound to it
    // are never without it.
    VenueInArrayGuard guard(root);
    CVenueManager::GetInstance()->CopyVenueInto(root);
    return GetDocument()->Save(path);
}

bool CArrayManager::LoadArrayFile(const std::string& path)
{
    const std::string name = path.empty() ? kDefaultArrayFile : path;

    // The file is read once and checked before it touches the design: a refused file
    // keeps the current one.
    CXmlDocument probe;
    probe.Load(name);
    CXmlNode* probeRoot = probe.GetRoot(Tag::Root);
    if (! probe.LastParseSucceeded())
        loadError = probe.LastParseError();
    else if (probeRoot->FindChild(Tag::Array)->IsNull())
        loadError = "it holds no " + Tag::Array;
    else
        loadError = ArrayLimits::CheckArrays(probeRoot);
    if (loadError.empty())
        loadError = VenueLimits::CheckVenues(probeRoot);
    if (! loadError.empty())
        return false;

    GetDocument()->TakeContentFrom(probe);
    CXmlNode* root = GetDocument()->GetRoot(Tag::Root);
    CArrayLineWrap line = GetLine(1, kFind);
    try
    {
        line.RelinkAll();
        line.RecomputeAll();
    }
    catch (...)
    {
        // The file's venue is not left behind in the array document.
        CVenueManager::GetInstance()->TakeVenueFrom(root);
        throw;
    }
    CVenueManager::GetInstance()->TakeVenueFrom(root);
    return true;
}

std::string CArrayManager::LastSaveError()
{
    return GetDocument()->LastSaveError();
}
