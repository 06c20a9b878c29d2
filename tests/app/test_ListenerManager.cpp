#include "TestSupport.h"

#include "app/CJuceManager.h"
#include "app/CListenerManager.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>
#include <string>

namespace
{
// A data element "Data" with one value child "Item" in a small document; feet display
// with the start-up offsets.
class ListenerFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        data = document.GetRoot("Root")->GetChild("Data");
        item = data->GetChild("Item");
        CJuceManager::GetInstance()->SetUnitSystem(Tag::Feet, Tag::Pounds);
        CJuceManager::GetInstance()->SetOffsets(-240.0, 0.0);
    }

    void TearDown() override
    {
        CListenerManager::DestroyInstance();
        CJuceManager::DestroyInstance();
    }

    static CListenerManager* Listeners() { return CListenerManager::GetInstance(); }

    ScopedTempDirectory temp;
    CXmlDocument document;
    CXmlNode* data = nullptr;
    CXmlNode* item = nullptr;
};

juce::String LabelText(juce::Component& c) { return static_cast<juce::Label&>(c).getText(); }
juce::String EditorText(juce::Component& c) { return static_cast<juce::TextEditor&>(c).getText(); }
juce::Slider& AsSlider(juce::Component& c) { return static_cast<juce::Slider&>(c); }
}

