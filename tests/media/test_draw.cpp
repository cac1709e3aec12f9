// Textured quads and sprites without their picture or sprite object. Their ordinary calls are
// compared call by call in the recorded whole game's traces.
#include <gtest/gtest.h>

#include "media/draw.h"
#include "platform/d3dmath.h"
#include "platform/recording_device.h"

namespace {

using platform::CallKind;

TEST(Draw, AQuadWithoutAPictureIsDrawnUntexturedAndUnlit) {
    platform::RecordingDevice device;
    DrawTexturedQuad(device, nullptr, 1, 1, 0, platform::Identity());
    ASSERT_EQ(device.Count(CallKind::Quad), 1u);
    EXPECT_FALSE(device.Calls()[4].hasTexture);
    EXPECT_FALSE(device.Calls()[4].lighting);
    EXPECT_EQ(device.RenderState(platform::RS_LIGHTING), 1u) << "lighting back on after the quad";
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
