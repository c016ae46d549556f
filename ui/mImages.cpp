#include "ui/mImages.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <cmath>
#include <QPainterPath>
#include <QtMath>

namespace {

const QColor kNavy(20, 40, 90);
const QColor kSea(30, 90, 150);
const QColor kSun(240, 170, 20);
const QColor kRed(190, 30, 30);
const QColor kPaper(250, 248, 235);

using Painter = void (*)(QPainter&);

void DrawStar(QPainter& p, QPointF c, double r, const QColor& color) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double a = qDegreesToRadians(-90.0 + 36.0 * i);
        const double rr = (i % 2 == 0) ? r : r * 0.42;
        const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(path);
}

// A notebook of working data with a pencil.
void DrawGeneral(QPainter& p) {
    p.setPen(QPen(kNavy, 1.5));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(6, 3, 18, 26), 2, 2);
    p.setPen(QPen(QColor(120, 120, 140), 1.2));
    for (int i = 0; i < 5; ++i) p.drawLine(QPointF(9, 9 + 4 * i), QPointF(21, 9 + 4 * i));
    p.setPen(QPen(kRed, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(27, 10), QPointF(17, 26));
    p.setPen(QPen(Qt::black, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(17.5, 25.2), QPointF(16.2, 28));
}

// The Sun half over the horizon with an arrow up and an arrow down.
void DrawRiseSet(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kSun);
    p.drawPie(QRectF(8, 12, 16, 16), 0, 180 * 16);
    p.setPen(QPen(kSun, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int a = 15; a <= 165; a += 30) {
        const double r = qDegreesToRadians(double(a));
        p.drawLine(QPointF(16 + 10 * std::cos(r), 20 - 10 * std::sin(r)),
                   QPointF(16 + 13 * std::cos(r), 20 - 13 * std::sin(r)));
    }
    p.setPen(QPen(kSea, 2.5));
    p.drawLine(QPointF(1, 21), QPointF(31, 21));
    p.setPen(QPen(kNavy, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4, 30), QPointF(4, 24));
    p.drawLine(QPointF(2, 26), QPointF(4, 24));
    p.drawLine(QPointF(6, 26), QPointF(4, 24));
    p.drawLine(QPointF(28, 24), QPointF(28, 30));
    p.drawLine(QPointF(26, 28), QPointF(28, 30));
    p.drawLine(QPointF(30, 28), QPointF(28, 30));
}

// An almanac page: a table with a small Sun at its head.
void DrawEphemerides(QPainter& p) {
    p.setPen(QPen(kNavy, 1.4));
    p.setBrush(kPaper);
    p.drawRect(QRectF(4, 7, 24, 22));
    p.setPen(QPen(QColor(120, 120, 140), 1));
    for (int i = 1; i < 4; ++i) p.drawLine(QPointF(4, 7 + 5.5 * i), QPointF(28, 7 + 5.5 * i));
    p.drawLine(QPointF(12, 7), QPointF(12, 29));
    p.drawLine(QPointF(20, 7), QPointF(20, 29));
    p.setPen(Qt::NoPen);
    p.setBrush(kSun);
    p.drawEllipse(QPointF(24, 6), 4.5, 4.5);
}

// A calendar page with the Moon's crescent.
void DrawAnnual(QPainter& p) {
    p.setPen(QPen(kNavy, 1.4));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(4, 6, 24, 23), 2, 2);
    p.setBrush(kRed);
    p.drawRect(QRectF(4, 6, 24, 6));
    p.setPen(QPen(kNavy, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(10, 3), QPointF(10, 8));
    p.drawLine(QPointF(22, 3), QPointF(22, 8));
    QPainterPath moon;
    moon.addEllipse(QPointF(16, 21), 6, 6);
    QPainterPath bite;
    bite.addEllipse(QPointF(19, 19.5), 5.2, 5.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 160, 30));
    p.drawPath(moon.subtracted(bite));
}

// Three lines of position crossing in a small triangle, the fix in it.
void DrawPosition(QPainter& p) {
    p.setPen(QPen(kNavy, 1.8));
    p.drawLine(QPointF(2, 22), QPointF(30, 14));
    p.drawLine(QPointF(8, 3), QPointF(22, 30));
    p.drawLine(QPointF(26, 3), QPointF(10, 30));
    p.setPen(QPen(kRed, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16.2, 17.6), 4.5, 3);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(16.2, 17.6), 1.4, 1.4);
}

// Many lines of position round one point, one of them astray (red), the region drawn round the fix.
void DrawSession(QPainter& p) {
    p.setPen(QPen(kNavy, 1.4));
    for (int k = 0; k < 5; ++k) {
        const double a = k * 3.14159265 / 5.0, c = 14.0 * std::cos(a), s = 14.0 * std::sin(a);
        p.drawLine(QPointF(16 - c, 16 - s), QPointF(16 + c, 16 + s));
    }
    p.setPen(QPen(kRed, 1.6));
    p.drawLine(QPointF(3, 27), QPointF(29, 23));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(16, 16), 5, 3.5);
}

