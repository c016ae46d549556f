// The apparent geocentric place of the Sun, the Moon or a planet: the one service
// every window asks for a solar-system body.
#pragma once
#include "core/mMath.h"

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
// being carried by the retarded Earth. Moon: MoonPosition (about 10"), no light time.
// A body outside 0..9 reports "Invalid planet index!"; body 3 is meaningless.
Coord3 BodyPosition(double jd, int body);
