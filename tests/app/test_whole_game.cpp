// A whole endless game by key script with a fixed seed, compared with the game as it was
// recorded: the state dump at the end and the graphics calls of every 100th frame.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "support/run.h"
#include "support/scene.h"

using namespace platform;

namespace {

using testfiles::ReadText;

uint64_t Fnv1a(const std::string& text) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : text) h = (h ^ c) * 1099511628211ull;
    return h;
}

using WholeGameTest = SceneTest;

} // namespace

// Plays, pauses, gives up, raises the records, plays again and leaves through the pause menu.
// The expected file was taken from the game before its shared play layer was introduced; a
// change of any rule, drawing or timing shows here (the actual result is written beside the
// test's scratch folder for comparison).
TEST_F(WholeGameTest, AWholeEndlessGameGivesTheRecordedDumpAndTraces) {
    const std::string dir = TESS_TEST_SOURCE "/app/data/";
    CommandLine options;
    options.headless = true;
    options.seed = 5;
    options.frames = 3000; // the script quits at 2700
    const auto scratch = testfiles::Area();
    for (int64_t f = 0; f < 2700; f += 100)
        options.traces.push_back({f, (scratch / ("whole_game_" + std::to_string(f))).string()});
    KeyScript script;
    std::string error;
    ASSERT_TRUE(LoadKeyScript(dir + "whole_endless_game.keys", script, error)) << error;

    ResetProgramState();
    UseVirtualClock(0);
    auto backend = CreateNullBackend();
    Harness harness(options, std::move(script));
    RunResult r = RunProgram(*backend, harness);
    ASSERT_TRUE(r.started);
    EXPECT_TRUE(!Endless.vanish.buffer && !Endless.swapSound.voices[0])
        << "the sounds kept for the run are released at shut-down";

    std::ostringstream actual;
    actual << "dump " << DumpState(r.frames) << "\n";
    for (const FrameFile& t : options.traces) {
        std::string trace = ReadText(t.path);
        actual << "trace " << t.frame << " " << std::count(trace.begin(), trace.end(), '\n') << " "
               << Fnv1a(trace) << "\n";
    }
    std::string expected = ReadText(dir + "whole_endless_game.expected");
    if (actual.str() != expected)
        std::ofstream(scratch / "whole_endless_game.actual") << actual.str();
    EXPECT_EQ(r.frames, 2700);
    EXPECT_TRUE(actual.str() == expected)
        << "differs from the recorded game; see " << (scratch / "whole_endless_game.actual");
}
