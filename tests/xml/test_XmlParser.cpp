#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/CXmlParser.h"
#include "xml/CXmlParserActor.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Writes "<element name>:<Id text>" into a shared log for every element it handles, and
// counts its own destruction.
class RecordingActor : public CXmlParserActor
{
public:
    RecordingActor(std::vector<std::string>& logTo, int& deletionsTo) : log(logTo), deletions(deletionsTo) {}
    ~RecordingActor() override { ++deletions; }

    void Act(CXmlNode* element) override
    {
        CXmlParserActor::Act(element);
        log.push_back(node->GetName() + ":" + node->FindChild("Id")->GetString(""));
    }

private:
    std::vector<std::string>& log;
    int& deletions;
};

class XmlParserTest : public ::testing::Test
{
protected:
    CXmlNode* Parse(const std::string& text)
    {
        doc.ParseText(text);
        return doc.GetRoot("Root");
    }

    RecordingActor* NewActor() { return new RecordingActor(log, deletions); }

    CXmlDocument doc;
    std::vector<std::string> log;
    int deletions = 0;
};
}

TEST_F(XmlParserTest, HandledElementsAreFoundAtAnyDepthInDocumentOrder)
{
    CXmlNode* root = Parse("<Root>"
                           "<Line><Id>1</Id></Line>"
                           "<Group><Inner><Circle><Id>2</Id></Circle></Inner><Line><Id>3</Id></Line></Group>"
                           "<Other>text<Circle><Id>4</Id></Circle></Other>"
                           "</Root>");
    {
        CXmlParser parser;
        parser.SetActor(Tag::Line, NewActor());
        parser.SetActor(Tag::Circle, NewActor());
        parser.Walk(root);
    }
    EXPECT_EQ(log, (std::vector<std::string> { "Line:1", "Circle:2", "Line:3", "Circle:4" }));
    EXPECT_EQ(deletions, 2);
}

TEST_F(XmlParserTest, ChildrenOfAHandledElementAreLeftToItsActor)
{
    CXmlNode* root = Parse("<Root><Line><Id>outer</Id><Line><Id>inner</Id></Line><Circle/></Line></Root>");
    CXmlParser parser;
    parser.SetActor(Tag::Line, NewActor());
    parser.SetActor(Tag::Circle, NewActor());
    parser.Walk(root);
    EXPECT_EQ(log, (std::vector<std::string> { "Line:outer" }));
}

TEST_F(XmlParserTest, NamesAreMatchedExactly)
{
    CXmlNode* root = Parse("<Root><line><Id>lower</Id></line><Lines/><Line><Id>exact</Id></Line></Root>");
    CXmlParser parser;
    parser.SetActor(Tag::Line, NewActor());
    parser.Walk(root);
    EXPECT_EQ(log, (std::vector<std::string> { "Line:exact" }));
}

TEST_F(XmlParserTest, ReplacingAnActorDeletesTheOldOneOnce)
{
    {
        CXmlParser parser;
        RecordingActor* first = NewActor();
        parser.SetActor(Tag::Line, first);
        parser.SetActor(Tag::Line, first);
        EXPECT_EQ(deletions, 0) << "re-registering the same actor keeps it";

        RecordingActor* second = NewActor();
        parser.SetActor(Tag::Line, second);
        EXPECT_EQ(deletions, 1);
        EXPECT_EQ(parser.FindActor(Tag::Line), second);
        EXPECT_EQ(parser.FindActor(Tag::Circle), nullptr);
    }
    EXPECT_EQ(deletions, 2);
}

TEST_F(XmlParserTest, AnActorServingTwoNamesIsDeletedOnce)
{
    {
        CXmlParser parser;
        RecordingActor* shared = NewActor();
        parser.SetActor(Tag::Line, shared);
        parser.SetActor(Tag::Circle, shared);
        parser.SetActor(Tag::Line, NewActor());
        EXPECT_EQ(deletions, 0) << "still registered for Circle";
        EXPECT_EQ(parser.FindActor(Tag::Circle), shared);
    }
    EXPECT_EQ(deletions, 2);
}

TEST_F(XmlParserTest, WalkingTheNullNodeVisitsNothing)
{
    CXmlParser parser;
    parser.SetActor("NULL", NewActor());
    parser.SetActor(Tag::Line, NewActor());
    parser.Walk(CXmlNode::GetNullNode());
    parser.Walk(nullptr);
    EXPECT_TRUE(log.empty());
}

TEST_F(XmlParserTest, ActorKeepsTheLastElementItHandled)
{
    CXmlNode* root = Parse("<Root><Line><Id>a</Id></Line><Line><Id>b</Id></Line></Root>");
    CXmlParser parser;
    RecordingActor* actor = NewActor();
    EXPECT_TRUE(actor->GetNode()->IsNull());
    parser.SetActor(Tag::Line, actor);
    parser.Walk(root);
    EXPECT_EQ(actor->GetNode()->FindChild("Id")->GetString(""), "b");
    actor->Act(nullptr);
    EXPECT_EQ(actor->GetNode()->FindChild("Id")->GetString(""), "b");
}
