#include "ui/CKWEMJuceRigging.h"

#include "app/CJuceManager.h"
#include "report/CRiggingSummary.h"
#include "ui/PanelLabels.h"

#include <cmath>

namespace
{
juce::String Fixed(double value, int decimals)
{
    if (! std::isfinite(value))
        return "-";
    // No "-0.0".
    const double rounded = std::round(value * std::pow(10.0, decimals)) / std::pow(10.0, decimals);
    return juce::String(rounded == 0.0 ? 0.0 : rounded, decimals);
}
}

CKWEMJuceRigging::CKWEMJuceRigging()
{
    setName("Rigging");
    for (juce::Label* line : { &weightLine, &pinLine })
    {
        SetUpCaption(*line, juce::Font(12.0f, juce::Font::plain));
        line->setMinimumHorizontalScale(0.6f);
        line->setColour(juce::Label::textColourId, juce::Colours::black);
        line->setBorderSize(juce::BorderSize<int>(0, 8, 0, 4));
        addAndMakeVisible(*line);
    }
    weightLine.setName("RiggingWeight");
    pinLine.setName("RiggingPins");
    pinLine.setTooltip("The array angle each flybar pick position gives (positive: the array's front points up); "
                       "the picked one is in brackets");
    weightLine.setTooltip("The array's weight; its centre of gravity (CG, the red dot in the picture) from the "
                          "flybar's reference point; and the trim heights: the array's top and bottom above the "
                          "floor under them");
    Refresh();
}

CKWEMJuceRigging::~CKWEMJuceRigging() = default;

void CKWEMJuceRigging::Refresh()
{
    const CRiggingSummary rigging = CRiggingSummary::Read();
    const CDisplayUnits units = CJuceManager::GetInstance()->GetDisplayUnits();
    const juce::String length = units.LengthSymbol();

    // The trim heights are what the motors are set by: the array's top and bottom above the floor.
    weightLine.setText("Rigging:  weight " + Fixed(units.Weight(rigging.weight), 1) + " " + units.WeightSymbol()
                           + "   CG  x " + Fixed(units.Length(rigging.cgX), 2) + " " + length + "  y "
                           + Fixed(units.Length(rigging.cgY), 2) + " " + length + " (from the flybar)   trim  top "
                           + Fixed(units.Length(rigging.topTrim), 2) + " " + length + "  bottom "
                           + Fixed(units.Length(rigging.bottomTrim), 2) + " " + length + " (above the floor)",
                       juce::dontSendNotification);

    juce::String pins = "Array angle at pin:";
    for (const auto& [pin, angle] : rigging.pinAngles)
    {
        const juce::String entry = juce::String(pin) + ": " + Fixed(angle, 1) + juce::String::fromUTF8("\xc2\xb0");
        pins += "  " + (pin == rigging.pin ? "[" + entry + "]" : entry);
    }
    pinLine.setText(pins, juce::dontSendNotification);
}

void CKWEMJuceRigging::paint(juce::Graphics& g)
{
    g.setColour(juce::Colour(0xffaaaaaau));
    g.fillRoundedRectangle(getLocalBounds().toFloat().reduced(1.5f), 6.0f);
    g.setColour(juce::Colours::white);
    g.drawRoundedRectangle(getLocalBounds().toFloat().reduced(1.5f), 6.0f, 1.5f);
}

void CKWEMJuceRigging::resized()
{
    auto area = getLocalBounds().reduced(2, 2);
    weightLine.setBounds(area.removeFromTop(area.getHeight() / 2));
    pinLine.setBounds(area);
}
