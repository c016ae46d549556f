// Apparent places against the Swiss Ephemeris (DE431) at the same TT, from
// tests/data/ephemeris_reference.csv (make_ephemeris_reference.sh). The Greenwich hour
// angle uses the reference's own sidereal time, so its error is our right ascension's
// alone: Delta T and the sidereal time formula (test_time) do not enter.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "bodies/mStar.h"
#include "core/mBodyPosition.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "support/csv.h"

namespace {
// Sun and planets: VSOP87D truncated at 0.1", IAU 1980 nutation against IAU 2000/2006,
// aberration through the retarded Earth, no light deflection: about 1".
constexpr double kTolPlanetArcsec = 1.0;
// Uranus and Neptune: VSOP87 itself (fitted to DE200) departs from DE431 by about 2.3".
constexpr double kTolOuterPlanetArcsec = 3.0;
// The Moon: the 60 + 60 terms are good to about 10" in longitude and 4" in latitude,
// and the place gets no light time (0.7").
constexpr double kTolMoonArcsec = 7.0;
// Distances: ours is geometric at the instant, the reference's the light-time distance
// (up to 1e-4 apart); the Moon's 60-term distance is good to about 30 km (2e-7 AU).
constexpr double kTolDistanceRelative = 2e-4;
constexpr double kTolMoonDistanceAu = 3.5e-7;
// Stars: rigorous precession from J2000 leaves the simplified annual aberration (0.3")
// and linear proper motion: within 1" on the sky 1950-2050, 1.5" 1900-2100, Polaris
// included (first-order precession was 15' off for Polaris in 2100).
constexpr double kTolStarNearArcsec = 1.0;
constexpr double kTolStarArcsec = 1.5;
constexpr int kPolaris = 424;

struct Stats {
    testsupport::ErrorStats gha, dec, sky;
};

// Errors in arcseconds of GHA and declination of place p against row i.
void Errors(const testsupport::CsvTable& ref, size_t i, const Coord3& p, double& dGha, double& dDec) {
    const double gha = Norm360(ref.Num(i, "gast_deg") - p.x);
    dGha = std::remainder(gha - ref.Num(i, "gha_deg"), 360.0) * 3600.0;
    dDec = (p.y - ref.Num(i, "dec_deg")) * 3600.0;
}

testsupport::CsvTable Load() {
    SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
    EXPECT_TRUE(LoadPlanetData().ok);
    EXPECT_TRUE(LoadStarFile().ok);
    return testsupport::ReadCsv(testsupport::TestData("ephemeris_reference.csv"));
}
}  // namespace

TEST(EphemerisReference, SunMoonAndPlanets) {
    const auto ref = Load();
    std::map<int, Stats> stats;
    for (size_t i = 0; i < ref.rows.size(); ++i) {
        if (ref.Text(i, "kind") != "body") continue;
        const int body = std::stoi(ref.Text(i, "id"));
        const double jd = ref.Num(i, "jd_tt");
        const Coord3 p = BodyPosition(jd, body);
        double dGha, dDec;
        Errors(ref, i, p, dGha, dDec);
        const double dRa = std::remainder(p.x - ref.Num(i, "ra_deg"), 360.0) * 3600.0;
        Stats& s = stats[body];
        s.gha.Add(dGha);
        s.dec.Add(dDec);
        s.sky.Add(std::hypot(dRa * CosD(ref.Num(i, "dec_deg")), dDec));
        const double tol = body == kBodyMoon ? kTolMoonArcsec
                           : body == kBodyUranus || body == kBodyNeptune ? kTolOuterPlanetArcsec : kTolPlanetArcsec;
        EXPECT_LT(std::fabs(dGha), tol) << "body " << body << " jd " << jd;
        EXPECT_LT(std::fabs(dDec), tol) << "body " << body << " jd " << jd;
        EXPECT_NEAR(p.z, ref.Num(i, "dist_au"), body == kBodyMoon ? kTolMoonDistanceAu : kTolDistanceRelative * p.z)
            << body;
    }
    const char* names[] = {"Sun", "Mercury", "Venus", "", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Moon"};
    std::printf("vs Swiss Ephemeris, %zu instants 1900-2100 (arcsec)   GHA max/rms   Dec max/rms   sky max/rms\n",
                stats[0].gha.n);
    for (const auto& [body, s] : stats)
        std::printf("  %-8s %6.3f %6.3f   %6.3f %6.3f   %6.3f %6.3f\n", names[body], s.gha.max, s.gha.Rms(),
                    s.dec.max, s.dec.Rms(), s.sky.max, s.sky.Rms());
    EXPECT_EQ(stats.size(), 9u);
}

TEST(EphemerisReference, NavigationalStars) {
    const auto ref = Load();
    std::map<int, Stats> all, near;  // near: 1950-2050
    for (size_t i = 0; i < ref.rows.size(); ++i) {
        if (ref.Text(i, "kind") != "star") continue;
        const int hr = std::stoi(ref.Text(i, "id"));
        const double jd = ref.Num(i, "jd_tt");
        double dGha, dDec;
        Errors(ref, i, StarPosition(jd, hr), dGha, dDec);
        const double sky = std::hypot(dGha * CosD(ref.Num(i, "dec_deg")), dDec);
        const bool isNear = std::fabs(jd - 2451545.0) <= 50 * 365.25;
        EXPECT_LT(sky, isNear ? kTolStarNearArcsec : kTolStarArcsec) << hr << " jd " << jd;
        for (auto* m : {&all, &near}) {
            if (m == &near && !isNear) continue;
            Stats& s = (*m)[hr];
            s.gha.Add(dGha);
            s.dec.Add(dDec);
            s.sky.Add(sky);
        }
    }
    std::printf("stars vs Swiss Ephemeris (arcsec)            1900-2100: GHA max/rms  Dec max/rms  sky max/rms"
                " | 1950-2050: sky max/rms\n");
    for (const auto& [hr, s] : all)
        std::printf("  %-32s %9.2f %8.2f %7.2f %7.2f %7.2f %7.2f | %7.2f %7.2f\n", StarName(StarIndex(hr)).c_str(),
                    s.gha.max, s.gha.Rms(), s.dec.max, s.dec.Rms(), s.sky.max, s.sky.Rms(), near[hr].sky.max,
                    near[hr].sky.Rms());
    EXPECT_EQ(all.size(), 10u);
    EXPECT_EQ(all.count(kPolaris), 1u);
}
