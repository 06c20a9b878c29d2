#include "ui/CMicrophone.h"

#include "app/CFieldMapPicture.h"
#include "app/CJuceManager.h"
#include "engine/CBandModel.h"
#include "ui/CMicrophonePanel.h"
#include "xml/XmlTags.h"

#include <cmath>

// A ring with a cross, centred on the microphone's pixel; clicks go through to the picture.
class CMicrophone::Marker : public juce::Component
{
public:
    static constexpr int kSize = 17;

    Marker()
    {
        setName("MicrophoneMarker");
        setInterceptsMouseClicks(false, false);
    }

    void paint(juce::Graphics& g) override
    {
        const juce::Rectangle<float> ring = getLocalBounds().toFloat().reduced(2.0f);
        g.setColour(juce::Colours::black);
        g.drawEllipse(ring, 4.0f);
        g.setColour(juce::Colours::white);
        g.drawEllipse(ring, 2.0f);
        const float middle = (float) kSize / 2.0f;
        g.drawLine(middle, 0.0f, middle, (float) kSize, 1.5f);
        g.drawLine(0.0f, middle, (float) kSize, middle, 1.5f);
    }
};

CMicrophone::CMicrophone(juce::Viewport& v, CMicrophonePanel& p) : view(v), panel(p), marker(std::make_unique<Marker>())
{
    view.addMouseListener(this, true);
    panel.onClose = [this] { Remove(); };
}

CMicrophone::~CMicrophone()
{
    view.removeMouseListener(this);
    panel.onClose = nullptr;
}

void CMicrophone::mouseDown(const juce::MouseEvent& event)
{
    juce::Component* picture = view.getViewedComponent();
    // Only clicks on the picture itself, not on the view's scroll bars.
    if (picture == nullptr || ! event.mods.isLeftButtonDown()
        || (event.eventComponent != picture && ! picture->isParentOf(event.eventComponent)))
        return;
    const juce::MouseEvent local = event.getEventRelativeTo(picture);
    if (picture->getLocalBounds().contains(local.getPosition()))
        PlaceAtPixel(local.getPosition());
}

void CMicrophone::PlaceAtPixel(juce::Point<int> at)
{
    juce::Component* picture = view.getViewedComponent();
    if (picture == nullptr)
        return;
    pixel = at;
    placed = true;
    picture->addAndMakeVisible(*marker);
    marker->setBounds(at.x - Marker::kSize / 2, at.y - Marker::kSize / 2, Marker::kSize, Marker::kSize);
    panel.setVisible(true);
    panel.toFront(false);
    Update();
}

void CMicrophone::PlaceInView()
{
    PlaceAtPixel(view.getViewArea().getCentre());
}

void CMicrophone::Remove()
{
    placed = false;
    if (juce::Component* parent = marker->getParentComponent())
        parent->removeChildComponent(marker.get());
    panel.setVisible(false);
}

void CMicrophone::Update()
{
    if (! placed)
        return;
    const juce::Image* canvas = CJuceManager::GetInstance()->GetCanvasImage();
    const int width = canvas != nullptr ? canvas->getWidth() : 0;
    const int height = canvas != nullptr ? canvas->getHeight() : 0;
    const CPictureConversion conversion = CFieldMapPicture::VenueConversion(width, height);
    const double x = ((double) pixel.x - conversion.originX) / conversion.scale;
    const double y = (conversion.originY - (double) pixel.y) / conversion.scale;
    const CJuceManager* ui = CJuceManager::GetInstance();
    const juce::String where = "at " + juce::String(ui->ToDisplayLength(Tag::sX, x), 1) + ", "
                               + juce::String(ui->ToDisplayLength(Tag::sY, y), 1) + " "
                               + juce::String(ui->GetDisplayLengthUnit()).toLowerCase();
    panel.Show(CBandModel::FromDesign().Probe(x, y), where.toStdString());
}
