// Computed altitude and azimuth of an apparent place seen from a position.
#pragma once
#include "core/mMath.h"

// Given: jd TT Julian date; place (alpha, delta, distance) apparent, of date,
// degrees and AU; lat, lon the observer, degrees north and east.
// Returned: (azimuth from north through east [0, 360), computed altitude Hc, the
// place's distance unchanged), degrees. Includes the diurnal aberration (0.32" at
// most) of the observer at lat.
Coord3 AltAzimuth(double jd, const Coord3& place, double lat, double lon);
// The same from the local apparent sidereal time lst = SiderealTime(jd, lon),
// degrees, for many places at one instant (bit for bit AltAzimuth's result).
Coord3 AltAzimuthAt(double lst, const Coord3& place, double lat);
// Given: h local hour angle, degrees (west positive); place (alpha, delta).
// lat, the observer's latitude, degrees.
// Effect: adds the diurnal aberration of an observer at lat (k = 1.5472e-6 rad);
// at delta = +-90 exactly alpha is left unchanged.
void DiurnalAberration(double h, Coord3& place, double lat);
