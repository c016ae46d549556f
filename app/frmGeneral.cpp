#include "app/frmGeneral.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "app/MaskedEdit.h"
#include "app/mConvertion.h"
#include "app/mDialogs.h"
#include "app/mPublicVarsQt.h"

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
    Text1[0]->setToolTip(ShortDateTooltip());
    Text1[10]->setToolTip(QStringLiteral("Time in hh.mm format"));
    Text1[1]->setToolTip(QStringLiteral("Latitude in dd-mm.m format"));
    Text1[2]->setToolTip(QStringLiteral("Longitude in ddd-mm.m format"));
    Text1[3]->setToolTip(QStringLiteral("Course, deg"));
    Text1[4]->setToolTip(QStringLiteral("Speed, knotes"));
    Text1[5]->setToolTip(QStringLiteral("Temperature, deg C"));
    Text1[6]->setToolTip(QStringLiteral("Pressure, mB"));
    Text1[7]->setToolTip(QStringLiteral("Eye height, m"));
    Text1[8]->setToolTip(QStringLiteral("Sextan corr., min"));

    FillBoxes();
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

    auto* outer = new QVBoxLayout(this);

    auto* timeRow = new QGridLayout;
    timeRow->addWidget(MakeLabel(QStringLiteral("Date"), QStringLiteral("Label2_0"), this), 0, 0);
    timeRow->addWidget(Text1[0], 1, 0);
    timeRow->addWidget(MakeLabel(QStringLiteral("Local Time"), QStringLiteral("Label2_2"), this), 0, 1);
    timeRow->addWidget(Text1[10], 1, 1);
    timeRow->addWidget(MakeLabel(QStringLiteral("Time zone"), QStringLiteral("Label2_1"), this), 0, 2);
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
    QLabel* phi = MakeLabel(QString(QChar(0x03C6)), QStringLiteral("Label1_0"), Frame1);
    QLabel* lambda = MakeLabel(QString(QChar(0x03BB)), QStringLiteral("Label1_1"), Frame1);
    phi->setFont(greek);
    lambda->setFont(greek);
    phi->setToolTip(QStringLiteral("Latitude"));
    lambda->setToolTip(QStringLiteral("Longitude"));
    g1->addWidget(phi, 0, 0);
    g1->addWidget(Text1[1], 0, 1);
    g1->addWidget(lambda, 1, 0);
    g1->addWidget(Text1[2], 1, 1);
    g1->addWidget(MakeLabel(QStringLiteral("K"), QStringLiteral("Label1_2"), Frame1), 0, 2);
    g1->addWidget(Text1[3], 0, 3);
    g1->addWidget(MakeLabel(QStringLiteral("V"), QStringLiteral("Label1_3"), Frame1), 1, 2);
    g1->addWidget(Text1[4], 1, 3);
    outer->addWidget(Frame1);

    auto* Frame2 = new QGroupBox(QStringLiteral("Conditions"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* g2 = new QGridLayout(Frame2);
    g2->setHorizontalSpacing(6);
    // A gap between a unit and the next caption.
    g2->setColumnMinimumWidth(2, 28);
    g2->setColumnMinimumWidth(3, 24);
    g2->addWidget(MakeLabel(QStringLiteral("T"), QStringLiteral("Label1_4"), Frame2), 0, 0);
    g2->addWidget(Text1[5], 0, 1);
    g2->addWidget(MakeLabel(QStringLiteral("C"), QStringLiteral("Label3_0"), Frame2), 0, 2);
    g2->addWidget(MakeLabel(QStringLiteral("B"), QStringLiteral("Label1_5"), Frame2), 0, 3);
    g2->addWidget(Text1[6], 0, 4);
    g2->addWidget(MakeLabel(QStringLiteral("mB"), QStringLiteral("Label3_1"), Frame2), 0, 5);
    g2->addWidget(MakeLabel(QStringLiteral("H"), QStringLiteral("Label1_6"), Frame2), 1, 0);
    g2->addWidget(Text1[7], 1, 1);
    g2->addWidget(MakeLabel(QStringLiteral("m"), QStringLiteral("Label3_2"), Frame2), 1, 2);
    g2->addWidget(MakeLabel(QStringLiteral("i+s"), QStringLiteral("Label1_7"), Frame2), 1, 3);
    g2->addWidget(Text1[8], 1, 4);
    g2->addWidget(MakeLabel(QStringLiteral("min"), QStringLiteral("Label3_3"), Frame2), 1, 5);
    outer->addWidget(Frame2);

    auto* buttons = new QHBoxLayout;
    Command1 = new QPushButton(QStringLiteral("&Apply"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command2 = new QPushButton(QStringLiteral("&Save Info"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    buttons->addStretch(1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    outer->addLayout(buttons);
    outer->setSizeConstraint(QLayout::SetFixedSize);

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
}

void frmGeneral::Fail(int index, const QString& message) {
    QLineEdit* box = Text1[static_cast<size_t>(index)];
    ShowMessage(this, QStringLiteral("Error"), message, MsgIcon::Exclamation);
    box->setFocus(Qt::OtherFocusReason);
    box->setSelection(0, static_cast<int>(box->text().size()));
}

bool frmGeneral::Apply() {
    DateValue date = 0.0;
    if (!ParseShortDate(Text1[0]->text(), date)) {
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
    if (!ParseShortTime(Text1[10]->text(), time)) {
        Fail(10, QStringLiteral("Invalid Date format!"));
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
    if (stored) {
        SaveSharedState();
        emit workingDataChanged();
    }
    QApplication::restoreOverrideCursor();
}
