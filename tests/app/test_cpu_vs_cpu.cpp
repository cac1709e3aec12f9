// --cpu-vs-cpu (parsed in the command line test): a headless game of the computer against
// itself that starts in the versus mode and repeats exactly from its seed.
#include <gtest/gtest.h>

#include "app/harness.h"
#include "app/program.h"
#include "menus/select.h"
#include "modes/versus/cpu.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/null_backend.h"
#include "platform/random.h"
#include "support/files.h"
#include "support/run.h"

using namespace platform;

namespace {

// A run of `frames` frames with both sides to the computer; the dump at its end.
std::string CpuGame(const char* left, const char* right, uint32_t seed, int64_t frames) {
    CommandLine options;
    std::string error;
    EXPECT_TRUE(ParseOptions({"--headless", "--cpu-vs-cpu", left, right}, options, error)) << error;
    options.frames = frames;
    Versus = VersusMode{};
    Cpu = VersusCpu{};
    OverrideSeed(seed);
    UseVirtualClock(0);
    TheKeyboard().ReleaseAll();
    SetUpCpuVsCpu(options);
    auto backend = CreateNullBackend();
    Harness harness(options, KeyScript{});
    RunResult r = RunProgram(*backend, harness);
    UseRealClock();
    ClearSeedOverride();
    Opponents = {};
    EXPECT_TRUE(r.started);
    return DumpState(r.frames);
}

} // namespace

TEST(CpuVsCpu, AGameStartsInTheVersusModeAndRepeatsExactlyFromItsSeed) {
    testfiles::DataDir data;
    std::string first = CpuGame("normal", "hard", 21, 2000);
    EXPECT_EQ(SceneId, 7) << "straight into the versus mode";
    EXPECT_GT(Cpu.left.swaps, 0);
    EXPECT_GT(Cpu.right.swaps, 0);
    EXPECT_NE(first.find("\"level\":2"), std::string::npos);
    EXPECT_EQ(CpuGame("normal", "hard", 21, 2000), first);
    EXPECT_NE(CpuGame("normal", "hard", 22, 2000), first);
}

TEST(CpuVsCpu, APersonChoosesCpuNormalOnTheModeSelectAndPlaysTheLeftSideAgainstIt) {
    testfiles::DataDir data;
    Select = SelectScene{};
    Versus = VersusMode{};
    Cpu = VersusCpu{};
    OverrideSeed(4);
    // Title; Down to versus; Right twice: CPU NORMAL; Z. Play begins at frame 251; the person
    // moves the left cursor one slice right and then lets the board rise until it loses.
    RunResult r = RunScript("2 2 Z\n20 20 DOWN\n35 35 RIGHT\n50 50 RIGHT\n60 60 Z\n"
                            "400 400 N\n",
                            30000);
    ClearSeedOverride();
    ASSERT_TRUE(r.started);
    EXPECT_EQ(Opponents.right, kCpuNormal);
    EXPECT_EQ(Cpu.right.level, kCpuNormal);
    EXPECT_EQ(Cpu.left.level, kCpuOff);
    EXPECT_EQ(Versus.left.BlockX, 1) << "the person's keys still move the left cursor";
    EXPECT_EQ(Cpu.outcome, 3) << "the idle left side lost";
    EXPECT_EQ(Versus.GameFlg, 6) << "the end menu waits for the person";
    EXPECT_GT(Cpu.right.swaps, 5);
    Opponents = {};
}
