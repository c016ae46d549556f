#include "planning/frmPolaris.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/MaskedEdit.h"
#include "ui/mDialogs.h"
#include "core/mFault.h"
#include "planning/PlanWidgets.h"
#include "ui/mPublicVarsQt.h"

using namespace planwidgets;

frmPolaris::frmPolaris(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmPolaris"));
    setWindowTitle(QStringLiteral("Latitude by Polaris"));
    LoadSharedState();

    lblInfo = new QLabel(this);
    lblInfo->setObjectName(QStringLiteral("lblInfo"));
    auto* timeLabel = new QLabel(QStringLiteral("UTC"), this);
    txtTime = new QLineEdit(FormatTimeHMS(0.0), this);
    txtTime->setObjectName(QStringLiteral("txtTime"));
    txtTime->setToolTip(QStringLiteral("UT time of the sight, hh:mm:ss"));
    AttachMask(txtTime, QStringLiteral("00_00_00"));
    auto* hsLabel = new QLabel(QStringLiteral("H"), this);
    txtHs = new QLineEdit(FormatNumber(0.0, QStringLiteral("00-00.0")), this);
    txtHs->setObjectName(QStringLiteral("txtHs"));
    txtHs->setToolTip(QStringLiteral("Sextant altitude of Polaris, dd-mm.m"));
    AttachMask(txtHs, QStringLiteral("00_00_0"));
    cmdLatitude = new QPushButton(QStringLiteral("&Latitude"), this);
    cmdLatitude->setObjectName(QStringLiteral("cmdLatitude"));
    cmdLatitude->setToolTip(QStringLiteral("Reduce the sight and find the latitude"));
    lvSteps = StepsView(this, QStringLiteral("lvSteps"));
    lblResult = new QLabel(this);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);
    lblResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Room for its lines below the table at any width, never over the table's border.
    lblResult->setMinimumHeight(lblResult->fontMetrics().lineSpacing() * 3 + 4);
    lblResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblInfo, 0, 0, 1, 5);
    grid->addWidget(timeLabel, 1, 0);
    grid->addWidget(txtTime, 1, 1);
    grid->addWidget(hsLabel, 1, 2);
    grid->addWidget(txtHs, 1, 3);
    grid->addWidget(cmdLatitude, 1, 4);
    grid->addWidget(lvSteps, 2, 0, 1, 5);
    grid->addWidget(lblResult, 3, 0, 1, 5);

    connect(cmdLatitude, &QPushButton::clicked, this, [this] { Calculate(); });
    Update();
}

void frmPolaris::Update() {
    const NavigationStateRecord& n = NavigationState;
    const DateValue ut = n.LocalDate - n.TZ / 24.0;
    lblInfo->setText(QStringLiteral("UT date ") + FormatShortDate(ut) + QStringLiteral(", DR ") +
                     Position(LatLon{n.Lat, n.Lon}));
    if (haveLatitude_) Calculate();
}

void frmPolaris::Calculate() {
    lvSteps->clear();
    lblResult->clear();
    haveLatitude_ = false;
    const NavigationStateRecord& n = NavigationState;
    double fraction = 0.0, hs = 0.0;
    QString bad;
    if (!ParseTimeHMS(txtTime->text(), fraction))
        bad = QStringLiteral("The time \"%1\" is not a UT time of day (hh:mm:ss).").arg(txtTime->text());
    else if (!ParseSightAltitude(txtHs->text().toStdString(), hs))
        bad = QStringLiteral("The altitude \"%1\" is not a sextant altitude (dd-mm.m, up to 90 degrees).")
                  .arg(txtHs->text());
    if (!bad.isEmpty()) {
        ShowMessage(this, QStringLiteral("Latitude by Polaris"), bad, MsgIcon::Exclamation);
        return;
    }
    // The sight's UT date is that of the working data's instant.
    const DateValue nowUt = n.LocalDate - n.TZ / 24.0;
    const DateValue ut = DateWholeDays(nowUt) + fraction;
    const LatLon dr = RunAlongCourse(LatLon{n.Lat, n.Lon}, n.Course, n.Speed, (ut - nowUt) * 24.0);
    PolarisLatitude p;
    try {
        p = LatitudeByPolaris(ut, hs, dr, n);
    } catch (const ArithmeticFault& fault) {
        lblResult->setText(QString::fromStdString(fault.what()));
        return;
    }
    if (!p.Message.empty()) {
        lblResult->setText(QString::fromStdString(p.Message));
        return;
    }
    haveLatitude_ = true;
    CorrectionRows(lvSteps, p.R);
    Row(lvSteps, QStringLiteral("Dec"), FormatLatLon(p.R.Dec, true));
    Row(lvSteps, QStringLiteral("Zn"), FormatNumber(p.R.Az, QStringLiteral("000.0")));
    Row(lvSteps, QStringLiteral("Total correction Lat - Ho"), Min(p.Correction));
    Row(lvSteps, QStringLiteral("Lat"), FormatLatLon(p.Lat, true));
    lblResult->setText(QStringLiteral("Latitude by Polaris: ") + FormatLatLon(p.Lat, true) +
                       QStringLiteral(" (longitude of the DR ") + FormatLatLon(dr.Lon, false) + QStringLiteral(")"));
}
