/* Reference tables for the noon sight, the latitude by Polaris and the iterated fix,
 * from the Swiss Ephemeris (Debian libswe-dev 2.10, swe-basic-data DE431 files).
 *
 * Sextant altitudes are made as in make_fix_reference.c: the Swiss Ephemeris
 * geocentric airless altitude h of the body's centre turned into a sextant reading by
 * the exact inverse of the program's documented reduction, Hs = h + (r + tp)(h) + dip
 * - sd - i_s/60 (no parallax for the Sun and stars), written to 0.0001' so that the
 * rounding of the reading does not enter the comparison.
 *
 * noon_reference.csv: the ship runs from its DR position (at the instant of the
 * working data) along the course at the speed, its position after t hours being
 * lat + d cos C / 60, lon + d sin C / (60 cos lat) with d = speed t (the program's
 * dead reckoning). noon_ut is the instant the Sun's local hour angle at the ship is
 * zero on the zone day (Greenwich apparent sidereal time minus the Sun's apparent
 * right ascension, found by bisection to 1 ms); lat_noon, lon_noon the ship then;
 * hs the lower-limb sextant altitude on the meridian at that instant.
 * polaris_reference.csv: 1900-2100, a ship at rest at lat 1..70 N; hs of Polaris.
 * The last row of the noon and Polaris tables is the help document's worked example.
 * fix_far_reference.csv: a ship at rest, three or four stars between 15 and 75
 * degrees crossing at 30 degrees or more, the DR 60 nm off the truth.
 *
 * Build and run: tests/data/make_planning_reference.sh (writes the three tables).
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <swephexp.h>

#define RadPerDeg (M_PI / 180.0)

static unsigned long long rng_state = 0x15A11CE5ULL;
static double urand(void) {
    rng_state = rng_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (double)(rng_state >> 11) / 9007199254740992.0;
}
static double uniform(double a, double b) { return a + (b - a) * urand(); }
static double Norm360(double a) { a = fmod(a, 360.0); return a < 0 ? a + 360.0 : a; }
static double Wrap180(double a) { a = Norm360(a); return a > 180.0 ? a - 360.0 : a; }

/* The program's documented corrections (as in make_fix_reference.c). */
static double Refraction(double h) {
    if (h < -0.575) return -20.774 / tan(h * RadPerDeg) / 3600.0;
    if (h <= 5.0) return (1735.0 - 518.2 * h + 103.4 * h * h - 12.79 * h * h * h + 0.711 * h * h * h * h) / 3600.0;
    if (h <= 15.0) {
        const double t = tan(h * RadPerDeg);
        return (58.1 / t - 0.07 / (t * t * t) + 0.000086 / pow(t, 5)) / 3600.0;
    }
    const double c = tan((90.0 - h) * RadPerDeg);
    return (0.9716 * c - 0.0011 * c * c * c) / 60.0;
}
static double RefractionTP(double r, double temp, double pres) { return r * ((283.0 / (273.0 + temp)) * (pres / 1010.0) - 1.0); }
static double Dip(double hEye) { return 1.766 * sqrt(hEye) / 60.0; }
static const double kKmPerAU = 149597870.691;
static const double kSunDiameterKm = 1392000.0;

typedef struct { double alt, az, dist; } Horizontal;

/* Geocentric apparent place of the Sun (star == NULL) or a star at UT jd, seen from (lat, lon). */
static void Observe(const char* star, double jdUt, double lat, double lon, Horizontal* out, double* ra) {
    char serr[256], name[64];
    double xx[6], xaz[3];
    const int32 flag = SEFLG_SWIEPH | SEFLG_EQUATORIAL;
    double geopos[3] = {lon, lat, 0.0};
    int rc;
    if (star) {
        strcpy(name, star);
        rc = swe_fixstar2_ut(name, jdUt, flag, xx, serr);
    } else {
        rc = swe_calc_ut(jdUt, SE_SUN, flag, xx, serr);
    }
    if (rc < 0) { fprintf(stderr, "%s\n", serr); exit(1); }
    double xin[3] = {xx[0], xx[1], xx[2]};
    swe_azalt(jdUt, SE_EQU2HOR, geopos, 0.0, 10.0, xin, xaz);
    out->alt = xaz[1];
    out->az = Norm360(xaz[0] + 180.0);
    out->dist = xx[2];
    if (ra) *ra = xx[0];
}

