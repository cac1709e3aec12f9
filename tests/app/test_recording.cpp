// Recordings: what the reader refuses, what survives a cut or a crash, which version may be
// replayed, and that a replay neither sees nor touches the player's own records.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <fstream>
#include <random>
#include <sstream>

#include "app/replay.h"
#include "app/settings.h"
#include "app/version.h"
#include "support/files.h"
#include "support/run.h"
#include "support/text.h"

using namespace platform;

namespace {

using testfiles::FirstDifference;
using testfiles::ReadText;

const std::string kHeader = std::string("tessarune-replay 1 seed 7 game ") + GameVersion() + "\n";

void Write(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

struct Outcome {
    RunResult result;
    std::string dump;
};

// A headless run from program start: a key script, a recording made, or one replayed; with the
// settings of the folder `settings` ("" none).
Outcome RunHeadless(const std::string& keys, int64_t frames, const std::string& record = "",
                    const std::string& replay = "",
                    const std::function<void(int64_t)>& hook = nullptr,
                    const std::string& settings = "") {
    ResetProgramState();
    LoadUserSettings(settings);
    UseVirtualClock(0);
    CommandLine options;
    options.headless = true;
    options.frames = frames;
    options.record = record;
    options.replay = replay;
    if (replay.empty()) options.seed = 11;
    if (record.empty() && replay.empty()) OverrideSeed(11);
    KeyScript script;
    std::string error;
    EXPECT_TRUE(ParseKeyScript(keys, script, error)) << error;
    Outcome out;
    {
        Harness harness(options, std::move(script));
        EXPECT_TRUE(replay.empty() || StartReplay(options, harness, error)) << error;
        EXPECT_TRUE(record.empty() || StartRecording(options, harness, error)) << error;
        if (hook) harness.SetAfterFrameHook(hook);
        auto backend = CreateNullBackend();
        out.result = RunProgram(*backend, harness);
        out.dump = DumpState(out.result.frames);
    }
    UseRealClock();
    ClearSeedOverride();
    return out;
}

std::string WholeGameKeys() {
    return ReadText(TESS_TEST_SOURCE "/app/data/whole_endless_game.keys");
}

} // namespace

// Each fault names its line and never takes the reader down.
TEST(Recording, DamagedFilesAreRefusedNamingTheLine) {
    struct Case {
        std::string text, expected;
    };
    const Case cases[] = {
        {"tessarune-keys 1 seed 7 game 1\n", "line 1: not a recording"},
        {"tessarune-replay 2 seed 7 game 1\n", "line 1: format 2 is not known"},
        {"tessarune-replay 1 seed 99999999999 game 1\n", "line 1: expected 'seed N'"},
        {"tessarune-replay 1 seed 7\n", "line 1: expected 'game VERSION'"},
        {kHeader + "# a comment\n3 9 Z PLUS\n", "line 3: unknown key 'PLUS'"},
        {kHeader + "tap 4 z\n", "line 2: unknown key 'z'"},
        {kHeader + "9 3 Z\n", "line 2: TO is before FROM"},
        {kHeader + "1 99999999999999999999 Z\n", "line 2: frame number over"},
        {kHeader + "time 3 12,99999999999\n", "line 2: '99999999999' is not a reading"},
        {kHeader + "time 5 1 2 3\ntime 6 4\n", "line 3: frame 6 is not after frame 7"},
        {kHeader + "tap 8 Z\ntap 8 X\n", "line 3: frame 8 is not after frame 8"},
        {kHeader + "upto 10\n4 12 Z\n", "line 3: frame 4 is before frame 10"},
        {kHeader + "4 12 Z\nupto 10\n", "line 3: frame 10 is not after frame 12"},
        {kHeader + "upto 10\nupto 10\n", "line 3: frame 10 is not after"},
        {kHeader + "time 20 5\nend 20 escape\n", "line 3: frame 20 is not after frame 20"},
        {kHeader + "end 20 escape\n1 2 Z\n", "line 3: a line after the end line"},
        {kHeader + "end 20 exploded\n", "line 2: unknown end 'exploded'"},
        {kHeader + "end 20 crash\n", "line 2: expected 'end FRAMES crash SIGNAL'"},
        {kHeader + "notepad a\\q = 1\n", "line 2: expected 'notepad NAME"},
        {kHeader + "notepad ../x = 1\n", "line 2: expected 'notepad NAME"},
        {kHeader + "notepad a = 1\\x4\n", "line 2: bad escape"},
        {kHeader + "press 1 Z\n", "line 2: unknown line"},
        {kHeader + "levels 4 0\n", "line 2: expected 'levels MUSIC EFFECTS'"},
        {kHeader + "opponent 2\n", "line 2: expected 'opponent person'"},
        {"", "no header line"},
    };
    for (const Case& c : cases) {
        Recording r;
        std::string error;
        EXPECT_FALSE(ParseRecording(c.text, r, error)) << c.text;
        EXPECT_NE(error.find(c.expected), std::string::npos) << c.text << "\n -> " << error;
    }
}

// A hand-written recording: held keys like a key script, a tap, two readings in one frame,
// escaped record files.
TEST(Recording, AHandWrittenRecordingReads) {
    Recording r;
    std::string error;
    ASSERT_TRUE(
        ParseRecording(std::string("tessarune-replay 1 seed 42 debug-keys game 9.9 (x)\n") +
                           "notepad Hi\\sScore.txt = 12 3\\n4\\\\\n"
                           "notepad odd unreadable\n"
                           "2 5 Z UP\ntap 3 X\ntime 4 100,101 117\nupto 6\nend 9 crash 11\n",
                       r, error))
        << error;
    EXPECT_EQ(r.seed, 42u);
    EXPECT_TRUE(r.debugKeys);
    EXPECT_EQ(r.version, "9.9 (x)");
    ASSERT_EQ(r.notepad.size(), 2u);
    EXPECT_EQ(r.notepad[0].name, "Hi Score.txt");
    EXPECT_EQ(r.notepad[0].text, "12 3\n4\\");
    EXPECT_EQ(r.notepad[1].state, NotepadFile::kUnreadable);
    EXPECT_EQ(r.held[0].keys, (std::vector<int>{'Z', VK_UP}));
    EXPECT_EQ(r.taps, (std::vector<std::pair<int64_t, int>>{{3, 'X'}}));
    EXPECT_EQ(r.time, (std::vector<std::pair<int64_t, uint32_t>>{{4, 100}, {4, 101}, {5, 117}}));
    EXPECT_EQ(r.frames, 9);
    EXPECT_EQ(r.end, RunEnd::kCrash);
    EXPECT_EQ(r.signal, 11);
}

// A recording cut at any byte replays to its last complete second, exactly as the run was
// then, and ends with a message instead of failing.
TEST(Recording, ACutRecordingReplaysUpToTheCut) {
    testfiles::DataDir data;
    const std::string path = (data.path() / "whole.txt").string();
    Outcome played = RunHeadless(WholeGameKeys(), 3000, path);
    EXPECT_EQ(played.result.end, RunEnd::kEscape);
    const std::string text = ReadText(path);
    ASSERT_NE(text.find("\nend 2700 escape\n"), std::string::npos);

    std::mt19937 random(5);
    int64_t lastFrames = -1;
    std::vector<size_t> cuts = {text.find('\n') + 1, text.size() - 1};
    for (int i = 0; i < 6; ++i)
        cuts.push_back(std::uniform_int_distribution<size_t>(50, text.size() - 2)(random));
    std::sort(cuts.begin(), cuts.end());
    for (size_t cut : cuts) {
        Recording r;
        std::string error;
        ASSERT_TRUE(ParseRecording(text.substr(0, cut), r, error)) << cut << ": " << error;
        EXPECT_EQ(r.end, RunEnd::kNone);
        EXPECT_GE(r.frames, lastFrames) << "a longer piece replays no less";
        lastFrames = r.frames;
    }
    EXPECT_GE(lastFrames, 2640) << "at most a second is lost";

    const std::string cutPath = (data.path() / "cut.txt").string();
    Write(cutPath, text.substr(0, cuts[4]));
    Recording cut;
    std::string error;
    ASSERT_TRUE(LoadRecording(cutPath, cut, error)) << error;
    ASSERT_GT(cut.frames, 0);
    testing::internal::CaptureStderr();
    Outcome replayed = RunHeadless("", 3000, "", cutPath);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(message.find("without its end line"), std::string::npos) << message;
    EXPECT_EQ(replayed.result.frames, cut.frames);
    // The same keys stopped at that frame, from the records the run found: the same state.
    std::filesystem::remove_all(data / "./notepad");
    Outcome stopped = RunHeadless(WholeGameKeys(), cut.frames);
    EXPECT_EQ(FirstDifference(replayed.dump, stopped.dump), "");
}

// A crash in the middle of a run leaves a complete recording that replays to the crash.
TEST(Recording, ACrashLeavesACompleteRecording) {
    testfiles::DataDir data;
    const std::string path = (data.path() / "crash.txt").string();
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        RunHeadless(WholeGameKeys(), 3000, path, "", [](int64_t frame) {
            if (frame == 1234) std::raise(SIGSEGV);
        });
        ::_exit(3); // the crash did not come
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit " << WEXITSTATUS(status);
    EXPECT_EQ(WTERMSIG(status), SIGSEGV) << "the signal goes on to end the program";

    const std::string text = ReadText(path);
    EXPECT_NE(text.find("\nend 1235 crash 11\n"), std::string::npos)
        << text.substr(text.size() - 300);
    Recording r;
    std::string error;
    ASSERT_TRUE(ParseRecording(text, r, error)) << error;
    EXPECT_EQ(r.frames, 1235);
    testing::internal::CaptureStderr();
    Outcome replayed = RunHeadless("", 3000, "", path);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("died of signal 11 in frame 1234"),
              std::string::npos);
    std::filesystem::remove_all(data / "./notepad");
    EXPECT_EQ(FirstDifference(replayed.dump, RunHeadless(WholeGameKeys(), 1235).dump), "");
}

