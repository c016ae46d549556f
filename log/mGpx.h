// GPX 1.1 for chart plotters: every fix a waypoint (its UT time, a name, and the
// ellipse and the sights in its description), and a run of fixes a track as well.
#pragma once
#include <string>
#include <vector>

#include "core/mTime.h"
#include "log/mSightLog.h"

// The name of a fix's waypoint: "FIX 0601 1437" (UT month, day, hours, minutes), and
// its description: the note, the ellipse, then one line per sight.
std::string GpxFixName(const LoggedFix& fix);
std::string GpxFixDescription(const LoggedFix& fix);
// The time of a GPX point: "2025-06-01T14:37:42Z" (UT, whole seconds).
std::string GpxTime(DateValue ut);

// Given: fixes, in any order; track, add them as a track too (in time order).
// Returned: a GPX 1.1 document (UTF-8, creator "Veltrano"): a waypoint per fix, in
// time order; positions to 1e-6 degree (0.1 m).
std::string GpxDocument(const std::vector<LoggedFix>& fixes, bool track);

// The command line's arguments after --log-gpx: FILE.gpx [--from DATE --to DATE]
// (zone dates yyyy-mm-dd, both days included). error "" when they are good.
struct LogGpxArgs {
    std::string error;
    std::string path;
    bool ranged = false;
    DateValue from = 0, to = 0;  // zone dates at 0 h; to is the last day listed
};
LogGpxArgs ParseLogGpxArgs(const std::vector<std::string>& args);

// The command: the fixes of the log at logPath (all, or those of the range) written
// to the GPX file as waypoints and a track. Returns the exit status (0 written, 1 the
// log or the file failed, 2 bad arguments) with the message for standard error in *message.
int LogGpxCommand(const std::vector<std::string>& args, const std::string& logPath, std::string* message);
