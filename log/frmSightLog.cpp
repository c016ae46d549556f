#include "log/frmSightLog.h"
#include "ui/mSavePath.h"

#include <QAbstractTableModel>
#include <iterator>
#include <QItemSelectionModel>
#include <QSignalBlocker>
#include <QTreeView>
#include <algorithm>
#include <cmath>
#include <limits>
#include <unordered_set>

#include <QCheckBox>
#include <QDir>
#include <QDateEdit>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSplitter>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/mConvertion.h"
#include "ui/mDialogs.h"
#include "core/mWorkingData.h"
#include "log/mGpx.h"
#include "log/mSightLogQt.h"
#include "map/mWorkFormPrint.h"
#include "ui/mPublicVarsQt.h"
#include <QPrintDialog>
#include <QPrinter>

namespace {

const QString kTitle = QStringLiteral("Sight log");

frmSightLog::SaveFileChooser& Chooser() {
    static frmSightLog::SaveFileChooser chooser;
    return chooser;
}

QString Position(double lat, double lon) { return FormatLatLon(lat, true) + QLatin1Char(' ') + FormatLatLon(lon, false); }

QString DateTimeUT(DateValue ut) { return FormatShortDate(ut) + QLatin1Char(' ') + FormatShortTime(ut); }

QString Ellipse(double a, double b, double alpha) {
    return QStringLiteral("a = ") + FormatNumber(a, QStringLiteral("00.00")) + QStringLiteral("' b = ") +
           FormatNumber(b, QStringLiteral("00.00")) + QStringLiteral("' Alpha = ") +
           FormatNumber(alpha, QStringLiteral("000.0")) + QStringLiteral("\u00B0");
}

}  // namespace

// The listed fixes; a row's texts are made only when the view shows it, so a
// log of many thousand fixes lists at once.
class SightLogModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;
    void SetRows(std::vector<LoggedFixSummary> rows) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
    }
    const std::vector<LoggedFixSummary>& Rows() const { return rows_; }
    void SetNote(std::int64_t id, const QString& note) {
        for (size_t i = 0; i < rows_.size(); ++i) {
            if (rows_[i].Id != id) continue;
            rows_[i].Note = note.toStdString();
            const QModelIndex cell = index(static_cast<int>(i), kNoteColumn);
            emit dataChanged(cell, cell);
        }
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(rows_.size());
    }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(std::size(kHeaders));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
        if (role == Qt::DisplayRole) return QString::fromLatin1(kHeaders[section]);
        if (role == Qt::ToolTipRole) return QString::fromUtf8(kTips[section]);
        return {};
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || role != Qt::DisplayRole || index.row() >= rowCount()) return {};
        const LoggedFixSummary& r = rows_[static_cast<size_t>(index.row())];
        if (!r.Fault.empty()) {  // a damaged record: what is wrong, nothing of its values
            if (index.column() == 3) return QStringLiteral("Damaged record");
            if (index.column() == kNoteColumn) return QString::fromStdString(r.Fault);
            return {};
        }
        switch (index.column()) {
            case 0: return FormatShortDate(r.ZoneTime);
            case 1: return FormatShortTime(r.ZoneTime);
            case 2: return DateTimeUT(r.UT);
            case 3: return Position(r.FixLat, r.FixLon);
            case 4: return Ellipse(r.EllipseA, r.EllipseB, r.EllipseAlpha);
            case 5: return QString::number(r.BodyCount) + QStringLiteral(": ") + QString::fromStdString(r.BodyNames);
            case 6: return QString::fromStdString(r.Note);
            default: return {};
        }
    }
    static constexpr int kNoteColumn = 6;

private:
    static constexpr const char* kHeaders[] = {"Date", "Zone time", "UT", "Position", "Ellipse", "Bodies", "Note"};
    static constexpr const char* kTips[] = {
        "Zone date of the fix", "Zone time of the fix", "Universal Time of the fix", "The fix",
        "Error ellipse of a one-minute line error: semi-axes a and b in minutes, direction of a",
        "Number and names of the bodies observed", "Your note"};
    std::vector<LoggedFixSummary> rows_;
};

namespace {

QTreeWidget* MakeList(const QStringList& headers, QWidget* parent, const QString& name) {
    auto* t = new QTreeWidget(parent);
    t->setObjectName(name);
    t->setRootIsDecorated(false);
    t->setUniformRowHeights(true);
    t->setHeaderLabels(headers);
    t->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return t;
}

}  // namespace

frmSightLog::SaveFileChooser frmSightLog::SetSaveFileChooser(SaveFileChooser chooser) {
    SaveFileChooser old = Chooser();
    Chooser() = std::move(chooser);
    return old;
}

