// Time scales and calendar: date-time values, Julian dates, Delta T, sidereal time.
#pragma once
#include <string>

// The date-time value of the whole program: days since 1899-12-30 00:00 as a
// double, the time of day as the fraction. Dates before that epoch are negative
// and keep a positive fraction (-0.75 is 1899-12-29 06:00), so the whole-day part
// is floor(value). The calendar is the Julian one before 1582-10-15 and the
// Gregorian one from then on; years are astronomical (0 = 1 BC).
using DateValue = double;

struct CalendarDate {
    int year = 1899;
    int month = 12;   // 1..12
    int day = 30;     // 1..31
    int hour = 0;     // 0..23
    int minute = 0;   // 0..59
    double second = 0.0;  // [0, 60), rounded to the millisecond
};

// The Julian date (UT) of the date-time value 0.
inline constexpr double kDateEpochJD = 2415018.5;
// Date-time values hold about 100000 years either side of 1900: far beyond the
// 16-bit years of JulianDay, well inside the integers of the calendar arithmetic.
inline constexpr double kMaxDateValueDays = 4.0e7;

// Date-time value of a calendar date and time of day. Days or times out of their
// range roll over (day 32 of January is 1 February).
DateValue DateFromParts(int year, int month, int day, int hour = 0, int minute = 0, double second = 0.0);
// Calendar fields of a date-time value. A value that is not finite or not below
// kMaxDateValueDays in size throws ArithmeticFault (overflow).
CalendarDate DateToParts(DateValue v);
// Midnight at the start of v's day (its whole-day part).
DateValue DateWholeDays(DateValue v);
// Time of day of v as a fraction of a day, [0, 1).
double DateTimeOfDay(DateValue v);

// Given: date, a date-time value; bc, the year is a year before the common era;
//        ut, return UT instead of TT.
// Returned: Julian date; TT (UT + DeltaT) when ut is false.
// Julian calendar to 1582-10-04, Gregorian from 1582-10-15. The calendar
// arithmetic is that of 16-bit integers: a year beyond them throws ArithmeticFault.
double JulianDay(DateValue date, bool bc, bool ut);
// Given: jd, Julian date (UT or TT: the difference does not matter here).
// Returned: TT - UT in days. From 1620 the observed values of data/deltat.csv
// (USNO/IERS, monthly from 1973-02 to 2023-05) joined by cubic Hermite pieces (the
// value and its rate continuous); after the last entry a prediction from it and its
// two-year trend that joins Morrison & Stephenson's parabola -20 + 32 u^2 s
// (u = (year - 1820)/100) a century later and follows it from then on. Before 1601 the
// long-term branches 2177 + 497 t + 44.1 t^2 (before 948) and 102 + 102 t + 25.3 t^2
// (t from 2000 in centuries); a cubic bridges 1601 to 1620. Accuracy: the table's own,
// 0.01 s 1973-2023, about 0.1 s 1900-1972, seconds before 1800 (the two sources differ
// by 4.6 s at 1657); 2025.0 gives 69.14 s against the observed 69.1 s. The future is a
// prediction: 94 s in 2050 and 219 s in 2100 (the Swiss Ephemeris predicts 75 s and 93 s).
double DeltaT(double jd);
// Given: jd, TT Julian date; lon, degrees east.
// Returned: local apparent sidereal time in degrees, [0, 360). The mean sidereal
// time of 1982 with the equation of the equinoxes from the 63-term nutation;
// agrees with the IAU 1982/1994 reference within a few milliarcseconds (1900-2100).
double SiderealTime(double jd, double lon);
struct ApparentFrame;
// The same from the UT Julian date u = jd - DeltaT(jd) and the frame FrameAt(u)
// (core/mApparent.h) when the caller already holds them; bit for bit the value of
// SiderealTime.
double SiderealTimeAt(double u, const ApparentFrame& frameU, double lon);
// Given: jd, Julian date; ut, jd is already UT.
// Returned: the date-time value of jd; shifted from TT to UT when ut is false.
DateValue JDToDate(double jd, bool ut);
// Given: text, a date "yyyy-mm-dd" (the command line's form).
// Returned: true with out the date at 0 h when it is a calendar date from 1900-01-01
// to 2100-12-31; false (out untouched) otherwise.
bool ParseIsoDate(const std::string& text, DateValue& out);
