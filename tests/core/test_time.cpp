#include <gtest/gtest.h>

#include <cmath>

#include "core/mFault.h"
#include "core/mMath.h"
#include "core/mTime.h"
#include "support/csv.h"

namespace {
constexpr double kSecPerDay = 86400.0;
constexpr double kTolJdDays = 1e-9;  // well below a millisecond
// The mean sidereal time here has the linear rate 8640184.7942063 s per century
// where IAU 1982 has 8640184.812866: 0.28" apart at 1900 and 2100.
constexpr double kTolSiderealArcsec = 0.3;
// With that known difference of the polynomials taken out, what remains is the 63-row
// nutation and the 1994 complementary terms of the equation of the equinoxes.
constexpr double kTolSiderealResidualArcsec = 0.01;

// The TT Julian date whose UT (jd - DeltaT(jd)) is the given UT date.
double TTForUT(double ut) {
    double jd = ut + DeltaT(ut);
    for (int i = 0; i < 3; ++i) jd = ut + DeltaT(jd);
    return jd;
}
}  // namespace

TEST(JulianDay, PublishedDatesAndOverflow) {
    struct C { DateValue date; bool bc, ut; double jd; };
    const C cases[] = {
        {DateFromParts(2000, 1, 1, 12), false, true, 2451545.0},
        {DateFromParts(2000, 1, 1, 12), false, false, 2451545.0 + 65.0 / kSecPerDay},  // TT: plus Delta T
        // The calendar reform: 1582-10-04 (Julian) is followed by 1582-10-15 (Gregorian).
        {DateFromParts(1582, 10, 15), false, true, 2299160.5},
        {DateFromParts(1582, 10, 4), false, true, 2299159.5},
        {DateFromParts(1, 1, 1), true, true, 1721057.5},  // 1 January of 1 BC is astronomical year 0
        {DateFromParts(1957, 10, 4) + 0.81, false, true, 2436116.31},  // Astronomical Algorithms 7.a
        {DateFromParts(333, 1, 27, 12), false, true, 1842713.0},       // 7.b, Julian calendar
        {DateFromParts(-4712, 1, 1, 12), false, true, 0.0}};
    for (const C& c : cases) EXPECT_NEAR(JulianDay(c.date, c.bc, c.ut), c.jd, kTolJdDays) << c.jd;
    // Its integer steps are 16-bit: year 30000 overflows, 9999 does not.
    EXPECT_THROW(JulianDay(DateFromParts(30000, 1, 1), false, true), ArithmeticFault);
    EXPECT_NO_THROW(JulianDay(DateFromParts(9999, 12, 31), false, true));
}

TEST(DateValue, RoundTripsAcrossTheCenturies) {
    struct D { int y, mo, d, h, mi, s; };
    const D dates[] = {{1582, 10, 4, 23, 59, 59}, {1582, 10, 15, 0, 0, 0}, {1600, 2, 29, 6, 0, 0},
                       {1899, 12, 29, 6, 0, 0},  {1899, 12, 30, 0, 0, 1}, {1900, 2, 28, 12, 30, 0},
                       {1900, 3, 1, 0, 0, 0},    {2000, 2, 29, 18, 45, 30}, {2100, 12, 31, 23, 59, 59},
                       {1066, 10, 14, 9, 0, 0},  {-500, 3, 1, 1, 2, 3},   {0, 2, 29, 0, 0, 0}};
    for (const D& x : dates) {
        const DateValue v = DateFromParts(x.y, x.mo, x.d, x.h, x.mi, x.s);
        // Calendar -> date value -> calendar, and calendar -> Julian date -> calendar.
        const CalendarDate c = DateToParts(v), back = DateToParts(JDToDate(JulianDay(v, false, true), true));
        for (const CalendarDate& r : {c, back}) {
            EXPECT_EQ(r.year, x.y);
            EXPECT_EQ(r.month, x.mo);
            EXPECT_EQ(r.day, x.d);
            EXPECT_EQ(r.hour, x.h);
            EXPECT_EQ(r.minute, x.mi);
        }
        EXPECT_NEAR(c.second, x.s, 1e-3);
    }
    // Before the epoch: 1899-12-29 06:00 is -0.75, its midnight -1, its time of day 0.25.
    const DateValue v = DateFromParts(1899, 12, 29, 6);
    EXPECT_DOUBLE_EQ(v, -0.75);
    EXPECT_DOUBLE_EQ(DateWholeDays(v), -1.0);
    EXPECT_DOUBLE_EQ(DateTimeOfDay(v), 0.25);
    EXPECT_DOUBLE_EQ(DateFromParts(1899, 12, 30), 0.0);
    // Fields out of range roll over.
    EXPECT_DOUBLE_EQ(DateFromParts(2001, 1, 32), DateFromParts(2001, 2, 1));
    EXPECT_DOUBLE_EQ(DateFromParts(2001, 13, 1), DateFromParts(2002, 1, 1));
}

