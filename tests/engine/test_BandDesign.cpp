// The band prediction on the real design: sources taken from the array and the hang point,
// BandZ and BandA written at every surface sample, the venue's air, and the views.

#include "EngineFixture.h"

#include "engine/CBandModel.h"
#include "engine/CBandView.h"
#include "engine/CSPLManager.h"
#include "venue/CVenueAirWrap.h"
#include "venue/CVenueAreaWrap.h"
#include "venue/CVenueDataWrap.h"
#include "xml/XmlTags.h"

#include <cmath>
#include <limits>
#include <stdexcept>

namespace
{
const double kMinusInfinity = -std::numeric_limits<double>::infinity();

class BandDesign : public EngineFixture
{
protected:
    static CXmlNode* Product(int position) { return Line().GetCab(position).GetProduct().GetNode(); }

    static CXmlNode* AreaLine(int slot)
    {
        CVenueAreaWrap area;
        CVenueDataWrap(Venue()).GetArea(area, slot);
        return area.GetNode()->FindChild(Tag::Line);
    }

    // Calls `check` with every sample the last recompute wrote on the stage and the surfaces.
    template <typename Check>
    static int ForEachSample(Check check)
    {
        int samples = 0;
        for (int slot = 2; slot <= 5; ++slot)
        {
            CXmlNode* line = AreaLine(slot);
            const int total = line->FindChild(Tag::SplTotal)->FindChild(Tag::Total)->GetInt(0);
            for (int k = 1; k <= total; ++k, ++samples)
                check(line->FindChildByInt(Tag::SplPoint, Tag::Slot, k));
        }
        return samples;
    }

    static bool Fails(const std::string& target, double number, const std::string& text)
    {
        try
        {
            Command(target, number, text);
            return false;
        }
        catch (const std::runtime_error&)
        {
            return true;
        }
    }
};
}

TEST_F(BandDesign, SourcesAreTheLoudspeakersPlacedFromTheHangPoint)
{
    Command("Model_DRXR1", 5);
    Command("Model_DRXS1", 1);
    CVenueAreaWrap hang;
    CVenueDataWrap(Venue()).GetArea(hang, 1);
    hang.GetLine()->x1 = 250.0;
    const CBandModel model = CBandModel::FromDesign();
    const int total = Line().GetTotal();
    ASSERT_EQ(total, 7);
    ASSERT_EQ(model.GetSources().size(), 6u) << "the flybar radiates nothing";

    for (const CBandModel::Source& source : model.GetSources())
    {
        SCOPED_TRACE(source.position);
        CXmlNode* cgInfo = Product(source.position)->FindChild(Tag::CGInfo);
        const CPoint* centre = cgInfo->FindChild(Tag::Center)->GetPoint();
        EXPECT_DOUBLE_EQ(source.x, centre->x + 250.0);
        EXPECT_DOUBLE_EQ(source.y, centre->y + 282.0);
        EXPECT_DOUBLE_EQ(source.angle, cgInfo->FindChild(Tag::Angle)->GetDouble(-99.0));
        const bool subwoofer = source.position == 2;
        EXPECT_EQ(source.bandLow, -13);
        EXPECT_EQ(source.bandHigh, subwoofer ? -6 : 12);
        EXPECT_DOUBLE_EQ(source.onAxisDB, 123.5);
        EXPECT_EQ(source.role, subwoofer ? CBandModel::Role::Low : CBandModel::Role::High);
        EXPECT_DOUBLE_EQ(source.crossoverHz, 100.0);
        // The module's polar table; the subwoofer has none and radiates all round.
        EXPECT_EQ(source.polar.size(), subwoofer ? 0u : 14u);
    }
    EXPECT_EQ(model.GetSources().front().position, 2);
    EXPECT_EQ(model.GetSources().back().position, 7);
    // Bands the subwoofer adds below the full-range modules: all 26 are present.
    for (int i = 0; i < CBandModel::kBandCount; ++i)
        EXPECT_TRUE(model.IsBandPresent(i)) << i;
}

