#include "almanac/mLunarTable.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "lunar/mLunar.h"

std::vector<LunarTableRow> LunarTableRows(DateValue day) {
    std::vector<LunarCandidate> all = PlanLunars(DateWholeDays(day), 0.0, 0.0);
    // The Sun and the planets first in their codes' order (0, -2, ..., -5), then the stars by name.
    std::stable_sort(all.begin(), all.end(), [](const LunarCandidate& a, const LunarCandidate& b) {
        const bool sa = a.body > 0, sb = b.body > 0;
        if (sa != sb) return !sa;
        return sa ? a.name < b.name : a.body > b.body;
    });
    std::vector<LunarTableRow> rows;
    for (const LunarCandidate& c : all) {
        LunarTableRow r;
        r.name = c.name;
        bool any = false;
        for (size_t k = 0; k < 8 && k < c.everyThreeHours.size(); ++k) {
            const double d = c.everyThreeHours[k];
            r.distance[k] = d;
            r.shown[k] = std::isfinite(d) && d >= 15.0 && d <= 120.0;
            any = any || r.shown[k];
        }
        if (any) rows.push_back(std::move(r));
    }
    return rows;
}

std::string LunarTableText(double deg) {
    const long tenths = std::lround(deg * 600.0);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%ld %04.1f", tenths / 600, static_cast<double>(tenths % 600) / 10.0);
    return buf;
}
