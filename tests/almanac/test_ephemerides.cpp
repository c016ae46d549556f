// The hourly almanac page: its instants and its numbers against the Swiss Ephemeris.

#include <cctype>
#include <cstdio>

#include "almanac/mEphemerides.h"
#include "core/mTextForms.h"
#include "support/csv.h"
#include "support/nav_fixture.h"

namespace {

// The data files, once for this program (this file and test_annual.cpp).
struct DataFiles : ::testing::Environment {
    void SetUp() override { testsupport::LoadDataFiles(); }
};
::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new DataFiles);

// The page shows a tenth of an arc minute; the Sun and planets must be right to that
// (the planetary series and the reduction are good to about 1").
constexpr double kTolPageArcmin = 0.1;
// The Moon (ELP/MPP02 against DE431): measured 0.0007' at most. Its tenths as the page
// shows them are the reference's rounded, bar those within 0.005' of a boundary.
constexpr double kTolMoonArcmin = 0.01;
// Aries is the sidereal time alone (1982 sidereal time, 1980 nutation): milliarcseconds.
constexpr double kTolAriesArcmin = 0.01;

// a - b in arc minutes, the short way round the circle.
double DiffArcmin(double a, double b) { return std::remainder(a - b, 360.0) * 60.0; }

TEST(EphemerisPage, TwentyFourHourlyRowsFromZeroHoursUtOfTheLocalDate) {
    // Local 00:30 ten hours east of Greenwich is 14:30 UT the day before: still this date's page.
    const double start = EphemerisPageStart(DateFromParts(2024, 1, 11, 0, 30));
    // 0 h UT is JD 2460320.5; the TT start is that plus Delta T (69.2 s, IERS).
    EXPECT_NEAR((start - 2460320.5) * 86400.0, 69.2, 0.3);
    EXPECT_DOUBLE_EQ(EphemerisPageStart(DateFromParts(2024, 1, 11, 23, 59, 59)), start);
    const auto page = EphemerisPage(DateFromParts(2024, 1, 11, 15, 40));
    ASSERT_EQ(page.size(), 24u);
    for (int i = 0; i < 24; ++i) EXPECT_TRUE(page[i].hour == i && std::fabs((page[i].jd - start) * 24.0 - i) < 1e-6) << i;
}

TEST(EphemerisPage, RowsAgreeWithTheSwissEphemerisAtTheSameTT) {
    const auto ref = testsupport::ReadCsv(testsupport::TestData("almanac_page_reference.csv"));
    ASSERT_EQ(ref.rows.size(), 12u * 24u);
    std::array<EphemerisRow, kEphemerisHours> page{};
    testsupport::TenthsCheck moonTenths;
    auto shown = [](double deg) {  // the page's text of an angle, as a number
        const DegMin dm = SplitDegMin(std::fabs(deg), 1);
        return static_cast<double>(dm.degrees) + dm.minutes / 60.0;
    };
    for (size_t r = 0; r < ref.rows.size(); ++r) {
        auto whole = [&](const char* c) { return static_cast<int>(ref.Num(r, c)); };
        const int h = whole("hour");
        if (h == 0) page = EphemerisPage(DateFromParts(whole("year"), whole("month"), whole("day"), 12));  // 24 rows a date
        const EphemerisRow& row = page.at(h);
        // The reference row is at the same TT (its Delta T is the program's convention).
        ASSERT_LT(std::fabs(row.jd - ref.Num(r, "jd_tt")) * 86400.0, 0.01) << "the page's instants are not the reference's";
        EXPECT_LE(std::fabs(DiffArcmin(row.aries, ref.Num(r, "aries"))), kTolAriesArcmin) << r;
        for (int c = 0; c < kEphemerisBodyCount; ++c) {
            std::string name = kEphemerisColumns[c].header;  // "VENUS": columns venus_gha, venus_dec
            for (char& ch : name) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            const double tol = kEphemerisColumns[c].bodyId == kBodyMoon ? kTolMoonArcmin : kTolPageArcmin;
            EXPECT_LE(std::fabs(DiffArcmin(row.gha[c], ref.Num(r, name + "_gha"))), tol) << name << " " << r;
            EXPECT_LE(std::fabs(row.dec[c] - ref.Num(r, name + "_dec")) * 60.0, tol) << name << " " << r;
            if (kEphemerisColumns[c].bodyId != kBodyMoon) continue;
            EXPECT_TRUE(moonTenths.Add(shown(row.gha[c]), Norm360(ref.Num(r, name + "_gha")), true)) << r;
            EXPECT_TRUE(moonTenths.Add(shown(row.dec[c]), ref.Num(r, name + "_dec"), false)) << r;
        }
    }
    EXPECT_EQ(moonTenths.wrong, 0u);
}

