#include "ui/mConvertion.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>
#include <cmath>

#include "core/mTextForms.h"

QString DecimalSeparator() {
    // The second character of 1 formatted with one decimal.
    const QString one = QLocale().toString(1.0, 'f', 1);
    return one.size() >= 2 ? one.mid(1, one.size() - 2) : QStringLiteral(".");
}

QString FormatNumber(double value, const QString& pattern) {
    return QString::fromStdString(
        FormatNumberPattern(value, pattern.toStdString(), DecimalSeparator().toStdString()));
}

namespace {

QString NumberTextDigits(double value, int significant) {
    if (!std::isfinite(value)) return QStringLiteral("0");
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    if (value == 0.0) value = 0.0;  // no "-0"
    return locale.toString(value, 'g', significant);
}

}  // namespace

QString NumberText(float value) { return NumberTextDigits(static_cast<double>(value), 7); }
QString NumberText(double value) { return NumberTextDigits(value, 15); }

QString NormalizeDecimalText(const QString& text) {
    const QString sep = DecimalSeparator();
    const QString foreign = sep == QLatin1String(".") ? QStringLiteral(",") : QStringLiteral(".");
    const int at = text.indexOf(foreign);
    if (at < 0) return text;
    return text.left(at) + sep + text.mid(at + foreign.size());
}

bool ParseNumberText(const QString& text, double& value) {
    const QString t = NormalizeDecimalText(text.trimmed());
    if (t.isEmpty()) return false;
    bool ok = false;
    const double v = QLocale().toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return false;
    value = v;
    return true;
}

QString WithDegreeSigns(const QString& degMinText) {
    const qsizetype gap = degMinText.lastIndexOf(QLatin1Char(' '));
    if (gap < 0 || gap + 1 >= degMinText.size() || !degMinText.at(gap + 1).isDigit()) return degMinText;
    QString s = degMinText;
    s[gap] = QChar(0x00B0);
    return s + QLatin1Char('\'');
}

QString FormatLatLon(double degrees, bool isLatitude) {
    const QString letters = isLatitude ? QStringLiteral("NS") : QStringLiteral("EW");
    const DegMin dm = SplitDegMin(std::fabs(degrees), 1);
    if (!dm.ok)  // not finite, or far beyond any angle
        return QString(isLatitude ? 2 : 3, QLatin1Char('-')) + QLatin1Char('-') + QStringLiteral("--") +
               DecimalSeparator() + QLatin1Char('-') + QLatin1Char(' ');
    const QString deg = FormatNumber(static_cast<double>(dm.degrees), isLatitude ? "00" : "000");
    const QString hemisphere = degrees >= 0.0 ? letters.left(1) : letters.mid(1, 1);
    return deg + QLatin1Char('-') + FormatNumber(dm.minutes, QStringLiteral("00.0")) + hemisphere;
}

QString FormatAngleDegMin(double degrees, int width, bool showSign, bool letters) {
    QString sign;
    if (showSign) {
        if (letters)
            sign = degrees >= 0.0 ? QStringLiteral("N") : QStringLiteral("S");
        else
            sign = degrees >= 0.0 ? QStringLiteral(" ") : QStringLiteral("-");
    }
    const DegMin dm = SplitDegMin(std::fabs(degrees), 1);
    if (!dm.ok) return sign + QString(width, QLatin1Char('-')) + QStringLiteral(" --") + DecimalSeparator() + QLatin1Char('-');
    // A value that rounds to zero takes the sign of zero, never a minus.
    if (showSign && dm.degrees == 0 && FormatNumber(dm.minutes, QStringLiteral("00.0")) == FormatNumber(0.0, QStringLiteral("00.0")))
        sign = letters ? QStringLiteral("N") : QStringLiteral(" ");
    const QString deg = QString::number(dm.degrees).rightJustified(width, QLatin1Char(' '));
    return sign + deg + QLatin1Char(' ') + FormatNumber(dm.minutes, QStringLiteral("00.0"));
}

