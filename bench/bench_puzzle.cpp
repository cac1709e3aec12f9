// Benchmarks of the board operations that run every frame: the line matcher and gravity.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

#include "puzzle/board.h"

namespace {

struct BenchBoard {
    BlockGrid grid;
    CellAnim pairs;
};

// Random kinds 1..5 in rows 0..rows-1 with every `holeEvery`-th cell (on average) left empty;
// every pair fresh.
BenchBoard MakeBoard(int rows, int holeEvery, uint32_t seed) {
    std::mt19937 rng(seed);
    BenchBoard b{};
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                const bool hole = holeEvery > 0 && rng() % holeEvery == 0;
                b.grid[x][y][z] = y < rows && !hole ? static_cast<int32_t>(1 + rng() % 5) : 0;
                b.pairs[x][y][z][0] = 0;
                b.pairs[x][y][z][1] = kVanishFrames;
            }
    return b;
}

// Each iteration works on a fresh copy of the same board, so every call sees the lines and
// holes of the original; the copy (8.6 KB) is part of the time.
void RunMatchLines(benchmark::State& state, int rows) {
    const BenchBoard start = MakeBoard(rows, 0, 2024);
    BenchBoard b;
    SoundRecord vanish;
    int32_t chainSteps = 0, maxCombo = 0, lastCombo = 0, chainFlag = 0, combo = 0, score = 0;
    for (auto _ : state) {
        std::memcpy(&b, &start, sizeof b);
        MatchLines(b.grid, b.pairs, vanish,
                   {chainSteps, maxCombo, lastCombo, chainFlag, combo, score});
        benchmark::DoNotOptimize(b);
        benchmark::DoNotOptimize(score);
    }
}

void BM_MatchLinesFullBoard(benchmark::State& state) {
    RunMatchLines(state, kRows);
}
BENCHMARK(BM_MatchLinesFullBoard);

void BM_MatchLinesThreeRows(benchmark::State& state) {
    RunMatchLines(state, 3);
}
BENCHMARK(BM_MatchLinesThreeRows);

void BM_FallStepFullBoard(benchmark::State& state) {
    const BenchBoard start = MakeBoard(kRows, 8, 2025);
    BenchBoard b;
    for (auto _ : state) {
        std::memcpy(&b, &start, sizeof b);
        FallStep(b.grid, b.pairs);
        benchmark::DoNotOptimize(b);
    }
}
BENCHMARK(BM_FallStepFullBoard);

} // namespace
