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

namespace {

// One periodic term of the phase series: coefficient (days) times E^e times the sine of
// m M + mp M' + f F + om Omega (Astronomical Algorithms, 2nd ed., chapter 49).
struct PhaseTerm {
    double coef;
    int e, m, mp, f, om;
};
// New moon.
constexpr PhaseTerm kNewMoonTerms[] = {
    {-0.40720, 0, 0, 1, 0, 0}, {0.17241, 1, 1, 0, 0, 0},  {0.01608, 0, 0, 2, 0, 0},  {0.01039, 0, 0, 0, 2, 0},
    {0.00739, 1, -1, 1, 0, 0}, {-0.00514, 1, 1, 1, 0, 0}, {0.00208, 2, 2, 0, 0, 0},  {-0.00111, 0, 0, 1, -2, 0},
    {-0.00057, 0, 0, 1, 2, 0}, {0.00056, 1, 1, 2, 0, 0},  {-0.00042, 0, 0, 3, 0, 0}, {0.00042, 1, 1, 0, 2, 0},
    {0.00038, 1, 1, 0, -2, 0}, {-0.00024, 1, -1, 2, 0, 0}, {-0.00017, 0, 0, 0, 0, 1}, {-0.00007, 0, 2, 1, 0, 0},
    {0.00004, 0, 0, 2, -2, 0}, {0.00004, 0, 3, 0, 0, 0},  {0.00003, 0, 1, 1, -2, 0}, {0.00003, 0, 0, 2, 2, 0},
    {-0.00003, 0, 1, 1, 2, 0}, {0.00003, 0, -1, 1, 2, 0}, {-0.00002, 0, -1, 1, -2, 0}, {-0.00002, 0, 1, 3, 0, 0},
    {0.00002, 0, 0, 4, 0, 0}};
// Full moon.
constexpr PhaseTerm kFullMoonTerms[] = {
    {-0.40614, 0, 0, 1, 0, 0}, {0.17302, 1, 1, 0, 0, 0},  {0.01614, 0, 0, 2, 0, 0},  {0.01043, 0, 0, 0, 2, 0},
    {0.00734, 1, -1, 1, 0, 0}, {-0.00515, 1, 1, 1, 0, 0}, {0.00209, 2, 2, 0, 0, 0},  {-0.00111, 0, 0, 1, -2, 0},
    {-0.00057, 0, 0, 1, 2, 0}, {0.00056, 1, 1, 2, 0, 0},  {-0.00042, 0, 0, 3, 0, 0}, {0.00042, 1, 1, 0, 2, 0},
    {0.00038, 1, 1, 0, -2, 0}, {-0.00024, 1, -1, 2, 0, 0}, {-0.00017, 0, 0, 0, 0, 1}, {-0.00007, 0, 2, 1, 0, 0},
    {0.00004, 0, 0, 2, -2, 0}, {0.00004, 0, 3, 0, 0, 0},  {0.00003, 0, 1, 1, -2, 0}, {0.00003, 0, 0, 2, 2, 0},
    {-0.00003, 0, 1, 1, 2, 0}, {0.00003, 0, -1, 1, 2, 0}, {-0.00002, 0, -1, 1, -2, 0}, {-0.00002, 0, 1, 3, 0, 0},
    {0.00002, 0, 0, 4, 0, 0}};
// First and last quarters (then +W and -W).
constexpr PhaseTerm kQuarterTerms[] = {
    {-0.62801, 0, 0, 1, 0, 0}, {0.17172, 1, 1, 0, 0, 0},   {-0.01183, 1, 1, 1, 0, 0}, {0.00862, 0, 0, 2, 0, 0},
    {0.00804, 0, 0, 0, 2, 0},  {0.00454, 1, -1, 1, 0, 0},  {0.00204, 2, 2, 0, 0, 0},  {-0.00180, 0, 0, 1, -2, 0},
    {-0.00070, 0, 0, 1, 2, 0}, {-0.00040, 0, 0, 3, 0, 0},  {-0.00034, 1, -1, 2, 0, 0}, {0.00032, 1, 1, 0, 2, 0},
    {0.00032, 1, 1, 0, -2, 0}, {-0.00028, 2, 2, 1, 0, 0},  {0.00027, 1, 1, 2, 0, 0},  {-0.00017, 0, 0, 0, 0, 1},
    {-0.00005, 0, -1, 1, -2, 0}, {0.00004, 0, 0, 2, 2, 0}, {-0.00004, 0, 1, 1, 2, 0}, {0.00004, 0, -2, 1, 0, 0},
    {0.00003, 0, 1, 1, -2, 0}, {0.00003, 0, 3, 0, 0, 0},   {0.00002, 0, 0, 2, -2, 0}, {0.00002, 0, -1, 1, 2, 0},
    {-0.00002, 0, 1, 3, 0, 0}};
// The additional corrections for every phase: coefficient (days) times the sine of the
// planetary argument a0 + a1 k + a2 T^2 (degrees), A1 to A14.
struct PlanetaryArgument {
    double coef, a0, a1, a2;
};
constexpr PlanetaryArgument kPlanetaryArguments[] = {
    {0.000325, 299.77, 0.107408, -0.009173}, {0.000165, 251.88, 0.016321, 0.0}, {0.000164, 251.83, 26.651886, 0.0},
    {0.000126, 349.42, 36.412478, 0.0},      {0.000110, 84.66, 18.206239, 0.0}, {0.000062, 141.74, 53.303771, 0.0},
    {0.000060, 207.14, 2.453732, 0.0},       {0.000056, 154.84, 7.306860, 0.0}, {0.000047, 34.52, 27.261239, 0.0},
    {0.000042, 207.19, 0.121824, 0.0},       {0.000040, 291.34, 1.844379, 0.0}, {0.000037, 161.72, 24.198154, 0.0},
    {0.000035, 239.56, 25.513099, 0.0},      {0.000023, 331.55, 3.592518, 0.0}};
// The lunation numbers of the 1900 epoch (k = 0: the new moon of 1900 January 0) and of
// the 2000 epoch of the series (k = 0: the new moon of 2000 January 6) are 1237 apart.
constexpr double kLunations1900To2000 = 1237.0;

template <size_t N>
double SumTerms(const PhaseTerm (&terms)[N], double E, double M, double Mp, double F, double Om) {
    double sum = 0.0;
    for (const PhaseTerm& t : terms)
        sum += t.coef * (t.e == 0 ? 1.0 : t.e == 1 ? E : E * E) * SinD(t.m * M + t.mp * Mp + t.f * F + t.om * Om);
    return sum;
}

}  // namespace

