#include "almanac/mStandingTablesPrint.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QStringList>
#include <cmath>
#include <functional>

#include "almanac/mStandingTables.h"

namespace {

constexpr double kWidth = 550.0;      // design points across the page
constexpr double kMinHeight = 700.0;  // a shorter page scales the layout down
constexpr double kTop = 30.0;         // the first line under the title
const char* const kMonths[12] = {"Jan.", "Feb.", "Mar.", "Apr.", "May", "June", "July", "Aug.", "Sept.", "Oct.", "Nov.", "Dec."};

QString Q(const std::string& s) { return QString::fromStdString(s); }

class Sheet {
public:
    Sheet(QPainter& p, QPagedPaintDevice* device, const QString& family) : p_(p), family_(family) {
        const QRectF area(QPointF(0, 0), device->pageLayout().paintRectPixels(device->logicalDpiY()).size());
        k_ = std::min(area.width() / kWidth, area.height() / kMinHeight);
        height_ = area.height() / k_;
        x0_ = (area.width() - kWidth * k_) / 2.0;
        pt_ = k_ * 72.0 / device->logicalDpiY();
    }
    double Height() const { return height_; }
    void Text(double x, double y, double w, double h, const QString& s, Qt::Alignment a = Qt::AlignRight,
              double size = 5.6, bool bold = false) {
        QFont f(family_);
        f.setPointSizeF(size * pt_);
        f.setBold(bold);
        f.setKerning(false);
        p_.setFont(f);
        p_.drawText(QRectF(x0_ + x * k_, y * k_, w * k_, h * k_), a | Qt::AlignVCenter, s);
    }
    void Line(double x1, double y1, double x2, double y2) {
        p_.drawLine(QPointF(x0_ + x1 * k_, y1 * k_), QPointF(x0_ + x2 * k_, y2 * k_));
    }
    void Title(const QString& s, const QString& sub = QString()) {
        Text(0, 0, kWidth, 14, s, Qt::AlignHCenter, 9.0, true);
        if (!sub.isEmpty()) Text(0, 13, kWidth, 10, sub, Qt::AlignHCenter, 6.0);
    }

private:
    QPainter& p_;
    QString family_;
    double k_ = 1, height_ = kMinHeight, x0_ = 0, pt_ = 1;
};

QString DegMinWhole(double deg) {
    const long long m = std::llround(deg * 60.0);
    return QStringLiteral("%1 %2").arg(m / 60).arg(m % 60, 2, 10, QLatin1Char('0'));
}
QString Signed(double v) { return Q(TableSigned(v)); }

// A critical table in half lines: the bound, then the values between it and the next.
// Columns: the altitude (or height) and each value column; the table runs down
// `blocks` blocks side by side, each blockWidth wide.
void DrawCritical(Sheet& s, double x, double top, double pitch, int blocks, double blockWidth,
                  const std::vector<double>& bounds, const std::vector<std::vector<double>>& values,
                  const std::function<QString(double)>& boundText, const QStringList& heads) {
    const double w = (blockWidth - 4) / static_cast<double>(values.size() + 1);
    const int total = static_cast<int>(2 * bounds.size() - 1);
    const int perBlock = (total + blocks - 1) / blocks;
    for (int b = 0; b < blocks; ++b)
        for (int i = 0; i < heads.size(); ++i)
            s.Text(x + b * blockWidth + i * w, top, w, pitch, heads[i], Qt::AlignRight, 5.0, true);
    auto at = [&](int line, double& bx, double& by) {
        bx = x + (line / perBlock) * blockWidth;
        by = top + (line % perBlock + 1.3) * pitch;
    };
    for (size_t i = 0; i < bounds.size(); ++i) {
        double bx, by;
        at(static_cast<int>(2 * i), bx, by);
        s.Text(bx, by, w, pitch, boundText(bounds[i]), Qt::AlignRight);
        if (i + 1 == bounds.size()) break;
        at(static_cast<int>(2 * i + 1), bx, by);
        for (size_t c = 0; c < values.size(); ++c) s.Text(bx + (c + 1) * w, by, w, pitch, Signed(values[c][i]));
    }
}

// The pitch that puts a critical table of n bounds into blocks blocks below top.
double CriticalPitch(const Sheet& s, double top, size_t bounds, int blocks) {
    const int perBlock = static_cast<int>((2 * bounds - 1 + blocks - 1) / blocks);
    return std::min(8.0, (s.Height() - top - 8) / (perBlock + 1.5));
}

void PageHighAltitudes(Sheet& s, const AltitudeTables& t) {
    s.Title(QStringLiteral("ALTITUDE CORRECTION TABLES 10°–90° — SUN, STARS, PLANETS  %1").arg(t.year),
            QStringLiteral("Ha = Hs + index correction − dip.  Ho = Ha + correction.  Air 10 °C, 1010 mb.  On a bound take the value above."));
    const double top = kTop + 10;
    size_t most = t.stars.bounds.size();
    for (const SunTable* sun : {&t.sunWinter, &t.sunSummer}) most = std::max(most, sun->high.bounds.size());
    const double pitch = CriticalPitch(s, top, most, 2);
    double x = 0;
    for (const SunTable* sun : {&t.sunWinter, &t.sunSummer}) {
        s.Text(x, kTop, 180, 9, QStringLiteral("SUN %1   (SD %2′)").arg(Q(sun->months), QString::number(sun->sd, 'f', 1)),
               Qt::AlignHCenter, 6.0, true);
        DrawCritical(s, x, top, pitch, 2, 90, sun->high.bounds, sun->high.values, DegMinWhole,
                     {QStringLiteral("App. Alt."), QStringLiteral("Lower"), QStringLiteral("Upper")});
        s.Line(x + 184, kTop, x + 184, s.Height() - 6);
        x += 188;
    }
    s.Text(x, kTop, kWidth - x, 9, QStringLiteral("STARS AND PLANETS"), Qt::AlignHCenter, 6.0, true);
    DrawCritical(s, x, top, pitch, 2, (kWidth - x) / 2, t.stars.bounds, t.stars.values, DegMinWhole,
                 {QStringLiteral("App. Alt."), QStringLiteral("Corr.")});
}

QString PlanetRange(const PlanetAdditional& r) {
    QString text = QStringLiteral("%1 %2 – %3 %4   ").arg(QLatin1String(kMonths[r.fromMonth - 1])).arg(r.fromDay)
                       .arg(QLatin1String(kMonths[r.toMonth - 1])).arg(r.toDay);
    QStringList parts;
    for (size_t i = 0; i < r.fromAlt.size(); ++i) parts << QStringLiteral("%1° %2").arg(r.fromAlt[i]).arg(Signed(r.corr[i]));
    return text + parts.join(QStringLiteral("   "));
}

void PageLowAltitudes(Sheet& s, const AltitudeTables& t) {
    s.Title(QStringLiteral("ALTITUDE CORRECTION TABLES 0°–10° — SUN, STARS, PLANETS — DIP  %1").arg(t.year),
            QStringLiteral("Interpolate between the rows for Ha.  Venus and Mars: add the additional correction for the date.  Dip by height of eye."));
    const double pitch = std::min(9.0, (s.Height() - kTop - 20) / (t.lowAlt.size() + 2));
    const QStringList heads{QStringLiteral("App. Alt."), QStringLiteral("Lower"), QStringLiteral("Upper"),
                            QStringLiteral("Lower"), QStringLiteral("Upper"), QStringLiteral("Stars, Pl.")};
    s.Text(36, kTop, 72, pitch, QStringLiteral("SUN ") + Q(t.sunWinter.months), Qt::AlignHCenter, 5.4, true);
    s.Text(108, kTop, 72, pitch, QStringLiteral("SUN ") + Q(t.sunSummer.months), Qt::AlignHCenter, 5.4, true);
    for (int i = 0; i < heads.size(); ++i) s.Text(i * 36, kTop + pitch, 34, pitch, heads[i], Qt::AlignRight, 5.2, true);
    for (size_t r = 0; r < t.lowAlt.size(); ++r) {
        const double y = kTop + (r + 2) * pitch;
        const QStringList cells{DegMinWhole(t.lowAlt[r]), Signed(t.sunWinter.lowLower[r]), Signed(t.sunWinter.lowUpper[r]),
                                Signed(t.sunSummer.lowLower[r]), Signed(t.sunSummer.lowUpper[r]), Signed(t.lowStars[r])};
        for (int i = 0; i < cells.size(); ++i) s.Text(i * 36, y, 34, pitch, cells[i]);
    }
    // The dip: a critical table to 30 m in three blocks, then rows to interpolate.
    const double dx = 226, dw = 70;
    s.Line(dx - 4, kTop, dx - 4, s.Height() - 6);
    s.Text(dx, kTop, 4 * dw, 9, QStringLiteral("DIP  (height of eye in metres; subtract)"), Qt::AlignHCenter, 6.0, true);
    std::vector<std::vector<double>> dip{{}};
    for (double d : t.dip.dip) dip[0].push_back(-d);
    const double dipTop = kTop + 10, dipPitch = 6.0;
    DrawCritical(s, dx, dipTop, dipPitch, 3, dw, t.dip.heights, dip,
                 [](double h) { return QString::number(h, 'f', h < 5.0 ? 2 : 1); },
                 {QStringLiteral("Ht. of Eye"), QStringLiteral("Dip")});
    s.Text(dx + 3 * dw, dipTop, dw / 2, dipPitch, QStringLiteral("Ht. of Eye"), Qt::AlignRight, 5.0, true);
    s.Text(dx + 3.5 * dw, dipTop, dw / 2 - 4, dipPitch, QStringLiteral("Dip"), Qt::AlignRight, 5.0, true);
    for (size_t i = 0; i < t.dip.highHeights.size(); ++i) {
        const double yy = dipTop + (i + 1.3) * 2 * dipPitch;
        s.Text(dx + 3 * dw, yy, dw / 2, dipPitch, QString::number(t.dip.highHeights[i], 'f', 0));
        s.Text(dx + 3.5 * dw, yy, dw / 2 - 4, dipPitch, Signed(-t.dip.highDip[i]));
    }
    const int dipLines = static_cast<int>((2 * t.dip.heights.size() - 1 + 2) / 3);
    double y = dipTop + (dipLines + 3) * dipPitch;
    s.Line(dx - 4, y - 4, kWidth, y - 4);
    for (const auto& [name, list] : {std::pair{QStringLiteral("VENUS"), &t.venus}, std::pair{QStringLiteral("MARS"), &t.mars}}) {
        s.Text(dx, y, kWidth - dx, 8, name + QStringLiteral(" — additional correction from the apparent altitude shown"),
               Qt::AlignLeft, 5.6, true);
        y += 8;
        for (const PlanetAdditional& r : *list) {
            s.Text(dx, y, kWidth - dx, 7, PlanetRange(r), Qt::AlignLeft, 5.2);
            y += 7;
        }
        y += 4;
    }
}

void PageAir(Sheet& s, const AltitudeTables& t) {
    const AirTable& a = t.air;
    s.Title(QStringLiteral("ADDITIONAL REFRACTION CORRECTIONS FOR NON-STANDARD CONDITIONS"),
            QStringLiteral("Find the zone letter for the air temperature and pressure, then add the correction for the zone "
                           "and Ha (interpolate between rows) to the altitude."));
    const double pitch = std::min(9.0, (s.Height() - kTop - 20) / (a.temps.size() + 2));
    s.Text(0, kTop, 30, pitch, QStringLiteral("°C \\ mb"), Qt::AlignLeft, 5.2, true);
    for (size_t j = 0; j < a.pressures.size(); ++j)
        s.Text(30 + j * 13.5, kTop, 13.5, pitch, QString::number(a.pressures[j]), Qt::AlignHCenter, 3.9, true);
    for (size_t i = 0; i < a.temps.size(); ++i) {
        const double y = kTop + (i + 1) * pitch;
        s.Text(0, y, 24, pitch, QString::number(a.temps[i]), Qt::AlignRight, 5.2, true);
        for (size_t j = 0; j < a.pressures.size(); ++j)
            s.Text(30 + j * 13.5, y, 13.5, pitch, Q(a.zones[i * a.pressures.size() + j]), Qt::AlignHCenter);
    }
    const double x0 = 268, w = (kWidth - x0 - 22) / a.zoneFactor.size();
    const double p2 = std::min(9.0, (s.Height() - kTop - 20) / (a.alts.size() + 2));
    s.Text(x0, kTop, 22, p2, QStringLiteral("App. Alt."), Qt::AlignLeft, 5.0, true);
    for (size_t z = 0; z < a.zoneFactor.size(); ++z)
        s.Text(x0 + 22 + z * w, kTop, w, p2, QString(QChar('A' + static_cast<int>(z))), Qt::AlignRight, 5.4, true);
    for (size_t r = 0; r < a.alts.size(); ++r) {
        const double y = kTop + (r + 1) * p2;
        s.Text(x0, y, 20, p2, QStringLiteral("%1°").arg(a.alts[r]), Qt::AlignRight);
        for (size_t z = 0; z < a.zoneFactor.size(); ++z) s.Text(x0 + 22 + z * w, y, w, p2, Signed(a.corr[r][z]), Qt::AlignRight, 5.0);
    }
}

void PageMoon(Sheet& s, const MoonTable& m, int half) {
    s.Title(QStringLiteral("ALTITUDE CORRECTION TABLES — MOON  %1°–%2°").arg(45 * half).arg(45 * half + 45),
            QStringLiteral("Ho = Ha + F (interpolate for Ha) + L or U (interpolate for HP and between the columns for Ha); "
                           "upper limb: subtract 30′ also."));
    const double colW = 52, x0 = 26;
    const double pitch = std::min(9.0, (s.Height() - kTop - 40) / 64.0);
    double y = kTop;
    s.Text(0, y, 26, pitch, QStringLiteral("App. Alt."), Qt::AlignLeft, 5.0, true);
    for (int c = 0; c < 9; ++c) {
        const int band = 9 * half + c;
        const double x = x0 + c * colW;
        s.Text(x, y, colW, pitch, QStringLiteral("%1°–%2°").arg(5 * band).arg(5 * band + 4), Qt::AlignHCenter, 5.4, true);
        for (int d = 0; d < 5; ++d)
            for (int k = 0; k < 6; ++k) {
                const size_t row = static_cast<size_t>((5 * band + d) * 6 + k);
                const double yy = y + (1 + d * 6 + k) * pitch;
                const QString lab = k == 0 ? QStringLiteral("%1°").arg(5 * band + d) : QString::number(10 * k);
                s.Text(x, yy, 16, pitch, lab, Qt::AlignRight, 5.2, k == 0);
                s.Text(x + 16, yy, colW - 20, pitch, QString::number(m.first[row], 'f', 1));
            }
    }
    if (half == 1) s.Text(x0 + 8 * colW, y + 31 * pitch, colW - 4, pitch, QStringLiteral("90°  ") + QString::number(m.first.back(), 'f', 1));
    y += 33 * pitch;
    s.Line(0, y - 1, kWidth, y - 1);
    s.Text(0, y, 26, pitch, QStringLiteral("HP"), Qt::AlignLeft, 5.2, true);
    for (int c = 0; c < 10; ++c) {
        const size_t col = static_cast<size_t>(9 * half + c);
        const double x = x0 + c * colW;
        s.Text(x, y, colW - 2, pitch, QStringLiteral("%1°").arg(m.cols[col]), Qt::AlignHCenter, 5.4, true);
        s.Text(x, y + pitch, (colW - 2) / 2, pitch, QStringLiteral("L"), Qt::AlignRight, 5.2, true);
        s.Text(x + (colW - 2) / 2, y + pitch, (colW - 2) / 2, pitch, QStringLiteral("U"), Qt::AlignRight, 5.2, true);
        for (size_t r = 0; r < m.hps.size(); ++r) {
            const double yy = y + (r + 2) * pitch;
            s.Text(x, yy, (colW - 2) / 2, pitch, QString::number(m.lower[r][col], 'f', 1));
            s.Text(x + (colW - 2) / 2, yy, (colW - 2) / 2, pitch, QString::number(m.upper[r][col], 'f', 1));
        }
    }
    for (size_t r = 0; r < m.hps.size(); ++r)
        s.Text(0, y + (r + 2) * pitch, 22, pitch, QString::number(m.hps[r], 'f', 1), Qt::AlignLeft, 5.2, true);
}

void PagePolaris(Sheet& s, const PolarisTables& p, int third) {
    s.Title(QStringLiteral("POLARIS (POLE STAR) TABLES, %1 — LHA ARIES %2°–%3°").arg(p.year).arg(120 * third).arg(120 * third + 119),
            QStringLiteral("Latitude = Ho − 1° + a0 + a1 + a2.  a0: interpolate for LHA Aries;  a1: for latitude;  a2: the month."));
    const double x0 = 40, w = (kWidth - x0) / 12.0;
    const double pitch = std::min(10.0, (s.Height() - kTop - 20) / 52.0);
    double y = kTop;
    s.Text(0, y, x0, pitch, QStringLiteral("LHA ARIES"), Qt::AlignLeft, 5.2, true);
    for (int c = 0; c < 12; ++c)
        s.Text(x0 + c * w, y, w, pitch, QStringLiteral("%1°–%2°").arg(10 * (12 * third + c)).arg(10 * (12 * third + c) + 9),
               Qt::AlignRight, 5.2, true);
    y += pitch;
    s.Text(0, y, x0, pitch, QStringLiteral("a0"), Qt::AlignLeft, 5.4, true);
    for (int j = 0; j < 10; ++j) {
        y += pitch;
        s.Text(0, y, 20, pitch, QString::number(j), Qt::AlignRight);
        for (int c = 0; c < 12; ++c)
            s.Text(x0 + c * w, y, w, pitch, Q(TableDegMin(p.a0[static_cast<size_t>(12 * third + c)][static_cast<size_t>(j)] / 60.0, 1)));
    }
    y += pitch * 1.5;
    s.Text(0, y, x0, pitch, QStringLiteral("Lat.   a1"), Qt::AlignLeft, 5.4, true);
    for (size_t r = 0; r < p.a1Lats.size(); ++r) {
        y += pitch;
        s.Text(0, y, 20, pitch, QString::number(p.a1Lats[r]), Qt::AlignRight);
        for (int c = 0; c < 12; ++c) s.Text(x0 + c * w, y, w, pitch, QString::number(p.a1[r][static_cast<size_t>(12 * third + c)], 'f', 1));
    }
    y += pitch * 1.5;
    s.Text(0, y, x0, pitch, QStringLiteral("Month  a2"), Qt::AlignLeft, 5.4, true);
    for (int mo = 0; mo < 12; ++mo) {
        y += pitch;
        s.Text(0, y, 24, pitch, QLatin1String(kMonths[mo]), Qt::AlignLeft);
        for (int c = 0; c < 12; ++c) s.Text(x0 + c * w, y, w, pitch, QString::number(p.a2[static_cast<size_t>(mo)][static_cast<size_t>(12 * third + c)], 'f', 1));
    }
    y += pitch * 1.5;
    s.Text(0, y, x0, pitch, QStringLiteral("Lat.  AZIMUTH"), Qt::AlignLeft, 5.4, true);
    for (size_t r = 0; r < p.azLats.size(); ++r) {
        y += pitch;
        s.Text(0, y, 20, pitch, QString::number(p.azLats[r]), Qt::AlignRight);
        for (int c = 0; c < 12; ++c)
            s.Text(x0 + c * w, y, w, pitch, QString::number(p.azimuth[r][static_cast<size_t>(12 * third + c)], 'f', 1));
    }
}

void PageArcToTime(Sheet& s) {
    s.Title(QStringLiteral("CONVERSION OF ARC TO TIME"),
            QStringLiteral("Degrees to hours and minutes of time; minutes of arc (and quarters) to minutes and seconds of time."));
    const double pitch = std::min(10.0, (s.Height() - kTop - 20) / 62.0);
    for (int b = 0; b < 6; ++b) {
        const double x = b * 56;
        s.Text(x, kTop, 52, pitch, QStringLiteral("%1°–%2°").arg(60 * b).arg(60 * b + 59), Qt::AlignHCenter, 5.4, true);
        for (int i = 0; i < 60; ++i) {
            const double y = kTop + (i + 1) * pitch;
            s.Text(x, y, 20, pitch, QString::number(60 * b + i), Qt::AlignRight, 5.6, true);
            s.Text(x + 20, y, 30, pitch, Q(ArcToTimeText(60 * b + i, false)));
        }
    }
    const double x0 = 340;
    const QStringList heads{QStringLiteral("′"), QStringLiteral("0.00"), QStringLiteral("0.25"), QStringLiteral("0.50"), QStringLiteral("0.75")};
    for (int i = 0; i < heads.size(); ++i) s.Text(x0 + i * 40, kTop, 38, pitch, heads[i], Qt::AlignRight, 5.4, true);
    for (int m = 0; m < 60; ++m) {
        const double y = kTop + (m + 1) * pitch;
        s.Text(x0, y, 38, pitch, QString::number(m), Qt::AlignRight, 5.6, true);
        for (int q = 0; q < 4; ++q) s.Text(x0 + (q + 1) * 40, y, 38, pitch, Q(ArcToTimeText(m + q * 0.25, true)));
    }
}

void PageIncrements(Sheet& s, int firstMinute) {
    s.Title(QStringLiteral("INCREMENTS AND CORRECTIONS  %1m – %2m").arg(firstMinute).arg(firstMinute + 1),
            QStringLiteral("Add the increment for the minutes and seconds past the hour; v or d correction for the minute, "
                           "with the sign of d (v of Venus may be negative)."));
    const double pitch = std::min(10.0, (s.Height() - kTop - 14) / 63.0);
    for (int half = 0; half < 2; ++half) {
        const IncrementMinute m = IncrementsFor(firstMinute + half);
        const double x = half * 280;
        const QStringList heads{QStringLiteral("%1m").arg(m.minute), QStringLiteral("SUN PLANETS"), QStringLiteral("ARIES"),
                                QStringLiteral("MOON")};
        const double cw[4] = {14, 42, 42, 42};
        double cx = x;
        for (int i = 0; i < 4; ++i) {
            s.Text(cx, kTop, cw[i], pitch, heads[i], Qt::AlignRight, 5.0, true);
            cx += cw[i];
        }
        for (int v = 0; v < kVdColumns; ++v) s.Text(cx + v * 44, kTop, 42, pitch, QStringLiteral("v or d  Corr."), Qt::AlignRight, 4.8, true);
        for (int sec = 0; sec <= 60; ++sec) {
            const double y = kTop + (sec + 1) * pitch;
            const size_t i = static_cast<size_t>(sec);
            s.Text(x, y, 14, pitch, QStringLiteral("%1").arg(sec, 2, 10, QLatin1Char('0')), Qt::AlignRight, 5.6, true);
            s.Text(x + 14, y, 42, pitch, Q(TableDegMin(m.sunPlanets[i], 2)));
            s.Text(x + 56, y, 42, pitch, Q(TableDegMin(m.aries[i], 2)));
            s.Text(x + 98, y, 42, pitch, Q(TableDegMin(m.moon[i], 2)));
            if (sec < kVdRows)
                for (int v = 0; v < kVdColumns; ++v) {
                    const int tenths = v * kVdRows + sec;
                    s.Text(cx + v * 44, y, 20, pitch, QString::number(tenths / 10.0, 'f', 1), Qt::AlignRight, 5.6, true);
                    s.Text(cx + v * 44 + 20, y, 20, pitch, QString::number(m.vdCorr[static_cast<size_t>(tenths)], 'f', 1));
                }
        }
        if (half == 0) s.Line(276, kTop, 276, kTop + 62 * pitch);
    }
}

}  // namespace

