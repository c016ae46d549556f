#include "riseset/frmRiseSet.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QResizeEvent>

#include "ui/mConvertion.h"
#include "ui/mDialogs.h"
#include "core/mWorkingData.h"
#include "ui/mPublicVarsQt.h"
#include "core/mFault.h"
#include "core/mPlanet.h"
#include "core/mTime.h"
#include "riseset/mRiseSet.h"

namespace {

constexpr int kRows = 9;
constexpr int kRowTop = 1520;     // twips, client area
constexpr int kRowHeight = 240;   // twips
const QString kApproximate = QStringLiteral(" (Approximate)");
const QString kRigorous = QStringLiteral(" (Rigorous)");
const QString kCalculating = QStringLiteral("Calculating...");

// Column lefts and widths, twips: name, rise, set, upper time, upper altitude,
// lower time, lower altitude.
constexpr int kColLeft[7] = {120, 2300, 3300, 4300, 5210, 6080, 6990};
constexpr int kColWidth[7] = {2180, 960, 960, 900, 840, 900, 840};

int BodyIdOfRow(int row) { return row <= 2 ? row : row + 1; }

// The zone time of a UT event, "hh:mm:ss".
QString ZoneTime(DateValue ut) {
    return QString::fromStdString(TimeOfDayText(ut + static_cast<double>(NavigationState.TZ) / 24.0));
}

// The UT instant of the local midnight of LocalDate.
DateValue LocalDayStart() {
    return DateWholeDays(NavigationState.LocalDate) - static_cast<double>(NavigationState.TZ) / 24.0;
}

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text = QString()) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// Puts two labels' texts and alignment: centred words or right-aligned times.
void SetPair(QLabel* a, QLabel* b, const QString& ta, const QString& tb, bool centred) {
    const Qt::Alignment al = (centred ? Qt::AlignHCenter : Qt::AlignRight) | Qt::AlignVCenter;
    a->setAlignment(al);
    b->setAlignment(al);
    a->setText(ta);
    b->setText(tb);
}

// The hourglass for the length of a recomputation, restored however it ends.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace

