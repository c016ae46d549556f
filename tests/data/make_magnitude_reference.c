/* Reference table of the planets' visual magnitudes, from the Swiss Ephemeris
 * (Debian libswe-dev 2.10.03, swe-basic-data DE431 files).
 *
 * swe_pheno (TT) returns the phase angle and the apparent visual magnitude. From
 * version 2.10 the library computes the magnitudes of Mercury to Neptune with the
 * photometric formulas of Mallama & Hilton (2018), "Computing apparent planetary
 * magnitudes for The Astronomical Almanac", Astronomy and Computing 25, 10-24, the
 * formulas the Astronomical Almanac prints its magnitudes from: Saturn with its
 * rings from the ring tilt seen from the Earth and from the Sun, Venus with its two
 * branches of phase angle, Mars without the small corrections for its rotation and
 * season. The library reduces the geometry rigorously (light time, DE431), so the
 * table checks the program's formulas and its geometry together.
 *
 * magnitude_reference.csv: body (BodyId 1 Mercury, 2 Venus, 4 Mars, 5 Jupiter,
 * 6 Saturn), jd_tt, phase angle (degrees), V (magnitude), for 0 h TT every 61 days
 * from 2000-01-01 to 2040 (about 240 dates a planet, every ring tilt of Saturn's
 * 2009-2025 half-cycle and its edge-on passage of 2025).
 *
 * Build and run: tests/data/make_magnitude_reference.sh
 */
#include <stdio.h>
#include <stdlib.h>
#include <swephexp.h>

int main(int argc, char** argv) {
    const char* dir = argc > 1 ? argv[1] : ".";
    char path[1024];
    snprintf(path, sizeof path, "%s/magnitude_reference.csv", dir);
    FILE* f = fopen(path, "w");
    if (!f) { perror(path); return 1; }
    swe_set_ephe_path((char*)"/usr/share/libswe/ephe");
    static const struct { int id; int ipl; } bodies[] = {
        {1, SE_MERCURY}, {2, SE_VENUS}, {4, SE_MARS}, {5, SE_JUPITER}, {6, SE_SATURN}};
    fprintf(f, "body,jd_tt,phase_deg,mag\n");
    const double start = swe_julday(2000, 1, 1, 0.0, SE_GREG_CAL);
    const double end = swe_julday(2040, 1, 1, 0.0, SE_GREG_CAL);
    for (size_t b = 0; b < sizeof bodies / sizeof bodies[0]; ++b) {
        for (double jd = start; jd < end; jd += 61.0) {
            double attr[20];
            char serr[256];
            const int32 rc = swe_pheno(jd, bodies[b].ipl, SEFLG_SWIEPH, attr, serr);
            if (rc < 0 || (rc & SEFLG_SWIEPH) == 0) {
                fprintf(stderr, "body %d jd %.1f: %s\n", bodies[b].id, jd, serr);
                return 1;
            }
            fprintf(f, "%d,%.1f,%.4f,%.4f\n", bodies[b].id, jd, attr[0], attr[4]);
        }
    }
    swe_close();
    fclose(f);
    return 0;
}
