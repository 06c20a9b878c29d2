#include "ui/CKWEMJuceFloor.h"

#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "app/CListenerManager.h"
#include "base/CReportError.h"
#include "base/NumberText.h"
#include "engine/CCommandTable.h"
#include "engine/CEngineManager.h"
#include "ui/BindingRefresh.h"
#include "ui/PanelLabels.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>

namespace
{
const juce::Colour kSeparatorColour(0xff808080);
constexpr int kLengthDragPixels = 200000;
constexpr double kLengthButtonStep = 0.5;

std::string DefaultTitle(int areaNumber)
{
    if (areaNumber == 1)
        return "Floor ";
    if (areaNumber == 2)
        return "Rake ";
    std::string number;
    IntToString(number, areaNumber - 2);
    return "Balcony " + number;
}
} // namespace

CKWEMJuceFloor::CKWEMJuceFloor()
{
    SetUpSlider(endZ, "Z location of \"end\" of surface", juce::Slider::TextBoxLeft);
    SetUpLabel(sXLabel, "sX:", "start point - X Coord");
    SetUpLabel(sZLabel, "sZ:", "start point - Z Coord (Height up from base point)");
    SetUpLabel(eXLabel, "eX:", "end point - X Coord");
    SetUpLabel(eZLabel, "eZ:", "end point - Z Coord (Height up from base point)");
    SetUpLabel(angleLabel, "Angle:", "");
    SetUpLabel(lengthLabel, "Length:", "");

    addAndMakeVisible(name);
    name.setName("new text editor");
    name.setMultiLine(false);
    name.setReturnKeyStartsNewLine(false);
    name.setReadOnly(true);
    name.setScrollbarsShown(false);
    name.setCaretVisible(false);
    name.setPopupMenuEnabled(false);
    name.setColour(juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
    name.setColour(juce::TextEditor::shadowColourId, juce::Colours::transparentBlack);
    name.setText("Hang Point", false);

    SetUpSlider(length, "Length between location's front and back points.", juce::Slider::TextBoxAbove);
    SetUpSlider(angle, "Angle created by location's front and back points.", juce::Slider::TextBoxAbove);
    SetUpSlider(endX, "X location of \"end\" of surface", juce::Slider::TextBoxLeft);
    SetUpSlider(frontZ, "Z location of \"front\" of surface", juce::Slider::TextBoxLeft);
    SetUpSlider(frontX, "X location of \"front\" of surface", juce::Slider::TextBoxLeft);

    keys = { { &frontX, Tag::sX }, { &frontZ, Tag::sY }, { &endX, Tag::eX },
             { &endZ, Tag::eY }, { &angle, Tag::LAngle }, { &length, Tag::LDist } };
    // A typed length is kept to the tenth shown; the buttons step by half a unit.
    for (CCheckedSlider* slider : { &frontX, &frontZ, &endX, &endZ, &length })
        slider->SetButtonStep(kLengthButtonStep);
    for (CCheckedSlider* slider : { &frontX, &frontZ, &endX, &endZ, &angle, &length })
    {
        const std::string key = keys[slider];
        slider->checkTyped = [this, key](const std::string& typed) {
            CCommand command;
            command.target = key;
            command.areaSlot = areaNumber;
            const CCommandResult checked = CCommandTable::CheckTyped(command, typed);
            return checked ? std::string() : checked.GetReason();
        };
    }

    setSize(kWidth, kHeight);
    setLookAndFeel(CJuceManager::GetInstance()->GetLookAndFeel(2));
}

CKWEMJuceFloor::~CKWEMJuceFloor()
{
    stopTimer();
    // At shutdown the listener manager may be gone before the panels.
    if (CListenerManager::HasInstance())
    {
        for (const auto& entry : keys)
            CListenerManager::GetInstance()->Unregister(entry.first);
        CListenerManager::GetInstance()->Unregister(&name);
    }
    setLookAndFeel(nullptr);
}

void CKWEMJuceFloor::SetUpSlider(juce::Slider& slider, const char* tooltip, juce::Slider::TextEntryBoxPosition box)
{
    addAndMakeVisible(slider);
    slider.setName("new slider");
    slider.setTooltip(tooltip);
    slider.setRange(0.0, 10.0, 0.0);
    slider.setSliderStyle(juce::Slider::IncDecButtons);
    slider.setTextBoxStyle(box, false, 37, 20);
    slider.addListener(this);
}

void CKWEMJuceFloor::SetUpLabel(juce::Label& label, const char* text, const char* tooltip)
{
    addAndMakeVisible(label);
    label.setName("new label");
    SetUpCaption(label, juce::Font(15.0f, juce::Font::plain));
    // The captions were laid out for a narrower font than the desktop's: squeeze, don't elide.
    label.setMinimumHorizontalScale(0.5f);
    label.setText(text, juce::dontSendNotification);
    label.setTooltip(tooltip);
}

void CKWEMJuceFloor::HideEndZ()
{
    endZ.setVisible(false);
    eZLabel.setVisible(false);
}

void CKWEMJuceFloor::HideEndX()
{
    endX.setVisible(false);
    eXLabel.setVisible(false);
}

void CKWEMJuceFloor::HideAngleAndLength()
{
    angle.setVisible(false);
    length.setVisible(false);
}

//==============================================================================
void CKWEMJuceFloor::Refresh(int newAreaNumber)
{
    name.setText(DefaultTitle(newAreaNumber), true);
    areaNumber = newAreaNumber;
    // New bindings show the document; nothing held for the old ones is sent.
    held.clear();
    stopTimer();

    std::string number;
    IntToString(number, areaNumber);
    const std::string area = Tag::Venue + ".1." + Tag::Area + "." + number;
    const std::string line = area + "." + Tag::Line;
    CListenerManager* listeners = CListenerManager::GetInstance();
    listeners->RegisterByPath(&frontX, line + "." + Tag::Point1, Tag::X, Tag::VSlideEditDouble12, Tag::sX);
    listeners->RegisterByPath(&frontZ, line + "." + Tag::Point1, Tag::Y, Tag::VSlideEditDouble12, Tag::sY);
    listeners->RegisterByPath(&endX, line + "." + Tag::Point2, Tag::X, Tag::VSlideEditDouble12, Tag::eX);
    listeners->RegisterByPath(&endZ, line + "." + Tag::Point2, Tag::Y, Tag::VSlideEditDouble12, Tag::eY);
    listeners->RegisterByPath(&angle, line, Tag::LAngle, Tag::VSlideEditDouble, Tag::LAngle);
    listeners->RegisterByPath(&length, line, Tag::LDist, Tag::VSlideEditDouble12, Tag::LDist);
    listeners->RegisterByPath(&name, area, Tag::Name, Tag::VEditText, Tag::Name);

    setVisible(CEngineManager::GetInstance()->ResolvePath(area)->GetChild(Tag::Visible)->GetInt(1) != 0);

    length.setIncDecButtonsMode(juce::Slider::incDecButtonsDraggable_AutoDirection);
    length.setMouseDragSensitivity(kLengthDragPixels);
}

//==============================================================================
void CKWEMJuceFloor::paint(juce::Graphics& g)
{
    g.setColour(kSeparatorColour);
    g.drawLine(separator, 1.0f);
}

void CKWEMJuceFloor::resized()
{
    endZ.setBounds(24, 96, 67, 20);
    sXLabel.setBounds(3, 21, 24, 21);
    sZLabel.setBounds(3, 46, 24, 21);
    eXLabel.setBounds(3, 71, 24, 21);
    eZLabel.setBounds(2, 95, 24, 21);
    angleLabel.setBounds(91, -5, 40, 24);
    lengthLabel.setBounds(92, 56, 40, 24);
    name.setBounds(5, -1, 75, 20);
    length.setBounds(93, 75, 37, 47);
    angle.setBounds(93, 15, 37, 47);
    endX.setBounds(24, 71, 67, 20);
    frontZ.setBounds(24, 46, 67, 20);
    frontX.setBounds(24, 22, 67, 20);
    separator.setStart(2.0f, 0.0f);
    separator.setEnd(2.0f, 120.0f);
}

//==============================================================================
void CKWEMJuceFloor::sliderDragStarted(juce::Slider* slider)
{
    // Every change the user makes comes between a drag start and its end, never inside a
    // binding's write: whatever a refresh left in the property, this change is the user's.
    EndBindingRefresh(*slider);
    // The steps of one drag are one step of the history.
    CCommandManager::GetInstance()->BeginGesture();
}

void CKWEMJuceFloor::sliderDragEnded(juce::Slider*)
{
    CCommandManager::GetInstance()->EndGesture();
}

void CKWEMJuceFloor::sliderValueChanged(juce::Slider* slider)
{
    if (IsBindingRefresh(*slider))
        Release(slider);
    else if (ThrottleElapsed())
        Send(slider);
    else
        Hold(slider);
    EndBindingRefresh(*slider);
}

void CKWEMJuceFloor::Send(juce::Slider* slider)
{
    Release(slider);
    const auto key = keys.find(slider);
    if (key == keys.end())
        return;
    std::string value;
    DoubleToString(value, slider->getValue(), 2);
    const CCommandResult result = CCommandManager::GetInstance()->DoVenueArea(areaNumber, key->second, value);
    if (! result)
    {
        // The slider goes back to the value the venue keeps.
        CReportError::GetInstance()->ReportError(result.GetReason());
        CListenerManager::GetInstance()->Refresh(slider);
    }
    CJuceManager::GetInstance()->Redraw();
}

void CKWEMJuceFloor::Hold(juce::Slider* slider)
{
    if (std::find(held.begin(), held.end(), slider) == held.end())
        held.push_back(slider);
    startTimer(kTrailingCheckMs);
}

void CKWEMJuceFloor::Release(juce::Slider* slider)
{
    // A slider written by its binding shows the document again: nothing is left to send.
    held.erase(std::remove(held.begin(), held.end(), slider), held.end());
    if (held.empty())
        stopTimer();
}

bool CKWEMJuceFloor::SendHeldChange()
{
    if (held.empty())
    {
        stopTimer();
        return false;
    }
    if (! ThrottleElapsed())
        return false;
    // The slider's value now, not the one it had when the change was held.
    juce::Slider* slider = held.front();
    Send(slider);
    EndBindingRefresh(*slider);
    return true;
}

void CKWEMJuceFloor::timerCallback()
{
    SendHeldChange();
}
