#include <gtest/gtest.h>

#include <cmath>
#include <iterator>

#include "core/mFault.h"
#include "core/mMath.h"

namespace {
const double kPi = std::acos(-1.0);
constexpr double kTolRad = 1e-13;
constexpr double kTolDeg = 1e-11;
}  // namespace

TEST(Norm360, ReducesIntoOneTurn) {
    const double cases[][2] = {{360.0, 0.0}, {-0.5, 359.5}, {725.0, 5.0}, {-30.0, 330.0}, {-720.0, 0.0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(Norm360(c[0]), c[1]) << c[0];
    const double r = Norm360(-1e-17);  // a tiny negative angle must not come out as 360
    EXPECT_GE(r, 0.0);
    EXPECT_LT(r, 360.0);
}

TEST(InverseTrig, QuadrantsAxesAndEndpoints) {
    EXPECT_EQ(Atan2(0.0, 0.0), 0.0);
    EXPECT_EQ(ArcCos(1.0), 0.0);
    const double cases[][2] = {
        {Atan2(1.0, -1.0), 3 * kPi / 4}, {Atan2(-1.0, -1.0), 5 * kPi / 4}, {Atan2(-1.0, 1.0), -kPi / 4},
        // x = 0: the limit of the quotient by the sign of y, never a fault.
        {Atan2(2.0, 0.0), kPi / 2}, {Atan2(-2.0, 0.0), -kPi / 2}, {Atan2(-3.0, -0.0), -kPi / 2},
        {ArcSin(1.0), kPi / 2}, {ArcSin(-1.0), -kPi / 2},  // the nadir is -90 degrees, not +270
        {ArcSin(0.5), kPi / 6}, {ArcSin(-0.5), -kPi / 6}, {ArcCos(-1.0), kPi},
        {ArcCos(0.5), kPi / 3}, {ArcCos(-0.5), 2 * kPi / 3},
        // Rounding a hair beyond +-1 is clamped.
        {ArcSin(1.0 + 1e-13), kPi / 2}, {ArcSin(-1.0 - 1e-13), -kPi / 2}, {ArcCos(1.0 + 5e-13), 0.0},
        {ArcCos(-1.0 - 5e-13), kPi}};
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_NEAR(cases[i][0], cases[i][1], kTolRad) << "case " << i;
    // A larger excess, or no number at all, still fails.
    EXPECT_THROW(ArcSin(1.0 + 1e-9), ArithmeticFault);
    EXPECT_THROW(ArcCos(-1.0001), ArithmeticFault);
    EXPECT_THROW(ArcSin(std::nan("")), ArithmeticFault);
    EXPECT_THROW(ArcCos(INFINITY), ArithmeticFault);
}

TEST(RectToSph, QuadrantsAxisAndRoundTrip) {
    Coord3 s = RectToSph({-1.0, -1.0, 0.0}, true);
    EXPECT_NEAR(s.x, 225.0, kTolDeg);
    EXPECT_NEAR(s.y, 0.0, kTolDeg);
    EXPECT_NEAR(s.z, std::sqrt(2.0), 1e-15);
    EXPECT_NEAR(RectToSph({1.0, -1.0, 0.0}, true).x, -45.0, kTolDeg);
    s = RectToSph({0.0, 0.0, -2.0}, true);  // on the z axis: longitude 0, no fault
    EXPECT_EQ(s.x, 0.0);
    EXPECT_NEAR(s.y, -90.0, kTolDeg);
    EXPECT_NEAR(s.z, 2.0, 1e-15);
    s = RectToSph({0.0, 3.0, 0.0}, false);  // radians; the radius is never converted
    EXPECT_NEAR(s.x, kPi / 2, kTolRad);
    EXPECT_NEAR(s.z, 3.0, 1e-15);
    for (double lon = -89.0; lon < 270.0; lon += 17.3)
        for (double lat = -89.5; lat < 90.0; lat += 11.9) {
            const Coord3 back = RectToSph(SphToRect({lon, lat, 1.7}, true), true);
            EXPECT_NEAR(back.x, lon, 1e-9) << lon << " " << lat;
            EXPECT_NEAR(back.y, lat, 1e-9) << lon << " " << lat;
            EXPECT_NEAR(back.z, 1.7, 1e-14);
        }
}
