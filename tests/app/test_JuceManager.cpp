#include "TestSupport.h"

#include "app/CJuceManager.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
class JuceManagerFixture : public ::testing::Test
{
protected:
    void TearDown() override
    {
        CJuceManager::DestroyInstance();
        CArrayManager::DestroyInstance();
    }

    static CJuceManager* Ui() { return CJuceManager::GetInstance(); }

    ScopedTempDirectory temp;
};

// What the panel factory was asked to do, and panels of a fixed size.
struct PanelLog
{
    std::vector<std::string> modules;    // "slot index caption kind"
    std::vector<int> areas;
    int created = 0;
};

CJuceManager::PanelFactory FactoryFor(PanelLog& log)
{
    CJuceManager::PanelFactory factory;
    factory.createModulePanel = [&log] {
        ++log.created;
        auto* panel = new juce::Component();
        panel->setSize(140, 84);
        return panel;
    };
    factory.refreshModulePanel = [&log](juce::Component* panel, int slot, int index, const std::string& caption, int kind) {
        log.modules.push_back(std::to_string(slot) + " " + std::to_string(index) + " " + caption + " " + std::to_string(kind));
        if (kind == CJuceManager::kModuleFlybar)
            panel->setSize(140, 18);
    };
    factory.createAreaPanel = [&log](int area) {
        ++log.created;
        auto* panel = new juce::Component();
        panel->setSize(area <= 2 ? 90 : 135, 120);
        return panel;
    };
    factory.refreshAreaPanel = [&log](juce::Component*, int area) { log.areas.push_back(area); };
    return factory;
}
}

//==============================================================================
TEST_F(JuceManagerFixture, LengthsConvertWithTheOffsetOfTheirKey)
{
    struct Case
    {
        const char* length;
        const char* key;
        double inches;
        double shown;
    };
    const Case cases[] = {
        { "Feet", "sX", 480.0, 20.0 },
        { "Feet", "eX", 240.0, 0.0 },
        { "Feet", "Height", 120.0, 10.0 },
        { "Meters", "sY", 100.0, 2.54 },
        { "Meters", "sX", 240.0, 0.0 },
        { "Inches", "sX", 480.0, 240.0 },
        { "Furlongs", "sX", 480.0, 240.0 },    // unknown unit: unconverted
    };
    Ui()->SetOffsets(-240.0, 0.0);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.length) + " " + c.key);
        Ui()->SetUnitSystem(c.length, Tag::Pounds);
        EXPECT_NEAR(Ui()->ToDisplayLength(c.key, c.inches), c.shown, 1e-9);
        EXPECT_NEAR(Ui()->FromDisplayLength(c.key, c.shown), c.inches, 1e-9);
    }
    EXPECT_EQ(Ui()->GetOffset("LDist"), 0.0);
    Ui()->SetUnitSystem(Tag::Meters, Tag::Kilograms);
    EXPECT_NEAR(Ui()->ToDisplayWeight(100.0), 45.359237, 1e-9);
}

TEST_F(JuceManagerFixture, UnitSwitchWritesTheDisplayTextsOnly)
{
    temp.Write("Settings.xml", "<?xml version=\"1.0\" ?><Root><UnitType><Value>US</Value></UnitType></Root>");
    Ui()->SetUnitSystem(Tag::Meters, Tag::Kilograms);
    CXmlNode* root = Ui()->GetSettingsRoot();
    EXPECT_EQ(root->FindChild(Tag::UnitType)->FindChild(Tag::Value)->GetString(""), "US");
    CXmlNode* display = root->FindChild(Tag::Display);
    EXPECT_EQ(display->FindChild(Tag::UnitType)->FindChild(Tag::Value)->GetString(""), "meters");
    EXPECT_EQ(display->FindChild(Tag::UnitDescribe)->FindChild(Tag::Value)->GetString(""), "SI Units");

    Ui()->SetUnitSystem(Tag::Feet, Tag::Pounds);
    EXPECT_EQ(display->FindChild(Tag::UnitDescribe)->FindChild(Tag::Value)->GetString(""), "US Units");
    Ui()->SaveAndReleaseSettings();

    CXmlDocument saved;
    saved.Load("Settings.xml");
    EXPECT_EQ(saved.GetRoot("Root")->FindChild(Tag::Display)->FindChild(Tag::UnitType)->FindChild(Tag::Value)->GetString(""),
              "feet");
}

TEST_F(JuceManagerFixture, LookAndFeelsAreMadeOncePerKnownKind)
{
    EXPECT_EQ(Ui()->GetLookAndFeel(1), nullptr) << "nothing to make them with yet";
    int made = 0;
    Ui()->SetLookAndFeelCreator([&made](int) {
        ++made;
        return new juce::LookAndFeel_V2();
    });
    juce::LookAndFeel* one = Ui()->GetLookAndFeel(1);
    ASSERT_NE(one, nullptr);
    EXPECT_EQ(Ui()->GetLookAndFeel(1), one);
    EXPECT_NE(Ui()->GetLookAndFeel(2), one);
    EXPECT_EQ(Ui()->GetLookAndFeel(3), nullptr);
    EXPECT_EQ(Ui()->GetLookAndFeel(3), nullptr);
    EXPECT_EQ(made, 2);
    Ui()->ReleaseLookAndFeels();
}

