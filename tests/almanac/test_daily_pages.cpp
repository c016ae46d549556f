// The printed daily pages as a script makes them: `veltrano --almanac-pdf`, read back with
// pdftotext, against the Swiss Ephemeris table of make_daily_pages_reference.c. Every column is
// read (GHA, Dec, v, d, HP, SD, SHA, the equation of time with its sign, the passages, the Moon's
// age and phase, the rise and set table); the Moon's angles and HP and the stars' SHA and Dec
// print as the reference rounds them, bar those within 0.005' of a boundary; the boxes and "////"
// where the reference has no event. The reference's bodies are moved from its Delta T to the
// program's by their hourly rates, so the comparison is at the same TT.
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <regex>

#include "almanac/mDailyPages.h"
#include "support/csv.h"
#include "support/nav_fixture.h"

namespace {

// As printed (to 0.1' and to the minute), against the reference.
constexpr double kTolAngleArcmin = 0.1 + 1e-9;
constexpr double kTolMoonArcmin = 0.05 + 0.01;  // the last digit, and 0.01' of place
constexpr double kTolHpArcmin = 0.1 + 1e-9;
constexpr double kTolEventMinutes = 1.0;
constexpr double kTolRateArcmin = 0.06;  // v, d, SD: the rounding to a tenth as printed and 0.01'
constexpr double kTolEotSeconds = 2.0;
constexpr double kTolPhasePercent = 0.6;
constexpr double kTolAgeDays = 0.01;  // the age is printed in whole days

struct ProgramRun { int status = -1; std::string output; };

ProgramRun Command(const std::string& cmd) {
    ProgramRun r;
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) r.output.append(buf, n);
    const int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

// The text of the pages `veltrano --almanac-pdf date date file [extra]` prints, through pdftotext.
std::string PagesText(const std::string& date, const std::string& extra = "") {
    const std::string pdf = testing::TempDir() + "/pages-" + date + ".pdf";
    const ProgramRun made = Command(std::string("QT_QPA_PLATFORM=offscreen '") + VELTRANO_PROGRAM + "' --almanac-pdf " +
                                    date + " " + date + " " + pdf + extra);
    EXPECT_EQ(made.status, 0) << made.output;
    const ProgramRun text = Command("pdftotext -layout '" + pdf + "' -");
    std::remove(pdf.c_str());
    EXPECT_EQ(text.status, 0) << text.output;
    return text.output;
}

const char* const kPlanets[4] = {"venus", "mars", "jupiter", "saturn"};

// "123 45.6" and "S 12 34.5" as printed.
const std::string kGha = R"((\d{1,3}) (\d\d\.\d))";
const std::string kDec = R"(([NS]) +(\d{1,2}) (\d\d\.\d))";
double Gha(const std::smatch& m, int i) { return std::stod(m[i]) + std::stod(m[i + 1]) / 60.0; }
double Dec(const std::smatch& m, int i) { return (m[i] == "S" ? -1 : 1) * (std::stod(m[i + 1]) + std::stod(m[i + 2]) / 60.0); }

// The reference of one spread.
struct Spread {
    std::vector<std::vector<std::string>> hours;              // H rows
    std::map<int, std::array<double, 2>> stars;               // HR -> sha, dec
    std::map<std::string, std::string> events;                // "lat|column" -> value
    std::vector<std::vector<std::string>> days;               // D rows: the right page's foot
    std::map<std::string, std::vector<std::string>> feet;     // P rows by body
};

std::map<std::string, Spread> ReadReference() {
    std::map<std::string, Spread> out;
    std::ifstream in(std::string(VELTRANO_TEST_DATA_DIR) + "/daily_pages_reference.csv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        const std::vector<std::string> f = testsupport::SplitCsvLine(line);
        Spread& s = out[f[1]];
        if (f[0] == "H") s.hours.push_back(f);
        else if (f[0] == "S") s.stars[std::stoi(f[2])] = {std::stod(f[3]), std::stod(f[4])};
        else if (f[0] == "D") s.days.push_back(f);
        else if (f[0] == "P") s.feet[f[2]] = f;
        else s.events[f[2] + "|" + f[3]] = f[4];
    }
    return out;
}

class DailyPages : public testsupport::NavFixture {};

TEST_F(DailyPages, PdfTextAgreesWithTheSwissEphemeris) {
    const std::map<std::string, Spread> reference = ReadReference();
    ASSERT_EQ(reference.size(), 7u);
    std::map<int, std::string> starNames;
    for (int i = 1; i <= kStarCount; ++i)
        if (Stars[static_cast<size_t>(i)].NavNumber > 0)
            starNames[Stars[static_cast<size_t>(i)].Number] = AlmanacStarName(Stars[static_cast<size_t>(i)].Name);

    testsupport::TenthsCheck tenths;  // the Moon's GHA, Dec and HP, the stars' SHA and Dec
    for (const auto& [date, ref] : reference) {
        SCOPED_TRACE(date);
        std::vector<std::string> pages;
        std::stringstream all(PagesText(date));
        std::string page;
        while (std::getline(all, page, '\f')) pages.push_back(page);
        // A title page first, so that the spread's left page is page 2 and faces page 3.
        ASSERT_GE(pages.size(), 3u);
        EXPECT_NE(pages[0].find("DAILY PAGES"), std::string::npos);

        int y, m, d;
        ASSERT_EQ(std::sscanf(date.c_str(), "%d-%d-%d", &y, &m, &d), 3);
        const double dtOurs = DeltaT(JulianDay(DateFromParts(y, m, d), false, true)) * 86400.0;
        // The reference value of column c at hour h moved to the program's TT.
        auto cell = [&](int h, int c) { return std::stod(ref.hours[static_cast<size_t>(h)][static_cast<size_t>(c)]); };
        auto at = [&](int h, int c, bool dec) {
            const int h0 = std::max(0, h - 1), h1 = std::min(71, h + 1);
            const double shift = (dtOurs - cell(h, 3)) / ((h1 - h0) * 3600.0);
            if (dec) return cell(h, c) + (cell(h1, c) - cell(h0, c)) * shift;
            return cell(h, c) - Norm180((cell(h1, 4) - cell(h1, c)) - (cell(h0, 4) - cell(h0, c))) * shift;  // by the RA's rate
        };
        auto num = [](const std::string& t) { return std::stod(t); };
        auto near = [&](double printed, double expected, double tol, const std::string& what) {
            EXPECT_LE(std::fabs(printed - expected), tol) << what << ": printed " << printed << " reference " << expected;
        };
        // "hh mm" as printed against reference hours (or "none" and "-- --").
        auto hhmm = [&](const std::string& printed, const std::string& expected, const std::string& what) {
            if (expected == "none") {
                EXPECT_EQ(printed, "-- --") << what;
                return;
            }
            const double minutes = num(printed.substr(0, 2)) * 60 + num(printed.substr(3)) - num(expected) * 60;
            EXPECT_LE(std::fabs(minutes), kTolEventMinutes) << what << ": printed " << printed << " reference " << expected;
        };
        auto angle = [&](double printed, double expected, int kind, const std::string& what) {
            EXPECT_LE(std::fabs(Norm180(printed - expected)) * 60.0, kind == 1 ? kTolMoonArcmin : kTolAngleArcmin) << what;
        };

        // Left page: Aries and the planets hour by hour, and the stars.
        const std::regex leftRow("^\\s*(\\d\\d)\\s+" + kGha + "\\s+" + kGha + "\\s+" + kDec + "\\s+" + kGha + "\\s+" + kDec +
                                 "\\s+" + kGha + "\\s+" + kDec + "\\s+" + kGha + "\\s+" + kDec);
        const std::regex starTail("^\\s+\\S+\\s+\\S+\\s+" + kGha + "\\s+" + kDec);
        const std::regex planetRow("(Venus|Mars|Jupiter|Saturn)\\s+" + kGha + "\\s+(\\d\\d \\d\\d)\\s*$");
        const std::regex leftFoot("Mer\\. Pass\\. (\\d\\d \\d\\d)((?:\\s+v (-?\\d+\\.\\d)\\s+d (\\d+\\.\\d)){4})");
        const std::regex rate("v (-?\\d+\\.\\d)\\s+d (\\d+\\.\\d)");
        int hour = 0, starsSeen = 0, planetsSeen = 0, feetSeen = 0;
        std::stringstream left(pages[1]);
        for (std::string line; std::getline(left, line);) {
            std::smatch mm;
            if (std::regex_search(line, mm, planetRow)) {
                std::string body = mm[1];
                for (char& ch : body) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
                const auto& f = ref.feet.at(body);
                // At the program's TT, as the hourly places (column c of H rows: the planet's GHA).
                const int c = 5 + 2 * static_cast<int>(std::find(std::begin(kPlanets), std::end(kPlanets), body) - std::begin(kPlanets));
                angle(Gha(mm, 2), num(f[5]) + Norm180(at(24, c, false) - cell(24, c)), 0, body + " SHA");
                hhmm(mm[4], f[6], body + " mer. pass.");
                ++planetsSeen;
            }
            if (std::regex_search(line, mm, leftFoot)) {
                hhmm(mm[1], ref.feet.at("aries")[6], "Aries mer. pass.");
                const std::string rates = mm[2];
                int k = 0;
                for (std::sregex_iterator it(rates.begin(), rates.end(), rate), end; it != end; ++it, ++k) {
                    const auto& f = ref.feet.at(kPlanets[k]);
                    near(num((*it)[1]), num(f[3]), kTolRateArcmin, std::string(kPlanets[k]) + " v");
                    near(num((*it)[2]), std::fabs(num(f[4])), kTolRateArcmin, std::string(kPlanets[k]) + " d");
                }
                ++feetSeen;
            }
            if (std::regex_search(line, mm, leftRow)) {
                ASSERT_LT(hour, 72);
                EXPECT_EQ(std::stoi(mm[1]), hour % 24);
                angle(Gha(mm, 2), std::stod(ref.hours[static_cast<size_t>(hour)][4]), 0, "aries");
                for (int k = 0; k < 4; ++k) {
                    angle(Gha(mm, 4 + 5 * k), at(hour, 5 + 2 * k, false), 0, "planet gha");
                    angle(Dec(mm, 6 + 5 * k), at(hour, 6 + 2 * k, true), 0, "planet dec");
                }
                ++hour;
            }
            for (const auto& [hr, name] : starNames) {
                const size_t at_ = line.find(name + " ");
                if (at_ == std::string::npos || !ref.stars.count(hr)) continue;
                const std::string tail = line.substr(at_ + name.size());
                std::smatch sm;
                if (!std::regex_search(tail, sm, starTail)) continue;
                const std::array<double, 2> r = ref.stars.at(hr);
                // SHA on the sky (times cos Dec): Polaris's SHA itself carries 1' for 1" of place.
                angle(r[0] + Norm180(Gha(sm, 1) - r[0]) * std::cos(r[1] * M_PI / 180.0), r[0], 0, name + " SHA");
                angle(Dec(sm, 3), r[1], 0, name + " Dec");
                EXPECT_TRUE(tenths.Add(Gha(sm, 1), Norm360(r[0]), true)) << name << " SHA";
                EXPECT_TRUE(tenths.Add(Dec(sm, 3), r[1], false)) << name << " Dec";
                ++starsSeen;
            }
        }
        EXPECT_TRUE(hour == 72 && starsSeen == static_cast<int>(ref.stars.size()) && planetsSeen == 4 && feetSeen == 1)
            << hour << " hours, " << starsSeen << " stars, " << planetsSeen << " planets, " << feetSeen << " feet";

        // Right page: the Sun and the Moon, then the rise and set table.
        const std::regex rightRow("^\\s*(\\d\\d)\\s+" + kGha + "\\s+" + kDec + "\\s+" + kGha + "\\s+(-?\\d+\\.\\d)\\s+" + kDec +
                                  "\\s+(\\d+\\.\\d)\\s+(\\d\\d\\.\\d)");
        const std::regex latRow("(?:^|\\s)(N \\d{1,2}|S \\d{1,2}|0)((?:\\s+(?:\\d\\d \\d\\d|□|■|////|-- --)){7})\\s*$");
        const std::regex token("\\d\\d \\d\\d|□|■|////|-- --");
        const char* morning[7] = {"naut", "civil", "rise", "moonrise0", "moonrise1", "moonrise2", "moonrise3"};
        const char* evening[7] = {"set", "civil_end", "naut_end", "moonset0", "moonset1", "moonset2", "moonset3"};
        const std::string kTimeOrNone = "(\\d\\d \\d\\d|-- --)", kEot = "((?:\u2212)?\\d\\d \\d\\d)";
        const std::regex dayFoot("\\s(\\d{1,2})\\s+" + kEot + "\\s+" + kEot + "\\s+(\\d\\d \\d\\d)\\s+" + kTimeOrNone + "\\s+" +
                                 kTimeOrNone + "\\s+(\\d+)\\s+(\\d+) ?%\\s*$");
        const std::regex sdFoot("SD (\\d+\\.\\d)\\s+d (\\d+\\.\\d)\\s+SD\\s+(\\d+\\.\\d)\\s+(\\d+\\.\\d)\\s+(\\d+\\.\\d)");
        hour = 0;
        int latRows = 0, footDays = 0, sdSeen = 0;
        std::stringstream right(pages[2]);
        for (std::string line; std::getline(right, line);) {
            std::smatch mm;
            if (std::regex_search(line, mm, rightRow)) {
                angle(Gha(mm, 2), at(hour, 13, false), 0, "sun gha");
                angle(Dec(mm, 4), at(hour, 14, true), 0, "sun dec");
                angle(Gha(mm, 7), at(hour, 15, false), 1, "moon gha");
                angle(Dec(mm, 10), at(hour, 16, true), 1, "moon dec");
                EXPECT_TRUE(tenths.Add(Gha(mm, 7), Norm360(at(hour, 15, false)), true)) << "moon gha " << hour;
                EXPECT_TRUE(tenths.Add(Dec(mm, 10), at(hour, 16, true), false)) << "moon dec " << hour;
                EXPECT_TRUE(tenths.Add(std::stod(mm[14]) / 60.0, cell(hour, 17) / 60.0, false)) << "moon HP " << hour;
                near(std::stod(mm[14]), cell(hour, 17), kTolHpArcmin, "HP at " + std::to_string(hour));
                if (hour < 71) {  // v and d: the change to the next hour (the reference's last row has none)
                    near(num(mm[9]), Norm180(at(hour + 1, 15, false) - at(hour, 15, false) - (14.0 + 19.0 / 60.0)) * 60.0,
                         kTolRateArcmin, "moon v at " + std::to_string(hour));
                    near(num(mm[13]), std::fabs(at(hour + 1, 16, true) - at(hour, 16, true)) * 60.0, kTolRateArcmin,
                         "moon d at " + std::to_string(hour));
                }
                ++hour;
            }
            if (std::regex_search(line, mm, dayFoot)) {
                ASSERT_LT(footDays, 3);
                const auto& f = ref.days[static_cast<size_t>(footDays)];
                const std::string what = "day " + std::to_string(footDays);
                for (int e = 0; e < 2; ++e) {
                    const std::string t = mm[2 + e];  // "−01 06": the minus sign U+2212
                    const bool minus = t.rfind("\u2212", 0) == 0;
                    const std::string mmss = minus ? t.substr(3) : t;
                    const double seconds = (minus ? -1 : 1) * (num(mmss.substr(0, 2)) * 60 + num(mmss.substr(3)));
                    near(seconds, num(f[3 + e]) * 60.0, kTolEotSeconds, what + (e ? " eqn. of time 12h" : " eqn. of time 00h"));
                }
                hhmm(mm[4], f[5], what + " sun mer. pass.");
                hhmm(mm[5], f[6], what + " moon upper");
                hhmm(mm[6], f[7], what + " moon lower");
                const double age = num(f[8]);
                EXPECT_TRUE(num(mm[7]) == std::floor(age - kTolAgeDays) || num(mm[7]) == std::floor(age + kTolAgeDays))
                    << what << " age " << mm[7] << " reference " << age;
                near(num(mm[8]), num(f[9]) * 100.0, kTolPhasePercent, what + " phase");
                ++footDays;
            }
            if (std::regex_search(line, mm, sdFoot)) {
                near(num(mm[1]), num(ref.feet.at("sun")[5]), kTolRateArcmin, "sun SD");
                near(num(mm[2]), std::fabs(num(ref.feet.at("sun")[4])), kTolRateArcmin, "sun d");
                for (int d = 0; d < 3; ++d) near(num(mm[3 + d]), num(ref.days[static_cast<size_t>(d)][10]), kTolRateArcmin, "moon SD");
                ++sdSeen;
            }
            if (!std::regex_search(line, mm, latRow)) continue;
            std::string lat = mm[1];
            lat = lat == "0" ? "0" : (lat[0] == 'S' ? "-" : "") + lat.substr(2);
            const std::string cells = mm[2];
            std::vector<std::string> tokens;
            for (std::sregex_iterator it(cells.begin(), cells.end(), token), end; it != end; ++it) tokens.push_back(it->str());
            ASSERT_EQ(tokens.size(), 7u) << line;
            for (int i = 0; i < 7; ++i) {
                const std::string column = latRows < 31 ? morning[i] : evening[i];
                const std::string& expect = ref.events.at(lat + "|" + column);
                const std::string& got = tokens[static_cast<size_t>(i)];
                const bool twilight = column.find("naut") == 0 || column.find("civil") == 0;
                if (expect == "above") EXPECT_TRUE(got == "□" || (twilight && got == "////")) << lat << " " << column << " " << got;
                else if (expect == "below") EXPECT_EQ(got, "■") << lat << " " << column;
                else if (got.size() == 5 && got[2] == ' ' && got[0] != '-') hhmm(got, expect, lat + " " + column);
                else ADD_FAILURE() << lat << " " << column << ": " << got << " where the reference has " << expect;
            }
            ++latRows;
        }
        EXPECT_TRUE(hour == 72 && latRows == 62 && footDays == 3 && sdSeen == 1)
            << hour << " hours, " << latRows << " latitudes, " << footDays << " days, " << sdSeen << " SD rows";
    }
    EXPECT_EQ(tenths.wrong, 0u);
}

// The lunar distances page (--lunars) of a day, read back: the reference body's eight
// distances (tests/data/lunar_reference.csv, d00..d21, Swiss Ephemeris) within 0.1' as
// printed to 0.1' (its rounding and 0.01' of theory), blank where outside 15-120 degrees.
TEST_F(DailyPages, LunarDistancesAgreeWithTheSwissEphemeris) {
    const auto t = testsupport::ReadCsv(std::string(VELTRANO_TEST_DATA_DIR) + "/lunar_reference.csv");
    for (size_t row : {size_t{0}, size_t{1}}) {
        const std::string date = t.Text(row, "ut").substr(0, 10), body = t.Text(row, "body");
        SCOPED_TRACE(date + " " + body);
        const std::string text = PagesText(date, " --lunars");
        const size_t page = text.find("LUNAR DISTANCES");
        ASSERT_NE(page, std::string::npos);
        EXPECT_LT(text.find("with the lunar distances"), page);  // the title page says they follow
        std::stringstream lines(text.substr(page));
        std::string line, found;
        while (std::getline(lines, line) && found.empty())
            if (std::regex_search(line, std::regex("^ *" + body + " "))) found = line;
        ASSERT_FALSE(found.empty()) << text.substr(page, 3000);
        std::vector<double> printed;
        const std::regex pair(kGha);
        for (std::sregex_iterator m(found.begin(), found.end(), pair), end; m != end; ++m) printed.push_back(Gha(*m, 1));
        ASSERT_EQ(printed.size(), 8u) << found;
        for (int k = 0; k < 8; ++k) {
            const std::string col = (k < 4 ? "d0" : "d") + std::to_string(3 * k);
            EXPECT_NEAR(printed[static_cast<size_t>(k)] * 60.0, t.Num(row, col) * 60.0, kTolAngleArcmin) << col;
        }
    }
}

}  // namespace
