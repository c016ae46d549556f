#include "fix/frmSession.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <map>

#include "core/mMath.h"
#include "core/mPlanet.h"
#include "core/mStar.h"
#include "core/mTextForms.h"
#include "core/mWorkingData.h"
#include "fix/mLastFix.h"
#include "fix/mReduceCommand.h"
#include "fix/mSessionReport.h"
#include "core/mSailing.h"
#include "ui/mConvertion.h"
#include "ui/mDialogs.h"
#include "ui/mPublicVarsQt.h"

namespace {

const char* const kHeaders[] = {"Use", "Body", "UT (yyyy-mm-dd hh:mm:ss)", "Hs", "Upper limb", "Bearing",
                                "", "", "Ho", "Hc", "Zn", "Int. from DR", "Residual", "Series", ""};
const QString kTitle = QStringLiteral("Twilight Session");

QString UtText(DateValue ut) {
    const CalendarDate d = DateToParts(ut + 0.5 / 86400.0);
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", d.year, d.month, d.day, d.hour, d.minute,
                             static_cast<int>(std::floor(d.second)));
}

// A sextant altitude "dd-mm.mmm": the file's precision kept to 0.001'.
QString HsText(double hs) {
    int deg = static_cast<int>(std::floor(hs));
    double min = std::round((hs - deg) * 60000.0) / 1000.0;
    if (min >= 60.0) {
        ++deg;
        min = 0.0;
    }
    QString text = QString::asprintf("%02d-%06.3f", deg, min);
    while (text.endsWith(QLatin1Char('0')) && text.size() > 7) text.chop(1);
    return text;
}

QString Angle(double deg, int width) { return WithDegreeSigns(FormatAngleDegMin(deg, width, false, false)).trimmed(); }

}  // namespace

// ------------------------------------------------------------------ plot

SeriesPlot::SeriesPlot(QWidget* parent) : QWidget(parent) {
    setMinimumSize(220, 150);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void SeriesPlot::SetSeries(const QString& title, const std::vector<double>& minutes,
                           const std::vector<double>& intercepts, double mean, int outlier) {
    title_ = title;
    minutes_ = minutes;
    intercepts_ = intercepts;
    mean_ = mean;
    outlier_ = outlier;
    update();
}

void SeriesPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::Text));
    p.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignTop | Qt::AlignHCenter | Qt::TextWordWrap,
               title_.isEmpty() ? QStringLiteral("Series: Hs - Hc against time") : title_);
    if (minutes_.empty()) return;
    const QRectF area = QRectF(rect()).adjusted(40, 22, -10, -22);
    double t0 = *std::min_element(minutes_.begin(), minutes_.end());
    double t1 = *std::max_element(minutes_.begin(), minutes_.end());
    double p0 = std::min(mean_, *std::min_element(intercepts_.begin(), intercepts_.end()));
    double p1 = std::max(mean_, *std::max_element(intercepts_.begin(), intercepts_.end()));
    if (t1 - t0 < 0.5) { t0 -= 0.25; t1 += 0.25; }
    if (p1 - p0 < 1.0) { const double m = 0.5 * (p0 + p1); p0 = m - 0.5; p1 = m + 0.5; }
    const double padP = 0.1 * (p1 - p0);
    p0 -= padP;
    p1 += padP;
    auto X = [&](double t) { return area.left() + (t - t0) / (t1 - t0) * area.width(); };
    auto Y = [&](double v) { return area.bottom() - (v - p0) / (p1 - p0) * area.height(); };
    p.drawRect(area);
    p.drawText(QRectF(0, area.top() - 2, 38, 16), Qt::AlignRight, QString::asprintf("%+.1f'", p1));
    p.drawText(QRectF(0, area.bottom() - 14, 38, 16), Qt::AlignRight, QString::asprintf("%+.1f'", p0));
    p.drawText(QRectF(area.left(), area.bottom() + 2, area.width(), 18), Qt::AlignHCenter,
               QString::asprintf("%+.1f to %+.1f min", t0, t1));
    p.setPen(QPen(Qt::blue, 1, Qt::DashLine));
    p.drawLine(QPointF(area.left(), Y(mean_)), QPointF(area.right(), Y(mean_)));
    for (size_t k = 0; k < minutes_.size(); ++k) {
        const bool bad = static_cast<int>(k) == outlier_;
        p.setPen(QPen(bad ? Qt::red : palette().color(QPalette::Text), 2));
        p.setBrush(bad ? Qt::red : palette().color(QPalette::Text));
        p.drawEllipse(QPointF(X(minutes_[k]), Y(intercepts_[k])), 3.5, 3.5);
    }
}

