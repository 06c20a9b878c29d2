#pragma once
// A plane point (inches) with its polar form relative to an origin.

// Degree/radian factors with pi = 3.14159265359.
constexpr double kDegreesToRadians = 0.017453292519944444;
constexpr double kRadiansToDegrees = 57.29577951307855;

class CPoint
{
public:
    virtual ~CPoint() = default;

    void SetPolarFrom(double originX, double originY);

    double x = 0.0;
    double y = 0.0;
    double angle = 0.0;    // degrees
    double distance = 1.0;
};
