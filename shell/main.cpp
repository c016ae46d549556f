// Veltrano: the splash, the start-up loading and the main window.
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>

#include "almanac/mDailyPagesPrint.h"
#include "shell/MDIFormMain.h"
#include "shell/StartUp.h"
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
