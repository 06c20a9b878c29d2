#include "ui/WindowFixture.h"

#include "ui/CFoo.h"
#include "engine/CSPLManager.h"
#include "xml/XmlTags.h"

namespace
{
std::vector<std::string> Labels(const CKwemJuceSplScale& scale)
{
    std::vector<std::string> texts;
    for (int k = 0; k < CKwemJuceSplScale::kLabelCount; ++k)
        texts.push_back(scale.GetValueLabel(k)->getText().toStdString());
    return texts;
}
} // namespace

using SplScale = WindowFixture;

TEST_F(SplScale, LabelsRunFromTheTopOfTheScaleToItsBottom)
{
    CKwemJuceSplScale& scale = window->GetSplScale();
    MovedScale();
    scale.DrawScale();
    std::vector<std::string> labels = Labels(scale);
    EXPECT_EQ(labels.front(), "120.00");
    EXPECT_EQ(labels[1], "119.23");
    EXPECT_EQ(labels.back(), "110.00");

    CSPLManager::GetInstance()->SetScale(70.0, 130.0);
    scale.DrawScale();
    labels = Labels(scale);
    EXPECT_EQ(labels.front(), "130.00");
    EXPECT_EQ(labels[1], "125.38");
    EXPECT_EQ(labels[12], "74.62");
    EXPECT_EQ(labels.back(), "70.00");
    for (int k = 0; k < CKwemJuceSplScale::kLabelCount; ++k)
        EXPECT_EQ(scale.GetValueLabel(k)->getBounds(), juce::Rectangle<int>(27, 2 + 20 * k, 33, 20)) << k;
}

TEST_F(SplScale, StepsMoveTheScaleOneCommandAtATime)
{
    CKwemJuceSplScale& scale = window->GetSplScale();
    CSPLManager* spl = CSPLManager::GetInstance();
    MovedScale();

    for (int i = 0; i < 2; ++i)
        Step(scale.GetBaseSlider(), -1);
    EXPECT_EQ(Commands("Change SPL Base Value"), 2);
    EXPECT_EQ(spl->GetScaleTop(), 110.0);
    EXPECT_EQ(spl->GetScaleBottom(), 100.0);
    EXPECT_EQ(scale.GetBaseSlider().getValue(), CKwemJuceSplScale::kRestValue);

    Step(scale.GetRangeSlider(), +1);
    EXPECT_EQ(Commands("Change SPL Range on Scale"), 1);
    EXPECT_EQ(spl->GetScaleBottom(), 99.0);
    EXPECT_EQ(scale.GetRangeSlider().getValue(), CKwemJuceSplScale::kRestValue);
    EXPECT_EQ(Labels(scale).front(), "110.00");
    EXPECT_EQ(Labels(scale).back(), "99.00");

    // A change message that finds the stepper at rest sends nothing.
    scale.sliderValueChanged(&scale.GetBaseSlider());
    EXPECT_EQ(AllCommands(), 3);
}

TEST_F(SplScale, ColourBarRunsFromBlackAtTheBottomToRedAtTheTop)
{
    CFoo* bar = window->GetSplScale().GetColourBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->getBounds(), juce::Rectangle<int>(4, 9, 24, 266));
    const juce::Image& image = *bar->GetImage();
    const juce::Colour top = image.getPixelAt(12, 1);
    const juce::Colour bottom = image.getPixelAt(12, 264);
    const juce::Colour middle = image.getPixelAt(12, 133);
    EXPECT_GT(top.getRed(), 200) << top.toString();
    EXPECT_LT(top.getGreen(), 60) << top.toString();
    EXPECT_LT(bottom.getRed() + bottom.getGreen() + bottom.getBlue(), 60) << bottom.toString();
    EXPECT_GT(middle.getAlpha(), 200) << middle.toString();
    // The bar is drawn once; a new scale only rewrites the labels.
    window->GetSplScale().DrawScale();
    EXPECT_EQ(window->GetSplScale().GetColourBar(), bar);
}

TEST_F(SplScale, EveryValueLabelHasRoomForItsWholeTextInsideThePanel)
{
    CKwemJuceSplScale& scale = window->GetSplScale();
    // The widest texts the scale writes: five digits and the point.
    for (const double top : { 120.0, 130.0, 188.88 })
    {
        CSPLManager::GetInstance()->SetScale(top - 60.0, top);
        scale.DrawScale();
        for (int k = 0; k < CKwemJuceSplScale::kLabelCount; ++k)
        {
            juce::Label& label = *scale.GetValueLabel(k);
            SCOPED_TRACE(label.getText());
            EXPECT_LE(label.getRight(), scale.getWidth());
            const int room = label.getBorderSize().subtractedFrom(label.getLocalBounds()).getWidth();
            EXPECT_LE(label.getFont().getStringWidthFloat(label.getText()), room);
        }
    }
    EXPECT_EQ(scale.GetUnitLabel().getText(), "dB SPL");
    EXPECT_TRUE(scale.getLocalBounds().contains(scale.GetUnitLabel().getBounds()));
}
