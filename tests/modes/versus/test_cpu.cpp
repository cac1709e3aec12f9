// The computer opponent in the versus mode: the keys it presses and their pacing, its own
// generator, its defence, and the order of its strengths.
#include <algorithm>
#include <set>

#include "modes/versus/cpu.h"
#include "platform/random.h"
#include "versus_fixture.h"

using namespace platform;

namespace {

class CpuTest : public VersusTest {
  protected:
    void SetUp() override {
        VersusTest::SetUp();
        Cpu = VersusCpu{};
        platform::ClearSeedOverride();
    }
    void TearDown() override {
        Opponents = {};
        VersusTest::TearDown();
    }

    // A fresh game from `seed` with the given players, straight into play.
    static void Start(uint32_t seed, int32_t left, int32_t right) {
        VersusRelease();
        platform::srand(seed);
        Opponents = {left, right};
        VersusInit();
        Versus.GameFlg = 2;
    }
    // Rule steps until a side loses or `cap` frames pass; the phase it ended in (2: none).
    static int32_t PlayOut(int cap) {
        for (int i = 0; i < cap && Versus.GameFlg == 2; ++i) VersusUpdate();
        return Versus.GameFlg;
    }
    static std::set<int> RightKeys() {
        std::set<int> keys;
        for (int k = 0; k < kCpuKeys; ++k) keys.insert(CpuKeyCode(kRightKeys, k));
        keys.erase(-1);
        return keys;
    }
};

} // namespace

TEST_F(CpuTest, PressesOnlyTheRightSidesKeysEachInAFrameItsWaitAllows) {
    std::vector<CpuKeyPress> log;
    Cpu.right.log = &log;
    Start(11, kCpuOff, kCpuHard);
    const std::set<int> own = RightKeys();
    size_t seen = 0;
    int moves = 0, swaps = 0;
    for (int frame = 0; frame < 4000 && Versus.GameFlg == 2; ++frame) {
        const VersusSide before = Versus.right;
        VersusUpdate();
        for (int vk = 0; vk < 256; ++vk) {
            if (own.count(vk)) continue;
            ASSERT_FALSE(TheKeyboard().Held(vk)) << "key " << vk;
        }
        for (; seen < log.size(); ++seen) {
            const int vk = log[seen].vk;
            ASSERT_TRUE(own.count(vk)) << vk;
            if (vk == VK_UP || vk == VK_DOWN || vk == VK_LEFT || vk == VK_RIGHT) {
                EXPECT_GT(before.MoveWait, 15) << "frame " << frame;
                EXPECT_EQ(Versus.right.MoveWait, 1) << "the move acted, frame " << frame;
                ++moves;
            } else if (vk == 'K') {
                EXPECT_GE(before.DepthWait, 10) << "frame " << frame;
                EXPECT_EQ(Versus.right.DepthWait, 1);
            } else if (vk == 'J') {
                EXPECT_GE(before.SwapWait, 15) << "frame " << frame;
                EXPECT_EQ(Versus.right.SwapWait, 1);
                ++swaps;
            }
        }
    }
    EXPECT_GT(moves, 50);
    EXPECT_GT(swaps, 10);
    EXPECT_EQ(Versus.left.BlockX + Versus.left.BlockZ + Versus.left.CursorFlg, 0)
        << "the left side's cursor was never moved (only carried up by its rows)";

    // Out of play it lets go: the pause menu reads the arrows of a person only.
    Versus.GameFlg = 5;
    VersusUpdate();
    for (int vk : own) EXPECT_FALSE(TheKeyboard().Held(vk)) << vk;
}

// That a game repeats from its seed is checked on whole runs of the computer against itself.
TEST_F(CpuTest, ThinkingNeverDrawsFromTheGamesGenerator) {
    Start(9, kCpuOff, kCpuHard);
    platform::srand(42);
    const int next = platform::rand();
    platform::srand(42);
    for (int i = 0; i < 300; ++i) CpuDecide(Cpu.right, Versus.right, kRightKeys, true);
    EXPECT_GT(Cpu.right.searches, 0);
    EXPECT_EQ(platform::rand(), next);
}

TEST_F(CpuTest, ItKeepsAFullBoardAliveWhereNobodyAtTheKeysLoses) {
    auto fill = [] {
        for (VersusSide* s : {&Versus.left, &Versus.right})
            for (int x = 0; x < kSlices; ++x)
                for (int y = 0; y < kRows; ++y)
                    for (int z = 0; z < kDepth; ++z)
                        s->grid[x][y][z] = y < 3 ? (x + 2 * y + 3 * z) % 5 + 1 : 0;
        for (int x = 0; x < kSlices; ++x) // a tower to the top on each board
            for (int y = 3; y < kRows; ++y) {
                Versus.left.grid[x][y][0] = Versus.right.grid[x][y][0] = y % 2 + 1 + (x % 2) * 2;
            }
    };
    Start(3, kCpuOff, kCpuOff);
    fill();
    EXPECT_EQ(PlayOut(1000), 4) << "both boards lose in the same frame, the right side last";

    Start(3, kCpuOff, kCpuNormal);
    fill();
    EXPECT_EQ(PlayOut(1000), 3) << "the opponent's board stays alive";
    EXPECT_TRUE(TopRowEmpty(Versus.right.grid) || Versus.right.EndCnt < 300);
}

TEST_F(CpuTest, HardBeatsEasyAndNormalBeatsAnIdleSideUnderPersonPacedGarbage) {
    int hardWins = 0;
    const int games = 6;
    for (uint32_t seed = 1; seed <= games; ++seed) {
        Start(seed, kCpuEasy, kCpuHard);
        hardWins += PlayOut(20000) == 3;
    }
    EXPECT_GE(hardWins, games - 1) << "HARD on the right beat EASY " << hardWins << " times";

    // The idle left side sends a garbage row every 10 seconds with the cheat key.
    EnableDebugKeys(true);
    for (uint32_t seed = 1; seed <= 2; ++seed) {
        Start(seed, kCpuOff, kCpuNormal);
        int32_t end = 2;
        for (int frame = 0; frame < 25000 && end == 2; ++frame) {
            Hold('Q', frame % 600 == 0);
            VersusUpdate();
            end = Versus.GameFlg;
        }
        EXPECT_EQ(end, 3) << "seed " << seed << ": NORMAL outlasts the idle side";
    }
}
