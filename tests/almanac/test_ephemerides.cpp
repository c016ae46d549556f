// The hourly almanac page: its instants and its numbers against the Swiss Ephemeris.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

#include "almanac/mEphemerides.h"
#include "almanac_env.h"
#include "core/mBodyPosition.h"
#include "support/csv.h"

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new PlanetDataEnvironment);

// The page shows a tenth of an arc minute; the Sun's and the planets' numbers must be
// right to that (the planetary series and the reduction are good to about 1").
constexpr double kTolPageArcmin = 0.1;
// The Moon's theory (60 + 60 periodic terms) is itself good to about 10" only: its hour
// angle can be out by more than the page's last digit (measured 0.14' at most, 1900-2100).
constexpr double kTolMoonArcmin = 0.2;
// Aries is the sidereal time alone: the 1982 sidereal time with the 1980 nutation
// agrees with the reference's within milliarcseconds.
constexpr double kTolAriesArcmin = 0.01;

std::string Lower(std::string s) {
    for (char& ch : s) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return s;
}

double WrapDiffDeg(double a, double b) {
    double d = std::fmod(a - b, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

TEST(EphemerisPage, HasTwentyFourHourlyRowsFromZeroToTwentyThree) {
    const DateValue date = DateFromParts(2024, 1, 11, 15, 40);
    const auto page = EphemerisPage(date);
    ASSERT_EQ(page.size(), 24u);
    for (int i = 0; i < 24; ++i) {
        EXPECT_EQ(page[i].hour, i);
        EXPECT_NEAR((page[i].jd - page[0].jd) * 24.0, i, 1e-6) << "row " << i << " is not one hour after the last";
    }
}

TEST(EphemerisPage, StartsAtZeroHoursUtOfTheLocalCalendarDate) {
    // Just after local midnight in a zone ten hours east of Greenwich the UT is still the
    // previous day, 14:30; the page is nevertheless that of the local calendar date.
    const DateValue local = DateFromParts(2024, 1, 11, 0, 30);
    const double start = EphemerisPageStart(local);
    EXPECT_DOUBLE_EQ(start, JulianDay(DateFromParts(2024, 1, 11), false, false));
    // 2024-01-11 0 h UT is JD 2460320.5; the TT start is that plus Delta T (about a minute).
    EXPECT_GT(start, 2460320.5);
    EXPECT_LT(start, 2460320.5 + 200.0 / 86400.0);
    // The late evening of the same local date gives the same page.
    EXPECT_DOUBLE_EQ(EphemerisPageStart(DateFromParts(2024, 1, 11, 23, 59, 59)), start);
}

TEST(EphemerisPage, AriesOfTheFirstRowIsTheSiderealTimeOfZeroHoursUt) {
    // Swiss Ephemeris: Greenwich apparent sidereal time of 2024-01-11 0 h UT.
    const auto ref = testsupport::ReadCsv(testsupport::TestData("almanac_page_reference.csv"));
    bool found = false;
    for (size_t r = 0; r < ref.rows.size(); ++r) {
        if (ref.Num(r, "year") != 2024 || ref.Num(r, "month") != 1 || ref.Num(r, "day") != 11 || ref.Num(r, "hour") != 0)
            continue;
        found = true;
        const auto page = EphemerisPage(DateFromParts(2024, 1, 11, 9, 0));
        EXPECT_NEAR(WrapDiffDeg(page[0].aries, ref.Num(r, "aries")) * 60.0, 0.0, kTolAriesArcmin);
    }
    EXPECT_TRUE(found);
}

TEST(EphemerisPage, RowsAgreeWithTheSwissEphemerisAtTheSameTT) {
    const auto ref = testsupport::ReadCsv(testsupport::TestData("almanac_page_reference.csv"));
    ASSERT_EQ(ref.rows.size(), 12u * 24u);
    std::map<std::tuple<int, int, int>, std::array<EphemerisRow, kEphemerisHours>> pages;
    testsupport::ErrorStats aries, gha[kEphemerisBodyCount], dec[kEphemerisBodyCount];
    double worstTT = 0.0;
    int moonBeyondLastDigit = 0;
    for (size_t r = 0; r < ref.rows.size(); ++r) {
        const int y = static_cast<int>(ref.Num(r, "year"));
        const int m = static_cast<int>(ref.Num(r, "month"));
        const int d = static_cast<int>(ref.Num(r, "day"));
        const int h = static_cast<int>(ref.Num(r, "hour"));
        auto key = std::make_tuple(y, m, d);
        if (!pages.count(key)) pages[key] = EphemerisPage(DateFromParts(y, m, d, 12));
        const EphemerisRow& row = pages[key].at(h);
        // The reference row is at the same TT (its Delta T is the program's convention).
        worstTT = std::fmax(worstTT, std::fabs(row.jd - ref.Num(r, "jd_tt")) * 86400.0);
        aries.Add(WrapDiffDeg(row.aries, ref.Num(r, "aries")) * 60.0);
        for (int c = 0; c < kEphemerisBodyCount; ++c) {
            const std::string name = Lower(kEphemerisColumns[c].header);
            gha[c].Add(WrapDiffDeg(row.gha[c], ref.Num(r, name + "_gha")) * 60.0);
            dec[c].Add((row.dec[c] - ref.Num(r, name + "_dec")) * 60.0);
            if (kEphemerisColumns[c].bodyId == kBodyMoon &&
                std::fabs(WrapDiffDeg(row.gha[c], ref.Num(r, name + "_gha")) * 60.0) > kTolPageArcmin)
                ++moonBeyondLastDigit;
        }
    }
    EXPECT_LT(worstTT, 0.01) << "the page's instants are not those of the reference";
    std::printf("page vs Swiss Ephemeris, %zu rows (arcmin)   max      RMS\n", ref.rows.size());
    std::printf("  ARIES                               %8.4f %8.4f\n", aries.max, aries.Rms());
    EXPECT_LE(aries.max, kTolAriesArcmin);
    for (int c = 0; c < kEphemerisBodyCount; ++c) {
        std::printf("  %-8s GHA                        %8.4f %8.4f\n", kEphemerisColumns[c].header, gha[c].max, gha[c].Rms());
        std::printf("  %-8s Dec                        %8.4f %8.4f\n", kEphemerisColumns[c].header, dec[c].max, dec[c].Rms());
        const double tol = kEphemerisColumns[c].bodyId == kBodyMoon ? kTolMoonArcmin : kTolPageArcmin;
        EXPECT_LE(gha[c].max, tol) << kEphemerisColumns[c].header;
        EXPECT_LE(dec[c].max, tol) << kEphemerisColumns[c].header;
    }
    std::printf("  Moon rows with a GHA error beyond 0.1': %d of %zu\n", moonBeyondLastDigit, ref.rows.size());
}

}  // namespace
