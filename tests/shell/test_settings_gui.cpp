// The nine settings: defaults, save and load, the other decimal separator, and
// stored texts that are not numbers. The store is the tests' temporary folder.
#include <gtest/gtest.h>

#include <QSettings>

#include "ui/mConvertion.h"
#include "support/gui_support.h"

namespace {

void Put(std::initializer_list<std::pair<const char*, const char*>> values) {
    for (const auto& [key, text] : values) PutSettings({{(std::string("General/") + key).c_str(), QLatin1String(text)}});
}

// Every stored field but the date; Lat and Lon are stored with 15 significant digits.
void ExpectSameSettings(const NavigationStateRecord& got, const NavigationStateRecord& want,
                        double tolStoredDeg = 1e-12) {
    auto tie = [](const NavigationStateRecord& s) { return std::tie(s.Temp, s.Pressure, s.hEye, s.i_s, s.Course, s.Speed, s.TZ); };
    EXPECT_EQ(tie(got), tie(want));
    EXPECT_NEAR(got.Lat, want.Lat, tolStoredDeg);
    EXPECT_NEAR(got.Lon, want.Lon, tolStoredDeg);
}

}  // namespace

// Saved and loaded in either locale; a value written with the other separator reads too.
TEST(Settings, SaveThenLoadRestoresEveryFieldInBothLocales) {
    for (const bool comma : {false, true}) {
        LocaleScope scope(comma ? CommaLocale() : PointLocale());
        ClearSettings();
        NavigationState = KnownState();
        NavigationState.Lat = -33.856;
        NavigationState.Lon = -151.2153;
        SaveSharedState();
        NavigationStateRecord back;
        ReadSettings(back);
        ExpectSameSettings(back, NavigationState);
        // The texts themselves: the locale's separator, no trailing zeros.
        QSettings s(QSettings::defaultFormat(), QSettings::UserScope, QStringLiteral("Veltrano"), QStringLiteral("Veltrano"));
        EXPECT_EQ((QStringList{s.value("General/Temp").toString(), s.value("General/Speed").toString(), s.value("General/i_s").toString()}),
                  (QStringList{"10", "12" + DecimalSeparator() + "5", "-1" + DecimalSeparator() + "2"}));
        Put({{"Lat", comma ? "43.5" : "43,5"}, {"Temp", comma ? "-3.5" : "-3,5"}});
        ReadSettings(back);
        EXPECT_TRUE(back.Lat == 43.5 && back.Temp == -3.5f) << comma << " " << back.Lat << " " << back.Temp;
    }
}

TEST(Settings, FirstRunAndGarbageGiveTheDefaults) {
    LocaleScope point(PointLocale());
    // The defaults: 10 C, 1010 mB, eye 15 m, speed 15 kn; the rest 0.
    NavigationStateRecord d{0.0, 0.0f, 0.0, 0.0, 0.0f, 15.0f, 10.0f, 1010.0f, 15.0f, 0.0f};
    ClearSettings();
    NavigationStateRecord s = KnownState();
    ReadSettings(s);
    ExpectSameSettings(s, d, 0.0);
    Put({{"Temp", "warm"}, {"Pressure", "nan"}, {"hEye", "inf"},
         {"Speed", "1,2,3"},  // two foreign separators: only the first is replaced
         {"Lat", "123"}, {"Lon", "-200"}, {"TZ", ""},  // beyond a pole, beyond the date line, empty
         {"Course", "1e60"},                          // beyond single precision
         {"i_s", "-1.5"}});
    s = KnownState();
    ReadSettings(s);
    d.i_s = -1.5f;
    ExpectSameSettings(s, d, 0.0);
    // Numbers the general information window refuses: out of their ranges, or beyond any the computations use.
    Put({{"hEye", "100.5"}, {"Temp", "-60.5"}, {"TZ", "99"}, {"Pressure", "0"}, {"Speed", "1e30"},
         {"i_s", "-1e30"}, {"Course", "3e+38"}});
    s = KnownState();
    ReadSettings(s);
    d.i_s = 0.0f;
    ExpectSameSettings(s, d, 0.0);
}

TEST(Settings, ASecondLoadReloadsNothing) {
    NavigationState = KnownState();
    NavigationState.Lat = 12.0;
    NavigationState.LocalDate = 1234.5;
    EXPECT_TRUE(LoadSharedState() && NavigationState.Lat == 12.0 && NavigationState.LocalDate == 1234.5);
}
