// Fuzzes the sight log's reader: any bytes as the log file must open, be set aside or be
// refused (SightLogError); every fix listed must load or be reported damaged (SightLogError), and a
// fix that loads must export and go back to the windows: no other exception, no crash.
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/mTime.h"
#include "log/mSightLog.h"

namespace {

const std::string& Folder() {
    static const std::string dir = [] {
        std::string t = (std::filesystem::temp_directory_path() / "fuzz-sightlog-XXXXXX").string();
        if (!mkdtemp(t.data())) __builtin_trap();
        return t;
    }();
    return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = Folder() + "/sightlog.db";
    for (const auto& f : std::filesystem::directory_iterator(Folder())) std::filesystem::remove(f.path());
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    SightLog log;
    if (!log.Open(path).Ok) return 0;
    // A listing the file cannot give (a table without its columns) is refused, as the
    // window and the GPX command report it.
    std::vector<LoggedFixSummary> rows;
    try {
        rows = log.ListAll();
    } catch (const SightLogError&) {
        return 0;
    }
    for (const LoggedFixSummary& row : rows) {
        if (row.Fault.empty()) {
            // A sound row's dates are dates.
            volatile int year = DateToParts(row.UT).year + DateToParts(row.ZoneTime).year;
            (void)year;
        }
        try {
            const LoggedFix fix = log.Load(row.Id);
            volatile std::size_t n = SightLogCsv({fix}).size() + SightLinesOf(fix).Time[0].size();
            (void)n;
            volatile int year = DateToParts(fix.Working.LocalDate).year;
            (void)year;
            for (const LoggedSight& s : fix.Sights) year = DateToParts(s.UT).year;
        } catch (const SightLogError&) {
            // a damaged record, reported
        }
    }
    return 0;
}
