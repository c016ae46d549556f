/* Simulated twilight sessions and star skies, from the Swiss Ephemeris (Debian
 * libswe-dev 2.10, DE431-based sepl_18/semo_18 files of swe-basic-data).
 *
 * session_sights.csv: one row per sight.
 *  - kind "fix": eight sights of eight different bodies (the Sun, the Moon, Venus,
 *    Mars, Jupiter, Saturn, 40 navigational stars), one in each 45-degree sector of
 *    azimuth where the sky allows, altitudes 15 to 70 degrees, taken over the 30
 *    minutes before the fix; even sessions with the ship at rest, odd ones under way
 *    (8 to 20 kn), each sight observed from the ship's true position at its instant
 *    on the rhumb line of the course.
 *  - kind "series": five shots of one star 45 s apart, then four other bodies.
 * The sextant altitude hs (decimal degrees, not rounded) is the Swiss Ephemeris
 * geocentric airless altitude of the body's centre turned into a sextant reading by
 * inverting the program's documented corrections (as make_fix_reference.c does):
 * dip 1.766' sqrt(hEye), refraction (1735 polynomial / tangent / cotangent
 * branches) with tp = r (283/(273+T) P/1010 - 1) at the apparent altitude, the
 * lower limb's semidiameter (the Moon's augmented), parallax asin(sin HP cos h').
 * The dead-reckoning position is up to 20 nm off the truth.
 *
 * identify_reference.csv: 40 skies (2020-2030, latitudes within 60 degrees), the
 * apparent geocentric airless altitude and azimuth of every navigational star above
 * 10 degrees, with its name and J2000 place to match it in any catalogue.
 *
 * Build and run:  tests/data/make_session_reference.sh
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <swephexp.h>

#define RadPerDeg (M_PI / 180.0)

static unsigned long long rng_state = 0x7E11A6E5ULL;
static double urand(void) {
    rng_state = rng_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (double)(rng_state >> 11) / 9007199254740992.0;
}
static double uniform(double a, double b) { return a + (b - a) * urand(); }

typedef struct {
    int code, ipl;
    double diameterKm;
    const char* star;
    const char* name;
} Body;

static const Body kBodies[] = {
    {0, SE_SUN, 1392000.0, NULL, "Sun"},  {-8, SE_MOON, 3475.0, NULL, "Moon"},
    {-2, SE_VENUS, 12104.0, NULL, "Venus"}, {-3, SE_MARS, 6794.0, NULL, "Mars"},
    {-4, SE_JUPITER, 142980.0, NULL, "Jupiter"}, {-5, SE_SATURN, 120540.0, NULL, "Saturn"},
    {15, -1, 0, ",alAnd", "Alpheratz"},   {99, -1, 0, ",alPhe", "Ankaa"},
    {168, -1, 0, ",alCas", "Schedar"},    {188, -1, 0, ",beCet", "Diphda"},
    {472, -1, 0, ",alEri", "Achernar"},   {617, -1, 0, ",alAri", "Hamal"},
    {1017, -1, 0, ",alPer", "Mirfak"},    {1457, -1, 0, ",alTau", "Aldebaran"},
    {1713, -1, 0, ",beOri", "Rigel"},     {1708, -1, 0, ",alAur", "Capella"},
    {1790, -1, 0, ",gaOri", "Bellatrix"}, {2061, -1, 0, ",alOri", "Betelgeuse"},
    {2326, -1, 0, ",alCar", "Canopus"},   {2491, -1, 0, ",alCMa", "Sirius"},
    {2943, -1, 0, ",alCMi", "Procyon"},   {2990, -1, 0, ",beGem", "Pollux"},
    {3748, -1, 0, ",alHya", "Alphard"},   {3982, -1, 0, ",alLeo", "Regulus"},
    {4301, -1, 0, ",alUMa", "Dubhe"},     {4534, -1, 0, ",beLeo", "Denebola"},
    {4730, -1, 0, ",alCru", "Acrux"},     {4905, -1, 0, ",epUMa", "Alioth"},
    {5056, -1, 0, ",alVir", "Spica"},     {5191, -1, 0, ",etUMa", "Alkaid"},
    {5267, -1, 0, ",beCen", "Hadar"},     {5340, -1, 0, ",alBoo", "Arcturus"},
    {5563, -1, 0, ",beUMi", "Kochab"},    {6134, -1, 0, ",alSco", "Antares"},
    {6527, -1, 0, ",laSco", "Shaula"},    {6556, -1, 0, ",alOph", "Rasalhague"},
    {6705, -1, 0, ",gaDra", "Eltanin"},   {7001, -1, 0, ",alLyr", "Vega"},
    {7121, -1, 0, ",siSgr", "Nunki"},     {7557, -1, 0, ",alAql", "Altair"},
    {7790, -1, 0, ",alPav", "Peacock"},   {7924, -1, 0, ",alCyg", "Deneb"},
    {8308, -1, 0, ",epPeg", "Enif"},      {8425, -1, 0, ",alGru", "Alnair"},
    {8728, -1, 0, ",alPsA", "Fomalhaut"}, {8781, -1, 0, ",alPeg", "Markab"},
};
#define N_BODIES ((int)(sizeof kBodies / sizeof kBodies[0]))
#define N_SOLAR 6

/* The 57 navigational stars and Polaris, by Bayer designation in sefstars.txt. */
static const char* const kNavStars[] = {
    ",th-1Eri", ",alEri", ",alCru", ",epCMa", ",alTau", ",epUMa", ",etUMa", ",alGru", ",epOri", ",alHya",
    ",alCrB", ",alAnd", ",alAql", ",alPhe", ",alSco", ",alBoo", ",alTrA", ",epCar", ",gaOri", ",alOri",
    ",alCar", ",alAur", ",alCyg", ",beLeo", ",beCet", ",alUMa", ",beTau", ",gaDra", ",epPeg", ",alPsA",
    ",gaCru", ",gaCrv", ",beCen", ",alAri", ",epSgr", ",beUMi", ",alPeg", ",alCet", ",thCen", ",beCar",
    ",alPer", ",siSgr", ",alPav", ",beGem", ",alCMi", ",alOph", ",alLeo", ",beOri", ",alCen", ",etOph",
    ",alCas", ",laSco", ",alCMa", ",alVir", ",laVel", ",alLyr", ",al-2Lib", ",alUMi",
};
#define N_NAV ((int)(sizeof kNavStars / sizeof kNavStars[0]))

