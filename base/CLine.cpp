#include "base/CLine.h"

#include "base/CMathHelper.h"
#include "base/CPoint.h"

#include <juce_graphics/juce_graphics.h>

#include <cmath>

void CLine::UpdatePolar()
{
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    length = std::sqrt(dx * dx + dy * dy);
    angle = std::atan2(dy, dx) * kRadiansToDegrees;
}

void CLine::MoveSecondEnd()
{
    const double r = (angle + 0.0) * kDegreesToRadians;
    x2 = x1 + std::cos(r) * length;
    y2 = y1 + std::sin(r) * length;
}

void CLine::SetByKey(const std::string& key, double value)
{
    if (key == kStartX)      { x1 = value; MoveSecondEnd(); }
    else if (key == kStartY) { y1 = value; MoveSecondEnd(); }
    else if (key == kEndX)   { x2 = value; UpdatePolar(); }
    else if (key == kEndY)   { y2 = value; UpdatePolar(); }
    else if (key == kAngle)  { angle = value; MoveSecondEnd(); }
    else if (key == kLength) { length = value; MoveSecondEnd(); }
}

double CLine::GetByKey(const std::string& key) const
{
    if (key == kStartX) return x1;
    if (key == kStartY) return y1;
    if (key == kEndX) return x2;
    if (key == kEndY) return y2;
    if (key == kAngle) return angle;
    if (key == kLength) return length;
    return 0.0;
}

bool CLine::Intersect(const CLine& other, CPoint& point, double& distanceThis, double& distanceOther)
{
    const juce::Line<float> a ((float) x1, (float) y1, (float) x2, (float) y2);
    const juce::Line<float> b ((float) other.x1, (float) other.y1, (float) other.x2, (float) other.y2);

    juce::Point<float> crossing;
    const bool crosses = a.intersects(b, crossing);

    point.x = (double) crossing.x;
    point.y = (double) crossing.y;
    juce::Point<float> nearest;
    distanceThis = (double) a.getDistanceFromPoint(crossing, nearest);
    distanceOther = (double) b.getDistanceFromPoint(crossing, nearest);
    return crosses;
}

bool CLine::PointAlong(double& distance, CPoint& point) const
{
    bool limited = false;
    if (length <= distance)
    {
        distance = length;
        limited = true;
    }
    const double r = (angle + 0.0) * kDegreesToRadians;
    point.x = x1 + std::cos(r) * distance;
    point.y = y1 + std::sin(r) * distance;
    return limited;
}
