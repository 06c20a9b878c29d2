#include "ui/CMicrophone.h"

#include "app/CCommandManager.h"
#include "app/CJuceManager.h"
#include "engine/CBandModel.h"
#include "engine/CSubAlignment.h"
#include "ui/CMicrophonePanel.h"
#include "ui/CVenueView.h"
#include "xml/XmlTags.h"

#include <cmath>

// A ring with a cross, centred on the microphone's point; clicks go through to the picture.
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

CMicrophone::CMicrophone(CVenueView& v, CMicrophonePanel& p) : view(v), panel(p), marker(std::make_unique<Marker>())
{
    view.addMouseListener(this, false);
    panel.onClose = [this] { Remove(); };
    panel.onAlign = [this] { ShowAlignment(); };
    panel.onApplyAlignment = [this] { ApplyAlignment(); };
}

CMicrophone::~CMicrophone()
{
    view.removeMouseListener(this);
    panel.onClose = nullptr;
    panel.onAlign = nullptr;
    panel.onApplyAlignment = nullptr;
}

void CMicrophone::PictureDrawn(const CVenuePicture::Placement& drawn, double pixelScale)
{
    placement.scale = drawn.scale / pixelScale;
    placement.originX = drawn.originX / pixelScale;
    placement.originY = drawn.originY / pixelScale;
    if (placed)
        PlaceMarker();
}

void CMicrophone::mouseUp(const juce::MouseEvent& event)
{
    // A left click on the picture itself: not a drag (a pan), not one of the view's buttons.
    if (event.eventComponent == &view && event.mods.isLeftButtonDown() && event.mouseWasClicked()
        && view.getLocalBounds().toFloat().contains(event.position))
        PlaceAtPixel(event.position);
}

void CMicrophone::PlaceAtPixel(juce::Point<float> pixel)
{
    PlaceAt(placement.VenueX(pixel.x), placement.VenueY(pixel.y));
}

void CMicrophone::PlaceAt(double xInches, double yInches)
{
    if (! std::isfinite(xInches) || ! std::isfinite(yInches))
        return;
    x = xInches;
    y = yInches;
    placed = true;
    view.addAndMakeVisible(*marker);
    PlaceMarker();
    panel.setVisible(true);
    panel.toFront(false);
    Update();
}

void CMicrophone::PlaceInView()
{
    PlaceAtPixel(view.getLocalBounds().toFloat().getCentre());
}

void CMicrophone::Remove()
{
    placed = false;
    panel.EndAlignment();
    if (juce::Component* parent = marker->getParentComponent())
        parent->removeChildComponent(marker.get());
    panel.setVisible(false);
}

juce::Point<float> CMicrophone::GetPixel() const
{
    return { (float) placement.PixelX(x), (float) placement.PixelY(y) };
}

void CMicrophone::PlaceMarker()
{
    const juce::Point<int> at = GetPixel().roundToInt();
    marker->setBounds(at.x - Marker::kSize / 2, at.y - Marker::kSize / 2, Marker::kSize, Marker::kSize);
}

void CMicrophone::Update()
{
    if (! placed)
        return;
    const CJuceManager* ui = CJuceManager::GetInstance();
    const juce::String where = "at " + juce::String(ui->ToDisplayLength(Tag::sX, x), 1) + ", "
                               + juce::String(ui->ToDisplayLength(Tag::sY, y), 1) + " "
                               + juce::String(ui->GetDisplayLengthUnit()).toLowerCase();
    panel.Show(CBandModel::FromDesign().Probe(x, y), where.toStdString());
    // A shown alignment follows the design as the spectrum does.
    if (panel.IsShowingAlignment())
        ShowAlignment();
}

void CMicrophone::ShowAlignment()
{
    if (! placed)
        return;
    const CBandModel model = CBandModel::FromDesign();
    const CSubAlignment alignment = CSubAlignment::InModel(model, x, y);
    panel.ShowAlignment(alignment, alignment.found ? CSubAlignment::AlignedProbe(model, alignment)
                                                   : CBandModel::ProbeResult {});
}

void CMicrophone::ApplyAlignment()
{
    const CSubAlignment alignment = panel.GetAlignment();
    panel.EndAlignment();
    if (alignment.found && CCommandManager::GetInstance()->Do(CSubAlignment::Command(alignment)))
    {
        applied = alignment;
        CJuceManager::GetInstance()->Redraw();
    }
}