double ParsePositionText(const QString& text, bool isLatitude) {
    const int dash = text.indexOf(QLatin1Char('-'));
    if (dash < 0 || text.size() < dash + 2) return kInvalidPosition;
    const QString degText = text.left(dash).trimmed();
    const QString minText = text.mid(dash + 1, text.size() - dash - 2).trimmed();
    if (degText.isEmpty() || minText.isEmpty()) return kInvalidPosition;
    for (QChar ch : degText)
        if (!ch.isDigit()) return kInvalidPosition;
    bool ok = false;
    const double deg = degText.toDouble(&ok);
    if (!ok) return kInvalidPosition;
    double minutes = 0.0;
    if (!ParseNumberText(minText, minutes) || minutes < 0.0) return kInvalidPosition;
    if (minutes > 60.0) return kInvalidPosition;
    const QChar h = text.at(text.size() - 1).toUpper();
    double value = 0.0;
    if (h == QLatin1Char('N') || h == QLatin1Char('E'))
        value = deg + minutes / 60.0;
    else if (h == QLatin1Char('S') || h == QLatin1Char('W'))
        value = -(deg + minutes / 60.0);
    const double limit = isLatitude ? 90.0 : 180.0;
    return std::fabs(value) <= limit ? value : kInvalidPosition;
}

QDateTime ToQDateTime(DateValue value) {
    if (!(std::fabs(value) < kMaxDateValueDays)) return {};  // no calendar date
    const CalendarDate c = DateToParts(value);
    const int ms = static_cast<int>(std::lround(c.second * 1000.0));
    QTime t(c.hour, c.minute, 0);
    t = t.addMSecs(ms);
    return QDateTime(QDate(c.year, c.month, c.day), t);
}

DateValue FromQDateTime(const QDateTime& dt) {
    const QDate d = dt.date();
    const QTime t = dt.time();
    return DateFromParts(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() + t.msec() / 1000.0);
}

namespace {

// The first separator character of a Qt date or time format ("dd/MM/yyyy" -> "/").
QString FormatSeparator(const QString& format, const QString& fallback) {
    bool quoted = false;
    for (QChar ch : format) {
        if (ch == QLatin1Char('\'')) {
            quoted = !quoted;
            continue;
        }
        if (quoted || ch.isLetter() || ch.isSpace()) continue;
        return QString(ch);
    }
    return fallback;
}

// The numbers of a date or time text split at its separators; false when the
// text holds anything but digits and the separators.
bool SplitNumbers(const QString& text, const QString& separators, QList<int>& numbers, QList<int>& widths) {
    numbers.clear();
    widths.clear();
    QString current;
    const QString t = text.trimmed();
    if (t.isEmpty()) return false;
    for (int i = 0; i <= t.size(); ++i) {
        const bool end = i == t.size();
        const QChar ch = end ? QChar() : t.at(i);
        if (!end && ch.isDigit() && ch.unicode() < 128) {
            current += ch;
            continue;
        }
        if (!end && !separators.contains(ch)) return false;
        if (current.isEmpty() || current.size() > 4) return false;
        numbers.append(current.toInt());
        widths.append(current.size());
        current.clear();
    }
    return true;
}

}  // namespace

DateOrder ShortDateOrder() {
    const QString f = QLocale().dateFormat(QLocale::ShortFormat);
    const int d = f.indexOf(QLatin1Char('d'));
    const int m = f.indexOf(QLatin1Char('M'));
    const int y = f.indexOf(QLatin1Char('y'));
    if (y >= 0 && (d < 0 || y < d) && (m < 0 || y < m)) return DateOrder::YearFirst;
    if (d >= 0 && (m < 0 || d < m)) return DateOrder::DayFirst;
    return DateOrder::MonthFirst;
}

namespace {
QString DateSeparator() {
    if (ShortDateOrder() == DateOrder::YearFirst) return QStringLiteral("-");
    return FormatSeparator(QLocale().dateFormat(QLocale::ShortFormat), QStringLiteral("/"));
}
QString TimeSeparator() { return FormatSeparator(QLocale().timeFormat(QLocale::ShortFormat), QStringLiteral(":")); }
}  // namespace

