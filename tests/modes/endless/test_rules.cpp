// The endless mode's rules: cursor, rising, the end of the game, the figures, menus.
// The cursor's animation frames and the pacing of swaps (a refused one restarting the wait too)
// are compared in the recorded whole game's dump and traces.
#include <algorithm>
#include <array>

#include "endless_fixture.h"

using namespace platform;

namespace {

using boards::Cursor;
Cursor Now() {
    return boards::CursorTuple(Endless);
}

// Runs `updates` updates; returns every cursor seen, the first included.
std::vector<Cursor> Walk(int updates) {
    std::vector<Cursor> seen{Now()};
    for (int i = 0; i < updates; ++i)
        if (EndlessUpdate(), Now() != seen.back()) seen.push_back(Now());
    return seen;
}

bool Near(const Vector3& v, float x, float y) {
    return std::abs(v.x - x) < 1e-5f && std::abs(v.y - y) < 1e-5f;
}

} // namespace

// Where each move goes is the cursor table's; here the endless keys and their pace: a move
// every 16 updates, a refused move leaving the wait running, a depth move at its limit
// restarting it.
TEST_F(EndlessTest, ArrowsAndShiftMoveTheCursorEvery16UpdatesAndOnlyRefusalsKeepTheWait) {
    StartPlaying();
    Endless.MoveWait = 16;
    Hold(VK_RIGHT);
    std::vector<Cursor> path = Walk(16 * 10);
    ASSERT_EQ(path.size(), 9u) << "one step every 16 updates, the last two refused at Z 3";
    EXPECT_EQ(path[5], (Cursor{5, 0, 0, 1, -1, 6})) << "round the corner";
    EXPECT_EQ(path.back(), (Cursor{5, 0, 3, 1, -1, 6}));
    EXPECT_GT(Endless.MoveWait, 16) << "refused moves do not restart the wait";

    ReleaseKeys();
    Hold(VK_SHIFT);
    Hold(VK_UP);
    path = Walk(16 * 7);
    ASSERT_EQ(path.size(), 6u);
    EXPECT_EQ(path.back(), (Cursor{0, 0, 3, 1, -1, 1})) << "Shift + Up: into the board";
    EXPECT_EQ(Endless.MoveWait, 16) << "moves at the limit still restarted the wait";
    EXPECT_EQ(Endless.CursorPos.x, 0.0f);
}

TEST_F(EndlessTest, TheBoardRisesWithTheLevelAndStopsWhileALineVanishes) {
    StartPlaying();
    Endless.Lv.d[0] = 4; // level 4 from the next update on
    EndlessUpdate();
    EXPECT_EQ(Endless.LvSum, 4);
    float before = Endless.cc;
    EndlessUpdate();
    EXPECT_NEAR(Endless.cc - before, 4 * 0.0005, 1e-6);
    Hold('A');
    before = Endless.cc;
    EndlessUpdate();
    EXPECT_NEAR(Endless.cc - before, 4 * 0.0005 + 0.01, 1e-6) << "A speeds the rise up";

    // A vanishing line halts the rise, A or not.
    for (int x = 0; x < 3; ++x) Endless.grid[x][0][4] = 3;
    EndlessUpdate(); // marks the line
    ASSERT_LT(Endless.grid[0][0][4], 0);
    before = Endless.cc;
    Updates(50);
    EXPECT_EQ(Endless.cc, before);
    Updates(60);
    EXPECT_GT(Endless.cc, before) << "rising again once the line is gone";
}

