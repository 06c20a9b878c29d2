#include "ui/CVenueView.h"

#include "app/CJuceManager.h"
#include "engine/CEngineManager.h"
#include "engine/CSceneManager.h"
#include "render/CVenuePicture.h"

#include <cmath>

namespace
{
constexpr int kButtonHeight = 20;
constexpr int kButtonGap = 4;
// The top row the window's title, the view strip and the zoom buttons sit in.
constexpr float kTopRowHeight = 26.0f;
}

CVenueView::CVenueView()
{
    setName("VenueView");
    // A click on the picture takes the keyboard, so that Escape there reaches the window.
    setWantsKeyboardFocus(true);
    fitButton.setTooltip("Show the whole venue, the array and where its aim lines land");
    zoomOutButton.setTooltip("Zoom out (or turn the mouse wheel)");
    zoomInButton.setTooltip("Zoom in (or turn the mouse wheel); drag the picture to move it");
    classicButton.setTooltip("Show the picture at 6 pixels per foot");
    zoomOutButton.setConnectedEdges(juce::Button::ConnectedOnRight);
    zoomInButton.setConnectedEdges(juce::Button::ConnectedOnLeft);
    for (juce::TextButton* b : { &fitButton, &zoomOutButton, &zoomInButton, &classicButton })
    {
        b->addListener(this);
        addAndMakeVisible(*b);
    }
    setMouseCursor(juce::MouseCursor::DraggingHandCursor);
}

CVenueView::~CVenueView()
{
    for (juce::TextButton* b : { &fitButton, &zoomOutButton, &zoomInButton, &classicButton })
        b->removeListener(this);
}

float CVenueView::PixelScale() const
{
    // The interface size times the screen's own scale (a HiDPI display's).
    float scale = juce::Desktop::getInstance().getGlobalScaleFactor();
    if (const juce::ComponentPeer* peer = getPeer())
        scale *= (float) peer->getPlatformScaleFactor();
    return juce::jlimit(1.0f, 4.0f, scale);
}

void CVenueView::Redraw()
{
    if (getWidth() <= 0 || getHeight() <= 0)
        return;
    const float scale = PixelScale();
    const int width = juce::roundToInt(getWidth() * scale);
    const int height = juce::roundToInt(getHeight() * scale);
    if (picture.getWidth() != width || picture.getHeight() != height)
        picture = juce::Image(juce::Image::RGB, width, height, true);

    CVenuePicture::Options options = PictureOptions();
    options.framing = CVenuePicture::Framing::Given;
    options.view = fitted ? CVenuePicture::FitView(options.scene, width, height, CVenuePicture::kFitMargin * scale)
                          : CRenderView { view.zoom * scale, view.x * scale, view.y * scale };
    options.underlay = underlay;
    options.outlineSurfaces = CEngineManager::IsFieldMapShown();
    const CRenderView drawn = CVenuePicture::Draw(picture, options);
    view = { drawn.zoom / scale, drawn.x / scale, drawn.y / scale };
    repaint();
}

CVenuePicture::Options CVenueView::PictureOptions() const
{
    const float scale = PixelScale();
    CVenuePicture::Options options = CJuceManager::GetInstance()->AnnotatedPicture();
    options.textScale = scale;
    options.keepClear.push_back(juce::Rectangle<float>(0.0f, 0.0f, (float) getWidth() * scale, kTopRowHeight * scale));
    return options;
}

void CVenueView::ShowWhole()
{
    fitted = true;
    Redraw();
}

void CVenueView::ShowClassic()
{
    // The classic scale, about the middle of the whole venue.
    const CRenderView whole = CVenuePicture::FitView(CSceneManager::GetInstance()->GetScene(2), getWidth(), getHeight());
    const juce::Point<float> centre = getLocalBounds().toFloat().getCentre();
    fitted = false;
    view = whole.ZoomedAbout(1.0 / whole.zoom, centre.x, centre.y);
    Redraw();
}

void CVenueView::ZoomBy(double factor)
{
    ZoomBy(factor, getLocalBounds().toFloat().getCentre());
}

void CVenueView::ZoomBy(double factor, juce::Point<float> about)
{
    fitted = false;
    view = view.ZoomedAbout(factor, about.x, about.y);
    Redraw();
}

void CVenueView::PanBy(juce::Point<float> delta)
{
    fitted = false;
    view.x += delta.x;
    view.y += delta.y;
    Redraw();
}

//==============================================================================
void CVenueView::paint(juce::Graphics& g)
{
    if (picture.isValid())
        g.drawImage(picture, getLocalBounds().toFloat());
}

void CVenueView::resized()
{
    // Top right, clear of the "Venue View" caption at the top left.
    int x = getWidth() - kButtonGap;
    const auto place = [&x](juce::TextButton& b, int width) {
        x -= width;
        b.setBounds(x, kButtonGap, width, kButtonHeight);
    };
    place(classicButton, 30);
    x -= kButtonGap;
    place(zoomInButton, 22);
    place(zoomOutButton, 22);
    x -= kButtonGap;
    place(fitButton, 30);
    Redraw();
}

void CVenueView::buttonClicked(juce::Button* button)
{
    if (button == &fitButton)
        ShowWhole();
    else if (button == &zoomInButton)
        ZoomBy(kZoomStep);
    else if (button == &zoomOutButton)
        ZoomBy(1.0 / kZoomStep);
    else if (button == &classicButton)
        ShowClassic();
}

void CVenueView::mouseDown(const juce::MouseEvent&)
{
    dragStart = view;
}

void CVenueView::mouseDrag(const juce::MouseEvent& e)
{
    fitted = false;
    view.x = dragStart.x + e.getDistanceFromDragStartX();
    view.y = dragStart.y + e.getDistanceFromDragStartY();
    Redraw();
}

void CVenueView::mouseDoubleClick(const juce::MouseEvent&)
{
    ShowWhole();
}

void CVenueView::mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel)
{
    const float delta = std::abs(wheel.deltaY) >= std::abs(wheel.deltaX) ? wheel.deltaY : wheel.deltaX;
    if (delta == 0.0f)
        return;
    // A notch of a wheel gives a delta of about 0.1 to 0.25 depending on the system.
    ZoomBy(std::pow(kZoomStep, juce::jlimit(-4.0, 4.0, delta / 0.15 * (wheel.isReversed ? -1.0 : 1.0))),
           e.position);
}
