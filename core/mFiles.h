// Where the data files are, and how a loader tells what went wrong.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The folder of the program; Data/planet.bin and Data/star.bin lie in its Data
// subfolder. The window layer sets it at start-up (tests set it to the build tree).
void SetProgramFolder(const std::string& folder);
const std::string& ProgramFolder();
// ProgramFolder() + "/Data/" + name.
std::string DataFilePath(const std::string& name);

// The outcome of loading a data file: ok, or a message naming the file and what
// is wrong with it ("Data/planet.bin: block 3 (Earth) promises 5000 terms but the
// file ends 1200 bytes later").
struct LoadStatus {
    bool ok = true;
    std::string message;
    static LoadStatus Ok() { return {}; }
    static LoadStatus Fail(std::string text) { return {false, std::move(text)}; }
};

// Reads a whole file into bytes. False, with bytes empty and why saying what
// went wrong ("the file is missing", "is a folder, not a file", "cannot be
// opened: Permission denied", "cannot be read: ..."), when the path is not a
// regular file that can be read to its end. Never throws.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* why = nullptr);

// Writes bytes as the whole of the file at path, safely: into a temporary file in the same
// folder, flushed to the disk, then renamed over path. False, with why saying what failed
// ("Cannot write PATH: No space left on device", "Cannot write PATH: it is a folder"), when
// any step fails; the file at path is then as it was and no temporary file is left. Never throws.
// The one writer of the Qt-free commands (the GPX export among them).
bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* why = nullptr);
