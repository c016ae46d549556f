#include "almanac/mAnnual.h"

#include <cmath>
#include <cstdio>

#include "core/mApparent.h"
#include "core/mBodyPosition.h"
#include "core/mFault.h"
#include "core/mMath.h"

namespace {

// The Sun's apparent declination, degrees, at a TT Julian date.
double SunDeclination(double jd) { return BodyPosition(jd, kBodySun).y; }

// The Sun's apparent ecliptic longitude of date, degrees [0, 360).
double SunApparentLongitude(double jd) {
    Coord3 p = BodyPosition(jd, kBodySun);
    EquToEcl(p, Obliquity(jd, true));
    return Norm360(p.x);
}

int Sign(double x) { return (x > 0.0) - (x < 0.0); }

bool PhaseIs(double phase, double value) { return std::fabs(phase - value) < 0.01; }

}  // namespace

DateValue PhaseDate(int year, int n, double phase) {
    const double k = std::floor((year - 1900) * 12.3685) + n + phase;
    const double T = k / 1236.85;
    const double T2 = T * T;
    const double T3 = T * T2;
    double jde = 2415020.75933 + 29.530589 * k + 0.0001178 * T2 - 0.000000155 * T3 +
                 0.00033 * SinD(166.56 + 132.87 * T - 0.009173 * T2);
    // Mean anomalies of the Sun (M) and the Moon (Mp), the Moon's argument of latitude (F).
    const double M = 359.2242 + 29.10535608 * k - 0.0000333 * T2 - 0.00000347 * T3;
    const double Mp = 306.0253 + 385.81691806 * k + 0.0107306 * T2 + 0.00001236 * T3;
    const double F = 21.2964 + 390.67050646 * k - 0.0016528 * T2 - 0.00000239 * T3;
    if (PhaseIs(phase, 0.5) || phase < 0.01) {
        jde += (0.1734 - 0.000393 * T) * SinD(M) + 0.0021 * SinD(2 * M) - 0.4068 * SinD(Mp) +
               0.0161 * SinD(2 * Mp) - 0.0004 * SinD(3 * Mp) + 0.0104 * SinD(2 * F) -
               0.0051 * SinD(M + Mp) - 0.0074 * SinD(M - Mp) + 0.0004 * SinD(2 * F + M) -
               0.0004 * SinD(2 * F - M) - 0.0006 * SinD(2 * F + Mp) + 0.001 * SinD(2 * F - Mp) +
               0.0005 * SinD(M + 2 * Mp);
    } else if (PhaseIs(phase, 0.25) || PhaseIs(phase, 0.75)) {
        jde += (0.1721 - 0.0004 * T) * SinD(M) + 0.0021 * SinD(2 * M) - 0.628 * SinD(Mp) +
               0.0089 * SinD(2 * Mp) - 0.0004 * SinD(3 * Mp) + 0.0079 * SinD(2 * F) -
               0.0119 * SinD(M + Mp) - 0.0047 * SinD(M - Mp) + 0.0003 * SinD(2 * F + M) -
               0.0004 * SinD(2 * F - M) - 0.0006 * SinD(2 * F + Mp) + 0.0021 * SinD(2 * F - Mp) +
               0.0003 * SinD(M + 2 * Mp) + 0.0004 * SinD(M - 2 * Mp) - 0.0003 * SinD(2 * M + Mp);
        if (phase < 0.5)
            jde += 0.0028 - 0.0004 * CosD(M) + 0.0003 * CosD(Mp);
        else
            jde += -0.0028 + 0.0004 * CosD(M) - 0.0003 * CosD(Mp);
    }
    return JDToDate(jde, false);
}

PhaseTable MoonPhaseTable(int year, const std::function<void()>& yieldFn) {
    PhaseTable table;
    for (int n = 0; n <= 13; ++n) {
        if (yieldFn) yieldFn();
        for (int q = 0; q < kPhaseCount; ++q) {
            const DateValue d = PhaseDate(year, n, q / 4.0);
            const CalendarDate c = DateToParts(d);
            if (c.year != year) continue;
            auto& month = table.t[c.month];
            if (month[q] == 0.0)
                month[q] = d;
            else
                month[q + 4] = d;
        }
    }
    return table;
}

CalendarDate EventParts(DateValue v) {
    return DateToParts(std::floor(v * 86400.0 + 0.5) / 86400.0);
}

std::string PhaseCellText(const PhaseTable& table, int month, int phase) {
    std::string s;
    for (int slot : {phase, phase + 4}) {
        const DateValue d = table.at(month, slot);
        if (d == 0.0) continue;
        const CalendarDate c = EventParts(d);
        char x[16];
        std::snprintf(x, sizeof x, "%02d %02d:%02d", c.day, c.hour, c.minute);
        s += s.empty() ? std::string(x) : " & " + std::string(x);
    }
    return s;
}

DateValue EquinoxDate(int year, bool spring) {
    DateValue d0 = spring ? DateFromParts(year, 3, 19) : DateFromParts(year, 9, 21);
    const double dec0 = SunDeclination(JulianDay(d0, false, false));
    const int s0 = Sign(dec0);
    double decPrev = dec0;
    DateValue d1 = d0;
    double dec1 = dec0;
    for (int i = 1; i <= 5; ++i) {
        d1 = d0 + 1.0;
        dec1 = SunDeclination(JulianDay(d1, false, false));
        if (Sign(dec1) != s0) break;
        decPrev = dec1;
        d0 = d1;
    }
    // No change of sign in the five days: the interpolation would divide by zero.
    if (dec1 == decPrev) throw ArithmeticFault(kFaultDivisionByZero);
    return d0 + std::fabs(d1 - d0) * std::fabs(decPrev) / std::fabs(dec1 - decPrev);
}

DateValue SolsticeDate(int year, bool summer) {
    // The instant at which the Sun's apparent longitude reaches 90 (270) degrees, by
    // successive corrections from 21 June (21 December) 0 h at the Sun's mean rate.
    constexpr double kSunDegreesPerDay = 360.0 / 365.2422;
    const double target = summer ? 90.0 : 270.0;
    double jd = JulianDay(summer ? DateFromParts(year, 6, 21) : DateFromParts(year, 12, 21), false, false);
    for (int i = 0; i < 8; ++i) {
        const double step = std::remainder(target - SunApparentLongitude(jd), 360.0) / kSunDegreesPerDay;
        jd += step;
        if (std::fabs(step) < 1e-7) break;
    }
    return JDToDate(jd, false);
}

AnnualEvents ComputeAnnualEvents(int year, const std::function<void()>& yieldFn) {
    AnnualEvents e;
    e.year = year;
    e.phases = MoonPhaseTable(year, yieldFn);
    e.summerSolstice = SolsticeDate(year, true);
    e.winterSolstice = SolsticeDate(year, false);
    e.springEquinox = EquinoxDate(year, true);
    e.autumnEquinox = EquinoxDate(year, false);
    return e;
}
