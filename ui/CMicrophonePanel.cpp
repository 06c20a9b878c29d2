#include "ui/CMicrophonePanel.h"

#include "app/CJuceManager.h"
#include "array/CArrayLineWrap.h"
#include "array/CArrayManager.h"
#include "array/CArrayProdWrap.h"
#include "array/ModuleNumbers.h"
#include "base/CMathHelper.h"
#include "xml/XmlTags.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr int kPlotWidth = 300;
constexpr double kPlotSpanDB = 48.0;

juce::String Decibels(double level)
{
    return std::isfinite(level) ? juce::String(level, 1) + " dB" : juce::String("-");
}

juce::String ModelAt(int position)
{
    CArrayLineWrap line(CArrayManager::GetInstance()->GetArray(1, CArrayManager::kFind));
    return ModelShortName(line.GetCab(position).GetProduct().GetModel());
}
}

CMicrophonePanel::CMicrophonePanel()
{
    setName("MicrophonePanel");
    setWantsKeyboardFocus(true);
    closeButton.setButtonText("Close");
    closeButton.setName("MicrophoneClose");
    closeButton.setTooltip("Remove the virtual microphone (Escape)");
    closeButton.onClick = [this] {
        if (onClose)
            onClose();
    };
    addAndMakeVisible(closeButton);
}

void CMicrophonePanel::Show(const CBandModel::ProbeResult& probe, const std::string& where)
{
    result = probe;
    place = where;
    repaint();
}

juce::StringArray CMicrophonePanel::GetLines() const
{
    const CDisplayUnits units = CJuceManager::GetInstance()->GetDisplayUnits();
    juce::StringArray lines;
    lines.add("L_Z " + Decibels(result.z) + "   L_A " + Decibels(result.a));
    for (const CBandModel::ProbeSource& source : result.sources)
    {
        const double inches = CMathHelper().Convert(Tag::Meters, Tag::Inches, source.distanceM);
        lines.add("Module " + juce::String(ModuleNumberOf(source.position)) + " (" + ModelAt(source.position) + "): "
                  + Decibels(source.z) + ", " + juce::String(units.Length(inches), 2) + " " + units.LengthSymbol()
                  + ", " + juce::String(source.delayMs, 2) + " ms");
    }
    return lines;
}

void CMicrophonePanel::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff202020u));
    g.setColour(juce::Colour(0xffaaaaaau));
    g.drawRect(getLocalBounds());

    // The spectrum: one bar per band, the top of the plot at the loudest band.
    const juce::Rectangle<int> plot(6, 18, kPlotWidth - 12, getHeight() - 34);
    double top = -std::numeric_limits<double>::infinity();
    for (const CBandModel::ProbeBand& band : result.bands)
        if (std::isfinite(band.db))
            top = std::max(top, band.db);
    top = std::isfinite(top) ? std::ceil(top / 6.0) * 6.0 : 0.0;
    g.setFont(11.0f);
    g.setColour(juce::Colours::white);
    g.drawText("Microphone " + juce::String(place) + "   spectrum, top " + juce::String((int) top) + " dB, "
                   + juce::String((int) kPlotSpanDB) + " dB shown",
               6, 2, getWidth() - 80, 14, juce::Justification::left);
    g.setColour(juce::Colour(0xff3c3c3cu));
    g.fillRect(plot);
    const float barWidth = (float) plot.getWidth() / (float) CBandModel::kBandCount;
    for (const CBandModel::ProbeBand& band : result.bands)
    {
        int index = 0;
        if (! CBandModel::BandOfLabel(band.label, index) || ! std::isfinite(band.db))
            continue;
        index -= CBandModel::kFirstBand;
        const double share = std::clamp((band.db - (top - kPlotSpanDB)) / kPlotSpanDB, 0.0, 1.0);
        const float height = (float) (share * plot.getHeight());
        g.setColour(juce::Colour(0xff00c0a0u));
        g.fillRect((float) plot.getX() + barWidth * (float) index + 1.0f, (float) plot.getBottom() - height,
                   barWidth - 2.0f, height);
    }
    g.setColour(juce::Colours::white);
    for (const char* label : { "63", "250", "1k", "4k", "16k" })
    {
        int index = 0;
        CBandModel::BandOfLabel(label, index);
        index -= CBandModel::kFirstBand;
        g.drawText(label, (int) ((float) plot.getX() + barWidth * ((float) index - 1.0f)), plot.getBottom(),
                   (int) (barWidth * 3.0f), 14, juce::Justification::centred);
    }

    const juce::StringArray lines = GetLines();
    for (int i = 0; i < lines.size(); ++i)
    {
        g.setFont(i == 0 ? 13.0f : 11.0f);
        g.drawText(lines[i], kPlotWidth, 18 + (i == 0 ? 0 : 4 + 13 * i), getWidth() - kPlotWidth - 4, 14,
                   juce::Justification::left);
    }
}

void CMicrophonePanel::resized()
{
    closeButton.setBounds(getWidth() - 60, 2, 56, 16);
}

bool CMicrophonePanel::keyPressed(const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey && onClose)
    {
        onClose();
        return true;
    }
    return false;
}
