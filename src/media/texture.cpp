// Bitmaps as textures: the BMP decoder and the colour-keyed texture loader.
#include "media/texture.h"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "platform/files.h"

namespace {

constexpr int kMaxSide = 16384;             // wider or taller bitmaps and textures are refused
constexpr size_t kMaxFileBytes = 64u << 20; // larger picture files are refused
constexpr uint32_t kOpaque = 0xFF000000u;

enum Compression : uint32_t { kRgb = 0, kBitfields = 3, kAlphaBitfields = 6 };

uint32_t U16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0] | p[1] << 8);
}
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint32_t Argb(uint32_t r, uint32_t g, uint32_t b) {
    return kOpaque | r << 16 | g << 8 | b;
}

// The channel selected by `mask`, scaled to 0..255.
uint32_t Channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = std::countr_zero(mask);
    uint64_t max = mask >> shift;
    uint64_t value = (pixel & mask) >> shift;
    return static_cast<uint32_t>(value * 255 / max);
}

struct BmpInfo {
    int64_t width = 0, height = 0; // height < 0: rows stored top to bottom
    uint32_t bits = 0, compression = kRgb;
    uint32_t masks[3] = {};
    size_t paletteAt = 0, paletteEntry = 4;
    uint64_t paletteCount = 0;
};

// Reads the info header: the 12-byte core header, or the 40-byte header and its later
// versions (masks inside from 52 bytes on).
bool ReadInfo(const uint8_t* data, size_t size, BmpInfo& info) {
    const uint8_t* h = data + 14;
    const uint32_t headerSize = U32(h);
    if (headerSize == 12) {
        if (size < 14 + 12) return false;
        info.width = U16(h + 4);
        info.height = U16(h + 6);
        info.bits = U16(h + 10);
        info.paletteEntry = 3;
        info.paletteAt = 14 + 12;
    } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 108 ||
               headerSize == 124) {
        if (size < 14 + static_cast<size_t>(headerSize)) return false;
        info.width = static_cast<int32_t>(U32(h + 4));
        info.height = static_cast<int32_t>(U32(h + 8));
        info.bits = U16(h + 14);
        info.compression = U32(h + 16);
        info.paletteCount = U32(h + 32);
        info.paletteAt = 14 + headerSize;
        if (info.compression == kBitfields || info.compression == kAlphaBitfields) {
            const uint8_t* m = h + 40;
            if (headerSize == 40) {
                // The masks follow the header.
                size_t maskBytes = info.compression == kBitfields ? 12 : 16;
                if (size < info.paletteAt + maskBytes) return false;
                m = data + info.paletteAt;
                info.paletteAt += maskBytes;
            }
            for (int i = 0; i < 3; ++i) info.masks[i] = U32(m + 4 * i);
        }
    } else {
        return false;
    }

    if (info.width < 1 || info.width > kMaxSide || info.height == 0 || info.height < -kMaxSide ||
        info.height > kMaxSide)
        return false;
    switch (info.bits) {
    case 1:
    case 4:
    case 8:
    case 24:
        if (info.compression != kRgb) return false; // RLE is not read
        break;
    case 16:
    case 32:
        if (info.compression == kRgb) {
            if (info.bits == 16)
                info.masks[0] = 0x7C00, info.masks[1] = 0x03E0, info.masks[2] = 0x001F;
            else
                info.masks[0] = 0xFF0000, info.masks[1] = 0xFF00, info.masks[2] = 0xFF;
        } else if (info.compression != kBitfields && info.compression != kAlphaBitfields) {
            return false;
        }
        break;
    default:
        return false;
    }
    if (info.bits <= 8) {
        const uint64_t full = uint64_t{1} << info.bits;
        if (info.paletteCount == 0 || info.paletteCount > full) info.paletteCount = full;
        if (info.paletteAt + info.paletteCount * info.paletteEntry > size) return false;
    } else {
        info.paletteCount = 0;
    }
    return true;
}

} // namespace

bool BmpSize(const uint8_t* data, size_t size, int& width, int& height) {
    BmpInfo info;
    if (!data || size < 14 + 4 || data[0] != 'B' || data[1] != 'M' || !ReadInfo(data, size, info))
        return false;
    width = static_cast<int>(info.width);
    height = static_cast<int>(info.height < 0 ? -info.height : info.height);
    return true;
}

