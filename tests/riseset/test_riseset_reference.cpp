// Rise, set, transit and twilight against the Swiss Ephemeris
// (tests/data/make_riseset_reference.c: 14 places from 65 S to 72 N, 18 dates
// 2000-2030; the centre of the body through the same threshold altitude, height
// of eye 0, 10 C, 1010 mB).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "app/mPublicVars.h"
#include "core/mFiles.h"
#include "core/mPlanet.h"
#include "core/mTime.h"
#include "reduction/mCorrection.h"
#include "riseset/mRiseSet.h"
#include "support/csv.h"

using testsupport::ErrorStats;

namespace {

// Rigorous method: a parabola through hourly altitudes of our own places (Sun about 1",
// Moon about 10" from the reference); at a fair crossing angle the interpolation error
// is a few seconds. The limits are the ones the method is promised to hold.
constexpr double kTolRigorousSunMinutes = 1.0;  // Sun, twilight and planets
constexpr double kTolRigorousMoonMinutes = 2.0;
// Approximate method: the place once at the UT midnight before the day and a fixed
// daily rate, so the error grows with the body's motion. Limits: the measured maxima
// rounded up (max / RMS: Sun 5.0 / 1.2, twilight 7.0 / 1.3, Mercury 14.9 / 2.8,
// Venus 10.1 / 2.1, Mars 8.2 / 2.2, Jupiter to Neptune 1.9 / 0.6, Moon 82 / 19.5 min).
constexpr double kTolApproxSunMinutes = 6.0;
constexpr double kTolApproxTwilightMinutes = 8.0;
constexpr double kTolApproxInnerPlanetMinutes = 16.0;  // Mercury, Venus, Mars
constexpr double kTolApproxOuterPlanetMinutes = 2.5;   // Jupiter to Neptune
constexpr double kTolApproxMoonMinutes = 90.0;
constexpr double kTolApproxMoonRmsMinutes = 22.0;
// Days the formula finds no crossing where the body crosses at a fair angle (the place
// at midnight is a little off near the polar limit): measured 2.
constexpr int kMaxApproxMissedDays = 3;
// Transits, always approximate (measured max: Sun 1.04, Mercury 8.7, Venus 5.0, Mars
// 4.5, Jupiter to Neptune 1.5, Moon 17.8 min). The Sun's transit altitude moves under
// 1' in the minute or so of the time's error.
constexpr double kTolTransitSunMinutes = 1.5;
constexpr double kTolTransitPlanetMinutes = 10.0;
constexpr double kTolTransitMoonMinutes = 20.0;
constexpr double kTolTransitSunAltArcmin = 1.0;
// A crossing is grazing when the altitude changes by less than 0.05 deg a minute (a
// quarter of the equator's rate): a tiny altitude error then moves the instant by many
// minutes, so rigorous grazing crossings are compared in altitude (error of the
// instant times the rate) within 1'.
constexpr double kGrazingRateDegPerMin = 0.05;
constexpr double kTolGrazingArcmin = 1.0;
// Crossings this close to either end of the 24 hours searched can fall on either side.
constexpr double kEdgeMinutes = 2.0;

struct Event {
    std::string kind;
    double jd, value;
};

struct Case {
    int kind;
    double lat, lon, tz, dayJd, h0, midAlt;
    std::vector<Event> events;
};

std::vector<Case> LoadCases() {
    const auto cases = testsupport::ReadCsv(testsupport::TestData("riseset_cases.csv"));
    const auto events = testsupport::ReadCsv(testsupport::TestData("riseset_events.csv"));
    std::map<int, size_t> index;
    std::vector<Case> out;
    for (size_t i = 0; i < cases.rows.size(); ++i) {
        index[static_cast<int>(cases.Num(i, "case"))] = out.size();
        out.push_back({static_cast<int>(cases.Num(i, "kind")), cases.Num(i, "lat"), cases.Num(i, "lon"),
                       cases.Num(i, "tz"), cases.Num(i, "day_ut_jd"), cases.Num(i, "h0_deg"), cases.Num(i, "mid_alt"), {}});
    }
    for (size_t i = 0; i < events.rows.size(); ++i)
        out.at(index.at(static_cast<int>(events.Num(i, "case"))))
            .events.push_back({events.Text(i, "event"), events.Num(i, "jd_ut"), events.Num(i, "value")});
    return out;
}

const char* KindName(int kind) {
    static const char* names[] = {"Sun",    "Mercury", "Venus", "",     "Mars",  "Jupiter",
                                  "Saturn", "Uranus",  "Neptune", "Moon", "Civil", "Nautical"};
    return names[kind];
}

RiseSetResult Compute(const Case& c, bool approximate) {
    const DateValue day = c.dayJd - kDateEpochJD;
    if (c.kind == 10) return TwilightTimes(day, c.lat, c.lon, true, approximate);
    if (c.kind == 11) return TwilightTimes(day, c.lat, c.lon, false, approximate);
    return RiseSetTimes(day, c.lat, c.lon, c.kind, approximate);
}

const Event* Nearest(const Case& c, const std::string& kind, double jd) {
    const Event* best = nullptr;
    for (const Event& e : c.events)
        if (e.kind == kind && (!best || std::fabs(e.jd - jd) < std::fabs(best->jd - jd))) best = &e;
    return best;
}

std::vector<const Event*> InDay(const Case& c, const std::string& kind) {
    std::vector<const Event*> v;
    for (const Event& e : c.events)
        if (e.kind == kind && e.jd >= c.dayJd && e.jd < c.dayJd + 1.0) v.push_back(&e);
    return v;
}

bool NearEdge(const Case& c, const Event& e) {
    const double m = kEdgeMinutes / 1440.0;
    return std::fabs(e.jd - c.dayJd) < m || std::fabs(e.jd - c.dayJd - 1.0) < m;
}

class RiseSetReference : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        ASSERT_TRUE(LoadPlanetData().ok);
        cases_ = new std::vector<Case>(LoadCases());
    }
    static void TearDownTestSuite() { delete cases_; }
    void SetUp() override {
        NavigationState = DefaultNavigationState();
        NavigationState.hEye = 0.0f;  // the reference has no dip; 10 C and 1010 mB
    }
    void At(const Case& c) {
        NavigationState.Lat = c.lat;
        NavigationState.Lon = c.lon;
        NavigationState.TZ = static_cast<float>(c.tz);
    }
    static std::vector<Case>* cases_;
};
std::vector<Case>* RiseSetReference::cases_ = nullptr;

