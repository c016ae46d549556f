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

TEST(Obliquity, AtJ2000AndWithNutation) {
    EXPECT_NEAR(Obliquity(2451545.0, false), 84381.448 / 3600.0, 1e-12);
    EXPECT_NEAR(Obliquity(2451545.0, false), 23.4392911, 1e-7);
    const double jd = 2446895.5;
    EXPECT_NEAR(Obliquity(jd, true) - Obliquity(jd, false), Nutation(jd, 1), 1e-15);
    // Astronomical Algorithms example 22.a: eps0 = 23 26' 27.407", eps = 23 26' 36.850".
    EXPECT_NEAR(Obliquity(jd, false), 23.0 + 26.0 / 60 + 27.407 / 3600, 0.002 * kAs);
    EXPECT_NEAR(Obliquity(jd, true), 23.0 + 26.0 / 60 + 36.850 / 3600, 0.002 * kAs);
}

TEST(Nutation, PublishedExample) {
    EXPECT_NEAR(Nutation(2446895.5, 0) / kAs, -3.788, 0.001);
    EXPECT_NEAR(Nutation(2446895.5, 1) / kAs, 9.443, 0.001);
    EXPECT_NEAR(Nutation(2446895.5, 7) / kAs, 9.443, 0.001);  // any non-zero selects obliquity
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

TEST(FK5Correction, PublishedValues) {
    Coord3 p{90.0, 0.0, 1.0};
    FK5Correction(2451545.0, p);
    EXPECT_NEAR((p.x - 90.0) / kAs, -0.09033, 1e-9);
    EXPECT_NEAR(p.y / kAs, -0.03916, 1e-9);
    EXPECT_EQ(p.z, 1.0);
    Coord3 q{45.0, 0.0, 1.0};
    FK5Correction(2451545.0, q);
    EXPECT_NEAR(q.y, 0.0, 1e-15);
}

TEST(EclipticEquatorial, RoundTripAndKnownPlace) {
    const double eps = 23.4392911;
    for (double l = 0.0; l < 360.0; l += 23.7) {
        for (double b = -80.0; b <= 80.0; b += 20.0) {
            Coord3 p{l, b, 2.5};
            EclToEqu(p, eps);
            EXPECT_EQ(p.z, 2.5);
            EquToEcl(p, eps);
            EXPECT_NEAR(std::remainder(p.x - l, 360.0), 0.0, 1e-9) << l << " " << b;
            EXPECT_NEAR(p.y, b, 1e-9) << l << " " << b;
        }
    }
    // Astronomical Algorithms example 13.a: Pollux, alpha 116.328942, delta 28.026183,
    // eps 23.4392911: lambda 113.215630, beta 6.684170.
    Coord3 pollux{116.328942, 28.026183, 1.0};
    EquToEcl(pollux, 23.4392911);
    EXPECT_NEAR(pollux.x, 113.215630, 1e-6);
    EXPECT_NEAR(pollux.y, 6.684170, 1e-6);
    EclToEqu(pollux, 23.4392911);
    EXPECT_NEAR(pollux.x, 116.328942, 1e-6);
    EXPECT_NEAR(pollux.y, 28.026183, 1e-6);
}

TEST(AnnualPrecession, NoIntervalNoChangeAndPublishedRates) {
    Coord3 p{41.054063, 49.227750, 1.0};
    AnnualPrecession(2451545.0, 2451545.0, p);
    EXPECT_EQ(p.x, 41.054063);
    EXPECT_EQ(p.y, 49.227750);
    // At the equator and 0h the first-order rates are the published 46.1244" (alpha)
    // and 20.0431" (delta) per year at J2000.
    Coord3 q{0.0, 0.0, 1.0};
    AnnualPrecession(2451545.0, 2451545.0 + 365.25, q);
    EXPECT_NEAR(q.x / kAs, 46.1244, 1e-4);
    EXPECT_NEAR(q.y / kAs, 20.0431, 1e-4);
}

TEST(PrecessFromJ2000, PublishedExampleAndPole) {
    // Astronomical Algorithms example 21.b: theta Persei, mean place of J2000.0 with
    // proper motion to 2028 Nov 13.19 (alpha 41.054063, delta 49.227750), precessed
    // rigorously: alpha 41.547214, delta 49.348483.
    Coord3 p{41.054063, 49.227750, 1.0};
    PrecessFromJ2000(2462088.69, p);
    EXPECT_NEAR(Norm360(p.x), 41.547214, 0.00001);
    EXPECT_NEAR(p.y, 49.348483, 0.00001);
    // The celestial pole of J2000 moves away from the pole of date by theta.
    Coord3 pole{0.0, 90.0, 1.0};
    PrecessFromJ2000(2451545.0 + 36525.0, pole);
    EXPECT_NEAR(90.0 - pole.y, 2004.3109 / 3600.0 - 0.42665 / 3600.0 - 0.041833 / 3600.0, 1e-9);
    Coord3 same{123.0, -45.0, 1.0};
    PrecessFromJ2000(2451545.0, same);
    EXPECT_NEAR(Norm360(same.x), 123.0, 1e-12);
    EXPECT_NEAR(same.y, -45.0, 1e-12);
}

TEST(AnnualAberration, PublishedExample) {
    // Astronomical Algorithms example 23.a (theta Persei, 2028 Nov 13.19 TD):
    // aberration +30.045" in alpha and +6.697" in delta. The simplified Earth
    // velocity here ignores the orbit's eccentricity: within 0.5".
    Coord3 p{41.5599646, 49.3520685, 0.25};
    AnnualAberration(2462088.69, p);
    EXPECT_NEAR((p.x - 41.5599646) / kAs, 30.045, 0.5);
    EXPECT_NEAR((p.y - 49.3520685) / kAs, 6.697, 0.5);
    EXPECT_EQ(p.z, 0.25);
}
