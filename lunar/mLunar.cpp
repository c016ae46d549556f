#include "lunar/mLunar.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/mBodyPosition.h"
#include "core/mMath.h"
#include "core/mStar.h"

namespace {

constexpr double kSecondsPerDay = 86400.0;
constexpr double kMoonRadiusKm = 1737.4;      // IAU mean radius
constexpr double kSunRadiusKm = 696000.0;     // the almanac's semidiameter 16.0' at 1 AU
constexpr double kEarthA = 6378.137;          // WGS84 equatorial radius, km
constexpr double kEarthE2 = 0.00669437999014; // WGS84 first eccentricity squared
// Below this rate of the distance (arc minutes an hour) 0.1' of distance is more than a
// minute of time: the lunar gives no time worth having.
constexpr double kSlowestArcminPerHour = 5.0;

struct Vec { double x, y, z; };
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator*(double k, Vec a) { return {k * a.x, k * a.y, k * a.z}; }
double Dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec Cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double Norm(Vec a) { return std::sqrt(Dot(a, a)); }
// The angle between two vectors, degrees (well conditioned at every angle).
double AngleDeg(Vec a, Vec b) { return RadToDeg(std::atan2(Norm(Cross(a, b)), Dot(a, b))); }

// Unit vector of an azimuth (from north, eastward) and altitude in the local frame
// (x east, y north, z up).
Vec Horizontal(double az, double alt) {
    return {CosD(alt) * SinD(az), CosD(alt) * CosD(az), SinD(alt)};
}
// Unit vector of a right ascension and declination (equator of date).
Vec Equatorial(double ra, double dec) { return {CosD(dec) * CosD(ra), CosD(dec) * SinD(ra), SinD(dec)}; }

bool IsStar(LunarBody b) { return b > 0; }
int BodyIdOf(LunarBody b) { return b <= 0 ? BodyIdOfListIndex(-b) : -1; }
bool KnownBody(LunarBody b) {
    if (IsStar(b)) return StarIndex(b) > 0;
    return b == 0 || b == -2 || b == -3 || b == -4 || b == -5 || b == kLunarMoon;
}

// Apparent geocentric place of the body at jd TT: right ascension, declination,
// distance in km (a star: infinite).
struct Place { double ra, dec, km; };
Place PlaceOf(double jd, LunarBody b) {
    if (IsStar(b)) {
        const Coord3 p = StarPosition(jd, b);
        return {p.x, p.y, std::numeric_limits<double>::infinity()};
    }
    const Coord3 p = BodyPosition(jd, BodyIdOf(b));
    return {p.x, p.y, p.z * kKmPerAU};
}

double TT(DateValue ut) { return JulianDay(ut, false, false); }

// The observer's place and the bodies seen from it at one instant.
struct Sky {
    // Local frame vectors (x east, y north, z up), km: the observer from the geocentre,
    // each body from the observer (a star: unit vector, distance infinite).
    Vec observer;
    Vec moon, body;
    double moonKm, bodyKm;
};

Sky SkyAt(DateValue ut, LunarBody body, double lat, double lon) {
    const double jd = TT(ut);
    const double lst = SiderealTime(jd, lon);
    // Equatorial of date -> local frame: rotate by the local sidereal time and latitude.
    auto toLocal = [&](Vec q) {
        const double ha = DegToRad(lst);
        const double xe = q.x * std::cos(ha) + q.y * std::sin(ha);   // toward the meridian
        const double ye = -q.x * std::sin(ha) + q.y * std::cos(ha);  // toward the east
        const double sp = SinD(lat), cp = CosD(lat);
        return Vec{ye, -xe * sp + q.z * cp, xe * cp + q.z * sp};
    };
    // WGS84 observer at sea level: geodetic latitude lat.
    const double sp = SinD(lat), cp = CosD(lat);
    const double n = kEarthA / std::sqrt(1.0 - kEarthE2 * sp * sp);
    const double rx = n * cp, rz = n * (1.0 - kEarthE2) * sp;  // meridian plane: out, polar
    Sky s;
    s.observer = {0.0, -rx * sp + rz * cp, rx * cp + rz * sp};
    const Place m = PlaceOf(jd, kLunarMoon);
    const Place b = PlaceOf(jd, body);
    const Vec mg = m.km * toLocal(Equatorial(m.ra, m.dec));
    const Vec mt = mg + (-1.0 * s.observer);
    s.moonKm = Norm(mt);
    s.moon = (1.0 / s.moonKm) * mt;
    if (std::isinf(b.km)) {
        s.body = toLocal(Equatorial(b.ra, b.dec));
        s.bodyKm = b.km;
    } else {
        const Vec bt = b.km * toLocal(Equatorial(b.ra, b.dec)) + (-1.0 * s.observer);
        s.bodyKm = Norm(bt);
        s.body = (1.0 / s.bodyKm) * bt;
    }
    return s;
}

double AltOf(Vec u) { return RadToDeg(std::asin(std::clamp(u.z, -1.0, 1.0))); }
double AzOf(Vec u) { return Norm360(RadToDeg(std::atan2(u.x, u.y))); }

// Total refraction (degrees) at the apparent altitude H in the given air.
double RefractionAt(double H, const Horizon& air) {
    const double r = Refraction(H);
    return r + RefractionTP(r, air.TempC, air.PressureMb);
}
// The apparent altitude of a true (airless) altitude h: H - R(H) = h.
double ApparentOf(double h, const Horizon& air) {
    double H = h;
    for (int i = 0; i < 30; ++i) {
        const double next = h + RefractionAt(H, air);
        if (std::fabs(next - H) < 1e-10) return next;
        H = next;
    }
    return H;
}

// The radius of a refracted disc of true semidiameter sd (degrees) at the apparent
// altitude H, along a direction making the angle q (degrees) with the vertical: the
// image is the disc shortened vertically by the factor 1 / (1 - dR/dH).
double RadiusAlong(double sd, double H, double q, const Horizon& air) {
    if (sd <= 0.0) return 0.0;
    // H = h + R(H): a true height dh shows as dH = dh / (1 - dR/dH), dR/dH < 0.
    const double step = 0.01;
    const double k = 1.0 / (1.0 - (RefractionAt(H + step, air) - RefractionAt(H - step, air)) / (2.0 * step));
    const double c = CosD(q), s = SinD(q);
    return sd * k / std::sqrt(c * c + k * k * s * s);
}

// The angle (degrees) at the point u between the vertical and the great circle to v.
double AngleFromVertical(Vec u, Vec v) {
    const Vec zenith{0.0, 0.0, 1.0};
    const Vec toZenith = Cross(u, Cross(zenith, u));
    const Vec toV = Cross(u, Cross(v, u));
    const double nz = Norm(toZenith), nv = Norm(toV);
    if (nz < 1e-12 || nv < 1e-12) return 0.0;
    return RadToDeg(std::acos(std::clamp(Dot(toZenith, toV) / (nz * nv), -1.0, 1.0)));
}

double SemidiameterDeg(double radiusKm, double km) {
    return std::isinf(km) ? 0.0 : RadToDeg(std::asin(radiusKm / km));
}

// The UT at which the geocentric distance equals d (degrees), by the secant method
// from the guess; the rate of the distance there, degrees per day.
bool SolveTime(LunarBody body, double d, DateValue guess, DateValue& ut, double& rate) {
    DateValue t = guess;
    const double h = 600.0 / kSecondsPerDay;
    for (int i = 0; i < 20; ++i) {
        const double f = GeocentricLunarDistance(TT(t), body) - d;
        rate = (GeocentricLunarDistance(TT(t + h), body) - GeocentricLunarDistance(TT(t - h), body)) / (2.0 * h);
        if (!std::isfinite(f) || !std::isfinite(rate) || std::fabs(rate) < 1e-6) return false;
        const double dt = -f / rate;
        t += dt;
        if (std::fabs(dt) > 1.0) return false;  // more than a day from the watch: no solution near it
        if (std::fabs(dt) * kSecondsPerDay < 1e-3) {
            ut = t;
            return true;
        }
    }
    return false;
}

}  // namespace

