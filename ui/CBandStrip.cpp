#include "ui/CBandStrip.h"

#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "engine/CBandModel.h"
#include "engine/CBandView.h"
#include "engine/CEngineManager.h"
#include "ui/CFieldMapLayer.h"
#include "ui/CMicrophone.h"
#include "ui/CVenueView.h"
#include "xml/XmlTags.h"

namespace
{
// The choices in order: Classic, Band Z, Band A, then every band from 50 to 16k.
std::vector<CBandView> Views()
{
    std::vector<CBandView> views = { CBandView::Classic(), CBandView::BandZ(), CBandView::BandA() };
    for (int n = CBandModel::kFirstBand; n < CBandModel::kFirstBand + CBandModel::kBandCount; ++n)
        views.push_back(CBandView::OneBand(n));
    return views;
}
}

CBandStrip::CBandStrip(CVenueView& view, CMicrophonePanel& microphonePanel)
    : venueView(view), fieldMap(std::make_unique<CFieldMapLayer>([&view] { view.Redraw(); })),
      microphone(std::make_unique<CMicrophone>(view, microphonePanel))
{
    setName("BandStrip");
    viewChoice.setName("ViewChoice");
    viewChoice.setTooltip("What colours the surfaces, the field map and the SPL scale");
    int id = 1;
    for (const CBandView& view : Views())
        viewChoice.addItem(view.ToString(), id++);
    viewChoice.onChange = [this] {
        const std::string text = viewChoice.getText().toStdString();
        if (text != CEngineManager::GetView().ToString())
            CCommandManager::GetInstance()->DoGeneral(Tag::View, text, 0.0);
    };
    addAndMakeVisible(viewChoice);

    mapSwitch.setName("FieldMapSwitch");
    mapSwitch.setButtonText("Map");
    mapSwitch.setTooltip("Show the field map under the venue");
    mapSwitch.setColour(juce::ToggleButton::textColourId, juce::Colours::white);
    mapSwitch.setColour(juce::ToggleButton::tickColourId, juce::Colours::white);
    mapSwitch.onClick = [this] {
        if (mapSwitch.getToggleState() != CEngineManager::IsFieldMapShown())
            CCommandManager::GetInstance()->DoGeneral(Tag::FieldMap, "", mapSwitch.getToggleState() ? 1.0 : 0.0);
    };
    addAndMakeVisible(mapSwitch);

    microphoneButton.setName("MicrophoneButton");
    microphoneButton.setButtonText("Mic");
    microphoneButton.setTooltip("Place a virtual microphone in the middle of the view (or click the venue picture)");
    microphoneButton.onClick = [this] {
        if (microphone->IsPlaced())
            microphone->Remove();
        else
            microphone->PlaceInView();
    };
    addAndMakeVisible(microphoneButton);

    venueView.SetUnderlay([this](juce::Image& picture, const CVenuePicture::Placement& placement) {
        fieldMap->Draw(picture, placement);
        const int width = venueView.getWidth();
        microphone->PictureDrawn(placement, width > 0 ? (double) picture.getWidth() / width : 1.0);
    });
    CJuceManager::GetInstance()->SetRedrawListener([this] { Refresh(); });
    Refresh();
}

CBandStrip::~CBandStrip()
{
    CJuceManager::GetInstance()->SetRedrawListener(nullptr);
    venueView.SetUnderlay(nullptr);
}

void CBandStrip::paint(juce::Graphics& g)
{
    // Readable over any picture or field map.
    g.setColour(juce::Colour(0xff3c3c3cu));
    g.fillRoundedRectangle(getLocalBounds().toFloat(), 3.0f);
}

void CBandStrip::resized()
{
    viewChoice.setBounds(0, 0, 92, getHeight());
    mapSwitch.setBounds(96, 0, 56, getHeight());
    microphoneButton.setBounds(154, 0, getWidth() - 154, getHeight());
}

void CBandStrip::Refresh()
{
    const std::string view = CEngineManager::GetView().ToString();
    for (int i = 0; i < viewChoice.getNumItems(); ++i)
        if (viewChoice.getItemText(i).toStdString() == view)
            viewChoice.setSelectedItemIndex(i, juce::dontSendNotification);
    mapSwitch.setToggleState(CEngineManager::IsFieldMapShown(), juce::dontSendNotification);
    fieldMap->Update();
    microphone->Update();
}
