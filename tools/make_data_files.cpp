// Builds the program's two data files from the committed source tables:
//   planet.bin  eight blocks Mercury .. Neptune of the VSOP87D series truncated at
//               vsop::kCutoff (tools/vsop_source.h)
//   star.bin    287 stars, 24 Greek letters, 88 constellations, texts in Latin-1
// Usage: make_data_files DATA_DIR OUT_DIR
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tools/star_source.h"
#include "tools/vsop_source.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutInt16(Bytes& b, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    b.push_back(static_cast<std::uint8_t>(u & 0xff));
    b.push_back(static_cast<std::uint8_t>(u >> 8));
}
void PutInt32(Bytes& b, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}
void PutDouble(Bytes& b, double v) {
    std::uint64_t u;
    std::memcpy(&u, &v, sizeof u);
    for (int i = 0; i < 8; ++i) b.push_back(static_cast<std::uint8_t>(u >> (8 * i)));
}
void PutFixed(Bytes& b, const std::string& s, size_t n) {
    if (s.size() != n) throw std::runtime_error("fixed text \"" + s + "\" is not " + std::to_string(n) + " bytes");
    b.insert(b.end(), s.begin(), s.end());
}
void PutText(Bytes& b, const std::string& s) {
    if (s.size() > 32767) throw std::runtime_error("text too long");
    PutInt16(b, static_cast<std::int16_t>(s.size()));
    b.insert(b.end(), s.begin(), s.end());
}

Bytes PlanetFile(const vsop::Series& s) {
    Bytes b;
    for (int pl = 0; pl < vsop::kPlanets; ++pl) {
        std::string name = vsop::kBlockNames[pl];
        name.resize(10, ' ');
        PutFixed(b, name, 10);
        for (int p = 0; p < 6; ++p)
            for (int k = 0; k < 3; ++k) PutInt32(b, static_cast<std::int32_t>(s.terms[pl][k][p].size()));
        for (int k = 0; k < 3; ++k) {
            b.insert(b.end(), 10, 0);  // the unread gap before each coordinate's terms
            for (int p = 0; p < 6; ++p)
                for (const auto& t : s.terms[pl][k][p]) {
                    PutDouble(b, t.A);
                    PutDouble(b, t.B);
                    PutDouble(b, t.C);
                }
        }
    }
    return b;
}

Bytes StarFile(const starsrc::Catalogue& c) {
    Bytes b;
    for (const auto& s : c.stars) {
        PutInt16(b, s.Number);
        PutInt16(b, s.NavNumber);
        PutInt16(b, s.MaeNumber);
        PutFixed(b, s.Bayer, 4);
        PutFixed(b, s.Constellation, 3);
        PutText(b, s.Name);
        for (double v : {s.RA, s.Dec, s.PmRA, s.PmDec, s.Parallax, s.Magnitude, s.RadialVelocity}) PutDouble(b, v);
    }
    for (const auto& g : c.greek) {
        PutFixed(b, g.SymbolChar, 1);
        PutText(b, g.LetterName);
    }
    for (const auto& k : c.constellations) {
        PutFixed(b, k.Abbreviation, 3);
        for (const auto* t : {&k.Name1, &k.Name2, &k.Name3, &k.Name4}) PutText(b, *t);
    }
    return b;
}

void Write(const std::string& path, const Bytes& b) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s DATA_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    try {
        const std::string in = argv[1], out = argv[2];
        const vsop::Series full = vsop::ReadVsopCsv(in + "/vsop87d.csv");
        const vsop::Series kept = vsop::Truncate(full, vsop::kCutoff);
        Write(out + "/planet.bin", PlanetFile(kept));
        Write(out + "/star.bin", StarFile(starsrc::ReadCatalogue(in)));
        std::printf("planet.bin: %zu of %zu terms (cut-off %.1e); star.bin written\n", vsop::TermCount(kept),
                    vsop::TermCount(full), vsop::kCutoff);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_data_files: %s\n", e.what());
        return 1;
    }
    return 0;
}
