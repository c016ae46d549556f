// The fix: text conversion of a line, the least-squares solution and its error
// ellipse against hand-computed eigen-decompositions, the reduction of single
// lines (running fix, limbs, air) and the calculate command's refusals.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/mPublicVars.h"
#include "bodies/mStar.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "fix/mCalcPosition.h"
#include "reduction/mCorrection.h"

namespace {
constexpr double kTolExact = 1e-12;          // sums of a few exact trigonometric values
constexpr double kTolAxisArcmin = 1e-9;      // semi-axes from closed-form eigenvalues
constexpr double kTolAlphaDeg = 1e-4;        // stored in single precision (about 1e-5 deg at 180)
constexpr double kTolPositionDeg = 1e-12;
constexpr double kTolRunNm = 1e-6;           // the dead-reckoning run, plane sailing
constexpr double kSqrt3 = 1.7320508075688772;

NormalSums SumsOf(std::initializer_list<double> azimuths) {
    NormalSums s;
    for (double a : azimuths) s.Add(a, 0.0, 1.0);
    return s;
}

FixResult Solve(const NormalSums& s, double drLat = 0.0, double drLon = 0.0) {
    FixResult f;
    f.DRLat = drLat;
    f.DRLon = drLon;
    SolveFix(s, f);
    return f;
}
}  // namespace

// ---------------------------------------------------------------- text of a line

TEST(SightText, TimesOfDay) {
    double f = -1.0;
    EXPECT_TRUE(ParseSightTime("00:00:00", f));
    EXPECT_EQ(f, 0.0);
    EXPECT_TRUE(ParseSightTime("23:59:59", f));
    EXPECT_NEAR(f, 86399.0 / 86400.0, kTolExact);
    EXPECT_TRUE(ParseSightTime("12.30.15", f));  // a locale with "." as the time separator
    EXPECT_NEAR(f, (12 * 3600 + 30 * 60 + 15) / 86400.0, kTolExact);
    EXPECT_TRUE(ParseSightTime(" 9:05:00 ", f));
    EXPECT_NEAR(f, (9 * 3600 + 5 * 60) / 86400.0, kTolExact);
    f = 0.25;
    for (const char* bad : {"25:70:00", "24:00:00", "12:60:00", "12:00:60", "12:30", "12:30:00:00", "",
                            "ab:cd:ef", "12::30:00", "123:00:00", "12:30:0x", "-1:00:00"}) {
        EXPECT_FALSE(ParseSightTime(bad, f)) << bad;
    }
    EXPECT_EQ(f, 0.25) << "a refused text leaves the result alone";
}

TEST(SightText, SextantAltitudes) {
    double h = -1.0;
    EXPECT_TRUE(ParseSightAltitude("45-30.5", h));
    EXPECT_NEAR(h, 45.0 + 30.5 / 60.0, kTolExact);
    EXPECT_TRUE(ParseSightAltitude("45-30,5", h));  // comma decimal separator
    EXPECT_NEAR(h, 45.0 + 30.5 / 60.0, kTolExact);
    EXPECT_TRUE(ParseSightAltitude("00-00.0", h));
    EXPECT_EQ(h, 0.0);
    EXPECT_TRUE(ParseSightAltitude("90-00.0", h));
    EXPECT_EQ(h, 90.0);
    EXPECT_TRUE(ParseSightAltitude("07-59.9", h));
    EXPECT_NEAR(h, 7.0 + 59.9 / 60.0, kTolExact);
    for (const char* bad : {"90-00.1", "45-60.0", "45-75.0", "4x-00.0", "45-", "45-30.5.1", "", "4530.5",
                            "-45-30.0", "45-3a.0", "99-00.0"}) {
        EXPECT_FALSE(ParseSightAltitude(bad, h)) << bad;
    }
}

// ------------------------------------------------------- solution and ellipse

