#include <gtest/gtest.h>

#include <cmath>

#include "core/mApparent.h"
#include "core/mMath.h"
#include "support/csv.h"

namespace {
constexpr double kAs = 1.0 / 3600.0;          // one arcsecond in degrees
constexpr double kTolNutationArcsec = 0.003;   // 63 of the 106 terms of IAU 1980
constexpr double kTolObliquityArcsec = 0.01;   // Laskar's polynomial against IAU 1980's
}  // namespace

TEST(Nutation, PublishedExample1987April10) {
    // Astronomical Algorithms examples 22.a: dpsi -3.788", deps 9.443",
    // eps0 = 23 26' 27.407", eps = 23 26' 36.850".
    const double jd = 2446895.5;
    EXPECT_NEAR(Nutation(jd, 0) / kAs, -3.788, 0.001);
    EXPECT_NEAR(Nutation(jd, 1) / kAs, 9.443, 0.001);
    EXPECT_NEAR(Nutation(jd, 7) / kAs, 9.443, 0.001);  // any non-zero selects obliquity
    EXPECT_NEAR(Obliquity(jd, false), 23.0 + 26.0 / 60 + 27.407 / 3600, 0.002 * kAs);
    EXPECT_NEAR(Obliquity(jd, true), 23.0 + 26.0 / 60 + 36.850 / 3600, 0.002 * kAs);
}

TEST(Nutation, AgreesWithTheFullIau1980Series) {
    const auto ref = testsupport::ReadCsv(testsupport::TestData("time_reference.csv"));
    testsupport::ErrorStats psi, eps, obl;
    for (size_t i = 0; i < ref.rows.size(); ++i) {
        const double jd = ref.Num(i, "jd");
        const double dpsi = Nutation(jd, 0) / kAs - ref.Num(i, "dpsi_as");
        const double deps = Nutation(jd, 1) / kAs - ref.Num(i, "deps_as");
        const double deps0 = Obliquity(jd, false) / kAs - ref.Num(i, "eps0_as");
        psi.Add(dpsi);
        eps.Add(deps);
        obl.Add(deps0);
        EXPECT_LT(std::fabs(dpsi), kTolNutationArcsec) << jd;
        EXPECT_LT(std::fabs(deps), kTolNutationArcsec) << jd;
        EXPECT_LT(std::fabs(deps0), kTolObliquityArcsec) << jd;
    }
    std::printf("nutation vs ERFA nut80: dpsi max %.5f\" rms %.5f\"; deps max %.5f\" rms %.5f\"\n", psi.max,
                psi.Rms(), eps.max, eps.Rms());
    std::printf("mean obliquity vs ERFA obl80: max %.5f\" rms %.5f\"\n", obl.max, obl.Rms());
}

TEST(EclipticEquatorial, RoundTripAndKnownPlace) {
    const double eps = 23.4392911;
    for (double l = 0.0; l < 360.0; l += 23.7)
        for (double b = -80.0; b <= 80.0; b += 20.0) {
            Coord3 p{l, b, 2.5};
            EclToEqu(p, eps);
            EXPECT_EQ(p.z, 2.5);
            EquToEcl(p, eps);
            EXPECT_NEAR(std::remainder(p.x - l, 360.0), 0.0, 1e-9) << l << " " << b;
            EXPECT_NEAR(p.y, b, 1e-9) << l << " " << b;
        }
    // Astronomical Algorithms example 13.a: Pollux, alpha 116.328942, delta 28.026183:
    // lambda 113.215630, beta 6.684170.
    Coord3 pollux{116.328942, 28.026183, 1.0};
    EquToEcl(pollux, eps);
    EXPECT_NEAR(pollux.x, 113.215630, 1e-6);
    EXPECT_NEAR(pollux.y, 6.684170, 1e-6);
}

TEST(Precession, PublishedExampleAndFirstOrderAgainstRigorous) {
    // Astronomical Algorithms example 21.b: theta Persei, J2000 place with proper motion
    // to 2028 Nov 13.19 (41.054063, 49.227750), precessed rigorously: 41.547214, 49.348483.
    Coord3 p{41.054063, 49.227750, 1.0};
    PrecessFromJ2000(2462088.69, p);
    EXPECT_NEAR(Norm360(p.x), 41.547214, 0.00001);
    EXPECT_NEAR(p.y, 49.348483, 0.00001);
    Coord3 same{123.0, -45.0, 1.0};
    PrecessFromJ2000(2451545.0, same);
    EXPECT_NEAR(Norm360(same.x), 123.0, 1e-12);
    EXPECT_NEAR(same.y, -45.0, 1e-12);
    // Over one year the first-order annual precession agrees with the rigorous one
    // to well under 0.01" away from the pole; no interval, no change.
    for (const Coord3 start : {Coord3{0.0, 0.0, 1.0}, Coord3{41.05, 49.23, 1.0}, Coord3{250.0, -30.0, 1.0}}) {
        Coord3 first = start, rigorous = start;
        AnnualPrecession(2451545.0, 2451545.0 + 365.25, first);
        PrecessFromJ2000(2451545.0 + 365.25, rigorous);
        EXPECT_NEAR(std::remainder(first.x - rigorous.x, 360.0) / kAs, 0.0, 0.01) << start.x;
        EXPECT_NEAR((first.y - rigorous.y) / kAs, 0.0, 0.01) << start.x;
        Coord3 none = start;
        AnnualPrecession(2451545.0, 2451545.0, none);
        EXPECT_EQ(none.x, start.x);
        EXPECT_EQ(none.y, start.y);
    }
}

TEST(AnnualAberration, PublishedExample) {
    // Astronomical Algorithms example 23.a (theta Persei, 2028 Nov 13.19 TD): +30.045"
    // in alpha and +6.697" in delta. The simplified Earth velocity ignores the orbit's
    // eccentricity: within 0.5".
    Coord3 p{41.5599646, 49.3520685, 0.25};
    AnnualAberration(2462088.69, p);
    EXPECT_NEAR((p.x - 41.5599646) / kAs, 30.045, 0.5);
    EXPECT_NEAR((p.y - 49.3520685) / kAs, 6.697, 0.5);
    EXPECT_EQ(p.z, 0.25);
}