SessionLinesPlot::SessionLinesPlot(QWidget* parent) : QWidget(parent) {
    setMinimumSize(180, 180);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
}

void SessionLinesPlot::SetFix(const SessionFix* fix) {
    fix_ = fix;
    halfNm_ = 1.0;
    if (fix) {
        const SessionSolution& s = fix->Solution;
        for (const SessionLine& l : s.Lines) halfNm_ = std::max(halfNm_, 1.5 * std::fabs(l.Residual));
        if (s.HasRegion) halfNm_ = std::max(halfNm_, 1.2 * s.Region95.A);
        for (const FixWithout& w : s.Without)
            if (w.Ok) halfNm_ = std::max(halfNm_, 1.5 * std::hypot(w.dN - s.dN, w.dE - s.dE));
        halfNm_ = std::min(halfNm_, 60.0);
    }
    update();
}

void SessionLinesPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor text = palette().color(QPalette::Text);
    p.setPen(text);
    p.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignTop | Qt::AlignLeft,
               fix_ ? QString::asprintf("Lines, N up, %.1f nm to edge", halfNm_)
                    : QStringLiteral("Lines of position"));
    if (!fix_) return;
    const SessionSolution& s = fix_->Solution;
    const QRectF area = QRectF(rect()).adjusted(6, 20, -6, -6);
    const double k = 0.5 * std::min(area.width(), area.height()) / halfNm_;  // pixels per nm
    const QPointF c = area.center();
    // A point dN, dE (arc minutes from the assumed position) on the screen, the fix at the centre.
    auto At = [&](double dN, double dE) { return QPointF(c.x() + (dE - s.dE) * k, c.y() - (dN - s.dN) * k); };
    p.setClipRect(area);
    for (const SessionLine& l : s.Lines) {
        const double cz = CosD(l.Az), sz = SinD(l.Az), len = 3.0 * halfNm_;
        const double fN = l.Intercept * cz, fE = l.Intercept * sz;
        p.setPen(QPen(l.Outlier ? QColor(Qt::red) : text, l.Shots.size() > 1 ? 2.0 : 1.0));
        p.drawLine(At(fN - len * sz, fE + len * cz), At(fN + len * sz, fE - len * cz));
    }
    auto ellipse = [&](const ErrorEllipse& e, const QPen& pen) {
        QPolygonF poly;
        for (int i = 0; i <= 72; ++i) {
            const double t = i * 5.0;
            const double u = e.A * CosD(t), v = e.B * SinD(t);
            poly << At(s.dN + u * CosD(e.Azimuth) - v * SinD(e.Azimuth), s.dE + u * SinD(e.Azimuth) + v * CosD(e.Azimuth));
        }
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(poly);
    };
    ellipse(s.Geometric, QPen(Qt::blue, 1.5));
    if (s.HasRegion) ellipse(s.Region95, QPen(QColor(0, 140, 0), 1.5, Qt::DashLine));
    p.setPen(QPen(Qt::blue, 2));
    p.setBrush(Qt::blue);
    p.drawEllipse(At(s.dN, s.dE), 3, 3);
    p.setPen(QPen(QColor(0, 140, 0), 2));
    for (const FixWithout& w : s.Without) {
        if (!w.Ok) continue;
        const QPointF q = At(w.dN, w.dE);
        p.drawLine(q + QPointF(-5, -5), q + QPointF(5, 5));
        p.drawLine(q + QPointF(-5, 5), q + QPointF(5, -5));
    }
}

// ------------------------------------------------------------------ window

