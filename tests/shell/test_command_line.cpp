// The program's command line as a script runs it: no display, no Qt platform chosen.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <fcntl.h>

#include "core/mVersion.h"
#include "support/csv.h"

#include <filesystem>
#include <fstream>
#include <thread>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using testsupport::ReadAll;

struct ProgramRun {
    int status = -1;
    std::string out, err;
};

// Starts the program with args, without DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM (env execs it in its place).
pid_t Start(const std::vector<std::string>& args, const std::string& outFile, const std::string& errFile) {
    std::vector<std::string> argv{"/usr/bin/env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM", VELTRANO_PROGRAM};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> a;
    for (std::string& s : argv) a.push_back(s.data());
    a.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    posix_spawn(&pid, a[0], &files, nullptr, a.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

ProgramRun Finish(pid_t pid, const std::string& outFile, const std::string& errFile) {
    ProgramRun r;
    int st = 0;
    if (pid > 0 && waitpid(pid, &st, 0) == pid) r.status = WIFEXITED(st) ? WEXITSTATUS(st) : 128 + WTERMSIG(st);
    r.out = ReadAll(outFile);
    r.err = ReadAll(errFile);
    return r;
}

// Whether process pid has a file open in folder dir (the unfinished file, named or not).
bool WritesInto(pid_t pid, const std::string& dir) {
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        const std::string target = fs::read_symlink(fd.path(), ec).string();
        if (target.rfind(dir + "/", 0) == 0 && target.find("year.pdf (deleted)") == std::string::npos) return true;
    }
    return false;
}

ProgramRun Veltrano(const std::vector<std::string>& args) {
    const std::string out = testing::TempDir() + "/cl-out.txt", err = testing::TempDir() + "/cl-err.txt";
    return Finish(Start(args, out, err), out, err);
}

TEST(CommandLine, ExitStatusAndWhatItPrints) {
    const std::string dir = testing::TempDir() + "/cl";
    fs::create_directories(dir);
    const std::string pdf = dir + "/pages.pdf";
    const struct {
        std::vector<std::string> args;
        int status;
        const char* out;  // text expected on standard output ("" none)
        const char* err;  // on standard error
    } cases[] = {
        {{"--help"}, 0, "--almanac-pdf FROM TO FILE.pdf", ""},
        {{"--almanac-pdf", "x", "-h"}, 0, "--version", ""},
        {{"--version"}, 0, "veltrano " VELTRANO_VERSION "\n", ""},
        {{}, 1, "", "no display to open the windows on"},
        {{"--frobnicate"}, 2, "", "unknown option --frobnicate"},
        {{"stray"}, 2, "", "usage: veltrano"},
        {{"--almanac-pdf", "--almanac-pdf"}, 2, "", "one command at a time"},
        {{"--almanac-pdf", "2024-01-01", "2024-01-02", pdf, "--landscape"}, 2, "", "unknown option --landscape"},
        {{"--almanac-pdf", "2024-01-01", "2024-01-02"}, 2, "", "needs three arguments"},
        {{"--almanac-pdf", "2024-02-30", "2024-03-01", pdf}, 2, "", "not a date"},
        {{"--almanac-pdf", "24-01-01", "2024-01-02", pdf}, 2, "", "not a date"},
        {{"--almanac-pdf", "1899-12-31", "1900-01-02", pdf}, 2, "", "not a date"},
        {{"--almanac-pdf", "2024-01-05", "2024-01-01", pdf}, 2, "", "is before"},
        {{"--almanac-pdf", "2024-01-01", "2024-01-01", "/nonexistent-folder/x.pdf"}, 1, "", "Cannot write /nonexistent-folder/x.pdf"},
        {{"--almanac-pdf", "2024-01-01", "2024-01-01", dir}, 1, "", "Cannot write"},  // a folder
        {{"2024-01-01", "2024-01-01", pdf, "--almanac-pdf"}, 0, "", ""},  // the command last
        {{"--almanac-pdf", "2024-01-01", "2024-01-01", dir + "/t.pdf", "--tables", "--paper", "letter"}, 0, "", ""},
        {{"--almanac-pdf", "2024-01-01", "2024-01-01", pdf, "--paper=legal"}, 2, "", "--paper takes a4 or letter"},
        {{"--log-gpx"}, 2, "", "--log-gpx needs FILE.gpx"},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const std::string& a : c.args) line += a + " ";
        SCOPED_TRACE(line);
        const ProgramRun r = Veltrano(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_TRUE(*c.out ? r.out.find(c.out) != std::string::npos : r.out.empty()) << r.out;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_TRUE(c.status != 0 || r.err.find("veltrano:") == std::string::npos) << r.err;  // no complaint on success
    }
    EXPECT_EQ(ReadAll(pdf).rfind("%PDF-", 0), 0u);
    EXPECT_EQ(ReadAll(dir + "/t.pdf").rfind("%PDF-", 0), 0u);
    EXPECT_NE(ReadAll(dir + "/t.pdf").find("/MediaBox [0 0 612.000000 792.000000]"), std::string::npos);  // Letter
}

// The reduce command through the program: the help's six-star session, the fourth sight 5' out.
TEST(CommandLine, ReduceCommandThroughTheProgram) {
    const std::string sights = std::string(VELTRANO_TEST_DATA_DIR) + "/session_example.csv";
    const ProgramRun r = Veltrano({"--reduce", sights, "--dr", "45-00.0N", "030-00.0W", "--dr-time=2026-12-06T19:50:00",
                                   "--eye", "15", "--temp", "-2"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("{\n  \"fix\": {\"lat\": 45.1", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("\"body\": \"Altair\", \"use\": true"), std::string::npos);
    const ProgramRun noDr = Veltrano({"--reduce", sights});
    EXPECT_TRUE(noDr.status == 2 && noDr.err.find("--dr LAT LON is needed") != std::string::npos) << noDr.err;
}

// A year of pages interrupted part-way: the file under the name keeps what it held, and
// no unfinished copy is left beside it.
TEST(CommandLine, AnInterruptedPdfLeavesTheOldFile) {
    const std::string dir = testing::TempDir() + "/cl-signal";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string pdf = dir + "/year.pdf", out = dir + "/../cl-sig-out.txt", err = dir + "/../cl-sig-err.txt";
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(sig);
        std::ofstream(pdf) << "the old pages";
        const pid_t pid = Start({"--almanac-pdf", "2025-01-01", "2025-12-31", pdf}, out, err);
        // Wait until the pages are being written (the process holds a file in dir), then interrupt.
        for (int i = 0; i < 1200 && !WritesInto(pid, fs::canonical(dir).string()); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        kill(pid, sig);
        const ProgramRun r = Finish(pid, out, err);
        EXPECT_EQ(r.status, 1) << r.err;
        EXPECT_NE(r.err.find("interrupted"), std::string::npos) << r.err;
        EXPECT_TRUE(ReadAll(pdf) == "the old pages");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    }
}

}  // namespace
