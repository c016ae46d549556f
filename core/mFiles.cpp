#include "core/mFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

bool WriteWholeFile(const std::string& path, const std::string& bytes, std::string* why) {
    auto fail = [why, &path](const std::string& reason) {
        if (why) *why = "Cannot write " + path + ": " + reason;
        return false;
    };
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return fail("it is a folder");
    const size_t slash = path.find_last_of('/');
    std::string temp = (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".veltrano-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return fail(std::strerror(errno));
    size_t done = 0;
    int err = 0;
    while (done < bytes.size() && !err) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR) err = errno;
        if (n > 0) done += static_cast<size_t>(n);
    }
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    // The new file keeps the permissions a plain new file would have.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::chmod(temp.c_str(), 0666 & ~mask);
    if (!err && std::rename(temp.c_str(), path.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(temp.c_str());
        return fail(std::strerror(err));
    }
    return true;
}
