#include "engine/CAirModel.h"

#include <cmath>

namespace
{
constexpr double kKelvinOffset = 273.15;
constexpr double kReferenceKelvin = 293.15;   // 20 degrees Celsius
constexpr double kTriplePointKelvin = 273.16; // of water
}

CAirModel::CAirModel(double c, double h) : celsius(c), humidity(h)
{
}

double CAirModel::SpeedOfSound() const
{
    return 331.3 * std::sqrt(1.0 + celsius / kKelvinOffset);
}

double CAirModel::Absorption(double f) const
{
    const double t = celsius + kKelvinOffset;
    const double tr = t / kReferenceKelvin;

    // Molar concentration of water vapour (%) from the relative humidity, at the
    // reference static pressure.
    const double c = -6.8346 * std::pow(kTriplePointKelvin / t, 1.261) + 4.6151;
    const double h = humidity * std::pow(10.0, c);

    // Relaxation frequencies of oxygen and nitrogen.
    const double frO = 24.0 + 40400.0 * h * (0.02 + h) / (0.391 + h);
    const double frN = std::pow(tr, -0.5) * (9.0 + 280.0 * h * std::exp(-4.170 * (std::pow(tr, -1.0 / 3.0) - 1.0)));

    const double f2 = f * f;
    return 8.686 * f2
           * (1.84e-11 * std::pow(tr, 0.5)
              + std::pow(tr, -2.5)
                    * (0.01275 * std::exp(-2239.1 / t) / (frO + f2 / frO)
                       + 0.1068 * std::exp(-3352.0 / t) / (frN + f2 / frN)));
}
