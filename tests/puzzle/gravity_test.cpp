// Rising rows and gravity: what moves, by how much, and that every block keeps its pair.
#include <algorithm>
#include <utility>
#include <vector>

#include "board_fixture.h"

TEST(RiseRows, PushesColumnsUpDroppingTheTopRowAndFillsRowZero) {
    Board b;
    RandomBoards(1).Fill(b);
    const Board before = b;
    NextRow next;
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) next[x][z] = 1 + (x + z) % 5;
    EXPECT_EQ(RiseRows(b.grid, next, b.pairs), 0.0f);
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) {
            EXPECT_EQ(b.grid[x][0][z], next[x][z]);
            EXPECT_TRUE(b.pairs[x][0][z][0] == 0 && b.pairs[x][0][z][1] == kVanishFrames);
            for (int y = 1; y < kRows; ++y) {
                EXPECT_EQ(b.grid[x][y][z], before.grid[x][y - 1][z]);
                EXPECT_EQ(b.pairs[x][y][z][1], before.pairs[x][y - 1][z][1]);
            }
        }
}

// Over random boards: blocks keep their order in each column, move down one row exactly when
// the cell below was empty or its block moved, and take their pairs along; the column's pairs
// are only exchanged, never lost.
TEST(FallStep, MovesEachBlockAtMostOneRowWithItsPair) {
    RandomBoards random(2);
    Board b;
    for (int round = 0; round < 300; ++round) {
        random.Fill(b);
        const Board before = b;
        FallStep(b.grid, b.pairs);
        ASSERT_TRUE(KeepsMarkRule(b));
        for (int x = 0; x < kSlices; ++x)
            for (int z = 0; z < kDepth; ++z) {
                bool lowerMoved = false;
                int blocks = 0; // after less before
                std::vector<std::pair<int32_t, int32_t>> pairsBefore, pairsAfter;
                for (int y = 0; y < kRows; ++y) {
                    pairsBefore.emplace_back(before.pairs[x][y][z][0], before.pairs[x][y][z][1]);
                    pairsAfter.emplace_back(b.pairs[x][y][z][0], b.pairs[x][y][z][1]);
                    blocks += (b.grid[x][y][z] != 0) - (before.grid[x][y][z] != 0);
                    const int32_t v = before.grid[x][y][z];
                    lowerMoved = v != 0 && y > 0 && (before.grid[x][y - 1][z] == 0 || lowerMoved);
                    if (v == 0) continue;
                    const int to = lowerMoved ? y - 1 : y;
                    ASSERT_EQ(b.grid[x][to][z], v) << x << "," << y << "," << z;
                    ASSERT_EQ(b.pairs[x][to][z][1], before.pairs[x][y][z][1]);
                }
                ASSERT_EQ(blocks, 0);
                std::sort(pairsBefore.begin(), pairsBefore.end());
                std::sort(pairsAfter.begin(), pairsAfter.end());
                ASSERT_EQ(pairsBefore, pairsAfter);
            }
    }
}
