// Apparent place: obliquity, nutation, the frame correction of the planetary
// theory, ecliptic <-> equatorial, first-order precession and annual aberration.
// Angles in degrees; times are TT Julian dates.
#pragma once
#include "core/mMath.h"

// Given: jd TT; withNutation.  Returned: mean obliquity of the ecliptic (Laskar
// 1986, 0.01" over 1000 years of J2000), plus the nutation in obliquity when
// withNutation (true obliquity), degrees.
double Obliquity(double jd, bool withNutation);
// Given: jd TT; which: 0 = in longitude, any other = in obliquity.
// Returned: dpsi or deps in degrees, IAU 1980 theory, 63-row abridgement (within
// about 0.002" of the full 106-term series 1900-2100).
double Nutation(double jd, int which);
// Given: jd TT.  Returned: both nutations of Nutation, degrees, from one pass over
// the table (bit for bit the values of Nutation(jd, 0) and Nutation(jd, 1)).
struct NutationValues {
    double dpsi = 0.0;  // in longitude
    double deps = 0.0;  // in obliquity
};
NutationValues NutationBoth(double jd);
// What every apparent place at one instant shares, computed once: nutation,
// mean and true obliquity, degrees. Each field equals, bit for bit, the value of
// the single operation named beside it.
struct ApparentFrame {
    double jd = 0.0;    // TT
    double dpsi = 0.0;  // Nutation(jd, 0)
    double deps = 0.0;  // Nutation(jd, 1)
    double eps0 = 0.0;  // Obliquity(jd, false)
    double eps = 0.0;   // Obliquity(jd, true)
};
// Given: jd TT.  Returned: the frame of that instant (one nutation pass).
ApparentFrame FrameAt(double jd);
// Given: jd TT; place (lambda, beta) in degrees, VSOP87 dynamical frame.
// Effect: place converted to FK5 (a correction of about 0.09").
void FK5Correction(double jd, Coord3& place);
// Given: place (lambda, beta); eps obliquity, degrees.  Effect: (alpha, delta),
// alpha left in (-90, 270).
void EclToEqu(Coord3& place, double eps);
// Given: place (alpha, delta); eps obliquity, degrees.  Effect: (lambda, beta),
// lambda left in (-90, 270).
void EquToEcl(Coord3& place, double eps);
// Given: jdFrom, jdTo TT; place (alpha, delta) at jdFrom.  Effect: first-order
// precession by the annual rates at jdFrom (about 1" error over 50 years off the
// equator and poles).
void AnnualPrecession(double jdFrom, double jdTo, Coord3& place);
// Given: jd TT; place (alpha, delta) mean equator and equinox of J2000.0.
// Effect: precessed rigorously to the mean equator and equinox of jd (IAU 1976
// angles zeta, z, theta; Astronomical Algorithms 21.2-21.4), valid at the poles;
// alpha left in (-90, 270) + z.
void PrecessFromJ2000(double jd, Coord3& place);
// Given: jd TT; place (alpha, delta, distance).  Effect: annual aberration added
// (amplitude 20.5", low-precision Earth velocity); distance unchanged.
void AnnualAberration(double jd, Coord3& place);

// The same operations with the values that depend on the instant alone computed
// once, for many places at one instant (the star map); each gives, bit for bit,
// the result of the operation above.
struct AngleTrig {
    double deg = 0.0, sin = 0.0, cos = 1.0;  // an angle in degrees, SinD and CosD of it
};
AngleTrig TrigOf(double degrees);
void EclToEqu(Coord3& place, const AngleTrig& eps);
void EquToEcl(Coord3& place, const AngleTrig& eps);
struct PrecessionAngles {
    double zeta = 0.0, z = 0.0;  // degrees
    AngleTrig theta;
};
PrecessionAngles PrecessionFromJ2000(double jd);
void PrecessFromJ2000(const PrecessionAngles& angles, Coord3& place);
// The Sun's mean longitude of the low-precision aberration, degrees [0, 360).
AngleTrig AberrationLongitude(double jd);
void AnnualAberration(const AngleTrig& sunLongitude, Coord3& place);
