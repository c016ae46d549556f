#!/usr/bin/python3
"""Writes two reference tables from ERFA (Debian python3-erfa):

altaz_reference.csv: horizontal coordinates from hour angle, declination and
  latitude (erfa.hd2ae, pure spherical geometry): ha_deg,dec_deg,lat_deg,az_deg,alt_deg
refraction_reference.csv: refraction at 10 C, 1010 hPa, dry air, 0.55 um from the
  ERFA refraction constants (erfa.refco, A tan z + B tan^3 z, valid above 15 deg):
  alt_deg,refraction_arcsec
refraction_air_reference.csv: the refraction in other air against that at 10 C and
  1010 hPa (the same refco, dry air): temp_c,pressure_hpa,alt_deg,ratio

Run: /usr/bin/python3 tests/data/make_reduction_reference.py
"""
import math
import os
import random

import erfa

here = os.path.dirname(os.path.abspath(__file__))
rng = random.Random(424)
with open(os.path.join(here, "altaz_reference.csv"), "w") as f:
    f.write("ha_deg,dec_deg,lat_deg,az_deg,alt_deg\n")
    for _ in range(60):
        ha = rng.uniform(-180.0, 180.0)
        dec = rng.uniform(-80.0, 80.0)
        lat = rng.uniform(-75.0, 75.0)
        az, el = erfa.hd2ae(math.radians(ha), math.radians(dec), math.radians(lat))
        f.write(f"{ha:.9f},{dec:.9f},{lat:.9f},{math.degrees(az):.9f},{math.degrees(el):.9f}\n")

refa, refb = erfa.refco(1010.0, 10.0, 0.0, 0.55)
with open(os.path.join(here, "refraction_reference.csv"), "w") as f:
    f.write("alt_deg,refraction_arcsec\n")
    for alt in [15.5, 20, 25, 30, 40, 45, 50, 60, 70, 80, 89]:
        z = math.radians(90.0 - alt)
        r = refa * math.tan(z) + refb * math.tan(z) ** 3
        f.write(f"{alt},{math.degrees(r) * 3600.0:.4f}\n")

with open(os.path.join(here, "refraction_air_reference.csv"), "w") as f:
    f.write("temp_c,pressure_hpa,alt_deg,ratio\n")
    for tc in [-30.0, -10.0, 10.0, 25.0, 40.0]:
        for phpa in [970.0, 1010.0, 1040.0]:
            a, b = erfa.refco(phpa, tc, 0.0, 0.55)
            for alt in [20.0, 45.0]:
                z = math.radians(90.0 - alt)
                r = (a * math.tan(z) + b * math.tan(z) ** 3) / (refa * math.tan(z) + refb * math.tan(z) ** 3)
                f.write(f"{tc},{phpa},{alt},{r:.6f}\n")
