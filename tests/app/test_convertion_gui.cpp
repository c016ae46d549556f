// The text forms in a point locale and in a comma locale.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/mConvertion.h"
#include "app/mPublicVarsQt.h"
#include "gui_support.h"

TEST(FormatLatLon, FormsAndCarryInBothLocales) {
    {
        LocaleScope point(PointLocale());
        EXPECT_EQ(FormatLatLon(43.12, true), QStringLiteral("43-07.2N"));
        EXPECT_EQ(FormatLatLon(131.9, false), QStringLiteral("131-54.0E"));
        EXPECT_EQ(FormatLatLon(-5.5, true), QStringLiteral("05-30.0S"));
        EXPECT_EQ(FormatLatLon(-0.25, false), QStringLiteral("000-15.0W"));
        EXPECT_EQ(FormatLatLon(0.0, true), QStringLiteral("00-00.0N"));
        EXPECT_EQ(FormatLatLon(43.99999, true), QStringLiteral("44-00.0N"));
        EXPECT_EQ(FormatLatLon(-179.99999, false), QStringLiteral("180-00.0W"));
        EXPECT_FALSE(FormatLatLon(std::numeric_limits<double>::quiet_NaN(), true).contains(QLatin1String("nan")));
    }
    {
        LocaleScope comma(CommaLocale());
        EXPECT_EQ(FormatLatLon(43.12, true), QStringLiteral("43-07,2N"));
        EXPECT_EQ(FormatLatLon(43.99999, true), QStringLiteral("44-00,0N"));
    }
}

TEST(FormatAngleDegMin, WidthSignAndLetters) {
    LocaleScope point(PointLocale());
    EXPECT_EQ(FormatAngleDegMin(-12.5, 2, true, false), QStringLiteral("-12 30.0"));
    EXPECT_EQ(FormatAngleDegMin(3.25, 2, true, false), QStringLiteral("  3 15.0"));
    EXPECT_EQ(FormatAngleDegMin(3.25, 2, true, true), QStringLiteral("N 3 15.0"));
    EXPECT_EQ(FormatAngleDegMin(-20.0, 2, true, true), QStringLiteral("S20 00.0"));
    EXPECT_EQ(FormatAngleDegMin(359.999999, 3, false, false), QStringLiteral("360 00.0"));
    EXPECT_EQ(FormatAngleDegMin(45.0, 3, false, false), QStringLiteral(" 45 00.0"));
}

TEST(ParsePositionText, RulesInBothLocales) {
    for (const QLocale& locale : {PointLocale(), CommaLocale()}) {
        LocaleScope scope(locale);
        const QString sep = DecimalSeparator();
        auto t = [&](const char* s) { return QString::fromLatin1(s).replace(QLatin1Char('.'), sep); };
        EXPECT_NEAR(ParsePositionText(t("43-07.2N"), true), 43.12, 1e-12);
        EXPECT_NEAR(ParsePositionText(t("131-54.0W"), false), -131.9, 1e-12);
        EXPECT_DOUBLE_EQ(ParsePositionText(t("45-60.0N"), true), 46.0);
        EXPECT_EQ(ParsePositionText(t("45-60.1N"), true), kInvalidPosition);
        EXPECT_EQ(ParsePositionText(t("91-00.0N"), true), kInvalidPosition);
        EXPECT_EQ(ParsePositionText(t("181-00.0E"), false), kInvalidPosition);
        EXPECT_DOUBLE_EQ(ParsePositionText(t("180-00.0E"), false), 180.0);
        EXPECT_EQ(ParsePositionText(t("00-00.0S"), true), 0.0);
        EXPECT_EQ(ParsePositionText(t("4307.2N"), true), kInvalidPosition);
        EXPECT_EQ(ParsePositionText(t("43-xx.xN"), true), kInvalidPosition);
        EXPECT_EQ(ParsePositionText(QString(), true), kInvalidPosition);
        EXPECT_EQ(ParsePositionText(t("43-07.2Q"), true), 0.0);  // an unknown letter gives 0
        // Written with the other separator it still reads.
        EXPECT_NEAR(ParsePositionText(QStringLiteral("43-07,2N"), true), 43.12, 1e-12);
        EXPECT_NEAR(ParsePositionText(QStringLiteral("43-07.2N"), true), 43.12, 1e-12);
    }
}

TEST(NormalizeDecimalText, FirstForeignSeparatorOnly) {
    {
        LocaleScope point(PointLocale());
        EXPECT_EQ(DecimalSeparator(), QStringLiteral("."));
        EXPECT_EQ(NormalizeDecimalText(QStringLiteral("43,5")), QStringLiteral("43.5"));
        EXPECT_EQ(NormalizeDecimalText(QStringLiteral("43.5")), QStringLiteral("43.5"));
        EXPECT_EQ(NormalizeDecimalText(QStringLiteral("1,2,3")), QStringLiteral("1.2,3"));
    }
    {
        LocaleScope comma(CommaLocale());
        EXPECT_EQ(DecimalSeparator(), QStringLiteral(","));
        EXPECT_EQ(NormalizeDecimalText(QStringLiteral("43.5")), QStringLiteral("43,5"));
        EXPECT_EQ(NormalizeDecimalText(QStringLiteral("1.2.3")), QStringLiteral("1,2.3"));
    }
}

