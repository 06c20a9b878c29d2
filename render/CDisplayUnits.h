#pragma once
// How lengths and weights are shown: the display units ("Feet" or "Meters", "Pounds" or
// "Kilograms") and the origin offsets in inches that venue x and y get before conversion
// (x is shown from the stage's front edge). Filled by whoever knows the user's choice and
// handed to the picture and the report, which must not reach up for it. Plain values.

#include "base/CMathHelper.h"

#include <string>

struct CDisplayUnits
{
    std::string length = "Feet";
    std::string weight = "Pounds";
    double offsetX = 0.0;
    double offsetY = 0.0;

    bool Metric() const { return length == "Meters"; }
    const char* LengthSymbol() const { return Metric() ? "m" : "ft"; }
    const char* WeightSymbol() const { return weight == "Kilograms" ? "kg" : "lb"; }

    // Inches as shown (no offset), and back.
    double Length(double inches) const { return CMathHelper().Convert("Inches", length, inches); }
    double Inches(double shown) const { return CMathHelper().Convert(length, "Inches", shown); }
    double Weight(double pounds) const { return CMathHelper().Convert("Pounds", weight, pounds); }
    // Venue coordinates as shown, and back.
    double VenueX(double inches) const { return Length(inches + offsetX); }
    double VenueY(double inches) const { return Length(inches + offsetY); }
    double VenueXInches(double shown) const { return Inches(shown) - offsetX; }
    double VenueYInches(double shown) const { return Inches(shown) - offsetY; }
};
