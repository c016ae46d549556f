// The daily pages drawn: each three-day spread of mDailyPages on two facing pages of a
// printer or a PDF, in real text. Safe to call from a worker thread.
#pragma once
#include <QString>
#include <atomic>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "core/mTime.h"

class QPagedPaintDevice;

// Called after each spread with the spreads done and the total.
using PagesProgress = std::function<void(int done, int total)>;

// What goes on the pages besides the spreads.
struct PagesOptions {
    // A title page first, so that every spread's left page is an even page: printed
    // two-sided, or shown as facing pages with a cover page, the spread faces itself.
    bool titlePage = true;
    bool tables = false;   // the standing tables after the spreads (for the year of the first day)
    bool lunars = false;   // the lunar distances after the spreads, a block per day
    bool letter = false;   // PDF paper: US Letter; A4 otherwise
};

// Given: device, a printer or PDF writer (its page size and margins are used; the layout
//        is scaled to fit A4, Letter or any other); from, to, the dates (whole days,
//        inclusive); cancel (may be null), polled between spreads and inside each.
// Returned: true when every spread was drawn; false when cancelled or on a fault, with
//        *error (may be null) set to the reason ("" when cancelled).
bool DrawDailyPages(QPagedPaintDevice* device, DateValue from, DateValue to, const std::atomic<bool>* cancel,
                    const PagesProgress& progress, QString* error, const PagesOptions& options = {});

// The same written as a PDF file (a temporary file in its folder renamed over it when
// complete). False with *error "Cannot write FILE: reason" when the file cannot be
// written; the old file is then left as it was.
bool WriteDailyPagesPdf(const QString& path, DateValue from, DateValue to, const std::atomic<bool>* cancel,
                        const PagesProgress& progress, QString* error, const PagesOptions& options = {});

// The command line's --almanac-pdf: args are FROM TO FILE.pdf (dates yyyy-mm-dd, 1900-01-01
// to 2100-12-31, FROM not after TO), then the options --tables, --lunars and --paper=a4|letter (or
// "--paper letter"). Writes the PDF, stopping when InterruptRequested() is set; returns the
// exit status: 0 done, 2 a bad argument, 1 the output cannot be written or the work was
// interrupted (the file under the name is then left as it was). Needs a QGuiApplication
// and the data files loaded.
int RunAlmanacPdf(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The name of the font the pages are set in ("DejaVu Sans" when installed).
QString DailyPagesFontFamily();
