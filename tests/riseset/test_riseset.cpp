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

}  // namespace

TEST(QuadraticCrossings, FindsRiseAndSetOfASmoothCurve) {
    // Zero upwards at 6 h and downwards at 18 h.
    const DateValue day = 45000.25;
    const auto y = Curve([](double h) { return 20.0 * std::sin((h - 6.0) * M_PI / 12.0); });
    const RiseSetResult r = QuadraticCrossings(day, y);
    EXPECT_NEAR(HoursOf(r.Rise, day), 6.0, kTolSyntheticMinutes / 60.0);
    EXPECT_NEAR(HoursOf(r.Set, day), 18.0, kTolSyntheticMinutes / 60.0);
    EXPECT_TRUE(r.HasRise());
    EXPECT_TRUE(r.HasSet());
}

TEST(QuadraticCrossings, CrossingBetweenHoursIsTheAverageOfTwoWindows) {
    // A zero at 9.4 h lies in the windows centred on 9 and 10; both estimates are
    // close and their mean is kept, not the second one alone.
    const auto y = Curve([](double h) { return 30.0 * std::sin((h - 9.4) * M_PI / 12.0); });
    const RiseSetResult r = QuadraticCrossings(0.0 + 40000.0, y);
    EXPECT_NEAR(HoursOf(r.Rise, 40000.0), 9.4, kTolSyntheticMinutes / 60.0);
    EXPECT_NEAR(HoursOf(r.Set, 40000.0), 21.4, kTolSyntheticMinutes / 60.0);
}

TEST(QuadraticCrossings, OnlyOneCrossingLeavesTheOtherZero) {
    const auto y = Curve([](double h) { return 0.5 * (h - 15.5); });  // straight line up through 15.5 h
    const RiseSetResult r = QuadraticCrossings(40000.0, y);
    EXPECT_NEAR(HoursOf(r.Rise, 40000.0), 15.5, 1e-9);
    EXPECT_EQ(r.Set, 0.0);
    EXPECT_FALSE(r.NoCrossing());
    EXPECT_FALSE(r.HasSet());
}

TEST(QuadraticCrossings, NoCrossingGivesTheMarkersOfTheTwelfthHour) {
    const RiseSetResult above = QuadraticCrossings(40000.0, Curve([](double h) { return 5.0 + std::cos(h); }));
    EXPECT_EQ(above.Set, -1.0);
    EXPECT_EQ(above.Rise, 1.0);
    EXPECT_TRUE(above.AlwaysAbove());
    const RiseSetResult below = QuadraticCrossings(40000.0, Curve([](double h) { return -5.0 + std::cos(h); }));
    EXPECT_EQ(below.Set, -1.0);
    EXPECT_EQ(below.Rise, -1.0);
    EXPECT_TRUE(below.AlwaysBelow());
}

TEST(QuadraticCrossings, TwoRisesHoursApartAreNotAveraged) {
    // Upwards at 3 h and 17 h, downwards at 10 h: the mean of the two rises (10 h)
    // would be the moment of the set.
    const auto y = Curve([](double h) { return std::cos((h - 6.5) * 2.0 * M_PI / 14.0); });
    const RiseSetResult r = QuadraticCrossings(40000.0, y);
    EXPECT_NEAR(HoursOf(r.Rise, 40000.0), 3.0, kTolSyntheticMinutes / 60.0);
    EXPECT_NEAR(HoursOf(r.Set, 40000.0), 10.0, kTolSyntheticMinutes / 60.0);
}

TEST_F(RiseSetTest, ThresholdGoesDownForDipAndForColdDenseAir) {
    const double base = kSunBaseThresholdDeg;
    EXPECT_DOUBLE_EQ(ThresholdAltitude(base), base);  // height 0, 10 C, 1010 mB
    NavigationState.hEye = 15.0f;
    EXPECT_NEAR(ThresholdAltitude(base), base - Dip(15.0), 1e-12);
    NavigationState.hEye = 0.0f;
    NavigationState.Temp = -10.0f;
    NavigationState.Pressure = 1030.0f;
    // Cold dense air bends the light more: the Sun shows while geometrically lower.
    const double cold = ThresholdAltitude(base);
    EXPECT_LT(cold, base);
    EXPECT_NEAR(base - cold, 0.0974 * Refraction(base), 0.001 * Refraction(base));
    NavigationState.Temp = 35.0f;
    NavigationState.Pressure = 990.0f;
    EXPECT_GT(ThresholdAltitude(base), base);
}

