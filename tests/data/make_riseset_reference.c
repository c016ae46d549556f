/* Writes riseset_reference.csv: rise, set, upper and lower transit of the Sun, the
 * planets and the Moon, and civil and nautical twilight, for 14 places from 65 S
 * to 72 N and 18 dates 2000-2030, from the Swiss Ephemeris (Debian libswe-dev,
 * files sepl_18/semo_18 in /usr/share/libswe/ephe).
 *
 * Definitions, the same as the program's with height of eye 0, 10 C, 1010 mB:
 *  - a rise or set is the instant the GEOCENTRIC apparent altitude of the centre
 *    of the body (no refraction) crosses the threshold h0: Sun -50.3', Moon +8',
 *    planets -34', civil twilight -6 deg, nautical -12 deg (Sun's centre);
 *  - an upper (lower) transit is the instant the local apparent hour angle is 0
 *    (180 deg).
 * Sun and twilight: swe_rise_trans_true_hor with SE_BIT_DISC_CENTER |
 * SE_BIT_NO_REFRACTION, horizon height h0, observer height 0. Swiss Ephemeris
 * uses the topocentric place there; the Sun's 8.8" parallax moves the instant by
 * under 2 s but for grazing crossings. The program checks each such instant
 * against its own scan of the geocentric altitude and stops if they differ by
 * more than 15" of altitude (difference in time times the rate of altitude).
 * Planets and Moon: that scan (swe_calc_ut apparent geocentric right ascension
 * and declination, swe_sidtime apparent sidereal time), a sweep in 10-minute
 * steps over [D0 - 1, D0 + 3) days with bisection to 0.01 s. The Moon needs it:
 * swe_rise_trans would apply the Moon's 57' topocentric parallax, which the
 * program's +8' threshold already stands for.
 *
 * Two tables:
 *  riseset_cases.csv, one row per place, date and body: day_ut_jd is the UT
 *    Julian date of the local midnight of the date in the zone tz (hours east),
 *    the start of the 24 hours the rigorous method searches; mid_alt is the
 *    altitude minus h0 at the middle of those 24 hours, degrees;
 *  riseset_events.csv, one row per crossing in [D0 - 0.6, D0 + 2) (D0 the UT
 *    midnight before day_ut_jd, which holds every instant either method gives):
 *    event rise/set (value = rate of altitude, degrees per minute) or upper/lower
 *    (value = geometric altitude of the centre, degrees).
 *
 * Run: sh tests/data/make_riseset_reference.sh (writes both tables)
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <swephexp.h>

#define D2R (M_PI / 180.0)

struct Place { double lat, lon, tz; };
static const struct Place kPlaces[] = {
    {-65.0, -64.0, -4}, {-54.8, -68.3, -3}, {-33.9, 18.4, 2},  {-16.9, 145.8, 10},
    {0.0, 0.0, 0},      {1.3, 103.8, 8},    {21.3, -157.9, -10}, {35.7, 139.7, 9},
    {43.1, 131.9, 10},  {51.5, -0.1, 0},    {60.0, 10.7, 1},   {64.1, -21.9, 0},
    {69.6, 18.9, 1},    {72.0, -56.0, -3},
};
struct Date { int y, m, d; };
static const struct Date kDates[] = {
    {2000, 1, 1},   {2001, 3, 20}, {2002, 6, 21}, {2003, 9, 23},  {2004, 12, 21}, {2006, 5, 5},
    {2007, 7, 30},  {2008, 10, 11}, {2010, 4, 2}, {2011, 8, 17},  {2013, 6, 10},  {2015, 9, 5},
    {2016, 12, 31}, {2019, 7, 4},  {2021, 10, 19}, {2024, 6, 21}, {2026, 2, 2},   {2030, 11, 13},
};

/* Kinds: BodyIds 0..9 without 3, then 10 civil, 11 nautical. */
static int SweBody(int kind) {
    static const int map[] = {SE_SUN, SE_MERCURY, SE_VENUS, -1, SE_MARS, SE_JUPITER,
                              SE_SATURN, SE_URANUS, SE_NEPTUNE, SE_MOON};
    return kind >= 10 ? SE_SUN : map[kind];
}
static double Threshold(int kind) {
    if (kind == 0) return -50.3 / 60.0;
    if (kind == 9) return 8.0 / 60.0;
    if (kind == 10) return -6.0;
    if (kind == 11) return -12.0;
    return -34.0 / 60.0;
}