TEST(FixEllipse, EqualAxesHaveNoDirection) {
    // Azimuths 0 and 90: the normal matrix is the identity.
    FixResult f = Solve(SumsOf({0.0, 90.0}));
    EXPECT_TRUE(f.Message.empty());
    EXPECT_NEAR(f.EllipseA, 1.0, kTolAxisArcmin);
    EXPECT_NEAR(f.EllipseB, 1.0, kTolAxisArcmin);
    EXPECT_EQ(f.EllipseAlpha, 0.0f);
    // Azimuths 0, 120, 240: Scc = Sss = 1.5, Scs = 0 up to rounding; axes sqrt(2/3).
    f = Solve(SumsOf({0.0, 120.0, 240.0}));
    EXPECT_TRUE(f.Message.empty());
    EXPECT_NEAR(f.EllipseA, std::sqrt(2.0 / 3.0), 1e-7);
    EXPECT_NEAR(f.EllipseB, std::sqrt(2.0 / 3.0), 1e-7);
    EXPECT_EQ(f.EllipseAlpha, 0.0f);
}

TEST(FixEllipse, UnequalGeometriesAgainstHandEigenDecompositions) {
    // Azimuths 0 and 30: N = [[7/4, sqrt3/4], [sqrt3/4, 1/4]], eigenvalues
    // 1 +- sqrt3/2 with eigenvectors at 15 deg (best) and 105 deg (worst):
    // a = 1/sqrt(1 - sqrt3/2) = 1 + sqrt3, b = sqrt3 - 1, major axis at 105 deg.
    FixResult f = Solve(SumsOf({0.0, 30.0}));
    EXPECT_TRUE(f.Message.empty());
    EXPECT_NEAR(f.EllipseA, 1.0 + kSqrt3, 1e-6);
    EXPECT_NEAR(f.EllipseB, kSqrt3 - 1.0, 1e-6);
    EXPECT_NEAR(f.EllipseAlpha, 105.0, kTolAlphaDeg);

    // Azimuths 30 and 60: N = [[1, sqrt3/2], [sqrt3/2, 1]], eigenvector (1, 1) for
    // 1 + sqrt3/2 (45 deg), (1, -1) for 1 - sqrt3/2: the major axis runs 135 deg.
    f = Solve(SumsOf({30.0, 60.0}));
    EXPECT_NEAR(f.EllipseA, 1.0 + kSqrt3, 1e-6);
    EXPECT_NEAR(f.EllipseB, kSqrt3 - 1.0, 1e-6);
    EXPECT_NEAR(f.EllipseAlpha, 135.0, kTolAlphaDeg);

    // Azimuths 80 and 100 (two bodies nearly due east): Scs = 0, Scc = 2 cos^2 80,
    // Sss = 2 sin^2 80. North-south is badly determined: the major axis is north (0,
    // not 180), a = 1/sqrt(2 cos^2 80), b = 1/sqrt(2 sin^2 80).
    f = Solve(SumsOf({80.0, 100.0}));
    EXPECT_NEAR(f.EllipseA, 1.0 / (std::sqrt(2.0) * CosD(80.0)), 1e-5);
    EXPECT_NEAR(f.EllipseB, 1.0 / (std::sqrt(2.0) * SinD(80.0)), 1e-6);
    EXPECT_NEAR(f.EllipseAlpha, 0.0, kTolAlphaDeg);
    // Azimuths 170 and 190: the same shape turned a right angle: major axis 90.
    f = Solve(SumsOf({170.0, 190.0}));
    EXPECT_NEAR(f.EllipseA, 1.0 / (std::sqrt(2.0) * SinD(10.0)), 1e-5);
    EXPECT_NEAR(f.EllipseAlpha, 90.0, kTolAlphaDeg);
    // A reciprocal sight changes nothing of the shape: azimuths 0, 30 and 210.
    NormalSums s = SumsOf({0.0, 30.0});
    s.Add(210.0, 0.0, 1.0);
    f = Solve(s);
    EXPECT_GE(f.EllipseA, f.EllipseB);
    EXPECT_GE(f.EllipseAlpha, 0.0f);
    EXPECT_LT(f.EllipseAlpha, 180.0f);
}

