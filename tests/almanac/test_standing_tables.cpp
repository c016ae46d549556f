// The standing tables worked by hand: each sight is reduced once from the printed
// (rounded) tables the way a navigator reads them and once by the program, and the
// two observed altitudes must agree within the almanac's 0.1'.

#include "almanac/mStandingTables.h"
#include "reduction/mCorrection.h"
#include "support/csv.h"
#include "support/nav_fixture.h"

namespace {

constexpr double kTolHoArcmin = 0.1;       // the almanac's own promise for a sight worked from it
constexpr double kTolPolarisArcmin = 0.2;  // a0 + a1 + a2 against the exact latitude correction

// Linear interpolation in a table of rows, the answer rounded as a navigator writes it.
double Interp(const std::vector<double>& x, const std::vector<double>& y, double at) {
    size_t i = 0;
    while (i + 2 < x.size() && at > x[i + 1]) ++i;
    const double f = (at - x[i]) / (x[i + 1] - x[i]);
    return RoundTenth(y[i] + f * (y[i + 1] - y[i]));
}

double DipByHand(const DipTable& t, double heye) {
    if (heye > t.heights.back()) return Interp(t.highHeights, t.highDip, heye);
    size_t i = 0;
    while (i + 1 < t.dip.size() && heye > t.heights[i + 1]) ++i;
    return t.dip[i];
}

double AirByHand(const AirTable& a, double temp, double pres, double ha) {
    auto nearest = [](const std::vector<double>& v, double x) {
        size_t b = 0;
        for (size_t i = 1; i < v.size(); ++i)
            if (std::fabs(v[i] - x) < std::fabs(v[b] - x)) b = i;
        return b;
    };
    const size_t zone = static_cast<size_t>(a.zones[nearest(a.temps, temp) * a.pressures.size() + nearest(a.pressures, pres)][0] - 'A');
    std::vector<double> col;
    for (const auto& row : a.corr) col.push_back(row[zone]);
    return Interp(a.alts, col, ha);
}

double PlanetByHand(const std::vector<PlanetAdditional>& list, int month, int day, double ha) {
    for (const PlanetAdditional& r : list) {
        if (month * 100 + day < r.fromMonth * 100 + r.fromDay || month * 100 + day > r.toMonth * 100 + r.toDay) continue;
        size_t i = 0;
        while (i + 1 < r.fromAlt.size() && ha >= r.fromAlt[i + 1]) ++i;
        return r.corr[i];
    }
    ADD_FAILURE() << "no date range for " << month << "-" << day;
    return 0.0;
}

double MoonByHand(const MoonTable& m, double ha, double hp, bool lower) {
    const double f = Interp(m.alts, m.first, ha);
    const auto& t = lower ? m.lower : m.upper;
    size_t r = 0, c = 0;
    while (r + 2 < m.hps.size() && hp > m.hps[r + 1]) ++r;
    while (c + 2 < m.cols.size() && ha > m.cols[c + 1]) ++c;
    const double u = (hp - m.hps[r]) / 0.3, w = (ha - m.cols[c]) / 5.0;
    const double second = (1 - u) * (1 - w) * t[r][c] + u * (1 - w) * t[r + 1][c] + (1 - u) * w * t[r][c + 1] + u * w * t[r + 1][c + 1];
    return f + RoundTenth(second) - (lower ? 0.0 : 30.0);
}

struct Sight {
    int y, mo, d, h, mi;
    int body;  // BodyId, or -1 a star
    double hs;  // sextant altitude, degrees (tenths of a minute)
    bool lower;
    double heye, ic, temp, pres;
};

class StandingTables : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testsupport::LoadDataFiles(); }
};

}  // namespace