static const double kKmPerAU = 149597870.691;
static const double kEarthRadiusKm = 6378.137;

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
static double RefractionTP(double r, double temp, double pres) {
    return r * ((283.0 / (273.0 + temp)) * (pres / 1010.0) - 1.0);
}
static double Dip(double hEye) { return 1.766 * sqrt(hEye) / 60.0; }
static double SinHP(double distAU) { return kEarthRadiusKm / (distAU * kKmPerAU); }
static double Parallax(double distAU, double h) { return asin(SinHP(distAU) * cos(h * RadPerDeg)) / RadPerDeg; }
static double SemiDiameter(double diameterKm, double distAU) { return diameterKm / (distAU * kKmPerAU) / RadPerDeg / 2.0; }

static double Reduce(const Body* b, double hs, double distAU, double temp, double pres, double hEye, double iS) {
    const double H = hs + iS / 60.0 - Dip(hEye);
    const double r = Refraction(H);
    const double limb = H - r - RefractionTP(r, temp, pres);
    if (b->ipl < 0) return limb;
    double sd = 0.0;
    if (b->code == 0 || b->code == -8) {
        sd = SemiDiameter(b->diameterKm, distAU);
        if (b->code == -8) sd *= 1.0 + SinHP(distAU) * sin((limb + sd) * RadPerDeg);
    }
    return limb + sd + Parallax(distAU, limb + sd);
}

typedef struct {
    double alt, az, dist;
} Horizontal;

static int ObserveStar(const char* id, double jdUt, double lat, double lon, Horizontal* out, char* name) {
    char serr[256], star[64];
    double xx[6], xaz[3], geopos[3] = {lon, lat, 0.0};
    strcpy(star, id);
    if (swe_fixstar2_ut(star, jdUt, SEFLG_SWIEPH | SEFLG_EQUATORIAL, xx, serr) < 0) {
        fprintf(stderr, "%s: %s\n", id, serr);
        return 0;
    }
    double xin[3] = {xx[0], xx[1], xx[2]};
    swe_azalt(jdUt, SE_EQU2HOR, geopos, 0.0, 10.0, xin, xaz);
    out->alt = xaz[1];
    out->az = fmod(xaz[0] + 180.0, 360.0);
    out->dist = xx[2];
    if (name) strcpy(name, star);
    return 1;
}

