#include "map/mWorkFormPrint.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QStringList>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include "core/mMath.h"
#include "core/mTime.h"
#include "ui/mConvertion.h"
#include "ui/mPdfFile.h"

namespace {

constexpr double kWidth = 550.0, kMinHeight = 760.0;  // design points
constexpr double kLabelW = 118.0, kColW = 104.0;
constexpr double kRow = 11.0;

class Page {
public:
    Page(QPainter& p, QPagedPaintDevice* d) : p_(p) {
        const QSizeF area = d->pageLayout().paintRectPixels(d->logicalDpiY()).size();
        k_ = std::min(area.width() / kWidth, area.height() / kMinHeight);
        x0_ = (area.width() - kWidth * k_) / 2.0;
        pt_ = k_ * 72.0 / d->logicalDpiY();
    }
    QPointF At(double x, double y) const { return {x0_ + x * k_, y * k_}; }
    double K() const { return k_; }
    void Text(double x, double y, double w, const QString& s, Qt::Alignment a = Qt::AlignRight, double size = 8.0,
              bool bold = false, double h = kRow) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(size * pt_);
        f.setBold(bold);
        p_.setFont(f);
        p_.drawText(QRectF(At(x, y), QSizeF(w * k_, h * k_)), a | Qt::AlignVCenter, s);
    }
    void Line(double x1, double y1, double x2, double y2) { p_.drawLine(At(x1, y1), At(x2, y2)); }
    QPainter& P() { return p_; }

private:
    QPainter& p_;
    double k_ = 1, x0_ = 0, pt_ = 1;
};

QString Arcmin(double v, bool sign = true) {
    if (!std::isfinite(v)) return QStringLiteral("--.-");
    return QString::asprintf(sign ? "%+.1f'" : "%.1f'", v);
}
QString Deg(double deg, int width = 3) { return FormatAngleDegMin(deg, width, true, false).trimmed().replace(' ', QStringLiteral("°")) + QLatin1Char('\''); }
QString Dec(double deg) {
    const QString t = FormatAngleDegMin(deg, 2, true, true);  // "N 23 26.4"
    return t.left(1) + QLatin1Char(' ') + t.mid(1).trimmed().replace(' ', QStringLiteral("°")) + QLatin1Char('\'');
}
QString Clock(DateValue t) {
    const CalendarDate c = DateToParts(t);
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", c.year, c.month, c.day, c.hour, c.minute,
                             static_cast<int>(std::floor(c.second + 0.5)) % 60);
}
QString Position(double lat, double lon) { return FormatLatLon(lat, true) + QLatin1Char(' ') + FormatLatLon(lon, false); }