TEST_F(BandDesign, ShadingAndTheHangPointFollowTheDesign)
{
    Command("Model_DRXR1", 5);
    Command("Model_DRXS1", 1);
    Product(5)->GetChild(Tag::Switch2)->GetChild(Tag::Value)->SetInt(2);
    const CBandModel shaded = CBandModel::FromDesign();
    EXPECT_EQ(shaded.GetSources()[3].shading, 2);
    EXPECT_EQ(shaded.GetSources()[2].shading, 1);

    // Without a hang point the array hangs from the origin; the first hang point in slot
    // order counts.
    CVenueAreaWrap hang;
    CVenueDataWrap(Venue()).GetArea(hang, 1);
    hang.SetAreaType(Tag::Area);
    const CPoint* centre = Product(2)->FindChild(Tag::CGInfo)->FindChild(Tag::Center)->GetPoint();
    EXPECT_DOUBLE_EQ(CBandModel::FromDesign().GetSources()[0].x, centre->x);
    CVenueAreaWrap balcony;
    CVenueDataWrap(Venue()).GetArea(balcony, 5);
    balcony.SetAreaType(Tag::HangPoint);
    EXPECT_DOUBLE_EQ(CBandModel::FromDesign().GetSources()[0].x, centre->x + 900.0);
    EXPECT_DOUBLE_EQ(CBandModel::FromDesign().GetSources()[0].y, centre->y + 180.0);
}

TEST_F(BandDesign, EverySampleCarriesBandZAndBandABesideTheClassicLevel)
{
    Command("Model_DRXR1", 4);
    Command("Model_DRXS1", 2);
    const CBandModel model = CBandModel::FromDesign();
    const int samples = ForEachSample([&](CXmlNode* sample) {
        const CPoint* p = sample->GetPoint();
        const CBandModel::Levels levels = model.Evaluate(p->x, p->y + CSPLManager::kEarHeight);
        EXPECT_TRUE(std::isfinite(sample->FindChild(Tag::PressureDB)->GetDouble(0.0)));
        EXPECT_NEAR(sample->FindChild(Tag::BandZ)->GetDouble(0.0), levels.z, 1e-9);
        EXPECT_NEAR(sample->FindChild(Tag::BandA)->GetDouble(0.0), levels.a, 1e-9);
        // Far from the modules the loudest band is well below the sum of all of them.
        EXPECT_GT(levels.z, 80.0);
        EXPECT_LT(levels.z, 140.0);
    });
    EXPECT_EQ(samples, 11 + 39 + 11 + 16);

    // Subwoofers alone: the classic model hears nothing, the band model hears them.
    Command("Model_DRXR1", 0);
    ForEachSample([&](CXmlNode* sample) {
        EXPECT_EQ(sample->FindChild(Tag::PressureDB)->GetDouble(0.0), kMinusInfinity);
        EXPECT_TRUE(std::isfinite(sample->FindChild(Tag::BandZ)->GetDouble(0.0)));
        // The A-weighting takes 20 to 30 dB off 50 ... 125 Hz.
        const double weighting = sample->FindChild(Tag::BandZ)->GetDouble(0.0) - sample->FindChild(Tag::BandA)->GetDouble(0.0);
        EXPECT_GT(weighting, 15.0);
        EXPECT_LT(weighting, 30.0);
    });
}

TEST_F(BandDesign, SavedVenuesCarryTheAirAndLoadWithoutIt)
{
    const std::string path = temp.File("hall.21v").getFullPathName().toStdString();
    Command("SaveVenueFile", 0, path);
    const std::string text = temp.Read("hall.21v");
    EXPECT_NE(text.find("<Air>\n            <Temperature>20</Temperature>\n            <Humidity>50</Humidity>\n        </Air>"),
              std::string::npos)
        << text.substr(0, 400);
    EXPECT_NE(text.find("<BandZ>"), std::string::npos);
    EXPECT_NE(text.find("<BandA>"), std::string::npos);

    // A venue written before the air existed loads with the default air and computes the same.
    std::string old = text;
    const size_t air = old.find("<Air>");
    const size_t airEnd = old.find("</Air>") + 6;
    old.erase(old.rfind('\n', air), airEnd - old.rfind('\n', air));
    temp.Write("old.21v", old);
    const double before = AreaLine(3)->FindChildByInt(Tag::SplPoint, Tag::Slot, 10)->FindChild(Tag::BandZ)->GetDouble(0.0);
    Command("LoadVenueFile", 0, temp.File("old.21v").getFullPathName().toStdString());
    EXPECT_TRUE(reported().empty());
    const CVenueAirWrap loaded(Venue());
    EXPECT_EQ(loaded.GetTemperature(), 20.0);
    EXPECT_EQ(loaded.GetHumidity(), 50.0);
    EXPECT_DOUBLE_EQ(AreaLine(3)->FindChildByInt(Tag::SplPoint, Tag::Slot, 10)->FindChild(Tag::BandZ)->GetDouble(0.0), before);
}

