// The compass correction: the signed correction's wrap, the "Other" list, the Sun's
// azimuth at rise and set or the words when there is none, the bearing instant.

#include <climits>
#include <tuple>

#include "almanac/mCompass.h"
#include "core/mReport.h"
#include "reduction/mAltAz.h"
#include "riseset/mRiseSet.h"
#include "support/csv.h"
#include "support/nav_fixture.h"

namespace {
class CompassTest : public testsupport::NavFixture {
protected:
    const Horizon sea{0.0, 10.0, 1010.0};  // the eye at the sea, standard air
};
int g_invalidIndexReports = 0;
void CountReport(const std::string&, const std::string& text) { g_invalidIndexReports += text == "Invalid planet index!"; }
}  // namespace

TEST(CompassCorrection, WrapsToTheShortWayRoundAndItsTexts) {
    const std::tuple<double, double, const char*> cases[] = {
        {1.0, 359.0, "+002.0"}, {359.0, 1.0, "-002.0"},  // not -358.0
        {180.0, 0.0, "+180.0"}, {0.0, 180.0, "-180.0"},  // exactly 180 stays
        {190.0, 0.0, "-170.0"}, {10.0, 200.0, "+170.0"}, {100.0, 103.5, "-003.5"},
        {45.0, 45.0, "000.0"},  {0.0, 359.9, "+000.1"}};
    for (const auto& [azimuth, bearing, want] : cases)
        EXPECT_EQ(FormatCorrection(CompassCorrection(azimuth, bearing)), want) << azimuth << " " << bearing;
    const std::pair<const char*, double> numbers[] = {{"000.0", 0.0},   {"359.5", 359.5}, {"012.5 deg", 12.5},
                                                      {"12.3.4", 12.3}, {"-003.5", -3.5}, {"No sunrise", 0.0},
                                                      {"", 0.0}};
    for (const auto& [text, value] : numbers) EXPECT_EQ(LeadingNumber(text), value) << text;
    EXPECT_EQ(FormatAzimuth(359.97), "000.0");  // the pattern's 360.0 is north
    EXPECT_EQ(FormatAzimuth(std::nan("")), "");
}

TEST_F(CompassTest, AnItemValueThatNamesNoBodyIsReportedNeverNegated) {
    const ReportHook old = SetReportHook(&CountReport);
    g_invalidIndexReports = 0;
    CompassItemAzimuth(2460385.0, INT_MIN, 40.0, 0.0);  // -INT_MIN is no int
    SetReportHook(old);
    EXPECT_EQ(g_invalidIndexReports, 1);
    EXPECT_TRUE(std::isnan(CompassCorrection(1e300, 0.0)));  // beyond single precision
}

TEST(CompassTime, BearingInstantTakesTheNeighbouringUtDate) {
    // 00:30 local on 21 June in zone +10 is 14:30 UT on the 20th; west of Greenwich late
    // in the evening, the next UT date.
    EXPECT_DOUBLE_EQ(BearingInstant(DateFromParts(2024, 6, 21, 0, 30), 10.0, 14.5 / 24.0), DateFromParts(2024, 6, 20, 14, 30));
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
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(items[i].Value, expected[i]) << i;
    EXPECT_EQ(items[0].Text, "Alpha Andromedae (Alpheratz)");
    // Each body's value -k names its body: list index four is Jupiter, eight the Moon.
    const char* bodies[] = {"Sun", "Mercury", "Venus", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune", "Moon"};
    const int ids[] = {kBodySun, kBodyMercury, kBodyVenus, kBodyMars, kBodyJupiter, kBodySaturn, kBodyUranus, kBodyNeptune, kBodyMoon};
    const double jd = JulianDay(DateFromParts(2024, 3, 1, 20, 0), false, false), lat = 35.0, lon = 139.7;
    for (size_t k = 0; k < 9; ++k) {
        const auto& item = items[expected.size() + k];
        EXPECT_TRUE(item.Text == std::string("Planet: ") + bodies[k] && item.Value == -static_cast<int>(k)) << k;
        EXPECT_DOUBLE_EQ(CompassItemAzimuth(jd, item.Value, lat, lon), Norm360(AltAzimuth(jd, BodyPosition(jd, ids[k]), lat, lon).x)) << k;
    }
    const double polaris = CompassItemAzimuth(jd, kPolarisNumber, lat, lon);  // within about 1 deg of north
    EXPECT_LT(std::fmin(polaris, 360.0 - polaris), 1.0);
}

TEST_F(CompassTest, SunAzimuthAtRiseAndSetOrTheMarkerAndASunThatOnlyRises) {
    // Equator at the equinox: azimuth 90 - declination (about +0.05 at rise).
    const DateValue local = DateFromParts(2024, 3, 20, 0, 0);
    const SunBearingEvent rise = SunRiseSetAzimuth(local, 0.0, 0.0, true, sea), set = SunRiseSetAzimuth(local, 0.0, 0.0, false, sea);
    ASSERT_TRUE(rise.Found && set.Found);
    EXPECT_TRUE(std::fabs(rise.Azimuth - 90.0) <= 0.2 && std::fabs(set.Azimuth - 270.0) <= 0.3 &&
                std::fabs((rise.Time - local) * 24.0 - 6.0) <= 0.2) << rise.Azimuth << " " << set.Azimuth << " " << rise.Time;
    // 80 N: no rise or set in polar day (+1) or night (-1); the window shows the words.
    const SunBearingEvent day = SunRiseSetAzimuth(DateFromParts(2024, 6, 21), 80.0, 15.0, true, sea);
    const SunBearingEvent night = SunRiseSetAzimuth(DateFromParts(2024, 12, 21), 80.0, 15.0, false, sea);
    EXPECT_TRUE(!day.Found && day.Marker == 1 && !night.Found && night.Marker == -1);
    EXPECT_EQ(LeadingNumber(SunEventAzimuthWords(night, false)), 0.0);  // words never read as a number
    // 69.6 N on the Greenwich meridian, late May: the last short night is centred on
    // 00:00 UT, so the day that follows has a sunrise and no sunset.
    DateValue found = 0.0;
    for (int d = 10; d <= 31 && found == 0.0; ++d) {
        const RiseSetResult r = RiseSetTimes(DateFromParts(2024, 5, d), 69.6, 0.0, 0, false, sea);
        if (r.HasRise() && !r.HasSet() && !r.NoCrossing()) found = DateFromParts(2024, 5, d);
    }
    ASSERT_NE(found, 0.0);
    const SunBearingEvent onlySet = SunRiseSetAzimuth(found, 69.6, 0.0, false, sea);
    EXPECT_TRUE(!onlySet.Found && onlySet.Marker == 0);
    EXPECT_EQ(SunEventTimeWords(onlySet, false) + "|" + SunEventAzimuthWords(onlySet, false), "No Set|No sunset");
    const SunBearingEvent onlyRise = SunRiseSetAzimuth(found, 69.6, 0.0, true, sea);
    ASSERT_TRUE(onlyRise.Found);
    EXPECT_LT(std::fmin(onlyRise.Azimuth, 360.0 - onlyRise.Azimuth), 10.0);  // rising close to north
}
