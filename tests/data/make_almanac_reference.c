/* Reference tables for the almanac pages, from the Swiss Ephemeris (Debian libswe-dev
 * with swe-basic-data: the compressed JPL DE431 files sepl_18/semo_18), independent of
 * Veltrano's own series.
 *
 * Writes into the folder given as the only argument:
 *   almanac_page_reference.csv   hourly page rows for 12 dates 1900-2100: Greenwich apparent
 *                                sidereal time (Aries, IERS Conventions 2010) at the row's UT, and the Greenwich hour
 *                                angle and declination of Venus, Mars, Jupiter, Saturn, the Sun
 *                                and the Moon (apparent place, true equator and equinox of date)
 *                                at the row's TT; degrees.
 *   almanac_page_2024-01-11.txt  the page of 2024-01-11 as text, from the same values (format
 *                                described in tests/data/README.md).
 *   almanac_seasons_reference.csv  equinoxes (apparent declination of the Sun crosses 0) and
 *                                solstices (the Sun's apparent longitude 90 or 270 degrees),
 *                                1900-2100, as TT Julian dates.
 *   almanac_phases_reference.csv new moon, first quarter, full moon, last quarter (the Moon's
 *                                apparent geocentric longitude minus the Sun's is 0, 90, 180,
 *                                270 degrees), 1899-12 to 2101-01, as TT Julian dates.
 *
 * The instant of a page row: the row's UT is 0 h UT of the date plus the hour; its TT is that
 * UT plus Delta T from the program's Delta T (its observed table data/deltat.csv and its
 * interpolation and prediction, reproduced below), so the comparison is made at the same TT and
 * Delta T does not enter it. Seasons and phases are compared in TT, so no Delta T enters them at all.
 *
 * Build and run with tests/data/make_almanac_reference.sh (not run by CI).
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <swephexp.h>

static const char* kEphePath = "/usr/share/libswe/ephe";

/* The program's Delta T (TT - UT), seconds, of a Julian date from 1620 on: the observed table
 * data/deltat.csv (1st of the month, 0 h UT) joined by cubic Hermite pieces whose slopes are
 * the weighted three-point differences, the last entry's slope the mean rate of its last 24
 * months; after it a Hermite piece to Morrison & Stephenson's -20 + 32 u^2 (u = (year -
 * 1820)/100) 100 Julian years on, then the parabola. */
#define MAX_DT 2000
static double dtJd[MAX_DT], dtS[MAX_DT], dtSlope[MAX_DT];
static int dtN = 0;

static void LoadDeltaT(const char* path) {
    FILE* f = fopen(path, "r");
    if (!f) { perror(path); exit(1); }
    char line[256];
    int y, m;
    double sec;
    while (fgets(line, sizeof line, f))
        if (dtN < MAX_DT && sscanf(line, "%d,%d,%lf", &y, &m, &sec) == 3) {
            dtJd[dtN] = swe_julday(y, m, 1, 0.0, SE_GREG_CAL);
            dtS[dtN++] = sec;
        }
    fclose(f);
    for (int i = 1; i + 1 < dtN; ++i) {
        const double h0 = dtJd[i] - dtJd[i - 1], h1 = dtJd[i + 1] - dtJd[i];
        dtSlope[i] = ((dtS[i] - dtS[i - 1]) / h0 * h1 + (dtS[i + 1] - dtS[i]) / h1 * h0) / (h0 + h1);
    }
    dtSlope[0] = (dtS[1] - dtS[0]) / (dtJd[1] - dtJd[0]);
    dtSlope[dtN - 1] = (dtS[dtN - 1] - dtS[dtN - 25]) / (dtJd[dtN - 1] - dtJd[dtN - 25]);
}

static double Hermite(double x, double x0, double x1, double y0, double y1, double d0, double d1) {
    const double h = x1 - x0, s = (x - x0) / h, s2 = s * s, s3 = s2 * s;
    return (2 * s3 - 3 * s2 + 1) * y0 + (s3 - 2 * s2 + s) * h * d0 + (-2 * s3 + 3 * s2) * y1 + (s3 - s2) * h * d1;
}

static double ProgramDeltaTSeconds(double jd) {
    if (jd < dtJd[0]) { fprintf(stderr, "Delta T before 1620 is not reproduced\n"); exit(1); }
    if (jd <= dtJd[dtN - 1]) {
        int a = 0;
        while (a + 2 < dtN && dtJd[a + 1] <= jd) ++a;
        return Hermite(jd, dtJd[a], dtJd[a + 1], dtS[a], dtS[a + 1], dtSlope[a], dtSlope[a + 1]);
    }
    const double jd1 = dtJd[dtN - 1] + 36525.0;
    const double u1 = (2000.0 + (jd1 - 2451545.0) / 365.25 - 1820.0) / 100.0;
    const double u = (2000.0 + (jd - 2451545.0) / 365.25 - 1820.0) / 100.0;
    if (jd >= jd1) return -20.0 + 32.0 * u * u;
    return Hermite(jd, dtJd[dtN - 1], jd1, dtS[dtN - 1], -20.0 + 32.0 * u1 * u1, dtSlope[dtN - 1],
                   64.0 * u1 / 100.0 / 365.25);
}

