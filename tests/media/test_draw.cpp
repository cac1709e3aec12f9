// Textured quads, walls and sprites as the device sees them.
#include <gtest/gtest.h>

#include "media/draw.h"
#include "platform/d3dmath.h"
#include "platform/recording_device.h"

namespace {

using platform::CallKind;
using platform::RecordedCall;

void ExpectVertex(const platform::RecordedVertex& v, float x, float y, float z, float u, float w) {
    EXPECT_FLOAT_EQ(v.x, x);
    EXPECT_FLOAT_EQ(v.y, y);
    EXPECT_FLOAT_EQ(v.z, z);
    EXPECT_FLOAT_EQ(v.u, u);
    EXPECT_FLOAT_EQ(v.v, w);
    EXPECT_EQ(v.color, 0xFFFFFFFFu);
}

TEST(Draw, TexturedQuadIsAnUnlitFanBetweenLightingOffAndOn) {
    platform::RecordingDevice device;
    platform::Texture texture(4, 4, "./bmp/ロゴ.bmp");
    const platform::Matrix world = platform::Translation(1, 2, 3);
    DrawTexturedQuad(device, &texture, 8, 4.5f, 0.5f, world);

    const auto& calls = device.Calls();
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[0].name, "RS_LIGHTING");
    EXPECT_EQ(calls[0].value, 0u);
    EXPECT_EQ(calls[1].name, "fvf");
    EXPECT_EQ(calls[1].value, kQuadFvf);
    EXPECT_EQ(calls[2].name, "texture");
    EXPECT_EQ(calls[3].name, "TS_WORLD");

    const RecordedCall& quad = calls[4];
    ASSERT_EQ(quad.kind, CallKind::Quad);
    EXPECT_FALSE(quad.lighting);
    EXPECT_EQ(quad.resource, "./bmp/ロゴ.bmp");
    EXPECT_FLOAT_EQ(quad.matrix.m[3][1], 2.0f);
    ASSERT_EQ(quad.vertices.size(), 4u);
    ExpectVertex(quad.vertices[0], -8, 4.5f, 0.5f, 0, 0);
    ExpectVertex(quad.vertices[1], 8, 4.5f, 0.5f, 1, 0);
    ExpectVertex(quad.vertices[2], 8, -4.5f, 0.5f, 1, 1);
    ExpectVertex(quad.vertices[3], -8, -4.5f, 0.5f, 0, 1);

    EXPECT_EQ(calls[5].name, "RS_LIGHTING");
    EXPECT_EQ(calls[5].value, 1u);

    // Without a picture the quad is still drawn, untextured.
    DrawTexturedQuad(device, nullptr, 1, 1, 0, world);
    EXPECT_FALSE(device.Calls()[10].hasTexture);
}

TEST(Draw, WallsFaceTheViewer) {
    platform::RecordingDevice device;
    WallVertex wall[4];
    MakeWall(wall, -1, 2, 3, -4, 5);
    device.SetFVF(kWallFvf);
    DrawFan(device, wall);
    const RecordedCall& fan = device.Calls().back();
    ASSERT_EQ(fan.vertices.size(), 4u);
    ExpectVertex(fan.vertices[0], -1, 2, 5, 0, 0);
    ExpectVertex(fan.vertices[2], 3, -4, 5, 1, 1);
    for (const auto& v : fan.vertices) {
        EXPECT_FLOAT_EQ(v.nx, 0);
        EXPECT_FLOAT_EQ(v.ny, 0);
        EXPECT_FLOAT_EQ(v.nz, -1);
    }
}

TEST(Draw, SpritesLandAtTheirPosition) {
    platform::RecordingDevice device;
    platform::SpritePtr sprite;
    platform::CreateSprite(device, sprite);
    platform::Texture sheet(256, 128, "./bmp/数字.bmp");

    DrawSpriteAt(sprite.get(), &sheet, {32, 0, 64, 40}, 400, 20.5f);
    const platform::Matrix scaled = platform::Scaling(2, 2, 1) * platform::Translation(10, 0, 0);
    DrawSpriteWith(sprite.get(), &sheet, {0, 0, 16, 16}, scaled);
    DrawSpriteAt(nullptr, &sheet, {0, 0, 16, 16}, 0, 0);

    const auto& calls = device.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].kind, CallKind::Sprite);
    EXPECT_EQ(calls[0].resource, "./bmp/数字.bmp");
    EXPECT_EQ(calls[0].rect.left, 32);
    EXPECT_EQ(calls[0].rect.bottom, 40);
    EXPECT_EQ(calls[0].color, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(calls[0].matrix.m[3][0], 400);
    EXPECT_FLOAT_EQ(calls[0].matrix.m[3][1], 20.5f);
    EXPECT_FLOAT_EQ(calls[1].matrix.m[0][0], 2);
    EXPECT_FLOAT_EQ(calls[1].matrix.m[3][0], 10);
    // Each pass ended: another one can begin.
    EXPECT_EQ(sprite->Begin(platform::SPRITE_ALPHABLEND), platform::S_OK);
}

} // namespace