DateValue PhaseDate(int year, int n, double phase) {
    const double k = std::floor((year - 1900) * 12.3685) + n + phase - kLunations1900To2000;
    const double T = k / 1236.85, T2 = T * T, T3 = T2 * T, T4 = T3 * T;
    double jde = 2451550.09766 + 29.530588861 * k + 0.00015437 * T2 - 0.000000150 * T3 + 0.00000000073 * T4;
    // Eccentricity factor; mean anomalies of the Sun (M) and the Moon (Mp), the Moon's
    // argument of latitude (F) and the longitude of its ascending node (Om), degrees.
    const double E = 1.0 - 0.002516 * T - 0.0000074 * T2;
    const double M = 2.5534 + 29.10535670 * k - 0.0000014 * T2 - 0.00000011 * T3;
    const double Mp = 201.5643 + 385.81693528 * k + 0.0107582 * T2 + 0.00001238 * T3 - 0.000000058 * T4;
    const double F = 160.7108 + 390.67050284 * k - 0.0016118 * T2 - 0.00000227 * T3 + 0.000000011 * T4;
    const double Om = 124.7746 - 1.56375588 * k + 0.0020672 * T2 + 0.00000215 * T3;
    if (phase < 0.01) {
        jde += SumTerms(kNewMoonTerms, E, M, Mp, F, Om);
    } else if (PhaseIs(phase, 0.5)) {
        jde += SumTerms(kFullMoonTerms, E, M, Mp, F, Om);
    } else if (PhaseIs(phase, 0.25) || PhaseIs(phase, 0.75)) {
        jde += SumTerms(kQuarterTerms, E, M, Mp, F, Om);
        const double W = 0.00306 - 0.00038 * E * CosD(M) + 0.00026 * CosD(Mp) - 0.00002 * CosD(Mp - M) +
                         0.00002 * CosD(Mp + M) + 0.00002 * CosD(2.0 * F);
        jde += phase < 0.5 ? W : -W;
    } else {
        return JDToDate(jde, false);  // any other phase: the mean phase alone
    }
    for (const PlanetaryArgument& a : kPlanetaryArguments)
        jde += a.coef * SinD(a.a0 + a.a1 * k + a.a2 * T2);
    return JDToDate(jde, false);
}

DateValue PhaseInstant(int year, int n, double phase) {
    // The Moon's apparent longitude less the Sun's, less the phase's angle, (-180, 180].
    const double target = phase * 360.0;
    auto offset = [target](double jd) {
        Coord3 m = BodyPosition(jd, kBodyMoon), s = BodyPosition(jd, kBodySun);
        const double eps = Obliquity(jd, true);
        EquToEcl(m, eps);
        EquToEcl(s, eps);
        return std::remainder(m.x - s.x - target, 360.0);
    };
    // The series is within minutes: the secant method from there and a quarter hour on.
    double a = JulianDay(PhaseDate(year, n, phase), false, false), b = a + 0.01;
    double fa = offset(a), fb = offset(b);
    for (int i = 0; i < 8 && std::fabs(b - a) > 1e-8 && fb != fa; ++i) {
        const double c = b - fb * (b - a) / (fb - fa);
        a = b, fa = fb;
        b = c, fb = offset(c);
    }
    return JDToDate(b, false);
}

PhaseTable MoonPhaseTable(int year, const std::function<void()>& yieldFn) {
    PhaseTable table;
    for (int n = 0; n <= 13; ++n) {
        if (yieldFn) yieldFn();
        for (int q = 0; q < kPhaseCount; ++q) {
            const DateValue d = PhaseInstant(year, n, q / 4.0);
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
