// Angle and numeric helpers. Every interface of the program carries angles in
// degrees; radians occur only inside these helpers and inside the series.
#pragma once

struct Coord3 {
    double x = 0.0;  // longitude, right ascension or azimuth; or rectangular x
    double y = 0.0;  // latitude, declination or altitude; or rectangular y
    double z = 0.0;  // radius / distance; or rectangular z
};

// Given: x degrees.  Returned: radians (x * atan(1) / 45).
double DegToRad(double x);
// Given: x radians.  Returned: degrees (x * 45 / atan(1)).
double RadToDeg(double x);
// Trigonometric functions of an angle in degrees.
double SinD(double x);
double CosD(double x);
double TanD(double x);
// Given: x degrees.  Returned: x reduced to [0, 360); -30 gives 330.
double Norm360(double x);
// Given: x degrees.  Returned: x reduced to (-180, 180]; 190 gives -170, -180 gives
// 180. A value already in range comes back unchanged, bit for bit.
double Norm180(double x);
// Given: y, x (y first).  Returned: radians in (-pi/2, 3pi/2): atan(y/x), plus pi
// when x < 0; 0 for (0, 0); +-pi/2 by the sign of y when x = 0.
// Callers that need a full circle pass the result in degrees through Norm360.
double Atan2(double y, double x);
// Given: x in [-1, 1].  Returned: radians in [-pi/2, pi/2].  Rounding excess up
// to 1e-12 beyond +-1 is clamped; a larger excess throws ArithmeticFault.
double ArcSin(double x);
// Given: x in [-1, 1].  Returned: radians in [0, pi]; clamping as ArcSin.
double ArcCos(double x);
// Rectangular (x, y, z) to spherical (longitude, latitude, radius). Longitude is
// left in (-90, 270) degrees (or radians equivalent), not reduced; radius never
// converted.
Coord3 RectToSph(const Coord3& v, bool toDegrees);
// Spherical (longitude, latitude, radius) to rectangular.
Coord3 SphToRect(const Coord3& s, bool fromDegrees);

// Floor division and modulo for integers of either sign.
long long FloorDiv(long long a, long long b);
