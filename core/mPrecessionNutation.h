// The celestial pole and equinox to the accuracy of the IAU 2006 precession and the
// IAU 2000B nutation: the rotation from the GCRS (ICRS axes, J2000.0) to the true
// equator and equinox of date, and the Greenwich sidereal time that goes with it.
// Used for the Moon and the stars, whose places are wanted to a few milliarcseconds
// (Polaris' hour angle magnifies an error on the sky about 90 times).
#pragma once

struct Matrix3 {
    double m[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};
struct Vector3 {
    double x = 0.0, y = 0.0, z = 0.0;
};
Vector3 Apply(const Matrix3& r, const Vector3& v);        // r v
Vector3 ApplyTransposed(const Matrix3& r, const Vector3& v);  // r^T v

// Given: jd TT.  Returned: the IAU 2000B nutation (McCarthy & Luzum 2003: 77
// luni-solar terms and the fixed offsets for the planetary terms, within 1 mas of
// IAU 2000A 1900-2100), degrees.
struct Nutation2000 {
    double dpsi = 0.0;  // in longitude
    double deps = 0.0;  // in obliquity
};
Nutation2000 Nutation2000B(double jd);

// What the places at one instant share.
struct PoleFrame {
    double jd = 0.0;       // TT
    double epsA = 0.0;     // IAU 2006 mean obliquity, degrees
    Nutation2000 nut;      // degrees
    Matrix3 npb;           // GCRS -> true equator and equinox of date (bias, precession, nutation)
    double eqEquinoxes = 0.0;  // equation of the equinoxes (IAU 2000), degrees
};
// Given: jd TT.  Returned: the frame of that instant. The bias-precession part uses
// the Fukushima-Williams angles of IAU 2006 (Capitaine & Wallace 2006).
PoleFrame PoleFrameAt(double jd);

// Given: u, UT Julian date; frame, PoleFrameAt of (about) u.  Returned: Greenwich
// apparent sidereal time, degrees [0, 360): the Earth rotation angle plus the IAU
// 2006 polynomial and the equation of the equinoxes (IERS Conventions 2010, 5.2; the
// polynomial taken at u rather than TT changes it by 1e-4").
double SiderealTime2006(double u, const PoleFrame& frameU);