void DrawPlot(Page& pg, const WorkForm& w, double x, double y, double size) {
    const FixResult& f = w.fix;
    // Nautical miles across: the intercepts, the fix and its ellipse, with room around.
    double extent = 2.0;
    const double cosLat = CosD(f.DRLat);
    const double fixE = (f.FixLon - f.DRLon) * 60.0 * cosLat, fixN = (f.FixLat - f.DRLat) * 60.0;
    extent = std::max({extent, std::fabs(fixE) + f.EllipseA, std::fabs(fixN) + f.EllipseA});
    const double apE = 0.0, apN = 0.0;  // the lines of the record are worked from the DR
    for (const WorkFormLine& L : w.lines)
        if (L.InUse) extent = std::max(extent, std::fabs(L.R.Intercept) + std::hypot(apE, apN));
    if (!std::isfinite(extent) || extent > 1e4) extent = 1e4;
    // A round scale: 1, 2 or 5 times a power of ten nautical miles per cell, six cells.
    double cell = std::pow(10.0, std::floor(std::log10(extent * 2.4 / 6.0)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (cell * m * 3.0 >= extent * 1.2) {
            cell *= m;
            break;
        }
    const double k = size / 6.0 / cell;  // design points per nautical mile
    const double cx = x + size / 2.0, cy = y + size / 2.0;
    QPainter& p = pg.P();
    p.save();
    p.setClipRect(QRectF(pg.At(x, y), QSizeF(size * pg.K(), size * pg.K())));
    p.setPen(QPen(QColor(200, 200, 200), 0.5 * pg.K()));
    for (int i = 0; i <= 6; ++i) {
        pg.Line(x + i * size / 6, y, x + i * size / 6, y + size);
        pg.Line(x, y + i * size / 6, x + size, y + i * size / 6);
    }
    const double course = w.fix.Working.Course;
    p.setPen(QPen(Qt::blue, 1.2 * pg.K()));
    pg.Line(cx - size * SinD(course), cy + size * CosD(course), cx, cy);
    const double ax = cx + apE * k, ay = cy - apN * k;
    int n = 0;
    for (const WorkFormLine& L : w.lines) {
        ++n;
        if (!L.InUse) continue;
        const double a = L.R.Az, pI = L.R.Intercept;
        p.setPen(QPen(Qt::gray, 0.5 * pg.K(), Qt::DashLine));
        pg.Line(ax - size * SinD(a), ay + size * CosD(a), ax + size * SinD(a), ay - size * CosD(a));
        const double fx = ax + k * pI * SinD(a), fy = ay - k * pI * CosD(a);
        p.setPen(QPen(Qt::red, 1.0 * pg.K()));
        pg.Line(fx + size * CosD(a), fy + size * SinD(a), fx - size * CosD(a), fy - size * SinD(a));
        pg.Text(fx + 0.45 * size * CosD(a) + 2, fy + 0.45 * size * SinD(a) - 10, 12, QString::number(n), Qt::AlignLeft, 7.0, true);
    }
    const double px = cx + fixE * k, py = cy - fixN * k;
    p.setPen(QPen(Qt::blue, 1.2 * pg.K()));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(pg.At(px, py), 3 * pg.K(), 3 * pg.K());
    if (f.EllipseA > 0 && std::isfinite(f.EllipseA) && f.EllipseA * k < 1e5) {
        p.save();
        p.translate(pg.At(px, py));
        p.rotate(f.EllipseAlpha - 90.0);
        p.setPen(QPen(Qt::darkGreen, 0.8 * pg.K(), Qt::DashLine));
        p.drawEllipse(QPointF(0, 0), f.EllipseA * k * pg.K(), f.EllipseB * k * pg.K());
        p.restore();
    }
    p.restore();
    p.setPen(QPen(Qt::black, 0.6 * pg.K()));
    p.drawRect(QRectF(pg.At(x, y), QSizeF(size * pg.K(), size * pg.K())));
    pg.Text(x, y + size + 2, size, QStringLiteral("DR at the centre, north up; %1 nm per square.").arg(cell), Qt::AlignLeft, 6.5,
            false, 10);
    pg.Text(x, y + size + 11, size, QStringLiteral("Red: lines of position; grey: azimuths; green: error ellipse; blue: track, fix."),
            Qt::AlignLeft, 6.5, false, 10);
}

void DrawForm(Page& pg, const WorkForm& w) {
    const FixResult& f = w.fix;
    const NavigationStateRecord& s = w.fix.Working;
    pg.Text(0, 0, kWidth, QStringLiteral("SIGHT REDUCTION — WORK FORM"), Qt::AlignHCenter, 13.0, true, 18);
    const DateValue ut = f.FixTime - s.TZ / 24.0;
    const QStringList head{
        QStringLiteral("Fix time: %1 UT (zone time %2, zone %3 h)").arg(Clock(ut), Clock(f.FixTime), QString::number(static_cast<double>(s.TZ))),
        QStringLiteral("DR position: %1    Course %2°   Speed %3 kn")
            .arg(Position(f.DRLat, f.DRLon), QString::number(s.Course, 'f', 1), QString::number(s.Speed, 'f', 1)),
        QStringLiteral("Air %1 °C, %2 mb    Height of eye %3 m    Index correction %4'")
            .arg(QString::number(s.Temp, 'f', 1), QString::number(s.Pressure, 'f', 1), QString::number(s.hEye, 'f', 1),
                 QString::number(s.i_s, 'f', 1))};
    for (int i = 0; i < head.size(); ++i) pg.Text(0, 22 + i * kRow, kWidth, head[i], Qt::AlignLeft, 8.0);
    double y = 22 + 3 * kRow + 6;
    pg.Line(0, y - 2, kWidth, y - 2);
    // The columns of the lines in use.
    std::vector<const WorkFormLine*> cols;
    for (const WorkFormLine& L : w.lines)
        if (L.InUse) cols.push_back(&L);
    int lineNo[4] = {0, 0, 0, 0};
    {
        int c = 0;
        for (int i = 0; i < 4; ++i)
            if (w.lines[static_cast<size_t>(i)].InUse) lineNo[c++] = i + 1;
    }
    auto row = [&](const QString& label, const std::function<QString(const WorkFormLine&)>& cell, bool bold = false) {
        pg.Text(0, y, kLabelW, label, Qt::AlignLeft, 8.0, bold);
        for (size_t c = 0; c < cols.size(); ++c) pg.Text(kLabelW + c * kColW, y, kColW - 6, cell(*cols[c]), Qt::AlignRight, 8.0, bold);
        y += kRow;
    };
    auto section = [&](const QString& title) {
        y += 3;
        pg.Text(0, y, kWidth, title, Qt::AlignLeft, 8.0, true);
        y += kRow;
    };
    for (size_t c = 0; c < cols.size(); ++c)
        pg.Text(kLabelW + c * kColW, y, kColW - 6, QStringLiteral("Line %1").arg(lineNo[c]), Qt::AlignRight, 8.0, true);
    y += kRow;
    row(QStringLiteral("Body"), [](const WorkFormLine& L) { return QString::fromStdString(L.Name).section(QLatin1Char('('), -1).remove(QLatin1Char(')')); }, true);
    row(QStringLiteral("Limb"), [](const WorkFormLine& L) {
        return L.R.SemiD > 0 ? QStringLiteral("lower") : L.R.SemiD < 0 ? QStringLiteral("upper") : QStringLiteral("centre");
    });
    row(QStringLiteral("UT of the sight"), [](const WorkFormLine& L) { return Clock(L.Time); });
    section(QStringLiteral("Altitude"));
    row(QStringLiteral("Hs  sextant altitude"), [](const WorkFormLine& L) { return Deg(L.R.Hs, 2); });
    row(QStringLiteral("IC  index correction"), [](const WorkFormLine& L) { return Arcmin(L.R.IndexCorr); });
    row(QStringLiteral("Dip"), [](const WorkFormLine& L) { return Arcmin(-L.R.Dip * 60.0); });
    row(QStringLiteral("Ha  apparent altitude"), [](const WorkFormLine& L) { return Deg(L.R.H, 2); }, true);
    row(QStringLiteral("Refraction"), [](const WorkFormLine& L) { return Arcmin(-L.R.Refr * 60.0); });
    row(QStringLiteral("Additional (air)"), [](const WorkFormLine& L) { return Arcmin(-L.R.TP * 60.0); });
    row(QStringLiteral("Semidiameter"), [](const WorkFormLine& L) { return Arcmin(L.R.SemiD * 60.0); });
    row(QStringLiteral("Parallax"), [](const WorkFormLine& L) { return Arcmin(L.R.Parallax * 60.0); });
    row(QStringLiteral("Ho  observed altitude"), [](const WorkFormLine& L) { return Deg(L.R.Ho, 2); }, true);
    section(QStringLiteral("Hour angle and declination"));
    row(QStringLiteral("Hour (UT)"), [](const WorkFormLine& L) {
        const CalendarDate c = DateToParts(L.hour + 1e-7);
        return QString::asprintf("%02dh  + %02dm %02ds", c.hour, L.minutes, L.seconds);
    });
    row(QStringLiteral("GHA at the hour"), [](const WorkFormLine& L) {
        return (L.IsStar ? QStringLiteral("♈ ") : QString()) + Deg(L.ghaHour);
    });
    row(QStringLiteral("Increment"), [](const WorkFormLine& L) { return Deg(L.increment); });
    row(QStringLiteral("v correction"), [](const WorkFormLine& L) { return Arcmin(L.vCorr); });
    row(QStringLiteral("SHA (stars)"), [](const WorkFormLine& L) { return L.IsStar ? Deg(L.R.Tau) : QString(); });
    row(QStringLiteral("GHA"), [](const WorkFormLine& L) { return Deg(L.R.Gha); }, true);
    row(QStringLiteral("Longitude (DR)"), [](const WorkFormLine& L) { return FormatLatLon(L.Pos.Lon, false); });
    row(QStringLiteral("LHA"), [](const WorkFormLine& L) {
        return Deg(std::fabs(L.R.Lha)) + (L.R.Lha < 0 ? QStringLiteral(" E") : QStringLiteral(" W"));
    }, true);
    row(QStringLiteral("Dec at the hour"), [](const WorkFormLine& L) { return Dec(L.decHour); });
    row(QStringLiteral("d correction"), [](const WorkFormLine& L) { return Arcmin(L.dCorr); });
    row(QStringLiteral("Dec"), [](const WorkFormLine& L) { return Dec(L.R.Dec); }, true);
    section(QStringLiteral("Computed altitude and intercept"));
    row(QStringLiteral("Hc  computed altitude"), [](const WorkFormLine& L) { return Deg(L.R.Hc, 2); });
    row(QStringLiteral("Ho"), [](const WorkFormLine& L) { return Deg(L.R.Ho, 2); });
    row(QStringLiteral("Intercept"), [](const WorkFormLine& L) {
        return Arcmin(L.R.Intercept, false).remove(QLatin1Char('-')) + (L.R.Intercept >= 0 ? QStringLiteral(" toward") : QStringLiteral(" away"));
    }, true);
    row(QStringLiteral("Zn  azimuth"), [](const WorkFormLine& L) { return QString::asprintf("%05.1f°", Norm360(L.R.Az)); }, true);
    y += 6;
    pg.Line(0, y - 2, kWidth, y - 2);
    const double plot = std::min(300.0, kMinHeight - y - 80);
    DrawPlot(pg, w, 0, y + 4, plot);
    // The fix beside the plot.
    const double fx = plot + 16;
    double fy = y + 4;
    const double dLat = (f.FixLat - f.DRLat) * 60.0, dEast = (f.FixLon - f.DRLon) * 60.0 * CosD((f.FixLat + f.DRLat) / 2);
    const QStringList fix{
        QStringLiteral("FIX"),
        QStringLiteral("Time: %1 UT").arg(Clock(ut)),
        QStringLiteral("Position: %1").arg(Position(f.FixLat, f.FixLon)),
        QStringLiteral("From the DR: %1 nm, %2°").arg(std::hypot(dLat, dEast), 0, 'f', 1).arg(Norm360(RadToDeg(Atan2(dEast, dLat))), 5, 'f', 1, QLatin1Char('0')),
        QStringLiteral("Error ellipse: a = %1', b = %2'").arg(f.EllipseA, 0, 'f', 2).arg(f.EllipseB, 0, 'f', 2),
        QStringLiteral("major axis %1°").arg(f.EllipseAlpha, 0, 'f', 1),
    };
    for (int i = 0; i < fix.size(); ++i) {
        pg.Text(fx, fy, kWidth - fx, fix[i], Qt::AlignLeft, i == 0 ? 10.0 : 8.0, i <= 2, 13);
        fy += 13;
    }
    if (f.Passes > 1) {
        pg.Text(fx, fy, kWidth - fx, QStringLiteral("Iterated in %1 passes from the lines").arg(f.Passes), Qt::AlignLeft, 8.0);
        pg.Text(fx, fy + 12, kWidth - fx, QStringLiteral("worked from the DR above."), Qt::AlignLeft, 8.0);
    }
}

}  // namespace

bool DrawWorkForms(QPagedPaintDevice* device, const std::vector<WorkForm>& forms, QString* error) {
    QPainter painter;
    if (!painter.begin(device)) {
        if (error) *error = QStringLiteral("The printer or file could not be opened.");
        return false;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    for (size_t i = 0; i < forms.size(); ++i) {
        if (i > 0) device->newPage();
        Page pg(painter, device);
        painter.setPen(QPen(Qt::black, 0.5 * pg.K()));
        DrawForm(pg, forms[i]);
    }
    return painter.end();
}

bool WriteWorkFormPdf(const QString& path, const std::vector<WorkForm>& forms, QString* error) {
    const PdfLayout layout{QStringLiteral("Sight reduction work form"), 300, QPageSize(QPageSize::A4),
                           QMarginsF(12, 12, 12, 12)};
    return WritePdfFile(path, layout, [&](QPdfWriter* pdf) { return DrawWorkForms(pdf, forms, error); }, error);
}
