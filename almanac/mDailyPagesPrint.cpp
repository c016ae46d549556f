#include "almanac/mDailyPagesPrint.h"

#include <QDate>
#include <QFontDatabase>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrinter>
#include <QStringList>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "almanac/mDailyPages.h"
#include "almanac/mLunarTable.h"
#include "almanac/mStandingTablesPrint.h"
#include "core/mStar.h"
#include "core/mFault.h"
#include "core/mFiles.h"
#include "core/mInterrupt.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"
#include "ui/mPdfFile.h"

namespace {

// The layout is drawn kDesignWidth points wide, scaled to the page; the line pitch fills its height.
constexpr double kDesignWidth = 550.0;
constexpr double kMinDesignHeight = 700.0;  // a shorter page scales the whole layout down
constexpr double kMaxRow = 9.6;           // the table's line pitch, at most
constexpr double kHourGap = 2.2;       // after every sixth hour
constexpr double kDayGap = 3.0;        // before a day's heading
constexpr double kTableTop = 40.0;     // the first line under the column headings
constexpr double kBodySize = 6.3;      // points, the table's figures
constexpr double kHeadSize = 6.0;
constexpr double kTitleSize = 9.0;
constexpr int kSlots = kSpreadDays * 25;  // a heading line and 24 hours per day
constexpr double kSynodicMonthDays = 29.530589;

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The painter, the scale and the fonts of one page.
class Canvas {
public:
    Canvas(QPainter& p, const QRectF& area, const QString& family) : p_(p), family_(family) {
        k_ = std::min(area.width() / kDesignWidth, area.height() / kMinDesignHeight);
        height_ = area.height() / k_;
        origin_ = QPointF(area.left() + (area.width() - kDesignWidth * k_) / 2.0, area.top());
        // Points on paper per design point, for the font sizes.
        pt_ = k_ * 72.0 / p_.device()->logicalDpiY();
    }
    // The height of the page in design points.
    double Height() const { return height_; }
    // The line pitch that fills the page: the hourly table and the foot below it.
    double Row() const {
        const double gaps = kSpreadDays * 3 * kHourGap + (kSpreadDays - 1) * kDayGap + kDayGap;
        return std::min(kMaxRow, (height_ - kTableTop - gaps - 2.0) / (kSlots + 1));
    }
    void Text(double x, double y, double w, const QString& s, Qt::Alignment align = Qt::AlignRight,
              double size = kBodySize, bool bold = false, double h = 0.0) {
        if (h <= 0.0) h = Row();
        SetFont(size, bold);
        p_.drawText(QRectF(origin_.x() + x * k_, origin_.y() + y * k_, w * k_, h * k_), align | Qt::AlignVCenter, s);
    }
    void Line(double x1, double y1, double x2, double y2) {
        p_.drawLine(QPointF(origin_.x() + x1 * k_, origin_.y() + y1 * k_), QPointF(origin_.x() + x2 * k_, origin_.y() + y2 * k_));
    }
    // The Moon's phase as seen from the north: a disc of radius r centred at (x, y), the
    // lit part (fraction of the disc, 0..1) white, the dark part grey; lit on the right
    // while waxing.
    void MoonPhase(double x, double y, double r, double fraction, bool waxing) {
        const QPointF c(origin_.x() + x * k_, origin_.y() + y * k_);
        const double R = r * k_;
        p_.save();
        p_.setBrush(QColor(150, 150, 150));
        p_.drawEllipse(c, R, R);
        // The lit part: the half disc on the Sun's side, with the terminator's half ellipse
        // (semi-axis |1 - 2 fraction| R) added beyond gibbous or taken away before it.
        const double side = waxing ? 1.0 : -1.0;
        const double t = (2.0 * fraction - 1.0) * R;
        QPainterPath lit;
        lit.moveTo(c.x(), c.y() - R);
        for (int i = 0; i <= 32; ++i) {  // the limb on the lit side, top to bottom
            const double a = M_PI * i / 32.0;
            lit.lineTo(c.x() + side * R * std::sin(a), c.y() - R * std::cos(a));
        }
        for (int i = 32; i >= 0; --i) {  // the terminator, bottom to top
            const double a = M_PI * i / 32.0;
            lit.lineTo(c.x() - side * t * std::sin(a), c.y() - R * std::cos(a));
        }
        p_.setBrush(Qt::white);
        p_.drawPath(lit);
        p_.setBrush(Qt::NoBrush);
        p_.drawEllipse(c, R, R);
        p_.restore();
    }

private:
    void SetFont(double size, bool bold) {
        if (size == size_ && bold == bold_) return;
        QFont f(family_);
        f.setPointSizeF(size * pt_);
        f.setBold(bold);
        f.setKerning(false);
        p_.setFont(f);
        size_ = size;
        bold_ = bold;
    }
    QPainter& p_;
    QString family_;
    double k_ = 1.0, pt_ = 1.0, height_ = kMinDesignHeight;
    QPointF origin_;
    double size_ = -1.0;
    bool bold_ = false;
};

// The top of each line of the hourly table: per day a heading line, then 24 hours with a
// small gap after every sixth.
std::vector<double> SlotTops(double row) {
    std::vector<double> y;
    double top = kTableTop;
    for (int d = 0; d < kSpreadDays; ++d) {
        if (d > 0) top += kDayGap;
        y.push_back(top);
        top += row;
        for (int h = 0; h < 24; ++h) {
            y.push_back(top);
            top += row;
            if (h % 6 == 5 && h < 23) top += kHourGap;
        }
    }
    y.push_back(top + kDayGap);  // the foot
    return y;
}
int HourSlot(int hour) { return hour / 24 * 25 + 1 + hour % 24; }

QDate ToDate(DateValue v) {
    const CalendarDate c = DateToParts(v);
    return QDate(c.year, c.month, c.day);
}

QString Title(DateValue first) {
    const QLocale en(QLocale::English);
    QStringList days, names;
    for (int d = 0; d < kSpreadDays; ++d) {
        const QDate q = ToDate(first + d);
        days << QString::number(q.day());
        names << en.toString(q, QStringLiteral("ddd")).toUpper() + QLatin1Char('.');
    }
    const QDate a = ToDate(first), b = ToDate(first + kSpreadDays - 1);
    QString months = en.toString(a, QStringLiteral("MMMM")).toUpper();
    if (b.month() != a.month()) months += QStringLiteral(" – ") + en.toString(b, QStringLiteral("MMMM")).toUpper();
    QString year = QString::number(a.year());
    if (b.year() != a.year()) year += QLatin1Char('/') + QString::number(b.year());
    return QStringLiteral("%1 %2 %3 (%4)").arg(year, months, days.join(QStringLiteral(", ")), names.join(QStringLiteral(", ")));
}

QString DayHeading(DateValue day) {
    return QLocale(QLocale::English).toString(ToDate(day), QStringLiteral("d dddd"));
}

QString MinSec(double minutes) {
    const long long s = std::llround(std::fabs(minutes) * 60.0);
    return QString::asprintf("%s%02lld %02lld", minutes < 0.0 && s > 0 ? "−" : "", s / 60, s % 60);
}

QString LatText(double lat) {
    if (lat == 0.0) return QStringLiteral("0");
    return QStringLiteral("%1 %2").arg(lat > 0 ? QLatin1Char('N') : QLatin1Char('S')).arg(std::fabs(lat), 0, 'f', 0);
}

void DrawTitle(Canvas& c, const DailySpread& s) {
    c.Text(0, 0, kDesignWidth, Title(s.firstDay), Qt::AlignHCenter, kTitleSize, true, 14);
    c.Text(0, 0, kDesignWidth, QStringLiteral("ΔT = %1 s").arg(s.deltaT, 0, 'f', 1), Qt::AlignRight);
}

void DrawLeftPage(Canvas& c, const DailySpread& s) {
    const std::vector<double> y = SlotTops(c.Row());
    DrawTitle(c, s);
    // Column headings.
    c.Text(0, 18, 16, QStringLiteral("UT"), Qt::AlignLeft, kHeadSize, true);
    c.Text(18, 18, 38, QStringLiteral("ARIES"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(18, 27, 38, QStringLiteral("GHA"), Qt::AlignHCenter, kHeadSize);
    for (int k = 0; k < kPagePlanets; ++k) {
        const double x = 60 + 80 * k;
        const QString mag = Q(PageMinutesText(s.planets[static_cast<size_t>(k)].magnitude, true));
        c.Text(x, 18, 78, QStringLiteral("%1  %2").arg(QLatin1String(kPagePlanetNames[static_cast<size_t>(k)]), mag),
               Qt::AlignHCenter, kHeadSize, true);
        c.Text(x, 27, 38, QStringLiteral("GHA"), Qt::AlignRight, kHeadSize);
        c.Text(x + 38, 27, 40, QStringLiteral("Dec"), Qt::AlignRight, kHeadSize);
    }
    c.Text(384, 18, 166, QStringLiteral("STARS"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(384, 27, 60, QStringLiteral("Name"), Qt::AlignLeft, kHeadSize);
    c.Text(472, 27, 36, QStringLiteral("SHA °  ′"), Qt::AlignRight, kHeadSize);
    c.Text(508, 27, 42, QStringLiteral("Dec °  ′"), Qt::AlignRight, kHeadSize);
    c.Line(0, 37, kDesignWidth, 37);

    for (int h = 0; h < kSpreadHours; ++h) {
        if (h % 24 == 0) c.Text(0, y[static_cast<size_t>(HourSlot(h) - 1)], 200, DayHeading(s.firstDay + h / 24), Qt::AlignLeft, kBodySize, true);
        const SpreadHour& r = s.hours[static_cast<size_t>(h)];
        const double top = y[static_cast<size_t>(HourSlot(h))];
        c.Text(0, top, 14, QString::asprintf("%02d", h % 24), Qt::AlignLeft);
        c.Text(18, top, 38, Q(PageGhaText(r.aries)));
        for (int k = 0; k < kPagePlanets; ++k) {
            const double x = 60 + 80 * k;
            c.Text(x, top, 38, Q(PageGhaText(r.planetGha[static_cast<size_t>(k)])));
            c.Text(x + 38, top, 40, Q(PageDecText(r.planetDec[static_cast<size_t>(k)])));
        }
    }
    // The stars beside the hours, then the planets' SHA and meridian passage.
    for (size_t i = 0; i < s.stars.size() && i + 1 < y.size(); ++i) {
        const StarEntry& st = s.stars[i];
        const double top = y[i];
        const bool polaris = i + 1 == s.stars.size();
        c.Text(384, top, 62, Q(st.name), Qt::AlignLeft, kBodySize, polaris);
        c.Text(446, top, 26, Q(st.bayer), Qt::AlignLeft, kHeadSize);
        c.Text(472, top, 36, Q(PageGhaText(st.sha)));
        c.Text(508, top, 42, Q(PageDecText(st.dec)));
    }
    const size_t box = s.stars.size() + 2;
    c.Text(384, y[box], 62, QStringLiteral("Planets"), Qt::AlignLeft, kHeadSize, true);
    c.Text(472, y[box], 36, QStringLiteral("SHA °  ′"), Qt::AlignRight, kHeadSize);
    c.Text(508, y[box], 42, QStringLiteral("Mer. Pass."), Qt::AlignRight, kHeadSize);
    for (int k = 0; k < kPagePlanets; ++k) {
        const PlanetFoot& p = s.planets[static_cast<size_t>(k)];
        QString name = QString::fromLatin1(kPagePlanetNames[static_cast<size_t>(k)]).toLower();
        name[0] = name[0].toUpper();
        const double top = y[box + 1 + static_cast<size_t>(k)];
        c.Text(384, top, 62, name, Qt::AlignLeft);
        c.Text(472, top, 36, Q(PageGhaText(p.sha)));
        c.Text(508, top, 42, Q(PageTimeText(p.merPass)));
    }
    // The foot.
    const double foot = y.back();
    c.Line(0, foot - 1.5, 380, foot - 1.5);
    c.Text(0, foot, 56, QStringLiteral("Mer. Pass. ") + Q(PageTimeText(s.ariesMerPass)), Qt::AlignRight);
    for (int k = 0; k < kPagePlanets; ++k) {
        const PlanetFoot& p = s.planets[static_cast<size_t>(k)];
        c.Text(60 + 80 * k, foot, 78,
               QStringLiteral("v %1   d %2").arg(Q(PageMinutesText(p.v, true)), Q(PageMinutesText(p.d, false))), Qt::AlignRight);
    }
    c.Line(58, 18, 58, foot + c.Row());
    for (int k = 0; k <= kPagePlanets; ++k) c.Line(60 + 80 * k - 1, 18, 60 + 80 * k - 1, foot + c.Row());
}

// The rise and set table's columns: three of the Sun, four of the Moon.
constexpr double kEventX = 268, kEventStep = 40, kEventW = 36;
double EventX(size_t i) { return kEventX + kEventStep * static_cast<double>(i); }

void DrawEventRow(Canvas& c, double top, double lat, const std::array<const TableEvent*, 7>& events) {
    c.Text(246, top, 22, LatText(lat), Qt::AlignLeft);
    for (size_t i = 0; i < events.size(); ++i) c.Text(EventX(i), top, kEventW, Q(PageEventText(*events[i])));
}

void DrawRightPage(Canvas& c, const DailySpread& s) {
    const std::vector<double> y = SlotTops(c.Row());
    DrawTitle(c, s);
    c.Text(0, 18, 16, QStringLiteral("UT"), Qt::AlignLeft, kHeadSize, true);
    c.Text(18, 18, 78, QStringLiteral("SUN"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(18, 27, 38, QStringLiteral("GHA"), Qt::AlignRight, kHeadSize);
    c.Text(56, 27, 40, QStringLiteral("Dec"), Qt::AlignRight, kHeadSize);
    c.Text(102, 18, 136, QStringLiteral("MOON"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(102, 27, 38, QStringLiteral("GHA"), Qt::AlignRight, kHeadSize);
    c.Text(140, 27, 18, QStringLiteral("v"), Qt::AlignRight, kHeadSize);
    c.Text(158, 27, 40, QStringLiteral("Dec"), Qt::AlignRight, kHeadSize);
    c.Text(198, 27, 18, QStringLiteral("d"), Qt::AlignRight, kHeadSize);
    c.Text(216, 27, 22, QStringLiteral("HP"), Qt::AlignRight, kHeadSize);
    c.Line(0, 37, kDesignWidth, 37);
    for (int h = 0; h < kSpreadHours; ++h) {
        if (h % 24 == 0) c.Text(0, y[static_cast<size_t>(HourSlot(h) - 1)], 200, DayHeading(s.firstDay + h / 24), Qt::AlignLeft, kBodySize, true);
        const SpreadHour& r = s.hours[static_cast<size_t>(h)];
        const double top = y[static_cast<size_t>(HourSlot(h))];
        c.Text(0, top, 14, QString::asprintf("%02d", h % 24), Qt::AlignLeft);
        c.Text(18, top, 38, Q(PageGhaText(r.sunGha)));
        c.Text(56, top, 40, Q(PageDecText(r.sunDec)));
        c.Text(102, top, 38, Q(PageGhaText(r.moonGha)));
        c.Text(140, top, 18, Q(PageMinutesText(r.moonV, true)));
        c.Text(158, top, 40, Q(PageDecText(r.moonDec)));
        c.Text(198, top, 18, Q(PageMinutesText(r.moonD, false)));
        c.Text(216, top, 22, Q(PageMinutesText(r.moonHP, false)));
    }
    // The rise and set table: morning above, evening below, on the lines of the hours.
    const QLocale en(QLocale::English);
    QStringList dayNumbers;
    for (int d = 0; d < kMoonDays; ++d) dayNumbers << QString::number(ToDate(s.firstDay + d).day());
    const QString mid = dayNumbers[1];
    const double moonW = kEventStep * (kMoonDays - 1) + kEventW;
    auto headings = [&](size_t slot, const QStringList& sun, const QString& moon) {
        c.Text(246, y[slot], 22, QStringLiteral("Lat."), Qt::AlignLeft, kHeadSize, true);
        c.Text(EventX(0), y[slot], kEventStep + kEventW, QStringLiteral("Twilight"), Qt::AlignHCenter, kHeadSize, true);
        c.Text(EventX(2), y[slot], kEventW, sun[2], Qt::AlignRight, kHeadSize, true);
        c.Text(EventX(3), y[slot], moonW, moon, Qt::AlignHCenter, kHeadSize, true);
        for (int i = 0; i < 2; ++i) c.Text(EventX(static_cast<size_t>(i)), y[slot + 1], kEventW, sun[i], Qt::AlignRight, kHeadSize);
        for (int d = 0; d < kMoonDays; ++d) c.Text(EventX(3 + static_cast<size_t>(d)), y[slot + 1], kEventW, dayNumbers[d], Qt::AlignRight, kHeadSize);
    };
    headings(0, {QStringLiteral("Naut."), QStringLiteral("Civil"), QStringLiteral("Sunrise")}, QStringLiteral("Moonrise"));
    c.Text(EventX(2), y[1], kEventW, mid, Qt::AlignRight, kHeadSize);
    const size_t lower = 2 + s.latitudes.size();
    for (size_t i = 0; i < s.latitudes.size(); ++i) {
        const LatitudeRow& L = s.latitudes[i];
        DrawEventRow(c, y[2 + i], L.lat, {&L.nautical, &L.civil, &L.sunrise, &L.moonrise[0], &L.moonrise[1], &L.moonrise[2], &L.moonrise[3]});
        DrawEventRow(c, y[lower + 2 + i], L.lat, {&L.sunset, &L.civilEnd, &L.nauticalEnd, &L.moonset[0], &L.moonset[1], &L.moonset[2], &L.moonset[3]});
    }
    c.Text(246, y[lower], 22, QStringLiteral("Lat."), Qt::AlignLeft, kHeadSize, true);
    c.Text(EventX(0), y[lower], kEventW, QStringLiteral("Sunset"), Qt::AlignRight, kHeadSize, true);
    c.Text(EventX(1), y[lower], kEventStep + kEventW, QStringLiteral("Twilight"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(EventX(3), y[lower], moonW, QStringLiteral("Moonset"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(EventX(0), y[lower + 1], kEventW, mid, Qt::AlignRight, kHeadSize);
    c.Text(EventX(1), y[lower + 1], kEventW, QStringLiteral("Civil"), Qt::AlignRight, kHeadSize);
    c.Text(EventX(2), y[lower + 1], kEventW, QStringLiteral("Naut."), Qt::AlignRight, kHeadSize);
    for (int d = 0; d < kMoonDays; ++d) c.Text(EventX(3 + static_cast<size_t>(d)), y[lower + 1], kEventW, dayNumbers[d], Qt::AlignRight, kHeadSize);

    // The Sun and Moon foot table.
    const size_t ft = lower + 2 + s.latitudes.size();
    c.Line(246, y[ft] - 1.0, kDesignWidth, y[ft] - 1.0);
    c.Text(248, y[ft], 114, QStringLiteral("SUN"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(364, y[ft], 186, QStringLiteral("MOON"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(264, y[ft + 1], 62, QStringLiteral("Eqn. of Time"), Qt::AlignHCenter, kHeadSize);
    c.Text(364, y[ft + 1], 62, QStringLiteral("Mer. Pass."), Qt::AlignHCenter, kHeadSize);
    const QStringList heads{QStringLiteral("Day"), QStringLiteral("00h"), QStringLiteral("12h"),
                            QStringLiteral("Mer. Pass."), QStringLiteral("Upper"), QStringLiteral("Lower"),
                            QStringLiteral("Age"), QStringLiteral("Phase")};
    const double fx[8] = {248, 264, 296, 328, 364, 396, 428, 452};
    const double fw[8] = {16, 30, 30, 34, 30, 30, 22, 28};
    for (int i = 0; i < 8; ++i) c.Text(fx[i], y[ft + 2], fw[i], heads[i], i == 0 ? Qt::AlignLeft : Qt::AlignRight, kHeadSize);
    for (int d = 0; d < kSpreadDays; ++d) {
        const DayFoot& f = s.days[static_cast<size_t>(d)];
        const double top = y[ft + 3 + static_cast<size_t>(d)];
        const QStringList cells{dayNumbers[d], MinSec(f.eot0), MinSec(f.eot12), Q(PageTimeText(f.sunMerPass)),
                                Q(PageEventText(f.moonUpper)), Q(PageEventText(f.moonLower)),
                                QString::number(static_cast<int>(std::floor(f.moonAge))),
                                QStringLiteral("%1 %").arg(std::lround(f.moonPhase * 100.0))};
        for (int i = 0; i < 8; ++i) c.Text(fx[i], top, fw[i], cells[i], i == 0 ? Qt::AlignLeft : Qt::AlignRight);
    }
    // The Moon's phase on the middle day, beside the table.
    const DayFoot& midDay = s.days[1];
    const double r = std::min(9.0, 1.5 * c.Row());
    c.MoonPhase(kDesignWidth - r - 2, y[ft + 3] + 1.5 * c.Row(), r, midDay.moonPhase, midDay.moonAge < kSynodicMonthDays / 2.0);
    // The foot of the Sun's and the Moon's columns.
    const double foot = y.back();
    c.Line(0, foot - 1.5, 240, foot - 1.5);
    c.Text(18, foot, 78, QStringLiteral("SD %1    d %2").arg(Q(PageMinutesText(s.sunSD, false)), Q(PageMinutesText(s.sunD, false))));
    QStringList sd;
    for (const DayFoot& f : s.days) sd << Q(PageMinutesText(f.moonSD, false));
    c.Text(102, foot, 136, QStringLiteral("SD   ") + sd.join(QStringLiteral("   ")));
    c.Line(99, 18, 99, foot + c.Row());
    c.Line(242, 18, 242, foot + c.Row());
}

}  // namespace

QString DailyPagesFontFamily() {
    static const QString family = [] {
        for (const QString& f : {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Sans Condensed")})
            if (QFontDatabase::families().contains(f)) return f;
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

namespace {

void DrawTitlePage(QPainter& painter, QPagedPaintDevice* device, const QString& family, DateValue from, DateValue to,
                   const PagesOptions& options) {
    const QRectF area = QRectF(QPointF(0, 0), device->pageLayout().paintRectPixels(device->logicalDpiY()).size());
    Canvas c(painter, area, family);
    const QLocale en(QLocale::English);
    const QString range = en.toString(ToDate(from), QStringLiteral("d MMMM yyyy")) + QStringLiteral(" – ") +
                          en.toString(ToDate(to), QStringLiteral("d MMMM yyyy"));
    c.Text(0, 200, kDesignWidth, QStringLiteral("DAILY PAGES"), Qt::AlignHCenter, 20.0, true, 30);
    c.Text(0, 240, kDesignWidth, range, Qt::AlignHCenter, 12.0, false, 20);
    // What follows the spreads, in the order it comes.
    QStringList after;
    if (options.lunars) after << QStringLiteral("the lunar distances");
    if (options.tables) after << QStringLiteral("the standing tables for %1").arg(ToDate(from).year());
    if (!after.isEmpty())
        c.Text(0, 270, kDesignWidth, QStringLiteral("with ") + after.join(QStringLiteral(" and ")), Qt::AlignHCenter,
               10.0, false, 16);
    c.Text(0, 320, kDesignWidth, QStringLiteral("Times are UT.  Each spread's left page is an even page: print two-sided, "
                                                "or view as facing pages with a cover page."),
           Qt::AlignHCenter, 7.0, false, 12);
    c.Text(0, 336, kDesignWidth, QStringLiteral("Veltrano"), Qt::AlignHCenter, 7.0, false, 12);
}


// The lunar distances, one block per day (a heading, the hours, a line per body), as many
// blocks to a page as fit. False when cancelled.
bool DrawLunarPages(QPainter& painter, QPagedPaintDevice* device, const QString& family, DateValue from, DateValue to,
                    const std::atomic<bool>* cancel) {
    constexpr double kRow = 8.4, kTop = 30.0, kNameW = 98.0, kColW = 56.0;
    const QRectF area = QRectF(QPointF(0, 0), device->pageLayout().paintRectPixels(device->logicalDpiY()).size());
    const QLocale en(QLocale::English);
    std::unique_ptr<Canvas> c;
    double y = 0.0;
    auto newPage = [&] {
        device->newPage();
        c = std::make_unique<Canvas>(painter, area, family);
        c->Text(0, 4, kDesignWidth, QStringLiteral("LUNAR DISTANCES"), Qt::AlignHCenter, kTitleSize, true, 14);
        c->Text(0, 17, kDesignWidth, QStringLiteral("Geocentric distances of the Moon's centre from the bodies between "
                                                    "15\u00b0 and 120\u00b0 from it; UT"),
                Qt::AlignHCenter, kHeadSize, false, 10);
        y = kTop;
    };
    for (DateValue day = from; day <= to; day += 1.0) {
        if (cancel && cancel->load()) return false;
        const std::vector<LunarTableRow> rows = LunarTableRows(day);
        const double need = (rows.size() + 2) * kRow + kDayGap;
        if (!c || y + need > c->Height()) newPage();
        c->Text(0, y, 200, en.toString(ToDate(day), QStringLiteral("d MMMM yyyy, dddd")), Qt::AlignLeft, kBodySize, true, kRow);
        for (int k = 0; k < 8; ++k)
            c->Text(kNameW + kColW * k, y, kColW, QStringLiteral("%1h").arg(k * 3, 2, 10, QLatin1Char('0')), Qt::AlignRight,
                    kHeadSize, true, kRow);
        y += kRow;
        c->Line(0, y, kNameW + kColW * 8, y);
        for (const LunarTableRow& r : rows) {
            c->Text(0, y, kNameW, Q(r.name), Qt::AlignLeft, kBodySize, false, kRow);
            for (size_t k = 0; k < 8; ++k)
                if (r.shown[k])
                    c->Text(kNameW + kColW * static_cast<double>(k), y, kColW, Q(LunarTableText(r.distance[k])),
                            Qt::AlignRight, kBodySize, false, kRow);
            y += kRow;
        }
        y += kRow + kDayGap;
    }
    return true;
}

}  // namespace

bool DrawDailyPages(QPagedPaintDevice* device, DateValue from, DateValue to, const std::atomic<bool>* cancel,
                    const PagesProgress& progress, QString* error, const PagesOptions& options) {
    if (error) error->clear();
    const std::vector<DateValue> starts = SpreadStarts(from, to);
    QPainter painter;
    if (!painter.begin(device)) {
        if (error) *error = QStringLiteral("The printer or file could not be opened.");
        return false;
    }
    QPen pen(Qt::black);
    pen.setWidthF(device->logicalDpiY() / 72.0 * 0.4);
    painter.setPen(pen);
    const QString family = DailyPagesFontFamily();
    // A print run stopped part-way is abandoned, not printed.
    auto stop = [&] {
        if (auto* printer = dynamic_cast<QPrinter*>(device)) printer->abort();
        return false;
    };
    if (options.titlePage) DrawTitlePage(painter, device, family, from, to, options);
    DailySpread spread;
    for (size_t i = 0; i < starts.size(); ++i) {
        try {
            if (!ComputeDailySpread(starts[i], spread, cancel)) return stop();
        } catch (const ArithmeticFault& fault) {
            if (error) *error = QString::fromStdString(fault.what());
            return stop();
        }
        const QRectF area = QRectF(QPointF(0, 0), device->pageLayout().paintRectPixels(device->logicalDpiY()).size());
        if (i > 0 || options.titlePage) device->newPage();
        Canvas left(painter, area, family);
        DrawLeftPage(left, spread);
        device->newPage();
        Canvas right(painter, area, family);
        DrawRightPage(right, spread);
        if (progress) progress(static_cast<int>(i + 1), static_cast<int>(starts.size()));
        if (cancel && cancel->load()) return stop();
    }
    if (options.lunars) {
        try {
            if (!DrawLunarPages(painter, device, family, from, to, cancel)) return stop();
        } catch (const ArithmeticFault& fault) {
            if (error) *error = QString::fromStdString(fault.what());
            return stop();
        }
    }
    if (options.tables) {
        try {
            if (!DrawStandingTables(painter, device, DateToParts(from).year, family, cancel)) return stop();
        } catch (const ArithmeticFault& fault) {
            if (error) *error = QString::fromStdString(fault.what());
            return stop();
        }
    }
    return painter.end();
}

bool WriteDailyPagesPdf(const QString& path, DateValue from, DateValue to, const std::atomic<bool>* cancel,
                        const PagesProgress& progress, QString* error, const PagesOptions& options) {
    const PdfLayout layout{QStringLiteral("Daily pages"), 600,
                           QPageSize(options.letter ? QPageSize::Letter : QPageSize::A4), QMarginsF(10, 10, 10, 10)};
    return WritePdfFile(path, layout, [&](QPdfWriter* pdf) {
        return DrawDailyPages(pdf, from, to, cancel, progress, error, options);
    }, error);
}

int RunAlmanacPdf(const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err) {
    const AlmanacPdfArgs a = ParseAlmanacPdfArgs(args);
    if (!a.error.empty()) {
        err << "veltrano: " << a.error << "\n";
        return 2;
    }
    PagesOptions options;
    options.tables = a.tables;
    options.lunars = a.lunars;
    options.letter = a.letter;
    QString error;
    if (!WriteDailyPagesPdf(QString::fromStdString(a.path), a.from, a.to, &InterruptRequested(), {}, &error, options)) {
        if (InterruptRequested()) error = QStringLiteral("interrupted; %1 was left as it was").arg(QString::fromStdString(a.path));
        err << "veltrano: " << error.toStdString() << "\n";
        return 1;
    }
    return 0;
}
