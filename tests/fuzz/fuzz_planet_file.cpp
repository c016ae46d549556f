// Fuzzes the planet.bin loader: any bytes must load or fail cleanly, never read
// outside the buffer, and a file that loads must evaluate to finite numbers.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/mPlanet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LoadStatus st = LoadPlanetBytes(data, size, "planet.bin");
    if (!st.ok && st.message.empty()) __builtin_trap();  // a failure always says why
    for (int index = 0; index <= 9; ++index) {
        const Coord3 p = HeliocentricPosition(index, 2451545.0 + 3652.5 * index);
        if (!st.ok && (p.x != 0.0 || p.y != 0.0 || p.z != 0.0)) __builtin_trap();  // a failed load is empty
        if (!std::isfinite(p.x + p.y + p.z)) __builtin_trap();  // a loaded one holds no absurd term
        volatile double sink = p.x + p.y + p.z;
        (void)sink;
    }
    return 0;
}
