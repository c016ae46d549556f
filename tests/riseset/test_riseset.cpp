// Rise, set, transit and twilight: the markers, the threshold and the edge cases
// of the day (equator at the equinox, polar day and night, twilight all night, a
// day without moonset, a zone ten hours east).
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/mPublicVars.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "core/mTime.h"
#include "reduction/mCorrection.h"
#include "riseset/mRiseSet.h"

namespace {

constexpr double kMinute = 1.0 / 1440.0;  // days
// The parabola through three hourly values of a smooth test curve (period 14 h or
// more) finds its zero within a few seconds.
constexpr double kTolSyntheticMinutes = 0.2;

class RiseSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        const LoadStatus st = LoadPlanetData();
        ASSERT_TRUE(st.ok) << st.message;
        NavigationState = DefaultNavigationState();
        NavigationState.hEye = 0.0f;
    }
    void Place(double lat, double lon, float tz = 0.0f) {
        NavigationState.Lat = lat;
        NavigationState.Lon = lon;
        NavigationState.TZ = tz;
    }
};

HourlyTable Curve(double (*f)(double)) {
    HourlyTable y{};
    for (int h = 0; h <= 24; ++h) y[static_cast<size_t>(h)] = f(h);
    return y;
}

double HoursOf(DateValue t, DateValue day) { return (t - day) * 24.0; }

double Rise6Set18(double h) { return 20.0 * std::sin((h - 6.0) * M_PI / 12.0); }
double Rise9p4(double h) { return 30.0 * std::sin((h - 9.4) * M_PI / 12.0); }
// Upwards at 3 h and 17 h, downwards at 10 h: the mean of the two rises is the set.
double TwoRises(double h) { return std::cos((h - 6.5) * 2.0 * M_PI / 14.0); }
double LineUp15p5(double h) { return 0.5 * (h - 15.5); }
double Above(double h) { return 5.0 + std::cos(h); }
double Below(double h) { return -5.0 + std::cos(h); }

}  // namespace

TEST(QuadraticCrossings, SmoothCurvesOneCrossingAndMarkers) {
    // rise/set < 0: none (the field is 0). A zero between hours (9.4 h) lies in two
    // windows whose estimates are averaged; two rises hours apart are not.
    const double tol = kTolSyntheticMinutes / 60.0;  // hours; a straight line is found exactly
    struct C { double (*f)(double); double rise, set, tolHours; };
    const C cases[] = {{Rise6Set18, 6.0, 18.0, tol}, {Rise9p4, 9.4, 21.4, tol}, {TwoRises, 3.0, 10.0, tol},
                       {LineUp15p5, 15.5, -1, 1e-9}};
    const DateValue day = 45000.25;
    for (const C& c : cases) {
        const RiseSetResult r = QuadraticCrossings(day, Curve(c.f));
        EXPECT_FALSE(r.NoCrossing());
        EXPECT_NEAR(HoursOf(r.Rise, day), c.rise, c.tolHours) << c.rise;
        if (c.set < 0) {
            EXPECT_EQ(r.Set, 0.0);
            EXPECT_FALSE(r.HasSet());
        } else {
            EXPECT_NEAR(HoursOf(r.Set, day), c.set, c.tolHours) << c.rise;
        }
    }
    // No crossing: Set -1, Rise +1 or -1 by the side of the twelfth hour.
    const RiseSetResult above = QuadraticCrossings(day, Curve(Above)), below = QuadraticCrossings(day, Curve(Below));
    EXPECT_TRUE(above.Set == -1.0 && above.Rise == 1.0 && above.AlwaysAbove());
    EXPECT_TRUE(below.Set == -1.0 && below.Rise == -1.0 && below.AlwaysBelow());
}

