// The planetary theory: the periodic series of Data/planet.bin (VSOP87 version D,
// truncated) and the heliocentric positions of the planets and the geocentric Sun.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/mFiles.h"
#include "core/mMath.h"

// One periodic term A cos(B + C tau): A in radians (L, B) or AU (R), B radians,
// C radians per Julian millennium.
struct SeriesTerm {
    double A = 0, B = 0, C = 0;
};

// One block of planet.bin. Counts[p][k]: terms of power p (0..5) for coordinate
// k (0 = L, 1 = B, 2 = R); each term array holds power 0 first, then 1, ... 5.
struct PlanetSeries {
    std::string Name;  // block name as stored, trailing spaces removed; "Sun-Earth" for the Earth
    std::array<std::array<std::int32_t, 3>, 6> Counts{};
    std::vector<SeriesTerm> LTerms, BTerms, RTerms;
};

inline constexpr int kPlanetRecords = 9;  // Mercury .. Neptune and a ninth, unused record

// Given: nothing.  Returned: Ok, or Fail with a message naming the file and the
// fault. Reads DataFilePath("planet.bin") into the planet table. On any fault
// (missing, unreadable, empty, fewer than eight blocks, counts that are negative,
// beyond 32767 terms per coordinate or promising more bytes than remain, a term
// that is not finite or whose amplitude exceeds 1e5 or frequency 1e6 rad per
// millennium) the table is left empty and every position comes out as (0, 0, 0).
LoadStatus LoadPlanetData();
// The same from an explicit path (tests, tools).
LoadStatus LoadPlanetData(const std::string& path);
// The same from bytes in memory; label names the file in messages. Never reads
// outside [data, data + size).
LoadStatus LoadPlanetBytes(const std::uint8_t* data, std::size_t size, const std::string& label);
// The table, index 0 Mercury .. 7 Neptune, 8 the ninth record (empty when the
// file has eight blocks).
const std::array<PlanetSeries, kPlanetRecords>& PlanetTable();

// Given: index, a BodyId (0 the geocentric Sun from the Earth's series, 1 Mercury,
//        2 Venus, 3 Earth, 4 Mars .. 8 Neptune, 9 the ninth record); jd, TT.
// Returned: heliocentric (geocentric for 0) ecliptic longitude [0, 360) and
// latitude in degrees, radius in AU, mean ecliptic and equinox of date (VSOP87D,
// Bretagnon & Francou 1988). The file's truncation keeps the heliocentric error
// within 0.1" of the full series 1900-2100. An index outside 0..9 reports
// "Invalid planet index!" (title "Error") through ReportError and returns (0, 0, 0).
Coord3 HeliocentricPosition(int index, double jd);

// A heliocentric position as polynomials in time over a span, from one pass over
// the series: each term A cos(B + C tau) is expanded about the middle of the span,
// A cos(phi0 + z x) = A sum_j z^j x^j / j! cos(phi0 + j pi/2), z = C h, so one sine
// and cosine per term serve every instant of the span; the powers tau^p are
// multiplied out exactly. Used for the light time of every body position and for
// the fits of consecutive hours (core/mEphemerisFit.h). Terms that share a
// frequency share that sine and cosine (cos(B + C tau) by the addition theorem),
// so a planet costs one sine and cosine per distinct frequency (about 2 in 5 of
// its terms).
inline constexpr int kMaxExpansionOrder = 12;
struct HeliocentricExpansion {
    double jdMid = 2451545.0;  // TT Julian date of x = 0
    double halfSpanDays = 1.0;  // days of x = 1
    int order = 0;              // degree of the polynomials
    bool loaded = false;        // false: the record has no terms (every value 0)
    // Coefficients of x^j for L, B (radians, L not reduced) and R (AU).
    std::array<std::array<double, kMaxExpansionOrder + 1>, 3> c{};

    // Given: jd TT.  Returned: (L, B, R) in radians, radians, AU; L not reduced.
    Coord3 At(double jd) const { return AtOffset((jd - jdMid) / halfSpanDays); }
    // The same at x = (jd - jdMid) / halfSpanDays.
    Coord3 AtOffset(double x) const;
};

// Given: body, a BodyId 1..9 (3 the Earth); jdMid TT; halfSpanDays > 0; order
//        0..kMaxExpansionOrder, or kAutoExpansionOrder.
// Returned: the expansion of the body's heliocentric L, B, R about jdMid, good for
// |jd - jdMid| <= halfSpanDays. Its truncation error is below the sum over the
// terms of |A| (|C| h)^(n+1)/(n+1)! (h the half span in millennia, n the order);
// kAutoExpansionOrder takes the lowest order that keeps that bound below 1e-14
// rad (or AU), up to kMaxExpansionOrder (a day: order 4 to 8). A body outside
// 1..9: an empty expansion (every value 0).
inline constexpr int kAutoExpansionOrder = -1;
HeliocentricExpansion ExpandHeliocentric(int body, double jdMid, double halfSpanDays, int order);

// The nine display names "Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn",
// "Uranus", "Neptune", "Moon": list index k is BodyId k for k <= 2, k + 1 for k >= 3.
const std::vector<std::string>& BodyNames();
