/* Simulated lunar distances for the lunar-distance tests, from the Swiss Ephemeris
 * (Debian libswe-dev 2.10, DE431-based sepl_18/semo_18 files of swe-basic-data),
 * computed rigorously and topocentrically, without any of the program's formulas.
 *
 * Each case: an instant (UT, whole seconds, 1900-2100), an observer at sea level
 * (WGS84, the library's topocentric model), the air (temperature, pressure), a height
 * of eye, and the Moon with another body (the Sun, Venus, Mars, Jupiter, Saturn or a
 * navigational star) 15-120 degrees apart, both between 10 and 80 degrees of altitude.
 * Dates 1900-2023, where Delta T is observed: the comparison of UT then does not
 * depend on two predictions of Delta T.
 *  - geo_deg: the true geocentric distance of the centres: the angle between the
 *    apparent geocentric places (light time, aberration, nutation) of the two bodies.
 *  - ds_deg: the sextant distance of the limbs as a perfect observer would read it: the
 *    topocentric apparent places, refracted (swe_azalt, true to apparent, at the air's
 *    temperature and pressure), give the apparent distance of the centres; each disc is
 *    the refracted image of its topocentric outline (semidiameter from the body's radius
 *    and topocentric distance), and its radius along the great circle toward the other
 *    centre is measured on that image (so the flattening of the discs by refraction is
 *    in it). Near limb: distance minus that radius; far limb: plus. A star has none.
 *  - hs_moon_deg, hs_deg: sextant altitudes: the apparent (refracted) altitude of the
 *    Moon's lower limb and of the Sun's lower limb (a planet's or star's centre), plus
 *    the dip 1.766' sqrt(eye in metres); zero index error.
 *  - The sextant readings twice: with the Swiss Ephemeris' refraction (ds_phys_deg,
 *    hs_moon_phys_deg, hs_phys_deg: the physical air of that library) and with the
 *    almanac's refraction as the program documents it (ds_deg, hs_moon_deg, hs_deg:
 *    0.9716' cot H - 0.0011' cot^3 H above 15 degrees, 58.1"/tan H - 0.07"/tan^3 H +
 *    0.000086"/tan^5 H from 5 to 15, times 283/(273 + T) P/1010), so that the clearing
 *    itself is measured apart from the difference of the two refraction laws.
 *  - d3h: the geocentric distances at 0, 3, ..., 21 h UT of the day (planner rows).
 * Build and run:  tests/data/make_lunar_reference.sh   (writes lunar_reference.csv)
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <swephexp.h>

#define D2R (M_PI / 180.0)
#define N_CASES 120

static unsigned long long rng_state = 0x1A4A2026ULL;
static double urand(void) {
    rng_state = rng_state * 6364136223846793005ULL + 1442695040888963407ULL;
    return (double)(rng_state >> 11) / 9007199254740992.0;
}
static double uniform(double a, double b) { return a + (b - a) * urand(); }

typedef struct {
    int ipl;             /* Swiss Ephemeris planet, or -1 for a star */
    double radiusKm;     /* 0 for a point */
    const char* star;    /* sefstars.txt search */
    const char* name;    /* the program's name */
} Body;

static const Body kBodies[] = {
    {SE_SUN, 696000.0, NULL, "Sun"},       {SE_VENUS, 0, NULL, "Venus"},
    {SE_MARS, 0, NULL, "Mars"},            {SE_JUPITER, 0, NULL, "Jupiter"},
    {SE_SATURN, 0, NULL, "Saturn"},        {-1, 0, ",alTau", "Aldebaran"},
    {-1, 0, ",alLeo", "Regulus"},          {-1, 0, ",alVir", "Spica"},
    {-1, 0, ",alSco", "Antares"},          {-1, 0, ",alAri", "Hamal"},
    {-1, 0, ",alAql", "Altair"},           {-1, 0, ",alPsA", "Fomalhaut"},
    {-1, 0, ",alPeg", "Markab"},
    {-1, 0, ",beGem", "Pollux"},           {-1, 0, ",alBoo", "Arcturus"},
};
static const int kNBodies = sizeof kBodies / sizeof kBodies[0];
static const double kMoonRadiusKm = 1737.4;
static const double kKmPerAu = 149597870.7;

