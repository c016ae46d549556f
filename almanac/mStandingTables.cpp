#include "almanac/mStandingTables.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

#include "core/mBodyPosition.h"
#include "core/mMath.h"
#include "core/mStar.h"
#include "core/mTime.h"
#include "reduction/mCorrection.h"

namespace {

constexpr double kStdTempC = 10.0, kStdPressureMb = 1010.0;  // the tables' standard air
constexpr double kStep = 1.0 / 600.0;                        // 0.1' of altitude, degrees
constexpr int kSunId = 0, kVenusId = 2, kMarsId = 4, kMoonId = 9, kStar = -1;
constexpr int kPolarisHR = 424;
constexpr double kSunDiameterKm = 1392000.0;

// Ho - Ha in arc minutes for a sight at apparent altitude ha (no dip, no index error).
double Corr(double ha, int body, double distance, bool lower, double t = kStdTempC, double p = kStdPressureMb) {
    return (CorrectSextantAltitude(ha, 0.0, Horizon{0.0, t, p}, body, distance, lower).Ho - ha) * 60.0;
}

// A critical table over [lo, hi] of the given columns: bounds where any rounded column
// changes, on whole arc minutes.
CriticalTable MakeCritical(double lo, double hi, const std::vector<std::function<double(double)>>& cols) {
    CriticalTable t;
    t.bounds.push_back(lo);
    auto rounded = [&](double h) {
        std::vector<double> v;
        for (const auto& f : cols) v.push_back(RoundTenth(f(h)));
        return v;
    };
    std::vector<double> last = rounded(lo);
    for (double h = lo + kStep; h <= hi + 1e-9; h += kStep) {
        std::vector<double> now = rounded(h);
        if (now == last) continue;
        last = now;
        const double b = std::round((h - kStep / 2.0) * 60.0) / 60.0;
        if (b > t.bounds.back() + 1e-9 && b < hi - 1e-9) t.bounds.push_back(b);
    }
    t.bounds.push_back(hi);
    t.values.assign(cols.size(), {});
    for (size_t i = 0; i + 1 < t.bounds.size(); ++i) {
        const double mid = (t.bounds[i] + t.bounds[i + 1]) / 2.0;
        for (size_t c = 0; c < cols.size(); ++c) t.values[c].push_back(RoundTenth(cols[c](mid)));
    }
    return t;
}

// The low-altitude rows, 0-10 degrees: every 5' to 2, 10' to 5, 20' to 10.
std::vector<double> LowRows() {
    std::vector<double> r;
    for (int m = 0; m < 120; m += 5) r.push_back(m / 60.0);
    for (int m = 120; m < 300; m += 10) r.push_back(m / 60.0);
    for (int m = 300; m <= 600; m += 20) r.push_back(m / 60.0);
    return r;
}

double DayJd(int year, int month, int day) { return JulianDay(DateFromParts(year, month, day), false, false); }
int DaysInYear(int y) { return (y % 4 == 0 && (y % 100 != 0 || y % 400 == 0)) ? 366 : 365; }

SunTable MakeSun(int year, bool winter) {
    SunTable s;
    s.months = winter ? "Oct.-Mar." : "Apr.-Sept.";
    double lo = 1e9, hi = -1e9;
    const int n = DaysInYear(year);
    for (int d = 0; d < n; ++d) {
        const DateValue day = DateFromParts(year, 1, 1) + d;
        const int m = DateToParts(day).month;
        if ((m >= 4 && m <= 9) == winter) continue;
        const double sd = SemiDiameter(kSunId, BodyPosition(JulianDay(day, false, false), kSunId).z) * 60.0;
        lo = std::min(lo, sd);
        hi = std::max(hi, sd);
    }
    s.sd = RoundTenth((lo + hi) / 2.0);
    const double dist = kSunDiameterKm / (kKmPerAU * DegToRad(2.0 * s.sd / 60.0));
    auto lower = [dist](double h) { return Corr(h, kSunId, dist, true); };
    auto upper = [dist](double h) { return Corr(h, kSunId, dist, false); };
    s.high = MakeCritical(10.0, 90.0, {lower, upper});
    s.lowAlt = LowRows();
    for (double h : s.lowAlt) {
        s.lowLower.push_back(RoundTenth(lower(h)));
        s.lowUpper.push_back(RoundTenth(upper(h)));
    }
    return s;
}

// The additional correction of a planet through the year: a new date range whenever
// the horizontal parallax has moved 0.06' since the range began.
std::vector<PlanetAdditional> MakePlanet(int year, int body) {
    std::vector<PlanetAdditional> out;
    const int n = DaysInYear(year);
    auto hpOf = [&](int d) {
        const double dist = BodyPosition(JulianDay(DateFromParts(year, 1, 1) + d, false, false), body).z;
        return RadToDeg(std::asin(kEarthRadiusKm / (dist * kKmPerAU))) * 60.0;
    };
    std::vector<double> hp(static_cast<size_t>(n));
    for (int d = 0; d < n; ++d) hp[static_cast<size_t>(d)] = hpOf(d);
    int start = 0;
    while (start < n) {
        double lo = hp[static_cast<size_t>(start)], hi = lo;
        int end = start;
        while (end + 1 < n) {
            const double v = hp[static_cast<size_t>(end + 1)];
            if (std::max(hi, v) - std::min(lo, v) > 0.06) break;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
            ++end;
        }
        const double mid = (lo + hi) / 2.0;
        const double dist = kEarthRadiusKm / (kKmPerAU * std::sin(DegToRad(mid / 60.0)));
        auto add = [&](double h) { return Corr(h, body, dist, true) - Corr(h, kStar, 1.0, true); };
        PlanetAdditional r;
        const CalendarDate a = DateToParts(DateFromParts(year, 1, 1) + start);
        const CalendarDate b = DateToParts(DateFromParts(year, 1, 1) + end);
        r.fromMonth = a.month;
        r.fromDay = a.day;
        r.toMonth = b.month;
        r.toDay = b.day;
        double last = RoundTenth(add(0.0));
        r.fromAlt.push_back(0.0);
        for (double h = 0.1; h <= 90.0 + 1e-9; h += 0.1) {
            const double v = RoundTenth(add(h));
            if (v == last) continue;
            last = v;
            const double deg = std::round(h - 0.05);
            if (deg > r.fromAlt.back()) r.fromAlt.push_back(deg);
        }
        for (size_t i = 0; i < r.fromAlt.size(); ++i) {
            const double top = i + 1 < r.fromAlt.size() ? r.fromAlt[i + 1] : 90.0;
            r.corr.push_back(RoundTenth(add((r.fromAlt[i] + top) / 2.0)));
        }
        // A range that reads as the one before joins it.
        if (!out.empty() && out.back().fromAlt == r.fromAlt && out.back().corr == r.corr) {
            out.back().toMonth = r.toMonth;
            out.back().toDay = r.toDay;
        } else {
            out.push_back(r);
        }
        start = end + 1;
    }
    return out;
}

DipTable MakeDip() {
    // The rounded dip becomes (j + 1) tenths where 1.766' sqrt(h) = (j + 0.5) tenths.
    auto bound = [](int j) { return std::pow((j + 0.5) / 10.0 / 1.766, 2.0); };
    DipTable t;
    t.heights.push_back(0.0);
    for (int j = 0; bound(j) < 30.0; ++j) {
        const double h = bound(j);
        const double printed = h < 5.0 ? std::round(h * 100.0) / 100.0 : std::round(h * 10.0) / 10.0;
        if (printed <= t.heights.back()) continue;
        t.heights.push_back(printed);
    }
    t.heights.push_back(30.0);
    for (size_t i = 0; i + 1 < t.heights.size(); ++i)
        t.dip.push_back(RoundTenth(Dip((t.heights[i] + t.heights[i + 1]) / 2.0) * 60.0));
    for (int h = 30; h <= 100; h += 5) {
        t.highHeights.push_back(h);
        t.highDip.push_back(RoundTenth(Dip(h) * 60.0));
    }
    return t;
}

AirTable MakeAir() {
    AirTable a;
    for (int t = -20; t <= 40; t += 2) a.temps.push_back(t);
    for (int p = 970; p <= 1050; p += 5) a.pressures.push_back(p);
    constexpr double kFirst = -0.15, kWidth = 0.02;
    constexpr int kZones = 16;
    for (int k = 0; k < kZones; ++k) a.zoneFactor.push_back(kFirst + kWidth * (k + 0.5));
    for (double t : a.temps)
        for (double p : a.pressures) {
            const double f = 283.0 / (273.0 + t) * (p / 1010.0) - 1.0;
            const int k = std::clamp(static_cast<int>(std::floor((f - kFirst) / kWidth)), 0, kZones - 1);
            a.zones.push_back(std::string(1, static_cast<char>('A' + k)));
        }
    a.alts = {0, 0.5, 1, 1.5, 2, 2.5, 3, 4, 5, 6, 7, 8, 9, 10, 12, 14, 16, 18, 20, 25, 30, 35, 40, 50, 60, 70, 80, 90};
    for (double h : a.alts) {
        std::vector<double> row;
        for (double f : a.zoneFactor)  // the zone's air: 10 C and the pressure that gives its factor
            row.push_back(RoundTenth(Corr(h, kStar, 1.0, true, kStdTempC, kStdPressureMb * (1.0 + f)) - Corr(h, kStar, 1.0, true)));
        a.corr.push_back(row);
    }
    return a;
}

MoonTable MakeMoon() {
    MoonTable m;
    auto dist = [](double hpArcmin) { return kEarthRadiusKm / (kKmPerAU * std::sin(DegToRad(hpArcmin / 60.0))); };
    const double base = dist(54.0);
    for (int k = 0; k <= 540; ++k) {
        m.alts.push_back(k / 6.0);
        m.first.push_back(RoundTenth(Corr(k / 6.0, kMoonId, base, true)));
    }
    for (int k = 0; k <= 25; ++k) m.hps.push_back(54.0 + 0.3 * k);
    for (int c = 0; c <= 18; ++c) m.cols.push_back(5.0 * c);
    for (double hp : m.hps) {
        std::vector<double> lo, up;
        for (double h : m.cols) {
            const double f = Corr(h, kMoonId, base, true);
            lo.push_back(RoundTenth(Corr(h, kMoonId, dist(hp), true) - f));
            up.push_back(RoundTenth(Corr(h, kMoonId, dist(hp), false) - f + 30.0));
        }
        m.lower.push_back(lo);
        m.upper.push_back(up);
    }
    return m;
}

}  // namespace

