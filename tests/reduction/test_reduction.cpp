#include <gtest/gtest.h>

#include "core/mFault.h"
#include "reduction/mAltAz.h"
#include "reduction/mCorrection.h"
#include "support/csv.h"

namespace {
constexpr double kTolRefractionAirRatio = 0.003;
constexpr double kAs = 1.0 / 3600.0;
// The diurnal aberration moves a place by 0.32" at most; the geometry is exact.
constexpr double kTolGeometryArcsec = 0.5;
// ERFA's A tan z + B tan^3 z against the cotangent series above 15 degrees.
constexpr double kTolRefractionVsErfaArcsec = 3.0;
constexpr double kJd = 2460000.5;

double AngleDiffArcsec(double a, double b) { return std::remainder(a - b, 360.0) / kAs; }

// Altitude and azimuth of a place at local hour angle ha (degrees) seen from (lat, lon) at kJd.
Coord3 AtHourAngle(double ha, double dec, double lat, double lon, double dist = 1.0) {
    return AltAzimuth(kJd, {SiderealTime(kJd, lon) - ha, dec, dist}, lat, lon);
}

}  // namespace

TEST(Reduction, MeridianSixHoursWestTheEquatorAndErfaGeometry) {
    // azScale: 0.5 where the azimuth error is taken on the sky, dAz * cos(alt).
    struct C { double ha, dec, lat, lon, az, alt, azScale; };
    const C cases[] = {{0.0, 10.0, 40.0, 20.0, 180.0, 60.0, 1.0},  // on the meridian, south
                       {0.0, 40.0, 10.0, -70.0, 0.0, 60.0, 0.5},   // on the meridian, north
                       {90.0, 10.0, 0.0, 0.0, 280.0, 0.0, 1.0},    // six hours west on the equator
                       // An equator body from the equator: the arctangent meets x = 0.
                       {30.0, 0.0, 0.0, 0.0, 270.0, 60.0, 1.0}};
    for (const C& c : cases) {
        const Coord3 hz = AtHourAngle(c.ha, c.dec, c.lat, c.lon, 0.7);
        EXPECT_TRUE(std::isfinite(hz.x) && hz.x >= 0.0 && hz.x < 360.0) << hz.x;
        EXPECT_LT(std::fabs(AngleDiffArcsec(hz.x, c.az)) * c.azScale, kTolGeometryArcsec) << c.ha;
        EXPECT_LT(std::fabs(AngleDiffArcsec(hz.y, c.alt)), kTolGeometryArcsec) << c.ha;
        EXPECT_EQ(hz.z, 0.7);
    }
    const auto ref = testsupport::ReadCsv(testsupport::TestData("altaz_reference.csv"));
    for (size_t i = 0; i < ref.rows.size(); ++i) {
        const Coord3 hz = AtHourAngle(ref.Num(i, "ha_deg"), ref.Num(i, "dec_deg"), ref.Num(i, "lat_deg"), 15.0);
        EXPECT_LT(std::fabs(AngleDiffArcsec(hz.y, ref.Num(i, "alt_deg"))), kTolGeometryArcsec) << i;
        EXPECT_LT(std::fabs(AngleDiffArcsec(hz.x, ref.Num(i, "az_deg")) * std::cos(hz.y * M_PI / 180.0)), kTolGeometryArcsec) << i;
    }
}

TEST(Reduction, DiurnalAberrationAtThePole) {
    // At the pole the right ascension stays (no division by cos 90); the declination
    // moves outward by 0.319" (the equator's rotation speed over c) times cos(latitude).
    for (const double pole : {90.0, -90.0}) {
        Coord3 p{123.0, pole, 1.0};
        DiurnalAberration(90.0, p, 30.0);
        EXPECT_EQ(p.x, 123.0);
        EXPECT_NEAR((p.y - pole) / kAs, std::copysign(0.319, pole) * std::cos(M_PI / 6), 0.002);
    }
}

TEST(Reduction, RefractionIsContinuousAndAgreesWithErfa) {
    EXPECT_NEAR(Refraction(45.0) / kAs, 58.23, 0.05);
    EXPECT_EQ(Refraction(90.0), 0.0);
    // The horizon branch meets the polynomial at -0.575 deg; then no step larger than
    // 2" on a fine sweep through the joins at 5 and 15 deg (the old 2035" constant jumped 300").
    EXPECT_NEAR(Refraction(-0.575 - 1e-9) / kAs, Refraction(-0.575) / kAs, 0.3);
    double prev = Refraction(-0.575);
    for (double h = -0.575 + 0.001; h <= 90.0; h += 0.001) {
        const double r = Refraction(h);
        EXPECT_LT(std::fabs(r - prev) / kAs, 2.0) << h;
        prev = r;
    }
    const auto ref = testsupport::ReadCsv(testsupport::TestData("refraction_reference.csv"));
    for (size_t i = 0; i < ref.rows.size(); ++i)
        EXPECT_NEAR(Refraction(ref.Num(i, "alt_deg")) / kAs, ref.Num(i, "refraction_arcsec"), kTolRefractionVsErfaArcsec)
            << ref.Num(i, "alt_deg");
}

