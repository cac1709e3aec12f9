// The generated data folder shared by the asset tests: assetgen is run once into a folder under
// the test area and reused by every test process until the generator is rebuilt.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "app/data_files.h"
#include "media/texture.h"
#include "platform/files.h"
#include "platform/recording_device.h"
#include "support/files.h"

namespace assets {

namespace fs = std::filesystem;

// The generator built beside the test executable (override with TESS_ASSETGEN).
inline fs::path Generator() {
    if (const char* env = std::getenv("TESS_ASSETGEN")) return env;
    fs::path exe = fs::read_symlink("/proc/self/exe").parent_path();
    for (fs::path p :
         {exe.parent_path() / "tools/assetgen/assetgen", exe / "tools/assetgen/assetgen"})
        if (fs::exists(p)) return p;
    return {};
}

// Runs the generator into `dir`; true when it succeeded.
inline bool Generate(const fs::path& dir) {
    fs::path gen = Generator();
    if (gen.empty()) return false;
    fs::remove_all(dir);
    std::string command = "'";
    command += gen.string();
    command += "' '";
    command += dir.string();
    command += "' > /dev/null";
    return std::system(command.c_str()) == 0;
}

// The shared folder, generated when missing or older than the generator.
inline const fs::path& DataDir() {
    static const fs::path dir = [] {
        fs::path area = testfiles::Area(), out = area / "assets-data",
                 stamp = area / "assets-data.done";
        int lock = ::open((area / "assets-data.lock").c_str(), O_CREAT | O_RDWR, 0644);
        if (lock >= 0) ::flock(lock, LOCK_EX); // test processes run side by side
        fs::path gen = Generator();
        std::error_code ec;
        bool fresh = fs::exists(stamp) && !gen.empty() &&
                     fs::last_write_time(stamp, ec) >= fs::last_write_time(gen, ec);
        if (!fresh && Generate(out)) std::ofstream(stamp) << "generated\n";
        if (lock >= 0) ::close(lock);
        return out;
    }();
    return dir;
}

// Sets the game's data root to the shared folder for the test.
class GeneratedData : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_FALSE(Generator().empty()) << "assetgen is not built (target assetgen)";
        ASSERT_TRUE(fs::exists(DataDir() / "bmp")) << "assetgen failed to write " << DataDir();
        platform::SetDataRoot(DataDir().string());
    }
    void TearDown() override { platform::SetDataRoot("."); }

    static std::vector<uint8_t> Bytes(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    static fs::path PathOf(const char* gamePath) { return platform::DataPath(gamePath); }
    // A picture of the manifest as the game loads it: its size and colour key.
    platform::TexturePtr Load(const char* path) {
        const DataFile* f = FindDataFile(path);
        auto t = f ? LoadTexture(device_, path, f->width, f->height, f->colorKey) : nullptr;
        EXPECT_TRUE(t) << path;
        return t;
    }
    platform::RecordingDevice device_;
};

} // namespace assets
