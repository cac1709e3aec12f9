// The player's record folder and the one-time copy of records kept in the old place.
#include "platform/user_data.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/files.h"

namespace platform {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxRecordBytes = 1 << 16;

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

bool Exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

} // namespace

UserEnvironment CurrentUserEnvironment() {
    UserEnvironment env{Env("XDG_DATA_HOME"), Env("HOME")};
    if (env.home.empty()) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) env.home = pw->pw_dir;
    }
    return env;
}

std::string UserDataFolder(const UserEnvironment& env) {
    // Relative paths in the XDG variables are invalid and are ignored.
    if (!env.xdgDataHome.empty() && env.xdgDataHome.front() == '/')
        return (fs::path(env.xdgDataHome) / "tessarune").lexically_normal().string();
    if (!env.home.empty() && env.home.front() == '/')
        return (fs::path(env.home) / ".local/share/tessarune").lexically_normal().string();
    return "";
}

bool CanWriteFolder(const std::string& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

bool IsInstalledDataFolder(const std::string& dataRoot) {
    std::error_code ec;
    fs::path path = fs::weakly_canonical(fs::absolute(dataRoot, ec), ec).lexically_normal();
    if (path.filename().empty()) path = path.parent_path(); // a trailing slash
    return path.filename() == "data" && path.parent_path().filename() == "tessarune" &&
           path.parent_path().parent_path().filename() == "share";
}

std::string ChooseRecordFolder(const std::string& dataRoot, const UserEnvironment& env,
                               const WritableCheck& writable) {
    const std::string beside = (fs::path(dataRoot) / "notepad").string();
    std::error_code ec;
    const bool writableBeside =
        writable(fs::exists(beside, ec) ? beside : dataRoot) && !IsInstalledDataFolder(dataRoot);
    const std::string user = UserDataFolder(env);
    if (writableBeside || user.empty()) return beside;
    return (fs::path(user) / "notepad").string();
}

std::vector<std::string> CopyRecordsOnce(const std::string& from, const std::string& to,
                                         const std::vector<std::string>& names,
                                         std::vector<std::string>& failed) {
    std::vector<std::string> copied;
    std::error_code ec;
    if (fs::equivalent(from, to, ec)) return copied;
    for (const std::string& name : names)
        if (Exists(to + "/" + name)) return copied;
    // The score file comes first: should the copy stop half way, a missing digit-count file
    // is made good from the scores at the next read, while the opposite would lose the scores.
    for (const std::string& name : names) {
        std::vector<uint8_t> bytes;
        ReadResult read = ReadRegularFile(from + "/" + name, bytes, kMaxRecordBytes);
        if (read == ReadResult::kMissing) continue;
        fs::create_directories(to, ec);
        if (read == ReadResult::kFailed ||
            !ReplaceFileAtomically(to + "/" + name, std::string(bytes.begin(), bytes.end())))
            failed.push_back(name);
        else
            copied.push_back(name);
    }
    return copied;
}

} // namespace platform
