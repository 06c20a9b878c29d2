#include "TestSupport.h"

#include "base/CPoint.h"
#include "product/CBuiltInProducts.h"
#include "product/CProductManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
std::vector<std::string> ChildTexts(CXmlNode* parent, const std::string& tag)
{
    std::vector<std::string> texts;
    for (CXmlNode* c = parent->FindChild(tag); ! c->IsNull(); c = c->NextSibling(tag))
        texts.push_back(c->GetString(""));
    return texts;
}

double Value(CXmlNode* node, const std::string& tag)
{
    return node->FindChild(tag)->GetDouble(-9999.0);
}

class ProductCatalogueTest : public ::testing::Test
{
protected:
    void TearDown() override { CProductManager::DestroyInstance(); }

    CProductManager* StartCatalogue()
    {
        CProductManager* catalogue = CProductManager::GetInstance();
        EXPECT_TRUE(catalogue->StartUp());
        return catalogue;
    }

    // The written file as a reader sees it, independent of the manager's own copy.
    CXmlNode* LoadFile(CXmlDocument& document, const std::string& name)
    {
        document.Load(name);
        EXPECT_TRUE(document.LastParseSucceeded()) << name;
        return document.GetRoot("Root");
    }

    ScopedTempDirectory run;
};

TEST_F(ProductCatalogueTest, ProductFileListsTheSevenProductsAndTheirCategories)
{
    StartCatalogue();
    CXmlDocument file;
    CXmlNode* root = LoadFile(file, CBuiltInProducts::kProductFileName);

    std::vector<std::string> models;
    for (CXmlNode* p = root->FindChild(Tag::Product); ! p->IsNull(); p = p->NextSibling(Tag::Product))
        models.push_back(p->FindChild(Tag::Model)->GetString(""));
    EXPECT_EQ(models, (std::vector<std::string> { "PX1", "PX2", "Model_DRXR1", "Model_DRXS1", "PX6", "PX7",
                                                  "Model_HB1" }));

    EXPECT_EQ(ChildTexts(root->FindChild(Tag::Flybar), Tag::Product),
              (std::vector<std::string> { "PX6", "PX6", "Model_HB1" }));
    EXPECT_EQ(ChildTexts(root->FindChild(Tag::Speaker), Tag::Product),
              (std::vector<std::string> { "PX1", "PX2", "Model_DRXR1", "Model_DRXS1" }));
    for (const std::string* list : { &Tag::AdapterBar, &Tag::PullupBar })
    {
        ASSERT_FALSE(root->FindChild(*list)->IsNull());
        EXPECT_TRUE(root->FindChild(*list)->FindChild("")->IsNull());
    }
}

TEST_F(ProductCatalogueTest, ProductValuesAndCoverage)
{
    CProductManager* catalogue = StartCatalogue();

    struct Row { std::string model; double weight, pressure; bool aims; double uEdge, lEdge; };
    const Row rows[] = {
        { "PX1", 241, 124, true, -1.5, 1.5 },
        { "Model_DRXR1", 49.2, 114, true, 7.5, -7.5 },
        { "Model_DRXS1", 97, 114, false, 0, 0 },
        { "Model_HB1", 28.2, 0, false, 0, 0 },
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.model);
        CXmlNode* product = catalogue->FindProduct(row.model);
        ASSERT_FALSE(product->IsNull());
        EXPECT_EQ(product->FindChild(Tag::UnitWeight)->GetString(""), "Pounds");
        EXPECT_EQ(product->FindChild(Tag::UnitLength)->GetString(""), "Inches");
        EXPECT_DOUBLE_EQ(Value(product, Tag::Weight), row.weight);
        EXPECT_DOUBLE_EQ(Value(product, Tag::Pressure), row.pressure);
        CXmlNode* aim = product->FindChild(Tag::AimStuff);
        EXPECT_EQ(aim->FindChild(Tag::NoAimLines)->IsNull(), row.aims);
        if (row.aims)
        {
            EXPECT_DOUBLE_EQ(Value(aim, Tag::UEdge), row.uEdge);
            EXPECT_DOUBLE_EQ(Value(aim, Tag::LEdge), row.lEdge);
        }
    }

    EXPECT_TRUE(catalogue->FindProduct("None")->IsNull());
    EXPECT_TRUE(catalogue->FindProduct("")->IsNull());
    EXPECT_TRUE(catalogue->FindProduct("model_drxr1")->IsNull());
}

