// The Moon's geometric geocentric position: ELP-2000/82 truncated to the 60 + 60
// periodic terms of its published abridgement (Meeus, Astronomical Algorithms,
// Tables 47.A and 47.B), mean arguments of the first edition (chapter 45).
#pragma once
#include <cstddef>
#include <cstdint>

#include "core/mMath.h"

// Given: jd, TT Julian date.
// Returned: ecliptic longitude [0, 360) and latitude in degrees, mean ecliptic and
// equinox of date; distance Earth centre to Moon centre in AU.
// Accuracy: about 10" in longitude, 4" in latitude (the abridgement's own limit);
// see the reference test for the measured figures 1900-2100.
Coord3 MoonPosition(double jd);

// The term tables, for checks against the published tables.
// Longitude and distance: multipliers of D, M, M', F; sine coefficient of the
// longitude (1e-6 degree), cosine coefficient of the distance (0.001 km).
struct MoonTermLR {
    std::int8_t d, m, mp, f;
    std::int32_t l, r;
};
// Latitude: multipliers of D, M, M', F; sine coefficient (1e-6 degree).
struct MoonTermB {
    std::int8_t d, m, mp, f;
    std::int32_t b;
};
const MoonTermLR* MoonTableA(std::size_t& rows);
const MoonTermB* MoonTableB(std::size_t& rows);
