// Annual events: Moon phases, equinoxes and solstices against the Swiss Ephemeris and
// against published instants.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "almanac/mAnnual.h"
#include "core/mFault.h"
#include "support/csv.h"

namespace {

constexpr double kMinutesPerDay = 1440.0;
// The phases found on the apparent longitudes (ELP/MPP02 Moon, VSOP87 Sun) against
// DE431's, in TT: a tenth of a minute (the Sun's 0.3" is half a second).
constexpr double kTolPhaseMinutes = 0.1;
// Seasons from the Sun of the body position service (1" of longitude is 0.4 s): measured
// 0.25 minutes at most, the daily interpolation of the equinox's declination crossing.
constexpr double kTolSeasonMinutes = 5.0;

// TT Julian date of a UT value (the program's Delta T both ways, so the comparison with a
// TT reference does not depend on it).
double TT(DateValue ut) { return JulianDay(ut, false, false); }

// "yyyy-mm-dd hh:mm" of an event as it is shown.
std::string Shown(DateValue v) {
    const CalendarDate c = EventParts(v);
    char s[32];
    std::snprintf(s, sizeof s, "%04d-%02d-%02d %02d:%02d", c.year, c.month, c.day, c.hour, c.minute);
    return s;
}

// Minutes of a "dd hh:mm" text after the start of its month.
int CellMinutes(const std::string& s) {
    return std::stoi(s.substr(0, 2)) * 1440 + std::stoi(s.substr(3, 2)) * 60 + std::stoi(s.substr(6, 2));
}

TEST(PhaseDate, LunationOffsetsAndThePublishedExamples) {
    // k = floor(124 * 12.3685) = 1533: the new moon of 2023 December 12.
    EXPECT_EQ(Shown(PhaseDate(2024, 0, 0.0)).substr(0, 10), "2023-12-12");
    // Astronomical Algorithms example 49.a: the new moon of 1977 February (k = -283 there,
    // 954 = floor(77 * 12.3685) + 2 here) at JDE 2443192.65118; example 49.b: the last
    // quarter of 2044 January (k = 544.75) at JDE 2467636.49186.
    EXPECT_NEAR(TT(PhaseDate(1977, 2, 0.0)), 2443192.65118, 1e-5);
    EXPECT_NEAR(TT(PhaseDate(2044, 0, 0.75)), 2467636.49186, 1e-5);
    // Shown rounded to the second, then the minute as it stands.
    const DateValue base = DateFromParts(2024, 1, 11, 11, 57);
    EXPECT_EQ(Shown(base + 39.0 / 86400.0) + "|" + Shown(base + 59.6 / 86400.0), "2024-01-11 11:57|2024-01-11 11:58");
}

TEST(MoonPhaseTable, CellsOfMonthsWithTwoPhasesAndWithNone) {
    // Published: new moons of 2024 January 11 11:57, December 1 06:21 and December 30
    // 22:27 UT; full moons of 2023 August 1 18:31 and 31 01:35, earlier first; in 2018
    // full moons on January 2 and 31, March 2 and 31, none in February.
    const PhaseTable t = MoonPhaseTable(2024), u = MoonPhaseTable(2023), v = MoonPhaseTable(2018);
    EXPECT_EQ(PhaseCellText(t, 1, 0), "11 11:57");
    const std::string dec = PhaseCellText(t, 12, 0), aug = PhaseCellText(u, 8, 2);
    EXPECT_TRUE(dec.size() == 19u && dec.substr(0, 3) == "01 " && dec.substr(8, 6) == " & 30 ") << dec;
    ASSERT_EQ(aug.size(), 19u) << aug;
    EXPECT_NEAR(CellMinutes(aug.substr(0, 8)), CellMinutes("01 18:31"), kTolPhaseMinutes + 1);
    EXPECT_NEAR(CellMinutes(aug.substr(11)), CellMinutes("31 01:35"), kTolPhaseMinutes + 1);
    EXPECT_TRUE(PhaseCellText(v, 2, 2).empty() && PhaseCellText(v, 1, 2).find(" & ") != std::string::npos &&
                PhaseCellText(v, 3, 2).find(" & ") != std::string::npos);
}

TEST(MoonPhaseTable, EveryPhaseOfEveryYearAgainstTheSwissEphemeris) {
    const auto ref = testsupport::ReadCsv(testsupport::TestData("almanac_phases_reference.csv"));
    ASSERT_GT(ref.rows.size(), 9900u);
    // The phases of the 201 tables in time order pair one to one with the reference's of
    // 1900-2100 (none lies within hours of either end): an event left out at a year's or
    // month's turn, or shown twice, puts the pairs out of step.
    std::vector<std::pair<double, int>> ours;
    for (int year = 1900; year <= 2100; ++year) {
        const PhaseTable t = MoonPhaseTable(year);
        for (int m = 1; m <= 12; ++m)
            for (int slot = 0; slot < 8; ++slot)
                if (t.at(m, slot) != 0.0) {
                    ours.push_back({TT(t.at(m, slot)), slot % 4});
                    EXPECT_EQ(DateToParts(t.at(m, slot)).month, m) << year;  // in its own month
                }
    }
    std::sort(ours.begin(), ours.end());
    const double y0 = TT(DateFromParts(1900, 1, 1)), y1 = TT(DateFromParts(2101, 1, 1));
    size_t n = 0;
    for (size_t r = 0; r < ref.rows.size(); ++r) {
        const double jd = ref.Num(r, "jd_tt");
        if (jd < y0 || jd >= y1) continue;
        const int q = static_cast<int>(ref.Num(r, "phase"));
        ASSERT_LT(n, ours.size()) << "no phase " << q << " at JD " << jd;
        ASSERT_EQ(ours[n].second, q) << "phase " << q << " at JD " << jd << " paired with JD " << ours[n].first;
        EXPECT_LE(std::fabs(ours[n++].first - jd) * kMinutesPerDay, kTolPhaseMinutes) << "phase " << q << " at JD " << jd;
    }
    EXPECT_EQ(n, ours.size()) << "phases the reference does not have";
}

// 1900-2100, among them the June solstice of 2024 (June 20 20:51 UT) before its search's
// start on June 21, and the March equinoxes on the first day of their search.
TEST(Seasons, EquinoxesAndSolsticesAgainstTheSwissEphemerisAndOutsideTheSearch) {
    const auto ref = testsupport::ReadCsv(testsupport::TestData("almanac_seasons_reference.csv"));
    ASSERT_EQ(ref.rows.size(), 201u * 4u);
    struct Season { const char* event; DateValue (*fn)(int, bool); bool first; int n; };
    Season seasons[] = {{"spring", EquinoxDate, true, 0}, {"summer", SolsticeDate, true, 0},
                        {"autumn", EquinoxDate, false, 0}, {"winter", SolsticeDate, false, 0}};
    int firstDayOfSearch = 0;
    for (size_t r = 0; r < ref.rows.size(); ++r) {
        Season* s = nullptr;
        for (Season& x : seasons)
            if (ref.Text(r, "event") == x.event) s = &x;
        ASSERT_NE(s, nullptr) << ref.Text(r, "event");
        const int year = static_cast<int>(ref.Num(r, "year"));
        const DateValue ours = s->fn(year, s->first);
        const double jd = ref.Num(r, "jd_tt");
        EXPECT_LE(std::fabs(TT(ours) - jd) * kMinutesPerDay, kTolSeasonMinutes) << s->event << " " << year;
        ++s->n;
        // A March equinox on the 19th (UT) lies between the search's first two samples.
        const CalendarDate refUT = DateToParts(JDToDate(jd, false));
        if (s == &seasons[0] && refUT.day == 19 && refUT.hour > 0) {
            ++firstDayOfSearch;
            const CalendarDate c = DateToParts(ours);
            EXPECT_TRUE(c.month == 3 && c.day == 19) << year;
        }
    }
    EXPECT_GE(firstDayOfSearch, 3) << "the reference has March equinoxes on the 19th from 2044 on";
    for (const Season& s : seasons) EXPECT_EQ(s.n, 201) << s.event;
    // Julian calendar of 1000: the March equinox is on March 15, before the search; the
    // declination never changes sign and nothing can be interpolated.
    EXPECT_THROW(EquinoxDate(1000, true), ArithmeticFault);
}

}  // namespace
