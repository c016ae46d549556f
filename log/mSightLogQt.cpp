#include "log/mSightLogQt.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <memory>

#include "ui/mDialogs.h"

#ifndef VELTRANO_VERSION
#define VELTRANO_VERSION "unknown"
#endif

namespace {

std::unique_ptr<SightLog> g_log;

const QString kTitle = QStringLiteral("Sight log");

}  // namespace

QString SightLogPath() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("sightlog.db"));
}

SightLog* ProgramSightLog(QWidget* parent, const QString& consequence) {
    if (g_log && g_log->IsOpen()) return g_log.get();
    const QString path = SightLogPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        ShowMessage(parent, kTitle,
                    QStringLiteral("The folder of the sight log, %1, cannot be made.")
                        .arg(QDir::toNativeSeparators(QFileInfo(path).absolutePath())) +
                        consequence,
                    MsgIcon::Exclamation);
        return nullptr;
    }
    auto log = std::make_unique<SightLog>();
    const SightLog::OpenReport report = log->Open(QDir::toNativeSeparators(path).toStdString());
    if (!report.SetAsidePath.empty())
        ShowMessage(parent, kTitle,
                    QStringLiteral("The sight log %1 was damaged. It has been moved to %2, and a new log has "
                                   "been started.")
                        .arg(QDir::toNativeSeparators(path), QString::fromStdString(report.SetAsidePath)),
                    MsgIcon::Exclamation);
    if (!report.Ok) {
        ShowMessage(parent, kTitle, QString::fromStdString(report.Error) + consequence, MsgIcon::Exclamation);
        return nullptr;
    }
    g_log = std::move(log);
    return g_log.get();
}

void CloseProgramSightLog() { g_log.reset(); }

bool RecordFixInLog(QWidget* parent, const FixResult& fix) {
    const QString notRecorded = QStringLiteral("\nThe fix is shown but has not been recorded.");
    SightLog* log = ProgramSightLog(parent, notRecorded);
    if (!log) return false;
    LoggedFix f = MakeLoggedFix(fix, VELTRANO_VERSION);
    try {
        log->Record(f);
        return true;
    } catch (const SightLogError& e) {
        ShowMessage(parent, kTitle, QString::fromStdString(e.what()) + notRecorded, MsgIcon::Exclamation);
        return false;
    }
}