TEST_F(ProductCatalogueTest, LoudspeakersCarryWhatTheyRadiate)
{
    StartCatalogue();
    CXmlDocument file;
    CXmlNode* root = LoadFile(file, CBuiltInProducts::kProductFileName);

    // Band range (band n centred on 1000 x 10^(n / 10) Hz), on-axis level at 1 m, the
    // crossover and the side of it that feeds the box; the piston height is gone.
    struct Row { std::string model; int low, high; double onAxis, crossover; std::string role; };
    const Row rows[] = {
        { "Model_DRXR1", -13, 12, 123.5, 100.0, "High" },
        { "Model_DRXS1", -13, -6, 123.5, 100.0, "Low" },
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.model);
        CXmlNode* acoustics = root->FindChildByString(Tag::Product, Tag::Model, row.model)->FindChild(Tag::Acoustics);
        ASSERT_FALSE(acoustics->IsNull());
        EXPECT_EQ(acoustics->FindChild(Tag::BandLow)->GetInt(99), row.low);
        EXPECT_EQ(acoustics->FindChild(Tag::BandHigh)->GetInt(99), row.high);
        EXPECT_DOUBLE_EQ(Value(acoustics, Tag::OnAxisDB), row.onAxis);
        EXPECT_DOUBLE_EQ(Value(acoustics, Tag::Crossover), row.crossover);
        EXPECT_EQ(acoustics->FindChild(Tag::Role)->GetString(""), row.role);
        EXPECT_TRUE(acoustics->FindChild("Height")->IsNull());
    }
    for (const char* silent : { "PX1", "PX2", "PX6", "PX7", "Model_HB1" })
        EXPECT_TRUE(root->FindChildByString(Tag::Product, Tag::Model, silent)->FindChild(Tag::Acoustics)->IsNull())
            << silent;
}

TEST_F(ProductCatalogueTest, ReferencePointsCarryTheirPolarForm)
{
    CProductManager* catalogue = StartCatalogue();

    struct Row { std::string model, point; double x, y; };
    const Row rows[] = {
        { "Model_DRXR1", "UR", 8.443, 6.052 },   { "Model_DRXR1", "LL", -7.191, -4.344 },
        { "Model_DRXR1", "Center", 8.443, -0.175 }, { "Model_DRXS1", "LR", 14.795, -9.875 },
        { "Model_HB1", "UR", 9.609, 1.646 },     { "Model_HB1", "LR", 9.609, 1.646 },
        { "Model_HB1", "Connect1", 9.609, -1.374 }, { "PX2", "LL", -16, -3.963 },
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.model + " " + row.point);
        CXmlNode* point = catalogue->FindProduct(row.model)->FindChild(Tag::CGInfo)->FindChild(row.point);
        ASSERT_FALSE(point->IsNull());
        EXPECT_DOUBLE_EQ(Value(point, Tag::X), row.x);
        EXPECT_DOUBLE_EQ(Value(point, Tag::Y), row.y);
        EXPECT_NEAR(Value(point, Tag::Dist), std::hypot(row.x, row.y), 1e-12);
        EXPECT_NEAR(Value(point, Tag::Angle), std::atan2(row.y, row.x) * 57.29577951307855, 1e-12);
    }

    CXmlNode* ur = catalogue->FindProduct(Tag::Model_DRXR1)->FindChild(Tag::CGInfo)->FindChild(Tag::UR);
    EXPECT_NEAR(Value(ur, Tag::Dist), 10.388, 0.0005);
    EXPECT_NEAR(Value(ur, Tag::Angle), 35.63, 0.005);
}

TEST_F(ProductCatalogueTest, OutlinesAreMarkedForDrawingExceptThePX6)
{
    CProductManager* catalogue = StartCatalogue();

    struct Row { std::string model; bool drawn; const std::string* metaKind; std::string metaName; };
    const Row rows[] = {
        { "Model_DRXR1", true, &Tag::Cab, "PX2" },
        { "PX7", true, &Tag::Flybar, "PX6" },
        { "Model_HB1", true, &Tag::Flybar, "PX6" },
        { "PX6", false, nullptr, "" },
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.model);
        CXmlNode* product = catalogue->FindProduct(row.model);
        CXmlNode* cg = product->FindChild(Tag::CGInfo);
        for (const std::string* corner : { &Tag::UR, &Tag::LR, &Tag::LL, &Tag::UL })
        {
            CXmlNode* render = cg->FindChild(*corner)->FindChild(Tag::Render);
            EXPECT_EQ(render->IsNull(), ! row.drawn) << *corner;
            if (row.drawn)
            {
                EXPECT_EQ(render->GetString(""), "Polygon");
                EXPECT_EQ(render->FindChild(Tag::Slot)->GetInt(0), 1);
            }
        }
        EXPECT_TRUE(cg->FindChild(Tag::Center)->FindChild(Tag::Render)->IsNull());
        CXmlNode* meta = cg->FindChild(Tag::UR)->FindChild(Tag::Meta);
        if (row.drawn)
        {
            EXPECT_FALSE(meta->FindChild(*row.metaKind)->IsNull());
            EXPECT_EQ(meta->FindChild(Tag::Name)->GetString(""), row.metaName);
        }

        // The outline again, in drawing order UR, LR, LL, UL.
        std::vector<double> outline, corners;
        for (CXmlNode* p = product->FindChild(Tag::RenderInfo)->FindChild(Tag::Point); ! p->IsNull();
             p = p->NextSibling(Tag::Point))
            outline.insert(outline.end(), { Value(p, Tag::X), Value(p, Tag::Y) });
        for (const std::string* corner : { &Tag::UR, &Tag::LR, &Tag::LL, &Tag::UL })
            corners.insert(corners.end(), { Value(cg->FindChild(*corner), Tag::X), Value(cg->FindChild(*corner), Tag::Y) });
        EXPECT_EQ(outline, corners);
    }
}

