#include "ui/CKWEMJuceArrayInfo.h"

#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "app/CListenerManager.h"
#include "engine/CEngineManager.h"
#include "ui/BindingRefresh.h"
#include "ui/CPinSuggestionPanel.h"
#include "ui/PanelLabels.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"


namespace
{
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

    addAndMakeVisible(groundToggle);
    groundToggle.setButtonText("Ground Stack");
    groundToggle.setConnectedEdges(juce::Button::ConnectedOnLeft);
    groundToggle.setRadioGroupId(30);
    groundToggle.addListener(this);

    addAndMakeVisible(rangeSlider);
    rangeSlider.setTooltip("Change number of Range Modules");
    SetUpCountSlider(rangeSlider, 0.0, 6.0, this);
    addAndMakeVisible(subwooferSlider);
    subwooferSlider.setTooltip("Change number of Sub Woofers");
    SetUpCountSlider(subwooferSlider, 0.0, 6.0, this);
    addAndMakeVisible(pinSlider);
    SetUpCountSlider(pinSlider, 1.0, 8.0, this);

    const juce::Font small(12.0f, juce::Font::plain);
    for (juce::Label* caption : { &rangeCaption, &subwooferCaption, &pinCaption, &angleCaption, &limitCaption })
    {
        addAndMakeVisible(*caption);
        SetUpCaption(*caption, small);
    }
    pinCaption.setTooltip("Change Pin Position");

    addAndMakeVisible(angleEditor);
    angleEditor.setMultiLine(false);
    angleEditor.setReturnKeyStartsNewLine(false);
    angleEditor.setReadOnly(true);
    angleEditor.setScrollbarsShown(true);
    angleEditor.setCaretVisible(true);
    angleEditor.setPopupMenuEnabled(true);
    angleEditor.setColour(juce::TextEditor::shadowColourId, juce::Colour(0xb2808080u));
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
}

void CKWEMJuceArrayInfo::sliderValueChanged(juce::Slider* slider)
{
    const std::string* target = slider == &rangeSlider       ? &Tag::Model_DRXR1
                                : slider == &subwooferSlider ? &Tag::Model_DRXS1
                                : slider == &pinSlider       ? &Tag::SlotPin
                                                             : nullptr;
    if (target == nullptr)
        return;

    // A binding writes the document's value into the slider with a change message; sending
    // that back would run the engine again from inside the command that changed it.
    const bool fromBinding = IsBindingRefresh(*slider);
    EndBindingRefresh(*slider);
    if (fromBinding)
        return;

    CCommandManager::GetInstance()->DoGeneral(*target, "", slider->getValue());
    CJuceManager::GetInstance()->Redraw();
}
