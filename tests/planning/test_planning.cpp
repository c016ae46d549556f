// The noon sight, the latitude by Polaris and the iterated fix against the Swiss
// Ephemeris (tables written by tests/data/make_planning_reference.sh), and the
// planner's choice of bodies on constructed skies.

#include <algorithm>
#include <tuple>
#include <utility>

#include "planning/mPlanning.h"
#include "riseset/mRiseSet.h"
#include "support/csv.h"
#include "support/nav_fixture.h"

namespace {

// Noon: the Newton steps stop at 0.01 s; the Sun's right ascension is within about
// 1" of the reference (0.07 s of time). The requirement is 1 minute.
constexpr double kTolNoonSeconds = 1.0;
// The latitude from a perfect noon sight: the Sun's declination within about 1";
// the requirement is 0.1'.
constexpr double kTolNoonLatArcmin = 0.1;
// Polaris: the star's apparent place within 1.5" 1900-2100; the requirement is 0.2'.
constexpr double kTolPolarisArcmin = 0.2;
// The iterated fix from perfect star sights with the DR 60 nm off: the star places
// within about 1" (0.02 nm); the requirement is 0.05 nm.
constexpr double kTolIteratedFixNm = 0.05;
// Planned twilights: the rigorous rise and set method (the Sun within about 1", the
// parabola's few seconds) against a requirement of a minute.
constexpr double kTolPlanMinutes = 0.5;
constexpr double kEdgeDays = 2.0 / 1440.0;  // crossings this close to midnight may fall either side
// Dead reckoning: the published latitude to its last digit; the longitude between the
// sphere's and the spheroid's meridional parts.
constexpr double kTolDrLatArcmin = 0.15;
constexpr double kTolSpheroidLonArcmin = 20.0;
const Horizon kSea{0.0, 10.0, 1010.0};  // the rise and set reference: no dip, 10 C, 1010 mB

using testsupport::CsvTable;

class Planning : public testsupport::NavFixture {
protected:
    void Air(const CsvTable& t, size_t row) {
        nav.Temp = static_cast<float>(t.Num(row, "temp")), nav.Pressure = static_cast<float>(t.Num(row, "pressure"));
        nav.hEye = static_cast<float>(t.Num(row, "heye")), nav.i_s = static_cast<float>(t.Num(row, "i_s"));
    }
    static DateValue When(const CsvTable& t, size_t row, const std::string& p) {
        auto whole = [&](const char* c) { return static_cast<int>(t.Num(row, p + c)); };
        return DateFromParts(whole("y"), whole("m"), whole("d"), whole("h"), whole("mi"), t.Num(row, p + "s"));
    }
};

}  // namespace

TEST_F(Planning, NoonTimeAndLatitudeOfAMovingShip) {
    const CsvTable t = testsupport::ReadCsv(testsupport::TestData("noon_reference.csv"));
    ASSERT_EQ(t.rows.size(), 41u);  // the last, the help's example
    for (size_t row = 0; row < t.rows.size(); ++row) {
        const double tz = t.Num(row, "tz");
        const DateValue workUt = When(t, row, "work_");
        const LatLon dr{t.Num(row, "dr_lat"), t.Num(row, "dr_lon")};
        nav = testsupport::DrState(workUt + tz / 24.0, static_cast<float>(tz), dr.Lat, dr.Lon,
                                   static_cast<float>(t.Num(row, "course")), static_cast<float>(t.Num(row, "speed")));
        Air(t, row);
        const NoonTime noon = LocalApparentNoon(nav.LocalDate, dr, workUt, nav.Course, nav.Speed);
        ASSERT_EQ(noon.Message, "") << "case " << row;
        const DateValue ref = When(t, row, "noon_") + t.Num(row, "noon_frac_s") / 86400.0;
        EXPECT_LT(std::fabs(noon.Ut - ref) * 86400.0, kTolNoonSeconds) << "case " << row;
        if (t.Num(row, "speed") == 0.0) {
            // A ship stopped: the rise and set window's transit of the zone day is the same instant.
            const DateValue zoneDay = std::floor(nav.LocalDate) - tz / 24.0;
            EXPECT_NEAR(TransitTimes(zoneDay, dr.Lat, dr.Lon, 0, HorizonOf(nav)).UpperTime, noon.Ut, 0.05 / 86400.0)
                << "case " << row;
        }
        EXPECT_LT(testsupport::NmBetween(noon.Position.Lat, noon.Position.Lon, t.Num(row, "lat_noon"), t.Num(row, "lon_noon")), 0.01);
        double hs = 0.0;
        ASSERT_TRUE(ParseSightAltitude(t.Text(row, "hs"), hs));
        const MeridianLatitude m = NoonLatitude(noon, hs, true, nav);
        ASSERT_EQ(m.Message, "") << "case " << row;
        EXPECT_LT(std::fabs(m.Lat - t.Num(row, "lat_noon")) * 60.0, kTolNoonLatArcmin) << "case " << row;
    }
}

