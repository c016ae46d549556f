// Rise, set, transit and twilight: the markers, the threshold, and the comparison with the
// Swiss Ephemeris, which holds the edge cases of the day (polar day and night at 72 N,
// twilight all night, zones ten hours east and west, a day without moonset) (make_riseset_reference.c: 14 places from 65 S to 72 N, 18 dates 2000-2030;
// the body's centre through the same threshold altitude, height of eye 0, 10 C, 1010 mB).

#include <algorithm>

#include "riseset/mRiseSet.h"
#include "support/csv.h"
#include "support/nav_fixture.h"

namespace {

// The parabola through three hourly values of a smooth test curve (period 14 h or
// more) finds its zero within a few seconds.
constexpr double kTolSyntheticMinutes = 0.2;
// The references have no dip: the eye at the sea, 10 C and 1010 mB.
const Horizon kSea{0.0, 10.0, 1010.0};

HourlyTable Curve(double (*f)(double)) {
    HourlyTable y{};
    for (int h = 0; h <= 24; ++h) y[static_cast<size_t>(h)] = f(h);
    return y;
}

double HoursOf(DateValue t, DateValue day) { return (t - day) * 24.0; }

}  // namespace

TEST(QuadraticCrossings, SmoothCurvesOneCrossingAndMarkers) {
    // set < 0: none (the field is 0). A zero between hours (9.4 h) lies in two windows
    // whose estimates are averaged; two rises hours apart (3 h and 17 h, the set at 10 h
    // between) are not. A straight line is found exactly.
    const double tol = kTolSyntheticMinutes / 60.0;  // hours
    struct C { double (*f)(double); double rise, set, tolHours; };
    const C cases[] = {{[](double h) { return 20.0 * std::sin((h - 6.0) * M_PI / 12.0); }, 6.0, 18.0, tol},
                       {[](double h) { return 30.0 * std::sin((h - 9.4) * M_PI / 12.0); }, 9.4, 21.4, tol},
                       {[](double h) { return std::cos((h - 6.5) * 2.0 * M_PI / 14.0); }, 3.0, 10.0, tol},
                       {[](double h) { return 0.5 * (h - 15.5); }, 15.5, -1, 1e-9}};
    const DateValue day = 45000.25;
    for (const C& c : cases) {
        const RiseSetResult r = QuadraticCrossings(day, Curve(c.f));
        EXPECT_FALSE(r.NoCrossing());
        EXPECT_NEAR(HoursOf(r.Rise, day), c.rise, c.tolHours) << c.rise;
        if (c.set < 0) EXPECT_TRUE(r.Set == 0.0 && !r.HasSet()) << c.rise;
        else EXPECT_NEAR(HoursOf(r.Set, day), c.set, c.tolHours) << c.rise;
    }
    // No crossing: Set -1, Rise +1 or -1 by the side of the twelfth hour.
    const RiseSetResult above = QuadraticCrossings(day, Curve([](double h) { return 5.0 + std::cos(h); }));
    const RiseSetResult below = QuadraticCrossings(day, Curve([](double h) { return -5.0 + std::cos(h); }));
    EXPECT_TRUE(above.Set == -1.0 && above.Rise == 1.0 && above.AlwaysAbove());
    EXPECT_TRUE(below.Set == -1.0 && below.Rise == -1.0 && below.AlwaysBelow());
}

TEST(RiseSetTest, HeightOfEyeAndColdDenseAirLowerTheThreshold) {
    // The reference's air (height 0, 10 C, 1010 mB) leaves the base; 15 m of eye takes the
    // dip off; -10 C at 1030 mB bends the light (1030/1010)(283/263) = 1.0974 times as much.
    const double base = kSunBaseThresholdDeg;
    EXPECT_DOUBLE_EQ(ThresholdAltitude(base, kSea), base);
    EXPECT_NEAR(ThresholdAltitude(base, Horizon{15.0, 10.0, 1010.0}), base - Dip(15.0), 1e-12);
    EXPECT_NEAR(base - ThresholdAltitude(base, Horizon{0.0, -10.0, 1030.0}), 0.0974 * Refraction(base), 0.001 * Refraction(base));
}

