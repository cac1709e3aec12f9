// Data files.
#include "platform/files.h"

#include <filesystem>
#include <memory>
#include <system_error>

namespace platform {

namespace {
std::string& Root() {
    static std::string root = ".";
    return root;
}
} // namespace

std::string DefaultDataRoot() {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        for (fs::path candidate : {exe.parent_path() / "data",
                                   exe.parent_path() / ".." / "share" / "tessarune" / "data"})
            if (fs::is_directory(candidate, ec)) return candidate.lexically_normal().string();
    }
    return ".";
}

void SetDataRoot(std::string root) {
    Root() = root.empty() ? std::string(".") : std::move(root);
}
const std::string& DataRoot() {
    return Root();
}

std::string DataPath(std::string_view gamePath) {
    if (!gamePath.empty() && gamePath.front() == '/') return std::string(gamePath);
    if (gamePath.substr(0, 2) == "./") gamePath.remove_prefix(2);
    return Root() + "/" + std::string(gamePath);
}

std::FILE* OpenFile(std::string_view gamePath, const char* mode) {
    return std::fopen(DataPath(gamePath).c_str(), mode);
}

bool ReadFileBytes(std::string_view gamePath, std::vector<uint8_t>& out, size_t limit) {
    out.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(DataPath(gamePath), ec)) return false;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(OpenFile(gamePath, "rb"), std::fclose);
    if (!f) return false;
    if (std::fseek(f.get(), 0, SEEK_END) != 0) return false;
    long size = std::ftell(f.get());
    if (size < 0 || static_cast<unsigned long>(size) > limit) return false;
    std::rewind(f.get());
    out.resize(static_cast<size_t>(size));
    if (size > 0 && std::fread(out.data(), 1, out.size(), f.get()) != out.size()) {
        out.clear();
        return false;
    }
    return true;
}

} // namespace platform
