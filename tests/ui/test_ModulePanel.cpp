#include "ui/PanelFixture.h"

#include "xml/XmlTags.h"

namespace
{
const std::string kToggle = "Toggle Module Switch";

int SwitchValue(CXmlNode* product, const std::string& which)
{
    return product->GetChild(which)->GetChild(Tag::Value)->GetInt(-1);
}

std::string SwitchName(CXmlNode* product)
{
    return product->GetChild(Tag::Switch2Name)->GetChild(Tag::Value)->GetString("");
}
} // namespace

class ModulePanel : public PanelFixture
{
protected:
    // Flybar, two subwoofers, three full-range modules, one empty position.
    void SetUp() override
    {
        PanelFixture::SetUp();
        CCommandManager::GetInstance()->DoGeneral(Tag::Model_DRXR1, "", 3);
        CCommandManager::GetInstance()->DoGeneral(Tag::Model_DRXS1, "", 2);
    }
};

TEST_F(ModulePanel, CaptionsAndLayoutFollowTheArray)
{
    struct Row { std::string title; std::string model; int kind; int y; int height; };
    const Row rows[] = {
        { "Flybar ", "HB1", 2, 0, 18 },
        { "Module 2", "DRX-S1", 3, 18, 104 },
        { "Module 3", "DRX-S1", 3, 122, 104 },
        { "Module 4", "DRX-R1", 4, 226, 104 },
        { "Module 5", "DRX-R1", 4, 330, 104 },
        { "Module 6", "DRX-R1", 4, 434, 104 },
        { "Module 7", "None", 1, 538, 104 },
    };
    for (int i = 0; i < 7; ++i)
    {
        const Row& row = rows[i];
        CKWEMJuceModule& panel = Module(i);
        SCOPED_TRACE(row.title);
        EXPECT_EQ(panel.TitleLabel().getText().toStdString(), row.title);
        EXPECT_EQ(panel.ModelLabel().getText().toStdString(), row.model);
        EXPECT_EQ(panel.GetKind(), row.kind);
        EXPECT_EQ(panel.GetPositionNumber(), i + 1);
        EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(0, row.y, 140, row.height));
        const bool fullRange = row.kind == 4;
        EXPECT_EQ(panel.DistanceLabel().isVisible(), fullRange);
        EXPECT_EQ(panel.SwitchNameLabel().isVisible(), fullRange);
        for (juce::Button* toggle : { (juce::Button*) &panel.BiAmp(), (juce::Button*) &panel.SingleAmp(),
                                      (juce::Button*) &panel.Multi(), (juce::Button*) &panel.Single(),
                                      (juce::Button*) &panel.Long() })
            EXPECT_EQ(toggle->isVisible(), fullRange) << toggle->getButtonText();
        // Every loudspeaker carries its processing; the flybar and an empty position do not.
        const bool radiating = row.kind == 3 || row.kind == 4;
        EXPECT_EQ(panel.Delay().isVisible(), radiating);
        EXPECT_EQ(panel.Invert().isVisible(), radiating);
        EXPECT_EQ(panel.Gain().isVisible(), radiating);
        EXPECT_TRUE(panel.TitleLabel().isVisible());
        EXPECT_TRUE(panel.ModelLabel().isVisible());
        // The whole model name, clear of the column's 7-pixel scroll bar.
        juce::Label& model = panel.ModelLabel();
        EXPECT_LE(model.getRight(), 140 - 7);
        EXPECT_LE(model.getFont().getStringWidthFloat(model.getText()),
                  model.getBorderSize().subtractedFrom(model.getLocalBounds()).getWidth());
    }
    EXPECT_EQ(moduleColumn.getHeight(), 18 + 6 * 104);
    EXPECT_EQ(moduleColumn.getWidth(), 140);
}

