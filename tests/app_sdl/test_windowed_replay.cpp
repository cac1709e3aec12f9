// Runs recorded in the real window, their keys sent through SDL's event queue (presses,
// releases, a press and release between two frames, the window losing the focus), replayed
// headless: the state dumps of the two runs must be equal in every field.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "app/replay.h"
#include "modes/challenge/solver.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/synthetic_events.h"
#include "support/files.h"
#include "support/run.h"
#include "support/text.h"

using namespace platform;

namespace {

using testfiles::FirstDifference;
using testfiles::ReadText;

// What the window system is told between frame F and frame F + 1.
struct Event {
    enum Kind { kDown, kUp, kFocusLoss, kClose } kind;
    int vk = 0;
};
using Events = std::multimap<int64_t, Event>;

// A key script's held keys as presses and releases.
void AddScript(Events& events, const std::string& text) {
    KeyScript script;
    std::string error;
    ASSERT_TRUE(ParseKeyScript(text, script, error)) << error;
    int64_t last = 0;
    for (const auto& l : script.lines) last = std::max(last, l.to);
    for (int vk : script.AllKeys()) {
        bool was = false;
        for (int64_t f = 1; f <= last + 1; ++f) {
            auto keys = script.KeysAt(f);
            bool held = std::find(keys.begin(), keys.end(), vk) != keys.end();
            if (held != was) events.insert({f - 1, {held ? Event::kDown : Event::kUp, vk}});
            was = held;
        }
    }
}

// A press and release between frames F and F + 1: only "pressed since the last query" tells.
void AddTap(Events& events, int64_t frame, int vk) {
    events.insert({frame, {Event::kDown, vk}});
    events.insert({frame, {Event::kUp, vk}});
}

struct Outcome {
    RunResult result;
    std::string dump;
};

class WindowedReplay : public ::testing::Test {
  protected:
    void SetUp() override {
        recording = (data.path() / "run.txt").string();
        SetFramePacing(false); // real clock, frames as fast as they come
    }
    void TearDown() override {
        SetFramePacing(true);
        UseRealClock();
        ResetProgramState();
    }

    // A run from program start, in the window (with its events) or headless.
    Outcome Play(CommandLine options, const Events& events = {}) {
        ResetProgramState();
        EnableDebugKeys(options.debugKeys);
        if (options.headless)
            UseVirtualClock(0);
        else
            UseRealClock();
        Outcome run;
        {
            Harness harness(options, {});
            std::string error;
            EXPECT_TRUE(options.record.empty() || StartRecording(options, harness, error)) << error;
            EXPECT_TRUE(options.replay.empty() || StartReplay(options, harness, error)) << error;
            harness.SetAfterFrameHook([&](int64_t frame) {
                auto [first, end] = events.equal_range(frame);
                for (auto e = first; e != end; ++e) {
                    const Event& ev = e->second;
                    bool pushed = ev.kind == Event::kFocusLoss ? PushSyntheticFocusLoss()
                                  : ev.kind == Event::kClose
                                      ? PushSyntheticClose()
                                      : PushSyntheticKey(ev.vk, ev.kind == Event::kDown);
                    EXPECT_TRUE(pushed) << "frame " << frame;
                }
            });
            auto backend = options.headless ? CreateNullBackend() : CreateSdlBackend();
            run.result = RunProgram(*backend, harness);
            run.dump = DumpState(run.result.frames);
        }
        UseRealClock();
        return run;
    }

    Outcome Record(const Events& events, int64_t cap, bool debugKeys = false) {
        CommandLine options;
        options.record = recording;
        options.frames = cap;
        options.debugKeys = debugKeys;
        return Play(options, events);
    }

    Outcome Replay(int64_t cap, bool headless = true, const Events& live = {}) {
        CommandLine options;
        options.headless = headless;
        options.replay = recording;
        options.frames = cap;
        return Play(options, live);
    }

    // Records, replays headless, and compares.
    Outcome RoundTrip(const Events& events, int64_t cap, RunEnd expectedEnd,
                      bool debugKeys = false) {
        Outcome played = Record(events, cap, debugKeys);
        EXPECT_TRUE(played.result.started) << "no window (SDL_VIDEODRIVER=offscreen?)";
        EXPECT_EQ(played.result.end, expectedEnd);
        text = ReadText(recording);
        Outcome replayed = Replay(cap);
        EXPECT_EQ(replayed.result.frames, played.result.frames);
        EXPECT_EQ(FirstDifference(played.dump, replayed.dump), "");
        return played;
    }