TEST_F(RiseSetTest, ColdDenseAirLowersTheThreshold) {
    const double base = kSunBaseThresholdDeg;
    EXPECT_DOUBLE_EQ(ThresholdAltitude(base), base);  // height 0, 10 C, 1010 mB
    NavigationState.hEye = 15.0f;
    EXPECT_NEAR(ThresholdAltitude(base), base - Dip(15.0), 1e-12);
    NavigationState.hEye = 0.0f;
    Place(51.5, 0.0);
    const DateValue day = DateFromParts(2024, 11, 15);
    const RiseSetResult normal = RiseSetTimes(day, 51.5, 0.0, 0, false), normalApprox = RiseSetTimes(day, 51.5, 0.0, 0, true);
    // Cold dense air bends the light more: the Sun shows while geometrically lower,
    // about 3.3' more refraction, some 25 s earlier at rise and later at set.
    NavigationState.Temp = -10.0f;
    NavigationState.Pressure = 1030.0f;
    const double cold = ThresholdAltitude(base);
    EXPECT_NEAR(base - cold, 0.0974 * Refraction(base), 0.001 * Refraction(base));
    const RiseSetResult r = RiseSetTimes(day, 51.5, 0.0, 0, false), a = RiseSetTimes(day, 51.5, 0.0, 0, true);
    EXPECT_LT(r.Rise, normal.Rise - 10.0 / 86400.0);
    EXPECT_GT(r.Set, normal.Set + 10.0 / 86400.0);
    EXPECT_TRUE(a.Rise < normalApprox.Rise && a.Set > normalApprox.Set);
    NavigationState.Temp = 35.0f;
    NavigationState.Pressure = 990.0f;
    EXPECT_GT(ThresholdAltitude(base), base);
}

TEST_F(RiseSetTest, EquatorAtTheEquinox) {
    Place(0.0, 0.0);
    const DateValue day = DateFromParts(2024, 3, 20);
    // Equation of time about -7.5 min: noon near 12:07, the day 12 h 07 min long.
    for (bool approximate : {true, false}) {
        SCOPED_TRACE(approximate ? "approximate" : "rigorous");
        const RiseSetResult r = RiseSetTimes(day, 0.0, 0.0, 0, approximate);
        EXPECT_NEAR(HoursOf(r.Rise, day), 6.0, 10.0 / 60.0);
        EXPECT_NEAR(HoursOf(r.Set, day), 18.0, 15.0 / 60.0);
        EXPECT_GT(r.Set - r.Rise, 0.5);
    }
    const TransitResult t = TransitTimes(day, 0.0, 0.0, 0);
    EXPECT_NEAR(HoursOf(t.UpperTime, day), 12.0 + 7.5 / 60.0, 1.0 / 60.0);
    EXPECT_NEAR(HoursOf(t.LowerTime, day), 7.5 / 60.0, 1.0 / 60.0);  // twelve hours earlier, same base
    // Equinox at 03:06 UT: declination -0.05 at the lower transit, +0.15 at the upper
    // (whose altitude adds the refraction, 0 at the zenith).
    EXPECT_NEAR(t.UpperAltitude, 89.85, 0.03);
    EXPECT_NEAR(t.LowerAltitude, -89.95, 0.03);
}

TEST_F(RiseSetTest, PolarDayPolarNightAndTwilightAllNight) {
    const DateValue summer = DateFromParts(2024, 6, 21) - 1.0 / 24.0;
    const DateValue winter = DateFromParts(2024, 12, 21) - 1.0 / 24.0;
    for (bool approximate : {true, false}) {
        SCOPED_TRACE(approximate ? "approximate" : "rigorous");
        Place(80.0, 15.0, 1.0f);
        const RiseSetResult day = RiseSetTimes(summer, 80.0, 15.0, 0, approximate);
        EXPECT_TRUE(day.Set == -1.0 && day.Rise == 1.0);
        const RiseSetResult night = RiseSetTimes(winter, 80.0, 15.0, 0, approximate);
        EXPECT_TRUE(night.Set == -1.0 && night.Rise == -1.0);
        // At 80 N the winter Sun does not even reach -6 deg (at noon about -13.4).
        EXPECT_TRUE(TwilightTimes(winter, 80.0, 15.0, true, approximate).AlwaysBelow());
        // 60 N in midsummer: nautical twilight all night; the Sun's midnight depth is
        // 6.56 deg, so civil twilight does end, briefly.
        Place(60.0, 10.7, 1.0f);
        const RiseSetResult n = TwilightTimes(summer, 60.0, 10.7, false, approximate);
        EXPECT_TRUE(n.Set == -1.0 && n.Rise == 1.0);
        const RiseSetResult c = TwilightTimes(summer, 60.0, 10.7, true, approximate);
        ASSERT_TRUE(c.HasRise() && c.HasSet());
        EXPECT_NEAR(c.Rise - c.Set + (c.Rise < c.Set ? 1.0 : 0.0), 1.7 / 24.0, 0.6 / 24.0);
    }
    Place(80.0, 15.0, 1.0f);
    EXPECT_NEAR(TransitTimes(summer, 80.0, 15.0, 0).LowerAltitude, 23.44 - 10.0, 0.05);  // midnight Sun
}