static double Norm360(double x) {
    x = fmod(x, 360.0);
    return x < 0 ? x + 360.0 : x;
}

static void Calc(double jdTT, int ipl, int equatorial, double out[6]) {
    char serr[256];
    int32 flags = SEFLG_SWIEPH | (equatorial ? SEFLG_EQUATORIAL : 0);
    int32 rc = swe_calc(jdTT, ipl, flags, out, serr);
    if (rc < 0 || (rc & SEFLG_SWIEPH) == 0) {
        fprintf(stderr, "swe_calc(%f, %d): %s\n", jdTT, ipl, serr);
        exit(1);
    }
}

/* The page's angle text: a sign field (" "/"-", or "N"/"S" with letters), the whole degrees
 * right-aligned to the width, a space, the minutes with one decimal; a minute value that
 * rounds to 60.0 is carried into the degrees. */
static void FormatAngle(char* buf, size_t n, double deg, int width, int letters) {
    const char* sign = letters ? (deg >= 0 ? "N" : "S") : (deg >= 0 ? " " : "-");
    double a = fabs(deg);
    long d = (long)floor(a);
    long tenths = lround((a - (double)d) * 600.0);
    if (tenths >= 600) {
        d += 1;
        tenths -= 600;
    }
    snprintf(buf, n, "%s%*ld %02ld.%ld", sign, width, d, tenths / 10, tenths % 10);
}

static const int kPageBodies[6] = {SE_VENUS, SE_MARS, SE_JUPITER, SE_SATURN, SE_SUN, SE_MOON};
static const char* kPageNames[6] = {"venus", "mars", "jupiter", "saturn", "sun", "moon"};

static void PageRow(double jdUT, double* aries, double gha[6], double dec[6]) {
    const double jdTT = jdUT + ProgramDeltaTSeconds(jdUT) / 86400.0;
    *aries = Norm360(swe_sidtime(jdUT) * 15.0);
    for (int b = 0; b < 6; ++b) {
        double x[6];
        Calc(jdTT, kPageBodies[b], 1, x);
        gha[b] = Norm360(*aries - x[0]);
        dec[b] = x[1];
    }
}

static void WritePages(const char* dir) {
    static const int dates[12][3] = {{1900, 1, 1},  {1912, 4, 14}, {1937, 7, 2},  {1955, 10, 31},
                                     {1969, 7, 20}, {1987, 2, 23}, {2000, 1, 1},  {2024, 1, 11},
                                     {2024, 3, 20}, {2045, 8, 12}, {2073, 5, 5},  {2100, 12, 31}};
    char path[1024];
    snprintf(path, sizeof path, "%s/almanac_page_reference.csv", dir);
    FILE* f = fopen(path, "w");
    if (!f) { perror(path); exit(1); }
    fprintf(f, "# Swiss Ephemeris %s; written by make_almanac_reference.c\n", swe_version((char[256]){0}));
    fprintf(f, "year,month,day,hour,jd_ut,jd_tt,aries");
    for (int b = 0; b < 6; ++b) fprintf(f, ",%s_gha,%s_dec", kPageNames[b], kPageNames[b]);
    fprintf(f, "\n");
    for (int i = 0; i < 12; ++i) {
        const double jd0 = swe_julday(dates[i][0], dates[i][1], dates[i][2], 0.0, SE_GREG_CAL);
        FILE* txt = NULL;
        if (dates[i][0] == 2024 && dates[i][1] == 1 && dates[i][2] == 11) {
            char tp[1024];
            snprintf(tp, sizeof tp, "%s/almanac_page_2024-01-11.txt", dir);
            txt = fopen(tp, "w");
            if (!txt) { perror(tp); exit(1); }
            fprintf(txt, "UT|ARIES|VENUS|MARS|JUPITER|SATURN|SUN|MOON\n");
        }
        for (int h = 0; h < 24; ++h) {
            const double jdUT = jd0 + h / 24.0;
            double aries, gha[6], dec[6];
            PageRow(jdUT, &aries, gha, dec);
            fprintf(f, "%d,%d,%d,%d,%.6f,%.8f,%.9f", dates[i][0], dates[i][1], dates[i][2], h, jdUT,
                    jdUT + ProgramDeltaTSeconds(jdUT) / 86400.0, aries);
            for (int b = 0; b < 6; ++b) fprintf(f, ",%.9f,%.9f", gha[b], dec[b]);
            fprintf(f, "\n");
            if (txt) {
                char a[64], g[64], d[64];
                FormatAngle(a, sizeof a, aries, 3, 0);
                fprintf(txt, "%02d|%s", h, a);
                for (int b = 0; b < 6; ++b) {
                    FormatAngle(g, sizeof g, gha[b], 3, 0);
                    FormatAngle(d, sizeof d, dec[b], 2, 1);
                    fprintf(txt, "|%s/%s", g, d);
                }
                fprintf(txt, "\n");
            }
        }
        if (txt) fclose(txt);
    }
    fclose(f);
}