frmRiseSet::frmRiseSet(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmRiseSet"));
    LoadSharedState();
    setWindowTitle(QStringLiteral("Planetary data: Rise, Set, Transit"));
    SetDesignSizeTwips(8280, 5700);

    fraRS_GenInfo = new QGroupBox(QStringLiteral("General Info"), this);
    fraRS_GenInfo->setObjectName(QStringLiteral("fraRS_GenInfo"));
    Place(fraRS_GenInfo, 120, 40, 7860, 1080);

    static const char* const headers[5] = {"Planet Name", "Rise Time", "Set Time", "Upper Transit", "Lower Transit"};
    static const char* const headerTips[5] = {
        "Planet Name: the body, and the method of its row; click a name to recompute the row by the rigorous method",
        "Rise Time: zone time (UT + zone) at which the body rises, hh:mm:ss",
        "Set Time: zone time (UT + zone) at which the body sets, hh:mm:ss",
        "Upper Transit: zone time of the meridian passage, and the altitude then in degrees and minutes "
        "(- below the horizon)",
        "Lower Transit: zone time of the passage of the lower meridian, and the altitude then in degrees and "
        "minutes (- below the horizon)"};
    for (int i = 0; i < 9; ++i) {
        QWidget* parentOf = i == 5 ? static_cast<QWidget*>(fraRS_GenInfo) : this;
        lblRS_Def[static_cast<size_t>(i)] = NewLabel(parentOf, QStringLiteral("lblRS_Def_%1").arg(i));
    }
    QFont bold = font();
    bold.setBold(true);
    for (int i = 0; i < 5; ++i) {
        QLabel* h = lblRS_Def[static_cast<size_t>(i)];
        h->setText(QString::fromLatin1(headers[i]));
        h->setToolTip(QString::fromLatin1(headerTips[i]));
        h->setFont(bold);
        h->setAlignment(i == 0 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignHCenter | Qt::AlignVCenter);
    }
    Place(lblRS_Def[0], kColLeft[0], 1200, kColWidth[0], 280);
    Place(lblRS_Def[1], kColLeft[1] - 20, 1200, kColWidth[1] + 40, 280);
    Place(lblRS_Def[2], kColLeft[2] - 20, 1200, kColWidth[2] + 40, 280);
    Place(lblRS_Def[3], kColLeft[3], 1200, kColLeft[4] + kColWidth[4] - kColLeft[3], 280);
    Place(lblRS_Def[4], kColLeft[5], 1200, kColLeft[6] + kColWidth[6] - kColLeft[5], 280);
    lblRS_Def[5]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Below the frame's caption, which the style draws on the top edge.
    Place(lblRS_Def[5], 120, 330, 7620, 700);

    const auto& names = BodyNames();
    for (int i = 0; i < kRows; ++i) {
        const auto r = static_cast<size_t>(i);
        const int top = kRowTop + i * kRowHeight;
        lblRS_Name[r] = NewLabel(this, QStringLiteral("lblRS_Name_%1").arg(i));
        lblRS_Rise[r] = NewLabel(this, QStringLiteral("lblRS_Rise_%1").arg(i));
        lblRS_Set[r] = NewLabel(this, QStringLiteral("lblRS_Set_%1").arg(i));
        lblRS_UTransitT[r] = NewLabel(this, QStringLiteral("lblRS_UTransitT_%1").arg(i));
        lblRS_UTransitH[r] = NewLabel(this, QStringLiteral("lblRS_UTransitH_%1").arg(i));
        lblRS_LTransitT[r] = NewLabel(this, QStringLiteral("lblRS_LTransitT_%1").arg(i));
        lblRS_LTransitH[r] = NewLabel(this, QStringLiteral("lblRS_LTransitH_%1").arg(i));
        QLabel* row[7] = {lblRS_Name[r],      lblRS_Rise[r],      lblRS_Set[r],      lblRS_UTransitT[r],
                          lblRS_UTransitH[r], lblRS_LTransitT[r], lblRS_LTransitH[r]};
        for (int c = 0; c < 7; ++c) {
            Place(row[c], kColLeft[c], top, kColWidth[c], kRowHeight);
            if (c > 0) row[c]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        lblRS_Name[r]->setText(QString::fromStdString(names.size() > r ? names[r] : std::string()) + kApproximate);
        lblRS_Name[r]->installEventFilter(this);
    }

    const int twiTop = kRowTop + kRows * kRowHeight + 80;
    fraTwilight = new QGroupBox(QStringLiteral("Twilight (Approximate)"), this);
    fraTwilight->setObjectName(QStringLiteral("fraTwilight"));
    Place(fraTwilight, 120, twiTop, 4800, 1000);
    fraTwilight->installEventFilter(this);
    lblRS_Def[6]->setParent(fraTwilight);
    lblRS_Def[7]->setParent(fraTwilight);
    lblRS_Def[6]->setText(QStringLiteral("Nautical"));
    lblRS_Def[7]->setText(QStringLiteral("Civil"));
    lblRS_Def[6]->setToolTip(QStringLiteral("Nautical twilight: zone times at which the Sun's centre is 12\u00B0 "
                                            "below the horizon, morning start and evening end"));
    lblRS_Def[7]->setToolTip(QStringLiteral("Civil twilight: zone times at which the Sun's centre is 6\u00B0 "
                                            "below the horizon, morning start and evening end"));
    fraTwilight->setToolTip(QStringLiteral("Click to recompute the twilight by the rigorous method"));
    Place(lblRS_Def[6], 120, 360, 1500, 260);
    Place(lblRS_Def[7], 120, 640, 1500, 260);
    for (int i = 0; i < 4; ++i) {
        auto* l = NewLabel(fraTwilight, QStringLiteral("lblRS_TwiLight_%1").arg(i));
        lblRS_TwiLight[static_cast<size_t>(i)] = l;
        // Mouse clicks on the labels reach the frame.
        l->setAttribute(Qt::WA_TransparentForMouseEvents);
        Place(l, 1760 + (i % 2) * 1400, 360 + (i / 2) * 280, 1200, 260);
    }
    lblRS_Def[6]->setAttribute(Qt::WA_TransparentForMouseEvents);
    lblRS_Def[7]->setAttribute(Qt::WA_TransparentForMouseEvents);

    Command1 = new QPushButton(QStringLiteral("&Recalculate"), this);
    Command1->setToolTip(QStringLiteral("Compute the table again for the working data (every row approximate)"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Place(Command1, 5880, twiTop + 300, 1800, 420);
    connect(Command1, &QPushButton::clicked, this, [this] {
        try {
            Update();
        } catch (const ArithmeticFault& fault) {
            ShowMessage(this, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()),
                        MsgIcon::Exclamation);
        }
    });

    lblRS_Def[8]->setText(QStringLiteral("Note: Rise, Set and Twilight data are approximate. For more precise data, "
                                         "click the planet's name or the twilight frame."));
    lblRS_Def[8]->setWordWrap(true);
    lblRS_Def[8]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Place(lblRS_Def[8], 120, twiTop + 1060, 7860, 460);

    try {
        Update();
    } catch (const ArithmeticFault& fault) {
        ShowMessage(this, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()),
                    MsgIcon::Exclamation);
    }
    resize(TwipsToPixels(QSize(8100, 5700 - 360)));
}

void frmRiseSet::Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

void frmRiseSet::Placed() {
    setMinimumSize(size());  // every label has its room at the load size
    scaler_.Start(this);
}

void frmRiseSet::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    if (scaler_.Started()) scaler_.Resize(this);
}

