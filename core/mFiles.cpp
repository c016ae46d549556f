#include "core/mFiles.h"

#include <fstream>
#include <iterator>

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

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