frmSession::frmSession(QWidget* parent) : ChildWindow(parent) {
    setObjectName(QStringLiteral("frmSession"));
    setWindowTitle(kTitle);
    auto* top = new QVBoxLayout(this);
    // Never smaller than what the layout needs: the plots keep their room.
    top->setSizeConstraint(QLayout::SetMinimumSize);
    lblConditions = new QLabel(this);
    lblConditions->setObjectName(QStringLiteral("lblConditions"));
    top->addWidget(lblConditions);

    tblSights = new QTableWidget(0, kColumns, this);
    tblSights->setObjectName(QStringLiteral("tblSights"));
    QStringList headers;
    for (const char* h : kHeaders) headers << QString::fromUtf8(h);
    tblSights->setHorizontalHeaderLabels(headers);
    tblSights->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The table's corner button selects every sight.
    for (QAbstractButton* corner : tblSights->findChildren<QAbstractButton*>())
        corner->setToolTip(QStringLiteral("Select every sight"));
    top->addWidget(tblSights, 1);

    auto* buttons = new QHBoxLayout;
    cmdCalculate = new QPushButton(QStringLiteral("Calculate &Fix"), this);
    cmdCalculate->setObjectName(QStringLiteral("cmdCalculate"));
    cmdCalculate->setToolTip(QStringLiteral("The fix from every sight ticked Use: series averaged, blunders tested, both ellipses"));
    cmdAdd = new QPushButton(QStringLiteral("&Add sight"), this);
    cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    cmdAdd->setToolTip(QStringLiteral("One more row for a sight"));
    cmdOpen = new QPushButton(QStringLiteral("&Open sights file..."), this);
    cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
    cmdOpen->setToolTip(QStringLiteral("Read any number of sights from a CSV file (ut, body, hs[, limb][, use])"));
    cmdDetails = new QPushButton(QStringLiteral("&Details"), this);
    cmdDetails->setObjectName(QStringLiteral("cmdDetails"));
    cmdDetails->setToolTip(QStringLiteral("Every sight's workings from the DR, the summary and the plot of the lines"));
    cmdDetails->setEnabled(false);
    buttons->addWidget(cmdCalculate);
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdOpen);
    buttons->addWidget(cmdDetails);
    buttons->addStretch(1);
    top->addLayout(buttons);

    auto* bottom = new QHBoxLayout;
    lblSummary = new QLabel(QStringLiteral("No fix calculated."), this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    lblSummary->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    bottom->addWidget(lblSummary, 2);
    auto* identify = new QVBoxLayout;
    lstIdentify = new QListWidget(this);
    lstIdentify->setObjectName(QStringLiteral("lstIdentify"));
    lstIdentify->setMaximumHeight(120);
    cmdTakeIdentified = new QPushButton(QStringLiteral("&Take the chosen body"), this);
    cmdTakeIdentified->setObjectName(QStringLiteral("cmdTakeIdentified"));
    cmdTakeIdentified->setToolTip(QStringLiteral("Put the body chosen in the list on the sight being identified"));
    cmdTakeIdentified->setEnabled(false);
    identify->addWidget(new QLabel(QStringLiteral("Identified (nearest first):"), this));
    identify->addWidget(lstIdentify);
    identify->addWidget(cmdTakeIdentified);
    bottom->addLayout(identify, 1);
    plotSeries = new SeriesPlot(this);
    plotSeries->setObjectName(QStringLiteral("plotSeries"));
    bottom->addWidget(plotSeries, 1);
    plotLines = new SessionLinesPlot(this);
    plotLines->setObjectName(QStringLiteral("plotLines"));
    bottom->addWidget(plotLines, 1);
    top->addLayout(bottom);

    for (int i = 0; i < kStartRows; ++i) AddSight();

    connect(cmdCalculate, &QPushButton::clicked, this, [this] { Calculate(); });
    connect(cmdAdd, &QPushButton::clicked, this, [this] { AddSight(); });
    connect(cmdDetails, &QPushButton::clicked, this, [this] { emit detailsRequested(); });
    connect(cmdOpen, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open sights file"), QString(),
                                                          QStringLiteral("Sights (*.csv);;All files (*)"));
        if (!path.isEmpty()) OpenFile(path);
    });
    connect(cmdTakeIdentified, &QPushButton::clicked, this, [this] { TakeIdentified(lstIdentify->currentRow()); });
    connect(lstIdentify, &QListWidget::itemDoubleClicked, this, [this] { TakeIdentified(lstIdentify->currentRow()); });
    connect(tblSights, &QTableWidget::currentCellChanged, this, [this](int row) { PlotSeriesOf(row); });
    Update();
}

QSize frmSession::ContentSize() const { return QSize(1200, 640); }

void frmSession::Update() {
    const NavigationStateRecord& n = NavigationState;
    lblConditions->setText(QStringLiteral("DR: %1, COG = %2, SOG = %3 kt at %4 UT; Temp = %5 C, Pres = %6 mB, H = %7 m, "
                                          "i+s = %8 min; clock %9 s fast (General Info)")
                               .arg(PositionText(n.Lat, n.Lon))
                               .arg(n.Course)
                               .arg(n.Speed)
                               .arg(UtText(n.LocalDate - n.TZ / 24.0))
                               .arg(n.Temp)
                               .arg(n.Pressure)
                               .arg(n.hEye)
                               .arg(n.i_s)
                               .arg(QString::asprintf("%+.1f", n.ClockError)));
}

