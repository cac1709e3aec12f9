// Files for the media tests: a fresh data folder the game is pointed at, and a BMP writer.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/files.h"

class ScratchDir {
  public:
    ScratchDir() {
        const char* base = std::getenv("TESS_TEST_TMP");
        const auto* test = testing::UnitTest::GetInstance()->current_test_info();
        root_ = std::filesystem::path(base ? base : "/tmp") / "media" /
                (std::string(test->test_suite_name()) + "." + test->name());
        std::filesystem::remove_all(root_);
        std::filesystem::create_directories(root_);
        platform::SetDataRoot(root_.string());
    }
    ~ScratchDir() {
        platform::SetDataRoot(".");
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    void Write(const std::string& gamePath, const std::vector<uint8_t>& bytes) const {
        std::filesystem::path path = platform::DataPath(gamePath);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    void Write(const std::string& gamePath, const std::string& text) const {
        Write(gamePath, std::vector<uint8_t>(text.begin(), text.end()));
    }

  private:
    std::filesystem::path root_;
};

inline void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    b[at] = v & 0xFF, b[at + 1] = v >> 8 & 0xFF;
}
inline void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = v >> (8 * i) & 0xFF;
}

// Writes an opaque ARGB picture as a BMP of the given depth (palettes built from its colours),
// rows bottom-up unless `topDown`, with a 40-byte or later (124-byte) info header.
inline std::vector<uint8_t> WriteBmp(const std::vector<uint32_t>& argb, int w, int h, int bits,
                                     bool topDown = false, uint32_t headerSize = 40) {
    std::vector<uint32_t> palette;
    for (uint32_t c : argb)
        if (bits <= 8 && std::find(palette.begin(), palette.end(), c) == palette.end())
            palette.push_back(c);
    const size_t stride = (static_cast<size_t>(w) * bits + 31) / 32 * 4;
    const size_t offset = 14 + headerSize + palette.size() * 4;
    std::vector<uint8_t> b(offset + stride * h, 0);
    b[0] = 'B', b[1] = 'M';
    Put32(b, 10, static_cast<uint32_t>(offset));
    Put32(b, 14, headerSize);
    Put32(b, 18, static_cast<uint32_t>(w));
    Put32(b, 22, static_cast<uint32_t>(topDown ? -h : h));
    Put16(b, 26, 1);
    Put16(b, 28, static_cast<uint32_t>(bits));
    Put32(b, 46, static_cast<uint32_t>(palette.size()));
    for (size_t i = 0; i < palette.size(); ++i) Put32(b, 14 + headerSize + 4 * i, palette[i]);
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