TEST_F(Planning, LatitudeByPolaris1900To2100AndItsRefusals) {
    // Refused: a DR in the south, Polaris at or below the horizon.
    struct Case { double drLat, hs; const char* says; };
    for (const Case& c : {Case{-5.0, 10.0, "southern hemisphere"}, Case{0.5, 0.0, "below the horizon"},
                          Case{20.0, 0.05, "below the horizon"}}) {
        const PolarisLatitude p = LatitudeByPolaris(DateFromParts(2026, 12, 6, 2, 0, 0), c.hs, LatLon{c.drLat, -30.0}, nav);
        EXPECT_NE(p.Message.find(c.says), std::string::npos) << p.Message;
    }
    const CsvTable t = testsupport::ReadCsv(testsupport::TestData("polaris_reference.csv"));
    ASSERT_EQ(t.rows.size(), 61u);  // the last, the help's example
    for (size_t row = 0; row < t.rows.size(); ++row) {
        Air(t, row);
        double hs = 0.0;
        ASSERT_TRUE(ParseSightAltitude(t.Text(row, "hs"), hs));
        const double lat = t.Num(row, "lat");
        // The DR 30' off in latitude: only its longitude matters.
        const PolarisLatitude p = LatitudeByPolaris(When(t, row, ""), hs, LatLon{lat + 0.5, t.Num(row, "lon")}, nav);
        ASSERT_EQ(p.Message, "") << "case " << row;
        EXPECT_LT(std::fabs(p.Lat - lat) * 60.0, kTolPolarisArcmin) << "case " << row;
        EXPECT_NEAR(p.Correction, (p.Lat - p.Ho) * 60.0, 1e-9);
    }
}

TEST_F(Planning, IteratedFixFromADr60MilesOut) {
    const CsvTable t = testsupport::ReadCsv(testsupport::TestData("fix_far_reference.csv"));
    ASSERT_EQ(t.rows.size(), 30u);
    testsupport::ErrorStats one;
    for (size_t row = 0; row < t.rows.size(); ++row) {
        const DateValue ut = When(t, row, "");
        nav = testsupport::DrState(ut, 0.0f, t.Num(row, "dr_lat"), t.Num(row, "dr_lon"), 90.0f, 0.0f);
        Air(t, row);
        SightLines lines;
        for (size_t j = 0; j < 4; ++j) {
            lines.Body[j] = static_cast<int>(t.Num(row, "body" + std::to_string(j + 1)));
            if (!LineInUse(lines.Body[j])) continue;
            lines.Time[j] = TimeOfDayText(ut);
            lines.Altitude[j] = t.Text(row, "alt" + std::to_string(j + 1));
        }
        const double lat = t.Num(row, "true_lat"), lon = t.Num(row, "true_lon");
        const FixResult f1 = CalcPosition(lines, nav, 1);
        const FixResult fn = CalcPosition(lines, nav, kMaxFixPasses);
        ASSERT_EQ(fn.Refusal, "");
        one.Add(testsupport::NmBetween(f1.FixLat, f1.FixLon, lat, lon));
        EXPECT_LT(testsupport::NmBetween(fn.FixLat, fn.FixLon, lat, lon), kTolIteratedFixNm) << "case " << row;
        // Converged: the last pass moved less than 0.01 nm, the DR kept for the summary.
        EXPECT_TRUE(fn.PassShift[static_cast<size_t>(fn.Passes - 1)] < kFixConvergedNm && fn.DRLat == nav.Lat) << "case " << row;
        // The record keeps the navigator's workings from the DR, every line adding up,
        // and what each line leaves at the fix: nothing, for perfect sights.
        double largest = 0.0;
        for (size_t j = 0; j < 4; ++j) {
            if (!(fn.Weight[j] > 0.0)) continue;
            largest = std::max(largest, std::fabs(fn.Intercept[j]));
            const SightReduction& r = fn.Reduction[j];
            EXPECT_EQ(fn.Intercept[j], f1.Intercept[j]) << "case " << row;
            EXPECT_NEAR(r.Hs + r.IndexCorr / 60.0 - r.Dip, r.H, 1e-12);
            EXPECT_NEAR(r.H - r.Refr - r.TP + r.SemiD + r.Parallax, r.Ho, 1e-12);
            EXPECT_NEAR(60.0 * (r.Ho - fn.Hc[j]), fn.Intercept[j], 1e-9);
            EXPECT_LT(std::fabs(fn.Residual[j]), kTolIteratedFixNm) << "case " << row;
        }
        EXPECT_GT(largest, 30.0) << "case " << row;  // from a DR 60 nm out
    }
    EXPECT_GT(one.max, 10.0 * kTolIteratedFixNm);  // the one-pass error the iteration removes
}

