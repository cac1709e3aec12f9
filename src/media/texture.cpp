// Bitmaps as textures: the BMP decoder and the colour-keyed texture loader.
#include "media/texture.h"

#include <algorithm>
#include <bit>
#include <cstdio>

#include "media/preload.h"
#include "platform/files.h"
#include "platform/startup.h"

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

namespace {

// Decodes at most maxWidth x maxHeight of the picture's top left (0: no limit) into the top
// left of `out`, made outWidth x outHeight (0: the decoded size) with transparent black where
// the picture does not reach; with `key`, texels of that colour become transparent black.
// One pass over the picture, straight into the texture's own texels.
bool Decode(const uint8_t* data, size_t size, platform::Image& out, int maxWidth, int maxHeight,
            int outWidth, int outHeight, const uint32_t* key) {
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
    const size_t w = maxWidth > 0 ? std::min(width, static_cast<size_t>(maxWidth)) : width;
    const size_t h = maxHeight > 0 ? std::min(height, static_cast<size_t>(maxHeight)) : height;
    out.width = outWidth > 0 ? outWidth : static_cast<int>(w);
    out.height = outHeight > 0 ? outHeight : static_cast<int>(h);
    const auto outStride = static_cast<size_t>(out.width);
    out.pixels.resize(outStride * static_cast<size_t>(out.height));
    const size_t rows = std::min(h, static_cast<size_t>(out.height));
    const size_t columns = std::min(w, outStride);
    for (size_t y = 0; y < rows; ++y) {
        const size_t fileRow = info.height < 0 ? y : height - 1 - y;
        const uint8_t* row = data + offset + fileRow * stride;
        uint32_t* dst = out.pixels.data() + y * outStride;
        for (size_t x = 0; x < columns; ++x) {
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
        if (key)
            for (size_t x = 0; x < columns; ++x)
                if (dst[x] == *key) dst[x] = 0;
    }
    return true;
}

} // namespace

bool DecodeBmp(const uint8_t* data, size_t size, platform::Image& out, int maxWidth,
               int maxHeight) {
    return Decode(data, size, out, maxWidth, maxHeight, 0, 0, nullptr);
}

namespace {

// The bytes of a picture file; with `maxSide`, refused (and said) when the picture is wider or
// taller than that.
bool ReadBmpBytes(const char* path, std::vector<uint8_t>& bytes, int maxSide) {
    if (!path || !platform::ReadFileBytes(path, bytes, kMaxFileBytes)) return false;
    int width = 0, height = 0;
    if (maxSide > 0 && BmpSize(bytes.data(), bytes.size(), width, height) &&
        (width > maxSide || height > maxSide)) {
        std::fprintf(stderr, "tessarune: %s is %dx%d, larger than %dx%d; not loaded\n", path, width,
                     height, maxSide, maxSide);
        return false;
    }
    return true;
}

} // namespace

bool ReadTextureFile(const char* path, int width, int height, uint32_t colorKey,
                     platform::Image& out) {
    out = platform::Image{};
    if (width > kMaxSide || height > kMaxSide) return false;
    const bool ownSize = width <= 0 || height <= 0;
    std::vector<uint8_t> bytes;
    if (!ReadBmpBytes(path, bytes, ownSize ? kMaxOwnSizeTexture : 0)) return false;
    // A size of 0 takes the bitmap's own.
    return Decode(bytes.data(), bytes.size(), out, std::max(width, 0), std::max(height, 0),
                  std::max(width, 0), std::max(height, 0), &colorKey);
}

platform::TexturePtr LoadTexture(platform::GraphicsDevice& device, const char* path, int width,
                                 int height, uint32_t colorKey) {
    platform::Image texels;
    if (!ReadTextureFile(path, width, height, colorKey, texels)) return nullptr;
    return device.CreateTexture(texels.width, texels.height, std::move(texels.pixels), path);
}

platform::TexturePtr LoadTexture(platform::GraphicsDevice& device, const DataFile& file) {
    platform::Image texels;
    if (!TakePreloadedTexture(file, texels) &&
        !ReadTextureFile(file.path, file.width, file.height, file.colorKey, texels)) {
        platform::MarkStartup(file.path);
        return nullptr;
    }
    platform::TexturePtr texture =
        device.CreateTexture(texels.width, texels.height, std::move(texels.pixels), file.path);
    platform::MarkStartup(file.path);
    return texture;
}

platform::TexturePtr LoadTextureFile(platform::GraphicsDevice& device, const char* path) {
    std::vector<uint8_t> bytes;
    platform::Image image;
    if (!ReadBmpBytes(path, bytes, kMaxOwnSizeTexture) ||
        !DecodeBmp(bytes.data(), bytes.size(), image))
        return nullptr;
    return device.CreateTexture(image.width, image.height, std::move(image.pixels), path);
}