static int Observe(const Body* b, double jdUt, double lat, double lon, Horizontal* out) {
    if (b->ipl < 0) return ObserveStar(b->star, jdUt, lat, lon, out, NULL);
    char serr[256];
    double xx[6], xaz[3], geopos[3] = {lon, lat, 0.0};
    if (swe_calc_ut(jdUt, b->ipl, SEFLG_SWIEPH | SEFLG_EQUATORIAL, xx, serr) < 0) {
        fprintf(stderr, "%s: %s\n", b->name, serr);
        return 0;
    }
    double xin[3] = {xx[0], xx[1], xx[2]};
    swe_azalt(jdUt, SE_EQU2HOR, geopos, 0.0, 10.0, xin, xaz);
    out->alt = xaz[1];
    out->az = fmod(xaz[0] + 180.0, 360.0);
    out->dist = xx[2];
    return 1;
}

static void Rhumb(double lat, double lon, double course, double run, double* lat2, double* lon2) {
    const double dLat = run * cos(course * RadPerDeg) / 60.0;
    *lat2 = lat + dLat;
    double q;
    const double dPsi = log(tan(M_PI / 4 + *lat2 * RadPerDeg / 2) / tan(M_PI / 4 + lat * RadPerDeg / 2));
    if (fabs(dLat) > 1e-10) q = dLat * RadPerDeg / dPsi;
    else q = cos(lat * RadPerDeg);
    *lon2 = lon + run * sin(course * RadPerDeg) / 60.0 / q;
    if (*lon2 > 180.0) *lon2 -= 360.0;
    if (*lon2 <= -180.0) *lon2 += 360.0;
}

static void IsoTime(double jdUt, char* out) {
    int y, mo, d;
    double hour;
    swe_revjul(jdUt, SE_GREG_CAL, &y, &mo, &d, &hour);
    long sec = lround(hour * 3600.0);
    sprintf(out, "%04d-%02d-%02dT%02ld:%02ld:%02ld", y, mo, d, sec / 3600, sec / 60 % 60, sec % 60);
}

