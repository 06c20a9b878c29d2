#include "product/CBuiltInProducts.h"

#include "base/CPoint.h"
#include "product/CProductXMLHelper.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <vector>

const std::string CBuiltInProducts::kProductFileName = "Product_PX1.xml";
const std::string CBuiltInProducts::kCombosFileName = "Product_PX1_Combos.xml";

namespace
{

struct NamedPoint
{
    const std::string* name;
    double x, y;
};

struct FlybarDef
{
    double spanPickSide, spanPickFrontRear;
    int pinTotal;
    double pinDelta;
    // Pins from BuildPinList (start, step); the head flybar's pins are listed instead.
    double pinX0, pinY0, pinDx, pinDy;
    bool carriesArrayInfo;
};

// What a loudspeaker radiates for the band prediction: its band range (band n has the
// centre 1000 x 10^(n / 10) Hz), its broadband on-axis level at 1 m, the crossover
// frequency and which side of the crossover feeds it.
struct AcousticsDef
{
    int bandLow, bandHigh;
    double onAxisDB, crossover;
    const std::string* role;
};

struct ProductDef
{
    const std::string* model;
    const std::string* type;
    const std::string* listText;
    double weight, power, pressure, frontHeight, vert, tightAngle, flooreAngle, bottomAdjust;
    bool aimLines;
    double aimCenter, aimUEdge, aimLEdge;
    const FlybarDef* flybar;
    NamedPoint ur, lr, ll, ul, connect1, center;
    bool outlineDrawn;
    const std::string* metaName;
    const AcousticsDef* acoustics;
};

const FlybarDef kPX6Flybar { 39, 0, 19, 1, 9, 0, -1, 0, false };
const FlybarDef kPX7Flybar { 39, 0, 26, 1.5, 18.1, 2, -1.5, 0, false };
const FlybarDef kHB1Flybar { 0, 0, 8, 1, 0, 0, 0, 0, true };

const double kHB1PinX[] = { 5.774, 3.774, 1.774, -2.2276, -4.2276, -6.2276, -8.2276, -10.2276 };

const NamedPoint kNoPoint { nullptr, 0, 0 };

// The full-range module from 50 Hz to 16 kHz at its polar table's on-axis level, fed by
// the high-pass; the subwoofer from 50 Hz to 200 Hz, its Pressure raised by the same
// 9.5 dB step, fed by the low-pass. The crossover shapes both ends where they meet.
const AcousticsDef kFullRangeAcoustics { -13, 12, 123.5, 100.0, &Tag::High };
const AcousticsDef kSubwooferAcoustics { -13, -6, 123.5, 100.0, &Tag::Low };

const ProductDef kProducts[] = {
    { &Tag::PX1, &Tag::Speaker, &Tag::PX1, 241, 1600, 124, 14.5, 6, 1.5, -10.5, 1.5,
      true, 0, -1.5, 1.5, nullptr,
      { &Tag::UR, 17, 7.25 }, { &Tag::LR, 17, -7.25 }, { &Tag::LL, -14, -6.44 }, { &Tag::UL, -14, 6.44 },
      kNoPoint, { &Tag::Center, 17, 0 }, true, &Tag::PX1, nullptr },
    { &Tag::PX2, &Tag::Speaker, &Tag::PX2, 206, 1600, 122, 14.5, 24, 6, -6, 6.2,
      true, 0, -6, 6, nullptr,
      { &Tag::UR, 15, 7.25 }, { &Tag::LR, 15, -7.25 }, { &Tag::LL, -16, -3.963 }, { &Tag::UL, -16, 3.963 },
      kNoPoint, { &Tag::Center, 15, 0 }, true, &Tag::PX2, nullptr },
    { &Tag::Model_DRXR1, &Tag::Speaker, &Tag::Model_DRXR1, 49.2, 1600, 114, 12.454, 12.454, 7.5, -15, 6.2,
      true, 0, 7.5, -7.5, nullptr,
      { &Tag::UR, 8.443, 6.052 }, { &Tag::LR, 8.443, -6.402 }, { &Tag::LL, -7.191, -4.344 },
      { &Tag::UL, -7.191, 3.994 }, kNoPoint, { &Tag::Center, 8.443, -0.175 }, true, &Tag::PX2,
      &kFullRangeAcoustics },
    { &Tag::Model_DRXS1, &Tag::Speaker, &Tag::Model_DRXS1, 97, 1600, 114, 12.37, 12.37, 0, 0, 0,
      false, 0, 0, 0, nullptr,
      { &Tag::UR, 14.795, 9.875 }, { &Tag::LR, 14.795, -9.875 }, { &Tag::LL, -14.345, -9.875 },
      { &Tag::UL, -14.345, 9.875 }, kNoPoint, { &Tag::Center, 14.795, 0 }, true, &Tag::PX2,
      &kSubwooferAcoustics },
    { &Tag::PX6, &Tag::Flybar, &Tag::PX6, 208, 0, 0, 0, 0, 0, 0, 0,
      false, 0, 0, 0, &kPX6Flybar,
      { &Tag::UR, 15.5, 2 }, { &Tag::LR, 15.5, -2 }, { &Tag::LL, -15.5, -2 }, { &Tag::UL, -15.5, 2 },
      { &Tag::Connect1, 15.5, -2 }, { &Tag::Center, 15.5, 0 }, false, nullptr, nullptr },
    // The list entry of this flybar reads "PX6" in the shipped catalogue.
    { &Tag::PX7, &Tag::Flybar, &Tag::PX6, 135, 0, 0, 0, 0, 0, 0, 0,
      false, 0, 0, 0, &kPX7Flybar,
      { &Tag::UR, 23, 3.25 }, { &Tag::LR, 23, -3.25 }, { &Tag::LL, -23, -3.25 }, { &Tag::UL, -23, 3.25 },
      { &Tag::Connect1, 23, -3.25 }, { &Tag::Center, 23, 0 }, true, &Tag::PX6, nullptr },
    // LR repeats UR; the cabinet below hangs from Connect1, the lower front corner.
    { &Tag::Model_HB1, &Tag::Flybar, &Tag::Model_HB1, 28.2, 0, 0, 0, 0, 0, 0, 0,
      false, 0, 0, 0, &kHB1Flybar,
      { &Tag::UR, 9.609, 1.646 }, { &Tag::LR, 9.609, 1.646 }, { &Tag::LL, -17.458, -1.374 },
      { &Tag::UL, -17.458, 1.646 }, { &Tag::Connect1, 9.609, -1.374 }, { &Tag::Center, 9.609, 0.156 },
      true, &Tag::PX6, nullptr },
};

struct SplayDef
{
    int slot;
    double angle;
    const std::string* frontPin;
    const std::string* backPin;
    const std::string* touch;
    const std::string* touchTo;
    double spacing;
};

struct ComboDef
{
    const std::string* model1;
    const std::string* model2;
    std::vector<SplayDef> options;
};

std::vector<ComboDef> MakeCombos()
{
    using namespace Tag;
    return {
        { &None, &Model_HB1, {} },
        { &Model_HB1, &Model_DRXR1, { { 1, 7.5, &PosTop, &PosTop, &Connect1, &UR, 0.125 } } },
        { &Model_HB1, &Model_DRXS1, { { 1, 0, &PosTop, &PosTop, &Connect1, &UR, 0.125 } } },
        { &Model_DRXR1, &Model_DRXR1, { { 1, 15, &PosTop, &PosTop, &LR, &UR, 0.195 } } },
        { &Model_DRXS1, &Model_DRXR1, { { 1, 7.5, &PosTop, &PosTop, &LR, &UR, 0.125 } } },
        { &Model_DRXS1, &Model_DRXS1, { { 1, 0, &PosTop, &PosTop, &LR, &UR, 0.125 } } },
        { &None, &PX6, {} },
        { &None, &PX7, {} },
        { &PX6, &PX1, { { 1, 1.5, &PosTop, &PosTop, &Connect1, &UR, 1 } } },
        { &PX7, &PX1, { { 1, 0, &PosTop, &PosTop, &Connect1, &UR, 1 } } },
        { &PX7, &PX2, { { 1, 6, &PosTop, &PosTop, &Connect1, &UR, 1 } } },
        { &PX1, &PX1, { { 1, 0, &PosTop, &PosBottom, &LR, &UR, 0.5 },
                        { 2, 1.5, &PosTop, &PosMiddle, &LR, &UR, 0.5 },
                        { 3, 3, &PosTop, &PosTop, &LR, &UR, 0.5 },
                        { 4, 4.5, &PosMiddle, &PosTop, &LL, &UL, 0.5 },
                        { 5, 6, &PosBottom, &PosTop, &LL, &UL, 0.5 },
                        { 6, 7.5, &PosMiddleExt, &PosTop, &LL, &UL, 0.5 },
                        { 7, 9, &PosBottomExt, &PosTop, &LL, &UL, 0.5 } } },
        { &PX1, &PX2, { { 1, 4.5, &PosTop, &PosBottom, &LR, &UR, 0.5 },
                        { 2, 6, &PosTop, &PosMiddle, &LR, &UR, 0.5 },
                        { 3, 7.5, &PosTop, &PosTop, &LL, &UL, 0.5 },
                        { 4, 9, &PosMiddle, &PosTop, &LL, &UL, 0.5 },
                        { 5, 10.5, &PosBottom, &PosTop, &LL, &UL, 0.5 } } },
        { &PX2, &PX2, { { 1, 0, &PosTop, &PosTopExt, &LR, &UR, 0.5 },
                        { 2, 4, &PosTop, &PosBottomExt, &LR, &UR, 0.5 },
                        { 3, 8, &PosTop, &PosBottom, &LR, &UR, 0.5 },
                        { 4, 12, &PosTop, &PosTop, &LL, &UL, 0.5 },
                        { 5, 13.5, &PosBottom, &PosTop, &LL, &UL, 0.5 },
                        { 6, 15, &PosBottomExt, &PosTop, &LL, &UL, 0.5 },
                        { 7, 16.5, &PosTopExt, &PosTop, &LL, &UL, 0.5 } } },
    };
}

void WriteLimits(CXmlNode* element, int max, int min)
{
    element->GetChild(Tag::Max)->SetInt(max);
    element->GetChild(Tag::Min)->SetInt(min);
}

void WriteCountControl(CXmlNode* element, const std::string& model)
{
    WriteLimits(element, 6, 0);
    element->GetChild(Tag::Model)->SetString(model);
    element->GetChild(Tag::Delta)->SetInt(1);
    element->GetChild(Tag::Type)->SetString(Tag::VSlide);
}

void WriteHeadArrayInfo(CXmlNode* product)
{
    CXmlNode* info = product->GetChild(Tag::ArrayInfo);
    info->GetChild(Tag::Total_Model_Types)->SetInt(2);
    WriteLimits(info->GetChild(Tag::Total_Model_Combined), 6, 0);
    WriteCountControl(info->GetChild(Tag::Total_Model_1), Tag::Model_DRXS1);
    WriteCountControl(info->GetChild(Tag::Total_Model_2), Tag::Model_DRXR1);
    CXmlNode* pin = info->GetChild(Tag::SlotPin);
    WriteLimits(pin, 8, 1);
    pin->GetChild(Tag::Delta)->SetInt(1);
    pin->GetChild(Tag::Type)->SetString(Tag::VSlide);
}

void WriteHeadPins(CXmlNode* product)
{
    CXmlNode* pinList = product->GetChild(Tag::PinList);
    for (int k = 1; k <= 8; ++k)
    {
        CPoint* point = pinList->GetChildByInt(Tag::Pin, Tag::Slot, k)->GetPoint();
        point->x = kHB1PinX[k - 1];
        point->y = 0.0;
    }
}

void WriteFlybarFields(CXmlNode* product, const FlybarDef& bar)
{
    product->GetChild(Tag::SpanPickSide)->SetDouble(bar.spanPickSide);
    product->GetChild(Tag::SpanPickFrontRear)->SetDouble(bar.spanPickFrontRear);
    product->GetChild(Tag::PinTotal)->SetInt(bar.pinTotal);
    product->GetChild(Tag::PinDelta)->SetDouble(bar.pinDelta);

    CPoint p;
    const NamedPoint locations[] = { { &Tag::SpeakerPinLocFront, 14.875, -2 },
                                     { &Tag::SpeakerPinLocRear, -14.875, -2 },
                                     { &Tag::PinLocFirst, 9.5, 0 },
                                     { &Tag::PinLocLast, -9.5, 0 } };
    for (const NamedPoint& location : locations)
    {
        p.x = location.x;
        p.y = location.y;
        CProductXMLHelper::WritePointChild(product, *location.name, p, CProductXMLHelper::kWriteNext);
    }

    if (bar.carriesArrayInfo)
    {
        WriteHeadArrayInfo(product);
        WriteHeadPins(product);
    }
    else
    {
        CBuiltInProducts::BuildPinList(product, bar.pinTotal, bar.pinDx, bar.pinDy, bar.pinX0, bar.pinY0);
        product->GetChild(Tag::ArrayInfo);
    }
}

void WriteReferencePoints(CXmlNode* product, const ProductDef& def, CProductXMLHelper& helper)
{
    CXmlNode* cgInfo;
    CXmlNode* renderInfo;
    if (def.model == &Tag::PX1)
    {
        renderInfo = product->GetChild(Tag::RenderInfo);
        cgInfo = product->GetChild(Tag::CGInfo);
    }
    else
    {
        cgInfo = product->GetChild(Tag::CGInfo);
        renderInfo = product->GetChild(Tag::RenderInfo);
    }

    helper.ResetCursor();
    const NamedPoint* order[] = { &def.ur, &def.lr, &def.ll, &def.ul, &def.connect1, &def.center };
    CPoint p;
    for (const NamedPoint* named : order)
    {
        if (named->name == nullptr)
            continue;
        p.x = named->x;
        p.y = named->y;
        CXmlNode* element = CProductXMLHelper::WritePointChild(cgInfo, *named->name, p,
                                                               CProductXMLHelper::kWriteNext);
        const bool corner = named == &def.ur || named == &def.lr || named == &def.ll || named == &def.ul;
        if (corner && def.outlineDrawn)
        {
            CXmlNode* render = element->GetChild(Tag::Render);
            render->SetString(Tag::Polygon);
            render->GetChild(Tag::Slot)->SetInt(1);
            if (named == &def.ur)
            {
                CXmlNode* meta = element->GetChild(Tag::Meta);
                meta->GetChild(def.flybar != nullptr ? Tag::Flybar : Tag::Cab);
                meta->GetChild(Tag::Name)->SetString(*def.metaName);
            }
        }
        if (corner)
            helper.AddPoint(renderInfo, Tag::Point, p, CProductXMLHelper::kWriteNext);
        element->GetPoint()->SetPolarFrom(0.0, 0.0);
    }
}

void WriteProduct(CXmlNode* root, const ProductDef& def, bool first, CProductXMLHelper& helper)
{
    CXmlNode* product = first ? root->GetChild(Tag::Product) : root->AddChild(Tag::Product);
    product->GetChild(Tag::Model)->SetString(*def.model);
    product->GetChild(Tag::Type)->SetString(*def.type);
    root->GetChild(*def.type)->AddChild(Tag::Product)->SetString(*def.listText);

    product->GetChild(Tag::UnitWeight)->SetString(Tag::Pounds);
    product->GetChild(Tag::UnitLength)->SetString(Tag::Inches);
    product->GetChild(Tag::Weight)->SetDouble(def.weight);
    product->GetChild(Tag::Power)->SetDouble(def.power);
    product->GetChild(Tag::Pressure)->SetDouble(def.pressure);
    product->GetChild(Tag::FrontHeight)->SetDouble(def.frontHeight);
    product->GetChild(Tag::Vert)->SetDouble(def.vert);
    product->GetChild(Tag::TightAngle)->SetDouble(def.tightAngle);
    product->GetChild(Tag::FlooreAngle)->SetDouble(def.flooreAngle);
    product->GetChild(Tag::BottomPanelAngleAdjust)->SetDouble(def.bottomAdjust);

    CXmlNode* aim = product->GetChild(Tag::AimStuff);
    if (def.aimLines)
    {
        aim->GetChild(Tag::Center)->SetDouble(def.aimCenter);
        aim->GetChild(Tag::UEdge)->SetDouble(def.aimUEdge);
        aim->GetChild(Tag::LEdge)->SetDouble(def.aimLEdge);
    }
    else
    {
        aim->GetChild(Tag::NoAimLines);
    }

    if (def.flybar != nullptr)
        WriteFlybarFields(product, *def.flybar);

    WriteReferencePoints(product, def, helper);

    if (def.acoustics != nullptr)
    {
        CXmlNode* acoustics = product->GetChild(Tag::Acoustics);
        acoustics->GetChild(Tag::BandLow)->SetInt(def.acoustics->bandLow);
        acoustics->GetChild(Tag::BandHigh)->SetInt(def.acoustics->bandHigh);
        acoustics->GetChild(Tag::OnAxisDB)->SetDouble(def.acoustics->onAxisDB);
        acoustics->GetChild(Tag::Crossover)->SetDouble(def.acoustics->crossover);
        acoustics->GetChild(Tag::Role)->SetString(*def.acoustics->role);
    }
}
} // namespace

