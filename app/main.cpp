// Placeholder entry point until the main window lands.
#include <QApplication>
#include <QLabel>

#include "app/mDialogs.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    InstallCoreReportHook();
    QLabel label(QStringLiteral("Veltrano"));
    label.show();
    return app.exec();
}
