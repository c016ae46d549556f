#include "ui/mSavePath.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

QString DocumentsPath(const QString& fileName) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    return QDir(folder).filePath(fileName);
}

QString WithSuffix(const QString& path, const QString& suffix) {
    if (path.isEmpty() || suffix.isEmpty()) return path;
    if (!QFileInfo(path).suffix().isEmpty()) return path;
    return path + QLatin1Char('.') + suffix;
}

QString AskSavePath(QWidget* parent, const QString& caption, const QString& fileName, const QString& filter,
                    const QString& suffix) {
    QFileDialog dialog(parent, caption, DocumentsPath(fileName), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);  // the dialog asks before replacing the file with its ending
    dialog.selectFile(DocumentsPath(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return WithSuffix(dialog.selectedFiles().constFirst(), suffix);
}
