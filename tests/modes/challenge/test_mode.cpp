// The challenge mode through its frame function: level select, Z latch, play and verdict,
// pause and menus, music, and the drawing on the recorded calls.
#include <gtest/gtest.h>

#include <cstring>

#include "modes/challenge/challenge.h"
#include "support/scene.h"

using namespace platform;

namespace {

bool Playing(const SoundVar& s) {
    uint32_t status = 0;
    return s && s->GetStatus(&status) == S_OK && (status & DSBSTATUS_PLAYING) != 0;
}
uint32_t Position(const SoundVar& s) {
    uint32_t play = 0, write = 0;
    if (s) s->GetCurrentPosition(&play, &write);
    return play;
}

} // namespace

class ChallengeTest : public SceneTest {
  protected:
    void SetUp() override {
        SceneTest::SetUp();
        Challenge = ChallengeMode{};
        ChallengeInit();
    }
    void TearDown() override {
        ChallengeRelease();
        ChallengeReleaseRun();
        SceneTest::TearDown();
    }
    static int32_t Frame() { return ChallengeFrame(PresentParameters{}); }
    static void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    // A fresh Z press: held for one frame, then let go for one.
    static void PressZ() {
        Hold('Z');
        Frame();
        Hold('Z', false);
        Frame();
    }
    // From the level select into play on `level` (the waits already full).
    static void Play(int level) {
        ChallengeMode& c = Challenge;
        c.Difficulty = level;
        c.KeyLatch = 0;
        PressZ(); // explanation (the level is placed in its first update)
        PressZ(); // banners
        Frames(200);
        ASSERT_EQ(c.GameFlg, 4);
        c.MoveWait = c.SwapWait = 16;
    }
    static void Key(int vk) {
        Hold(vk);
        Frame();
        Hold(vk, false);
    }
};

TEST_F(ChallengeTest, TheLevelSelectStopsAtItsWallsAndTheFirstKeyMasksTheOthers) {
    ChallengeMode& c = Challenge;
    c.LevelSelectWait = 15;
    for (int vk : {VK_UP, VK_LEFT}) {
        Hold(vk);
        Frames(20);
        Hold(vk, false);
    }
    EXPECT_EQ(c.Difficulty, 1);
    Hold(VK_RIGHT);
    Frames(15 * 4 + 1); // moves at once, then every 15 frames: level 5, and no further
    Hold(VK_RIGHT, false);
    EXPECT_EQ(c.Difficulty, 5);
    EXPECT_FLOAT_EQ(c.WakuX, 6.0f + 176.0f * 4);
    Hold(VK_DOWN);
    Frames(40);
    Hold(VK_DOWN, false);
    EXPECT_EQ(c.Difficulty, 15) << "levels 11..15 are the last row";
    EXPECT_FLOAT_EQ(c.WakuY, 119.0f + 240.0f);

    c.Difficulty = 3, c.WakuX = 6 + 352, c.WakuY = 119, c.LevelSelectWait = 15;
    Hold(VK_UP);
    Hold(VK_RIGHT);
    Frames(40);
    ReleaseKeys();
    EXPECT_EQ(c.Difficulty, 3) << "Up, refused in the top row, masks Right";
}

TEST_F(ChallengeTest, AZHeldFromTheLevelSelectNeitherSkipsTheExplanationNorPausesPlay) {
    ChallengeMode& c = Challenge;
    c.KeyLatch = 0;
    Hold('Z');
    Frames(3);
    EXPECT_EQ(c.GameFlg, 1);
    EXPECT_EQ(c.BlockCnt, 1) << "level 1 placed on the explanation screen";
    Hold('Z', false);
    Frame();
    Hold('Z');
    Frames(200); // held through both banners and into play
    EXPECT_EQ(c.GameFlg, 4) << "the held press does not pause";
    Hold('Z', false);
    Frame();
    Key('Z');
    EXPECT_EQ(c.GameFlg, 7) << "a new press does";
}

