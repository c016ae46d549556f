// The compass correction window, offscreen: the sunrise azimuth at load, words when
// the Sun does not rise or a body is below the horizon, the "Other" list, an invalid
// bearing time, typed bearings, a correction that goes with its azimuth.

#include <QComboBox>
#include <QRadioButton>
#include <memory>

#include "almanac/frmCompas.h"
#include "almanac/mCompass.h"
#include "core/mTextForms.h"
#include "riseset/mRiseSet.h"
#include "support/gui_support.h"
#include "support/nav_fixture.h"

namespace {

void SetState(DateValue local, double lat, double lon, float tz) {
    NavigationState = testsupport::DrState(local, tz, lat, lon, 0.0f, DefaultNavigationState().Speed);
}

class CompassWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::LoadDataFiles(); }
    LocaleScope point_{PointLocale()};
};

std::unique_ptr<frmCompas> Open() {
    auto w = std::make_unique<frmCompas>();
    w->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    return w;
}

// The time box and the azimuth label as the user reads them.
QString Shown(const frmCompas& w) { return w.Text1->text() + '|' + w.Label2->text(); }

}  // namespace

TEST_F(CompassWindow, OpensWithTheSunriseAzimuth) {
    SetState(DateFromParts(2024, 3, 20, 0, 0), 0.0, 0.0, 0.0f);
    auto w = Open();
    EXPECT_TRUE(w->Option1[0]->isChecked() && !w->Combo1->isVisible() && !w->Text1->isEnabled());
    EXPECT_EQ(w->Text2->text() + '|' + w->Label4->text(), QStringLiteral("000.0|"));  // no correction before one is calculated
    // Sunrise at the equator at the equinox.
    const SunBearingEvent e = SunRiseSetAzimuth(NavigationState.LocalDate, 0.0, 0.0, true, HorizonOf(NavigationState));
    ASSERT_TRUE(e.Found);
    EXPECT_EQ(w->Text1->text(), QString::fromStdString(TimeOfDayText(e.Time)));
    EXPECT_EQ(w->Label2->text(), QString::fromStdString(FormatAzimuth(e.Azimuth)) + QChar(0x00B0));
    const QString data = w->Label1->text();
    EXPECT_TRUE(data.startsWith(QStringLiteral("Date: 03/20/2024 00:00, TimeZone = 0\n")) &&
                data.contains(QStringLiteral(", COG = 0, SOG = 15 kt\n")) && data.endsWith(QStringLiteral("H = 15 m, i+s = 0 min")))
        << data.toStdString();
    // Sun Set: the azimuth in the west.
    QTest::mouseClick(w->Option1[1], Qt::LeftButton);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^18:.*\\|2(70|69)")).match(Shown(*w)).hasMatch()) << Shown(*w).toStdString();
}

// The words are read in the fixed-width time box and azimuth label, whole.
void ExpectWordsReadable(const frmCompas& w) {
    const int boxRoom = w.Text1->contentsRect().width() - 4;  // the line edit's inner margins
    EXPECT_LE(w.Text1->fontMetrics().horizontalAdvance(w.Text1->text()), boxRoom) << w.Text1->text().toStdString();
    EXPECT_LE(w.Label2->fontMetrics().horizontalAdvance(w.Label2->text()), w.Label2->contentsRect().width())
        << w.Label2->text().toStdString();
}

TEST_F(CompassWindow, NoSunriseInPolarDayOrNightShowsWordsAndNoCorrection) {
    SetState(DateFromParts(2024, 12, 21, 8, 0), 80.0, 15.0, 1.0f);
    auto w = Open();
    EXPECT_EQ(Shown(*w), QStringLiteral("No Rise|Down 24 h"));
    ExpectWordsReadable(*w);
    SetState(DateFromParts(2024, 6, 21, 8, 0), 80.0, 15.0, 1.0f);
    w = Open();
    EXPECT_EQ(Shown(*w), QStringLiteral("No Rise|Up 24 h"));
    TypeInto(w->Text2, QStringLiteral("0450"));
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_EQ(w->Label4->text(), QString());  // not a correction from a 0 read out of words
    QTest::mouseClick(w->Option1[1], Qt::LeftButton);
    EXPECT_EQ(Shown(*w), QStringLiteral("No Set|Up 24 h"));
    // Polaris after the words: the time box gets a time to overtype and works.
    QTest::mouseClick(w->Option1[2], Qt::LeftButton);
    EXPECT_TRUE(w->Text1->isEnabled() && w->Text1->text() == QStringLiteral("00:00:00")) << w->Text1->text().toStdString();
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_FALSE(w->Label4->text().isEmpty());
}