double ApproxTol(int kind) {
    if (kind == 9) return kTolApproxMoonMinutes;
    if (kind == 0) return kTolApproxSunMinutes;
    if (kind >= 10) return kTolApproxTwilightMinutes;
    return kind <= 4 ? kTolApproxInnerPlanetMinutes : kTolApproxOuterPlanetMinutes;
}

}  // namespace

TEST_F(RiseSetReference, TableSpreadAndThresholds) {
    ASSERT_EQ(cases_->size(), 14u * 18u * 11u);
    double lo = 90, hi = -90;
    for (const Case& c : *cases_) {
        lo = std::fmin(lo, c.lat), hi = std::fmax(hi, c.lat);
        const double base = c.kind == 10 ? kCivilTwilightDeg : c.kind == 11 ? kNauticalTwilightDeg : BaseThreshold(c.kind);
        ASSERT_NEAR(ThresholdAltitude(base), c.h0, 1e-6) << KindName(c.kind);  // the reference's altitudes
    }
    EXPECT_TRUE(lo == -65.0 && hi == 72.0);
}

TEST_F(RiseSetReference, RigorousMethod) {
    std::map<int, ErrorStats> stats, grazing;
    int checked = 0, grazingKind = 0;
    for (const Case& c : *cases_) {
        At(c);
        const RiseSetResult r = Compute(c, false);
        const auto rises = InDay(c, "rise"), sets = InDay(c, "set");
        std::ostringstream where;
        where << KindName(c.kind) << " lat " << c.lat << " lon " << c.lon << " day " << c.dayJd;
        if (rises.empty() && sets.empty()) {
            // No crossing in the 24 hours: both markers, the side from the 12th hour.
            EXPECT_EQ(r.Set, -1.0) << where.str();
            EXPECT_EQ(r.Rise, c.midAlt > 0 ? 1.0 : -1.0) << where.str();
            continue;
        }
        for (int pass = 0; pass < 2; ++pass) {
            const auto& ref = pass == 0 ? rises : sets;
            const DateValue got = pass == 0 ? r.Rise : r.Set;
            const char* what = pass ? " set" : " rise";
            // Skip two moonrises in a day, or a crossing at the very edge.
            if (ref.size() > 1 || std::any_of(ref.begin(), ref.end(), [&](const Event* e) { return NearEdge(c, *e); }))
                continue;
            const bool missing = r.NoCrossing() || got == 0.0;
            if (ref.empty()) {
                EXPECT_TRUE(!r.NoCrossing() && got == 0.0) << where.str() << what << " found where the reference has none";
                continue;
            }
            const bool graze = std::fabs(ref[0]->value) < kGrazingRateDegPerMin;
            if (missing) {
                grazingKind += graze;
                EXPECT_TRUE(graze) << where.str() << what << " missed";
                continue;
            }
            const double errMin = (got + kDateEpochJD - ref[0]->jd) * 1440.0;
            ++checked;
            if (graze) {
                const double errArcmin = errMin * std::fabs(ref[0]->value) * 60.0;
                grazing[c.kind].Add(errArcmin);
                EXPECT_LE(std::fabs(errArcmin), kTolGrazingArcmin) << where.str() << what;
            } else {
                stats[c.kind].Add(errMin);
                EXPECT_LE(std::fabs(errMin), c.kind == 9 ? kTolRigorousMoonMinutes : kTolRigorousSunMinutes)
                    << where.str() << what;
            }
        }
    }
    std::printf("Rigorous rise/set against the Swiss Ephemeris (%d crossings, minutes):\n", checked);
    for (auto& [kind, s] : stats)
        std::printf("  %-8s n=%4zu  max %6.3f  rms %6.3f   grazing n=%3zu max %.3f arcmin\n", KindName(kind), s.n, s.max,
                    s.Rms(), grazing[kind].n, grazing[kind].max);
    std::printf("  grazing crossings found on the other side: %d\n", grazingKind);
    EXPECT_GT(checked, 4000);
}

