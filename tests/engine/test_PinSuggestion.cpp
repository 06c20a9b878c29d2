#include "EngineFixture.h"

#include "array/CArrayProdWrap.h"
#include "engine/CBandView.h"
#include "engine/CPinSuggestion.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <cmath>
#include <limits>

namespace
{
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

PinCoverage Pin(int pin, double spread, double median)
{
    PinCoverage c;
    c.pin = pin;
    c.spread = spread;
    c.median = median;
    return c;
}
}

TEST(PinSuggestionStatistics, PercentilesMedianAndCoverageOfKnownLevels)
{
    // 1 ... 11 dB in shuffled order with non-finite levels mixed in: P10 = 2, P50 = 6,
    // P90 = 10; within 6 +- 3 are 3 ... 9, seven of eleven.
    const PinCoverage c = CPinSuggestion::Summarise(4, { 7, 1, kNaN, 11, 3, -kInf, 5, 2, 9, 4, 8, 6, 10 });
    EXPECT_EQ(c.pin, 4);
    EXPECT_DOUBLE_EQ(c.spread, 8.0);
    EXPECT_DOUBLE_EQ(c.median, 6.0);
    EXPECT_DOUBLE_EQ(c.coverage, 7.0 / 11.0);
    EXPECT_DOUBLE_EQ(c.min, 1.0);
    EXPECT_DOUBLE_EQ(c.max, 11.0);

    // Interpolated ranks: four levels, P10 at rank 0.3, P90 at 2.7, P50 at 1.5.
    const PinCoverage even = CPinSuggestion::Summarise(1, { 100, 110, 120, 130 });
    EXPECT_DOUBLE_EQ(even.spread, 127.0 - 103.0);
    EXPECT_DOUBLE_EQ(even.median, 115.0);
    EXPECT_DOUBLE_EQ(even.coverage, 0.0);

    const PinCoverage one = CPinSuggestion::Summarise(2, { 98.5 });
    EXPECT_DOUBLE_EQ(one.spread, 0.0);
    EXPECT_DOUBLE_EQ(one.coverage, 1.0);

    const PinCoverage none = CPinSuggestion::Summarise(3, { kNaN, -kInf });
    EXPECT_EQ(none.spread, kInf);
    EXPECT_TRUE(std::isnan(none.median) && std::isnan(none.coverage) && std::isnan(none.min) && std::isnan(none.max));
}

TEST(PinSuggestionStatistics, ChoiceAndItsTieRules)
{
    struct Case { const char* what; std::vector<PinCoverage> pins; std::optional<int> best; };
    const Case cases[] = {
        { "smallest spread wins", { Pin(1, 5.0, 100), Pin(2, 3.0, 90), Pin(3, 4.0, 110) }, 2 },
        { "within 0.01 dB the higher median wins",
          { Pin(1, 3.0, 90), Pin(2, 3.009, 95), Pin(3, 3.02, 120) }, 2 },
        { "equal medians: the lower pin", { Pin(5, 2.0, 100), Pin(6, 2.005, 100), Pin(7, 2.0, 100) }, 5 },
        { "infinite spreads are never chosen", { Pin(1, kInf, kNaN), Pin(2, 7.0, 80), Pin(3, kInf, kNaN) }, 2 },
        { "no finite spread: no suggestion", { Pin(1, kInf, kNaN), Pin(2, kInf, kNaN) }, std::nullopt },
        { "no pins", {}, std::nullopt },
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPinSuggestion::Choose(c.pins), c.best) << c.what;
}

class PinSuggestionTest : public EngineFixture
{
protected:
    // One full-range module, and a single short flat audience area square to its axis at pin
    // `aimedPin`, centred on that axis: its two samples (the ends; listening points 48 inches
    // above the surface) then hear the same level, so that pin's spread is zero, and of the
    // other pins only those aimed right away from it, where the module's response is flat,
    // come as close, much quieter.
    void OneModuleFacingOneArea(int aimedPin)
    {
        Command("Model_DRXS1", 0);
        Command("Model_DRXR1", 1);
        Command("SlotPin", aimedPin);

        CVenueDataWrap venue(Venue());
        CVenueAreaWrap hang;
        venue.GetArea(hang, 1);
        CPoint origin;
        origin.x = hang.GetLine()->x1;
        origin.y = hang.GetLine()->y1;

        CArrayProdWrap module = Line().GetCab(2).GetProduct();
        ASSERT_EQ(module.GetModel(), "Model_DRXR1");
        const CPoint* cg = module.GetNode()->FindChild(Tag::CGInfo)->FindChild(Tag::CG)->GetPoint();
        const double axis = -module.GetNode()->FindChild(Tag::CGInfo)->FindChild(Tag::Angle)->GetDouble(0.0);
        const double radians = axis * M_PI / 180.0;
        const double throwInches = 900.0, halfWidth = 6.0, earHeight = 48.0;
        const double cx = cg->x + origin.x + throwInches * std::cos(radians);
        const double cy = cg->y + origin.y + throwInches * std::sin(radians) - earHeight;

        venue.SetAreaTotal(3);
        CVenueAreaWrap area;
        venue.GetArea(area, 3);
        CLine* line = area.GetLine();
        line->x1 = cx + halfWidth * std::sin(radians);
        line->y1 = cy - halfWidth * std::cos(radians);
        line->x2 = cx - halfWidth * std::sin(radians);
        line->y2 = cy + halfWidth * std::cos(radians);
        line->UpdatePolar();
        area.GetNode()->GetChild(Tag::Line)->StoreValue();
        CEngineManager::GetInstance()->Recompute();
    }
};