TEST_F(ModulePanel, AFullRangePanelShowsItsDistanceAndSwitchesFromTheDocument)
{
    CKWEMJuceModule& panel = Module(3);
    const double inches = Product(4)->GetChild(Tag::AimDist)->GetChild(Tag::Value)->GetDouble(0.0);
    ASSERT_GT(inches, 0.0) << "the module's aim lines hit the venue";
    EXPECT_EQ(panel.DistanceLabel().getText().toStdString(),
              DoubleToString(CJuceManager::GetInstance()->ToDisplayLength("", inches), 1));
    EXPECT_EQ(panel.DistanceLabel().findColour(juce::Label::textColourId).getARGB(), 0xff008000u);
    EXPECT_EQ(panel.SwitchNameLabel().getText().toStdString(), SwitchName(Product(4)));

    // The toggles follow the document, one of each group on.
    Product(4)->GetChild(Tag::Switch2)->GetChild(Tag::Value)->SetInt(3);
    EXPECT_TRUE(panel.Long().getToggleState());
    EXPECT_FALSE(panel.Multi().getToggleState());
    EXPECT_FALSE(panel.Single().getToggleState());
    Product(4)->GetChild(Tag::Switch1)->GetChild(Tag::Value)->SetInt(1);
    EXPECT_TRUE(panel.BiAmp().getToggleState());
    EXPECT_FALSE(panel.SingleAmp().getToggleState());
}

TEST_F(ModulePanel, EachToggleSendsItsSwitchCommand)
{
    CKWEMJuceModule& panel = Module(4);
    struct Case { juce::ToggleButton* toggle; std::string which; int value; std::string name; };
    const Case cases[] = {
        { &panel.Long(), Tag::Switch2, 3, "" },
        { &panel.Single(), Tag::Switch2, 2, "" },
        { &panel.Multi(), Tag::Switch2, 1, "" },
        { &panel.BiAmp(), Tag::Switch1, 1, "HF via DSP" },
        { &panel.SingleAmp(), Tag::Switch1, 2, "HF via Toggle" },
        // A toggle that is already on sends its command again.
        { &panel.SingleAmp(), Tag::Switch1, 2, "HF via Toggle" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.toggle->getButtonText().toStdString());
        const int before = Commands(kToggle);
        Click(*c.toggle);
        EXPECT_EQ(Commands(kToggle), before + 1) << "one command, none for the partner switched off";
        EXPECT_TRUE(c.toggle->getToggleState());
        if (c.which == Tag::Switch2)
        {
            EXPECT_EQ(SwitchValue(Product(5), Tag::Switch2), c.value);
        }
        else
        {
            // The amplifier mode is the whole array's: every panel shows it.
            for (int position = 2; position <= 6; ++position)
            {
                EXPECT_EQ(SwitchValue(Product(position), Tag::Switch1), c.value) << position;
                EXPECT_EQ(SwitchName(Product(position)), c.name) << position;
            }
            EXPECT_EQ(Module(3).BiAmp().getToggleState(), c.value == 1);
            EXPECT_EQ(Module(5).SingleAmp().getToggleState(), c.value == 2);
            EXPECT_EQ(panel.SwitchNameLabel().getText().toStdString(), c.name);
        }
    }
}

TEST_F(ModulePanel, ARefreshIsNeverSentBackAsAnEdit)
{
    // Module 4 has another amplifier mode in its document than the rest (a loaded file may):
    // showing it must not rewrite the others.
    for (int position = 2; position <= 6; ++position)
        Product(position)->GetChild(Tag::Switch1)->GetChild(Tag::Value)->SetInt(2);
    Product(5)->GetChild(Tag::Switch1)->GetChild(Tag::Value)->SetInt(1);
    Product(5)->GetChild(Tag::Switch2)->GetChild(Tag::Value)->SetInt(3);
    const int before = Commands(kToggle);
    CJuceManager::GetInstance()->LayoutModulePanels(nullptr);
    CListenerManager::GetInstance()->RefreshAll();

    EXPECT_TRUE(Module(4).BiAmp().getToggleState());
    EXPECT_TRUE(Module(4).Long().getToggleState());
    EXPECT_EQ(Commands(kToggle), before);
    EXPECT_EQ(SwitchValue(Product(4), Tag::Switch1), 2);
    EXPECT_EQ(SwitchValue(Product(6), Tag::Switch1), 2);

    // A refresh that changed nothing leaves the next click the user's.
    Click(Module(3).Single());
    EXPECT_EQ(Commands(kToggle), before + 1);
    EXPECT_EQ(SwitchValue(Product(4), Tag::Switch2), 2);
}