double GeocentricLunarDistance(double jdTT, LunarBody body) {
    if (!KnownBody(body)) return std::numeric_limits<double>::quiet_NaN();
    const Place m = PlaceOf(jdTT, kLunarMoon);
    const Place b = PlaceOf(jdTT, body);
    return AngleDeg(Equatorial(m.ra, m.dec), Equatorial(b.ra, b.dec));
}

LunarResult ClearLunar(const LunarObservation& obs, const LunarConditions& cond) {
    LunarResult r;
    if (!KnownBody(obs.body) || obs.body == kLunarMoon) {
        r.refusal = "the other body of a lunar is the Sun, Venus, Mars, Jupiter, Saturn or a star";
        return r;
    }
    if (!std::isfinite(obs.distance) || obs.distance <= 0.0 || obs.distance >= 180.0) {
        r.refusal = "the sextant distance is not between 0 and 180 degrees";
        return r;
    }
    const Horizon& air = cond.horizon;
    const double dip = Dip(air.HeightOfEye);
    const double index = cond.indexArcmin / 60.0;
    r.altitudesComputed = !obs.hsMoon || !obs.hsBody;
    r.distanceIndexed = obs.distance + index;
    const bool sun = obs.body == 0;
    DateValue t = obs.watch;
    for (r.passes = 1; r.passes <= 10; ++r.passes) {
        const Sky sky = SkyAt(t, obs.body, cond.lat, cond.lon);
        const double sdMoon = SemidiameterDeg(kMoonRadiusKm, sky.moonKm);
        const double sdBody = sun ? SemidiameterDeg(kSunRadiusKm, sky.bodyKm) : 0.0;
        r.moonSemidiameter = sdMoon;
        // Apparent altitudes of the centres: observed limbs, or the DR's.
        auto apparentCentre = [&](const std::optional<double>& hs, double sd, Vec computed) {
            if (!hs) return ApparentOf(AltOf(computed), air);
            const double limbApparent = *hs + index - dip;
            const double limbTrue = limbApparent - RefractionAt(limbApparent, air);
            return ApparentOf(limbTrue + sd, air);
        };
        r.moonApparentAlt = apparentCentre(obs.hsMoon, sdMoon, sky.moon);
        r.bodyApparentAlt = apparentCentre(obs.hsBody, sdBody, sky.body);
        // The discs' radii along the line joining them.
        r.moonSdAlongLine = RadiusAlong(sdMoon, r.moonApparentAlt, AngleFromVertical(sky.moon, sky.body), air);
        r.bodySdAlongLine = RadiusAlong(sdBody, r.bodyApparentAlt, AngleFromVertical(sky.body, sky.moon), air);
        r.apparentCentres = r.distanceIndexed + (obs.moonFarLimb ? -r.moonSdAlongLine : r.moonSdAlongLine) +
                            (sun && obs.bodyFarLimb ? -r.bodySdAlongLine : r.bodySdAlongLine);
        // The difference of azimuth from the apparent altitudes and distance; refraction
        // only lifts each body along its vertical, so it keeps that difference.
        const double H1 = r.moonApparentAlt, H2 = r.bodyApparentAlt;
        const double cosDz =
            (CosD(r.apparentCentres) - SinD(H1) * SinD(H2)) / (CosD(H1) * CosD(H2));
        if (!(std::fabs(cosDz) <= 1.0 + 1e-9)) {
            r.refusal = "the distance and the altitudes do not fit together (check the sextant readings)";
            return r;
        }
        const double dz = RadToDeg(std::acos(std::clamp(cosDz, -1.0, 1.0)));
        r.moonTrueAlt = H1 - RefractionAt(H1, air);
        r.bodyTrueAlt = H2 - RefractionAt(H2, air);
        // Rebuild the two topocentric directions about the body's computed azimuth, the
        // Moon on the side the ephemeris puts it, and remove the parallax in vectors.
        const double azBody = AzOf(sky.body);
        const double side = std::sin(DegToRad(AzOf(sky.moon) - azBody)) >= 0.0 ? 1.0 : -1.0;
        const Vec moonDir = Horizontal(azBody + side * dz, r.moonTrueAlt);
        const Vec bodyDir = Horizontal(azBody, r.bodyTrueAlt);
        r.trueTopocentric = AngleDeg(moonDir, bodyDir);
        const Vec moonGeo = sky.observer + sky.moonKm * moonDir;
        const Vec bodyGeo = std::isinf(sky.bodyKm) ? bodyDir : sky.observer + sky.bodyKm * bodyDir;
        r.cleared = AngleDeg(moonGeo, bodyGeo);
        double rate = 0.0;
        DateValue found = t;
        if (!SolveTime(obs.body, r.cleared, t, found, rate)) {
            r.refusal = "no time near the watch time gives this distance (is the body right?)";
            return r;
        }
        r.rateArcminPerHour = rate * 60.0 / 24.0;
        if (std::fabs(r.rateArcminPerHour) < kSlowestArcminPerHour) {
            r.refusal = "the distance changes too slowly for a time (" + std::to_string(std::lround(std::fabs(r.rateArcminPerHour))) +
                        "' an hour): take a body that the Moon moves toward or away from";
            return r;
        }
        const double shift = (found - t) * kSecondsPerDay;
        t = found;
        if (std::fabs(shift) < 0.1) break;
    }
    r.passes = std::min(r.passes, 10);
    r.ut = t;
    r.watchErrorSeconds = (obs.watch - t) * kSecondsPerDay;
    r.secondsPerTenthArcmin = std::fabs(r.rateArcminPerHour) > 1e-9 ? 0.1 / std::fabs(r.rateArcminPerHour) * 3600.0 : 0.0;

    // The longitude from an observed altitude: the body's, else the Moon's.
    const Sky sky = SkyAt(t, obs.body, cond.lat, cond.lon);
    struct Option { bool observed; double trueAlt; Vec dir; LunarBody body; const char* what; };
    const Option options[] = {{obs.hsBody.has_value(), r.bodyTrueAlt, sky.body, obs.body, "the body's"},
                              {obs.hsMoon.has_value(), r.moonTrueAlt, sky.moon, kLunarMoon, "the Moon's"}};
    r.longitudeNote = "no observed altitude: the longitude needs one";
    for (const Option& o : options) {
        if (!o.observed) continue;
        const double az = AzOf(o.dir);
        if (std::fabs(SinD(az)) < SinD(15.0)) {
            r.longitudeNote = std::string(o.what) + " altitude was taken within 15 degrees of the meridian";
            continue;
        }
        // Geocentric altitude of the centre: add back the parallax in altitude.
        const Place p = PlaceOf(TT(t), o.body);
        const Vec geo = std::isinf(p.km) ? Horizontal(az, o.trueAlt)
                                          : sky.observer + (o.body == kLunarMoon ? sky.moonKm : sky.bodyKm) *
                                                               Horizontal(az, o.trueAlt);
        // The geocentric altitude above the geocentric horizon of the observer's vertical.
        const double hGeo = AltOf((1.0 / Norm(geo)) * geo);
        const double cosLha = (SinD(hGeo) - SinD(cond.lat) * SinD(p.dec)) / (CosD(cond.lat) * CosD(p.dec));
        if (!(std::fabs(cosLha) <= 1.0)) {
            r.longitudeNote = std::string(o.what) + " altitude is out of reach at the DR latitude";
            continue;
        }
        double lha = RadToDeg(std::acos(cosLha));
        if (SinD(az) > 0.0) lha = 360.0 - lha;  // east of the meridian
        const double gha = Norm360(SiderealTime(TT(t), 0.0) - p.ra);
        double lon = Norm360(lha - gha);
        if (lon > 180.0) lon -= 360.0;
        r.longitude = lon;
        r.longitudeNote = std::string("from ") + o.what + " observed altitude";
        break;
    }
    return r;
}

