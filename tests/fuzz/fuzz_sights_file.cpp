// Fuzzes the reader of a sights file (veltrano --reduce, the session window's Open):
// any bytes are read or refused with a reason; every sight read has a body, a UT
// within the calendar and a sextant altitude above 0 and at most 90 degrees.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fix/mReduceCommand.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ReduceInput input;
    std::string why;
    const bool ok = ReadSightsText(std::string(reinterpret_cast<const char*>(data), size), "sights.csv", input, why);
    if (!ok && why.empty()) __builtin_trap();
    if (input.Sights.size() != input.BodyName.size()) __builtin_trap();
    for (const SessionSight& s : input.Sights) {
        if (s.Body == kNoBody || !(s.Hs > 0.0 && s.Hs <= 90.0) || !std::isfinite(s.UT)) __builtin_trap();
        if (!(std::fabs(s.UT) < kMaxDateValueDays)) __builtin_trap();
    }
    return 0;
}
