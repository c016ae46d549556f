// The fix: text conversion of a line, the least-squares solution and its error
// ellipse against hand-computed eigen-decompositions, the reduction of single
// lines (running fix, limbs, air) and the calculate command's refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

#include "core/mStar.h"
#include "reduction/mAltAz.h"
#include "reduction/mCorrection.h"
#include "support/nav_fixture.h"

using testsupport::DrState;
using testsupport::NmBetween;

namespace {
constexpr double kTolExact = 1e-12;      // sums of a few exact values
constexpr double kTolAlphaDeg = 1e-4;    // stored in single precision (about 1e-5 deg at 180)
constexpr double kTolRunNm = 1e-6;       // the dead-reckoning run, plane sailing
constexpr double kTolDayFraction = 1e-9; // sight instants
constexpr double kSqrt3 = 1.7320508075688772;
constexpr const char* kHead = "Can not calculate position:\r\n";

FixResult Solve(const NormalSums& s, double drLat = 0.0, double drLon = 0.0) {
    FixResult f;
    f.DRLat = drLat;
    f.DRLon = drLon;
    SolveFix(s, f);
    return f;
}
bool StartsWith(const std::string& s, const std::string& head) { return s.rfind(head, 0) == 0; }
}  // namespace

TEST(SightText, Altitudes) {
    // Degrees, or NAN for a text that is no sextant altitude.
    const std::pair<const char*, double> texts[] = {
        {"45-30.5", 45.0 + 30.5 / 60.0}, {"45-30,5", 45.0 + 30.5 / 60.0}, {"00-00.0", 0.0}, {"90-00.0", 90.0},
        {"07-59.9", 7.0 + 59.9 / 60.0},  {"90-00.1", NAN}, {"45-60.0", NAN}, {"45-75.0", NAN}, {"4x-00.0", NAN},
        {"45-", NAN}, {"45-30.5.1", NAN}, {"", NAN}, {"4530.5", NAN}, {"-45-30.0", NAN}, {"45-3a.0", NAN},
        {"99-00.0", NAN}, {"99999999999-00.0", NAN}};
    for (const auto& [text, degrees] : texts) {
        double h = -1.0;
        EXPECT_EQ(ParseSightAltitude(text, h), !std::isnan(degrees)) << text;
        EXPECT_TRUE(std::isnan(degrees) || std::fabs(h - degrees) < kTolExact) << text;
    }
}

// ------------------------------------------------------- solution and ellipse

TEST(FixEllipse, AgainstHandEigenDecompositions) {
    struct Case {
        std::vector<double> azimuths;
        double a, b, alpha, tolA, tolB, tolAlpha;
    };
    const double c80 = std::sqrt(2.0) * CosD(80.0), s80 = std::sqrt(2.0) * SinD(80.0);
    const Case cases[] = {
        // 0 and 90: the normal matrix is the identity; equal axes have the angle 0.
        {{0.0, 90.0}, 1.0, 1.0, 0.0, 1e-9, 1e-9, 0.0},
        // 0, 120, 240: Scc = Sss = 3/2, Scs = 0 up to rounding: axes sqrt(2/3), angle 0.
        {{0.0, 120.0, 240.0}, std::sqrt(2.0 / 3.0), std::sqrt(2.0 / 3.0), 0.0, 1e-7, 1e-7, 0.0},
        // 0 and 30: N = [[7/4, sqrt3/4], [sqrt3/4, 1/4]], eigenvalues 1 +- sqrt3/2 with
        // eigenvectors at 15 (best) and 105 degrees: a = 1 + sqrt3, b = sqrt3 - 1.
        {{0.0, 30.0}, 1.0 + kSqrt3, kSqrt3 - 1.0, 105.0, 1e-6, 1e-6, kTolAlphaDeg},
        // 30 and 60: N = [[1, sqrt3/2], [sqrt3/2, 1]], eigenvector (1, -1) for the small
        // eigenvalue: the major axis runs 135 degrees.
        {{30.0, 60.0}, 1.0 + kSqrt3, kSqrt3 - 1.0, 135.0, 1e-6, 1e-6, kTolAlphaDeg},
        // 80 and 100: Scs = 0, Scc = 2 cos^2 80: north-south badly determined, major axis 0 (not 180).
        {{80.0, 100.0}, 1.0 / c80, 1.0 / s80, 0.0, 1e-5, 1e-6, kTolAlphaDeg},
        // 170 and 190: the same shape turned a right angle.
        {{170.0, 190.0}, 1.0 / c80, 1.0 / s80, 90.0, 1e-5, 1e-6, kTolAlphaDeg},
    };
    for (const Case& c : cases) {
        NormalSums s;
        for (double a : c.azimuths) s.Add(a, 0.0, 1.0);
        const FixResult f = Solve(s);
        EXPECT_TRUE(f.Refusal.empty()) << c.azimuths[1];
        EXPECT_NEAR(f.EllipseA, c.a, c.tolA) << c.azimuths[1];
        EXPECT_NEAR(f.EllipseB, c.b, c.tolB) << c.azimuths[1];
        EXPECT_NEAR(f.EllipseAlpha, c.alpha, c.tolAlpha) << c.azimuths[1];  // equal axes: exactly 0
    }
}

