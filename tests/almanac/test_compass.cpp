// The compass correction: the wrap of the signed correction, the list of bodies
// for "Other", the Sun's azimuth at rise and set and the words when there is none,
// the bearing instant and the check of the typed time.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "almanac/mCompass.h"
#include "app/mPublicVars.h"
#include "bodies/mStar.h"
#include "core/mBodyPosition.h"
#include "core/mFiles.h"
#include "core/mMath.h"
#include "core/mPlanet.h"
#include "core/mTime.h"
#include "reduction/mAltAz.h"
#include "riseset/mRiseSet.h"
#include "support/csv.h"

namespace {

class CompassTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        SetProgramFolder(std::string(VELTRANO_DATA_DIR) + "/..");
        ASSERT_TRUE(LoadStarFile().ok);
        ASSERT_TRUE(LoadPlanetData().ok);
    }
    void SetUp() override {
        NavigationState = DefaultNavigationState();
        NavigationState.hEye = 0.0f;
    }
};

}  // namespace

TEST(CompassCorrection, WrapsToTheShortWayRound) {
    EXPECT_EQ(FormatCorrection(CompassCorrection(1.0, 359.0)), "+002.0");   // not -358.0
    EXPECT_EQ(FormatCorrection(CompassCorrection(359.0, 1.0)), "-002.0");
    EXPECT_EQ(FormatCorrection(CompassCorrection(180.0, 0.0)), "+180.0");   // exactly 180 stays
    EXPECT_EQ(FormatCorrection(CompassCorrection(0.0, 180.0)), "-180.0");
    EXPECT_EQ(FormatCorrection(CompassCorrection(190.0, 0.0)), "-170.0");
    EXPECT_EQ(FormatCorrection(CompassCorrection(10.0, 200.0)), "+170.0");
    EXPECT_EQ(FormatCorrection(CompassCorrection(100.0, 103.5)), "-003.5");
    EXPECT_EQ(FormatCorrection(CompassCorrection(45.0, 45.0)), "000.0");
    EXPECT_EQ(FormatCorrection(CompassCorrection(0.0, 359.9)), "+000.1");
    EXPECT_FLOAT_EQ(CompassCorrection(1.0, 359.0), 2.0f);
}

TEST(CompassCorrection, ReadsTheLeadingNumberOfAText) {
    EXPECT_EQ(LeadingNumber("000.0"), 0.0);
    EXPECT_EQ(LeadingNumber("359.5"), 359.5);
    EXPECT_EQ(LeadingNumber("012.5 deg"), 12.5);
    EXPECT_EQ(LeadingNumber("12.3.4"), 12.3);
    EXPECT_EQ(LeadingNumber("-003.5"), -3.5);
    EXPECT_EQ(LeadingNumber("No sunrise"), 0.0);
    EXPECT_EQ(LeadingNumber(""), 0.0);
    EXPECT_EQ(FormatAzimuth(359.97), "000.0");  // the pattern's 360.0 is north
    EXPECT_EQ(FormatAzimuth(7.04), "007.0");
    EXPECT_EQ(FormatAzimuth(std::nan("")), "");
}

TEST(CompassTime, OnlyATimeOfDayIsAccepted) {
    double f = -1;
    EXPECT_TRUE(ParseTimeOfDay("12:30:15", f));
    EXPECT_DOUBLE_EQ(f, (12 * 3600 + 30 * 60 + 15) / 86400.0);
    EXPECT_TRUE(ParseTimeOfDay("23:59:59", f));
    EXPECT_TRUE(ParseTimeOfDay("00:00:00", f));
    EXPECT_EQ(f, 0.0);
    EXPECT_FALSE(ParseTimeOfDay("25:70:00", f));
    EXPECT_FALSE(ParseTimeOfDay("24:00:00", f));
    EXPECT_FALSE(ParseTimeOfDay("12:60:00", f));
    EXPECT_FALSE(ParseTimeOfDay("12:00:60", f));
    EXPECT_FALSE(ParseTimeOfDay("12:0a:00", f));
    EXPECT_FALSE(ParseTimeOfDay("12:00", f));
}

TEST(CompassTime, BearingInstantJustAfterLocalMidnightEastIsThePreviousUtDate) {
    // 00:30 local on 21 June in zone +10 is 14:30 UT on the 20th: the bearing's
    // UT time of day is put on the 20th.
    const DateValue local = DateFromParts(2024, 6, 21, 0, 30);
    const DateValue t = BearingInstant(local, 10.0, 14.5 / 24.0);
    EXPECT_DOUBLE_EQ(t, DateFromParts(2024, 6, 20, 14, 30));
    // West of Greenwich, late in the evening: the next UT date.
    EXPECT_DOUBLE_EQ(BearingInstant(DateFromParts(2024, 6, 21, 22, 0), -5.0, 0.125), DateFromParts(2024, 6, 22, 3, 0));
}

TEST_F(CompassTest, OtherListHoldsTheSecondStarListThenTheNineBodies) {
    // Independent of the loader: the star source table's "mae" column.
    const auto src = testsupport::ReadCsv(std::string(VELTRANO_TEST_DATA_DIR) + "/../../data/stars.csv");
    std::vector<int> expected;
    for (size_t i = 0; i < src.rows.size(); ++i)
        if (src.Num(i, "mae") >= 1) expected.push_back(static_cast<int>(src.Num(i, "hr")));
    ASSERT_GT(expected.size(), 50u);

    const auto items = CompassBodyList();
    ASSERT_EQ(items.size(), expected.size() + 9);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(items[i].Value, expected[i]) << i;
        EXPECT_EQ(items[i].Text, StarName(StarIndex(expected[i])));
    }
    EXPECT_EQ(items[0].Text, "Alpha Andromedae (Alpheratz)");
    const std::vector<std::string> bodies = {"Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Moon"};
    for (size_t k = 0; k < 9; ++k) {
        EXPECT_EQ(items[expected.size() + k].Text, "Planet: " + bodies[k]);
        EXPECT_EQ(items[expected.size() + k].Value, -static_cast<int>(k));
    }
    bool polaris = false;
    for (const auto& it : items) polaris = polaris || it.Value == kPolarisNumber;
    EXPECT_TRUE(polaris);
}