/* The program's reduction inverted by iteration: refraction at the apparent altitude H = Hs +
 * i_s/60 - dip; for the Sun (sd > 0, lower limb) the semidiameter and the parallax asin(sin HP
 * cos h') at the centre's topocentric altitude h' (HP from distAU); a star neither. */
static double SextantFrom(double h, double sd, double distAU, double temp, double pres, double hEye, double iS) {
    double hs = h;
    for (int it = 0; it < 30; ++it) {
        const double H = hs + iS / 60.0 - Dip(hEye);
        const double r = Refraction(H);
        double ho = H - r - RefractionTP(r, temp, pres);
        if (sd > 0.0) ho += sd + asin(6378.137 / (distAU * kKmPerAU) * cos((ho + sd) * RadPerDeg)) / RadPerDeg;
        hs += h - ho;
    }
    return hs;
}

static void AltitudeText(double h, char* out) {
    int deg = (int)floor(h);
    double min = round((h - deg) * 600000.0) / 10000.0;
    if (min >= 60.0) { deg += 1; min = 0.0; }
    sprintf(out, "%02d-%07.4f", deg, min);
}

/* The rhumb line (Mercator sailing), the program's dead reckoning. */
static void RunAlong(double lat, double lon, double course, double run, double* lat2, double* lon2) {
    const double dLat = run * cos(course * RadPerDeg) / 60.0;
    *lat2 = lat + dLat;
    double q = cos(lat * RadPerDeg);
    if (fabs(dLat) > 1e-9)
        q = dLat * RadPerDeg / log(tan(M_PI / 4 + *lat2 * RadPerDeg / 2) / tan(M_PI / 4 + lat * RadPerDeg / 2));
    *lon2 = Wrap180(lon + run * sin(course * RadPerDeg) / (60.0 * q));
}

static void PrintDate(FILE* f, double jdUt) {
    int y, m, d;
    double hour;
    swe_revjul(jdUt, SE_GREG_CAL, &y, &m, &d, &hour);
    const long s = lround(hour * 3600.0);
    fprintf(f, "%d,%d,%d,%ld,%ld,%ld", y, m, d, s / 3600, s / 60 % 60, s % 60);
}

/* ------------------------------------------------------------------ noon */
static double SunLha(double jdUt, double drJd, double drLat, double drLon, double course, double speed) {
    double lat, lon, ra;
    RunAlong(drLat, drLon, course, speed * (jdUt - drJd) * 24.0, &lat, &lon);
    Horizontal h;
    Observe(NULL, jdUt, lat, lon, &h, &ra);
    return Wrap180(swe_sidtime(jdUt) * 15.0 + lon - ra);
}

