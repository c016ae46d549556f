#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/mApparent.h"
#include "core/mBodyPosition.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "core/mReport.h"

namespace {
constexpr double kAs = 1.0 / 3600.0;
// The worked examples of Astronomical Algorithms use the full VSOP87 and add the
// aberration by its own formula; here the truncated series (0.1") and the
// retarded Earth carry it: agreement within about 0.5" is expected.
constexpr double kTolWorkedExampleArcsec = 0.5;

void Load() {
    SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
    const LoadStatus st = LoadPlanetData();
    ASSERT_TRUE(st.ok) << st.message;
}

double Hms(int h, int m, double s) { return (h + m / 60.0 + s / 3600.0) * 15.0; }
double Dms(int d, int m, double s) { return (std::abs(d) + m / 60.0 + s / 3600.0) * (d < 0 ? -1 : 1); }

int g_reports = 0;
void CountReport(const std::string&, const std::string&) { ++g_reports; }
}  // namespace

TEST(BodyPosition, SunWorkedExample1992October13) {
    Load();
    // Example 25.b (full VSOP87): alpha 13h13m30.749s, delta -7 47' 01.74", R 0.99760775.
    const Coord3 s = BodyPosition(2448908.5, kBodySun);
    EXPECT_NEAR(s.x, Hms(13, 13, 30.749), kTolWorkedExampleArcsec * kAs);
    EXPECT_NEAR(s.y, Dms(-7, 47, 1.74), kTolWorkedExampleArcsec * kAs);
    EXPECT_NEAR(s.z, 0.99760775, 1e-6);
}

TEST(BodyPosition, VenusWorkedExample1992December20) {
    Load();
    // Example 33.a (full VSOP87): alpha 21h04m41.454s, delta -18 53' 16.84".
    const Coord3 v = BodyPosition(2448976.5, kBodyVenus);
    EXPECT_NEAR(v.x, Hms(21, 4, 41.454), kTolWorkedExampleArcsec * kAs);
    EXPECT_NEAR(v.y, Dms(-18, 53, 16.84), kTolWorkedExampleArcsec * kAs);
}

TEST(BodyPosition, MoonWorkedExample1992April12) {
    Load();
    // Example 47.a: apparent alpha 134.688470, delta 13.768368 degrees.
    const Coord3 m = BodyPosition(2448724.5, kBodyMoon);
    EXPECT_NEAR(m.x, 134.688470, kTolWorkedExampleArcsec * kAs);
    EXPECT_NEAR(m.y, 13.768368, kTolWorkedExampleArcsec * kAs);
    EXPECT_NEAR(m.z * 149597870.691, 368409.7, 0.1);
}

TEST(BodyPosition, DistancesAreGeometricAtTheInstant) {
    Load();
    const double jd = 2460400.5;
    // The Sun: the Earth's radius vector at jd, not at jd - tau.
    EXPECT_EQ(BodyPosition(jd, kBodySun).z, HeliocentricPosition(kBodyEarth, jd).z);
    for (int body : {1, 2, 4, 5, 6, 7, 8}) {
        const Coord3 e = SphToRect(HeliocentricPosition(kBodyEarth, jd), true);
        const Coord3 x = SphToRect(HeliocentricPosition(body, jd), true);
        const double d = std::sqrt((x.x - e.x) * (x.x - e.x) + (x.y - e.y) * (x.y - e.y) + (x.z - e.z) * (x.z - e.z));
        EXPECT_EQ(BodyPosition(jd, body).z, d) << body;
    }
}

TEST(BodyPosition, SunIsTheTurnedEarthAtTheRetardedInstant) {
    Load();
    const double jd = 2451545.0;
    const double tau = HeliocentricPosition(kBodyEarth, jd).z * kLightTimeDaysPerAu;
    Coord3 p = HeliocentricPosition(kBodyEarth, jd - tau);
    p.x = Norm360(p.x + 180.0);
    p.y = -p.y;
    FK5Correction(jd, p);
    p.x += Nutation(jd, 0);
    EclToEqu(p, Obliquity(jd, true));
    EXPECT_NEAR(BodyPosition(jd, kBodySun).x, Norm360(p.x), 1e-9);
    EXPECT_NEAR(BodyPosition(jd, kBodySun).y, p.y, 1e-9);
}

TEST(BodyPosition, RightAscensionWrapsIntoRange) {
    Load();
    // Through the March equinox of 2024 the Sun's RA passes 0h: every value is in
    // [0, 360), and the values just before the passage are just below 360.
    bool sawHigh = false, sawLow = false;
    for (double jd = 2460389.1; jd < 2460390.1; jd += 0.005) {
        const double a = BodyPosition(jd, kBodySun).x;
        ASSERT_GE(a, 0.0);
        ASSERT_LT(a, 360.0);
        sawHigh |= a > 359.9;
        sawLow |= a < 0.1;
    }
    EXPECT_TRUE(sawHigh && sawLow);
    for (int body : {0, 1, 2, 4, 5, 6, 7, 8, 9})
        for (double jd = 2415020.5; jd < 2488069.5; jd += 997.3) {
            const Coord3 p = BodyPosition(jd, body);
            EXPECT_GE(p.x, 0.0);
            EXPECT_LT(p.x, 360.0);
            EXPECT_LE(std::fabs(p.y), 30.0) << body << " " << jd;  // all keep near the ecliptic
        }
}

TEST(BodyPosition, SameInputSameResult) {
    Load();
    for (int body : {0, 2, 9}) {
        const Coord3 a = BodyPosition(2455555.25, body), b = BodyPosition(2455555.25, body);
        EXPECT_EQ(a.x, b.x);
        EXPECT_EQ(a.y, b.y);
        EXPECT_EQ(a.z, b.z);
    }
}

TEST(BodyPosition, InvalidBodyIsReportedOnce) {
    Load();
    const ReportHook old = SetReportHook(&CountReport);
    g_reports = 0;
    const Coord3 p = BodyPosition(2451545.0, 10);
    EXPECT_EQ(g_reports, 1);
    EXPECT_EQ(p.x, 0.0);
    EXPECT_EQ(p.z, 0.0);
    BodyPosition(2451545.0, -1);
    EXPECT_EQ(g_reports, 2);
    SetReportHook(old);
}
