#include "almanac/frmAnnual.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "almanac/mAnnual.h"
#include "ui/mConvertion.h"
#include "ui/mDialogs.h"
#include "ui/mLayout.h"
#include "ui/mPublicVarsQt.h"
#include "core/mFault.h"

namespace {

const char* const kSeasonNames[4] = {"Summer solstice", "Winter solstice", "Spring equinox", "Autumn equinox"};
const char* const kPhaseHeaders[4] = {"New moon", "First quarter", "Full moon", "Last quarter"};

// "mmmm dd,  hh:mm": the month's name in the user's language, the day, a comma, two
// spaces, the time; seconds rounded as the instant is shown.
QString SeasonText(DateValue v) {
    const CalendarDate c = EventParts(v);
    const QDateTime dt(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute));
    return QLocale().toString(dt, QStringLiteral("MMMM dd,  hh:mm"));
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

frmAnnual::frmAnnual(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmAnnual"));
    LoadSharedState();
    setWindowTitle(QStringLiteral("Annual data"));
    SetDesignSizeTwips(9000, 6600);

    Frame1 = new QGroupBox(QStringLiteral("Moon"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    ListView1 = new QTreeWidget(Frame1);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setRootIsDecorated(false);
    ListView1->setUniformRowHeights(true);
    QStringList headers{QStringLiteral("Month")};
    for (const char* h : kPhaseHeaders) headers << QString::fromLatin1(h);
    ListView1->setHeaderLabels(headers);
    ListView1->headerItem()->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    for (int c = 1; c <= 4; ++c) ListView1->headerItem()->setTextAlignment(c, Qt::AlignCenter);
    ListView1->header()->setStretchLastSection(false);
    ListView1->headerItem()->setToolTip(0, QStringLiteral("Month: the month of the year shown"));
    for (int c = 1; c <= 4; ++c)
        ListView1->headerItem()->setToolTip(
            c, QStringLiteral("%1: day and UT time of the phase in the month, dd hh:mm; two in a month are "
                              "joined by \"&\"")
                   .arg(QString::fromLatin1(kPhaseHeaders[c - 1])));
    ListView1->setColumnWidth(0, TwipsToPixels(1000));
    auto* moonLayout = new QVBoxLayout(Frame1);
    moonLayout->addWidget(ListView1);

    Frame2 = new QGroupBox(QStringLiteral("Sun"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* sunLayout = new QGridLayout(Frame2);
    for (int i = 0; i < 4; ++i) {
        Label1[i] = new QLabel(QString::fromLatin1(kSeasonNames[i]), Frame2);
        Label1[i]->setObjectName(QStringLiteral("Label1_%1").arg(i));
        Label2[i] = new QLabel(Frame2);
        Label2[i]->setObjectName(QStringLiteral("Label2_%1").arg(i));
        Label2[i]->setToolTip(QStringLiteral("%1: the UT instant, month, day, hours and minutes")
                                  .arg(QString::fromLatin1(kSeasonNames[i])));
        Label1[i]->setToolTip(Label2[i]->toolTip());
        sunLayout->addWidget(Label1[i], i, 0);
        sunLayout->addWidget(Label2[i], i, 1);
    }
    sunLayout->setColumnStretch(1, 1);

    Frame3 = new QGroupBox(QStringLiteral("Year"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Combo1 = new QComboBox(Frame3);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->setToolTip(QStringLiteral("Year: the year of the page, 1900 to 2100"));
    for (int i = 0; i <= kLastYear - kFirstYear; ++i) Combo1->addItem(QString::number(kFirstYear + i));
    Command1 = new QPushButton(QStringLiteral("&Refresh"), Frame3);
    Command1->setToolTip(QStringLiteral("Compute the events of the year typed"));
    Command1->setObjectName(QStringLiteral("Command1"));
    auto* yearLayout = new QVBoxLayout(Frame3);
    yearLayout->addWidget(Combo1);
    yearLayout->addWidget(Command1);
    yearLayout->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Frame2, 1);
    bottom->addWidget(Frame3);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(Frame1, 1);
    outer->addLayout(bottom);

    // The year of the working date; a year outside the list shows its nearer end.
    workingYear_ = YearToShow(NavigationState.LocalDate);
    {
        const QSignalBlocker block(Combo1);
        Combo1->setCurrentIndex(workingYear_ - kFirstYear);
    }
    connect(Combo1, &QComboBox::currentIndexChanged, this, [this](int) { Combo1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Combo1_Click(); });
    Combo1_Click();
}

void frmAnnual::Update() {
    // A year the user chose stays until the working date moves to another year.
    const int year = YearToShow(NavigationState.LocalDate);
    if (year == workingYear_) return;
    workingYear_ = year;
    Combo1->setCurrentIndex(year - kFirstYear);  // its change shows the year
}

int frmAnnual::YearToShow(DateValue localDate) {
    return std::clamp(DateToParts(localDate).year, kFirstYear, kLastYear);
}

void frmAnnual::Combo1_Click() {
    bool ok = false;
    const double value = Combo1->currentText().toDouble(&ok);
    if (!ok) return;
    ShowYear(static_cast<int>(std::lround(value)));
}

void frmAnnual::ShowYear(int year) {
    WaitCursor wait;
    try {
        FillMoonPhases(year);
        Label2[0]->setText(SeasonText(SolsticeDate(year, true)));
        Label2[1]->setText(SeasonText(SolsticeDate(year, false)));
        Label2[2]->setText(SeasonText(EquinoxDate(year, true)));
        Label2[3]->setText(SeasonText(EquinoxDate(year, false)));
    } catch (const ArithmeticFault& fault) {
        for (QLabel* l : Label2) l->clear();
        ShowMessage(this, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()), MsgIcon::Critical);
    }
}

void frmAnnual::FillMoonPhases(int year) {
    ListView1->clear();
    const QLocale locale;
    for (int m = 1; m <= 12; ++m) {
        auto* item = new QTreeWidgetItem;
        item->setText(0, locale.standaloneMonthName(m, QLocale::LongFormat));
        item->setTextAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
        for (int c = 1; c <= 4; ++c) item->setTextAlignment(c, Qt::AlignCenter);
        ListView1->addTopLevelItem(item);
    }
    // The window stays painted while the lunations are computed; user input waits, so
    // that a second click cannot start the same work inside the first.
    const PhaseTable t = MoonPhaseTable(year, [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    for (int m = 1; m <= 12; ++m)
        for (int q = 0; q < kPhaseCount; ++q)
            ListView1->topLevelItem(m - 1)->setText(1 + q, QString::fromStdString(PhaseCellText(t, m, q)));
    for (int c = 1; c <= 4; ++c) ListView1->resizeColumnToContents(c);
    // "Month" is 1000 twips wide, or wider when a month's name needs it.
    const QFontMetrics fm(ListView1->font());
    int widest = 0;
    for (int m = 1; m <= 12; ++m) widest = std::max(widest, fm.horizontalAdvance(locale.standaloneMonthName(m)));
    ListView1->setColumnWidth(0, std::max(TwipsToPixels(1000), widest + fm.horizontalAdvance(QStringLiteral("MM"))));
    // Room for the twelve months without scrolling.
    const int rowHeight = ListView1->visualItemRect(ListView1->topLevelItem(0)).height();
    ListView1->setMinimumHeight(ListView1->header()->sizeHint().height() + 12 * std::max(rowHeight, fm.height()) +
                                2 * ListView1->frameWidth() + 4);
}
