#include "core/mBodyPosition.h"

#include <cmath>

#include "bodies/mMoon.h"
#include "core/mApparent.h"
#include "core/mPlanet.h"

namespace {

// Geocentric ecliptic place of planet body, the Earth and the planet both taken
// at jd - tau; distance the geometric one at jd.
Coord3 PlanetPlace(double jd, int body) {
    const Coord3 e = SphToRect(HeliocentricPosition(kBodyEarth, jd), true);
    const Coord3 x = SphToRect(HeliocentricPosition(body, jd), true);
    const Coord3 g{x.x - e.x, x.y - e.y, x.z - e.z};
    const double delta = std::sqrt(g.x * g.x + g.y * g.y + g.z * g.z);
    const double tau = delta * kLightTimeDaysPerAu;
    const Coord3 e2 = SphToRect(HeliocentricPosition(kBodyEarth, jd - tau), true);
    const Coord3 x2 = SphToRect(HeliocentricPosition(body, jd - tau), true);
    const Coord3 place = RectToSph({x2.x - e2.x, x2.y - e2.y, x2.z - e2.z}, true);
    return {place.x, place.y, delta};
}

Coord3 SunPlace(double jd) {
    const double r = HeliocentricPosition(kBodySun, jd).z;
    const Coord3 p = HeliocentricPosition(kBodySun, jd - r * kLightTimeDaysPerAu);
    return {p.x, p.y, r};
}

}  // namespace

Coord3 BodyPosition(double jd, int body) {
    if (body < kBodySun || body > kBodyMoon) return HeliocentricPosition(body, jd);  // reports it once
    Coord3 p;
    if (body == kBodyMoon) p = MoonPosition(jd);
    else if (body == kBodySun) p = SunPlace(jd);
    else p = PlanetPlace(jd, body);
    FK5Correction(jd, p);
    p.x += Nutation(jd, 0);
    EclToEqu(p, Obliquity(jd, true));
    p.x = Norm360(p.x);
    return p;
}
