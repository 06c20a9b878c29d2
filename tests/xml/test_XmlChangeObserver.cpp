#include "xml/CXmlChangeObserver.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
// Records what the documents tell it, in order.
class Recorder : public CXmlChangeObserver
{
public:
    void NodeChanged(CXmlNode* node) override { events.push_back({ "changed", node }); }
    void NodeReleased(CXmlNode* node) override { events.push_back({ "released", node }); }

    struct Event
    {
        std::string what;
        CXmlNode* node;
        bool operator==(const Event& other) const { return what == other.what && node == other.node; }
    };
    std::vector<Event> events;
};

class XmlChangeObserverTest : public ::testing::Test
{
protected:
    void SetUp() override { CXmlChangeObserver::Install(&recorder); }
    void TearDown() override { CXmlChangeObserver::Uninstall(&recorder); }

    Recorder recorder;
};
}

TEST_F(XmlChangeObserverTest, OnlyWatchedNodesAreToldAbout)
{
    CXmlDocument doc;
    CXmlNode* root = doc.GetRoot("Root");
    CXmlNode* watched = root->GetChild("Watched");
    CXmlNode* quiet = root->GetChild("Quiet");
    watched->SetWatched(true);

    watched->SetDouble(2.0);
    quiet->SetDouble(3.0);
    watched->SetString("x");
    EXPECT_EQ(recorder.events, (std::vector<Recorder::Event> { { "changed", watched }, { "changed", watched } }));

    recorder.events.clear();
    root->RemoveChild("Quiet");
    root->RemoveChild("Watched");
    EXPECT_EQ(recorder.events, (std::vector<Recorder::Event> { { "released", watched } }));
}

TEST_F(XmlChangeObserverTest, WithNoObserverChangesGoUntold)
{
    CXmlChangeObserver::Uninstall(&recorder);
    {
        CXmlDocument doc;
        CXmlNode* node = doc.GetRoot("Root")->GetChild("Watched");
        node->SetWatched(true);
        node->SetInt(4);
        EXPECT_EQ(node->GetInt(0), 4);
    }
    EXPECT_TRUE(recorder.events.empty());

    // Uninstalling an observer that is not the installed one leaves the installed one.
    CXmlChangeObserver::Install(&recorder);
    Recorder other;
    CXmlChangeObserver::Uninstall(&other);
    EXPECT_EQ(CXmlChangeObserver::Get(), &recorder);
}