TEST_F(RiseSetTest, ColdDenseAirBringsSunriseEarlierAndSunsetLater) {
    Place(51.5, 0.0);
    const DateValue day = DateFromParts(2024, 11, 15);
    const RiseSetResult normal = RiseSetTimes(day, 51.5, 0.0, 0, false);
    NavigationState.Temp = -10.0f;
    NavigationState.Pressure = 1030.0f;
    const RiseSetResult cold = RiseSetTimes(day, 51.5, 0.0, 0, false);
    // About 3.3' more refraction at a rate of about 0.13 deg/min: some 25 s.
    EXPECT_LT(cold.Rise, normal.Rise - 10.0 / 86400.0);
    EXPECT_GT(cold.Set, normal.Set + 10.0 / 86400.0);
    const RiseSetResult coldApprox = RiseSetTimes(day, 51.5, 0.0, 0, true);
    NavigationState.Temp = 10.0f;
    NavigationState.Pressure = 1010.0f;
    const RiseSetResult normalApprox = RiseSetTimes(day, 51.5, 0.0, 0, true);
    EXPECT_LT(coldApprox.Rise, normalApprox.Rise);
    EXPECT_GT(coldApprox.Set, normalApprox.Set);
}

TEST_F(RiseSetTest, EquatorAtTheEquinox) {
    Place(0.0, 0.0);
    const DateValue day = DateFromParts(2024, 3, 20);
    // The equation of time is about -7.5 min: noon near 12:07, the day 12 h 07 min
    // long with the Sun's semidiameter and refraction.
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
    // The equinox is at 03:06 UT: declination about -0.05 deg at the lower transit
    // and +0.15 at the upper one. Upper altitude 90 - |declination| plus the
    // refraction (0 at the zenith); lower altitude the computed one alone.
    EXPECT_NEAR(t.UpperAltitude, 89.85, 0.03);
    EXPECT_NEAR(t.LowerAltitude, -89.95, 0.03);
}

TEST_F(RiseSetTest, PolarDayAndNightAtEightyNorth) {
    Place(80.0, 15.0, 1.0f);
    const DateValue summer = DateFromParts(2024, 6, 21) - 1.0 / 24.0;
    const DateValue winter = DateFromParts(2024, 12, 21) - 1.0 / 24.0;
    for (bool approximate : {true, false}) {
        SCOPED_TRACE(approximate ? "approximate" : "rigorous");
        const RiseSetResult day = RiseSetTimes(summer, 80.0, 15.0, 0, approximate);
        EXPECT_EQ(day.Set, -1.0);
        EXPECT_EQ(day.Rise, 1.0);
        const RiseSetResult night = RiseSetTimes(winter, 80.0, 15.0, 0, approximate);
        EXPECT_EQ(night.Set, -1.0);
        EXPECT_EQ(night.Rise, -1.0);
        // In the polar night the Sun does not even reach -6 deg (at noon about -13.4).
        EXPECT_TRUE(TwilightTimes(winter, 80.0, 15.0, true, approximate).AlwaysBelow());
    }
    const TransitResult t = TransitTimes(summer, 80.0, 15.0, 0);
    EXPECT_NEAR(t.LowerAltitude, 23.44 - 10.0, 0.05);  // midnight Sun
}

TEST_F(RiseSetTest, NauticalTwilightAllNightAtSixtyNorthInMidsummer) {
    Place(60.0, 10.7, 1.0f);
    const DateValue day = DateFromParts(2024, 6, 21) - 1.0 / 24.0;
    for (bool approximate : {true, false}) {
        SCOPED_TRACE(approximate ? "approximate" : "rigorous");
        const RiseSetResult n = TwilightTimes(day, 60.0, 10.7, false, approximate);
        EXPECT_EQ(n.Set, -1.0);
        EXPECT_EQ(n.Rise, 1.0);
        // The Sun's midnight depth is 6.56 deg: civil twilight does end, briefly.
        const RiseSetResult c = TwilightTimes(day, 60.0, 10.7, true, approximate);
        ASSERT_TRUE(c.HasRise() && c.HasSet());
        EXPECT_NEAR(c.Rise - c.Set + (c.Rise < c.Set ? 1.0 : 0.0), 1.7 / 24.0, 0.6 / 24.0);
    }
}

