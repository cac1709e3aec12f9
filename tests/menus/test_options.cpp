// The options scene: rows and levels with their waits, the volumes, the Z latch, the glyphs.
#include "menus/options.h"

#include "media/sound.h"
#include "menus/select.h"
#include "support/scene.h"

using namespace platform;

namespace {

class OptionsTest : public SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        Options = OptionsScene{};
        Options.RowWait = Options.SeWait = Options.SoundWait = 11; // ready to act
    }
    void TearDown() override {
        OptionsRelease();
        SelectRelease();
        Vol = SeVol = 0;
        SceneTest::TearDown();
    }
    int32_t Frame() { return OptionsFrame(PresentParameters{}); }
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
    EXPECT_EQ(Options.OptionsKeyLatch, 0);
    EXPECT_EQ(Options.OptionsRow, 0);
    EXPECT_EQ(Options.Se, 3);
}

TEST_F(OptionsTest, LevelsWrapRoundAndBecomeVolumes) {
    OptionsInit();
    EXPECT_EQ(Tap(VK_RIGHT), 11);
    EXPECT_EQ(Options.Se, 0) << "Right on level 3 gives level 0";
    EXPECT_EQ(SeVol, -5000) << "-50 dB, not silent";
    for (int i = 0; i < 11; ++i) Frame();
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
    EXPECT_FLOAT_EQ(Options.OptionsCursor.x, -12.0f);
    EXPECT_FLOAT_EQ(Options.OptionsCursor.y, -3.0f);
    EXPECT_EQ(Options.RowWait, 1);
    for (int i = 0; i < 9; ++i) Frame();
    Tap(VK_DOWN);
    EXPECT_EQ(Options.OptionsRow, 1) << "RowWait must exceed 10";
    Tap(VK_DOWN);
    EXPECT_EQ(Options.OptionsRow, 2);
    EXPECT_FLOAT_EQ(Options.OptionsCursor.y, -7.0f);
    int wait = Options.RowWait;
    for (int i = 0; i < 12; ++i) Frame();
    Tap(VK_DOWN);
    EXPECT_EQ(Options.OptionsRow, 2);
    EXPECT_EQ(Options.RowWait, wait + 13) << "Down on row 2 does not restart the wait";
}

TEST_F(OptionsTest, DownAndRightTogetherChangeTheRowThenTheMusicLevel) {
    OptionsInit();
    Hold(VK_DOWN);
    Hold(VK_RIGHT);
    Frame();
    EXPECT_EQ(Options.OptionsRow, 1);
    EXPECT_EQ(Options.Sound, 0) << "the level step applies to the row just reached";
    EXPECT_EQ(Options.Se, 3);
    EXPECT_EQ(Vol, -5000);
}

TEST_F(OptionsTest, MusicLevelReachesScenesCreatedLaterAndIsResetOnReturn) {
    OptionsInit();
    Tap(VK_DOWN); // music row
    for (int i = 0; i < 11; ++i) Frame();
    Tap(VK_RIGHT); // 3 -> 0
    for (int i = 0; i < 11; ++i) Frame();
    Tap(VK_RIGHT); // 0 -> 1
    EXPECT_EQ(Vol, -1000);
    for (int i = 0; i < 11; ++i) Frame();
    Tap(VK_DOWN); // back row
    // The visit's first Z clears the latch and, on row 2, leaves in the same frame.
    Hold('Z');
    device.ClearCalls();
    EXPECT_EQ(Frame(), 2);
    EXPECT_EQ(device.Count(CallKind::Present), 0u);
    ReleaseKeys();
    EXPECT_EQ(Vol, -1000) << "kept after leaving";

    SelectInit(); // a scene created afterwards
    int32_t volume = 0;
    Select.music->GetVolume(&volume);
    EXPECT_EQ(volume, -1000);
    SelectRelease();

    OptionsInit();
    EXPECT_EQ(Options.Sound, 3);
    Frame();
    EXPECT_EQ(Vol, 0) << "from the first frame back in the options";
}

TEST_F(OptionsTest, GlyphsShowBothLevelsAndMarkTheCurrentRow) {
    OptionsInit();
    Options.Se = 1;
    Options.Sound = 2;
    device.ClearCalls();
    Frame();
    std::vector<RecordedCall> sprites;
    for (const auto& c : device.Calls())
        if (c.kind == CallKind::Sprite) sprites.push_back(c);
    ASSERT_EQ(sprites.size(), 4u);
    auto at = [](const RecordedCall& c) { return std::pair(c.matrix.m[3][0], c.matrix.m[3][1]); };
    EXPECT_EQ(sprites[0].rect.left, 129) << "music level 2";
    EXPECT_EQ(at(sprites[0]), std::pair(600.0f, 290.0f));
    EXPECT_EQ(sprites[1].rect.left, 65) << "effects level 1";
    EXPECT_EQ(at(sprites[1]), std::pair(600.0f, 187.0f));
    EXPECT_EQ(sprites[2].rect.top, 129) << "left mark on the effects row";
    EXPECT_EQ(at(sprites[2]), std::pair(500.0f, 187.0f));
    EXPECT_EQ(at(sprites[3]), std::pair(700.0f, 187.0f));
    for (const auto& s : sprites) EXPECT_EQ(s.resource, "./bmp/オプションの文字.bmp");
}
