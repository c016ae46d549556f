#include "core/mTime.h"

#include <cmath>
#include <cstdint>

#include "core/mApparent.h"
#include "core/mFault.h"
#include "core/mMath.h"

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr long long kMsPerDay = 86400000LL;

// Julian day number (the day starting at noon) of a calendar date.
long long DayNumber(long long y, long long m, long long d) {
    const long long a = FloorDiv(14 - m, 12);
    const long long yy = y + 4800 - a;
    const long long mm = m + 12 * a - 3;
    long long j = d + FloorDiv(153 * mm + 2, 5) + 365 * yy + FloorDiv(yy, 4);
    const bool gregorian = (y > 1582) || (y == 1582 && (m > 10 || (m == 10 && d >= 15)));
    if (gregorian) return j - FloorDiv(yy, 100) + FloorDiv(yy, 400) - 32045;
    return j - 32083;
}

// Calendar date of a Julian day number.
void DayNumberToDate(long long j, int& year, int& month, int& day) {
    long long d, e, m, y;
    if (j >= 2299161) {
        const long long a = j + 32044;
        const long long b = FloorDiv(4 * a + 3, 146097);
        const long long c = a - FloorDiv(146097 * b, 4);
        d = FloorDiv(4 * c + 3, 1461);
        e = c - FloorDiv(1461 * d, 4);
        m = FloorDiv(5 * e + 2, 153);
        y = 100 * b + d - 4800 + FloorDiv(m, 10);
    } else {
        const long long c = j + 32082;
        d = FloorDiv(4 * c + 3, 1461);
        e = c - FloorDiv(1461 * d, 4);
        m = FloorDiv(5 * e + 2, 153);
        y = d - 4800 + FloorDiv(m, 10);
    }
    day = static_cast<int>(e - FloorDiv(153 * m + 2, 5) + 1);
    month = static_cast<int>(m + 3 - 12 * FloorDiv(m, 10));
    year = static_cast<int>(y);
}

// A value of the 16-bit calendar arithmetic; beyond it is an overflow fault.
long long Int16(long long v) {
    if (v < INT16_MIN || v > INT16_MAX) throw ArithmeticFault(kFaultOverflow);
    return v;
}

}  // namespace

DateValue DateFromParts(int year, int month, int day, int hour, int minute, double second) {
    // Months out of range roll into the year, so that DayNumber sees 1..12.
    long long y = year + FloorDiv(month - 1, 12);
    long long m = month - 12 * FloorDiv(month - 1, 12);
    const long long jdn = DayNumber(y, m, day);
    return static_cast<double>(jdn) - 0.5 - kDateEpochJD +
           (hour * 3600.0 + minute * 60.0 + second) / kSecondsPerDay;
}

DateValue DateWholeDays(DateValue v) { return std::floor(v); }

double DateTimeOfDay(DateValue v) { return v - std::floor(v); }

CalendarDate DateToParts(DateValue v) {
    if (!(std::fabs(v) < kMaxDateValueDays)) throw ArithmeticFault(kFaultOverflow);
    double whole = std::floor(v);
    long long ms = std::llround((v - whole) * static_cast<double>(kMsPerDay));
    if (ms >= kMsPerDay) {
        ms -= kMsPerDay;
        whole += 1.0;
    }
    CalendarDate c;
    const long long jdn = static_cast<long long>(whole + kDateEpochJD + 0.5);
    DayNumberToDate(jdn, c.year, c.month, c.day);
    c.hour = static_cast<int>(ms / 3600000);
    c.minute = static_cast<int>((ms / 60000) % 60);
    c.second = static_cast<double>(ms % 60000) / 1000.0;
    return c;
}

