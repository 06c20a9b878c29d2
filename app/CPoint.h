#pragma once
// A plane point (inches) with its polar form relative to an origin.

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
