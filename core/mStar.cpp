#include "core/mStar.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "core/mApparent.h"
#include "core/mBodyPosition.h"
#include "core/mPlanet.h"

std::array<StarRecord, kStarCount + 1> Stars;
std::array<GreekLetterRecord, kGreekLetterCount + 1> GreekLetters;
std::array<ConstellationRecord, kConstellationCount + 1> Constellations;

namespace {

// A cursor over the file's bytes; every read checks what remains and fails
// (and stays failed) rather than reading past the end.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool ok() const { return ok_; }
    std::size_t pos() const { return pos_; }

    std::int16_t Int16() {
        if (!Take(2)) return 0;
        const auto u = static_cast<std::uint16_t>(data_[pos_ - 2] | data_[pos_ - 1] << 8);
        std::int16_t v;
        std::memcpy(&v, &u, sizeof v);
        return v;
    }
    double Double() {
        if (!Take(8)) return 0.0;
        std::uint64_t u = 0;
        for (int i = 1; i <= 8; ++i) u = u << 8 | data_[pos_ - i];
        double v;
        std::memcpy(&v, &u, sizeof v);
        return v;
    }
    std::string Fixed(std::size_t n) {
        if (!Take(n)) return {};
        return Latin1ToUtf8(data_ + pos_ - n, n);
    }
    // A 16-bit length (taken as unsigned) and that many bytes.
    std::string Text() {
        if (!Take(2)) return {};
        const std::size_t n = data_[pos_ - 2] | data_[pos_ - 1] << 8;
        return Fixed(n);
    }

private:
    bool Take(std::size_t n) {
        if (!ok_ || n > size_ - pos_) {
            ok_ = false;
            return false;
        }
        pos_ += n;
        return true;
    }
    static std::string Latin1ToUtf8(const std::uint8_t* p, std::size_t n) {
        std::string s;
        s.reserve(n);
        for (std::size_t i = 0; i < n; ++i) {
            if (p[i] < 0x80) {
                s += static_cast<char>(p[i]);
            } else {
                s += static_cast<char>(0xc0 | p[i] >> 6);
                s += static_cast<char>(0x80 | (p[i] & 0x3f));
            }
        }
        return s;
    }

    const std::uint8_t* data_;
    std::size_t size_, pos_ = 0;
    bool ok_ = true;
};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

// True when needle (not empty) occurs in hay, letters compared without case.
bool ContainsNoCase(const std::string& hay, const std::string& needle) {
    if (needle.size() > hay.size()) return false;
    for (std::size_t i = 0; i + needle.size() <= hay.size(); ++i) {
        std::size_t k = 0;
        while (k < needle.size() && Lower(hay[i + k]) == Lower(needle[k])) ++k;
        if (k == needle.size()) return true;
    }
    return false;
}

// What is wrong with a star record no real catalogue holds; "" when nothing is.
// The limits are wide: the catalogue's own values lie well inside them.
std::string Implausible(const StarRecord& s) {
    std::ostringstream out;
    auto bad = [&](const char* what, double v) {
        out << "a " << what << " of " << v;
        return out.str();
    };
    if (s.Number <= 0) return bad("catalogue number", s.Number);
    if (s.NavNumber < 0) return bad("navigational list number", s.NavNumber);
    if (s.MaeNumber < 0) return bad("second list number", s.MaeNumber);
    if (!(s.RA >= 0.0 && s.RA < 360.0)) return bad("right ascension", s.RA);
    if (!(std::fabs(s.Dec) <= 90.0)) return bad("declination", s.Dec);
    // Barnard's star, the fastest, moves 10" a year: 1000" a century (more in right
    // ascension near a pole, where these are not multiplied by cos dec).
    if (!(std::fabs(s.PmRA) <= 1e6)) return bad("proper motion in right ascension", s.PmRA);
    if (!(std::fabs(s.PmDec) <= 1e5)) return bad("proper motion in declination", s.PmDec);
    if (!(s.StarParallax >= 0.0 && s.StarParallax <= 1.0)) return bad("parallax", s.StarParallax);  // nearest 0.77"
    if (!(s.Magnitude >= -2.0 && s.Magnitude <= 15.0)) return bad("magnitude", s.Magnitude);
    if (!(std::fabs(s.RadialVelocity) <= 1000.0)) return bad("radial velocity", s.RadialVelocity);  // fastest ~600 km/s
    return {};
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

}  // namespace

