// The fast paths of the ephemeris against the direct ones: the fits of consecutive
// hours and days, and the places shared per instant. (What a user sees of them is
// checked against the Swiss Ephemeris in test_planet and the almanac's tests.)

#include <random>

#include "core/mBodyPosition.h"
#include "core/mEphemerisFit.h"
#include "map/mStarMap.h"
#include "reduction/mAltAz.h"
#include "support/nav_fixture.h"

namespace {

struct DataFiles : ::testing::Environment {
    void SetUp() override { testsupport::LoadDataFiles(); }
};
::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new DataFiles);

constexpr double kJd1900 = 2415020.5, kJd2100 = 2488069.5;
constexpr int kFittedBodies[] = {0, 1, 2, 4, 5, 6, 7, 8, 9};

// The fits are promised within 1e-5" of BodyPosition; they reach a few 1e-7". The
// Moon's 1e-4": its place is itself piecewise (4-day spans of moon.bin, which join
// within 4e-5"), and a day's fit across a join smooths the step.
constexpr double kTolFitArcsec = 1e-5;
constexpr double kTolMoonFitArcsec = 1e-4;
constexpr double kTolFitDistanceAu = 1e-10;
// The sidereal time with the nutation from the fit: the nutation's fit is good to
// 1e-9"; the time is then rounded like the direct one (1e-10 degree).
constexpr double kTolSiderealArcsec = 1e-6;

// Angle on the sky between two apparent places, arc seconds.
double SkyArcsec(const Coord3& a, const Coord3& b) {
    const double dra = std::remainder(a.x - b.x, 360.0) * CosD(b.y);
    return std::hypot(dra, a.y - b.y) * 3600.0;
}

TEST(EphemerisFit, AgreesWithBodyPositionAtRandomInstants1900To2100) {
    std::mt19937_64 rng(2100);
    std::uniform_real_distribution<double> when(kJd1900, kJd2100), within(0.0, 1.0);
    const double spans[] = {1.0, 1.1, 1.25, 2.05, kMaxFitSpanDays};
    const std::vector<int> bodies(std::begin(kFittedBodies), std::end(kFittedBodies));
    for (int i = 0; i < 150; ++i) {
        const double span = spans[i % std::size(spans)];
        const double begin = when(rng);
        const EphemerisFit fit(begin, begin + span, bodies);
        for (int k = 0; k < 8; ++k) {
            // The ends of the span and random instants inside it.
            const double jd = k == 0 ? begin : k == 1 ? begin + span : begin + span * within(rng);
            EXPECT_LE(std::fabs(std::remainder(fit.SiderealTime(jd, 20.0) - SiderealTime(jd, 20.0), 360.0)) * 3600.0,
                      kTolSiderealArcsec) << jd;
            for (int body : kFittedBodies) {
                const Coord3 f = fit.Position(jd, body), d = BodyPosition(jd, body);
                EXPECT_TRUE(f.x >= 0.0 && f.x < 360.0);
                EXPECT_LE(SkyArcsec(f, d), body == kBodyMoon ? kTolMoonFitArcsec : kTolFitArcsec) << body << " " << jd;
                EXPECT_LE(std::fabs(f.z - d.z), kTolFitDistanceAu) << body << " " << jd;
            }
        }
    }
}

TEST(EphemerisFit, OutsideItsSpanOrBodiesGivesBodyPositionItself) {
    const EphemerisFit fit(2460000.5, 2460001.5, {kBodySun});
    EXPECT_TRUE(fit.Has(kBodySun) && !fit.Has(kBodyMoon) && !fit.Has(kBodyEarth));
    for (double jd : {2460000.4, 2460001.6}) EXPECT_EQ(fit.Position(jd, kBodySun).x, BodyPosition(jd, kBodySun).x) << jd;
    EXPECT_EQ(fit.Position(2460001.0, kBodyMoon).y, BodyPosition(2460001.0, kBodyMoon).y);
    // An empty fit (the default, or a span it cannot take) answers every instant directly.
    EXPECT_EQ(EphemerisFit().Position(2460001.0, kBodyVenus).y, BodyPosition(2460001.0, kBodyVenus).y);
    for (double end : {2460001.0, 2460001.0 + kMaxFitSpanDays + 0.5}) {
        const EphemerisFit odd(2460001.0, end, {kBodyVenus});
        EXPECT_TRUE(!odd.Has(kBodyVenus) && odd.Position(2460001.0, kBodyVenus).x == BodyPosition(2460001.0, kBodyVenus).x) << end;
    }
}

TEST(DailyEphemeris, DaysAgreeWithFitsOfTheirOwnAndWithBodyPosition) {
    // Sixteen consecutive days (four blocks of shared expansions), then back to the first.
    const double anchor = 2451910.5;
    DailyEphemeris days(anchor, {kBodySun, kBodyMoon, kBodyJupiter});
    double worst = 0.0;
    for (int k = 0; k < 16; ++k)
        for (int h = 0; h < 24; h += 5) {
            const double jd = anchor + k + h / 24.0;
            EXPECT_EQ(days.DayOf(jd), k);
            for (int body : {kBodySun, kBodyMoon, kBodyJupiter}) worst = std::fmax(worst, SkyArcsec(days.Position(jd, body), BodyPosition(jd, body)));
        }
    EXPECT_LE(worst, kTolMoonFitArcsec);
    EXPECT_EQ(days.DayOf(anchor - 0.5), -1);  // before the first day: BodyPosition itself
    EXPECT_LE(SkyArcsec(days.Position(anchor - 0.5, kBodyMoon), BodyPosition(anchor - 0.5, kBodyMoon)), kTolMoonFitArcsec);
}

TEST(SharedPerInstant, GivesBitForBitWhatEachCallAloneGives) {
    for (double jd : {2415020.5, 2451545.0, 2460676.3, 2488069.5}) {
        const ApparentFrame f = FrameAt(jd);
        EXPECT_TRUE(f.dpsi == Nutation(jd, 0) && f.deps == Nutation(jd, 1) && f.eps0 == Obliquity(jd, false) &&
                    f.eps == Obliquity(jd, true)) << jd;
        const EphemerisInstant at(jd);
        for (int body : kFittedBodies) {
            const Coord3 shared = BodyPosition(at, body), alone = BodyPosition(jd, body);
            EXPECT_TRUE(shared.x == alone.x && shared.y == alone.y && shared.z == alone.z) << body;
        }
    }
    // The star map's marks, computed for all stars at once, equal those of one at a time.
    const double jd = 2460676.3, lat = -33.9, lon = 18.4;
    const std::vector<MapMark> stars = StarMarks(jd, lat, lon, StarChoice::Magnitude, 99.0);
    ASSERT_GT(stars.size(), 50u);
    for (const MapMark& m : stars) {
        const Coord3 hz = AltAzimuth(jd, StarPosition(jd, m.Code), lat, lon);
        EXPECT_TRUE(m.Alt == hz.y && m.Az == hz.x) << m.Name;
    }
    for (const MapMark& m : BodyMarks(jd, lat, lon)) {
        const Coord3 hz = AltAzimuth(jd, BodyPosition(jd, BodyIdOfListIndex(m.Tag)), lat, lon);
        EXPECT_TRUE(m.Alt == hz.y && m.Az == hz.x) << m.Name;
    }
}

}  // namespace
