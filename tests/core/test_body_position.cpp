#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "core/mBodyPosition.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "core/mReport.h"

namespace {
constexpr double kAs = 1.0 / 3600.0;
// The worked examples use the full VSOP87 and the book's own aberration formula;
// here the truncated series (0.1") and the retarded Earth carry it: about 0.5".
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

TEST(BodyPosition, WorkedExamples) {
    Load();
    // Astronomical Algorithms 25.b (Sun, 1992 Oct 13), 33.a (Venus, 1992 Dec 20),
    // 47.a (Moon, 1992 Apr 12); distance < 0: not checked.
    struct C { int body; double jd, ra, dec, dist, tolDist; };
    const C cases[] = {{kBodySun, 2448908.5, Hms(13, 13, 30.749), Dms(-7, 47, 1.74), 0.99760775, 1e-6},
                       {kBodyVenus, 2448976.5, Hms(21, 4, 41.454), Dms(-18, 53, 16.84), -1, 0},
                       {kBodyMoon, 2448724.5, 134.688470, 13.768368, 368409.7 / 149597870.691, 0.1 / 149597870.691}};
    for (const C& c : cases) {
        const Coord3 p = BodyPosition(c.jd, c.body);
        EXPECT_NEAR(p.x, c.ra, kTolWorkedExampleArcsec * kAs) << c.body;
        EXPECT_NEAR(p.y, c.dec, kTolWorkedExampleArcsec * kAs) << c.body;
        if (c.dist > 0) {
            EXPECT_NEAR(p.z, c.dist, c.tolDist) << c.body;
        }
    }
}

TEST(BodyPosition, DistancesAreGeometricAtTheInstant) {
    // Not the distance at jd - tau: that differs by the radial speed over c (up to
    // 1e-4 of it), inside the reference comparison's tolerance.
    Load();
    const double jd = 2460400.5;
    const Coord3 e = SphToRect(HeliocentricPosition(kBodyEarth, jd), true);
    EXPECT_EQ(BodyPosition(jd, kBodySun).z, HeliocentricPosition(kBodyEarth, jd).z);
    for (int body : {1, 2, 4, 5, 6, 7, 8}) {
        const Coord3 x = SphToRect(HeliocentricPosition(body, jd), true);
        EXPECT_EQ(BodyPosition(jd, body).z, std::sqrt((x.x - e.x) * (x.x - e.x) + (x.y - e.y) * (x.y - e.y) +
                                                      (x.z - e.z) * (x.z - e.z))) << body;
    }
}

TEST(BodyPosition, RightAscensionWrapsIntoRange) {
    Load();
    // Through the March equinox of 2024 the Sun's RA passes 0h: values just below
    // 360 before, just above 0 after, never outside [0, 360).
    bool sawHigh = false, sawLow = false;
    for (double jd = 2460389.1; jd < 2460390.1; jd += 0.005) {
        const double a = BodyPosition(jd, kBodySun).x;
        ASSERT_TRUE(a >= 0.0 && a < 360.0) << jd;
        sawHigh |= a > 359.9;
        sawLow |= a < 0.1;
    }
    EXPECT_TRUE(sawHigh && sawLow);
    for (int body : {0, 1, 2, 4, 5, 6, 7, 8, 9})
        for (double jd = 2415020.5; jd < 2488069.5; jd += 997.3) {
            const Coord3 p = BodyPosition(jd, body);
            EXPECT_TRUE(p.x >= 0.0 && p.x < 360.0) << body << " " << jd;
            EXPECT_LE(std::fabs(p.y), 30.0) << body << " " << jd;  // all keep near the ecliptic
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