TEST_F(BandDesign, TheVenuesAirSetsTheSpeedOfSoundAndTheLoss)
{
    CXmlNode* sample = AreaLine(3)->FindChildByInt(Tag::SplPoint, Tag::Slot, 30);
    const double standard = sample->FindChild(Tag::BandA)->GetDouble(0.0);
    const CVenueAirWrap air(Venue());
    air.SetTemperature(35.0);
    air.SetHumidity(15.0);
    CEngineManager::GetInstance()->Recompute();

    const CBandModel model = CBandModel::FromDesign();
    const CAirModel expected(35.0, 15.0);
    EXPECT_DOUBLE_EQ(model.GetSpeedOfSound(), expected.SpeedOfSound());
    for (int line : { 0, 107, CBandModel::kLineCount - 1 })
        EXPECT_DOUBLE_EQ(model.Absorption(line), expected.Absorption(model.LineHz(line)));
    const CPoint* p = sample->GetPoint();
    EXPECT_NEAR(sample->FindChild(Tag::BandA)->GetDouble(0.0), model.Evaluate(p->x, p->y + 48.0).a, 1e-9);
    EXPECT_GT(std::fabs(sample->FindChild(Tag::BandA)->GetDouble(0.0) - standard), 0.01);
}

TEST_F(BandDesign, AFileWithAirOutOfRangeIsRefused)
{
    const std::string good = temp.File("good.21v").getFullPathName().toStdString();
    Command("SaveVenueFile", 0, good);
    struct Case { const char* from; const char* to; const char* names; };
    const Case cases[] = {
        { "<Temperature>20</Temperature>", "<Temperature>80</Temperature>", "air temperature" },
        { "<Temperature>20</Temperature>", "<Temperature>nan</Temperature>", "air temperature" },
        { "<Humidity>50</Humidity>", "<Humidity>-5</Humidity>", "air humidity" },
    };
    Command("Model_DRXR1", 3);
    const std::string before = CVenueManager::GetInstance()->SaveState();
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.to);
        std::string text = temp.Read("good.21v");
        text.replace(text.find(c.from), std::string(c.from).size(), c.to);
        temp.Write("bad.21v", text);
        reported().clear();
        EXPECT_TRUE(Fails("LoadVenueFile", 0, temp.File("bad.21v").getFullPathName().toStdString()));
        ASSERT_FALSE(reported().empty());
        EXPECT_NE(reported().back().find(c.names), std::string::npos) << reported().back();
        EXPECT_EQ(CVenueManager::GetInstance()->SaveState(), before);
    }
}

TEST_F(BandDesign, ViewsTakeTheirValueAtASample)
{
    const CBandModel model = CBandModel::FromDesign();
    CXmlNode* sample = AreaLine(3)->FindChildByInt(Tag::SplPoint, Tag::Slot, 12);
    const CPoint* p = sample->GetPoint();
    const CBandModel::Levels levels = model.Evaluate(p->x, p->y + 48.0);

    EXPECT_EQ(CBandView().ValueAt(sample, model), sample->FindChild(Tag::PressureDB)->GetDouble(0.0));
    EXPECT_EQ(CBandView::BandZ().ValueAt(sample, model), sample->FindChild(Tag::BandZ)->GetDouble(0.0));
    EXPECT_NEAR(CBandView::BandZ().ValueAt(sample, model), levels.z, 1e-9);
    EXPECT_EQ(CBandView::BandA().ValueAt(sample, model), sample->FindChild(Tag::BandA)->GetDouble(0.0));
    EXPECT_NEAR(CBandView::BandA().ValueAt(sample, model), levels.a, 1e-9);
    EXPECT_EQ(CBandView::OneBand(6).ValueAt(sample, model), levels.bands[19]);

    // Only subwoofers: no band above 125 Hz, and no level on a sample never computed.
    Command("Model_DRXR1", 0);
    Command("Model_DRXS1", 3);
    EXPECT_EQ(CBandView::OneBand(0).ValueAt(sample, CBandModel::FromDesign()), kMinusInfinity);
    CXmlDocument scratch;
    EXPECT_TRUE(std::isnan(CBandView::BandZ().ValueAt(scratch.GetRoot("Root")->GetChild(Tag::SplPoint), model)));
}