TEST_F(ChallengeTest, NoSwapIsOfferedOnceTheCountIsSpentAndTheVerdictComes) {
    ChallengeMode& c = Challenge;
    Play(1);
    c.BlockX = 2; // (2,0,0) with (3,0,0): the clearing swap
    Key('X');
    EXPECT_EQ(c.BlockCnt, 0);
    c.CursorFlg = 1, c.BlockX = 3, c.BlockZ = 2; // (3,0,2) with the empty (3,0,3)
    c.SwapWait = 16;
    ASSERT_EQ(c.grid[3][0][2], 2);
    Key('X');
    EXPECT_EQ(c.BlockCnt, 0) << "the count never goes below 0";
    EXPECT_EQ(c.grid[3][0][2], 2) << "nothing moved";
    Frames(400);
    EXPECT_EQ(c.GameFlg, 5);
    EXPECT_EQ(c.ResultFlg, 1);
    EXPECT_EQ(c.MaxCombo, 2);
    EXPECT_TRUE(Playing(c.victory));
    EXPECT_FALSE(Playing(c.music));
}

TEST_F(ChallengeTest, ALastSwapThatChangesNothingFailsInTheSameUpdate) {
    ChallengeMode& c = Challenge;
    Play(1);
    c.BlockX = 3; // (3,0,0) with (4,0,0): two blocks of kind 1
    Key('X');
    EXPECT_EQ(c.GameFlg, 6);
    EXPECT_EQ(c.ResultFlg, 2);
    EXPECT_TRUE(Playing(c.defeat));
    EXPECT_EQ(Position(c.music), 0u);
    // Z: the end menu with its markers at their start.
    Frame();
    Key('Z');
    EXPECT_EQ(c.GameFlg, 8);
    EXPECT_FALSE(Playing(c.defeat)) << "stopped, to go on from there next time";
    EXPECT_EQ(c.MaxCombo, 0);
}

TEST_F(ChallengeTest, PauseFreezesTheBoardAndRetryShowsTheFullCountAgain) {
    ChallengeMode& c = Challenge;
    Play(10);
    // Level 10's blocks have fallen one row per update since the first update of play.
    EXPECT_EQ(c.grid[1][5][0], 0);
    Frame();
    Key('Z');
    ASSERT_EQ(c.GameFlg, 7);
    BlockGrid before;
    std::memcpy(before, c.grid, sizeof before);
    Frames(50);
    EXPECT_EQ(std::memcmp(before, c.grid, sizeof before), 0) << "nothing falls or vanishes";
    c.PauseWait = 11;
    Key(VK_DOWN); // retry
    Frame();
    Key('Z');
    EXPECT_EQ(c.GameFlg, 1);
    Frame();
    EXPECT_EQ(c.BlockCnt, 1);
    EXPECT_EQ(c.grid[1][11][0], 1) << "the level placed afresh";
    EXPECT_TRUE(Playing(c.music)) << "the play music goes on through the explanation";
}

TEST_F(ChallengeTest, MenuMarkersStandAtEveryItemsPlace) {
    ChallengeMode& c = Challenge;
    c.GameFlg = 7;
    const float pause[4][3] = {
        {-5.2f, 5.5f, 3.25f}, {-4.5f, 4.8f, 0.5f}, {-4.5f, 4.8f, -2.3f}, {-5.2f, 5.5f, -5.1f}};
    for (int item = 0; item < 4; ++item) {
        EXPECT_EQ(c.SelectFlg, item);
        EXPECT_NEAR(c.MarkerL.x, pause[item][0], 1e-5);
        EXPECT_NEAR(c.MarkerR.x, pause[item][1], 1e-5);
        EXPECT_NEAR(c.MarkerL.y, pause[item][2], 1e-5);
        EXPECT_NEAR(c.MarkerR.y, pause[item][2], 1e-5);
        c.PauseWait = 11;
        Key(VK_DOWN);
    }
    EXPECT_EQ(c.SelectFlg, 3) << "no item below leave";
    c.GameFlg = 8;
    c.MarkerL = {-5.2f, 4.5f, -10.0f}, c.MarkerR = {5.5f, 4.5f, -10.0f};
    const float end[3] = {4.5f, 0.5f, -3.2f};
    for (int item = 1; item <= 3; ++item) {
        EXPECT_EQ(c.EndSelectFlg, item);
        EXPECT_NEAR(c.MarkerL.y, end[item - 1], 1e-5);
        c.EndWait = 10;
        Key(VK_DOWN);
    }
    EXPECT_NEAR(c.MarkerL.x, -5.9f, 1e-5);
    EXPECT_NEAR(c.MarkerR.x, 6.2f, 1e-5);
}