TEST(FixEllipse, TheFixSolvesTheNormalEquations) {
    // Intercepts of 3' toward 000 and 4' toward 090: 3' north, 4' east.
    NormalSums s;
    s.Add(0.0, 3.0, 1.0);
    s.Add(90.0, 4.0, 1.0);
    FixResult f = Solve(s, 60.0, -179.99);
    EXPECT_TRUE(f.Message.empty());
    EXPECT_NEAR(f.FixLat, 60.05, kTolPositionDeg);
    // 4' east at 60 N is 8' of longitude: across the date line.
    EXPECT_NEAR(f.FixLon, -179.99 + 8.0 / 60.0, 1e-9);
    // Three lines through the point 2' north, 1' east of the DR position: the
    // intercept of azimuth a is 2 cos a + 1 sin a.
    NormalSums t;
    for (double a : {20.0, 140.0, 260.0}) t.Add(a, 2.0 * CosD(a) + 1.0 * SinD(a), 1.0);
    f = Solve(t, 0.0, 10.0);
    EXPECT_NEAR((f.FixLat - 0.0) * 60.0, 2.0, 1e-10);
    EXPECT_NEAR((f.FixLon - 10.0) * 60.0, 1.0, 1e-10);
}

TEST(FixEllipse, ParallelLinesGiveAMessageNotGarbage) {
    for (auto azimuths : {std::pair<double, double>{0.0, 180.0}, {45.0, 45.0}, {123.4, 303.4}}) {
        NormalSums s;
        s.Add(azimuths.first, 2.0, 1.0);
        s.Add(azimuths.second, -1.0, 1.0);
        const FixResult f = Solve(s, 12.5, -30.25);
        EXPECT_EQ(f.Message.rfind("Division by zero", 0), 0u) << f.Message;
        EXPECT_EQ(f.FixLat, 12.5);
        EXPECT_EQ(f.FixLon, -30.25);
        EXPECT_EQ(f.EllipseA, 0.0f);
        EXPECT_EQ(f.EllipseB, 0.0f);
        EXPECT_TRUE(std::isfinite(f.EllipseAlpha));
    }
    // No line at all: the same, without any non-finite number.
    const FixResult f = Solve(NormalSums{}, 1.0, 2.0);
    EXPECT_FALSE(f.Message.empty());
    EXPECT_EQ(f.EllipseAlpha, 0.0f);
}

// ------------------------------------------------------ course and distance

TEST(FixSummary, CourseAndDistanceFromTheDeadReckoning) {
    FixResult f;
    f.DRLat = 60.0;
    f.DRLon = 10.0;
    // Due east: 10 nm of departure at 60 N is 20' of longitude; C is the Atan2 limit.
    f.FixLat = 60.0;
    f.FixLon = 10.0 + 20.0 / 60.0;
    CourseDistance cd = FixCourseDistance(f);
    EXPECT_EQ(cd.C, 90.0);
    EXPECT_NEAR(cd.Dist, 10.0, 1e-9);
    f.FixLon = 10.0 - 20.0 / 60.0;
    cd = FixCourseDistance(f);
    EXPECT_EQ(cd.C, -90.0);
    EXPECT_NEAR(cd.Dist, 10.0, 1e-9);
    // Due north and due south.
    f.FixLon = 10.0;
    f.FixLat = 60.1;
    cd = FixCourseDistance(f);
    EXPECT_EQ(cd.C, 0.0);
    EXPECT_NEAR(cd.Dist, 6.0, 1e-9);
    f.FixLat = 59.9;
    EXPECT_NEAR(FixCourseDistance(f).C, 180.0, 1e-9);
    // North-west about the equator: a negative course.
    f.DRLat = -0.05;
    f.FixLat = 0.05;
    f.FixLon = 9.9;
    EXPECT_NEAR(FixCourseDistance(f).C, -45.0, 1e-9);
    // Across the date line the short way.
    f.DRLon = 179.95;
    f.FixLon = -179.95;
    f.DRLat = 0.0;
    f.FixLat = 0.0;
    cd = FixCourseDistance(f);
    EXPECT_EQ(cd.C, 90.0);
    EXPECT_NEAR(cd.Dist, 6.0, 1e-9);
}

