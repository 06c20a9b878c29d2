#include "venue/CVenueAirWrap.h"

#include "xml/CXmlDocument.h"
#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(VenueAir, MissingAirReadsAndWritesTheDefaults)
{
    CXmlDocument document;
    CXmlNode* venue = document.GetRoot("Root")->GetChild(Tag::Venue);
    const CVenueAirWrap air(venue);
    EXPECT_EQ(air.GetTemperature(), 20.0);
    EXPECT_EQ(air.GetHumidity(), 50.0);
    EXPECT_EQ(air.Refusal(), "");
    const std::string text = document.ToText();
    EXPECT_NE(text.find("<Temperature>20</Temperature>"), std::string::npos) << text;
    EXPECT_NE(text.find("<Humidity>50</Humidity>"), std::string::npos) << text;

    air.SetTemperature(-12.5);
    air.SetHumidity(85.0);
    EXPECT_EQ(CVenueAirWrap(venue).GetTemperature(), -12.5);
    EXPECT_EQ(CVenueAirWrap(venue).GetHumidity(), 85.0);
}

TEST(VenueAir, ValuesOutsideTheirRangeAreRefusedWithTheRange)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    for (double accepted : { -20.0, 0.0, 20.0, 50.0 })
        EXPECT_EQ(CVenueAirWrap::TemperatureRefusal(accepted), "") << accepted;
    for (double accepted : { 0.0, 50.0, 100.0 })
        EXPECT_EQ(CVenueAirWrap::HumidityRefusal(accepted), "") << accepted;

    for (double refused : { -20.001, 50.5, 300.0, nan, inf, -inf })
    {
        const std::string message = CVenueAirWrap::TemperatureRefusal(refused);
        EXPECT_NE(message.find("air temperature"), std::string::npos) << message;
        EXPECT_NE(message.find("from -20 to 50 degrees Celsius"), std::string::npos) << message;
    }
    for (double refused : { -0.5, 100.01, nan, inf })
    {
        const std::string message = CVenueAirWrap::HumidityRefusal(refused);
        EXPECT_NE(message.find("air humidity"), std::string::npos) << message;
        EXPECT_NE(message.find("from 0 to 100"), std::string::npos) << message;
    }
    EXPECT_EQ(CVenueAirWrap::TemperatureRefusal(60.0),
              "Error: the air temperature must be a number from -20 to 50 degrees Celsius (not 60)");

    CXmlDocument document;
    const CVenueAirWrap air(document.GetRoot("Root")->GetChild(Tag::Venue));
    air.SetHumidity(120.0);
    EXPECT_EQ(air.Refusal(), CVenueAirWrap::HumidityRefusal(120.0));
    air.SetTemperature(-40.0);
    EXPECT_EQ(air.Refusal(), CVenueAirWrap::TemperatureRefusal(-40.0));
}