TEST_F(JuceManagerFixture, RedrawClearsThePictureToDarkGrey)
{
    juce::Image image(juce::Image::RGB, 8, 6, true);
    image.clear(image.getBounds(), juce::Colours::red);
    Ui()->SetCanvasImage(&image);
    Ui()->Redraw();
    EXPECT_EQ(image.getPixelAt(0, 0).getARGB(), 0xff3c3c3cu);
    EXPECT_EQ(image.getPixelAt(7, 5).getARGB(), 0xff3c3c3cu);
    Ui()->SetCanvasImage(nullptr);
}

//==============================================================================
TEST_F(JuceManagerFixture, ModuleColumnFollowsTheArray)
{
    // Flybar, subwoofer, full-range module.
    CArrayManager* arrays = CArrayManager::GetInstance();
    CArrayLineWrap line(arrays->GetArray(1, CArrayManager::kCreate));
    const std::string models[] = { Tag::Model_HB1, Tag::Model_DRXS1, Tag::Model_DRXR1 };
    for (int i = 0; i < 3; ++i)
    {
        CArrayProdWrap product = arrays->NewProduct("");
        product.SetModel(models[i]);
        line.GetCab(i + 1).Attach(product);
    }
    line.SetTotal(3);

    PanelLog log;
    Ui()->SetPanelFactory(FactoryFor(log));
    juce::Component column;
    Ui()->LayoutModulePanels(&column);

    const std::vector<std::string> expected = { "1 0 HB1 2",    "2 1 DRX-S1 3", "3 2 DRX-R1 4", "4 3 None 1",
                                                "5 4 None 1",   "6 5 None 1",   "7 6 None 1" };
    EXPECT_EQ(log.modules, expected);
    ASSERT_EQ(column.getNumChildComponents(), 7);
    EXPECT_EQ(column.getChildComponent(1)->getY(), 18);
    EXPECT_EQ(column.getChildComponent(6)->getY(), 18 + 5 * 84);
    EXPECT_EQ(column.getHeight(), 18 + 6 * 84);
    EXPECT_EQ(column.getWidth(), 140);

    // A later layout reuses the panels of the remembered column.
    line.SetTotal(1);
    log.modules.clear();
    Ui()->LayoutModulePanels(nullptr);
    EXPECT_EQ(log.created, 7);
    EXPECT_EQ(column.getNumChildComponents(), 7);
    ASSERT_EQ(log.modules.size(), 7u);
    EXPECT_EQ(log.modules[1], "2 1 None 1");
    Ui()->ReleasePanels();
    EXPECT_EQ(column.getNumChildComponents(), 0);
}

TEST_F(JuceManagerFixture, AreaPanelsStandSideBySide)
{
    PanelLog log;
    Ui()->SetPanelFactory(FactoryFor(log));
    juce::Component column;
    Ui()->LayoutAreaPanels(&column);
    EXPECT_EQ(log.areas, (std::vector<int> { 1, 2, 3, 4, 5 }));
    ASSERT_EQ(column.getNumChildComponents(), 5);
    EXPECT_EQ(column.getChildComponent(2)->getX(), 180);
    EXPECT_EQ(column.getWidth(), 90 + 90 + 3 * 135);
    EXPECT_EQ(column.getHeight(), 120);

    Ui()->LayoutAreaPanels(nullptr);
    EXPECT_EQ(log.created, 5);
    EXPECT_EQ(log.areas.size(), 10u);
    Ui()->ReleasePanels();
}

TEST_F(JuceManagerFixture, PanelsGoWithTheirColumn)
{
    PanelLog log;
    Ui()->SetPanelFactory(FactoryFor(log));
    auto column = std::make_unique<juce::Component>();
    Ui()->LayoutAreaPanels(column.get());
    juce::Component::SafePointer<juce::Component> first(Ui()->GetAreaPanel(0));
    ASSERT_NE(first.getComponent(), nullptr);

    column.reset();
    EXPECT_EQ(first.getComponent(), nullptr);
    EXPECT_EQ(Ui()->GetAreaColumn(), nullptr);
    EXPECT_EQ(Ui()->GetAreaPanel(0), nullptr);
    Ui()->LayoutAreaPanels(nullptr);    // no column any more: nothing happens
    EXPECT_EQ(log.created, 5);
}

TEST_F(JuceManagerFixture, LayoutWithoutColumnOrFactoryDoesNothing)
{
    Ui()->LayoutModulePanels(nullptr);
    Ui()->LayoutAreaPanels(nullptr);
    juce::Component column;
    Ui()->LayoutAreaPanels(&column);
    EXPECT_EQ(column.getNumChildComponents(), 0);
}
