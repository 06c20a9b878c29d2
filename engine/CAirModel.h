#pragma once
// The air between a loudspeaker and a listener: the speed of sound and the absorption per
// metre (ISO 9613-1 at standard static pressure) for a temperature and relative humidity.
// A small value type; any thread.

class CAirModel
{
public:
    CAirModel(double celsius, double humidityPercent);

    double GetTemperature() const { return celsius; }
    double GetHumidity() const { return humidity; }

    // Metres per second.
    double SpeedOfSound() const;
    // dB per metre at `hz`.
    double Absorption(double hz) const;

private:
    double celsius;
    double humidity;
};