LoadStatus LoadStarBytes(const std::uint8_t* data, std::size_t size, const std::string& label) {
    Stars = {};
    GreekLetters = {};
    Constellations = {};
    Reader r(data, size);
    int stars = 0, letters = 0, constellations = 0;
    for (int i = 1; i <= kStarCount; ++i) {
        StarRecord s;
        s.Number = r.Int16();
        s.NavNumber = r.Int16();
        s.MaeNumber = r.Int16();
        s.Bayer = r.Fixed(4);
        s.Constellation = r.Fixed(3);
        s.Name = r.Text();
        s.RA = r.Double();
        s.Dec = r.Double();
        s.PmRA = r.Double();
        s.PmDec = r.Double();
        s.StarParallax = r.Double();
        s.Magnitude = r.Double();
        s.RadialVelocity = r.Double();
        if (!r.ok()) break;
        Stars[i] = std::move(s);
        ++stars;
    }
    for (int i = 1; i <= kGreekLetterCount && r.ok(); ++i) {
        GreekLetterRecord g;
        g.SymbolChar = r.Fixed(1);
        g.LetterName = r.Text();
        if (!r.ok()) break;
        GreekLetters[i] = std::move(g);
        ++letters;
    }
    for (int i = 1; i <= kConstellationCount && r.ok(); ++i) {
        ConstellationRecord c;
        c.Abbreviation = r.Fixed(3);
        c.Name1 = r.Text();
        c.Name2 = r.Text();
        c.Name3 = r.Text();
        c.Name4 = r.Text();
        if (!r.ok()) break;
        Constellations[i] = std::move(c);
        ++constellations;
    }
    std::string fault;
    if (!r.ok()) {
        fault = label + ": the file ends after " + std::to_string(stars) + " of 287 stars, " +
                std::to_string(letters) + " of 24 Greek letters and " + std::to_string(constellations) +
                " of 88 constellations (" + std::to_string(size) + " bytes)";
    } else {
        for (int i = 1; i <= kStarCount && fault.empty(); ++i) {
            const std::string why = Implausible(Stars[static_cast<size_t>(i)]);
            if (!why.empty()) fault = label + ": star record " + std::to_string(i) + " has " + why;
        }
    }
    if (fault.empty()) return LoadStatus::Ok();
    // A catalogue that is not whole is a damaged file: nothing of it is kept.
    Stars = {};
    GreekLetters = {};
    Constellations = {};
    return LoadStatus::Fail(fault);
}

LoadStatus LoadStarFile(const std::string& path) {
    std::vector<std::uint8_t> bytes;
    std::string why;
    if (!ReadWholeFile(path, bytes, &why)) {
        Stars = {};
        GreekLetters = {};
        Constellations = {};
        return LoadStatus::Fail(path + ": " + why);
    }
    return LoadStarBytes(bytes.data(), bytes.size(), path);
}

LoadStatus LoadStarFile() { return LoadStarFile(DataFilePath("star.bin")); }

int StarIndex(int number) {
    for (int i = 1; i <= kStarCount; ++i)
        if (Stars[i].Number == number) return i;
    return 0;
}