/* Apparent RA, Dec (deg) and distance (AU) of a body; topocentric when topo. */
static int place(const Body* b, double jdUt, int topo, double out[3]) {
    char serr[AS_MAXCH];
    int32 flags = SEFLG_SWIEPH | SEFLG_EQUATORIAL | (topo ? SEFLG_TOPOCTR : 0);
    if (b->ipl >= 0) {
        if (swe_calc_ut(jdUt, b->ipl, flags, out, serr) < 0) { fprintf(stderr, "%s\n", serr); exit(1); }
    } else {
        char star[64];
        strcpy(star, b->star);
        if (swe_fixstar2_ut(star, jdUt, flags, out, serr) < 0) { fprintf(stderr, "%s\n", serr); exit(1); }
    }
    return 0;
}

static double sep(double a1, double d1, double a2, double d2) { /* degrees */
    double c = sin(d1 * D2R) * sin(d2 * D2R) + cos(d1 * D2R) * cos(d2 * D2R) * cos((a1 - a2) * D2R);
    double x = cos(d1 * D2R) * sin((a1 - a2) * D2R);
    double y = cos(d2 * D2R) * sin(d1 * D2R) - sin(d2 * D2R) * cos(d1 * D2R) * cos((a1 - a2) * D2R);
    return atan2(sqrt(x * x + y * y), c) / D2R;
}