int frmSession::AddSight() {
    const int row = tblSights->rowCount();
    tblSights->insertRow(row);
    auto* use = new QTableWidgetItem;
    use->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    use->setCheckState(Qt::Checked);
    tblSights->setItem(row, colUse, use);
    auto* body = new QComboBox;
    body->setObjectName(QStringLiteral("cboBody_%1").arg(row));
    body->setToolTip(QStringLiteral("The body of this sight; empty for a light not yet named (Identify)"));
    body->addItem(QString(), kNoBody);
    const std::vector<std::string>& names = BodyNames();
    for (size_t k = 0; k < names.size(); ++k) body->addItem(QString::fromStdString(names[k]), -static_cast<int>(k));
    std::map<QString, int> stars;
    for (int i = 1; i <= kStarCount; ++i)
        if (Stars[static_cast<size_t>(i)].NavNumber >= 1) stars[SessionBodyName(Stars[static_cast<size_t>(i)].Number)] = Stars[static_cast<size_t>(i)].Number;
    for (const auto& [name, number] : stars) body->addItem(name, number);
    tblSights->setCellWidget(row, colBody, body);
    auto* upper = new QTableWidgetItem;
    upper->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    upper->setCheckState(Qt::Unchecked);
    tblSights->setItem(row, colUpper, upper);
    for (int c : {colUT, colHs, colBearing}) tblSights->setItem(row, c, new QTableWidgetItem);
    for (int c = colHo; c < kColumns; ++c) {
        auto* item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        tblSights->setItem(row, c, item);
    }
    auto* identify = new QPushButton(QStringLiteral("Identify"));
    identify->setObjectName(QStringLiteral("cmdIdentify_%1").arg(row));
    identify->setToolTip(QStringLiteral("The stars and planets near this altitude and compass bearing at the DR"));
    connect(identify, &QPushButton::clicked, this, [this, row] { Identify(row); });
    tblSights->setCellWidget(row, colIdentify, identify);
    auto* mark = new QPushButton(QStringLiteral("Mark"));
    mark->setObjectName(QStringLiteral("cmdMark_%1").arg(row));
    mark->setToolTip(QStringLiteral("The present UT from the computer's clock, less the clock error of General Info"));
    connect(mark, &QPushButton::clicked, this, [this, row] { Mark(row); });
    tblSights->setCellWidget(row, colMark, mark);
    return row;
}

QString frmSession::Text(int row, int column) const {
    const QTableWidgetItem* item = tblSights->item(row, column);
    return item ? item->text().trimmed() : QString();
}

void frmSession::SetText(int row, int column, const QString& text) { tblSights->item(row, column)->setText(text); }

BodyCode frmSession::BodyOfRow(int row) const {
    const auto* combo = qobject_cast<QComboBox*>(tblSights->cellWidget(row, colBody));
    return combo && combo->currentIndex() >= 0 ? combo->currentData().toInt() : kNoBody;
}

void frmSession::SetBodyOfRow(int row, BodyCode code) {
    auto* combo = qobject_cast<QComboBox*>(tblSights->cellWidget(row, colBody));
    int k = combo->findData(code);
    if (k < 0) {  // a star of the catalogue that is not a navigational star
        combo->addItem(SessionBodyName(code), code);
        k = combo->count() - 1;
    }
    combo->setCurrentIndex(k);
}

void frmSession::SetSight(int row, BodyCode body, DateValue ut, double hs, bool lowerLimb, bool use) {
    while (row >= tblSights->rowCount()) AddSight();
    SetBodyOfRow(row, body);
    SetText(row, colUT, UtText(ut));
    SetText(row, colHs, HsText(hs));
    tblSights->item(row, colUpper)->setCheckState(lowerLimb ? Qt::Unchecked : Qt::Checked);
    tblSights->item(row, colUse)->setCheckState(use ? Qt::Checked : Qt::Unchecked);
}

void frmSession::TakeLines(const SightLines& lines, DateValue utDate) {
    int row = 0;
    for (size_t i = 0; i < 4; ++i) {
        double t = 0.0, hs = 0.0;
        if (!LineInUse(lines.Body[i]) || !ParseTimeOfDay(lines.Time[i], t) || !ParseSightAltitude(lines.Altitude[i], hs))
            continue;
        while (row < tblSights->rowCount() && (BodyOfRow(row) != kNoBody || !Text(row, colHs).isEmpty())) ++row;
        SetSight(row, lines.Body[i], std::floor(utDate) + t, hs, lines.LowerLimb[i]);
    }
}