TEST_F(StandingTables, SightsWorkedByHandGiveTheProgramsHo) {
    const auto rows = testsupport::ReadCsv(testsupport::TestData("standing_tables_sights.csv"));
    ASSERT_EQ(rows.rows.size(), 18u);
    const AltitudeTables t = ComputeAltitudeTables(2025);
    for (size_t i = 0; i < rows.rows.size(); ++i) {
        auto n = [&](const char* c) { return rows.Num(i, c); };
        const Sight s{int(n("y")), int(n("mo")), int(n("d")), int(n("h")), int(n("mi")), int(n("body")),
                      n("hs_deg") + n("hs_min") / 60.0, rows.Text(i, "limb") == "lower", n("heye"), n("ic"), n("temp"), n("pres")};
        const double jd = JulianDay(DateFromParts(s.y, s.mo, s.d, s.h, s.mi), false, false);
        const double dist = s.body >= 0 ? BodyPosition(jd, s.body).z : 1.0;
        const double program = CorrectSextantAltitude(s.hs, s.ic, Horizon{s.heye, s.temp, s.pres}, s.body, dist, s.lower).Ho;

        const double ha = s.hs + (s.ic - DipByHand(t.dip, s.heye)) / 60.0;
        double corr = 0.0;
        if (s.body == 9) {
            const double hp = RoundTenth(RadToDeg(std::asin(kEarthRadiusKm / (dist * kKmPerAU))) * 60.0);
            corr = MoonByHand(t.moon, ha, hp, s.lower);
        } else if (s.body == 0) {
            const SunTable& sun = s.mo >= 4 && s.mo <= 9 ? t.sunSummer : t.sunWinter;
            corr = ha >= 10.0 ? sun.high.Lookup(ha, s.lower ? 0 : 1) : Interp(sun.lowAlt, s.lower ? sun.lowLower : sun.lowUpper, ha);
            const double sdDay = RoundTenth(SemiDiameter(0, dist) * 60.0);  // the daily pages' foot
            corr += (sdDay - sun.sd) * (s.lower ? 1.0 : -1.0);
        } else {
            corr = ha >= 10.0 ? t.stars.Lookup(ha, 0) : Interp(t.lowAlt, t.lowStars, ha);
            if (s.body == 2) corr += PlanetByHand(t.venus, s.mo, s.d, ha);
            if (s.body == 4) corr += PlanetByHand(t.mars, s.mo, s.d, ha);
        }
        if (s.temp != 10 || s.pres != 1010) corr += AirByHand(t.air, s.temp, s.pres, ha);
        EXPECT_NEAR((ha + corr / 60.0 - program) * 60.0, 0.0, kTolHoArcmin) << s.y << "-" << s.mo << "-" << s.d << " body " << s.body;
    }
}

TEST_F(StandingTables, PolarisTablesGiveTheLatitudeAndIncrementsTheHourAngle) {
    const PolarisTables p = ComputePolarisTables(2025);
    for (int k = 0; k < 24; ++k) {  // a sweep of instants, latitudes and hour angles
        const int month = k % 12 + 1;
        const double lat = 5.0 + 2.7 * k, lon = -170.0 + 14.3 * k;
        const double jd = JulianDay(DateFromParts(2025, month, 3 + k, (5 * k) % 24, 17), false, false);
        const Coord3 c = StarPosition(jd, 424);
        const double lha = Norm360(SiderealTime(jd, lon));
        const double exact = PolarisLatitudeCorrection(lat, lha, 360.0 - c.x, c.y);
        const int col = static_cast<int>(lha / 10.0);
        const double in = lha - 10.0 * col;
        const auto& a0c = p.a0[static_cast<size_t>(col)];
        const double next = in < 9.0 ? a0c[static_cast<size_t>(in) + 1] : p.a0[static_cast<size_t>((col + 1) % 36)][0];
        const double a0 = RoundTenth(a0c[static_cast<size_t>(in)] + (in - std::floor(in)) * (next - a0c[static_cast<size_t>(in)]));
        std::vector<double> a1col;
        for (const auto& row : p.a1) a1col.push_back(row[static_cast<size_t>(col)]);
        const double a1 = Interp(p.a1Lats, a1col, lat);
        const double a2 = p.a2[static_cast<size_t>(month - 1)][static_cast<size_t>(col)];
        EXPECT_NEAR(a0 + a1 + a2 - 60.0 - exact, 0.0, kTolPolarisArcmin) << "lat " << lat << " LHA " << lha;
    }

    // GHA Aries at 14h 00m UT and the increment for 37m 42s give the instant's GHA.
    const double jd0 = JulianDay(DateFromParts(2025, 6, 1, 14, 0), false, false);
    const double jd1 = JulianDay(DateFromParts(2025, 6, 1, 14, 37, 42), false, false);
    const double byHand = RoundTenth(SiderealTime(jd0, 0) * 60.0) / 60.0 + IncrementsFor(37).aries[42];
    EXPECT_NEAR(std::remainder(byHand - SiderealTime(jd1, 0), 360.0) * 60.0, 0.0, kTolHoArcmin);
    EXPECT_EQ(IncrementsFor(59).vdCorr[179], RoundTenth(17.9 * 59.5 / 60.0));
    EXPECT_EQ(ArcToTimeText(359.0, false) + "|" + ArcToTimeText(59.75, true), "23 56|3 59");
}