// ------------------------------------------- reduction of lines (needs the data)

class CalcPositionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        ASSERT_TRUE(LoadPlanetData().ok);
        ASSERT_TRUE(LoadStarFile().ok);
    }
    void SetUp() override {
        saved_ = NavigationState;
        NavigationState = DefaultNavigationState();
        NavigationState.LocalDate = DateFromParts(2024, 3, 15, 12, 0, 0);
        NavigationState.TZ = 0.0f;
        NavigationState.Lat = 40.0;
        NavigationState.Lon = -20.0;
        NavigationState.Course = 90.0f;
        NavigationState.Speed = 15.0f;
        savedFix_ = LastFix;
        savedLines_ = LastSightLines;
    }
    void TearDown() override {
        NavigationState = saved_;
        LastFix = savedFix_;
        LastSightLines = savedLines_;
    }
    // The Sun (code 0) and Sirius-free sky of 2024-03-15 12 UT at 40 N 20 W: the Sun,
    // and Venus (code -2) as a second body in daylight.
    static SightLines TwoLines() {
        SightLines l;
        l.Body = {0, kNoBody, -2, kNoBody};
        l.Time = {"12:00:00", "", "11:00:00", ""};
        l.Altitude = {"45-00.0", "", "30-00.0", ""};
        l.LowerLimb = {true, false, true, false};
        return l;
    }
    NavigationStateRecord saved_;
    FixResult savedFix_;
    SightLines savedLines_;
};

TEST_F(CalcPositionTest, RunningFixReducesASightAstern) {
    // Two hours before the fix at 15 kn on course 090: 30 nm west of the DR
    // position, the longitude widened by sec 40.
    SightLines l = TwoLines();
    l.Time[0] = "10:00:00";
    FixResult f = CalcPosition(l);
    EXPECT_NEAR(f.LinePos[0].Lat, 40.0, kTolPositionDeg);
    EXPECT_NEAR((f.LinePos[0].Lon - (-20.0)) * 60.0 * CosD(40.0), -30.0, kTolRunNm);
    EXPECT_NEAR((f.LinePos[2].Lon - (-20.0)) * 60.0 * CosD(40.0), -15.0, kTolRunNm);
    // Course 225 (south-west): the sight two hours back lies 30 nm to the north-east.
    NavigationState.Course = 225.0f;
    f = CalcPosition(l);
    const double north = (f.LinePos[0].Lat - 40.0) * 60.0;
    const double east = (f.LinePos[0].Lon + 20.0) * 60.0 * CosD(40.0);
    EXPECT_NEAR(north, 30.0 * CosD(45.0), kTolRunNm);
    EXPECT_NEAR(east, 30.0 * SinD(45.0), kTolRunNm);
    // A sight at the fix instant, or a ship stopped: the DR position itself.
    EXPECT_NEAR(CalcPosition(TwoLines()).LinePos[0].Lat, 40.0, kTolPositionDeg);
    EXPECT_NEAR(CalcPosition(TwoLines()).LinePos[0].Lon, -20.0, kTolPositionDeg);
    NavigationState.Speed = 0.0f;
    f = CalcPosition(l);
    for (int i : {0, 2}) {
        EXPECT_EQ(f.LinePos[i].Lat, 40.0);
        EXPECT_EQ(f.LinePos[i].Lon, -20.0);
    }
}

