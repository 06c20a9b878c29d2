#pragma once
// What the rigger needs of array 1: its weight, its centre of gravity (from the flybar's
// reference point), the pick pin, the array angle it gives and the array angle at every
// pin; where it hangs in venue 1: the hang point, and the heights of the array's top and
// bottom (its trim heights) above the floor under them; and the venue's extent. Read from
// the documents as the last command left them, adding nothing; a value the documents lack
// is NaN. Plain values, internal units (pounds, inches, degrees); venue coordinates.

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

    double hangX;
    double hangY;
    // Heights above the floor: of the hang point, the highest and the lowest corner of
    // the hung cabinets (the flybar with them). The floor is the first audience surface,
    // its height taken under the point (its nearer end beyond it); without one, height 0.
    double hangHeight;
    double topTrim;
    double bottomTrim;
    // The box around every surface of the venue.
    double venueLeft;
    double venueRight;
    double venueBottom;
    double venueTop;

    static CRiggingSummary Read();
};
