// Shared working data of the whole program. Plain data: every window and some
// computations read it directly; only the general information window changes it.
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

// The one record of the process.
extern NavigationStateRecord NavigationState;

// The record with the first-run defaults of the settings (LocalDate left 0):
// course 0, speed 15 kn, 10 C, 1010 mB, height of eye 15 m, everything else 0.
NavigationStateRecord DefaultNavigationState();

// The last fix and the lines that produced it: replaced together by each
// calculation that is not refused, kept for the run, never saved.
#include "fix/mCalcPosition.h"
extern FixResult LastFix;
extern SightLines LastSightLines;
// Why the last calculate command gave no fix; "" when it gave one (or none was
// asked for). LastFix and LastSightLines then still hold the last good fix.
extern std::string LastFixFailure;
// The sights as the position window's lines hold them (body, time and altitude
// text, limb), kept while the window is closed, for the run.
extern SightLines EnteredSights;
