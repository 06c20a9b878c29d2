#include "ui/CKWEMJuceModule.h"

#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "app/CListenerManager.h"
#include "base/CReportError.h"
#include "base/NumberText.h"
#include "engine/CBandModel.h"
#include "engine/CCommandTable.h"
#include "engine/CEngineManager.h"
#include "ui/BindingRefresh.h"
#include "ui/PanelLabels.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

namespace
{
const std::string kDefaultSwitchName = "HF via toggle";
const juce::Colour kSeparatorColour(0xff464646);
} // namespace

CKWEMJuceModule::CKWEMJuceModule()
{
    const juce::Font small(12.0f, juce::Font::plain);

    addAndMakeVisible(distanceValue);
    SetUpCaption(distanceValue, juce::Font(13.0f, juce::Font::plain));
    distanceValue.setText("0.0", juce::dontSendNotification);
    distanceValue.setColour(juce::Label::textColourId, juce::Colour(0xff008000));

    addAndMakeVisible(operatingMode);
    SetUpCaption(operatingMode, small);
    operatingMode.setText("Operating Mode", juce::dontSendNotification);

    addAndMakeVisible(hfShading);
    SetUpCaption(hfShading, small);
    hfShading.setText("HF Shading", juce::dontSendNotification);

    addAndMakeVisible(distanceCaption);
    SetUpCaption(distanceCaption, juce::Font(10.0f, juce::Font::plain));
    distanceCaption.setText("Listening Distance", juce::dontSendNotification);
    distanceCaption.setTooltip("Distance between speaker front and listening area");

    addAndMakeVisible(title);
    SetUpCaption(title, juce::Font(15.0f, juce::Font::plain));

    addAndMakeVisible(model);
    SetUpCaption(model, small);

    addAndMakeVisible(switchName);
    SetUpCaption(switchName, small);
    switchName.setText(kDefaultSwitchName, juce::dontSendNotification);
    switchName.setColour(juce::Label::textColourId, juce::Colour(0xffc80fa1));
    switchName.setTooltip("Where the HF shading is set: by the module's toggle switch in S-Amp mode, by the "
                          "amplifier's DSP in Bi-Amp mode");

    for (juce::Label* label : { &distanceValue, &operatingMode, &hfShading, &distanceCaption, &title, &model, &switchName })
    {
        label->setName("new label");
        // The captions were laid out for a narrower font than the desktop's: squeeze, don't elide.
        label->setMinimumHorizontalScale(0.5f);
    }
    model.setBorderSize(juce::BorderSize<int>(1, 2, 1, 1));

    const int top = juce::Button::ConnectedOnTop;
    const int bottom = juce::Button::ConnectedOnBottom;
    SetUpToggle(biAmp, "1", "Bi-Amp", "Bi-Amp mode: the amplifier's DSP sets the HF shading", bottom, 1);
    SetUpToggle(singleAmp, "2", "S-Amp", "Single amp mode: the module's HF toggle switch sets the HF shading", top,
                1);
    SetUpToggle(multi, "1", "Multi", "use Multi-mode", bottom, 2);
    SetUpToggle(single, "2", "Single", "use Single mode", top, 2);
    SetUpToggle(longMode, "3", "Long", "Use Long mode", top, 2);
    singleAmp.setToggleState(true, juce::dontSendNotification);
    multi.setToggleState(true, juce::dontSendNotification);

    SetUpProcessingSlider(delay, Tag::Delay, 0.0, CBandModel::kMaxDelayMs, 0.01, " ms",
                          "Delay of this loudspeaker (0 to 100 ms)");
    SetUpProcessingSlider(gain, Tag::Gain, CBandModel::kMinGainDB, CBandModel::kMaxGainDB, 0.1, " dB",
                          "Gain of this loudspeaker (-40 to +10 dB)");
    addAndMakeVisible(invert);
    invert.setButtonText("Inv");
    invert.setTooltip("Invert the polarity of this loudspeaker");
    invert.onClick = [this] { SendProcessing(Tag::Polarity, invert.getToggleState() ? 1.0 : 0.0); };

    setSize(kWidth, kHeight);
    setLookAndFeel(CJuceManager::GetInstance()->GetLookAndFeel(1));
}

