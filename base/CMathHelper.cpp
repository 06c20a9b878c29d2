#include "base/CMathHelper.h"

#include "base/CPoint.h"

#include <cmath>

CMathHelper::CMathHelper()
    : table {
          { "InchesInches", 1.0 },
          { "FeetFeet", 1.0 },
          { "InchesFeet", 1.0 / 12.0 },
          { "FeetInches", 12.0 },
          { "FeetMeters", 0.3048 },
          { "MetersFeet", 1.0 / 0.3048 },
          { "InchesMeters", 0.3048 / 12.0 },
          { "MetersInches", 1.0 / 0.0254 },
          { "PoundsPounds", 1.0 },
          { "PoundsKilograms", 0.45359237 },
          { "KilogramsPounds", 1.0 / 0.45359237 },
      }
{
}

double CMathHelper::Convert(const std::string& fromUnit, const std::string& toUnit, double value) const
{
    auto it = table.find(fromUnit + toUnit);
    return it == table.end() ? value : value * it->second;
}

double CMathHelper::Distance(const CPoint& p1, const CPoint& p2) const
{
    const double dx = p2.x - p1.x;
    const double dy = p2.y - p1.y;
    return std::sqrt(dx * dx + dy * dy);
}
