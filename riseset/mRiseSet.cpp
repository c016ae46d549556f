#include "riseset/mRiseSet.h"

#include <cmath>
#include <cstdio>

#include "core/mBodyPosition.h"
#include "core/mEphemerisFit.h"
#include "core/mMath.h"
#include "reduction/mAltAz.h"
#include "reduction/mCorrection.h"

namespace {

constexpr int kSun = 0;
constexpr int kMars = 4;
constexpr int kJupiter = 5;
constexpr int kMoon = 9;

// The event t moved by whole mean days (k days) into the local day [day, day + 1);
// 0 when that day holds no such event (the Moon's day is longer than a day).
DateValue IntoDay(DateValue t, double k, DateValue day) {
    const DateValue moved = t + std::ceil((day - t) / k) * k;
    return moved < day + 1.0 ? moved : 0.0;
}

double AltitudeAt(const EphemerisFit& fit, double jd, double lat, double lon, int body) {
    return AltAzimuthAt(fit.SiderealTime(jd, lon), fit.Position(jd, body), lat).y;
}

// The transit hour from the place at D0 (equ) and the sidereal time there.
double TransitHourFrom(const Coord3& equ, double jdD0, double lon) {
    return Norm360(equ.x - SiderealTime(jdD0, lon)) / 15.0;
}

// The transits and the approximate rise and set need the place at D0 and at two
// instants within about a day after it: one fit over [D0 - 0.02, D0 + 1.08] days
// serves them for the Sun and the planets at little more than the cost of one
// place. The Moon's fit takes more points than three places cost, so it is
// computed directly.
constexpr double kTransitSpanBeforeDays = 0.02;
constexpr double kTransitSpanAfterDays = 1.08;

EphemerisFit TransitFit(double jdD0, int body) {
    if (body == kMoon) return EphemerisFit();
    return EphemerisFit(jdD0 - kTransitSpanBeforeDays, jdD0 + kTransitSpanAfterDays, {body});
}

}  // namespace

double BaseThreshold(int body) {
    if (body == kSun) return kSunBaseThresholdDeg;
    if (body == kMoon) return kMoonBaseThresholdDeg;
    return kPlanetBaseThresholdDeg;
}

double ThresholdAltitude(double base, const Horizon& horizon) {
    double h0 = base - Dip(horizon.HeightOfEye);
    h0 -= RefractionTP(Refraction(h0), horizon.TempC, horizon.PressureMb);
    return h0;
}

double TransitRateFactor(int body, bool inTransitTimes) {
    // Offsets in minutes per day of the body's transit against the Sun's mean day.
    double minutes = 0.5;  // Sun, Mercury, Venus
    if (body == kMars) minutes = 4.5;
    else if (body == kJupiter) minutes = 3.7;
    else if (body >= 6 && body <= 8) minutes = 3.4;  // Saturn, Uranus, Neptune
    else if (body == kMoon) return 1.0 + (inTransitTimes ? 48.0 : 52.0) / 1440.0;
    return 1.0 - minutes / 1440.0;
}

double TransitHour(DateValue day, double lon, int body) {
    const double jd = JulianDay(day, false, false);
    return TransitHourFrom(BodyPosition(jd, body), jd, lon);
}

DateValue MeridianPassage(DateValue guess, double hourAngle, int body,
                          const std::function<Coord3(double)>& place,
                          const std::function<double(double)>& sidereal,
                          const std::function<double(DateValue)>& lonAt) {
    constexpr double kToleranceDays = 0.01 / 86400.0;
    constexpr double kStepDays = 60.0 / 86400.0;  // for the observer's rate of longitude
    constexpr int kMaxSteps = 30;
    // The body's mean rate of hour angle, degrees per day.
    const double bodyRate = 360.0 / TransitRateFactor(body, true);
    DateValue t = guess;
    for (int step = 0; step < kMaxSteps; ++step) {
        const double jd = JulianDay(t, false, false);
        const double lon = lonAt(t);
        double off = std::fmod(sidereal(jd) + lon - place(jd).x - hourAngle, 360.0);
        if (off > 180.0) off -= 360.0;
        if (off <= -180.0) off += 360.0;
        // The observer's own change of longitude adds to the body's rate.
        double run = std::fmod(lonAt(t + kStepDays) - lonAt(t - kStepDays), 360.0);  // across 180 too
        if (run > 180.0) run -= 360.0;
        if (run < -180.0) run += 360.0;
        const double rate = bodyRate + run / (2.0 * kStepDays);
        if (!(std::fabs(rate) > 1.0)) return std::nan("");
        const double dt = off / rate;
        t -= dt;
        if (std::fabs(dt) < kToleranceDays) return t;
    }
    return std::nan("");
}