CKWEMJuceModule::~CKWEMJuceModule()
{
    UnbindAll();
    setLookAndFeel(nullptr);
}

void CKWEMJuceModule::SetUpToggle(juce::ToggleButton& toggle, const char* switchNumber, const char* text,
                                  const char* tooltip, int edges, int group)
{
    addAndMakeVisible(toggle);
    toggle.setName(switchNumber);
    toggle.setButtonText(text);
    toggle.setTooltip(tooltip);
    toggle.setConnectedEdges(edges);
    toggle.setRadioGroupId(group);
    toggle.addListener(this);
}

void CKWEMJuceModule::SetUpProcessingSlider(CCheckedSlider& slider, const std::string& target, double low, double high,
                                            double step, const char* suffix, const char* tooltip)
{
    addAndMakeVisible(slider);
    slider.setSliderStyle(juce::Slider::LinearBar);
    slider.setRange(low, high, step);
    slider.setTextValueSuffix(suffix);
    slider.setTooltip(tooltip);
    // One command when the drag ends, not one per pixel.
    slider.setChangeNotificationOnlyOnRelease(true);
    slider.checkTyped = [this, target](const std::string& typed) {
        CCommand command;
        command.target = target;
        command.text = std::to_string(positionNumber);
        const CCommandResult checked = CCommandTable::CheckTyped(command, typed);
        return checked ? std::string() : checked.GetReason();
    };
    slider.onValueChange = [this, &slider, target] { SendProcessing(target, slider.getValue()); };
}

void CKWEMJuceModule::ShowProcessing()
{
    CXmlNode* processing = CEngineManager::GetInstance()
                               ->ResolvePath(Tag::Array + ".1." + Tag::CabProd + "." + std::to_string(positionNumber))
                               ->FindChild(Tag::Processing);
    delay.setValue(processing->FindChild(Tag::Delay)->GetDouble(0.0), juce::dontSendNotification);
    invert.setToggleState(processing->FindChild(Tag::Polarity)->GetInt(0) == 1, juce::dontSendNotification);
    gain.setValue(processing->FindChild(Tag::Gain)->GetDouble(0.0), juce::dontSendNotification);
}

void CKWEMJuceModule::SendProcessing(const std::string& target, double value)
{
    const CCommandResult result = CCommandManager::GetInstance()->DoGeneral(target, std::to_string(positionNumber), value);
    if (! result)
        CReportError::GetInstance()->ReportError(result.GetReason());
    ShowProcessing();
    CJuceManager::GetInstance()->Redraw();
}

void CKWEMJuceModule::UnbindAll()
{
    // At shutdown the listener manager may be gone before the panels.
    if (! CListenerManager::HasInstance())
        return;
    CListenerManager* listeners = CListenerManager::GetInstance();
    for (juce::Component* control : std::initializer_list<juce::Component*> {
             &distanceValue, &switchName, &biAmp, &singleAmp, &multi, &single, &longMode })
        listeners->Unregister(control);
}

