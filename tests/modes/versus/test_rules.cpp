// The versus mode's rules: both cursors, the rise, garbage sent across, the defeat, the
// cheat keys.
#include <array>
#include <vector>

#include "versus_fixture.h"

using namespace platform;

namespace {

// Block X, Y, Z, the face (0 front, 1 right) and the cut-away limits on the left and right.
using Cursor = std::array<int, 6>;
Cursor Now(const VersusSide& s) {
    return {s.BlockX, s.BlockY, s.BlockZ, s.CursorFlg, s.LeftClearFlg, s.RightClearFlg};
}

// The updates (counted from 1) in which the side's cursor changed, within `updates`.
std::vector<int> MovesIn(const VersusSide& s, int updates) {
    std::vector<int> at;
    for (int i = 1; i <= updates; ++i) {
        Cursor before = Now(s);
        VersusUpdate();
        if (Now(s) != before) at.push_back(i);
    }
    return at;
}

// A full column of alternating kinds (no line) from row 0 to the top.
void FillColumn(VersusSide& s, int x, int z) {
    for (int y = 0; y < kRows; ++y) s.grid[x][y][z] = y % 2 ? 1 : 2;
}

int UpdatesUntilRise(const VersusSide& s, int limit = 3000) {
    for (int n = 1; n <= limit; ++n) {
        float before = s.cc;
        VersusUpdate();
        if (s.cc < before) return n;
    }
    return -1;
}

} // namespace

TEST_F(VersusTest, CursorsTurnTheCornerAndKeepTheirPairOnTheBoard) {
    StartPlaying();
    VersusSide& l = Versus.left;
    l.BlockX = 4, l.BlockZ = 4, l.LeftClearFlg = 3, l.MoveWait = 16;
    Hold('N');
    VersusUpdate();
    EXPECT_EQ(Now(l), (Cursor{5, 0, 3, 1, -1, 6})) << "Z 4 would put the partner off the board";
    EXPECT_EQ(l.CursorPos.z, 3.0f);
    EXPECT_EQ(Now(Versus.right), (Cursor{0, 0, 0, 0, -1, 6})) << "N is the left player's";

    ReleaseKeys();
    Hold('V');
    EXPECT_EQ(MovesIn(l, 64), (std::vector<int>{16, 32, 48, 64}));
    EXPECT_EQ(Now(l), (Cursor{4, 0, 0, 0, -1, 6})) << "back round the corner from Z 0";

    // The right player's arrows: Right on the right face stops at Z 3.
    ReleaseKeys();
    VersusSide& r = Versus.right;
    r.CursorFlg = 1, r.BlockX = 5, r.BlockZ = 3, r.MoveWait = 16;
    Hold(VK_RIGHT);
    VersusUpdate();
    EXPECT_EQ(Now(r), (Cursor{5, 0, 3, 1, -1, 6}));
    EXPECT_EQ(r.MoveWait, 17) << "a refused move does not restart the wait";
}

TEST_F(VersusTest, MovesRepeatEvery16FramesAndTheDepthKeyEvery10) {
    StartPlaying();
    VersusSide& r = Versus.right;
    r.MoveWait = 16;
    Hold(VK_UP);
    EXPECT_EQ(MovesIn(r, 40), (std::vector<int>{1, 17, 33}));
    EXPECT_EQ(r.BlockY, 3);

    ReleaseKeys();
    r.DepthWait = 10;
    Hold('K');
    Hold(VK_RETURN);
    EXPECT_EQ(MovesIn(r, 40), (std::vector<int>{1, 11, 21, 31}));
    EXPECT_EQ(Now(r), (Cursor{0, 3, 4, 0, 3, 6})) << "K with Enter goes deeper, to the back";
    Hold(VK_RETURN, false);
    EXPECT_EQ(MovesIn(r, 10), (std::vector<int>{1})) << "without Enter K comes back out";
    EXPECT_EQ(Now(r), (Cursor{0, 3, 3, 0, 2, 6}));

    // On the right face, deeper means towards X 0, cutting away the slices to the right.
    ReleaseKeys();
    VersusSide& l = Versus.left;
    l.CursorFlg = 1, l.BlockX = 5, l.MoveWait = 16;
    Hold(VK_SHIFT);
    Hold('G');
    EXPECT_EQ(MovesIn(l, 17), (std::vector<int>{1, 17}));
    EXPECT_EQ(Now(l), (Cursor{3, 0, 0, 1, -1, 4}));
}

