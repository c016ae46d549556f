// The almanac's standing tables, computed from the program's own reduction so that a
// sight worked by hand from them gives the program's observed altitude: the
// increments and corrections, the altitude correction tables (Sun, stars and planets,
// the additional corrections of Venus and Mars, dip, the additional refraction of
// non-standard air, the Moon), the Polaris tables and the conversion of arc to time.
// Every value is held as printed (rounded to 0.1'), so the tables are what a navigator
// reads. Numbers only, no Qt.
#pragma once

#include <array>
#include <string>
#include <vector>

// ------------------------------------------------------------ increments and corrections
// The almanac's hourly rates: Sun and planets 15 deg, Aries the sidereal 15 deg 02.46',
// the Moon 14 deg 19.0' (its v is reckoned against it). Degrees per hour of UT.
inline constexpr double kSunIncrementRate = 15.0;
inline constexpr double kAriesIncrementRate = 360.98564736629 / 24.0;
inline constexpr double kMoonIncrementRate = 14.0 + 19.0 / 60.0;
inline constexpr int kVdRows = 60;     // v or d 0.0 .. 5.9 in each of the three columns
inline constexpr int kVdColumns = 3;   // 0.0-5.9, 6.0-11.9, 12.0-17.9

// One minute of the increments: for seconds 0..60 the increments (degrees, rounded to
// 0.1'), and the v or d corrections (arc minutes, rounded to 0.1') for v = 0.0 .. 17.9
// taken at the middle of the minute, v * (minute + 0.5) / 60.
struct IncrementMinute {
    int minute = 0;
    std::array<double, 61> sunPlanets{}, aries{}, moon{};
    std::array<double, kVdRows * kVdColumns> vdCorr{};  // index: v in tenths
};
IncrementMinute IncrementsFor(int minute);

// ------------------------------------------------------------ altitude corrections
// A critical table: an apparent altitude Ha in [bounds[i], bounds[i+1]) takes
// values[c][i] in column c; the bounds are whole arc minutes (degrees here) and an
// altitude exactly on a bound takes the value above it (the smaller altitude's).
struct CriticalTable {
    std::vector<double> bounds;               // degrees, ascending; size n + 1
    std::vector<std::vector<double>> values;  // per column, n values, arc minutes
    double Lookup(double ha, size_t column) const;
};

// The Sun's half-years, lower and upper limb, for the semidiameter SD (rounded to
// 0.1'); the table is exact for that SD: a day whose SD (the daily pages' foot) differs
// adds the difference for the lower limb and subtracts it for the upper.
struct SunTable {
    std::string months;  // "Oct.-Mar."
    double sd = 16.0;    // arc minutes
    CriticalTable high;  // Ha 10-90 deg; columns 0 lower limb, 1 upper limb
    std::vector<double> lowAlt;        // Ha 0-10 deg, rows to interpolate between (degrees)
    std::vector<double> lowLower, lowUpper;  // arc minutes at those rows
};

// One date range of the additional correction of Venus or Mars: from the first
// apparent altitude listed to the next, add corr (arc minutes).
struct PlanetAdditional {
    int fromMonth = 1, fromDay = 1, toMonth = 12, toDay = 31;  // inclusive
    std::vector<double> fromAlt;  // degrees, whole degrees, ascending, first 0
    std::vector<double> corr;     // arc minutes
};

// The additional refraction for air other than 10 C and 1010 mB: a zone letter for
// every temperature and pressure of the grid (the nearest grid point is taken), then
// for the zone and the apparent altitude the correction, to interpolate between rows.
struct AirTable {
    std::vector<double> temps;      // C, rows of the zone grid
    std::vector<double> pressures;  // mB, columns
    std::vector<std::string> zones; // temps.size() x pressures.size() letters
    std::vector<double> zoneFactor; // per zone: the middle of its band of 283/(273+T) P/1010 - 1
    std::vector<double> alts;       // degrees, rows of the correction table
    std::vector<std::vector<double>> corr;  // [alt][zone], arc minutes, added to the altitude
};

