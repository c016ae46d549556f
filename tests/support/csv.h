// A small reader for the reference tables in tests/data: comma-separated, one
// header line, '#' lines ignored. Columns are looked up by header name.
#pragma once
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace testsupport {

struct CsvTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;

    size_t Column(const std::string& name) const {
        for (size_t i = 0; i < header.size(); ++i)
            if (header[i] == name) return i;
        throw std::runtime_error("no column " + name);
    }
    double Num(size_t row, const std::string& name) const { return std::stod(rows.at(row).at(Column(name))); }
    const std::string& Text(size_t row, const std::string& name) const { return rows.at(row).at(Column(name)); }
};

inline std::vector<std::string> SplitCsvLine(const std::string& line) {
    std::vector<std::string> out;
    std::string cell;
    bool quoted = false;
    for (char ch : line) {
        if (ch == '"') quoted = !quoted;
        else if (ch == ',' && !quoted) { out.push_back(cell); cell.clear(); }
        else if (ch != '\r') cell += ch;
    }
    out.push_back(cell);
    return out;
}

inline CsvTable ReadCsv(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot open " + path);
    CsvTable t;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (t.header.empty()) t.header = SplitCsvLine(line);
        else t.rows.push_back(SplitCsvLine(line));
    }
    return t;
}

// Maximum and RMS of a sweep of errors, so that a regression shows as a number.
struct ErrorStats {
    double max = 0.0, sumSq = 0.0;
    size_t n = 0;
    void Add(double e) { max = std::fmax(max, std::fabs(e)); sumSq += e * e; ++n; }
    double Rms() const { return n ? std::sqrt(sumSq / static_cast<double>(n)) : 0.0; }
};

// Printed tenths of an arc minute against the reference: the printed value must be the
// reference rounded to a tenth, except where the reference lies within margin (arc
// minutes) of a rounding boundary, where either neighbour is right. Degrees; a value on
// a circle (an hour angle) is compared modulo 360, a declination by its magnitude as
// printed with its letter.
struct TenthsCheck {
    size_t checked = 0, nearBoundary = 0, wrong = 0;
    bool Add(double printedDeg, double refDeg, bool circle, double marginArcmin = 0.005) {
        if (!circle) printedDeg = std::fabs(printedDeg), refDeg = std::fabs(refDeg);
        const double t = refDeg * 600.0;
        if (std::fabs(t - std::floor(t) - 0.5) * 0.1 < marginArcmin) {
            ++nearBoundary;
            return true;
        }
        long long d = std::llround(printedDeg * 600.0) - std::llround(t);
        if (circle) d %= 216000;
        ++checked;
        wrong += d != 0;
        return d == 0;
    }
};

// The whole of a file ("" when it cannot be read).
inline std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline std::string TestData(const std::string& name) { return std::string(VELTRANO_TEST_DATA_DIR) + "/" + name; }

}  // namespace testsupport
