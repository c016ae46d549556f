#include "core/mStar.h"

#include <cmath>
#include <cstring>
#include <sstream>

#include "core/mApparent.h"

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
    return StarPlaceAt(StarFrameAt(jd), Stars[static_cast<std::size_t>(i)]);
}

StarFrame StarFrameAt(double jd) {
    StarFrame f;
    f.frame = FrameAt(jd);
    f.aberration = AberrationLongitude(jd);
    f.precession = PrecessionFromJ2000(jd);
    f.eps0 = TrigOf(f.frame.eps0);
    f.eps = TrigOf(f.frame.eps);
    return f;
}

Coord3 StarPlaceAt(const StarFrame& f, const StarRecord& s) {
    const double jd = f.frame.jd;
    const double t = (jd - 2451545.0) / 36525.0;
    Coord3 place{s.RA + t * s.PmRA / 3600.0, s.Dec + t * s.PmDec / 3600.0, s.StarParallax};
    AnnualAberration(f.aberration, place);
    PrecessFromJ2000(f.precession, place);
    EquToEcl(place, f.eps0);
    place.x += f.frame.dpsi;
    EclToEqu(place, f.eps);
    place.z = s.StarParallax;
    return place;
}
