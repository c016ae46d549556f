// A PDF written beside its target and renamed over it only when complete (QSaveFile):
// a failure or a cancel leaves the old file as it was.
#pragma once
#include <QMarginsF>
#include <QPageSize>
#include <QString>
#include <functional>

class QPdfWriter;

struct PdfLayout {
    QString title;
    int resolution = 300;         // dots per inch
    QPageSize pageSize = QPageSize(QPageSize::A4);
    QMarginsF marginsMm;          // millimetres
};

// Given: path, the target; layout, the document's title, resolution, paper and margins;
// draw, paints every page on the writer and says whether it finished (false on a failure
// or a cancel, with *error set by it where it has a reason).
// Returned: true when the file is complete at path; else false, the old file kept and,
// for a file that cannot be opened or committed, *error naming it and why.
bool WritePdfFile(const QString& path, const PdfLayout& layout, const std::function<bool(QPdfWriter*)>& draw,
                  QString* error);
