#include "base/CLine.h"
#include "base/CMathHelper.h"
#include "base/CPoint.h"
#include "base/NumberText.h"

#include <gtest/gtest.h>

TEST(UnitConversion, FactorTable)
{
    struct Case { const char* from; const char* to; double value; double expected; };
    const Case cases[] = {
        { "Feet", "Meters", 10, 3.048 },
        { "Meters", "Feet", 3.048, 9.999999999999998 },
        { "Inches", "Meters", 100, 2.54 },
        { "Inches", "Feet", 480, 40 },
        { "Pounds", "Kilograms", 100, 45.359237 },
        { "Meters", "Meters", 5, 5 },
        { "feet", "Meters", 5, 5 },
    };
    CMathHelper helper;
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(helper.Convert(c.from, c.to, c.value), c.expected) << c.from << " -> " << c.to;
    EXPECT_EQ(helper.Convert("Meters", "Feet", 3.048), 9.999999999999998);
    EXPECT_EQ(helper.Convert("Inches", "Meters", 1), 0.025400000000000002);
}

TEST(PlaneGeometry, LineKeysKeepBothFormsInStep)
{
    CLine line;
    line.angle = 90;
    line.length = 2;
    line.SetByKey("sX", 1);
    // pi is 3.14159265359, so cos 90 degrees is about -1.03e-13, not 0.
    EXPECT_NEAR(line.x2, 0.9999999999998, 1e-14);
    EXPECT_NE(line.x2, 1.0);
    EXPECT_DOUBLE_EQ(line.y2, 2.0);

    CLine diagonal;
    diagonal.x2 = 3;
    diagonal.y2 = 4;
    diagonal.UpdatePolar();
    EXPECT_DOUBLE_EQ(diagonal.length, 5.0);
    EXPECT_NEAR(diagonal.angle, 53.1301023541525, 1e-12);
    diagonal.SetByKey("eX", 0);
    EXPECT_DOUBLE_EQ(diagonal.length, 4.0);
    EXPECT_DOUBLE_EQ(diagonal.GetByKey("LDist"), 4.0);
    EXPECT_EQ(diagonal.GetByKey("sZ"), 0.0);
    diagonal.SetByKey("sZ", 9);
    EXPECT_DOUBLE_EQ(diagonal.x1, 0.0);
}

TEST(PlaneGeometry, PointAlongLimitsToLength)
{
    CLine line;
    line.x2 = 3;
    line.y2 = 4;
    line.UpdatePolar();
    CPoint p;
    double d = 7;
    EXPECT_TRUE(line.PointAlong(d, p));
    EXPECT_DOUBLE_EQ(d, 5.0);
    EXPECT_NEAR(p.x, 3.0, 1e-9);
    EXPECT_NEAR(p.y, 4.0, 1e-9);
    d = 5;
    EXPECT_TRUE(line.PointAlong(d, p));
    d = 2.5;
    EXPECT_FALSE(line.PointAlong(d, p));
    EXPECT_NEAR(p.x, 1.5, 1e-9);
}

TEST(PlaneGeometry, Intersections)
{
    struct Case { double a[4]; double b[4]; bool crosses; double x, y, dA, dB; };
    const Case cases[] = {
        { { 0, 0, 2, 2 }, { 0, 2, 2, 0 }, true, 1, 1, 0, 0 },
        { { 0, 0, 1, 1 }, { 3, 0, 2, 1 }, false, 1.5, 1.5, 0.7071068, 0.7071068 },
    };
    for (const Case& c : cases)
    {
        CLine a, b;
        a.x1 = c.a[0]; a.y1 = c.a[1]; a.x2 = c.a[2]; a.y2 = c.a[3];
        b.x1 = c.b[0]; b.y1 = c.b[1]; b.x2 = c.b[2]; b.y2 = c.b[3];
        CPoint p;
        double dA = -1, dB = -1;
        EXPECT_EQ(a.Intersect(b, p, dA, dB), c.crosses);
        EXPECT_NEAR(p.x, c.x, 1e-6);
        EXPECT_NEAR(p.y, c.y, 1e-6);
        EXPECT_NEAR(dA, c.dA, 1e-6);
        EXPECT_NEAR(dB, c.dB, 1e-6);
    }
}

TEST(PlaneGeometry, PolarForm)
{
    CPoint p;
    p.x = 0;
    p.y = 2;
    p.SetPolarFrom(0, 0);
    EXPECT_DOUBLE_EQ(p.distance, 2.0);
    EXPECT_NEAR(p.angle, 90.0, 1e-9);
}

TEST(NumberText, Formatting)
{
    EXPECT_EQ(DoubleToString(2.46, 1), "2.5");
    EXPECT_EQ(DoubleToString(20.0, 2), "20.00");
    EXPECT_EQ(DoubleToString(1.0 / 3.0, -1), "0.333333");
    std::string s;
    IntToString(s, -42);
    EXPECT_EQ(s, "-42");
    int i = 5;
    StringToInt("abc", i);
    EXPECT_EQ(i, 5);
    StringToInt("12x", i);
    EXPECT_EQ(i, 12);
    double d = 1.5;
    StringToDouble("", d);
    EXPECT_EQ(d, 1.5);
    StringToDouble("-3.25", d);
    EXPECT_EQ(d, -3.25);
}

TEST(Throttle, TwoHundredMillisecondWindow)
{
    int64_t now = 1000;
    SetThrottleClock([&now] { return now; });
    EXPECT_TRUE(ThrottleElapsed());
    now = 1100;
    EXPECT_FALSE(ThrottleElapsed());
    now = 1200;
    EXPECT_FALSE(ThrottleElapsed());
    now = 1201;
    EXPECT_TRUE(ThrottleElapsed());
    SetThrottleClock(nullptr);
}
