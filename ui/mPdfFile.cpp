#include "ui/mPdfFile.h"

#include <QPdfWriter>
#include <QSaveFile>

bool WritePdfFile(const QString& path, const PdfLayout& layout, const std::function<bool(QPdfWriter*)>& draw,
                  QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    bool ok = false;
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(layout.title);
        pdf.setCreator(QStringLiteral("Veltrano"));
        pdf.setResolution(layout.resolution);
        pdf.setPageSize(layout.pageSize);
        pdf.setPageMargins(layout.marginsMm, QPageLayout::Millimeter);
        ok = draw(&pdf);
    }
    if (!ok) {
        file.cancelWriting();
        file.commit();  // removes the temporary file
        return false;
    }
    if (!file.commit()) {
        if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}