//==============================================================================
TEST_F(ListenerFixture, EveryKindWritesItsValueIntoItsControl)
{
    struct Kind
    {
        const char* kind;
        const char* key;
        std::function<juce::Component*()> make;
        std::function<void(CXmlNode*)> fill;    // the item's values before the binding
        std::function<void(juce::Component&, CXmlNode*)> check;
    };
    auto slider = [] { return new juce::Slider(); };
    auto label = [] { return new juce::Label(); };
    auto editor = [] { return new juce::TextEditor(); };
    auto value = [](double v) { return [v](CXmlNode* i) { i->GetChild(Tag::Value)->SetDouble(v); }; };

    const Kind kinds[] = {
        { "VSlide", "", slider, [](CXmlNode*) {},
          [](juce::Component& c, CXmlNode* i) {
              EXPECT_EQ(AsSlider(c).getMinimum(), 1.0);
              EXPECT_EQ(AsSlider(c).getMaximum(), 10.0);
              EXPECT_EQ(AsSlider(c).getInterval(), 1.0);
              EXPECT_EQ(AsSlider(c).getValue(), 1.0);
              EXPECT_EQ(i->FindChild(Tag::Value)->GetDouble(0.0), 1.0) << "the default is stored";
          } },
        { "VSlide", "",  slider,
          [](CXmlNode* i) {
              i->GetChild(Tag::Min)->SetDouble(0.0);
              i->GetChild(Tag::Max)->SetDouble(20.0);
              i->GetChild(Tag::Delta)->SetDouble(2.0);
              i->GetChild(Tag::Value)->SetDouble(6.0);
          },
          [](juce::Component& c, CXmlNode*) {
              EXPECT_EQ(AsSlider(c).getMaximum(), 20.0);
              EXPECT_EQ(AsSlider(c).getInterval(), 2.0);
              EXPECT_EQ(AsSlider(c).getValue(), 6.0);
          } },
        { "VSlideInt", "", slider,
          [](CXmlNode* i) {
              i->GetChild(Tag::Min)->SetInt(2);
              i->GetChild(Tag::Max)->SetInt(8);
              i->GetChild(Tag::Value)->SetInt(5);
          },
          [](juce::Component& c, CXmlNode*) {
              EXPECT_EQ(AsSlider(c).getMinimum(), 2.0);
              EXPECT_EQ(AsSlider(c).getMaximum(), 8.0);
              EXPECT_EQ(AsSlider(c).getInterval(), 1.0);
              EXPECT_EQ(AsSlider(c).getValue(), 5.0);
          } },
        { "VEditDouble", "", editor, [](CXmlNode* i) { i->SetDouble(2.46); },
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(EditorText(c), "2.5"); } },
        { "VEditDouble12", "sX", editor, [](CXmlNode* i) { i->SetDouble(480.0); },
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(EditorText(c), "20.0"); } },
        { "VEditText", "", editor, [](CXmlNode* i) { i->SetString("Rake"); },
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(EditorText(c), "Rake"); } },
        { "VEditText", "", editor, [](CXmlNode*) {},
          [](juce::Component& c, CXmlNode* i) {
              EXPECT_EQ(EditorText(c), "NoName");
              EXPECT_EQ(i->GetString(""), "NoName");
          } },
        { "VEditGroupText", "", [] { return new juce::GroupComponent(); }, [](CXmlNode* i) { i->SetString("Array"); },
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(static_cast<juce::GroupComponent&>(c).getText(), "Array"); } },
        { "VSlideEditDouble", "", slider, [](CXmlNode* i) { i->SetDouble(2.46); },
          [](juce::Component& c, CXmlNode*) {
              EXPECT_DOUBLE_EQ(AsSlider(c).getValue(), 2.5);
              EXPECT_EQ(AsSlider(c).getMinimum(), -10000.0);
              EXPECT_EQ(AsSlider(c).getMaximum(), 10000.0);
              EXPECT_DOUBLE_EQ(AsSlider(c).getInterval(), 0.1);
          } },
        { "VSlideEditDouble12", "sX", slider, [](CXmlNode* i) { i->SetDouble(480.0); },
          [](juce::Component& c, CXmlNode*) {
              EXPECT_DOUBLE_EQ(AsSlider(c).getValue(), 20.0);
              // A typed length is kept to the tenth shown.
              EXPECT_DOUBLE_EQ(AsSlider(c).getInterval(), 0.1);
          } },
        { "VLabelDouble", "", label, value(12.34),
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(LabelText(c), "12.3"); } },
        { "VLabelDouble12", "", label, value(120.0),
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(LabelText(c), "10.0"); } },
        { "VToggleButton", "2", [] { return new juce::ToggleButton(); }, [](CXmlNode* i) { i->GetChild(Tag::Value)->SetInt(2); },
          [](juce::Component& c, CXmlNode*) { EXPECT_TRUE(static_cast<juce::ToggleButton&>(c).getToggleState()); } },
        { "VToggleButton", "1", [] { return new juce::ToggleButton(); }, [](CXmlNode* i) { i->GetChild(Tag::Value)->SetInt(2); },
          [](juce::Component& c, CXmlNode*) { EXPECT_FALSE(static_cast<juce::ToggleButton&>(c).getToggleState()); } },
        // "!a|b": on for every value but those, the mode of a switch without its own value.
        { "VToggleButton", "!2|3", [] { return new juce::ToggleButton(); }, [](CXmlNode* i) { i->GetChild(Tag::Value)->SetInt(0); },
          [](juce::Component& c, CXmlNode*) { EXPECT_TRUE(static_cast<juce::ToggleButton&>(c).getToggleState()); } },
        { "VToggleButton", "!2|3", [] { return new juce::ToggleButton(); }, [](CXmlNode* i) { i->GetChild(Tag::Value)->SetInt(3); },
          [](juce::Component& c, CXmlNode*) { EXPECT_FALSE(static_cast<juce::ToggleButton&>(c).getToggleState()); } },
        { "VToggleButton", "!1", [] { return new juce::ToggleButton(); }, [](CXmlNode* i) { i->GetChild(Tag::Value)->SetInt(12); },
          [](juce::Component& c, CXmlNode*) { EXPECT_TRUE(static_cast<juce::ToggleButton&>(c).getToggleState()); } },
        { "VLabelText", "", label, [](CXmlNode* i) { i->GetChild(Tag::Value)->SetString("HF via DSP"); },
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(LabelText(c), "HF via DSP"); } },
        { "VLabelText", "", label, [](CXmlNode*) {},
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(LabelText(c), "default"); } },
        { "VButtonText", "", [] { return new juce::TextButton("old"); }, [](CXmlNode* i) { i->GetChild(Tag::Value)->SetString("Go"); },
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(static_cast<juce::TextButton&>(c).getButtonText(), "Go"); } },
        { "VEdit", "", editor, [](CXmlNode* i) { i->SetDouble(3.0); },
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(EditorText(c), "untouched"); } },
        { "VSomethingElse", "", label, value(3.0),
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(LabelText(c), "untouched"); } },
        // A control of another class than its kind expects is left alone.
        { "VLabelDouble", "", editor, value(3.0),
          [](juce::Component& c, CXmlNode*) { EXPECT_EQ(EditorText(c), "untouched"); } },
    };

    for (const Kind& k : kinds)
    {
        SCOPED_TRACE(std::string(k.kind) + " key '" + k.key + "'");
        data->RemoveChild("Item");
        CXmlNode* fresh = data->GetChild("Item");
        k.fill(fresh);
        std::unique_ptr<juce::Component> control(k.make());
        if (auto* l = dynamic_cast<juce::Label*>(control.get()))
            l->setText("untouched", juce::dontSendNotification);
        if (auto* e = dynamic_cast<juce::TextEditor*>(control.get()))
            e->setText("untouched", false);

        Listeners()->Register(control.get(), data, "Item", k.kind, k.key);
        k.check(*control, fresh);
        EXPECT_FALSE(fresh->FindChild(Tag::Value)->IsNull()) << "every binding gives its item a Value";
        EXPECT_EQ((int) control->getProperties()[juce::Identifier(Tag::DoCommand)], 0);
        Listeners()->Unregister(control.get());
    }
}

