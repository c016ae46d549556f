#include "core/mFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {
std::string& Folder() {
    static std::string folder = ".";
    return folder;
}
}  // namespace

void SetProgramFolder(const std::string& folder) { Folder() = folder; }
const std::string& ProgramFolder() { return Folder(); }

std::string DataFilePath(const std::string& name) {
    std::string path = Folder();
    if (!path.empty() && path.back() != '/' && path.back() != '\\') path += '/';
    return path + "Data/" + name;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string* why) {
    bytes.clear();
    auto fail = [&](std::string reason) {
        bytes.clear();
        if (why) *why = std::move(reason);
        return false;
    };
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return fail("the file is missing");
    if (status.type() == std::filesystem::file_type::directory) return fail("is a folder, not a file");
    // Plain C reads: an error is a return value, never an exception.
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return fail(std::string("cannot be opened: ") + std::strerror(errno));
    std::uint8_t chunk[65536];
    std::size_t n = 0;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    const bool error = std::ferror(f) != 0;
    const int err = errno;
    std::fclose(f);
    if (error) return fail(std::string("cannot be read: ") + std::strerror(err));
    return true;
}
