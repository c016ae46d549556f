#include "map/mPlotLines.h"

#include <QPainter>
#include <cmath>

#include "core/mMath.h"

namespace {

// Sizes the design gives in twips, in pixels at 96 dots per inch.
constexpr double kBarHalfPx = 6.0;       // 90 twips
constexpr double kInnerCirclePx = 4.0;   // 60 twips
constexpr double kOuterCirclePx = 8.0;   // 120 twips
const QColor kTrackColour(0, 0, 255);    // &HFF0000
const QColor kLopColour(255, 0, 0);      // 255
const QColor kAzimuthColour(128, 128, 128);
const QColor kEllipseColour(0, 128, 0);
const QColor kRegionColour(128, 0, 128);

}  // namespace

LinesPlot PlotOf(const FixResult& fix) {
    LinesPlot p;
    p.DRLat = fix.DRLat;
    p.DRLon = fix.DRLon;
    p.Course = fix.Working.Course;
    p.Underway = fix.Working.Speed > 0.0f;
    if (fix.FixTime == 0.0) return p;
    p.HasFix = true;
    p.FixLat = fix.FixLat;
    p.FixLon = fix.FixLon;
    for (size_t n = 0; n < 4; ++n)
        if (fix.Weight[n] > 0.0) p.Lines.push_back({fix.Az[n], fix.Intercept[n], false});
    p.Ellipses.push_back({fix.EllipseA, fix.EllipseB, fix.EllipseAlpha, false});
    return p;
}

LinesPlot PlotOf(const SessionFix& fix) {
    LinesPlot p;
    const SessionConditions& c = fix.Conditions;
    p.DRLat = c.DRLat;
    p.DRLon = c.DRLon;
    p.Course = c.Course;
    p.Underway = c.Speed > 0.0;
    if (!fix.Refusal.empty() || fix.Sights.empty()) return p;
    p.HasFix = true;
    p.FixLat = fix.FixLat;
    p.FixLon = fix.FixLon;
    for (size_t i = 0; i < fix.ReducedDR.size() && i < fix.ShotLine.size(); ++i)
        if (fix.ShotLine[i] >= 0) p.Lines.push_back({fix.ReducedDR[i].Az, fix.ReducedDR[i].Intercept, fix.ShotOutlier[i]});
    const SessionSolution& s = fix.Solution;
    p.Ellipses.push_back({s.Geometric.A, s.Geometric.B, s.Geometric.Azimuth, false});
    if (s.HasRegion) p.Ellipses.push_back({s.Region95.A, s.Region95.B, s.Region95.Azimuth, true});
    return p;
}

PlotPicture::PlotPicture(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, palette().color(QPalette::Base));
    setPalette(pal);
}

double PlotPicture::PixelsPerNm() const { return (width() / 6.0) / scale_; }

QPointF PlotPicture::PointOf(double lat, double lon) const {
    const double k = PixelsPerNm();
    return QPointF(width() / 2.0 + Norm180(lon - plot_.DRLon) * 60.0 * k * CosD(plot_.DRLat),
                   height() / 2.0 - (lat - plot_.DRLat) * 60.0 * k);
}

QPointF PlotPicture::FixPoint() const { return PointOf(plot_.FixLat, plot_.FixLon); }

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
    // 3. The track into the dead-reckoning position and a bar across it; a ship
    // stopped has no track.
    const double course = plot_.Course;
    const bool underway = plot_.Underway;
    p.setPen(QPen(kTrackColour, 2));
    if (underway) {
        p.drawLine(QPointF(W / 2 - W * SinD(course), H / 2 + H * CosD(course)), QPointF(W / 2, H / 2));
        p.drawLine(QPointF(W / 2 + kBarHalfPx * CosD(course), H / 2 + kBarHalfPx * SinD(course)),
                   QPointF(W / 2 - kBarHalfPx * CosD(course), H / 2 - kBarHalfPx * SinD(course)));
    }
    if (!plot_.HasFix) return;
    // 4, 5. Each line: its azimuth and its line of position through the foot point.
    const double k = cell / scale_;
    for (const LinesPlot::Line& line : plot_.Lines) {
        const double a = line.Az, pI = line.Intercept;
        if (!std::isfinite(a) || !std::isfinite(pI)) continue;
        p.setPen(QPen(kAzimuthColour, 1));
        p.drawLine(QPointF(W / 2 - W * SinD(a), H / 2 + H * CosD(a)), QPointF(W / 2 + W * SinD(a), H / 2 - H * CosD(a)));
        // The line's foot point: its intercept from the DR along its azimuth.
        const QPointF f(W / 2 + k * pI * SinD(a), H / 2 - k * pI * CosD(a));
        const QPointF along(W * CosD(a), H * SinD(a));
        p.setPen(QPen(kLopColour, line.Flagged ? 2 : 1, line.Flagged ? Qt::DashLine : Qt::SolidLine));
        p.drawLine(f + along, f - along);
    }
    // 6. The fix, its error ellipses and its course line.
    const QPointF fixPoint = FixPoint();
    if (!std::isfinite(fixPoint.x()) || !std::isfinite(fixPoint.y())) return;
    p.setPen(QPen(kTrackColour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(fixPoint, kInnerCirclePx, kInnerCirclePx);
    p.drawEllipse(fixPoint, kOuterCirclePx, kOuterCirclePx);
    if (underway) p.drawLine(fixPoint, QPointF(fixPoint.x() + W * SinD(course), fixPoint.y() - H * CosD(course)));
    for (const LinesPlot::Ellipse& e : plot_.Ellipses) {
        const double a = e.A * k, b = e.B * k;
        if (!(a > 0.0) || !std::isfinite(a) || !std::isfinite(b) || a >= 1e6) continue;
        p.save();
        p.translate(fixPoint);
        p.rotate(e.Alpha - 90.0);  // the x axis turned onto the major axis (north up)
        p.setPen(e.Region ? QPen(kRegionColour, 1.5, Qt::DashDotLine) : QPen(kEllipseColour, 1.5, Qt::DashLine));
        p.drawEllipse(QPointF(0, 0), a, b);
        p.restore();
    }
}

void PlotPicture::SetScale(double scale) {
    if (!(scale > 0.0)) return;
    scale_ = scale;
    update();
}

void PlotLines(PlotPicture* picture, const LinesPlot& plot, double scale) {
    if (!picture || !(scale > 0.0)) return;
    picture->plot_ = plot;
    picture->scale_ = scale;
    picture->hasPlot_ = true;
    picture->update();
}