TransitResult TransitTimes(DateValue day, double lat, double lon, int body, const Horizon& horizon) {
    const double jdD0 = JulianDay(day, false, false);
    const EphemerisFit fit = TransitFit(jdD0, body);
    // The hour angle already runs in local sidereal time: the longitude is in t.
    const double t = TransitHourFrom(fit.Position(jdD0, body), jdD0, lon);
    const double k = TransitRateFactor(body, true);
    const double t2 = t < 12.0 ? t + 12.0 : t - 12.0;

    // The mean-rate estimates, then the passages themselves (on the same side of
    // day: an estimate just after it whose passage falls just before takes the next).
    const auto place = [&fit, body](double jd) { return fit.Position(jd, body); };
    const auto sidereal = [&fit](double jd) { return fit.SiderealTime(jd, 0.0); };
    const auto fixed = [lon](DateValue) { return lon; };
    const auto passage = [&](DateValue estimate, double hourAngle) {
        DateValue p = MeridianPassage(estimate, hourAngle, body, place, sidereal, fixed);
        if (std::isfinite(p) && p < day) p = MeridianPassage(p + k, hourAngle, body, place, sidereal, fixed);
        return std::isfinite(p) ? p : estimate;
    };
    TransitResult r;
    r.UpperTime = passage(day + t * k / 24.0, 0.0);
    r.LowerTime = passage(day + t2 * k / 24.0, 180.0);
    const double upper = AltitudeAt(fit, JulianDay(r.UpperTime, false, false), lat, lon, body);
    const double lower = AltitudeAt(fit, JulianDay(r.LowerTime, false, false), lat, lon, body);
    r.UpperAltitude = upper + Dip(horizon.HeightOfEye) + Refraction(upper);
    r.LowerAltitude = lower;
    return r;
}

RiseSetResult HourAngleRiseSet(DateValue day, double lat, double lon, int body, double h0) {
    const double jdD0 = JulianDay(day, false, false);
    const Coord3 equ = BodyPosition(jdD0, body);  // once: the transit hour and the declination
    const double t = TransitHourFrom(equ, jdD0, lon);
    const double k = TransitRateFactor(body, false);
    const double dec = equ.y;

    const double cosH = (SinD(h0) - SinD(lat) * SinD(dec)) / (CosD(lat) * CosD(dec));
    RiseSetResult r;
    if (std::fabs(cosH) <= 1.0) {
        const double h = RadToDeg(ArcCos(cosH));
        // Around the transit after local midnight, then each moved into the local day.
        r.Rise = IntoDay(day + (t - h / 15.0) * k / 24.0, k, day);
        r.Set = IntoDay(day + (t + h / 15.0) * k / 24.0, k, day);
    } else {
        // At a pole cos(lat) = 0 and cosH is infinite: the right marker still follows.
        r.Rise = cosH > 1.0 ? -1.0 : 1.0;
        r.Set = -1.0;
    }
    return r;
}

namespace {

HourlyTable HourlyFrom(const EphemerisFit& fit, double jd0, double lat, double lon, int body, double h0) {
    HourlyTable y{};
    for (int h = 0; h <= 24; ++h) {
        const double jd = jd0 + h / 24.0;
        y[static_cast<size_t>(h)] = AltitudeAt(fit, jd, lat, lon, body) - h0;
    }
    return y;
}

// Moves a crossing found by the parabola onto the computed altitude's own crossing by
// the secant method: the Moon's altitude bends enough within two hours to put the
// parabola's root up to 15 s off. A marker (not an instant) stays as it is, and so
// does an instant the iteration would carry more than half an hour away.
void Refine(DateValue& t, DateValue day, const EphemerisFit& fit, double jd0, double lat, double lon, int body,
            double h0) {
    if (t <= 1.0) return;
    auto f = [&](DateValue x) { return AltitudeAt(fit, jd0 + (x - day), lat, lon, body) - h0; };
    DateValue a = t, b = t + 2.0 / 86400.0;
    double fa = f(a), fb = f(b);
    for (int i = 0; i < 6 && fb != fa && std::fabs(b - a) > 1e-7; ++i) {
        const DateValue c = b - fb * (b - a) / (fb - fa);
        a = b, fa = fb;
        b = c, fb = f(c);
    }
    if (std::isfinite(b) && std::fabs(b - t) < 1.0 / 48.0) t = b;
}

}  // namespace

