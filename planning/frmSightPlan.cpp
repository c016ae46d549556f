#include "planning/frmSightPlan.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "ui/MaskedEdit.h"
#include "ui/mDialogs.h"
#include "core/mFault.h"
#include "planning/PlanWidgets.h"
#include "ui/mPublicVarsQt.h"

using namespace planwidgets;

namespace {
enum Column { kBody, kHc, kZn, kMag, kPreset, kSet, kColumns };
}

frmSightPlan::frmSightPlan(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmSightPlan"));
    setWindowTitle(QStringLiteral("Sight plan"));
    LoadSharedState();

    optMorning = new QRadioButton(QStringLiteral("Mo&rning twilight"), this);
    optMorning->setObjectName(QStringLiteral("optMorning"));
    optMorning->setToolTip(QStringLiteral("Plan for the next morning twilight after the working time"));
    optEvening = new QRadioButton(QStringLiteral("E&vening twilight"), this);
    optEvening->setObjectName(QStringLiteral("optEvening"));
    optEvening->setToolTip(QStringLiteral("Plan for the next evening twilight after the working time"));
    optTime = new QRadioButton(QStringLiteral("At &UT"), this);
    optTime->setObjectName(QStringLiteral("optTime"));
    optTime->setToolTip(QStringLiteral("Plan for the UT time typed beside, on the UT date of the working data"));
    txtTime = new QLineEdit(FormatTimeHMS(0.0), this);
    txtTime->setObjectName(QStringLiteral("txtTime"));
    txtTime->setToolTip(QStringLiteral("UT time on the UT date of the working data, hh:mm:ss"));
    AttachMask(txtTime, QStringLiteral("00_00_00"));
    cmdPlan = new QPushButton(QStringLiteral("&Plan"), this);
    cmdPlan->setObjectName(QStringLiteral("cmdPlan"));
    cmdPlan->setToolTip(QStringLiteral("Find the bodies in view and the best sets for the time chosen"));
    optEvening->setChecked(true);

    lblTwilight = new QLabel(this);
    lblTwilight->setObjectName(QStringLiteral("lblTwilight"));
    lblTwilight->setTextInteractionFlags(Qt::TextSelectableByMouse);

    lvBodies = new QTreeWidget(this);
    lvBodies->setObjectName(QStringLiteral("lvBodies"));
    lvBodies->setColumnCount(kColumns);
    lvBodies->setHeaderLabels({QStringLiteral("Body"), QStringLiteral("Hc"), QStringLiteral("Zn"),
                               QStringLiteral("Mag"), QStringLiteral("Hs preset"), QStringLiteral("Set")});
    lvBodies->setRootIsDecorated(false);
    static const char* const kColumnTips[kColumns] = {
        "Body: a navigational star, Polaris, a planet or the Moon between 15 and 75 degrees high (bold: in a best set)",
        "Hc: the computed altitude at the planned time from the DR then, degrees and minutes",
        "Zn: the true azimuth, degrees",
        "Mag: the visual magnitude (smaller is brighter)",
        "Hs preset: the sextant altitude (lower limb) to set before the sight, so the body shows near the horizon",
        "Set: the best sets the body belongs to: 3 the best three, 4 the best four, 34 both (the sets are "
        "described below the table)"};
    for (int c = 0; c < kColumns; ++c) lvBodies->headerItem()->setToolTip(c, QString::fromLatin1(kColumnTips[c]));
    lvBodies->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lvBodies->header()->setStretchLastSection(false);  // "Set" beside the others, not at the far edge
    lvBodies->setMinimumHeight(260);

    lblBest3 = new QLabel(this);
    lblBest3->setObjectName(QStringLiteral("lblBest3"));
    lblBest4 = new QLabel(this);
    lblBest4->setObjectName(QStringLiteral("lblBest4"));
    for (QLabel* l : {lblBest3, lblBest4}) {
        l->setWordWrap(true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    cboSet = new QComboBox(this);
    cboSet->setObjectName(QStringLiteral("cboSet"));
    cboSet->addItem(QStringLiteral("Best four"), 4);
    cboSet->addItem(QStringLiteral("Best three"), 3);
    cboSet->setToolTip(QStringLiteral("The set that Mark on map and Fill position lines use"));
    cmdMark = new QPushButton(QStringLiteral("&Mark on map"), this);
    cmdMark->setObjectName(QStringLiteral("cmdMark"));
    cmdMark->setToolTip(QStringLiteral("Ring the bodies of the set on the position window's star map"));
    cmdFill = new QPushButton(QStringLiteral("&Fill position lines"), this);
    cmdFill->setObjectName(QStringLiteral("cmdFill"));
    cmdFill->setToolTip(QStringLiteral("Put the set's bodies, times and preset altitudes into the position window's "
                                       "lines (asks before replacing lines already typed)"));

    auto* grid = new QGridLayout(this);
    auto* top = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(optMorning), static_cast<QWidget*>(optEvening),
                       static_cast<QWidget*>(optTime), static_cast<QWidget*>(txtTime), static_cast<QWidget*>(cmdPlan)})
        top->addWidget(w);
    top->addStretch();
    grid->addLayout(top, 0, 0);
    grid->addWidget(lblTwilight, 1, 0);
    grid->addWidget(lvBodies, 2, 0);
    grid->addWidget(lblBest3, 3, 0);
    grid->addWidget(lblBest4, 4, 0);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cboSet);
    bottom->addWidget(cmdMark);
    bottom->addWidget(cmdFill);
    bottom->addStretch();
    grid->addLayout(bottom, 5, 0);

    connect(cmdPlan, &QPushButton::clicked, this, [this] { Plan(); });
    for (QRadioButton* o : {optMorning, optEvening, optTime})
        connect(o, &QRadioButton::clicked, this, [this] { Plan(); });
    connect(cmdMark, &QPushButton::clicked, this, [this] {
        QVector<int> codes;
        for (const PlannedSight& s : ChosenSights()) codes.append(s.Code);
        if (!codes.isEmpty()) emit markRequested(codes, instant_);
    });
    connect(cmdFill, &QPushButton::clicked, this, [this] {
        QVector<int> codes;
        QVector<double> times, altitudes;
        for (const PlannedSight& s : ChosenSights()) {
            codes.append(s.Code);
            times.append(s.Ut);
            altitudes.append(s.PresetHs);
        }
        if (!codes.isEmpty()) emit linesRequested(codes, times, altitudes);
    });
    Plan();
}