TEST(FixEllipse, TheFixSolvesTheNormalEquationsAndComesBackOverAPole) {
    const double p20 = 2.0 * CosD(20.0) + SinD(20.0), p140 = 2.0 * CosD(140.0) + SinD(140.0),
                 p260 = 2.0 * CosD(260.0) + SinD(260.0);
    const struct {
        std::vector<std::pair<double, double>> lines;  // azimuth, intercept
        double drLat, drLon, lat, lon;                 // lat NAN: refused, the DR kept
    } cases[] = {
        // 3' toward 000 and 4' toward 090 at 60 N: 8' of longitude, across the date line.
        {{{0, 3}, {90, 4}}, 60.0, -179.99, 60.05, -179.99 + 8.0 / 60.0},
        // Three lines through the point 2' north, 1' east.
        {{{20, p20}, {140, p140}, {260, p260}}, 0.0, 10.0, 2.0 / 60.0, 10.0 + 1.0 / 60.0},
        // 10' north of 89-57.0N is 89-53.0N on the far meridian, never 90-07.0N; the same in the south.
        {{{0, 10}, {90, 0}}, 89.95, 10.0, 89.95 - 4.0 / 60.0, -170.0},
        {{{180, 10}, {90, 0}}, -89.95, -100.0, -89.95 + 4.0 / 60.0, 80.0},
        // Beyond any sight's reach (90 degrees), or lines 0.01 degrees apart (a = 8100'): no
        // fix; lines 0.05 degrees apart (a = 1620') still fix.
        {{{0, 5401}, {90, 0}}, 40.0, 10.0, NAN, 0.0},
        {{{0, 0}, {0.01, 0}}, 40.0, 10.0, NAN, 0.0},
        {{{0, 0}, {0.05, 0}}, 40.0, 10.0, 40.0, 10.0},
    };
    for (const auto& c : cases) {
        NormalSums s;
        for (const auto& [az, p] : c.lines) s.Add(az, p, 1.0);
        const FixResult f = Solve(s, c.drLat, c.drLon);
        SCOPED_TRACE(c.drLat);
        EXPECT_EQ(f.Refusal.empty(), !std::isnan(c.lat)) << f.Refusal;
        EXPECT_NEAR(f.FixLat, std::isnan(c.lat) ? c.drLat : c.lat, 1e-10);
        EXPECT_NEAR(f.FixLon, std::isnan(c.lat) ? c.drLon : c.lon, 1e-9);
    }
}

