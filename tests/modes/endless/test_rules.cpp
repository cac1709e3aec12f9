// The endless mode's rules: cursor, swaps, rising, the end of the game, the figures, menus.
#include <algorithm>

#include "endless_fixture.h"

using namespace platform;

namespace {

struct Cursor {
    int x, y, z, face, left, right;
    bool operator==(const Cursor&) const = default;
};
Cursor Now() {
    const EndlessMode& e = Endless;
    return {e.BlockX, e.BlockY, e.BlockZ, e.CursorFlg, e.LeftClearFlg, e.RightClearFlg};
}
std::ostream& operator<<(std::ostream& o, const Cursor& c) {
    return o << "(" << c.x << "," << c.y << "," << c.z << " face " << c.face << " clear " << c.left
             << "," << c.right << ")";
}

// Runs updates until the cursor has changed `moves` times; returns the updates between them.
std::vector<Cursor> Walk(int updates) {
    std::vector<Cursor> seen{Now()};
    for (int i = 0; i < updates; ++i) {
        EndlessUpdate();
        if (!(Now() == seen.back())) seen.push_back(Now());
    }
    return seen;
}

// A column of alternating kinds from row 0 to the top in slice x, depth z.
void FillColumn(int x, int z) {
    for (int y = 0; y < kRows; ++y) Endless.grid[x][y][z] = y % 2 ? 1 : 2;
}

} // namespace

TEST_F(EndlessTest, CursorWalksAlongTheFrontTurnsTheCornerAndComesBack) {
    StartPlaying();
    Endless.MoveWait = 16;
    Hold(VK_RIGHT);
    std::vector<Cursor> path = Walk(16 * 10);
    std::vector<Cursor> expected = {{0, 0, 0, 0, -1, 6}, {1, 0, 0, 0, -1, 6}, {2, 0, 0, 0, -1, 6},
                                    {3, 0, 0, 0, -1, 6}, {4, 0, 0, 0, -1, 6}, {5, 0, 0, 1, -1, 6},
                                    {5, 0, 1, 1, -1, 6}, {5, 0, 2, 1, -1, 6}, {5, 0, 3, 1, -1, 6}};
    EXPECT_EQ(path, expected) << "one step every 16 updates, the last refused at Z 3";
    Hold(VK_RIGHT, false);
    Hold(VK_LEFT);
    path = Walk(16 * 3 + 1);
    EXPECT_EQ(path.back(), (Cursor{4, 0, 0, 0, -1, 6})) << "back round the corner at X 4, Z 0";
    EXPECT_EQ(Endless.CursorPos.x, 4.0f);
}

TEST_F(EndlessTest, DepthMovesCutAwayTheSlicesInFrontAndStopAtTheBack) {
    StartPlaying();
    Endless.MoveWait = 16;
    Hold(VK_SHIFT);
    Hold(VK_UP);
    std::vector<Cursor> path = Walk(16 * 6);
    ASSERT_EQ(path.size(), 5u);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(path[i].z, i);
        EXPECT_EQ(path[i].left, i - 1) << "the slices in front are seen through";
    }
    EXPECT_EQ(Endless.MoveWait, 16) << "moves at the limit still restarted the wait";

    // Turning to the right face from Z 4 keeps the pair on the board.
    Hold(VK_SHIFT, false);
    Hold(VK_UP, false);
    Endless.BlockX = 4;
    Endless.MoveWait = 16;
    Hold(VK_RIGHT);
    EndlessUpdate();
    EXPECT_EQ(Now(), (Cursor{5, 0, 3, 1, -1, 6}));

    // On the right face, Shift + Up goes towards X 0 and cuts away the slices to the right.
    Hold(VK_RIGHT, false);
    Hold(VK_SHIFT);
    Hold(VK_UP);
    path = Walk(16 * 6);
    EXPECT_EQ(path.back(), (Cursor{0, 0, 3, 1, -1, 1}));
    EXPECT_EQ(path[1], (Cursor{4, 0, 3, 1, -1, 5}));
}

