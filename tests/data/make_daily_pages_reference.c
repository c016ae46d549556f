/* Reference values for the printed daily pages, from the Swiss Ephemeris (Debian libswe-dev
 * with swe-basic-data: the compressed JPL DE431 files), independent of Veltrano's series.
 *
 * Writes daily_pages_reference.csv into the folder given as the only argument; for each
 * three-day spread below (the first day's date):
 *   H,date,hour,dt,aries,<venus mars jupiter saturn sun moon: gha,dec>,moon_hp
 *      every hour 0..71 of UT from 0 h of the first day. dt is the library's own Delta T
 *      (TT - UT, seconds) at which the bodies were taken; aries the Greenwich apparent
 *      sidereal time (IERS Conventions 2010). Degrees; moon_hp arcmin (asin(6378.14 km / r)).
 *   S,date,hr,sha,dec   the navigational stars (sefstars.txt by Bayer designation) at 12 h UT
 *      of the middle day, apparent place of date. Rigil Kentaurus (HR 5459) is left out:
 *      sefstars.txt carries the motion of the A+B system (686 mas/yr in declination) where
 *      the program's catalogue holds alpha-1 Cen (A, 474 mas/yr), 0.4' apart by 1900.
 *   E,date,lat,column,value   the rise and set table at longitude 0 from the geocentric
 *      apparent altitude of the centre: the Sun at -50', twilight at -6 and -12 degrees, the
 *      Moon at HP - SD - 34' (SD = asin(1737.4 km / r)). Columns naut, civil, rise (the
 *      morning crossing upwards) and set, civil_end, naut_end (the evening crossing
 *      downwards) of the middle day; moonrise0..3 and moonset0..3 of each day and the next. The value is
 *      the UT hours from 0 h of that day of the first crossing in the day; when there is
 *      none, "above" or "below" when the altitude stays on one side all day, else the first
 *      crossing of the following day (hours 24..48), else the side the body stays on where
 *      the missing event would be: at 0 h for a rising (it never had to rise, or never
 *      does), at 24 h for a setting (it does not set again, or set before). Searched in
 *      5-minute steps, bisected to 0.1 s.
 *   D,date,day,eot0,eot12,sun_mer_pass,moon_upper,moon_lower,moon_age,moon_phase,moon_sd   the
 *      foot of the right page for each day (0, 1, 2): the equation of time (GHA of the Sun
 *      minus 180 deg, in minutes of time, signed) at 0 h and 12 h UT; the UT hours at which
 *      the Sun's and the Moon's GHA pass 0 (upper) and 180 deg (lower), searched from 0 h of
 *      the day over 48 hours ("none" without one); the Moon's age in days since the
 *      geocentric conjunction in ecliptic longitude, its illuminated fraction (swe_pheno_ut)
 *      and its semidiameter (arcmin, asin(1737.4 km / r)) at 12 h UT.
 *   P,date,body,v,d,sha,mer_pass   the planets' (venus mars jupiter saturn) and, as body
 *      "aries" with v, d, sha 0, the first point of Aries's: v and d the mean hourly excess of
 *      the GHA over 15 deg and the mean hourly change of declination over the 72 hours
 *      (arcmin, signed), SHA at 0 h UT of the middle day, and the UT hours of the middle
 *      day at which the GHA passes 360 (the nearest passage of the spread when that day has
 *      none). Also body "sun" with its d and, as sha, its semidiameter at 12 h UT of the
 *      middle day (arcmin, asin(696000 km / r)).
 *
 * Also writes star_pages_reference.csv: jd_ut,hr,sha,dec, the navigational stars (as S rows) at
 * 12 h UT of the middle day of every spread of 2026, and Polaris of every spread of 2095.
 *
 * Build and run with tests/data/make_daily_pages_reference.sh (not run by CI).
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <swephexp.h>

static const double kDeg = M_PI / 180.0;

static double Norm360(double x) {
    x = fmod(x, 360.0);
    return x < 0 ? x + 360.0 : x;
}

/* Apparent right ascension, declination (degrees) and the true (geometric) distance (km) at
 * UT. The apparent place's own distance is not the Moon's: it holds the Earth's motion during
 * the light time (up to 38 km, 0.3" of HP). */