// Constructed skies: (Zn, Hc, magnitude) per body and the set that must be chosen.
TEST(SightPlanChoice, BestSetsOnConstructedSkies) {
    struct Sky { std::vector<std::array<double, 3>> bodies; int count; std::vector<int> best; };
    const Sky skies[] = {
        // Three bodies 120 degrees apart among crowded ones.
        {{{0, 45, 1}, {20, 45, 1}, {118, 50, 1}, {130, 50, 1}, {241, 40, 1}, {300, 40, 1}}, 3, {0, 2, 4}},
        // The same spread, but the one at 241 sinks to 16 degrees: its neighbour at 245 wins.
        {{{0, 45, 1}, {118, 50, 1}, {241, 16, 1}, {245, 45, 1}}, 3, {0, 1, 3}},
        // Faint stars lose to a slightly worse spread of bright ones.
        {{{0, 45, 3.5}, {120, 45, 3.5}, {240, 45, 3.5}, {5, 45, 0}, {125, 45, 0}, {250, 45, 0}}, 3, {3, 4, 5}},
        // Four at 90 degrees.
        {{{10, 45, 1}, {50, 45, 1}, {100, 45, 1}, {190, 45, 1}, {230, 45, 1}, {280, 45, 1}}, 4, {0, 2, 3, 5}},
    };
    for (const Sky& sky : skies) {
        std::vector<PlanBody> c;
        for (const auto& b : sky.bodies) c.push_back(PlanBody{kNoBody, "", b[1], b[0], b[2]});
        const BodySet s = BestBodySet(c, sky.count);
        EXPECT_EQ(s.Index, sky.best) << s.Explanation;
    }
    std::vector<PlanBody> two(2);
    EXPECT_TRUE(BestBodySet(two, 3).Index.empty());
}

