#include "almanac/mDailyPagesPrint.h"

#include <QDate>
#include <QFile>
#include <QFontDatabase>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QStringList>
#include <QTextStream>
#include <cmath>
#include <cstdio>
#include <vector>

#include "almanac/mDailyPages.h"
#include "core/mStar.h"
#include "core/mFault.h"
#include "core/mFiles.h"
#include "core/mMoon.h"
#include "core/mPlanet.h"

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

void DrawEventRow(Canvas& c, double top, double lat, const std::array<const TableEvent*, 6>& events) {
    c.Text(248, top, 22, LatText(lat), Qt::AlignLeft);
    for (size_t i = 0; i < events.size(); ++i) c.Text(272 + 46 * i, top, 40, Q(PageEventText(*events[i])));
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
    for (int d = 0; d < kSpreadDays; ++d) dayNumbers << QString::number(ToDate(s.firstDay + d).day());
    const QString mid = dayNumbers[1];
    auto headings = [&](size_t slot, const QStringList& sun, const QString& moon) {
        c.Text(248, y[slot], 22, QStringLiteral("Lat."), Qt::AlignLeft, kHeadSize, true);
        c.Text(272, y[slot], 86, QStringLiteral("Twilight"), Qt::AlignHCenter, kHeadSize, true);
        c.Text(364, y[slot], 40, sun[2], Qt::AlignRight, kHeadSize, true);
        c.Text(410, y[slot], 132, moon, Qt::AlignHCenter, kHeadSize, true);
        for (int i = 0; i < 2; ++i) c.Text(272 + 46 * i, y[slot + 1], 40, sun[i], Qt::AlignRight, kHeadSize);
        for (int d = 0; d < kSpreadDays; ++d) c.Text(410 + 46 * d, y[slot + 1], 40, dayNumbers[d], Qt::AlignRight, kHeadSize);
    };
    headings(0, {QStringLiteral("Naut."), QStringLiteral("Civil"), QStringLiteral("Sunrise")}, QStringLiteral("Moonrise"));
    c.Text(364, y[1], 40, mid, Qt::AlignRight, kHeadSize);
    const size_t lower = 2 + s.latitudes.size();
    for (size_t i = 0; i < s.latitudes.size(); ++i) {
        const LatitudeRow& L = s.latitudes[i];
        DrawEventRow(c, y[2 + i], L.lat, {&L.nautical, &L.civil, &L.sunrise, &L.moonrise[0], &L.moonrise[1], &L.moonrise[2]});
        DrawEventRow(c, y[lower + 2 + i], L.lat, {&L.sunset, &L.civilEnd, &L.nauticalEnd, &L.moonset[0], &L.moonset[1], &L.moonset[2]});
    }
    c.Text(248, y[lower], 22, QStringLiteral("Lat."), Qt::AlignLeft, kHeadSize, true);
    c.Text(272, y[lower], 40, QStringLiteral("Sunset"), Qt::AlignRight, kHeadSize, true);
    c.Text(318, y[lower], 86, QStringLiteral("Twilight"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(410, y[lower], 132, QStringLiteral("Moonset"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(272, y[lower + 1], 40, mid, Qt::AlignRight, kHeadSize);
    c.Text(318, y[lower + 1], 40, QStringLiteral("Civil"), Qt::AlignRight, kHeadSize);
    c.Text(364, y[lower + 1], 40, QStringLiteral("Naut."), Qt::AlignRight, kHeadSize);
    for (int d = 0; d < kSpreadDays; ++d) c.Text(410 + 46 * d, y[lower + 1], 40, dayNumbers[d], Qt::AlignRight, kHeadSize);

    // The Sun and Moon foot table.
    const size_t ft = lower + 2 + s.latitudes.size();
    c.Line(246, y[ft] - 1.0, kDesignWidth, y[ft] - 1.0);
    c.Text(248, y[ft], 130, QStringLiteral("SUN"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(380, y[ft], 170, QStringLiteral("MOON"), Qt::AlignHCenter, kHeadSize, true);
    c.Text(266, y[ft + 1], 70, QStringLiteral("Eqn. of Time"), Qt::AlignHCenter, kHeadSize);
    c.Text(380, y[ft + 1], 70, QStringLiteral("Mer. Pass."), Qt::AlignHCenter, kHeadSize);
    const QStringList heads{QStringLiteral("Day"), QStringLiteral("00h"), QStringLiteral("12h"),
                            QStringLiteral("Mer. Pass."), QStringLiteral("Upper"), QStringLiteral("Lower"),
                            QStringLiteral("Age"), QStringLiteral("Phase")};
    const double fx[8] = {248, 266, 302, 338, 380, 416, 452, 484};
    const double fw[8] = {18, 34, 34, 38, 34, 34, 28, 30};
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

bool DrawDailyPages(QPagedPaintDevice* device, DateValue from, DateValue to, const std::atomic<bool>* cancel,
                    const PagesProgress& progress, QString* error) {
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
    DailySpread spread;
    for (size_t i = 0; i < starts.size(); ++i) {
        try {
            if (!ComputeDailySpread(starts[i], spread, cancel)) return stop();
        } catch (const ArithmeticFault& fault) {
            if (error) *error = QString::fromStdString(fault.what());
            return stop();
        }
        const QRectF area = QRectF(QPointF(0, 0), device->pageLayout().paintRectPixels(device->logicalDpiY()).size());
        if (i > 0) device->newPage();
        Canvas left(painter, area, family);
        DrawLeftPage(left, spread);
        device->newPage();
        Canvas right(painter, area, family);
        DrawRightPage(right, spread);
        if (progress) progress(static_cast<int>(i + 1), static_cast<int>(starts.size()));
        if (cancel && cancel->load()) return stop();
    }
    return painter.end();
}

bool WriteDailyPagesPdf(const QString& path, DateValue from, DateValue to, const std::atomic<bool>* cancel,
                        const PagesProgress& progress, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    bool ok = false;
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(QStringLiteral("Daily pages"));
        pdf.setCreator(QStringLiteral("Veltrano"));
        pdf.setResolution(600);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        ok = DrawDailyPages(&pdf, from, to, cancel, progress, error);
    }
    file.close();
    if (ok && file.error() != QFileDevice::NoError) {
        if (error) *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        ok = false;
    }
    if (!ok) file.remove();
    return ok;
}

namespace {

bool ParseDateArgument(const QString& text, DateValue& out) {
    const QDate d = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid() || d < QDate(1900, 1, 1) || d > QDate(2100, 12, 31)) return false;
    out = DateFromParts(d.year(), d.month(), d.day());
    return true;
}

}  // namespace

int AlmanacPdfCommand(const QStringList& args) {
    QTextStream err(stderr);
    const QString usage = QStringLiteral("usage: veltrano --almanac-pdf FROM TO FILE.pdf  (dates yyyy-mm-dd, 1900-01-01 to 2100-12-31)");
    if (args.size() != 3) {
        err << "veltrano: --almanac-pdf needs three arguments\n" << usage << "\n";
        return 2;
    }
    DateValue from = 0, to = 0;
    for (int i = 0; i < 2; ++i) {
        if (!ParseDateArgument(args[i], i == 0 ? from : to)) {
            err << "veltrano: not a date from 1900-01-01 to 2100-12-31: " << args[i] << "\n" << usage << "\n";
            return 2;
        }
    }
    if (to < from) {
        err << "veltrano: " << args[1] << " is before " << args[0] << "\n" << usage << "\n";
        return 2;
    }
    for (const LoadStatus& st : {LoadPlanetData(), LoadStarFile(), LoadMoonFile()}) {
        if (!st.ok) {
            err << "veltrano: " << QString::fromStdString(st.message) << "\n";
            return 1;
        }
    }
    QString error;
    if (!WriteDailyPagesPdf(args[2], from, to, nullptr, {}, &error)) {
        err << "veltrano: " << error << "\n";
        return 1;
    }
    return 0;
}