// A magnifier over a column of figures.
void DrawDetails(QPainter& p) {
    p.setPen(QPen(QColor(120, 120, 140), 1.3));
    for (int i = 0; i < 6; ++i) p.drawLine(QPointF(3, 5 + 4 * i), QPointF(18, 5 + 4 * i));
    p.setPen(QPen(kNavy, 2.2));
    p.setBrush(QColor(200, 225, 255, 160));
    p.drawEllipse(QPointF(17, 15), 8, 8);
    p.setPen(QPen(kNavy, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(23, 21), QPointF(29, 28));
}

// A compass card with its north point.
void DrawCompass(QPainter& p) {
    p.setPen(QPen(kNavy, 1.6));
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
    QPolygonF north, south, east, west;
    north << QPointF(16, 4) << QPointF(19, 16) << QPointF(13, 16);
    south << QPointF(16, 28) << QPointF(19, 16) << QPointF(13, 16);
    east << QPointF(28, 16) << QPointF(16, 13.5) << QPointF(16, 18.5);
    west << QPointF(4, 16) << QPointF(16, 13.5) << QPointF(16, 18.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(140, 150, 170));
    p.drawPolygon(east);
    p.drawPolygon(west);
    p.setBrush(kNavy);
    p.drawPolygon(south);
    p.setBrush(kRed);
    p.drawPolygon(north);
}

// A log book: a bound page of ruled lines with a fix mark.
void DrawSightLog(QPainter& p) {
    p.setPen(QPen(kNavy, 1.6));
    p.setBrush(kPaper);
    p.drawRoundedRect(QRectF(6, 3, 21, 26), 2, 2);
    p.setBrush(kNavy);
    p.drawRect(QRectF(6, 3, 4, 26));
    p.setPen(QPen(QColor(120, 120, 140), 1.2));
    for (int i = 0; i < 5; ++i) p.drawLine(QPointF(13, 8 + 4.5 * i), QPointF(24, 8 + 4.5 * i));
    p.setPen(QPen(kRed, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(21, 24), 3, 2.2);
}

// A question mark on a lifebuoy.
void DrawHelp(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(16, 16), 14, 14);
    p.setBrush(Qt::white);
    for (int i = 0; i < 4; ++i) p.drawPie(QRectF(2, 2, 28, 28), (i * 90 + 20) * 16, 50 * 16);
    p.setBrush(kPaper);
    p.drawEllipse(QPointF(16, 16), 8, 8);
    QFont f;
    f.setPixelSize(14);
    f.setBold(true);
    p.setFont(f);
    p.setPen(kNavy);
    p.drawText(QRectF(8, 8, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
}

// Three stars over the horizon with the lines joining them: the plan of a twilight round.
void DrawSightPlan(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(60, 70, 130));
    p.drawRect(QRectF(1, 2, 30, 22));
    p.setPen(QPen(kSea, 2.5));
    p.drawLine(QPointF(1, 25), QPointF(31, 25));
    p.setPen(QPen(QColor(200, 200, 230), 1, Qt::DashLine));
    const QPointF a(7, 9), b(25, 8), c(16, 19);
    p.drawPolyline(QVector<QPointF>{a, b, c, a});
    for (const QPointF& s : {a, b, c}) DrawStar(p, s, 4.5, kSun);
}

// The Sun high on the meridian over a sextant's arc.
void DrawNoon(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kSun);
    p.drawEllipse(QPointF(16, 8), 6, 6);
    p.setPen(QPen(kNavy, 1.2, Qt::DashLine));
    p.drawLine(QPointF(16, 1), QPointF(16, 28));
    p.setPen(QPen(kNavy, 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 14, 24, 24), 30 * 16, 120 * 16);
    p.setPen(QPen(kSea, 2.5));
    p.drawLine(QPointF(1, 28), QPointF(31, 28));
}

// The pole star above the Little Dipper's handle.
void DrawPolaris(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 35, 80));
    p.drawEllipse(QPointF(16, 16), 15, 15);
    p.setPen(QPen(QColor(200, 200, 230), 1));
    const QPointF pts[] = {{16, 7}, {19, 13}, {18, 19}, {22, 23}, {26, 21}, {25, 26}, {21, 27}};
    for (size_t i = 0; i + 1 < std::size(pts); ++i) p.drawLine(pts[i], pts[i + 1]);
    DrawStar(p, pts[0], 5.5, kSun);
    for (size_t i = 1; i < std::size(pts); ++i) DrawStar(p, pts[i], 2.0, Qt::white);
}