TEST_F(CompassTest, ListIndexFourIsJupiterAndEightTheMoon) {
    EXPECT_EQ(BodyIdFromListIndex(4), kBodyJupiter);
    EXPECT_EQ(BodyIdFromListIndex(8), kBodyMoon);
    EXPECT_EQ(BodyIdFromListIndex(2), kBodyVenus);
    const double jd = JulianDay(DateFromParts(2024, 3, 1, 20, 0), false, false);
    const double lat = 35.0, lon = 139.7;
    NavigationState.Lat = lat;
    const double jupiter = Norm360(AltAzimuth(jd, BodyPosition(jd, kBodyJupiter), lat, lon).x);
    const double mars = Norm360(AltAzimuth(jd, BodyPosition(jd, kBodyMars), lat, lon).x);
    const double saturn = Norm360(AltAzimuth(jd, BodyPosition(jd, kBodySaturn), lat, lon).x);
    EXPECT_DOUBLE_EQ(CompassItemAzimuth(jd, -4, lat, lon), jupiter);
    EXPECT_GT(std::fabs(jupiter - mars), 1.0);
    EXPECT_GT(std::fabs(jupiter - saturn), 1.0);
    const double moon = Norm360(AltAzimuth(jd, BodyPosition(jd, kBodyMoon), lat, lon).x);
    EXPECT_DOUBLE_EQ(CompassItemAzimuth(jd, -8, lat, lon), moon);
    // Polaris stands within about 1 deg of north.
    const double polaris = CompassItemAzimuth(jd, kPolarisNumber, lat, lon);
    EXPECT_LT(std::fmin(polaris, 360.0 - polaris), 1.0);
}

TEST_F(CompassTest, SunriseAndSunsetAzimuthAtTheEquatorAtTheEquinox) {
    NavigationState.Lat = 0.0;
    const DateValue local = DateFromParts(2024, 3, 20, 0, 0);
    const SunBearingEvent rise = SunRiseSetAzimuth(local, 0.0, 0.0, true);
    const SunBearingEvent set = SunRiseSetAzimuth(local, 0.0, 0.0, false);
    ASSERT_TRUE(rise.Found);
    ASSERT_TRUE(set.Found);
    // Azimuth 90 - declination at the equator (declination about +0.05 at rise).
    EXPECT_NEAR(rise.Azimuth, 90.0, 0.2);
    EXPECT_NEAR(set.Azimuth, 270.0, 0.3);
    EXPECT_NEAR((rise.Time - local) * 24.0, 6.0, 0.2);
}

TEST_F(CompassTest, NoSunriseInPolarDayOrNightGivesWordsNotATime) {
    NavigationState.Lat = 80.0;
    const SunBearingEvent day = SunRiseSetAzimuth(DateFromParts(2024, 6, 21), 80.0, 15.0, true);
    EXPECT_FALSE(day.Found);
    EXPECT_EQ(day.Marker, 1);
    EXPECT_EQ(SunEventTimeWords(day, true), "Always Above");
    EXPECT_EQ(SunEventAzimuthWords(day, true), "Sun never sets");
    const SunBearingEvent night = SunRiseSetAzimuth(DateFromParts(2024, 12, 21), 80.0, 15.0, false);
    EXPECT_FALSE(night.Found);
    EXPECT_EQ(night.Marker, -1);
    EXPECT_EQ(SunEventTimeWords(night, false), "Always Below");
    EXPECT_EQ(SunEventAzimuthWords(night, false), "Sun never rises");
    // The words never read as a number for the correction.
    EXPECT_EQ(LeadingNumber(SunEventAzimuthWords(night, false)), 0.0);
}

TEST_F(CompassTest, SunThatOnlyRisesInTheTwentyFourHours) {
    // 69.6 N on the Greenwich meridian, late May: the last short night is centred
    // on 00:00 UT, so the day that follows it has a sunrise and no sunset.
    NavigationState.Lat = 69.6;
    DateValue found = 0.0;
    for (int d = 10; d <= 31 && found == 0.0; ++d) {
        const DateValue t = DateFromParts(2024, 5, d);
        const RiseSetResult r = RiseSetTimes(t, 69.6, 0.0, 0, false);
        if (r.HasRise() && !r.HasSet() && !r.NoCrossing()) found = t;
    }
    ASSERT_NE(found, 0.0);
    const SunBearingEvent set = SunRiseSetAzimuth(found, 69.6, 0.0, false);
    EXPECT_FALSE(set.Found);
    EXPECT_EQ(set.Marker, 0);
    EXPECT_EQ(SunEventTimeWords(set, false), "No Set");
    EXPECT_EQ(SunEventAzimuthWords(set, false), "No sunset");
    const SunBearingEvent rise = SunRiseSetAzimuth(found, 69.6, 0.0, true);
    ASSERT_TRUE(rise.Found);
    EXPECT_LT(std::fmin(rise.Azimuth, 360.0 - rise.Azimuth), 10.0);  // rising close to north
}
