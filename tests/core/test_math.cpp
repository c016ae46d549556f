#include <gtest/gtest.h>

#include <cmath>

#include "core/mFault.h"
#include "core/mMath.h"

namespace {
const double kPi = std::acos(-1.0);
constexpr double kTolRad = 1e-13;
constexpr double kTolDeg = 1e-11;
}  // namespace

TEST(Norm360, ReducesIntoOneTurn) {
    EXPECT_DOUBLE_EQ(Norm360(360.0), 0.0);
    EXPECT_DOUBLE_EQ(Norm360(-0.5), 359.5);
    EXPECT_DOUBLE_EQ(Norm360(725.0), 5.0);
    EXPECT_DOUBLE_EQ(Norm360(-30.0), 330.0);
    EXPECT_DOUBLE_EQ(Norm360(-720.0), 0.0);
    // A tiny negative angle must not come out as 360.
    const double r = Norm360(-1e-17);
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 360.0);
}

TEST(Atan2, QuadrantsAndAxes) {
    EXPECT_EQ(Atan2(0.0, 0.0), 0.0);
    EXPECT_NEAR(Atan2(1.0, -1.0), 3 * kPi / 4, kTolRad);
    EXPECT_NEAR(Atan2(-1.0, -1.0), 5 * kPi / 4, kTolRad);
    EXPECT_NEAR(Atan2(-1.0, 1.0), -kPi / 4, kTolRad);
    // x = 0: the limit of the quotient, by the sign of y, never a fault.
    EXPECT_NEAR(Atan2(2.0, 0.0), kPi / 2, kTolRad);
    EXPECT_NEAR(Atan2(-2.0, 0.0), -kPi / 2, kTolRad);
    EXPECT_NEAR(Atan2(-3.0, -0.0), -kPi / 2, kTolRad);
}

TEST(ArcSinArcCos, EndpointsAndInterior) {
    EXPECT_NEAR(ArcSin(1.0), kPi / 2, kTolRad);
    EXPECT_NEAR(ArcSin(-1.0), -kPi / 2, kTolRad);  // the nadir is -90 degrees, not +270
    EXPECT_NEAR(ArcSin(0.5), kPi / 6, kTolRad);
    EXPECT_NEAR(ArcSin(-0.5), -kPi / 6, kTolRad);
    EXPECT_EQ(ArcCos(1.0), 0.0);
    EXPECT_NEAR(ArcCos(-1.0), kPi, kTolRad);
    EXPECT_NEAR(ArcCos(0.5), kPi / 3, kTolRad);
    EXPECT_NEAR(ArcCos(-0.5), 2 * kPi / 3, kTolRad);
}

TEST(ArcSinArcCos, RoundingBeyondOneIsClampedLargerExcessFails) {
    EXPECT_NEAR(ArcSin(1.0 + 1e-13), kPi / 2, kTolRad);
    EXPECT_NEAR(ArcSin(-1.0 - 1e-13), -kPi / 2, kTolRad);
    EXPECT_EQ(ArcCos(1.0 + 5e-13), 0.0);
    EXPECT_NEAR(ArcCos(-1.0 - 5e-13), kPi, kTolRad);
    EXPECT_THROW(ArcSin(1.0 + 1e-9), ArithmeticFault);
    EXPECT_THROW(ArcCos(-1.0001), ArithmeticFault);
    EXPECT_THROW(ArcSin(std::nan("")), ArithmeticFault);
    EXPECT_THROW(ArcCos(INFINITY), ArithmeticFault);
}

TEST(RectToSph, QuadrantsAndAxis) {
    Coord3 s = RectToSph({-1.0, -1.0, 0.0}, true);
    EXPECT_NEAR(s.x, 225.0, kTolDeg);
    EXPECT_NEAR(s.y, 0.0, kTolDeg);
    EXPECT_NEAR(s.z, std::sqrt(2.0), 1e-15);
    s = RectToSph({1.0, -1.0, 0.0}, true);
    EXPECT_NEAR(s.x, -45.0, kTolDeg);
    // A vector on the z axis: longitude 0, latitude +-90, no fault.
    s = RectToSph({0.0, 0.0, -2.0}, true);
    EXPECT_EQ(s.x, 0.0);
    EXPECT_NEAR(s.y, -90.0, kTolDeg);
    EXPECT_NEAR(s.z, 2.0, 1e-15);
    // Radians when not converted; the radius is never converted.
    s = RectToSph({0.0, 3.0, 0.0}, false);
    EXPECT_NEAR(s.x, kPi / 2, kTolRad);
    EXPECT_NEAR(s.z, 3.0, 1e-15);
}

TEST(RectToSph, RoundTripThroughSphToRect) {
    for (double lon = -89.0; lon < 270.0; lon += 17.3) {
        for (double lat = -89.5; lat < 90.0; lat += 11.9) {
            const Coord3 back = RectToSph(SphToRect({lon, lat, 1.7}, true), true);
            EXPECT_NEAR(back.x, lon, 1e-9) << lon << " " << lat;
            EXPECT_NEAR(back.y, lat, 1e-9) << lon << " " << lat;
            EXPECT_NEAR(back.z, 1.7, 1e-14);
        }
    }
}

TEST(DegRad, ConversionsAndDegreeTrig) {
    EXPECT_NEAR(DegToRad(180.0), kPi, 1e-15);
    EXPECT_NEAR(RadToDeg(kPi / 2), 90.0, 1e-13);
    EXPECT_NEAR(SinD(30.0), 0.5, 1e-15);
    EXPECT_NEAR(CosD(60.0), 0.5, 1e-15);
    EXPECT_NEAR(TanD(45.0), 1.0, 1e-15);
}
