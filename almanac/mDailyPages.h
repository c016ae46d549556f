// The almanac's daily pages: three days on two facing pages. The left page holds for
// every hour of UT the Greenwich hour angle of Aries and of Venus, Mars, Jupiter and
// Saturn with their declinations, the planets' v, d, magnitude, SHA and meridian
// passage, and the navigational stars; the right page the Sun and the Moon (with the
// Moon's v, d and HP), the twilight, sunrise, sunset, moonrise and moonset table for
// the standard latitudes, and the equation of time, meridian passages, age and phase.
// Numbers only, no Qt: the window layer lays them out and draws them.
#pragma once

#include <array>
#include <atomic>
#include <string>
#include <vector>

#include "core/mTime.h"

inline constexpr int kSpreadDays = 3;
inline constexpr int kSpreadHours = 24 * kSpreadDays;
inline constexpr int kMoonDays = kSpreadDays + 1;  // moonrise and moonset: the spread's days and the following one
inline constexpr int kPagePlanets = 4;  // Venus, Mars, Jupiter, Saturn
inline constexpr std::array<int, kPagePlanets> kPagePlanetIds{2, 4, 5, 6};
inline constexpr std::array<const char*, kPagePlanets> kPagePlanetNames{"VENUS", "MARS", "JUPITER", "SATURN"};

// The standard latitudes of the rise and set table, N72 to S60, degrees.
inline constexpr std::array<double, 31> kTableLatitudes{
    72, 70, 68, 66, 64, 62, 60, 58, 56, 54, 52, 50, 45, 40, 35, 30,
    20, 10, 0, -10, -20, -30, -35, -40, -45, -50, -52, -54, -56, -58, -60};

// The nominal hourly rates of the almanac: v is the excess of a body's hourly change of
// GHA over these. Degrees per hour.
inline constexpr double kNominalRateDeg = 15.0;                    // Sun and planets
inline constexpr double kMoonNominalRateDeg = 14.0 + 19.0 / 60.0;  // 14 deg 19.0'

// One hour of the pages. Angles in degrees, v, d in minutes of arc per hour.
struct SpreadHour {
    double aries = 0;
    std::array<double, kPagePlanets> planetGha{}, planetDec{};
    double sunGha = 0, sunDec = 0;
    double moonGha = 0, moonDec = 0;
    double moonV = 0;   // GHA of the next hour minus this one minus 14 deg 19.0', arcmin
    double moonD = 0;   // declination of the next hour minus this one, arcmin (signed)
    double moonHP = 0;  // horizontal parallax, arcmin
};

// The foot of a planet's column: v and d the mean hourly values over the three days
// (arcmin, d signed), magnitude, SHA (360 - RA) at 0 h UT of the middle day, and the
// meridian passage at Greenwich on the middle day (UT hours; the day's nearest
// passage when it has none).
struct PlanetFoot {
    double v = 0, d = 0, magnitude = 0, sha = 0, merPass = 0;
};

// A navigational star's SHA and declination at 12 h UT of the middle day.
struct StarEntry {
    int number = 0;     // catalogue number
    std::string name;   // proper name
    std::string bayer;  // "θ Eri": the Greek letter and the constellation
    double sha = 0, dec = 0;
};

// An event of the rise and set table, or the almanac's sign for a day without it.
struct TableEvent {
    enum Kind {
        Time,            // hours: UT hours from 0 h of the day; 24 and above: the next day
        AboveAllDay,     // the open box: the body stays above the threshold all day
        BelowAllDay,     // the filled box: it stays below
        TwilightAllNight,  // "////": the Sun never reaches the twilight depression
        None,            // no meridian passage on this day nor the next (rise and set columns always have a time or a sign)
    };
    Kind kind = None;
    double hours = 0;
};

struct LatitudeRow {
    double lat = 0;
    // The middle day: morning nautical and civil twilight, sunrise; sunset, evening civil
    // and nautical twilight.
    TableEvent nautical, civil, sunrise, sunset, civilEnd, nauticalEnd;
    std::array<TableEvent, kMoonDays> moonrise, moonset;  // the three days and the fourth
};

