#include "WindowFixture.h"

#include "ScopedPath.h"

#include "engine/CBandModel.h"
#include "engine/CSubAlignment.h"
#include "ui/CBandStrip.h"
#include "ui/CKWEMJuceModule.h"
#include "ui/CMicrophone.h"
#include "ui/CMicrophonePanel.h"
#include "ui/CPrintReport.h"

namespace
{
class MicrophoneAlignment : public WindowFixture
{
protected:
    CMicrophone& Microphone() { return window->GetBandStrip().GetMicrophone(); }
    CMicrophonePanel& Panel() { return window->GetMicrophonePanel(); }

    juce::Button& Button(const juce::String& name)
    {
        for (juce::Component* child : Panel().getChildren())
            if (child->getName() == name)
                return *dynamic_cast<juce::Button*>(child);
        ADD_FAILURE() << "no button " << name;
        throw std::runtime_error("no button");
    }

    // 20 m in front of the top loudspeaker, at ear height.
    void PlaceInFront()
    {
        const CBandModel::Source top = CBandModel::FromDesign().GetSources().front();
        Microphone().PlaceAt(top.x + 20.0 / CBandModel::kMetresPerInch, 48.0);
    }

    static std::string Texts()
    {
        return CArrayManager::GetInstance()->GetDocument()->ToText() + CVenueManager::GetInstance()->SaveState();
    }
};
}

TEST_F(MicrophoneAlignment, ShowsTheResultFirstAppliesItAsOneStepAndUndoTakesItBack)
{
    Command(Tag::Model_DRXS1, 1);
    Command(Tag::Model_DRXR1, 5);
    PlaceInFront();
    const std::string texts = Texts();
    EXPECT_TRUE(Button("MicrophoneAlign").isVisible());
    EXPECT_FALSE(Button("MicrophoneApplyAlignment").isVisible());

    Click(Button("MicrophoneAlign"));
    ASSERT_TRUE(Panel().IsShowingAlignment());
    const CSubAlignment shown = Panel().GetAlignment();
    const CSubAlignment expected = CSubAlignment::InDesign(Microphone().GetX(), Microphone().GetY());
    ASSERT_TRUE(shown.found);
    EXPECT_EQ(shown.step, expected.step);
    EXPECT_EQ(shown.inverted, expected.inverted);
    EXPECT_DOUBLE_EQ(shown.beforeDB, expected.beforeDB);
    EXPECT_EQ(Texts(), texts) << "showing it changes nothing";
    EXPECT_TRUE(Button("MicrophoneApplyAlignment").isVisible());
    EXPECT_FALSE(Button("MicrophoneAlign").isVisible());

    const juce::StringArray lines = Panel().GetAlignmentLines();
    ASSERT_EQ(lines.size(), 4);
    const double delta = shown.deltaMs;
    EXPECT_TRUE(lines[0].startsWith(delta < 0 ? "Delay modules 3, 4, 5, 6, 7 by " : "Delay subwoofers 2 by ")) << lines[0];
    EXPECT_TRUE(lines[0].endsWith(juce::String(std::abs(delta), 2) + " ms")) << lines[0];
    EXPECT_EQ(lines[1], juce::String("Subwoofer polarity ") + (shown.inverted ? "inverted" : "normal"));
    EXPECT_EQ(lines[2], "63-160 Hz: " + juce::String(shown.beforeDB, 1) + " dB now, " + juce::String(shown.afterDB, 1)
                            + " dB aligned");

    // Back leaves everything as it was.
    Click(Button("MicrophoneAlignmentBack"));
    EXPECT_FALSE(Panel().IsShowingAlignment());
    EXPECT_EQ(Texts(), texts);

    Click(Button("MicrophoneAlign"));
    const int performed = AllCommands();
    Click(Button("MicrophoneApplyAlignment"));
    EXPECT_EQ(AllCommands(), performed + 1);
    EXPECT_FALSE(Panel().IsShowingAlignment());
    ASSERT_TRUE(Microphone().GetAppliedAlignment().has_value());
    EXPECT_TRUE(Microphone().GetAppliedAlignment()->IsInEffect(CBandModel::FromDesign()));
    EXPECT_NE(Texts(), texts);
    // The loudspeakers' panels show what it set: the subwoofer at position 2, a module at 4.
    auto panel = [](int index) { return dynamic_cast<CKWEMJuceModule*>(CJuceManager::GetInstance()->GetModulePanel(index)); };
    EXPECT_DOUBLE_EQ(panel(1)->Delay().getValue(), std::max(delta, 0.0));
    EXPECT_DOUBLE_EQ(panel(3)->Delay().getValue(), std::max(-delta, 0.0));
    // The microphone hears the design aligned.
    EXPECT_DOUBLE_EQ(Panel().GetResult().z, CBandModel::FromDesign().Probe(Microphone().GetX(), Microphone().GetY()).z);
    EXPECT_NEAR(Panel().GetResult().sources.back().delayMs,
                CBandModel::FromDesign().Probe(Microphone().GetX(), Microphone().GetY()).sources.back().delayMs, 1e-12);

    // The printed report holds it while the design keeps it.
    ScopedPath noBrowser(temp.File("no-browser"));
    const std::string heading = "<h2>Subwoofer alignment</h2>";
    ASSERT_TRUE(CPrintReport::Print(Microphone().GetAppliedAlignment()).written);
    EXPECT_NE(temp.Read(CPrintReport::kReportFile).find(heading), std::string::npos);

    Command("Undo", 0);
    EXPECT_EQ(Texts(), texts);
    EXPECT_FALSE(Microphone().GetAppliedAlignment()->IsInEffect(CBandModel::FromDesign()));
    ASSERT_TRUE(CPrintReport::Print(Microphone().GetAppliedAlignment()).written);
    EXPECT_EQ(temp.Read(CPrintReport::kReportFile).find(heading), std::string::npos);
}

TEST_F(MicrophoneAlignment, SaysWhyThereIsNothingToAlign)
{
    Command(Tag::Model_DRXS1, 0);
    Command(Tag::Model_DRXR1, 3);
    PlaceInFront();
    Click(Button("MicrophoneAlign"));
    ASSERT_TRUE(Panel().IsShowingAlignment());
    EXPECT_EQ(Panel().GetAlignmentLines(), juce::StringArray({ "Nothing to align:", "there is no subwoofer." }));
    EXPECT_FALSE(Button("MicrophoneApplyAlignment").isVisible());
    EXPECT_TRUE(Button("MicrophoneAlignmentBack").isVisible());
}
