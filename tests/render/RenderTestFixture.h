#pragma once
// Scene 2 written from XML text and drawn into a small picture, with the conversion the
// renderers apply so that probes are placed where an item must land. Every test starts
// with the shared conversion bases at the origin and a fresh scene and SPL manager.

#include "TestSupport.h"

#include "app/CJuceManager.h"
#include "engine/CSPLManager.h"
#include "engine/CSceneManager.h"
#include "render/CRenderManager.h"
#include "render/CRenderer.h"
#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>

class RenderTestFixture : public ::testing::Test
{
protected:
    static constexpr juce::uint32 kBackground = 0xff3c3c3c;

    void SetUp() override { CRenderer::ResetSharedBases(); }

    void TearDown() override
    {
        CSceneManager::DestroyInstance();
        CSPLManager::DestroyInstance();
        CRenderer::ResetSharedBases();
    }

    //==========================================================================
    static std::string Point(double x, double y)
    {
        std::ostringstream s;
        s.precision(17);
        s << "<Point><X>" << x << "</X><Y>" << y << "</Y></Point>";
        return s.str();
    }

    // An item of `kind` with the attribute elements `tags` and the points `points`.
    static std::string Item(const std::string& kind, const std::string& tags, const std::string& points)
    {
        return "<" + kind + "><TagList>" + tags + "</TagList><PointList>" + points + "</PointList></" + kind + ">";
    }

    static std::string Attr(const std::string& name, const std::string& value)
    {
        return "<" + name + ">" + value + "</" + name + ">";
    }

    static std::string Attr(const std::string& name, double value)
    {
        std::ostringstream s;
        s.precision(17);
        s << value;
        return Attr(name, s.str());
    }

    static std::string Colour(const std::string& name, juce::uint32 argb) { return Attr(name, std::to_string((int) argb)); }

    // An Info item placing pixel y = 100 at data y = 0, so that points with a positive y land on
    // the picture.
    static std::string Origin() { return Item(Tag::Info, Attr(Tag::ConvGBaseX, 0.0) + Attr(Tag::ConvGBaseY, -100.0), ""); }

    // Data coordinates of a pixel position after Origin() (scale 0.5, y flipped about 100).
    static std::string PixelPoint(double px, double py) { return Point(2.0 * px, 2.0 * (100.0 - py)); }

    //==========================================================================
    CXmlNode* SetScene(const std::string& items)
    {
        CXmlDocument* doc = CSceneManager::GetInstance()->GetSceneDocument();
        doc->ParseText("<Root><Scene><Slot>2</Slot>" + items + "</Scene></Root>");
        return CSceneManager::GetInstance()->GetScene(2);
    }

    void Draw(const std::string& items)
    {
        SetScene(items);
        Clear();
        CJuceManager::RenderScene(picture);
    }

    void Clear() { picture.clear(picture.getBounds(), juce::Colour(kBackground)); }

    juce::Colour At(int x, int y) const { return picture.getPixelAt(x, y); }

    static bool Near(juce::Colour c, juce::uint32 argb, int tolerance = 8)
    {
        const juce::Colour e(argb);
        return std::abs(c.getRed() - e.getRed()) <= tolerance && std::abs(c.getGreen() - e.getGreen()) <= tolerance
               && std::abs(c.getBlue() - e.getBlue()) <= tolerance;
    }

    static std::string Hex(juce::Colour c) { return c.toDisplayString(false).toStdString(); }

    ScopedTempDirectory run;
    juce::Image picture { juce::Image::RGB, 200, 120, true };
};
