#include "lunar/frmLunar.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "core/mFault.h"
#include "core/mStar.h"
#include "core/mTextForms.h"
#include "fix/mCalcPosition.h"
#include "planning/PlanWidgets.h"
#include "ui/MaskedEdit.h"
#include "ui/mConvertion.h"
#include "ui/mDialogs.h"
#include "ui/mPublicVarsQt.h"

using namespace planwidgets;

namespace {

const QString kTitle = QStringLiteral("Lunar distance");

// The working data the window computes with: the frame's one record, read here only.
const NavigationStateRecord& Working() { return NavigationState; }

// Degrees as "ddd mm.mm'" (a hundredth of a minute: the clearing is finer than the tenth).
QString DegMin2(double deg) {
    if (!std::isfinite(deg)) return QStringLiteral("--");
    const bool negative = deg < 0.0;
    double a = std::round(std::fabs(deg) * 6000.0) / 6000.0;
    int d = static_cast<int>(std::floor(a));
    double m = (a - d) * 60.0;
    if (m >= 59.995) {
        ++d;
        m = 0.0;
    }
    return (negative ? QStringLiteral("-") : QString()) + QString::number(d) + QStringLiteral(" ") +
           QString::number(m, 'f', 2).rightJustified(5, QLatin1Char('0')) + QStringLiteral("'");
}

QString Arcmin2(double arcmin) { return QString::number(arcmin, 'f', 2) + QStringLiteral("'"); }

// "yyyy-mm-dd hh:mm:ss" of a UT instant, to the nearest second.
QString UtText(DateValue ut) {
    const CalendarDate d = DateToParts(ut + 0.5 / 86400.0);
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                             static_cast<int>(std::floor(d.second)));
}

// A sextant distance "ddd-mm.m" (degrees up to 180, minutes below 60), or decimal degrees.
bool ParseDistance(const QString& text, double& deg) {
    const QString t = text.trimmed();
    const int dash = t.indexOf(QLatin1Char('-'));
    bool ok1 = false, ok2 = false;
    if (dash <= 0) {
        deg = NormalizeDecimalText(t).toDouble(&ok1);
        return ok1 && deg > 0.0 && deg < 180.0;
    }
    const int d = t.left(dash).toInt(&ok1);
    const double m = NormalizeDecimalText(t.mid(dash + 1)).toDouble(&ok2);
    if (!ok1 || !ok2 || d < 0 || m < 0.0 || m >= 60.0) return false;
    deg = d + m / 60.0;
    return deg > 0.0 && deg < 180.0;
}

QLineEdit* MaskedBox(QWidget* parent, const char* name, const QString& text, const QString& mask, const QString& tip) {
    auto* box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(tip);
    AttachMask(box, mask);
    return box;
}

}  // namespace