void frmSightPlan::Update() { Plan(); }

std::vector<PlannedSight> frmSightPlan::ChosenSights() const {
    const int count = cboSet->currentData().toInt();
    const BodySet& set = Best(count);
    if (set.Index.empty()) return {};
    try {
        const NavigationStateRecord& n = NavigationState;
        return PlanSights(bodies_, set, instant_, position_, n.Course, n.Speed, n);
    } catch (const ArithmeticFault&) {
        return {};
    }
}

void frmSightPlan::Clear(const QString& why) {
    lvBodies->clear();
    bodies_.clear();
    best3_ = BodySet{};
    best4_ = BodySet{};
    lblTwilight->setText(why);
    lblBest3->clear();
    lblBest4->clear();
    cmdMark->setEnabled(false);
    cmdFill->setEnabled(false);
}

void frmSightPlan::Plan() {
    const NavigationStateRecord& n = NavigationState;
    const DateValue nowUt = n.LocalDate - n.TZ / 24.0;
    const LatLon dr{n.Lat, n.Lon};
    QString head;
    try {
        if (optTime->isChecked()) {
            double fraction = 0.0;
            if (!ParseTimeHMS(txtTime->text(), fraction)) {
                Clear(QStringLiteral("The time \"%1\" is not a UT time of day (hh:mm:ss).").arg(txtTime->text()));
                return;
            }
            instant_ = DateWholeDays(nowUt) + fraction;
            position_ = RunAlongCourse(dr, n.Course, n.Speed, (instant_ - nowUt) * 24.0);
            head = QStringLiteral("Planned for ") + ZoneAndUt(instant_);
        } else {
            const bool morning = optMorning->isChecked();
            const TwilightPlan t = PlanTwilight(morning, nowUt, dr, nowUt, n.Course, n.Speed, HorizonOf(n));
            if (!t.Message.empty()) {
                Clear(QString::fromStdString(t.Message));
                return;
            }
            // The whole minute nearest the middle of the twilights: the sights are
            // planned round it at whole minutes, as a watch is read.
            instant_ = std::round(t.Observe * 1440.0) / 1440.0;
            position_ = RunAlongCourse(dr, n.Course, n.Speed, (instant_ - nowUt) * 24.0);
            const QString nautical = QStringLiteral("Nautical twilight ") + ZoneAndUt(t.Nautical);
            const QString civil = QStringLiteral("Civil twilight ") + ZoneAndUt(t.Civil);
            head = (morning ? nautical + QStringLiteral("\n") + civil : civil + QStringLiteral("\n") + nautical) +
                   QStringLiteral("\nObserve at ") + ZoneAndUt(instant_) + QStringLiteral(" on ") +
                   FormatShortDate(instant_ + n.TZ / 24.0);
        }
        bodies_ = BodiesInView(instant_, position_.Lat, position_.Lon, n);
    } catch (const ArithmeticFault& fault) {
        Clear(QString::fromStdString(fault.what()));
        return;
    }
    lblTwilight->setText(head + QStringLiteral("\nDR then: ") + Position(position_));
    best3_ = BestBodySet(bodies_, 3);
    best4_ = BestBodySet(bodies_, 4);

    lvBodies->clear();
    for (size_t i = 0; i < bodies_.size(); ++i) {
        const PlanBody& b = bodies_[i];
        QString set;
        const int k = static_cast<int>(i);
        if (std::find(best3_.Index.begin(), best3_.Index.end(), k) != best3_.Index.end()) set += QStringLiteral("3");
        if (std::find(best4_.Index.begin(), best4_.Index.end(), k) != best4_.Index.end()) set += QStringLiteral("4");
        auto* item = new QTreeWidgetItem(lvBodies);
        item->setText(kBody, QString::fromStdString(b.Name));
        item->setData(kBody, Qt::UserRole, b.Code);
        item->setText(kHc, FormatAngleDegMin(b.Hc, 2, false, false));
        item->setText(kZn, FormatNumber(b.Zn, QStringLiteral("000")));
        item->setText(kMag, FormatNumber(b.Magnitude, QStringLiteral("+0.0;-0.0")));
        item->setText(kPreset, FormatAngleDegMin(b.PresetHs, 2, false, false));
        item->setText(kSet, set);
        if (!set.isEmpty())
            item->setToolTip(kSet, set == QLatin1String("34") ? QStringLiteral("In the best three and the best four")
                                   : set == QLatin1String("3") ? QStringLiteral("In the best three")
                                                               : QStringLiteral("In the best four"));
        for (int c = kHc; c < kSet; ++c) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        item->setTextAlignment(kSet, Qt::AlignHCenter | Qt::AlignVCenter);
        if (!set.isEmpty()) {
            QFont f = item->font(kBody);
            f.setBold(true);
            item->setFont(kBody, f);
        }
    }
    auto describe = [this](const BodySet& s, const QString& what) {
        if (s.Index.empty())
            return QStringLiteral("%1: fewer bodies than that between 15 and 75 degrees.").arg(what);
        QString names;
        for (int i : s.Index) {
            if (!names.isEmpty()) names += QStringLiteral(", ");
            names += QString::fromStdString(bodies_[static_cast<size_t>(i)].Name);
        }
        return what + QStringLiteral(": ") + names + QStringLiteral(" - ") + QString::fromStdString(s.Explanation);
    };
    lblBest3->setText(describe(best3_, QStringLiteral("Best three")));
    lblBest4->setText(describe(best4_, QStringLiteral("Best four")));
    cmdMark->setEnabled(!best3_.Index.empty());
    cmdFill->setEnabled(!best3_.Index.empty());
}