HourlyTable HourlyAltitudes(DateValue day, double lat, double lon, int body, double h0) {
    const double jd0 = JulianDay(day, false, false);
    // The 25 places from one fit over the day (within 1e-5" of BodyPosition).
    return HourlyFrom(EphemerisFit(jd0, jd0 + 1.0, {body}), jd0, lat, lon, body, h0);
}

RiseSetResult QuadraticCrossings(DateValue day, const HourlyTable& y) {
    // Two estimates of one crossing from overlapping windows lie in the same hour;
    // distinct crossings (a second rise of the Moon near the pole) are hours apart.
    constexpr double kSameCrossingDays = 1.0 / 24.0;
    RiseSetResult r;
    auto merge = [&](DateValue& slot, DateValue m) {
        if (slot == 0.0) slot = m;
        else if (std::fabs(slot - m) < kSameCrossingDays) slot = (slot + m) / 2.0;
    };
    for (size_t i = 1; i <= 23; ++i) {
        const double a = (y[i - 1] + y[i + 1]) / 2.0 - y[i];
        const double b = (y[i + 1] - y[i - 1]) / 2.0;
        const double c = y[i];
        if (a == 0.0) {
            // Three values on a straight line: its one root, when inside the window.
            if (b == 0.0) continue;
            const double z = -c / b;
            if (std::fabs(z) < 1.0) {
                const DateValue m = day + (static_cast<double>(i) + z) / 24.0;
                if (y[i - 1] < 0.0) merge(r.Rise, m);
                else merge(r.Set, m);
            }
            continue;
        }
        const double xe = -b / (2.0 * a);
        const double ye = (a * xe + b) * xe + c;
        const double dis = b * b - 4.0 * a * c;
        if (dis < 0.0) continue;
        const double dx = 0.5 * std::sqrt(dis) / std::fabs(a);
        double z1 = xe - dx;
        const double z2 = xe + dx;
        const bool in1 = std::fabs(z1) < 1.0;
        const bool in2 = std::fabs(z2) < 1.0;
        const int n = (in1 ? 1 : 0) + (in2 ? 1 : 0);
        if (n == 1) {
            if (!in1) z1 = z2;  // the one root inside the window
            const DateValue m = day + (static_cast<double>(i) + z1) / 24.0;
            if (y[i - 1] < 0.0) merge(r.Rise, m);
            else merge(r.Set, m);
        } else if (n == 2) {
            const DateValue m1 = day + (static_cast<double>(i) + z1) / 24.0;
            const DateValue m2 = day + (static_cast<double>(i) + z2) / 24.0;
            if (ye < 0.0) { r.Rise = m2; r.Set = m1; }
            else { r.Rise = m1; r.Set = m2; }
        }
    }
    if (r.Rise == 0.0 && r.Set == 0.0) {
        r.Rise = y[12] > 0.0 ? 1.0 : (y[12] < 0.0 ? -1.0 : 0.0);
        r.Set = -1.0;
    }
    return r;
}

namespace {

RiseSetResult Crossings(DateValue day, double lat, double lon, int body, double h0, bool approximate) {
    if (approximate) return HourAngleRiseSet(day, lat, lon, body, h0);
    const double jd0 = JulianDay(day, false, false);
    const EphemerisFit fit(jd0, jd0 + 1.0, {body});
    RiseSetResult r = QuadraticCrossings(day, HourlyFrom(fit, jd0, lat, lon, body, h0));
    Refine(r.Rise, day, fit, jd0, lat, lon, body, h0);
    Refine(r.Set, day, fit, jd0, lat, lon, body, h0);
    return r;
}

}  // namespace

RiseSetResult RiseSetTimes(DateValue day, double lat, double lon, int body, bool approximate,
                           const Horizon& horizon) {
    return Crossings(day, lat, lon, body, ThresholdAltitude(BaseThreshold(body), horizon), approximate);
}

RiseSetResult TwilightTimes(DateValue day, double lat, double lon, bool civil, bool approximate,
                            const Horizon& horizon) {
    const double base = civil ? kCivilTwilightDeg : kNauticalTwilightDeg;
    return Crossings(day, lat, lon, kSun, ThresholdAltitude(base, horizon), approximate);
}

std::string TimeOfDayText(DateValue t) {
    if (!std::isfinite(t)) return "--:--:--";
    long long seconds = std::llround(DateTimeOfDay(t) * 86400.0) % 86400;
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buf;
}