TEST_F(CalcPositionTest, ASightAfterTheFixTimeOfDayKeepsTheFixDate) {
    NavigationState.LocalDate = DateFromParts(2024, 3, 15, 14, 30, 0);
    NavigationState.TZ = 3.0f;  // UT 11:30
    SightLines l = TwoLines();  // sights at 12:00 and 11:00 UT
    const FixResult f = CalcPosition(l);
    EXPECT_NEAR(f.LineTime[0], DateFromParts(2024, 3, 15, 12, 0, 0), 1e-9);
    // Half an hour after the fix: reduced 7.5 nm ahead on course 090.
    EXPECT_NEAR((f.LinePos[0].Lon + 20.0) * 60.0 * CosD(40.0), 7.5, kTolRunNm);
    EXPECT_NEAR((f.LinePos[2].Lon + 20.0) * 60.0 * CosD(40.0), -7.5, kTolRunNm);
    EXPECT_EQ(f.FixTime, NavigationState.LocalDate);
}

TEST_F(CalcPositionTest, SightsAcrossZeroHoursUtTakeTheNearestDate) {
    // Fix at 00:10 UT on the 16th; sights at 23:50 and 23:10 UT were taken on the 15th,
    // 20 and 60 minutes earlier: 5 and 15 nm astern, not 23 hours ahead.
    NavigationState.LocalDate = DateFromParts(2024, 3, 16, 0, 10, 0);
    NavigationState.TZ = 0.0f;
    SightLines l = TwoLines();
    l.Time[0] = "23:50:00";
    l.Time[2] = "23:10:00";
    FixResult f = CalcPosition(l);
    EXPECT_NEAR(f.LineTime[0], DateFromParts(2024, 3, 15, 23, 50, 0), 1e-9);
    EXPECT_NEAR(f.LineTime[2], DateFromParts(2024, 3, 15, 23, 10, 0), 1e-9);
    EXPECT_NEAR((f.LinePos[0].Lon + 20.0) * 60.0 * CosD(40.0), -5.0, kTolRunNm);
    EXPECT_NEAR((f.LinePos[2].Lon + 20.0) * 60.0 * CosD(40.0), -15.0, kTolRunNm);
    // And a fix at 23:50 with a sight at 00:20 UT: the next date, half an hour later.
    NavigationState.LocalDate = DateFromParts(2024, 3, 15, 23, 50, 0);
    l.Time[0] = "00:20:00";
    f = CalcPosition(l);
    EXPECT_NEAR(f.LineTime[0], DateFromParts(2024, 3, 16, 0, 20, 0), 1e-9);
    EXPECT_NEAR((f.LinePos[0].Lon + 20.0) * 60.0 * CosD(40.0), 7.5, kTolRunNm);
}

TEST_F(CalcPositionTest, UnusedLinesBetweenUsedOnesStayZero) {
    const FixResult f = CalcPosition(TwoLines());
    for (int i : {1, 3}) {
        EXPECT_EQ(f.Weight[i], 0.0);
        EXPECT_EQ(f.LineTime[i], 0.0);
        EXPECT_EQ(f.Hc[i], 0.0);
        EXPECT_EQ(f.Az[i], 0.0);
        EXPECT_EQ(f.Intercept[i], 0.0);
    }
    for (int i : {0, 2}) {
        EXPECT_EQ(f.Weight[i], 1.0);
        EXPECT_GT(f.Hc[i], 0.0);
    }
    EXPECT_EQ(f.DRLat, 40.0);
    EXPECT_EQ(f.DRLon, -20.0);
}