frmSightLog::frmSightLog(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmSightLog"));
    setWindowTitle(kTitle);

    chkFilter = new QCheckBox(QStringLiteral("&Only from"), this);
    chkFilter->setObjectName(QStringLiteral("chkFilter"));
    chkFilter->setToolTip(QStringLiteral("List only the fixes whose zone date lies in the range"));
    const QDate today = ToQDateTime(NavigationState.LocalDate).date();
    dateFrom = new QDateEdit(today.addDays(-30), this);
    dateFrom->setObjectName(QStringLiteral("dateFrom"));
    dateFrom->setCalendarPopup(true);
    dateFrom->setToolTip(QStringLiteral("First zone date listed"));
    dateTo = new QDateEdit(today, this);
    dateTo->setObjectName(QStringLiteral("dateTo"));
    dateTo->setCalendarPopup(true);
    dateTo->setToolTip(QStringLiteral("Last zone date listed"));
    for (QDateEdit* d : {dateFrom, dateTo}) d->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    auto* filter = new QHBoxLayout;
    filter->addWidget(chkFilter);
    filter->addWidget(dateFrom);
    filter->addWidget(new QLabel(QStringLiteral("to"), this));
    filter->addWidget(dateTo);
    filter->addStretch(1);

    model_ = new SightLogModel(this);
    lstFixes = new QTreeView(this);
    lstFixes->setObjectName(QStringLiteral("lstFixes"));
    lstFixes->setRootIsDecorated(false);
    lstFixes->setUniformRowHeights(true);
    lstFixes->setModel(model_);
    lstFixes->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstFixes->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstFixes->header()->setResizeContentsPrecision(0);  // widths from the rows in view only
    lstSights = MakeList({QStringLiteral("Line"), QStringLiteral("Body"), QStringLiteral("UT"), QStringLiteral("Hs"),
                          QStringLiteral("Limb"), QStringLiteral("Hc"), QStringLiteral("Zn"),
                          QStringLiteral("Intercept"), QStringLiteral("Residual")},
                         this, QStringLiteral("lstSights"));
    lstSights->setSelectionMode(QAbstractItemView::NoSelection);
    const char* sightTips[] = {"Line number in the position window", "Body observed", "Universal Time of the sight",
                               "Sextant altitude, degrees and minutes", "Limb brought to the horizon",
                               "Computed altitude, degrees and minutes", "Azimuth, degrees true",
                               "Intercept from the DR, minutes, + toward the body",
                               "What is left of the line at the fix (after the iteration), minutes"};
    for (int c = 0; c < 9; ++c) lstSights->headerItem()->setToolTip(c, QString::fromLatin1(sightTips[c]));
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(lstFixes);
    split->addWidget(lstSights);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    txtNote = new QLineEdit(this);
    txtNote->setObjectName(QStringLiteral("txtNote"));
    txtNote->setToolTip(QStringLiteral("A note kept with the selected fix (Enter keeps it)"));
    txtNote->setEnabled(false);
    txtNote->setMaxLength(std::numeric_limits<int>::max());  // a note is never cut
    auto* noteLabel = new QLabel(QStringLiteral("&Note:"), this);
    noteLabel->setBuddy(txtNote);
    cmdReopen = new QPushButton(QStringLiteral("&Reopen"), this);
    cmdReopen->setObjectName(QStringLiteral("cmdReopen"));
    cmdReopen->setToolTip(QStringLiteral("Put the fix's working data and sights back into the general "
                                         "information and position windows"));
    cmdDelete = new QPushButton(QStringLiteral("&Delete"), this);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    cmdDelete->setToolTip(QStringLiteral("Delete the selected fixes and their sights from the log (asks first)"));
    cmdExport = new QPushButton(QStringLiteral("E&xport CSV\u2026"), this);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    cmdExport->setToolTip(QStringLiteral("The selected fixes, or every fix listed, one row per sight"));
    cmdGpx = new QPushButton(QStringLiteral("Export G&PX\u2026"), this);
    cmdGpx->setObjectName(QStringLiteral("cmdGpx"));
    cmdGpx->setToolTip(QStringLiteral("The selected fixes, or every fix listed, as waypoints and a track for a chart plotter"));
    cmdPrintForm = new QPushButton(QStringLiteral("Print wor&k form\u2026"), this);
    cmdPrintForm->setObjectName(QStringLiteral("cmdPrintForm"));
    cmdPrintForm->setToolTip(QStringLiteral("Print the work form of each selected fix, one page each"));
    cmdFormPdf = new QPushButton(QStringLiteral("Work form as PD&F\u2026"), this);
    cmdFormPdf->setObjectName(QStringLiteral("cmdFormPdf"));
    cmdFormPdf->setToolTip(QStringLiteral("Save the work form of each selected fix as a PDF file, one page each"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(noteLabel);
    buttons->addWidget(txtNote, 1);
    buttons->addWidget(cmdReopen);
    buttons->addWidget(cmdDelete);
    buttons->addWidget(cmdExport);
    buttons->addWidget(cmdGpx);
    buttons->addWidget(cmdPrintForm);
    buttons->addWidget(cmdFormPdf);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(split, 1);
    lblPasses = new QLabel(this);
    lblPasses->setObjectName(QStringLiteral("lblPasses"));
    layout->addWidget(lblPasses);
    layout->addLayout(buttons);
    lstFixes->setMinimumHeight(lstFixes->fontMetrics().height() * 8);
    lstSights->setMinimumHeight(lstSights->fontMetrics().height() * 6);
    SetDesignSizeTwips(12600, 7800);  // 840 by 520 pixels at 96 dots per inch

    connect(chkFilter, &QCheckBox::toggled, this, [this] { Update(); });
    connect(dateFrom, &QDateEdit::dateChanged, this, [this] { if (chkFilter->isChecked()) Update(); });
    connect(dateTo, &QDateEdit::dateChanged, this, [this] { if (chkFilter->isChecked()) Update(); });
    connect(lstFixes->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { ShowSelected(); });
    connect(txtNote, &QLineEdit::editingFinished, this, [this] { KeepNote(); });
    connect(cmdReopen, &QPushButton::clicked, this, [this] { Reopen(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { DeleteSelected(); });
    connect(cmdExport, &QPushButton::clicked, this, [this] { ExportCsv(); });
    connect(cmdGpx, &QPushButton::clicked, this, [this] { ExportGpx(); });
    connect(cmdPrintForm, &QPushButton::clicked, this, [this] { PrintForms(); });
    connect(cmdFormPdf, &QPushButton::clicked, this, [this] { SaveFormsPdf(); });
    Update();
}

void frmSightLog::Update() {
    const std::vector<std::int64_t> keep = SelectedIds();
    SightLog* log = ProgramSightLog(this);
    std::vector<LoggedFixSummary> rows;
    try {
        if (log && chkFilter->isChecked()) {
            const DateValue from = FromQDateTime(QDateTime(dateFrom->date(), QTime(0, 0)));
            const DateValue to = FromQDateTime(QDateTime(dateTo->date().addDays(1), QTime(0, 0)));
            rows = log->List(from, to);
        } else if (log) {
            rows = log->ListAll();
        }
    } catch (const SightLogError& e) {
        ShowMessage(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Exclamation);
    }
    {
        const QSignalBlocker quiet(lstFixes->selectionModel());
        model_->SetRows(std::move(rows));
        // The fixes selected before stay selected.
        const std::unordered_set<std::int64_t> kept(keep.begin(), keep.end());
        QItemSelection again;
        for (size_t i = 0; i < model_->Rows().size() && !kept.empty(); ++i)
            if (kept.count(model_->Rows()[i].Id)) {
                const QModelIndex cell = model_->index(static_cast<int>(i), 0);
                again.select(cell, cell);
            }
        lstFixes->selectionModel()->select(again, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    // Column widths from the rows in view.
    for (int c = 0; c < model_->columnCount(); ++c) lstFixes->resizeColumnToContents(c);
    ShowSelected();
}

QSize frmSightLog::ContentSize() const {
    int width = 0;
    for (int c = 0; c < SightLogModel::kNoteColumn; ++c) width += lstFixes->header()->sectionSize(c);
    // The note's header, the frame, the vertical scroll bar and the window's margins.
    width += lstFixes->header()->sectionSizeHint(SightLogModel::kNoteColumn) +
             2 * lstFixes->frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2 * 12;
    return QSize(width, 0).expandedTo(QSize(0, 1));
}

std::vector<std::int64_t> frmSightLog::SelectedIds() const {
    std::vector<int> rows;
    for (const QModelIndex& i : lstFixes->selectionModel()->selectedRows()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    std::vector<std::int64_t> ids;
    for (int r : rows)
        if (static_cast<size_t>(r) < model_->Rows().size()) ids.push_back(model_->Rows()[static_cast<size_t>(r)].Id);
    return ids;
}

void frmSightLog::ShowSelected() {
    lstSights->clear();
    const std::vector<std::int64_t> ids = SelectedIds();
    currentId_ = ids.size() == 1 ? ids.front() : 0;
    txtNote->setEnabled(currentId_ != 0);
    cmdReopen->setEnabled(currentId_ != 0);
    cmdDelete->setEnabled(!ids.empty());
    lblPasses->clear();
    if (!currentId_) {
        txtNote->clear();
        return;
    }
    SightLog* log = ProgramSightLog(this);
    if (!log) return;
    try {
        const LoggedFix f = log->Load(currentId_);
        txtNote->setText(QString::fromStdString(f.Note));
        for (const LoggedSight& s : f.Sights) {
            lstSights->addTopLevelItem(new QTreeWidgetItem(QStringList{
                QString::number(s.Line), QString::fromStdString(s.BodyName), FormatShortDate(s.UT) + QLatin1Char(' ') + FormatTimeHMS(s.UT),
                FormatAngleDegMin(s.Hs, 2, true, false), !HasLimb(s.Body) ? QString() : s.LowerLimb ? QStringLiteral("lower") : QStringLiteral("upper"),
                FormatAngleDegMin(s.Hc, 2, true, false), FormatNumber(s.Zn, QStringLiteral("000.0")) + QStringLiteral("\u00B0"),
                FormatNumber(s.Intercept, QStringLiteral("+00.0;-00.0")) + QLatin1Char('\''),
                std::isfinite(s.Residual) ? FormatNumber(s.Residual, QStringLiteral("+00.0;-00.0")) + QLatin1Char('\'')
                                          : QString()}));
        }
        // How the fix was made: one pass, or iterated with each pass's shift.
        QString how;
        if (f.Passes == 1) how = QStringLiteral("One-pass fix from the DR");
        if (f.Passes > 1) {
            how = QStringLiteral("Iterated in %1 passes, shifts:").arg(f.Passes);
            for (double v : f.PassShift) how += QLatin1Char(' ') + FormatNumber(v, QStringLiteral("0.000")) + QLatin1Char('\'');
        }
        lstSights->setToolTip(how);
        lblPasses->setText(how);
    } catch (const SightLogError& e) {
        ShowMessage(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Exclamation);
    }
}

void frmSightLog::KeepNote() {
    if (!currentId_ || !txtNote->isModified()) return;
    txtNote->setModified(false);
    SightLog* log = ProgramSightLog(this);
    if (!log) return;
    try {
        log->SetNote(currentId_, txtNote->text().toStdString());
    } catch (const SightLogError& e) {
        ShowMessage(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Exclamation);
        Update();  // the fix may be gone
        return;
    }
    model_->SetNote(currentId_, txtNote->text());
}

void frmSightLog::Reopen() {
    if (!currentId_) return;
    SightLog* log = ProgramSightLog(this);
    if (!log) return;
    LoggedFix f;
    try {
        f = log->Load(currentId_);
    } catch (const SightLogError& e) {
        ShowMessage(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Exclamation);
        return;
    }
    const QString when = FormatShortDate(f.ZoneTime) + QLatin1Char(' ') + FormatShortTime(f.ZoneTime);
    if (ShowMessage(this, kTitle,
                    QStringLiteral("Replace the present working data and sights with those of the fix of %1?")
                        .arg(when),
                    MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
        return;
    emit fixReopened(f);
}

void frmSightLog::DeleteSelected() {
    const std::vector<std::int64_t> ids = SelectedIds();
    if (ids.empty()) return;
    const QString what = ids.size() == 1 ? QStringLiteral("the selected fix")
                                         : QStringLiteral("the %1 selected fixes").arg(ids.size());
    if (ShowMessage(this, kTitle, QStringLiteral("Delete %1 and its sights from the sight log?").arg(what),
                    MsgIcon::Question, MsgButtons::YesNoDefaultNo) != MsgResult::Yes)
        return;
    SightLog* log = ProgramSightLog(this);
    if (!log) return;
    try {
        log->Delete(ids);
    } catch (const SightLogError& e) {
        ShowMessage(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Exclamation);
    }
    lstFixes->clearSelection();
    Update();
}

void frmSightLog::ExportCsv() {
    std::vector<std::int64_t> ids = SelectedIds();
    if (ids.empty())
        for (const LoggedFixSummary& r : model_->Rows()) ids.push_back(r.Id);
    if (ids.empty()) {
        ShowMessage(this, kTitle, QStringLiteral("There is no fix to export."), MsgIcon::Information);
        return;
    }
    SightLog* log = ProgramSightLog(this);
    if (!log) return;
    const QString suggested = QStringLiteral("sightlog.csv");
    const QString path = Chooser() ? Chooser()(this, suggested)
                                   : AskSavePath(this, QStringLiteral("Export CSV"), suggested,
                                                 QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty()) return;
    // A damaged record is left out and named; the others are written.
    std::vector<LoggedFix> fixes;
    QStringList leftOut;
    for (std::int64_t id : ids) {
        try {
            fixes.push_back(log->Load(id));
        } catch (const SightLogError& e) {
            leftOut << QString::fromStdString(e.what());
        }
    }
    if (fixes.empty()) {
        ShowMessage(this, kTitle, leftOut.join(QLatin1Char('\n')) + QStringLiteral("\nNothing was exported."),
                    MsgIcon::Exclamation);
        return;
    }
    const std::string csv = SightLogCsv(fixes);
    // Written beside the target and renamed over it when complete and flushed: a
    // failure leaves the old file as it was.
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly) &&
                         file.write(csv.data(), static_cast<qint64>(csv.size())) == static_cast<qint64>(csv.size()) &&
                         file.flush() && file.commit();
    if (!written) {
        ShowMessage(this, kTitle,
                    QStringLiteral("The file %1 could not be written: %2. Any file of that name was left as it was.")
                        .arg(QDir::toNativeSeparators(path), file.errorString()),
                    MsgIcon::Exclamation);
    } else if (!leftOut.isEmpty()) {
        ShowMessage(this, kTitle,
                    QStringLiteral("%1 fixes were written to %2; left out:\n%3")
                        .arg(fixes.size())
                        .arg(QDir::toNativeSeparators(path), leftOut.join(QLatin1Char('\n'))),
                    MsgIcon::Exclamation);
    }
}

void frmSightLog::ExportGpx() {
    std::vector<std::int64_t> ids = SelectedIds();
    if (ids.empty())
        for (const LoggedFixSummary& r : model_->Rows()) ids.push_back(r.Id);
    std::vector<LoggedFix> fixes;
    if (!ids.empty()) {
        SightLog* log = ProgramSightLog(this);
        if (!log) return;
        try {
            for (std::int64_t id : ids) fixes.push_back(log->Load(id));
        } catch (const SightLogError& e) {
            ShowMessage(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Exclamation);
            return;
        }
    }
    ExportFixesGpx(this, fixes);
}

std::function<QString(QWidget*, const QString&)> frmSightLog::AskFormPdfPath;

std::vector<WorkForm> frmSightLog::SelectedForms() {
    std::vector<std::int64_t> ids = SelectedIds();
    if (ids.empty() && currentId_ != 0) ids.push_back(currentId_);
    if (ids.empty()) {
        ShowMessage(this, kTitle, QStringLiteral("Select a fix first."), MsgIcon::Information);
        return {};
    }
    SightLog* log = ProgramSightLog(this);
    if (!log) return {};
    std::vector<WorkForm> forms;
    try {
        for (std::int64_t id : ids) {
            const LoggedFix f = log->Load(id);
            NavigationStateRecord working = f.Working;
            working.LocalDate = f.ZoneTime;
            working.StateLoaded = true;
            const SightLines lines = SightLinesOf(f);
            // The record again from the logged working data and sights, iterated or not
            // as the fix was found: the one that gives the logged position.
            FixResult r = CalcPosition(lines, working, kMaxFixPasses);
            if (std::hypot(r.FixLat - f.FixLat, r.FixLon - f.FixLon) * 60.0 > 0.01) r = CalcPosition(lines, working, 1);
            if (r.Refused() || r.FixTime == 0.0)
                throw SightLogError("The fix of " + GpxTime(f.UT) + " cannot be worked again: " + r.Refusal);
            forms.push_back(MakeWorkForm(r));
        }
    } catch (const std::exception& e) {
        ShowMessage(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Exclamation);
        return {};
    }
    return forms;
}

void frmSightLog::PrintForms() {
    const std::vector<WorkForm> forms = SelectedForms();
    if (forms.empty()) return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    QString error;
    if (!DrawWorkForms(&printer, forms, &error)) ShowMessage(this, kTitle, error, MsgIcon::Exclamation);
}

void frmSightLog::SaveFormsPdf() {
    const std::vector<WorkForm> forms = SelectedForms();
    if (forms.empty()) return;
    const QString suggested = QStringLiteral("workforms.pdf");
    const QString path = AskFormPdfPath ? AskFormPdfPath(this, suggested)
                                        : QFileDialog::getSaveFileName(this, QStringLiteral("Save the work forms"), suggested,
                                                                       QStringLiteral("PDF files (*.pdf)"));
    if (path.isEmpty()) return;
    QString error;
    if (!WriteWorkFormPdf(path, forms, &error)) ShowMessage(this, kTitle, error, MsgIcon::Exclamation);
}
