// Boards for the puzzle tests: a board with its counters, random boards and the rule that
// a cell is negative exactly when its pair's state is 1.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "puzzle/board.h"

// The vanish sound every test board shares, loaded on first use as the game's is.
inline SoundRecord gVanish;

struct Board {
    BlockGrid grid{};
    CellAnim pairs{};
    int32_t chainSteps = 0, maxCombo = 0, lastCombo = 0, chainFlag = 0, combo = 0, score = 0;

    Board() { Clear(); }

    void Clear() {
        std::memset(grid, 0, sizeof grid);
        for (auto& slice : pairs)
            for (auto& row : slice)
                for (auto& pair : row) pair[0] = 0, pair[1] = kVanishFrames;
    }
    // Sets a cell, marking its pair when the value is negative.
    void Put(int x, int y, int z, int32_t value) {
        grid[x][y][z] = value;
        pairs[x][y][z][0] = value < 0 ? 1 : 0;
    }
    void Match() {
        MatchLines(grid, pairs, gVanish,
                   {chainSteps, maxCombo, lastCombo, chainFlag, combo, score});
    }
    bool Marked(int x, int y, int z) const { return grid[x][y][z] < 0 && pairs[x][y][z][0] == 1; }
    auto Counters() const {
        return std::array{score, combo, chainSteps, chainFlag, lastCombo, maxCombo};
    }
    bool SameCells(const Board& o) const {
        return std::memcmp(grid, o.grid, sizeof grid) == 0 &&
               std::memcmp(pairs, o.pairs, sizeof pairs) == 0;
    }
};

inline ::testing::AssertionResult KeepsMarkRule(const Board& b) {
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if ((b.grid[x][y][z] < 0) != (b.pairs[x][y][z][0] == 1) ||
                    (b.pairs[x][y][z][0] != 0 && b.pairs[x][y][z][0] != 1))
                    return ::testing::AssertionFailure()
                           << "cell (" << x << ", " << y << ", " << z << ") holds "
                           << b.grid[x][y][z] << " with state " << b.pairs[x][y][z][0];
    return ::testing::AssertionSuccess();
}

// Random boards that look like play: columns of random height over a few kinds (so lines are
// common), some garbage, some holes with blocks floating over them, some vanishing cells with
// counters near their end. Each pair's counter is unique, so it names its block.
struct RandomBoards {
    std::mt19937 rng;
    explicit RandomBoards(uint32_t seed) : rng(seed) {}

    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); }

    void Fill(Board& b, int kinds = 3) {
        b.Clear();
        int32_t id = 1000;
        for (int x = 0; x < kSlices; ++x)
            for (int z = 0; z < kDepth; ++z) {
                const int height = Below(kRows + 1);
                for (int y = 0; y < kRows; ++y) {
                    int32_t v = 0;
                    if (y < height && Below(10) != 0) {
                        v = Below(12) == 0 ? kGarbage : 1 + Below(kinds);
                        if (v != kGarbage && Below(8) == 0) v = -v;
                    } else if (Below(12) == 0) {
                        v = 1 + Below(kinds); // floating over a hole
                    }
                    b.Put(x, y, z, v);
                    b.pairs[x][y][z][1] = v < 0 ? Below(4) - 1 : id++;
                }
            }
    }

    // A board standing on solid ground with no line of three anywhere and nothing marked.
    void FillAtRest(Board& b) {
        b.Clear();
        auto endsRun = [&](int x, int y, int z, int32_t v) {
            return (x >= 2 && b.grid[x - 1][y][z] == v && b.grid[x - 2][y][z] == v) ||
                   (y >= 2 && b.grid[x][y - 1][z] == v && b.grid[x][y - 2][z] == v) ||
                   (z >= 2 && b.grid[x][y][z - 1] == v && b.grid[x][y][z - 2] == v);
        };
        for (int x = 0; x < kSlices; ++x)
            for (int z = 0; z < kDepth; ++z)
                for (int y = 0, height = Below(kRows + 1); y < height; ++y) {
                    int32_t v = 1 + Below(6);
                    b.Put(x, y, z, Below(8) == 0 || endsRun(x, y, z, v) ? kGarbage : v);
                }
    }
};