/* Geocentric apparent altitude of the centre and local hour angle, degrees. */
static void AltHa(double jd_ut, int ipl, double lat, double lon, double* alt, double* ha) {
    double xx[6];
    char serr[256];
    if (swe_calc_ut(jd_ut, ipl, SEFLG_SWIEPH | SEFLG_EQUATORIAL, xx, serr) < 0) {
        fprintf(stderr, "swe_calc_ut: %s\n", serr);
        exit(1);
    }
    double lst = swe_sidtime(jd_ut) * 15.0 + lon;
    double h = fmod(lst - xx[0], 360.0);
    if (h < 0) h += 360.0;
    if (h > 180.0) h -= 360.0;
    *ha = h;
    *alt = asin(sin(lat * D2R) * sin(xx[1] * D2R) + cos(lat * D2R) * cos(xx[1] * D2R) * cos(h * D2R)) / D2R;
}

/* f: 0 altitude - h0; 1 sin(hour angle) (upper transit where it goes - to +
 * with cos > 0); 2 the same for the lower transit. */
static double F(int what, double jd, int ipl, double lat, double lon, double h0) {
    double alt, ha;
    AltHa(jd, ipl, lat, lon, &alt, &ha);
    if (what == 0) return alt - h0;
    if (what == 1) return sin(ha * D2R);
    return -sin(ha * D2R);
}
static int Ok(int what, double jd, int ipl, double lat, double lon) {
    double alt, ha;
    if (what == 0) return 1;
    AltHa(jd, ipl, lat, lon, &alt, &ha);
    return what == 1 ? fabs(ha) < 90.0 : fabs(ha) > 90.0;
}

struct Event { double jd; int up; };
static int Scan(int what, int ipl, double lat, double lon, double h0, double t0, double t1,
                struct Event* out, int maxOut) {
    const double step = 10.0 / 1440.0;
    int n = 0;
    double a = t0, fa = F(what, a, ipl, lat, lon, h0);
    while (a < t1 && n < maxOut) {
        double b = a + step, fb = F(what, b, ipl, lat, lon, h0);
        if ((fa < 0) != (fb < 0)) {
            double lo = a, hi = b, flo = fa;
            while (hi - lo > 0.01 / 86400.0) {
                double mid = 0.5 * (lo + hi), fm = F(what, mid, ipl, lat, lon, h0);
                if ((fm < 0) == (flo < 0)) { lo = mid; flo = fm; } else hi = mid;
            }
            double t = 0.5 * (lo + hi);
            if (Ok(what, t, ipl, lat, lon)) {
                out[n].jd = t;
                out[n].up = fa < 0;
                ++n;
            }
        }
        a = b;
        fa = fb;
    }
    return n;
}

