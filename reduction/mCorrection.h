// Altitude corrections: refraction, its temperature and pressure part, dip of the
// sea horizon, parallax in altitude and semidiameter. All results in degrees; the
// caller adds or subtracts them.
#pragma once

// Given: h apparent altitude, degrees.  Returned: mean refraction for 10 C and
// 1010 mB, degrees. Four branches that meet within 0.3": below -0.575 deg
// -20.774"/tan h; to 5 deg the polynomial 1735 - 518.2h + 103.4h^2 - 12.79h^3 +
// 0.711h^4 arcsec; to 15 deg 58.1"/tan h - 0.07"/tan^3 h + 0.000086"/tan^5 h; above,
// 0.9716' cot h - 0.0011' cot^3 h (Bennett-style; about 0.1' at 5 deg and above).
double Refraction(double h);
// Given: r, a mean refraction, degrees.  Returned: the extra refraction of the air
// of NavigationState Temp (C) and Pressure (mB): r * (283/(273+T) * P/1010 - 1).
// Zero at 10 C and 1010 mB, positive in cold or dense air; the total is r + tp.
double RefractionTP(double r);
// Given: height of eye, metres (>= 0).  Returned: dip 1.766' * sqrt(height), degrees.
// A negative height throws ArithmeticFault.
double Dip(double height);
// Given: distance, AU (Earth centre to body); h altitude, degrees.
// Returned: parallax in altitude HP * cos h, degrees (equatorial radius 6378.137 km).
// A distance below one Earth radius throws ArithmeticFault.
double Parallax(double distance, double h);
// Given: body, a BodyId 0..9; distance, AU.  Returned: semidiameter, degrees, as
// half the diameter over the distance. 0 for the Earth (3) and any other id.
double SemiDiameter(int body, double distance);

// Kilometres in one astronomical unit and the Earth's equatorial radius.
inline constexpr double kKmPerAU = 149597870.691;
inline constexpr double kEarthRadiusKm = 6378.137;
