// The program's sight log: one file, "sightlog.db", in the user's data folder
// (QStandardPaths::AppDataLocation), opened on first use. Every failure is told
// to the user in a message box; the fix on screen is never affected.
#pragma once
#include <QString>

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