static void WriteNoon(const char* dir) {
    char path[512];
    snprintf(path, sizeof path, "%s/noon_reference.csv", dir);
    FILE* f = fopen(path, "w");
    fprintf(f, "# Local apparent noon of a moving ship and its lower-limb meridian altitude (make_planning_reference.c).\n");
    fprintf(f, "# work_* the UT instant of the working data, at which the ship is at dr_*; the zone day is that of work + tz.\n");
    fprintf(f, "case,work_y,work_m,work_d,work_h,work_mi,work_s,tz,dr_lat,dr_lon,course,speed,temp,pressure,heye,i_s,"
               "noon_y,noon_m,noon_d,noon_h,noon_mi,noon_s,noon_frac_s,lat_noon,lon_noon,hs\n");
    for (int c = 0; c < 41; ++c) {
        double jd0 = swe_julday(1950, 1, 1, 0.0, SE_GREG_CAL) + floor(uniform(0.0, 36500.0 * 1.0));
        double drLat = uniform(-65.0, 65.0), drLon = uniform(-180.0, 180.0);
        int tz = (int)lround(drLon / 15.0);
        double course = floor(uniform(0.0, 360.0)), speed = (c % 4 == 0) ? 0.0 : floor(uniform(5.0, 21.0));
        double temp = (c % 3 == 0) ? 10.0 : uniform(-10.0, 35.0), pres = (c % 3 == 0) ? 1010.0 : uniform(990.0, 1035.0);
        double hEye = uniform(2.0, 25.0), iS = uniform(-3.0, 3.0);
        if (c == 40) { /* the help's worked example: 6 December 2026, DR 45N 30W at 08:00 zone -2, 270 at 20 kn */
            jd0 = swe_julday(2026, 12, 6, 0.0, SE_GREG_CAL);
            drLat = 45.0; drLon = -30.0; tz = -2; course = 270.0; speed = 20.0;
            temp = 10.0; pres = 1010.0; hEye = 15.0; iS = 0.0;
        }
        /* The working data: the zone morning, 08:00 zone time. */
        const double zoneDay = jd0;   /* the zone date's number; its 0 h zone time is zoneDay - tz/24 UT */
        const double workJd = zoneDay + 8.0 / 24.0 - tz / 24.0;
        /* Bisection for LHA = 0 within 6 h of the local mean noon at the DR. */
        double a = zoneDay + 0.5 - drLon / 360.0 - 0.25, b = a + 0.5;
        double fa = SunLha(a, workJd, drLat, drLon, course, speed);
        for (int i = 0; i < 60; ++i) {
            const double m = (a + b) / 2.0, fm = SunLha(m, workJd, drLat, drLon, course, speed);
            if ((fa < 0) == (fm < 0)) { a = m; fa = fm; } else { b = m; }
        }
        const double noon = (a + b) / 2.0;
        double lat, lon;
        RunAlong(drLat, drLon, course, speed * (noon - workJd) * 24.0, &lat, &lon);
        Horizontal h;
        Observe(NULL, noon, lat, lon, &h, NULL);
        const double sd = kSunDiameterKm / (h.dist * kKmPerAU) / RadPerDeg / 2.0;
        char hs[32];
        AltitudeText(SextantFrom(h.alt, sd, h.dist, temp, pres, hEye, iS), hs);
        fprintf(f, "%d,", c);
        PrintDate(f, workJd);
        fprintf(f, ",%d,%.9f,%.9f,%.0f,%.0f,%.2f,%.2f,%.2f,%.2f,", tz, drLat, drLon, course, speed, temp, pres, hEye, iS);
        int y, mo, d;
        double hour;
        swe_revjul(noon, SE_GREG_CAL, &y, &mo, &d, &hour);
        const double secs = hour * 3600.0;
        fprintf(f, "%d,%d,%d,%d,%d,%d,%.3f,%.9f,%.9f,%s\n", y, mo, d, (int)(secs / 3600), (int)(secs / 60) % 60,
                (int)secs % 60, secs - floor(secs), lat, lon, hs);
    }
    fclose(f);
}

/* ------------------------------------------------------------------ Polaris */
static void WritePolaris(const char* dir) {
    char path[512];
    snprintf(path, sizeof path, "%s/polaris_reference.csv", dir);
    FILE* f = fopen(path, "w");
    fprintf(f, "# Sextant altitudes of Polaris from a ship at rest at lat, lon (make_planning_reference.c).\n");
    fprintf(f, "case,y,m,d,h,mi,s,lat,lon,temp,pressure,heye,i_s,hs\n");
    for (int c = 0; c < 61; ++c) {
        double jd = swe_julday(1900, 1, 1, 0.0, SE_GREG_CAL) + floor(uniform(0.0, 73049.0)) +
                    floor(uniform(0.0, 86400.0)) / 86400.0;
        double lat = uniform(1.0, 70.0), lon = uniform(-180.0, 180.0);
        double temp = uniform(-15.0, 30.0), pres = uniform(990.0, 1035.0), hEye = uniform(2.0, 25.0);
        double iS = uniform(-3.0, 3.0);
        if (c == 60) { /* the help's worked example: 6 December 2026 21:30 UT at 45-12.0N 030-21.0W */
            jd = swe_julday(2026, 12, 6, 21.5, SE_GREG_CAL);
            lat = 45.2; lon = -30.35; temp = 10.0; pres = 1010.0; hEye = 15.0; iS = 0.0;
        }
        Horizontal h;
        Observe(",alUMi", jd, lat, lon, &h, NULL);
        char hs[32];
        AltitudeText(SextantFrom(h.alt, 0.0, 1.0, temp, pres, hEye, iS), hs);
        fprintf(f, "%d,", c);
        PrintDate(f, jd);
        fprintf(f, ",%.9f,%.9f,%.2f,%.2f,%.2f,%.2f,%s\n", lat, lon, temp, pres, hEye, iS, hs);
    }
    fclose(f);
}