std::string StarName(int index) {
    if (index < 1 || index > kStarCount) return {};
    const StarRecord& s = Stars[index];
    // Compared in place, without lower-cased copies: the star map names every star
    // it draws.
    const std::string* constellation = nullptr;
    for (int i = 1; i <= kConstellationCount; ++i)
        if (EqualNoCase(Constellations[i].Abbreviation, s.Constellation)) {
            constellation = &Constellations[i].Name4;
            break;
        }
    const std::string* letter = nullptr;
    const std::string b = Trim(s.Bayer.substr(0, 3));
    if (!b.empty())
        for (int i = 1; i <= kGreekLetterCount; ++i)
            if (ContainsNoCase(GreekLetters[i].LetterName, b)) {
                letter = &GreekLetters[i].LetterName;
                break;
            }
    std::string text;
    text.reserve(40);
    if (letter) text += *letter;
    text += ' ';
    if (constellation) text += *constellation;
    if (!s.Name.empty()) {
        text += " (";
        text += s.Name;
        text += ')';
    }
    return text;
}

Coord3 StarPosition(double jd, int number) {
    const int i = StarIndex(number);
    if (i == 0) return {0.0, 0.0, 0.0};
    // The pages ask for every star at one instant: the frame of the last instant is kept.
    thread_local StarFrame last;
    thread_local bool have = false;
    if (!have || last.frame.jd != jd) {
        last = StarFrameAt(jd);
        have = true;
    }
    return StarPlaceAt(last, Stars[static_cast<std::size_t>(i)]);
}

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kAu = 149597870.7;            // km
constexpr double kLightAuPerDay = 173.1446326846693;
constexpr double kSchwarzschildSunAu = 1.97412574336e-8;

// Heliocentric position (AU) and velocity (AU/day) of a body from its expansion about
// jd, rectangular, mean ecliptic and equinox of date.
void StateOf(int body, double jd, Vector3& pos, Vector3& vel) {
    const HeliocentricExpansion e = ExpandHeliocentric(body, jd, 1.0, kAutoExpansionOrder);
    const double L = e.c[0][0], B = e.c[1][0], R = e.c[2][0];
    const double dL = e.c[0][1] / e.halfSpanDays, dB = e.c[1][1] / e.halfSpanDays, dR = e.c[2][1] / e.halfSpanDays;
    const double cl = std::cos(L), sl = std::sin(L), cb = std::cos(B), sb = std::sin(B);
    pos = {R * cb * cl, R * cb * sl, R * sb};
    vel = {dR * cb * cl - R * sb * dB * cl - R * cb * sl * dL, dR * cb * sl - R * sb * dB * sl + R * cb * cl * dL,
           dR * sb + R * cb * dB};
}

// Mean ecliptic of date to true equator of date: the nutation in longitude, then the
// true obliquity.
Vector3 EclipticToEquator(const Vector3& v, const ApparentFrame& f) {
    const double dp = DegToRad(f.dpsi), e = DegToRad(f.eps);
    const double x = std::cos(dp) * v.x - std::sin(dp) * v.y, y = std::sin(dp) * v.x + std::cos(dp) * v.y;
    return {x, std::cos(e) * y - std::sin(e) * v.z, std::sin(e) * y + std::cos(e) * v.z};
}

double Dot(const Vector3& a, const Vector3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

}  // namespace

