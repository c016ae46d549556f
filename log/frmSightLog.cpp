#include "log/frmSightLog.h"

#include <algorithm>

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
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/mConvertion.h"
#include "app/mDialogs.h"
#include "app/mPublicVars.h"
#include "log/mSightLogQt.h"

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

    lstFixes = MakeList({QStringLiteral("Date"), QStringLiteral("Zone time"), QStringLiteral("UT"),
                         QStringLiteral("Position"), QStringLiteral("Ellipse"), QStringLiteral("Bodies"),
                         QStringLiteral("Note")},
                        this, QStringLiteral("lstFixes"));
    lstFixes->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstSights = MakeList({QStringLiteral("Line"), QStringLiteral("Body"), QStringLiteral("UT"), QStringLiteral("Hs"),
                          QStringLiteral("Limb"), QStringLiteral("Hc"), QStringLiteral("Zn"),
                          QStringLiteral("Intercept")},
                         this, QStringLiteral("lstSights"));
    lstSights->setSelectionMode(QAbstractItemView::NoSelection);
    lstSights->headerItem()->setToolTip(3, QStringLiteral("Sextant altitude, degrees and minutes"));
    lstSights->headerItem()->setToolTip(5, QStringLiteral("Computed altitude, degrees and minutes"));
    lstSights->headerItem()->setToolTip(6, QStringLiteral("Azimuth, degrees true"));
    lstSights->headerItem()->setToolTip(7, QStringLiteral("Intercept, minutes, + toward the body"));
    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(lstFixes);
    split->addWidget(lstSights);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    txtNote = new QLineEdit(this);
    txtNote->setObjectName(QStringLiteral("txtNote"));
    txtNote->setToolTip(QStringLiteral("A note kept with the selected fix (Enter keeps it)"));
    txtNote->setEnabled(false);
    auto* noteLabel = new QLabel(QStringLiteral("&Note:"), this);
    noteLabel->setBuddy(txtNote);
    cmdReopen = new QPushButton(QStringLiteral("&Reopen"), this);
    cmdReopen->setObjectName(QStringLiteral("cmdReopen"));
    cmdReopen->setToolTip(QStringLiteral("Put the fix's working data and sights back into the general "
                                         "information and position windows"));
    cmdDelete = new QPushButton(QStringLiteral("&Delete"), this);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    cmdExport = new QPushButton(QStringLiteral("&Export CSV..."), this);
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    cmdExport->setToolTip(QStringLiteral("The selected fixes, or every fix listed, one row per sight"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(noteLabel);
    buttons->addWidget(txtNote, 1);
    buttons->addWidget(cmdReopen);
    buttons->addWidget(cmdDelete);
    buttons->addWidget(cmdExport);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filter);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);
    lstFixes->setMinimumHeight(lstFixes->fontMetrics().height() * 8);
    lstSights->setMinimumHeight(lstSights->fontMetrics().height() * 6);
    SetDesignSizeTwips(12600, 7800);  // 840 by 520 pixels at 96 dots per inch

    connect(chkFilter, &QCheckBox::toggled, this, [this] { Update(); });
    connect(dateFrom, &QDateEdit::dateChanged, this, [this] { if (chkFilter->isChecked()) Update(); });
    connect(dateTo, &QDateEdit::dateChanged, this, [this] { if (chkFilter->isChecked()) Update(); });
    connect(lstFixes, &QTreeWidget::itemSelectionChanged, this, [this] { ShowSelected(); });
    connect(txtNote, &QLineEdit::editingFinished, this, [this] { KeepNote(); });
    connect(cmdReopen, &QPushButton::clicked, this, [this] { Reopen(); });
    connect(cmdDelete, &QPushButton::clicked, this, [this] { DeleteSelected(); });
    connect(cmdExport, &QPushButton::clicked, this, [this] { ExportCsv(); });
    Update();
}

void frmSightLog::Update() {
    const std::vector<std::int64_t> keep = SelectedIds();
    lstFixes->clear();
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
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<int>(rows.size()));
    for (const LoggedFixSummary& r : rows) {
        auto* it = new QTreeWidgetItem(QStringList{
            FormatShortDate(r.ZoneTime), FormatShortTime(r.ZoneTime), DateTimeUT(r.UT), Position(r.FixLat, r.FixLon),
            Ellipse(r.EllipseA, r.EllipseB, r.EllipseAlpha),
            QString::number(r.BodyCount) + QStringLiteral(": ") + QString::fromStdString(r.BodyNames),
            QString::fromStdString(r.Note)});
        it->setData(0, Qt::UserRole, QVariant::fromValue<qlonglong>(r.Id));
        items.append(it);
    }
    lstFixes->addTopLevelItems(items);
    for (QTreeWidgetItem* it : items)
        if (std::find(keep.begin(), keep.end(), it->data(0, Qt::UserRole).toLongLong()) != keep.end())
            it->setSelected(true);
    ShowSelected();
}

