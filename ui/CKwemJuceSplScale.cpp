#include "ui/CKwemJuceSplScale.h"

#include "app/CCommandManager.h"
#include "ui/CFoo.h"
#include "app/CJuceManager.h"
#include "base/NumberText.h"
#include "engine/CSPLManager.h"
#include "engine/CSplScaleSetting.h"
#include "render/CRendererLine.h"
#include "ui/PanelLabels.h"
#include "xml/XmlTags.h"

namespace
{
constexpr int kBarX = 4;
constexpr int kBarY = 9;
constexpr int kBarWidth = 24;
constexpr int kBarHeight = 266;
constexpr int kLabelX = 27;
constexpr int kLabelTop = 2;
constexpr int kLabelPitch = 20;

void SetUpStepper(juce::Slider& slider, juce::Slider::Listener* listener)
{
    slider.setRange(0.0, 100.0, 1.0);
    slider.setSliderStyle(juce::Slider::IncDecButtons);
    slider.setTextBoxStyle(juce::Slider::NoTextBox, false, 80, 20);
    slider.addListener(listener);
    slider.setValue(CKwemJuceSplScale::kRestValue, juce::dontSendNotification);
}
} // namespace

CKwemJuceSplScale::CKwemJuceSplScale()
    : baseSlider("BaseSlider"),
      rangeSlider("RangeSlider"),
      baseLabel("BaseLabel", "Base"),
      rangeLabel("RangeLabel", "Range"),
      unitLabel("UnitLabel", "dB SPL"),
      autoToggle("Auto")
{
    addAndMakeVisible(baseSlider);
    SetUpStepper(baseSlider, this);
    addAndMakeVisible(rangeSlider);
    SetUpStepper(rangeSlider, this);

    addAndMakeVisible(baseLabel);
    baseLabel.setTooltip("Base point for SPL Scale in db");
    SetUpCaption(baseLabel, juce::Font(12.0f, juce::Font::plain));
    addAndMakeVisible(rangeLabel);
    rangeLabel.setTooltip("Range of Scale in db");
    SetUpCaption(rangeLabel, juce::Font(12.0f, juce::Font::plain));

    setSize(60, 355);
    DrawScale();

    baseSlider.setValue(kRestValue, juce::dontSendNotification);
    rangeSlider.setValue(kRestValue, juce::dontSendNotification);
    juce::LookAndFeel* whiteText = CJuceManager::GetInstance()->GetLookAndFeel(1);
    baseLabel.setLookAndFeel(whiteText);
    rangeLabel.setLookAndFeel(whiteText);

    addAndMakeVisible(unitLabel);
    unitLabel.setTooltip("The colours and the numbers above are sound pressure levels in dB");
    SetUpCaption(unitLabel, juce::Font(11.0f, juce::Font::plain), juce::Justification::centred);
    unitLabel.setBorderSize(juce::BorderSize<int>(0));
    unitLabel.setLookAndFeel(whiteText);

    addAndMakeVisible(autoToggle);
    autoToggle.setTooltip("The scale spans the levels the venue view shows and follows them as the design "
                          "changes, until Base or Range is moved");
    autoToggle.setColour(juce::ToggleButton::textColourId, juce::Colours::white);
    autoToggle.setColour(juce::ToggleButton::tickColourId, juce::Colours::white);
    autoToggle.setColour(juce::ToggleButton::tickDisabledColourId, juce::Colours::lightgrey);
    autoToggle.setToggleState(SplScaleSetting::IsAutomatic(), juce::dontSendNotification);
    autoToggle.onClick = [this] {
        CCommandManager::GetInstance()->DoGeneral(Tag::SplAuto, "", autoToggle.getToggleState() ? 1.0 : 0.0);
        DrawScale();
        CJuceManager::GetInstance()->Redraw();
    };
}

