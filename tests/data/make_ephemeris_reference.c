/* Writes ephemeris_reference.csv: apparent places from the Swiss Ephemeris
 * (Debian libswe-dev, ephemeris files of swe-basic-data: sepl_18/semo_18, a
 * compression of JPL DE431), for the Sun, the Moon, the planets and ten
 * navigational stars, at 41 instants 1900-2100.
 *
 *   jd_tt      Terrestrial Time Julian date of the place
 *   jd_ut      the same instant in UT by the Swiss Ephemeris' own Delta T
 *   kind,id    body (id = BodyId: 0 Sun, 1 Mercury, 2 Venus, 4 Mars .. 8 Neptune,
 *              9 Moon) or star (id = Bright Star Catalogue number)
 *   ra_deg, dec_deg  apparent geocentric right ascension and declination, true
 *              equator and equinox of date (light time, aberration, deflection,
 *              nutation: the default of swe_calc / swe_fixstar2 with SEFLG_EQUATORIAL)
 *   dist_au    geocentric distance (bodies; 0 for stars)
 *   gast_deg   Greenwich apparent sidereal time at jd_ut (swe_sidtime)
 *   gha_deg    Greenwich hour angle: gast_deg - ra_deg, in [0, 360)
 *
 * Run: sh tests/data/make_ephemeris_reference.sh  (compiles this file, writes the CSV)
 */
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <swephexp.h>

static double norm360(double x) {
    x = fmod(x, 360.0);
    return x < 0 ? x + 360.0 : x;
}

static void row(double tt, double ut, double gast, const char *kind, int id, const double *x, double dist) {
    printf("%.6f,%.8f,%s,%d,%.10f,%.10f,%.10f,%.10f,%.10f\n", tt, ut, kind, id, x[0], x[1], dist, gast,
           norm360(gast - x[0]));
}

int main(void) {
    static const struct { int se, id; } bodies[] = {
        {SE_SUN, 0}, {SE_MERCURY, 1}, {SE_VENUS, 2}, {SE_MARS, 4}, {SE_JUPITER, 5},
        {SE_SATURN, 6}, {SE_URANUS, 7}, {SE_NEPTUNE, 8}, {SE_MOON, 9}};
    static const struct { const char *name; int hr; } stars[] = {
        {",alUMi", 424},  {",alCMa", 2491}, {",alCar", 2326}, {",alBoo", 5340}, {",alLyr", 7001},
        {",alAur", 1708}, {",beOri", 1713}, {",alEri", 472},  {",alCru", 4730}, {",alSco", 6134}};
    const double jd1900 = 2415020.5, jd2100 = 2488069.5;
    char serr[AS_MAXCH], star[64];
    double x[6];
    unsigned seed = 19000101u;
    swe_set_ephe_path("/usr/share/libswe/ephe");
    printf("jd_tt,jd_ut,kind,id,ra_deg,dec_deg,dist_au,gast_deg,gha_deg\n");
    for (int i = 0; i <= 40; ++i) {
        seed = seed * 1103515245u + 12345u;
        const double tt = jd1900 + (jd2100 - jd1900) * i / 40.0 + (seed >> 8) / 16777216.0;
        const double jd = floor(tt * 1e6 + 0.5) / 1e6;
        double ut = jd - swe_deltat(jd);
        ut = jd - swe_deltat(ut);
        const double gast = swe_sidtime(ut) * 15.0;
        for (size_t b = 0; b < sizeof bodies / sizeof bodies[0]; ++b) {
            const int32 flags = SEFLG_SWIEPH | SEFLG_EQUATORIAL;
            const int32 ret = swe_calc(jd, bodies[b].se, flags, x, serr);
            if (ret < 0 || !(ret & SEFLG_SWIEPH)) {
                fprintf(stderr, "swe_calc %d at %f: %s\n", bodies[b].se, jd, serr);
                return 1;
            }
            row(jd, ut, gast, "body", bodies[b].id, x, x[2]);
        }
        for (size_t s = 0; s < sizeof stars / sizeof stars[0]; ++s) {
            snprintf(star, sizeof star, "%s", stars[s].name);
            if (swe_fixstar2(star, jd, SEFLG_SWIEPH | SEFLG_EQUATORIAL, x, serr) < 0) {
                fprintf(stderr, "swe_fixstar2 %s: %s\n", stars[s].name, serr);
                return 1;
            }
            row(jd, ut, gast, "star", stars[s].hr, x, 0.0);
        }
    }
    swe_close();
    return 0;
}