    testfiles::DataDir data;
    std::string recording, text;
};

// Title by a tap of Z, the mode select and the options (Z held into them; both levels
// changed), back, and the mode select's last item, which ends the game. Watched in the window,
// live keys change nothing and a live Escape ends the replay.
TEST_F(WindowedReplay, MenusAndTheQuitItemAndWatchingInTheWindow) {
    Events events;
    AddTap(events, 1, 'Z');
    AddScript(events, "20 20 DOWN\n40 40 DOWN\n60 60 DOWN\n80 84 Z\n");
    AddTap(events, 100, VK_RIGHT);
    AddScript(events, "120 122 DOWN\n140 141 LEFT\n160 160 DOWN\n180 180 Z\n");
    AddScript(events, "200 200 DOWN\n220 220 DOWN\n240 240 DOWN\n260 260 DOWN\n280 280 Z\n");
    Outcome played = RoundTrip(events, 600, RunEnd::kQuit);
    EXPECT_NE(Vol, 0);
    EXPECT_NE(text.find("\ntap 2 Z\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" quit\n"), std::string::npos) << text;

    Events live;
    AddScript(live, "3 30 Z\n50 52 UP\n81 90 Z LEFT\n120 121 DOWN\n");
    AddTap(live, 95, 'Z');
    live.insert({99, {Event::kFocusLoss, 0}});
    Outcome watched = Replay(600, false, live);
    EXPECT_EQ(watched.result.frames, played.result.frames);
    EXPECT_EQ(watched.result.end, RunEnd::kQuit);
    EXPECT_EQ(FirstDifference(played.dump, watched.dump), "");

    Events escape;
    escape.insert({150, {Event::kDown, VK_ESCAPE}});
    Outcome stopped = Replay(600, false, escape);
    EXPECT_EQ(stopped.result.frames, 151);
    EXPECT_EQ(stopped.result.end, RunEnd::kEscape);
}

// The first 1300 frames of the recorded whole endless game (its playing time comes from the
// real clock), with left taps during play and the focus lost while X and A are held; ends on
// Escape.
TEST_F(WindowedReplay, AnEndlessGame) {
    std::string keys;
    std::istringstream whole(ReadText(TESS_TEST_SOURCE "/app/data/whole_endless_game.keys"));
    for (std::string line; std::getline(whole, line);)
        if (std::stoi(line.substr(line.find(' '))) < 1300) keys += line + "\n";
    Events events;
    AddScript(events, keys + "1300 1300 ESCAPE\n");
    for (int64_t f : {420, 431, 700, 1205}) AddTap(events, f, VK_LEFT);
    events.insert({900, {Event::kFocusLoss, 0}});
    Outcome played = RoundTrip(events, 2000, RunEnd::kEscape);
    EXPECT_EQ(played.result.frames, 1300);
    EXPECT_EQ(Endless.GameFlg, 2) << "still in play";
    EXPECT_GT(Endless.Min * 60 + Endless.Sec, 0) << "a playing time taken from the clock";
    EXPECT_NE(text.find("\ntap 421 LEFT\n"), std::string::npos);
    EXPECT_NE(text.find("\nend 1300 escape\n"), std::string::npos);
}

// Level 1 cleared by the solver's keys, with a tap and a focus loss on the level select.
TEST_F(WindowedReplay, AChallengeLevel) {
    const Solution s = SolveLevel(1);
    ASSERT_TRUE(s.found);
    const int64_t firstPlay = 85 + 171; // the level's set-up at 85, its banners, then play
    Events events;
    AddScript(events, "2 2 Z\n10 10 DOWN\n30 30 DOWN\n50 50 Z\n75 75 Z\n85 85 Z\n" +
                          PlanKeyScript(s.keys, firstPlay));
    AddScript(events, "60 70 SHIFT\n");
    events.insert({65, {Event::kFocusLoss, 0}});
    AddTap(events, 68, 'A');
    const int64_t end = firstPlay + s.clearedAt + 40;
    AddScript(events, std::to_string(end) + " " + std::to_string(end) + " ESCAPE\n");
    RoundTrip(events, end + 100, RunEnd::kEscape);
    EXPECT_EQ(Challenge.ResultFlg, 1) << "level 1 was cleared in the replay";
}

// Both players' keys and the cheat that buries the left board; ends by closing the window.
TEST_F(WindowedReplay, AVersusGameClosedByTheWindow) {
    Events events;
    AddScript(events, "2 2 Z\n20 20 DOWN\n40 40 Z\n230 400 W\n250 260 V\n270 275 N\n"
                      "300 320 LEFT\n330 331 UP\n");
    for (int64_t f : {280, 281, 350}) AddTap(events, f, 'X');
    events.insert({340, {Event::kFocusLoss, 0}});
    events.insert({1100, {Event::kClose, 0}});
    Outcome played = RoundTrip(events, 1300, RunEnd::kClose, true);
    EXPECT_EQ(played.result.frames, 1101);
    EXPECT_NE(text.find(" debug-keys "), std::string::npos);
}

} // namespace
