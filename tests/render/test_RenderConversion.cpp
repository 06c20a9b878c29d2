#include "render/RenderTestFixture.h"

#include "render/CRendererInfo.h"

#include <stdexcept>

namespace
{
class RenderConversionTest : public RenderTestFixture
{
protected:
    // The first point of `item` as the renderers convert it, after the item's bases.
    juce::Point<float> Converted(const std::string& item)
    {
        doc.ParseText("<Root>" + item + "</Root>");
        CXmlNode* node = doc.GetRoot("Root")->FindChild("");
        info.Act(node);
        float x = 0.0f, y = 0.0f;
        EXPECT_TRUE(info.NextPoint(x, y));
        return { x, y };
    }

    CXmlDocument doc;
    CRendererInfo info;
};
}

TEST_F(RenderConversionTest, HalfScaleThenTranslationThenFlippedY)
{
    EXPECT_EQ(Converted(Item(Tag::Line, "", Point(100.0, 40.0))), juce::Point<float>(50.0f, -20.0f));

    // The item's own base adds to the shared ones and is not kept.
    EXPECT_EQ(Converted(Item(Tag::Line, Attr(Tag::ConvBaseX, 10.0) + Attr(Tag::ConvBaseY, -50.0), Point(100.0, 40.0))),
              juce::Point<float>(60.0f, 30.0f));
    EXPECT_EQ(Converted(Item(Tag::Line, "", Point(100.0, 40.0))), juce::Point<float>(50.0f, -20.0f));

    // Scale and flip attributes are read but change nothing.
    EXPECT_EQ(Converted(Item(Tag::Line, Attr(Tag::ConvScaleX, 2.0) + Attr(Tag::ConvScaleY, 3.0) + Attr(Tag::ConvFlipY, 1.0),
                             Point(100.0, 40.0))),
              juce::Point<float>(50.0f, -20.0f));
}

TEST_F(RenderConversionTest, GlobalAndLocalBasesAreSharedUntilSetAgain)
{
    Converted(Item(Tag::Info, Attr(Tag::ConvGBaseX, 300.0) + Attr(Tag::ConvGBaseY, -500.0), Point(0.0, 0.0)));
    EXPECT_EQ(Converted(Item(Tag::Circle, "", Point(100.0, 400.0))), juce::Point<float>(350.0f, 300.0f));

    // A local base adds to the global one; only the X child decides whether a base is read.
    Converted(Item(Tag::Info, Attr(Tag::ConvLBaseX, 20.0) + Attr(Tag::ConvLBaseY, 10.0), Point(0.0, 0.0)));
    EXPECT_EQ(Converted(Item(Tag::Line, "", Point(100.0, 400.0))), juce::Point<float>(370.0f, 290.0f));
    Converted(Item(Tag::Info, Attr(Tag::ConvLBaseY, 99.0), Point(0.0, 0.0)));
    EXPECT_EQ(CRenderer::GetLocalBase().y, 10.0);
    // With only the X child, the Y base keeps its value.
    Converted(Item(Tag::Info, Attr(Tag::ConvGBaseX, 0.0), Point(0.0, 0.0)));
    EXPECT_EQ(CRenderer::GetGlobalBase().x, 0.0);
    EXPECT_EQ(CRenderer::GetGlobalBase().y, -500.0);
}

TEST_F(RenderConversionTest, ABaseWithoutANumberIsTheOrigin)
{
    // The venue's local base is written without a value; it must not inherit the array's.
    Converted(Item(Tag::Info, Attr(Tag::ConvLBaseX, 111.0) + Attr(Tag::ConvLBaseY, 141.0), Point(0.0, 0.0)));
    Converted(Item(Tag::Info, "<" + Tag::ConvLBaseX + "/><" + Tag::ConvLBaseY + "/>", Point(0.0, 0.0)));
    EXPECT_EQ(CRenderer::GetLocalBase().x, 0.0);
    EXPECT_EQ(CRenderer::GetLocalBase().y, 0.0);

    Converted(Item(Tag::Info, Attr(Tag::ConvLBaseX, 111.0) + Attr(Tag::ConvLBaseY, 141.0), Point(0.0, 0.0)));
    CXmlDocument built;
    CXmlNode* item = built.GetRoot("Root")->AddChild(Tag::Info);
    item->GetChild(Tag::TagList)->GetChild(Tag::ConvLBaseX);
    item->GetChild(Tag::TagList)->GetChild(Tag::ConvLBaseY);
    info.Act(item);
    EXPECT_EQ(CRenderer::GetLocalBase().x, 0.0);
    EXPECT_EQ(CRenderer::GetLocalBase().y, 0.0);
}

