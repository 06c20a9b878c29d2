#include "TestSupport.h"

#include "base/CLine.h"
#include "base/CReportError.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "venue/CVenueManager.h"
#include "venue/VenueLimits.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

namespace
{
std::vector<std::string>& Reports()
{
    static std::vector<std::string> messages;
    return messages;
}

// A fresh directory and a venue manager with the default venue in it.
class VenueFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Reports().clear();
        SetReportObserver([](const std::string& message) { Reports().push_back(message); });
        Manager()->InitialiseVenue();
    }

    void TearDown() override
    {
        CVenueManager::DestroyInstance();
        SetReportObserver(nullptr);
    }

    static CVenueManager* Manager() { return CVenueManager::GetInstance(); }
    static std::string Text() { return Manager()->GetVenueDocument()->ToText(); }

    static CVenueAreaWrap Area(int slot)
    {
        CVenueAreaWrap area;
        CVenueDataWrap(Manager()->GetVenue(1)).GetArea(area, slot);
        return area;
    }

    ScopedTempDirectory temp;
};

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0;
}

int CountChildren(CXmlNode* parent, const std::string& tag)
{
    int n = 0;
    for (CXmlNode* c = parent->FindChild(tag); ! c->IsNull(); c = c->NextSibling(tag))
        ++n;
    return n;
}
}

//==============================================================================
TEST_F(VenueFixture, DefaultVenueHasFiveAreasWithTheirLinesAndStyles)
{
    struct Expected
    {
        const char* name;
        const char* type;
        double x1, y1, x2, y2, length, angle;
    };
    const Expected rows[] = {
        { "Hang Point", "HangPoint", 222, 282, 300, 240, 88.589, -28.3008 },
        { "Stage", "Stage", 0, 60, 240, 60, 240, 0 },
        { "Floor", "Area", 240, 0, 1139.452, 31.410, 900, 2 },
        { "Rake", "Area", 1140, 60, 1377.664, 93.402, 240, 8 },
        { "Balcony1", "Area", 900, 180, 1238.289, 303.127, 360, 20 },
    };

    CXmlNode* root = Manager()->GetVenueDocument()->GetRoot("Root");
    EXPECT_EQ(CountChildren(root, Tag::Venue), 1);
    EXPECT_EQ(CVenueDataWrap(Manager()->GetVenue(1)).GetAreaTotal(), 5);

    CXmlNode* areaList = Manager()->GetVenue(1)->FindChild(Tag::AreaList);
    int slot = 0;
    for (CXmlNode* a = areaList->FindChild(Tag::Area); ! a->IsNull(); a = a->NextSibling(Tag::Area))
    {
        const Expected& row = rows[slot++];
        SCOPED_TRACE(row.name);
        CVenueAreaWrap area(a);
        EXPECT_EQ(a->FindChild(Tag::Slot)->GetInt(0), slot);
        EXPECT_EQ(a->FindChild(Tag::Name)->GetString(""), row.name);
        EXPECT_EQ(area.GetAreaType(), row.type);
        const CLine& line = *area.GetLine();
        EXPECT_NEAR(line.x1, row.x1, 1e-9);
        EXPECT_NEAR(line.y1, row.y1, 1e-9);
        EXPECT_NEAR(line.x2, row.x2, 1e-3);
        EXPECT_NEAR(line.y2, row.y2, 1e-3);
        EXPECT_NEAR(line.length, row.length, 1e-3);
        EXPECT_NEAR(line.angle, row.angle, 1e-4);
    }
    EXPECT_EQ(slot, 5);

    // Hang point: an empty render hint only; stage and audience areas: drawn lines.
    CXmlNode* hang = Area(1).GetNode()->FindChild(Tag::Line);
    EXPECT_FALSE(hang->FindChild(Tag::Point1)->FindChild(Tag::Render)->IsNull());
    EXPECT_FALSE(hang->FindChild(Tag::Point1)->FindChild(Tag::Render)->HasValue());
    EXPECT_TRUE(hang->FindChild(Tag::Point2)->FindChild(Tag::Render)->IsNull());
    for (int s = 2; s <= 5; ++s)
    {
        SCOPED_TRACE(s);
        CXmlNode* line = Area(s).GetNode()->FindChild(Tag::Line);
        for (const std::string* end : { &Tag::Point1, &Tag::Point2 })
        {
            CXmlNode* render = line->FindChild(*end)->FindChild(Tag::Render);
            EXPECT_EQ(render->GetString(""), Tag::Line);
            EXPECT_EQ(render->FindChild(Tag::Slot)->GetInt(0), 1);
        }
        EXPECT_FALSE(line->FindChild(Tag::Point1)->FindChild(Tag::Meta)->FindChild(Tag::Thick)->IsNull());
        EXPECT_FALSE(line->FindChild(Tag::Point1)->FindChild(Tag::Meta)->FindChild(Tag::SplGradient)->IsNull());
    }
    EXPECT_EQ(Area(3).GetNode()->FindChild(Tag::Visible)->GetInt(0), 1);
    EXPECT_TRUE(Area(2).GetNode()->FindChild(Tag::Visible)->IsNull());
}