TEST_F(ProductCatalogueTest, FlybarPinsAndArrayLimits)
{
    CProductManager* catalogue = StartCatalogue();

    CXmlNode* hb1 = catalogue->FindProduct(Tag::Model_HB1);
    EXPECT_EQ(hb1->FindChild(Tag::PinTotal)->GetInt(0), 8);
    const double expectedX[] = { 5.774, 3.774, 1.774, -2.2276, -4.2276, -6.2276, -8.2276, -10.2276 };
    CXmlNode* pins = hb1->FindChild(Tag::PinList);
    for (int k = 1; k <= 8; ++k)
    {
        CXmlNode* pin = pins->FindChildByInt(Tag::Pin, Tag::Slot, k);
        ASSERT_FALSE(pin->IsNull()) << k;
        EXPECT_DOUBLE_EQ(Value(pin, Tag::X), expectedX[k - 1]);
        EXPECT_DOUBLE_EQ(Value(pin, Tag::Y), 0.0);
        EXPECT_DOUBLE_EQ(Value(pin, Tag::Angle), 0.0);
        EXPECT_DOUBLE_EQ(Value(pin, Tag::Dist), 0.0);
    }
    EXPECT_TRUE(pins->FindChildByInt(Tag::Pin, Tag::Slot, 9)->IsNull());

    CXmlNode* info = hb1->FindChild(Tag::ArrayInfo);
    EXPECT_EQ(info->FindChild(Tag::Total_Model_Types)->GetInt(0), 2);
    EXPECT_EQ(info->FindChild(Tag::Total_Model_Combined)->FindChild(Tag::Max)->GetInt(0), 6);
    EXPECT_EQ(info->FindChild(Tag::Total_Model_1)->FindChild(Tag::Model)->GetString(""), "Model_DRXS1");
    EXPECT_EQ(info->FindChild(Tag::Total_Model_2)->FindChild(Tag::Model)->GetString(""), "Model_DRXR1");
    EXPECT_EQ(info->FindChild(Tag::Total_Model_2)->FindChild(Tag::Type)->GetString(""), "VSlide");
    EXPECT_EQ(info->FindChild(Tag::SlotPin)->FindChild(Tag::Max)->GetInt(0), 8);
    EXPECT_EQ(info->FindChild(Tag::SlotPin)->FindChild(Tag::Min)->GetInt(0), 1);

    // The other flybars get evenly spaced pins from BuildPinList.
    CXmlNode* px7Pins = catalogue->FindProduct(Tag::PX7)->FindChild(Tag::PinList);
    CXmlNode* last = px7Pins->FindChildByInt(Tag::Pin, Tag::Slot, 26);
    EXPECT_NEAR(Value(last, Tag::X), 18.1 - 25 * 1.5, 1e-12);
    EXPECT_DOUBLE_EQ(Value(last, Tag::Y), 2.0);
    EXPECT_TRUE(px7Pins->FindChildByInt(Tag::Pin, Tag::Slot, 27)->IsNull());
    EXPECT_TRUE(catalogue->FindProduct(Tag::PX7)->FindChild(Tag::ArrayInfo)->FindChild("")->IsNull());
}

