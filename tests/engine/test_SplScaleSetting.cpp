#include "engine/EngineFixture.h"

#include "engine/CCommandTable.h"
#include "engine/CSPLManager.h"
#include "engine/CSplScaleSetting.h"
#include "xml/XmlTags.h"

namespace
{
class SplScaleSettingTest : public EngineFixture
{
protected:
    static std::pair<double, double> Scale()
    {
        const CSPLManager* spl = CSPLManager::GetInstance();
        return { spl->GetScaleBottom(), spl->GetScaleTop() };
    }
};
}

TEST_F(SplScaleSettingTest, TheScaleTravelsWithTheArrayAndTheVenueFile)
{
    EXPECT_TRUE(Venue()->FindChild(Tag::SplScale)->IsNull()) << "an untouched design keeps no scale";
    SplScaleSetting::SetAutomatic(true);
    Command(Tag::SplBase, -2);  // top 120 -> 110, span kept
    Command(Tag::SplRange, 15); // bottom 100 -> 85
    ASSERT_EQ(Scale(), std::make_pair(85.0, 110.0));
    EXPECT_FALSE(SplScaleSetting::IsAutomatic()) << "moving Base or Range ends the automatic scale";

    const std::string design = temp.File("hall.21w").getFullPathName().toStdString();
    const std::string venue = temp.File("hall.21v").getFullPathName().toStdString();
    Command(CCommandTable::kSaveArrayFile, 0, design);
    Command(CCommandTable::kSaveVenueFile, 0, venue);
    for (const std::string& file : { design, venue })
    {
        Command(Tag::SplBase, 1);
        ASSERT_EQ(Scale(), std::make_pair(90.0, 115.0));
        Command(file == design ? CCommandTable::kLoadArrayFile : CCommandTable::kLoadVenueFile, 0, file);
        EXPECT_EQ(Scale(), std::make_pair(85.0, 110.0)) << file;
    }
    EXPECT_TRUE(reported().empty());
}

TEST_F(SplScaleSettingTest, AFileWithoutAUsableScaleLeavesTheScaleAlone)
{
    Command(CCommandTable::kSaveVenueFile, 0, temp.File("plain.21v").getFullPathName().toStdString());
    Command(Tag::SplRange, 20);
    const std::string stored = temp.Read("plain.21v");
    ASSERT_EQ(stored.find("<SplScale>"), std::string::npos);
    const size_t end = stored.find("</Venue>");
    ASSERT_NE(end, std::string::npos);

    const std::pair<double, double> before = Scale();
    const char* const scales[] = {
        "",                                                       // none
        "<SplScale><Bottom>120</Bottom><Top>100</Top></SplScale>", // upside down
        "<SplScale><Bottom>100</Bottom><Top>100</Top></SplScale>", // no span
        "<SplScale><Top>130</Top></SplScale>",                      // half
    };
    for (const char* scale : scales)
    {
        std::string text = stored;
        text.insert(end, scale);
        temp.Write("odd.21v", text);
        Command(CCommandTable::kLoadVenueFile, 0, temp.File("odd.21v").getFullPathName().toStdString());
        EXPECT_EQ(Scale(), before) << scale;
    }

    std::string text = stored;
    text.insert(end, "<SplScale><Bottom>95.5</Bottom><Top>101</Top><Automatic>1</Automatic></SplScale>");
    temp.Write("kept.21v", text);
    Command(CCommandTable::kLoadVenueFile, 0, temp.File("kept.21v").getFullPathName().toStdString());
    EXPECT_EQ(Scale(), std::make_pair(95.5, 101.0));
    EXPECT_TRUE(SplScaleSetting::IsAutomatic());
}