static double SweEvent(double from, int ipl, double lat, double lon, double h0, int rise) {
    double geopos[3] = {lon, lat, 0.0}, tret[10];
    char serr[256];
    int32 rsmi = (rise ? SE_CALC_RISE : SE_CALC_SET) | SE_BIT_DISC_CENTER | SE_BIT_NO_REFRACTION;
    int32 rc = swe_rise_trans_true_hor(from, ipl, NULL, SEFLG_SWIEPH, rsmi, geopos, 0.0, 10.0, h0, tret, serr);
    if (rc == ERR) {
        fprintf(stderr, "swe_rise_trans: %s\n", serr);
        exit(1);
    }
    return rc == -2 ? 0.0 : tret[0];
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: make_riseset_reference cases.csv events.csv\n");
        return 2;
    }
    FILE* cases = fopen(argv[1], "w");
    FILE* events = fopen(argv[2], "w");
    if (!cases || !events) return 2;
    swe_set_ephe_path("/usr/share/libswe/ephe");
    fprintf(cases, "case,kind,lat,lon,tz,year,month,day,day_ut_jd,h0_deg,mid_alt\n");
    fprintf(events, "case,event,jd_ut,value\n");
    int caseNo = 0;
    double worstSwe = 0.0, worstSweAlt = 0.0;
    int sweChecked = 0;
    for (size_t p = 0; p < sizeof kPlaces / sizeof kPlaces[0]; ++p) {
        const struct Place pl = kPlaces[p];
        for (size_t d = 0; d < sizeof kDates / sizeof kDates[0]; ++d) {
            const struct Date dt = kDates[d];
            const double d0 = swe_julday(dt.y, dt.m, dt.d, 0.0, SE_GREG_CAL);
            const double day = d0 - pl.tz / 24.0;
            for (int kind = 0; kind <= 11; ++kind) {
                if (kind == 3) continue;
                const int ipl = SweBody(kind);
                const double h0 = Threshold(kind);
                double alt, ha;
                AltHa(day + 0.5, ipl, pl.lat, pl.lon, &alt, &ha);
                ++caseNo;
#define ROW(ev, jd, val) fprintf(events, "%d,%s,%.6f,%.5f\n", caseNo, ev, jd, val)
                fprintf(cases, "%d,%d,%.1f,%.1f,%.0f,%d,%d,%d,%.8f,%.6f,%.4f\n", caseNo, kind, pl.lat, pl.lon, pl.tz,
                        dt.y, dt.m, dt.d, day, h0, alt - h0);
                struct Event ev[64];
                const double d0ut = floor(day - 0.5) + 0.5, t0 = d0ut - 0.6, t1 = d0ut + 2.0;
                int n = Scan(0, ipl, pl.lat, pl.lon, h0, t0, t1, ev, 64);
                for (int i = 0; i < n; ++i) {
                    double t = ev[i].jd;
                    double a1, a2, hh;
                    AltHa(t - 0.5 / 1440.0, ipl, pl.lat, pl.lon, &a1, &hh);
                    AltHa(t + 0.5 / 1440.0, ipl, pl.lat, pl.lon, &a2, &hh);
                    if (kind == 0 || kind >= 10) {
                        /* The same crossing from swe_rise_trans, searched from 1 h before. */
                        double s = SweEvent(t - 1.0 / 24.0, ipl, pl.lat, pl.lon, h0, ev[i].up);
                        double diff = fabs(s - t) * 86400.0;
                        /* the same difference as an altitude, arcseconds */
                        double diffAlt = diff * fabs(a2 - a1) * 60.0;
                        ++sweChecked;
                        if (diff > worstSwe) worstSwe = diff;
                        if (diffAlt > worstSweAlt) worstSweAlt = diffAlt;
                        if (diffAlt > 15.0) {
                            fprintf(stderr, "scan and swe_rise_trans differ by %.1f s, %.1f\" (case %d)\n", diff,
                                    diffAlt, caseNo);
                            return 1;
                        }
                        t = s;
                    }
                    ROW(ev[i].up ? "rise" : "set", t, a2 - a1);
                }
                if (kind <= 9) {
                    for (int w = 1; w <= 2; ++w) {
                        n = Scan(w, ipl, pl.lat, pl.lon, 0.0, t0, t1, ev, 64);
                        for (int i = 0; i < n; ++i) {
                            AltHa(ev[i].jd, ipl, pl.lat, pl.lon, &alt, &ha);
                            ROW(w == 1 ? "upper" : "lower", ev[i].jd, alt);
                        }
                    }
                }
            }
        }
    }
    fprintf(stderr,
            "%d cases; %d Sun and twilight crossings: swe_rise_trans within %.2f s (%.2f\" of altitude) of the scan\n",
            caseNo, sweChecked, worstSwe, worstSweAlt);
    swe_close();
    fclose(cases);
    fclose(events);
    return 0;
}
