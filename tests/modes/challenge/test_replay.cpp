// The solver's clearing of every level it solves, turned into a key script and played from
// the title through the mode select and the level select by the real mode: the mode's own
// verdict must be "cleared".
#include <gtest/gtest.h>

#include <string>

#include "menus/select.h"
#include "modes/challenge/challenge.h"
#include "modes/challenge/levels.h"
#include "modes/challenge/solver.h"
#include "support/files.h"
#include "support/run.h"

using namespace platform;

namespace {

// Title Z at 2; mode select down twice to the challenge and Z (its set-up runs at frame 51);
// on the level select the frame moves every 16 frames from 70; Z opens the explanation, a new
// Z starts the banners, and play begins 171 frames later.
struct Approach {
    std::string keys;
    int64_t firstPlayFrame;
};
Approach ApproachLevel(int level) {
    std::string keys = "2 2 Z\n10 10 DOWN\n30 30 DOWN\n50 50 Z\n";
    int64_t f = 70;
    for (int i = 0; i < (level - 1) / 5; ++i, f += 16)
        keys += std::to_string(f) + " " + std::to_string(f) + " DOWN\n";
    for (int i = 0; i < (level - 1) % 5; ++i, f += 16)
        keys += std::to_string(f) + " " + std::to_string(f) + " RIGHT\n";
    keys += std::to_string(f + 5) + " " + std::to_string(f + 5) + " Z\n";
    const int64_t start = f + 15;
    keys += std::to_string(start) + " " + std::to_string(start) + " Z\n";
    return {keys, start + 171};
}

} // namespace

// Levels 13 and 14 are left out: the solver finds no clearing of them within its budget.
class Replay : public ::testing::TestWithParam<int> {};

TEST_P(Replay, TheSolversSwapsClearTheLevelInTheRealMode) {
    const int level = GetParam();
    const Solution s = SolveLevel(level);
    ASSERT_TRUE(s.found) << s.searched;
    EXPECT_EQ(s.swaps.size(), size_t(kChallengeLevels[level - 1].swaps));

    testfiles::DataDir data;
    Select = SelectScene{};
    Challenge = ChallengeMode{};
    if (s.primed) Challenge.MoveWait = Challenge.SwapWait = 16; // as after an earlier play
    const Approach a = ApproachLevel(level);
    const std::string keys = a.keys + PlanKeyScript(s.keys, a.firstPlayFrame);
    RunResult r = RunScript(keys, a.firstPlayFrame + s.clearedAt + 3);
    ASSERT_TRUE(r.started);
    EXPECT_EQ(Challenge.Difficulty, level);
    EXPECT_EQ(Challenge.BlockCnt, 0) << keys;
    EXPECT_EQ(Challenge.MaxCombo, kChallengeLevels[level - 1].chain) << keys;
    EXPECT_EQ(Challenge.ResultFlg, 1) << keys;
    EXPECT_EQ(Challenge.GameFlg, 5) << keys;
}

INSTANTIATE_TEST_SUITE_P(Levels, Replay,
                         ::testing::Values(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15));
