#pragma once
// A line segment kept both as two end points and as angle plus length; the
// operations keep the two forms in step.

#include <string>

class CPoint;

class CLine
{
public:
    virtual ~CLine() = default;

    // The keys of SetByKey and GetByKey; the documents name a line's values by them too.
    static inline const std::string kStartX = "sX";
    static inline const std::string kStartY = "sY";
    static inline const std::string kEndX = "eX";
    static inline const std::string kEndY = "eY";
    static inline const std::string kAngle = "LAngle";
    static inline const std::string kLength = "LDist";

    void UpdatePolar();
    // Any other key changes nothing.
    void SetByKey(const std::string& key, double value);
    double GetByKey(const std::string& key) const;

    // Crossing of the two infinite lines into `point`; true when the segments cross.
    bool Intersect(const CLine& other, CPoint& point, double& distanceThis, double& distanceOther);
    // Point at `distance` from the first end; limits `distance` to the length and returns true then.
    bool PointAlong(double& distance, CPoint& point) const;

    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
    double angle = 0.0;    // degrees, from the first end to the second
    double length = 1.0;

private:
    void MoveSecondEnd();
};
