#include "ui/PanelFixture.h"

#include "base/CLine.h"
#include "xml/XmlTags.h"

namespace
{
const std::string kAreaChange = "Area Change";

CLine LineOf(CXmlNode* area)
{
    return *area->GetChild(Tag::Line)->GetLine();
}

double Inches(const std::string& key, double shown)
{
    return CJuceManager::GetInstance()->FromDisplayLength(key, shown);
}
// What the user types into a box, as its Return key sends it.
void Type(juce::Slider& slider, const juce::String& text)
{
    for (juce::Component* child : slider.getChildren())
        if (auto* box = dynamic_cast<juce::Label*>(child))
            box->setText(text, juce::sendNotificationSync);
}

void Press(juce::Slider& slider, const juce::String& which)
{
    for (juce::Component* child : slider.getChildren())
        if (auto* button = dynamic_cast<juce::Button*>(child); button != nullptr && button->getButtonText() == which)
            button->onClick();
}
} // namespace

class AreaPanel : public PanelFixture {};

TEST_F(AreaPanel, FivePanelsSideBySideShowTheirAreas)
{
    struct Row { int x; int width; bool end; bool endZ; bool angleAndLength; };
    const Row rows[] = {
        { 0, 90, false, false, false },
        { 90, 90, true, false, false },
        { 180, 135, true, true, true },
        { 315, 135, true, true, true },
        { 450, 135, true, true, true },
    };
    for (int n = 1; n <= 5; ++n)
    {
        const Row& row = rows[n - 1];
        CKWEMJuceFloor& panel = Area(n);
        SCOPED_TRACE(n);
        EXPECT_EQ(panel.getBounds(), juce::Rectangle<int>(row.x, 0, row.width, 120));
        EXPECT_EQ(panel.GetAreaNumber(), n);
        EXPECT_EQ(panel.NameEditor().getText().toStdString(), AreaNode(n)->GetChild(Tag::Name)->GetString(""));
        EXPECT_TRUE(panel.FrontX().isVisible());
        EXPECT_TRUE(panel.FrontZ().isVisible());
        EXPECT_EQ(panel.EndX().isVisible(), row.end);
        EXPECT_EQ(panel.EndZ().isVisible(), row.endZ);
        EXPECT_EQ(panel.AngleSlider().isVisible(), row.angleAndLength);
        EXPECT_EQ(panel.LengthSlider().isVisible(), row.angleAndLength);

        const CLine line = LineOf(AreaNode(n));
        EXPECT_NEAR(panel.FrontX().getValue(), CJuceManager::GetInstance()->ToDisplayLength("sX", line.x1), 0.5);
        EXPECT_NEAR(panel.EndZ().getValue(), CJuceManager::GetInstance()->ToDisplayLength("eY", line.y2), 0.5);
        EXPECT_NEAR(panel.AngleSlider().getValue(), line.angle, 0.05);
    }
    EXPECT_EQ(areaColumn.getBounds().getWidth(), 585);
    EXPECT_EQ(areaColumn.getBounds().getHeight(), 120);
}

TEST_F(AreaPanel, AUserChangeIsSentWithTwoDecimals)
{
    CKWEMJuceFloor& floor = Area(3);
    // A continuous slider shows what the text does to the value: 3.14159 arrives as 3.14.
    floor.AngleSlider().setRange(-90.0, 90.0, 0.0);
    UserSets(floor.AngleSlider(), 3.14159);
    EXPECT_DOUBLE_EQ(LineOf(AreaNode(3)).angle, 3.14);
    EXPECT_EQ(Commands(kAreaChange), 1);

    Advance(201);
    UserSets(floor.EndX(), 40.5);
    EXPECT_DOUBLE_EQ(LineOf(AreaNode(3)).x2, Inches("eX", 40.5));
    EXPECT_EQ(Commands(kAreaChange), 2);
}

TEST_F(AreaPanel, ATypedLengthIsStoredAsTypedInEitherUnitAndTheButtonsStepByHalves)
{
    struct Case { bool meters; const char* typed; double stored; double afterPlus; double afterMinus; };
    const Case cases[] = {
        { false, "23.3", 23.3, 23.5, 23.0 },
        { false, "7.35", 7.4, 7.5, 7.0 },
        { true, "7.3", 7.3, 7.5, 7.0 },
        { true, "30.7", 30.7, 31.0, 30.5 },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.typed);
        if ((CJuceManager::GetInstance()->GetDisplayLengthUnit() == Tag::Meters) != c.meters)
            CCommandManager::GetInstance()->DoGeneral(Tag::Meters, "", 0);
        CKWEMJuceFloor& floor = Area(3);
        Advance(201);
        Type(floor.FrontZ(), c.typed);
        EXPECT_NEAR(CJuceManager::GetInstance()->ToDisplayLength("sY", LineOf(AreaNode(3)).y1), c.stored, 1e-9);
        EXPECT_EQ(floor.FrontZ().getTextFromValue(floor.FrontZ().getValue()), juce::String(c.stored, 1));
        Advance(201);
        Press(floor.FrontZ(), "+");
        EXPECT_NEAR(floor.FrontZ().getValue(), c.afterPlus, 1e-9);
        Advance(201);
        Type(floor.FrontZ(), c.typed);
        Advance(201);
        Press(floor.FrontZ(), "-");
        EXPECT_NEAR(floor.FrontZ().getValue(), c.afterMinus, 1e-9);
    }
}

