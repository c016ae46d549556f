// Veltrano: the splash, the start-up loading and the main window.
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>

#include <QDir>
#include <cstdio>
#include <string>
#include <vector>

#include "almanac/mDailyPagesPrint.h"
#include "log/mGpx.h"
#include "log/mSightLogQt.h"
#include "shell/MDIFormMain.h"
#include "shell/frmSplash.h"
#include "ui/mDialogs.h"
#include "ui/mImages.h"
#include "core/mFiles.h"

int main(int argc, char* argv[]) {
    // veltrano --almanac-pdf FROM TO FILE.pdf: the daily pages without a window.
    if (argc >= 2 && qstrcmp(argv[1], "--almanac-pdf") == 0) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        SetProgramFolder(QCoreApplication::applicationDirPath().toStdString());
        return AlmanacPdfCommand(QCoreApplication::arguments().mid(2));
    }
    // veltrano --log-gpx FILE.gpx [--from DATE --to DATE]: the sight log's fixes for a chart plotter.
    if (argc >= 2 && qstrcmp(argv[1], "--log-gpx") == 0) {
        QCoreApplication app(argc, argv);
        QCoreApplication::setApplicationName(QStringLiteral("Veltrano"));
        QCoreApplication::setOrganizationName(QStringLiteral("Veltrano"));
        std::vector<std::string> args;
        for (const QString& a : QCoreApplication::arguments().mid(2)) args.push_back(a.toStdString());
        std::string message;
        const int code = LogGpxCommand(args, QDir::toNativeSeparators(SightLogPath()).toStdString(), &message);
        std::fprintf(code == 0 ? stdout : stderr, "%s%s\n", code == 0 ? "" : "veltrano: ", message.c_str());
        if (code == 2) std::fprintf(stderr, "usage: veltrano --log-gpx FILE.gpx [--from yyyy-mm-dd --to yyyy-mm-dd]\n");
        return code;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Veltrano"));
    QApplication::setOrganizationName(QStringLiteral("Veltrano"));
    QApplication::setWindowIcon(ProgramIcon());
    InstallCoreReportHook();
    // Data/ and Help/ lie beside the program.
    SetProgramFolder(QCoreApplication::applicationDirPath().toStdString());

    MDIFormMain* mainWindow = StartUp(3000);
    if (!mainWindow) return 1;  // a data file could not be loaded; the message was shown
    const int code = app.exec();
    delete mainWindow;
    return code;
}
