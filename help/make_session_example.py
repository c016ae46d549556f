#!/usr/bin/python3
"""Builds the sights of the help document's worked twilight session: six stars, one misread by 5'.

Independent of Veltrano: PyEphem (python3-ephem) gives the apparent altitude of each
star, refraction included (10 C, 1010 mB), as seen from the ship's true position
(the ship lies stopped); the sextant altitude adds the dip of a 15 m height of eye
(1.76' * sqrt(h)) with a zero index correction and is rounded to 0.1'. The fourth
sight is then written 5.0' too high, as a misread micrometer drum would make it.
Prints the sights file for `veltrano --reduce` and the true position.
Run: /usr/bin/python3 help/make_session_example.py > session_example.csv
"""
import math

import ephem

TRUE_LAT, TRUE_LON = 45.0 + 7.0 / 60.0, -(30.0 + 10.0 / 60.0)
H_EYE_M = 15.0
DIP_ARCMIN = 1.76 * math.sqrt(H_EYE_M)
BLUNDER_ARCMIN = 5.0
SIGHTS = [("Vega", "2026/12/06 19:30:00"),
          ("Capella", "2026/12/06 19:33:00"),
          ("Fomalhaut", "2026/12/06 19:36:00"),
          ("Altair", "2026/12/06 19:39:00"),
          ("Mirfak", "2026/12/06 19:42:00"),
          ("Enif", "2026/12/06 19:45:00")]


def main():
    print("ut,body,hs")
    for k, (name, when) in enumerate(SIGHTS):
        o = ephem.Observer()
        o.lat, o.lon = str(TRUE_LAT), str(TRUE_LON)
        o.elevation = 0.0
        o.date = when
        o.temp, o.pressure = 10.0, 1010.0
        star = ephem.star(name)
        star.compute(o)
        hs = math.degrees(star.alt) + DIP_ARCMIN / 60.0
        if k == 3:
            hs += BLUNDER_ARCMIN / 60.0
        tenths = round(hs * 600)
        ut = when.replace("/", "-").replace(" ", "T")
        print(f"{ut},{name},{tenths // 600:02d}-{(tenths % 600) / 10:04.1f}")
        print(f"# {name}: Zn {math.degrees(star.az):05.1f}")
    print(f"# true position {TRUE_LAT:.5f} {TRUE_LON:.5f}")


main()
