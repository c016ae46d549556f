#include "map/mDetailsReport.h"

#include <QLabel>
#include <QMdiSubWindow>
#include <QPainter>
#include <QTreeWidget>
#include <cmath>

#include "map/frmDetails.h"
#include "ui/mConvertion.h"
#include "core/mWorkingData.h"
#include "fix/mLastFix.h"
#include "core/mMath.h"
#include "map/mDetails.h"

namespace {

// Sizes the design gives in twips, in pixels at 96 dots per inch.
constexpr double kBarHalfPx = 6.0;       // 90 twips
constexpr double kInnerCirclePx = 4.0;   // 60 twips
constexpr double kOuterCirclePx = 8.0;   // 120 twips
const QColor kTrackColour(0, 0, 255);    // &HFF0000
const QColor kLopColour(255, 0, 0);      // 255
const QColor kAzimuthColour(128, 128, 128);
const QColor kEllipseColour(0, 128, 0);


}  // namespace

PlotPicture::PlotPicture(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Base));
    setPalette(pal);
}

double PlotPicture::PixelsPerNm() const { return (width() / 6.0) / scale_; }

QPointF PlotPicture::PointOf(double lat, double lon) const {
    const double k = PixelsPerNm();
    return QPointF(width() / 2.0 + Norm180(lon - fix_.DRLon) * 60.0 * k * CosD(NavigationState.Lat),
                   height() / 2.0 - (lat - fix_.DRLat) * 60.0 * k);
}

QPointF PlotPicture::FixPoint() const { return PointOf(fix_.FixLat, fix_.FixLon); }

void PlotPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const double W = width(), H = height();
    p.fillRect(rect(), palette().color(QPalette::Base));
    // 1, 2. The grid: six cells across.
    const double cell = std::floor(W) / 6.0;
    const int c = static_cast<int>(std::lround(cell));
    p.setPen(QPen(palette().color(QPalette::Text), 1));
    if (c > 0) {
        for (int x = c; x <= W; x += c) p.drawLine(x, 0, x, static_cast<int>(H));
        for (int y = c; y <= H; y += c) p.drawLine(0, y, static_cast<int>(W), y);
    }
    if (!hasPlot_) return;
    p.setRenderHint(QPainter::Antialiasing, true);
    // 3. The track into the dead-reckoning position and a bar across it.
    const double course = NavigationState.Course;
    p.setPen(QPen(kTrackColour, 2));
    p.drawLine(QPointF(W / 2 - W * SinD(course), H / 2 + H * CosD(course)), QPointF(W / 2, H / 2));
    p.drawLine(QPointF(W / 2 + kBarHalfPx * CosD(course), H / 2 + kBarHalfPx * SinD(course)),
               QPointF(W / 2 - kBarHalfPx * CosD(course), H / 2 - kBarHalfPx * SinD(course)));
    if (fix_.FixTime == 0.0) return;
    // 4, 5. Each line: its azimuth and its line of position through the foot point.
    const double k = cell / scale_;
    for (int i = 0; i < 4; ++i) {
        const size_t n = static_cast<size_t>(i);
        if (!(fix_.Weight[n] > 0.0)) continue;
        const double a = fix_.Az[n], pI = fix_.Intercept[n];
        if (!std::isfinite(a) || !std::isfinite(pI)) continue;
        p.setPen(QPen(kAzimuthColour, 1));
        p.drawLine(QPointF(W / 2 - W * SinD(a), H / 2 + H * CosD(a)), QPointF(W / 2 + W * SinD(a), H / 2 - H * CosD(a)));
        // The lines of the last pass run about its assumed position (the DR for one pass).
        const QPointF ap = fix_.Passes > 0 ? PointOf(fix_.APLat, fix_.APLon) : QPointF(W / 2, H / 2);
        const QPointF f(ap.x() + k * pI * SinD(a), ap.y() - k * pI * CosD(a));
        const QPointF along(W * CosD(a), H * SinD(a));
        p.setPen(QPen(kLopColour, 1));
        p.drawLine(f + along, f - along);
    }
    // 6. The fix, its error ellipse and its course line.
    const QPointF fixPoint = FixPoint();
    if (!std::isfinite(fixPoint.x()) || !std::isfinite(fixPoint.y())) return;
    p.setPen(QPen(kTrackColour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(fixPoint, kInnerCirclePx, kInnerCirclePx);
    p.drawEllipse(fixPoint, kOuterCirclePx, kOuterCirclePx);
    p.drawLine(fixPoint, QPointF(fixPoint.x() + W * SinD(course), fixPoint.y() - H * CosD(course)));
    const double a = fix_.EllipseA * k, b = fix_.EllipseB * k;
    if (a > 0.0 && std::isfinite(a) && std::isfinite(b) && a < 1e6) {
        p.save();
        p.translate(fixPoint);
        p.rotate(fix_.EllipseAlpha - 90.0);  // the x axis turned onto the major axis (north up)
        p.setPen(QPen(kEllipseColour, 1.5, Qt::DashLine));
        p.drawEllipse(QPointF(0, 0), a, b);
        p.restore();
    }
}

void PlotLines(PlotPicture* picture, const FixResult& fix, double scale) {
    if (!picture || !(scale > 0.0)) return;
    picture->fix_ = fix;
    picture->scale_ = scale;
    picture->hasPlot_ = true;
    picture->update();
}

QString DetailsHeaderText(const FixResult& fix) {
    if (fix.FixTime == 0.0) return QStringLiteral("Last fix not available");
    const NavigationStateRecord& n = NavigationState;
    return QStringLiteral("Date: ") + FormatLongDate(fix.FixTime) + QStringLiteral("   Local Time: ") +
           FormatShortTime(fix.FixTime) + QStringLiteral("   Time zone: ") + NumberText(n.TZ) +
           QStringLiteral("\nPosition: ") + FormatLatLon(fix.DRLat, true) + QStringLiteral(" ") +
           FormatLatLon(fix.DRLon, false) + QStringLiteral(", Course = ") + NumberText(n.Course) +
           QStringLiteral(", Speed = ") + NumberText(n.Speed) + QStringLiteral(" kt\nTemp = ") + NumberText(n.Temp) +
           QStringLiteral(" C, Pres = ") + NumberText(n.Pressure) + QStringLiteral(" mB, H = ") + NumberText(n.hEye) +
           QStringLiteral(" m, i+s = ") + NumberText(n.i_s) + QStringLiteral(" min");
}

QString InterceptWarningText(const FixResult& fix) {
    const std::vector<int> large = LargeInterceptLines(fix);
    if (large.empty()) return QString();
    QStringList parts;
    for (int i : large)
        parts << QStringLiteral("Line No. %1 (").arg(i + 1) +
                     FormatNumber(InterceptFromDR(fix, i), QStringLiteral("+00.0;-00.0")) +
                     QStringLiteral("')");
    return QStringLiteral("Warning: intercept over %1' in ").arg(kLargeInterceptArcmin) +
           parts.join(QStringLiteral(", ")) + QStringLiteral(": check the sight and the DR position.");
}

QString DetailsFixText(const FixResult& fix, const std::string& failure) {
    QString failed;
    if (!failure.empty()) {
        QString why = QString::fromStdString(failure);
        why.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        failed = QStringLiteral("The last calculation failed: ") + why + QStringLiteral("\n");
    }
    if (fix.FixTime == 0.0) return failed + QStringLiteral("Last fix not available");
    const CourseDistance cd = FixCourseDistance(fix);
    const QString warning = InterceptWarningText(fix);
    return failed + (failed.isEmpty() ? QStringLiteral("Last fix on ") : QStringLiteral("Last good fix on ")) +
           FormatLongDate(fix.FixTime) + QStringLiteral(" at ") +
           FormatShortTime(fix.FixTime) + QStringLiteral(" local time.\nPosition: ") +
           FormatLatLon(fix.FixLat, true) + QStringLiteral(" ") + FormatLatLon(fix.FixLon, false) +
           QStringLiteral("   C = ") + FormatNumber(cd.C, QStringLiteral("000.0")) + QStringLiteral("\u00B0 - ") +
           FormatNumber(cd.Dist, QStringLiteral("00.0")) + QStringLiteral(" nm\nEllipse of error: a = ") +
           FormatNumber(fix.EllipseA, QStringLiteral("00.00")) + QStringLiteral("', b = ") +
           FormatNumber(fix.EllipseB, QStringLiteral("00.00")) + QStringLiteral("', Alpha = ") +
           FormatNumber(fix.EllipseAlpha, QStringLiteral("000.0")) + QStringLiteral("\u00B0") + PassesText(fix) +
           (warning.isEmpty() ? QString() : QStringLiteral("\n") + warning);
}

QString PassesText(const FixResult& fix) {
    if (fix.Passes <= 1) return QString();
    QString text = QStringLiteral("\nIterated in %1 passes, shifts:").arg(fix.Passes);
    for (int k = 0; k < fix.Passes && k < kMaxFixPasses; ++k)
        text += QStringLiteral(" ") + FormatNumber(fix.PassShift[static_cast<size_t>(k)], QStringLiteral("0.000")) +
                QStringLiteral("'");
    return text;
}

void DetailsReport(const FixResult& fix, const SightLines& lines, frmDetails* window) {
    if (!window) return;
    window->Label1->setText(DetailsHeaderText(fix));
    window->Label2->setText(DetailsFixText(fix, LastFixFailure));
    if (fix.FixTime == 0.0) return;

    QTreeWidget* lv = window->ListView1;
    // The columns: "Data:" and one per line in use.
    QStringList headers{QStringLiteral("Data:")};
    std::vector<DetailsLine> used;
    for (int i = 0; i < 4; ++i) {
        DetailsLine d = ComputeDetailsLine(fix, lines, i);
        if (!d.InUse) continue;
        headers << QString::fromStdString(d.Name);
        used.push_back(d);
    }
    for (int r = 0; r < lv->topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = lv->topLevelItem(r);
        for (int c = item->columnCount() - 1; c >= 1; --c) item->setText(c, QString());
    }
    lv->setColumnCount(static_cast<int>(headers.size()));
    lv->setHeaderLabels(headers);
    for (int c = 1; c < headers.size(); ++c) lv->headerItem()->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);

    auto set = [&](const char* key, int column, const QString& text) {
        QTreeWidgetItem* item = window->Row(QString::fromLatin1(key));
        if (!item) return;
        item->setText(column, text);
        item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    };
    for (size_t n = 0; n < used.size(); ++n) {
        const DetailsLine& d = used[n];
        const int c = static_cast<int>(n) + 1;
        set("Time", c, FormatTimeHMS(d.Time));
        set("Date", c, FormatShortDate(d.Time));
        if (d.IsStar) {
            set("GHA ARIES", c, FormatAngleDegMin(d.GhaAries, 3, true, false));
            set("TAU", c, FormatAngleDegMin(d.Tau, 3, true, false));
        }
        set("GHA", c, FormatAngleDegMin(d.Gha, 3, true, false));
        set("LON", c, FormatLatLon(d.Lon, false));
        set("LHA", c, FormatAngleDegMin(d.Lha, 3, false, false) + (d.Lha < 0.0 ? QStringLiteral("E") : QStringLiteral("W")));
        set("DEC", c, FormatAngleDegMin(d.Dec, 2, true, true));
        set("OC", c, FormatAngleDegMin(d.Hs, 2, true, false));
        set("i_s", c, NumberText(static_cast<float>(d.IndexCorr)));
        set("Dip", c, FormatNumber(d.Dip * 60.0, QStringLiteral("-00.0")));
        set("H", c, FormatAngleDegMin(d.H, 2, true, false));
        set("Refr", c, FormatNumber(d.Refr * 60.0, QStringLiteral("-00.0")));
        set("px", c, FormatNumber(d.Parallax * 60.0, QStringLiteral("+00.0")));
        set("TP", c, FormatNumber(d.TP * 60.0, QStringLiteral("00.0")));
        set("SemiD", c, FormatNumber(d.SemiD * 60.0, QStringLiteral("00.0")));
        set("Ho", c, FormatAngleDegMin(d.Ho, 2, true, false));
        set("Hc", c, FormatAngleDegMin(d.Hc, 2, true, false));
        set("dN", c, FormatNumber(d.Intercept, QStringLiteral("00.0")));
        set("Az", c, WithDegreeSigns(FormatAngleDegMin(d.Az, 3, true, false)));
    }

    // Every column as wide as its widest text (the star names are long), and the
    // window wide enough for all of them.
    for (int c = 1; c < headers.size(); ++c)
        lv->headerItem()->setToolTip(c, QStringLiteral("%1: each step of the reduction of this sight, down the rows").arg(headers[c]));
    for (int c = 0; c < headers.size(); ++c) lv->resizeColumnToContents(c);
    window->FitTable();

    // At the scale the window states (its zoom survives reports).
    PlotLines(window->Picture1, fix, frmDetails::kScales[static_cast<size_t>(window->ZoomIndex())]);
    window->show();
    if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        sub->show();
        sub->raise();
    }
    window->raise();
}