frmLunar::frmLunar(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmLunar"));
    setWindowTitle(kTitle);
    LoadSharedState();

    tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabs"));
    auto* clear = new QWidget(tabs);
    auto* plan = new QWidget(tabs);
    tabs->addTab(clear, QStringLiteral("Clear a lunar"));
    tabs->addTab(plan, QStringLiteral("Plan lunars"));
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(tabs);

    cboBody = new QComboBox(clear);
    cboBody->setObjectName(QStringLiteral("cboBody"));
    for (const auto& b : {std::pair<const char*, int>{"Sun", 0}, {"Venus", -2}, {"Mars", -3}, {"Jupiter", -4}, {"Saturn", -5}})
        cboBody->addItem(QLatin1String(b.first), b.second);
    std::vector<std::pair<QString, int>> stars;
    for (int i = 1; i <= kStarCount; ++i)
        if (Stars[i].NavNumber >= 1 && Stars[i].NavNumber <= 57)
            stars.emplace_back(QString::fromStdString(Stars[i].Name), Stars[i].Number);
    std::sort(stars.begin(), stars.end());
    for (const auto& s : stars) cboBody->addItem(s.first, s.second);
    cboBody->setToolTip(QStringLiteral("The body measured from the Moon: the Sun, a planet or a navigational star"));
    cboMoonLimb = new QComboBox(clear);
    cboMoonLimb->setToolTip(QStringLiteral("The Moon's limb brought to the body: near (toward it) or far"));
    cboMoonLimb->setObjectName(QStringLiteral("cboMoonLimb"));
    cboMoonLimb->addItems({QStringLiteral("Near limb"), QStringLiteral("Far limb")});
    cboLimb = new QComboBox(clear);
    cboLimb->setToolTip(QStringLiteral("The Sun's limb brought to the Moon: near or far (the Sun only)"));
    cboLimb->setObjectName(QStringLiteral("cboLimb"));
    cboLimb->addItems({QStringLiteral("Near limb"), QStringLiteral("Far limb")});

    const NavigationStateRecord& w = Working();
    const DateValue ut = w.LocalDate - w.TZ / 24.0;
    txtDistance = MaskedBox(clear, "txtDistance", QStringLiteral("000-00.0"), QStringLiteral("000_00_0"),
                            QStringLiteral("Sextant distance, ddd-mm.m"));
    txtDate = MaskedBox(clear, "txtDate", FormatShortDate(std::floor(ut)), ShortDateMask(), ShortDateTooltip() + QStringLiteral(" (UT)"));
    txtTime = MaskedBox(clear, "txtTime", FormatTimeHMS(ut), QStringLiteral("00_00_00"),
                        QStringLiteral("Watch time of the distance, hh:mm:ss, read as UT"));
    txtHsMoon = MaskedBox(clear, "txtHsMoon", FormatNumber(0.0, QStringLiteral("00-00.0")), QStringLiteral("00_00_0"),
                          QStringLiteral("Sextant altitude of the Moon's lower limb, dd-mm.m"));
    txtHs = MaskedBox(clear, "txtHs", FormatNumber(0.0, QStringLiteral("00-00.0")), QStringLiteral("00_00_0"),
                      QStringLiteral("Sextant altitude of the Sun's lower limb or of the body, dd-mm.m"));
    chkFromDR = new QCheckBox(QStringLiteral("Altitudes from the DR"), clear);
    chkFromDR->setToolTip(QStringLiteral("Compute both altitudes from the DR at the UT found, instead of the sextant altitudes"));
    chkFromDR->setObjectName(QStringLiteral("chkFromDR"));
    cmdCalculate = new QPushButton(QStringLiteral("Ca&lculate"), clear);
    cmdCalculate->setToolTip(QStringLiteral("Clear the distance and find the UT, the watch error and the longitude"));
    cmdCalculate->setObjectName(QStringLiteral("cmdCalculate"));
    lblConditions = new QLabel(clear);
    lblConditions->setObjectName(QStringLiteral("lblConditions"));
    lvSteps = StepsView(clear, QStringLiteral("lvSteps"));
    lblResult = new QLabel(clear);
    lblResult->setObjectName(QStringLiteral("lblResult"));
    lblResult->setWordWrap(true);
    lblResult->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* g = new QGridLayout(clear);
    g->addWidget(new QLabel(QStringLiteral("Body"), clear), 0, 0);
    g->addWidget(cboBody, 0, 1);
    g->addWidget(new QLabel(QStringLiteral("Its limb (Sun)"), clear), 0, 2);
    g->addWidget(cboLimb, 0, 3);
    g->addWidget(new QLabel(QStringLiteral("Moon's limb"), clear), 1, 0);
    g->addWidget(cboMoonLimb, 1, 1);
    g->addWidget(new QLabel(QStringLiteral("Distance Ds"), clear), 1, 2);
    g->addWidget(txtDistance, 1, 3);
    g->addWidget(new QLabel(QStringLiteral("Watch date (UT)"), clear), 2, 0);
    g->addWidget(txtDate, 2, 1);
    g->addWidget(new QLabel(QStringLiteral("Watch time (UT)"), clear), 2, 2);
    g->addWidget(txtTime, 2, 3);
    g->addWidget(new QLabel(QStringLiteral("Hs Moon (lower limb)"), clear), 3, 0);
    g->addWidget(txtHsMoon, 3, 1);
    g->addWidget(new QLabel(QStringLiteral("Hs body"), clear), 3, 2);
    g->addWidget(txtHs, 3, 3);
    g->addWidget(chkFromDR, 4, 0, 1, 2);
    g->addWidget(cmdCalculate, 4, 3);
    g->addWidget(lblConditions, 5, 0, 1, 4);
    g->addWidget(lvSteps, 6, 0, 1, 4);
    g->addWidget(lblResult, 7, 0, 1, 4);

    lvPlan = new QTreeWidget(plan);
    lvPlan->setObjectName(QStringLiteral("lvPlan"));
    lvPlan->setRootIsDecorated(false);
    QStringList headers = {QStringLiteral("Body"), QStringLiteral("Distance"), QStringLiteral("Rate '/h"),
                           QStringLiteral("Moon alt"), QStringLiteral("Body alt"), QStringLiteral("Suitable")};
    for (int h = 0; h < 24; h += 3) headers << QString::asprintf("%02d h", h);
    lvPlan->setHeaderLabels(headers);
    const QStringList tips = {QStringLiteral("The body measured from the Moon"),
                              QStringLiteral("Geocentric distance of the centres now, degrees and minutes"),
                              QStringLiteral("How fast the distance changes, arc minutes an hour (+ opening)"),
                              QStringLiteral("The Moon's altitude at the DR now, degrees"),
                              QStringLiteral("The body's altitude at the DR now, degrees"),
                              QStringLiteral("15 to 120 degrees apart and both above 10 degrees")};
    for (int c = 0; c < lvPlan->columnCount(); ++c)
        lvPlan->headerItem()->setToolTip(
            c, c < tips.size() ? tips[c] : QStringLiteral("Geocentric distance at %1 UT").arg(headers[c]));
    lvPlan->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    auto* pl = new QVBoxLayout(plan);
    auto* planNote = new QLabel(QStringLiteral("Geocentric distances of the Moon's centre for the working day (UT), "
                                               "suitable lunars first: 15-120 degrees apart, both above 10 degrees at the DR."),
                                plan);
    planNote->setWordWrap(true);
    pl->addWidget(planNote);
    pl->addWidget(lvPlan);

    auto limbFollows = [this] { cboLimb->setEnabled(cboBody->currentData().toInt() == 0); };
    connect(cboBody, &QComboBox::currentIndexChanged, this, limbFollows);
    connect(chkFromDR, &QCheckBox::toggled, this, [this](bool on) {
        txtHsMoon->setEnabled(!on);
        txtHs->setEnabled(!on);
    });
    connect(cmdCalculate, &QPushButton::clicked, this, [this] { Calculate(); });
    limbFollows();
    Update();
}

