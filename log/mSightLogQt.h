// The program's sight log: one file, "sightlog.db", in the user's data folder
// (QStandardPaths::AppDataLocation), opened on first use. Every failure is told
// to the user in a message box; the fix on screen is never affected.
#pragma once
#include <QString>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "log/mSightLog.h"

class QWidget;

// The file of the program's log.
QString SightLogPath();
// The open log, opened (its folder made) on first use; a damaged file set
// aside is reported with where it went. nullptr, after a message, when the log
// cannot be used (consequence is added to the message); the next call tries again.
SightLog* ProgramSightLog(QWidget* parent, const QString& consequence = QString());
// Closes the program's log; the next ProgramSightLog opens it again.
void CloseProgramSightLog();
// Records a fix just calculated (its record holds the working data and the lines
// it was reduced from). False, after a message saying the fix is shown but not
// recorded, when it could not be written.
bool RecordFixInLog(QWidget* parent, const FixResult& fix);

// "Export GPX…": asks where (AskGpxPath when set, else the file dialog), then writes
// the fixes as GPX waypoints, and as a track too when there are several. A failure is
// told in a message box and leaves the old file. False when cancelled or failed.
extern std::function<QString(QWidget* parent, const QString& suggested)> AskGpxPath;
bool ExportFixesGpx(QWidget* parent, const std::vector<LoggedFix>& fixes);
// The last fix of the run as the log would record it, with the working data it used.
LoggedFix LoggedFixOf(const FixResult& fix);
// The command line's --log-gpx: args FILE.gpx, then --from=DATE --to=DATE (or with the
// value after a space). Writes the fixes of the program's log; the exit status as
// LogGpxCommand gives it. Needs a QCoreApplication named "Veltrano".
int RunLogGpx(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
// The same for a session's fix with all its sights and the working data it was made with.
struct SessionFix;
bool RecordSessionInLog(QWidget* parent, const NavigationStateRecord& working, const SessionFix& fix);
