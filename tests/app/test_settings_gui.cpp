// The nine settings: defaults, save and load, the other decimal separator, and
// stored texts that are not numbers. The store is the tests' temporary folder.
#include <gtest/gtest.h>

#include <QSettings>

#include "app/mConvertion.h"
#include "app/mPublicVarsQt.h"
#include "gui_support.h"

namespace {

void Store(const char* key, const QString& text) {
    QSettings s(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Veltrano"), QStringLiteral("Veltrano"));
    s.setValue(QStringLiteral("General/") + QLatin1String(key), text);
    s.sync();
}

QString Stored(const char* key) {
    QSettings s(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Veltrano"), QStringLiteral("Veltrano"));
    return s.value(QStringLiteral("General/") + QLatin1String(key)).toString();
}

// Lat and Lon are stored with 15 significant digits.
constexpr double kTolStoredDeg = 1e-12;

}  // namespace

TEST(Settings, FirstRunGivesTheDefaults) {
    ClearSettings();
    NavigationStateRecord s = KnownState();
    ReadSettings(s);
    EXPECT_EQ(s.Temp, 10.0f);
    EXPECT_EQ(s.Pressure, 1010.0f);
    EXPECT_EQ(s.hEye, 15.0f);
    EXPECT_EQ(s.i_s, 0.0f);
    EXPECT_EQ(s.Course, 0.0f);
    EXPECT_EQ(s.Speed, 15.0f);
    EXPECT_EQ(s.Lat, 0.0);
    EXPECT_EQ(s.Lon, 0.0);
    EXPECT_EQ(s.TZ, 0.0f);
}

TEST(Settings, SaveThenLoadRestoresEveryFieldInBothLocales) {
    for (const QLocale& locale : {PointLocale(), CommaLocale()}) {
        LocaleScope scope(locale);
        ClearSettings();
        NavigationState = KnownState();
        NavigationState.Lat = -33.856;
        NavigationState.Lon = -151.2153;
        SaveSharedState();
        NavigationStateRecord back;
        ReadSettings(back);
        EXPECT_EQ(back.Temp, NavigationState.Temp);
        EXPECT_EQ(back.Pressure, NavigationState.Pressure);
        EXPECT_EQ(back.hEye, NavigationState.hEye);
        EXPECT_EQ(back.i_s, NavigationState.i_s);
        EXPECT_EQ(back.Course, NavigationState.Course);
        EXPECT_EQ(back.Speed, NavigationState.Speed);
        EXPECT_NEAR(back.Lat, NavigationState.Lat, kTolStoredDeg);
        EXPECT_NEAR(back.Lon, NavigationState.Lon, kTolStoredDeg);
        EXPECT_EQ(back.TZ, NavigationState.TZ);
        // The texts themselves: the locale's separator, no trailing zeros.
        EXPECT_EQ(Stored("Temp"), QStringLiteral("10"));
        EXPECT_EQ(Stored("Speed"), QStringLiteral("12") + DecimalSeparator() + QStringLiteral("5"));
        EXPECT_EQ(Stored("i_s"), QStringLiteral("-1") + DecimalSeparator() + QStringLiteral("2"));
    }
}

TEST(Settings, AValueWrittenWithTheOtherSeparatorReadsBack) {
    {
        LocaleScope comma(CommaLocale());
        ClearSettings();
        Store("Lat", QStringLiteral("43.5"));
        Store("Speed", QStringLiteral("15.5"));
        NavigationStateRecord s;
        ReadSettings(s);
        EXPECT_DOUBLE_EQ(s.Lat, 43.5);
        EXPECT_EQ(s.Speed, 15.5f);
    }
    {
        LocaleScope point(PointLocale());
        ClearSettings();
        Store("Lat", QStringLiteral("43,5"));
        Store("Temp", QStringLiteral("-3,5"));
        NavigationStateRecord s;
        ReadSettings(s);
        EXPECT_DOUBLE_EQ(s.Lat, 43.5);
        EXPECT_EQ(s.Temp, -3.5f);
    }
}

TEST(Settings, GarbageFallsBackToTheDefault) {
    LocaleScope point(PointLocale());
    ClearSettings();
    Store("Temp", QStringLiteral("warm"));
    Store("Pressure", QStringLiteral("nan"));
    Store("hEye", QStringLiteral("inf"));
    Store("Speed", QStringLiteral("1,2,3"));  // two foreign separators: only the first is replaced
    Store("Lat", QStringLiteral("123"));      // beyond a pole
    Store("Lon", QStringLiteral("-200"));
    Store("TZ", QStringLiteral(""));
    Store("Course", QStringLiteral("1e60"));  // beyond single precision
    NavigationStateRecord s;
    ReadSettings(s);
    const NavigationStateRecord d = DefaultNavigationState();
    EXPECT_EQ(s.Temp, d.Temp);
    EXPECT_EQ(s.Pressure, d.Pressure);
    EXPECT_EQ(s.hEye, d.hEye);
    EXPECT_EQ(s.Speed, d.Speed);
    EXPECT_EQ(s.Lat, d.Lat);
    EXPECT_EQ(s.Lon, d.Lon);
    EXPECT_EQ(s.TZ, d.TZ);
    EXPECT_EQ(s.Course, d.Course);
}

TEST(Settings, ASecondLoadReloadsNothing) {
    NavigationState = KnownState();
    NavigationState.Lat = 12.0;
    NavigationState.LocalDate = 1234.5;
    EXPECT_TRUE(LoadSharedState());
    EXPECT_EQ(NavigationState.Lat, 12.0);
    EXPECT_EQ(NavigationState.LocalDate, 1234.5);
}
