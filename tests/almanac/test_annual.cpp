// Annual events: Moon phases, equinoxes and solstices against the Swiss Ephemeris and
// against published instants.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "almanac/mAnnual.h"
#include "almanac_env.h"
#include "core/mFault.h"
#include "support/csv.h"

namespace {

::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new PlanetDataEnvironment);

constexpr double kMinutesPerDay = 1440.0;
// The closed-form phase series (mean phase plus 13 periodic terms) against the Moon's
// apparent longitude from DE431: its own accuracy, measured 3.7 minutes at most and
// 1.2 minutes RMS 1900-2100.
constexpr double kTolPhaseMinutes = 4.0;
// Equinoxes and solstices from the Sun of the body position service (1" in longitude is
// 0.4 s of time); measured 0.25 minutes at most, the daily linear interpolation of the
// equinox's declination crossing.
constexpr double kTolSeasonMinutes = 5.0;

// TT Julian date of a UT date-time value (the program's Delta T both ways, so the
// comparison with a TT reference does not depend on it).
double TT(DateValue ut) { return JulianDay(ut, false, false); }

TEST(PhaseDate, LunationOffsetsOfTwentyTwentyFour) {
    // k = floor(124 * 12.3685) + 0 = 1533: the new moon of 2023 December 12.
    const CalendarDate dec = EventParts(PhaseDate(2024, 0, 0.0));
    EXPECT_EQ(dec.year, 2023);
    EXPECT_EQ(dec.month, 12);
    EXPECT_EQ(dec.day, 12);
    // k = 1534: JDE 2460320.99917, the new moon of 2024 January 11 at 11:57 UT.
    const DateValue jan = PhaseDate(2024, 1, 0.0);
    EXPECT_NEAR(TT(jan), 2460320.99917, 1e-5);
    const CalendarDate c = EventParts(jan);
    EXPECT_EQ(c.year, 2024);
    EXPECT_EQ(c.month, 1);
    EXPECT_EQ(c.day, 11);
    EXPECT_EQ(c.hour, 11);
    EXPECT_EQ(c.minute, 57);
}

TEST(MoonPhaseTable, TwentyTwentyFourJanuaryAndTheLeftOutDecemberNewMoon) {
    const PhaseTable t = MoonPhaseTable(2024);
    EXPECT_EQ(PhaseCellText(t, 1, 0), "11 11:57");
    // Published: new moons of 2024 December 1 06:21 and December 30 22:27 UT.
    const std::string dec = PhaseCellText(t, 12, 0);
    ASSERT_EQ(dec.size(), std::string("01 06:21 & 30 22:27").size()) << dec;
    EXPECT_EQ(dec.substr(0, 3), "01 ");
    EXPECT_EQ(dec.substr(8, 6), " & 30 ");
    for (int m = 1; m <= 12; ++m)
        for (int slot = 0; slot < 8; ++slot)
            if (t.at(m, slot) != 0.0) {
                const CalendarDate c = DateToParts(t.at(m, slot));
                EXPECT_EQ(c.year, 2024);
                EXPECT_EQ(c.month, m);
            }
}

// Minutes of a "dd hh:mm" text after the start of its month.
int CellMinutes(const std::string& s) {
    return std::stoi(s.substr(0, 2)) * 1440 + std::stoi(s.substr(3, 2)) * 60 + std::stoi(s.substr(6, 2));
}

TEST(MoonPhaseTable, TwoFullMoonsInAMonthShowEarlierFirst) {
    // Published full moons of 2023 August: 1st 18:31 and 31st 01:35 UT.
    const PhaseTable t = MoonPhaseTable(2023);
    const std::string cell = PhaseCellText(t, 8, 2);
    ASSERT_EQ(cell.size(), 19u) << cell;
    EXPECT_EQ(cell.substr(8, 3), " & ");
    EXPECT_NEAR(CellMinutes(cell.substr(0, 8)), CellMinutes("01 18:31"), kTolPhaseMinutes + 1);
    EXPECT_NEAR(CellMinutes(cell.substr(11)), CellMinutes("31 01:35"), kTolPhaseMinutes + 1);
    EXPECT_LT(t.at(8, 2), t.at(8, 6));
}