CKwemJuceSplScale::~CKwemJuceSplScale()
{
    baseSlider.removeListener(this);
    rangeSlider.removeListener(this);
    baseLabel.setLookAndFeel(nullptr);
    rangeLabel.setLookAndFeel(nullptr);
    unitLabel.setLookAndFeel(nullptr);
    for (auto& label : valueLabels)
        if (label != nullptr)
            label->setLookAndFeel(nullptr);
}

void CKwemJuceSplScale::paint(juce::Graphics&)
{
}

void CKwemJuceSplScale::resized()
{
    baseSlider.setBounds(28, 276, 29, 24);
    rangeSlider.setBounds(27, 299, 31, 24);
    baseLabel.setBounds(-2, 275, 35, 24);
    rangeLabel.setBounds(-4, 298, 34, 24);
    unitLabel.setBounds(0, 324, 60, 16);
    autoToggle.setBounds(2, 340, 56, 15);
}

juce::Label* CKwemJuceSplScale::GetValueLabel(int k) const
{
    if (k < 0 || k >= kLabelCount)
        return nullptr;
    return valueLabels[static_cast<size_t>(k)].get();
}

void CKwemJuceSplScale::DrawColourBar()
{
    juce::Image bar(juce::Image::ARGB, kBarWidth, kBarHeight, true);
    CRendererLine line;
    line.SetTarget(&bar);
    line.SetAttrNumber(Tag::LineWidth, static_cast<float>(kBarWidth));
    line.SetAttrNumber(Tag::SplGradient, 1.0f);
    // Bottom to top, so the gradient runs from the lowest level up to the highest.
    line.AddPoint(11.5f, static_cast<float>(kBarHeight - 1));
    line.AddPoint(11.5f, 0.0f);
    line.Render();

    colourBar = std::make_unique<CFoo>();
    colourBar->SetImage(new juce::Image(bar.createCopy()));
    colourBar->setBounds(kBarX, kBarY, kBarWidth, kBarHeight);
    addAndMakeVisible(*colourBar);
}

void CKwemJuceSplScale::DrawScale()
{
    if (colourBar == nullptr)
        DrawColourBar();

    CSPLManager* spl = CSPLManager::GetInstance();
    const double bottom = spl->GetScaleBottom();
    const double top = spl->GetScaleTop();
    const double step = (top - bottom) / (kLabelCount - 1);

    juce::LookAndFeel* whiteText = CJuceManager::GetInstance()->GetLookAndFeel(1);
    for (int k = 0; k < kLabelCount; ++k)
    {
        auto& label = valueLabels[static_cast<size_t>(k)];
        if (label == nullptr)
        {
            label = std::make_unique<juce::Label>("Label", "111.0");
            // The panel ends 33 pixels to the right of the labels: "120.00" needs them all.
            label->setBounds(kLabelX, kLabelTop + kLabelPitch * k, getWidth() - kLabelX, 20);
            label->setBorderSize(juce::BorderSize<int>(1, 1, 1, 0));
            label->setMinimumHorizontalScale(0.7f);
            label->setFont(juce::Font(juce::Font::getDefaultSansSerifFontName(), 10.0f, juce::Font::plain));
            label->setLookAndFeel(whiteText);
            addAndMakeVisible(*label);
        }
        label->setText(DoubleToString(top - k * step, 2), juce::dontSendNotification);
        label->repaint();
    }
    autoToggle.setToggleState(SplScaleSetting::IsAutomatic(), juce::dontSendNotification);
}

void CKwemJuceSplScale::sliderValueChanged(juce::Slider* slider)
{
    if (slider != &baseSlider && slider != &rangeSlider)
        return;
    const double step = slider->getValue() - kRestValue;
    if (step == 0.0)
        return;

    // Back at rest before the command runs, so a command that fails leaves the stepper
    // ready for the next click instead of off by one.
    slider->setValue(kRestValue, juce::dontSendNotification);
    if (slider == &baseSlider)
        CCommandManager::GetInstance()->DoGeneral(Tag::SplBase, "", step);
    else
        CCommandManager::GetInstance()->DoGeneral(Tag::SplRange, "", step);

    DrawScale();
    CJuceManager::GetInstance()->Redraw();
}
