#include "array/ArrayTestFixture.h"

#include <juce_core/juce_core.h>

#include <sys/stat.h>

namespace
{
const std::string& HB1 = Tag::Model_HB1;
const std::string& R1 = Tag::Model_DRXR1;
const std::string& S1 = Tag::Model_DRXS1;

std::vector<std::string> ChildNames(CXmlNode* parent)
{
    std::vector<std::string> names;
    for (CXmlNode* c = parent->FindChild(""); ! c->IsNull(); c = c->NextSibling(""))
        names.push_back(c->GetName());
    return names;
}

class ArrayFileTest : public ArrayTestFixture
{
protected:
    static CXmlNode* ArrayRoot() { return Arrays()->GetDocument()->GetRoot("Root"); }
    static CXmlNode* VenueRoot() { return CVenueManager::GetInstance()->GetVenueDocument()->GetRoot("Root"); }

    static std::vector<double> PinAngles(CArrayLineWrap line)
    {
        std::vector<double> angles;
        for (int pin = 1; pin <= 8; ++pin)
            angles.push_back(line.GetNode()->FindChild(Tag::PinList)->FindChildByInt(Tag::Pin, Tag::Slot, pin)
                                 ->FindChild(Tag::Angle)->GetDouble(-9999.0));
        return angles;
    }

    static std::vector<std::string> Models(CArrayLineWrap line)
    {
        std::vector<std::string> models;
        for (int i = 1; i <= line.GetTotal(); ++i)
            models.push_back(line.GetCab(i).GetProduct().GetModel());
        return models;
    }

