// The Moon's geometric geocentric position.
//
// Data/moon.bin: the lunar theory ELP/MPP02 (Chapront & Francou 2003, fitted to
// DE405) as Chebyshev coefficients of the geocentric rectangular position over
// consecutive spans of days, 1899-12-28 to 2101-01-07 TT (written by
// tools/make_data_files from data/elpmpp02.csv; see data/README.md). Outside that
// span, and when the file is not loaded, the published abridgement below.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPrecessionNutation.h"

// Given: nothing.  Reads DataFilePath("moon.bin"). Returned: Fail naming the file
// and the fault, with nothing kept, when it is missing or unreadable, its header is
// not that of a Moon file (8 bytes "VELMOON1", int32 spans 1..200000, int32
// coefficients per coordinate 2..32, double first TT Julian date, double span in
// days 0.25..64), its length is not that the header promises, or a coefficient is
// not finite or beyond 1e6 km, or a span puts the Moon nearer than 340,000 km or
// farther than 420,000 km. Never reads past the file's bytes.
LoadStatus LoadMoonFile();
LoadStatus LoadMoonFile(const std::string& path);
LoadStatus LoadMoonBytes(const std::uint8_t* data, std::size_t size, const std::string& label);
// True when the file is loaded and covers jd (TT).
bool MoonFileCovers(double jd);

// Given: jd TT.  Returned: true and km, the geometric geocentric position of the
// Moon in km, axes of the ICRS (equator and equinox of J2000.0), when the file
// covers jd; false (km untouched) otherwise. Within 0.001" of the series it was
// fitted to, which is within 0.01" of the full ELP/MPP02.
bool MoonGeocentric(double jd, Vector3& km);

// The published abridgement: ELP-2000/82 truncated to the 60 + 60 periodic terms
// (Meeus, Astronomical Algorithms, Tables 47.A and 47.B), mean arguments of the
// first edition (chapter 45); the Moon outside the span of the file.

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