TEST_F(VenueFixture, StartUpWritesTheRecordAndSettingsFiles)
{
    EXPECT_EQ(temp.Read("Venue_Data.xml"), Text());

    CXmlDocument settings;
    settings.Load(temp.File("Manager_Venue_Settings.xml").getFullPathName().toStdString());
    ASSERT_TRUE(settings.LastParseSucceeded());
    EXPECT_EQ(settings.GetRoot("Root")->FindChild("Types")->GetString(""), "Many");

    // The destructor records the venue as it is then.
    Area(4).SetAreaName("Changed");
    const std::string last = Text();
    CVenueManager::DestroyInstance();
    EXPECT_EQ(temp.Read("Venue_Data.xml"), last);
}

TEST_F(VenueFixture, GetVenueFindsOrAddsByItsSlot)
{
    CXmlNode* first = Manager()->GetVenue(1);
    EXPECT_EQ(Manager()->GetVenue(1), first);

    CXmlNode* second = Manager()->GetVenue(2);
    EXPECT_NE(second, first);
    EXPECT_EQ(first->NextSibling(Tag::Venue), second);
    EXPECT_EQ(second->FindChild(Tag::Slot)->GetInt(0), 2);
    EXPECT_TRUE(second->FindChild(Tag::AreaList)->IsNull());
    CXmlNode* item = second->FindChild(Tag::RenderSpec)->FindChild(Tag::RenderItem);
    EXPECT_EQ(item->FindChild(Tag::Render)->GetString(""), Tag::Info);
    EXPECT_EQ(item->FindChild(Tag::Render)->FindChild(Tag::Slot)->GetInt(0), 1);
    EXPECT_FALSE(item->FindChild(Tag::MetaMore)->FindChild(Tag::ConvLBaseX)->IsNull());
    EXPECT_FALSE(item->FindChild(Tag::MetaMore)->FindChild(Tag::ConvLBaseY)->IsNull());
}

TEST_F(VenueFixture, HiddenAreaLosesItsRenderHintsAndGetsThemBack)
{
    CVenueAreaWrap floor = Area(3);
    CXmlNode* line = floor.GetNode()->FindChild(Tag::Line);

    floor.GetNode()->GetChild(Tag::Visible)->SetInt(0);
    floor.SetAreaStyle();
    EXPECT_TRUE(line->FindChild(Tag::Point1)->FindChild(Tag::Render)->IsNull());
    EXPECT_TRUE(line->FindChild(Tag::Point2)->FindChild(Tag::Render)->IsNull());
    EXPECT_FALSE(line->FindChild(Tag::Point1)->FindChild(Tag::Meta)->FindChild(Tag::Thick)->IsNull());

    floor.GetNode()->GetChild(Tag::Visible)->SetInt(1);
    floor.SetAreaStyle();
    for (const std::string* end : { &Tag::Point1, &Tag::Point2 })
    {
        CXmlNode* render = line->FindChild(*end)->FindChild(Tag::Render);
        EXPECT_EQ(render->GetString(""), Tag::Line);
        EXPECT_EQ(render->FindChild(Tag::Slot)->GetInt(0), 1);
    }
}

//==============================================================================
TEST_F(VenueFixture, SavedVenueFileLoadsBackToTheSameDocument)
{
    Area(5).GetLine()->SetByKey("LAngle", 12.5);
    const std::string path = temp.File("room.21v").getFullPathName().toStdString();
    ASSERT_TRUE(Manager()->SaveVenueFile(path));
    const std::string saved = Text();
    EXPECT_EQ(temp.Read("room.21v"), saved);

    Area(5).GetLine()->SetByKey("LAngle", 3.0);
    Area(2).SetAreaName("Other");
    ASSERT_TRUE(Manager()->LoadVenueFile(path));
    EXPECT_EQ(Text(), saved);
    EXPECT_NEAR(Area(5).GetLine()->angle, 12.5, 1e-12);
    EXPECT_TRUE(Reports().empty());
}

