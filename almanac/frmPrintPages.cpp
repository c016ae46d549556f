#include "almanac/frmPrintPages.h"
#include "ui/mSavePath.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>

#include "almanac/mDailyPages.h"
#include "core/mWorkingData.h"
#include "ui/mPublicVarsQt.h"

namespace {

QDate ToQDate(DateValue v) {
    const CalendarDate c = DateToParts(v);
    return QDate(c.year, c.month, c.day);
}
DateValue FromQDate(const QDate& d) { return DateFromParts(d.year(), d.month(), d.day()); }

}  // namespace

std::function<QString(QWidget*)> frmPrintPages::AskPdfPath = [](QWidget* parent) {
    return AskSavePath(parent, QStringLiteral("Save the daily pages"), QStringLiteral("daily-pages.pdf"),
                       QStringLiteral("PDF files (*.pdf)"), QStringLiteral("pdf"));
};

frmPrintPages::frmPrintPages(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPrintPages"));
    setWindowTitle(QStringLiteral("Print daily pages"));
    DailyPagesFontFamily();  // the font looked up here, on the interface thread, once
    auto* grid = new QGridLayout(this);
    const QDate first(1900, 1, 1), last(2100, 12, 31);
    dtFrom = new QDateEdit(this);
    dtTo = new QDateEdit(this);
    for (QDateEdit* e : {dtFrom, dtTo}) {
        e->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
        e->setDateRange(first, last);
        e->setCalendarPopup(true);
    }
    dtFrom->setObjectName(QStringLiteral("dtFrom"));
    dtTo->setObjectName(QStringLiteral("dtTo"));
    QDate start = ToQDate(NavigationState.LocalDate);
    if (!start.isValid() || start < first || start > last) start = QDate(2000, 1, 1);
    dtFrom->setDate(start);
    dtTo->setDate(std::min(start.addDays(kSpreadDays - 1), last));
    grid->addWidget(new QLabel(QStringLiteral("&From (UT date):"), this), 0, 0);
    grid->addWidget(dtFrom, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("&To:"), this), 1, 0);
    grid->addWidget(dtTo, 1, 1);
    static_cast<QLabel*>(grid->itemAtPosition(0, 0)->widget())->setBuddy(dtFrom);
    static_cast<QLabel*>(grid->itemAtPosition(1, 0)->widget())->setBuddy(dtTo);

    chkTables = new QCheckBox(QStringLiteral("With the standing &tables (corrections, Polaris, increments)"), this);
    chkTables->setObjectName(QStringLiteral("chkTables"));
    grid->addWidget(chkTables, 2, 0, 1, 2);
    chkLunars = new QCheckBox(QStringLiteral("&Lunar distances"), this);
    chkLunars->setObjectName(QStringLiteral("chkLunars"));
    chkLunars->setToolTip(QStringLiteral("Add pages of the Moon's distances from the Sun, the planets and the stars "
                                         "15-120\u00b0 from it, every three hours of each day"));
    grid->addWidget(chkLunars, 3, 0, 1, 2);
    cboPaper = new QComboBox(this);
    cboPaper->setObjectName(QStringLiteral("cboPaper"));
    cboPaper->addItems({QStringLiteral("A4"), QStringLiteral("Letter")});
    auto* paperLabel = new QLabel(QStringLiteral("P&aper (PDF):"), this);
    paperLabel->setBuddy(cboPaper);
    grid->addWidget(paperLabel, 4, 0);
    grid->addWidget(cboPaper, 4, 1);

    pbPages = new QProgressBar(this);
    pbPages->setObjectName(QStringLiteral("pbPages"));
    pbPages->setRange(0, 1);
    pbPages->setValue(0);
    grid->addWidget(pbPages, 5, 0, 1, 2);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    grid->addWidget(lblStatus, 6, 0, 1, 2);

    auto* buttons = new QHBoxLayout;
    cmdPrint = new QPushButton(QStringLiteral("&Print…"), this);
    cmdPdf = new QPushButton(QStringLiteral("Save as P&DF…"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdClose = new QPushButton(QStringLiteral("&Close"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdPdf->setObjectName(QStringLiteral("cmdPdf"));
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton* b : {cmdPrint, cmdPdf, cmdCancel, cmdClose}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 7, 0, 1, 2);
    SetRunning(false);

    connect(cmdPdf, &QPushButton::clicked, this, [this] {
        const QString path = AskPdfPath ? AskPdfPath(this) : QString();
        if (path.isEmpty()) return;
        PagesOptions options;
        options.tables = chkTables->isChecked();
        options.lunars = chkLunars->isChecked();
        options.letter = cboPaper->currentIndex() == 1;
        Start([path, options](DateValue from, DateValue to, const std::atomic<bool>* cancel, const PagesProgress& progress,
                              QString* error) { return WriteDailyPagesPdf(path, from, to, cancel, progress, error, options); },
              QStringLiteral("Written to %1.").arg(path));
    });
    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        QPrintDialog dialog(printer_.get(), this);
        if (dialog.exec() != QDialog::Accepted) return;
        QPrinter* printer = printer_.get();
        PagesOptions options;
        options.tables = chkTables->isChecked();
        options.lunars = chkLunars->isChecked();
        Start([printer, options](DateValue from, DateValue to, const std::atomic<bool>* cancel, const PagesProgress& progress,
                                 QString* error) { return DrawDailyPages(printer, from, to, cancel, progress, error, options); },
              QStringLiteral("Sent to the printer."));
    });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cancel_ = true; });
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::close);
}