void frmLunar::Update() {
    const NavigationStateRecord& n = Working();
    lblConditions->setText(QStringLiteral("DR ") + FormatLatLon(n.Lat, true) + QStringLiteral(" ") + FormatLatLon(n.Lon, false) +
                           QStringLiteral(", eye ") + NumberText(n.hEye) + QStringLiteral(" m, ") + NumberText(n.Temp) +
                           QStringLiteral(" C, ") + NumberText(n.Pressure) + QStringLiteral(" mB, index correction ") +
                           NumberText(n.i_s) + QStringLiteral("'"));
    Plan();
    if (haveResult_) Calculate();
}

bool frmLunar::ReadSight(LunarObservation& obs) {
    auto refuse = [this](const QString& what) {
        ShowMessage(this, kTitle, what, MsgIcon::Exclamation);
        return false;
    };
    obs.body = cboBody->currentData().toInt();
    obs.moonFarLimb = cboMoonLimb->currentIndex() == 1;
    obs.bodyFarLimb = obs.body == 0 && cboLimb->currentIndex() == 1;
    if (!ParseDistance(txtDistance->text(), obs.distance))
        return refuse(QStringLiteral("The distance \"%1\" is not a sextant distance (ddd-mm.m, less than 180 degrees).")
                          .arg(txtDistance->text()));
    DateValue day = 0.0;
    double time = 0.0;
    if (!ParseShortDate(txtDate->text(), day)) return refuse(QStringLiteral("Invalid Date format!"));
    if (!ParseTimeOfDay(txtTime->text().toStdString(), time))
        return refuse(QStringLiteral("The watch time \"%1\" is not a time (hh:mm:ss).").arg(txtTime->text()));
    obs.watch = day + time;
    obs.hsMoon.reset();
    obs.hsBody.reset();
    if (!chkFromDR->isChecked()) {
        double hm = 0.0, hb = 0.0;
        if (!ParseSightAltitude(txtHsMoon->text().toStdString(), hm) || hm <= 0.0)
            return refuse(QStringLiteral("The Moon's altitude \"%1\" is not a sextant altitude (dd-mm.m, up to 90 degrees); "
                                         "tick \"Altitudes from the DR\" to compute both.").arg(txtHsMoon->text()));
        if (!ParseSightAltitude(txtHs->text().toStdString(), hb) || hb <= 0.0)
            return refuse(QStringLiteral("The body's altitude \"%1\" is not a sextant altitude (dd-mm.m, up to 90 degrees); "
                                         "tick \"Altitudes from the DR\" to compute both.").arg(txtHs->text()));
        obs.hsMoon = hm;
        obs.hsBody = hb;
    }
    return true;
}