bool CBuiltInProducts::WriteBuiltInProducts()
{
    const bool productsWritten = WriteProductDocument();
    const bool combosWritten = WriteCombosDocument();
    return productsWritten && combosWritten;
}

bool CBuiltInProducts::WriteProductDocument()
{
    CProductXMLHelper helper;
    CXmlDocument document;
    document.SetFileName(kProductFileName);
    CXmlNode* root = document.GetRoot(Tag::Root);
    root->GetChild(Tag::Flybar);
    root->GetChild(Tag::Speaker);
    root->GetChild(Tag::AdapterBar);
    root->GetChild(Tag::PullupBar);

    bool first = true;
    for (const ProductDef& def : kProducts)
    {
        WriteProduct(root, def, first, helper);
        first = false;
    }

    const bool saved = document.Save("");
    document.ClearRoot();
    return saved;
}

bool CBuiltInProducts::WriteCombosDocument()
{
    CXmlDocument document;
    document.SetFileName(kCombosFileName);
    document.Load("");
    // A damaged file is not merged: what the parser got before the damage could hold
    // half a combo and a wrong count.
    if (! document.LastParseSucceeded())
        document.ClearRoot();
    CXmlNode* productCombo = document.GetRoot(Tag::Root)->GetChild(Tag::Product_Combo);
    for (const ComboDef& def : MakeCombos())
    {
        CXmlNode* combo = AddOrUpdateCombo(productCombo, *def.model1, *def.model2);
        for (const SplayDef& option : def.options)
            AddOrUpdateSplay(combo, option.slot, *option.frontPin, *option.backPin, *option.touch,
                             *option.touchTo, option.angle, option.spacing);
    }
    return document.Save("");
}