TEST(FixEllipse, ParallelLinesOrNoneGiveAMessageNotGarbage) {
    for (auto azimuths : {std::pair<double, double>{0.0, 180.0}, {45.0, 45.0}, {123.4, 303.4}}) {
        NormalSums s;
        s.Add(azimuths.first, 2.0, 1.0);
        s.Add(azimuths.second, -1.0, 1.0);
        const FixResult f = Solve(s, 12.5, -30.25);
        EXPECT_TRUE(StartsWith(f.Refusal, "Division by zero")) << f.Refusal;
        EXPECT_EQ(f.FixLat, 12.5);
        EXPECT_EQ(f.FixLon, -30.25);
        EXPECT_EQ(f.EllipseA, 0.0f);
        EXPECT_EQ(f.EllipseB, 0.0f);
        EXPECT_TRUE(std::isfinite(f.EllipseAlpha));
    }
    const FixResult f = Solve(NormalSums{}, 1.0, 2.0);
    EXPECT_FALSE(f.Refusal.empty());
    EXPECT_EQ(f.EllipseAlpha, 0.0f);
}

TEST(FixSummary, CourseAndDistanceFromTheDeadReckoning) {
    struct Case {
        double drLat, drLon, fixLat, fixLon, c, dist, tolC;
    };
    const Case cases[] = {
        // Due east and west: 10 nm is 20' of longitude at 60 N; C is exactly the Atan2 limit.
        {60.0, 10.0, 60.0, 10.0 + 20.0 / 60.0, 90.0, 10.0, 0.0},
        {60.0, 10.0, 60.0, 10.0 - 20.0 / 60.0, 270.0, 10.0, 0.0},
        {60.0, 10.0, 60.1, 10.0, 0.0, 6.0, 0.0},
        {60.0, 10.0, 59.9, 10.0, 180.0, 6.0, 1e-9},
        {-0.05, 10.0, 0.05, 9.9, 315.0, 6.0 * std::sqrt(2.0), 1e-9},  // north-west: a true course, not -45
        {0.0, 10.0, 1.0, 10.0 - 1e-9, 0.0, 60.0, 1e-9},                // just west of north rounds to 000.0
        {0.0, 179.95, 0.0, -179.95, 90.0, 6.0, 0.0},                  // across the date line the short way
    };
    for (const Case& c : cases) {
        FixResult f;
        f.DRLat = c.drLat;
        f.DRLon = c.drLon;
        f.FixLat = c.fixLat;
        f.FixLon = c.fixLon;
        const CourseDistance cd = FixCourseDistance(f);
        EXPECT_NEAR(cd.C, c.c, c.tolC) << c.fixLat << " " << c.fixLon;
        EXPECT_NEAR(cd.Dist, c.dist, 1e-9) << c.fixLat << " " << c.fixLon;
    }
}

// ------------------------------------------- reduction of lines (needs the data)

class CalcPositionTest : public testsupport::NavFixture {
protected:
    void SetUp() override {
        // 2024-03-15 12 UT at 40 N 20 W, course 090 at 15 kn.
        nav = DrState(DateFromParts(2024, 3, 15, 12, 0, 0), 0.0f, 40.0, -20.0, 90.0f, 15.0f);
    }
    // The Sun (code 0) in line 1 and Venus (code -2) in line 3, in daylight.
    static SightLines TwoLines() {
        SightLines l;
        l.Body = {0, kNoBody, -2, kNoBody};
        l.Time = {"12:00:00", "", "11:00:00", ""};
        l.Altitude = {"45-00.0", "", "30-00.0", ""};
        l.LowerLimb = {true, false, true, false};
        return l;
    }
    // Nautical miles east of the DR position at 40 N.
    static double EastNm(const LatLon& p) { return (p.Lon + 20.0) * 60.0 * CosD(40.0); }
};

