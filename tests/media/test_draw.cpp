// Textured quads and sprites as the device sees them.
#include <gtest/gtest.h>

#include <cstdio>

#include "media/draw.h"
#include "platform/d3dmath.h"
#include "platform/recording_device.h"

namespace {

using platform::CallKind;

std::string Corner(const platform::RecordedVertex& v) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%g,%g,%g %g,%g %08X", v.x, v.y, v.z, v.u, v.v, v.color);
    return buf;
}

TEST(Draw, TexturedQuadIsAnUnlitFanBetweenLightingOffAndOn) {
    platform::RecordingDevice device;
    platform::Texture texture(4, 4, "./bmp/ロゴ.bmp");
    DrawTexturedQuad(device, &texture, 8, 4.5f, 0.5f, platform::Translation(1, 2, 3));
    DrawTexturedQuad(device, nullptr, 1, 1, 0, platform::Identity());

    const auto& calls = device.Calls();
    ASSERT_EQ(calls.size(), 12u);
    const char* order[] = {"RS_LIGHTING", "fvf", "texture", "TS_WORLD"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(calls[i].name, order[i]);
    EXPECT_EQ(calls[0].value, 0u);
    EXPECT_EQ(calls[1].value, kQuadFvf);
    EXPECT_EQ(calls[5].name, "RS_LIGHTING");
    EXPECT_EQ(calls[5].value, 1u);

    const auto& quad = calls[4];
    ASSERT_EQ(quad.kind, CallKind::Quad);
    EXPECT_FALSE(quad.lighting);
    EXPECT_EQ(quad.resource, "./bmp/ロゴ.bmp");
    EXPECT_FLOAT_EQ(quad.matrix.m[3][1], 2.0f);
    ASSERT_EQ(quad.vertices.size(), 4u);
    EXPECT_EQ(Corner(quad.vertices[0]), "-8,4.5,0.5 0,0 FFFFFFFF");
    EXPECT_EQ(Corner(quad.vertices[1]), "8,4.5,0.5 1,0 FFFFFFFF");
    EXPECT_EQ(Corner(quad.vertices[2]), "8,-4.5,0.5 1,1 FFFFFFFF");
    EXPECT_EQ(Corner(quad.vertices[3]), "-8,-4.5,0.5 0,1 FFFFFFFF");
    // Without a picture the quad is still drawn, untextured.
    EXPECT_EQ(calls[10].kind, CallKind::Quad);
    EXPECT_FALSE(calls[10].hasTexture);
}

TEST(Draw, SpritesLandAtTheirPositionAndEndTheirPass) {
    platform::RecordingDevice device;
    platform::SpritePtr sprite;
    platform::CreateSprite(device, sprite);
    platform::Texture sheet(256, 128, "./bmp/数字.bmp");

    DrawSpriteAt(sprite.get(), &sheet, {32, 0, 64, 40}, 400, 20.5f);
    DrawSpriteAt(nullptr, &sheet, {0, 0, 16, 16}, 0, 0);

    ASSERT_EQ(device.Calls().size(), 1u);
    const auto& call = device.Calls()[0];
    EXPECT_EQ(call.kind, CallKind::Sprite);
    EXPECT_EQ(call.resource, "./bmp/数字.bmp");
    EXPECT_EQ(call.rect.left, 32);
    EXPECT_EQ(call.rect.bottom, 40);
    EXPECT_EQ(call.color, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(call.matrix.m[3][0], 400);
    EXPECT_FLOAT_EQ(call.matrix.m[3][1], 20.5f);
    EXPECT_EQ(sprite->Begin(platform::SPRITE_ALPHABLEND), platform::S_OK);
}

} // namespace