/* Unit vector of (azimuth, altitude), degrees. */
static void vec(double az, double alt, double v[3]) {
    v[0] = cos(alt * D2R) * cos(az * D2R); v[1] = cos(alt * D2R) * sin(az * D2R); v[2] = sin(alt * D2R);
}
static double angle(const double a[3], const double b[3]) {
    double c[3] = {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
    return atan2(sqrt(c[0] * c[0] + c[1] * c[1] + c[2] * c[2]), a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) / D2R;
}

static int g_almanac_refraction = 0;
/* The almanac's refraction at the apparent altitude H, degrees (H above 5 degrees). */
static double almanac_refraction(double H, double p, double t) {
    double r;
    if (H <= 15.0) {
        double tn = tan(H * D2R);
        r = (58.1 / tn - 0.07 / (tn * tn * tn) + 0.000086 / (tn * tn * tn * tn * tn)) / 3600.0;
    } else {
        double cot = 1.0 / tan(H * D2R);
        r = (0.9716 * cot - 0.0011 * cot * cot * cot) / 60.0;
    }
    return r * 283.0 / (273.0 + t) * p / 1010.0;
}
static double refr(double trueAlt, double p, double t) {
    if (!g_almanac_refraction) return swe_refrac(trueAlt, p, t, SE_TRUE_TO_APP);
    double H = trueAlt;
    for (int i = 0; i < 50; ++i) H = trueAlt + almanac_refraction(H, p, t);
    return H;
}

/* The radius (deg) of the refracted image of a disc of true centre (az, alt) and
 * semidiameter sd, along the great circle from its apparent centre toward target. */
static double image_radius(double az, double alt, double sd, const double target[3], double p, double t) {
    if (sd <= 0) return 0;
    double c[3];
    vec(az, refr(alt, p, t), c);
    /* direction to the target in the tangent plane at c */
    double best = -2, radius = 0;
    double tgt_t[3], n = 0;
    double dot = c[0] * target[0] + c[1] * target[1] + c[2] * target[2];
    for (int i = 0; i < 3; ++i) { tgt_t[i] = target[i] - dot * c[i]; n += tgt_t[i] * tgt_t[i]; }
    n = sqrt(n);
    for (int i = 0; i < 3; ++i) tgt_t[i] /= n;
    /* east and up unit vectors of the true centre's tangent plane */
    double e[3] = {-sin(az * D2R), cos(az * D2R), 0};
    double u[3] = {-sin(alt * D2R) * cos(az * D2R), -sin(alt * D2R) * sin(az * D2R), cos(alt * D2R)};
    double ctrue[3];
    vec(az, alt, ctrue);
    for (int k = 0; k < 7200; ++k) {
        double th = k * 2 * M_PI / 7200;
        double q[3];
        for (int i = 0; i < 3; ++i)
            q[i] = cos(sd * D2R) * ctrue[i] + sin(sd * D2R) * (cos(th) * u[i] + sin(th) * e[i]);
        double qalt = asin(q[2]) / D2R, qaz = atan2(q[1], q[0]) / D2R;
        double qa[3];
        vec(qaz, refr(qalt, p, t), qa);
        /* its direction from the apparent centre */
        double dq = c[0] * qa[0] + c[1] * qa[1] + c[2] * qa[2], w[3], m = 0;
        for (int i = 0; i < 3; ++i) { w[i] = qa[i] - dq * c[i]; m += w[i] * w[i]; }
        m = sqrt(m);
        double cosb = (w[0] * tgt_t[0] + w[1] * tgt_t[1] + w[2] * tgt_t[2]) / m;
        if (cosb > best) { best = cosb; radius = angle(c, qa); }
    }
    return radius;
}

int main(void) {
    swe_set_ephe_path("/usr/share/libswe/ephe");
    printf("ut,lat,lon,eye_m,temp_c,pressure_mb,body,moon_limb,limb,ds_deg,hs_moon_deg,hs_deg,"
           "ds_phys_deg,hs_moon_phys_deg,hs_phys_deg,geo_deg,d00,d03,d06,d09,d12,d15,d18,d21\n");
    int made = 0;
    while (made < N_CASES) {
        double jd0 = floor(uniform(2415020.5, 2460000.5)) + 0.5; /* 0 h UT, 1900-2023 */
        double jd = jd0 + floor(uniform(0, 86400)) / 86400.0;
        const Body* b = &kBodies[(int)floor(uniform(0, kNBodies))];
        double lat = uniform(-60, 60), lon = uniform(-180, 180);
        double eye = uniform(2, 25), temp = uniform(-10, 35), pres = uniform(980, 1040);
        const Body moon = {SE_MOON, kMoonRadiusKm, NULL, "Moon"};
        double gm[6], gb[6];
        place(&moon, jd, 0, gm); place(b, jd, 0, gb);
        double geo = sep(gm[0], gm[1], gb[0], gb[1]);
        if (geo < 15 || geo > 120) continue;
        swe_set_topo(lon, lat, 0);
        double tm[6], tb[6], geopos[3] = {lon, lat, 0}, hm[3], hb[3];
        place(&moon, jd, 1, tm); place(b, jd, 1, tb);
        swe_azalt(jd, SE_EQU2HOR, geopos, 0, 0, tm, hm); /* true (airless) topocentric */
        swe_azalt(jd, SE_EQU2HOR, geopos, 0, 0, tb, hb);
        if (hm[1] < 10 || hm[1] > 80 || hb[1] < 10 || hb[1] > 80) continue;
        double sdm = asin(kMoonRadiusKm / (tm[2] * kKmPerAu)) / D2R;
        double sdb = b->radiusKm > 0 ? asin(b->radiusKm / (tb[2] * kKmPerAu)) / D2R : 0;
        int moonFar = urand() < 0.3;
        int bodyFar = b->radiusKm > 0 && urand() < 0.2;
        double dip = 1.766 / 60.0 * sqrt(eye);
        double ds[2], hsm[2], hsb[2];
        for (int law = 0; law < 2; ++law) {  /* 0: the almanac's refraction, 1: the library's */
            g_almanac_refraction = law == 0;
            double am[3], ab[3];
            vec(hm[0], refr(hm[1], pres, temp), am);
            vec(hb[0], refr(hb[1], pres, temp), ab);
            double dc = angle(am, ab);
            double rm = image_radius(hm[0], hm[1], sdm, ab, pres, temp);
            double rb = image_radius(hb[0], hb[1], sdb, am, pres, temp);
            ds[law] = dc + (moonFar ? rm : -rm) + (bodyFar ? rb : -rb);
            hsm[law] = refr(hm[1] - sdm, pres, temp) + dip;
            hsb[law] = refr(hb[1] - sdb, pres, temp) + dip;
        }
        double y, mo, d, hr;
        int iy, imo, id;
        swe_revjul(jd, SE_GREG_CAL, &iy, &imo, &id, &hr);
        (void)y; (void)mo; (void)d;
        long secs = lround(hr * 3600.0);
        printf("%04d-%02d-%02dT%02ld:%02ld:%02ldZ,%.6f,%.6f,%.2f,%.1f,%.1f,%s,%s,%s,%.8f,%.8f,%.8f,%.8f,%.8f,%.8f,%.8f",
               iy, imo, id, secs / 3600, (secs / 60) % 60, secs % 60, lat, lon, eye, temp, pres, b->name,
               moonFar ? "far" : "near", b->radiusKm > 0 ? (bodyFar ? "far" : "near") : "", ds[0], hsm[0], hsb[0],
               ds[1], hsm[1], hsb[1], geo);
        for (int k = 0; k < 8; ++k) {
            double g1[6], g2[6];
            place(&moon, jd0 + k / 8.0, 0, g1); place(b, jd0 + k / 8.0, 0, g2);
            printf(",%.8f", sep(g1[0], g1[1], g2[0], g2[1]));
        }
        printf("\n");
        ++made;
    }
    return 0;
}