std::vector<LunarCandidate> PlanLunars(DateValue ut, double lat, double lon) {
    std::vector<LunarBody> bodies = {0, -2, -3, -4, -5};
    for (int i = 1; i <= kStarCount; ++i)
        if (Stars[i].NavNumber >= 1 && Stars[i].NavNumber <= 57) bodies.push_back(Stars[i].Number);
    std::vector<LunarCandidate> out;
    const DateValue day = DateWholeDays(ut);
    const double h = 600.0 / kSecondsPerDay;
    for (LunarBody b : bodies) {
        LunarCandidate c;
        c.body = b;
        c.name = IsStar(b) ? Stars[StarIndex(b)].Name
                           : std::string(b == 0 ? "Sun" : b == -2 ? "Venus" : b == -3 ? "Mars" : b == -4 ? "Jupiter" : "Saturn");
        c.distance = GeocentricLunarDistance(TT(ut), b);
        c.rateArcminPerHour = (GeocentricLunarDistance(TT(ut + h), b) - GeocentricLunarDistance(TT(ut - h), b)) /
                              (2.0 * h) * 60.0 / 24.0;
        const Sky sky = SkyAt(ut, b, lat, lon);
        c.moonAlt = AltOf(sky.moon);
        c.bodyAlt = AltOf(sky.body);
        c.suitable = c.distance >= 15.0 && c.distance <= 120.0 && c.moonAlt > 10.0 && c.bodyAlt > 10.0;
        for (int k = 0; k < 8; ++k) c.everyThreeHours.push_back(GeocentricLunarDistance(TT(day + k / 8.0), b));
        out.push_back(std::move(c));
    }
    std::stable_sort(out.begin(), out.end(), [](const LunarCandidate& a, const LunarCandidate& b) {
        if (a.suitable != b.suitable) return a.suitable;
        return std::fabs(a.distance - 60.0) < std::fabs(b.distance - 60.0);
    });
    return out;
}