TEST_F(EndlessTest, SwapsArePacedAndARefusedSwapStillRestartsTheWait) {
    StartPlaying();
    Endless.grid[0][0][0] = 1;
    Endless.grid[1][0][0] = 2;
    Endless.SwapWait = 15;
    Hold('X');
    std::vector<int> swapsAt;
    int32_t before = Endless.grid[0][0][0];
    for (int i = 1; i <= 30; ++i) {
        EndlessUpdate();
        if (Endless.grid[0][0][0] != before) swapsAt.push_back(i), before = Endless.grid[0][0][0];
    }
    EXPECT_EQ(swapsAt, (std::vector<int>{1, 16}));

    Endless.BlockY = 5; // two empty cells
    Endless.SwapWait = 15;
    EndlessUpdate();
    EXPECT_EQ(Endless.SwapWait, 1);
}

TEST_F(EndlessTest, TheBoardRisesWithTheLevelCarryingTheCursorAndStopsWhileALineVanishes) {
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
    Hold('A', false);

    // A vanishing line halts the rise.
    for (int x = 0; x < 3; ++x) Endless.grid[x][0][4] = 3;
    EndlessUpdate(); // marks the line
    ASSERT_LT(Endless.grid[0][0][4], 0);
    before = Endless.cc;
    Hold('A');
    for (int i = 0; i < 50; ++i) EndlessUpdate();
    EXPECT_EQ(Endless.cc, before);
    for (int i = 0; i < 60; ++i) EndlessUpdate();
    EXPECT_GT(Endless.cc, before) << "rising again once the line is gone";
    Hold('A', false);

    // A full row rises in; the cursor rides up with its blocks, never past row 11.
    Endless.BlockY = 11;
    Endless.cc = 0.8799f;
    EndlessUpdate();
    EXPECT_EQ(Endless.cc, 0.0f);
    EXPECT_EQ(Endless.BlockY, 11);
    EXPECT_EQ(Endless.NextRowReady, 0);
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) {
            EXPECT_GE(Endless.grid[x][0][z], 1);
            EXPECT_LE(Endless.grid[x][0][z], 5);
        }
    EndlessUpdate();
    EXPECT_EQ(Endless.NextRowReady, 1) << "a new next row is drawn at the next update";
}

TEST_F(EndlessTest, TheGameEndsAtThe301stCountedUpdateAndVanishingPausesTheCount) {
    StartPlaying();
    FillColumn(0, 0);
    for (int i = 0; i < 200; ++i) EndlessUpdate();
    EXPECT_EQ(Endless.EndCnt, 200);
    EXPECT_EQ(Endless.TopWarn, 1);
    EXPECT_EQ(Endless.cc, 0.0f) << "no rise while the top row is occupied";

    // A line vanishing elsewhere freezes the count without resetting it.
    for (int z = 0; z < 3; ++z) Endless.grid[3][0][z] = 5;
    for (int i = 0; i < 101; ++i) EndlessUpdate();
    EXPECT_EQ(Endless.EndCnt, 200);
    EndlessUpdate(); // the line is emptied
    EXPECT_EQ(Endless.EndCnt, 201) << "counting resumes where it stopped";

    for (int i = 0; i < 99; ++i) EndlessUpdate();
    ASSERT_EQ(Endless.EndCnt, 300);
    EXPECT_EQ(Endless.GameFlg, 2);
    EndlessUpdate();
    EXPECT_EQ(Endless.GameFlg, 3) << "over at the 301st counted update";
    uint32_t status = 1;
    Endless.music->GetStatus(&status);
    EXPECT_EQ(status, 0u) << "the music stopped";
    Endless.defeat->GetStatus(&status);
    EXPECT_EQ(status, DSBSTATUS_PLAYING) << "the defeat sound plays once";
}

TEST_F(EndlessTest, EmptyingTheTopRowResetsTheCount) {
    StartPlaying();
    FillColumn(0, 0);
    for (int i = 0; i < 250; ++i) EndlessUpdate();
    Endless.grid[0][11][0] = 0;
    EndlessUpdate();
    EXPECT_EQ(Endless.EndCnt, 0);
    EXPECT_EQ(Endless.TopWarn, 0);
}

