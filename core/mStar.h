// The star catalogue (Data/star.bin): 287 stars, the Greek letters and the
// constellations, with star names and apparent star places.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/mApparent.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPrecessionNutation.h"

inline constexpr int kStarCount = 287;
inline constexpr int kGreekLetterCount = 24;
inline constexpr int kConstellationCount = 88;

// One star. Texts are UTF-8 in memory (Latin-1 in the file).
struct StarRecord {
    std::int16_t Number = 0;     // catalogue number (Bright Star Catalogue HR): the key of every list
    std::int16_t NavNumber = 0;  // >= 1: in the navigational star list (57 stars and Polaris 58)
    std::int16_t MaeNumber = 0;  // >= 1: in the second list (the compass window's stars)
    std::string Bayer;           // 4 characters: Greek abbreviation padded to 3, superscript digit or space
    std::string Constellation;   // 3 characters: IAU abbreviation
    std::string Name;            // proper name; empty when none
    double RA = 0;               // degrees, ICRS/J2000 at epoch J2000.0
    double Dec = 0;              // degrees
    double PmRA = 0;             // arcsec of right ascension per Julian century (not times cos dec)
    double PmDec = 0;            // arcsec per Julian century
    double StarParallax = 0;     // arcsec, as stored; carried through StarPosition unchanged
    double Magnitude = 0;        // visual magnitude
    double RadialVelocity = 0;   // km/s, positive receding
};

struct GreekLetterRecord {
    std::string SymbolChar;  // the letter's key in the Symbol font ("a" alpha)
    std::string LetterName;  // "Alpha" .. "Omega"
};

struct ConstellationRecord {
    std::string Abbreviation;  // 3 characters, "UMi"
    std::string Name1;         // Latin name, "Ursa Minor"
    std::string Name2;         // English name, "Little Bear"
    std::string Name3;         // IAU abbreviation
    std::string Name4;         // genitive, "Ursae Minoris": what star names show
};

// The tables, indexed from 1 (element 0 is never filled): Stars[1..287],
// GreekLetters[1..24], Constellations[1..88]. Filled by LoadStarFile, read-only
// afterwards; records that the file does not reach stay empty (numbers 0, texts "").
extern std::array<StarRecord, kStarCount + 1> Stars;
extern std::array<GreekLetterRecord, kGreekLetterCount + 1> GreekLetters;
extern std::array<ConstellationRecord, kConstellationCount + 1> Constellations;

// Given: nothing.  Reads DataFilePath("star.bin") into the three tables (cleared
// first). Returned: Fail naming the file and the fault, with the tables left
// empty, when it is missing or unreadable, ends before the last of the 287 stars,
// 24 Greek letters and 88 constellations, or holds a star no catalogue has (a
// number below 1, a right ascension outside [0, 360), a declination beyond 90,
// a parallax outside 0..1", a magnitude outside -2..15, a proper motion beyond
// 10^6"/century, a radial velocity beyond 1000 km/s, any value not finite). Never reads past the file's bytes,
// whatever the lengths in it say.
LoadStatus LoadStarFile();
// The same from an explicit path (tests, tools).
LoadStatus LoadStarFile(const std::string& path);
// The same from bytes in memory; label names the file in messages.
LoadStatus LoadStarBytes(const std::uint8_t* data, std::size_t size, const std::string& label);

// Given: number, a star number.  Returned: the first index 1..287 whose Number
// equals it; 0 when none does.
int StarIndex(int number);

// Given: index 1..287.  Returned: "<Greek letter> <constellation genitive>",
// then " (<name>)" when the star has one: "Alpha Ursae Minoris (Polaris)". The
// letter is the first GreekLetters name containing the star's Bayer abbreviation
// (case-insensitive); the constellation the first whose Abbreviation equals the
// star's (case-insensitive). A missing part is empty; the single space stays. A
// star without a Bayer letter gets no letter. Index out of range: "".
std::string StarName(int index);

// Given: jd, TT Julian date; number, a star number.
// Returned: apparent right ascension (degrees, in (-90, 270), not reduced) and
// declination (degrees), true equator and equinox of date; third field the star's
// StarParallax bit for bit. The catalogue place carried rigorously to jd: space
// motion from the proper motions, parallax and radial velocity; parallax from the
// Earth's barycentric position; the Sun's light deflection; aberration in full
// (relativistic) with the Earth's barycentric velocity (VSOP87D, the Sun's motion
// about the barycentre from Jupiter to Neptune); IAU 2006 precession with frame bias
// and IAU 2000B nutation (core/mPrecessionNutation.h); the right ascension referred
// to the equinox of the program's sidereal time. Accuracy: a few milliarcseconds
// against the Swiss Ephemeris 1900-2100 (the catalogue's own errors aside). A number
// not in the catalogue gives (0, 0, 0).
Coord3 StarPosition(double jd, int number);
// What the places of every star at one instant share, computed once.
struct StarFrame {
    ApparentFrame frame;   // the program's nutation and obliquity (IAU 1980)
    PoleFrame pole;        // bias, precession and nutation, IAU 2006/2000B
    double equinoxOffset = 0.0;  // degrees: EquinoxOffset of the instant
    Vector3 earth;         // the Earth's barycentric position, AU, true equator of date
    Vector3 velocity;      // its barycentric velocity over the speed of light
    Vector3 sunToEarth;    // unit vector from the Sun to the Earth
    double sunDistance = 1.0;  // AU
};
StarFrame StarFrameAt(double jd);
// The same as StarPosition for the star record s with the frame of the instant at
// hand: bit for bit StarPosition(jd, s.Number) for a star found by its number. The
// star map reduces every star with one frame.
Coord3 StarPlaceAt(const StarFrame& frame, const StarRecord& s);