void frmRiseSet::Update() {
    WaitCursor wait;
    lblRS_Def[5]->setText(ConditionsText());
    for (int i = 0; i < kRows; ++i) FillRow(i, true);
    FillTwilight(true);
    fraTwilight->setCursor(Qt::PointingHandCursor);
    lblRS_Def[5]->setText(ConditionsText());
}

void frmRiseSet::FillRow(int row, bool approximate) {
    const auto i = static_cast<size_t>(row);
    const int body = BodyIdOfRow(row);
    const DateValue day = LocalDayStart();
    const double lat = NavigationState.Lat, lon = NavigationState.Lon;
    const RiseSetResult r = RiseSetTimes(day, lat, lon, body, approximate, HorizonOf(NavigationState));
    const TransitResult t = TransitTimes(day, lat, lon, body, HorizonOf(NavigationState));

    if (r.NoCrossing()) {
        SetPair(lblRS_Rise[i], lblRS_Set[i], QStringLiteral("Always"),
                r.Rise > 0.0 ? QStringLiteral("Above") : QStringLiteral("Below"), true);
    } else {
        SetPair(lblRS_Rise[i], lblRS_Set[i], r.Rise == 0.0 ? QStringLiteral("No Rise") : ZoneTime(r.Rise),
                r.Set == 0.0 ? QStringLiteral("No Set") : ZoneTime(r.Set), false);
    }
    lblRS_UTransitT[i]->setText(ZoneTime(t.UpperTime));
    lblRS_UTransitH[i]->setText(FormatAngleDegMin(t.UpperAltitude, 2, true, false));
    lblRS_LTransitT[i]->setText(ZoneTime(t.LowerTime));
    lblRS_LTransitH[i]->setText(FormatAngleDegMin(t.LowerAltitude, 2, true, false));

    const auto& names = BodyNames();
    const QString name = QString::fromStdString(names.size() > i ? names[i] : std::string());
    lblRS_Name[i]->setText(name + (approximate ? kApproximate : kRigorous));
    if (approximate) lblRS_Name[i]->setCursor(Qt::PointingHandCursor);
    else lblRS_Name[i]->unsetCursor();
}

