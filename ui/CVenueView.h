#pragma once
// The venue view: the venue picture drawn at the view's own size. It opens showing the
// whole venue with the array and its aim-line hits (Fit) and keeps doing so across edits
// until the user zooms (wheel or buttons) or pans (dragging); 1:1 shows the venue at the
// classic picture's 6 pixels per foot, about its middle. A light grid gives distances in the display units and
// every surface carries its name. Owned by the main window; GUI message thread only.

#include "render/CRenderView.h"
#include "render/CVenuePicture.h"

#include <juce_gui_basics/juce_gui_basics.h>

class CVenueView : public juce::Component, private juce::Button::Listener
{
public:
    // One press of a zoom button; the wheel zooms by this for about one notch.
    static constexpr double kZoomStep = 1.25;

    CVenueView();
    ~CVenueView() override;

    // Draws the picture again from the current scene and units.
    void Redraw();
    // How the view draws its picture: annotated, at device pixels, the grid's numbers clear
    // of the top row (the title, the view strip and the zoom buttons sit there). The
    // framing and the underlay are the caller's.
    CVenuePicture::Options PictureOptions() const;
    // Drawn under the grid and the scene of every picture (the field map; null: none).
    void SetUnderlay(CVenuePicture::Underlay newUnderlay) { underlay = std::move(newUnderlay); }

    // Fit follows the design; any zoom or pan leaves it.
    void ShowWhole();
    void ShowClassic();
    void ZoomBy(double factor);
    void ZoomBy(double factor, juce::Point<float> about);
    void PanBy(juce::Point<float> delta);

    bool IsFitted() const { return fitted; }
    // In view pixels (the component's own coordinates).
    const CRenderView& GetView() const { return view; }
    // The picture as last drawn, at device pixels.
    const juce::Image& GetPicture() const { return picture; }

    juce::TextButton& GetFitButton() { return fitButton; }
    juce::TextButton& GetZoomInButton() { return zoomInButton; }
    juce::TextButton& GetZoomOutButton() { return zoomOutButton; }
    juce::TextButton& GetClassicButton() { return classicButton; }

    void paint(juce::Graphics& g) override;
    void resized() override;
    void mouseDown(const juce::MouseEvent& e) override;
    void mouseDrag(const juce::MouseEvent& e) override;
    void mouseDoubleClick(const juce::MouseEvent& e) override;
    void mouseWheelMove(const juce::MouseEvent& e, const juce::MouseWheelDetails& wheel) override;

private:
    void buttonClicked(juce::Button* button) override;
    // Device pixels per view pixel.
    float PixelScale() const;

    CRenderView view;
    bool fitted = true;
    CRenderView dragStart;
    juce::Image picture;
    CVenuePicture::Underlay underlay;
    juce::TextButton fitButton { "Fit" };
    juce::TextButton zoomOutButton { "-" };
    juce::TextButton zoomInButton { "+" };
    juce::TextButton classicButton { "1:1" };

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(CVenueView)
};