//==============================================================================
void CKWEMJuceModule::Refresh(int newPositionNumber, int newIndex, const std::string& modelName, int newKind)
{
    kind = newKind;
    index = newIndex;
    positionNumber = newPositionNumber;

    std::string number;
    IntToString(number, positionNumber);
    // Modules go by their position, as everywhere else; the model beside it says what it is.
    if (kind == CJuceManager::kModuleFlybar)
        title.setText("Flybar ", juce::sendNotification);
    else
        title.setText("Module " + number, juce::sendNotification);
    setSize(kWidth, kind == CJuceManager::kModuleFlybar ? kFlybarHeight : kHeight);
    model.setText(modelName, juce::sendNotification);

    std::string position;
    IntToString(position, positionNumber);
    const std::string path = Tag::Array + ".1." + Tag::CabProd + "." + position;
    CListenerManager* listeners = CListenerManager::GetInstance();
    const bool fullRange = kind == CJuceManager::kModuleFullRange;
    if (fullRange)
        listeners->RegisterByPath(&distanceValue, path, Tag::AimDist, Tag::VLabelDouble12, "");
    else
        listeners->Unregister(&distanceValue);

    for (juce::Component* c : std::initializer_list<juce::Component*> {
             &distanceValue, &operatingMode, &hfShading, &distanceCaption, &switchName, &biAmp, &singleAmp, &multi,
             &single, &longMode })
        c->setVisible(fullRange);
    const bool radiating = fullRange || kind == CJuceManager::kModuleSubwoofer;
    for (juce::Component* c : std::initializer_list<juce::Component*> { &delay, &invert, &gain })
        c->setVisible(radiating);
    if (radiating)
        ShowProcessing();

    // The path lookup drops the letters after the position number: the switches live
    // directly under the product element.
    const std::string switches = path + Tag::Settings;
    CXmlNode* product = CEngineManager::GetInstance()->ResolvePath(switches);
    product->GetChild(Tag::Switch1)->GetChild(Tag::Value);
    product->GetChild(Tag::Switch2)->GetChild(Tag::Value);
    product->GetChild(Tag::Switch2Name)->GetChild(Tag::Value)->GetString(kDefaultSwitchName);

    // A switch without a value works as S-Amp and Multi, and shows so.
    listeners->RegisterByPath(&biAmp, switches, Tag::Switch1, Tag::VToggleButton, "1");
    listeners->RegisterByPath(&singleAmp, switches, Tag::Switch1, Tag::VToggleButton, "!1");
    listeners->RegisterByPath(&multi, switches, Tag::Switch2, Tag::VToggleButton, "!2|3");
    listeners->RegisterByPath(&single, switches, Tag::Switch2, Tag::VToggleButton, "2");
    listeners->RegisterByPath(&longMode, switches, Tag::Switch2, Tag::VToggleButton, "3");
    listeners->RegisterByPath(&switchName, switches, Tag::Switch2Name, Tag::VLabelText, "HF via DSP");
}

//==============================================================================
void CKWEMJuceModule::paint(juce::Graphics& g)
{
    g.setColour(kSeparatorColour);
    g.fillPath(separator);
}

void CKWEMJuceModule::resized()
{
    distanceValue.setBounds(80, 66, 38, 16);
    operatingMode.setBounds(-1, 9, 64, 23);
    hfShading.setBounds(68, 11, 64, 19);
    distanceCaption.setBounds(2, 67, 82, 16);
    title.setBounds(-1, -5, 89, 24);
    // Clear of the column's scroll bar, which covers the panel's last 7 pixels.
    model.setBounds(86, -5, 46, 24);
    switchName.setBounds(0, 55, 72, 19);
    biAmp.setBounds(5, 23, 71, 20);
    singleAmp.setBounds(5, 40, 63, 20);
    multi.setBounds(69, 23, 55, 20);
    single.setBounds(69, 39, 63, 20);
    longMode.setBounds(69, 53, 63, 20);
    delay.setBounds(3, 83, 54, 17);
    invert.setBounds(58, 82, 36, 20);
    gain.setBounds(94, 83, 38, 17);

    separator.clear();
    separator.addRectangle(8.0f, 101.0f, 120.0f, 1.0f);
}

void CKWEMJuceModule::buttonClicked(juce::Button* button)
{
    // A state written by the binding shows the document; sending it back would be an edit
    // nobody made (and "Switch1" would overwrite every module with one module's mode).
    if (IsBindingRefresh(*button))
    {
        EndBindingRefresh(*button);
        return;
    }
    // A user's click always turns a radio toggle on; an "off" is its partner switched off
    // by the group, which sends nothing.
    if (! button->getToggleState())
        return;

    const bool shading = button == &multi || button == &single || button == &longMode;
    int switchNumber = 0;
    StringToInt(button->getName().toStdString(), switchNumber);
    std::string module;
    IntToString(module, positionNumber);
    CCommandManager::GetInstance()->DoGeneral(shading ? Tag::Switch2 : Tag::Switch1, module, 2.0 * switchNumber + 1.0);
    CJuceManager::GetInstance()->Redraw();
}

void CKWEMJuceModule::buttonStateChanged(juce::Button* button)
{
    // A button goes down (under the mouse, or flashed by a key) before every click the user
    // makes, never inside a binding's write: whatever a refresh left in the property, the
    // click that follows is the user's.
    if (button->isDown())
        EndBindingRefresh(*button);
}