TEST_F(RiseSetReference, ApproximateMethod) {
    std::map<int, ErrorStats> stats;
    int markerDisagree = 0, checked = 0;
    for (const Case& c : *cases_) {
        At(c);
        const RiseSetResult r = Compute(c, true);
        if (r.NoCrossing()) {
            // The reference must not cross (at a fair angle) in the day.
            markerDisagree += std::any_of(c.events.begin(), c.events.end(), [&](const Event& e) {
                return (e.kind == "rise" || e.kind == "set") && std::fabs(e.value) >= kGrazingRateDegPerMin &&
                       e.jd >= c.dayJd && e.jd < c.dayJd + 1.0;
            });
            continue;
        }
        for (int pass = 0; pass < 2; ++pass) {
            const double jd = (pass == 0 ? r.Rise : r.Set) + kDateEpochJD;
            const Event* e = Nearest(c, pass == 0 ? "rise" : "set", jd);
            if (!e || std::fabs(e->value) < kGrazingRateDegPerMin) continue;
            const double errMin = (jd - e->jd) * 1440.0;
            if (std::fabs(errMin) > 180.0) continue;  // the reference has no such event near
            stats[c.kind].Add(errMin);
            ++checked;
            EXPECT_LE(std::fabs(errMin), ApproxTol(c.kind)) << KindName(c.kind) << " lat " << c.lat << " day " << c.dayJd;
        }
    }
    std::printf("Approximate rise/set against the Swiss Ephemeris (%d crossings, minutes):\n", checked);
    for (auto& [kind, s] : stats)
        std::printf("  %-8s n=%4zu  max %7.3f  rms %7.3f\n", KindName(kind), s.n, s.max, s.Rms());
    std::printf("  no crossing from the formula where the reference crosses: %d\n", markerDisagree);
    EXPECT_LE(stats[9].Rms(), kTolApproxMoonRmsMinutes);
    EXPECT_LE(markerDisagree, kMaxApproxMissedDays);
    EXPECT_GT(checked, 4000);
}

TEST_F(RiseSetReference, Transits) {
    std::map<int, ErrorStats> upper, lower, altUp, altLow;
    for (const Case& c : *cases_) {
        if (c.kind > 9) continue;
        At(c);
        const TransitResult t = TransitTimes(c.dayJd - kDateEpochJD, c.lat, c.lon, c.kind);
        const Event *u = Nearest(c, "upper", t.UpperTime + kDateEpochJD), *l = Nearest(c, "lower", t.LowerTime + kDateEpochJD);
        ASSERT_TRUE(u && l);
        const double eu = (t.UpperTime + kDateEpochJD - u->jd) * 1440.0;
        const double el = (t.LowerTime + kDateEpochJD - l->jd) * 1440.0;
        upper[c.kind].Add(eu);
        lower[c.kind].Add(el);
        // Height of eye 0: the upper altitude is the computed one plus refraction.
        altUp[c.kind].Add((t.UpperAltitude - (u->value + Refraction(u->value))) * 60.0);
        altLow[c.kind].Add((t.LowerAltitude - l->value) * 60.0);
        const double tol = c.kind == 9 ? kTolTransitMoonMinutes : c.kind == 0 ? kTolTransitSunMinutes : kTolTransitPlanetMinutes;
        EXPECT_LE(std::fabs(eu), tol) << KindName(c.kind) << " lat " << c.lat << " day " << c.dayJd;
        EXPECT_LE(std::fabs(el), tol) << KindName(c.kind) << " lat " << c.lat << " day " << c.dayJd;
        if (c.kind == 0) {
            EXPECT_LE(std::fabs(altUp[0].max), kTolTransitSunAltArcmin);
            EXPECT_LE(std::fabs(altLow[0].max), kTolTransitSunAltArcmin);
        }
    }
    std::printf("Transits against the Swiss Ephemeris (time in minutes, altitude in arc minutes):\n");
    for (auto& [kind, s] : upper)
        std::printf("  %-8s upper max %6.3f rms %6.3f  lower max %6.3f rms %6.3f  alt upper max %6.2f lower max %6.2f\n",
                    KindName(kind), s.max, s.Rms(), lower[kind].max, lower[kind].Rms(), altUp[kind].max,
                    altLow[kind].max);
}
