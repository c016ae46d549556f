#include "shell/frmGeneral.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "ui/MaskedEdit.h"
#include "ui/mConvertion.h"
#include "ui/mDialogs.h"
#include "ui/mPublicVarsQt.h"
#include "core/mTextForms.h"
#include "core/mFault.h"
#include "core/mTime.h"

namespace {

// The range of boxes 3..9 and how the message names it.
struct BoxRange {
    const ValueRange* range;
    const char* words;
};
const BoxRange kBoxRanges[10] = {
    {}, {}, {},
    {&kCourseRange, "The course is 0 to 360 degrees."},
    {&kSpeedRange, "The speed is 0 to 99.9 knots."},
    {&kTempRange, "The temperature is -60 to +60 C."},
    {&kPressureRange, "The pressure is 800 to 1100 mB."},
    {&kEyeRange, "The height of eye is 0 to 100 m."},
    {&kIndexCorrRange, "The index correction is -99.9 to +99.9 minutes."},
    {&kZoneRange, "The time zone is -14 to +14 hours."},
};

// The clock error's box: seconds with a tenth and a sign.
const QString kClockMask = QStringLiteral("+0000_0");

QLabel* MakeLabel(const QString& text, const QString& name, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

}  // namespace

QString frmGeneral::MaskOf(int index) {
    switch (index) {
        case 0: return ShortDateMask();
        case 1: return QStringLiteral("00_00_0NS");
        case 2: return QStringLiteral("000_00_0EW");
        case 3: return QStringLiteral("000_0");
        case 4: return QStringLiteral("00_0");
        case 5: return QStringLiteral("+00_0");
        case 6: return QStringLiteral("0000");
        case 7: return QStringLiteral("00_0");
        case 8: return QStringLiteral("+00_0");
        case 9: return QStringLiteral("+00");
        case 10: return QStringLiteral("00_00");
        default: return QString();
    }
}

frmGeneral::frmGeneral(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmGeneral"));
    LoadSharedState();
    setWindowTitle(QStringLiteral("General Info"));

    QFont boxFont = font();
    boxFont.setFamily(QStringLiteral("Monospace"));
    boxFont.setStyleHint(QFont::TypeWriter);
    boxFont.setBold(true);
    for (int i = 0; i < 11; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text1_%1").arg(i));
        box->setFont(boxFont);
        box->setAlignment(Qt::AlignCenter);
        Text1[static_cast<size_t>(i)] = box;
    }
    // What each box holds, with its unit and sign; the caption beside a box
    // carries the same text.
    const QString tips[11] = {
        ShortDateTooltip() + QStringLiteral(" (zone date, years 1900 to 2100)"),
        QStringLiteral("\u03C6: latitude of the dead-reckoning position, dd-mm.m, N or S"),
        QStringLiteral("\u03BB: longitude of the dead-reckoning position, ddd-mm.m, E or W"),
        QStringLiteral("K: course over ground, degrees true (000.0 to 359.9)"),
        QStringLiteral("V: speed over ground, knots"),
        QStringLiteral("T: air temperature, degrees Celsius, - below freezing (for the refraction)"),
        QStringLiteral("B: air pressure, millibars (hectopascals; for the refraction)"),
        QStringLiteral("H: height of eye above the sea, metres (for the dip)"),
        QStringLiteral("i+s: index correction of the sextant, minutes of arc, + added to the reading"),
        QStringLiteral("Time zone: hours added to UT to give zone time, + east of Greenwich, - west"),
        QStringLiteral("Local Time: zone time in hh%1mm format, 24 hours").arg(FormatShortTime(0.0).mid(2, 1)),
    };
    for (int i = 0; i < 11; ++i) Text1[static_cast<size_t>(i)]->setToolTip(tips[i]);

    txtClockError = new QLineEdit(this);
    txtClockError->setObjectName(QStringLiteral("txtClockError"));
    txtClockError->setFont(boxFont);
    txtClockError->setAlignment(Qt::AlignCenter);
    txtClockError->setToolTip(QStringLiteral("Clock: seconds the computer's clock is fast (+) or slow (-) on UT, "
                                             "-3600 to +3600; Mark in the twilight session takes it off"));

    FillBoxes();
    AttachMask(txtClockError, kClockMask, MaskMode::Full);
    // Masks are attached once the boxes hold their display forms (the maximum
    // length becomes the length of the text).
    for (int i = 0; i < 11; ++i)
        AttachMask(Text1[static_cast<size_t>(i)], MaskOf(i), i == 0 ? MaskMode::ClickOnly : MaskMode::Full);

    // Widths: each box just wide enough for its text.
    const QFontMetrics fm(boxFont);
    for (QLineEdit* box : Text1) {
        const int w = fm.horizontalAdvance(box->text() + QStringLiteral("MM")) + 12;
        box->setFixedWidth(w);
    }
    txtClockError->setFixedWidth(fm.horizontalAdvance(txtClockError->text() + QStringLiteral("MM")) + 12);

    auto* outer = new QVBoxLayout(this);

    // A caption with the tooltip of the box it names.
    auto caption = [this](const QString& text, const QString& name, QWidget* parent, int box) {
        QLabel* l = MakeLabel(text, name, parent);
        l->setToolTip(Text1[static_cast<size_t>(box)]->toolTip());
        return l;
    };

    auto* timeRow = new QGridLayout;
    timeRow->addWidget(caption(QStringLiteral("Date"), QStringLiteral("Label2_0"), this, 0), 0, 0);
    timeRow->addWidget(Text1[0], 1, 0);
    timeRow->addWidget(caption(QStringLiteral("Local Time"), QStringLiteral("Label2_2"), this, 10), 0, 1);
    timeRow->addWidget(Text1[10], 1, 1);
    timeRow->addWidget(caption(QStringLiteral("Time zone"), QStringLiteral("Label2_1"), this, 9), 0, 2);
    timeRow->addWidget(Text1[9], 1, 2);
    outer->addLayout(timeRow);

    QFont greek = font();
    greek.setItalic(true);
    greek.setPointSizeF(greek.pointSizeF() * 1.2);

    auto* Frame1 = new QGroupBox(QStringLiteral("Position"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* g1 = new QGridLayout(Frame1);
    g1->setHorizontalSpacing(8);
    g1->setColumnMinimumWidth(2, 24);
    // Latitude and longitude are the Greek phi and lambda.
    QLabel* phi = caption(QString(QChar(0x03C6)), QStringLiteral("Label1_0"), Frame1, 1);
    QLabel* lambda = caption(QString(QChar(0x03BB)), QStringLiteral("Label1_1"), Frame1, 2);
    phi->setFont(greek);
    lambda->setFont(greek);
    // The position on the first row, course and speed on the second: the screen
    // order is the order of typing.
    g1->addWidget(phi, 0, 0);
    g1->addWidget(Text1[1], 0, 1);
    g1->addWidget(lambda, 0, 2);
    g1->addWidget(Text1[2], 0, 3);
    g1->addWidget(caption(QStringLiteral("K"), QStringLiteral("Label1_2"), Frame1, 3), 1, 0);
    g1->addWidget(Text1[3], 1, 1);
    g1->addWidget(caption(QStringLiteral("V"), QStringLiteral("Label1_3"), Frame1, 4), 1, 2);
    g1->addWidget(Text1[4], 1, 3);
    outer->addWidget(Frame1);

    auto* Frame2 = new QGroupBox(QStringLiteral("Conditions"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* g2 = new QGridLayout(Frame2);
    g2->setHorizontalSpacing(6);
    // A gap between a unit and the next caption.
    g2->setColumnMinimumWidth(2, 28);
    g2->setColumnMinimumWidth(3, 24);
    g2->addWidget(caption(QStringLiteral("T"), QStringLiteral("Label1_4"), Frame2, 5), 0, 0);
    g2->addWidget(Text1[5], 0, 1);
    g2->addWidget(caption(QStringLiteral("C"), QStringLiteral("Label3_0"), Frame2, 5), 0, 2);
    g2->addWidget(caption(QStringLiteral("B"), QStringLiteral("Label1_5"), Frame2, 6), 0, 3);
    g2->addWidget(Text1[6], 0, 4);
    g2->addWidget(caption(QStringLiteral("mB"), QStringLiteral("Label3_1"), Frame2, 6), 0, 5);
    g2->addWidget(caption(QStringLiteral("H"), QStringLiteral("Label1_6"), Frame2, 7), 1, 0);
    g2->addWidget(Text1[7], 1, 1);
    g2->addWidget(caption(QStringLiteral("m"), QStringLiteral("Label3_2"), Frame2, 7), 1, 2);
    g2->addWidget(caption(QStringLiteral("i+s"), QStringLiteral("Label1_7"), Frame2, 8), 1, 3);
    g2->addWidget(Text1[8], 1, 4);
    g2->addWidget(caption(QStringLiteral("min"), QStringLiteral("Label3_3"), Frame2, 8), 1, 5);
    auto* clock = MakeLabel(QStringLiteral("Clock"), QStringLiteral("Label1_8"), Frame2);
    clock->setToolTip(txtClockError->toolTip());
    auto* seconds = MakeLabel(QStringLiteral("s fast"), QStringLiteral("Label3_4"), Frame2);
    seconds->setToolTip(txtClockError->toolTip());
    g2->addWidget(clock, 2, 0);
    g2->addWidget(txtClockError, 2, 1);
    g2->addWidget(seconds, 2, 2);
    outer->addWidget(Frame2);

    auto* buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("&Apply"), this);
    Command1->setToolTip(QStringLiteral("Check the boxes and make them the working data; the open windows recompute"));
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("&Save Info"), this);
    Command2->setToolTip(QStringLiteral("Apply, and keep the working data for the next start"));
    Command2->setObjectName(QStringLiteral("Command2"));
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

    // Tab in the order of the screen: date, time and zone across the top, then
    // the position, course and speed, the conditions, the buttons.
    const int order[11] = {0, 10, 9, 1, 2, 3, 4, 5, 6, 7, 8};
    for (int k = 1; k < 11; ++k) setTabOrder(Text1[static_cast<size_t>(order[k - 1])], Text1[static_cast<size_t>(order[k])]);
    setTabOrder(Text1[8], txtClockError);
    setTabOrder(txtClockError, Command1);
    setTabOrder(Command1, Command2);

    connect(Command1, &QPushButton::clicked, this, [this] { ApplyClick(); });
    connect(Command2, &QPushButton::clicked, this, [this] { SaveClick(); });
}

void frmGeneral::FillBoxes() {
    const NavigationStateRecord& n = NavigationState;
    const QString texts[11] = {
        FormatShortDate(n.LocalDate),
        FormatLatLon(n.Lat, true),
        FormatLatLon(n.Lon, false),
        FormatNumber(n.Course, QStringLiteral("000.0")),
        FormatNumber(n.Speed, QStringLiteral("00.0")),
        FormatNumber(n.Temp, QStringLiteral("+00.0;-00.0")),
        FormatNumber(n.Pressure, QStringLiteral("0000")),
        FormatNumber(n.hEye, QStringLiteral("00.0")),
        FormatNumber(n.i_s, QStringLiteral("+00.0;-00.0")),
        FormatNumber(n.TZ, QStringLiteral("+00;-00")),
        FormatShortTime(n.LocalDate),
    };
    for (int i = 0; i < 11; ++i) SetMaskedText(Text1[static_cast<size_t>(i)], texts[i]);
    SetMaskedText(txtClockError, FormatNumber(n.ClockError, QStringLiteral("+0000.0;-0000.0")));
}

void frmGeneral::Fail(QLineEdit* box, const QString& message) {
    ShowMessage(this, QStringLiteral("Error"), message, MsgIcon::Exclamation);
    box->setFocus(Qt::OtherFocusReason);
    box->setSelection(0, static_cast<int>(box->text().size()));
}

bool frmGeneral::Apply() {
    DateValue date = 0.0;
    // The years the almanac covers.
    if (!ParseShortDate(Text1[0]->text(), date) || DateToParts(date).year < 1900 || DateToParts(date).year > 2100) {
        Fail(0, QStringLiteral("Invalid Date format!"));
        return false;
    }
    const double lat = ParsePositionText(Text1[1]->text(), true);
    if (lat == kInvalidPosition) {
        Fail(1, QStringLiteral("Invalid position format!"));
        return false;
    }
    const double lon = ParsePositionText(Text1[2]->text(), false);
    if (lon == kInvalidPosition) {
        Fail(2, QStringLiteral("Invalid position format!"));
        return false;
    }
    float values[10] = {};  // indices 3..9
    for (int i = 3; i <= 9; ++i) {
        double v = 0.0;
        if (!ParseNumberText(Text1[static_cast<size_t>(i)]->text(), v)) {
            Fail(i, QStringLiteral("Invalid data format!"));
            return false;
        }
        if (!kBoxRanges[i].range->Holds(v)) {
            Fail(i, QStringLiteral("Invalid data format!\n") + QLatin1String(kBoxRanges[i].words));
            return false;
        }
        values[i] = static_cast<float>(v);
    }
    double time = 0.0;
    if (!ParseTimeOfDay(Text1[10]->text().toStdString(), time, true)) {
        Fail(10, QStringLiteral("Invalid Date format!"));
        return false;
    }
    double clock = 0.0;
    if (!ParseNumberText(txtClockError->text(), clock) || !kClockErrorRange.Holds(clock)) {
        Fail(txtClockError, QStringLiteral("Invalid data format!\nThe clock error is -3600 to +3600 seconds."));
        return false;
    }
    NavigationStateRecord& n = NavigationState;
    n.LocalDate = date + time;
    n.Lat = lat;
    n.Lon = lon;
    n.Course = values[3];
    n.Speed = values[4];
    n.Temp = values[5];
    n.Pressure = values[6];
    n.hEye = values[7];
    n.i_s = values[8];
    n.TZ = values[9];
    n.ClockError = clock;
    SetMaskedText(Text1[0], FormatShortDate(n.LocalDate));
    SetMaskedText(Text1[10], FormatShortTime(n.LocalDate));
    return true;
}

void frmGeneral::ApplyClick() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool stored = Apply();
    // The frame has the open windows recompute from the new data.
    if (stored) emit workingDataChanged();
    QApplication::restoreOverrideCursor();
}

void frmGeneral::SaveClick() {
    // What the form shows is applied, then kept; a refused form keeps nothing.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const bool stored = Apply();
    QString why;
    const bool saved = stored && SaveSharedState(&why);
    if (stored) emit workingDataChanged();
    QApplication::restoreOverrideCursor();
    if (stored && !saved) ShowMessage(this, windowTitle(), why, MsgIcon::Exclamation);
}
