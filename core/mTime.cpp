#include "core/mTime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

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

namespace {

// Observed Delta T (data/deltat.csv): year, month and seconds on the 1st of the month, 0 h UT.
struct DeltaTEntry {
    int year;
    int month;
    double seconds;
};
constexpr DeltaTEntry kObservedDeltaT[] = {
#include "core/deltat_table.inc"
};

constexpr double kDaysPerJulianYear = 365.25;
// The prediction beyond the table joins the long-term parabola this long after its last entry.
constexpr double kPredictionSpanDays = 100.0 * kDaysPerJulianYear;
// The trend of the prediction: the mean rate over the table's last two years.
constexpr int kTrendEntries = 24;
// The design's long-term branches end with 1600; from 1601.0 a cubic bridges to the table.
constexpr double kBridgeStartYear = 1601.0;

double DecimalYear(double jd) { return 2000.0 + (jd - 2451545.0) / kDaysPerJulianYear; }

// Cubic Hermite on [x0, x1] through (x0, y0) and (x1, y1) with slopes d0 and d1 (per unit of x).
double Hermite(double x, double x0, double x1, double y0, double y1, double d0, double d1) {
    const double h = x1 - x0, s = (x - x0) / h, s2 = s * s, s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * y0 + (s3 - 2 * s2 + s) * h * d0 + (-2 * s3 + 3 * s2) * y1 + (s3 - s2) * h * d1;
}

// Morrison & Stephenson's long-term parabola, seconds, and its rate in seconds a day.
double Parabola(double jd) {
    const double u = (DecimalYear(jd) - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u;
}
double ParabolaRate(double jd) { return 64.0 * (DecimalYear(jd) - 1820.0) / 100.0 / 100.0 / kDaysPerJulianYear; }

// The design's branches before the table, seconds, by whole year k (t from 2000).
double EarlyBranch(double y) {
    const double t = (y - 2000.0) / 100.0;
    if (std::floor(y) < 948) return 2177.0 + 497.0 * t + 44.1 * t * t;
    return 102.0 + 102.0 * t + 25.3 * t * t;
}

// The table as nodes in UT Julian dates with the slopes of a smooth (C1) interpolation.
struct DeltaTNodes {
    std::vector<double> jd, s, slope;  // days, seconds, seconds a day
    DeltaTNodes() {
        for (const DeltaTEntry& e : kObservedDeltaT) {
            jd.push_back(DateFromParts(e.year, e.month, 1) + kDateEpochJD);
            s.push_back(e.seconds);
        }
        const size_t n = jd.size();
        slope.resize(n);
        for (size_t i = 1; i + 1 < n; ++i) {
            const double h0 = jd[i] - jd[i - 1], h1 = jd[i + 1] - jd[i];
            const double d0 = (s[i] - s[i - 1]) / h0, d1 = (s[i + 1] - s[i]) / h1;
            slope[i] = (d0 * h1 + d1 * h0) / (h0 + h1);
        }
        slope[0] = (s[1] - s[0]) / (jd[1] - jd[0]);
        // The last entry carries the trend the prediction continues.
        slope[n - 1] = (s[n - 1] - s[n - 1 - kTrendEntries]) / (jd[n - 1] - jd[n - 1 - kTrendEntries]);
    }
};

const DeltaTNodes& Nodes() {
    static const DeltaTNodes nodes;
    return nodes;
}

}  // namespace

double DeltaT(double jd) {
    const DeltaTNodes& t = Nodes();
    const size_t n = t.jd.size();
    double s;
    if (jd < t.jd.front()) {
        const double y = DecimalYear(jd);
        if (y < kBridgeStartYear) {
            s = EarlyBranch(y);
        } else {
            const double jd0 = 2451545.0 + (kBridgeStartYear - 2000.0) * kDaysPerJulianYear;
            const double rate = (EarlyBranch(kBridgeStartYear + 0.5) - EarlyBranch(kBridgeStartYear - 0.5)) /
                                kDaysPerJulianYear;
            s = Hermite(jd, jd0, t.jd.front(), EarlyBranch(kBridgeStartYear), t.s.front(), rate, t.slope.front());
        }
    } else if (jd <= t.jd.back()) {
        const size_t i = static_cast<size_t>(std::upper_bound(t.jd.begin(), t.jd.end(), jd) - t.jd.begin());
        const size_t a = i >= n ? n - 2 : i - 1;
        s = Hermite(jd, t.jd[a], t.jd[a + 1], t.s[a], t.s[a + 1], t.slope[a], t.slope[a + 1]);
    } else {
        const double jd1 = t.jd.back() + kPredictionSpanDays;
        s = jd >= jd1 ? Parabola(jd)
                      : Hermite(jd, t.jd.back(), jd1, t.s.back(), Parabola(jd1), t.slope.back(), ParabolaRate(jd1));
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

bool ParseIsoDate(const std::string& text, DateValue& out) {
    int y = 0, m = 0, d = 0;
    char tail = 0;
    if (text.size() != 10 || std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3) return false;
    if (y < 1900 || y > 2100 || m < 1 || m > 12 || d < 1 || d > 31) return false;
    const DateValue v = DateFromParts(y, m, d);
    const CalendarDate c = DateToParts(v);
    if (c.year != y || c.month != m || c.day != d) return false;  // 31 April, 29 February 2100
    out = v;
    return true;
}