// The Moon: Ho = Ha + F (upper table, interpolated between its 10' rows) + L or U
// (lower table, interpolated for HP between its 0.3' rows and for altitude between
// its 5-degree columns); the upper limb then subtracts 30'.
struct MoonTable {
    std::vector<double> alts;   // the upper table's rows, degrees, 0 to 90 by 10'
    std::vector<double> first;  // F, arc minutes
    std::vector<double> hps;    // the lower table's rows, 54.0 to 61.5 by 0.3, arc minutes
    std::vector<double> cols;   // its columns, 0 to 90 deg by 5
    std::vector<std::vector<double>> lower, upper;  // [hp][col], arc minutes
};

// Dip by height of eye: a height in [heights[i], heights[i+1]) metres (to 30 m) takes
// dip[i] (arc minutes, subtracted); a height on a bound takes the smaller dip. Above
// 30 m, interpolate between the rows highHeights (every 5 m to 100 m) and highDip.
struct DipTable {
    std::vector<double> heights;
    std::vector<double> dip;
    std::vector<double> highHeights, highDip;
};

struct AltitudeTables {
    int year = 2000;
    SunTable sunWinter, sunSummer;  // October-March, April-September
    CriticalTable stars;            // Ha 10-90; one column (-refraction)
    std::vector<double> lowAlt;     // stars and planets 0-10 deg: rows
    std::vector<double> lowStars;   // arc minutes at those rows
    std::vector<PlanetAdditional> venus, mars;
    DipTable dip;
    AirTable air;
    MoonTable moon;
};

// Given: year, 1900..2100. Returned: the altitude correction tables for standard air
// (10 C, 1010 mB) from CorrectSextantAltitude and its parts; the Sun's SD, Venus's
// and Mars's parallax from their places in that year. Accuracy: an altitude worked
// from them (Ha = Hs + IC - dip, Ho = Ha + corrections) agrees with
// CorrectSextantAltitude within 0.1' for a standard sight at Ha 10-90 degrees (each
// reading carries its 0.05' rounding); below 10 deg the interpolation adds up to 0.02'.
// Throws ArithmeticFault for a year beyond the calendar.
AltitudeTables ComputeAltitudeTables(int year);

// ------------------------------------------------------------ Polaris
// Latitude = Ho - 1 deg + a0 + a1 + a2, Ho the observed altitude (the table's sum is
// exact to the model's second order: within 0.2' at latitudes to 68 deg).
// Columns of LHA Aries 0-9, 10-19, ... 350-359 deg.
struct PolarisTables {
    int year = 2000;
    std::array<std::array<double, 10>, 36> a0{};  // [column][LHA within it], arc minutes
    std::vector<double> a1Lats;                   // degrees
    std::vector<std::array<double, 36>> a1;       // [lat][column]
    std::array<std::array<double, 36>, 12> a2{};  // [month][column]
    std::vector<double> azLats;
    std::vector<std::array<double, 36>> azimuth;  // [lat][column], degrees true, 0..360
};
// Given: year. Returned: the tables from Polaris' apparent place on the 15th of each
// month at 0 h UT, a0 at the year's mean place and latitude 50, a1 for the latitude,
// a2 for the month, each taken at the middle of its column.
PolarisTables ComputePolarisTables(int year);
// The exact latitude correction Lat - Ho (arc minutes) of a star at (sha, dec) seen at
// latitude lat (degrees) with LHA Aries lha (degrees); the definition the tables sum.
double PolarisLatitudeCorrection(double lat, double lha, double sha, double dec);

// ------------------------------------------------------------ arc to time
// "0h 04m" for whole degrees, "0m 00s" for minutes of arc: the time the Earth turns through.
std::string ArcToTimeText(double degrees, bool minutesOfArc);

// Text forms of the tables: "10 23.4" degrees and minutes (degrees to width w),
// signed minutes "+0.3" / "-12.1" / "0.0".
std::string TableDegMin(double deg, int width);
std::string TableSigned(double arcmin);
// The table's rounding: to 0.1 arc minute, halves away from zero.
double RoundTenth(double arcmin);
