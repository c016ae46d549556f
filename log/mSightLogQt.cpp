#include "log/mSightLogQt.h"
#include "log/mSessionLog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>
#include <memory>

#include "core/mFiles.h"
#include "log/mGpx.h"
#include "ui/mDialogs.h"
#include "core/mVersion.h"

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

namespace {

const QString& NotRecorded() {
    static const QString text = QStringLiteral("\nThe fix is shown but has not been recorded.");
    return text;
}

// Records f in the program's log; a failure is told in a message box.
bool Record(QWidget* parent, SightLog* log, LoggedFix& f) {
    try {
        log->Record(f);
        return true;
    } catch (const SightLogError& e) {
        ShowMessage(parent, kTitle, QString::fromStdString(e.what()) + NotRecorded(), MsgIcon::Exclamation);
        return false;
    }
}

}  // namespace

bool RecordFixInLog(QWidget* parent, const FixResult& fix) {
    SightLog* log = ProgramSightLog(parent, NotRecorded());
    if (!log) return false;
    LoggedFix f = MakeLoggedFix(fix, VELTRANO_VERSION);
    return Record(parent, log, f);
}

std::function<QString(QWidget*, const QString&)> AskGpxPath;

LoggedFix LoggedFixOf(const FixResult& fix) { return MakeLoggedFix(fix, VELTRANO_VERSION); }

bool ExportFixesGpx(QWidget* parent, const std::vector<LoggedFix>& fixes) {
    const QString title = QStringLiteral("Export GPX");
    if (fixes.empty()) {
        ShowMessage(parent, title, QStringLiteral("There is no fix to export."), MsgIcon::Information);
        return false;
    }
    const QString suggested = QStringLiteral("fixes.gpx");
    const QString path = AskGpxPath ? AskGpxPath(parent, suggested)
                                    : QFileDialog::getSaveFileName(parent, title, suggested, QStringLiteral("GPX files (*.gpx)"));
    if (path.isEmpty()) return false;
    std::string error;
    if (!WriteWholeFile(QDir::toNativeSeparators(path).toStdString(), GpxDocument(fixes, fixes.size() > 1), &error)) {
        ShowMessage(parent, title, QString::fromStdString(error), MsgIcon::Exclamation);
        return false;
    }
    return true;
}

int RunLogGpx(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // "--from=2025-06-01" as two words, the form ParseLogGpxArgs reads.
    std::vector<std::string> words;
    for (const std::string& a : args) {
        const size_t eq = a.find('=');
        if (a.rfind("--", 0) == 0 && eq != std::string::npos) {
            words.push_back(a.substr(0, eq));
            words.push_back(a.substr(eq + 1));
        } else {
            words.push_back(a);
        }
    }
    std::string message;
    const int status = LogGpxCommand(words, QDir::toNativeSeparators(SightLogPath()).toStdString(), &message);
    (status == 0 ? out : err) << (status == 0 ? "" : "veltrano: ") << message << "\n";
    return status;
}

bool RecordSessionInLog(QWidget* parent, const NavigationStateRecord& working, const SessionFix& fix) {
    SightLog* log = ProgramSightLog(parent, NotRecorded());
    if (!log) return false;
    if (fix.Sights.size() > static_cast<size_t>(kMaxLoggedSights)) {
        ShowMessage(parent, kTitle,
                    QStringLiteral("A session of more than %1 sights cannot be recorded.").arg(kMaxLoggedSights) +
                        NotRecorded(),
                    MsgIcon::Exclamation);
        return false;
    }
    LoggedFix f = MakeLoggedSession(working, fix, VELTRANO_VERSION);
    return Record(parent, log, f);
}