TEST_F(ProductCatalogueTest, BuildPinListKeepsExistingPinsWithoutAdvancing)
{
    CXmlDocument document;
    CXmlNode* product = document.GetRoot("Root")->GetChild(Tag::Product);
    product->GetChild(Tag::PinList)->GetChildByInt(Tag::Pin, Tag::Slot, 2)->GetPoint()->x = 99.0;

    CBuiltInProducts::BuildPinList(product, 3, -1.0, 0.5, 10.0, 0.0);

    CXmlNode* pins = product->FindChild(Tag::PinList);
    EXPECT_DOUBLE_EQ(pins->FindChildByInt(Tag::Pin, Tag::Slot, 1)->GetPoint()->x, 10.0);
    EXPECT_DOUBLE_EQ(pins->FindChildByInt(Tag::Pin, Tag::Slot, 2)->GetPoint()->x, 99.0);
    EXPECT_DOUBLE_EQ(pins->FindChildByInt(Tag::Pin, Tag::Slot, 3)->GetPoint()->x, 9.0);
    EXPECT_DOUBLE_EQ(pins->FindChildByInt(Tag::Pin, Tag::Slot, 3)->GetPoint()->y, 0.5);
}

TEST_F(ProductCatalogueTest, CombosFileHoldsFourteenJointsWithTheirOptionCounts)
{
    StartCatalogue();
    CXmlDocument file;
    CXmlNode* combos = LoadFile(file, CBuiltInProducts::kCombosFileName)->FindChild(Tag::Product_Combo);
    EXPECT_EQ(combos->FindChild(Tag::Total)->GetInt(0), 14);

    struct Row { std::string key; int options; };
    const Row rows[] = {
        { "NoneModel_HB1", 0 }, { "Model_HB1Model_DRXR1", 1 }, { "Model_HB1Model_DRXS1", 1 },
        { "Model_DRXR1Model_DRXR1", 1 }, { "Model_DRXS1Model_DRXR1", 1 }, { "Model_DRXS1Model_DRXS1", 1 },
        { "NonePX6", 0 }, { "NonePX7", 0 }, { "PX6PX1", 1 }, { "PX7PX1", 1 }, { "PX7PX2", 1 },
        { "PX1PX1", 7 }, { "PX1PX2", 5 }, { "PX2PX2", 7 },
    };
    std::vector<std::string> keys;
    for (CXmlNode* c = combos->FindChild(Tag::Combo); ! c->IsNull(); c = c->NextSibling(Tag::Combo))
        keys.push_back(c->FindChild(Tag::Key)->GetString(""));
    ASSERT_EQ(keys.size(), std::size(rows));
    for (size_t i = 0; i < keys.size(); ++i)
    {
        SCOPED_TRACE(rows[i].key);
        EXPECT_EQ(keys[i], rows[i].key);
        CXmlNode* combo = combos->FindChildByString(Tag::Combo, Tag::Key, rows[i].key);
        EXPECT_EQ(combo->FindChild(Tag::Total)->IsNull(), rows[i].options == 0);
        if (rows[i].options > 0)
        {
            EXPECT_EQ(combo->FindChild(Tag::Total)->GetInt(0), rows[i].options);
        }
        EXPECT_EQ((int) ChildTexts(combo, Tag::Splay).size(), rows[i].options);
    }
}

TEST_F(ProductCatalogueTest, FindSplayGivesTheJointsOfTheRiggingTable)
{
    CProductManager* catalogue = StartCatalogue();

    struct Row { std::string upper, lower; int option; bool exists; double angle; std::string touch, touchTo; double spacing; };
    const Row rows[] = {
        { "Model_HB1", "Model_DRXR1", 1, true, 7.5, "Connect1", "UR", 0.125 },
        { "Model_HB1", "Model_DRXS1", 1, true, 0, "Connect1", "UR", 0.125 },
        { "Model_DRXR1", "Model_DRXR1", 1, true, 15, "LR", "UR", 0.195 },
        { "Model_DRXS1", "Model_DRXR1", 1, true, 7.5, "LR", "UR", 0.125 },
        { "Model_DRXS1", "Model_DRXS1", 1, true, 0, "LR", "UR", 0.125 },
        { "PX2", "PX2", 7, true, 16.5, "LL", "UL", 0.5 },
        { "Model_DRXS1", "Model_DRXR1", 2, false, 0, "", "", 0 },
        { "None", "Model_HB1", 1, false, 0, "", "", 0 },
        { "Model_DRXR1", "Model_DRXS1", 1, false, 0, "", "", 0 },
        { "Model_DRXR1", "None", 1, false, 0, "", "", 0 },
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.upper + " over " + row.lower + " #" + std::to_string(row.option));
        CXmlNode* splay = catalogue->FindSplay(row.upper, row.lower, row.option);
        ASSERT_EQ(! splay->IsNull(), row.exists);
        if (! row.exists)
            continue;
        EXPECT_DOUBLE_EQ(Value(splay, Tag::Angle), row.angle);
        EXPECT_EQ(splay->FindChild(Tag::Touch)->GetString(""), row.touch);
        EXPECT_EQ(splay->FindChild(Tag::TouchTo)->GetString(""), row.touchTo);
        EXPECT_DOUBLE_EQ(Value(splay, Tag::Spacing), row.spacing);
        EXPECT_EQ(splay->FindChild(Tag::UnitLength)->GetString(""), "Inches");
    }
}

