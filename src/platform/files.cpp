// Data files.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <system_error>

namespace platform {

namespace {
std::string& Root() {
    static std::string root = ".";
    return root;
}
std::string& Records() {
    static std::string folder;
    return folder;
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
    constexpr std::string_view kRecords = "notepad";
    if (!Records().empty() && gamePath.substr(0, kRecords.size()) == kRecords &&
        (gamePath.size() == kRecords.size() || gamePath[kRecords.size()] == '/'))
        return Records() + std::string(gamePath.substr(kRecords.size()));
    return Root() + "/" + std::string(gamePath);
}

void SetRecordFolder(std::string folder) {
    Records() = std::move(folder);
}
std::string RecordFolder() {
    return Records().empty() ? DataPath("./notepad") : Records();
}
std::string RecordPath(std::string_view name) {
    return RecordFolder() + "/" + std::string(name);
}

std::FILE* OpenFile(std::string_view gamePath, const char* mode) {
    return std::fopen(DataPath(gamePath).c_str(), mode);
}

std::FILE* OpenRegularFile(const std::string& path) {
    // Non-blocking, so that opening a pipe with no writer does not wait for one.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = EINVAL;
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) ::close(fd);
    return f;
}

ReadResult ReadRegularFile(const std::string& path, std::vector<uint8_t>& out, size_t limit) {
    out.clear();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(OpenRegularFile(path), std::fclose);
    if (!f) {
        struct stat st;
        return errno == ENOENT && ::lstat(path.c_str(), &st) != 0 && errno == ENOENT
                   ? ReadResult::kMissing
                   : ReadResult::kFailed;
    }
    struct stat st;
    if (::fstat(::fileno(f.get()), &st) == 0) {
        if (static_cast<uint64_t>(st.st_size) > limit) return ReadResult::kFailed;
        out.reserve(static_cast<size_t>(st.st_size));
    }
    // Read to the end rather than trusting the size: the file may change meanwhile.
    uint8_t chunk[1 << 14];
    for (;;) {
        size_t n = std::fread(chunk, 1, sizeof chunk, f.get());
        if (n > limit - out.size()) {
            out.clear();
            return ReadResult::kFailed;
        }
        out.insert(out.end(), chunk, chunk + n);
        if (n < sizeof chunk) break;
    }
    if (std::ferror(f.get())) {
        out.clear();
        return ReadResult::kFailed;
    }
    return ReadResult::kRead;
}

std::string UserConfigFolder() {
    for (const char* var : {"XDG_CONFIG_HOME", "HOME"}) {
        const char* value = std::getenv(var);
        if (!value || value[0] != '/') continue; // unset, empty or relative: not to be used
        std::string base = value;
        while (base.size() > 1 && base.back() == '/') base.pop_back();
        if (base == "/") base.clear();
        return base + (var[0] == 'H' ? "/.config/tessarune" : "/tessarune");
    }
    return "";
}

bool ReadFileBytes(std::string_view gamePath, std::vector<uint8_t>& out, size_t limit) {
    return ReadRegularFile(DataPath(gamePath), out, limit) == ReadResult::kRead;
}

namespace {

bool SyncFolder(const std::string& folder) {
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    return ::close(fd) == 0 && ok;
}

} // namespace

bool WriteAll(int fd, const char* data, size_t size) {
    for (size_t done = 0; done < size;) {
        ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

int CreateFileBeside(const std::string& target, std::string& temp) {
    temp = target + ".XXXXXX";
    int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat old;
    mode_t mode = ::stat(target.c_str(), &old) == 0 ? old.st_mode & 0777 : 0644;
    if (::fchmod(fd, mode) != 0) {
        ::close(fd);
        ::unlink(temp.c_str());
        return -1;
    }
    return fd;
}

bool MoveIntoPlace(int fd, const std::string& temp, const std::string& target) {
    bool ok = ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    SyncFolder(std::filesystem::path(target).parent_path().string());
    return true;
}

bool ReplaceFileAtomically(const std::string& target, const std::string& text) {
    std::string temp;
    int fd = CreateFileBeside(target, temp);
    if (fd < 0) return false;
    if (!WriteAll(fd, text.data(), text.size())) {
        ::close(fd);
        ::unlink(temp.c_str());
        return false;
    }
    return MoveIntoPlace(fd, temp, target);
}

} // namespace platform
