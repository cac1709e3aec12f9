// Bitmaps as textures: BMP decoding, colour keys, the texture loader every scene uses.
#pragma once

#include <cstddef>
#include <cstdint>

#include "media/manifest.h"
#include "platform/graphics.h"

// Decodes a BMP file (1/4/8-bit palettes, 16/24/32-bit, bottom-up or top-down) into opaque
// ARGB. Returns false for anything it cannot read safely. With a maximum width and height
// (above 0), only that much of the picture's top left is decoded: what a texture of that
// size shows of it.
bool DecodeBmp(const uint8_t* data, size_t size, platform::Image& out, int maxWidth = 0,
               int maxHeight = 0);
// The width and height of a BMP file that DecodeBmp would read, without decoding it.
bool BmpSize(const uint8_t* data, size_t size, int& width, int& height);

// The largest side of a picture loaded at its own size (a model's texture).
constexpr int kMaxOwnSizeTexture = 2048;

// The texels of a width x height texture (0: the picture's own size) holding the bitmap file
// unscaled in its top left, transparent black outside it; every texel whose colour (taken as
// opaque ARGB) equals `colorKey` becomes transparent black. False when the file cannot be read.
bool ReadTextureFile(const char* path, int width, int height, uint32_t colorKey,
                     platform::Image& out);

// The texels of ReadTextureFile made a texture. Null when the file cannot be read.
platform::TexturePtr LoadTexture(platform::GraphicsDevice& device, const char* path, int width,
                                 int height, uint32_t colorKey);
// A data file loaded as its manifest entry says: its texture size and colour key (taken from
// the pictures read ahead when it is one of them).
platform::TexturePtr LoadTexture(platform::GraphicsDevice& device, const DataFile& file);
// A material's texture: the file at its own size, no colour key. Pictures wider or taller than
// kMaxOwnSizeTexture are refused with a message on standard error.
platform::TexturePtr LoadTextureFile(platform::GraphicsDevice& device, const char* path);
