// Writes data/elpmpp02.csv, the lunar theory ELP/MPP02 (Chapront & Francou 2003,
// the version fitted to DE405) as the npm package astronomia 4.2.0 (MIT) ships it in
// data/elpMppDeFull.js, keeping every term that can reach the cut-off over 1900-2100.
//   cd /tmp && npm pack astronomia@4.2.0 && tar xzf astronomia-4.2.0.tgz
//   node data/make_elpmpp02.mjs /tmp/package/data/elpMppDeFull.js 1e-4 > data/elpmpp02.csv
// Size of a term: |A| in arc seconds for the longitude and the latitude; for the distance
// (km) |A| times 0.0093"/km, what one kilometre changes the Moon's horizontal parallax by.
// |T| <= 1 over 1900-2100, so a term of power p never exceeds its amplitude.
import { pathToFileURL } from 'node:url';

const [file, cutoffText] = process.argv.slice(2);
if (!file || !cutoffText) {
  console.error('usage: node make_elpmpp02.mjs <elpMppDeFull.js> <cut-off arcsec>');
  process.exit(2);
}
const cutoff = Number(cutoffText);
const m = (await import(pathToFileURL(file).href)).default;
if (m.name !== 'ElpMppDE405' || m.W1.length !== 5) throw new Error('not the ELP/MPP02 DE405 series');
const kArcsecPerKm = 0.0093;
const out = ['coord,power,A,phi0,phi1,phi2,phi3,phi4'];
// The mean longitude W1 (radians, T in Julian centuries from J2000.0) as a row of its own.
out.push(['W1', 0, 0, ...m.W1].join(','));
let kept = 0, all = 0;
for (const coord of ['L', 'B', 'R']) {
  for (const power of Object.keys(m[coord]).sort()) {
    for (const row of m[coord][power]) {
      ++all;
      if (row.length !== 6 || !row.every(Number.isFinite)) throw new Error(`bad row in ${coord}${power}`);
      const size = Math.abs(row[0]) * (coord === 'R' ? kArcsecPerKm : 1);
      if (size < cutoff) continue;
      out.push([coord, power, ...row].join(','));
      ++kept;
    }
  }
}
console.log(out.join('\n'));
console.error(`${kept} of ${all} terms kept (cut-off ${cutoff}")`);