TEST_F(VersusTest, BoardsRiseWhenIdleFasterWithTheirKeyAndTheCursorRidesUp) {
    StartPlaying();
    VersusSide& l = Versus.left;
    VersusSide& r = Versus.right;
    Put(r, 0, 0, 0, -2); // vanishing: the right board stands still, key or not
    Hold('U');
    Updates(50);
    EXPECT_EQ(r.cc, 0.0f);
    EXPECT_NEAR(l.cc, 50 * 0.0005f, 1e-5f);

    StartPlaying();
    l.BlockY = 3;
    r.BlockY = 11;
    EXPECT_EQ(UpdatesUntilRise(r), 587) << "with U held";
    ReleaseKeys();
    EXPECT_EQ(UpdatesUntilRise(l), 1760 - 587);
    EXPECT_EQ(l.BlockY, 4);
    EXPECT_EQ(l.CursorPos.y, 4.0f);
    EXPECT_EQ(r.BlockY, 11) << "the cursor stays on the board";
    EXPECT_EQ(l.NextRowReady, 0);
    VersusUpdate();
    EXPECT_EQ(l.NextRowReady, 1) << "the next row is dealt in the following update";
}

TEST_F(VersusTest, AChainSendsGarbageThatTheLeftDeliversBeforeTheRightMoves) {
    StartPlaying();
    VersusSide& l = Versus.left;
    VersusSide& r = Versus.right;
    // A vertical line of 1s under a 2; the 2 falls beside two more and makes a second line.
    for (int y = 0; y < 3; ++y) Put(l, 0, y, 0, 1);
    Put(l, 0, 3, 0, 2);
    Put(l, 1, 0, 0, 2);
    Put(l, 2, 0, 0, 2);
    int updates = 0;
    while (Count(r, kGarbage) == 0 && updates < 200) {
        VersusUpdate();
        ++updates;
        EXPECT_EQ(l.Disturbance, 0) << "owed rows are sent at once when nothing is falling";
    }
    ASSERT_EQ(Count(r, kGarbage), 30) << "one row for the second line of the chain";
    EXPECT_EQ(l.maxCombo, 2);
    EXPECT_EQ(updates, 105) << "the first line empties in update 102 as the 2 falls a row; "
                               "two more rows, then the second line";
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z)
            EXPECT_EQ(r.grid[x][10][z], kGarbage) << "the right board fell in the same frame";

    // The right side's garbage arrives after the left board's update: it is still in row 11.
    Updates(110); // the second line has vanished: the left board is quiet again
    r.Disturbance = 3;
    VersusUpdate();
    EXPECT_EQ(r.Disturbance, 1);
    EXPECT_EQ(Count(l, kGarbage), 30);
    EXPECT_EQ(l.grid[5][11][4], kGarbage);
}

TEST_F(VersusTest, ATopRowOccupiedFor301CountedFramesLoses) {
    StartPlaying();
    FillColumn(Versus.left, 2, 2);
    Updates(100);
    Put(Versus.left, 5, 0, 4, -3); // a vanishing cell pauses the count
    Updates(50);
    EXPECT_EQ(Versus.left.EndCnt, 100);
    Put(Versus.left, 5, 0, 4, 0);
    Updates(200);
    EXPECT_EQ(Versus.GameFlg, 2);
    VersusUpdate();
    EXPECT_EQ(Versus.GameFlg, 3) << "the left side lost";
    EXPECT_EQ(Versus.left.EndCnt, 1);

    StartPlaying();
    FillColumn(Versus.right, 0, 0);
    Updates(250);
    Versus.right.grid[0][11][0] = 0; // an empty top row starts the count afresh
    VersusUpdate();
    EXPECT_EQ(Versus.right.EndCnt, 0);
    Versus.right.grid[0][11][0] = 1;
    Updates(301);
    EXPECT_EQ(Versus.GameFlg, 4) << "the right side lost";

    StartPlaying();
    FillColumn(Versus.left, 0, 0);
    FillColumn(Versus.right, 0, 0);
    Updates(301);
    EXPECT_EQ(Versus.GameFlg, 4) << "both lost in one frame: the right side's loss counts";
}

TEST_F(VersusTest, CheatKeysAddGarbageOnlyWithDebugKeysButQAlwaysSpeedsTheRise) {
    StartPlaying();
    FillColumn(Versus.right, 0, 0); // keeps the garbage owed to the right side waiting
    Hold('Q');
    Hold('W');
    Updates(3);
    EXPECT_EQ(Versus.left.Disturbance, 0);
    EXPECT_EQ(Versus.right.Disturbance, 0);
    EXPECT_NEAR(Versus.left.cc, 3 * 0.0015f, 1e-6f);

    EnableDebugKeys(true);
    Updates(3);
    EXPECT_EQ(Versus.left.Disturbance, 3);
    EXPECT_EQ(Versus.right.Disturbance, 1) << "W's rows went to the idle left board";
    EXPECT_EQ(Count(Versus.left, kGarbage), 60) << "one row a frame once the last has fallen";
}