bool DecodeBmp(const uint8_t* data, size_t size, platform::Image& out, int maxWidth,
               int maxHeight) {
    out = platform::Image{};
    if (!data || size < 14 + 4 || data[0] != 'B' || data[1] != 'M') return false;
    BmpInfo info;
    if (!ReadInfo(data, size, info)) return false;

    std::vector<uint32_t> palette(info.paletteCount);
    for (size_t i = 0; i < palette.size(); ++i) {
        const uint8_t* e = data + info.paletteAt + i * info.paletteEntry;
        palette[i] = Argb(e[2], e[1], e[0]);
    }

    const auto width = static_cast<size_t>(info.width);
    const auto height = static_cast<size_t>(info.height < 0 ? -info.height : info.height);
    const size_t stride = (width * info.bits + 31) / 32 * 4;
    uint64_t offset = U32(data + 10);
    if (offset == 0) offset = info.paletteAt + palette.size() * info.paletteEntry;
    if (offset > size || stride * height > size - offset) return false;

    // Only the part that will be used is decoded.
    const size_t outWidth = maxWidth > 0 ? std::min(width, static_cast<size_t>(maxWidth)) : width;
    const size_t outHeight =
        maxHeight > 0 ? std::min(height, static_cast<size_t>(maxHeight)) : height;
    out.width = static_cast<int>(outWidth);
    out.height = static_cast<int>(outHeight);
    out.pixels.resize(outWidth * outHeight);
    for (size_t y = 0; y < outHeight; ++y) {
        const size_t fileRow = info.height < 0 ? y : height - 1 - y;
        const uint8_t* row = data + offset + fileRow * stride;
        uint32_t* dst = out.pixels.data() + y * outWidth;
        for (size_t x = 0; x < outWidth; ++x) {
            uint32_t index = 0;
            switch (info.bits) {
            case 1:
                index = row[x / 8] >> (7 - x % 8) & 1;
                break;
            case 4:
                index = row[x / 2] >> (x % 2 ? 0 : 4) & 0xF;
                break;
            case 8:
                index = row[x];
                break;
            case 24:
                dst[x] = Argb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                continue;
            default: {
                uint32_t p = info.bits == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
                dst[x] = Argb(Channel(p, info.masks[0]), Channel(p, info.masks[1]),
                              Channel(p, info.masks[2]));
                continue;
            }
            }
            // Indices past a short palette show black.
            dst[x] = index < palette.size() ? palette[index] : kOpaque;
        }
    }
    return true;
}

namespace {

// The picture of a file, at most maxWidth x maxHeight of its top left (0: no limit) and,
// with `maxSide`, refused (and said) when wider or taller than that.
bool ReadBmpFile(const char* path, platform::Image& image, int maxWidth, int maxHeight,
                 int maxSide = 0) {
    std::vector<uint8_t> bytes;
    if (!path || !platform::ReadFileBytes(path, bytes, kMaxFileBytes)) return false;
    int width = 0, height = 0;
    if (maxSide > 0 && BmpSize(bytes.data(), bytes.size(), width, height) &&
        (width > maxSide || height > maxSide)) {
        std::fprintf(stderr, "tessarune: %s is %dx%d, larger than %dx%d; not loaded\n", path, width,
                     height, maxSide, maxSide);
        return false;
    }
    return DecodeBmp(bytes.data(), bytes.size(), image, maxWidth, maxHeight);
}

} // namespace

platform::TexturePtr LoadTexture(platform::GraphicsDevice& device, const char* path, int width,
                                 int height, uint32_t colorKey) {
    platform::Image image;
    const bool ownSize = width <= 0 || height <= 0;
    if (!ReadBmpFile(path, image, std::max(width, 0), std::max(height, 0),
                     ownSize ? kMaxOwnSizeTexture : 0))
        return nullptr;
    // A size of 0 takes the bitmap's own.
    if (width <= 0) width = image.width;
    if (height <= 0) height = image.height;
    if (width > kMaxSide || height > kMaxSide) return nullptr;

    std::vector<uint32_t> texels(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    const int w = std::min(width, image.width), h = std::min(height, image.height);
    for (int y = 0; y < h; ++y) {
        const uint32_t* src = image.pixels.data() + static_cast<size_t>(y) * image.width;
        uint32_t* dst = texels.data() + static_cast<size_t>(y) * width;
        for (int x = 0; x < w; ++x) dst[x] = src[x] == colorKey ? 0 : src[x];
    }
    return device.CreateTexture(width, height, std::move(texels), path);
}

platform::TexturePtr LoadTexture(platform::GraphicsDevice& device, const DataFile& file) {
    return LoadTexture(device, file.path, file.width, file.height, file.colorKey);
}

platform::TexturePtr LoadTextureFile(platform::GraphicsDevice& device, const char* path) {
    platform::Image image;
    if (!ReadBmpFile(path, image, 0, 0, kMaxOwnSizeTexture)) return nullptr;
    return device.CreateTexture(image.width, image.height, std::move(image.pixels), path);
}
