// The text forms in a point locale and in a comma locale.
#include <gtest/gtest.h>

#include "ui/mConvertion.h"
#include "support/gui_support.h"

namespace {
// The text in the locale's decimal separator.
QString Local(const char* s) { return QString::fromLatin1(s).replace(QLatin1Char('.'), DecimalSeparator()); }
}  // namespace

TEST(FormatLatLon, FormsAndMinuteCarryInBothLocales) {
    const std::tuple<double, bool, const char*> cases[] = {
        {43.12, true, "43-07.2N"},       {131.9, false, "131-54.0E"},     {-5.5, true, "05-30.0S"},
        {-0.25, false, "000-15.0W"},     {0.0, true, "00-00.0N"},         {0.9991, true, "00-59.9N"},
        {43.99999, true, "44-00.0N"},    {-179.99999, false, "180-00.0W"},  // 59.9994' carries
    };
    for (const QLocale& locale : {PointLocale(), CommaLocale()}) {
        LocaleScope scope(locale);
        for (const auto& [value, isLat, text] : cases) EXPECT_EQ(FormatLatLon(value, isLat), Local(text)) << text;
        EXPECT_FALSE(FormatLatLon(std::numeric_limits<double>::quiet_NaN(), true).contains(QLatin1String("nan")));
        // Beyond any angle (and beyond a long's whole degrees): the same dashes, no wrapped number.
        EXPECT_EQ(FormatLatLon(1e20, true), FormatLatLon(std::numeric_limits<double>::quiet_NaN(), true));
    }
    LocaleScope point(PointLocale());
    const std::tuple<double, int, bool, bool, const char*> angles[] = {
        {-12.5, 2, true, false, "-12 30.0"},  {3.25, 2, true, false, "  3 15.0"},
        {3.25, 2, true, true, "N 3 15.0"},    {-20.0, 2, true, true, "S20 00.0"},
        {359.999999, 3, false, false, "360 00.0"}, {45.0, 3, false, false, " 45 00.0"},
        {-0.0004, 2, true, false, "  0 00.0"}, {-0.0004, 2, true, true, "N 0 00.0"},  // a zero: no minus, no S
    };
    for (const auto& [value, width, sign, letters, text] : angles)
        EXPECT_EQ(FormatAngleDegMin(value, width, sign, letters), QLatin1String(text)) << text;
}

TEST(ParsePositionText, RulesInBothLocales) {
    const std::tuple<const char*, bool, double> cases[] = {
        {"43-07.2N", true, 43.12},   {"131-54.0W", false, -131.9},          {"45-60.0N", true, 46.0},
        {"45-60.1N", true, kInvalidPosition}, {"91-00.0N", true, kInvalidPosition},
        {"181-00.0E", false, kInvalidPosition}, {"180-00.0E", false, 180.0}, {"00-00.0S", true, 0.0},
        {"4307.2N", true, kInvalidPosition},  {"43-xx.xN", true, kInvalidPosition}, {"", true, kInvalidPosition},
        {"43-07.2Q", true, 0.0},  // an unknown letter gives 0
    };
    for (const QLocale& locale : {PointLocale(), CommaLocale()}) {
        LocaleScope scope(locale);
        for (const auto& [text, isLat, value] : cases)
            EXPECT_NEAR(ParsePositionText(Local(text), isLat), value, value == std::floor(value) ? 0.0 : 1e-12) << text;
        for (const char* either : {"43-07,2N", "43-07.2N"})  // written with either separator it reads
            EXPECT_NEAR(ParsePositionText(QLatin1String(either), true), 43.12, 1e-12) << either;
    }
}

TEST(NumberText, StoredFormsAndTheFirstForeignSeparator) {
    for (const bool comma : {false, true}) {
        LocaleScope scope(comma ? CommaLocale() : PointLocale());
        // Only the first foreign separator is replaced; no thousands separator.
        EXPECT_EQ(NormalizeDecimalText(QLatin1String(comma ? "1.2.3" : "1,2,3")), QLatin1String(comma ? "1,2.3" : "1.2,3"));
        EXPECT_EQ(NormalizeDecimalText(Local("43.5")), Local("43.5"));
        EXPECT_EQ(NumberText(12345.5f), Local("12345.5"));
        EXPECT_EQ(NumberText(1010.0f), QStringLiteral("1010"));
        EXPECT_EQ(NumberText(43.0 + 7.2 / 60.0), Local("43.12"));
    }
}

TEST(DatesAndTimes, ShortFormsByLocaleOrder) {
    const DateValue d = DateFromParts(2026, 1, 31, 9, 5);
    struct Case {
        QLocale locale;
        DateOrder order;
        const char *date, *tooltip, *mask;
    };
    const Case cases[] = {
        {PointLocale(), DateOrder::MonthFirst, "01/31/2026", "Date in mm/dd/yyyy format", "00_00_0000"},
        {CommaLocale(), DateOrder::DayFirst, "31.01.2026", "Date in dd.mm.yyyy format", "00_00_0000"},
        {QLocale(QLocale::Swedish, QLocale::Sweden), DateOrder::YearFirst, "2026-01-31", "Date in yyyy-mm-dd format",
         "0000_00_00"},
    };
    for (const Case& c : cases) {
        LocaleScope scope(c.locale);
        EXPECT_EQ(ShortDateOrder(), c.order);
        EXPECT_EQ((QStringList{FormatShortDate(d), ShortDateTooltip(), ShortDateMask(), FormatShortTime(d)}),
                  (QStringList{c.date, c.tooltip, c.mask, "09:05"}));
        DateValue back = 0;
        ASSERT_TRUE(ParseShortDate(QLatin1String(c.date), back)) << c.date;
        EXPECT_EQ(back, DateFromParts(2026, 1, 31));
    }
}

TEST(DatesAndTimes, ParsingAcceptsValidAndRefusesInvalid) {
    LocaleScope de(CommaLocale());
    const std::pair<const char*, DateValue> dates[] = {
        {"06.12.26", DateFromParts(2026, 12, 6)},     {"6.1.1999", DateFromParts(1999, 1, 6)},
        {"01.01.30", DateFromParts(1930, 1, 1)},  // 30-99: 1900s
        {"01.01.1900", DateFromParts(1900, 1, 1)}, {"31.12.2100", DateFromParts(2100, 12, 31)}};
    DateValue d = 0;
    for (const auto& [text, value] : dates) EXPECT_TRUE(ParseShortDate(QLatin1String(text), d) && d == value) << text;
    for (const char* bad : {"31.02.26", "06.13.26", "06.12", "06.12.26x", ""})
        EXPECT_FALSE(ParseShortDate(QLatin1String(bad), d)) << bad;
    EXPECT_EQ(FormatTimeHMS(DateFromParts(2026, 1, 1, 7, 8, 9)), QStringLiteral("07:08:09"));
}
