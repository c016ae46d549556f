#include "almanac/mDailyPages.h"

#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstdio>
#include <functional>

#include "almanac/mAnnual.h"
#include "core/mStar.h"
#include "core/mBodyPosition.h"
#include "core/mMagnitude.h"
#include "core/mMath.h"
#include "core/mParallax.h"
#include "core/mPlanet.h"

namespace {

constexpr double kMoonRadiusRatio = 0.2724;      // Moon radius / Earth equatorial radius
constexpr double kSunSemidiameterAt1Au = 959.63;  // arcsec
constexpr double kSunRiseDeg = -50.0 / 60.0;
constexpr double kMoonRefractionDeg = 34.0 / 60.0;
// Hours sampled for the Sun and the Moon: -1 .. 97 from 0 h UT of the first day, so that a
// rise of the third day's following day and its interpolation neighbours are covered.
constexpr int kFirstHour = -1;
constexpr int kLastHour = 121;  // the fourth day's moonrise and the day after it
constexpr int kSamples = kLastHour - kFirstHour + 1;
constexpr double kSearchStepHours = 1.0 / 6.0;

bool Cancelled(const std::atomic<bool>* cancel) { return cancel && cancel->load(std::memory_order_relaxed); }

// The one place where the pages ask for body positions and sidereal times: apparent
// place at TT jd0 + h/24 for h = first .. first + count - 1.
std::vector<Coord3> SampleBody(double jd0, int first, int count, int body) {
    std::vector<Coord3> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) out[static_cast<size_t>(i)] = BodyPosition(jd0 + (first + i) / 24.0, body);
    return out;
}
std::vector<double> SampleAries(double jd0, int first, int count) {
    std::vector<double> out(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) out[static_cast<size_t>(i)] = SiderealTime(jd0 + (first + i) / 24.0, 0.0);
    return out;
}

// A body sampled hourly from kFirstHour: GHA unwrapped (increasing), declination and
// distance, with a four-point Lagrange interpolation between the hours.
struct HourlyTrack {
    std::vector<double> gha, dec, dist;

    static double Lagrange(const std::vector<double>& y, double t) {
        const double x = t - kFirstHour;
        int i = static_cast<int>(std::floor(x)) - 1;
        i = std::clamp(i, 0, static_cast<int>(y.size()) - 4);
        const double u = x - i;  // points at 0, 1, 2, 3
        const double* p = &y[static_cast<size_t>(i)];
        return p[0] * (-(u - 1) * (u - 2) * (u - 3) / 6.0) + p[1] * (u * (u - 2) * (u - 3) / 2.0) +
               p[2] * (-u * (u - 1) * (u - 3) / 2.0) + p[3] * (u * (u - 1) * (u - 2) / 6.0);
    }
    double Gha(double t) const { return Lagrange(gha, t); }
    double Dec(double t) const { return Lagrange(dec, t); }
    double Dist(double t) const { return Lagrange(dist, t); }
    double AtHour(const std::vector<double>& y, int h) const { return y[static_cast<size_t>(h - kFirstHour)]; }
};

HourlyTrack MakeTrack(const std::vector<Coord3>& places, const std::vector<double>& aries) {
    HourlyTrack t;
    const size_t n = places.size();
    t.gha.resize(n);
    t.dec.resize(n);
    t.dist.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const double g = Norm360(aries[i] - places[i].x);
        t.gha[i] = i == 0 ? g : t.gha[i - 1] + Norm360(g - t.gha[i - 1]);
        t.dec[i] = places[i].y;
        t.dist[i] = places[i].z;
    }
    return t;
}

double AltitudeDeg(const HourlyTrack& b, double lat, double t) {
    const double dec = b.Dec(t);
    return RadToDeg(ArcSin(std::clamp(SinD(lat) * SinD(dec) + CosD(lat) * CosD(dec) * CosD(b.Gha(t)), -1.0, 1.0)));
}

using Height = std::function<double(double)>;  // altitude minus threshold at hour t

// The first crossing of f through zero in [a, b) the given way, refined by bisection;
// false when there is none.
bool FindCrossing(const Height& f, double a, double b, bool rising, double& t) {
    double t0 = a, f0 = f(a);
    for (double t1 = a + kSearchStepHours; t0 < b - 1e-9; t1 += kSearchStepHours) {
        t1 = std::min(t1, b);
        const double f1 = f(t1);
        if (rising ? (f0 < 0.0 && f1 >= 0.0) : (f0 >= 0.0 && f1 < 0.0)) {
            double lo = t0, hi = t1;
            for (int k = 0; k < 14; ++k) {
                const double mid = (lo + hi) / 2.0;
                if ((f(mid) >= 0.0) == rising) hi = mid;
                else lo = mid;
            }
            t = (lo + hi) / 2.0;
            return true;
        }
        t0 = t1;
        f0 = f1;
    }
    return false;
}

