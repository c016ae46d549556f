// The shared working data (NavigationState) with its loading and saving:
// the data files at start-up, the present time, and the nine settings kept in the
// per-user settings store (organisation and application "Veltrano", group
// "General": Temp, Pressure, hEye, i_s, Course, Speed, Lat, Lon, TZ, as text).
#pragma once
#include <QString>

#include "core/mWorkingData.h"

// The working data of the process: read by the windows and the frame, which pass
// what a computation needs down as arguments; changed only by the general
// information window's Apply and by the frame (a fix reopened from the log).
extern NavigationStateRecord NavigationState;

// The first call loads everything, in order: the star catalogue Data/star.bin,
// the planetary series Data/planet.bin, the nine settings with their defaults,
// LocalDate = the computer's UTC + TZ hours; then sets StateLoaded. Later calls
// do nothing.
// A data file that cannot be loaded is reported in a message box naming the file
// and the fault, and the result is false: the program then ends.
bool LoadSharedState();

// The nine settings into `state` (absent keys, texts that are not numbers and
// values outside the ranges of core/mWorkingData.h give the defaults).
void ReadSettings(NavigationStateRecord& state);
// Writes the nine settings from NavigationState, in the order Temp, Pressure,
// hEye, i_s, Course, Speed, Lat, Lon, TZ, each in the default number text of
// its field (NumberText in mConvertion.h).
void SaveSharedState();


// The present Universal Time (the computer's UTC, not its local time) as a
// date-time value. Tests replace the clock (SetClock returns the previous one;
// nullptr restores the computer's clock).
using ClockFunction = DateValue (*)();
DateValue ClockNow();
ClockFunction SetClock(ClockFunction clock);
