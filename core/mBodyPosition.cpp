#include "core/mBodyPosition.h"

#include <cmath>

#include "core/mMoon.h"
#include "core/mPrecessionNutation.h"
#include "core/mTime.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

Coord3 Rect(const Coord3& lbr) { return SphToRect(lbr, false); }

HeliocentricExpansion InstantExpansion(int body, double jd) {
    return ExpandHeliocentric(body, jd, kInstantExpansionHalfSpanDays, kInstantExpansionOrder);
}

}  // namespace

const HeliocentricExpansion& EphemerisInstant::Earth() const {
    if (!earth_) earth_ = InstantExpansion(kBodyEarth, frame_.jd);
    return *earth_;
}

Coord3 GeometricPlace(const HeliocentricExpansion& earth, const HeliocentricExpansion& planet, int body, double jd) {
    // Retarded instants as offsets within the expansions, not as Julian dates: a
    // Julian date holds time to 4e-10 day only, in which the Earth moves 2e-6".
    const double xe = (jd - earth.jdMid) / earth.halfSpanDays;
    if (body == kBodySun) {
        // The geocentric Sun: the Earth's radius at jd, its direction at jd - tau.
        const double r = earth.AtOffset(xe).z;
        const Coord3 e = earth.AtOffset(xe - r * kLightTimeDaysPerAu / earth.halfSpanDays);
        return {Norm360(RadToDeg(e.x + kPi)), RadToDeg(-e.y), r};
    }
    const double xp = (jd - planet.jdMid) / planet.halfSpanDays;
    const Coord3 e = Rect(earth.AtOffset(xe));
    const Coord3 x = Rect(planet.AtOffset(xp));
    const Coord3 g{x.x - e.x, x.y - e.y, x.z - e.z};
    const double delta = std::sqrt(g.x * g.x + g.y * g.y + g.z * g.z);
    const double tau = delta * kLightTimeDaysPerAu;
    const Coord3 e2 = Rect(earth.AtOffset(xe - tau / earth.halfSpanDays));
    const Coord3 x2 = Rect(planet.AtOffset(xp - tau / planet.halfSpanDays));
    const Coord3 place = RectToSph({x2.x - e2.x, x2.y - e2.y, x2.z - e2.z}, true);
    return {place.x, place.y, delta};
}

Coord3 ApparentPlace(const ApparentFrame& frame, Coord3 p) {
    FK5Correction(frame.jd, p);
    p.x += frame.dpsi;
    EclToEqu(p, frame.eps);
    p.x = Norm360(p.x);
    return p;
}

double EquinoxOffset(const ApparentFrame& frame, const PoleFrame& pole) {
    double d = SiderealTime2006(frame.jd, pole) - SiderealTimeAt(frame.jd, frame, 0.0);
    if (d > 180.0) d -= 360.0;
    if (d < -180.0) d += 360.0;
    return d;
}

Coord3 EquatorialOfDate(const Vector3& gcrs, const PoleFrame& pole, double equinoxOffset) {
    const Vector3 v = Apply(pole.npb, gcrs);
    const double ra = Norm360(RadToDeg(Atan2(v.y, v.x)) - equinoxOffset);
    return {ra, RadToDeg(Atan2(v.z, std::sqrt(v.x * v.x + v.y * v.y))), std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z)};
}

Coord3 MoonApparentPlace(const ApparentFrame& frame) {
    const double jd = frame.jd;
    Vector3 now;
    if (!MoonGeocentric(jd, now)) return ApparentPlace(frame, MoonPosition(jd));
    const double km = std::sqrt(now.x * now.x + now.y * now.y + now.z * now.z);
    // The Moon where it was when the light left it, seen from the Earth's centre now:
    // the Earth's own motion in that time and the aberration of its velocity cancel
    // to 1e-8 of the distance, leaving the Moon's motion relative to the Earth.
    Vector3 then;
    MoonGeocentric(jd - km / kKmPerAuMoon * kLightTimeDaysPerAu, then);
    const PoleFrame pole = PoleFrameAt(jd);
    Coord3 p = EquatorialOfDate(then, pole, EquinoxOffset(frame, pole));
    p.z = km / kKmPerAuMoon;
    return p;
}

Coord3 BodyPosition(const EphemerisInstant& at, int body) {
    const double jd = at.Jd();
    if (body < kBodySun || body > kBodyMoon) return HeliocentricPosition(body, jd);  // reports it once
    Coord3 p;
    if (body == kBodyMoon) return MoonApparentPlace(at.Frame());
    if (body == kBodySun) p = GeometricPlace(at.Earth(), at.Earth(), body, jd);
    else if (body == kBodyEarth) p = GeometricPlace(at.Earth(), at.Earth(), body, jd);
    else p = GeometricPlace(at.Earth(), InstantExpansion(body, jd), body, jd);
    return ApparentPlace(at.Frame(), p);
}

Coord3 BodyPosition(double jd, int body) {
    const EphemerisInstant at(jd);
    return BodyPosition(at, body);
}
