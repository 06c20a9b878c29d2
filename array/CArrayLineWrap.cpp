#include "array/CArrayLineWrap.h"

#include "base/CMathHelper.h"
#include "base/CPoint.h"
#include "base/CReportError.h"
#include "product/CProductXMLHelper.h"
#include "venue/CVenueManager.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <cmath>

namespace
{
constexpr int kDefaultSlotPin = 7;
constexpr int kDefaultSubwoofers = 1;
constexpr int kDefaultFullRange = 5;
// The flybar and at most six enclosures below it.
constexpr int kMaxPositions = 7;

// Moves a section point to its place for a cabinet tilted `tilt` with its CG at `origin`;
// the point keeps its local polar form, so the section can be placed again later.
void PlacePoint(CXmlNode* element, double tilt, double originX, double originY)
{
    CPoint* p = element->GetPoint();
    const double r = (p->angle - tilt) * kDegreesToRadians;
    p->x = originX + p->distance * std::cos(r);
    p->y = originY + p->distance * std::sin(r);
    element->StoreValue();
}

// A drawable marker point: the point, then Render = "Circle" with its slot and a Meta tag.
void WriteMarker(CXmlNode* element, double x, double y, int renderSlot, const std::string& metaTag)
{
    CPoint* p = element->GetPoint();
    p->x = x;
    p->y = y;
    element->StoreValue();
    CXmlNode* render = element->GetChild(Tag::Render);
    render->SetString(Tag::Circle);
    render->GetChild(Tag::Slot)->SetInt(renderSlot);
    element->GetChild(Tag::Meta)->GetChild(metaTag);
}

CXmlNode* CatalogueType(CArrayProdWrap product)
{
    return product.GetCatalogueProduct()->FindChild(Tag::Type);
}
} // namespace

bool CArrayLineWrap::IsNull() const
{
    return node->IsNull();
}

//==============================================================================
CArrayCabWrap CArrayLineWrap::GetCab(int position)
{
    CXmlNode* cab = node->GetChild(Tag::CabList)->GetChildByInt(Tag::Cab, Tag::Slot, position);
    cab->GetChild(Tag::Parent);
    CArrayCabWrap wrap(cab);
    wrap.SetParentLink(node);
    return wrap;
}

int CArrayLineWrap::GetTotal()
{
    return node->GetChild(Tag::Total)->GetInt(0);
}

void CArrayLineWrap::SetTotal(int total)
{
    node->GetChild(Tag::Total)->SetInt(total);
}

int CArrayLineWrap::GetSlotPin()
{
    if (IsNull())
        return kDefaultSlotPin;
    return node->GetChild(Tag::ArrayInfo)->GetChild(Tag::SlotPin)->GetChild(Tag::Value)->GetInt(kDefaultSlotPin);
}

void CArrayLineWrap::SetSlotPin(int pin)
{
    node->GetChild(Tag::ArrayInfo)->GetChild(Tag::SlotPin)->GetChild(Tag::Value)->SetInt(pin);
}

int CArrayLineWrap::GetSubwooferCount()
{
    return node->GetChild(Tag::ArrayInfo)->GetChild(Tag::Total_Model_1)->GetChild(Tag::Value)->GetInt(kDefaultSubwoofers);
}

void CArrayLineWrap::SetSubwooferCount(int count)
{
    node->GetChild(Tag::ArrayInfo)->GetChild(Tag::Total_Model_1)->GetChild(Tag::Value)->SetInt(count);
}

int CArrayLineWrap::GetFullRangeCount()
{
    return node->GetChild(Tag::ArrayInfo)->GetChild(Tag::Total_Model_2)->GetChild(Tag::Value)->GetInt(kDefaultFullRange);
}

void CArrayLineWrap::SetFullRangeCount(int count)
{
    node->GetChild(Tag::ArrayInfo)->GetChild(Tag::Total_Model_2)->GetChild(Tag::Value)->SetInt(count);
}

double CArrayLineWrap::GetArrayAngle()
{
    return node->GetChild(Tag::ArrayInfo)->GetChild(Tag::Angle)->GetDouble(0.0);
}

//==============================================================================
void CArrayLineWrap::PlaceModels(const std::function<CArrayProdWrap()>& newProduct)
{
    const int subwoofers = GetSubwooferCount();
    const int enclosures = subwoofers + GetFullRangeCount();
    for (int i = 2; i <= kMaxPositions; ++i)
    {
        const std::string& model = i <= subwoofers + 1 ? Tag::Model_DRXS1 : Tag::Model_DRXR1;
        if (i <= enclosures + 1)
        {
            CArrayProdWrap product = GetCab(i).GetOrCreateProduct(newProduct);
            product.SetModel(model);
            product.SetSlotSplayToOne();
            product.SetInUse(true);
        }
        else
        {
            CArrayProdWrap product = GetCab(i).GetProduct();
            if (! product.IsNull())
                product.SetInUse(false);
        }
    }
    SetTotal(enclosures + 1);
}

