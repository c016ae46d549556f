#include "almanac/frmCompas.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>

#include "almanac/mCompass.h"
#include "ui/MaskedEdit.h"
#include "ui/mConvertion.h"
#include "ui/mDialogs.h"
#include "core/mWorkingData.h"
#include "ui/mPublicVarsQt.h"
#include "core/mFault.h"
#include "core/mTime.h"
#include "riseset/mRiseSet.h"

namespace {

const QString kTimeMask = QStringLiteral("00_00_00");
const char* const kAzimuthTip = "Azimuth: the true azimuth of the body at the bearing time, degrees true";
const QString kBearingMask = QStringLiteral("000_0");

struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

bool IsTimeText(const QString& text) {
    double f = 0.0;
    return ParseTimeOfDay(text.toStdString(), f) || (text.size() == 8 && text[2] == ':' && text[5] == ':');
}

}  // namespace

frmCompas::frmCompas(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmCompas"));
    LoadSharedState();
    setWindowTitle(QStringLiteral("Compass correction"));
    SetDesignSizeTwips(7110, 3210);

    static const char* const options[4] = {"Sun Rise", "Sun Set", "Polaris", "Other"};
    for (int i = 0; i < 4; ++i) {
        auto* o = new QRadioButton(QString::fromLatin1(options[i]), this);
        o->setObjectName(QStringLiteral("Option1_%1").arg(i));
        Place(o, 120, 100 + i * 300, 1200, 280);
        Option1[static_cast<size_t>(i)] = o;
        static const char* const tips[4] = {
            "Sun Rise: the bearing of the Sun as it rises; the time is computed",
            "Sun Set: the bearing of the Sun as it sets; the time is computed",
            "Polaris: the bearing of Polaris at the time typed",
            "Other: the bearing of the star or planet chosen in the list, at the time typed"};
        o->setToolTip(QString::fromLatin1(tips[i]));
        // A click on a button, even the chosen one, computes its azimuth.
        connect(o, &QRadioButton::clicked, this, [this, i] { OptionClick(i); });
    }
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Place(Combo1, 1320, 970, 3200, 310);
    Combo1->setVisible(false);
    Combo1->setToolTip(QStringLiteral("The star or planet of the bearing"));
    lblEventDate = new QLabel(this);
    lblEventDate->setObjectName(QStringLiteral("lblEventDate"));
    lblEventDate->setToolTip(QStringLiteral("The UT date of the sunrise or sunset when it is not the UT date of "
                                            "the working time"));
    Place(lblEventDate, 1500, 100, 3000, 280);
    connect(Combo1, QOverload<int>::of(&QComboBox::activated), this, [this](int) { ComboClick(); });

    static const char* const captions[4] = {"Time (GMT)", "Bearing", "Azimuth", "Correction"};
    for (int i = 0; i < 4; ++i) {
        auto* l = new QLabel(QString::fromLatin1(captions[i]), this);
        l->setObjectName(QStringLiteral("Label3_%1").arg(i));
        Place(l, 4620, 100 + i * 300, 1150, 280);
        Label3[static_cast<size_t>(i)] = l;
    }
    static const char* const valueTips[4] = {
        "Time (GMT): UT time of the bearing, hh:mm:ss (computed for Sun Rise and Sun Set)",
        "Bearing: the compass bearing of the body, degrees (000.0 to 359.9)",
        kAzimuthTip,
        "Correction: azimuth minus compass bearing, degrees; + when the compass reads low (add it to compass "
        "bearings), - when it reads high"};
    QFont boxFont = font();
    boxFont.setFamily(QStringLiteral("Monospace"));
    boxFont.setStyleHint(QFont::TypeWriter);
    boxFont.setBold(true);

    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setFont(boxFont);
    Text1->setAlignment(Qt::AlignCenter);
    Text1->setText(QStringLiteral("00:00:00"));
    AttachMask(Text1, kTimeMask);
    Place(Text1, 5800, 80, 1160, 290);
    Text1->setToolTip(QString::fromLatin1(valueTips[0]));
    // A new time makes the shown azimuth and correction stale: cleared until
    // Calculate computes them again.
    connect(Text1, &QLineEdit::textEdited, this, [this] { ClearAzimuth(); });

    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setFont(boxFont);
    Text2->setAlignment(Qt::AlignCenter);
    Text2->setText(QStringLiteral("000.0"));
    AttachMask(Text2, kBearingMask);
    Place(Text2, 5800, 380, 1160, 290);
    Text2->setToolTip(QString::fromLatin1(valueTips[1]));

    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setFont(boxFont);
    Label2->setAlignment(Qt::AlignCenter);
    Place(Label2, 5800, 700, 1160, 280);
    Label2->setToolTip(QString::fromLatin1(valueTips[2]));

    Label4 = new QLabel(this);  // no correction before one is calculated
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setFont(boxFont);
    Label4->setAlignment(Qt::AlignCenter);
    Place(Label4, 5800, 1000, 1160, 280);
    Label4->setToolTip(QString::fromLatin1(valueTips[3]));
    for (int i = 0; i < 4; ++i) Label3[static_cast<size_t>(i)]->setToolTip(QString::fromLatin1(valueTips[i]));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1->setFrameShape(QFrame::StyledPanel);
    Place(Label1, 120, 1400, 6840, 720);

    // Alt+C belongs to the main window's "&Calculation" menu.
    Command1 = new QPushButton(QStringLiteral("Ca&lculate"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("Compute the azimuth for the body and time shown, then the correction"));
    Place(Command1, 5360, 2220, 1600, 400);
    connect(Command1, &QPushButton::clicked, this, [this] { CalculateClick(); });

    resize(TwipsToPixels(QSize(7080, 2740)));
    Option1[0]->setChecked(true);
    OptionClick(0);
}

void frmCompas::Place(QWidget* w, int left, int top, int width, int height) {
    w->setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

void frmCompas::Placed() {
    setMinimumSize(size());  // every control has its room at the load size
    scaler_.Start(this);
}

void frmCompas::resizeEvent(QResizeEvent* event) {
    ChildWindow::resizeEvent(event);
    if (scaler_.Started()) scaler_.Resize(this);
}

void frmCompas::Update() {
    for (int i = 0; i < 4; ++i) {
        if (Option1[static_cast<size_t>(i)]->isChecked()) {
            if (i == 3 && Combo1->count() > 0) {
                Label1->setText(ConditionsText());
                ComboClick();
            } else {
                OptionClick(i);
            }
            return;
        }
    }
}

QString frmCompas::ConditionsText() const {
    const NavigationStateRecord& n = NavigationState;
    return QStringLiteral("Date: ") + FormatShortDate(n.LocalDate) + QLatin1Char(' ') + FormatShortTime(n.LocalDate) +
           QStringLiteral(", TimeZone = ") + NumberText(n.TZ) + QLatin1Char('\n') + QStringLiteral("Position: ") +
           FormatLatLon(n.Lat, true) + QLatin1Char(' ') + FormatLatLon(n.Lon, false) + QStringLiteral(", COG = ") +
           NumberText(n.Course) + QStringLiteral(", SOG = ") + NumberText(n.Speed) + QStringLiteral(" kt") +
           QLatin1Char('\n') + QStringLiteral("Temp = ") + NumberText(n.Temp) + QStringLiteral(" C, Pres = ") +
           NumberText(n.Pressure) + QStringLiteral(" mB") + QStringLiteral(", H = ") + NumberText(n.hEye) +
           QStringLiteral(" m, i+s = ") + NumberText(n.i_s) + QStringLiteral(" min");
}

// The UT instant of the bearing: the UT date of the working local time plus the
// UT time of day typed in Text1. A text that is not a time of day is reported.
bool frmCompas::BearingJd(double& jd) {
    double fraction = 0.0;
    if (!ParseTimeOfDay(Text1->text().toStdString(), fraction)) {
        ShowMessage(this, QStringLiteral("Error"),
                    QStringLiteral("Invalid time format! The bearing time \"%1\" is not a UT time of day "
                                   "(00:00:00 to 23:59:59).")
                        .arg(Text1->text()),
                    MsgIcon::Exclamation);
        return false;
    }
    const DateValue t = BearingInstant(NavigationState.LocalDate, NavigationState.TZ, fraction);
    jd = JulianDay(t, false, false);
    return true;
}

void frmCompas::ShowPlace(const CompassPlace& p) {
    if (p.AboveHorizon) {
        Label2->setText(QString::fromStdString(FormatAzimuth(p.Azimuth)) + QChar(0x00B0));
        Label2->setToolTip(QString::fromLatin1(kAzimuthTip));
        azimuthValid_ = true;
    } else {
        // No bearing of a body that does not show: words, never an azimuth.
        Label2->setText(QStringLiteral("Below"));
        Label2->setToolTip(QStringLiteral("Below the horizon at the bearing time (altitude %1°)")
                               .arg(p.Altitude, 0, 'f', 1));
    }
}

void frmCompas::ClearAzimuth() {
    // The correction belonged to the azimuth now replaced.
    azimuthValid_ = false;
    Label2->clear();
    Label2->setToolTip(QString::fromLatin1(kAzimuthTip));
    Label4->clear();
}

void frmCompas::OptionClick(int index) {
    Combo1->setVisible(index == 3);
    lblEventDate->clear();
    Label1->setText(ConditionsText());
    ClearAzimuth();
    try {
        WaitCursor wait;
        const double lat = NavigationState.Lat, lon = NavigationState.Lon;
        if (index <= 1) {
            Text1->setEnabled(false);
            const bool rise = index == 0;
            // The 24 hours from the working instant (UT), so never a rise already past.
            const DateValue workingUt = NavigationState.LocalDate - NavigationState.TZ / 24.0;
            const SunBearingEvent e = SunRiseSetAzimuth(workingUt, lat, lon, rise, HorizonOf(NavigationState));
            if (e.Found) {
                SetMaskedText(Text1, QString::fromStdString(TimeOfDayText(e.Time)));
                Label2->setText(QString::fromStdString(FormatAzimuth(e.Azimuth)) + QChar(0x00B0));
                // The time box shows a UT time of day: its date is said when it is
                // not the UT date of the working time.
                const DateValue workDay = DateWholeDays(NavigationState.LocalDate - NavigationState.TZ / 24.0);
                if (DateWholeDays(e.Time) != workDay)
                    lblEventDate->setText((rise ? QStringLiteral("Sunrise on ") : QStringLiteral("Sunset on ")) +
                                          FormatShortDate(e.Time) + QStringLiteral(" (UT)"));
                azimuthValid_ = true;
            } else {
                // No such crossing in the 24 hours: words, never a time or an azimuth.
                SetMaskedText(Text1, QString::fromStdString(SunEventTimeWords(e, rise)));
                Label2->setText(QString::fromStdString(SunEventAzimuthWords(e, rise)));
            }
            return;
        }
        Text1->setEnabled(true);
        // After words of a sunrise that did not happen the box needs a time to overtype.
        if (!IsTimeText(Text1->text())) SetMaskedText(Text1, QStringLiteral("00:00:00"));
        if (index == 2) {
            double jd = 0.0;
            if (!BearingJd(jd)) return;
            ShowPlace(CompassItemPlace(jd, kPolarisNumber, lat, lon, HorizonOf(NavigationState)));
            return;
        }
        Combo1->clear();
        for (const CompassItem& item : CompassBodyList())
            Combo1->addItem(QString::fromStdString(item.Text), item.Value);
        if (Combo1->count() > 0) {
            Combo1->setCurrentIndex(0);
            ComboClick();
        }
    } catch (const ArithmeticFault& fault) {
        ShowMessage(this, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()),
                    MsgIcon::Exclamation);
    }
}

void frmCompas::ComboClick() {
    ClearAzimuth();
    if (Combo1->currentIndex() < 0) return;
    try {
        double jd = 0.0;
        if (!BearingJd(jd)) return;
        const int value = Combo1->currentData().toInt();
        ShowPlace(CompassItemPlace(jd, value, NavigationState.Lat, NavigationState.Lon, HorizonOf(NavigationState)));
    } catch (const ArithmeticFault& fault) {
        ShowMessage(this, QStringLiteral("Calculation error"), QString::fromStdString(fault.what()),
                    MsgIcon::Exclamation);
    }
}

void frmCompas::CalculateClick() {
    // The azimuth of the present choice, body and time: never one left from an
    // earlier time or body.
    for (int i = 0; i < 4; ++i) {
        if (!Option1[static_cast<size_t>(i)]->isChecked()) continue;
        if (i == 3)
            ComboClick();
        else
            OptionClick(i);
    }
    if (!azimuthValid_) {
        Label4->clear();  // no azimuth to correct against
        return;
    }
    const double b = LeadingNumber(Text2->text().toStdString());
    const double a = LeadingNumber(Label2->text().toStdString());
    Label4->setText(QString::fromStdString(FormatCorrection(CompassCorrection(a, b))) + QChar(0x00B0));
}
