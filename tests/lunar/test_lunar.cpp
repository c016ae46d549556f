// Lunar distances against simulated observations of the Swiss Ephemeris
// (tests/data/make_lunar_reference.c: topocentric, refracted, limbs measured on the
// refracted discs; 120 cases 1900-2023, distances 15-120 degrees, altitudes 10-80).

#include <algorithm>

#include "fix/mReduceCommand.h"
#include "lunar/mLunar.h"
#include "support/csv.h"
#include "support/nav_fixture.h"

namespace {

using testsupport::ErrorStats;

constexpr double kTolClearedArcmin = 0.1;  // cleared against true geocentric distance
constexpr double kTolClearedPhysArcmin = 0.25;  // the same, the sight made with another refraction law
constexpr double kTolUtSeconds = 10.0;     // a perfect lunar's UT, the distance moving 20'/h or more
constexpr double kBriskArcminPerHour = 20.0;
constexpr double kTolPlannerArcmin = 0.1;  // the planner's three-hourly distances

LunarBody BodyNamed(const std::string& name) {
    for (const auto& [n, body] : {std::pair{"Sun", 0}, {"Venus", -2}, {"Mars", -3}, {"Jupiter", -4}, {"Saturn", -5}})
        if (name == n) return body;
    for (int i = 1; i <= kStarCount; ++i)
        if (Stars[i].Name == name && Stars[i].NavNumber > 0) return Stars[i].Number;
    ADD_FAILURE() << "no body " << name;
    return 0;
}

DateValue ParseIso(const std::string& s) {
    return DateFromParts(std::stoi(s.substr(0, 4)), std::stoi(s.substr(5, 2)), std::stoi(s.substr(8, 2)),
                         std::stoi(s.substr(11, 2)), std::stoi(s.substr(14, 2)), std::stod(s.substr(17, 2)));
}

const testsupport::CsvTable& Reference() {
    static const auto t = testsupport::ReadCsv(testsupport::TestData("lunar_reference.csv"));
    return t;
}

// The reference's distance k * 3 hours after 0 h: d00 .. d21.
std::string DistanceColumn(int k) { return (k < 4 ? "d0" : "d") + std::to_string(3 * k); }

class Lunar : public testsupport::NavFixture {};

// Every case twice: with the sextant altitudes, and with the altitudes left to be
// computed from the DR (which is the true position here).
TEST_F(Lunar, ClearsSimulatedObservationsToTheTimeAndDistance) {
    const auto& t = Reference();
    ASSERT_GE(t.rows.size(), 100u);
    ErrorStats cleared, clearedPhys, ut, lon;
    for (size_t i = 0; i < t.rows.size(); ++i) {
        LunarObservation obs{BodyNamed(t.Text(i, "body")), t.Text(i, "moon_limb") == "far", t.Text(i, "limb") == "far",
                             t.Num(i, "ds_deg"), ParseIso(t.Text(i, "ut")), t.Num(i, "hs_moon_deg"), t.Num(i, "hs_deg")};
        const LunarConditions cond{t.Num(i, "lat"), t.Num(i, "lon"), 0.0,
                                   Horizon{t.Num(i, "eye_m"), t.Num(i, "temp_c"), t.Num(i, "pressure_mb")}};
        // The reference's own rate of the distance, from its three-hourly values.
        const double hour = std::fmod(obs.watch, 1.0) * 24.0;
        const int k = std::min(6, static_cast<int>(hour / 3.0));
        const double refRate = (t.Num(i, DistanceColumn(k + 1)) - t.Num(i, DistanceColumn(k))) * 60.0 / 3.0;
        const LunarResult r = ClearLunar(obs, cond);
        if (std::fabs(refRate) < 4.0) {  // near the least or greatest distance
            EXPECT_NE(r.refusal, "") << "row " << i;
            continue;
        }
        ASSERT_EQ(r.refusal, "") << "row " << i;
        cleared.Add((r.cleared - t.Num(i, "geo_deg")) * 60.0);
        EXPECT_NEAR(r.secondsPerTenthArcmin, 360.0 / std::fabs(refRate), 0.2 * 360.0 / std::fabs(refRate)) << "row " << i;
        if (std::fabs(refRate) < kBriskArcminPerHour) continue;
        ut.Add(r.watchErrorSeconds);
        EXPECT_NEAR(r.watchErrorSeconds, 0.0, kTolUtSeconds) << "row " << i << " " << t.Text(i, "body");
        if (r.longitude) lon.Add(std::remainder(*r.longitude - cond.lon, 360.0) * 60.0 * std::cos(cond.lat * M_PI / 180.0));
        // The same sight made in the Swiss Ephemeris' air: the two refraction laws differ.
        const LunarObservation phys{obs.body, obs.moonFarLimb, obs.bodyFarLimb, t.Num(i, "ds_phys_deg"), obs.watch,
                                    t.Num(i, "hs_moon_phys_deg"), t.Num(i, "hs_phys_deg")};
        const LunarResult p = ClearLunar(phys, cond);
        if (p.refusal.empty()) clearedPhys.Add((p.cleared - t.Num(i, "geo_deg")) * 60.0);
        obs.hsMoon.reset();
        obs.hsBody.reset();
        const LunarResult c = ClearLunar(obs, cond);
        ASSERT_EQ(c.refusal, "") << "row " << i;
        EXPECT_TRUE(c.altitudesComputed && !c.longitude.has_value()) << "row " << i;
        EXPECT_NEAR(c.watchErrorSeconds, 0.0, kTolUtSeconds) << "row " << i << " (altitudes from the DR)";
    }
    EXPECT_LT(cleared.max, kTolClearedArcmin);
    EXPECT_GT(ut.n, 80u);
    EXPECT_GT(lon.n, 50u);
    EXPECT_LT(lon.max, 1.0) << "the longitude's error in nautical miles of departure";
    // The library's refraction exceeds the almanac's by up to 0.2' at 10-15 degrees in cold air.
    EXPECT_LT(clearedPhys.max, kTolClearedPhysArcmin);
}

TEST_F(Lunar, PlansTheDistancesEveryThreeHours) {
    const auto& t = Reference();
    for (size_t i = 0; i < t.rows.size(); i += 6) {
        const LunarBody body = BodyNamed(t.Text(i, "body"));
        const DateValue ut = ParseIso(t.Text(i, "ut"));
        const auto plan = PlanLunars(ut, t.Num(i, "lat"), t.Num(i, "lon"));
        const auto it = std::find_if(plan.begin(), plan.end(), [&](const LunarCandidate& c) { return c.body == body; });
        ASSERT_NE(it, plan.end());
        ASSERT_EQ(it->everyThreeHours.size(), 8u);
        for (int k = 0; k < 8; ++k)
            EXPECT_NEAR(it->everyThreeHours[k] * 60.0, t.Num(i, DistanceColumn(k)) * 60.0, kTolPlannerArcmin) << "row " << i << " " << k;
        // The reference's case is itself suitable: 15-120 degrees apart, both above 10 degrees.
        EXPECT_TRUE(it->suitable && plan.front().suitable) << "row " << i;
    }
}

// The reduce command's lunar rows, one file per reference case: the distance in the text
// form (every other row) or in decimal degrees, with an index correction of +1.5' taken
// off the readings and given back by --ic; the altitudes given, or left to the DR.
TEST_F(Lunar, ReduceCommandClearsLunarRows) {
    const auto& t = Reference();
    const std::string path = testing::TempDir() + "lunar_rows.csv";
    const double ic = 1.5 / 60.0;
    ErrorStats cleared;
    size_t refused = 0, timed = 0;
    for (size_t i = 0; i < t.rows.size(); ++i) {
        char distance[40];
        const double ds = t.Num(i, "ds_deg") - ic;
        if (i % 2) std::snprintf(distance, sizeof distance, "%03d-%07.4f", static_cast<int>(ds), (ds - std::floor(ds)) * 60.0);
        else std::snprintf(distance, sizeof distance, "%.8f", ds);
        std::ofstream(path) << "kind,ut,body,moon_limb,limb,distance,hs_moon,hs\nlunar," << t.Text(i, "ut") << ","
                            << t.Text(i, "body") << "," << t.Text(i, "moon_limb") << "," << t.Text(i, "limb") << ","
                            << distance << ","
                            << (i % 3 ? std::to_string(t.Num(i, "hs_moon_deg") - ic) + "," + std::to_string(t.Num(i, "hs_deg") - ic)
                                      : std::string(","))
                            << "\n";
        std::ostringstream out, err;  // std::to_string: six decimals
        const int status = RunReduce({path, "--dr", std::to_string(t.Num(i, "lat")), std::to_string(t.Num(i, "lon")), "--ic",
                                      "1.5", "--eye", t.Text(i, "eye_m"), "--temp", t.Text(i, "temp_c"), "--pressure",
                                      t.Text(i, "pressure_mb")}, out, err);
        const std::string json = out.str();
        if (json.find("\"refusal\"") != std::string::npos) {
            EXPECT_EQ(status, 1);
            ++refused;
            continue;
        }
        ASSERT_EQ(status, 0) << err.str();
        double distanceDeg = 0.0, watchError = 0.0, perTenth = 0.0;
        ASSERT_EQ(std::sscanf(json.c_str() + json.find("\"cleared_distance\""), "\"cleared_distance\": %lf", &distanceDeg), 1) << json;
        ASSERT_EQ(std::sscanf(json.c_str() + json.find("\"watch_error_s\""),
                              "\"watch_error_s\": %lf, \"seconds_per_tenth_arcmin\": %lf", &watchError, &perTenth), 2);
        EXPECT_NE(json.find("\"ut\": \"" + t.Text(i, "ut").substr(0, 14)), std::string::npos) << json;
        EXPECT_EQ(json.find("\"longitude\": null") == std::string::npos, i % 3 != 0) << json;
        cleared.Add((distanceDeg - t.Num(i, "geo_deg")) * 60.0);
        if (perTenth <= 360.0 / kBriskArcminPerHour) {  // the distance moves 20'/h or more
            ++timed;
            EXPECT_NEAR(watchError, 0.0, kTolUtSeconds) << json;
        }
    }
    std::remove(path.c_str());
    EXPECT_LT(refused, 10u);
    EXPECT_GT(timed, 80u);
    EXPECT_LT(cleared.max, kTolClearedArcmin);
}

TEST_F(Lunar, RefusesWhatCannotBeCleared) {
    LunarConditions cond;
    LunarObservation obs;
    obs.watch = DateFromParts(2020, 3, 1, 12);
    // The Moon with itself; no distance; one no time within a day gives.
    for (const auto& [body, distance] : {std::pair{-8, 40.0}, {0, std::nan("")}, {0, 179.0}}) {
        obs.body = body;
        obs.distance = distance;
        EXPECT_NE(ClearLunar(obs, cond).refusal, "") << body << " " << distance;
    }
}

}  // namespace