double JulianDay(DateValue date, bool bc, bool ut) {
    // Years beyond 16 bits overflow; so does a date too far out for the calendar
    // arithmetic itself, or one that is not a number.
    if (!(std::fabs(date) < kMaxDateValueDays)) throw ArithmeticFault(kFaultOverflow);
    // The calendar fields of the midnight that begins the day, so that they agree
    // with the time of day even in the last half millisecond before midnight.
    const CalendarDate c = DateToParts(DateWholeDays(date));
    const double f = DateTimeOfDay(date);
    long long y = Int16(c.year);
    if (bc) y = Int16(1 - y);
    const long long m = c.month;
    const long long d = c.day;
    const long long a = FloorDiv(14 - m, 12);
    long long j = FloorDiv(1461 * Int16(y + 4800 - a), 4) + FloorDiv(Int16(367 * (m - 2 + 12 * a)), 12) + d - 32113;
    if (j > 2299160) j -= FloorDiv(3 * FloorDiv(Int16(y + 100 - a), 100), 4) - 2;
    double jd = static_cast<double>(j) - 0.5 + f;
    if (!ut) jd += DeltaT(jd);
    return jd;
}

double DeltaT(double jd) {
    const double y = 2000.0 + (jd - 2451545.0) / 365.25;
    const double k = std::floor(y);
    const double t = (y - 2000.0) / 100.0;
    const double T = (y - 1900.0) / 100.0;
    double s;
    if (k < 948) {
        s = 2177.0 + 497.0 * t + 44.1 * t * t;
    } else if (k <= 1600) {
        s = 102.0 + 102.0 * t + 25.3 * t * t;
    } else if (k <= 1799) {
        s = 24.349 + 72.318 * T + 29.95 * T * T;
    } else if (k <= 1900) {
        s = -2.5 + 228.95 * T + 5218.61 * std::pow(T, 2) + 56282.84 * std::pow(T, 3) +
            324011.78 * std::pow(T, 4) + 1061660.75 * std::pow(T, 5) + 2087298.89 * std::pow(T, 6) +
            2513807.78 * std::pow(T, 7) + 1818961.41 * std::pow(T, 8) + 727058.63 * std::pow(T, 9) +
            123563.95 * std::pow(T, 10);
    } else if (k <= 1997) {
        s = -2.44 + 87.24 * T + 815.2 * std::pow(T, 2) - 2637.8 * std::pow(T, 3) -
            18756.33 * std::pow(T, 4) + 124906.15 * std::pow(T, 5) - 303191.19 * std::pow(T, 6) +
            372919.88 * std::pow(T, 7) - 232424.66 * std::pow(T, 8) + 58353.42 * std::pow(T, 9);
    } else if (k <= 2035) {
        s = 65.0 + 76.15 * t + 41.6 * t * t;
    } else {
        s = 69.3 + 123.5 * t + 32.5 * t * t;
    }
    return s / kSecondsPerDay;
}

double SiderealTime(double jd, double lon) {
    const double u = jd - DeltaT(jd);
    return SiderealTimeAt(u, FrameAt(u), lon);
}

double SiderealTimeAt(double u, const ApparentFrame& frameU, double lon) {
    double d0 = std::floor(u);
    double f = u - d0;
    if (f < 0.5) {
        d0 -= 0.5;
        f += 0.5;
    } else {
        d0 += 0.5;
        f -= 0.5;
    }
    const double s = kSecondsPerDay * f;
    const double tu = (d0 - 2451545.0) / 36525.0;
    const double e = 240.0 * frameU.dpsi * CosD(frameU.eps);
    const double s0 = 24110.54841 + 8640184.7942063 * tu + 0.0927701 * tu * tu -
                      0.0000003 * tu * tu * tu - 0.000002 * tu * tu * tu * tu;
    const double r = 1.0 + (8640184.7942063 + 0.1855402 * tu - 0.0000009 * tu * tu -
                            0.000008 * tu * tu * tu) / 3155760000.0;
    double S = s0 + s * r + e + 240.0 * lon;
    S -= std::floor(S / kSecondsPerDay) * kSecondsPerDay;
    double deg = S / 240.0;
    if (deg >= 360.0) deg -= 360.0;
    return deg;
}

DateValue JDToDate(double jd, bool ut) {
    DateValue v = DateFromParts(2000, 1, 1, 12) + (jd - 2451545.0);
    if (!ut) v -= DeltaT(jd);
    return v;
}