static void Place(double jdUt, int ipl, double out[3]) {
    char serr[256];
    double x[6], t[6];
    const int32 rc = swe_calc_ut(jdUt, ipl, SEFLG_SWIEPH | SEFLG_EQUATORIAL, x, serr);
    const int32 rt = swe_calc_ut(jdUt, ipl, SEFLG_SWIEPH | SEFLG_EQUATORIAL | SEFLG_TRUEPOS, t, serr);
    if (rc < 0 || (rc & SEFLG_SWIEPH) == 0 || rt < 0) {
        fprintf(stderr, "swe_calc_ut(%f, %d): %s\n", jdUt, ipl, serr);
        exit(1);
    }
    out[0] = x[0];
    out[1] = x[1];
    out[2] = t[2] * 149597870.7;
}

static double Gast(double jdUt) { return Norm360(swe_sidtime(jdUt) * 15.0); }

/* Altitude of the centre minus the threshold of the column, degrees. */
static int gBody;
static double gLat, gThreshold;
static double Height(double jdUt) {
    double p[3];
    Place(jdUt, gBody, p);
    const double h = asin(sin(gLat * kDeg) * sin(p[1] * kDeg) +
                          cos(gLat * kDeg) * cos(p[1] * kDeg) * cos((Gast(jdUt) - p[0]) * kDeg)) / kDeg;
    if (gBody == SE_MOON) {
        const double hp = asin(6378.14 / p[2]) / kDeg, sd = asin(1737.4 / p[2]) / kDeg;
        return h - (hp - sd - 34.0 / 60.0);
    }
    return h - gThreshold;
}

static const double kStep = 5.0 / 1440.0;

/* First crossing the given way in [a, b); 1 when found. */
static int Crossing(double a, double b, int rising, double* t) {
    double t0 = a, f0 = Height(a);
    for (double t1 = a + kStep; t0 < b - 1e-9; t1 += kStep) {
        if (t1 > b) t1 = b;
        const double f1 = Height(t1);
        if (rising ? (f0 < 0 && f1 >= 0) : (f0 >= 0 && f1 < 0)) {
            double lo = t0, hi = t1;
            while (hi - lo > 1e-6) {
                const double m = 0.5 * (lo + hi);
                if ((Height(m) >= 0) == rising) hi = m;
                else lo = m;
            }
            *t = 0.5 * (lo + hi);
            return 1;
        }
        t0 = t1;
        f0 = f1;
    }
    return 0;
}

static void Event(FILE* f, const char* date, double lat, const char* column, double day, int rising) {
    double t;
    fprintf(f, "E,%s,%g,%s,", date, lat, column);
    if (Crossing(day, day + 1.0, rising, &t)) {
        fprintf(f, "%.5f\n", (t - day) * 24.0);
        return;
    }
    int above = 0, below = 0;
    for (double s = day; s <= day + 1.0 + 1e-9; s += kStep) *(Height(s) >= 0 ? &above : &below) = 1;
    if (above && !below) fprintf(f, "above\n");
    else if (below && !above) fprintf(f, "below\n");
    else if (Crossing(day + 1.0, day + 2.0, rising, &t)) fprintf(f, "%.5f\n", (t - day) * 24.0);
    else fprintf(f, "%s\n", Height(rising ? day : day + 1.0) >= 0 ? "above" : "below");
}

/* GHA of a body (or Aries for ipl < 0) minus offset, wrapped to (-180, 180]. */
static double GhaFrom(double jdUt, int ipl, double offset) {
    double p[3] = {0, 0, 0};
    if (ipl >= 0) Place(jdUt, ipl, p);
    double x = fmod(Gast(jdUt) - p[0] - offset, 360.0);
    if (x > 180.0) x -= 360.0;
    if (x <= -180.0) x += 360.0;
    return x;
}

/* The first instant in [a, b) at which the GHA of ipl passes offset; -1 when none. */
static double Passage(double a, double b, int ipl, double offset) {
    const double step = 10.0 / 1440.0;
    for (double t0 = a; t0 < b - 1e-9; t0 += step) {
        if (GhaFrom(t0, ipl, offset) < 0 && GhaFrom(t0 + step, ipl, offset) >= 0) {
            double lo = t0, hi = t0 + step;
            while (hi - lo > 1e-7) {
                const double m = 0.5 * (lo + hi);
                if (GhaFrom(m, ipl, offset) >= 0) hi = m;
                else lo = m;
            }
            return 0.5 * (lo + hi);
        }
    }
    return -1.0;
}

