// Textured quads and sprites: the states around a quad, a quad without its picture and a sprite
// without its sprite object. Where quads and sprites land is checked through the title screen
// (corners, pictures, placement) and the recorded whole endless game's traces (sprites).
#include <gtest/gtest.h>

#include <string>

#include "media/draw.h"
#include "platform/d3dmath.h"
#include "platform/recording_device.h"

namespace {

using platform::CallKind;

TEST(Draw, AQuadIsUnlitInItsVertexFormatAndDrawnUntexturedWithoutAPicture) {
    platform::RecordingDevice device;
    DrawTexturedQuad(device, nullptr, 1, 1, 0, platform::Identity());
    std::string seen;
    for (const auto& c : device.Calls())
        seen += c.kind == CallKind::Quad ? "quad " : c.name + "=" + std::to_string(c.value) + " ";
    EXPECT_EQ(seen, "RS_LIGHTING=0 fvf=" + std::to_string(kQuadFvf) +
                        " texture=0 TS_WORLD=0 quad RS_LIGHTING=1 ");
    EXPECT_FALSE(device.Calls()[4].hasTexture);
    EXPECT_FALSE(device.Calls()[4].lighting);
}

TEST(Draw, SpritesWithoutASpriteObjectAreSkippedAndEachPassIsEnded) {
    platform::RecordingDevice device;
    platform::SpritePtr sprite;
    platform::CreateSprite(device, sprite);
    platform::Texture sheet(256, 128, "./bmp/数字.bmp");
    DrawSpriteAt(nullptr, &sheet, {0, 0, 16, 16}, 0, 0);
    EXPECT_TRUE(device.Calls().empty());
    DrawSpriteAt(sprite.get(), &sheet, {32, 0, 64, 40}, 400, 20.5f);
    ASSERT_EQ(device.Count(CallKind::Sprite), 1u);
    EXPECT_EQ(sprite->Begin(platform::SPRITE_ALPHABLEND), platform::S_OK) << "the pass ended";
}

} // namespace