static double AzGap(double a, double b) {
    double d = fmod(fabs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

static void Sessions(FILE* f) {
    fprintf(f, "# Simulated sessions, Swiss Ephemeris (tests/data/make_session_reference.c). Per sight row:\n");
    fprintf(f, "# the session's fix instant (UT), true position at it, DR position at it, course, speed, air,\n");
    fprintf(f, "# height of eye (m), index correction ('), then the sight: UT, body, code, hs (decimal degrees).\n");
    fprintf(f, "session,kind,moving,fix_ut,true_lat,true_lon,dr_lat,dr_lon,course,speed,temp,pressure,heye,ic,"
               "ut,body,code,hs,limb\n");
    static const double kTemps[] = {-10.0, 5.0, 20.0, 30.0};
    static const double kPressures[] = {995.0, 1013.0, 1030.0};
    static const double kHeights[] = {3.0, 8.0, 15.0};
    int made = 0;
    while (made < 80) {
        const int series = made >= 60;
        const int moving = made % 2;
        const double jd0 = swe_julday(2020, 1, 1, 0.0, SE_GREG_CAL) + floor(uniform(0.0, 4018.0));
        const double fixSec = floor(uniform(3600.0, 86000.0));
        const double jdFix = jd0 + fixSec / 86400.0;
        const double trueLat = uniform(-60.0, 60.0), trueLon = uniform(-180.0, 180.0);
        const double course = floor(uniform(0.0, 360.0));
        const double speed = moving ? floor(uniform(8.0, 21.0)) : 0.0;
        const double temp = kTemps[(int)(urand() * 4)], pres = kPressures[(int)(urand() * 3)];
        const double hEye = kHeights[(int)(urand() * 3)];
        const double ic = floor(uniform(-30.0, 31.0)) / 10.0;
        const double drDist = uniform(0.0, 20.0), drDir = uniform(0.0, 360.0);
        const double drLat = trueLat + drDist * cos(drDir * RadPerDeg) / 60.0;
        double drLon = trueLon + drDist * sin(drDir * RadPerDeg) / 60.0 / cos(trueLat * RadPerDeg);
        if (drLon > 180.0) drLon -= 360.0;
        if (drLon <= -180.0) drLon += 360.0;

        const int nBodies = series ? 5 : 8;
        int chosen[8];
        double azs[8];
        int ok = 1;
        char rows[16][512];
        int nRows = 0;
        double tSec = fixSec - 1800.0;
        for (int j = 0; j < nBodies && ok; ++j) {
            const int shots = series && j == 0 ? 5 : 1;
            int found = 0;
            for (int attempt = 0; attempt < 600 && !found; ++attempt) {
                const int k = urand() < 0.25 ? (int)(urand() * N_SOLAR) : N_SOLAR + (int)(urand() * (N_BODIES - N_SOLAR));
                const Body* b = &kBodies[k];
                if (series && j == 0 && b->ipl >= 0) continue; /* the series is of a star */
                int used = 0;
                for (int m = 0; m < j; ++m) used |= chosen[m] == k;
                if (used) continue;
                double lat, lon;
                Rhumb(trueLat, trueLon, course, -speed * (fixSec - tSec) / 3600.0, &lat, &lon);
                Horizontal g;
                if (!Observe(b, jd0 + tSec / 86400.0, lat, lon, &g)) exit(1);
                if (g.alt < 15.0 || g.alt > 70.0) continue;
                /* One body per 45-degree sector while the attempts last, then any 20 degrees clear. */
                int clear = 1;
                if (attempt < 400) clear = (int)(g.az / (360.0 / nBodies)) == j;
                for (int m = 0; m < j; ++m) clear &= AzGap(g.az, azs[m]) >= 20.0;
                if (!clear) continue;
                chosen[j] = k;
                azs[j] = g.az;
                for (int s = 0; s < shots; ++s) {
                    const double t = tSec + 45.0 * s;
                    Rhumb(trueLat, trueLon, course, -speed * (fixSec - t) / 3600.0, &lat, &lon);
                    Horizontal h;
                    if (!Observe(b, jd0 + t / 86400.0, lat, lon, &h)) exit(1);
                    double hs = h.alt;
                    for (int it = 0; it < 20; ++it) hs += h.alt - Reduce(b, hs, h.dist, temp, pres, hEye, ic);
                    char ut[32], fix[32];
                    IsoTime(jd0 + t / 86400.0, ut);
                    IsoTime(jdFix, fix);
                    sprintf(rows[nRows++], "%d,%s,%d,%s,%.9f,%.9f,%.9f,%.9f,%.0f,%.0f,%.1f,%.1f,%.1f,%.1f,%s,%s,%d,%.7f,%s",
                            made, series ? "series" : "fix", moving, fix, trueLat, trueLon, drLat, drLon, course, speed,
                            temp, pres, hEye, ic, ut, b->name, b->code, hs,
                            (b->code == 0 || b->code == -8) ? "lower" : "");
                }
                tSec += 45.0 * shots + 180.0;
                found = 1;
            }
            if (!found) ok = 0;
        }
        if (!ok) continue;
        for (int r = 0; r < nRows; ++r) fprintf(f, "%s\n", rows[r]);
        ++made;
    }
}

static void Skies(FILE* f) {
    fprintf(f, "# Navigational stars above 10 degrees, Swiss Ephemeris apparent geocentric airless altitude and\n");
    fprintf(f, "# azimuth (tests/data/make_session_reference.c); ra/dec J2000 (ICRS, degrees) to match the star.\n");
    fprintf(f, "sky,ut,lat,lon,star,ra2000,dec2000,alt,az\n");
    for (int sky = 0; sky < 40; ++sky) {
        const double jd = swe_julday(2020, 1, 1, 0.0, SE_GREG_CAL) + floor(uniform(0.0, 4018.0)) +
                          floor(uniform(0.0, 86400.0)) / 86400.0;
        const double lat = uniform(-60.0, 60.0), lon = uniform(-180.0, 180.0);
        char ut[32];
        IsoTime(jd, ut);
        for (int s = 0; s < N_NAV; ++s) {
            Horizontal h;
            char name[64], serr[256], star[64];
            if (!ObserveStar(kNavStars[s], jd, lat, lon, &h, name)) exit(1);
            if (h.alt < 10.0) continue;
            double xx[6];
            strcpy(star, kNavStars[s]);
            swe_fixstar2(star, 2451545.0, SEFLG_SWIEPH | SEFLG_EQUATORIAL | SEFLG_J2000 | SEFLG_ICRS | SEFLG_NOABERR |
                                             SEFLG_NOGDEFL, xx, serr);
            char* comma = strchr(name, ',');
            if (comma) *comma = 0;
            for (char* c = name; *c; ++c) if (*c == ' ' && (c[1] == ' ' || c[1] == 0)) { *c = 0; break; }
            fprintf(f, "%d,%s,%.6f,%.6f,%s,%.5f,%.5f,%.6f,%.6f\n", sky, ut, lat, lon, name, xx[0], xx[1], h.alt, h.az);
        }
    }
}

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: make_session_reference SESSIONS.csv SKIES.csv\n");
        return 2;
    }
    swe_set_ephe_path("/usr/share/libswe/ephe");
    FILE* a = fopen(argv[1], "w");
    FILE* b = fopen(argv[2], "w");
    if (!a || !b) return 1;
    Sessions(a);
    Skies(b);
    fclose(a);
    fclose(b);
    swe_close();
    return 0;
}
