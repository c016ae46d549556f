#include "almanac/frmEphemerides.h"

#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QHeaderView>
#include <QProgressBar>
#include <QPushButton>
#include <QTextStream>
#include <QTreeWidget>
#include <algorithm>
#include <cmath>

#include "almanac/mEphemerides.h"
#include "ui/mConvertion.h"
#include "ui/mDialogs.h"
#include "ui/mLayout.h"
#include "ui/mSavePath.h"
#include "core/mWorkingData.h"
#include "core/mFault.h"
#include "ui/mPublicVarsQt.h"

namespace {

// Columns: header, width in twips (0: the list's default), alignment.
struct PageColumn {
    const char* header;
    int widthTwips;
    Qt::Alignment align;
};
constexpr PageColumn kColumnUT{"UT", 240, Qt::AlignLeft};
constexpr PageColumn kColumnAries{"ARIES", 570, Qt::AlignHCenter};
// After the bodies: the Moon's v, d and HP and the semidiameters, arc minutes.
constexpr std::array<const char*, 5> kMinuteColumns{"MOON v", "MOON d", "MOON HP", "SUN SD", "MOON SD"};
constexpr int kFirstMinuteColumn = 2 + kEphemerisBodyCount;
constexpr std::array<const char*, 5> kMinuteTips{
    "MOON v: the Moon's excess of hourly GHA change over 14\u00B019.0', arc minutes",
    "MOON d: the Moon's hourly change of declination, arc minutes, + northward",
    "MOON HP: the Moon's horizontal parallax, arc minutes",
    "SUN SD: the Sun's semidiameter, arc minutes",
    "MOON SD: the Moon's semidiameter, arc minutes"};

std::array<double, 5> MinuteValues(const EphemerisRow& r) { return {r.moonV, r.moonD, r.moonHP, r.sunSD, r.moonSD}; }

// The wait cursor over a window for the life of the guard.
class WaitCursor {
public:
    explicit WaitCursor(QWidget* w) : w_(w) { w_->setCursor(Qt::WaitCursor); }
    ~WaitCursor() { w_->unsetCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    QWidget* w_;
};

}  // namespace

frmEphemerides::frmEphemerides(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmEphemerides"));
    SetDesignSizeTwips(8280, 5700);
    // The page in 8-point print, as an almanac's, or the desktop's small font when
    // that is larger; JoinGhaDec measures in this font.
    QFont small = font();
    small.setPointSizeF(std::max(8.0, MinimumFontPointSize()));
    setFont(small);

    lvEphemer = new QTreeWidget(this);
    lvEphemer->setObjectName(QStringLiteral("lvEphemer"));
    lvEphemer->setRootIsDecorated(false);
    lvEphemer->setUniformRowHeights(true);
    lvEphemer->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvEphemer->setColumnCount(kFirstMinuteColumn + static_cast<int>(kMinuteColumns.size()));
    QStringList headers{QString::fromLatin1(kColumnUT.header), QString::fromLatin1(kColumnAries.header)};
    for (const EphemerisColumn& c : kEphemerisColumns) headers << QString::fromLatin1(c.header);
    for (const char* c : kMinuteColumns) headers << QString::fromLatin1(c);
    lvEphemer->setHeaderLabels(headers);
    QTreeWidgetItem* header = lvEphemer->headerItem();
    header->setTextAlignment(0, kColumnUT.align | Qt::AlignVCenter);
    header->setTextAlignment(1, kColumnAries.align | Qt::AlignVCenter);
    for (int c = 2; c < lvEphemer->columnCount(); ++c) header->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    lvEphemer->header()->setStretchLastSection(false);
    lvEphemer->header()->setDefaultAlignment(Qt::AlignCenter);
    header->setToolTip(0, QStringLiteral("UT: the whole hour of Universal Time"));
    header->setToolTip(1, QStringLiteral("ARIES: Greenwich hour angle of Aries at the hour, degrees and minutes"));
    for (int c = 0; c < kEphemerisBodyCount; ++c)
        header->setToolTip(2 + c, QStringLiteral("%1: Greenwich hour angle at the hour, degrees and minutes "
                                                 "westward; then declination, N or S, degrees and minutes")
                                      .arg(headers[2 + c]));
    for (size_t c = 0; c < kMinuteTips.size(); ++c)
        header->setToolTip(kFirstMinuteColumn + static_cast<int>(c), QString::fromUtf8(kMinuteTips[c]));

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    // 0..100 in steps of 100/23: the range holds the exact value i * 100 / 23 as i * 100 of 2300.
    ProgressBar1->setRange(0, 2300);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    Command1 = new QPushButton(QStringLiteral("&Recalculate"), this);
    Command1->setToolTip(QStringLiteral("Compute the page again for the working date"));
    Command1->setObjectName(QStringLiteral("Command1"));
    ProgressBar1->setToolTip(QStringLiteral("Progress of the page's computation"));
    connect(Command1, &QPushButton::clicked, this, [this] { Update(); });

    cmdExport = new QPushButton(QStringLiteral("E&xport…"), this);
    cmdExport->setToolTip(QStringLiteral("Save the page as a CSV file, each row with its UT date and hour"));
    cmdExport->setObjectName(QStringLiteral("cmdExport"));
    connect(cmdExport, &QPushButton::clicked, this, [this] {
        const QString path = AskExportPath ? AskExportPath(this) : QString();
        if (!path.isEmpty()) ExportCsv(path);
    });

    Update();
    // At least the hour, Aries and one body, a few hours deep, and the button.
    const QSize button = Command1->sizeHint();
    setMinimumSize(lvEphemer->columnWidth(0) + lvEphemer->columnWidth(1) + lvEphemer->columnWidth(2) + 40,
                   lvEphemer->header()->sizeHint().height() + 6 * QFontMetrics(font()).height() + 3 * button.height());
}

QSize frmEphemerides::ContentSize() const {
    int width = 0;
    for (int c = 0; c < lvEphemer->columnCount(); ++c) width += lvEphemer->columnWidth(c);
    const int frame = 2 * lvEphemer->frameWidth();
    int rowHeight = QFontMetrics(lvEphemer->font()).height() + 4;
    if (lvEphemer->topLevelItemCount() > 0)
        rowHeight = std::max(rowHeight, lvEphemer->topLevelItem(0)->sizeHint(0).height());
    const QSize button = Command1->sizeHint().expandedTo(QSize(TwipsToPixels(1215), TwipsToPixels(375)));
    const int tableHeight = lvEphemer->header()->sizeHint().height() + kEphemerisHours * rowHeight + frame + 4;
    return QSize(width + frame + 4, tableHeight + button.height() * 3 / 2);
}

std::function<QString(QWidget*)> frmEphemerides::AskExportPath = [](QWidget* parent) {
    const QString name = QStringLiteral("ephemerides-%1.csv")
                             .arg(ToQDateTime(DateWholeDays(NavigationState.LocalDate)).date().toString(Qt::ISODate));
    return AskSavePath(parent, QStringLiteral("Export the page"), name, QStringLiteral("CSV files (*.csv)"),
                       QStringLiteral("csv"));
};

bool frmEphemerides::ExportCsv(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        ShowMessage(this, QStringLiteral("Export"), QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()),
                    MsgIcon::Critical);
        return false;
    }
    QTextStream out(&file);
    auto quoted = [](const QString& t) { return QLatin1Char('"') + QString(t).replace('"', QStringLiteral("\"\"")) + QLatin1Char('"'); };
    // Each row says its instant: the UT date and the whole hour of UT.
    QStringList head{QStringLiteral("date_ut"), QStringLiteral("time_ut"), QStringLiteral("aries_gha")};
    for (const EphemerisColumn& c : kEphemerisColumns) {
        const QString name = QString::fromLatin1(c.header).toLower();
        head << name + QStringLiteral("_gha") << name + QStringLiteral("_dec");
    }
    for (const char* c : kMinuteColumns) head << QString::fromLatin1(c).toLower().replace(' ', '_') + QStringLiteral("_arcmin");
    for (int c = 1; c < lvEphemer->columnCount(); ++c) head << quoted(lvEphemer->headerItem()->text(c));
    out << head.join(QLatin1Char(',')) << "\n";
    for (int i = 0; i < lvEphemer->topLevelItemCount() && i < kEphemerisHours; ++i) {
        const EphemerisRow& r = rows_[static_cast<size_t>(i)];
        QStringList cells{pageDate_.toString(Qt::ISODate), QStringLiteral("%1:00").arg(r.hour, 2, 10, QLatin1Char('0')),
                          QString::number(r.aries, 'f', 6)};
        for (int c = 0; c < kEphemerisBodyCount; ++c)
            cells << QString::number(r.gha[static_cast<size_t>(c)], 'f', 6) << QString::number(r.dec[static_cast<size_t>(c)], 'f', 6);
        for (double v : MinuteValues(r)) cells << QString::number(v, 'f', 3);
        for (int c = 1; c < lvEphemer->columnCount(); ++c) cells << quoted(lvEphemer->topLevelItem(i)->text(c));
        out << cells.join(QLatin1Char(',')) << "\n";
    }
    out.flush();
    if (file.error() != QFileDevice::NoError) {
        ShowMessage(this, QStringLiteral("Export"), QStringLiteral("Cannot write %1: %2").arg(path, file.errorString()),
                    MsgIcon::Critical);
        return false;
    }
    return true;
}

