/* Simulated sights for the fix test, from the Swiss Ephemeris (Debian libswe-dev
 * 2.10, DE431-based sepl_18/semo_18 files of swe-basic-data).
 *
 * Each case: a true position at the fix time (UT, whole seconds), a dead-reckoning
 * position up to 20 nm off it, a course and speed, and two to four sights of the
 * Sun, the Moon, Venus, Mars, Jupiter, Saturn or navigational stars, each between
 * 10 and 70 degrees of altitude, the lines crossing at 30 degrees or more. Even
 * cases take every sight at the fix time; odd cases spread them over the three
 * hours before it with the ship under way: each sight is observed from the ship's
 * true position at its own instant, the ship moving along a rhumb line at the
 * given course and speed (the truth is the position at the fix time).
 *
 * Two sextant altitudes per sight, both written as "dd-mm.m" (rounded to 0.1'):
 *  - alt (model): the Swiss Ephemeris geocentric airless altitude h of the body's
 *    centre at the true position, turned into a sextant reading by inverting (by
 *    iteration) the program's documented reduction: H = Hs + i_s/60 - dip, refraction
 *    r + tp at H (1735-polynomial / tangent / cotangent branches, tp = r (283/(273+T)
 *    P/1010 - 1)), dip 1.766' sqrt(hEye); for the lower limb of the Sun and the Moon
 *    the semidiameter diameter / distance / 2, the Moon's augmented by (1 + sin HP
 *    sin h'); parallax asin(sin HP cos h') for the Sun, the Moon and the planets at
 *    the centre's topocentric altitude h', HP = asin(6378.137 km / distance).
 *  - alt_phys (physical): the Swiss Ephemeris topocentric airless altitude of the
 *    centre (WGS84 observer at sea level), its own refraction (swe_refrac, true to
 *    apparent, at T and P), the topocentric semidiameter of the Sun's and the Moon's
 *    lower limb (planets and stars are observed at their centre), the same dip and
 *    index correction.
 * Stars are taken from sefstars.txt by Bayer designation; the HR number (the
 * program's star number) comes with each.
 *
 * Build and run:  tests/data/make_fix_reference.sh   (writes fix_sights.csv)
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <swephexp.h>

#define RadPerDeg (M_PI / 180.0)
#define N_CASES 60
#define NO_BODY (-9999)

/* ------------------------------------------------------------------ random */
static unsigned long long rng_state = 0x5EED2026ULL;
static double urand(void) { /* [0, 1) */
    rng_state = rng_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (double)(rng_state >> 11) / 9007199254740992.0;
}
static double uniform(double a, double b) { return a + (b - a) * urand(); }

/* ------------------------------------------------------------------ bodies */
typedef struct {
    int code;           /* the program's body code */
    int ipl;            /* Swiss Ephemeris planet, or -1 for a star */
    double diameterKm;  /* 0 for a star */
    const char* star;   /* sefstars.txt nomenclature search ",alTau" */
    const char* name;
} Body;