/* Moon minus Sun in apparent ecliptic longitude of date, wrapped to (-180, 180]. */
static double Elongation(double jdUt) {
    char serr[256];
    double m[6], s[6];
    if (swe_calc_ut(jdUt, SE_MOON, SEFLG_SWIEPH, m, serr) < 0 || swe_calc_ut(jdUt, SE_SUN, SEFLG_SWIEPH, s, serr) < 0) {
        fprintf(stderr, "swe_calc_ut: %s\n", serr);
        exit(1);
    }
    double x = fmod(m[0] - s[0], 360.0);
    if (x > 180.0) x -= 360.0;
    if (x <= -180.0) x += 360.0;
    return x;
}

/* Days since the last new moon before jdUt. */
static double MoonAge(double jdUt) {
    double t1 = jdUt, t0 = jdUt - 0.25;
    while (!(Elongation(t0) < 0 && Elongation(t1) >= 0)) t1 = t0, t0 -= 0.25;
    while (t1 - t0 > 1e-7) {
        const double m = 0.5 * (t0 + t1);
        if (Elongation(m) >= 0) t1 = m;
        else t0 = m;
    }
    return jdUt - 0.5 * (t0 + t1);
}

static void Hours(FILE* f, double t, double day) {
    if (t < 0) fprintf(f, ",none");
    else fprintf(f, ",%.5f", (t - day) * 24.0);
}

/* The feet of the two pages. */
static void Feet(FILE* f, const char* date, double jd0) {
    char serr[256];
    for (int d = 0; d < 3; ++d) {
        const double day = jd0 + d, noon = day + 0.5;
        double moon[3], attr[20];
        fprintf(f, "D,%s,%d,%.5f,%.5f", date, d, GhaFrom(day, SE_SUN, 180.0) * 4.0, GhaFrom(noon, SE_SUN, 0.0) * 4.0);
        Hours(f, Passage(day, day + 2.0, SE_SUN, 0.0), day);
        Hours(f, Passage(day, day + 2.0, SE_MOON, 0.0), day);
        Hours(f, Passage(day, day + 2.0, SE_MOON, 180.0), day);
        Place(noon, SE_MOON, moon);
        if (swe_pheno_ut(noon, SE_MOON, SEFLG_SWIEPH, attr, serr) < 0) {
            fprintf(stderr, "swe_pheno_ut: %s\n", serr);
            exit(1);
        }
        fprintf(f, ",%.5f,%.5f,%.5f\n", MoonAge(noon), attr[1], asin(1737.4 / moon[2]) / kDeg * 60.0);
    }
    static const struct { const char* name; int ipl; } rows[5] = {
        {"venus", SE_VENUS}, {"mars", SE_MARS}, {"jupiter", SE_JUPITER}, {"saturn", SE_SATURN}, {"aries", -1}};
    for (int k = 0; k < 5; ++k) {
        double a[3] = {0, 0, 0}, b[3] = {0, 0, 0}, mid[3] = {0, 0, 0};
        if (rows[k].ipl >= 0) {
            Place(jd0, rows[k].ipl, a);
            Place(jd0 + 3.0, rows[k].ipl, b);
            Place(jd0 + 1.0, rows[k].ipl, mid);
        }
        /* In the 72 hours the GHA turns three times and the excess over 15 deg an hour. */
        const double excess = Norm360((Gast(jd0 + 3.0) - b[0]) - (Gast(jd0) - a[0]) + 180.0) - 180.0;
        const double v = excess / 72.0 * 60.0;
        double t = Passage(jd0 + 1.0, jd0 + 2.0, rows[k].ipl, 0.0);
        if (t < 0) {
            const double before = Passage(jd0, jd0 + 1.0, rows[k].ipl, 0.0), after = Passage(jd0 + 2.0, jd0 + 3.0, rows[k].ipl, 0.0);
            t = after < 0 || (before >= 0 && jd0 + 1.0 - before < after - jd0 - 2.0) ? before : after;
        }
        fprintf(f, "P,%s,%s,%.5f,%.5f,%.6f,%.5f\n", date, rows[k].name, rows[k].ipl >= 0 ? v : 0.0,
                (b[1] - a[1]) / 72.0 * 60.0, rows[k].ipl >= 0 ? Norm360(360.0 - mid[0]) : 0.0, (t - jd0 - 1.0) * 24.0);
    }
    double s0[3], s1[3], s2[3];
    Place(jd0, SE_SUN, s0);
    Place(jd0 + 3.0, SE_SUN, s1);
    Place(jd0 + 1.5, SE_SUN, s2);
    fprintf(f, "P,%s,sun,0,%.5f,%.5f,0\n", date, (s1[1] - s0[1]) / 72.0 * 60.0, asin(696000.0 / s2[2]) / kDeg * 60.0);
}