TEST_F(ChallengeTest, LeavingFreesTheModeAndTheNextEntryStartsAtLevelOneWithCountersKept) {
    ChallengeMode& c = Challenge;
    Play(7);
    Frame();
    Key('Z');
    c.SelectFlg = 3;
    Frame();
    Hold('Z');
    EXPECT_EQ(Frame(), 2);
    ReleaseKeys();
    EXPECT_FALSE(c.music) << "released";
    const int32_t moveWait = c.MoveWait, startWait = c.StartWait;
    ChallengeInit();
    EXPECT_EQ(c.GameFlg, 0);
    EXPECT_EQ(c.Difficulty, 1);
    EXPECT_FLOAT_EQ(c.WakuX, 6.0f);
    EXPECT_EQ(c.MoveWait, moveWait);
    EXPECT_EQ(c.StartWait, startWait);
    for (const auto& slice : c.grid)
        for (const auto& row : slice)
            for (int32_t cell : row) ASSERT_EQ(cell, 0);
}

TEST_F(ChallengeTest, TheBoardIsDrawnSolidWireframeAndAsGhostsWithTheLidAndTheCursorOnTop) {
    ChallengeMode& c = Challenge;
    Play(1);
    c.grid[3][0][0] = -1; // a vanishing cell in view
    c.pairs[3][0][0][0] = 1;
    c.CursorFlg = 1, c.BlockX = 3, c.BlockZ = 0, c.RightClearFlg = 4; // X 4 and 5 cut away
    c.LeftClearFlg = 0;                                               // and Z 0
    device.ClearCalls();
    Frame();
    const auto meshes = Calls(CallKind::Mesh);
    int wire = 0, ghosts4 = 0, lid = 0;
    for (const auto& m : meshes) {
        if (m.wireframe) ++wire;
        if (m.Alpha() == 0.1f && m.matrix.m[3][1] < -9.0f &&
            m.resource.find("１.x") != std::string::npos)
            ++ghosts4;
        if (m.Alpha() == 0.5f) ++lid;
    }
    EXPECT_EQ(wire, 0) << "(3,0,0) lies at Z 0: cut away, drawn as a faint ghost instead";
    EXPECT_EQ(ghosts4, 2) << "(4,0,0) lies in both cut-away regions: drawn twice";
    EXPECT_GE(lid, 1);
    // The depth clear comes after every model and before the cursor.
    const auto& all = device.Calls();
    size_t clear = 0, cursor = 0, lastMesh = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        if (all[i].kind == CallKind::Mesh) lastMesh = i;
        if (all[i].kind == CallKind::Clear && all[i].value == CLEAR_ZBUFFER) clear = i;
        if (all[i].kind == CallKind::Quad && all[i].resource.find("カーソル") != std::string::npos)
            cursor = i;
    }
    EXPECT_LT(lastMesh, clear);
    EXPECT_LT(clear, cursor);

    c.LeftClearFlg = -1, c.RightClearFlg = 6;
    device.ClearCalls();
    Frame();
    wire = 0;
    for (const auto& m : Calls(CallKind::Mesh)) wire += m.wireframe;
    EXPECT_GE(wire, 1) << "a vanishing cell in view is drawn as a wireframe";
}
