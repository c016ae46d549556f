// The apparent geocentric place of the Sun, the Moon or a planet: the one service
// every window asks for a solar-system body.
#pragma once
#include <optional>

#include "core/mApparent.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "core/mPrecessionNutation.h"

// Body numbers (BodyId): 0 Sun, 1 Mercury, 2 Venus, 3 Earth (the observer's planet,
// never a target), 4 Mars, 5 Jupiter, 6 Saturn, 7 Uranus, 8 Neptune, 9 Moon.
enum BodyId : int {
    kBodySun = 0,
    kBodyMercury = 1,
    kBodyVenus = 2,
    kBodyEarth = 3,
    kBodyMars = 4,
    kBodyJupiter = 5,
    kBodySaturn = 6,
    kBodyUranus = 7,
    kBodyNeptune = 8,
    kBodyMoon = 9,
};

// BodyId of the display list index k of BodyNames() (k <= 2: k; k >= 3: k + 1);
// -1 (an invalid index, which BodyPosition reports) for k outside 0..8.
inline int BodyIdOfListIndex(int k) { return k < 0 || k > 8 ? -1 : (k <= 2 ? k : k + 1); }

// Light time for one astronomical unit, days.
inline constexpr double kLightTimeDaysPerAu = 0.00577551830441213;

// Given: jd, TT Julian date; body, a BodyId.
// Returned: apparent right ascension [0, 360) and declination in degrees, true
// equator and equinox of date; geometric geocentric distance at jd in AU.
// Planets and the Sun: VSOP87D (planet.bin) with light time (Earth and planet both
// at jd - tau), FK5 frame correction, IAU 1980 nutation (63 terms), true
// obliquity; about 1" from the Swiss Ephemeris (DE431) 1900-2100, the aberration
// being carried by the retarded Earth. Moon: MoonApparentPlace (within 0.1" of the
// Swiss Ephemeris 1900-2100; the abridged series outside the span of moon.bin).
// The places at jd - tau come from one pass over each series (an expansion about
// jd, HeliocentricExpansion), within 1e-9" of summing the series again at jd - tau.
// A body outside 0..9 reports "Invalid planet index!"; body 3 is meaningless.
Coord3 BodyPosition(double jd, int body);

// What the places of every body at one instant share, computed once: the
// nutation and obliquity (ApparentFrame) and the Earth's heliocentric expansion
// about jd (on first use). BodyPosition(at, body) for several bodies at the same
// instant gives, bit for bit, what BodyPosition(jd, body) gives for each alone.
class EphemerisInstant {
public:
    explicit EphemerisInstant(double jd) : frame_(FrameAt(jd)) {}
    double Jd() const { return frame_.jd; }
    const ApparentFrame& Frame() const { return frame_; }
    const HeliocentricExpansion& Earth() const;

private:
    ApparentFrame frame_;
    mutable std::optional<HeliocentricExpansion> earth_;
};
Coord3 BodyPosition(const EphemerisInstant& at, int body);

// The steps of BodyPosition, for the fits of consecutive hours (core/mEphemerisFit.h).
// Given: earth and (for a planet) planet, expansions that cover jd and jd less the
// light time; body 0..2, 4..8; jd TT.
// Returned: geometric geocentric ecliptic longitude and latitude of jd - tau
// (degrees, mean equinox of date) and the geometric distance at jd (AU).
Coord3 GeometricPlace(const HeliocentricExpansion& earth, const HeliocentricExpansion& planet, int body, double jd);
// Given: frame of the instant; p, a geometric ecliptic place (lambda, beta, distance).
// Returned: apparent (alpha [0, 360), delta, distance): FK5 correction, nutation in
// longitude, true obliquity.
Coord3 ApparentPlace(const ApparentFrame& frame, Coord3 p);
// Kilometres in one astronomical unit (IAU 2012).
inline constexpr double kKmPerAuMoon = 149597870.7;
// Given: frame of the instant (FrameAt(jd), jd TT).
// Returned: the Moon's apparent right ascension [0, 360) and declination, degrees,
// true equator and equinox of date, and its geometric distance at jd in AU (what the
// horizontal parallax and semidiameter come from). From Data/moon.bin (ELP/MPP02):
// the geocentric place at jd less the light time, IAU 2006 precession and IAU 2000B
// nutation (PoleFrameAt), the right ascension referred to the equinox of the
// program's sidereal time (EquinoxOffset, a few hundredths of an arc second) so that
// SiderealTime - alpha is the hour angle of the IAU 2006 system. Outside the file's
// span (or with no file loaded) the abridged series (MoonPosition) as the planets.
Coord3 MoonApparentPlace(const ApparentFrame& frame);
// Given: frame and pole of one instant.  Returned: SiderealTime2006 less the
// program's SiderealTime at that instant taken as UT, degrees.
double EquinoxOffset(const ApparentFrame& frame, const PoleFrame& pole);
// Given: gcrs, a vector in ICRS axes; pole of the instant; equinoxOffset degrees.
// Returned: (alpha [0, 360), delta, length): the vector on the true equator of date,
// alpha less equinoxOffset.
Coord3 EquatorialOfDate(const Vector3& gcrs, const PoleFrame& pole, double equinoxOffset);
// Half span (days) and order of the expansions that BodyPosition takes about jd.
inline constexpr double kInstantExpansionHalfSpanDays = 1.0;
inline constexpr int kInstantExpansionOrder = 3;