TEST_F(PinSuggestionTest, AnAreaSquareToAPinsAxisChoosesThatPin)
{
    for (int aimed : { 3, 6 })
    {
        SCOPED_TRACE("aimed at pin " + std::to_string(aimed));
        OneModuleFacingOneArea(aimed);
        const int current = aimed == 3 ? 8 : 1;
        Command("SlotPin", current);

        const CPinSuggestion s = CPinSuggestion::Compute(CPinSuggestion::ClassicLevel);
        ASSERT_EQ(s.pins.size(), 8u);
        EXPECT_EQ(s.best, aimed);
        const PinCoverage& best = s.pins[aimed - 1];
        EXPECT_NEAR(best.spread, 0.0, 1e-9);
        EXPECT_DOUBLE_EQ(best.coverage, 1.0);
        for (const PinCoverage& p : s.pins)
            EXPECT_TRUE(p.pin == aimed || p.spread > 0.01 || p.median < best.median) << p.pin;
        EXPECT_EQ(Line().GetSlotPin(), current);
    }
}

TEST_F(PinSuggestionTest, WithoutFullRangeModulesThereIsNoSuggestion)
{
    Command("Model_DRXR1", 0);
    Command("Model_DRXS1", 3);
    const CPinSuggestion s = CPinSuggestion::Compute(CPinSuggestion::ClassicLevel);
    ASSERT_EQ(s.pins.size(), 8u);
    for (const PinCoverage& p : s.pins)
        EXPECT_EQ(p.spread, kInf) << p.pin;
    EXPECT_FALSE(s.best.has_value());
}

TEST_F(PinSuggestionTest, TryingThePinsLeavesTheSavedDesignByteIdentical)
{
    // Pins 0 and 9 are none of the flybar's: a design file may still hold them, and the
    // array then hangs without a hang marker, which no pin tried may leave behind.
    for (int pin : { 1, 4, 8, 0, 9 })
    {
        SCOPED_TRACE("pin " + std::to_string(pin));
        if (pin >= 1 && pin <= 8)
        {
            Command("SlotPin", pin);
        }
        else
        {
            Command("SaveArrayFile", 0, temp.File("pin.21w").getFullPathName().toStdString());
            std::string text = temp.Read("pin.21w");
            const size_t at = text.find("<SlotPin>\n                <Value>");
            ASSERT_NE(at, std::string::npos);
            const size_t value = text.find("<Value>", at) + 7;
            text.replace(value, text.find('<', value) - value, std::to_string(pin));
            temp.Write("pin.21w", text);
            Command("LoadArrayFile", 0, temp.File("pin.21w").getFullPathName().toStdString());
            ASSERT_EQ(Line().GetSlotPin(), pin);
        }
        Command("SaveArrayFile", 0, temp.File("before.21w").getFullPathName().toStdString());
        const std::string arrayText = CArrayManager::GetInstance()->GetDocument()->ToText();
        const std::string venueText = CVenueManager::GetInstance()->SaveState();

        CPinSuggestion::Compute(CPinSuggestion::ClassicLevel);

        EXPECT_EQ(CArrayManager::GetInstance()->GetDocument()->ToText(), arrayText);
        EXPECT_EQ(CVenueManager::GetInstance()->SaveState(), venueText);
        Command("SaveArrayFile", 0, temp.File("after.21w").getFullPathName().toStdString());
        EXPECT_EQ(temp.Read("after.21w"), temp.Read("before.21w"));
    }
}

TEST_F(PinSuggestionTest, EveryViewGivesATableAndLeavesTheDesignAsItWas)
{
    Command("Model_DRXS1", 1);
    Command("Model_DRXR1", 5);
    const std::string before = CArrayManager::GetInstance()->GetDocument()->ToText() + CVenueManager::GetInstance()->SaveState();
    for (const char* name : { "Classic", "BandZ", "BandA", "Band:1k", "Band:63" })
    {
        SCOPED_TRACE(name);
        CBandView view;
        ASSERT_TRUE(CBandView::Parse(name, view));
        const CPinSuggestion s = CPinSuggestion::Compute(view);
        EXPECT_EQ(s.view, view);
        ASSERT_EQ(s.pins.size(), 8u);
        ASSERT_TRUE(s.best.has_value());
        for (const PinCoverage& p : s.pins)
            EXPECT_TRUE(std::isfinite(p.spread) && p.min <= p.median && p.median <= p.max) << p.pin;
        EXPECT_EQ(CArrayManager::GetInstance()->GetDocument()->ToText() + CVenueManager::GetInstance()->SaveState(), before);
    }
    // Classic through the view is the classic table.
    const CPinSuggestion classic = CPinSuggestion::Compute(CPinSuggestion::ClassicLevel);
    const CPinSuggestion viaView = CPinSuggestion::Compute(CBandView::Classic());
    EXPECT_EQ(classic.best, viaView.best);
    for (size_t i = 0; i < classic.pins.size(); ++i)
        EXPECT_EQ(classic.pins[i].spread, viaView.pins[i].spread);
}
