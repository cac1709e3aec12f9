// Files written by tests: a fresh data folder per test, and small BMP, RIFF/WAVE and .x files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

#include "platform/files.h"

namespace testfiles {

namespace fs = std::filesystem;

// A whole file as text ("" when it cannot be read).
inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// The folder tests write into: $TESS_TEST_TMP, else one in the system's temporary folder.
inline fs::path Area() {
    const char* base = std::getenv("TESS_TEST_TMP");
    fs::path dir = base ? fs::path(base) : fs::temp_directory_path() / "tessarune-tests";
    fs::create_directories(dir);
    return dir;
}

// An empty folder named after the running test, the game's data folder while it lives.
class DataDir {
  public:
    explicit DataDir(const std::string& suffix = "") {
        const auto* t = testing::UnitTest::GetInstance()->current_test_info();
        path_ = Area() / (std::string(t->test_suite_name()) + "." + t->name() + suffix + "-" +
                          std::to_string(::getpid()));
        fs::remove_all(path_);
        fs::create_directories(path_);
        platform::SetDataRoot(path_.string());
    }
    ~DataDir() {
        platform::SetDataRoot(".");
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    DataDir(const DataDir&) = delete;
    DataDir& operator=(const DataDir&) = delete;

    const fs::path& path() const { return path_; }
    fs::path operator/(const std::string& gamePath) const {
        return path_ / fs::path(gamePath).lexically_normal();
    }
    // Writes a file under its game path ("./bmp/a.bmp") and returns that path.
    std::string Put(const std::string& gamePath, std::string_view bytes) const {
        const fs::path file = *this / gamePath;
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        return gamePath;
    }
    std::string Put(const std::string& gamePath, const std::vector<uint8_t>& bytes) const {
        return Put(gamePath,
                   std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }

  private:
    fs::path path_;
};

inline void Set16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = v & 0xFF, b[at + 1] = v >> 8 & 0xFF;
}
inline void Set32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = v >> (8 * i) & 0xFF;
}

// An opaque ARGB picture (rows top to bottom) as a BMP of the given depth, palettes built from
// its colours; rows bottom-up unless `topDown`; a 40-byte or a later (124-byte) info header.
inline std::vector<uint8_t> Bmp(const std::vector<uint32_t>& argb, int w, int h, int bits = 24,
                                bool topDown = false, uint32_t headerSize = 40) {
    std::vector<uint32_t> palette;
    for (uint32_t c : argb)
        if (bits <= 8 && std::find(palette.begin(), palette.end(), c) == palette.end())
            palette.push_back(c);
    const size_t stride = (static_cast<size_t>(w) * bits + 31) / 32 * 4;
    const size_t offset = 14 + headerSize + palette.size() * 4;
    std::vector<uint8_t> b(offset + stride * h, 0);
    b[0] = 'B', b[1] = 'M';
    Set32(b, 2, static_cast<uint32_t>(b.size()));
    Set32(b, 10, static_cast<uint32_t>(offset));
    Set32(b, 14, headerSize);
    Set32(b, 18, static_cast<uint32_t>(w));
    Set32(b, 22, static_cast<uint32_t>(topDown ? -h : h));
    Set16(b, 26, 1);
    Set16(b, 28, static_cast<uint32_t>(bits));
    Set32(b, 46, static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i) Set32(b, 14 + headerSize + 4 * i, palette[i]);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = b.data() + offset + (topDown ? y : h - 1 - y) * stride;
        for (int x = 0; x < w; ++x) {
            const uint32_t c = argb[static_cast<size_t>(y) * w + x];
            const size_t bit = static_cast<size_t>(x) * bits;
            if (bits > 8) {
                for (int k = 0; k < bits / 8; ++k) row[bit / 8 + k] = c >> (8 * k) & 0xFF;
                continue;
            }
            auto index = std::find(palette.begin(), palette.end(), c) - palette.begin();
            row[bit / 8] |= static_cast<uint8_t>(index << (8 - bits - bit % 8));
        }
    }
    return b;
}

inline std::string U16(uint16_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)};
}
inline std::string U32(uint32_t v) {
    return U16(static_cast<uint16_t>(v & 0xFFFF)) + U16(static_cast<uint16_t>(v >> 16));
}

// A RIFF chunk: its id, a size field (the body's length unless `size` is given), the body and
// the pad byte of an odd-sized body.
inline std::string Chunk(std::string_view id, std::string_view body,
                         std::optional<uint32_t> size = {}) {
    std::string out(id);
    out += U32(size.value_or(static_cast<uint32_t>(body.size())));
    out += body;
    if (body.size() % 2) out += '\0';
    return out;
}

// A RIFF or LIST chunk: the form type followed by its sub-chunks.
inline std::string Form(std::string_view id, std::string_view type, std::string_view body,
                        std::optional<uint32_t> size = {}) {
    return Chunk(id, std::string(type) + std::string(body), size);
}

// The 16-byte body of a PCM "fmt " chunk.
inline std::string PcmFormat(uint16_t channels, uint32_t rate, uint16_t bits) {
    uint16_t align = static_cast<uint16_t>(channels * bits / 8);
    return U16(1) + U16(channels) + U32(rate) + U32(rate * align) + U16(align) + U16(bits);
}

// A WAVE file of 16-bit PCM samples.
inline std::string Wav16(uint16_t channels, uint32_t rate, const std::vector<int16_t>& samples) {
    std::string data;
    for (int16_t s : samples) data += U16(static_cast<uint16_t>(s));
    return Form("RIFF", "WAVE", Chunk("fmt ", PcmFormat(channels, rate, 16)) + Chunk("data", data));
}

// A one-material unit cube centred on the origin, in .x text form.
inline const std::string kCubeX = "xof 0303txt 0032\nMesh {\n 8;\n"
                                  " -0.5;-0.5;-0.5;, 0.5;-0.5;-0.5;, 0.5;0.5;-0.5;, "
                                  "-0.5;0.5;-0.5;, -0.5;-0.5;0.5;, 0.5;-0.5;0.5;, 0.5;0.5;0.5;, "
                                  "-0.5;0.5;0.5;;\n 6;\n 4;0,3,2,1;, 4;4,5,6,7;, 4;0,1,5,4;, "
                                  "4;2,3,7,6;, 4;0,4,7,3;, 4;1,2,6,5;;\n"
                                  " MeshMaterialList { 1; 6; 0,0,0,0,0,0;\n"
                                  "  Material { 1;0;0;1;; 10; 0;0;0;; 0.2;0;0;; }\n }\n}\n";

} // namespace testfiles