TEST(BandView, ParsesTheNamesOfTheViews)
{
    struct Case { const char* text; CBandView expected; };
    const Case accepted[] = {
        { "Classic", CBandView::Classic() },   { "BandZ", CBandView::BandZ() },
        { "Band Z", CBandView::BandZ() },      { "BandA", CBandView::BandA() },
        { "Band A", CBandView::BandA() },      { "Band:4k", CBandView::OneBand(6) },
        { "Band 4k", CBandView::OneBand(6) },  { "Band:1.25k", CBandView::OneBand(1) },
        { "Band:50", CBandView::OneBand(-13) }, { "Band 16k", CBandView::OneBand(12) },
        { "Band:63", CBandView::OneBand(-12) },
    };
    for (const Case& c : accepted)
    {
        CBandView view = CBandView::BandA();
        EXPECT_TRUE(CBandView::Parse(c.text, view)) << c.text;
        EXPECT_EQ(view, c.expected) << c.text;
        // What a view writes reads back as the same view.
        CBandView again;
        EXPECT_TRUE(CBandView::Parse(view.ToString(), again));
        EXPECT_EQ(again, view);
        CBandView compact;
        EXPECT_TRUE(CBandView::Parse(view.ToCompactString(), compact));
        EXPECT_EQ(compact, view);
    }
    EXPECT_EQ(CBandView::OneBand(1).ToString(), "Band 1.25k");
    EXPECT_EQ(CBandView::OneBand(1).ToCompactString(), "Band:1.25k");
    EXPECT_EQ(CBandView::BandA().ToCompactString(), "BandA");
    EXPECT_EQ(CBandView::BandZ().ToString(), "Band Z");
    EXPECT_EQ(CBandView().ToString(), "Classic");

    for (const char* text : { "", "classic", "Z", "Band", "Band:", "Band 20k", "Band:4K", "Band  4k", "BandZ ", "Band:Z" })
    {
        CBandView view = CBandView::BandA();
        EXPECT_FALSE(CBandView::Parse(text, view)) << text;
        EXPECT_EQ(view, CBandView::BandA());
    }
}

TEST_F(BandDesign, ProcessingIsSavedWithTheDesignAndAnOldDesignLoadsWithTheDefaults)
{
    Command("Model_DRXR1", 3);
    Command("Model_DRXS1", 1);
    const std::string plainPath = temp.File("plain.21w").getFullPathName().toStdString();
    Command("SaveArrayFile", 0, plainPath);
    const double plainZ = AreaLine(3)->FindChildByInt(Tag::SplPoint, Tag::Slot, 12)->FindChild(Tag::BandZ)->GetDouble(0.0);
    EXPECT_EQ(temp.Read("plain.21w").find("<Processing>"), std::string::npos);

    Command("Delay", 4.25, "2");
    Command("Polarity", 1, "2");
    Command("Gain", -3.5, "4");
    ASSERT_TRUE(reported().empty());
    const CBandModel model = CBandModel::FromDesign();
    EXPECT_EQ(model.GetSources()[0].processing.delayMs, 4.25);
    EXPECT_TRUE(model.GetSources()[0].processing.inverted);
    EXPECT_EQ(model.GetSources()[2].processing.gainDB, -3.5);
    EXPECT_EQ(model.GetSources()[1].processing.gainDB, 0.0);
    // The recompute used it: the surfaces read otherwise, the classic level does not move.
    CXmlNode* sample = AreaLine(3)->FindChildByInt(Tag::SplPoint, Tag::Slot, 12);
    EXPECT_GT(std::fabs(sample->FindChild(Tag::BandZ)->GetDouble(0.0) - plainZ), 0.01);

    const std::string processedPath = temp.File("processed.21w").getFullPathName().toStdString();
    Command("SaveArrayFile", 0, processedPath);
    const std::string processed = temp.Read("processed.21w");
    EXPECT_NE(processed.find("<Processing>\n                <Delay>4.25</Delay>\n                <Polarity>1</Polarity>\n"
                             "                <Gain>0</Gain>\n            </Processing>"),
              std::string::npos)
        << processed;

    // The design saved before any processing loads with the defaults and computes as before.
    Command("LoadArrayFile", 0, plainPath);
    ASSERT_TRUE(reported().empty());
    const CBandModel loaded = CBandModel::FromDesign();
    for (const CBandModel::Source& source : loaded.GetSources())
    {
        EXPECT_EQ(source.processing.delayMs, 0.0);
        EXPECT_FALSE(source.processing.inverted);
        EXPECT_EQ(source.processing.gainDB, 0.0);
    }
    EXPECT_DOUBLE_EQ(AreaLine(3)->FindChildByInt(Tag::SplPoint, Tag::Slot, 12)->FindChild(Tag::BandZ)->GetDouble(0.0), plainZ);

    Command("LoadArrayFile", 0, processedPath);
    EXPECT_EQ(CBandModel::FromDesign().GetSources()[2].processing.gainDB, -3.5);
}