TEST_F(ProductCatalogueTest, TwoStartsLeaveIdenticalProductFiles)
{
    StartCatalogue();
    const std::string products = run.Read(CBuiltInProducts::kProductFileName);
    const std::string combos = run.Read(CBuiltInProducts::kCombosFileName);
    ASSERT_FALSE(products.empty());
    CProductManager::DestroyInstance();

    StartCatalogue();
    EXPECT_EQ(run.Read(CBuiltInProducts::kProductFileName), products);
    EXPECT_EQ(run.Read(CBuiltInProducts::kCombosFileName), combos);
}

TEST_F(ProductCatalogueTest, ExistingCombosAreUpdatedInPlaceAndForeignOnesKept)
{
    StartCatalogue();
    CProductManager::DestroyInstance();

    // An edited angle and a combo the program does not know.
    {
        CXmlDocument file;
        CXmlNode* combos = LoadFile(file, CBuiltInProducts::kCombosFileName)->FindChild(Tag::Product_Combo);
        combos->FindChildByString(Tag::Combo, Tag::Key, "Model_DRXR1Model_DRXR1")
            ->FindChildByInt(Tag::Splay, Tag::Slot, 1)->FindChild(Tag::Angle)->SetDouble(10.0);
        CXmlNode* extra = combos->AddChild(Tag::Combo);
        extra->GetChild(Tag::Key)->SetString("PX9PX9");
        extra->GetChild(Tag::Model1)->SetString("PX9");
        extra->GetChild(Tag::Model2)->SetString("PX9");
        combos->FindChild(Tag::Total)->SetInt(15);
        ASSERT_TRUE(file.Save(""));
    }

    CProductManager* catalogue = StartCatalogue();
    CXmlNode* combos = catalogue->GetCombosRoot()->FindChild(Tag::Product_Combo);
    EXPECT_EQ(combos->FindChild(Tag::Total)->GetInt(0), 15);
    EXPECT_FALSE(combos->FindChildByString(Tag::Combo, Tag::Key, "PX9PX9")->IsNull());
    EXPECT_DOUBLE_EQ(Value(catalogue->FindSplay(Tag::Model_DRXR1, Tag::Model_DRXR1, 1), Tag::Angle), 15.0);
}

TEST_F(ProductCatalogueTest, UnreadableCombosFileIsWrittenAnew)
{
    run.Write(CBuiltInProducts::kCombosFileName, "<Root><Product_Combo><Total>3</Tot");
    CProductManager* catalogue = StartCatalogue();
    EXPECT_EQ(catalogue->GetCombosRoot()->FindChild(Tag::Product_Combo)->FindChild(Tag::Total)->GetInt(0), 14);
}

TEST_F(ProductCatalogueTest, SettingsFileGetsItsDefault)
{
    run.Write(CProductManager::kSettingsFileName, "<?xml version=\"1.0\" ?>\n<Root><Other>x</Other></Root>\n");
    StartCatalogue();
    CXmlDocument file;
    CXmlNode* root = LoadFile(file, CProductManager::kSettingsFileName);
    EXPECT_EQ(root->FindChild("Types")->GetString(""), "Many");
    EXPECT_EQ(root->FindChild("Other")->GetString(""), "x");
}

TEST_F(ProductCatalogueTest, CatalogueIsReadOnceAndKeptForTheRun)
{
    CProductManager* catalogue = StartCatalogue();
    CXmlNode* root = catalogue->GetProductRoot();
    CXmlNode* product = catalogue->FindProduct(Tag::Model_DRXR1);

    run.Write(CBuiltInProducts::kProductFileName, "<Root/>");
    EXPECT_EQ(catalogue->GetProductRoot(), root);
    EXPECT_EQ(catalogue->FindProduct(Tag::Model_DRXR1), product);
}

TEST_F(ProductCatalogueTest, MissingFilesGiveAnEmptyCatalogue)
{
    CProductManager* catalogue = CProductManager::GetInstance();
    EXPECT_TRUE(catalogue->FindProduct(Tag::Model_HB1)->IsNull());
    EXPECT_TRUE(catalogue->FindSplay(Tag::Model_HB1, Tag::Model_DRXR1, 1)->IsNull());
}
} // namespace