TEST_F(ListenerFixture, ControlsFollowTheirElementUntilUnregistered)
{
    juce::Label distance;
    juce::ToggleButton off, on;
    item->GetChild(Tag::Value)->SetInt(1);
    Listeners()->Register(&distance, data, "Item", "VLabelDouble", "");
    Listeners()->Register(&off, data, "Item", "VToggleButton", "0");
    Listeners()->Register(&on, data, "Item", "VToggleButton", "1");
    EXPECT_EQ(distance.getText(), "1.0");
    EXPECT_FALSE(off.getToggleState());
    EXPECT_TRUE(on.getToggleState());

    item->GetChild(Tag::Value)->SetInt(0);
    EXPECT_TRUE(off.getToggleState());
    EXPECT_FALSE(on.getToggleState());
    EXPECT_EQ(distance.getText(), "0.0");

    Listeners()->Unregister(&distance);
    item->GetChild(Tag::Value)->SetDouble(42.0);
    EXPECT_EQ(distance.getText(), "0.0");
    Listeners()->RefreshAll();
    EXPECT_EQ(distance.getText(), "0.0");
}

TEST_F(ListenerFixture, SliderHandlerRunsInsideTheRefresh)
{
    struct Recorder : juce::Slider::Listener
    {
        void sliderValueChanged(juce::Slider* s) override
        {
            values.push_back(s->getValue());
            doCommand.push_back((int) s->getProperties()[juce::Identifier(Tag::DoCommand)]);
        }
        std::vector<double> values;
        std::vector<int> doCommand;
    } recorder;

    juce::Slider slider;
    slider.addListener(&recorder);
    slider.getProperties().set(juce::Identifier(Tag::DoCommand), 1);
    item->SetDouble(7.26);
    Listeners()->Register(&slider, data, "Item", "VSlideEditDouble", "LAngle");
    ASSERT_EQ(recorder.values.size(), 1u);
    EXPECT_NEAR(recorder.values[0], 7.3, 1e-9);
    EXPECT_EQ(recorder.doCommand[0], 0);

    // The same value again sends nothing; a new one is sent before SetDouble returns.
    item->SetDouble(7.3);
    EXPECT_EQ(recorder.values.size(), 1u);
    item->SetDouble(-1.0);
    ASSERT_EQ(recorder.values.size(), 2u);
    EXPECT_NEAR(recorder.values[1], -1.0, 1e-9);
    slider.removeListener(&recorder);
    Listeners()->Unregister(&slider);
}

TEST_F(ListenerFixture, BindingEndsWithItsControlOrItsElement)
{
    item->GetChild(Tag::Value)->SetDouble(1.0);
    auto label = std::make_unique<juce::Label>();
    Listeners()->Register(label.get(), data, "Item", "VLabelDouble", "");
    label.reset();    // deleted without unregistering
    item->GetChild(Tag::Value)->SetDouble(2.0);
    Listeners()->RefreshAll();

    juce::Label kept;
    Listeners()->Register(&kept, data, "Item", "VLabelDouble", "");
    EXPECT_EQ(kept.getText(), "2.0");
    // The element goes: the binding keeps the control but no longer reads the element.
    Listeners()->NodeReleased(data);
    item->GetChild(Tag::Value)->SetDouble(3.0);
    Listeners()->RefreshAll();
    EXPECT_EQ(kept.getText(), "2.0");
    // Registering again binds anew.
    Listeners()->Register(&kept, data, "Item", "VLabelDouble", "");
    EXPECT_EQ(kept.getText(), "3.0");
    Listeners()->Unregister(&kept);
}

TEST_F(ListenerFixture, UnresolvedElementRefreshesNothing)
{
    juce::Label label;
    label.setText("before", juce::dontSendNotification);
    Listeners()->Register(&label, CXmlNode::GetNullNode(), "Item", "VLabelDouble", "");
    Listeners()->Register(&label, data, "NoSuchChild", "VLabelDouble", "");
    Listeners()->RefreshAll();
    EXPECT_EQ(label.getText(), "before");
    EXPECT_TRUE(data->FindChild("NoSuchChild")->IsNull());
    Listeners()->Unregister(&label);
}