void frmSession::ShowSights(const std::vector<SessionSight>& sights) {
    tblSights->setRowCount(0);
    for (size_t i = 0; i < sights.size(); ++i) {
        const SessionSight& s = sights[i];
        SetSight(SightNumber(s, i) - 1, s.Body, s.UT, s.Hs, s.LowerLimb, s.Use);
    }
    while (tblSights->rowCount() < kStartRows) AddSight();
}

bool frmSession::OpenFile(const QString& path) {
    ReduceInput input;
    std::string why;
    if (!ReadSightsFile(path.toStdString(), input, why)) {
        ShowMessage(this, kTitle, QString::fromStdString(why), MsgIcon::Exclamation);
        return false;
    }
    ShowSights(input.Sights);
    return true;
}

bool frmSession::ReadSights(std::vector<SessionSight>& sights, std::vector<int>& rows, QString& why) const {
    sights.clear();
    rows.clear();
    for (int r = 0; r < tblSights->rowCount(); ++r) {
        const BodyCode body = BodyOfRow(r);
        const QString ut = Text(r, colUT), hs = Text(r, colHs);
        if (body == kNoBody && hs.isEmpty()) continue;  // an empty row, whatever its time
        const QString where = QStringLiteral("Sight %1: ").arg(r + 1);
        if (body == kNoBody) {
            why = where + QStringLiteral("no body is chosen (Identify finds it from the altitude and a bearing).");
            return false;
        }
        SessionSight s;
        s.Body = body;
        s.Number = r + 1;
        if (!ParseIsoUT(ut.toStdString(), s.UT)) {
            why = where + QStringLiteral("the UT \"%1\" is not yyyy-mm-dd hh:mm:ss.").arg(ut);
            return false;
        }
        double h = 0.0;
        if (!ParseSightAltitude(hs.toStdString(), h) || !(h > 0.0)) {
            why = where + QStringLiteral("the altitude \"%1\" is not a sextant altitude (dd-mm.m).").arg(hs);
            return false;
        }
        s.Hs = h;
        s.LowerLimb = tblSights->item(r, colUpper)->checkState() != Qt::Checked;
        s.Use = tblSights->item(r, colUse)->checkState() == Qt::Checked;
        sights.push_back(s);
        rows.push_back(r);
    }
    return true;
}

void frmSession::Calculate() {
    std::vector<SessionSight> sights;
    std::vector<int> rows;
    QString why;
    if (!ReadSights(sights, rows, why)) {
        ShowMessage(this, QStringLiteral("Calculation error"), QStringLiteral("Can not calculate position:\r\n") + why,
                    MsgIcon::Exclamation);
        return;
    }
    const NavigationStateRecord& n = NavigationState;
    SessionConditions c;
    c.FixUT = n.LocalDate - n.TZ / 24.0;
    c.DRLat = n.Lat;
    c.DRLon = n.Lon;
    c.Course = n.Course;
    c.Speed = n.Speed;
    c.Temp = n.Temp;
    c.Pressure = n.Pressure;
    c.HeightOfEye = n.hEye;
    c.IndexArcmin = n.i_s;
    const SessionFix f = CalcSession(sights, c);
    if (!f.Refusal.empty()) {
        hasResult_ = false;
        plotLines->SetFix(nullptr);
        lblSummary->setText(QStringLiteral("No fix: ") + QString::fromStdString(f.Refusal));
        ShowMessage(this, QStringLiteral("Calculation error"),
                    QStringLiteral("Can not calculate position:\r\n") + QString::fromStdString(f.Refusal),
                    MsgIcon::Exclamation);
        return;
    }
    result_ = f;
    resultRows_ = rows;
    hasResult_ = true;
    LastSession = f;
    LastFixIsSession = true;
    cmdDetails->setEnabled(true);
    ShowResult();
    emit sessionCalculated();
}