TEST_F(CalcPositionTest, RunningFixReducesEachSightFromTheDeadReckoningAtItsInstant) {
    // Two hours (line 1) and one hour (line 3) before the fix at 15 kn on 090: 30
    // and 15 nm astern, the longitude widened by sec 40; lines not in use stay zero.
    SightLines l = TwoLines();
    l.Time[0] = "10:00:00";
    FixResult f = CalcPosition(l, nav);
    EXPECT_NEAR(f.LinePos[0].Lat, 40.0, kTolExact);
    EXPECT_NEAR(EastNm(f.LinePos[0]), -30.0, kTolRunNm);
    EXPECT_NEAR(EastNm(f.LinePos[2]), -15.0, kTolRunNm);
    for (int i : {1, 3})
        for (double v : {f.Weight[i], f.LineTime[i], f.Hc[i], f.Az[i], f.Intercept[i]}) EXPECT_EQ(v, 0.0) << i;
    // Course 225: the sight two hours back lies 30 nm to the north-east (the departure
    // spread over the mean latitude).
    nav.Course = 225.0f;
    f = CalcPosition(l, nav);
    EXPECT_NEAR((f.LinePos[0].Lat - 40.0) * 60.0, 30.0 * CosD(45.0), kTolRunNm);
    EXPECT_NEAR((f.LinePos[0].Lon + 20.0) * 60.0 * CosD((f.LinePos[0].Lat + 40.0) / 2.0), 30.0 * SinD(45.0), 1e-3);
    // A sight at the fix instant, or a ship stopped: the DR position itself.
    f = CalcPosition(TwoLines(), nav);
    EXPECT_NEAR(f.LinePos[0].Lat, 40.0, kTolExact);
    EXPECT_NEAR(f.LinePos[0].Lon, -20.0, kTolExact);
    nav.Speed = 0.0f;
    f = CalcPosition(l, nav);
    for (int i : {0, 2}) {
        EXPECT_EQ(f.LinePos[i].Lat, 40.0);
        EXPECT_EQ(f.LinePos[i].Lon, -20.0);
    }
}

TEST_F(CalcPositionTest, ASightTakesTheUtDateNearestTheFix) {
    // {fix local time, zone, sight times of lines 1 and 3, their hours after the fix's UT}:
    // each is reduced 15 nm an hour along course 090 from the DR position.
    const std::tuple<DateValue, float, const char*, const char*, double, double> cases[] = {
        // Fix at 11:30 UT: the 12:00 sight half an hour later, the same date.
        {DateFromParts(2024, 3, 15, 14, 30, 0), 3.0f, "12:00:00", "11:00:00", 0.5, -0.5},
        // Fix at 00:10 UT on the 16th: sights at 23:50 and 23:10 were on the 15th, not 23 hours ahead.
        {DateFromParts(2024, 3, 16, 0, 10, 0), 0.0f, "23:50:00", "23:10:00", -1.0 / 3.0, -1.0},
        // Fix at 23:50 UT: a sight at 00:20 is on the next date.
        {DateFromParts(2024, 3, 15, 23, 50, 0), 0.0f, "00:20:00", "23:10:00", 0.5, -2.0 / 3.0},
    };
    for (const auto& [fixLocal, tz, time0, time2, hours0, hours2] : cases) {
        nav.LocalDate = fixLocal;
        nav.TZ = tz;
        SightLines l = TwoLines();
        l.Time[0] = time0;
        l.Time[2] = time2;
        const FixResult f = CalcPosition(l, nav);
        const DateValue fixUt = fixLocal - tz / 24.0;
        EXPECT_NEAR(f.LineTime[0], fixUt + hours0 / 24.0, kTolDayFraction) << time0;
        EXPECT_NEAR(f.LineTime[2], fixUt + hours2 / 24.0, kTolDayFraction) << time2;
        EXPECT_NEAR(EastNm(f.LinePos[0]), 15.0 * hours0, kTolRunNm) << time0;
        EXPECT_NEAR(EastNm(f.LinePos[2]), 15.0 * hours2, kTolRunNm) << time2;
        EXPECT_EQ(f.FixTime, fixLocal);
    }
}

TEST_F(CalcPositionTest, LimbsAndAir) {
    SightLines l = TwoLines();
    const FixResult lower = CalcPosition(l, nav);
    l.LowerLimb[0] = false;
    const FixResult upper = CalcPosition(l, nav);
    // The Sun's two limbs are a diameter apart (about 32' in mid-March).
    EXPECT_NEAR(lower.Intercept[0] - upper.Intercept[0], 2.0 * 60.0 * SemiDiameter(0, 0.9946), 0.05);
    EXPECT_EQ(lower.Intercept[2], upper.Intercept[2]);

    // Cold dense air: 283/263 * 1030/1010 - 1 = 0.0974, about a tenth more refraction
    // (taken at the apparent altitude Hs + i_s - dip) to take off: Ho goes down.
    nav.Temp = -10.0f;
    nav.Pressure = 1030.0f;
    const FixResult cold = CalcPosition(TwoLines(), nav);
    const double apparentLessHs = nav.i_s / 60.0 - Dip(nav.hEye);
    for (int i : {0, 2})
        EXPECT_NEAR(cold.Intercept[i] - lower.Intercept[i], -60.0 * 0.09735 * Refraction(lower.Hs[i] + apparentLessHs),
                    2e-3);
}

