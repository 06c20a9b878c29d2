#pragma once
// Unit conversion by a factor table, and the plane distance of two points.
// Internal units are inches and pounds; angles use pi = 3.14159265359.

#include "base/CPoint.h"

#include <map>
#include <string>

class CMathHelper
{
public:
    CMathHelper();
    virtual ~CMathHelper() = default;

    // value x factor(fromUnit + toUnit); unknown pairs leave the value unchanged.
    double Convert(const std::string& fromUnit, const std::string& toUnit, double value) const;
    double Distance(const CPoint& p1, const CPoint& p2) const;

private:
    std::map<std::string, double> table;
};