TEST_F(VenueFixture, RefusedVenueLoadsLeaveTheVenueAsItWas)
{
    struct Case
    {
        const char* what;
        const char* file;     // written into the directory unless null
        const char* content;
    };
    const std::string good = Text();
    const std::string numberBroken = [&] {
        std::string t = good;
        t.replace(t.find("<X>1140</X>"), 11, "<X>east</X>");
        return t;
    }();
    const std::string totalBroken = [&] {
        std::string t = good;
        t.replace(t.find("<Total>5</Total>"), 16, "<Total>five</Total>");
        return t;
    }();
    const Case cases[] = {
        { "missing file", nullptr, nullptr },
        { "garbage", "garbage.21v", "\x01\x02 this is not <xml" },
        { "empty file", "empty.21v", "" },
        { "no Venue", "novenue.21v", "<?xml version=\"1.0\" ?><Root><Array><Slot>1</Slot></Array></Root>" },
        { "other root", "otherroot.21v", "<?xml version=\"1.0\" ?><Top><Venue><Slot>1</Slot></Venue></Top>" },
        { "non-numeric coordinate", "badnumber.21v", numberBroken.c_str() },
        { "non-numeric total", "badtotal.21v", totalBroken.c_str() },
    };

    Area(3).GetLine()->SetByKey("LDist", 777.0);
    const std::string before = Text();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.what);
        Reports().clear();
        const std::string name = c.file != nullptr ? c.file : "absent.21v";
        if (c.file != nullptr)
            temp.Write(name, c.content);
        const std::string path = temp.File(name).getFullPathName().toStdString();

        EXPECT_FALSE(Manager()->LoadVenueFile(path));
        EXPECT_EQ(Text(), before);
        ASSERT_EQ(Reports().size(), 1u);
        EXPECT_TRUE(StartsWith(Reports()[0], "Error: Could not load venue file " + path + " (")) << Reports()[0];
    }
    EXPECT_NEAR(Area(3).GetLine()->length, 777.0, 1e-12);
}

TEST_F(VenueFixture, EmptyPathLoadsTheLargeVenue)
{
    const std::string before = Text();
    EXPECT_FALSE(Manager()->LoadVenueFile(""));
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0], "Error: Could not load venue file Venue_Large.xml (Venue_Large.xml: cannot be opened "
                            "(No such file or directory))");
    EXPECT_EQ(Text(), before);

    Area(1).SetAreaName("Large");
    ASSERT_TRUE(Manager()->SaveVenueFile("Venue_Large.xml"));
    const std::string large = Text();
    Area(1).SetAreaName("Hang Point");
    EXPECT_TRUE(Manager()->LoadVenueFile(""));
    EXPECT_EQ(Text(), large);
}

TEST_F(VenueFixture, FailedSaveIsReportedAndLeavesNoFile)
{
    const std::string before = Text();
    const std::string path = temp.File("missing-folder").getChildFile("room.21v").getFullPathName().toStdString();
    EXPECT_FALSE(Manager()->SaveVenueFile(path));
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_TRUE(StartsWith(Reports()[0], "Error: Could not save venue file " + path + " (cannot be written"))
        << Reports()[0];
    EXPECT_EQ(Text(), before);
    EXPECT_FALSE(temp.File("missing-folder").exists());

    // A target that cannot be replaced (a folder) keeps its place and leaves no temporary file.
    temp.File("room.21v").createDirectory();
    Reports().clear();
    const std::string folder = temp.File("room.21v").getFullPathName().toStdString();
    EXPECT_FALSE(Manager()->SaveVenueFile(folder));
    EXPECT_EQ(Reports(), std::vector<std::string> { "Error: Could not save venue file " + folder
                                                    + " (is not a regular file (it is a folder))" });
    EXPECT_TRUE(temp.File("room.21v").isDirectory());
    for (const juce::File& f : temp.File("").findChildFiles(juce::File::findFiles, false))
        EXPECT_FALSE(f.getFileName().startsWith(".")) << "temporary file left: " << f.getFileName();
}