void frmSession::ShowResult() {
    for (int r = 0; r < tblSights->rowCount(); ++r)
        for (int c = colHo; c < kColumns; ++c) SetText(r, c, QString());
    const SessionFix& f = result_;
    for (size_t i = 0; i < f.Sights.size(); ++i) {
        const int r = resultRows_[i];
        const SightReduction& red = f.ReducedDR[i];
        SetText(r, colHo, Angle(red.Hc + red.Intercept / 60.0, 2));
        SetText(r, colHc, Angle(red.Hc, 2));
        SetText(r, colZn, QString::asprintf("%05.1f", red.Az));
        SetText(r, colIntercept, ArcminText(red.Intercept));
        if (f.ShotLine[i] >= 0) {
            SetText(r, colResidual, ArcminText(f.ShotResidual[i]));
            SetText(r, colSeries, QString::number(f.ShotLine[i] + 1));
        }
        SetText(r, colFlag, f.ShotOutlier[i] ? QStringLiteral("does not fit") : QString());
        tblSights->item(r, colFlag)->setForeground(Qt::red);
    }
    lblSummary->setText(SummaryText());
    plotLines->SetFix(&result_);
    PlotSeriesOf(tblSights->currentRow() >= 0 ? tblSights->currentRow() : resultRows_.front());
}

QString frmSession::SummaryText() const {
    return hasResult_ ? SessionSummaryText(result_) : QStringLiteral("No fix calculated.");
}

void frmSession::PlotSeriesOf(int row) {
    if (!hasResult_ || row < 0) return;
    const auto it = std::find(resultRows_.begin(), resultRows_.end(), row);
    if (it == resultRows_.end()) return;
    const int line = result_.ShotLine[static_cast<size_t>(it - resultRows_.begin())];
    if (line < 0) return;
    const SessionLine& l = result_.Solution.Lines[static_cast<size_t>(line)];
    std::vector<double> t, p;
    for (int i : l.Shots) {
        t.push_back((result_.Sights[static_cast<size_t>(i)].UT - result_.Conditions.FixUT) * 1440.0);
        p.push_back(result_.Reduced[static_cast<size_t>(i)].Intercept);
    }
    QString title = QStringLiteral("%1 (series %2): Hs - Hc").arg(SessionBodyName(l.Body)).arg(line + 1);
    if (l.Shots.size() >= 2) title += QStringLiteral(", scatter %1'").arg(l.Scatter, 0, 'f', 2);
    plotSeries->SetSeries(title, t, p, l.Intercept, l.OutlierShot);
}

void frmSession::Identify(int row) {
    lstIdentify->clear();
    candidates_.clear();
    identifyRow_ = row;
    cmdTakeIdentified->setEnabled(false);
    DateValue ut = 0.0;
    double hs = 0.0, bearing = 0.0;
    bool ok = false;
    bearing = QLocale::c().toDouble(Text(row, colBearing).replace(QLatin1Char(','), QLatin1Char('.')), &ok);
    if (!ParseIsoUT(Text(row, colUT).toStdString(), ut) || !ParseSightAltitude(Text(row, colHs).toStdString(), hs) ||
        !ok || !(bearing >= 0.0 && bearing <= 360.0)) {
        ShowMessage(this, kTitle,
                    QStringLiteral("Sight %1: Identify needs the UT, the sextant altitude and a compass bearing "
                                   "(true, degrees) of the body.").arg(row + 1),
                    MsgIcon::Exclamation);
        return;
    }
    const NavigationStateRecord& n = NavigationState;
    const double runNm = n.Speed * ((n.LocalDate - n.TZ / 24.0) - ut) * 24.0;
    const LatLon at = RunAlongCourse(LatLon{n.Lat, n.Lon}, n.Course, -runNm);
    candidates_ = IdentifyFromSextant(ut, at.Lat, at.Lon, hs, n.i_s, n.hEye, bearing);
    for (const IdentifyCandidate& c : candidates_)
        lstIdentify->addItem(QStringLiteral("%1  Hc %2  Zn %3").arg(QString::fromStdString(c.Name))
                                 .arg(Angle(c.Altitude, 2)).arg(c.Azimuth, 5, 'f', 1, QLatin1Char('0')));
    if (candidates_.empty()) {
        lstIdentify->addItem(QStringLiteral("No star or planet within 3 deg of altitude and 15 deg of bearing."));
        return;
    }
    lstIdentify->setCurrentRow(0);
    cmdTakeIdentified->setEnabled(true);
}

void frmSession::TakeIdentified(int k) {
    if (identifyRow_ < 0 || k < 0 || k >= static_cast<int>(candidates_.size())) return;
    SetBodyOfRow(identifyRow_, candidates_[static_cast<size_t>(k)].Code);
}

void frmSession::Mark(int row) { SetText(row, colUT, UtText(MarkUT(ClockNow(), NavigationState.ClockError))); }
