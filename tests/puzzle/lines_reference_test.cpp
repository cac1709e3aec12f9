// The line matcher against a slow, literal reading of the game's rules on random boards, and
// the properties every pass keeps.
#include <array>
#include <cstdlib>

#include "board_fixture.h"
#include "platform/random.h"

namespace {

bool Inside(int x, int y, int z) {
    return x >= 0 && x < kSlices && y >= 0 && y < kRows && z >= 0 && z < kDepth;
}

// Every rule spelled out with no shortcut: each of the nine lines tried at each start cell,
// support checked by walking down every column.
void ReferenceMatch(Board& b) {
    struct Rule {
        int length, dx, dy, dz, test, value;
    };
    const Rule rules[9] = {{5, 1, 0, 0, 4, 30}, {5, 0, 1, 0, 4, 30}, {5, 0, 0, 1, 4, 30},
                           {4, 1, 0, 0, 3, 20}, {4, 0, 1, 0, 3, 20}, {4, 0, 0, 1, 3, 20},
                           {3, 1, 0, 0, 1, 10}, {3, 0, 1, 0, 1, 10}, {3, 0, 0, 1, 1, 10}};
    auto& g = b.grid;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                if (g[x][y][z] == 0 || g[x][y][z] == kGarbage) continue;
                for (const Rule& r : rules) {
                    const int n = r.length - 1;
                    if (!Inside(x + r.dx * n, y + r.dy * n, z + r.dz * n)) continue;
                    bool line = true;
                    for (int i = 0; i < r.length; ++i) {
                        const int cx = x + r.dx * i, cy = y + r.dy * i, cz = z + r.dz * i;
                        if (std::abs(g[cx][cy][cz]) != std::abs(g[x][y][z])) line = false;
                        if (r.dy == 0)
                            for (int below = 0; below < cy; ++below)
                                if (g[cx][below][cz] == 0) line = false;
                    }
                    if (!line) continue;
                    if (g[x + r.dx * r.test][y + r.dy * r.test][z + r.dz * r.test] > 0) {
                        if (b.chainFlag == 1) ++b.combo, ++b.chainSteps;
                        if (b.chainFlag == 0) b.combo = 1;
                        b.score += b.combo * r.value;
                    }
                    for (int i = 0; i < r.length; ++i) {
                        const int cx = x + r.dx * i, cy = y + r.dy * i, cz = z + r.dz * i;
                        g[cx][cy][cz] = -std::abs(g[cx][cy][cz]);
                        b.pairs[cx][cy][cz][0] = 1;
                    }
                }
            }
    const int faces[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                for (const auto& f : faces)
                    if (g[x][y][z] < 0 && Inside(x + f[0], y + f[1], z + f[2]) &&
                        g[x + f[0]][y + f[1]][z + f[2]] == kGarbage)
                        g[x + f[0]][y + f[1]][z + f[2]] = platform::rand() % 5 + 1;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                int32_t* pair = b.pairs[x][y][z];
                if (pair[0] != 1) continue;
                if (pair[1] < 0) g[x][y][z] = 0, pair[0] = 0, pair[1] = 100;
                --pair[1];
            }
    b.chainFlag = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                for (int below = 0; below < y; ++below)
                    if (g[x][y][z] >= 1 && g[x][below][z] <= 0) b.chainFlag = 1;
    b.lastCombo = b.combo;
    if (b.maxCombo < b.combo) b.maxCombo = b.combo;
}

auto Counters(const Board& b) {
    return std::array{b.score, b.combo, b.chainSteps, b.chainFlag, b.lastCombo, b.maxCombo};
}

} // namespace