TEST_F(CompassWindow, OtherListsTheStarsThenTheBodiesAndJupiterIsBodyFive) {
    // 00:30 local in zone +10: the bearing's UT time is put on the previous UT date.
    SetState(DateFromParts(2024, 6, 21, 0, 30), 35.0, 139.7, 10.0f);
    auto w = Open();
    QTest::mouseClick(w->Option1[3], Qt::LeftButton);
    const auto items = CompassBodyList();
    ASSERT_EQ(w->Combo1->count(), static_cast<int>(items.size()));
    EXPECT_TRUE(w->Combo1->isVisible() && w->Text1->isEnabled() && w->Combo1->currentIndex() == 0);
    const int stars = w->Combo1->count() - 9;
    EXPECT_TRUE(w->Combo1->itemText(stars + 4) == QStringLiteral("Planet: Jupiter") && w->Combo1->itemData(stars + 4).toInt() == -4);
    // Text1 kept the sunrise time: the first star's azimuth at that UT time on 20 June.
    double f = 0.0;
    ASSERT_TRUE(ParseTimeOfDay(w->Text1->text().toStdString(), f));
    const double jd = JulianDay(DateFromParts(2024, 6, 20) + f, false, false);
    EXPECT_EQ(w->Label2->text(), QString::fromStdString(FormatAzimuth(CompassItemAzimuth(jd, items[0].Value, 35.0, 139.7))) + QChar(0x00B0));
    // Jupiter at 20:30:00 UT, 05:30 in Tokyo: up in the morning sky.
    TypeInto(w->Text1, QStringLiteral("203000"));
    EXPECT_EQ(w->Text1->text(), QStringLiteral("20:30:00"));
    w->Combo1->setCurrentIndex(stars + 4);
    emit w->Combo1->activated(stars + 4);
    const double jdJ = JulianDay(DateFromParts(2024, 6, 20, 20, 30), false, false);
    ASSERT_TRUE(CompassItemPlace(jdJ, -4, 35.0, 139.7, HorizonOf(NavigationState)).AboveHorizon);
    const QString jupiter = QString::fromStdString(FormatAzimuth(CompassItemAzimuth(jdJ, -4, 35.0, 139.7))) + QChar(0x00B0);
    EXPECT_EQ(w->Label2->text(), jupiter);
}