TEST_F(Planning, PlannedSightTimesAreTheTwilightsOfTheSwissEphemeris) {
    // Civil (-6 deg) and nautical (-12 deg) twilight of the rise and set reference
    // (make_riseset_reference.c: 14 places, 18 dates), one place and day at a time, the
    // ship stopped: the plan's twilights are the reference's crossings of that day and the
    // time to observe their middle.
    const CsvTable cases = testsupport::ReadCsv(testsupport::TestData("riseset_cases.csv"));
    const CsvTable events = testsupport::ReadCsv(testsupport::TestData("riseset_events.csv"));
    std::map<int, std::vector<size_t>> byCase;
    for (size_t i = 0; i < events.rows.size(); ++i) byCase[static_cast<int>(events.Num(i, "case"))].push_back(i);
    // The crossing kind ("rise"/"set") of case c within its day, at a fair angle; 0 if none or two.
    auto crossing = [&](size_t c, const std::string& kind) {
        const double day = cases.Num(c, "day_ut_jd");
        double found = 0.0;
        int n = 0;
        for (size_t i : byCase[static_cast<int>(cases.Num(c, "case"))])
            if (events.Text(i, "event") == kind && events.Num(i, "jd_ut") >= day + kEdgeDays &&
                events.Num(i, "jd_ut") < day + 1.0 - kEdgeDays && std::fabs(events.Num(i, "value")) > 0.05)
                found = events.Num(i, "jd_ut"), ++n;
        return n == 1 ? found : 0.0;
    };
    size_t checked = 0;
    for (size_t c = 0; c + 1 < cases.rows.size(); ++c) {
        if (cases.Num(c, "kind") != 10 || cases.Num(c + 1, "kind") != 11) continue;  // civil, then nautical
        const LatLon at{cases.Num(c, "lat"), cases.Num(c, "lon")};
        const DateValue day = cases.Num(c, "day_ut_jd") - kDateEpochJD;
        for (bool morning : {true, false}) {
            const double civil = crossing(c, morning ? "rise" : "set"), nautical = crossing(c + 1, morning ? "rise" : "set");
            if (civil == 0.0 || nautical == 0.0) continue;
            const TwilightPlan p = PlanTwilight(morning, day, at, day, 0.0, 0.0, kSea);
            ASSERT_EQ(p.Message, "") << at.Lat << " " << cases.Num(c, "day_ut_jd");
            for (auto [got, want] : {std::pair{p.Civil, civil}, {p.Nautical, nautical}, {p.Observe, (civil + nautical) / 2.0}}) {
                ++checked;
                EXPECT_LT(std::fabs(got + kDateEpochJD - want) * 1440.0, kTolPlanMinutes) << at.Lat << " " << at.Lon << " day " << cases.Num(c, "day_ut_jd");
            }
        }
    }
    EXPECT_GT(checked, 1000u);
    // The bodies offered at the help's example (6 December 2026, 43-07.2N 131-54.0W, evening)
    // lie between the altitude limits, and their preset sextant altitudes reduce to a zero
    // intercept in the position window.
    const DateValue ut = DateFromParts(2026, 12, 6, 11, 35);
    const TwilightPlan p = PlanTwilight(false, ut, LatLon{43.12, -131.9}, ut, 45.0, 12.5, HorizonOf(nav));
    const std::vector<PlanBody> bodies = BodiesInView(p.Observe, p.Position.Lat, p.Position.Lon, nav);
    ASSERT_GE(bodies.size(), 4u);
    for (const PlanBody& b : bodies) {
        EXPECT_TRUE(b.Hc >= kPlanMinAltitudeDeg && b.Hc <= kPlanMaxAltitudeDeg) << b.Name;
        EXPECT_NEAR(ReduceSight(b.Code, p.Observe, b.PresetHs, true, p.Position.Lat, p.Position.Lon, nav).Intercept, 0.0, 1e-9);
    }
    // Polar night: no twilight with a horizon at 85 N in December; midsummer at 65 N: the
    // Sun never goes 12 degrees down.
    for (const auto& [morning, day, lat, says] : {std::tuple{true, DateFromParts(2026, 12, 6), 85.0, "polar night"},
                                                  {false, DateFromParts(2026, 6, 21), 65.0, "the sky stays too light"}})
        EXPECT_NE(PlanTwilight(morning, day, LatLon{lat, 0.0}, day, 0.0, 0.0, kSea).Message.find(says), std::string::npos) << says;
}

TEST_F(Planning, DeadReckoningFollowsThePublishedMercatorSailing) {
    // A published Mercator sailing (marinegyaan.com, "Exercise 3 - Mercator sailing",
    // solution 2): from 06 10.0 S 176 47.0 W, 4450 miles on course 333 to 59 55.0 N
    // 141 54.1 E. Its meridional parts are the spheroid's, ours the sphere's: 18' of
    // longitude apart here; mid-latitude sailing would be 3.5 degrees off.
    const LatLon end = RunAlongCourse(LatLon{-(6.0 + 10.0 / 60.0), -(176.0 + 47.0 / 60.0)}, 333.0, 4450.0);
    EXPECT_NEAR(end.Lat, 59.0 + 55.0 / 60.0, kTolDrLatArcmin / 60.0);
    EXPECT_NEAR(std::remainder(end.Lon - (141.0 + 54.1 / 60.0), 360.0) * 60.0, 0.0, kTolSpheroidLonArcmin);
    // The sphere's own rhumb line: back along the reciprocal course to the start, and a
    // run due east at 60 N covers twice the longitude of the miles run.
    const LatLon back = RunAlongCourse(end, 153.0, 4450.0);
    EXPECT_LT(testsupport::NmBetween(back.Lat, back.Lon, -(6.0 + 10.0 / 60.0), -(176.0 + 47.0 / 60.0)), 1e-6);
    const LatLon east = RunAlongCourse(LatLon{60.0, 10.0}, 90.0, 300.0);
    EXPECT_TRUE(std::fabs(east.Lat - 60.0) < 1e-9 && std::fabs(east.Lon - 20.0) < 1e-9);
    // Over the pole: 60 miles north from 89 30 N 10 E come down the 170 W meridian.
    const LatLon over = RunAlongCourse(LatLon{89.5, 10.0}, 0.0, 60.0);
    EXPECT_TRUE(std::fabs(over.Lat - 89.5) < 1e-9 && std::fabs(over.Lon + 170.0) < 1e-9) << over.Lat << " " << over.Lon;
}
