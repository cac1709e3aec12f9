// The opponent's reading of boards: the swaps it finds on hand-made boards, checked against the
// real puzzle core, its preferences, and its cursor paths checked against the cursor table.
#include <gtest/gtest.h>

#include <cstring>

#include "play/cursor.h"
#include "play/opponent.h"

namespace {

// Row 0 all garbage (it never matches), everything else empty.
struct Floor {
    BlockGrid grid{};
    CellAnim pairs{};
    Floor() {
        for (int x = 0; x < kSlices; ++x)
            for (int z = 0; z < kDepth; ++z) grid[x][0][z] = kGarbage;
        for (auto& slice : pairs)
            for (auto& row : slice)
                for (auto& pair : row) pair[0] = 0, pair[1] = kVanishFrames;
    }
    // Kinds along X (dir 0) or Z (dir 1) from (x, y, z); 0 leaves a cell as it is.
    void Row(int x, int y, int z, int dir, std::initializer_list<int32_t> kinds) {
        for (int32_t k : kinds) {
            if (k != 0) grid[x][y][z] = k;
            (dir == 0 ? x : z) += 1;
        }
    }
    // The plan played by the real core: the swap, then the line matcher. Cells marked.
    int Play(const CpuSwap& s) {
        SwapSound sound;
        SoundRecord vanish;
        SwapCells(sound, nullptr, grid, s.x, s.y, s.z, s.dir);
        int32_t steps = 0, maxCombo = 0, last = 0, flag = 0, combo = 0, score = 0;
        for (int i = 0; i < 12; ++i) {
            MatchLines(grid, pairs, vanish, {steps, maxCombo, last, flag, combo, score});
            FallStep(grid, pairs);
        }
        int marked = 0;
        for (auto& slice : grid)
            for (auto& row : slice)
                for (int32_t v : row) marked += v < 0;
        return marked;
    }
};

constexpr CpuSight kEasySight{};
constexpr CpuSight kChainSight{.chains = true, .followUp = false, .framesPerMove = 16};
constexpr CursorState kHome{0, 0, 0, 0};

CpuPlan Choose(const Floor& f, const CpuSight& sight, CursorState from = kHome) {
    return ChooseSwap(f.grid, f.pairs, from, sight);
}

} // namespace

TEST(OpponentSearch, FindsTheOnlyLineOnTheFrontTheRightFaceAndTwoSlicesDeep) {
    struct Case {
        const char* name;
        int x, y, z, dir;
        CpuSwap expected;
    } cases[] = {
        {"front face", 0, 1, 0, 0, {2, 1, 0, 0}},
        {"right face, round the corner", 5, 1, 0, 1, {5, 1, 2, 1}},
        {"two slices deep", 0, 1, 2, 0, {2, 1, 2, 0}},
    };
    for (const Case& c : cases) {
        Floor f;
        f.Row(c.x, c.y, c.z, c.dir, {3, 3, 4, 3});
        CpuPlan plan = Choose(f, kEasySight);
        ASSERT_TRUE(plan.found) << c.name;
        EXPECT_EQ(plan.swap, c.expected) << c.name;
        EXPECT_EQ(f.Play(plan.swap), 3) << c.name << ": the real core makes the line";
        Floor none;
        none.Row(c.x, c.y, c.z, c.dir, {3, 3, 4, 4});
        EXPECT_FALSE(Choose(none, kEasySight).found) << c.name << ": no line, no plan";
    }
}

TEST(OpponentSearch, LinesFormedByABlockFallingIntoPlaceAndOnlyOnSolidGround) {
    Floor f;
    f.Row(0, 1, 1, 0, {2, 2, 0, 0});
    f.grid[2][2][2] = 2; // swapped forward onto (2, 2, 1), it falls onto the floor beside them
    f.grid[2][1][2] = 5;
    CpuPlan plan = Choose(f, kEasySight);
    ASSERT_TRUE(plan.found);
    EXPECT_EQ(plan.swap, (CpuSwap{2, 2, 1, 1}));
    EXPECT_EQ(f.Play(plan.swap), 3);

    // A line along X over a hole would not be taken by the matcher: not a plan either.
    Floor hole;
    hole.Row(0, 1, 0, 0, {1, 1, 6, 1});
    hole.grid[2][0][0] = 0;
    hole.grid[2][1][0] = 0;
    hole.grid[2][2][0] = 6;
    SwapOutlook o = LookAtSwap(hole.grid, {2, 2, 0, 0}, false);
    EXPECT_TRUE(o.legal);
    EXPECT_EQ(o.lines, 0) << "the swapped block falls into the hole first";
}