void frmRiseSet::FillTwilight(bool approximate) {
    const DateValue day = LocalDayStart();
    const double lat = NavigationState.Lat, lon = NavigationState.Lon;
    const RiseSetResult results[2] = {TwilightTimes(day, lat, lon, false, approximate, HorizonOf(NavigationState)),
                                      TwilightTimes(day, lat, lon, true, approximate, HorizonOf(NavigationState))};
    for (int k = 0; k < 2; ++k) {
        const RiseSetResult& r = results[k];
        QLabel* first = lblRS_TwiLight[static_cast<size_t>(2 * k)];
        QLabel* second = lblRS_TwiLight[static_cast<size_t>(2 * k + 1)];
        if (r.NoCrossing()) {
            if (r.Rise > 0.0) SetPair(first, second, QStringLiteral("All"), QStringLiteral("Night"), true);
            else SetPair(first, second, QStringLiteral("No"), QStringLiteral("Twilight"), true);
        } else {
            // One crossing only: the missing one is named, never shown as midnight.
            SetPair(first, second, r.Rise == 0.0 ? QStringLiteral("No Start") : ZoneTime(r.Rise),
                    r.Set == 0.0 ? QStringLiteral("No End") : ZoneTime(r.Set), false);
        }
    }
    fraTwilight->setTitle(approximate ? QStringLiteral("Twilight (Approximate)") : QStringLiteral("Twilight (Rigorous)"));
}

QString frmRiseSet::ConditionsText() const {
    const NavigationStateRecord& n = NavigationState;
    return QStringLiteral("Date: ") + FormatShortDate(n.LocalDate) + QLatin1Char(' ') + FormatShortTime(n.LocalDate) +
           QStringLiteral(", TimeZone = ") + NumberText(n.TZ) + QLatin1Char('\n') + QStringLiteral("Position: ") +
           FormatLatLon(n.Lat, true) + QLatin1Char(' ') + FormatLatLon(n.Lon, false) + QLatin1Char('\n') +
           QStringLiteral("Temp = ") + NumberText(n.Temp) + QStringLiteral(" C, Pressure = ") + NumberText(n.Pressure) +
           QStringLiteral(" mB") + QStringLiteral(", H = ") + NumberText(n.hEye) + QStringLiteral(" m");
}

bool frmRiseSet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        auto* w = qobject_cast<QWidget*>(watched);
        if (w && me->button() == Qt::LeftButton && w->rect().contains(me->position().toPoint())) {
            if (watched == fraTwilight) {
                TwilightClick();
                return true;
            }
            for (int i = 0; i < kRows; ++i) {
                if (watched == lblRS_Name[static_cast<size_t>(i)]) {
                    RowClick(i);
                    return true;
                }
            }
        }
    }
    return ChildWindow::eventFilter(watched, event);
}

void frmRiseSet::RowClick(int row) {
    QLabel* name = lblRS_Name[static_cast<size_t>(row)];
    if (name->text().endsWith(QStringLiteral("(Rigorous)"))) return;
    const QString before = name->text();
    name->setText(kCalculating);
    name->setEnabled(false);
    name->repaint();
    try {
        WaitCursor wait;
        FillRow(row, false);
    } catch (const ArithmeticFault& fault) {
        name->setText(before);
        ShowMessage(this, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()),
                    MsgIcon::Exclamation);
    }
    name->setEnabled(true);
}

void frmRiseSet::TwilightClick() {
    if (fraTwilight->title().endsWith(QStringLiteral("(Rigorous)"))) return;
    const QString before = fraTwilight->title();
    fraTwilight->setTitle(kCalculating);
    fraTwilight->setEnabled(false);
    fraTwilight->repaint();
    try {
        WaitCursor wait;
        FillTwilight(false);
    } catch (const ArithmeticFault& fault) {
        fraTwilight->setTitle(before);
        ShowMessage(this, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()),
                    MsgIcon::Exclamation);
    }
    fraTwilight->setEnabled(true);
    if (fraTwilight->title().endsWith(QStringLiteral("(Rigorous)"))) fraTwilight->unsetCursor();
}