void CArrayLineWrap::AttachAll()
{
    const int total = GetTotal();
    for (int i = 1; i <= total; ++i)
    {
        CArrayCabWrap cab = GetCab(i);
        cab.Attach(cab.GetProduct());
    }
}

void CArrayLineWrap::RelinkAll()
{
    const int total = GetTotal();
    for (int i = 1; i <= total; ++i)
    {
        CArrayCabWrap cab = GetCab(i);
        CArrayProdWrap product = cab.GetProduct();
        cab.Attach(product);
        if (! product.IsNull())
            product.RefreshFromCatalogue(ModelBelow(i));
    }
}

std::string CArrayLineWrap::ModelBelow(int position)
{
    CArrayProdWrap lower = GetCab(position + 1).GetProduct();
    return lower.IsNull() ? Tag::None : lower.GetModel();
}

//==============================================================================
void CArrayLineWrap::PlacePositions(const std::string& section, int pin, double defaultAngle)
{
    if (IsNull())
        return;

    // Creates the user's choices with their defaults on a line that lacks them.
    GetSubwooferCount();
    GetFullRangeCount();
    GetSlotPin();

    CXmlNode* pins = node->GetChild(Tag::PinList);
    CXmlNode* linePin = pin != 0 ? pins->FindChildByInt(Tag::Pin, Tag::Slot, pin) : CXmlNode::GetNullNode();
    const bool pinFound = ! linePin->IsNull();
    const double arrayAngle = pinFound ? linePin->GetChild(Tag::Angle)->GetDouble(defaultAngle) : defaultAngle;
    node->GetChild(Tag::ArrayInfo)->GetChild(Tag::Angle)->SetDouble(arrayAngle);

    CProductXMLHelper helper;
    double tilt = 0.0;
    double originX = 0.0, originY = 0.0;
    double touchX = 0.0, touchY = 0.0;
    std::string touch, touchTo;
    double gap = 0.0;

    const int total = GetTotal();
    for (int i = 1; i <= total; ++i)
    {
        CArrayProdWrap product = GetCab(i).GetProduct();
        CXmlNode* s = product.GetNode()->GetChild(section);
        if (! product.IsNull() && product.GetSplayOption()->IsNull())
            product.LinkSplay(ModelBelow(i));
        CXmlNode* joint = product.GetSplayOption();

        if (i == 1)
            tilt = 0.0 - arrayAngle;    // a level array reads 0, not -0

        s->GetChild(Tag::Angle)->SetDouble(tilt);
        const double a = tilt;
        tilt = a + joint->FindChild(Tag::Angle)->GetDouble(0.0);

        if (i > 1)
        {
            // The joint above: its touch point rests `gap` away from the touch-to point
            // of this cabinet, the gap running square to the mean of the two tilts.
            const CPoint* rest = s->FindChild(touchTo)->GetPoint();
            const double beta = (-(a + tilt) / 2.0 - 90.0) * kDegreesToRadians;
            const double px = touchX + gap * std::cos(beta);
            const double py = touchY + gap * std::sin(beta);
            const double phi = (rest->angle + 180.0 - a) * kDegreesToRadians;
            originX = px + rest->distance * std::cos(phi);
            originY = py + rest->distance * std::sin(phi);
        }

        WriteMarker(s->GetChild(Tag::CG), originX, originY, 1, Tag::CG);

        touch = joint->FindChild(Tag::Touch)->GetString("");
        touchTo = joint->FindChild(Tag::TouchTo)->GetString("");
        gap = joint->FindChild(Tag::Spacing)->GetDouble(0.0);

        for (const std::string& name : helper.GetPointNames())
        {
            CXmlNode* element = s->FindChild(name);
            if (! element->IsNull())
                PlacePoint(element, a, originX, originY);
        }

        if (pinFound && i == 1 && CatalogueType(product)->GetString("") == Tag::Flybar)
        {
            CXmlNode* catalogue = product.GetCatalogueProduct();
            CPoint* pick = catalogue->FindChild(Tag::PinList)->FindChildByInt(Tag::Pin, Tag::Slot, pin)->GetPoint();
            pick->SetPolarFrom(0.0, 0.0);

            CXmlNode* hang = s->GetChild(Tag::HangCG);
            CPoint* hangPoint = hang->GetPoint();
            hangPoint->angle = pick->angle;
            hangPoint->distance = pick->distance;
            const double r = (pick->angle - a) * kDegreesToRadians;
            WriteMarker(hang, originX + pick->distance * std::cos(r), originY + pick->distance * std::sin(r),
                        2, Tag::HangCG);

            node->GetChild(Tag::ArrayInfo)->SetForward(catalogue->FindChild(Tag::ArrayInfo));
        }
        else if (i == 1)
        {
            // Hanging from no pin of the list, the array has no hang marker: one left from
            // another pin would make the design depend on the pins tried before.
            while (! s->FindChild(Tag::HangCG)->IsNull())
                s->RemoveChild(Tag::HangCG, CXmlNode::kDeleteFlag);
        }

        const CPoint* touchPoint = s->FindChild(touch)->GetPoint();
        touchX = touchPoint->x;
        touchY = touchPoint->y;
    }
}