double RoundTenth(double arcmin) { return std::round(arcmin * 10.0) / 10.0; }

double CriticalTable::Lookup(double ha, size_t column) const {
    const std::vector<double>& v = values.at(column);
    size_t i = 0;
    while (i + 1 < v.size() && ha > bounds[i + 1]) ++i;
    return v[i];
}

IncrementMinute IncrementsFor(int minute) {
    IncrementMinute m;
    m.minute = minute;
    for (int s = 0; s <= 60; ++s) {
        const double hours = (minute * 60.0 + s) / 3600.0;
        auto deg = [&](double rate) { return RoundTenth(rate * hours * 60.0) / 60.0; };
        m.sunPlanets[static_cast<size_t>(s)] = deg(kSunIncrementRate);
        m.aries[static_cast<size_t>(s)] = deg(kAriesIncrementRate);
        m.moon[static_cast<size_t>(s)] = deg(kMoonIncrementRate);
    }
    for (int v = 0; v < kVdRows * kVdColumns; ++v) m.vdCorr[static_cast<size_t>(v)] = RoundTenth(v / 10.0 * (minute + 0.5) / 60.0);
    return m;
}

AltitudeTables ComputeAltitudeTables(int year) {
    AltitudeTables t;
    t.year = year;
    t.sunWinter = MakeSun(year, true);
    t.sunSummer = MakeSun(year, false);
    auto star = [](double h) { return Corr(h, kStar, 1.0, true); };
    t.stars = MakeCritical(10.0, 90.0, {star});
    t.lowAlt = LowRows();
    for (double h : t.lowAlt) t.lowStars.push_back(RoundTenth(star(h)));
    t.venus = MakePlanet(year, kVenusId);
    t.mars = MakePlanet(year, kMarsId);
    t.dip = MakeDip();
    t.air = MakeAir();
    t.moon = MakeMoon();
    return t;
}