QString FormatShortDate(DateValue value) {
    const QDate d = ToQDateTime(value).date();
    if (!d.isValid()) return QString();
    const QString s = DateSeparator();
    auto two = [](int v) { return QString::number(v).rightJustified(2, QLatin1Char('0')).right(2); };
    auto four = [](int v) { return QString::number(v).rightJustified(4, QLatin1Char('0')); };
    switch (ShortDateOrder()) {
        case DateOrder::DayFirst: return two(d.day()) + s + two(d.month()) + s + four(d.year());
        case DateOrder::MonthFirst: return two(d.month()) + s + two(d.day()) + s + four(d.year());
        case DateOrder::YearFirst:
            return QString::number(d.year()).rightJustified(4, QLatin1Char('0')) + s + two(d.month()) + s +
                   two(d.day());
    }
    return QString();
}

QString ShortDateMask() {
    return ShortDateOrder() == DateOrder::YearFirst ? QStringLiteral("0000_00_00") : QStringLiteral("00_00_0000");
}

QString ShortDateTooltip() {
    switch (ShortDateOrder()) {
        case DateOrder::DayFirst: return QStringLiteral("Date in dd%1mm%1yyyy format").arg(DateSeparator());
        case DateOrder::MonthFirst: return QStringLiteral("Date in mm%1dd%1yyyy format").arg(DateSeparator());
        case DateOrder::YearFirst: return QStringLiteral("Date in yyyy-mm-dd format");
    }
    return QString();
}

bool ParseShortDate(const QString& text, DateValue& date) {
    QList<int> n, w;
    if (!SplitNumbers(text, QStringLiteral("./-") + DateSeparator(), n, w) || n.size() != 3) return false;
    int day = 0, month = 0, year = 0, yearWidth = 0;
    switch (ShortDateOrder()) {
        case DateOrder::DayFirst: day = n[0]; month = n[1]; year = n[2]; yearWidth = w[2]; break;
        case DateOrder::MonthFirst: month = n[0]; day = n[1]; year = n[2]; yearWidth = w[2]; break;
        case DateOrder::YearFirst: year = n[0]; month = n[1]; day = n[2]; yearWidth = w[0]; break;
    }
    if (w[0] == 3 || w[1] == 3 || w[2] == 3) return false;
    if (yearWidth <= 2) year += year < 30 ? 2000 : 1900;
    if (year < 100 || !QDate(year, month, day).isValid()) return false;
    date = DateFromParts(year, month, day);
    return true;
}

QString FormatShortTime(DateValue value) {
    const QTime t = ToQDateTime(value).time();
    if (!t.isValid()) return QString();
    const QString s = TimeSeparator();
    return QString::number(t.hour()).rightJustified(2, QLatin1Char('0')) + s +
           QString::number(t.minute()).rightJustified(2, QLatin1Char('0'));
}

namespace {
bool ParseTimeParts(const QString& text, double& dayFraction, bool secondsRequired) {
    QList<int> n, w;
    if (!SplitNumbers(text, QStringLiteral(":.") + TimeSeparator(), n, w)) return false;
    if (n.size() != 3 && (secondsRequired || n.size() != 2)) return false;
    for (int width : w)
        if (width > 2) return false;
    const int h = n[0], m = n[1], s = n.size() == 3 ? n[2] : 0;
    if (h > 23 || m > 59 || s > 59) return false;
    dayFraction = (h * 3600 + m * 60 + s) / 86400.0;
    return true;
}
}  // namespace

bool ParseShortTime(const QString& text, double& dayFraction) { return ParseTimeParts(text, dayFraction, false); }

QString FormatTimeHMS(DateValue value) {
    const QTime t = ToQDateTime(value).time();
    if (!t.isValid()) return QStringLiteral("--:--:--");
    return t.toString(QStringLiteral("hh:mm:ss"));
}

bool ParseTimeHMS(const QString& text, double& dayFraction) { return ParseTimeParts(text, dayFraction, true); }

QString FormatLongDate(DateValue value) {
    const QDate d = ToQDateTime(value).date();
    return d.isValid() ? QLocale().toString(d, QLocale::LongFormat) : QString();
}