    void StartDesign()
    {
        Arrays()->StartUp();
        CVenueManager::GetInstance()->InitialiseVenue();
    }
};

TEST_F(ArrayFileTest, StartUpBuildsTheDefaultDesignFromAFreshScript)
{
    run.Write("Default_Array_Script.xml", "<Root><Array><Product><Model>PX1</Model></Product></Array></Root>");
    Arrays()->StartUp();

    CArrayLineWrap line = Arrays()->GetLine(1, CArrayManager::kFind);
    ASSERT_EQ(line.GetTotal(), 7);
    const std::vector<std::string> models = Models(line);
    EXPECT_EQ(models[0], HB1);
    EXPECT_TRUE(models[1] == S1 || models[1] == R1) << models[1];
    for (int i = 2; i < 7; ++i)
        EXPECT_EQ(models[i], R1);
    EXPECT_EQ(line.GetSlotPin(), 1);
    // The counts follow the cabinets the random choice hung.
    EXPECT_EQ(line.GetSubwooferCount(), models[1] == S1 ? 1 : 0);
    EXPECT_EQ(line.GetFullRangeCount(), models[1] == S1 ? 5 : 6);
    EXPECT_DOUBLE_EQ(line.GetArrayAngle(), PinAngles(line)[0]);
    for (int i = 1; i <= 7; ++i)
    {
        CArrayProdWrap product = line.GetCab(i).GetProduct();
        EXPECT_TRUE(product.IsInUse());
        EXPECT_DOUBLE_EQ(product.GetNode()->FindChild(Tag::AimDist)->FindChild(Tag::Value)->GetDouble(0.0), 1.0);
    }
    CXmlNode* hang = line.GetNode()->FindChild(Tag::HangPoint);
    EXPECT_EQ(hang->FindChild(Tag::UnitLength)->GetString(""), "Feet");
    EXPECT_DOUBLE_EQ(hang->FindChild(Tag::Y)->GetDouble(0.0), 20.0);
    EXPECT_DOUBLE_EQ(hang->FindChild(Tag::Y)->FindChild(Tag::Total)->GetDouble(0.0), 15.0);

    // The script is rewritten with the default whatever it held.
    CXmlDocument script;
    script.Load("Default_Array_Script.xml");
    CXmlNode* scriptArray = script.GetRoot("Root")->FindChild(Tag::Array);
    CXmlNode* flybar = scriptArray->FindChild(Tag::Product);
    EXPECT_EQ(flybar->FindChild(Tag::Model)->GetString(""), HB1);
    EXPECT_EQ(flybar->FindChild(Tag::SlotPin)->GetInt(0), 1);
    int scriptProducts = 0;
    for (CXmlNode* p = flybar; ! p->IsNull(); p = p->NextSibling(Tag::Product))
        ++scriptProducts;
    EXPECT_EQ(scriptProducts, 7);

    CXmlDocument settings;
    settings.Load(CArrayManager::kSettingsFileName);
    EXPECT_EQ(settings.GetRoot("Root")->FindChild(Tag::FileName)->GetString(""), ".\\Default_Array_Script.xml");
    EXPECT_EQ(settings.GetRoot("Root")->FindChild("Types")->GetString(""), "Many");

    CXmlDocument output;
    output.Load(CArrayManager::kOutputFileName);
    ASSERT_TRUE(output.LastParseSucceeded());
    EXPECT_EQ(ChildNames(output.GetRoot("Root")), (std::vector<std::string> { "Array", "ProductList" }));
    EXPECT_FALSE(output.GetRoot("Root")->FindChild(Tag::Array)->FindChild(Tag::AssemblyCGInfo)->FindChild(Tag::CG)->IsNull());
}

TEST_F(ArrayFileTest, VenueKeepsOneOutlinePerPosition)
{
    StartDesign();
    CArrayLineWrap line = Arrays()->GetLine(1, CArrayManager::kFind);
    line.RecomputeAll();
    line.RecomputeAll();

    CXmlNode* venueArray = CVenueManager::GetInstance()->GetVenue(1)->FindChildByInt(Tag::Array, Tag::Slot, 1);
    ASSERT_FALSE(venueArray->IsNull());
    for (int i = 1; i <= 7; ++i)
    {
        SCOPED_TRACE(i);
        CXmlNode* polygon = venueArray->FindChildByInt(Tag::Cab, Tag::Slot, i)->FindChild(Tag::Polygon);
        EXPECT_EQ(ChildNames(polygon), (std::vector<std::string> { "CG", "AssemblyCGInfo" }));
        const CPoint copied = PointOf(polygon->FindChild(Tag::AssemblyCGInfo)->FindChild(Tag::UR));
        const CPoint placed = PointOf(Section(line, i, Tag::AssemblyCGInfo)->FindChild(Tag::UR));
        EXPECT_DOUBLE_EQ(copied.x, placed.x);
        EXPECT_DOUBLE_EQ(copied.y, placed.y);
    }
}

TEST_F(ArrayFileTest, SavedFileHoldsArrayProductsAndVenueWhileTheVenueStaysHome)
{
    StartDesign();
    const std::string venueBefore = CVenueManager::GetInstance()->GetVenueDocument()->ToText();

    ASSERT_TRUE(Arrays()->SaveArrayFile("design.21w"));
    ASSERT_TRUE(Arrays()->SaveArrayFile("design.21w"));

    CXmlDocument file;
    file.Load("design.21w");
    ASSERT_TRUE(file.LastParseSucceeded());
    EXPECT_EQ(ChildNames(file.GetRoot("Root")), (std::vector<std::string> { "Array", "ProductList", "Venue" }));

    EXPECT_EQ(ChildNames(VenueRoot()), (std::vector<std::string> { "Venue" }));
    EXPECT_TRUE(ArrayRoot()->FindChild(Tag::Venue)->IsNull());
    EXPECT_EQ(CVenueManager::GetInstance()->GetVenueDocument()->ToText(), venueBefore);
}

TEST_F(ArrayFileTest, FailedSaveReportsFalseAndLeavesNothingBehind)
{
    StartDesign();
    run.File("taken.21w").createDirectory();

    for (const std::string path : { "no/such/folder/design.21w", "taken.21w" })
    {
        SCOPED_TRACE(path);
        EXPECT_FALSE(Arrays()->SaveArrayFile(path));
        EXPECT_EQ(ChildNames(VenueRoot()), (std::vector<std::string> { "Venue" }));
        EXPECT_TRUE(ArrayRoot()->FindChild(Tag::Venue)->IsNull());
    }
    EXPECT_TRUE(run.File("taken.21w").isDirectory());
    juce::Array<juce::File> left = run.File("").findChildFiles(juce::File::findFiles, false, "*.21w*");
    EXPECT_EQ(left.size(), 0);
}

TEST_F(ArrayFileTest, LoadBringsBackDesignGeometryAndVenue)
{
    StartDesign();
    CVenueManager::GetInstance()->GetVenue(1)->GetChild("Marker")->SetString("saved");
    CArrayLineWrap line = Arrays()->GetLine(1, CArrayManager::kFind);
    SetCounts(line, 0, 6);
    line.SetSlotPin(5);
    line.ApplyPickPin();
    const std::vector<double> angles = PinAngles(line);
    const double arrayAngle = line.GetArrayAngle();
    ASSERT_TRUE(Arrays()->SaveArrayFile("design.21w"));

    SetCounts(line, 2, 1);
    CVenueManager::GetInstance()->GetVenue(1)->GetChild("Marker")->SetString("changed");

    ASSERT_TRUE(Arrays()->LoadArrayFile("design.21w"));
    line = Arrays()->GetLine(1, CArrayManager::kFind);
    EXPECT_EQ(Models(line), Repeat({ HB1 }, R1, 6));
    EXPECT_EQ(line.GetSlotPin(), 5);
    std::vector<double> loaded = PinAngles(line);
    for (int pin = 0; pin < 8; ++pin)
        EXPECT_NEAR(loaded[pin], angles[pin], 1e-12) << pin + 1;
    EXPECT_NEAR(line.GetArrayAngle(), arrayAngle, 1e-12);
    for (int i = 1; i <= 7; ++i)
        EXPECT_FALSE(line.GetCab(i).GetProduct().GetCatalogueProduct()->IsNull()) << i;

    EXPECT_EQ(ChildNames(VenueRoot()), (std::vector<std::string> { "Venue" }));
    EXPECT_EQ(CVenueManager::GetInstance()->GetVenue(1)->FindChild("Marker")->GetString(""), "saved");
    EXPECT_TRUE(ArrayRoot()->FindChild(Tag::Venue)->IsNull());
}

TEST_F(ArrayFileTest, NewIdentifiersAfterALoadSkipTheLoadedOnes)
{
    StartDesign();
    EXPECT_EQ(Arrays()->NewProduct("").GetXGuid(), "8");
    EXPECT_EQ(Arrays()->NewProduct("").GetXGuid(), "9");
    ASSERT_TRUE(Arrays()->SaveArrayFile("design.21w"));
    CArrayManager::DestroyInstance();

    ASSERT_TRUE(Arrays()->LoadArrayFile("design.21w"));
    const std::string fresh = Arrays()->NewProduct("").GetXGuid();
    EXPECT_GE(std::stoi(fresh), 10);
    int sameId = 0;
    for (CXmlNode* p = Arrays()->GetProductList()->FindChild(Tag::Product); ! p->IsNull(); p = p->NextSibling(Tag::Product))
        sameId += p->FindChild(Tag::XGuid)->GetString("") == fresh ? 1 : 0;
    EXPECT_EQ(sameId, 1);
}

TEST_F(ArrayFileTest, RefusedLoadKeepsTheCurrentDesign)
{
    StartDesign();
    run.Write("broken.21w", "<Root><Array><Slot>1</Slot><Total>3</Tot");
    run.Write("venue.21v", "<?xml version=\"1.0\" ?>\n<Root><Venue><Slot>1</Slot></Venue></Root>\n");
    const std::string designBefore = Arrays()->GetDocument()->ToText();
    const std::string venueBefore = CVenueManager::GetInstance()->GetVenueDocument()->ToText();

    for (const std::string path : { "missing.21w", "broken.21w", "venue.21v" })
    {
        SCOPED_TRACE(path);
        EXPECT_FALSE(Arrays()->LoadArrayFile(path));
        EXPECT_EQ(Arrays()->GetDocument()->ToText(), designBefore);
        EXPECT_EQ(CVenueManager::GetInstance()->GetVenueDocument()->ToText(), venueBefore);
    }
}
TEST_F(ArrayFileTest, FilesBeyondWhatTheDesignHoldsAreRefusedAtOnce)
{
    StartDesign();
    ASSERT_TRUE(Arrays()->SaveArrayFile("good.21w"));
    const std::string good = run.Read("good.21w");

    struct Case
    {
        std::vector<std::string> path;    // from Root/Array (or Root with "Venue" or "ProductList" first)
        const char* text;
        const char* reason;    // the start of the message
    };
    const Case cases[] = {
        { { Tag::Total }, "100000", "Array 1 Total is 100000; an array holds from 0 to 7 positions" },
        { { Tag::Total }, "2147483647", "Array 1 Total is 2147483647; an array holds from 0 to 7 positions" },
        { { Tag::Total }, "8", "Array 1 Total is 8; an array holds from 0 to 7 positions" },
        { { Tag::Total }, "-5", "Array 1 Total is -5; an array holds from 0 to 7 positions" },
        { { Tag::HangPoint, Tag::X }, "nan", "Array 1 HangPoint/X is nan; it must be a finite number" },
        { { Tag::HangPoint, Tag::Y }, "-inf", "Array 1 HangPoint/Y is -inf; it must be a finite number" },
        { { Tag::Venue, Tag::AreaList, Tag::Total }, "2147483647",
          "Venue 1 AreaList/Total is 2147483647; it must be from 0 to 64" },
        { { Tag::ProductList, Tag::Product, Tag::Processing, Tag::Delay }, "150",
          "Product 1 Processing/Delay is 150; it must be from 0 to 100" },
        { { Tag::ProductList, Tag::Product, Tag::Processing, Tag::Polarity }, "2",
          "Product 1 Processing/Polarity is 2; it must be 0 or 1" },
        { { Tag::ProductList, Tag::Product, Tag::Processing, Tag::Gain }, "nan",
          "Product 1 Processing/Gain is nan; it must be from -40 to 10" },
        { { Tag::ProductList, Tag::Product, Tag::Processing, Tag::Gain }, "loud",
          "Product 1 Processing/Gain holds text where a number belongs" },
    };

    SetCounts(Arrays()->GetLine(1, CArrayManager::kFind), 2, 3);
    const std::string designBefore = Arrays()->GetDocument()->ToText();
    const std::string venueBefore = CVenueManager::GetInstance()->GetVenueDocument()->ToText();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.reason);
        CXmlDocument file;
        file.ParseText(good);
        CXmlNode* node = file.GetRoot("Root");
        if (c.path.front() != Tag::Venue && c.path.front() != Tag::ProductList)
            node = node->FindChild(Tag::Array);
        for (const std::string& step : c.path)
            node = node->GetChild(step);
        node->SetString(c.text);
        run.Write("hostile.21w", file.ToText());

        EXPECT_FALSE(Arrays()->LoadArrayFile("hostile.21w"));
        EXPECT_EQ(Arrays()->LastLoadError().rfind(c.reason, 0), 0u) << Arrays()->LastLoadError();
        EXPECT_EQ(Arrays()->GetDocument()->ToText(), designBefore);
        EXPECT_EQ(CVenueManager::GetInstance()->GetVenueDocument()->ToText(), venueBefore);
    }

    ASSERT_EQ(::mkfifo(run.File("pipe.21w").getFullPathName().toRawUTF8(), 0600), 0);
    EXPECT_FALSE(Arrays()->LoadArrayFile("pipe.21w")) << "a FIFO is refused, not waited on";
    EXPECT_EQ(Arrays()->LastLoadError(), "pipe.21w: is not a regular file (it is a FIFO)");

    ASSERT_TRUE(Arrays()->LoadArrayFile("good.21w")) << Arrays()->LastLoadError();
    EXPECT_EQ(Arrays()->LastLoadError(), "");
}

} // namespace