static double SunDec(double jdTT) {
    double x[6];
    Calc(jdTT, SE_SUN, 1, x);
    return x[1];
}

/* Root of f in [a, b] by bisection to 1e-8 day (under a millisecond). */
static double Bisect(double (*f)(double), double a, double b) {
    double fa = f(a);
    double fb = f(b);
    if ((fa >= 0) == (fb >= 0)) {
        fprintf(stderr, "no root in [%f, %f]\n", a, b);
        exit(1);
    }
    while (b - a > 1e-8) {
        const double m = 0.5 * (a + b);
        const double fm = f(m);
        if ((fm >= 0) == (fa >= 0)) { a = m; fa = fm; }
        else { b = m; }
    }
    return 0.5 * (a + b);
}

/* The Sun's apparent ecliptic longitude of date minus 90 (June) or 270 (December) degrees,
 * wrapped to [-180, 180). */
static double gSolsticeLongitude = 90.0;
static double SunLongitudeOffset(double jdTT) {
    double x[6];
    Calc(jdTT, SE_SUN, 0, x);
    double e = Norm360(x[0] - gSolsticeLongitude);
    return e >= 180.0 ? e - 360.0 : e;
}

static void WriteSeasons(const char* dir) {
    char path[1024];
    snprintf(path, sizeof path, "%s/almanac_seasons_reference.csv", dir);
    FILE* f = fopen(path, "w");
    if (!f) { perror(path); exit(1); }
    fprintf(f, "# Swiss Ephemeris; equinox: apparent declination of the Sun = 0; solstice: its apparent longitude = 90 or 270 degrees\n");
    fprintf(f, "year,event,jd_tt\n");
    for (int y = 1900; y <= 2100; ++y) {
        const double mar = swe_julday(y, 3, 17, 0.0, SE_GREG_CAL);
        const double jun = swe_julday(y, 6, 18, 0.0, SE_GREG_CAL);
        const double sep = swe_julday(y, 9, 20, 0.0, SE_GREG_CAL);
        const double dec = swe_julday(y, 12, 18, 0.0, SE_GREG_CAL);
        fprintf(f, "%d,spring,%.8f\n", y, Bisect(SunDec, mar, mar + 6.0));
        gSolsticeLongitude = 90.0;
        fprintf(f, "%d,summer,%.8f\n", y, Bisect(SunLongitudeOffset, jun, jun + 6.0));
        fprintf(f, "%d,autumn,%.8f\n", y, Bisect(SunDec, sep, sep + 6.0));
        gSolsticeLongitude = 270.0;
        fprintf(f, "%d,winter,%.8f\n", y, Bisect(SunLongitudeOffset, dec, dec + 6.0));
    }
    fclose(f);
}

/* Apparent elongation in longitude of the Moon from the Sun, minus the phase angle,
 * wrapped to [-180, 180). */
static double gPhaseAngle = 0.0;
static double PhaseOffset(double jdTT) {
    double m[6], s[6];
    Calc(jdTT, SE_MOON, 0, m);
    Calc(jdTT, SE_SUN, 0, s);
    double e = Norm360(m[0] - s[0] - gPhaseAngle);
    return e >= 180.0 ? e - 360.0 : e;
}

static void WritePhases(const char* dir) {
    char path[1024];
    snprintf(path, sizeof path, "%s/almanac_phases_reference.csv", dir);
    FILE* f = fopen(path, "w");
    if (!f) { perror(path); exit(1); }
    fprintf(f, "# Swiss Ephemeris; phase q: apparent longitude of the Moon minus the Sun's = 90q degrees\n");
    fprintf(f, "phase,jd_tt\n");
    const double start = swe_julday(1899, 12, 1, 0.0, SE_GREG_CAL);
    const double end = swe_julday(2101, 2, 1, 0.0, SE_GREG_CAL);
    for (double t = start; t < end; t += 1.0) {
        for (int q = 0; q < 4; ++q) {
            gPhaseAngle = 90.0 * q;
            const double a = PhaseOffset(t);
            const double b = PhaseOffset(t + 1.0);
            /* the elongation grows 10-15 degrees a day: a crossing of 0, not of the +-180 wrap */
            if (a < 0.0 && b >= 0.0 && b - a < 90.0) fprintf(f, "%d,%.8f\n", q, Bisect(PhaseOffset, t, t + 1.0));
        }
    }
    fclose(f);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    swe_set_ephe_path((char*)kEphePath);
    /* Sidereal time by the IERS Conventions 2010 (IAU 2006/2000A) for every date: the
     * library's default long-term model, used outside 1850-2050, departs from it by
     * about 2 arcseconds in 2073-2100. Every other model stays at its default. */
    swe_set_astro_models((char*)"0,0,0,0,0,0,0,3", 0);
    char dtPath[1024];
    snprintf(dtPath, sizeof dtPath, "%s/../../data/deltat.csv", argv[1]);
    LoadDeltaT(dtPath);
    WritePages(argv[1]);
    WriteSeasons(argv[1]);
    WritePhases(argv[1]);
    swe_close();
    return 0;
}
