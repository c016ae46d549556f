// The text forms of the program in the user's locale: numbers by pattern, angles
// in degrees and minutes, positions, dates and times; and their parses.
// The locale is QLocale() (the system's, or the one a test sets with
// QLocale::setDefault).
#pragma once
#include <QDateTime>
#include <QString>

#include "core/mTime.h"

// The locale's decimal separator ("." or ",", as the locale writes 1.5).
QString DecimalSeparator();

// A number in a fixed pattern with the locale's decimal separator: "00.0",
// "000.0", "0000", "00.00", "00.00000", "00-00.0" (4512.3 gives 45-12.3),
// "+00.0;-00.0", "+00;-00". Rounded half away from zero; a value that is not
// finite gives dashes of the pattern's width.
QString FormatNumber(double value, const QString& pattern);

// A number in the default text form: up to 7 significant digits for a single
// precision value, 15 for a double, the locale's decimal separator, no
// thousands separators, no trailing zeros (10, 43.5 or 43,5, -0.25).
QString NumberText(float value);
QString NumberText(double value);
// The text with its first foreign decimal separator ("," in a locale that writes
// "."; "." in any other) replaced by the locale's one: a settings text written
// under either locale reads back. Only the first occurrence is replaced.
QString NormalizeDecimalText(const QString& text);
// Reads a number text written with either decimal separator (the text goes
// through NormalizeDecimalText first). False for empty text, text that is not a
// number, or a number that is not finite.
bool ParseNumberText(const QString& text, double& value);

// Latitude or longitude: whole degrees ("00" or "000"), "-", minutes "00.0",
// the hemisphere letter ("N" for 0 and above, "S" below; "E", "W").
// 43.12 -> 43-07.2N; -131.9 -> 131-54.0W. Minutes that round to 60.0 are carried
// into the degrees (43.99999 -> 44-00.0N). Not finite: "--" + dashes to width.
QString FormatLatLon(double degrees, bool isLatitude);

// Sign field, whole degrees right-aligned to `width` with spaces, a space, then
// minutes "00.0". Sign field: with letters "N" (0 and above) or "S"; without
// letters " " or "-"; nothing when showSign is false. Minutes that round to 60.0
// are carried into the degrees.
// (-12.5, 2, true, false) -> "-12 30.0"; (3.25, 2, true, false) -> "  3 15.0".
QString FormatAngleDegMin(double degrees, int width, bool showSign, bool letters);

// A FormatAngleDegMin text with its units written in: the space between the
// degrees and the minutes becomes "°" and the minutes get "'" (" 123 45.6" ->
// " 123°45.6'"), for azimuths and bearings.
QString WithDegreeSigns(const QString& degMinText);

// Degrees of a position text "dd-mm.mH" / "ddd-mm.mH" (minutes in the locale's
// decimal form, hemisphere letter last), or kInvalidPosition when there is no
// "-", the degrees or minutes are not numbers, the minutes exceed 60 (exactly 60
// is accepted: 45-60.0N is 46 degrees), or the value is beyond 90 (latitude) or
// 180 (longitude) degrees. "N"/"E" positive, "S"/"W" negative, any other last
// character gives 0.
inline constexpr double kInvalidPosition = -999.0;
double ParsePositionText(const QString& text, bool isLatitude);

// Date-time values (days since 1899-12-30, the time as the fraction) and Qt's.
QDateTime ToQDateTime(DateValue value);
DateValue FromQDateTime(const QDateTime& dt);

// The order of the locale's short date.
enum class DateOrder { DayFirst, MonthFirst, YearFirst };
DateOrder ShortDateOrder();
// The locale's short date in a fixed width with a four-digit year: dd.MM.yyyy /
// MM/dd/yyyy with the locale's separator, or yyyy-MM-dd for a locale that writes
// the year first.
QString FormatShortDate(DateValue value);
// The mask of that form: "00_00_0000", or "0000_00_00" for the year-first form.
QString ShortDateMask();
// The form as the box shows it: "Date in dd.mm.yyyy format", "Date in
// mm/dd/yyyy format" (the locale's separator) or "Date in yyyy-mm-dd format".
QString ShortDateTooltip();
// Reads a date in the locale's order: three numbers separated by any of
// ". / -" or the locale's separator; a two-digit year 00-29 is 2000-2029 and
// 30-99 is 1930-1999. False when it is not a valid date.
bool ParseShortDate(const QString& text, DateValue& date);
// The locale's short time in the fixed form HH:mm (24 hours, the locale's time
// separator).
QString FormatShortTime(DateValue value);
// Reads "H:mm" or "H:mm:ss" (any of ":" "." or the locale's separator) into a
// fraction of a day. False when it is not a valid time of day.
bool ParseShortTime(const QString& text, double& dayFraction);
// The time of day "hh:mm:ss" (the sight times); ParseTimeHMS reads it back.
QString FormatTimeHMS(DateValue value);
bool ParseTimeHMS(const QString& text, double& dayFraction);
// The locale's long date ("Sunday, 6 December 2026").
QString FormatLongDate(DateValue value);
