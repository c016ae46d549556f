#include "shell/StartUp.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include "shell/MDIFormMain.h"
#include "shell/frmSplash.h"

bool SplashDone = false;

MDIFormMain* StartUp(int splashMs) {
    auto* splash = new frmSplash;
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    auto* main = new MDIFormMain;
    if (!main->Load()) {
        delete main;
        delete splash;
        return nullptr;
    }
    // The rise/set and position windows compute their first contents now,
    // behind the splash, and stay hidden until the user opens them.
    main->LoadChild(QStringLiteral("RiseSet"));
    main->LoadChild(QStringLiteral("Position"));

    const qint64 rest = splashMs - splash->Elapsed();
    if (rest > 0) {
        QEventLoop wait;
        QTimer::singleShot(static_cast<int>(rest), &wait, &QEventLoop::quit);
        wait.exec();
    }
    main->show();
    main->RestoreDesk();
    SplashDone = true;
    splash->close();
    splash->deleteLater();
    return main;
}