TEST(OpponentSearch, ChainSightPrefersTheLineThatDropsAnotherIntoPlace) {
    Floor f;
    f.Row(0, 1, 0, 0, {1, 1, 2, 1}); // a plain line in front of the cursor
    f.Row(0, 1, 4, 0, {3, 3, 4, 3}); // a line at the back ...
    f.grid[1][2][4] = 5;             // ... under a block that then falls
    f.Row(1, 1, 2, 1, {5, 5});       // between two of its kind
    SwapOutlook back = LookAtSwap(f.grid, {2, 1, 4, 0}, true);
    EXPECT_EQ(back.lines, 1);
    EXPECT_TRUE(back.covered);
    EXPECT_EQ(back.cascade, 1);
    EXPECT_EQ(LookAtSwap(f.grid, {2, 1, 0, 0}, true).cascade, 0);

    EXPECT_EQ(Choose(f, kEasySight).swap, (CpuSwap{2, 1, 0, 0})) << "one swap: the nearer line";
    EXPECT_EQ(Choose(f, kChainSight).swap, (CpuSwap{2, 1, 4, 0})) << "the chain sends garbage";
}

TEST(OpponentSearch, InDangerItFreesTheTopRowBeforeMakingALowLine) {
    Floor f;
    for (int y = 1; y < kRows; ++y) f.grid[0][y][0] = y % 2 + 1; // a tower to the top
    f.Row(0, 1, 4, 0, {3, 3, 4, 3});                             // a line far from it
    EXPECT_EQ(StackHeight(f.grid), 12);
    CpuPlan plan = Choose(f, kEasySight, {0, 0, 11, 0});
    ASSERT_TRUE(plan.found);
    EXPECT_EQ(plan.swap, (CpuSwap{0, 11, 0, 0})) << "the top block steps off the tower";
    EXPECT_EQ(LookAtSwap(f.grid, plan.swap, false).topFreed, 1);

    f.grid[0][11][0] = 0; // the top row free again: only a line is worth a swap
    EXPECT_EQ(Choose(f, kEasySight, {0, 0, 10, 0}).swap, (CpuSwap{2, 1, 4, 0}));
}

TEST(OpponentSearch, ChainWindowIsTheVanishingLeftUnderABlock) {
    Floor f;
    EXPECT_EQ(ChainWindow(f.grid, f.pairs), 0);
    f.grid[3][1][3] = -2;
    f.pairs[3][1][3][0] = 1;
    f.pairs[3][1][3][1] = 40;
    EXPECT_EQ(ChainWindow(f.grid, f.pairs), 0) << "nothing stands on it";
    f.grid[3][2][3] = 4;
    EXPECT_EQ(ChainWindow(f.grid, f.pairs), 42);
}

TEST(OpponentPaths, ShortestPathsFollowTheGamesCursorTableToEveryCell) {
    PlayBoard b;
    FillCellPositions(b);
    for (int face = 0; face < 2; ++face)
        for (int x = 0; x < (face == 0 ? 5 : 6); ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < (face == 0 ? 5 : 4); ++z) {
                    const CursorState target{face, x, y, z};
                    CursorPaths paths(target);
                    ResetCursor(b);
                    int moves = paths.MovesFrom(CursorOf(b));
                    ASSERT_GE(moves, 0);
                    for (int step = 0; step < moves; ++step) {
                        CursorState at = CursorOf(b);
                        int m = 0;
                        while (m < kCursorMoves && !paths.Leads(at, static_cast<CursorMove>(m)))
                            ++m;
                        ASSERT_LT(m, kCursorMoves);
                        // The move as the game makes it.
                        if (m == kMoveDeeper)
                            MoveDeeper(b);
                        else if (m == kMoveShallower)
                            MoveShallower(b);
                        else
                            MoveCursor(b, {.up = m == kMoveUp,
                                           .down = m == kMoveDown,
                                           .left = m == kMoveLeft,
                                           .right = m == kMoveRight});
                    }
                    EXPECT_EQ(CursorOf(b), target);
                    EXPECT_EQ(b.LeftClearFlg, face == 0 ? z - 1 : -1);
                    EXPECT_EQ(b.RightClearFlg, face == 1 ? x + 1 : 6);
                }
}
