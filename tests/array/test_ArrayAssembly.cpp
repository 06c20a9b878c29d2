#include "array/ArrayTestFixture.h"

#include <map>

namespace
{
const std::string& HB1 = Tag::Model_HB1;
const std::string& R1 = Tag::Model_DRXR1;
const std::string& S1 = Tag::Model_DRXS1;

class ArrayAssemblyTest : public ArrayTestFixture
{
protected:
    static std::vector<std::string> ActiveModels(CArrayLineWrap line)
    {
        std::vector<std::string> models;
        for (int i = 1; i <= line.GetTotal(); ++i)
            models.push_back(line.GetCab(i).GetProduct().GetModel());
        return models;
    }

    static int CountProducts()
    {
        int count = 0;
        for (CXmlNode* p = Arrays()->GetProductList()->FindChild(Tag::Product); ! p->IsNull();
             p = p->NextSibling(Tag::Product))
            ++count;
        return count;
    }

    static std::map<int, std::string> XGuidsByPosition(CArrayLineWrap line)
    {
        std::map<int, std::string> ids;
        for (int i = 1; i <= 7; ++i)
            ids[i] = line.GetCab(i).GetTargetXGuid();
        return ids;
    }
};

TEST_F(ArrayAssemblyTest, CountsFillThePositionsSubwoofersFirst)
{
    struct Row { int subwoofers, fullRange; std::vector<std::string> models; };
    const Row rows[] = {
        { 1, 5, { HB1, S1, R1, R1, R1, R1, R1 } },
        { 3, 3, { HB1, S1, S1, S1, R1, R1, R1 } },
        { 0, 6, { HB1, R1, R1, R1, R1, R1, R1 } },
        { 6, 0, { HB1, S1, S1, S1, S1, S1, S1 } },
        { 0, 2, { HB1, R1, R1 } },
        { 0, 0, { HB1 } },
    };
    CArrayLineWrap line = Build(Repeat({ HB1 }, R1, 6));
    for (const Row& row : rows)
    {
        SCOPED_TRACE(std::to_string(row.subwoofers) + " + " + std::to_string(row.fullRange));
        SetCounts(line, row.subwoofers, row.fullRange);
        EXPECT_EQ(line.GetTotal(), (int) row.models.size());
        EXPECT_EQ(ActiveModels(line), row.models);
        for (int i = 1; i <= 7; ++i)
        {
            CArrayProdWrap product = line.GetCab(i).GetProduct();
            EXPECT_EQ(product.IsInUse(), i <= line.GetTotal()) << "position " << i;
            if (i <= line.GetTotal())
            {
                EXPECT_EQ(product.GetSlotSplay(), 1);
                EXPECT_EQ(product.GetCatalogueProduct()->FindChild(Tag::Model)->GetString(""), row.models[i - 1]);
            }
        }
    }
}

TEST_F(ArrayAssemblyTest, ParkedProductsComeBackWithTheirIdentity)
{
    CArrayLineWrap line = Build(Repeat({ HB1, S1 }, R1, 5));
    line.GetCab(6).GetProduct().GetNode()->GetChild(Tag::Switch1)->GetChild(Tag::Value)->SetInt(3);
    line.GetCab(7).GetProduct().GetNode()->GetChild(Tag::SlotSplay)->SetInt(4);
    const std::map<int, std::string> before = XGuidsByPosition(line);
    const int productsBefore = CountProducts();

    SetCounts(line, 1, 2);
    EXPECT_EQ(line.GetTotal(), 4);
    for (int i = 5; i <= 7; ++i)
    {
        CArrayProdWrap parked = line.GetCab(i).GetProduct();
        ASSERT_FALSE(parked.IsNull()) << i;
        EXPECT_FALSE(parked.IsInUse());
        EXPECT_EQ(parked.GetModel(), R1);
    }

    SetCounts(line, 1, 5);
    EXPECT_EQ(XGuidsByPosition(line), before);
    EXPECT_EQ(line.GetCab(6).GetProduct().GetNode()->FindChild(Tag::Switch1)->FindChild(Tag::Value)->GetInt(0), 3);
    EXPECT_EQ(line.GetCab(7).GetProduct().GetSlotSplay(), 1);
    for (int i = 1; i <= 7; ++i)
        EXPECT_TRUE(line.GetCab(i).GetProduct().IsInUse()) << i;

    // A parked product that changes model keeps its element too.
    SetCounts(line, 3, 3);
    EXPECT_EQ(XGuidsByPosition(line), before);
    EXPECT_EQ(line.GetCab(3).GetProduct().GetModel(), S1);

    EXPECT_EQ(CountProducts(), productsBefore);
}

TEST_F(ArrayAssemblyTest, NewPositionsGetNewProducts)
{
    CArrayLineWrap line = Build({ HB1, R1, R1 });
    SetCounts(line, 1, 4);
    std::map<std::string, int> seen;
    for (int i = 1; i <= 6; ++i)
    {
        CArrayProdWrap product = line.GetCab(i).GetProduct();
        ASSERT_FALSE(product.IsNull()) << i;
        ++seen[product.GetXGuid()];
        // Every position points back at its product and the product at its position.
        EXPECT_EQ(line.GetCab(i).GetNode()->FindChild(Tag::Pointer)->GetLink(), product.GetNode());
        EXPECT_EQ(product.GetNode()->FindChild(Tag::Parent)->GetLink(), line.GetCab(i).GetNode());
        EXPECT_EQ(line.GetCab(i).GetNode()->FindChild(Tag::Parent)->GetLink(), line.GetNode());
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST_F(ArrayAssemblyTest, LastJointFollowsWhatHangsBelow)
{
    // Nothing below the last module: no joint, and the position below gets its Cab.
    CArrayLineWrap alone = Build(Repeat({ HB1, S1 }, R1, 4));
    CArrayProdWrap last = alone.GetCab(6).GetProduct();
    EXPECT_TRUE(last.GetSplayOption()->IsNull());
    EXPECT_FALSE(alone.GetNode()->FindChild(Tag::CabList)->FindChildByInt(Tag::Cab, Tag::Slot, 7)->IsNull());
    const CPoint freeHanging = PointOf(Section(alone, 6, Tag::AssemblyCGInfo)->FindChild(Tag::CG));
    const CPoint aboveAlone = PointOf(Section(alone, 5, Tag::AssemblyCGInfo)->FindChild(Tag::CG));

    // A parked module below: its joint's splay enters the placement of the last one.
    // (Building again replaces the design, so nothing of `alone` is used from here on.)
    CArrayLineWrap parked = Build(Repeat({ HB1, S1 }, R1, 5));
    SetCounts(parked, 1, 4);
    CXmlNode* joint = parked.GetCab(6).GetProduct().GetSplayOption();
    ASSERT_FALSE(joint->IsNull());
    EXPECT_DOUBLE_EQ(joint->FindChild(Tag::Angle)->GetDouble(0.0), 15.0);
    const CPoint withParked = PointOf(Section(parked, 6, Tag::AssemblyCGInfo)->FindChild(Tag::CG));
    EXPECT_GT(std::abs(withParked.x - freeHanging.x) + std::abs(withParked.y - freeHanging.y), 1e-6);
    // The cabinets above are placed alike either way.
    const CPoint above = PointOf(Section(parked, 5, Tag::AssemblyCGInfo)->FindChild(Tag::CG));
    EXPECT_NEAR(above.x, aboveAlone.x, 1e-12);
    EXPECT_NEAR(above.y, aboveAlone.y, 1e-12);
}

TEST_F(ArrayAssemblyTest, RelinkRebuildsSectionsFromTheCatalogue)
{
    CArrayLineWrap line = Build({ HB1, R1 });
    CXmlNode* section = Section(line, 2, Tag::CGInfo);
    section->GetChild("Stray")->SetString("x");
    line.RelinkAll();
    section = Section(line, 2, Tag::CGInfo);
    EXPECT_TRUE(section->FindChild("Stray")->IsNull());
    EXPECT_TRUE(section->FindChild(Tag::CG)->IsNull());
    EXPECT_DOUBLE_EQ(section->FindChild(Tag::UR)->FindChild(Tag::X)->GetDouble(0.0), 8.443);
    EXPECT_FALSE(Section(line, 2, Tag::AssemblyCGInfo)->FindChild(Tag::LL)->IsNull());
}

TEST_F(ArrayAssemblyTest, UnknownModelsReadAsMissingData)
{
    CArrayLineWrap line = Build({ HB1, R1 });
    CArrayProdWrap product = line.GetCab(2).GetProduct();
    product.SetModel("PX9");
    line.RelinkAll();
    EXPECT_TRUE(product.GetCatalogueProduct()->IsNull());
    EXPECT_TRUE(product.GetSplayOption()->IsNull());
    EXPECT_TRUE(Section(line, 2, Tag::CGInfo)->FindChild("")->IsNull());
    EXPECT_TRUE(line.GetCab(1).GetProduct().GetSplayOption()->IsNull());
}

TEST_F(ArrayAssemblyTest, SlotPinDefaultsToSeven)
{
    CArrayLineWrap line(Arrays()->GetArray(2, CArrayManager::kCreate));
    EXPECT_EQ(line.GetSlotPin(), 7);
    EXPECT_EQ(line.GetNode()->FindChild(Tag::ArrayInfo)->FindChild(Tag::SlotPin)->FindChild(Tag::Value)->GetInt(0), 7);
    EXPECT_EQ(CArrayLineWrap().GetSlotPin(), 7);
    EXPECT_TRUE(Arrays()->GetArray(3, CArrayManager::kFind)->IsNull());
}

TEST_F(ArrayAssemblyTest, ScriptIdentifiersStayUnique)
{
    CXmlDocument script;
    CXmlNode* array = script.GetRoot("Root")->AddChild(Tag::Array);
    for (const std::string* model : { &HB1, &R1, &R1 })
    {
        CXmlNode* product = array->AddChild(Tag::Product);
        product->GetChild(Tag::XGuid)->SetString("1");
        product->GetChild(Tag::Model)->SetString(*model);
    }
    Arrays()->BuildFromScript(script);
    CArrayLineWrap line = Arrays()->GetLine(1, CArrayManager::kFind);

    std::map<std::string, int> seen;
    for (int i = 1; i <= 3; ++i)
    {
        CXmlNode* product = line.GetCab(i).GetProduct().GetNode();
        ASSERT_FALSE(product->IsNull()) << i;
        ++seen[product->FindChild(Tag::XGuid)->GetString("")];
        EXPECT_TRUE(product->FindChild(Tag::XGuid)->NextSibling(Tag::XGuid)->IsNull());
    }
    EXPECT_EQ(seen.size(), 3u);
    EXPECT_EQ(line.GetCab(1).GetTargetXGuid(), "1");
}
} // namespace
