// Benchmarks of the computer opponent's swap search, on a fresh versus board (three rows) and
// on a half-full one, at the sight of each strength.
#include <benchmark/benchmark.h>

#include <random>

#include "play/opponent.h"

namespace {

struct SearchBoard {
    BlockGrid grid{};
    CellAnim pairs{};
};

// Random kinds 1..5 in rows 0..rows-1, every pair fresh.
SearchBoard MakeSearchBoard(int rows, uint32_t seed) {
    std::mt19937 rng(seed);
    SearchBoard b;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                b.grid[x][y][z] = y < rows ? static_cast<int32_t>(1 + rng() % 5) : 0;
                b.pairs[x][y][z][1] = kVanishFrames;
            }
    return b;
}

void RunChooseSwap(benchmark::State& state, int rows, const CpuSight& sight) {
    const SearchBoard b = MakeSearchBoard(rows, 2024);
    for (auto _ : state) {
        CpuPlan plan = ChooseSwap(b.grid, b.pairs, {0, 2, 5, 2}, sight);
        benchmark::DoNotOptimize(plan);
    }
}

constexpr CpuSight kEasy{.chains = false, .followUp = false, .framesPerMove = 31};
constexpr CpuSight kNormal{.chains = true, .followUp = false, .framesPerMove = 16};
constexpr CpuSight kHard{.chains = true, .followUp = true, .framesPerMove = 16};

void BM_ChooseSwapEasyThreeRows(benchmark::State& s) {
    RunChooseSwap(s, 3, kEasy);
}
void BM_ChooseSwapNormalSixRows(benchmark::State& s) {
    RunChooseSwap(s, 6, kNormal);
}
void BM_ChooseSwapHardThreeRows(benchmark::State& s) {
    RunChooseSwap(s, 3, kHard);
}
void BM_ChooseSwapHardSixRows(benchmark::State& s) {
    RunChooseSwap(s, 6, kHard);
}
BENCHMARK(BM_ChooseSwapEasyThreeRows);
BENCHMARK(BM_ChooseSwapNormalSixRows);
BENCHMARK(BM_ChooseSwapHardThreeRows);
BENCHMARK(BM_ChooseSwapHardSixRows);

} // namespace