std::vector<std::int64_t> frmSightLog::SelectedIds() const {
    std::vector<std::int64_t> ids;
    for (int i = 0; i < lstFixes->topLevelItemCount(); ++i) {
        QTreeWidgetItem* it = lstFixes->topLevelItem(i);
        if (it->isSelected()) ids.push_back(it->data(0, Qt::UserRole).toLongLong());
    }
    return ids;
}

void frmSightLog::ShowSelected() {
    lstSights->clear();
    const std::vector<std::int64_t> ids = SelectedIds();
    currentId_ = ids.size() == 1 ? ids.front() : 0;
    txtNote->setEnabled(currentId_ != 0);
    cmdReopen->setEnabled(currentId_ != 0);
    cmdDelete->setEnabled(!ids.empty());
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
                FormatAngleDegMin(s.Hs, 2, true, false), s.LowerLimb ? QStringLiteral("lower") : QStringLiteral("upper"),
                FormatAngleDegMin(s.Hc, 2, true, false), FormatNumber(s.Zn, QStringLiteral("000.0")) + QStringLiteral("\u00B0"),
                FormatNumber(s.Intercept, QStringLiteral("+00.0;-00.0")) + QLatin1Char('\'')}));
        }
    } catch (const SightLogError& e) {
        ShowMessage(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Exclamation);
    }
}

void frmSightLog::KeepNote() {
    if (!currentId_) return;
    SightLog* log = ProgramSightLog(this);
    if (!log) return;
    try {
        log->SetNote(currentId_, txtNote->text().toStdString());
    } catch (const SightLogError& e) {
        ShowMessage(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Exclamation);
        return;
    }
    for (int i = 0; i < lstFixes->topLevelItemCount(); ++i) {
        QTreeWidgetItem* it = lstFixes->topLevelItem(i);
        if (it->data(0, Qt::UserRole).toLongLong() == currentId_) it->setText(6, txtNote->text());
    }
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
    const bool loaded = NavigationState.StateLoaded;
    NavigationState = f.Working;
    NavigationState.StateLoaded = loaded;
    emit fixReopened(f);
}

void frmSightLog::DeleteSelected() {
    const std::vector<std::int64_t> ids = SelectedIds();
    if (ids.empty()) return;
    const QString what = ids.size() == 1 ? QStringLiteral("the selected fix")
                                         : QStringLiteral("the %1 selected fixes").arg(ids.size());
    if (ShowMessage(this, kTitle, QStringLiteral("Delete %1 and its sights from the sight log?").arg(what),
                    MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
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
        for (int i = 0; i < lstFixes->topLevelItemCount(); ++i)
            ids.push_back(lstFixes->topLevelItem(i)->data(0, Qt::UserRole).toLongLong());
    if (ids.empty()) {
        ShowMessage(this, kTitle, QStringLiteral("There is no fix to export."), MsgIcon::Information);
        return;
    }
    SightLog* log = ProgramSightLog(this);
    if (!log) return;
    const QString suggested = QStringLiteral("sightlog.csv");
    const QString path = Chooser() ? Chooser()(this, suggested)
                                   : QFileDialog::getSaveFileName(this, QStringLiteral("Export CSV"), suggested,
                                                                  QStringLiteral("CSV files (*.csv)"));
    if (path.isEmpty()) return;
    std::vector<LoggedFix> fixes;
    try {
        for (std::int64_t id : ids) fixes.push_back(log->Load(id));
    } catch (const SightLogError& e) {
        ShowMessage(this, kTitle, QString::fromStdString(e.what()), MsgIcon::Exclamation);
        return;
    }
    const std::string csv = SightLogCsv(fixes);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(csv.data(), static_cast<qint64>(csv.size())) < 0 ||
        !file.commit()) {
        ShowMessage(this, kTitle,
                    QStringLiteral("The file %1 could not be written: %2.")
                        .arg(QDir::toNativeSeparators(path), file.errorString()),
                    MsgIcon::Exclamation);
    }
}