// A row as the window shows it: every angle to a tenth of an arc minute with its
// sign field (SplitDegMin, the rounding of the window's text form).
std::string RowText(const EphemerisRow& row) {
    auto angle = [](double deg, bool letters) {
        const DegMin dm = SplitDegMin(std::fabs(deg), 1);
        char buf[32];
        std::snprintf(buf, sizeof buf, "%s%3ld %04.1f|", letters ? (deg >= 0.0 ? "N" : "S") : (deg >= 0.0 ? " " : "-"),
                      dm.degrees, dm.minutes);
        return std::string(buf);
    };
    std::string text = angle(row.aries, false);
    for (int c = 0; c < kEphemerisBodyCount; ++c) text += angle(row.gha[c], false) + angle(row.dec[c], true);
    return text;
}

TEST(EphemerisPage, TextFromTheFitsEqualsTheTextOfEveryPlaceComputedAlone) {
    // 40 dates 1900-2100 a prime number of days apart, and consecutive pages of the
    // printed almanac's kind across a year end.
    std::vector<DateValue> dates;
    for (int i = 0; i < 40; ++i) dates.push_back(DateFromParts(1900, 1, 1) + i * 1831.0);
    const auto run = EphemerisPages(DateFromParts(2023, 12, 25), 12);
    int differing = 0;
    auto compare = [&](const std::array<EphemerisRow, kEphemerisHours>& page) {
        for (const EphemerisRow& row : page) {
            const std::string direct = RowText(EphemerisRowAt(row.jd, row.hour)), fitted = RowText(row);
            EXPECT_EQ(fitted, direct) << "jd " << row.jd;
            differing += fitted != direct;
        }
    };
    for (DateValue d : dates) compare(EphemerisPage(d));
    for (const auto& page : run) compare(page);
    for (int k = 0; k < 12; ++k) EXPECT_EQ(run[static_cast<size_t>(k)][0].jd, EphemerisPageStart(DateFromParts(2023, 12, 25) + k));
    EXPECT_EQ(differing, 0);
}

TEST(EphemerisPage, MoonRatesParallaxAndSemidiametersAgainstTheSwissEphemeris) {
    // The daily pages' reference (make_daily_pages_reference.c): the Moon's GHA, declination
    // and HP every hour, its SD at 12 h of each day, the Sun's at 12 h of the middle day.
    std::map<std::string, std::vector<std::vector<std::string>>> rows;  // date -> H, D and P rows
    std::ifstream in(testsupport::TestData("daily_pages_reference.csv"));
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && line[0] != '#') {
            const auto f = testsupport::SplitCsvLine(line);
            if (f[0] == "H" || f[0] == "D" || (f[0] == "P" && f[2] == "sun")) rows[f[1]].push_back(f);
        }
    ASSERT_EQ(rows.size(), 7u);
    auto check = [&](double got, double want, const std::string& what) { EXPECT_NEAR(got, want, kTolPageArcmin) << what; };
    for (const auto& [date, r] : rows) {
        int y, m, d;
        ASSERT_EQ(std::sscanf(date.c_str(), "%d-%d-%d", &y, &m, &d), 3);
        for (int day = 0; day < 3; ++day) {
            const auto page = EphemerisPage(DateFromParts(y, m, d) + day);
            for (int h = 0; h < 24 && 24 * day + h < 71; ++h) {
                const auto &a = r[static_cast<size_t>(24 * day + h)], &b = r[static_cast<size_t>(24 * day + h + 1)];
                const std::string at = date + " +" + std::to_string(24 * day + h) + "h";
                check(page[h].moonHP, std::stod(a[17]), "HP " + at);
                check(page[h].moonV, DiffArcmin(std::stod(b[15]) - std::stod(a[15]), 14.0 + 19.0 / 60.0), "v " + at);
                check(page[h].moonD, (std::stod(b[16]) - std::stod(a[16])) * 60.0, "d " + at);
            }
            check(page[12].moonSD, std::stod(r[static_cast<size_t>(72 + day)][10]), "moon SD " + date);
            if (day == 1) check(page[12].sunSD, std::stod(r.back()[5]), "sun SD " + date);
        }
    }
}

}  // namespace