TEST_F(EndlessTest, ScoreCarriesLevelsClimbOnePerUpdateAndTheChainIsKept) {
    StartPlaying();
    Endless.ScoreDigits.d[1] = 9; // 90
    for (int x = 0; x < 4; ++x) Endless.grid[x][0][0] = 2;
    EndlessUpdate();
    EXPECT_EQ(Endless.ScoreValue, 110) << "a line of four on 90";
    EXPECT_EQ(Endless.ScoreDigits.count, 3);
    EXPECT_EQ(Endless.ScoreDigits.d[0], 0);
    EXPECT_EQ(Endless.ScoreDigits.d[1], 1);
    EXPECT_EQ(Endless.ScoreDigits.d[2], 1);

    Clear();
    Endless.ScoreDigits = Digits{};
    Endless.ScoreDigits.d[2] = 9; // 900 at once
    std::vector<int> levels;
    for (int i = 0; i < 5; ++i) {
        EndlessUpdate();
        levels.push_back(Endless.LvSum);
    }
    EXPECT_EQ(levels, (std::vector<int>{1, 2, 3, 4, 4}));

    Endless.ComboSum = 12;
    EndlessUpdate();
    EXPECT_EQ(Endless.Combo.count, 2);
    EXPECT_EQ(Endless.Combo.d[1] * 10 + Endless.Combo.d[0], 12);
}

TEST_F(EndlessTest, LevelDigitsCarryBeforeTheyAreShown) {
    StartPlaying();
    Endless.Lv.d[0] = 9;
    Endless.ScoreDigits.d[4] = 9; // 90000
    EndlessUpdate();
    EXPECT_EQ(Endless.Lv.d[0], 0);
    EXPECT_EQ(Endless.Lv.d[1], 1);
    EXPECT_EQ(Endless.Lv.count, 2);
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
    EXPECT_EQ(Endless.Hour, 1);
    EXPECT_EQ(Endless.Min, 1);
    EXPECT_EQ(Endless.Sec, 28);
}

TEST_F(EndlessTest, CheatKeyNeedsDebugKeysWhileGiveUpAlwaysActs) {
    StartPlaying();
    Hold('Q');
    EndlessUpdate();
    EXPECT_EQ(Endless.ScoreValue, 0);
    EnableDebugKeys(true);
    EndlessUpdate();
    EXPECT_EQ(Endless.ScoreValue, 10);
    EnableDebugKeys(false);
    Hold('Q', false);
    Hold('R');
    EndlessUpdate();
    EXPECT_EQ(Endless.GameFlg, 3);
}

TEST_F(EndlessTest, PauseAndEndMenusMoveTheirMarkersAtTheirPace) {
    StartPlaying();
    Endless.GameFlg = 5;
    Endless.PauseMenuWait = 10;
    Hold(VK_DOWN);
    std::vector<int> items;
    for (int i = 0; i < 25; ++i) {
        EndlessUpdate();
        items.push_back(Endless.PauseSelect);
    }
    EXPECT_EQ(items[0], 1);
    EXPECT_EQ(items[9], 1);
    EXPECT_EQ(items[10], 2) << "ten updates apart";
    EXPECT_NEAR(Endless.MarkerL.x, -5.7f, 1e-5f);
    EXPECT_NEAR(Endless.MarkerL.y, 1.7f - 3.0f - 3.35f, 1e-5f);
    EXPECT_NEAR(Endless.MarkerR.x, 5.5f, 1e-5f);
    EXPECT_EQ(Endless.MarkerAngle, 50);

    Endless.GameFlg = 6;
    Endless.EndSelect = 1;
    Endless.MarkerL = {-7, 3, -12};
    Endless.MarkerR = {6, 3, -12};
    Endless.MarkerAngle = 0;
    Endless.EndMenuWait = 10;
    EndlessUpdate();
    EXPECT_EQ(Endless.EndSelect, 2);
    EXPECT_NEAR(Endless.MarkerL.x, -7.2f, 1e-5f);
    EXPECT_NEAR(Endless.MarkerR.x, 6.7f, 1e-5f);
    EXPECT_NEAR(Endless.MarkerR.y, -1.7f, 1e-5f);
    EXPECT_EQ(Endless.MarkerAngle, 1) << "the end menu's markers turn a degree a frame";
}