TEST(Reduction, TemperatureAndPressureScaleTheRefractionAsErfa) {
    // ERFA's refraction constants in air from -30 to +40 C and 970 to 1040 hPa against
    // those at 10 C and 1010 hPa (make_reduction_reference.py): the program's rule
    // (283 / (273 + T)) (P / 1010) within 0.3% of the refraction (0.5" at 20 deg).
    const auto ref = testsupport::ReadCsv(testsupport::TestData("refraction_air_reference.csv"));
    ASSERT_EQ(ref.rows.size(), 30u);
    for (size_t i = 0; i < ref.rows.size(); ++i) {
        const double t = ref.Num(i, "temp_c"), p = ref.Num(i, "pressure_hpa"), r = Refraction(ref.Num(i, "alt_deg"));
        EXPECT_NEAR(1.0 + RefractionTP(r, t, p) / r, ref.Num(i, "ratio"), kTolRefractionAirRatio) << t << " C " << p << " hPa";
    }
}

TEST(Reduction, DipParallaxSemidiameter) {
    struct C { double got, want, tol; };
    const C cases[] = {{Dip(15.0) * 60.0, 6.84, 0.005},
                       {Parallax(0.00257, 0.0) * 60.0, 57.0, 0.05},  // the Moon at 384000 km
                       {Parallax(0.00257, 90.0), 0.0, 1e-15},
                       {HorizontalParallax(1.0) / kAs, 8.794, 0.001},  // the Sun's horizontal parallax
                       {SemiDiameter(0, 1.0) * 60.0, 16.0, 0.01},
                       {SemiDiameter(9, 0.00257) * 60.0, 15.54, 0.01}};
    for (const C& c : cases) EXPECT_NEAR(c.got, c.want, c.tol) << c.want;
    EXPECT_EQ(Dip(0.0), 0.0);
    EXPECT_THROW(Dip(-1.0), ArithmeticFault);
    EXPECT_THROW(Parallax(1e-6, 0.0), ArithmeticFault);  // inside the Earth
    for (int body : {3, -1, 424, 10}) EXPECT_EQ(SemiDiameter(body, 1.0), 0.0) << body;
}

// The total correction Ho - Ha of the Nautical Almanac's altitude correction tables
// (Ha = Hs + i_s - dip, entered at standard air), as navigators quote them.
TEST(Reduction, SunAndMoonAgainstTheAlmanacCorrectionTables) {
    constexpr double kKmPerAuHere = 149597870.691;
    auto moonAtHP = [](double hpArcmin) { return 6378.137 / (std::sin(hpArcmin / 60.0 * M_PI / 180.0) * kKmPerAuHere); };
    // The Sun table of October-March is built for a semidiameter of 16.15'.
    const double sunOctMar = 1392000.0 / (2.0 * 16.15 / 60.0 * M_PI / 180.0) / kKmPerAuHere;
    struct C { int body; double ha, distance; bool lower; double corrArcmin, tolArcmin; const char* source; };
    // The Moon's lower part is tabulated for 5-degree bands of altitude: 0.15'; the Sun's 0.1' steps: 0.06'.
    const C cases[] = {
        {9, 31.0 + 1.9 / 60, moonAtHP(59.3), true, 58.5 + 6.8, 0.15, "Moon 31-01.9 HP 59.3 LL (NavList, 2014-10-04)"},
        {9, 17.3, moonAtHP(54.8), true, 62.6 + 1.6, 0.15, "Moon 17-18 HP 54.8 LL (NavList, 2022-03-14)"},
        {9, 17.3, moonAtHP(54.8), false, 62.6 + 1.7 - 30.0, 0.15, "Moon 17-18 HP 54.8 UL (NavList, 2022-03-14)"},
        {9, 80.0, moonAtHP(61.0), true, 20.5 + 6.4, 0.15, "Moon 80 HP 61.0 LL (NavList, 2020-09-01)"},
        {0, 37.0, sunOctMar, true, 15.0, 0.06, "Sun Oct-Mar 37 LL (NavList, 2016-12-21)"}};
    for (const C& c : cases) {
        const Horizon seaLevel{0.0, 10.0, 1010.0};
        const AltitudeCorrections k = CorrectSextantAltitude(c.ha, 0.0, seaLevel, c.body, c.distance, c.lower);
        EXPECT_NEAR((k.Ho - c.ha) * 60.0, c.corrArcmin, c.tolArcmin) << c.source;
        EXPECT_NEAR(SextantAltitudeFor(k.Ho, seaLevel, c.body, c.distance, c.lower), c.ha, 1e-9) << c.source;
    }
    // Planets and stars are brought down by their centre: the limb flag changes nothing;
    // a planet keeps its parallax (Venus at 0.3 AU: 29" HP).
    for (int body : {-1, 2, 5}) {
        const AltitudeCorrections a = CorrectSextantAltitude(40.0, 1.5, Horizon{}, body, 0.3, true);
        const AltitudeCorrections b = CorrectSextantAltitude(40.0, 1.5, Horizon{}, body, 0.3, false);
        EXPECT_TRUE(a.Ho == b.Ho && a.SemiD == 0.0 && (a.Parallax > 0.0) == (body >= 0)) << body;
    }
}