static const int kBodies[6] = {SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN, SE_SUN, SE_MOON};

/* The navigational stars: catalogue (HR) number and sefstars.txt designation. */
static const struct { int hr; const char* name; } kStars[] = {
    {15, ",alAnd"},   {99, ",alPhe"},   {168, ",alCas"},  {188, ",beCet"},  {472, ",alEri"},
    {617, ",alAri"},  {897, ",th-1Eri"}, {911, ",alCet"}, {1017, ",alPer"}, {1457, ",alTau"},
    {1713, ",beOri"}, {1708, ",alAur"}, {1790, ",gaOri"}, {1791, ",beTau"}, {1903, ",epOri"},
    {2061, ",alOri"}, {2326, ",alCar"}, {2491, ",alCMa"}, {2618, ",epCMa"}, {2943, ",alCMi"},
    {2990, ",beGem"}, {3307, ",epCar"}, {3634, ",laVel"}, {3685, ",beCar"}, {3748, ",alHya"},
    {3982, ",alLeo"}, {4301, ",alUMa"}, {4534, ",beLeo"}, {4662, ",gaCrv"}, {4730, ",alCru"},
    {4763, ",gaCru"}, {4905, ",epUMa"}, {5056, ",alVir"}, {5191, ",etUMa"}, {5267, ",beCen"},
    {5288, ",thCen"}, {5340, ",alBoo"}, {5531, ",al-2Lib"}, {5563, ",beUMi"},
    {5793, ",alCrB"}, {6134, ",alSco"}, {6217, ",alTrA"}, {6378, ",etOph"}, {6527, ",laSco"},
    {6556, ",alOph"}, {6705, ",gaDra"}, {6879, ",epSgr"}, {7001, ",alLyr"}, {7121, ",siSgr"},
    {7557, ",alAql"}, {7790, ",alPav"}, {7924, ",alCyg"}, {8308, ",epPeg"}, {8425, ",alGru"},
    {8728, ",alPsA"}, {8781, ",alPeg"}, {424, ",alUMi"}};

static const double kLatitudes[31] = {72,  70,  68,  66,  64,  62,  60,  58,  56,  54,  52,
                                      50,  45,  40,  35,  30,  20,  10,  0,   -10, -20, -30,
                                      -35, -40, -45, -50, -52, -54, -56, -58, -60};