static const Body kBodies[] = {
    {0, SE_SUN, 1392000.0, NULL, "Sun"},
    {-8, SE_MOON, 3475.0, NULL, "Moon"},
    {-2, SE_VENUS, 12104.0, NULL, "Venus"},
    {-3, SE_MARS, 6794.0, NULL, "Mars"},
    {-4, SE_JUPITER, 142980.0, NULL, "Jupiter"},
    {-5, SE_SATURN, 120540.0, NULL, "Saturn"},
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

static const double kKmPerAU = 149597870.691;
static const double kEarthRadiusKm = 6378.137;

/* --------------------------------------- the program's documented corrections */
static double Refraction(double h) { /* degrees */
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

/* The program's reduction of a lower-limb (Sun, Moon) or centre sight: Ho of Hs. */
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

/* ------------------------------------------------------------- the sky */
typedef struct {
    double alt, az, dist;  /* airless altitude, azimuth (degrees), distance (AU) */
} Horizontal;

/* Place of body b at UT jd seen from (lat, lon), geocentric or topocentric. */
static int Observe(const Body* b, double jdUt, double lat, double lon, int topocentric, Horizontal* out) {
    char serr[256];
    double xx[6], xaz[3];
    int32 flag = SEFLG_SWIEPH | SEFLG_EQUATORIAL;
    double geopos[3] = {lon, lat, 0.0};
    if (topocentric) {
        swe_set_topo(lon, lat, 0.0);
        flag |= SEFLG_TOPOCTR;
    }
    if (b->ipl >= 0) {
        if (swe_calc_ut(jdUt, b->ipl, flag, xx, serr) < 0) {
            fprintf(stderr, "%s: %s\n", b->name, serr);
            return 0;
        }
    } else {
        char star[64];
        strcpy(star, b->star);
        if (swe_fixstar2_ut(star, jdUt, flag, xx, serr) < 0) {
            fprintf(stderr, "%s: %s\n", b->name, serr);
            return 0;
        }
    }
    double xin[3] = {xx[0], xx[1], xx[2]};
    swe_azalt(jdUt, SE_EQU2HOR, geopos, 0.0, 10.0, xin, xaz);
    out->alt = xaz[1];
    out->az = fmod(xaz[0] + 180.0, 360.0); /* Swiss Ephemeris counts from the south */
    out->dist = xx[2];
    return 1;
}

/* The ship on a rhumb line: the position run nm along course c from (lat, lon). */
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

static void AltitudeText(double h, char* out) {
    int deg = (int)floor(h);
    double min = round((h - deg) * 600.0) / 10.0;
    if (min >= 60.0) {
        deg += 1;
        min = 0.0;
    }
    sprintf(out, "%02d-%04.1f", deg, min);
}

/* Smallest angle between two lines of position of azimuths a and b. */
static double Crossing(double a, double b) {
    double d = fmod(fabs(a - b), 180.0);
    return d > 90.0 ? 180.0 - d : d;
}

int main(void) {
    swe_set_ephe_path("/usr/share/libswe/ephe");
    char ver[256];
    swe_version(ver);
    printf("# Simulated sights for the fix, Swiss Ephemeris %s (tests/data/make_fix_reference.c).\n", ver);
    printf("# fix_* is the UT instant of the fix; tz the zone (local = UT + tz); true_* the ship at the fix;\n");
    printf("# dr_* the dead-reckoning position at the fix; per line: body code, UT time, sextant altitude\n");
    printf("# built by the program's own model (alt) and physically (alt_phys); true altitude for reference.\n");
    printf("case,moving,fix_y,fix_m,fix_d,fix_h,fix_mi,fix_s,tz,true_lat,true_lon,dr_lat,dr_lon,course,speed,"
           "temp,pressure,heye,i_s");
    for (int j = 1; j <= 4; ++j) printf(",body%d,time%d,alt%d,alt_phys%d,h%d", j, j, j, j, j);
    printf("\n");

    static const double kTemps[] = {-15.0, 0.0, 25.0, 35.0};
    static const double kPressures[] = {990.0, 1025.0, 1040.0};
    static const double kHeights[] = {5.0, 10.0, 15.0, 20.5};
    static const double kIndex[] = {0.0, -1.5, 2.25};

    int made = 0;
    while (made < N_CASES) {
        const int moving = made % 2;
        const int nLines = 2 + (int)(urand() * 3.0);  /* 2..4 */
        /* The fix instant: 2020..2030, 04:00..23:30 UT so that three hours back stay on its date. */
        const double jd0 = swe_julday(2020, 1, 1, 0.0, SE_GREG_CAL);
        const double day = floor(uniform(0.0, 4018.0));
        const int fixSec = (int)uniform(4 * 3600.0, 23.5 * 3600.0);
        const double trueLat = uniform(-60.0, 60.0), trueLon = uniform(-180.0, 180.0);
        const double course = floor(uniform(0.0, 360.0));
        const double speed = moving ? floor(uniform(8.0, 20.0)) : floor(uniform(0.0, 20.0));
        const int tz = (int)floor(uniform(-11.0, 13.0));
        const int standardAir = (made / 2) % 2 == 0;
        const double temp = standardAir ? 10.0 : kTemps[(int)(urand() * 4)];
        const double pres = standardAir ? 1010.0 : kPressures[(int)(urand() * 3)];
        const double hEye = kHeights[(int)(urand() * 4)];
        const double iS = kIndex[(int)(urand() * 3)];
        const double drDist = uniform(0.0, 20.0), drDir = uniform(0.0, 360.0);
        const double drLat = trueLat + drDist * cos(drDir * RadPerDeg) / 60.0;
        const double drLon = trueLon + drDist * sin(drDir * RadPerDeg) / 60.0 / cos(trueLat * RadPerDeg);

        int codes[4] = {NO_BODY, NO_BODY, NO_BODY, NO_BODY};
        int secs[4] = {0, 0, 0, 0};
        char alt[4][16], altPhys[4][16];
        double hTrue[4] = {0, 0, 0, 0}, azs[4];
        int ok = 1;
        for (int j = 0; j < nLines && ok; ++j) {
            int sec = fixSec;
            if (moving) {
                sec = fixSec - 3 * 3600 + (int)(j * 3.0 * 3600.0 / (nLines - 1));
                if (j > 0 && j < nLines - 1) sec += (int)uniform(-600.0, 600.0);
                if (sec > fixSec) sec = fixSec;
            }
            const double jd = jd0 + day + sec / 86400.0;
            double lat = trueLat, lon = trueLon;
            Rhumb(trueLat, trueLon, course, -speed * (fixSec - sec) / 3600.0, &lat, &lon);
            int found = 0;
            for (int attempt = 0; attempt < 400 && !found; ++attempt) {
                /* Half the picks from the Sun, Moon and planets, so that they are well represented. */
                const int k = urand() < 0.5 ? (int)(urand() * N_SOLAR) : (int)(urand() * N_BODIES);
                const Body* b = &kBodies[k];
                int used = 0;
                for (int m = 0; m < j; ++m) used |= codes[m] == b->code;
                if (used) continue;
                Horizontal g, t;
                if (!Observe(b, jd, lat, lon, 0, &g)) return 1;
                if (g.alt < 10.0 || g.alt > 70.0) continue;
                int crossesWell = 1;
                for (int m = 0; m < j; ++m) crossesWell &= Crossing(g.az, azs[m]) >= 30.0;
                if (!crossesWell) continue;
                if (!Observe(b, jd, lat, lon, 1, &t)) return 1;
                double sdTopo = 0.0;
                if (b->code == 0 || b->code == -8) sdTopo = SemiDiameter(b->diameterKm, t.dist);
                double hs = g.alt;
                for (int it = 0; it < 20; ++it) hs += g.alt - Reduce(b, hs, g.dist, temp, pres, hEye, iS);
                const double apparent = swe_refrac(t.alt, pres, temp, SE_TRUE_TO_APP);
                const double hsPhys = apparent - sdTopo + Dip(hEye) - iS / 60.0;
                codes[j] = b->code;
                secs[j] = sec;
                azs[j] = g.az;
                hTrue[j] = g.alt;
                AltitudeText(hs, alt[j]);
                AltitudeText(hsPhys, altPhys[j]);
                found = 1;
            }
            if (!found) ok = 0;
        }
        if (!ok) continue;

        int y, mo, d;
        double hour;
        swe_revjul(jd0 + day, SE_GREG_CAL, &y, &mo, &d, &hour);
        printf("%d,%d,%d,%d,%d,%d,%d,%d,%d,%.9f,%.9f,%.9f,%.9f,%.0f,%.0f,%.1f,%.1f,%.2f,%.2f", made, moving, y, mo,
               d, fixSec / 3600, fixSec / 60 % 60, fixSec % 60, tz, trueLat, trueLon, drLat, drLon, course, speed,
               temp, pres, hEye, iS);
        for (int j = 0; j < 4; ++j) {
            if (codes[j] == NO_BODY) {
                printf(",%d,,,,", NO_BODY);
            } else {
                printf(",%d,%02d:%02d:%02d,%s,%s,%.6f", codes[j], secs[j] / 3600, secs[j] / 60 % 60, secs[j] % 60,
                       alt[j], altPhys[j], hTrue[j]);
            }
        }
        printf("\n");
        ++made;
    }
    swe_close();
    return 0;
}
