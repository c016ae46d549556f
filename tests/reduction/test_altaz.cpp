#include <gtest/gtest.h>

#include <cmath>

#include "app/mPublicVars.h"
#include "core/mTime.h"
#include "reduction/mAltAz.h"
#include "support/csv.h"

namespace {
constexpr double kAs = 1.0 / 3600.0;
// The diurnal aberration moves a place by 0.32" at most; the geometry is exact.
constexpr double kTolGeometryArcsec = 0.5;
constexpr double kJd = 2460000.5;

// A place at local hour angle ha (degrees) seen from longitude lon at kJd.
Coord3 PlaceAtHourAngle(double ha, double dec, double lon, double dist = 1.0) {
    return {SiderealTime(kJd, lon) - ha, dec, dist};
}

double AngleDiffArcsec(double a, double b) { return std::remainder(a - b, 360.0) / kAs; }

class AltAz : public ::testing::Test {
protected:
    void SetUp() override { saved_ = NavigationState; }
    void TearDown() override { NavigationState = saved_; }
    NavigationStateRecord saved_;
};
}  // namespace

TEST_F(AltAz, OnTheMeridian) {
    NavigationState.Lat = 40.0;
    Coord3 hz = AltAzimuth(kJd, PlaceAtHourAngle(0.0, 10.0, 20.0, 0.7), 40.0, 20.0);
    EXPECT_LT(std::fabs(AngleDiffArcsec(hz.x, 180.0)), kTolGeometryArcsec);
    EXPECT_LT(std::fabs(AngleDiffArcsec(hz.y, 60.0)), kTolGeometryArcsec);
    EXPECT_EQ(hz.z, 0.7);
    NavigationState.Lat = 10.0;
    hz = AltAzimuth(kJd, PlaceAtHourAngle(0.0, 40.0, -70.0), 10.0, -70.0);
    // An azimuth error shows on the sky as dAz * cos(alt).
    EXPECT_LT(std::fabs(AngleDiffArcsec(hz.x, 0.0)) * 0.5, kTolGeometryArcsec);
    EXPECT_GE(hz.x, 0.0);
    EXPECT_LT(hz.x, 360.0);
    EXPECT_LT(std::fabs(AngleDiffArcsec(hz.y, 60.0)), kTolGeometryArcsec);
}

TEST_F(AltAz, SixHoursWestOnTheEquator) {
    NavigationState.Lat = 0.0;
    const Coord3 hz = AltAzimuth(kJd, PlaceAtHourAngle(90.0, 10.0, 0.0), 0.0, 0.0);
    EXPECT_LT(std::fabs(AngleDiffArcsec(hz.x, 280.0)), kTolGeometryArcsec);
    EXPECT_LT(std::fabs(AngleDiffArcsec(hz.y, 0.0)), kTolGeometryArcsec);
}

TEST_F(AltAz, EquatorBodyFromTheEquatorIsNoFault) {
    // cos h sin(phi) = cos(phi) tan(delta) = 0: the arctangent meets x = 0.
    NavigationState.Lat = 0.0;
    const Coord3 hz = AltAzimuth(kJd, PlaceAtHourAngle(30.0, 0.0, 0.0), 0.0, 0.0);
    EXPECT_TRUE(std::isfinite(hz.x));
    EXPECT_TRUE(std::isfinite(hz.y));
    EXPECT_LT(std::fabs(AngleDiffArcsec(hz.x, 270.0)), kTolGeometryArcsec);
    EXPECT_LT(std::fabs(AngleDiffArcsec(hz.y, 60.0)), kTolGeometryArcsec);
}

TEST_F(AltAz, AgreesWithErfaGeometry) {
    const auto ref = testsupport::ReadCsv(testsupport::TestData("altaz_reference.csv"));
    testsupport::ErrorStats az, alt;
    for (size_t i = 0; i < ref.rows.size(); ++i) {
        const double lat = ref.Num(i, "lat_deg");
        NavigationState.Lat = lat;
        const Coord3 hz = AltAzimuth(kJd, PlaceAtHourAngle(ref.Num(i, "ha_deg"), ref.Num(i, "dec_deg"), 15.0), lat, 15.0);
        const double dAlt = AngleDiffArcsec(hz.y, ref.Num(i, "alt_deg"));
        // An azimuth error shows on the sky as dAz * cos(alt).
        const double dAz = AngleDiffArcsec(hz.x, ref.Num(i, "az_deg")) * std::cos(hz.y * M_PI / 180.0);
        az.Add(dAz);
        alt.Add(dAlt);
        EXPECT_LT(std::fabs(dAlt), kTolGeometryArcsec) << i;
        EXPECT_LT(std::fabs(dAz), kTolGeometryArcsec) << i;
    }
    std::printf("AltAzimuth vs ERFA hd2ae: azimuth max %.3f\" rms %.3f\", altitude max %.3f\" rms %.3f\"\n", az.max,
                az.Rms(), alt.max, alt.Rms());
}

TEST_F(AltAz, DiurnalAberrationAtThePole) {
    NavigationState.Lat = 30.0;
    Coord3 p{123.0, 90.0, 1.0};
    DiurnalAberration(90.0, p);
    EXPECT_EQ(p.x, 123.0);
    EXPECT_NEAR(p.y - 90.0, 1.5472e-6 * 180.0 / M_PI * std::cos(M_PI / 6), 1e-11);
    Coord3 q{10.0, -90.0, 1.0};
    DiurnalAberration(90.0, q);
    EXPECT_EQ(q.x, 10.0);
    EXPECT_LT(q.y, -90.0);
}