// Another version's recording is refused unless asked for; --replay takes no keys of its own.
TEST(Recording, OnlyThisVersionsRecordingsReplayUnlessAskedTo) {
    testfiles::DataDir data;
    const std::string path = (data.path() / "old.txt").string();
    Write(path, "tessarune-replay 1 seed 7 game 0.0.1-old\nend 3 frames\n");
    CommandLine options;
    options.replay = path;
    std::string error;
    {
        Harness harness(options, {});
        EXPECT_FALSE(StartReplay(options, harness, error));
        EXPECT_NE(error.find("recorded by tessarune 0.0.1-old"), std::string::npos) << error;
        EXPECT_NE(error.find("--replay-any-version"), std::string::npos) << error;
    }
    options.replayAnyVersion = true;
    {
        Harness harness(options, {});
        EXPECT_TRUE(StartReplay(options, harness, error)) << error;
    }
    CommandLine parsed;
    EXPECT_FALSE(ParseOptions({"--replay", path, "--keys", "k"}, parsed, error));
    EXPECT_NE(error.find("--keys"), std::string::npos);
}

// The replay reads the records the run found and leaves the player's records alone, though
// the game it shows writes new ones.
TEST(Recording, AReplayKeepsToTheRecordsOfTheRecordedRun) {
    testfiles::DataDir data;
    const std::string found = "50 2 1 0 0 9 # hand-edited\n";
    data.Put("./notepad/Hi Score.txt", found);
    const std::string path = (data.path() / "records.txt").string();
    Outcome played = RunHeadless(WholeGameKeys(), 3000, path);
    Recording r;
    std::string error;
    ASSERT_TRUE(LoadRecording(path, r, error)) << error;
    ASSERT_EQ(r.notepad.size(), 1u);
    EXPECT_EQ(r.notepad[0].text, found);
    ASSERT_GT(Records.RecScore, 50) << "the game beat the record";
    const std::string ours = "777777 9 9 1 2 3";
    data.Put("./notepad/Hi Score.txt", ours);
    ::unlink((data / "./notepad/Max keta.txt").c_str());

    Outcome replayed = RunHeadless("", 3000, "", path);
    EXPECT_EQ(FirstDifference(replayed.dump, played.dump), "");
    EXPECT_EQ(ReadText(data / "./notepad/Hi Score.txt"), ours);
    EXPECT_FALSE(std::filesystem::exists(data / "./notepad/Max keta.txt"));
    EXPECT_EQ(DataPath("./notepad/x"), (data.path() / "notepad/x").string())
        << "the records folder is the data folder's again";
}

