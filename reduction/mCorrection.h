// Altitude corrections: refraction, its temperature and pressure part, dip of the
// sea horizon, parallax in altitude and semidiameter. All results in degrees; the
// caller adds or subtracts them.
#pragma once
#include "core/mWorkingData.h"

// What the corrections of an altitude take from the working data: the height of
// eye above the sea (metres) and the air (degrees Celsius, millibars).
struct Horizon {
    double HeightOfEye = 15.0;
    double TempC = 10.0;
    double PressureMb = 1010.0;
};
// The horizon of the working data (hEye, Temp, Pressure).
inline Horizon HorizonOf(const NavigationStateRecord& w) { return Horizon{w.hEye, w.Temp, w.Pressure}; }

// Given: h apparent altitude, degrees.  Returned: mean refraction for 10 C and
// 1010 mB, degrees. Four branches that meet within 0.3": below -0.575 deg
// -20.774"/tan h; to 5 deg the polynomial 1735 - 518.2h + 103.4h^2 - 12.79h^3 +
// 0.711h^4 arcsec; to 15 deg 58.1"/tan h - 0.07"/tan^3 h + 0.000086"/tan^5 h; above,
// 0.9716' cot h - 0.0011' cot^3 h (Bennett-style; about 0.1' at 5 deg and above).
double Refraction(double h);
// Given: r, a mean refraction, degrees; tempC, air temperature, degrees Celsius;
// pressureMb, air pressure, millibars.
// Returned: the extra refraction of that air: r * (283/(273+T) * P/1010 - 1),
// degrees. Zero at 10 C and 1010 mB, positive in cold or dense air; the total is r + tp.
double RefractionTP(double r, double tempC, double pressureMb);
// Given: height of eye, metres (>= 0).  Returned: dip 1.766' * sqrt(height), degrees.
// A negative height throws ArithmeticFault.
double Dip(double height);
// Given: distance, AU (Earth centre to body); h, the body's topocentric airless
// altitude, degrees. Returned: parallax in altitude asin(sin HP cos h), degrees, with
// the horizontal parallax HP = asin(6378.137 km / distance) (spherical Earth).
// A distance below one Earth radius throws ArithmeticFault.
double Parallax(double distance, double h);
// Given: body, a BodyId 0..9; distance, AU.  Returned: semidiameter, degrees, as
// half the diameter over the distance. 0 for the Earth (3) and any other id.
double SemiDiameter(int body, double distance);

// The reduction of one sextant altitude to the observed (geocentric airless) altitude
// of the body's centre, every step in degrees as the details report shows it.
struct AltitudeCorrections {
    double Dip = 0.0;       // dip of the horizon
    double H = 0.0;         // Hs + i_s - dip: apparent altitude of the observed limb or centre
    double Refr = 0.0;      // mean refraction at H
    double TP = 0.0;        // its temperature and pressure part (RefractionTP)
    double SemiD = 0.0;     // + lower limb, - upper limb; the Moon's augmented; 0 for planets and stars
    double Parallax = 0.0;  // parallax in altitude at the centre's topocentric altitude
    double Ho = 0.0;        // H - Refr - TP + SemiD + Parallax
};

// Given: hs, sextant altitude, degrees; indexArcmin, index correction i_s, arc
// minutes; horizon, the height of eye (for the dip) and the air (for the refraction's
// temperature and pressure part); body, the BodyId 0..9, or -1 for
// a star; distance, AU (unused for a star); lowerLimb, the lower limb was observed
// (the upper one otherwise; used for the Sun and the Moon only).
// Returned: the corrections and Ho. Refraction is taken at the apparent altitude H;
// the Sun and the Moon get their semidiameter for the limb, the Moon's augmented to
// the topocentric value SD (1 + sin HP sin h'); the Sun, the Moon and the planets get
// the parallax asin(sin HP cos h') at the centre's topocentric altitude h' = H - Refr
// - TP + SemiD. Planets and stars are observed at their centre. Against the Nautical
// Almanac's Moon and Sun tables within their 0.1' (the Moon's lower part is tabulated
// for 5-degree bands of altitude: 0.15').
AltitudeCorrections CorrectSextantAltitude(double hs, double indexArcmin, const Horizon& horizon, int body,
                                           double distance, bool lowerLimb);

// Given: ho, the observed (geocentric airless) altitude of the centre, degrees;
// horizon, body, distance and lowerLimb as above.
// Returned: the sextant altitude (zero index correction) that CorrectSextantAltitude
// turns into ho, within 1e-9 degrees (a few fixed-point steps).
double SextantAltitudeFor(double ho, const Horizon& horizon, int body, double distance, bool lowerLimb);

// Kilometres in one astronomical unit and the Earth's equatorial radius.
inline constexpr double kKmPerAU = 149597870.691;
inline constexpr double kEarthRadiusKm = 6378.137;
