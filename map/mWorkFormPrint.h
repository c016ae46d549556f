// The work form printed: one page per fix in the layout of a sight-reduction form,
// with the plot of its lines, its error ellipse and the fix.
#pragma once
#include <QString>
#include <vector>

#include "map/mWorkForm.h"

class QPagedPaintDevice;

// Draws the forms, one page each. False with *error when the device cannot be painted on.
bool DrawWorkForms(QPagedPaintDevice* device, const std::vector<WorkForm>& forms, QString* error);
// The same as a PDF (A4) written through a temporary file renamed over path when
// complete. False with *error "Cannot write PATH: reason"; the old file is then kept.
bool WriteWorkFormPdf(const QString& path, const std::vector<WorkForm>& forms, QString* error);