// The Moon's crescent and a star with the arc of the distance between them.
void DrawLunar(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 35, 80));
    p.drawRect(QRectF(1, 1, 30, 30));
    QPainterPath moon;
    moon.addEllipse(QPointF(9, 21), 7, 7);
    QPainterPath bite;
    bite.addEllipse(QPointF(5, 18), 6, 6);
    p.setBrush(QColor(235, 235, 200));
    p.drawPath(moon.subtracted(bite));
    p.setPen(QPen(kSun, 1.2, Qt::DashLine));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(8, 6, 30, 30), 100 * 16, 70 * 16);
    DrawStar(p, QPointF(24, 7), 5.0, kSun);
}

Painter PainterFor(const QString& key) {
    if (key == QLatin1String("General")) return &DrawGeneral;
    if (key == QLatin1String("RiseSet")) return &DrawRiseSet;
    if (key == QLatin1String("Ephemerides")) return &DrawEphemerides;
    if (key == QLatin1String("Annual")) return &DrawAnnual;
    if (key == QLatin1String("Position")) return &DrawPosition;
    if (key == QLatin1String("Details")) return &DrawDetails;
    if (key == QLatin1String("Session")) return &DrawSession;
    if (key == QLatin1String("Compass")) return &DrawCompass;
    if (key == QLatin1String("SightLog")) return &DrawSightLog;
    if (key == QLatin1String("Help")) return &DrawHelp;
    if (key == QLatin1String("SightPlan")) return &DrawSightPlan;
    if (key == QLatin1String("Noon")) return &DrawNoon;
    if (key == QLatin1String("Polaris")) return &DrawPolaris;
    if (key == QLatin1String("Lunar")) return &DrawLunar;
    return nullptr;
}

QPixmap Render(Painter draw, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return pm;
}

}  // namespace

QIcon ButtonImage(const QString& key) {
    const Painter draw = PainterFor(key);
    if (!draw) return {};
    QIcon icon;
    // Up to twice the largest size shown, for screens scaled by 2.
    for (int size : {16, 24, 32, 48, 64, 96, 128}) icon.addPixmap(Render(draw, size));
    return icon;
}

QPixmap SplashPicture(int width, int height) {
    // Drawn at the screen's pixel density, so that it stays sharp on a scaled screen.
    const qreal dpr = qApp ? qApp->devicePixelRatio() : 1.0;
    QPixmap pm(qRound(width * dpr), qRound(height * dpr));
    pm.setDevicePixelRatio(dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const double horizon = height * 0.72;
    QLinearGradient sky(0, 0, 0, horizon);
    sky.setColorAt(0.0, QColor(5, 10, 40));
    sky.setColorAt(1.0, QColor(40, 70, 130));
    p.fillRect(QRectF(0, 0, width, horizon), sky);
    QLinearGradient sea(0, horizon, 0, height);
    sea.setColorAt(0.0, QColor(20, 50, 90));
    sea.setColorAt(1.0, QColor(5, 15, 35));
    p.fillRect(QRectF(0, horizon, width, height - horizon), sea);
    // Stars in fixed places (no randomness: the picture is the same every run).
    static const double kStars[][3] = {{0.08, 0.12, 2.0}, {0.20, 0.30, 1.2}, {0.31, 0.08, 1.6}, {0.44, 0.22, 1.0},
                                       {0.57, 0.10, 2.4}, {0.66, 0.35, 1.3}, {0.78, 0.16, 1.8}, {0.90, 0.28, 1.1},
                                       {0.14, 0.50, 1.0}, {0.37, 0.45, 1.4}, {0.52, 0.55, 0.9}, {0.84, 0.52, 1.5},
                                       {0.72, 0.06, 1.0}, {0.26, 0.60, 1.1}, {0.95, 0.08, 1.3}};
    for (const auto& s : kStars) DrawStar(p, QPointF(s[0] * width, s[1] * height), s[2] * 2.2, QColor(255, 250, 220));
    // The line of sight to the brightest star, and the sextant's arc below it.
    const QPointF eye(width * 0.22, horizon);
    const QPointF star(width * 0.57, height * 0.10);
    p.setPen(QPen(QColor(255, 220, 120, 150), 1.2, Qt::DashLine));
    p.drawLine(eye, star);
    p.setPen(QPen(QColor(255, 220, 120), 2));
    const double r = width * 0.18;
    const double altitude = qRadiansToDegrees(std::atan2(horizon - star.y(), star.x() - eye.x()));
    p.drawArc(QRectF(eye.x() - r, eye.y() - r, 2 * r, 2 * r), 0, int(altitude * 16));
    p.setPen(QPen(QColor(180, 200, 230), 1.5));
    p.drawLine(QPointF(0, horizon), QPointF(width, horizon));
    return pm;
}

QIcon ProgramIcon() { return ButtonImage(QStringLiteral("Position")); }