void CBuiltInProducts::BuildPinList(CXmlNode* product, int count, double dx, double dy, double x0, double y0)
{
    CXmlNode* pinList = product->GetChild(Tag::PinList);
    double x = x0;
    double y = y0;
    for (int i = 1; i <= count; ++i)
    {
        if (! pinList->FindChildByInt(Tag::Pin, Tag::Slot, i)->IsNull())
            continue;
        CXmlNode* pin = pinList->AddChild(Tag::Pin);
        pin->GetChild(Tag::Slot)->SetInt(i);
        CPoint* point = pin->GetPoint();
        point->x = x;
        point->y = y;
        x += dx;
        y += dy;
    }
}

CXmlNode* CBuiltInProducts::AddOrUpdateCombo(CXmlNode* productCombo, const std::string& model1,
                                             const std::string& model2)
{
    const std::string key = model1 + model2;
    CXmlNode* combo = productCombo->FindChildByString(Tag::Combo, Tag::Key, key);
    if (combo->IsNull())
    {
        CXmlNode* total = productCombo->GetChild(Tag::Total);
        total->SetInt(total->GetInt(0) + 1);
        combo = productCombo->AddChild(Tag::Combo);
    }
    combo->GetChild(Tag::Key)->SetString(key);
    combo->GetChild(Tag::Model1)->SetString(model1);
    combo->GetChild(Tag::Model2)->SetString(model2);
    return combo;
}

CXmlNode* CBuiltInProducts::AddOrUpdateSplay(CXmlNode* combo, int slot, const std::string& frontPin,
                                             const std::string& backPin, const std::string& touch,
                                             const std::string& touchTo, double angle, double spacing)
{
    CXmlNode* splay = combo->FindChildByInt(Tag::Splay, Tag::Slot, slot);
    if (splay->IsNull())
    {
        CXmlNode* total = combo->GetChild(Tag::Total);
        total->SetInt(total->GetInt(0) + 1);
        splay = combo->AddChild(Tag::Splay);
    }
    splay->GetChild(Tag::Slot)->SetInt(slot);
    splay->GetChild(Tag::Angle)->SetDouble(angle);
    splay->GetChild(Tag::FrontPin)->SetString(frontPin);
    splay->GetChild(Tag::BackPin)->SetString(backPin);
    splay->GetChild(Tag::Touch)->SetString(touch);
    splay->GetChild(Tag::TouchTo)->SetString(touchTo);
    splay->GetChild(Tag::Spacing)->SetDouble(spacing);
    splay->GetChild(Tag::UnitLength)->SetString(Tag::Inches);
    return splay;
}