void CArrayLineWrap::ComputeCentreOfGravity(const std::string& section)
{
    if (IsNull())
        return;

    // The sums are taken about (100, 100) and shifted back, the way the published
    // rigging figures were computed; the result is the weighted mean.
    constexpr double kShift = 100.0;
    double weight = 0.0, sumX = 0.0, sumY = 0.0;
    const int total = GetTotal();
    for (int i = 1; i <= total; ++i)
    {
        CArrayProdWrap product = GetCab(i).GetProduct();
        const CPoint* cg = product.GetNode()->FindChild(section)->FindChild(Tag::CG)->GetPoint();
        const double w = product.GetCatalogueProduct()->FindChild(Tag::Weight)->GetDouble(0.0);
        weight += w;
        sumX += (cg->x - kShift) * w;
        sumY += (cg->y - kShift) * w;
    }

    // No weight at all leaves nothing to balance: the CG goes to the origin.
    const double x = weight != 0.0 ? sumX / weight + kShift : 0.0;
    const double y = weight != 0.0 ? sumY / weight + kShift : 0.0;

    node->GetChild(Tag::Weight)->SetDouble(weight);
    WriteMarker(node->GetChild(section)->GetChild(Tag::CG), x, y, 1, Tag::ArrayCG);
}

void CArrayLineWrap::ComputePinAngles()
{
    if (IsNull())
        return;

    CArrayProdWrap top = GetCab(1).GetProduct();
    const CPoint* cg = node->GetChild(Tag::AssemblyCGInfo)->GetChild(Tag::CG)->GetPoint();
    const double cgX = cg->x, cgY = cg->y;

    if (CatalogueType(top)->GetString("") != Tag::Flybar)
        CReportError::GetInstance()->ReportFatalError("Error: Top of array is not a flybar");

    CXmlNode* catalogue = top.GetCatalogueProduct();
    CXmlNode* pins = catalogue->FindChild(Tag::PinList);
    const int pinTotal = catalogue->FindChild(Tag::PinTotal)->GetInt(0);
    for (int k = 1; k <= pinTotal; ++k)
    {
        CXmlNode* pin = pins->FindChildByInt(Tag::Pin, Tag::Slot, k);
        if (pin->IsNull())
            continue;
        const CPoint* p = pin->GetPoint();
        const double theta = std::atan2(cgY - p->y, cgX - p->x) * kRadiansToDegrees;
        node->GetChild(Tag::PinList)->GetChildByInt(Tag::Pin, Tag::Slot, k)->GetChild(Tag::Angle)
            ->SetDouble(-(theta + 90.0));
    }
}

void CArrayLineWrap::ComputeGeometry()
{
    if (IsNull())
        return;
    PlacePositions(Tag::AssemblyCGInfo, 0, 0.0);
    ComputeCentreOfGravity(Tag::AssemblyCGInfo);
    ComputePinAngles();
    PlacePositions(Tag::CGInfo, GetSlotPin(), 0.0);
    ComputeCentreOfGravity(Tag::CGInfo);
}

void CArrayLineWrap::CopyPolygonsToVenue()
{
    if (IsNull())
        return;
    CXmlNode* venueArray = CVenueManager::GetInstance()->GetVenue(1)->GetChildByInt(Tag::Array, Tag::Slot, 1);
    const int total = GetTotal();
    for (int i = 1; i <= total; ++i)
    {
        CXmlNode* polygon = venueArray->GetChildByInt(Tag::Cab, Tag::Slot, i)->GetChild(Tag::Polygon);
        // Only the newest outline is kept, so venue and array files do not grow per edit.
        while (! polygon->FindChild(Tag::AssemblyCGInfo)->IsNull())
            polygon->RemoveChild(Tag::AssemblyCGInfo, CXmlNode::kDeleteFlag);
        polygon->AddCopyOf(GetCab(i).GetProduct().GetNode()->FindChild(Tag::AssemblyCGInfo));
        if (polygon->FindChild(Tag::CG)->IsNull())
            polygon->GetChild(Tag::CG, nullptr, CXmlNode::kFirst);
    }
}

void CArrayLineWrap::RecomputeAll()
{
    if (IsNull())
        return;
    RelinkAll();
    ComputeGeometry();
    CopyPolygonsToVenue();
    ApplyPickPin();
}

void CArrayLineWrap::ApplyPickPin()
{
    if (IsNull())
        return;
    PlacePositions(Tag::CGInfo, GetSlotPin(), 0.0);
    ComputeCentreOfGravity(Tag::CGInfo);
}
