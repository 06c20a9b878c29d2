#include "engine/CSceneWrap.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"

#include <gtest/gtest.h>

namespace
{
// A source tree with two hinted line ends, a thick marker, an edge marker, a point
// without a kind, and a part marked not in use.
const char* kSource = R"(<Root>
  <Venue><Slot>1</Slot>
    <AreaList>
      <Area><Slot>2</Slot>
        <Line>
          <Point1><X>0</X><Render>Line<Slot>1</Slot></Render><Meta><Thick/><SplGradient/></Meta></Point1>
          <Point2><X>240</X><Render>Line<Slot>1</Slot></Render></Point2>
          <SplTotal><Total>3</Total><Render>Line<Slot>1</Slot><Target>SplList</Target></Render></SplTotal>
          <Start><Render></Render></Start>
        </Line>
      </Area>
      <Area><Slot>3</Slot><FlagInUse>False</FlagInUse>
        <Line><Point1><Render>Line</Render></Point1></Line>
      </Area>
    </AreaList>
    <AimStuff><AimLine><Slot>1</Slot>
      <Line><Point1><Render>Line<Slot>1</Slot></Render><Meta><UEdge/></Meta><MetaMore><DashLength>4</DashLength></MetaMore></Point1></Line>
    </AimLine></AimStuff>
  </Venue>
</Root>)";

class SceneWrapTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        source.ParseText(kSource);
        scene = sceneDoc.GetRoot("Root")->GetChildByInt("Scene", "Slot", 2);
    }

    void Build()
    {
        CSceneWrap wrap;
        wrap.SetNode(scene);
        wrap.ClearLists();
        wrap.AddTrigger("Line");
        wrap.AddScanRoot(source.GetRoot("Root")->FindChild("Venue"));
        wrap.BuildScene();
    }

    CXmlDocument source, sceneDoc;
    CXmlNode* scene = nullptr;
};
}

TEST_F(SceneWrapTest, ItemsGatherHintedChildrenByKeyKindAndSlot)
{
    Build();
    CXmlNode* item = scene->FindChild("_Venue1_AreaList_Area2_Line")->FindChildByInt("Line", "Slot", 1);
    ASSERT_FALSE(item->IsNull());

    CXmlNode* points = item->FindChild("PointList");
    EXPECT_EQ(points->FindChild("Point1")->FindChild("X")->GetString(""), "0");
    EXPECT_EQ(points->FindChild("Point2")->FindChild("X")->GetString(""), "240");
    EXPECT_TRUE(points->FindChild("Point1")->FindChild("Render")->IsNull());
    EXPECT_TRUE(points->FindChild("Point1")->FindChild("Meta")->IsNull());
    EXPECT_FALSE(item->FindChild("SplList")->FindChild("SplTotal")->IsNull());

    CXmlNode* tags = item->FindChild("TagList");
    EXPECT_DOUBLE_EQ(tags->FindChild("LineWidth")->GetDouble(0), 6.0);
    EXPECT_EQ(tags->FindChild("ColorFill")->GetInt(0), -65536);
    EXPECT_EQ(tags->FindChild("ColorLine")->GetInt(0), -16733645);
    EXPECT_FALSE(tags->FindChild("SplGradient")->IsNull());
    EXPECT_FALSE(tags->FindChild("Meta")->FindChild("Thick")->IsNull());
}

TEST_F(SceneWrapTest, EdgeStyleNotInUseAndKindlessHints)
{
    Build();
    CXmlNode* edge = scene->FindChild("_Venue1_AimStuff_AimLine1_Line")->FindChildByInt("Line", "Slot", 1);
    ASSERT_FALSE(edge->IsNull());
    CXmlNode* tags = edge->FindChild("TagList");
    EXPECT_DOUBLE_EQ(tags->FindChild("LineWidth")->GetDouble(0), 2.0);
    EXPECT_EQ(tags->FindChild("ColorLine")->GetInt(0), -2271915);
    EXPECT_EQ(tags->FindChild("DashLength")->GetString(""), "4");

    EXPECT_TRUE(scene->FindChild("_Venue1_AreaList_Area3_Line")->IsNull());
    // No element with an empty name: the scene must stay savable.
    EXPECT_NE(sceneDoc.ToText().find("<Scene>"), std::string::npos);
    CXmlDocument back;
    back.ParseText(sceneDoc.ToText());
    EXPECT_TRUE(back.LastParseSucceeded());
}

TEST_F(SceneWrapTest, RebuildReplacesThePreviousContent)
{
    Build();
    const std::string first = sceneDoc.ToText();
    Build();
    EXPECT_EQ(sceneDoc.ToText(), first);

    source.GetRoot("Root")->FindChild("Venue")->RemoveChild("AimStuff");
    Build();
    EXPECT_TRUE(scene->FindChild("_Venue1_AimStuff_AimLine1_Line")->IsNull());
    EXPECT_EQ(scene->FindChild("Slot")->GetInt(0), 2);
}
