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

inline std::string TestData(const std::string& name) { return std::string(VELTRANO_TEST_DATA_DIR) + "/" + name; }

}  // namespace testsupport
