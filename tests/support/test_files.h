// Small data files written by tests: temporary folders, BMP pictures, .x models, WAVE sounds.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace testfiles {

// A fresh empty folder for one test (under $TESS_TEST_TMP or the system's temp folder).
inline std::filesystem::path FreshDir(const std::string& name) {
    const char* base = std::getenv("TESS_TEST_TMP");
    std::filesystem::path dir = base ? std::filesystem::path(base)
                                     : std::filesystem::temp_directory_path() / "tessarune-tests";
    dir /= name + "-" + std::to_string(::getpid());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    WriteBytes(path, std::vector<uint8_t>(text.begin(), text.end()));
}

inline void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

// A 24-bit bottom-up BMP of opaque ARGB pixels (rows top to bottom).
inline std::vector<uint8_t> Bmp24(int w, int h, const std::vector<uint32_t>& argb) {
    int stride = (w * 3 + 3) & ~3;
    std::vector<uint8_t> b;
    b.push_back('B'), b.push_back('M');
    Put32(b, 54 + stride * h), Put32(b, 0), Put32(b, 54);
    Put32(b, 40), Put32(b, w), Put32(b, h), Put16(b, 1), Put16(b, 24), Put32(b, 0);
    Put32(b, stride * h), Put32(b, 2835), Put32(b, 2835), Put32(b, 0), Put32(b, 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            uint32_t p = argb[static_cast<size_t>(y) * w + x];
            b.push_back(static_cast<uint8_t>(p)), b.push_back(static_cast<uint8_t>(p >> 8));
            b.push_back(static_cast<uint8_t>(p >> 16));
        }
        for (int pad = w * 3; pad < stride; ++pad) b.push_back(0);
    }
    return b;
}

// A one-material unit cube centred on the origin in .x text form.
inline std::string CubeX(float r = 1, float g = 0, float b = 0) {
    std::string c = std::to_string(r) + ";" + std::to_string(g) + ";" + std::to_string(b);
    return "xof 0303txt 0032\n"
           "Mesh {\n 8;\n"
           " -0.5;-0.5;-0.5;, 0.5;-0.5;-0.5;, 0.5;0.5;-0.5;, -0.5;0.5;-0.5;,\n"
           " -0.5;-0.5;0.5;, 0.5;-0.5;0.5;, 0.5;0.5;0.5;, -0.5;0.5;0.5;;\n"
           " 6;\n 4;0,3,2,1;, 4;4,5,6,7;, 4;0,1,5,4;, 4;2,3,7,6;, 4;0,4,7,3;, 4;1,2,6,5;;\n"
           " MeshMaterialList { 1; 6; 0,0,0,0,0,0;\n"
           "  Material { " +
           c +
           ";1.0;; 10.0; 0.0;0.0;0.0;; 0.2;0.0;0.0;; }\n }\n"
           "}\n";
}

// A PCM WAVE file of 16-bit samples.
inline std::vector<uint8_t> Wav16(int channels, int rate, const std::vector<int16_t>& samples) {
    std::vector<uint8_t> b;
    uint32_t data = static_cast<uint32_t>(samples.size() * 2);
    b.insert(b.end(), {'R', 'I', 'F', 'F'}), Put32(b, 36 + data);
    b.insert(b.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '}), Put32(b, 16);
    Put16(b, 1), Put16(b, channels), Put32(b, rate), Put32(b, rate * channels * 2);
    Put16(b, channels * 2), Put16(b, 16);
    b.insert(b.end(), {'d', 'a', 't', 'a'}), Put32(b, data);
    for (int16_t s : samples) Put16(b, static_cast<uint16_t>(s));
    return b;
}

} // namespace testfiles
