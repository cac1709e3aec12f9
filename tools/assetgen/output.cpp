// File writers: BMP, WAVE, text and PNG.
#include "output.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace out {

namespace {

std::filesystem::path root = ".";

void Put16(std::vector<uint8_t>& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v) {
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}
void PutTag(std::vector<uint8_t>& b, const char* tag) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}

} // namespace

void SetRoot(std::filesystem::path r) {
    root = std::move(r);
}

std::filesystem::path PathOf(const std::string& gamePath) {
    std::string rel = gamePath.rfind("./", 0) == 0 ? gamePath.substr(2) : gamePath;
    return root / std::filesystem::path(std::u8string(rel.begin(), rel.end()));
}

std::vector<uint8_t> EncodeBmp(int width, int height, const std::vector<uint32_t>& rgb) {
    uint32_t stride = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
    uint32_t imageSize = stride * static_cast<uint32_t>(height);
    std::vector<uint8_t> b;
    b.reserve(54 + imageSize);
    b.push_back('B');
    b.push_back('M');
    Put32(b, 54 + imageSize);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40); // BITMAPINFOHEADER
    Put32(b, static_cast<uint32_t>(width));
    Put32(b, static_cast<uint32_t>(height)); // positive: bottom-up
    Put16(b, 1);
    Put16(b, 24);
    Put32(b, 0); // BI_RGB
    Put32(b, imageSize);
    Put32(b, 2835); // 72 dpi
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
    for (int y = height - 1; y >= 0; --y) {
        size_t start = b.size();
        for (int x = 0; x < width; ++x) {
            uint32_t p = rgb[static_cast<size_t>(y) * width + x];
            b.push_back(static_cast<uint8_t>(p));
            b.push_back(static_cast<uint8_t>(p >> 8));
            b.push_back(static_cast<uint8_t>(p >> 16));
        }
        b.resize(start + stride, 0);
    }
    return b;
}

std::vector<uint8_t> EncodeWave(int channels, int rate, const std::vector<int16_t>& samples) {
    uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::vector<uint8_t> b;
    b.reserve(44 + dataBytes);
    PutTag(b, "RIFF");
    Put32(b, 36 + dataBytes);
    PutTag(b, "WAVE");
    PutTag(b, "fmt ");
    Put32(b, 16);
    Put16(b, 1); // PCM
    Put16(b, static_cast<uint32_t>(channels));
    Put32(b, static_cast<uint32_t>(rate));
    Put32(b, static_cast<uint32_t>(rate * channels * 2));
    Put16(b, static_cast<uint32_t>(channels * 2));
    Put16(b, 16);
    PutTag(b, "data");
    Put32(b, dataBytes);
    for (int16_t s : samples) Put16(b, static_cast<uint16_t>(s));
    return b;
}

void WriteFile(const std::string& gamePath, const std::vector<uint8_t>& bytes) {
    std::filesystem::path path = PathOf(gamePath);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        std::fprintf(stderr, "assetgen: cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

void WriteText(const std::string& gamePath, const std::string& text) {
    WriteFile(gamePath, std::vector<uint8_t>(text.begin(), text.end()));
}

bool WritePng(const std::filesystem::path& path, int width, int height,
              const std::vector<uint32_t>& rgb, bool alpha) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 alpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    const int channels = alpha ? 4 : 3;
    std::vector<png_byte> row(static_cast<size_t>(width) * channels);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t p = rgb[static_cast<size_t>(y) * width + x];
            png_byte* out = &row[static_cast<size_t>(x) * channels];
            out[0] = static_cast<png_byte>(p >> 16);
            out[1] = static_cast<png_byte>(p >> 8);
            out[2] = static_cast<png_byte>(p);
            if (alpha) out[3] = static_cast<png_byte>(p >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

} // namespace out
