// The options scene: rows and levels with their waits, the volumes, the Z latch, the glyphs.
#include "menus/options.h"

#include <array>

#include "media/sound.h"
#include "support/scene.h"

using namespace platform;

namespace {

class OptionsTest : public MenuTest<Options, OptionsFrame, OptionsRelease> {
  protected:
    void SetUp() override {
        MenuTest::SetUp();
        Options.RowWait = Options.SeWait = Options.SoundWait = 11; // ready to act
    }
    // Presses a key for one frame, then lets it go.
    int32_t Tap(int vk) {
        Hold(vk);
        int32_t r = Frame();
        Hold(vk, false);
        return r;
    }
};

} // namespace

TEST_F(OptionsTest, ZHeldOnEntryOnlyClearsTheLatch) {
    Hold('Z');
    ASSERT_EQ(OptionsInit(), 11);
    EXPECT_EQ(Frame(), 11);
    EXPECT_EQ((std::array{Options.OptionsKeyLatch, Options.OptionsRow, Options.Se}),
              (std::array{0, 0, 3}));
}

TEST_F(OptionsTest, LevelsWrapRoundAndBecomeVolumes) {
    OptionsInit();
    EXPECT_EQ(Tap(VK_RIGHT), 11);
    EXPECT_EQ(Options.Se, 0) << "Right on level 3 gives level 0";
    EXPECT_EQ(SeVol, -5000) << "-50 dB, not silent";
    Frames(9);
    Tap(VK_LEFT);
    EXPECT_EQ(Options.Se, 0) << "the wait must exceed 10";
    Tap(VK_LEFT);
    EXPECT_EQ(Options.Se, 3) << "Left on level 0 gives level 3";
    EXPECT_EQ(SeVol, 0);
    EXPECT_EQ(Options.Sound, 3) << "only the row under the cursor changes";
}

TEST_F(OptionsTest, RowsMoveTheCursorAndEndsOfTheListKeepTheWait) {
    OptionsInit();
    Tap(VK_UP);
    EXPECT_EQ(Options.OptionsRow, 0);
    EXPECT_EQ(Options.RowWait, 12) << "Up on row 0 does not restart the wait";
    GetAsyncKeyState(VK_UP); // row 0 never asked for Up: forget that press
    Tap(VK_DOWN);
    EXPECT_EQ(Options.OptionsRow, 1);
    EXPECT_TRUE(Options.OptionsCursor.x == -12.0f && Options.OptionsCursor.y == -3.0f);
    EXPECT_EQ(Options.RowWait, 1);
    Frames(9);
    Tap(VK_DOWN);
    EXPECT_EQ(Options.OptionsRow, 1) << "RowWait must exceed 10";
    Tap(VK_DOWN);
    EXPECT_EQ(Options.OptionsRow, 2);
    EXPECT_FLOAT_EQ(Options.OptionsCursor.y, -7.0f);
    int wait = Options.RowWait;
    Frames(12);
    Tap(VK_DOWN);
    EXPECT_EQ(Options.OptionsRow, 2);
    EXPECT_EQ(Options.RowWait, wait + 13) << "Down on row 2 does not restart the wait";
}

TEST_F(OptionsTest, DownAndRightTogetherChangeTheRowThenTheMusicLevel) {
    OptionsInit();
    Hold(VK_DOWN);
    Hold(VK_RIGHT);
    Frame();
    // The level step applies to the row just reached.
    EXPECT_EQ((std::array{Options.OptionsRow, Options.Sound, Options.Se, Vol}),
              (std::array{1, 0, 3, -5000}));
}

TEST_F(OptionsTest, MusicLevelFollowsAtOnceAndIsKeptAfterLeavingAndForTheNextVisit) {
    OptionsInit();
    for (int vk : {VK_DOWN, VK_RIGHT, VK_RIGHT, VK_DOWN}) { // music row, 3 -> 0 -> 1, back row
        Tap(vk);
        Frames(11);
    }
    int32_t volume = 0;
    Options.music->GetVolume(&volume);
    EXPECT_EQ(volume, Vol) << "the music follows its level at once";
    EXPECT_EQ(Vol, -1000);
    // The visit's first Z clears the latch and, on row 2, leaves in the same frame.
    Hold('Z');
    device.ClearCalls();
    EXPECT_EQ(Frame(), 2);
    EXPECT_EQ(device.Count(CallKind::Present), 0u);
    ReleaseKeys();
    EXPECT_EQ(Vol, -1000)
        << "kept after leaving; scenes made later take it (the mode select's test)";

    OptionsInit();
    EXPECT_EQ((std::array{Options.Sound, Options.Se}), (std::array{1, 3}))
        << "a visit starts with the levels left last";
    Frame();
    EXPECT_EQ(Vol, -1000);
}

TEST_F(OptionsTest, GlyphsShowBothLevelsAndMarkTheCurrentRow) {
    OptionsInit();
    Options.Se = 1;
    Options.Sound = 2;
    device.ClearCalls();
    Frame();
    auto sprites = Calls(CallKind::Sprite, "./bmp/オプションの文字.bmp");
    ASSERT_EQ(sprites.size(), 4u);
    ASSERT_EQ(device.Count(CallKind::Sprite), 4u);
    EXPECT_EQ(sprites[0].rect.left, 129) << "music level 2";
    EXPECT_EQ(At(sprites[0]), std::pair(600.0f, 290.0f));
    EXPECT_EQ(sprites[1].rect.left, 65) << "effects level 1";
    EXPECT_EQ(At(sprites[1]), std::pair(600.0f, 187.0f));
    EXPECT_EQ(sprites[2].rect.top, 129) << "left mark on the effects row";
    EXPECT_EQ(At(sprites[2]), std::pair(500.0f, 187.0f));
    EXPECT_EQ(At(sprites[3]), std::pair(700.0f, 187.0f));
}