// The sign of f over the day [d, d + 24]: +1 above throughout, -1 below, 0 both.
int DaySign(const Height& f, double d) {
    bool above = false, below = false;
    for (double t = d; t <= d + 24.0 + 1e-9; t += kSearchStepHours) (f(t) >= 0.0 ? above : below) = true;
    return above && below ? 0 : (above ? 1 : -1);
}

// The event of the day starting at hour d: its time; else the box of a body that stays
// above or below all day; else the next day's event (hours 24..48); else the box of the
// side the body stays on where the missing event would be. A rising that does not come:
// the body was up at the day's start (it never had to rise) or stays down; a setting that
// does not come: the body is up at the day's end (it rose and does not set, as the Sun at
// the end of the polar night's last night) or down.
TableEvent DayEvent(const Height& f, double d, bool rising) {
    TableEvent e;
    double t = 0;
    if (FindCrossing(f, d, d + 24.0, rising, t)) {
        e.kind = TableEvent::Time;
        e.hours = t - d;
        return e;
    }
    const int sign = DaySign(f, d);
    if (sign > 0) e.kind = TableEvent::AboveAllDay;
    else if (sign < 0) e.kind = TableEvent::BelowAllDay;
    else if (FindCrossing(f, d + 24.0, d + 48.0, rising, t)) {
        e.kind = TableEvent::Time;
        e.hours = t - d;
    } else {
        e.kind = f(rising ? d : d + 24.0) >= 0.0 ? TableEvent::AboveAllDay : TableEvent::BelowAllDay;
    }
    return e;
}

// The twilight column: the Sun that never gets below the depression gives "////",
// or the open box when it stays above the horizon too.
TableEvent TwilightEvent(const Height& f, const Height& horizon, double d, bool rising) {
    TableEvent e = DayEvent(f, d, rising);
    if (e.kind == TableEvent::AboveAllDay && DaySign(horizon, d) <= 0) e.kind = TableEvent::TwilightAllNight;
    return e;
}

// The UT hour at which the unwrapped GHA of b passes a multiple of 360 plus offset within
// [d, d + 24); the next day's when this day has none. None when neither has one.
TableEvent MeridianPassage(const HourlyTrack& b, double d, double offset) {
    auto f = [&](double t) { return Norm180(b.Gha(t) - offset); };
    TableEvent e;
    for (double a = d; a < d + 48.0; a += 1.0) {
        const double f0 = f(a), f1 = f(a + 1.0);
        if (f0 < 0.0 && f1 >= 0.0) {
            double lo = a, hi = a + 1.0;
            for (int k = 0; k < 20; ++k) {
                const double mid = (lo + hi) / 2.0;
                if (f(mid) >= 0.0) hi = mid;
                else lo = mid;
            }
            e.kind = TableEvent::Time;
            e.hours = (lo + hi) / 2.0 - d;
            return e;
        }
    }
    return e;
}