TEST(MoonPhaseTable, FebruaryWithoutAFullMoonIsEmpty) {
    // 2018: full moons on January 2 and 31, March 2 and 31, none in February.
    const PhaseTable t = MoonPhaseTable(2018);
    EXPECT_EQ(t.at(2, 2), 0.0);
    EXPECT_EQ(t.at(2, 6), 0.0);
    EXPECT_EQ(PhaseCellText(t, 2, 2), "");
    EXPECT_NE(PhaseCellText(t, 1, 2).find(" & "), std::string::npos);
    EXPECT_NE(PhaseCellText(t, 3, 2).find(" & "), std::string::npos);
}

TEST(MoonPhaseTable, YieldsOncePerLunation) {
    int calls = 0;
    MoonPhaseTable(2000, [&] { ++calls; });
    EXPECT_EQ(calls, 14);
}

TEST(MoonPhaseTable, EveryPhaseOfEveryYearAgainstTheSwissEphemeris) {
    const auto ref = testsupport::ReadCsv(testsupport::TestData("almanac_phases_reference.csv"));
    ASSERT_GT(ref.rows.size(), 9900u);
    struct Ev { int q; double jd; };
    std::vector<Ev> events;
    for (size_t r = 0; r < ref.rows.size(); ++r)
        events.push_back({static_cast<int>(ref.Num(r, "phase")), ref.Num(r, "jd_tt")});
    testsupport::ErrorStats err[kPhaseCount];
    int missing = 0, extra = 0;
    size_t lo = 0;
    for (int year = 1900; year <= 2100; ++year) {
        const PhaseTable t = MoonPhaseTable(year);
        const double y0 = TT(DateFromParts(year, 1, 1)), y1 = TT(DateFromParts(year + 1, 1, 1));
        std::vector<bool> used(events.size(), false);
        while (lo < events.size() && events[lo].jd < y0 - 2.0) ++lo;
        for (int m = 1; m <= 12; ++m)
            for (int slot = 0; slot < 8; ++slot) {
                const DateValue d = t.at(m, slot);
                if (d == 0.0) continue;
                const int q = slot % 4;
                size_t best = events.size();
                for (size_t i = lo; i < events.size() && events[i].jd < y1 + 2.0; ++i)
                    if (events[i].q == q && (best == events.size() || std::fabs(events[i].jd - TT(d)) < std::fabs(events[best].jd - TT(d))))
                        best = i;
                if (best == events.size() || std::fabs(events[best].jd - TT(d)) > 0.5) { ++extra; continue; }
                used[best] = true;
                err[q].Add((TT(d) - events[best].jd) * kMinutesPerDay);
            }
        // Every reference phase well inside the year is in the table (and none outside).
        for (size_t i = lo; i < events.size() && events[i].jd < y1 + 2.0; ++i) {
            const bool inside = events[i].jd > y0 + kTolPhaseMinutes / kMinutesPerDay &&
                                events[i].jd < y1 - kTolPhaseMinutes / kMinutesPerDay;
            const bool outside = events[i].jd < y0 - kTolPhaseMinutes / kMinutesPerDay ||
                                 events[i].jd > y1 + kTolPhaseMinutes / kMinutesPerDay;
            if (inside && !used[i]) ++missing;
            if (outside && used[i]) ++extra;
        }
    }
    static const char* kNames[] = {"new moon", "first quarter", "full moon", "last quarter"};
    std::printf("phases 1900-2100 vs Swiss Ephemeris (minutes)   max     RMS      n\n");
    for (int q = 0; q < kPhaseCount; ++q) {
        std::printf("  %-14s                              %6.2f  %6.2f  %5zu\n", kNames[q], err[q].max, err[q].Rms(), err[q].n);
        EXPECT_LE(err[q].max, kTolPhaseMinutes) << kNames[q];
    }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(extra, 0);
}