TEST(DeltaT, WithinASecondOfTheObservedValues) {
    // Observed Delta T: 1950.0 29.1 s, 1990.0 56.9 s.
    EXPECT_NEAR(DeltaT(2451545.0 - 50 * 365.25) * kSecPerDay, 29.1, 1.0);
    EXPECT_NEAR(DeltaT(2451545.0 - 10 * 365.25) * kSecPerDay, 56.9, 1.0);
}

TEST(SiderealTime, PublishedExampleAndLongitude) {
    // Astronomical Algorithms example 12.b: 1987 April 10, 19:21:00 UT: mean sidereal
    // time 128.7378734; apparent (nutation -3.868" x cos eps) 128.73690.
    const double jd = TTForUT(2446896.30625);
    EXPECT_NEAR(SiderealTime(jd, 0.0), 128.73690, 0.05 / 3600.0);
    EXPECT_NEAR(Norm360(SiderealTime(jd, 30.0) - SiderealTime(jd, 0.0)), 30.0, 1e-9);
    EXPECT_NEAR(SiderealTime(jd, 360.0 + 45.0), SiderealTime(jd, 45.0), 1e-9);
    for (double lon = -180.0; lon <= 180.0; lon += 45.0) {
        const double st = SiderealTime(jd, lon);
        EXPECT_TRUE(st >= 0.0 && st < 360.0) << lon;
    }
}

TEST(SiderealTime, AgreesWithErfaApparentSiderealTime) {
    const auto ref = testsupport::ReadCsv(testsupport::TestData("time_reference.csv"));
    ASSERT_GE(ref.rows.size(), 40u);
    testsupport::ErrorStats err, residual;
    for (size_t i = 0; i < ref.rows.size(); ++i) {
        const double ut = ref.Num(i, "jd");
        const double d = std::remainder(SiderealTime(TTForUT(ut), 0.0) - ref.Num(i, "gast_deg"), 360.0) * 3600.0;
        // The known difference of the two mean sidereal time polynomials, seconds of
        // time, at T centuries of UT from J2000.
        const double T = (ut - 2451545.0) / 36525.0;
        const double model = (8640184.7942063 - 8640184.812866) * T + (0.0927701 - 0.093104) * T * T +
                             (-0.0000003 + 6.2e-6) * T * T * T;
        err.Add(d);
        residual.Add(d - 15.0 * model);
        EXPECT_LT(std::fabs(d), kTolSiderealArcsec) << "jd " << ut;
        EXPECT_LT(std::fabs(d - 15.0 * model), kTolSiderealResidualArcsec) << "jd " << ut;
    }
    std::printf("sidereal time vs ERFA gst94: max %.4f\" rms %.4f\"; after the rate difference: max %.4f\" rms %.4f\" (%zu instants)\n",
                err.max, err.Rms(), residual.max, residual.Rms(), err.n);
}
