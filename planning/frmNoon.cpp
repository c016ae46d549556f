#include "planning/frmNoon.h"

#include <QCheckBox>
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

frmNoon::frmNoon(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmNoon"));
    setWindowTitle(QStringLiteral("Noon sight"));
    LoadSharedState();

    lblNoon = new QLabel(this);
    lblNoon->setObjectName(QStringLiteral("lblNoon"));
    lblNoon->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* hsLabel = new QLabel(QStringLiteral("Sextant altitude of the Sun at noon, H"), this);
    txtHs = new QLineEdit(FormatNumber(0.0, QStringLiteral("00-00.0")), this);
    txtHs->setObjectName(QStringLiteral("txtHs"));
    txtHs->setToolTip(QStringLiteral("Sextant altitude, dd-mm.m"));
    AttachMask(txtHs, QStringLiteral("00_00_0"));
    chkLowerLimb = new QCheckBox(QStringLiteral("Use lower limb"), this);
    chkLowerLimb->setObjectName(QStringLiteral("chkLowerLimb"));
    chkLowerLimb->setChecked(true);
    chkLowerLimb->setToolTip(QStringLiteral("The lower limb was brought to the horizon (clear it for the upper limb)"));
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
    grid->addWidget(lblNoon, 0, 0, 1, 4);
    grid->addWidget(hsLabel, 1, 0);
    grid->addWidget(txtHs, 1, 1);
    grid->addWidget(chkLowerLimb, 1, 2);
    grid->addWidget(cmdLatitude, 1, 3);
    grid->addWidget(lvSteps, 2, 0, 1, 4);
    grid->addWidget(lblResult, 3, 0, 1, 4);

    connect(cmdLatitude, &QPushButton::clicked, this, [this] { Calculate(); });
    Update();
}

void frmNoon::Update() {
    const NavigationStateRecord& n = NavigationState;
    const DateValue nowUt = n.LocalDate - n.TZ / 24.0;
    try {
        noon_ = LocalApparentNoon(n.LocalDate, LatLon{n.Lat, n.Lon}, nowUt, n.Course, n.Speed);
    } catch (const ArithmeticFault& fault) {
        noon_ = NoonTime{};
        noon_.Message = fault.what();
    }
    if (!noon_.Message.empty()) {
        lblNoon->setText(QString::fromStdString(noon_.Message));
        cmdLatitude->setEnabled(false);
        return;
    }
    cmdLatitude->setEnabled(true);
    lblNoon->setText(QStringLiteral("Local apparent noon on ") + FormatShortDate(n.LocalDate) + QStringLiteral(": ") +
                     ZoneAndUt(noon_.Ut) + QStringLiteral("\nDR at noon: ") + Position(noon_.Position) +
                     QStringLiteral("\nLongitude at noon (DR): ") + FormatLatLon(noon_.Position.Lon, false) +
                     QStringLiteral("\nSun's declination: ") + FormatLatLon(noon_.Dec, true));
    if (haveLatitude_) Calculate();
}

void frmNoon::Calculate() {
    lvSteps->clear();
    lblResult->clear();
    haveLatitude_ = false;
    double hs = 0.0;
    if (!ParseSightAltitude(txtHs->text().toStdString(), hs)) {
        ShowMessage(this, QStringLiteral("Noon sight"),
                    QStringLiteral("The altitude \"%1\" is not a sextant altitude (dd-mm.m, up to 90 degrees).")
                        .arg(txtHs->text()),
                    MsgIcon::Exclamation);
        return;
    }
    MeridianLatitude m;
    try {
        m = NoonLatitude(noon_, hs, chkLowerLimb->isChecked(), NavigationState);
    } catch (const ArithmeticFault& fault) {
        lblResult->setText(QString::fromStdString(fault.what()));
        return;
    }
    if (!m.Message.empty()) {
        lblResult->setText(QString::fromStdString(m.Message));
        return;
    }
    haveLatitude_ = true;
    CorrectionRows(lvSteps, m.R);
    Row(lvSteps, QStringLiteral("Zenith distance 90 - Ho"), Deg(m.Zenith));
    Row(lvSteps, QStringLiteral("Dec"), FormatLatLon(m.R.Dec, true));
    Row(lvSteps, QStringLiteral("Lat"), FormatLatLon(m.Lat, true));
    lblResult->setText(QStringLiteral("Latitude at noon: ") + FormatLatLon(m.Lat, true) + QStringLiteral("  (Sun bearing ") +
                       (m.BodyNorth ? QStringLiteral("north: Lat = Dec - z)") : QStringLiteral("south: Lat = Dec + z)")) +
                       QStringLiteral("\nLongitude at noon (DR): ") + FormatLatLon(noon_.Position.Lon, false));
}
