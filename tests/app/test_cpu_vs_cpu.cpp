// --cpu-vs-cpu (parsed in the command line test): a headless game of the computer against
// itself that starts in the versus mode, repeats exactly from its seed and names its winner.
#include <gtest/gtest.h>

#include "app/harness.h"
#include "app/program.h"
#include "modes/versus/cpu.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/null_backend.h"
#include "platform/random.h"
#include "support/files.h"

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
    // Played out, the game names its winner, whichever side it is.
    CpuGame("normal", "hard", 21, 6000);
    EXPECT_NE(CpuOutcomeText().find(" beat "), std::string::npos) << CpuOutcomeText();
}
