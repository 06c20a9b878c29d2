#pragma once
// What the rigger needs of array 1: its weight, its centre of gravity (from the flybar's
// reference point), the pick pin, the array angle it gives and the array angle at every
// pin. Read from the array document as the last command left it, adding nothing; a value
// the document lacks is NaN. Plain values, internal units (pounds, inches, degrees).

#include <utility>
#include <vector>

struct CRiggingSummary
{
    double weight;
    double cgX;
    double cgY;
    int pin = 0;
    double arrayAngle;
    // (pin number, array angle), in pin order.
    std::vector<std::pair<int, double>> pinAngles;

    static CRiggingSummary Read();
};
