// Fuzzes the star.bin loader: any bytes must load or be refused without reading
// outside the buffer; a refused file leaves the tables empty; names, indexes and
// places of a loaded catalogue must work.
#include <cstddef>
#include <cstdint>

#include "core/mStar.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LoadStatus st = LoadStarBytes(data, size, "star.bin");
    if (!st.ok) {
        if (Stars[1].Number != 0 || !Constellations[kConstellationCount].Name4.empty()) __builtin_trap();
        return 0;  // a damaged file keeps nothing
    }
    for (int i = 1; i <= kStarCount; ++i)
        if (Stars[i].Number <= 0 || !(Stars[i].Dec >= -90.0 && Stars[i].Dec <= 90.0)) __builtin_trap();
    for (int i = 1; i <= kStarCount; ++i) {
        volatile std::size_t n = StarName(i).size();
        (void)n;
    }
    for (int i = 1; i <= kStarCount; i += 13)
        if (StarIndex(Stars[i].Number) > i) __builtin_trap();  // the first match is at or before i
    for (int i = 1; i <= kStarCount; i += 37) {
        const Coord3 p = StarPosition(2460000.5, Stars[i].Number);
        volatile double sink = p.x + p.y;
        (void)sink;
    }
    return 0;
}