StarFrame StarFrameAt(double jd) {
    StarFrame f;
    f.frame = FrameAt(jd);
    f.pole = PoleFrameAt(jd);
    f.equinoxOffset = EquinoxOffset(f.frame, f.pole);
    Vector3 earth, earthVel;
    StateOf(kBodyEarth, jd, earth, earthVel);
    // The Sun about the barycentre: the giant planets' pull (the rest moves it less
    // than 1e-6 AU).
    static constexpr int kGiants[4] = {kBodyJupiter, kBodySaturn, kBodyUranus, kBodyNeptune};
    static constexpr double kMassRatio[4] = {1.0 / 1047.348644, 1.0 / 3497.9018, 1.0 / 22902.98, 1.0 / 19412.26};
    Vector3 bary, baryVel;
    double total = 1.0;
    for (int k = 0; k < 4; ++k) {
        Vector3 p, v;
        StateOf(kGiants[k], jd, p, v);
        bary = {bary.x + kMassRatio[k] * p.x, bary.y + kMassRatio[k] * p.y, bary.z + kMassRatio[k] * p.z};
        baryVel = {baryVel.x + kMassRatio[k] * v.x, baryVel.y + kMassRatio[k] * v.y, baryVel.z + kMassRatio[k] * v.z};
        total += kMassRatio[k];
    }
    const Vector3 e{earth.x - bary.x / total, earth.y - bary.y / total, earth.z - bary.z / total};
    const Vector3 v{(earthVel.x - baryVel.x / total) / kLightAuPerDay, (earthVel.y - baryVel.y / total) / kLightAuPerDay,
                    (earthVel.z - baryVel.z / total) / kLightAuPerDay};
    f.earth = EclipticToEquator(e, f.frame);
    f.velocity = EclipticToEquator(v, f.frame);
    const Vector3 h = EclipticToEquator(earth, f.frame);
    const double r = std::sqrt(Dot(h, h));
    // Without the planetary series (planet.bin not loaded) the Earth stays at the
    // barycentre, at rest: no parallax, deflection or aberration.
    if (r > 0.5) {
        f.sunDistance = r;
        f.sunToEarth = {h.x / r, h.y / r, h.z / r};
    }
    return f;
}

Coord3 StarPlaceAt(const StarFrame& f, const StarRecord& s) {
    // The star's barycentric place at jd (AU, ICRS) from its catalogue place, its
    // proper motions, its parallax and its radial velocity, moving uniformly.
    const double days = f.frame.jd - 2451545.0;
    const double parallax = std::max(s.StarParallax, 1e-7);  // arcsec; none: 2e12 AU
    const double dist = 648000.0 / kPi / parallax;
    const double a = DegToRad(s.RA), d = DegToRad(s.Dec);
    const double ca = std::cos(a), sa = std::sin(a), cd = std::cos(d), sd = std::sin(d);
    const double perDay = kPi / 648000.0 / 36525.0;
    const double da = s.PmRA * perDay, dd = s.PmDec * perDay;
    const double rv = s.RadialVelocity * 86400.0 / kAu;  // AU/day
    const Vector3 u{cd * ca, cd * sa, sd};
    const Vector3 vel{dist * (-cd * sa * da - sd * ca * dd) + rv * u.x, dist * (cd * ca * da - sd * sa * dd) + rv * u.y,
                      dist * cd * dd + rv * u.z};
    const Vector3 star = Apply(f.pole.npb, {dist * u.x + vel.x * days, dist * u.y + vel.y * days, dist * u.z + vel.z * days});
    // Seen from the Earth (parallax).
    Vector3 p{star.x - f.earth.x, star.y - f.earth.y, star.z - f.earth.z};
    const double len = std::sqrt(Dot(p, p));
    p = {p.x / len, p.y / len, p.z / len};
    // The Sun's light deflection (the star far beyond the Sun).
    const double pe = Dot(p, f.sunToEarth);
    const double w = kSchwarzschildSunAu / f.sunDistance / std::max(1.0 + pe, 1e-6);  // 0 with no Sun
    p = {p.x + w * (f.sunToEarth.x - pe * p.x), p.y + w * (f.sunToEarth.y - pe * p.y),
         p.z + w * (f.sunToEarth.z - pe * p.z)};
    // Aberration, to all orders of the Earth's velocity.
    const Vector3& v = f.velocity;
    const double bm1 = std::sqrt(1.0 - Dot(v, v)), pdv = Dot(p, v);
    const double w1 = 1.0 + pdv / (1.0 + bm1);
    p = {bm1 * p.x + w1 * v.x, bm1 * p.y + w1 * v.y, bm1 * p.z + w1 * v.z};
    Coord3 place;
    place.x = RadToDeg(Atan2(p.y, p.x)) - f.equinoxOffset;
    place.y = RadToDeg(Atan2(p.z, std::sqrt(p.x * p.x + p.y * p.y)));
    place.z = s.StarParallax;
    return place;
}