//==============================================================================
TEST_F(VenueFixture, VenueTravelsThroughAnArrayDocumentAndBack)
{
    CXmlDocument arrayDocument;
    CXmlNode* arrayRoot = arrayDocument.GetRoot("Root");
    arrayRoot->AddChild(Tag::Array)->GetChild(Tag::Slot)->SetInt(1);
    arrayRoot->AddChild(Tag::Venue)->GetChild(Tag::Slot)->SetInt(9);    // left by an earlier save
    arrayRoot->AddChild(Tag::ProductList);

    CXmlNode* venue = Manager()->GetVenue(1);
    const std::string before = Text();

    Manager()->CopyVenueInto(arrayRoot);
    EXPECT_EQ(CountChildren(arrayRoot, Tag::Venue), 1);
    CXmlNode* copy = arrayRoot->FindChild(Tag::Venue);
    EXPECT_TRUE(copy->NextSibling("")->IsNull()) << "the Venue is the last child";
    EXPECT_EQ(copy->FindChild(Tag::AreaList)->FindChild(Tag::Total)->GetInt(0), 5);

    CVenueManager::RemoveVenueFrom(arrayRoot);
    EXPECT_TRUE(arrayRoot->FindChild(Tag::Venue)->IsNull());
    EXPECT_EQ(Text(), before);
    EXPECT_EQ(Manager()->GetVenue(1), venue) << "saving does not replace the venue's elements";

    // Loading: the file's Venue moves into the venue document.
    CXmlDocument fileDocument;
    fileDocument.ParseText(before);
    CXmlNode* fileRoot = fileDocument.GetRoot("Root");
    CVenueAreaWrap(fileRoot->FindChild(Tag::Venue)->FindChild(Tag::AreaList)->FindChild(Tag::Area)).SetAreaName("Moved");
    EXPECT_TRUE(Manager()->TakeVenueFrom(fileRoot));
    EXPECT_TRUE(fileRoot->FindChild(Tag::Venue)->IsNull());
    EXPECT_EQ(CountChildren(Manager()->GetVenueDocument()->GetRoot("Root"), Tag::Venue), 1);
    EXPECT_EQ(Area(1).GetNode()->FindChild(Tag::Name)->GetString(""), "Moved");

    // A file without a venue leaves the current one alone.
    const std::string current = Text();
    EXPECT_FALSE(Manager()->TakeVenueFrom(fileRoot));
    EXPECT_EQ(Text(), current);
}

TEST_F(VenueFixture, RestoredStateIsTheStateSaved)
{
    const std::shared_ptr<const std::string> state = Manager()->GetVenueDocument()->Printed();
    Area(2).GetLine()->SetByKey("eX", 500.0);
    Manager()->GetVenue(3);
    Manager()->RestoreState(state);
    EXPECT_EQ(Text(), *state);
    EXPECT_NEAR(Area(2).GetLine()->x2, 240.0, 1e-12);
}

//==============================================================================
namespace
{
// The default venue with one value of area 3 (or of the venue itself) replaced by a text.
std::string WithText(const std::string& venueText, const std::vector<std::string>& path, const std::string& text)
{
    CXmlDocument document;
    document.ParseText(venueText);
    CXmlNode* node = document.GetRoot("Root")->FindChild(Tag::Venue);
    for (const std::string& step : path)
        node = step == "Area3" ? node->FindChild(Tag::AreaList)->FindChildByInt(Tag::Area, Tag::Slot, 3)
                               : node->GetChild(step);
    node->SetString(text);
    return document.ToText();
}
}

