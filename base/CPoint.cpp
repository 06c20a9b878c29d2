#include "base/CPoint.h"

#include <cmath>

void CPoint::SetPolarFrom(double originX, double originY)
{
    const double dx = x - originX;
    const double dy = y - originY;
    distance = std::sqrt(dx * dx + dy * dy);
    angle = std::atan2(dy, dx) * kRadiansToDegrees;
}
