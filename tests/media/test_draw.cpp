// Textured quads and sprites as the device sees them.
#include <gtest/gtest.h>

#include <cstdio>

#include "media/draw.h"
#include "platform/d3dmath.h"
#include "platform/recording_device.h"

namespace {

using platform::CallKind;

// The calls in order: states with their values, then the quad's corners (position, uv, colour).
std::string Seen(const platform::RecordingDevice& device) {
    std::string out;
    char buf[96];
    for (const auto& c : device.Calls()) {
        if (c.kind == CallKind::State) out += c.name + "=" + std::to_string(c.value) + " ";
        if (c.kind != CallKind::Quad) continue;
        out += "quad(" + c.resource + ")";
        for (const auto& v : c.vertices) {
            std::snprintf(buf, sizeof buf, " %g,%g,%g %g,%g %08X", v.x, v.y, v.z, v.u, v.v,
                          v.color);
            out += buf;
        }
        out += " ";
    }
    return out;
}

TEST(Draw, TexturedQuadIsAnUnlitFanBetweenLightingOffAndOn) {
    platform::RecordingDevice device;
    platform::Texture texture(4, 4, "./bmp/ロゴ.bmp");
    DrawTexturedQuad(device, &texture, 8, 4.5f, 0.5f, platform::Translation(1, 2, 3));
    EXPECT_EQ(Seen(device),
              "RS_LIGHTING=0 fvf=" + std::to_string(kQuadFvf) +
                  " texture=0 TS_WORLD=0 quad(./bmp/ロゴ.bmp) -8,4.5,0.5 0,0 FFFFFFFF "
                  "8,4.5,0.5 1,0 FFFFFFFF 8,-4.5,0.5 1,1 FFFFFFFF -8,-4.5,0.5 0,1 "
                  "FFFFFFFF RS_LIGHTING=1 ");
    EXPECT_FALSE(device.Calls()[4].lighting);
    EXPECT_FLOAT_EQ(device.Calls()[4].matrix.m[3][1], 2.0f);
    // Without a picture the quad is still drawn, untextured.
    device.ClearCalls();
    DrawTexturedQuad(device, nullptr, 1, 1, 0, platform::Identity());
    ASSERT_EQ(device.Count(CallKind::Quad), 1u);
    EXPECT_FALSE(device.Calls()[4].hasTexture);
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
    EXPECT_TRUE(call.rect.left == 32 && call.rect.bottom == 40);
    EXPECT_EQ(call.color, 0xFFFFFFFFu);
    EXPECT_FLOAT_EQ(call.matrix.m[3][0], 400);
    EXPECT_FLOAT_EQ(call.matrix.m[3][1], 20.5f);
    EXPECT_EQ(sprite->Begin(platform::SPRITE_ALPHABLEND), platform::S_OK) << "the pass ended";
}

} // namespace