TEST_F(CalcPositionTest, CommandRefusalsSayWhy) {
    SightLines one = TwoLines();
    one.Body[2] = kNoBody;
    one.Time[2] = "00:00:00";
    one.Altitude[2] = "";
    auto command = [this](const SightLines& l, bool iterate = true) { return CalculatePositionCommand(l, nav, iterate); };
    EXPECT_EQ(CalcErrorText(command(one)), std::string(kHead) + "Insufficient number of lines.");
    EXPECT_EQ(command(SightLines{}).Refusal, "Insufficient number of lines.");
    // Unconvertible text or an unknown body: the line is named.
    struct Bad {
        int line;
        const char *time, *altitude;
        int body;
    };
    // A body chosen but its altitude never typed (00-00.0) is no sight.
    for (const Bad& b : {Bad{2, "25:70:00", nullptr, 0}, Bad{0, nullptr, "45-75.0", 0}, Bad{0, nullptr, nullptr, 9999},
                         Bad{2, nullptr, "00-00.0", 0}}) {
        SightLines bad = TwoLines();
        const size_t i = static_cast<size_t>(b.line);
        if (b.time) bad.Time[i] = b.time;
        if (b.altitude) bad.Altitude[i] = b.altitude;
        if (b.body) bad.Body[i] = b.body;
        const std::string text = CalcErrorText(command(bad));
        EXPECT_TRUE(StartsWith(text, kHead + std::string("Line No. ") + std::to_string(b.line + 1) + ":")) << text;
        EXPECT_TRUE(!b.time || text.find(b.time) != std::string::npos) << text;
        EXPECT_TRUE(StartsWith(CalcPosition(bad, nav).Refusal, "Line No. ")) << text;
    }
    // A negative height of eye has no dip: refused with the fault.
    nav.hEye = -1.0f;
    EXPECT_TRUE(command(TwoLines()).Refused());
    nav.hEye = 15.0f;
    // These made-up altitudes fit no one position: iterated from its own result the
    // fix runs away and is refused; the one-pass method gives its fix, with the
    // working data and the lines it was made from.
    EXPECT_NE(command(TwoLines()).Refusal.find("the iterated fix does not converge"), std::string::npos);
    const FixResult good = command(TwoLines(), false);
    EXPECT_FALSE(good.Refused());
    EXPECT_EQ(good.FixTime, nav.LocalDate);
    EXPECT_EQ(good.Working.hEye, nav.hEye);
    EXPECT_EQ(good.Lines.Altitude[2], "30-00.0");
    // Two sights of one body at one instant pass the count but cannot fix.
    SightLines same = TwoLines();
    same.Body[2] = 0;
    same.Time[2] = "12:00:00";
    EXPECT_TRUE(StartsWith(command(same).Refusal, "Division by zero"));
}

TEST_F(CalcPositionTest, AtThePoleEveryNumberStaysFinite) {
    // The meridians meet: the run east is no longitude at all.
    nav.Lat = 90.0;
    SightLines l = TwoLines();
    l.Time[0] = "10:00:00";
    const FixResult f = CalcPosition(l, nav);
    for (double v : {f.FixLat, f.FixLon, f.LinePos[0].Lon, f.Intercept[0], f.Intercept[2],
                     static_cast<double>(f.EllipseA), static_cast<double>(f.EllipseAlpha), FixCourseDistance(f).C})
        EXPECT_TRUE(std::isfinite(v));
}