// Whole games' worth of updates: pass, gravity, now and then a swap or a rising row, on both
// boards alike; the matcher must agree with the reference after every pass, draws included.
TEST(MatchLines, AgreesWithTheReferenceOverRandomPlay) {
    RandomBoards random(3);
    SwapSound sound;
    int32_t swaps = 0;
    for (int game = 0; game < 60; ++game) {
        Board fast, slow;
        random.Fill(fast, 2 + game % 3);
        CopyCells(fast, slow);
        fast.chainFlag = slow.chainFlag = random.Below(2);
        fast.combo = slow.combo = random.Below(4);
        for (int update = 0; update < 250; ++update) {
            SCOPED_TRACE(::testing::Message() << "game " << game << " update " << update);
            const uint32_t seed = static_cast<uint32_t>(game * 1000 + update);
            platform::srand(seed);
            ReferenceMatch(slow);
            const int nextDraw = platform::rand();
            platform::srand(seed);
            fast.Match();
            ASSERT_EQ(platform::rand(), nextDraw);
            ASSERT_TRUE(SameCells(fast, slow));
            ASSERT_EQ(Counters(fast), Counters(slow));
            ASSERT_TRUE(KeepsMarkRule(fast.grid, fast.pairs));

            FallStep(fast.grid, fast.pairs);
            if (random.Below(4) == 0) {
                const int x = random.Below(kSlices - 1), y = random.Below(kRows),
                          z = random.Below(kDepth - 1), direction = random.Below(2);
                SwapCells(sound, &swaps, fast.grid, x, y, z, direction);
            }
            if (random.Below(40) == 0) {
                NextRow next;
                for (auto& slice : next)
                    for (auto& cell : slice) cell = 1 + random.Below(3);
                RiseRows(fast.grid, next, fast.pairs);
            }
            ASSERT_TRUE(KeepsMarkRule(fast.grid, fast.pairs));
            CopyCells(fast, slow);
        }
    }
}

// A pass only marks cells, empties cells whose time is up and turns garbage beside vanishing
// cells into blocks; no other cell changes its kind.
TEST(MatchLines, ChangesNoKindExceptGarbageBesideVanishingCells) {
    RandomBoards random(4);
    Board b, before;
    for (int round = 0; round < 500; ++round) {
        random.Fill(b);
        CopyCells(b, before);
        b.Match();
        for (int x = 0; x < kSlices; ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < kDepth; ++z) {
                    const int32_t was = before.grid[x][y][z], is = b.grid[x][y][z];
                    if (is == 0) {
                        ASSERT_TRUE(was == 0 || (was < 0 && b.pairs[x][y][z][1] == 99));
                    } else if (was == kGarbage && is != kGarbage) {
                        bool beside = false;
                        for (const auto& f : {std::array{1, 0, 0},
                                              {-1, 0, 0},
                                              {0, 1, 0},
                                              {0, -1, 0},
                                              {0, 0, 1},
                                              {0, 0, -1}}) {
                            const int nx = x + f[0], ny = y + f[1], nz = z + f[2];
                            beside |= Inside(nx, ny, nz) &&
                                      (b.grid[nx][ny][nz] < 0 || before.grid[nx][ny][nz] < 0);
                        }
                        ASSERT_TRUE(beside && is >= 1 && is <= 5) << x << "," << y << "," << z;
                    } else {
                        ASSERT_EQ(std::abs(is), std::abs(was)) << x << "," << y << "," << z;
                        ASSERT_FALSE(was < 0 && is > 0) << "unmarked";
                    }
                }
    }
}

TEST(MatchLines, LeavesABoardAtRestWithNoLineUntouched) {
    RandomBoards random(5);
    Board b, before;
    for (int round = 0; round < 500; ++round) {
        random.FillAtRest(b);
        CopyCells(b, before);
        b.chainFlag = 1, b.combo = 2, b.score = 7;
        b.Match();
        FallStep(b.grid, b.pairs);
        ASSERT_TRUE(SameCells(b, before));
        ASSERT_EQ(b.score, 7);
        ASSERT_EQ(b.combo, 2);
        ASSERT_EQ(b.chainFlag, 0);
    }
}
