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

constexpr juce::uint32 kBarColour = 0xff00c0a0u;
constexpr juce::uint32 kAlignedColour = 0xffffd040u;

juce::String Decibels(double level)
{
    return std::isfinite(level) ? juce::String(level, 1) + " dB" : juce::String("-");
}

juce::String Milliseconds(double ms)
{
    return juce::String(ms, 2) + " ms";
}

// "2, 3, 4" for the positions whose delay the alignment sets above zero.
juce::String DelayedPositions(const CSubAlignment& alignment)
{
    juce::StringArray positions;
    for (const CSubAlignment::Setting& s : alignment.settings)
        if (s.delayMs > 0.0)
            positions.add(juce::String(s.position));
    return positions.joinIntoString(", ");
}

// The band index of a probe band; false when it has no level to draw.
bool BarIndex(const CBandModel::ProbeBand& band, int& index)
{
    if (! CBandModel::BandOfLabel(band.label, index) || ! std::isfinite(band.db))
        return false;
    index -= CBandModel::kFirstBand;
    return true;
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

    alignButton.setButtonText("Align subwoofers here");
    alignButton.setName("MicrophoneAlign");
    alignButton.setTooltip("Find the delay and polarity at which subwoofers and modules add up best here (63 to 160 Hz)");
    alignButton.onClick = [this] {
        if (onAlign)
            onAlign();
    };
    applyButton.setButtonText("Apply");
    applyButton.setName("MicrophoneApplyAlignment");
    applyButton.setTooltip("Set these delays and the polarity (one undo step)");
    applyButton.onClick = [this] {
        if (onApplyAlignment)
            onApplyAlignment();
    };
    backButton.setButtonText("Back");
    backButton.setName("MicrophoneAlignmentBack");
    backButton.setTooltip("Back to the microphone without changing anything");
    backButton.onClick = [this] { EndAlignment(); };
    addAndMakeVisible(alignButton);
    addChildComponent(applyButton);
    addChildComponent(backButton);
}

void CMicrophonePanel::ShowAlignment(const CSubAlignment& found, const CBandModel::ProbeResult& alignedProbe)
{
    alignment = found;
    aligned = alignedProbe;
    showingAlignment = true;
    ShowButtons();
    repaint();
}

void CMicrophonePanel::EndAlignment()
{
    showingAlignment = false;
    ShowButtons();
    repaint();
}

void CMicrophonePanel::ShowButtons()
{
    alignButton.setVisible(! showingAlignment);
    applyButton.setVisible(showingAlignment && alignment.found);
    backButton.setVisible(showingAlignment);
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
        lines.add("Module " + juce::String(source.position) + " (" + ModelAt(source.position) + "): "
                  + Decibels(source.z) + ", " + juce::String(units.Length(inches), 2) + " " + units.LengthSymbol()
                  + ", " + juce::String(source.delayMs, 2) + " ms");
    }
    return lines;
}

juce::StringArray CMicrophonePanel::GetAlignmentLines() const
{
    juce::StringArray lines;
    if (! alignment.found)
    {
        lines.add("Nothing to align:");
        lines.add(juce::String(alignment.reason) + ".");
        return lines;
    }
    const double delta = alignment.deltaMs;
    lines.add(delta > 0.0   ? "Delay subwoofers " + DelayedPositions(alignment) + " by " + Milliseconds(delta)
              : delta < 0.0 ? "Delay modules " + DelayedPositions(alignment) + " by " + Milliseconds(-delta)
                            : juce::String("No delay: they add up as they are"));
    lines.add("Subwoofer polarity " + juce::String(alignment.inverted ? "inverted" : "normal"));
    lines.add("63-160 Hz: " + Decibels(alignment.beforeDB) + " now, " + Decibels(alignment.afterDB) + " aligned");
    lines.add("Yellow: the spectrum aligned");
    return lines;
}