void frmLunar::Calculate() {
    LunarObservation obs;
    if (!ReadSight(obs)) return;
    const NavigationStateRecord& n = Working();
    LunarConditions cond;
    cond.lat = n.Lat;
    cond.lon = n.Lon;
    cond.indexArcmin = n.i_s;
    cond.horizon = HorizonOf(n);
    try {
        result_ = ClearLunar(obs, cond);
    } catch (const ArithmeticFault& fault) {
        result_ = LunarResult{};
        result_.refusal = fault.what();
    }
    haveResult_ = result_.refusal.empty();
    ShowResult();
    if (!haveResult_) ShowMessage(this, kTitle, QString::fromStdString(result_.refusal), MsgIcon::Exclamation);
}

void frmLunar::ShowResult() {
    lvSteps->clear();
    lblResult->clear();
    const LunarResult& r = result_;
    if (!r.refusal.empty()) {
        lblResult->setText(QStringLiteral("Not cleared: ") + QString::fromStdString(r.refusal));
        return;
    }
    const QString source = r.altitudesComputed ? QStringLiteral(" (from the DR)") : QStringLiteral(" (observed)");
    Row(lvSteps, QStringLiteral("Moon's centre, apparent altitude") + source, DegMin2(r.moonApparentAlt));
    Row(lvSteps, QStringLiteral("Moon's true altitude"), DegMin2(r.moonTrueAlt));
    Row(lvSteps, QStringLiteral("Body's centre, apparent altitude") + source, DegMin2(r.bodyApparentAlt));
    Row(lvSteps, QStringLiteral("Body's true altitude"), DegMin2(r.bodyTrueAlt));
    Row(lvSteps, QStringLiteral("Distance with index correction"), DegMin2(r.distanceIndexed));
    Row(lvSteps, QStringLiteral("Moon's semidiameter (augmented)"), Arcmin2(r.moonSemidiameter * 60.0));
    Row(lvSteps, QStringLiteral("Moon's radius toward the body (refracted)"), Arcmin2(r.moonSdAlongLine * 60.0));
    Row(lvSteps, QStringLiteral("Body's radius toward the Moon (refracted)"), Arcmin2(r.bodySdAlongLine * 60.0));
    Row(lvSteps, QStringLiteral("Apparent distance of the centres"), DegMin2(r.apparentCentres));
    Row(lvSteps, QStringLiteral("Refraction removed"), DegMin2(r.trueTopocentric));
    Row(lvSteps, QStringLiteral("Parallax removed: cleared distance"), DegMin2(r.cleared));
    Row(lvSteps, QStringLiteral("Rate of the distance"), QString::number(r.rateArcminPerHour, 'f', 2) + QStringLiteral("'/h"));
    Row(lvSteps, QStringLiteral("Clearings"), QString::number(r.passes));
    QString text = QStringLiteral("Cleared distance ") + DegMin2(r.cleared) + QStringLiteral("\nUT of the sight: ") +
                   UtText(r.ut) + QStringLiteral("\nWatch error: ") + QString::number(r.watchErrorSeconds, 'f', 1) +
                   QStringLiteral(" s (watch ") + (r.watchErrorSeconds >= 0.0 ? QStringLiteral("fast") : QStringLiteral("slow")) +
                   QStringLiteral(")\nSensitivity: ") + QString::number(r.secondsPerTenthArcmin, 'f', 1) +
                   QStringLiteral(" s per 0.1' of distance\nLongitude: ") +
                   (r.longitude ? FormatLatLon(*r.longitude, false) : QStringLiteral("none")) + QStringLiteral("  (") +
                   QString::fromStdString(r.longitudeNote) + QStringLiteral(")");
    lblResult->setText(text);
}

void frmLunar::Plan() {
    lvPlan->clear();
    const NavigationStateRecord& n = Working();
    std::vector<LunarCandidate> list;
    try {
        list = PlanLunars(n.LocalDate - n.TZ / 24.0, n.Lat, n.Lon);
    } catch (const ArithmeticFault&) {
        return;  // no Moon to plan with: the page stays empty
    }
    for (const LunarCandidate& c : list) {
        QStringList cells = {QString::fromStdString(c.name), DegMin2(c.distance),
                             QString::number(c.rateArcminPerHour, 'f', 1), DegMin2(c.moonAlt), DegMin2(c.bodyAlt),
                             !c.suitable ? QString() : std::fabs(c.rateArcminPerHour) < 5.0 ? QStringLiteral("too slow") : QStringLiteral("yes")};
        for (double d : c.everyThreeHours) cells << FormatAngleDegMin(d, 3, false, false);
        auto* item = new QTreeWidgetItem(lvPlan, cells);
        for (int k = 1; k < cells.size(); ++k) item->setTextAlignment(k, Qt::AlignRight | Qt::AlignVCenter);
    }
}