TEST_F(ModulePanel, ASwitchWithoutAValueShowsTheModeItWorksIn)
{
    // The SPL computation takes a switch without a value as S-Amp and Multi; the panel shows
    // what it computes with. -1 removes the value.
    struct Case { int amp; int shading; bool biAmp; bool singleAmp; bool multi; bool single; bool longMode; };
    const Case cases[] = {
        { -1, -1, false, true, true, false, false },
        { 1, -1, true, false, true, false, false },
        { -1, 3, false, true, false, false, true },
        { 2, 2, false, true, false, true, false },
        { 1, 1, true, false, true, false, false },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.amp) + " " + std::to_string(c.shading));
        for (const auto& [which, value] : { std::pair { Tag::Switch1, c.amp }, std::pair { Tag::Switch2, c.shading } })
        {
            CXmlNode* switchNode = Product(4)->GetChild(which);
            switchNode->RemoveChild(Tag::Value);
            if (value >= 0)
                switchNode->GetChild(Tag::Value)->SetInt(value);
        }
        const int before = Commands(kToggle);
        CJuceManager::GetInstance()->LayoutModulePanels(nullptr);
        CListenerManager::GetInstance()->RefreshAll();

        CKWEMJuceModule& panel = Module(3);
        EXPECT_EQ(panel.BiAmp().getToggleState(), c.biAmp);
        EXPECT_EQ(panel.SingleAmp().getToggleState(), c.singleAmp);
        EXPECT_EQ(panel.Multi().getToggleState(), c.multi);
        EXPECT_EQ(panel.Single().getToggleState(), c.single);
        EXPECT_EQ(panel.Long().getToggleState(), c.longMode);
        EXPECT_EQ(Commands(kToggle), before) << "showing a mode is no edit";
    }
}

TEST_F(ModulePanel, ProcessingControlsSendTheirCommandsAndShowTheDesign)
{
    // Position 2 is the first subwoofer, position 4 a full-range module.
    CKWEMJuceModule& sub = Module(1);
    CKWEMJuceModule& module = Module(3);
    EXPECT_EQ(sub.Delay().getValue(), 0.0);
    EXPECT_FALSE(sub.Invert().getToggleState());

    UserSets(sub.Delay(), 3.75);
    Click(sub.Invert());
    UserSets(module.Gain(), -4.5);
    EXPECT_EQ(Commands("Change Delay"), 1);
    EXPECT_EQ(Commands("Change Polarity"), 1);
    EXPECT_EQ(Commands("Change Gain"), 1);
    CXmlNode* processing = Product(2)->FindChild(Tag::Processing);
    EXPECT_EQ(processing->FindChild(Tag::Delay)->GetDouble(0.0), 3.75);
    EXPECT_EQ(processing->FindChild(Tag::Polarity)->GetInt(0), 1);
    EXPECT_EQ(Product(4)->FindChild(Tag::Processing)->FindChild(Tag::Gain)->GetDouble(0.0), -4.5);

    // Typed text the command would refuse is reported and leaves the value as it was.
    EXPECT_EQ(module.Gain().getValueFromText("12 dB"), -4.5);
    EXPECT_EQ(module.Gain().getValueFromText("-6 dB"), -6.0);

    // Undo puts the design and the panel back.
    CCommandManager::GetInstance()->DoGeneral("Undo", "", 0.0);
    CCommandManager::GetInstance()->DoGeneral("Undo", "", 0.0);
    EXPECT_FALSE(Module(1).Invert().getToggleState());
    EXPECT_EQ(Module(1).Delay().getValue(), 3.75);
    EXPECT_EQ(Module(3).Gain().getValue(), 0.0);
}
