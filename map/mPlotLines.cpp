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

double WrapLon(double d) {
    if (d > 180.0) return d - 360.0;
    if (d < -180.0) return d + 360.0;
    return d;
}

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
    return QPointF(width() / 2.0 + WrapLon(lon - fix_.DRLon) * 60.0 * k * CosD(fix_.DRLat),
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
    // 3. The track into the dead-reckoning position and a bar across it; a ship
    // stopped has no track.
    const double course = fix_.Working.Course;
    const bool underway = fix_.Working.Speed > 0.0f;
    p.setPen(QPen(kTrackColour, 2));
    if (underway) {
        p.drawLine(QPointF(W / 2 - W * SinD(course), H / 2 + H * CosD(course)), QPointF(W / 2, H / 2));
        p.drawLine(QPointF(W / 2 + kBarHalfPx * CosD(course), H / 2 + kBarHalfPx * SinD(course)),
                   QPointF(W / 2 - kBarHalfPx * CosD(course), H / 2 - kBarHalfPx * SinD(course)));
    }
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
        // The line's foot point: its intercept from the DR along its azimuth.
        const QPointF f(W / 2 + k * pI * SinD(a), H / 2 - k * pI * CosD(a));
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
    if (underway) p.drawLine(fixPoint, QPointF(fixPoint.x() + W * SinD(course), fixPoint.y() - H * CosD(course)));
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

void PlotPicture::SetScale(double scale) {
    if (!(scale > 0.0)) return;
    scale_ = scale;
    update();
}

void PlotLines(PlotPicture* picture, const FixResult& fix, double scale) {
    if (!picture || !(scale > 0.0)) return;
    picture->fix_ = fix;
    picture->scale_ = scale;
    picture->hasPlot_ = true;
    picture->update();
}