TEST_F(EndlessTest, TheGameEndsAtThe301stCountedUpdateVanishingPausesTheCount) {
    StartPlaying();
    boards::FillColumn(Endless, 0, 0);
    Updates(250);
    Endless.grid[0][11][0] = 0; // emptying the top row resets the count
    EndlessUpdate();
    EXPECT_EQ(Endless.EndCnt + Endless.TopWarn, 0);
    boards::FillColumn(Endless, 0, 0);
    Endless.cc = 0;
    Updates(200);
    EXPECT_EQ(Endless.EndCnt, 200);
    EXPECT_EQ(Endless.TopWarn, 1);
    EXPECT_EQ(Endless.cc, 0.0f) << "no rise while the top row is occupied";

    // A line vanishing elsewhere freezes the count without resetting it.
    for (int z = 0; z < 3; ++z) Endless.grid[3][0][z] = 5;
    Updates(101);
    EXPECT_EQ(Endless.EndCnt, 200);
    EndlessUpdate(); // the line is emptied
    EXPECT_EQ(Endless.EndCnt, 201) << "counting resumes where it stopped";
    Updates(99);
    ASSERT_EQ(Endless.EndCnt, 300);
    EXPECT_EQ(Endless.GameFlg, 2);
    EndlessUpdate();
    EXPECT_EQ(Endless.GameFlg, 3) << "over at the 301st counted update";
    uint32_t music = 1, defeat = 0;
    Endless.music->GetStatus(&music);
    Endless.defeat->GetStatus(&defeat);
    EXPECT_EQ(music, 0u) << "the music stopped";
    EXPECT_EQ(defeat, DSBSTATUS_PLAYING) << "the defeat sound plays once";
}

// Lines scoring into the score's digits and their carry are compared in the whole game's dump
// and score panel.
TEST_F(EndlessTest, LevelsClimbOnePerUpdateAndTheChainAndLevelAreShownCarried) {
    StartPlaying();
    Endless.ScoreDigits.d[2] = 9; // 900 at once
    std::vector<int> levels;
    for (int i = 0; i < 5; ++i) levels.push_back((EndlessUpdate(), Endless.LvSum));
    EXPECT_EQ(levels, (std::vector<int>{1, 2, 3, 4, 4}));

    Endless.ComboSum = 12;
    EndlessUpdate();
    const Digits& c = Endless.Combo;
    EXPECT_TRUE(c.count == 2 && c.d[1] == 1 && c.d[0] == 2) << "the chain of 12 shown";

    Endless.Lv.d[0] = 9; // level digits carry before they are shown
    Endless.ScoreDigits.d[4] = 9;
    EndlessUpdate();
    EXPECT_TRUE(Endless.Lv.count == 2 && Endless.Lv.d[1] == 1 && Endless.Lv.d[0] == 0);
}

TEST_F(EndlessTest, TimeCountsThePausesToo) {
    StartPlaying();
    Frames(121);
    EXPECT_EQ(Endless.Sec, 2);
    Endless.GameFlg = 5;
    Frames(25 * 60);
    Endless.GameFlg = 2;
    Frame();
    EXPECT_EQ(Endless.Sec, 27) << "25 seconds of pause count as playing time";
    Endless.StartTime -= 3600u * 1000 + 61u * 1000;
    Frame();
    EXPECT_EQ((std::array{Endless.Hour, Endless.Min, Endless.Sec}), (std::array{1, 1, 28}));
}

// R gives up without them: the whole game does so.
TEST_F(EndlessTest, TheCheatKeyNeedsDebugKeys) {
    StartPlaying();
    Hold('Q');
    EndlessUpdate();
    EXPECT_EQ(Endless.ScoreValue, 0);
    EnableDebugKeys(true);
    EndlessUpdate();
    EXPECT_EQ(Endless.ScoreValue, 10);
}

TEST_F(EndlessTest, PauseAndEndMenusMoveTheirMarkersAtTheirPace) {
    StartPlaying();
    Endless.GameFlg = 5;
    Endless.PauseMenuWait = 10;
    Hold(VK_DOWN);
    std::vector<int> items;
    for (int i = 0; i < 25; ++i) items.push_back((EndlessUpdate(), Endless.PauseSelect));
    EXPECT_EQ((std::array{items[0], items[9], items[10]}), (std::array{1, 1, 2}))
        << "ten updates apart (where the pause markers then stand is in the whole game's dump)";

    Endless.GameFlg = 6;
    Endless.EndSelect = 1;
    Endless.MarkerL = {-7, 3, -12};
    Endless.MarkerR = {6, 3, -12};
    Endless.MarkerAngle = 0;
    Endless.EndMenuWait = 10;
    EndlessUpdate();
    EXPECT_EQ(Endless.EndSelect, 2);
    EXPECT_NEAR(Endless.MarkerL.x, -7.2f, 1e-5f);
    EXPECT_TRUE(Near(Endless.MarkerR, 6.7f, -1.7f));
    EXPECT_EQ(Endless.MarkerAngle, 1) << "the end menu's markers turn a degree a frame";
}