// "θ¹ Eri" from the catalogue's Bayer field ("the1") and constellation.
std::string BayerText(const StarRecord& s) {
    static const std::array<std::pair<const char*, const char*>, 24> kGreek{{
        {"alp", "α"}, {"bet", "β"}, {"gam", "γ"}, {"del", "δ"}, {"eps", "ε"}, {"zet", "ζ"},
        {"eta", "η"}, {"the", "θ"}, {"iot", "ι"}, {"kap", "κ"}, {"lam", "λ"}, {"mu", "μ"},
        {"nu", "ν"},  {"xi", "ξ"},  {"omi", "ο"}, {"pi", "π"},  {"rho", "ρ"}, {"sig", "σ"},
        {"tau", "τ"}, {"ups", "υ"}, {"phi", "φ"}, {"chi", "χ"}, {"psi", "ψ"}, {"ome", "ω"}}};
    std::string abbr = s.Bayer.substr(0, std::min<size_t>(3, s.Bayer.size()));
    while (!abbr.empty() && abbr.back() == ' ') abbr.pop_back();
    std::string rest = s.Bayer.size() > 3 ? s.Bayer.substr(3) : "";
    while (!rest.empty() && rest.back() == ' ') rest.pop_back();
    std::string letter;
    for (const auto& g : kGreek) {
        std::string a = abbr;
        for (char& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (a == g.first) letter = g.second;
    }
    if (letter.empty()) return s.Constellation;
    if (rest == "1") rest = "¹";
    else if (rest == "2") rest = "²";
    return letter + rest + " " + s.Constellation;
}

std::vector<StarEntry> NavigationalStars(double jd) {
    std::vector<StarEntry> stars;
    StarEntry polaris;
    for (int i = 1; i <= kStarCount; ++i) {
        const StarRecord& s = Stars[static_cast<size_t>(i)];
        if (s.NavNumber < 1 || s.NavNumber > 58) continue;
        const Coord3 p = StarPosition(jd, s.Number);
        StarEntry e{s.Number, AlmanacStarName(s.Name), BayerText(s), Norm360(360.0 - p.x), p.y};
        if (s.NavNumber == 58) polaris = e;
        else stars.push_back(e);
    }
    // Alphabetical by the letters alone, as the almanac lists them ("Alkaid", "Al Na'ir", "Alnilam").
    auto key = [](const std::string& n) {
        std::string k;
        for (char c : n)
            if (std::isalpha(static_cast<unsigned char>(c))) k += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return k;
    };
    std::sort(stars.begin(), stars.end(), [&](const StarEntry& a, const StarEntry& b) { return key(a.name) < key(b.name); });
    if (polaris.number != 0) stars.push_back(polaris);
    return stars;
}

// Days from the last new moon before the date-time t (UT).
double MoonAge(DateValue t) {
    const int year = DateToParts(t).year;
    DateValue last = -1e9;
    for (int n = -2; n <= 14; ++n) {
        const DateValue nm = PhaseDate(year, n, 0.0);
        if (nm <= t && nm > last) last = nm;
    }
    return t - last;
}

// Illuminated fraction of the Moon from the geocentric places of the Sun and the Moon.
double MoonIllumination(const Coord3& sun, const Coord3& moon) {
    const double cosPsi = SinD(sun.y) * SinD(moon.y) + CosD(sun.y) * CosD(moon.y) * CosD(sun.x - moon.x);
    const double psi = ArcCos(std::clamp(cosPsi, -1.0, 1.0));
    const double i = std::atan2(sun.z * std::sin(psi), moon.z - sun.z * std::cos(psi));
    return (1.0 + std::cos(i)) / 2.0;
}

// The UT hour of the middle day (hours 24..48 of hourly GHAs from 0 h of the first day)
// at which the GHA passes 360, linear within the hour; the nearest passage of the
// neighbouring days when the middle day has none.
double PassageOnMiddleDay(const std::vector<double>& gha) {
    double best = 12.0, bestDistance = 1e9;
    for (size_t h = 0; h + 1 < gha.size(); ++h) {
        const double step = Norm360(gha[h + 1] - gha[h]);
        if (gha[h] + step < 360.0) continue;
        const double t = static_cast<double>(h) + (360.0 - gha[h]) / step - 24.0;
        const double distance = t < 0.0 ? -t : (t >= 24.0 ? t - 24.0 : 0.0);
        if (distance < bestDistance) {
            best = t;
            bestDistance = distance;
        }
    }
    return best;
}

}  // namespace

std::string AlmanacStarName(const std::string& name) {
    static const std::array<std::pair<const char*, const char*>, 4> kShort{{
        {"Rigil Kentaurus", "Rigil Kent."}, {"Zubenelgenubi", "Zuben'ubi"}, {"Kaus Australis", "Kaus Aust."}, {"Alnair", "Al Na'ir"}}};
    for (const auto& [full, brief] : kShort)
        if (name == full) return brief;
    return name;
}

std::vector<DateValue> SpreadStarts(DateValue from, DateValue to) {
    std::vector<DateValue> out;
    from = DateWholeDays(from);
    to = DateWholeDays(to);
    for (DateValue d = from; d <= to; d += kSpreadDays) out.push_back(d);
    return out;
}