TEST_F(RiseSetTest, DayWithoutMoonset) {
    // Cape Town, 5 May 2006, zone +2: moonrise 14:14 local, the set after the next
    // midnight (Swiss Ephemeris, riseset_events.csv).
    Place(-33.9, 18.4, 2.0f);
    const DateValue day = DateFromParts(2006, 5, 5) - 2.0 / 24.0;
    const RiseSetResult r = RiseSetTimes(day, -33.9, 18.4, 9, false);
    EXPECT_EQ(r.Set, 0.0);
    EXPECT_FALSE(r.HasSet());
    ASSERT_TRUE(r.HasRise());
    EXPECT_NEAR(HoursOf(r.Rise, day), 0.5933203 * 24.0, 2.0 / 60.0);
}

TEST_F(RiseSetTest, ZoneTenHoursEastAndTheOrderOfTransits) {
    // Vladivostok, 21 June 2024, zone +10: local midnight is 14:00 UT on the 20th. The
    // approximate events come from the UT midnight before (the sunrise of the local
    // 20th); the rigorous search starts at local midnight (the sunrise of the 21st).
    Place(43.1, 131.9, 10.0f);
    DateValue day = DateFromParts(2024, 6, 21) - 10.0 / 24.0;
    const RiseSetResult approx = RiseSetTimes(day, 43.1, 131.9, 0, true);
    const RiseSetResult rigorous = RiseSetTimes(day, 43.1, 131.9, 0, false);
    EXPECT_LT(approx.Rise, day);
    EXPECT_TRUE(rigorous.Rise >= day && rigorous.Rise < day + 1.0);
    // As zone times of day they agree within a day's change plus the method's error;
    // Swiss Ephemeris: 05:32:57 zone time.
    const double g = DateTimeOfDay(rigorous.Rise + 10.0 / 24.0);
    EXPECT_NEAR(DateTimeOfDay(approx.Rise + 10.0 / 24.0), g, 3.0 * kMinute);
    EXPECT_NEAR(g * 24.0, 5.0 + 32.95 / 60.0, 1.0 / 60.0);
    // Local noon 03:14 UT, three hours after D0: the lower transit follows it.
    TransitResult t = TransitTimes(day, 43.1, 131.9, 0);
    EXPECT_NEAR(t.LowerTime - t.UpperTime, 0.5 * TransitRateFactor(0, true), 1e-9);
    // Honolulu: local noon about 22:30 UT, so the lower transit is twelve sidereal
    // hours before the upper one on the same D0.
    Place(21.3, -157.9, -10.0f);
    day = DateFromParts(2024, 6, 21) + 10.0 / 24.0;
    t = TransitTimes(day, 21.3, -157.9, 0);
    EXPECT_NEAR(t.UpperTime - t.LowerTime, 0.5 * TransitRateFactor(0, true), 1e-9);
    EXPECT_NEAR(HoursOf(t.UpperTime, DateWholeDays(day)), 22.6, 0.2);
    // 90 - 21.3 - 23.44 = 45.3 deg down at the lower transit; at the upper one 2.1 deg
    // north of the zenith: 87.9 plus a little refraction.
    EXPECT_NEAR(t.LowerAltitude, -45.26, 0.1);
    EXPECT_NEAR(t.UpperAltitude, 90.0 - (23.44 - 21.3) + Refraction(87.86), 0.05);
}

TEST(TimeOfDayText, RoundsToTheSecondAndWraps) {
    EXPECT_EQ(TimeOfDayText(45000.0 + (6.0 * 3600 + 5 * 60 + 9.4) / 86400.0), "06:05:09");
    EXPECT_EQ(TimeOfDayText(45000.0 + (23.0 * 3600 + 59 * 60 + 59.6) / 86400.0), "00:00:00");
    EXPECT_EQ(TimeOfDayText(-0.75), "06:00:00");
    EXPECT_EQ(TimeOfDayText(std::nan("")), "--:--:--");
}
