// Veltrano: the command line, or the splash, the start-up loading and the main window.
#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>
#include <csignal>
#include <iostream>
#include <memory>

#include "core/mFiles.h"
#include "core/mInterrupt.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"
#include "core/mMoon.h"
#include "core/mStar.h"
#include "shell/MDIFormMain.h"
#include "shell/StartUp.h"
#include "shell/mCommandLine.h"
#include "ui/mDialogs.h"
#include "ui/mImages.h"
#include "core/mVersion.h"

namespace {

void RequestInterrupt(int) { InterruptRequested().store(true); }

// Ctrl-C, SIGTERM and SIGHUP ask the work to stop; a second one ends the process at once.
void CatchInterrupts() {
    struct sigaction sa = {};
    sa.sa_handler = RequestInterrupt;
    sa.sa_flags = SA_RESETHAND;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &sa, nullptr);
}

// One command, without a display: a core application, or the offscreen platform when it
// paints. Qt sees only the program's name, never the command's arguments.
int RunCommand(const Command& command, const std::vector<std::string>& args, char* program) {
    int qtArgc = 1;
    char* qtArgv[] = {program, nullptr};
    std::unique_ptr<QCoreApplication> app;
    if (command.needs & kNeedsPainting) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
    } else {
        app = std::make_unique<QCoreApplication>(qtArgc, qtArgv);
    }
    // The per-user files (the sight log) are where the windows keep them.
    QCoreApplication::setApplicationName(QStringLiteral("Veltrano"));
    QCoreApplication::setOrganizationName(QStringLiteral("Veltrano"));
    SetProgramFolder(QCoreApplication::applicationDirPath().toStdString());
    if (command.needs & kNeedsData) {
        for (const LoadStatus& st : {LoadPlanetData(), LoadStarFile(), LoadMoonFile()}) {
            if (!st.ok) {
                std::cerr << "veltrano: " << st.message << "\n";
                return 1;
            }
        }
    }
    if (command.needs & kStopsOnInterrupt) CatchInterrupts();
    return command.run(args, std::cout, std::cerr);
}

}  // namespace

int main(int argc, char* argv[]) {
    const CommandLineRequest request = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (request.kind) {
    case CommandLineRequest::Help:
        std::cout << CommandLineUsage();
        return 0;
    case CommandLineRequest::Version:
        std::cout << "veltrano " << VELTRANO_VERSION << "\n";
        return 0;
    case CommandLineRequest::Bad:
        std::cerr << "veltrano: " << request.error << "\n" << CommandLineUsage();
        return 2;
    case CommandLineRequest::Run: {
        const int status = RunCommand(*request.command, request.args, argv[0]);
        if (status == 2) std::cerr << CommandLineUsage();
        std::cout.flush();
        return std::cout.good() ? status : 1;
    }
    case CommandLineRequest::Windows:
        break;
    }
    // The windows need a display; say so rather than let the platform abort.
    const bool platformGiven = std::any_of(argv + 1, argv + argc, [](const char* a) {
        return qstrcmp(a, "-platform") == 0 || qstrcmp(a, "--platform") == 0;
    });
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !platformGiven) {
        std::cerr << "veltrano: there is no display to open the windows on; the commands work without one "
                     "(veltrano --help)\n";
        return 1;
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