QString frmEphemerides::GhaText(double gha) { return FormatAngleDegMin(gha, 3, true, false); }
QString frmEphemerides::DecText(double dec) { return FormatAngleDegMin(dec, 2, true, true); }

QString frmEphemerides::JoinGhaDec(const QString& a, const QString& b) const {
    const int w = PixelsToTwips(QFontMetrics(font()).horizontalAdvance(b));
    // Rounded half to even (the default rounding of nearbyint); at least one space, so
    // that the two fields never run together in a wide font.
    const int n = std::max(1, static_cast<int>(std::nearbyint((645.0 - w) / 45.0 + 4.0)));
    return a + QString(n, QLatin1Char(' ')) + b;
}

void frmEphemerides::Update() {
    setWindowTitle(QStringLiteral("Planetary data: Ephemerides for ") + FormatLongDate(NavigationState.LocalDate));
    try {
        FillEphemerides();
    } catch (const ArithmeticFault& fault) {
        ProgressBar1->setValue(0);
        ShowMessage(this, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()), MsgIcon::Critical);
    }
}

void frmEphemerides::FillEphemerides() {
    const double jd0 = EphemerisPageStart(NavigationState.LocalDate);
    pageDate_ = ToQDateTime(DateWholeDays(NavigationState.LocalDate)).date();  // the page's UT date (as jd0)
    WaitCursor wait(this);
    const EphemerisFit fit = EphemerisPageFit(jd0);
    lvEphemer->clear();
    for (int i = 0; i < kEphemerisHours; ++i) {
        ProgressBar1->setValue(i * 100);
        const EphemerisRow row = EphemerisRowAt(fit, jd0 + i / 24.0, i);
        rows_[static_cast<size_t>(i)] = row;
        auto* item = new QTreeWidgetItem;
        item->setText(0, QStringLiteral("0%1").arg(i).right(2));
        item->setText(1, GhaText(row.aries));
        item->setTextAlignment(0, kColumnUT.align | Qt::AlignVCenter);
        item->setTextAlignment(1, kColumnAries.align | Qt::AlignVCenter);
        for (int c = 0; c < kEphemerisBodyCount; ++c) {
            item->setText(2 + c, JoinGhaDec(GhaText(row.gha[c]), DecText(row.dec[c])));
            item->setTextAlignment(2 + c, Qt::AlignRight | Qt::AlignVCenter);
        }
        const std::array<double, 5> minutes = MinuteValues(row);
        for (size_t k = 0; k < minutes.size(); ++k) {
            const int col = kFirstMinuteColumn + static_cast<int>(k);
            item->setText(col, FormatNumber(minutes[k], k == 1 ? QStringLiteral("+0.0;-0.0") : QStringLiteral("0.0")));
            item->setTextAlignment(col, Qt::AlignRight | Qt::AlignVCenter);
        }
        lvEphemer->addTopLevelItem(item);
    }
    // Column widths: UT and ARIES as designed, widened when the font needs more room;
    // the body columns fit their contents.
    const QFontMetrics fm(lvEphemer->font());
    const int pad = fm.horizontalAdvance(QStringLiteral("MM"));
    lvEphemer->setColumnWidth(0, std::max(TwipsToPixels(kColumnUT.widthTwips), fm.horizontalAdvance(QStringLiteral("UT")) + pad));
    lvEphemer->setColumnWidth(1, std::max(TwipsToPixels(kColumnAries.widthTwips),
                                          fm.horizontalAdvance(lvEphemer->topLevelItem(0)->text(1)) + pad));
    for (int c = 2; c < lvEphemer->columnCount(); ++c) lvEphemer->resizeColumnToContents(c);
    ProgressBar1->setValue(0);
}

void frmEphemerides::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    const int w = width();
    const int h = height();
    const QSize button = Command1->sizeHint().expandedTo(QSize(TwipsToPixels(1215), TwipsToPixels(375)));
    lvEphemer->setGeometry(0, 0, w, std::max(0, h - button.height() * 3 / 2));
    const int top = h - button.height() * 5 / 4;
    const int barWidth = std::max(0, w - 2 * button.width() - TwipsToPixels(240));
    ProgressBar1->setGeometry(TwipsToPixels(60), top, barWidth, button.height());
    cmdExport->setGeometry(barWidth + TwipsToPixels(120), top, button.width(), button.height());
    Command1->setGeometry(barWidth + button.width() + TwipsToPixels(180), top, button.width(), button.height());
}
