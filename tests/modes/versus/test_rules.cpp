// The versus mode's rules: each player's keys, the rise rates, garbage sent across and who
// delivers first, the defeat of either side, the cheat keys.
#include <array>
#include <vector>

#include "platform/random.h"
#include "versus_fixture.h"

using namespace platform;

namespace {

using boards::Cursor;

// The updates (counted from 1) in which the side's cursor changed, within `updates`.
std::vector<int> MovesIn(const VersusSide& s, int updates) {
    std::vector<int> at;
    for (int i = 1; i <= updates; ++i) {
        Cursor before = CursorTuple(s);
        VersusUpdate();
        if (CursorTuple(s) != before) at.push_back(i);
    }
    return at;
}

int UpdatesUntilRise(const VersusSide& s) {
    for (int n = 1; n <= 3000; ++n) {
        float before = s.cc;
        VersusUpdate();
        if (s.cc < before) return n;
    }
    return -1;
}

} // namespace

TEST_F(VersusTest, EachPlayerMovesOnlyTheirOwnCursorAndKRepeatsEvery10Frames) {
    StartPlaying();
    VersusSide& l = Versus.left;
    VersusSide& r = Versus.right;
    l.BlockX = 4, l.BlockZ = 4, l.LeftClearFlg = 3, l.MoveWait = 16;
    Hold('N');
    VersusUpdate();
    EXPECT_EQ(CursorTuple(l), (Cursor{5, 0, 3, 1, -1, 6}))
        << "round the corner, the pair on the board";
    EXPECT_EQ(CursorTuple(r), (Cursor{0, 0, 0, 0, -1, 6})) << "N is the left player's";
    ReleaseKeys();
    Hold(VK_SHIFT);
    Hold('G');
    EXPECT_EQ(MovesIn(l, 16), (std::vector<int>{16})) << "Shift + G: one slice deeper";
    EXPECT_EQ(CursorTuple(l), (Cursor{4, 0, 3, 1, -1, 5}));
    EXPECT_EQ(l.CursorPos.x, 4.0f);

    ReleaseKeys();
    r.MoveWait = 16, r.DepthWait = 10;
    Hold(VK_UP);
    EXPECT_EQ(MovesIn(r, 17), (std::vector<int>{1, 17})) << "the arrows move the right cursor";
    ReleaseKeys();
    Hold('K');
    Hold(VK_RETURN);
    EXPECT_EQ(MovesIn(r, 40), (std::vector<int>{1, 11, 21, 31})) << "K with Enter: deeper";
    EXPECT_EQ(CursorTuple(r), (Cursor{0, 2, 4, 0, 3, 6}));
    Hold(VK_RETURN, false);
    EXPECT_EQ(MovesIn(r, 10), (std::vector<int>{1})) << "K alone: shallower";
    EXPECT_EQ(CursorTuple(r), (Cursor{0, 2, 3, 0, 2, 6}));
    EXPECT_EQ(CursorTuple(l), (Cursor{4, 0, 3, 1, -1, 5})) << "the left cursor stayed";
}

TEST_F(VersusTest, BoardsRiseARowIn1760IdleFramesOr587WithTheirKey) {
    StartPlaying();
    VersusSide& l = Versus.left;
    VersusSide& r = Versus.right;
    Put(r, 0, 0, 0, -2); // vanishing: the right board stands still, key or not
    Hold('U');
    Updates(50);
    EXPECT_EQ(r.cc, 0.0f);
    EXPECT_NEAR(l.cc, 50 * 0.0005f, 1e-5f) << "U is the right player's";

    StartPlaying();
    r.BlockY = 11;
    EXPECT_EQ(UpdatesUntilRise(r), 587);
    ReleaseKeys();
    EXPECT_EQ(UpdatesUntilRise(l), 1760 - 587);
    EXPECT_EQ(r.BlockY, 11) << "the cursor stays on the board";
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
    EXPECT_EQ(updates, 105) << "the first line sends nothing; the second, found as the 2 lands";
    EXPECT_EQ(l.maxCombo, 2);
    ASSERT_EQ(Count(r, kGarbage), 30);
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z)
            EXPECT_EQ(r.grid[x][10][z], kGarbage) << "the right board fell in the same frame";

    // The right side's garbage arrives after the left board's update: it is still in row 11.
    Updates(110); // the second line has vanished: the left board is quiet again
    r.Disturbance = 3;
    VersusUpdate();
    EXPECT_EQ(r.Disturbance, 1);
    EXPECT_EQ(l.grid[5][11][4], kGarbage);
}

// Garbage on both faces of a vanishing cell, along X and along Z: each becomes a block of its
// own draw, X+1 before X-1 and Z+1 before Z-1.
TEST_F(VersusTest, GarbageOnBothSidesOfAVanishingCellBreaksInFaceOrder) {
    StartPlaying();
    VersusSide& l = Versus.left;
    for (int y = 0; y < 3; ++y) Put(l, 2, y, 2, 3); // a vertical line
    const int at[4][3] = {{3, 0, 2}, {1, 0, 2}, {2, 0, 3}, {2, 0, 1}};
    for (const auto& c : at) Put(l, c[0], c[1], c[2], kGarbage);
    // A seed whose draws differ on each side, so that the order shows.
    uint32_t seed = 0;
    int32_t kinds[4];
    do {
        platform::srand(++seed);
        for (int32_t& k : kinds) k = platform::rand() % 5 + 1;
    } while (kinds[0] == kinds[1] || kinds[2] == kinds[3]);
    platform::srand(seed);
    VersusUpdate();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(l.grid[at[i][0]][at[i][1]][at[i][2]], kinds[i]) << i;
}

TEST_F(VersusTest, ATopRowOccupiedFor301CountedFramesLosesAndTheRightLossCountsLast) {
    StartPlaying();
    FillColumn(Versus.left, 2, 2);
    Updates(100);
    Put(Versus.left, 5, 0, 4, -3); // a vanishing cell pauses the count
    Updates(50);
    Put(Versus.left, 5, 0, 4, 0);
    Updates(200);
    EXPECT_EQ(Versus.GameFlg, 2);
    VersusUpdate();
    EXPECT_EQ(Versus.GameFlg, 3) << "the left side lost";

    StartPlaying();
    FillColumn(Versus.left, 0, 0);
    FillColumn(Versus.right, 0, 0);
    Updates(301);
    EXPECT_EQ(Versus.GameFlg, 4) << "both lost in one frame";
}

TEST_F(VersusTest, CheatKeysAddGarbageOnlyWithDebugKeysButQAlwaysSpeedsTheRise) {
    StartPlaying();
    FillColumn(Versus.right, 0, 0); // keeps the garbage owed to the right side waiting
    Hold('Q');
    Hold('W');
    Updates(3);
    EXPECT_EQ(Versus.left.Disturbance + Versus.right.Disturbance, 0);
    EXPECT_NEAR(Versus.left.cc, 3 * 0.0015f, 1e-6f);

    EnableDebugKeys(true);
    Updates(3);
    EXPECT_EQ(Versus.left.Disturbance, 3);
    EXPECT_EQ(Versus.right.Disturbance, 1) << "W's rows went to the idle left board";
    EXPECT_EQ(Count(Versus.left, kGarbage), 60) << "one row a frame once the last has fallen";
}
