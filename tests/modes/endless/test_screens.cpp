// The endless mode's frame flow: phases and their frame counts, the Z key, the records the
// results raise. The score panel of play and the results screen are compared call by call in
// the recorded whole game's traces.
#include <array>

#include "endless_fixture.h"

using namespace platform;

using EndlessFlowTest = EndlessTest;

// The frames of both banner phases, in a first game and a later one, are compared in the
// recorded whole game; here the one frame between them that no trace shows.
TEST_F(EndlessFlowTest, TheFrameThatCompletesTheRevealShowsBothHalvesAndCountsAWait) {
    EndlessInit();
    ASSERT_EQ(FramesUntil(1, 139), -1);
    device.ClearCalls();
    ASSERT_EQ(FramesUntil(1, 1), 1) << "phase 0 lasts 140 frames";
    auto turn = Calls(CallKind::Sprite, "./bmp/初め.bmp");
    ASSERT_EQ(turn.size(), 2u);
    EXPECT_EQ(turn[0].rect.bottom, 256);
    EXPECT_EQ(turn[1].rect.top, 257);
    EXPECT_EQ(Endless.StartWait, 1);
}

TEST_F(EndlessFlowTest, GameOverBannerSlidesDownRestsAndGivesWayToTheResults) {
    StartPlaying();
    Hold('R');
    Frame();
    Hold('R', false);
    ASSERT_EQ(Endless.GameFlg, 3);
    EXPECT_FLOAT_EQ(Endless.ResultSlideY, -166.5f) << "the slide starts in the same frame";
    Hold('Z');
    Endless.ZKeyWait = 50;
    Frames(100);
    EXPECT_EQ(Endless.GameFlg, 3) << "Z does nothing while the banner shows";
    EXPECT_EQ(Endless.ZKeyWait, 150);
    Hold('Z', false);
    int n = FramesUntil(4);
    EXPECT_EQ(n + 101, 332) << "232 frames of slide in all, then 100 at rest";
    EXPECT_EQ(Endless.ResultSlideY, -168.0f);
}

TEST_F(EndlessFlowTest, HeldZPausesThenResumesTenFramesApart) {
    StartPlaying();
    Endless.ZKeyWait = 7;
    Hold('Z');
    std::vector<int> flags;
    for (int i = 0; i < 25; ++i) flags.push_back((Frame(), Endless.GameFlg));
    // Pauses in the first frame with ZKeyWait at 10, resumes ten frames later, and so on.
    EXPECT_EQ((std::array{flags[2], flags[3], flags[12], flags[13], flags[22], flags[23]}),
              (std::array{2, 5, 5, 2, 2, 5}));
}

TEST_F(EndlessFlowTest, PauseMenuRestartsOrLeavesReleasingTheMode) {
    for (int item : {1, 2}) {
        StartPlaying();
        Endless.GameFlg = 5;
        Endless.PauseSelect = item;
        Endless.ZKeyWait = 10;
        Hold('Z');
        device.ClearCalls();
        EXPECT_EQ(Frame(), item == 1 ? 4 : 2);
        EXPECT_EQ(device.Count(CallKind::Present), 1u) << "the leaving frame is presented";
        EXPECT_TRUE(!Endless.models[1].mesh && !Endless.music) << "released";
        ReleaseKeys();
    }
}

TEST_F(EndlessFlowTest, ResultsLabelEveryFigureThatBeatsItsRecord) {
    StartPlaying();
    Endless.ScoreDigits.d[2] = 3; // 300 this game
    Frame();
    ASSERT_EQ(Endless.ScoreValue, 300);
    Records.RecScore = 300; // exactly the record: no label
    Endless.GameFlg = 4;
    device.ClearCalls();
    Frame();
    auto labels = Calls(CallKind::Sprite, "./bmp/記録更新.bmp");
    ASSERT_EQ(labels.size(), 1u) << "only the level beats its record of 0";
    EXPECT_EQ(At(labels[0]), std::pair(500.0f, 290.0f));
    EXPECT_EQ((std::array{Records.RecLevel, Records.RecLevelKeta, Endless.ScoreRecFlg}),
              (std::array{Endless.LvSum, 1, 0}));

    Records.RecScore = 299;
    Endless.Sec = 5;
    Endless.ComboSum = 2;
    SetDigits(Endless.Combo, 2);
    device.ClearCalls();
    Frame();
    EXPECT_EQ(device.Count(CallKind::Sprite, "./bmp/記録更新.bmp"), 4u) << "all four beaten now";
    const EndlessRecords& r = Records;
    EXPECT_EQ((std::array{r.RecScore, r.RecScoreKeta, r.RecSec, r.RecCombo}),
              (std::array{300, 3, 5, 2}));
}

TEST_F(EndlessFlowTest, EndMenuPlaysAgainOrReturnsAndTheRecordsAreWritten) {
    StartPlaying();
    Frame(); // level 1
    Endless.GameFlg = 4;
    Endless.ZKeyWait = 10;
    Hold('Z');
    Frame();
    EXPECT_EQ(Endless.GameFlg, 6);
    EXPECT_TRUE(Endless.MarkerL.x == -7.0f && Endless.MarkerR.z == -12.0f);
    for (int i = 0; i < 9; ++i) EXPECT_EQ(Frame(), 5) << "Z acts at most every 10 frames";
    EXPECT_EQ(Frame(), 4) << "play again";
    EXPECT_EQ(ReadData("./notepad/Max keta.txt"), "0 0 1");
}