void CMicrophonePanel::PaintSpectrum(juce::Graphics& g, const juce::Rectangle<int>& plot, double top) const
{
    g.setColour(juce::Colour(0xff3c3c3cu));
    g.fillRect(plot);
    const float barWidth = (float) plot.getWidth() / (float) CBandModel::kBandCount;
    const auto barTop = [&](double db) {
        const double share = std::clamp((db - (top - kPlotSpanDB)) / kPlotSpanDB, 0.0, 1.0);
        return (float) plot.getBottom() - (float) (share * plot.getHeight());
    };
    g.setColour(juce::Colour(kBarColour));
    for (const CBandModel::ProbeBand& band : result.bands)
    {
        int index = 0;
        if (! BarIndex(band, index))
            continue;
        const float y = barTop(band.db);
        g.fillRect((float) plot.getX() + barWidth * (float) index + 1.0f, y, barWidth - 2.0f,
                   (float) plot.getBottom() - y);
    }
    if (! showingAlignment || ! alignment.found)
        return;
    // The aligned spectrum over today's: a bright top on every band.
    g.setColour(juce::Colour(kAlignedColour));
    for (const CBandModel::ProbeBand& band : aligned.bands)
    {
        int index = 0;
        if (BarIndex(band, index))
            g.fillRect((float) plot.getX() + barWidth * (float) index, barTop(band.db) - 1.5f, barWidth, 3.0f);
    }
}

void CMicrophonePanel::paint(juce::Graphics& g)
{
    g.fillAll(juce::Colour(0xff202020u));
    g.setColour(juce::Colour(0xffaaaaaau));
    g.drawRect(getLocalBounds());

    // The spectrum: one bar per band, the top of the plot at the loudest band (of either
    // spectrum while the alignment is shown).
    const juce::Rectangle<int> plot(6, 18, kPlotWidth - 12, getHeight() - 34);
    double top = -std::numeric_limits<double>::infinity();
    for (const CBandModel::ProbeBand& band : result.bands)
        if (std::isfinite(band.db))
            top = std::max(top, band.db);
    if (showingAlignment && alignment.found)
        for (const CBandModel::ProbeBand& band : aligned.bands)
            if (std::isfinite(band.db))
                top = std::max(top, band.db);
    top = std::isfinite(top) ? std::ceil(top / 6.0) * 6.0 : 0.0;
    g.setFont(11.0f);
    g.setColour(juce::Colours::white);
    g.drawText("Microphone " + juce::String(place) + "   spectrum, top " + juce::String((int) top) + " dB, "
                   + juce::String((int) kPlotSpanDB) + " dB shown",
               6, 2, getWidth() - 210, 14, juce::Justification::left);
    PaintSpectrum(g, plot, top);

    const float barWidth = (float) plot.getWidth() / (float) CBandModel::kBandCount;
    g.setColour(juce::Colours::white);
    for (const char* label : { "63", "250", "1k", "4k", "16k" })
    {
        int index = 0;
        CBandModel::BandOfLabel(label, index);
        index -= CBandModel::kFirstBand;
        g.drawText(label, (int) ((float) plot.getX() + barWidth * ((float) index - 1.0f)), plot.getBottom(),
                   (int) (barWidth * 3.0f), 14, juce::Justification::centred);
    }

    const juce::StringArray lines = showingAlignment ? GetAlignmentLines() : GetLines();
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
    alignButton.setBounds(getWidth() - 200, 2, 136, 16);
    applyButton.setBounds(getWidth() - 124, getHeight() - 22, 56, 18);
    backButton.setBounds(getWidth() - 62, getHeight() - 22, 56, 18);
}

bool CMicrophonePanel::keyPressed(const juce::KeyPress& key)
{
    if (key == juce::KeyPress::escapeKey && showingAlignment)
    {
        EndAlignment();
        return true;
    }
    if (key == juce::KeyPress::escapeKey && onClose)
    {
        onClose();
        return true;
    }
    return false;
}
