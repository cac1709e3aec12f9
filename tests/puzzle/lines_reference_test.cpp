// The line matcher against a slow, literal reading of the game's rules over random play.
#include <algorithm>
#include <array>
#include <cstdlib>

#include "board_fixture.h"
#include "platform/random.h"

namespace {

bool Inside(int x, int y, int z) {
    return x >= 0 && x < kSlices && y >= 0 && y < kRows && z >= 0 && z < kDepth;
}

constexpr int kFaces[6][3] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};

// Every rule spelled out with no shortcut: lines of 5, 4 and 3 along X, Y and Z tried in that
// order at each start cell, support checked by walking down every column.
void ReferenceMatch(Board& b) {
    auto& g = b.grid;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                for (int length : {5, 4, 3})
                    for (const auto& d : {std::array{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}) {
                        const int n = length - 1, test = length == 3 ? 1 : n;
                        if (g[x][y][z] == 0 || g[x][y][z] == kGarbage ||
                            !Inside(x + d[0] * n, y + d[1] * n, z + d[2] * n))
                            continue;
                        bool line = true;
                        for (int i = 0; i < length; ++i) {
                            const int cx = x + d[0] * i, cy = y + d[1] * i, cz = z + d[2] * i;
                            line &= std::abs(g[cx][cy][cz]) == std::abs(g[x][y][z]);
                            for (int below = 0; below < cy && d[1] == 0; ++below)
                                line &= g[cx][below][cz] != 0;
                        }
                        if (!line) continue;
                        if (g[x + d[0] * test][y + d[1] * test][z + d[2] * test] > 0) {
                            if (b.chainFlag == 1) ++b.combo, ++b.chainSteps;
                            if (b.chainFlag == 0) b.combo = 1;
                            b.score += b.combo * (length - 2) * 10;
                        }
                        for (int i = 0; i < length; ++i) {
                            const int cx = x + d[0] * i, cy = y + d[1] * i, cz = z + d[2] * i;
                            g[cx][cy][cz] = -std::abs(g[cx][cy][cz]);
                            b.pairs[cx][cy][cz][0] = 1;
                        }
                    }
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                for (const auto& f : kFaces)
                    if (g[x][y][z] < 0 && Inside(x + f[0], y + f[1], z + f[2]) &&
                        g[x + f[0]][y + f[1]][z + f[2]] == kGarbage)
                        g[x + f[0]][y + f[1]][z + f[2]] = platform::rand() % 5 + 1;
    b.chainFlag = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                int32_t* pair = b.pairs[x][y][z];
                if (pair[0] != 1) continue;
                if (pair[1] < 0) g[x][y][z] = 0, pair[0] = 0, pair[1] = 100;
                --pair[1];
            }
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                for (int below = 0; below < y; ++below)
                    if (g[x][y][z] >= 1 && g[x][below][z] <= 0) b.chainFlag = 1;
    b.lastCombo = b.combo;
    b.maxCombo = std::max(b.maxCombo, b.combo);
}

} // namespace

// Whole games' worth of updates: pass, gravity, now and then a swap or a rising row, on both
// boards alike; the matcher must agree with the reference after every pass, draws included.
TEST(MatchLines, AgreesWithTheReferenceOverRandomPlay) {
    RandomBoards random(3);
    SwapSound sound;
    int32_t swaps = 0;
    for (int game = 0; game < 60; ++game) {
        Board fast;
        random.Fill(fast, 2 + game % 3);
        fast.chainFlag = random.Below(2);
        fast.combo = random.Below(4);
        for (int update = 0; update < 250; ++update) {
            SCOPED_TRACE(::testing::Message() << "game " << game << " update " << update);
            Board slow = fast;
            const uint32_t seed = static_cast<uint32_t>(game * 1000 + update);
            platform::srand(seed);
            ReferenceMatch(slow);
            const int nextDraw = platform::rand();
            platform::srand(seed);
            fast.Match();
            ASSERT_EQ(platform::rand(), nextDraw);
            ASSERT_TRUE(fast.SameCells(slow));
            ASSERT_EQ(fast.Counters(), slow.Counters());
            ASSERT_TRUE(KeepsMarkRule(fast));

            FallStep(fast.grid, fast.pairs);
            if (random.Below(4) == 0)
                SwapCells(sound, &swaps, fast.grid, random.Below(kSlices - 1), random.Below(kRows),
                          random.Below(kDepth - 1), random.Below(2));
            if (random.Below(40) == 0) {
                NextRow next;
                for (auto& slice : next)
                    for (auto& cell : slice) cell = 1 + random.Below(3);
                RiseRows(fast.grid, next, fast.pairs);
            }
            ASSERT_TRUE(KeepsMarkRule(fast));
        }
    }
}