TEST_F(CalcPositionTest, LimbsAndBodies) {
    SightLines l = TwoLines();
    const FixResult lower = CalcPosition(l);
    l.LowerLimb[0] = false;
    const FixResult upper = CalcPosition(l);
    // The Sun: the two limbs are a diameter (about 32') apart, no parallax.
    const double sdSun = SemiDiameter(0, 0.9946);  // about 16.1' in mid-March
    EXPECT_NEAR(lower.Intercept[0] - upper.Intercept[0], 2.0 * 60.0 * sdSun, 0.05);
    EXPECT_EQ(lower.Intercept[2], upper.Intercept[2]);

    // A star (Sirius, HR 2491): no semidiameter whatever the flag.
    NavigationState.LocalDate = DateFromParts(2024, 1, 15, 0, 0, 0);
    NavigationState.Lon = 0.0;
    l.Body = {2491, kNoBody, 0, kNoBody};
    l.Time = {"00:00:00", "", "00:00:00", ""};
    l.LowerLimb = {true, false, true, false};
    const FixResult a = CalcPosition(l);
    l.LowerLimb[0] = false;
    const FixResult b = CalcPosition(l);
    EXPECT_EQ(a.Intercept[0], b.Intercept[0]);
}

TEST_F(CalcPositionTest, ColdDenseAirLowersTheObservedAltitude) {
    const FixResult standard = CalcPosition(TwoLines());
    NavigationState.Temp = -10.0f;
    NavigationState.Pressure = 1030.0f;
    const FixResult cold = CalcPosition(TwoLines());
    for (int i : {0, 2}) {
        const double r = Refraction(standard.Hc[i]);
        // 283/263 * 1030/1010 - 1 = 0.0974: about a tenth more refraction to take off.
        EXPECT_NEAR(cold.Intercept[i] - standard.Intercept[i], -60.0 * 0.09735 * r, 1e-3);
        EXPECT_LT(cold.Intercept[i], standard.Intercept[i]);
    }
}

TEST_F(CalcPositionTest, CommandRefusesTooFewLinesAndBadTextWithoutTouchingLastFix) {
    LastFix = FixResult{};
    LastFix.FixTime = 12345.5;
    LastFix.Message = "kept";
    LastSightLines = SightLines{};
    SightLines one = TwoLines();
    one.Body[2] = kNoBody;
    EXPECT_EQ(CalculatePositionCommand(one), "Can not calculate position:\r\nUnsufficient lines number.");
    EXPECT_EQ(CalculatePositionCommand(SightLines{}), "Can not calculate position:\r\nUnsufficient lines number.");

    SightLines bad = TwoLines();
    bad.Time[2] = "25:70:00";
    std::string text = CalculatePositionCommand(bad);
    EXPECT_EQ(text.rfind("Can not calculate position:\r\nLine No. 3:", 0), 0u) << text;
    EXPECT_NE(text.find("25:70:00"), std::string::npos);
    bad = TwoLines();
    bad.Altitude[0] = "45-75.0";
    text = CalculatePositionCommand(bad);
    EXPECT_EQ(text.rfind("Can not calculate position:\r\nLine No. 1:", 0), 0u) << text;
    bad = TwoLines();
    bad.Body[0] = 9999;  // not a catalogue number
    text = CalculatePositionCommand(bad);
    EXPECT_EQ(text.rfind("Can not calculate position:\r\nLine No. 1:", 0), 0u) << text;
    EXPECT_EQ(LastFix.FixTime, 12345.5);
    EXPECT_EQ(LastFix.Message, "kept");
    EXPECT_EQ(LastSightLines.Body[0], kNoBody);
    EXPECT_THROW(CalcPosition(bad), SightLineError);

    // A good command replaces both records.
    EXPECT_EQ(CalculatePositionCommand(TwoLines()), "");
    EXPECT_EQ(LastFix.FixTime, NavigationState.LocalDate);
    EXPECT_TRUE(LastFix.Message.empty());
    EXPECT_EQ(LastSightLines.Body[2], -2);
    EXPECT_EQ(LastSightLines.Altitude[2], "30-00.0");
}

TEST_F(CalcPositionTest, TwoSightsOfOneBodyAtOneInstantCannotFix) {
    SightLines l = TwoLines();
    l.Body[2] = 0;
    l.Time[2] = "12:00:00";
    const std::string text = CalculatePositionCommand(l);
    EXPECT_EQ(text.rfind("Can not calculate position:\r\nDivision by zero", 0), 0u) << text;
    // The calculation passed the line count: it is stored, with its message.
    EXPECT_FALSE(LastFix.Message.empty());
    EXPECT_EQ(LastFix.FixLat, 40.0);
    EXPECT_EQ(LastFix.FixLon, -20.0);
    EXPECT_EQ(LastFix.EllipseA, 0.0f);
}