TEST(TimeOfDayText, RoundsToTheSecondAndWraps) {
    const std::string shown = TimeOfDayText(45000.0 + (6.0 * 3600 + 5 * 60 + 9.4) / 86400.0) + " " +
                              TimeOfDayText(45000.0 + (23.0 * 3600 + 59 * 60 + 59.6) / 86400.0) + " " +
                              TimeOfDayText(-0.75) + " " + TimeOfDayText(std::nan(""));
    EXPECT_EQ(shown, "06:05:09 00:00:00 06:00:00 --:--:--");
}

namespace {
// Rigorous method: a parabola through hourly altitudes of our own places, then the
// crossing of the altitude itself (Sun about 0.3", Moon 0.04" from the reference). The
// Moon's limit is the one promised; the Sun's and planets' allow for their places.
constexpr double kTolRigorousSunMinutes = 1.0;  // Sun, twilight and planets
constexpr double kTolRigorousMoonMinutes = 0.2;
// Approximate method: the place once at local midnight and a fixed daily rate, so the
// error grows with the body's motion and, for the Moon, with the latitude (its
// declination changes up to 6 deg in the day). Limits: the measured maxima rounded up
// (max / RMS: Sun 4.3 / 1.1, twilight 6.1 / 1.2, Mercury 13.0 / 2.8, Venus 8.9 / 2.0,
// Mars 6.8 / 2.0, Jupiter to Neptune 1.3 / 0.3, Moon 116 / 17.5 min; the Moon 15 / 6
// min between 34 S and 22 N, 116 / 53 at 69.6 N).
constexpr double kTolApproxSunMinutes = 5.0;
constexpr double kTolApproxTwilightMinutes = 7.0;
constexpr double kTolApproxInnerPlanetMinutes = 14.0;  // Mercury, Venus, Mars
constexpr double kTolApproxOuterPlanetMinutes = 1.5;   // Jupiter to Neptune
constexpr double kTolApproxMoonMinutes = 120.0;
constexpr double kTolApproxMoonRmsMinutes = 20.0;
// Days the formula finds no crossing where the body crosses at a fair angle (the place
// at midnight is a little off near the polar limit): measured 2.
constexpr int kMaxApproxMissedDays = 3;
// Days the formula shows no crossing where the day holds one, or one where it holds none.
constexpr int kMaxApproxWrongDays = 3;
// Transits, the meridian passages themselves (measured max: Sun to Saturn 0.001, Uranus
// and Neptune 0.002, Moon 0.008 min; the mean-rate estimate alone was 1 to 12 min).
constexpr double kTolTransitMinutes = 0.05;
constexpr double kTolTransitSunAltArcmin = 1.0;
constexpr double kSunAltCheckBelowDeg = 88.0;
// Grazing: the altitude changes by less than 0.05 deg a minute (a quarter of the
// equator's rate), so a tiny altitude error moves the instant by many minutes; rigorous
// grazing crossings are compared in altitude (error of the instant times the rate).
constexpr double kGrazingRateDegPerMin = 0.05;
constexpr double kTolGrazingArcmin = 1.0;
// Crossings this close to either end of the 24 hours searched can fall on either side.
constexpr double kEdgeDays = 2.0 / 1440.0;

struct Event {
    std::string kind;
    double jd, value;  // value: the rate of altitude (deg/min) at a crossing, the altitude at a transit
};
struct Case {
    int kind;  // BodyId, 10 civil, 11 nautical twilight
    double lat, lon, tz, dayJd, h0, midAlt;
    std::vector<Event> events;
    bool InDay(const Event& e) const { return e.jd >= dayJd && e.jd < dayJd + 1.0; }
};

std::vector<Case>* g_cases = nullptr;

const char* KindName(int kind) {
    static const char* names[] = {"Sun",    "Mercury", "Venus",   "",     "Mars",  "Jupiter",
                                  "Saturn", "Uranus",  "Neptune", "Moon", "Civil", "Nautical"};
    return names[kind];
}

std::string Where(const Case& c) {
    std::ostringstream s;
    s << KindName(c.kind) << " lat " << c.lat << " lon " << c.lon << " day " << c.dayJd;
    return s.str();
}

RiseSetResult Compute(const Case& c, bool approximate) {
    const DateValue day = c.dayJd - kDateEpochJD;
    if (c.kind >= 10) return TwilightTimes(day, c.lat, c.lon, c.kind == 10, approximate, kSea);
    return RiseSetTimes(day, c.lat, c.lon, c.kind, approximate, kSea);
}

const Event* Nearest(const Case& c, const std::string& kind, double jd) {
    const Event* best = nullptr;
    for (const Event& e : c.events)
        if (e.kind == kind && (!best || std::fabs(e.jd - jd) < std::fabs(best->jd - jd))) best = &e;
    return best;
}

class RiseSetReference : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        testsupport::LoadDataFiles();
        const auto cases = testsupport::ReadCsv(testsupport::TestData("riseset_cases.csv"));
        const auto events = testsupport::ReadCsv(testsupport::TestData("riseset_events.csv"));
        std::map<int, size_t> index;
        g_cases = new std::vector<Case>;
        for (size_t i = 0; i < cases.rows.size(); ++i) {
            index[static_cast<int>(cases.Num(i, "case"))] = g_cases->size();
            g_cases->push_back({static_cast<int>(cases.Num(i, "kind")), cases.Num(i, "lat"), cases.Num(i, "lon"),
                                cases.Num(i, "tz"), cases.Num(i, "day_ut_jd"), cases.Num(i, "h0_deg"),
                                cases.Num(i, "mid_alt"), {}});
        }
        for (size_t i = 0; i < events.rows.size(); ++i)
            g_cases->at(index.at(static_cast<int>(events.Num(i, "case"))))
                .events.push_back({events.Text(i, "event"), events.Num(i, "jd_ut"), events.Num(i, "value")});
    }
    static void TearDownTestSuite() { delete g_cases; }
};
}  // namespace