frmPrintPages::~frmPrintPages() { StopAndWait(); }

void frmPrintPages::Start(Job job, const QString& what) {
    if (worker_) return;
    const DateValue from = FromQDate(dtFrom->date()), to = FromQDate(dtTo->date());
    if (to < from) {
        lblStatus->setText(QStringLiteral("The last date is before the first."));
        return;
    }
    cancel_ = false;
    what_ = what;
    pbPages->setRange(0, static_cast<int>(SpreadStarts(from, to).size()));
    pbPages->setValue(0);
    lblStatus->setText(QStringLiteral("Computing the pages…"));
    SetRunning(true);
    worker_ = QThread::create([this, job, from, to] {
        QString error;
        const auto progress = [this](int done, int) {
            QMetaObject::invokeMethod(pbPages, [bar = pbPages, done] { bar->setValue(done); }, Qt::QueuedConnection);
        };
        const bool ok = job(from, to, &cancel_, progress, &error);
        QMetaObject::invokeMethod(this, [this, ok, error] { Finish(ok, error); }, Qt::QueuedConnection);
    });
    worker_->start();
}

void frmPrintPages::Finish(bool ok, const QString& error) {
    if (worker_) {
        worker_->wait();
        delete worker_;
        worker_ = nullptr;
    }
    SetRunning(false);
    if (ok) lblStatus->setText(what_);
    else lblStatus->setText(error.isEmpty() ? QStringLiteral("Cancelled.") : error);
    emit RunFinished(ok, error);
}

void frmPrintPages::SetRunning(bool running) {
    for (QWidget* w : std::initializer_list<QWidget*>{dtFrom, dtTo, chkTables, cboPaper, cmdPrint, cmdPdf, cmdClose}) w->setEnabled(!running);
    cmdCancel->setEnabled(running);
}

void frmPrintPages::StopAndWait() {
    if (!worker_) return;
    cancel_ = true;
    worker_->wait();
    delete worker_;
    worker_ = nullptr;
}

void frmPrintPages::closeEvent(QCloseEvent* event) {
    // The window stays while pages are being made: Cancel first.
    if (worker_) event->ignore();
    else QDialog::closeEvent(event);
}

void frmPrintPages::reject() {
    if (worker_) cancel_ = true;
    else QDialog::reject();
}
