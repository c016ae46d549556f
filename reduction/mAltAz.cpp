#include "reduction/mAltAz.h"

#include <cmath>

#include "core/mTime.h"

namespace {
constexpr double kDiurnalRad = 1.5472e-6;  // Earth's rotation speed at the equator / c
}

void DiurnalAberration(double h, Coord3& place, double lat) {
    const double phi = lat;
    double da = 0.0;
    if (std::fabs(place.y) != 90.0) da = RadToDeg(kDiurnalRad * CosD(phi) * CosD(h) / CosD(place.y));
    const double dd = RadToDeg(kDiurnalRad * CosD(phi) * SinD(h) * SinD(place.y));
    place.x += da;
    place.y += dd;
}

Coord3 AltAzimuth(double jd, const Coord3& place, double lat, double lon) {
    return AltAzimuthAt(SiderealTime(jd, lon), place, lat);
}

Coord3 AltAzimuthAt(double lst, const Coord3& place, double lat) {
    const double t = lst - place.x;
    Coord3 p = place;
    DiurnalAberration(t, p, lat);
    const double h = t - (p.x - place.x);
    const double dec = p.y;
    Coord3 r;
    r.x = Norm360(RadToDeg(Atan2(SinD(h), CosD(h) * SinD(lat) - CosD(lat) * TanD(dec))) + 180.0);
    r.y = RadToDeg(ArcSin(SinD(lat) * SinD(dec) + CosD(lat) * CosD(dec) * CosD(h)));
    r.z = place.z;
    return r;
}