TEST_F(CalcPositionTest, TheHelpDocumentsWorkedFix) {
    // help/VeltranoHelp.html, worked example (sights made with PyEphem by
    // help/make_help_example.py from the ship's true track through 45-12.0N 030-21.0W):
    // DR 45N 30W at 17:50 local, zone -2, 300 degrees at 12 kn, eye 15 m, standard air.
    // PyEphem's refraction and its 1.76' dip differ from ours by about 0.1' at 15
    // degrees of altitude: the fix within 0.3 nm of the truth.
    constexpr double kTolHelpFixNm = 0.3;
    nav = DrState(DateFromParts(2026, 12, 6, 17, 50, 0), -2.0f, 45.0, -30.0, 300.0f, 12.0f);
    SightLines l;
    l.Body = {7001, 1708, 8728, kNoBody};
    l.Time = {"19:10:00", "19:30:00", "19:50:00", ""};
    l.Altitude = {"50-37.7", "24-20.5", "15-28.1", ""};
    const FixResult f = CalcPosition(l, nav);
    ASSERT_TRUE(f.Refusal.empty());
    EXPECT_LT(NmBetween(f.FixLat, f.FixLon, 45.2, -30.35), kTolHelpFixNm) << f.FixLat << " " << f.FixLon;
    // The positions at the sights: 44-56.0N 029-50.2W and 44-58.0N 029-55.1W.
    EXPECT_LT(NmBetween(f.LinePos[0].Lat, f.LinePos[0].Lon, 44.0 + 56.0 / 60, -(29.0 + 50.2 / 60)), 0.1);
    EXPECT_LT(NmBetween(f.LinePos[1].Lat, f.LinePos[1].Lon, 44.0 + 58.0 / 60, -(29.0 + 55.1 / 60)), 0.1);
    // "north-west, about 19 miles"; azimuths 120 degrees apart: a nearly round ellipse.
    const CourseDistance cd = FixCourseDistance(f);
    EXPECT_NEAR(cd.Dist, 19.0, 0.5);
    EXPECT_NEAR(cd.C, 309.0, 2.0);
    EXPECT_LT(f.EllipseA / f.EllipseB, 1.3f);
    // Intercepts as help/make_help_example.py works them with PyEphem: 16.8 towards, 3.0 and 12.5 away.
    EXPECT_NEAR(f.Intercept[0], 16.8, 0.15);
    EXPECT_NEAR(f.Intercept[1], -3.0, 0.15);
    EXPECT_NEAR(f.Intercept[2], -12.5, 0.15);
}

TEST_F(CalcPositionTest, ThreeHourRunningFixAtSixtyNorthOnTheRhumbLine) {
    // The ship sails 045 at 15 kn from 20:00 to 23:00 UT on 2024-03-15 and reaches 60 N
    // 20 W; Betelgeuse, Schedar and Alkaid are observed at 20:00, 21:30 and 23:00 from where
    // she truly is. Her track is integrated here in one-minute steps (dLat = v cos C dt,
    // dLon = v sin C dt / cos lat), not taken from the program's sailing formula.
    const double lat1 = 60.0, lon1 = -20.0, course = 45.0, speed = 15.0;
    auto truth = [&](double hoursBack) {
        double lat = lat1, lon = lon1;
        const int steps = static_cast<int>(std::lround(hoursBack * 60.0));
        for (int k = 0; k < steps; ++k) {
            const double mid = lat - speed / 60.0 * CosD(course) / 60.0 / 2.0;
            lat -= speed / 60.0 * CosD(course) / 60.0;
            lon -= speed / 60.0 * SinD(course) / 60.0 / CosD(mid);
        }
        return LatLon{lat, lon};
    };
    nav = DrState(DateFromParts(2024, 3, 15, 23, 0, 0), 0.0f, lat1, lon1, static_cast<float>(course),
                              static_cast<float>(speed));
    const int stars[] = {2061, 168, 5191};
    const char* times[] = {"20:00:00", "21:30:00", "23:00:00"};
    const double back[] = {3.0, 1.5, 0.0};
    SightLines l;
    for (int i = 0; i < 3; ++i) {
        const LatLon p = truth(back[i]);
        const double jd = JulianDay(DateFromParts(2024, 3, 15, 23, 0, 0) - back[i] / 24.0, false, false);
        const Coord3 hz = AltAzimuth(jd, StarPosition(jd, stars[i]), p.Lat, p.Lon);
        ASSERT_TRUE(hz.y > 10.0 && hz.y < 75.0) << stars[i] << " at " << hz.y;
        const double hs = SextantAltitudeFor(hz.y, HorizonOf(nav), -1, 0.0, true) - nav.i_s / 60.0;
        const long tenths = std::lround(hs * 600.0);
        char text[48];
        std::snprintf(text, sizeof text, "%02d-%04.1f", static_cast<int>(tenths / 600), (tenths % 600) / 10.0);
        l.Body[i] = stars[i];
        l.Time[i] = times[i];
        l.Altitude[i] = text;
    }
    const FixResult f = CalcPosition(l, nav);
    ASSERT_TRUE(f.Refusal.empty()) << f.Refusal;
    // Each sight is reduced from where the ship was (45 nm of run: the cos of the fix
    // latitude would put the first 0.26 nm off), and the fix recovers her position.
    for (int i = 0; i < 3; ++i) {
        const LatLon p = truth(back[i]);
        EXPECT_LT(NmBetween(f.LinePos[i].Lat, f.LinePos[i].Lon, p.Lat, p.Lon), 0.01) << times[i];
    }
    EXPECT_LT(NmBetween(f.FixLat, f.FixLon, lat1, lon1), 0.05);
}

