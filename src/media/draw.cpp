// Textured quads inside the 3D scene and sprites over it.
#include "media/draw.h"

#include "platform/d3dmath.h"

void MakeQuad(QuadVertex out[4], float left, float top, float right, float bottom, float z,
              uint32_t color) {
    out[0] = {left, top, z, color, 0, 0};
    out[1] = {right, top, z, color, 1, 0};
    out[2] = {right, bottom, z, color, 1, 1};
    out[3] = {left, bottom, z, color, 0, 1};
}

void MakeWall(WallVertex out[4], float left, float top, float right, float bottom, float z) {
    QuadVertex q[4];
    MakeQuad(q, left, top, right, bottom, z);
    for (int i = 0; i < 4; ++i)
        out[i] = {q[i].x, q[i].y, q[i].z, 0, 0, -1, q[i].color, q[i].u, q[i].v};
}

void DrawFan(platform::GraphicsDevice& device, const QuadVertex v[4]) {
    device.DrawPrimitiveUP(platform::PT_TRIANGLEFAN, 2, v, sizeof(QuadVertex));
}

void DrawFan(platform::GraphicsDevice& device, const WallVertex v[4]) {
    device.DrawPrimitiveUP(platform::PT_TRIANGLEFAN, 2, v, sizeof(WallVertex));
}

void DrawTexturedQuad(platform::GraphicsDevice& device, platform::Texture* texture, float w,
                      float h, float z, const platform::Matrix& world) {
    device.SetRenderState(platform::RS_LIGHTING, 0);
    device.SetFVF(kQuadFvf);
    device.SetTexture(0, texture);
    device.SetTransform(platform::TS_WORLD, world);
    QuadVertex v[4];
    MakeQuad(v, -w, h, w, -h, z);
    DrawFan(device, v);
    device.SetRenderState(platform::RS_LIGHTING, 1);
}

void DrawBackdrop(platform::GraphicsDevice& device, platform::Texture* texture, float left,
                  float top, float right, float bottom, float z, const platform::Matrix& world) {
    device.SetRenderState(platform::RS_LIGHTING, 0);
    device.SetRenderState(platform::RS_CLIPPLANEENABLE, 0);
    device.SetFVF(kQuadFvf);
    QuadVertex v[4];
    MakeQuad(v, left, top, right, bottom, z);
    device.SetTexture(0, texture);
    device.SetTransform(platform::TS_WORLD, world);
    DrawFan(device, v);
}

void DrawSpriteAt(platform::Sprite* sprite, platform::Texture* texture, const platform::Rect& src,
                  float x, float y) {
    DrawSpriteWith(sprite, texture, src, platform::Translation(x, y, 0));
}

void DrawSpriteWith(platform::Sprite* sprite, platform::Texture* texture, const platform::Rect& src,
                    const platform::Matrix& transform) {
    if (!sprite) return;
    sprite->SetTransform(transform);
    sprite->Begin(platform::SPRITE_ALPHABLEND);
    sprite->Draw(texture, &src, nullptr, nullptr, 0xFFFFFFFF);
    sprite->End();
}
