#include "render/RenderTestFixture.h"

#include <stdexcept>

namespace
{
class RenderErrors : public RenderTestFixture
{
protected:
    // The message of the error drawing `items` (grouped under `group`) raises; "" when none.
    std::string ErrorOf(const std::string& group, const std::string& items)
    {
        try
        {
            Draw("<" + group + ">" + items + "</" + group + ">");
        }
        catch (const std::runtime_error& e)
        {
            return e.what();
        }
        return {};
    }
};
} // namespace

TEST_F(RenderErrors, AnErrorNamesTheItemItsSceneGroupAndTheAttribute)
{
    struct Case { std::string group; std::string items; std::string message; };
    const Case cases[] = {
        { "_Venue1_RenderSpec", "<Info><Slot>1</Slot><TagList><ConvScaleX /></TagList></Info>",
          "Could not draw Info 1 of Venue1/RenderSpec: ConvScaleX: Could not convert string to double" },
        { "_Array1_Cab3_Polygon", Item(Tag::Polygon, Attr(Tag::ColorFill, "red"), PixelPoint(1, 1) + PixelPoint(5, 5)),
          "Could not draw Polygon of Array1/Cab3/Polygon: ColorFill: Could not convert string to int" },
        { "_Venue1_AreaList_Area3_Line", Item(Tag::Line, Attr(Tag::LineWidth, "wide"), PixelPoint(10, 30) + PixelPoint(190, 30)),
          "Could not draw Line of Venue1/AreaList/Area3/Line: LineWidth: Could not convert string to double" },
        { "_Venue1_Area4", Item(Tag::Circle, Attr(Tag::Radius, "2"), "<Point><X>one</X><Y>2</Y></Point>"),
          "Could not draw Circle of Venue1/Area4: PointList Point: Could not convert string to double" },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.group);
        EXPECT_EQ(ErrorOf(c.group, c.items), c.message);
    }
}
