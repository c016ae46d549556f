// The star catalogue source tables (data/stars.csv, greek.csv, constellations.csv)
// as the records of star.bin. Shared by the generator and the round-trip test.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace starsrc {

// CSV with double-quoted cells ("" is a quote inside them).
inline std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (quoted) {
            if (ch == '"' && i + 1 < line.size() && line[i + 1] == '"') out.back() += '"', ++i;
            else if (ch == '"') quoted = false;
            else out.back() += ch;
        } else if (ch == '"') quoted = true;
        else if (ch == ',') out.emplace_back();
        else if (ch != '\r') out.back() += ch;
    }
    return out;
}

struct Table {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    size_t Col(const std::string& name) const {
        for (size_t i = 0; i < header.size(); ++i)
            if (header[i] == name) return i;
        throw std::runtime_error("no column " + name);
    }
};

inline Table ReadTable(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    Table t;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) continue;
        if (t.header.empty()) t.header = SplitCsv(line);
        else t.rows.push_back(SplitCsv(line));
    }
    return t;
}

// UTF-8 to Latin-1, the 8-bit text of the file. The typographic spaces
// U+2000..U+200A of the English constellation names become plain spaces; any
// other character beyond Latin-1 is an error.
inline std::string ToLatin1(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned cp;
        int len;
        if (c < 0x80) cp = c, len = 1;
        else if ((c & 0xe0) == 0xc0) cp = c & 0x1f, len = 2;
        else if ((c & 0xf0) == 0xe0) cp = c & 0x0f, len = 3;
        else if ((c & 0xf8) == 0xf0) cp = c & 0x07, len = 4;
        else throw std::runtime_error("bad UTF-8 in \"" + utf8 + "\"");
        if (i + len > utf8.size()) throw std::runtime_error("bad UTF-8 in \"" + utf8 + "\"");
        for (int k = 1; k < len; ++k) cp = cp << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3f);
        if (cp >= 0x2000 && cp <= 0x200a) cp = ' ';
        if (cp > 0xff) throw std::runtime_error("\"" + utf8 + "\" has a character beyond Latin-1");
        out += static_cast<char>(cp);
        i += len;
    }
    return out;
}

struct Star {
    std::int16_t Number = 0, NavNumber = 0, MaeNumber = 0;
    std::string Bayer;          // 4 bytes
    std::string Constellation;  // 3 bytes
    std::string Name;           // Latin-1
    double RA = 0, Dec = 0, PmRA = 0, PmDec = 0, Parallax = 0, Magnitude = 0, RadialVelocity = 0;
};
struct Greek {
    std::string SymbolChar;  // 1 byte: the letter's key in the Symbol font
    std::string LetterName;
};
struct Constellation {
    std::string Abbreviation;                // 3 bytes
    std::string Name1, Name2, Name3, Name4;  // Latin, English, IAU abbreviation, genitive (Latin-1)
};

struct Catalogue {
    std::vector<Star> stars;
    std::vector<Greek> greek;
    std::vector<Constellation> constellations;
};

inline std::int16_t ToInt16(const std::string& s) {
    const long v = std::strtol(s.c_str(), nullptr, 10);
    if (v < -32768 || v > 32767) throw std::runtime_error("number beyond 16 bits: " + s);
    return static_cast<std::int16_t>(v);
}

inline std::string Fixed(const std::string& s, size_t n) {
    if (s.size() > n) throw std::runtime_error("\"" + s + "\" longer than " + std::to_string(n));
    return s + std::string(n - s.size(), ' ');
}

// Symbol font keys of the Greek letters, by letter name.
inline char SymbolKey(const std::string& name) {
    static const char* const kNames[] = {"Alpha", "Beta",    "Gamma", "Delta", "Epsilon", "Zeta",
                                         "Eta",   "Theta",   "Iota",  "Kappa", "Lambda",  "Mu",
                                         "Nu",    "Xi",      "Omicron", "Pi",  "Rho",     "Sigma",
                                         "Tau",   "Upsilon", "Phi",   "Chi",   "Psi",     "Omega"};
    static const char kKeys[] = "abgdezhqiklmnxoprstufcyw";
    for (int i = 0; i < 24; ++i)
        if (name == kNames[i]) return kKeys[i];
    throw std::runtime_error("unknown Greek letter " + name);
}

inline bool ContainsNoCase(const std::string& hay, const std::string& needle) {
    auto lower = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    return lower(hay).find(lower(needle)) != std::string::npos;
}

inline Catalogue ReadCatalogue(const std::string& dataDir) {
    Catalogue cat;
    const Table st = ReadTable(dataDir + "/stars.csv");
    for (const auto& r : st.rows) {
        Star s;
        s.Number = ToInt16(r.at(st.Col("hr")));
        s.NavNumber = ToInt16(r.at(st.Col("nav_no")));
        s.MaeNumber = ToInt16(r.at(st.Col("mae")));
        const std::string sup = r.at(st.Col("bayer_sup"));
        s.Bayer = Fixed(r.at(st.Col("bayer")), 3) + (sup.empty() ? std::string(" ") : Fixed(sup, 1));
        s.Constellation = Fixed(r.at(st.Col("con")), 3);
        s.Name = ToLatin1(r.at(st.Col("name")));
        s.RA = std::strtod(r.at(st.Col("ra_deg")).c_str(), nullptr);
        s.Dec = std::strtod(r.at(st.Col("dec_deg")).c_str(), nullptr);
        s.PmRA = std::strtod(r.at(st.Col("pmra_as_cy")).c_str(), nullptr);
        s.PmDec = std::strtod(r.at(st.Col("pmdec_as_cy")).c_str(), nullptr);
        s.Parallax = std::strtod(r.at(st.Col("parallax_as")).c_str(), nullptr);
        s.Magnitude = std::strtod(r.at(st.Col("vmag")).c_str(), nullptr);
        s.RadialVelocity = std::strtod(r.at(st.Col("rv_kms")).c_str(), nullptr);
        cat.stars.push_back(s);
    }
    // Greek letters: alphabet order, except that a letter whose abbreviation lies
    // inside an earlier letter's name moves in front of it ("Eta" is inside
    // "Beta", "Zeta" and "Theta"), so that every abbreviation finds its own letter first.
    const Table gr = ReadTable(dataDir + "/greek.csv");
    for (const auto& r : gr.rows) {
        const std::string abbr = r.at(gr.Col("abbr")), name = r.at(gr.Col("name"));
        Greek g{std::string(1, SymbolKey(name)), name};
        size_t at = cat.greek.size();
        for (size_t i = 0; i < cat.greek.size(); ++i)
            if (ContainsNoCase(cat.greek[i].LetterName, abbr)) {
                at = i;
                break;
            }
        cat.greek.insert(cat.greek.begin() + static_cast<long>(at), g);
    }
    const Table co = ReadTable(dataDir + "/constellations.csv");
    for (const auto& r : co.rows) {
        Constellation c;
        c.Abbreviation = Fixed(r.at(co.Col("abbr")), 3);
        c.Name1 = ToLatin1(r.at(co.Col("latin")));
        c.Name2 = ToLatin1(r.at(co.Col("english")));
        c.Name3 = r.at(co.Col("abbr"));
        c.Name4 = ToLatin1(r.at(co.Col("genitive")));
        cat.constellations.push_back(c);
    }
    if (cat.stars.size() != 287 || cat.greek.size() != 24 || cat.constellations.size() != 88)
        throw std::runtime_error("the catalogue needs 287 stars, 24 letters and 88 constellations");
    return cat;
}

}  // namespace starsrc