TEST_F(CompassWindow, PolarisBearingTimeRefusedWrapsThroughNorthAndBelowFromTheSouth) {
    SetState(DateFromParts(2024, 1, 10, 20, 0), 43.1, 131.9, 10.0f);
    auto w = Open();
    DialogRecorder rec;
    QTest::mouseClick(w->Option1[2], Qt::LeftButton);
    ASSERT_TRUE(rec.messages.empty());
    ASSERT_FALSE(w->Label2->text().isEmpty());
    TypeInto(w->Text1, QStringLiteral("257000"));
    EXPECT_EQ(w->Text1->text(), QStringLiteral("25:70:00"));
    QTest::mouseClick(w->Option1[2], Qt::LeftButton);
    ASSERT_EQ(rec.messages.size(), 1u);
    EXPECT_TRUE(rec.messages[0].title == QStringLiteral("Error") && rec.messages[0].text.startsWith(QStringLiteral("Invalid time format!")) &&
                rec.messages[0].text.contains(QStringLiteral("25:70:00"))) << rec.messages[0].text.toStdString();
    EXPECT_EQ(w->Label2->text(), QString());
    QTest::mouseClick(w->Command1, Qt::LeftButton);  // Calculate reads the time again: refused again
    EXPECT_EQ(w->Label4->text(), QString());
    ASSERT_EQ(rec.messages.size(), 2u);
    // A valid time: Polaris's azimuth, and a bearing of 359.0 gives the short way round.
    TypeInto(w->Text1, QStringLiteral("103000"));
    QTest::mouseClick(w->Option1[2], Qt::LeftButton);
    const double jd = JulianDay(DateFromParts(2024, 1, 10, 10, 30), false, false);
    EXPECT_EQ(w->Label2->text(),
              QString::fromStdString(FormatAzimuth(CompassItemAzimuth(jd, kPolarisNumber, 43.1, 131.9))) + QChar(0x00B0));
    TypeInto(w->Text2, QStringLiteral("3590"));
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    const float c = CompassCorrection(LeadingNumber(w->Label2->text().toStdString()), 359.0);
    EXPECT_LT(std::fabs(c), 3.0f);
    EXPECT_EQ(w->Label4->text(), QString::fromStdString(FormatCorrection(c)) + QChar(0x00B0));
    // Another azimuth: the old correction goes with the old one.
    QTest::mouseClick(w->Option1[3], Qt::LeftButton);
    EXPECT_FALSE(w->Label2->text().isEmpty());
    EXPECT_EQ(w->Label4->text(), QString());
    // From 30 S Polaris never rises: said so, with no azimuth and no correction.
    NavigationState.Lat = -30.0;
    QTest::mouseClick(w->Option1[2], Qt::LeftButton);
    EXPECT_TRUE(w->Label2->text() == QStringLiteral("Below") && w->Label2->toolTip().contains(QStringLiteral("horizon")));
    ExpectWordsReadable(*w);
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    EXPECT_TRUE(w->Label4->text().isEmpty() && rec.messages.size() == 2u);
}

// A new time clears the azimuth shown; Calculate computes it for the time typed.
// The sunrise is the first one after the working instant, never an earlier one.
TEST_F(CompassWindow, CalculateUsesTheTimeTypedAndSunriseFollowsTheWorkingInstant) {
    // 07:00 zone time in zone -2 is 09:00 UT; at 30 W the Sun rose about 08:30 UT.
    SetState(DateFromParts(2024, 3, 20, 7, 0), 0.0, -30.0, -2.0f);
    auto w = Open();
    const DateValue workingUt = DateFromParts(2024, 3, 20, 9, 0);
    const SunBearingEvent e = SunRiseSetAzimuth(workingUt, 0.0, -30.0, true, HorizonOf(NavigationState));
    ASSERT_TRUE(e.Found);
    EXPECT_TRUE(e.Time > workingUt && e.Time < workingUt + 1.0);
    EXPECT_EQ(w->Text1->text(), QString::fromStdString(TimeOfDayText(e.Time)));
    EXPECT_FALSE(w->lblEventDate->text().isEmpty());  // tomorrow's sunrise says its date
    // The Moon at one time, then another typed: the old azimuth goes at once.
    QTest::mouseClick(w->Option1[3], Qt::LeftButton);
    const int moon = w->Combo1->count() - 1;
    w->Combo1->setCurrentIndex(moon);
    TypeInto(w->Text1, QStringLiteral("092354"));
    emit w->Combo1->activated(moon);
    const QString first = w->Label2->text();
    ASSERT_FALSE(first.isEmpty());
    TypeInto(w->Text1, QStringLiteral("191400"));
    EXPECT_EQ(w->Label2->text(), QString());
    TypeInto(w->Text2, QStringLiteral("1200"));
    QTest::mouseClick(w->Command1, Qt::LeftButton);
    const CompassPlace p = CompassItemPlace(JulianDay(DateFromParts(2024, 3, 20, 19, 14), false, false), -8, 0.0, -30.0,
                                           HorizonOf(NavigationState));
    ASSERT_TRUE(p.AboveHorizon);  // the Moon at first quarter, high in the evening
    EXPECT_EQ(w->Label2->text(), QString::fromStdString(FormatAzimuth(p.Azimuth)) + QChar(0x00B0));
    EXPECT_FALSE(w->Label4->text().isEmpty());
}