TEST_F(CalcPositionTest, TheRecordHoldsEveryStepOfEachLine) {
    nav = DrState(DateFromParts(2024, 1, 15, 2, 0, 0), 2.0f, 40.0, -10.0, 45.0f, 12.0f);
    nav.Temp = -5.0f;
    nav.Pressure = 1025.0f;
    nav.i_s = -1.2f;
    // Sirius and the Moon in lines 2 and 3, the Moon by its upper limb; the star's limb flag is dropped.
    SightLines lines;
    lines.Body = {kNoBody, 2491, -8, kNoBody};
    lines.Time = {"", "23:30:00", "23:50:00", ""};
    lines.Altitude = {"", "33-10.0", "40-20.0", ""};
    lines.LowerLimb = {false, true, false, false};
    const FixResult fix = CalcPosition(lines, nav);  // made-up altitudes: one pass
    ASSERT_FALSE(fix.Refused()) << fix.Refusal;
    EXPECT_FALSE(fix.Lines.LowerLimb[1]);
    // The fix is at 00:00 UT on the 15th: the sight half an hour before it is on the 14th.
    EXPECT_NEAR(fix.LineTime[1], DateFromParts(2024, 1, 14, 23, 30, 0), 1e-9);
    const SightReduction &star = fix.Reduction[1], &moon = fix.Reduction[2];
    EXPECT_EQ(moon.Tau, 0.0);
    for (size_t i : {1u, 2u}) {
        const SightReduction& r = fix.Reduction[i];
        // LHA from the sidereal time and GHA from Aries: the same angle, west positive, in (-180, 180].
        EXPECT_NEAR(r.Lha, Norm180(r.Gha + fix.LinePos[i].Lon), 1e-6) << i;
        // Ho = H + semidiameter - refraction - its air part + parallax; Ho - Hc the intercept.
        EXPECT_NEAR((r.H + r.SemiD - r.Refr - r.TP + r.Parallax - fix.Hc[i]) * 60.0, fix.Intercept[i], 1e-9) << i;
        EXPECT_EQ(r.IndexCorr, nav.i_s);
        EXPECT_GT(r.TP, 0.0) << "cold dense air";
    }
    EXPECT_EQ(star.SemiD, 0.0);
    EXPECT_EQ(star.Parallax, 0.0);
    EXPECT_LT(moon.SemiD, -14.0 / 60.0);  // the upper limb: a negative semidiameter
    EXPECT_GT(moon.Parallax, 40.0 / 60.0 * CosD(fix.Hc[2]) * 0.9);
    // Two lines fix a point exactly: nothing is left of either.
    EXPECT_LT(std::fabs(fix.Residual[1]) + std::fabs(fix.Residual[2]), 1e-3);
}