/* ------------------------------------------------------------------ fix from a far DR */
typedef struct { int code; const char* star; } Star;
static const Star kStars[] = {
    {15, ",alAnd"},   {168, ",alCas"},  {188, ",beCet"},  {472, ",alEri"},  {617, ",alAri"},  {1017, ",alPer"},
    {1457, ",alTau"}, {1713, ",beOri"}, {1708, ",alAur"}, {2061, ",alOri"}, {2326, ",alCar"}, {2491, ",alCMa"},
    {2943, ",alCMi"}, {2990, ",beGem"}, {3748, ",alHya"}, {3982, ",alLeo"}, {4301, ",alUMa"}, {4534, ",beLeo"},
    {4730, ",alCru"}, {4905, ",epUMa"}, {5056, ",alVir"}, {5191, ",etUMa"}, {5267, ",beCen"}, {5340, ",alBoo"},
    {6134, ",alSco"}, {6556, ",alOph"}, {7001, ",alLyr"}, {7557, ",alAql"}, {7790, ",alPav"}, {7924, ",alCyg"},
    {8308, ",epPeg"}, {8425, ",alGru"}, {8728, ",alPsA"}, {8781, ",alPeg"},
};
#define N_STARS ((int)(sizeof kStars / sizeof kStars[0]))

static double Crossing(double a, double b) {
    double d = fmod(fabs(a - b), 180.0);
    return d > 90.0 ? 180.0 - d : d;
}

static void WriteFarFix(const char* dir) {
    char path[512];
    snprintf(path, sizeof path, "%s/fix_far_reference.csv", dir);
    FILE* f = fopen(path, "w");
    fprintf(f, "# Star sights at one instant from a ship at rest, the DR 60 nm off (make_planning_reference.c).\n");
    fprintf(f, "case,y,m,d,h,mi,s,true_lat,true_lon,dr_lat,dr_lon,temp,pressure,heye,i_s");
    for (int j = 1; j <= 4; ++j) fprintf(f, ",body%d,alt%d", j, j);
    fprintf(f, "\n");
    int made = 0;
    while (made < 30) {
        const int n = 3 + made % 2;
        const double jd = swe_julday(2020, 1, 1, 0.0, SE_GREG_CAL) + floor(uniform(0.0, 3650.0)) +
                          floor(uniform(0.0, 86400.0)) / 86400.0;
        const double lat = uniform(-60.0, 60.0), lon = uniform(-180.0, 180.0);
        const double temp = uniform(-10.0, 30.0), pres = uniform(990.0, 1035.0), hEye = uniform(2.0, 20.0);
        const double iS = uniform(-2.0, 2.0);
        const double dir0 = uniform(0.0, 360.0);
        const double drLat = lat + 60.0 * cos(dir0 * RadPerDeg) / 60.0;
        const double drLon = lon + 60.0 * sin(dir0 * RadPerDeg) / 60.0 / cos(lat * RadPerDeg);
        int codes[4];
        double azs[4];
        char alts[4][32];
        int got = 0;
        for (int attempt = 0; attempt < 300 && got < n; ++attempt) {
            const Star* s = &kStars[(int)(urand() * N_STARS)];
            int used = 0, ok = 1;
            for (int m = 0; m < got; ++m) used |= codes[m] == s->code;
            if (used) continue;
            Horizontal h;
            Observe(s->star, jd, lat, lon, &h, NULL);
            if (h.alt < 15.0 || h.alt > 75.0) continue;
            for (int m = 0; m < got; ++m) ok &= Crossing(h.az, azs[m]) >= 30.0;
            if (!ok) continue;
            codes[got] = s->code;
            azs[got] = h.az;
            AltitudeText(SextantFrom(h.alt, 0.0, 1.0, temp, pres, hEye, iS), alts[got]);
            ++got;
        }
        if (got < n) continue;
        fprintf(f, "%d,", made);
        PrintDate(f, jd);
        fprintf(f, ",%.9f,%.9f,%.9f,%.9f,%.2f,%.2f,%.2f,%.2f", lat, lon, drLat, Wrap180(drLon), temp, pres, hEye, iS);
        for (int j = 0; j < 4; ++j) {
            if (j < n) fprintf(f, ",%d,%s", codes[j], alts[j]);
            else fprintf(f, ",-9999,");
        }
        fprintf(f, "\n");
        ++made;
    }
    fclose(f);
}

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: %s OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    swe_set_ephe_path((char*)"/usr/share/libswe/ephe");
    /* Sidereal time by the IERS Conventions 2010 for every date, as in make_almanac_reference.c. */
    swe_set_astro_models((char*)"0,0,0,0,0,0,0,3", 0);
    WriteNoon(argv[1]);
    WritePolaris(argv[1]);
    WriteFarFix(argv[1]);
    swe_close();
    return 0;
}