// The foot of the right page, one per day.
struct DayFoot {
    double eot0 = 0, eot12 = 0;  // equation of time at 0 h and 12 h: apparent minus mean time, minutes
    double sunMerPass = 0;       // UT hours
    TableEvent moonUpper, moonLower;  // the Moon's meridian passages (Time, or None)
    double moonAge = 0;          // days since new moon at 12 h UT
    double moonPhase = 0;        // illuminated fraction at 12 h UT, 0..1
    double moonSD = 0;           // arcmin, at 12 h UT
};

struct DailySpread {
    DateValue firstDay = 0;  // 0 h UT of the first day
    std::array<SpreadHour, kSpreadHours> hours{};
    double ariesMerPass = 0;  // UT hours of the middle day
    std::array<PlanetFoot, kPagePlanets> planets{};
    std::vector<StarEntry> stars;  // the 57 stars by their almanac names, then Polaris
    double sunSD = 0, sunD = 0;    // middle day, arcmin; d the mean hourly change, signed
    std::vector<LatitudeRow> latitudes;
    std::array<DayFoot, kSpreadDays> days{};
    double deltaT = 0;  // seconds, TT - UT at 0 h UT of the first day: the Delta T the spread assumes
};

// Given: firstDay, a date (its whole-day part is taken as 0 h UT of the first day);
//        cancel, polled between steps (may be null).
// Returned: the spread; false (out untouched in part) when cancelled.
// Definitions: positions as BodyPosition and StarPosition, at TT = UT + DeltaT;
// rise and set at Greenwich (longitude 0) from the geocentric altitude of the centre:
// the Sun at -50', twilight at -6 and -12 deg, the Moon at HP - SD - 34' (its upper
// limb on the horizon, refraction 34'); times to about 2 seconds of that definition.
// Accuracy against the Swiss Ephemeris (DE431) at the same TT, six spreads 1900-2100:
// Aries, Sun, planets and stars (on the sky) within 0.03', the Moon 0.08' to 2062 and 0.2'
// in 2100 (its truncated series), HP 0.01'; rise, set and twilight within 0.2 minute (1 minute
// for a Moon grazing the horizon). The SHA of Polaris carries its place's 1" as about 1'.
// Throws ArithmeticFault for a date beyond the calendar.
bool ComputeDailySpread(DateValue firstDay, DailySpread& out, const std::atomic<bool>* cancel = nullptr);

// The first days of the spreads that cover from..to (whole days, inclusive): from,
// from + 3, ... Empty when to is before from.
std::vector<DateValue> SpreadStarts(DateValue from, DateValue to);

// The name the almanac prints for a star: its short forms "Rigil Kent.", "Zuben'ubi",
// "Kaus Aust." and "Al Na'ir"; any other name as it stands.
std::string AlmanacStarName(const std::string& name);

// Text forms of the printed page ("." decimal point):
//  GHA "359 59.9" (degrees right-aligned to 3), declination "N 23 26.4" / "S  5 01.0",
//  minutes "12.3" / "-0.6", a table time "04 52" (hours may pass 24), boxes "□" "■",
//  "////". Minutes that round to 60.0 are carried into the degrees.
std::string PageGhaText(double deg);
std::string PageDecText(double deg);
std::string PageMinutesText(double arcmin, bool showSign);
std::string PageTimeText(double hours);
std::string PageEventText(const TableEvent& e);

// The command line's arguments after --almanac-pdf: FROM TO FILE.pdf, then any of
// --tables, --lunars and --paper a4|letter. error is "" when they are good, else the reason.
struct AlmanacPdfArgs {
    std::string error;
    DateValue from = 0, to = 0;
    std::string path;
    bool tables = false;
    bool lunars = false;
    bool letter = false;
};
AlmanacPdfArgs ParseAlmanacPdfArgs(const std::vector<std::string>& args);
