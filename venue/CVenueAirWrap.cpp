#include "venue/CVenueAirWrap.h"

#include "xml/CXmlNode.h"
#include "xml/XmlTags.h"

#include <cmath>
#include <sstream>

namespace
{
std::string RangeRefusal(const char* what, double value, double low, double high, const char* unit)
{
    if (std::isfinite(value) && value >= low && value <= high)
        return {};
    std::ostringstream message;
    message << "Error: the " << what << " must be a number from " << low << " to " << high << " " << unit
            << " (not " << value << ")";
    return message.str();
}
}

CVenueAirWrap::CVenueAirWrap(CXmlNode* venue) : CXmlWrap(venue->GetChild(Tag::Air))
{
}

double CVenueAirWrap::GetTemperature() const
{
    return node->GetChild(Tag::Temperature)->GetDouble(kDefaultTemperature);
}

double CVenueAirWrap::GetHumidity() const
{
    return node->GetChild(Tag::Humidity)->GetDouble(kDefaultHumidity);
}

void CVenueAirWrap::SetTemperature(double celsius) const
{
    node->GetChild(Tag::Temperature)->SetDouble(celsius);
}

void CVenueAirWrap::SetHumidity(double percent) const
{
    node->GetChild(Tag::Humidity)->SetDouble(percent);
}

std::string CVenueAirWrap::TemperatureRefusal(double celsius)
{
    return RangeRefusal("air temperature", celsius, kMinTemperature, kMaxTemperature, "degrees Celsius");
}

std::string CVenueAirWrap::HumidityRefusal(double percent)
{
    return RangeRefusal("air humidity", percent, kMinHumidity, kMaxHumidity, "% relative humidity");
}

std::string CVenueAirWrap::Refusal() const
{
    const std::string temperature = TemperatureRefusal(GetTemperature());
    return temperature.empty() ? HumidityRefusal(GetHumidity()) : temperature;
}
