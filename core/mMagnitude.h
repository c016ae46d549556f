// The visual magnitude of a planet or the Moon: the one place every window (the
// daily pages, the sight plan, the star map and its marks) takes it from.
#pragma once

// Given: body, a BodyId (1 Mercury, 2 Venus, 4 Mars .. 8 Neptune, 9 Moon); phaseDeg,
//        the phase angle Sun-body-Earth, degrees; r, delta, the body's distance
//        from the Sun and from the Earth, AU (the Moon's r is unused);
//        ringEarthDeg, ringSunDeg, Saturn's ring tilt seen from the Earth (B) and
//        from the Sun (B'), planetocentric latitudes, degrees (other bodies: unused).
// Returned: visual magnitude V. The planets by Mallama & Hilton (2018), "Computing
// apparent planetary magnitudes for The Astronomical Almanac", Astronomy and
// Computing 25, 10-24, the formulas of the Almanac's magnitudes: Mercury, Venus (its
// two branches of phase angle), Mars (without the small terms of its rotation and
// season), Jupiter, Saturn with its rings at the mean tilt |B + B'| / 2 (to a phase
// angle of 6.5 degrees, more than the Earth ever sees; the globe alone beyond), Uranus (without its sub-latitude term, 0.07 at most) and
// Neptune (as after 2000). The Moon: V = -12.73 + 0.026 |i| + 4e-9 i^4 (Allen,
// Astrophysical Quantities), delta in AU scaled from its mean distance. NaN for the
// Sun, the Earth and any other id.
double MagnitudeFromGeometry(int body, double phaseDeg, double r, double delta, double ringEarthDeg,
                             double ringSunDeg);

// Given: body, a BodyId as above; jd, TT Julian date.
// Returned: its visual magnitude at jd, MagnitudeFromGeometry of the geometric
// heliocentric places of the body and the Earth (the planetary series, no light
// time) and Saturn's pole (Meeus, Astronomical Algorithms ch. 45). Within 0.01 of
// the Swiss Ephemeris 2.10 (the same formulas on DE431 places) 2000-2040 for Mercury
// to Saturn (tests/data/magnitude_reference.csv); NaN for the Sun, the Earth and any
// other id.
double PlanetMagnitude(int body, double jd);