TEST_F(RiseSetTest, DayWithoutMoonset) {
    // Cape Town, 5 May 2006, zone +2: the Moon rises at 14:14 local time and sets
    // only after the next midnight (Swiss Ephemeris, riseset_events.csv case).
    Place(-33.9, 18.4, 2.0f);
    const DateValue day = DateFromParts(2006, 5, 5) - 2.0 / 24.0;
    const RiseSetResult r = RiseSetTimes(day, -33.9, 18.4, 9, false);
    EXPECT_EQ(r.Set, 0.0);
    EXPECT_FALSE(r.HasSet());
    ASSERT_TRUE(r.HasRise());
    EXPECT_NEAR(HoursOf(r.Rise, day), 0.5933203 * 24.0, 2.0 / 60.0);
}

TEST_F(RiseSetTest, ZoneTenHoursEastReadsAsTheLocalDay) {
    // Vladivostok, 21 June 2024, zone +10: local midnight is 14:00 UT on the 20th.
    Place(43.1, 131.9, 10.0f);
    const DateValue day = DateFromParts(2024, 6, 21) - 10.0 / 24.0;
    const RiseSetResult approx = RiseSetTimes(day, 43.1, 131.9, 0, true);
    const RiseSetResult rigorous = RiseSetTimes(day, 43.1, 131.9, 0, false);
    // The approximate events come from the UT midnight before the local midnight,
    // so its sunrise is that of the local 20th; the rigorous one searches from the
    // local midnight and finds the sunrise of the 21st.
    EXPECT_LT(approx.Rise, day);
    EXPECT_GE(rigorous.Rise, day);
    EXPECT_LT(rigorous.Rise, day + 1.0);
    // Shown as zone times of day (only the time is shown) they agree within the
    // Sun's change in a day plus the approximate method's error.
    const double a = DateTimeOfDay(approx.Rise + 10.0 / 24.0);
    const double g = DateTimeOfDay(rigorous.Rise + 10.0 / 24.0);
    EXPECT_NEAR(a, g, 3.0 * kMinute);
    // Swiss Ephemeris: sunrise 2024-06-20 19:32:57 UT, 05:32:57 zone time.
    EXPECT_EQ(TimeOfDayText(rigorous.Rise + 10.0 / 24.0).substr(0, 4), "05:3");
    EXPECT_NEAR(g * 24.0, 5.0 + 32.95 / 60.0, 1.0 / 60.0);
    // Local noon is 03:14 UT, three hours after D0: the lower transit follows it.
    const TransitResult t = TransitTimes(day, 43.1, 131.9, 0);
    EXPECT_NEAR(t.LowerTime - t.UpperTime, 0.5 * TransitRateFactor(0, true), 1e-9);
}

TEST_F(RiseSetTest, LowerTransitCanComeBeforeTheUpperOne) {
    // Honolulu: local noon at about 22:30 UT, so T is above 12 h and the lower
    // transit is taken twelve sidereal hours before the upper one on the same D0.
    Place(21.3, -157.9, -10.0f);
    const DateValue day = DateFromParts(2024, 6, 21) + 10.0 / 24.0;
    const TransitResult t = TransitTimes(day, 21.3, -157.9, 0);
    EXPECT_LT(t.LowerTime, t.UpperTime);
    EXPECT_NEAR(t.UpperTime - t.LowerTime, 0.5 * TransitRateFactor(0, true), 1e-9);
    EXPECT_NEAR(HoursOf(t.UpperTime, DateWholeDays(day)), 22.6, 0.2);
    // At the lower transit the Sun is 90 - 21.3 - 23.44 = 45.3 deg below the horizon.
    EXPECT_NEAR(t.LowerAltitude, -45.26, 0.1);
    // The Sun culminates 2.1 deg north of the zenith: 87.9 plus a little refraction.
    EXPECT_NEAR(t.UpperAltitude, 90.0 - (23.44 - 21.3) + Refraction(87.86), 0.05);
}

TEST(TimeOfDayText, RoundsToTheSecondAndWraps) {
    EXPECT_EQ(TimeOfDayText(45000.0 + (6.0 * 3600 + 5 * 60 + 9.4) / 86400.0), "06:05:09");
    EXPECT_EQ(TimeOfDayText(45000.0 + (23.0 * 3600 + 59 * 60 + 59.6) / 86400.0), "00:00:00");
    EXPECT_EQ(TimeOfDayText(-0.75), "06:00:00");
    EXPECT_EQ(TimeOfDayText(std::nan("")), "--:--:--");
}