TEST_F(RiseSetReference, ThresholdsAndRigorousMethod) {
    ASSERT_EQ(g_cases->size(), 14u * 18u * 11u);
    int checked = 0;
    for (const Case& c : *g_cases) {
        const double base = c.kind == 10 ? kCivilTwilightDeg : c.kind == 11 ? kNauticalTwilightDeg : BaseThreshold(c.kind);
        ASSERT_NEAR(ThresholdAltitude(base, kSea), c.h0, 1e-6) << KindName(c.kind);  // the reference's altitudes
        const RiseSetResult r = Compute(c, false);
        std::vector<const Event*> ref[2];  // rises and sets in the day
        for (const Event& e : c.events)
            if (c.InDay(e) && (e.kind == "rise" || e.kind == "set")) ref[e.kind == "set"].push_back(&e);
        if (ref[0].empty() && ref[1].empty()) {
            // No crossing in the 24 hours: both markers, the side from the 12th hour.
            EXPECT_EQ(r.Set, -1.0) << Where(c);
            EXPECT_EQ(r.Rise, c.midAlt > 0 ? 1.0 : -1.0) << Where(c);
            continue;
        }
        for (int pass = 0; pass < 2; ++pass) {
            const DateValue got = pass == 0 ? r.Rise : r.Set;
            const std::string what = Where(c) + (pass ? " set" : " rise");
            // Skip two moonrises in a day, or a crossing at the very edge.
            if (ref[pass].size() > 1 || std::any_of(ref[pass].begin(), ref[pass].end(), [&](const Event* e) {
                    return std::fabs(e->jd - c.dayJd) < kEdgeDays || std::fabs(e->jd - c.dayJd - 1.0) < kEdgeDays;
                }))
                continue;
            const bool missing = r.NoCrossing() || got == 0.0;
            if (ref[pass].empty()) {
                EXPECT_TRUE(!r.NoCrossing() && got == 0.0) << what << " found where the reference has none";
                continue;
            }
            const Event& e = *ref[pass][0];
            const bool graze = std::fabs(e.value) < kGrazingRateDegPerMin;
            if (missing) {
                EXPECT_TRUE(graze) << what << " missed";
                continue;
            }
            const double errMin = (got + kDateEpochJD - e.jd) * 1440.0;
            ++checked;
            if (graze) EXPECT_LE(std::fabs(errMin * e.value * 60.0), kTolGrazingArcmin) << what;
            else EXPECT_LE(std::fabs(errMin), c.kind == 9 ? kTolRigorousMoonMinutes : kTolRigorousSunMinutes) << what;
        }
    }
    EXPECT_GT(checked, 4000);
}