TEST(NumberText, DefaultFormsOfStoredValues) {
    {
        LocaleScope point(PointLocale());
        EXPECT_EQ(NumberText(10.0f), QStringLiteral("10"));
        EXPECT_EQ(NumberText(1010.0f), QStringLiteral("1010"));
        EXPECT_EQ(NumberText(12345.5f), QStringLiteral("12345.5"));  // no thousands separator
        EXPECT_EQ(NumberText(-1.2f), QStringLiteral("-1.2"));
        EXPECT_EQ(NumberText(43.5), QStringLiteral("43.5"));
        EXPECT_EQ(NumberText(43.0 + 7.2 / 60.0), QStringLiteral("43.12"));
    }
    {
        LocaleScope comma(CommaLocale());
        EXPECT_EQ(NumberText(43.5), QStringLiteral("43,5"));
        EXPECT_EQ(NumberText(12345.5f), QStringLiteral("12345,5"));
    }
}

TEST(DatesAndTimes, FixedWidthShortFormsByLocaleOrder) {
    const DateValue d = DateFromParts(2026, 1, 31, 9, 5);
    {
        LocaleScope us(PointLocale());
        EXPECT_EQ(ShortDateOrder(), DateOrder::MonthFirst);
        EXPECT_EQ(FormatShortDate(d), QStringLiteral("01/31/26"));
        EXPECT_EQ(ShortDateTooltip(), QStringLiteral("Date in mm/dd/yy format"));
        EXPECT_EQ(FormatShortTime(d), QStringLiteral("09:05"));
    }
    {
        LocaleScope de(CommaLocale());
        EXPECT_EQ(ShortDateOrder(), DateOrder::DayFirst);
        EXPECT_EQ(FormatShortDate(d), QStringLiteral("31.01.26"));
        EXPECT_EQ(ShortDateTooltip(), QStringLiteral("Date in dd.mm.yy format"));
        EXPECT_EQ(ShortDateMask(), QStringLiteral("00_00_00"));
    }
    {
        LocaleScope se(QLocale(QLocale::Swedish, QLocale::Sweden));
        EXPECT_EQ(ShortDateOrder(), DateOrder::YearFirst);
        EXPECT_EQ(FormatShortDate(d), QStringLiteral("2026-01-31"));
        EXPECT_EQ(ShortDateTooltip(), QStringLiteral("Date in yyyy-mm-dd format"));
        EXPECT_EQ(ShortDateMask(), QStringLiteral("0000_00_00"));
        DateValue back = 0;
        ASSERT_TRUE(ParseShortDate(QStringLiteral("2026-01-31"), back));
        EXPECT_EQ(back, DateFromParts(2026, 1, 31));
    }
}

TEST(DatesAndTimes, ParsingAcceptsValidAndRefusesInvalid) {
    LocaleScope de(CommaLocale());
    DateValue d = 0;
    ASSERT_TRUE(ParseShortDate(QStringLiteral("06.12.26"), d));
    EXPECT_EQ(d, DateFromParts(2026, 12, 6));
    ASSERT_TRUE(ParseShortDate(QStringLiteral("6.1.1999"), d));
    EXPECT_EQ(d, DateFromParts(1999, 1, 6));
    ASSERT_TRUE(ParseShortDate(QStringLiteral("01.01.30"), d));  // two-digit years 30-99: 1900s
    EXPECT_EQ(d, DateFromParts(1930, 1, 1));
    EXPECT_FALSE(ParseShortDate(QStringLiteral("31.02.26"), d));
    EXPECT_FALSE(ParseShortDate(QStringLiteral("06.13.26"), d));
    EXPECT_FALSE(ParseShortDate(QStringLiteral("06.12"), d));
    EXPECT_FALSE(ParseShortDate(QStringLiteral("06.12.26x"), d));
    EXPECT_FALSE(ParseShortDate(QString(), d));
    double t = 0;
    ASSERT_TRUE(ParseShortTime(QStringLiteral("14:35"), t));
    EXPECT_NEAR(t, (14 * 60 + 35) / 1440.0, 1e-15);
    EXPECT_FALSE(ParseShortTime(QStringLiteral("25:00"), t));
    EXPECT_FALSE(ParseShortTime(QStringLiteral("12:60"), t));
    EXPECT_FALSE(ParseShortTime(QStringLiteral("1235"), t));
    ASSERT_TRUE(ParseTimeHMS(QStringLiteral("23:59:59"), t));
    EXPECT_NEAR(t, 86399 / 86400.0, 1e-15);
    EXPECT_FALSE(ParseTimeHMS(QStringLiteral("23:59"), t));
    EXPECT_EQ(FormatTimeHMS(DateFromParts(2026, 1, 1, 7, 8, 9)), QStringLiteral("07:08:09"));
}