static void Spread(FILE* f, int y, int m, int d) {
    char date[16];
    snprintf(date, sizeof date, "%04d-%02d-%02d", y, m, d);
    const double jd0 = swe_julday(y, m, d, 0.0, SE_GREG_CAL);
    for (int h = 0; h < 72; ++h) {
        const double jd = jd0 + h / 24.0;
        const double aries = Gast(jd);
        fprintf(f, "H,%s,%d,%.3f,%.9f", date, h, swe_deltat_ex(jd, SEFLG_SWIEPH, NULL) * 86400.0, aries);
        double p[3];
        for (int b = 0; b < 6; ++b) {
            Place(jd, kBodies[b], p);
            fprintf(f, ",%.9f,%.9f", Norm360(aries - p[0]), p[1]);
        }
        fprintf(f, ",%.5f\n", asin(6378.14 / p[2]) / kDeg * 60.0);
    }
    Feet(f, date, jd0);
    const double mid = jd0 + 1.5;
    for (size_t i = 0; i < sizeof kStars / sizeof kStars[0]; ++i) {
        char star[64], serr[256];
        double x[6];
        snprintf(star, sizeof star, "%s", kStars[i].name);
        if (swe_fixstar2_ut(star, mid, SEFLG_SWIEPH | SEFLG_EQUATORIAL, x, serr) < 0) {
            fprintf(stderr, "%s: %s\n", kStars[i].name, serr);
            exit(1);
        }
        fprintf(f, "S,%s,%d,%.9f,%.9f\n", date, kStars[i].hr, Norm360(360.0 - x[0]), x[1]);
    }
    for (int i = 0; i < 31; ++i) {
        gLat = kLatitudes[i];
        gBody = SE_SUN;
        const double day = jd0 + 1.0;
        const struct { const char* column; double threshold; int rising; } sun[6] = {
            {"naut", -12.0, 1}, {"civil", -6.0, 1}, {"rise", -50.0 / 60.0, 1},
            {"set", -50.0 / 60.0, 0}, {"civil_end", -6.0, 0}, {"naut_end", -12.0, 0}};
        for (int c = 0; c < 6; ++c) {
            gThreshold = sun[c].threshold;
            Event(f, date, gLat, sun[c].column, day, sun[c].rising);
        }
        gBody = SE_MOON;
        for (int k = 0; k < 4; ++k) {  /* the spread's three days and the following one */
            char column[16];
            snprintf(column, sizeof column, "moonrise%d", k);
            Event(f, date, gLat, column, jd0 + k, 1);
            snprintf(column, sizeof column, "moonset%d", k);
            Event(f, date, gLat, column, jd0 + k, 0);
        }
    }
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    swe_set_ephe_path((char*)"/usr/share/libswe/ephe");
    swe_set_astro_models((char*)"0,0,0,0,0,0,0,3", 0);
    char path[1024];
    snprintf(path, sizeof path, "%s/daily_pages_reference.csv", argv[1]);
    FILE* f = fopen(path, "w");
    if (!f) {
        perror(path);
        return 1;
    }
    char version[256];
    fprintf(f, "# Swiss Ephemeris %s; written by make_daily_pages_reference.c\n", swe_version(version));
    /* A polar day (June 1900) and a polar night (December 1955) in the table's north, and
     * the end of the nights of civil twilight at N 64 (May 2026: twilight begins before 0 h
     * and does not end). */
    static const int dates[7][3] = {{1900, 6, 20}, {1955, 12, 20}, {1987, 3, 2}, {2024, 3, 19},
                                    {2062, 9, 10}, {2100, 12, 29}, {2026, 5, 19}};
    for (int i = 0; i < 7; ++i) Spread(f, dates[i][0], dates[i][1], dates[i][2]);
    fclose(f);

    /* The stars of the middle day of every spread of two years' pages (1 January on, three
     * days a spread), all of them in 2026, Polaris alone in 2095. */
    snprintf(path, sizeof path, "%s/star_pages_reference.csv", argv[1]);
    f = fopen(path, "w");
    if (!f) {
        perror(path);
        return 1;
    }
    fprintf(f, "# Swiss Ephemeris %s; written by make_daily_pages_reference.c\n", swe_version(version));
    fprintf(f, "jd_ut,hr,sha,dec\n");
    static const int years[2] = {2026, 2095};
    for (int y = 0; y < 2; ++y)
        for (double mid = swe_julday(years[y], 1, 2, 12.0, SE_GREG_CAL);
             mid < swe_julday(years[y] + 1, 1, 1, 0.0, SE_GREG_CAL); mid += 3.0)
            for (size_t i = 0; i < sizeof kStars / sizeof kStars[0]; ++i) {
                if (y == 1 && kStars[i].hr != 424) continue;
                char star[64], serr[256];
                double x[6];
                snprintf(star, sizeof star, "%s", kStars[i].name);
                if (swe_fixstar2_ut(star, mid, SEFLG_SWIEPH | SEFLG_EQUATORIAL, x, serr) < 0) {
                    fprintf(stderr, "%s: %s\n", kStars[i].name, serr);
                    exit(1);
                }
                fprintf(f, "%.1f,%d,%.9f,%.9f\n", mid, kStars[i].hr, Norm360(360.0 - x[0]), x[1]);
            }
    fclose(f);
    return 0;
}