TEST_F(RiseSetReference, ApproximateMethod) {
    // Each rise or set the formula gives lies in the local day the rigorous method
    // searches, [day, day + 1), and is compared with the reference's crossing of that
    // same day: the zone time the window shows against the true one.
    testsupport::ErrorStats moon;
    int markerDisagree = 0, outOfDay = 0, wrongDays = 0, checked = 0;
    for (const Case& c : *g_cases) {
        const RiseSetResult r = Compute(c, true);
        if (r.NoCrossing()) {
            // The reference must not cross (at a fair angle) in the day.
            markerDisagree += std::any_of(c.events.begin(), c.events.end(), [&](const Event& e) {
                return (e.kind == "rise" || e.kind == "set") && std::fabs(e.value) >= kGrazingRateDegPerMin && c.InDay(e);
            });
            continue;
        }
        const double tol = c.kind == 9 ? kTolApproxMoonMinutes : c.kind == 0 ? kTolApproxSunMinutes
                           : c.kind >= 10 ? kTolApproxTwilightMinutes
                           : c.kind <= 4  ? kTolApproxInnerPlanetMinutes : kTolApproxOuterPlanetMinutes;
        for (int pass = 0; pass < 2; ++pass) {
            const std::string kind = pass == 0 ? "rise" : "set";
            const DateValue got = pass == 0 ? r.Rise : r.Set;
            const double day = c.dayJd - kDateEpochJD;
            if (got != 0.0 && !(got >= day && got < day + 1.0)) ++outOfDay;
            // A crossing within the method's error of midnight may fall on either side.
            std::vector<const Event*> ref;
            bool nearEdge = false, grazing = false;
            for (const Event& e : c.events) {
                if (e.kind != kind) continue;
                if (std::fabs(e.jd - c.dayJd) * 1440.0 < tol || std::fabs(e.jd - c.dayJd - 1.0) * 1440.0 < tol)
                    nearEdge = true;
                else if (c.InDay(e)) ref.push_back(&e), grazing |= std::fabs(e.value) < kGrazingRateDegPerMin;
            }
            if (nearEdge || grazing || ref.size() > 1) continue;
            wrongDays += ref.empty() != (got == 0.0);  // none where the day has one, or one where it has none
            if (ref.empty() || got == 0.0) continue;
            // The shown time of day against the true one (a day's whole turns dropped).
            double errMin = std::remainder(got + kDateEpochJD - ref[0]->jd, 1.0) * 1440.0;
            if (c.kind == 9) moon.Add(errMin);
            ++checked;
            EXPECT_LE(std::fabs(errMin), tol) << Where(c) << " " << kind;
        }
    }
    EXPECT_EQ(outOfDay, 0);
    EXPECT_LE(moon.Rms(), kTolApproxMoonRmsMinutes);
    EXPECT_LE(markerDisagree, kMaxApproxMissedDays);
    EXPECT_LE(wrongDays, kMaxApproxWrongDays);
    EXPECT_GT(checked, 4000);
}

TEST_F(RiseSetReference, Transits) {
    for (const Case& c : *g_cases) {
        if (c.kind > 9) continue;
        const TransitResult t = TransitTimes(c.dayJd - kDateEpochJD, c.lat, c.lon, c.kind, kSea);
        const Event *u = Nearest(c, "upper", t.UpperTime + kDateEpochJD), *l = Nearest(c, "lower", t.LowerTime + kDateEpochJD);
        ASSERT_TRUE(u && l);
        EXPECT_LE(std::fabs(t.UpperTime + kDateEpochJD - u->jd) * 1440.0, kTolTransitMinutes) << Where(c);
        EXPECT_LE(std::fabs(t.LowerTime + kDateEpochJD - l->jd) * 1440.0, kTolTransitMinutes) << Where(c);
        if (c.kind == 0) {
            // Height of eye 0: the upper altitude is the computed one plus refraction.
            const double eAltUp = (t.UpperAltitude - (u->value + Refraction(u->value))) * 60.0;
            EXPECT_TRUE(u->value >= kSunAltCheckBelowDeg || std::fabs(eAltUp) <= kTolTransitSunAltArcmin) << Where(c);
            EXPECT_LE(std::fabs((t.LowerAltitude - l->value) * 60.0), kTolTransitSunAltArcmin) << Where(c);
        }
        // The upper transit is the one after local midnight.
        EXPECT_TRUE(t.UpperTime >= c.dayJd - kDateEpochJD && t.UpperTime < c.dayJd - kDateEpochJD + 1.04) << Where(c);
    }
}
