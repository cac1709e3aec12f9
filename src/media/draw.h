// Textured quads inside the 3D scene and sprites over it.
#pragma once

#include <cstdint>

#include "platform/graphics.h"

struct QuadVertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(QuadVertex) == 24);
constexpr uint32_t kQuadFvf = platform::FVF_XYZ | platform::FVF_DIFFUSE | platform::FVF_TEX1;

struct WallVertex {
    float x, y, z;
    float nx, ny, nz;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(WallVertex) == 36);
constexpr uint32_t kWallFvf =
    platform::FVF_XYZ | platform::FVF_NORMAL | platform::FVF_DIFFUSE | platform::FVF_TEX1;

// The four corners top-left, top-right, bottom-right, bottom-left of a quad from (left, top) to
// (right, bottom) at depth z, with texture coordinates over the whole texture.
void MakeQuad(QuadVertex out[4], float left, float top, float right, float bottom, float z,
              uint32_t color = 0xFFFFFFFF);
void MakeWall(WallVertex out[4], float left, float top, float right, float bottom, float z);

// Draws four vertices as a two-triangle fan with the current state.
void DrawFan(platform::GraphicsDevice& device, const QuadVertex v[4]);
void DrawFan(platform::GraphicsDevice& device, const WallVertex v[4]);

// A flat picture in the 3D scene: lighting off, quad format, the texture, the world transform,
// the quad of half-width w and half-height h at depth z, lighting on again.
void DrawTexturedQuad(platform::GraphicsDevice& device, platform::Texture* texture, float w,
                      float h, float z, const platform::Matrix& world);

// A flat picture in the scene, unlit and unclipped: lighting and clip plane off, quad format,
// the quad from (left, top) to (right, bottom) at depth z with the world transform.
void DrawBackdrop(platform::GraphicsDevice& device, platform::Texture* texture, float left,
                  float top, float right, float bottom, float z, const platform::Matrix& world);

// One sprite pass: transform = translation (x, y), begin with alpha blending, draw `src` of
// the texture in white, end.
void DrawSpriteAt(platform::Sprite* sprite, platform::Texture* texture, const platform::Rect& src,
                  float x, float y);
// The same with a full transform (for scaled sprites).
void DrawSpriteWith(platform::Sprite* sprite, platform::Texture* texture, const platform::Rect& src,
                    const platform::Matrix& transform);

// Degrees to radians, with the game's single-precision factor.
constexpr float kDegToRad = 0.01745329238474369f;
