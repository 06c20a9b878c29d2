#pragma once
// Handle on the Air element of a Venue: the temperature (degrees Celsius) and relative
// humidity (%) that the band prediction takes the speed of sound and the air's absorption
// from. A venue without Air reads the defaults, which are then written into it, so every
// saved venue carries them. Owns nothing; GUI message thread only.

#include "xml/CXmlWrap.h"

#include <string>

class CVenueAirWrap : public CXmlWrap
{
public:
    static constexpr double kDefaultTemperature = 20.0;
    static constexpr double kMinTemperature = -20.0;
    static constexpr double kMaxTemperature = 50.0;
    static constexpr double kDefaultHumidity = 50.0;
    static constexpr double kMinHumidity = 0.0;
    static constexpr double kMaxHumidity = 100.0;

    // Bound to `venue`'s Air element, created when missing.
    explicit CVenueAirWrap(CXmlNode* venue);

    double GetTemperature() const;
    double GetHumidity() const;
    void SetTemperature(double celsius) const;
    void SetHumidity(double percent) const;

    // Empty when the value may be stored; otherwise why not, naming the value and its range.
    static std::string TemperatureRefusal(double celsius);
    static std::string HumidityRefusal(double percent);
    // Both stored values checked; the first refusal, or empty. Stored values that are not
    // numbers throw the XML layer's conversion error.
    std::string Refusal() const;
};