TEST(Seasons, EquinoxesAndSolsticesAgainstTheSwissEphemeris) {
    const auto ref = testsupport::ReadCsv(testsupport::TestData("almanac_seasons_reference.csv"));
    ASSERT_EQ(ref.rows.size(), 201u * 4u);
    testsupport::ErrorStats spring, summer, autumn, winter;
    for (size_t r = 0; r < ref.rows.size(); ++r) {
        const int year = static_cast<int>(ref.Num(r, "year"));
        const std::string& ev = ref.Text(r, "event");
        const double jd = ref.Num(r, "jd_tt");
        if (ev == "spring") spring.Add((TT(EquinoxDate(year, true)) - jd) * kMinutesPerDay);
        else if (ev == "autumn") autumn.Add((TT(EquinoxDate(year, false)) - jd) * kMinutesPerDay);
        else if (ev == "summer") summer.Add((TT(SolsticeDate(year, true)) - jd) * kMinutesPerDay);
        else if (ev == "winter") winter.Add((TT(SolsticeDate(year, false)) - jd) * kMinutesPerDay);
        else ADD_FAILURE() << ev;
    }
    std::printf("seasons 1900-2100 vs Swiss Ephemeris (minutes)   max     RMS\n");
    std::printf("  spring equinox                                %6.2f  %6.2f\n", spring.max, spring.Rms());
    std::printf("  summer solstice                               %6.2f  %6.2f\n", summer.max, summer.Rms());
    std::printf("  autumn equinox                                %6.2f  %6.2f\n", autumn.max, autumn.Rms());
    std::printf("  winter solstice                               %6.2f  %6.2f\n", winter.max, winter.Rms());
    for (const auto* s : {&spring, &summer, &autumn, &winter}) {
        EXPECT_EQ(s->n, 201u);
        EXPECT_LE(s->max, kTolSeasonMinutes);
    }
}

TEST(Seasons, EquinoxOnTheFirstDayOfItsSearch) {
    // Years whose March equinox falls on 19 March (UT): the sign changes between the
    // first two samples, 19 and 20 March, and the crossing is interpolated between them.
    const auto ref = testsupport::ReadCsv(testsupport::TestData("almanac_seasons_reference.csv"));
    int cases = 0;
    for (size_t r = 0; r < ref.rows.size(); ++r) {
        if (ref.Text(r, "event") != "spring") continue;
        const CalendarDate refUT = DateToParts(JDToDate(ref.Num(r, "jd_tt"), false));
        if (refUT.day != 19 || refUT.hour == 0) continue;
        ++cases;
        const DateValue e = EquinoxDate(refUT.year, true);
        const CalendarDate c = DateToParts(e);
        EXPECT_EQ(c.month, 3);
        EXPECT_EQ(c.day, 19) << refUT.year;
        EXPECT_NEAR((TT(e) - ref.Num(r, "jd_tt")) * kMinutesPerDay, 0.0, kTolSeasonMinutes) << refUT.year;
    }
    EXPECT_GE(cases, 3) << "the reference has March equinoxes on the 19th from 2044 on";
}

TEST(Seasons, SolsticeBeforeTheStartOfItsSearch) {
    // The June solstice of 2024 is on June 20 (20:51 UT), before the search's start on
    // June 21: the corrections run backwards to it.
    const CalendarDate c = DateToParts(SolsticeDate(2024, true));
    EXPECT_EQ(c.month, 6);
    EXPECT_EQ(c.day, 20);
    EXPECT_NEAR(c.hour * 60 + c.minute, 20 * 60 + 51, kTolSeasonMinutes);
}

TEST(Seasons, AnEquinoxThatIsNotWithinTheSearchIsAFault) {
    // In the Julian calendar of the year 1000 the March equinox falls on March 15, before
    // the search starts: the declination never changes sign and nothing can be interpolated.
    EXPECT_THROW(EquinoxDate(1000, true), ArithmeticFault);
}

TEST(EventParts, RoundsToTheSecondAndShowsTheMinuteAsItStands) {
    const DateValue base = DateFromParts(2024, 1, 11, 11, 57);
    CalendarDate c = EventParts(base + 39.0 / 86400.0);
    EXPECT_EQ(c.hour, 11);
    EXPECT_EQ(c.minute, 57);
    c = EventParts(base + 59.6 / 86400.0);
    EXPECT_EQ(c.minute, 58);
}

}  // namespace
