// The title scene: the Z latch, the logo coming to rest, the drawing of one frame, the music.
#include <gtest/gtest.h>

#include <cmath>

#include "media/draw.h"
#include "media/frame.h"
#include "menus/title.h"
#include "platform/random.h"
#include "support/scene.h"

using namespace platform;

namespace {

class TitleTest : public MenuTest<Title, TitleFrame, TitleRelease> {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        UseVirtualClock(12345);
    }
};

} // namespace

TEST_F(TitleTest, ZHeldFromTheStartMustBeReleasedAndPressedAgain) {
    Hold('Z');
    ASSERT_EQ(TitleInit(), 1);
    for (int i = 0; i < 20; ++i) ASSERT_EQ(Frame(), 1) << "a held Z does not count";
    Hold('Z', false);
    EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Title.TitleKeyLatch, 0);
    Hold('Z');
    device.ClearCalls();
    EXPECT_EQ(Frame(), 2);
    EXPECT_EQ(device.Count(CallKind::Present), 0u) << "the accepting frame is not presented";
    EXPECT_EQ(device.Count(CallKind::End), 1u);
    EXPECT_TRUE(!Title.block.mesh && !Title.background && !Title.music) << "released on leaving";
}

TEST_F(TitleTest, LogoTurnsTwiceAndRestsFacingFrontAfter270Frames) {
    TitleInit();
    Frames(90);
    EXPECT_EQ(Title.LogoSpeed, 2.0f) << "one turn at 4 degrees a frame";
    EXPECT_EQ(Title.LogoAngle, 0.0f);
    Frames(179);
    EXPECT_EQ(Title.LogoSpeed, 2.0f);
    EXPECT_EQ(Title.LogoAngle, 358.0f);
    Frame();
    EXPECT_EQ(Title.LogoSpeed, 0.0f) << "at rest after exactly 270 frames";
    EXPECT_EQ(Title.LogoAngle, 0.0f);
    Frames(130);
    EXPECT_EQ(Title.LogoAngle, 0.0f);
    EXPECT_EQ(Title.BlockAngle, 800.0f) << "2 degrees a frame without bound";
}

TEST_F(TitleTest, OneFrameIsDrawnInTheStandardOrder) {
    TitleInit();
    Frames(9);
    device.ClearCalls();
    Frame(); // the tenth: LogoAngle 40, BlockAngle 20
    std::vector<RecordedCall> draws;
    for (const auto& c : device.Calls())
        if (c.kind != CallKind::State) draws.push_back(c);
    // Cleared to blue; three unlit textured quads (background, logo, caption); two lit blocks
    // turning in opposite directions, left then right.
    using enum CallKind;
    const CallKind kinds[] = {Begin, Clear, Quad, Quad, Quad, Mesh, Mesh, End, Present};
    ASSERT_EQ(draws.size(), std::size(kinds));
    for (size_t i = 0; i < draws.size(); ++i) EXPECT_EQ(draws[i].kind, kinds[i]) << i;
    EXPECT_EQ(draws[1].value, static_cast<uint32_t>(CLEAR_TARGET | CLEAR_ZBUFFER));
    EXPECT_EQ(draws[1].color, 0xFF0000FFu);
    EXPECT_EQ(draws[1].z, 1.0f);
    for (int i : {2, 3, 4}) EXPECT_FALSE(draws[i].lighting) << i;
    EXPECT_EQ(draws[2].resource, "./bmp/背景.bmp") << "the background first, under the logo";
    for (int i : {5, 6}) {
        EXPECT_EQ(draws[i].resource, "./xFile/パズル用図形１.x");
        EXPECT_TRUE(draws[i].lighting);
        EXPECT_EQ(draws[i].Alpha(), 1.0f);
    }
    EXPECT_TRUE(Near(draws[5].matrix, RotationY(-20 * kDegToRad) * Translation(-7, -7.3f, 0)));
    EXPECT_TRUE(Near(draws[6].matrix, RotationY(20 * kDegToRad) * Translation(8.8f, -7.3f, 0)));
    EXPECT_EQ(device.RenderState(RS_LIGHTING), 0u) << "lighting is left off";
    EXPECT_TRUE(Near(device.View(), StandardView()));
    EXPECT_TRUE(Near(device.Projection(), StandardProjection()));
}

TEST_F(TitleTest, SeedsTheGeneratorFromTheClockHidesTheCursorAndPlaysItsMusic) {
    int shown = ShowCursor(true);
    ShowCursor(false);
    TitleInit();
    int first = platform::rand();
    platform::srand(12345);
    EXPECT_EQ(first, platform::rand());
    EXPECT_EQ(ShowCursor(true), shown - 1) << "the title hid the cursor once";

    ASSERT_NE(Title.music, nullptr);
    Frame();
    uint32_t status = 0;
    int32_t volume = -1;
    Title.music->GetStatus(&status);
    Title.music->GetVolume(&volume);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    EXPECT_EQ(volume, 0) << "the title music keeps full volume";
}

TEST_F(TitleTest, MissingFilesLeaveEmptyHandlesAndTheSceneRuns) {
    testfiles::DataDir empty("-empty");
    TitleInit();
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Frame(), 1);
    EXPECT_EQ(Title.block.mesh, nullptr);
    EXPECT_EQ(device.Count(CallKind::Mesh), 0u);
    EXPECT_EQ(device.Count(CallKind::Quad), 15u) << "the quads still draw, untextured";
}

TEST_F(TitleTest, TheLogoReadsLeftToRightAtEveryAngleOfItsTurn) {
    // The picture's left-to-right axis (the first row of the world matrix) must point to the
    // player's right whenever the logo is not edge-on, its back half of the turn included.
    TitleInit();
    int back = 0;
    for (int frame = 1; frame <= 90; ++frame) {
        device.ClearCalls();
        Frame();
        const RecordedCall* logo = nullptr;
        for (const auto& c : device.Calls())
            if (c.kind == CallKind::Quad && c.resource == "./bmp/タイトル.bmp") logo = &c;
        ASSERT_NE(logo, nullptr) << frame;
        float across = logo->matrix.m[0][0];
        if (std::abs(logo->matrix.m[0][2]) > 0.99f) continue; // edge-on
        EXPECT_GT(across, 0.0f) << "mirrored at " << Title.LogoAngle << " degrees";
        if (Title.LogoAngle > 90.0f && Title.LogoAngle < 270.0f) ++back;
    }
    EXPECT_GT(back, 40) << "the turn shows its back for half the time";
}