TEST_F(CalcPositionTest, TheHelpDocumentsWorkedFix) {
    // help/VeltranoHelp.html, worked example (sights made with PyEphem by
    // help/make_help_example.py from the true position 45-12.0N 030-21.0W): the
    // ship stopped at DR 45N 30W, zone -2, 17:14 local, eye 15 m, standard air.
    // PyEphem's refraction and its 1.76' dip differ from ours by about 0.1' at 15
    // degrees of altitude: the fix within 0.3 nm of the truth.
    constexpr double kTolHelpFixNm = 0.3;
    NavigationState.LocalDate = DateFromParts(2026, 12, 6, 17, 14, 0);
    NavigationState.TZ = -2.0f;
    NavigationState.Lat = 45.0;
    NavigationState.Lon = -30.0;
    NavigationState.Speed = 0.0f;
    SightLines l;
    l.Body = {7001, 1708, 8728, kNoBody};
    l.Time = {"19:10:00", "19:12:00", "19:14:00", ""};
    l.Altitude = {"50-45.2", "22-00.0", "14-49.1", ""};
    const FixResult f = CalcPosition(l);
    ASSERT_TRUE(f.Message.empty());
    const double trueLat = 45.0 + 12.0 / 60.0, trueLon = -(30.0 + 21.0 / 60.0);
    const double dN = (f.FixLat - trueLat) * 60.0, dE = (f.FixLon - trueLon) * 60.0 * CosD(trueLat);
    EXPECT_LT(std::sqrt(dN * dN + dE * dE), kTolHelpFixNm) << f.FixLat << " " << f.FixLon;
    // "north-west, about 19 miles"; the azimuths 120 degrees apart: a nearly round ellipse.
    const CourseDistance cd = FixCourseDistance(f);
    EXPECT_NEAR(cd.Dist, 19.0, 0.5);
    EXPECT_NEAR(cd.C, -51.0, 2.0);
    EXPECT_LT(f.EllipseA / f.EllipseB, 1.3f);
    // Intercepts as the help's table gives them: 16.7 towards, 2.3 and 14.4 away.
    EXPECT_NEAR(f.Intercept[0], 16.7, 0.15);
    EXPECT_NEAR(f.Intercept[1], -2.3, 0.15);
    EXPECT_NEAR(f.Intercept[2], -14.4, 0.15);
}

TEST_F(CalcPositionTest, ThePoleAndABadHeightOfEyeGiveNoGarbage) {
    // At the pole the meridians meet: the run east is no longitude at all, yet
    // every number stays finite.
    NavigationState.Lat = 90.0;
    NavigationState.Course = 90.0f;
    SightLines l = TwoLines();
    l.Time[0] = "10:00:00";
    const FixResult f = CalcPosition(l);
    for (double v : {f.FixLat, f.FixLon, f.LinePos[0].Lon, f.Intercept[0], f.Intercept[2],
                     static_cast<double>(f.EllipseA), static_cast<double>(f.EllipseAlpha)})
        EXPECT_TRUE(std::isfinite(v));
    EXPECT_TRUE(std::isfinite(FixCourseDistance(f).C));
    // A negative height of eye has no dip: the command is refused with the fault.
    NavigationState.Lat = 40.0;
    NavigationState.hEye = -1.0f;
    LastFix = FixResult{};
    const std::string text = CalculatePositionCommand(TwoLines());
    EXPECT_EQ(text.rfind("Can not calculate position:\r\n", 0), 0u);
    EXPECT_GT(text.size(), std::string("Can not calculate position:\r\n").size());
    EXPECT_EQ(LastFix.FixTime, 0.0);
}