bool ComputeDailySpread(DateValue firstDay, DailySpread& out, const std::atomic<bool>* cancel) {
    out.firstDay = DateWholeDays(firstDay);
    const double jd0 = JulianDay(out.firstDay, false, false);
    const std::vector<double> aries = SampleAries(jd0, kFirstHour, kSamples);
    const HourlyTrack sun = MakeTrack(SampleBody(jd0, kFirstHour, kSamples, kBodySun), aries);
    if (Cancelled(cancel)) return false;
    const HourlyTrack moon = MakeTrack(SampleBody(jd0, kFirstHour, kSamples, kBodyMoon), aries);
    if (Cancelled(cancel)) return false;

    for (int h = 0; h < kSpreadHours; ++h) {
        SpreadHour& row = out.hours[static_cast<size_t>(h)];
        row.aries = aries[static_cast<size_t>(h - kFirstHour)];
        row.sunGha = Norm360(sun.AtHour(sun.gha, h));
        row.sunDec = sun.AtHour(sun.dec, h);
        row.moonGha = Norm360(moon.AtHour(moon.gha, h));
        row.moonDec = moon.AtHour(moon.dec, h);
        row.moonV = (moon.AtHour(moon.gha, h + 1) - moon.AtHour(moon.gha, h) - kMoonNominalRateDeg) * 60.0;
        row.moonD = (moon.AtHour(moon.dec, h + 1) - row.moonDec) * 60.0;
        row.moonHP = HorizontalParallax(moon.AtHour(moon.dist, h)) * 60.0;
    }

    // The planets: the 72 rows and one more hour for v and d.
    const std::vector<double> ariesRows(aries.begin() - kFirstHour, aries.begin() - kFirstHour + kSpreadHours + 1);
    for (int k = 0; k < kPagePlanets; ++k) {
        const size_t ks = static_cast<size_t>(k);
        const std::vector<Coord3> places = SampleBody(jd0, 0, kSpreadHours + 1, kPagePlanetIds[ks]);
        std::vector<double> gha(places.size());
        for (size_t h = 0; h < places.size(); ++h) gha[h] = Norm360(ariesRows[h] - places[h].x);
        double sumV = 0.0;
        for (size_t h = 0; h < static_cast<size_t>(kSpreadHours); ++h) {
            out.hours[h].planetGha[ks] = gha[h];
            out.hours[h].planetDec[ks] = places[h].y;
            sumV += Norm180(gha[h + 1] - gha[h] - kNominalRateDeg);
        }
        PlanetFoot& foot = out.planets[ks];
        foot.v = sumV / kSpreadHours * 60.0;
        foot.d = (places.back().y - places.front().y) / kSpreadHours * 60.0;
        foot.sha = Norm360(360.0 - places[24].x);
        foot.magnitude = PlanetMagnitude(kPagePlanetIds[ks], jd0 + 1.5);
        foot.merPass = PassageOnMiddleDay(gha);
        if (Cancelled(cancel)) return false;
    }
    out.ariesMerPass = PassageOnMiddleDay(ariesRows);

    out.stars = NavigationalStars(jd0 + 1.5);
    out.deltaT = DeltaT(jd0) * 86400.0;
    out.sunSD = kSunSemidiameterAt1Au / sun.AtHour(sun.dist, 36) / 60.0;
    out.sunD = (sun.AtHour(sun.dec, kSpreadHours) - sun.AtHour(sun.dec, 0)) / kSpreadHours * 60.0;
    if (Cancelled(cancel)) return false;

    // The rise and set table.
    out.latitudes.clear();
    for (double lat : kTableLatitudes) {
        LatitudeRow row;
        row.lat = lat;
        auto sunAbove = [&](double thr) { return Height([&sun, lat, thr](double t) { return AltitudeDeg(sun, lat, t) - thr; }); };
        const Height horizon = sunAbove(kSunRiseDeg), civil = sunAbove(-6.0), nautical = sunAbove(-12.0);
        const Height moonUp = [&moon, lat](double t) {
            const double hp = HorizontalParallax(moon.Dist(t));
            return AltitudeDeg(moon, lat, t) - (hp - kMoonRadiusRatio * hp - kMoonRefractionDeg);
        };
        row.sunrise = DayEvent(horizon, 24.0, true);
        row.sunset = DayEvent(horizon, 24.0, false);
        row.civil = TwilightEvent(civil, horizon, 24.0, true);
        row.civilEnd = TwilightEvent(civil, horizon, 24.0, false);
        row.nautical = TwilightEvent(nautical, horizon, 24.0, true);
        row.nauticalEnd = TwilightEvent(nautical, horizon, 24.0, false);
        for (int d = 0; d < kMoonDays; ++d) {
            row.moonrise[static_cast<size_t>(d)] = DayEvent(moonUp, 24.0 * d, true);
            row.moonset[static_cast<size_t>(d)] = DayEvent(moonUp, 24.0 * d, false);
        }
        out.latitudes.push_back(row);
        if (Cancelled(cancel)) return false;
    }

    // The foot of the right page.
    for (int d = 0; d < kSpreadDays; ++d) {
        DayFoot& f = out.days[static_cast<size_t>(d)];
        const double h0 = 24.0 * d;
        f.eot0 = Norm180(sun.Gha(h0) - 180.0) * 4.0;
        f.eot12 = Norm180(sun.Gha(h0 + 12.0)) * 4.0;
        const TableEvent pass = MeridianPassage(sun, h0, 0.0);
        f.sunMerPass = pass.kind == TableEvent::Time ? pass.hours : 12.0 - f.eot12 / 60.0;
        f.moonUpper = MeridianPassage(moon, h0, 0.0);
        f.moonLower = MeridianPassage(moon, h0, 180.0);
        const int noon = static_cast<int>(h0) + 12;
        const Coord3 s{sun.AtHour(aries, noon) - sun.AtHour(sun.gha, noon), sun.AtHour(sun.dec, noon), sun.AtHour(sun.dist, noon)};
        const Coord3 m{moon.AtHour(aries, noon) - moon.AtHour(moon.gha, noon), moon.AtHour(moon.dec, noon), moon.AtHour(moon.dist, noon)};
        f.moonPhase = MoonIllumination(s, m);
        f.moonAge = MoonAge(out.firstDay + d + 0.5);
        f.moonSD = kMoonRadiusRatio * HorizontalParallax(m.z) * 60.0;
    }
    return true;
}