TEST_F(VenueFixture, VenueFilesBeyondTheLimitsAreRefusedAtOnceNamingTheElement)
{
    struct Case
    {
        std::vector<std::string> path;
        const char* text;
        const char* named;    // in the message, with the limit or the reason
        const char* limit;
    };
    const Case cases[] = {
        { { Tag::AreaList, Tag::Total }, "100000", "AreaList/Total is 100000", "from 0 to 32" },
        { { Tag::AreaList, Tag::Total }, "2147483647", "AreaList/Total is 2147483647", "from 0 to 32" },
        { { Tag::AreaList, Tag::Total }, "-1", "AreaList/Total is -1", "from 0 to 32" },
        { { Tag::AimStuff, Tag::Total }, "2147483647", "AimStuff/Total is 2147483647", "from 0 to 64" },
        { { "Area3", Tag::InterList, Tag::Total }, "100000", "Area 3 InterList/Total is 100000", "from 0 to 66" },
        { { "Area3", Tag::Line, Tag::Point1, Tag::X }, "1e308", "Area 3 Line: the start X is 1e+308", "40000 inches" },
        { { "Area3", Tag::Line, Tag::Point2, Tag::Y }, "-40001", "Area 3 Line: the end Y is -40001",
          "40000 inches" },
        { { "Area3", Tag::Line, Tag::Point1, Tag::Y }, "nan", "Area 3 Line: the start Y is nan", "40000 inches" },
        { { "Area3", Tag::Line, Tag::LDist }, "inf", "Area 3 Line: the length is inf", "40000 inches" },
        { { "Area3", Tag::Line, Tag::LAngle }, "-inf", "Area 3 Line: the angle is -inf", "180 degrees" },
        { { "Area3", Tag::Line, Tag::LAngle }, "1000", "Area 3 Line: the angle is 1000", "within ±180 degrees" },
        { { "Area3", Tag::Visible }, "yes", "Area 3 Visible holds 'yes'", "where a whole number belongs" },
        // Counts are read whole: never by their leading digits.
        { { Tag::AreaList, Tag::Total }, "0x7fffffff", "AreaList/Total holds '0x7fffffff'", "whole number" },
        { { Tag::AreaList, Tag::Total }, "7.9", "AreaList/Total holds '7.9'", "whole number" },
        { { Tag::AreaList, Tag::Total }, "1e9", "AreaList/Total holds '1e9'", "whole number" },
        // The picture's offsets: far ones made the grid drawing loop for ever.
        { { Tag::RenderSpec, Tag::RenderItem, Tag::MetaMore, Tag::ConvLBaseX }, "1e21",
          "Venue 1 RenderSpec ConvLBaseX is 1e+21", "40000 inches" },
        { { Tag::RenderSpec, Tag::RenderItem, Tag::MetaMore, Tag::ConvLBaseY }, "nan", "ConvLBaseY is nan", "40000 inches" },
        { { Tag::RenderSpec, Tag::RenderItem, Tag::MetaMore, Tag::ConvGBaseX }, "-inf", "ConvGBaseX is -inf", "40000 inches" },
        { { Tag::RenderSpec, Tag::RenderItem, Tag::MetaMore, Tag::ConvLBaseX }, "12ft", "ConvLBaseX holds '12ft'",
          "where a number belongs" },
    };

    const std::string good = Text();
    Area(3).GetLine()->SetByKey("LDist", 777.0);
    const std::string before = Text();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.named);
        Reports().clear();
        temp.Write("hostile.21v", WithText(good, c.path, c.text));
        EXPECT_FALSE(Manager()->LoadVenueFile("hostile.21v"));
        EXPECT_EQ(Text(), before);
        ASSERT_EQ(Reports().size(), 1u);
        EXPECT_NE(Reports()[0].find(c.named), std::string::npos) << Reports()[0];
        EXPECT_NE(Reports()[0].find(c.limit), std::string::npos) << Reports()[0];
    }

    // At the limits, and with derived values that are not finite (levels of no sound),
    // the file loads.
    std::string edge = WithText(good, { "Area3", Tag::Line, Tag::Point1, Tag::X }, "-40000");
    edge = WithText(edge, { Tag::Power, Tag::Min }, "-inf");
    temp.Write("edge.21v", edge);
    Reports().clear();
    EXPECT_TRUE(Manager()->LoadVenueFile("edge.21v"));
    EXPECT_TRUE(Reports().empty());
    EXPECT_EQ(Area(3).GetLine()->x1, -40000.0);
}

TEST(VenueLimits, AreaEditsAreCheckedOnTheLineTheyWouldMake)
{
    CLine line;
    line.x1 = 240.0;
    line.y1 = 0.0;
    line.SetByKey("LDist", 900.0);
    struct Case { const char* key; double value; bool accepted; };
    const Case cases[] = {
        { "sX", 1000.0, true },
        { "sX", 39999.0, false },    // the end point would leave the venue
        { "sX", -40001.0, false },
        { "sY", 1e308, false },
        { "eX", 40000.0, true },
        { "eX", std::numeric_limits<double>::infinity(), false },
        { "eY", std::nan(""), false },
        { "LDist", 39000.0, true },
        { "LDist", 1e308, false },
        { "LAngle", 170.0, true },
        { "LAngle", 720.0, false },
        { "LAngle", -std::numeric_limits<double>::infinity(), false },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.key) + " " + std::to_string(c.value));
        const std::string refusal = VenueLimits::CheckAreaEdit(line, c.key, c.value);
        EXPECT_EQ(refusal.empty(), c.accepted) << refusal;
        if (! c.accepted)
        {
            EXPECT_EQ(refusal.rfind(c.key, 0), 0u) << "names the key: " << refusal;
        }
    }
    EXPECT_EQ(line.x1, 240.0) << "the line checked is not changed";
}