TEST_F(RenderConversionTest, SharedBasesSurviveADrawingPass)
{
    picture = juce::Image(juce::Image::RGB, 400, 400, true);
    const std::string dot = Item(Tag::Circle, Attr(Tag::Radius, 3.0) + Colour(Tag::ColorFill, 0xffff0000), Point(101.0, 399.0));
    Draw(Item(Tag::Info, Attr(Tag::ConvGBaseX, 300.0) + Attr(Tag::ConvGBaseY, -500.0), "") + dot);
    EXPECT_TRUE(Near(At(350, 300), 0xffff0000)) << Hex(At(350, 300));

    Draw(dot);
    EXPECT_TRUE(Near(At(350, 300), 0xffff0000)) << "second pass, no Info item: " << Hex(At(350, 300));
}

TEST_F(RenderConversionTest, ColoursAreSigned32BitIntegers)
{
    doc.ParseText("<Root>" + Item(Tag::Line, Attr(Tag::ColorLine, "-65536") + Attr(Tag::ColorFill, "4294901760"), "")
                  + "</Root>");
    info.Act(doc.GetRoot("Root")->FindChild(Tag::Line));
    int colour = 0;
    EXPECT_TRUE(info.GetAttrColour(Tag::ColorLine, 0, colour));
    EXPECT_EQ((juce::uint32) colour, 0xffff0000u);
    EXPECT_THROW(info.GetAttrColour(Tag::ColorFill, 0, colour), std::runtime_error);
    EXPECT_FALSE(info.GetAttrColour(Tag::GradientColorEnd, 7, colour));
    EXPECT_EQ(colour, 7);
}

TEST_F(RenderConversionTest, AttributesGivenByCode)
{
    CRendererInfo codeDrawn;
    codeDrawn.SetAttrNumber(Tag::LineWidth, 24.0f);
    codeDrawn.SetAttrColour(Tag::ColorLine, (int) 0xff00ff00u);
    codeDrawn.SetAttrText(Tag::TextureFill, "tile");

    int i = 0;
    float f = 0.0f;
    double d = 0.0;
    std::string t;
    EXPECT_TRUE(codeDrawn.GetAttrInt(Tag::LineWidth, 1, i));
    EXPECT_EQ(i, 24);
    EXPECT_TRUE(codeDrawn.GetAttrFloat(Tag::LineWidth, 1.0f, f));
    EXPECT_EQ(f, 24.0f);
    EXPECT_TRUE(codeDrawn.GetAttrDouble(Tag::LineWidth, 1.0, d));
    EXPECT_EQ(d, 24.0);
    EXPECT_TRUE(codeDrawn.GetAttrColour(Tag::ColorLine, 0, i));
    EXPECT_EQ((juce::uint32) i, 0xff00ff00u);
    EXPECT_FALSE(codeDrawn.GetAttrColour(Tag::LineWidth, 5, i)) << "numbers are not colours";
    EXPECT_EQ(i, 5);
    EXPECT_TRUE(codeDrawn.GetAttrText(Tag::TextureFill, "", t));
    EXPECT_EQ(t, "tile");
    EXPECT_FALSE(codeDrawn.GetAttrFloat(Tag::Radius, 2.0f, f));
    EXPECT_EQ(f, 2.0f);

    // Own points are used as given, without conversion.
    codeDrawn.AddPoint(11.5f, 265.0f);
    codeDrawn.Render();
    float x = 0.0f, y = 0.0f;
    ASSERT_TRUE(codeDrawn.NextPoint(x, y));
    EXPECT_EQ(juce::Point<float>(x, y), juce::Point<float>(11.5f, 265.0f));
    EXPECT_FALSE(codeDrawn.NextPoint(x, y));
}

TEST_F(RenderConversionTest, ItemsAreFoundInContainersButNotInsideOtherItems)
{
    const std::string red = Colour(Tag::ColorFill, 0xffff0000) + Attr(Tag::Radius, 4.0);
    const std::string nested = "<Key1><Deeper>" + Item(Tag::Circle, red, PixelPoint(20.5, 20.5)) + "</Deeper></Key1>";
    // A circle hidden among a line's children is the line's data, not an item.
    const std::string hidden = "<" + Tag::Line + ">" + Item(Tag::Circle, red, PixelPoint(60.5, 20.5)) + "</" + Tag::Line + ">";
    Draw(Origin() + nested + hidden);
    EXPECT_TRUE(Near(At(20, 20), 0xffff0000)) << Hex(At(20, 20));
    EXPECT_TRUE(Near(At(60, 20), kBackground)) << Hex(At(60, 20));

    // No picture: nothing happens.
    CRenderManager::GetInstance()->Render(nullptr, CSceneManager::GetInstance()->GetScene(2), {});
}