int StandingTablesPageCount() { return 3 + 2 + 3 + 1 + 30; }

bool DrawStandingTables(QPainter& painter, QPagedPaintDevice* device, int year, const QString& family,
                        const std::atomic<bool>* cancel) {
    const AltitudeTables alt = ComputeAltitudeTables(year);
    const PolarisTables polaris = ComputePolarisTables(year);
    std::vector<std::function<void(Sheet&)>> pages{
        [&](Sheet& s) { PageHighAltitudes(s, alt); },
        [&](Sheet& s) { PageLowAltitudes(s, alt); },
        [&](Sheet& s) { PageAir(s, alt); },
        [&](Sheet& s) { PageMoon(s, alt.moon, 0); },
        [&](Sheet& s) { PageMoon(s, alt.moon, 1); },
    };
    for (int third = 0; third < 3; ++third) pages.push_back([&, third](Sheet& s) { PagePolaris(s, polaris, third); });
    pages.push_back([](Sheet& s) { PageArcToTime(s); });
    for (int m = 0; m < 60; m += 2) pages.push_back([m](Sheet& s) { PageIncrements(s, m); });
    for (const auto& draw : pages) {
        if (cancel && cancel->load()) return false;
        device->newPage();
        Sheet sheet(painter, device, family);
        draw(sheet);
    }
    return true;
}