// The options levels and the versus opponent the player kept are part of what the run read:
// the replay starts from them (it reads no settings of its own). Recorded against the computer,
// it shows the opponent deciding again from the boards and its own generator, against the
// person's keys on the left side.
TEST(Recording, AReplayStartsFromTheRecordedLevelsAndOpponent) {
    testfiles::DataDir data;
    data.Put("./player/settings.ini",
             "[sound]\nmusic = 1\neffects = 2\n[versus]\nopponent = normal\n");
    const std::string path = (data.path() / "cpu.txt").string();
    // Versus as the settings left it; the left player moves and swaps.
    const std::string keys = "2 2 Z\n20 20 DOWN\n30 30 Z\n"
                             "400 400 N\n420 420 A\n440 441 SHIFT G\n460 460 A\n";
    Outcome played = RunHeadless(keys, 1500, path, "", nullptr, (data / "./player").string());
    ASSERT_EQ(Cpu.right.level, kCpuNormal);
    ASSERT_GT(Cpu.right.swaps, 0) << "the computer played";
    EXPECT_EQ(Cpu.left.level, kCpuOff);
    EXPECT_EQ((std::array{Versus.left.BlockX, Versus.left.BlockZ}), (std::array{1, 1}))
        << "the person's keys move the left cursor while the computer plays the right";
    const std::string text = ReadText(path);
    ASSERT_NE(text.find("\nlevels 1 2\nopponent normal\n"), std::string::npos) << text;

    Outcome replayed = RunHeadless("", 1500, "", path);
    EXPECT_EQ(FirstDifference(replayed.dump, played.dump), "");
}
