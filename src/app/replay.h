// Recordings of what a run read from outside (--record) and their replays (--replay).
//
// A recording is text, a key script grown by a few line kinds:
//   tessarune-replay 1 seed 1234 [debug-keys] game 0.1.0     the header: format, seed, version
//   levels 3 2                               the options levels at start: music, effects
//   opponent normal                          the versus opponent at start (person, easy,
//                                            normal, hard); without the line a person
//   notepad Hi\sScore.txt = 120 5 3 0 1 4    a record file as the run found it (or "missing",
//                                            "unreadable"); \s \n \r \\ \xHH escapes
//   12 40 X UP                               keys held during frames 12..40
//   tap 57 Z                                 Z pressed since its last query at frame 57 beyond
//                                            what the held keys say (pressed and released, or
//                                            released and pressed again, between 56 and 57)
//   time 300 5012 5029 5046,5047             clock readings of frames 300, 301, 302 (two)
//   upto 360                                 frames 0..359 are complete above
//   end 2700 escape                          the run ended after 2700 frames: escape, close,
//                                            quit, frames, stop, or crash SIGNAL
// Lines between two "upto" lines only name frames between them; '#' starts a comment.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/harness.h"
#include "platform/journal.h"
#include "platform/keyboard.h"

constexpr int kRecordingFormat = 1;
constexpr size_t kMaxRecordingBytes = size_t{64} << 20;
constexpr int64_t kMaxRecordingFrame = 1'000'000'000; // over six months at 60 frames a second
constexpr size_t kMaxNotepadFiles = 16;
constexpr size_t kMaxNotepadBytes = size_t{1} << 16;

struct NotepadFile {
    enum State { kText, kMissing, kUnreadable };
    std::string name;
    State state = kText;
    std::string text;
};

struct Recording {
    uint32_t seed = 0;
    bool debugKeys = false;
    std::string version;
    int32_t music = 3, effects = 3; // the options levels the run started with
    int32_t opponent = 0;           // the versus opponent it started with (a CpuLevel)
    std::vector<NotepadFile> notepad;
    std::vector<KeyScriptLine> held;                // held runs, in file order
    std::vector<std::pair<int64_t, int>> taps;      // (frame, key), frames rising
    std::vector<std::pair<int64_t, uint32_t>> time; // (frame, reading), in reading order
    int64_t frames = 0;                             // frames that can be replayed
    RunEnd end = RunEnd::kNone;                     // kNone: the file stops short of its end
    int signal = 0;                                 // with kCrash
};

// False with a message naming the line on any fault. A last line without its line end (the
// file was cut there) is left out; a file without an end line replays to its last "upto".
bool ParseRecording(const std::string& text, Recording& out, std::string& error);
bool LoadRecording(const std::string& path, Recording& out, std::string& error);
const char* RunEndName(RunEnd end);

// Writes the recording of a run as it goes (see platform::Journal for what survives a crash).
class Recorder {
  public:
    // Creates the file (beside `path` until the run ends); keeps the seed and the record files
    // of the data folder as the run finds them.
    bool Start(const std::string& path, uint32_t seed, bool debugKeys, std::string& error);
    // Around scene call `frame`: keeps the key state the call will read, and afterwards what
    // its queries left; flushes each second (or 60 frames) and when the scene changed.
    void BeforeFrame(int64_t frame);
    void AfterFrame(int64_t frame, int32_t sceneId);
    uint32_t OnClock(uint32_t reading);
    // Writes the end line and renames the file into place.
    bool Finish(int64_t frames, RunEnd end);

  private:
    void CloseRuns(int64_t lastFrame, std::string& out) const;
    void CloseTime(std::string& out) const;
    void Checkpoint(int64_t framesDone);
    void UpdateCrashTail();

    platform::Journal journal_;
    platform::KeyboardState after_{}; // the keys as the last scene call left them
    int64_t openFrom_[256];           // first frame of each held key's run, -1 none
    int64_t frame_ = -1;
    int64_t timeFrom_ = -1, timeLast_ = -1;
    std::string timeValues_;
    int timeCount_ = 0;
    int32_t scene_ = -1;
    int64_t checkpoint_ = 0; // frames complete at the last checkpoint
    std::chrono::steady_clock::time_point flushed_;
};

// Plays a recording back: the key state and clock readings of each frame, the seed, the record
// files (kept in a folder of their own, so the player's records stay as they are), and the end.
class Replayer {
  public:
    explicit Replayer(Recording recording);
    ~Replayer();
    bool Start(std::string& error);
    // False when the call must not run: the recording's end was posted as the recorded run met it.
    bool BeforeFrame(int64_t frame);
    void AfterFrame(int64_t frame);
    uint32_t OnClock(uint32_t reading);
    bool LimitReached(int64_t framesRun) const;
    // Says on standard error how the replay ended when that is worth saying.
    void Report(int64_t framesRun) const;

  private:
    Recording rec_;
    std::vector<std::pair<int64_t, int>> heldEvents_; // (frame, +key / -key-1)
    size_t nextHeld_ = 0, nextTap_ = 0, nextTime_ = 0;
    int heldCount_[256] = {};
    platform::KeyboardState after_{};
    int64_t frame_ = -1;
    uint32_t lastReading_ = 0;
    bool endPosted_ = false;
    int64_t divergedAt_ = -1;
    std::string folder_;        // the recorded record files, made for the replay
    std::string playerRecords_; // the record folder before the replay, restored after it
};

// What --replay and --record start before the run: false with a message in `error` when the
// recording cannot be read, comes from another version (unless --replay-any-version), or its
// file cannot be made.
bool StartReplay(const CommandLine& options, Harness& harness, std::string& error);
bool StartRecording(const CommandLine& options, Harness& harness, std::string& error);