std::string PageGhaText(double deg) {
    if (!std::isfinite(deg)) return "--- --.-";
    long long tenths = std::llround(Norm360(deg) * 600.0);
    if (tenths >= 360LL * 600) tenths -= 360LL * 600;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%3lld %02lld.%lld", tenths / 600, tenths % 600 / 10, tenths % 10);
    return buf;
}

std::string PageDecText(double deg) {
    if (!std::isfinite(deg)) return "- -- --.-";
    const long long tenths = std::llround(std::fabs(deg) * 600.0);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s %2lld %02lld.%lld", deg < 0.0 && tenths > 0 ? "S" : "N", tenths / 600,
                  tenths % 600 / 10, tenths % 10);
    return buf;
}

std::string PageMinutesText(double arcmin, bool showSign) {
    if (!std::isfinite(arcmin)) return "--.-";
    const long long tenths = std::llround((showSign ? arcmin : std::fabs(arcmin)) * 10.0);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%s%lld.%lld", tenths < 0 ? "-" : "", std::llabs(tenths) / 10, std::llabs(tenths) % 10);
    return buf;
}

std::string PageTimeText(double hours) {
    if (!std::isfinite(hours)) return "-- --";
    const long long minutes = std::llround(hours * 60.0);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld %02lld", minutes / 60, minutes % 60);
    return buf;
}

std::string PageEventText(const TableEvent& e) {
    switch (e.kind) {
        case TableEvent::Time: return PageTimeText(e.hours);
        case TableEvent::AboveAllDay: return "□";
        case TableEvent::BelowAllDay: return "■";
        case TableEvent::TwilightAllNight: return "////";
        case TableEvent::None: break;
    }
    return "-- --";
}

AlmanacPdfArgs ParseAlmanacPdfArgs(const std::vector<std::string>& args) {
    AlmanacPdfArgs a;
    std::vector<std::string> plain;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--tables") {
            a.tables = true;
        } else if (args[i] == "--lunars") {
            a.lunars = true;
        } else if (args[i] == "--paper" || args[i].rfind("--paper=", 0) == 0) {
            const bool joined = args[i].size() > 7;
            const std::string value = joined ? args[i].substr(8) : (i + 1 < args.size() ? args[i + 1] : "");
            if (value != "a4" && value != "letter") {
                a.error = "--paper takes a4 or letter";
                return a;
            }
            a.letter = value == "letter";
            if (!joined) ++i;
        } else if (args[i].rfind("--", 0) == 0) {
            a.error = "unknown option " + args[i];
            return a;
        } else {
            plain.push_back(args[i]);
        }
    }
    if (plain.size() != 3) {
        a.error = "--almanac-pdf needs three arguments: FROM TO FILE.pdf";
        return a;
    }
    for (int i = 0; i < 2; ++i)
        if (!ParseIsoDate(plain[static_cast<size_t>(i)], i == 0 ? a.from : a.to)) {
            a.error = "not a date from 1900-01-01 to 2100-12-31: " + plain[static_cast<size_t>(i)];
            return a;
        }
    if (a.to < a.from) {
        a.error = plain[1] + " is before " + plain[0];
        return a;
    }
    a.path = plain[2];
    return a;
}