TEST_F(AreaPanel, TheThrottleHoldsBackChangesAndSendsTheLastOne)
{
    CKWEMJuceFloor& floor = Area(4);
    CKWEMJuceFloor& balcony = Area(5);
    const double start = floor.FrontZ().getValue();

    UserSets(floor.FrontZ(), start + 0.5);
    EXPECT_EQ(Commands(kAreaChange), 1);
    const double sentFirst = LineOf(AreaNode(4)).y1;
    EXPECT_DOUBLE_EQ(sentFirst, Inches("sY", start + 0.5));

    // Held: within 200 ms of the last command, from this panel or another one.
    Advance(50);
    UserSets(floor.FrontZ(), start + 1.0);
    Advance(50);
    UserSets(floor.FrontZ(), start + 1.5);
    UserSets(balcony.FrontZ(), balcony.FrontZ().getValue() + 0.5);
    EXPECT_EQ(Commands(kAreaChange), 1);
    EXPECT_DOUBLE_EQ(LineOf(AreaNode(4)).y1, sentFirst);
    EXPECT_TRUE(floor.HasHeldChange());
    EXPECT_TRUE(balcony.HasHeldChange());

    // Exactly 200 ms is still too soon.
    Advance(100);
    EXPECT_FALSE(floor.SendHeldChange());
    EXPECT_EQ(Commands(kAreaChange), 1);

    // Then the slider's latest value goes, and the other panel's after another window.
    Advance(1);
    EXPECT_TRUE(floor.SendHeldChange());
    EXPECT_EQ(Commands(kAreaChange), 2);
    EXPECT_DOUBLE_EQ(LineOf(AreaNode(4)).y1, Inches("sY", start + 1.5));
    EXPECT_FALSE(floor.HasHeldChange());
    EXPECT_FALSE(floor.SendHeldChange());
    EXPECT_FALSE(balcony.SendHeldChange());
    Advance(201);
    EXPECT_TRUE(balcony.SendHeldChange());
    EXPECT_EQ(Commands(kAreaChange), 3);
    EXPECT_DOUBLE_EQ(LineOf(AreaNode(5)).y1, Inches("sY", balcony.FrontZ().getValue()));
}

TEST_F(AreaPanel, ARefreshIsNeverSentBackAsAnEdit)
{
    CKWEMJuceFloor& floor = Area(3);
    const CLine before = LineOf(AreaNode(3));

    // Moving the front point moves the whole line: the end point's slider is rewritten
    // by its binding, and only the user's change is sent.
    UserSets(floor.FrontX(), floor.FrontX().getValue() + 2.0);
    EXPECT_EQ(Commands(kAreaChange), 1);
    EXPECT_FALSE(floor.HasHeldChange()) << "nothing waits to be sent";
    const CLine moved = LineOf(AreaNode(3));
    EXPECT_NEAR(moved.x2 - moved.x1, before.x2 - before.x1, 1e-9) << "the end kept its exact place on the line";
    EXPECT_NEAR(floor.EndX().getValue(), CJuceManager::GetInstance()->ToDisplayLength("eX", moved.x2), 0.5);

    // A document change shown by every binding sends nothing, even after the throttle's window.
    Advance(1000);
    // Written through the line, as the engine writes lines (the line's own numbers go to the
    // text whenever the document is printed).
    CXmlNode* floorLine = AreaNode(3)->GetChild(Tag::Line);
    floorLine->GetLine()->y2 = moved.y2 + 60.0;
    floorLine->StoreValue();
    CListenerManager::GetInstance()->RefreshAll();
    CCommandManager::GetInstance()->DoVenueArea(2, Tag::eX, "-2.00");
    EXPECT_EQ(Commands(kAreaChange), 2) << "only the stage edit made here";
    for (int n = 1; n <= 5; ++n)
        EXPECT_FALSE(Area(n).HasHeldChange()) << n;
    EXPECT_NEAR(floor.EndZ().getValue(), CJuceManager::GetInstance()->ToDisplayLength("eY", moved.y2 + 60.0), 0.5);

    // A refresh that changed nothing leaves the next change the user's.
    Advance(1000);
    UserSets(floor.AngleSlider(), floor.AngleSlider().getValue() + 1.0);
    EXPECT_EQ(Commands(kAreaChange), 3);
}

TEST_F(AreaPanel, AHiddenAreaLeavesAGap)
{
    AreaNode(4)->GetChild(Tag::Visible)->SetInt(0);
    CJuceManager::GetInstance()->LayoutAreaPanels(nullptr);
    EXPECT_FALSE(Area(4).isVisible());
    for (int n : { 1, 2, 3, 5 })
        EXPECT_TRUE(Area(n).isVisible()) << n;
    EXPECT_EQ(Area(4).getX(), 315);
    EXPECT_EQ(Area(5).getX(), 450);

    AreaNode(4)->GetChild(Tag::Visible)->SetInt(1);
    CJuceManager::GetInstance()->LayoutAreaPanels(nullptr);
    EXPECT_TRUE(Area(4).isVisible());
}
