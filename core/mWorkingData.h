// The working data of the navigator: the zone date and time, the DR position,
// course and speed, and the observing conditions. A plain value; the windows and
// the frame hold it and pass what a computation needs down as arguments.
#pragma once
#include "core/mTime.h"

struct NavigationStateRecord {
    DateValue LocalDate = 0.0;  // local zone date and time of the work
    float TZ = 0.0f;            // hours; zone time = UT + TZ (east positive)
    double Lat = 0.0;           // degrees, north positive
    double Lon = 0.0;           // degrees, east positive
    float Course = 0.0f;        // degrees
    float Speed = 0.0f;         // knots
    float Temp = 0.0f;          // air temperature, degrees Celsius
    float Pressure = 0.0f;      // air pressure, millibars
    float hEye = 0.0f;          // height of eye, metres
    float i_s = 0.0f;           // sextant index correction, arc minutes
    bool StateLoaded = false;   // data files and settings loaded
};

// The ranges the working data must lie in, both ends included: the general
// information window refuses a value outside, the settings reader takes the
// default instead. Zones run from -14 h (the Line Islands are +14); pressures
// outside 800-1100 mB, temperatures beyond 60 C and eyes above 100 m are typing
// slips that would bend the refraction and dip corrections past their models.
struct ValueRange {
    float lo, hi;
    bool Holds(double v) const { return v >= lo && v <= hi; }  // false for NaN
};
inline constexpr ValueRange kZoneRange{-14.0f, 14.0f};          // TZ, hours
inline constexpr ValueRange kPressureRange{800.0f, 1100.0f};    // millibars
inline constexpr ValueRange kTempRange{-60.0f, 60.0f};          // degrees Celsius
inline constexpr ValueRange kEyeRange{0.0f, 100.0f};            // metres
inline constexpr ValueRange kCourseRange{0.0f, 360.0f};         // degrees
inline constexpr ValueRange kSpeedRange{0.0f, 99.9f};           // knots (the box's width)
inline constexpr ValueRange kIndexCorrRange{-99.9f, 99.9f};     // arc minutes (the box's width)

// The record with the first-run defaults of the settings (LocalDate left 0):
// course 0, speed 15 kn, 10 C, 1010 mB, height of eye 15 m, everything else 0.
NavigationStateRecord DefaultNavigationState();
