// Fuzzes the moon.bin loader: any bytes must load or fail cleanly, never read
// outside the buffer, and a file that loads must give the Moon a finite place.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/mMoon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const LoadStatus st = LoadMoonBytes(data, size, "moon.bin");
    if (!st.ok && st.message.empty()) __builtin_trap();  // a failure always says why
    for (double jd : {2415016.5, 2451545.0, 2488000.0}) {
        Vector3 km;
        const bool covered = MoonGeocentric(jd, km);
        if (!st.ok && covered) __builtin_trap();  // a failed load keeps nothing
        if (covered && !std::isfinite(km.x + km.y + km.z)) __builtin_trap();
    }
    return 0;
}