double PolarisLatitudeCorrection(double lat, double lha, double sha, double dec) {
    const double t = lha + sha;
    const double ho = RadToDeg(std::asin(SinD(lat) * SinD(dec) + CosD(lat) * CosD(dec) * CosD(t)));
    return (lat - ho) * 60.0;
}

PolarisTables ComputePolarisTables(int year) {
    PolarisTables p;
    p.year = year;
    std::array<double, 12> sha{}, dec{};
    double sha0 = 0.0, dec0 = 0.0;
    for (int m = 0; m < 12; ++m) {
        const Coord3 c = StarPosition(DayJd(year, m + 1, 15), kPolarisHR);
        sha[static_cast<size_t>(m)] = Norm360(360.0 - c.x);
        dec[static_cast<size_t>(m)] = c.y;
    }
    for (int m = 0; m < 12; ++m) {  // the mean, about January's place (no wrap at 360)
        sha0 += sha[0] + std::remainder(sha[static_cast<size_t>(m)] - sha[0], 360.0);
        dec0 += dec[static_cast<size_t>(m)];
    }
    sha0 /= 12.0;
    dec0 /= 12.0;
    for (int col = 0; col < 36; ++col) {
        for (int j = 0; j < 10; ++j)
            p.a0[static_cast<size_t>(col)][static_cast<size_t>(j)] =
                RoundTenth(PolarisLatitudeCorrection(50.0, 10.0 * col + j, sha0, dec0) + 58.8);
    }
    p.a1Lats = {0, 10, 20, 30, 40, 45, 50, 55, 60, 62, 64, 66, 68};
    for (double lat : p.a1Lats) {
        std::array<double, 36> row{};
        for (int col = 0; col < 36; ++col) {
            const double mid = 10.0 * col + 5.0;
            row[static_cast<size_t>(col)] = RoundTenth(PolarisLatitudeCorrection(lat, mid, sha0, dec0) -
                                                       PolarisLatitudeCorrection(50.0, mid, sha0, dec0) + 0.6);
        }
        p.a1.push_back(row);
    }
    for (int m = 0; m < 12; ++m)
        for (int col = 0; col < 36; ++col) {
            const double mid = 10.0 * col + 5.0;
            p.a2[static_cast<size_t>(m)][static_cast<size_t>(col)] =
                RoundTenth(PolarisLatitudeCorrection(50.0, mid, sha[static_cast<size_t>(m)], dec[static_cast<size_t>(m)]) -
                           PolarisLatitudeCorrection(50.0, mid, sha0, dec0) + 0.6);
        }
    p.azLats = {0, 20, 40, 50, 55, 60, 65};
    for (double lat : p.azLats) {
        std::array<double, 36> row{};
        for (int col = 0; col < 36; ++col) {
            const double t = 10.0 * col + 5.0 + sha0;
            const double az = RadToDeg(std::atan2(-CosD(dec0) * SinD(t), SinD(dec0) * CosD(lat) - CosD(dec0) * SinD(lat) * CosD(t)));
            row[static_cast<size_t>(col)] = std::round(Norm360(az) * 10.0) / 10.0;
        }
        p.azimuth.push_back(row);
    }
    return p;
}

std::string ArcToTimeText(double degrees, bool minutesOfArc) {
    // 1 degree = 4 minutes of time; 1' = 4 seconds.
    const long long secs = std::llround(degrees * (minutesOfArc ? 4.0 : 240.0));
    char buf[32];
    if (minutesOfArc) std::snprintf(buf, sizeof buf, "%lld %02lld", secs / 60, secs % 60);
    else std::snprintf(buf, sizeof buf, "%lld %02lld", secs / 3600, secs % 3600 / 60);
    return buf;
}

std::string TableDegMin(double deg, int width) {
    const long long tenths = std::llround(std::fabs(deg) * 600.0);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s%*lld %02lld.%lld", deg < 0 && tenths > 0 ? "-" : "", width, tenths / 600,
                  tenths % 600 / 10, tenths % 10);
    return buf;
}

std::string TableSigned(double arcmin) {
    const long long tenths = std::llround(arcmin * 10.0);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%lld.%lld", tenths > 0 ? "+" : (tenths < 0 ? "-" : ""), std::llabs(tenths) / 10,
                  std::llabs(tenths) % 10);
    return buf;
}
