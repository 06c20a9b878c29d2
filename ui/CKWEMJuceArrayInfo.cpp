#include "ui/CKWEMJuceArrayInfo.h"

#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "app/CListenerManager.h"
#include "base/CReportError.h"
#include "engine/CCommandTable.h"
#include "engine/CEngineManager.h"
#include "ui/BindingRefresh.h"
#include "ui/CPinSuggestionPanel.h"
#include "ui/PanelLabels.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <algorithm>

namespace
{
// The flybar holds this many enclosures, full-range modules and subwoofers together.
constexpr int kMaxEnclosures = 6;

std::string Count(int n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

void SetUpCountSlider(juce::Slider& slider, double minimum, double maximum, juce::Slider::Listener* listener)
{
    slider.setRange(minimum, maximum, 1.0);
    slider.setSliderStyle(juce::Slider::IncDecButtons);
    slider.setTextBoxStyle(juce::Slider::TextBoxLeft, false, 80, 20);
    slider.addListener(listener);
}
} // namespace

CKWEMJuceArrayInfo::CKWEMJuceArrayInfo()
    : flownToggle("new toggle button"),
      groundToggle("new toggle button"),
      rangeSlider("new slider"),
      subwooferSlider("new slider"),
      pinSlider("new slider"),
      rangeCaption("new label", "Full Range Modules:"),
      subwooferCaption("new label", "Subwoofers:"),
      pinCaption("new label", "Flybar Pick Position:"),
      angleCaption("new label", "Array Angle:"),
      limitCaption("new label", "( Maximum 6 enclosures, Full Range Modules + Subwoofers )"),
      angleEditor("new text editor"),
      titleLabel("new label", "Array Info")
{
    addAndMakeVisible(flownToggle);
    flownToggle.setButtonText("Flown Array");
    flownToggle.setConnectedEdges(juce::Button::ConnectedOnRight);
    flownToggle.setRadioGroupId(30);
    flownToggle.addListener(this);
    flownToggle.setToggleState(true, juce::dontSendNotification);

    // Not a switch that does nothing: shown, but off and greyed, with the reason.
    addAndMakeVisible(groundToggle);
    groundToggle.setButtonText("Ground Stack");
    groundToggle.setConnectedEdges(juce::Button::ConnectedOnLeft);
    groundToggle.setRadioGroupId(30);
    groundToggle.setEnabled(false);
    groundToggle.setTooltip("Not available: the wizard designs flown arrays only; ground stacks cannot be designed yet");

    addAndMakeVisible(rangeSlider);
    rangeSlider.setTooltip("Change number of Range Modules");
    SetUpCountSlider(rangeSlider, 0.0, 6.0, this);
    addAndMakeVisible(subwooferSlider);
    subwooferSlider.setTooltip("Change number of Sub Woofers");
    SetUpCountSlider(subwooferSlider, 0.0, 6.0, this);
    addAndMakeVisible(pinSlider);
    SetUpCountSlider(pinSlider, 1.0, 8.0, this);
    for (CCheckedSlider* slider : { &rangeSlider, &subwooferSlider, &pinSlider })
    {
        const std::string& target = TargetOf(*slider);
        slider->checkTyped = [&target](const std::string& typed) {
            // A count that does not fit says the real limit, before the catalogue's.
            const juce::String text(typed);
            if (text.isNotEmpty() && text.length() < 6 && text.containsOnly("0123456789"))
                if (std::string refusal = FitRefusal(target, text.getIntValue()); ! refusal.empty())
                    return refusal;
            CCommand command;
            command.target = target;
            const CCommandResult checked = CCommandTable::CheckTyped(command, typed);
            return checked ? std::string() : checked.GetReason();
        };
    }

    const juce::Font small(12.0f, juce::Font::plain);
    for (juce::Label* caption : { &rangeCaption, &subwooferCaption, &pinCaption, &angleCaption, &limitCaption })
    {
        addAndMakeVisible(*caption);
        SetUpCaption(*caption, small);
    }
    pinCaption.setTooltip("Change Pin Position");

    // A result, not a field: no box, no caret; the text can still be selected and copied.
    addAndMakeVisible(angleEditor);
    angleEditor.setMultiLine(false);
    angleEditor.setReturnKeyStartsNewLine(false);
    angleEditor.setReadOnly(true);
    angleEditor.setScrollbarsShown(false);
    angleEditor.setCaretVisible(false);
    angleEditor.setPopupMenuEnabled(true);
    angleEditor.setMouseCursor(juce::MouseCursor::NormalCursor);
    angleEditor.setColour(juce::TextEditor::backgroundColourId, juce::Colours::transparentBlack);
    angleEditor.setColour(juce::TextEditor::outlineColourId, juce::Colours::transparentBlack);
    angleEditor.setColour(juce::TextEditor::focusedOutlineColourId, juce::Colours::transparentBlack);
    angleEditor.setColour(juce::TextEditor::shadowColourId, juce::Colours::transparentBlack);
    angleEditor.setTooltip("The array angle the pick pin gives, in degrees (positive: the array's front points up). "
                           "A result: change the pick pin or the modules to change it");
    angleEditor.setText(juce::String());

    addAndMakeVisible(titleLabel);

    suggestButton.setButtonText("Best");
    suggestButton.setTooltip("Suggest the pick pin that covers the audience most evenly");
    suggestButton.onClick = [this] { CPinSuggestionPanel::Show(suggestButton); };
    addAndMakeVisible(suggestButton);
    SetUpCaption(titleLabel, juce::Font(15.0f, juce::Font::plain));

    setSize(476, 82);
    // The look and feel before the first binding: the angle editor takes its text colour
    // when the text is written, and keeps it.
    setLookAndFeel(CJuceManager::GetInstance()->GetLookAndFeel(2));
    titleLabel.setLookAndFeel(CJuceManager::GetInstance()->GetLookAndFeel(1));
    Refresh();
}

CKWEMJuceArrayInfo::~CKWEMJuceArrayInfo()
{
    CListenerManager* listeners = CListenerManager::GetInstance();
    listeners->Unregister(&subwooferSlider);
    listeners->Unregister(&rangeSlider);
    listeners->Unregister(&pinSlider);
    listeners->Unregister(&angleEditor);
    for (juce::Slider* slider : { &rangeSlider, &subwooferSlider, &pinSlider })
        slider->removeListener(this);
    flownToggle.removeListener(this);
    groundToggle.removeListener(this);
    titleLabel.setLookAndFeel(nullptr);
    setLookAndFeel(nullptr);
}

std::string CKWEMJuceArrayInfo::ArrayInfoPath()
{
    return Tag::Array + ".1." + Tag::ArrayInfo;
}

void CKWEMJuceArrayInfo::Refresh()
{
    const std::string path = ArrayInfoPath();
    CXmlNode* info = CEngineManager::GetInstance()->ResolvePath(path);
    for (const std::string* element : { &Tag::Total_Model_1, &Tag::Total_Model_2, &Tag::SlotPin })
        info->GetChild(*element)->GetChild(Tag::Value)->GetInt(0);

    CListenerManager* listeners = CListenerManager::GetInstance();
    listeners->RegisterByPath(&subwooferSlider, path, Tag::Total_Model_1, Tag::VSlideInt, "");
    listeners->RegisterByPath(&rangeSlider, path, Tag::Total_Model_2, Tag::VSlideInt, "");
    listeners->RegisterByPath(&pinSlider, path, Tag::SlotPin, Tag::VSlideInt, "");
    listeners->RegisterByPath(&angleEditor, path, Tag::Angle, Tag::VEditDouble, "");
    DescribeCounts();
}

int CKWEMJuceArrayInfo::CountOf(const std::string& target)
{
    const std::string& element = target == Tag::Model_DRXS1 ? Tag::Total_Model_1 : Tag::Total_Model_2;
    return CEngineManager::GetInstance()->ResolvePath(ArrayInfoPath())->FindChild(element)->FindChild(Tag::Value)->GetInt(0);
}

std::string CKWEMJuceArrayInfo::FitRefusal(const std::string& target, int count)
{
    if (target != Tag::Model_DRXR1 && target != Tag::Model_DRXS1)
        return {};
    const bool subwoofers = target == Tag::Model_DRXS1;
    const int others = CountOf(subwoofers ? Tag::Model_DRXR1 : Tag::Model_DRXS1);
    const int fit = std::max(0, kMaxEnclosures - others);
    if (count <= fit)
        return {};
    const std::string what = subwoofers ? Count(fit, "subwoofer", "subwoofers")
                                        : Count(fit, "full-range module", "full-range modules");
    const std::string beside = subwoofers ? Count(others, "full-range module", "full-range modules")
                                          : Count(others, "subwoofer", "subwoofers");
    return "At most " + what + " fit beside " + beside + " (" + std::to_string(kMaxEnclosures)
           + " enclosures in all), not " + std::to_string(count) + ". Remove " + (subwoofers ? "a full-range module"
                                                                                                  : "a subwoofer")
           + " first.";
}

void CKWEMJuceArrayInfo::DescribeCounts()
{
    const int fullRange = CountOf(Tag::Model_DRXR1);
    const int subwoofers = CountOf(Tag::Model_DRXS1);
    rangeSlider.setTooltip("Full-range modules: " + std::to_string(fullRange) + ", at most "
                           + std::to_string(kMaxEnclosures - subwoofers) + " beside "
                           + Count(subwoofers, "subwoofer", "subwoofers"));
    subwooferSlider.setTooltip("Subwoofers: " + std::to_string(subwoofers) + ", at most "
                               + std::to_string(kMaxEnclosures - fullRange) + " beside "
                               + Count(fullRange, "full-range module", "full-range modules"));
}

void CKWEMJuceArrayInfo::paint(juce::Graphics& g)
{
    g.setColour(juce::Colour(0xffaaaaaau));
    g.fillRoundedRectangle(2.0f, 2.0f, 468.0f, 76.0f, 10.0f);
    g.setColour(juce::Colours::white);
    g.drawRoundedRectangle(2.0f, 2.0f, 468.0f, 76.0f, 10.0f, 3.0f);

    g.setColour(juce::Colour(0xff530006u));
    g.fillRoundedRectangle(2.0f, 2.0f, 79.0f, 20.0f, 10.0f);
    g.setColour(juce::Colours::white);
    g.drawRoundedRectangle(2.0f, 2.0f, 79.0f, 20.0f, 10.0f, 1.0f);
}

void CKWEMJuceArrayInfo::resized()
{
    flownToggle.setBounds(18, 26, 87, 20);
    groundToggle.setBounds(18, 41, 89, 20);
    rangeSlider.setBounds(229, 8, 64, 24);
    subwooferSlider.setBounds(229, 33, 64, 24);
    pinSlider.setBounds(394, 8, 64, 24);
    rangeCaption.setBounds(118, 8, 109, 24);
    subwooferCaption.setBounds(157, 33, 68, 24);
    pinCaption.setBounds(293, 9, 91, 24);
    angleCaption.setBounds(312, 33, 70, 24);
    limitCaption.setBounds(16, 56, 320, 24);
    angleEditor.setBounds(381, 33, 47, 22);
    titleLabel.setBounds(4, 0, 80, 24);
    suggestButton.setBounds(432, 33, 44, 22);
}

void CKWEMJuceArrayInfo::buttonClicked(juce::Button*)
{
}

void CKWEMJuceArrayInfo::sliderDragStarted(juce::Slider* slider)
{
    // Every change the user makes comes between a drag start and its end, never inside a
    // binding's write: whatever a refresh left in the property, this change is the user's.
    EndBindingRefresh(*slider);
    // The steps of one drag are one step of the history.
    CCommandManager::GetInstance()->BeginGesture();
}

void CKWEMJuceArrayInfo::sliderDragEnded(juce::Slider*)
{
    CCommandManager::GetInstance()->EndGesture();
}

void CKWEMJuceArrayInfo::sliderValueChanged(juce::Slider* slider)
{
    const std::string& target = TargetOf(*slider);
    if (target.empty())
        return;

    // A binding writes the document's value into the slider with a change message; sending
    // that back would run the engine again from inside the command that changed it.
    const bool fromBinding = IsBindingRefresh(*slider);
    EndBindingRefresh(*slider);
    if (fromBinding)
    {
        DescribeCounts();
        return;
    }

    // More than fit would push the other model out of the array: refused, and said why.
    if (const std::string refusal = FitRefusal(target, (int) slider->getValue()); ! refusal.empty())
    {
        CReportError::GetInstance()->ReportError(refusal);
        CListenerManager::GetInstance()->Refresh(slider);
        return;
    }
    const CCommandResult result = CCommandManager::GetInstance()->DoGeneral(target, "", slider->getValue());
    DescribeCounts();
    if (! result)
    {
        // The slider goes back to the value the design keeps.
        CReportError::GetInstance()->ReportError(result.GetReason());
        CListenerManager::GetInstance()->Refresh(slider);
    }
    CJuceManager::GetInstance()->Redraw();
}

const std::string& CKWEMJuceArrayInfo::TargetOf(const juce::Slider& slider) const
{
    static const std::string none;
    return &slider == &rangeSlider       ? Tag::Model_DRXR1
           : &slider == &subwooferSlider ? Tag::Model_DRXS1
           : &slider == &pinSlider       ? Tag::SlotPin
                                         : none;
}
