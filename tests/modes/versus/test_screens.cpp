// The versus mode's frame flow: start and result images, the Z key, the pause and end menus,
// restarts.
#include <filesystem>

#include "versus_fixture.h"

using namespace platform;

using VersusFlowTest = VersusTest;

namespace {

::testing::AssertionResult MarkersAt(float x0, float y0, float x1, float y1, float z) {
    const Vector3* m = Versus.MarkerPos;
    if (std::abs(m[0].x - x0) < 1e-4f && std::abs(m[0].y - y0) < 1e-4f && m[0].z == z &&
        std::abs(m[1].x - x1) < 1e-4f && std::abs(m[1].y - y1) < 1e-4f && m[1].z == z)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "markers at (" << m[0].x << ", " << m[0].y << ", " << m[0].z << ") and (" << m[1].x
           << ", " << m[1].y << ", " << m[1].z << ")";
}

} // namespace

TEST_F(VersusFlowTest, StartImagesRevealThenHoldAndZWaitsForPlay) {
    VersusInit();
    Hold('Z');
    Versus.ZKeyWait = 50;
    Frame();
    device.ClearCalls();
    Frame();
    auto first = Calls(CallKind::Sprite, "./bmp/初め.bmp");
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].rect.right, 5) << "drawn with the width before the frame's step";
    EXPECT_EQ(At(first[0]), std::pair(200.0f, 125.0f));
    EXPECT_EQ(Calls(CallKind::Sprite, "./bmp/真ん中の枠.bmp").size(), 1u) << "the divider";
    EXPECT_EQ(FramesUntil(1), 138) << "140 frames of reveal, Z held all along";
    EXPECT_EQ(Versus.ZKeyWait, 190) << "Z did not act";
    ReleaseKeys();
    EXPECT_EQ(FramesUntil(2), 31) << "31 frames of the lower half on a first game";

    VersusRelease();
    VersusInit();
    EXPECT_EQ(FramesUntil(2), 140 + 30) << "StartHold goes on from 1 in later games";
}

TEST_F(VersusFlowTest, TheLeftLossSlidesInAndHoldsWhileZWaits) {
    StartPlaying();
    Versus.GameFlg = 3;
    Versus.left.ResultHold = 0;
    device.ClearCalls();
    Frame();
    auto image = Calls(CallKind::Sprite, "./bmp/勝敗.bmp");
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(At(image[0]), std::pair(200.0f, -168.0f));
    EXPECT_EQ(image[0].rect.bottom, 256) << "the upper half of the sheet";
    Hold('Z');
    Versus.ZKeyWait = 50;
    EXPECT_EQ(FramesUntil(6) + 1, 332) << "232 frames of slide, then 100 at rest; Z ignored";
    EXPECT_EQ(Versus.left.ResultSlideY, -168.0f);
    EXPECT_EQ(Versus.left.ResultHold, 1);
    EXPECT_TRUE(MarkersAt(-7.0f, 3.0f, 6.0f, 3.0f, -12.0f));
}

TEST_F(VersusFlowTest, ZSkipsTheRightLossWhoseImageLaterGoesOnFromWhereItStopped) {
    StartPlaying();
    Versus.GameFlg = 4;
    Frames(40);
    Hold('Z');
    Frame();
    EXPECT_EQ(Versus.GameFlg, 6);
    EXPECT_EQ(Versus.MenuSpin, 0);
    EXPECT_FLOAT_EQ(Versus.right.ResultSlideY, -168.0f + 41 * 1.5f) << "kept by the skip";
    EXPECT_EQ(Frame(), 7) << "Z waits 10 frames before it confirms";

    ReleaseKeys();
    Versus.ZKeyWait = 10;
    Hold('Z');
    EXPECT_EQ(Frame(), 6) << "play again";
    VersusInit();
    Versus.GameFlg = 4;
    device.ClearCalls();
    Frame();
    auto image = Calls(CallKind::Sprite, "./bmp/勝敗.bmp");
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(At(image[0]).second, -168.0f + 41 * 1.5f);
    EXPECT_EQ(image[0].rect.top, 257) << "the lower half of the sheet";
}

TEST_F(VersusFlowTest, PauseMenuMovesItsMarkersAndResumesOnAnUntouchedBoard) {
    StartPlaying();
    Put(Versus.left, 1, 0, 1, 4);
    Versus.ZKeyWait = 10;
    Hold('Z');
    Frame();
    ASSERT_EQ(Versus.GameFlg, 5);
    float cc = Versus.left.cc;
    ReleaseKeys();
    Versus.PauseMenuWait = 10;
    Hold(VK_DOWN);
    Frame();
    EXPECT_TRUE(MarkersAt(-4.7f, -1.3f, 4.5f, -1.3f, -8.0f)) << "restart";
    Frames(9);
    EXPECT_EQ(Versus.PauseSelect, 1) << "moves are 10 frames apart";
    Frame();
    EXPECT_EQ(Versus.PauseSelect, 2);
    EXPECT_TRUE(MarkersAt(-5.7f, -4.65f, 5.5f, -4.65f, -8.0f)) << "mode select";
    EXPECT_EQ(Versus.MenuSpin, 2 * 11);

    ReleaseKeys();
    Versus.PauseSelect = 0;
    Hold('Z');
    Frame();
    EXPECT_EQ(Versus.GameFlg, 2);
    EXPECT_TRUE(MarkersAt(-5.7f, 1.7f, 5.5f, 1.7f, -8.0f));
    EXPECT_EQ(Versus.left.grid[1][0][1], 4);
    EXPECT_EQ(Versus.left.cc, cc) << "the boards stood still during the pause";
}

TEST_F(VersusFlowTest, EitherMenuRestartsOrLeavesReleasingTheMode) {
    for (int menu : {5, 6}) {
        for (int item : {0, 1}) {
            StartPlaying();
            Versus.GameFlg = menu;
            (menu == 5 ? Versus.PauseSelect : Versus.EndSelect) = item + 1; // again, or leave
            Versus.ZKeyWait = 10;
            Hold('Z');
            int32_t next = Frame();
            ReleaseKeys();
            EXPECT_EQ(next, item == 0 ? 6 : 2) << "menu " << menu << ", item " << item;
            EXPECT_EQ(device.Count(CallKind::Present), device.Count(CallKind::Begin))
                << "the leaving frame is still presented";
            EXPECT_FALSE(Versus.music) << "left: released";
        }
    }
}

TEST_F(VersusFlowTest, MissingMusicAndSpriteBatchesAreSkipped) {
    std::filesystem::remove(data / "./bgm/game.WAV");
    StartPlaying();
    EXPECT_FALSE(Versus.music);
    Versus.resultSprite.reset();
    Frames(5);
    Versus.GameFlg = 4;
    device.ClearCalls();
    Frames(5);
    EXPECT_TRUE(Calls(CallKind::Sprite, "./bmp/勝敗.bmp").empty());
    EXPECT_EQ(Versus.right.ResultSlideY, -168.0f + 5 * 1.5f) << "the image still moves on";
}
