#!/usr/bin/python3
"""Builds the numbers of the help document's worked running fix from three star sights.

Independent of Veltrano: the ship sails a rhumb line (course COURSE, SPEED knots)
and is at the true position at the fix instant, the last sight's. PyEphem
(python3-ephem) gives the apparent altitude of each star, refraction included
(10 C, 1010 mB), as seen from where the ship truly is at the sight's instant; the
sextant altitude adds the dip of a 15 m height of eye (1.76' * sqrt(h)) with a zero
index correction. Each sight is reduced from the dead-reckoning position run back
along the rhumb line to its instant (Mercator sailing), with the same software for
the computed altitude and azimuth, and the least-squares fix of the intercepts is
printed with the true position it should recover.
Run: /usr/bin/python3 help/make_help_example.py
"""
import math

import ephem

TRUE_LAT, TRUE_LON = 45.20, -30.35       # where the ship really is at the fix (degrees)
DR_LAT, DR_LON = 45.0, -30.0             # the navigator's dead reckoning at the fix
COURSE, SPEED = 300.0, 12.0              # degrees true, knots
H_EYE_M = 15.0
DIP_ARCMIN = 1.76 * math.sqrt(H_EYE_M)
FIX_HOURS = 19.0 + 50.0 / 60.0           # UT of the fix (the last sight)
SIGHTS = [("Vega", "2026/12/06 19:10:00"),
          ("Capella", "2026/12/06 19:30:00"),
          ("Fomalhaut", "2026/12/06 19:50:00")]


def rhumb(lat, lon, course, nm):
    """The end of a run of nm nautical miles along course from (lat, lon), Mercator sailing."""
    dlat = nm * math.cos(math.radians(course)) / 60.0
    lat2 = lat + dlat
    if abs(dlat) > 1e-9:
        dpsi = math.log(math.tan(math.pi / 4 + math.radians(lat2) / 2) / math.tan(math.pi / 4 + math.radians(lat) / 2))
        q = math.radians(dlat) / dpsi
    else:
        q = math.cos(math.radians(lat))
    return lat2, lon + nm * math.sin(math.radians(course)) / 60.0 / q


def hours_before_fix(when):
    h, m, s = (int(x) for x in when[-8:].split(":"))
    return FIX_HOURS - (h + m / 60.0 + s / 3600.0)


def observer(lat, lon, when, refraction=True):
    o = ephem.Observer()
    o.lat, o.lon = str(lat), str(lon)
    o.elevation = 0.0
    o.date = when
    o.temp, o.pressure = (10.0, 1010.0) if refraction else (10.0, 0.0)
    return o


def dm(deg, pos="N", neg="S", width=2):
    letter = pos if deg >= 0 else neg
    tenths = round(abs(deg) * 600)
    return f"{tenths // 600:0{width}d}-{(tenths % 600) / 10:04.1f}{letter}"


def main():
    rows = []
    for name, when in SIGHTS:
        run = -SPEED * hours_before_fix(when)
        true_lat, true_lon = rhumb(TRUE_LAT, TRUE_LON, COURSE, run)
        dr_lat, dr_lon = rhumb(DR_LAT, DR_LON, COURSE, run)
        star = ephem.star(name)
        star.compute(observer(true_lat, true_lon, when))
        apparent = math.degrees(star.alt)
        hs = apparent + DIP_ARCMIN / 60.0
        tenths = round(hs * 600)
        hs_text = f"{tenths // 600:02d}-{(tenths % 600) / 10:04.1f}"
        hs_rounded = tenths / 600.0
        # Reduction from the dead-reckoning position: computed altitude without
        # refraction, observed altitude = sextant - dip - refraction.
        star.compute(observer(dr_lat, dr_lon, when, refraction=False))
        hc = math.degrees(star.alt)
        az = math.degrees(star.az)
        star.compute(observer(true_lat, true_lon, when, refraction=False))
        refr = apparent - math.degrees(star.alt)
        ho = hs_rounded - DIP_ARCMIN / 60.0 - refr
        p = (ho - hc) * 60.0
        rows.append((name, when[-8:], hs_text, hc, az, p))
        print(f"{name:10s} UT {when[-8:]}  DR {dm(dr_lat)} {dm(dr_lon, 'E', 'W', 3)}  Hs {hs_text}  "
              f"Hc {dm(hc, '', '-')}  Zn {az:6.1f}  refraction {refr * 60:4.1f}'  intercept {p:+5.1f}'")
    scc = sum(math.cos(math.radians(r[4])) ** 2 for r in rows)
    sss = sum(math.sin(math.radians(r[4])) ** 2 for r in rows)
    scs = sum(math.cos(math.radians(r[4])) * math.sin(math.radians(r[4])) for r in rows)
    scp = sum(math.cos(math.radians(r[4])) * r[5] for r in rows)
    ssp = sum(math.sin(math.radians(r[4])) * r[5] for r in rows)
    g = scc * sss - scs * scs
    dn = (sss * scp - scs * ssp) / g
    de = (scc * ssp - scs * scp) / g
    fix_lat = DR_LAT + dn / 60.0
    fix_lon = DR_LON + de / 60.0 / math.cos(math.radians(DR_LAT))
    print(f"dip {DIP_ARCMIN:.1f}'  DR {dm(DR_LAT)} {dm(DR_LON, 'E', 'W', 3)}")
    print(f"fix {dm(fix_lat)} {dm(fix_lon, 'E', 'W', 3)}  (dN {dn:+.1f}', dE {de:+.1f}')")
    print(f"true {dm(TRUE_LAT)} {dm(TRUE_LON, 'E', 'W', 3)}")
    err = math.hypot((fix_lat - TRUE_LAT) * 60, (fix_lon - TRUE_LON) * 60 * math.cos(math.radians(TRUE_LAT)))
    print(f"fix - true: {err:.2f} nautical miles")


if __name__ == "__main__":
    main()
