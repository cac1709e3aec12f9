// The headless harness around the main loop: key scripts, frame limits, traces, screenshots,
// the virtual clock and the silent mixer.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/options.h"
#include "platform/mixer.h"
#include "platform/recording_device.h"

struct KeyScriptLine {
    int64_t from = 0, to = 0;
    std::vector<int> keys;
};

struct KeyScript {
    std::vector<KeyScriptLine> lines;
    std::vector<int> KeysAt(int64_t frame) const;
    std::vector<int> AllKeys() const;
};

// Parses "FROM TO KEY [KEY...]" lines ('#' starts a comment). False with a message naming the
// line on any error.
bool ParseKeyScript(const std::string& text, KeyScript& out, std::string& error);
// Reads a key script file: a regular file of at most kMaxKeyScriptBytes.
constexpr size_t kMaxKeyScriptBytes = size_t{16} << 20;
bool LoadKeyScript(const std::string& path, KeyScript& out, std::string& error);
// Reads a whole input file (`what` names it in the message): a regular file of at most
// `limit` bytes.
bool ReadInputFile(const std::string& path, const char* what, size_t limit, std::string& text,
                   std::string& error);

// How a run ended: the quit message after Escape or the window's closing, a scene that quits
// the game (12, 13), the frame limit, or anything else that stopped the loop (a crash is
// seen only by a recording).
enum class RunEnd { kNone, kEscape, kClose, kQuit, kFrames, kStop, kCrash };

class Recorder;
class Replayer;

// --cpu-vs-cpu: both versus sides to the computer at the asked levels, and the generator seeded
// (from the clock unless --seed overrides it), as the skipped title would have.
void SetUpCpuVsCpu(const CommandLine& options);

// Writes an ARGB picture as PNG.
bool WritePng(const std::string& path, const platform::Image& image);

// Wraps the device the platform made: records the calls of traced frames and takes the
// screenshots of chosen frames just before they are presented.
class HarnessDevice final : public platform::RecordingDevice {
  public:
    explicit HarnessDevice(std::unique_ptr<platform::GraphicsDevice> inner);
    void CaptureNextPresent(std::string path) { shotPath_ = std::move(path); }
    void CancelCapture() { shotPath_.clear(); }
    platform::HRESULT BeginScene() override;
    platform::HRESULT Present() override;
    // True once a screenshot could not be taken or written.
    bool ShotFailed() const { return shotFailed_; }

    // When the last frame began its scene, and began and ended presenting (for --bench).
    struct FrameMarks {
        std::chrono::steady_clock::time_point beginScene, presentStart, presentEnd;
    };
    const FrameMarks& Marks() const { return marks_; }

  private:
    std::unique_ptr<platform::GraphicsDevice> owned_;
    std::string shotPath_;
    bool shotFailed_ = false;
    FrameMarks marks_;
};

class Harness {
  public:
    Harness(const CommandLine& options, KeyScript script);
    ~Harness();

    // The run is recorded, or is the replay of a recording (each started by its owner). They
    // see and may replace the keys and clock readings of every frame.
    void Record(std::unique_ptr<Recorder> recorder);
    void Replay(std::unique_ptr<Replayer> replayer);
    // Called after each frame (tests put window events into the queue there).
    void SetAfterFrameHook(std::function<void(int64_t frame)> hook) { hook_ = std::move(hook); }
    // The loop has ended: the recording is finished, the replay says how it ended.
    void EndOfRun(int64_t framesRun, RunEnd end);

    platform::GraphicsDevice* Wrap(std::unique_ptr<platform::GraphicsDevice> device);
    HarnessDevice* Device() const { return device_.get(); }
    void ReleaseDevice() { device_.reset(); }

    // Set by start-up: the mixer runs silent unless an output device pulls its mix.
    void SetMixer(platform::Mixer* mixer, bool outputRunning);

    // Before scene call `frame`. False when the call must not run now: a scripted Escape was
    // posted as a key press (the loop handles it like the real key).
    bool BeforeFrame(int64_t frame);
    void AfterFrame(int64_t frame);
    // True once the frame limit is reached.
    bool LimitReached(int64_t framesRun) const;

    bool Headless() const { return options_.headless; }
    // The scene the run starts in: the versus mode for --cpu-vs-cpu, else the title.
    int32_t StartScene() const;
    // True once a trace or screenshot file could not be written (the run exits non-zero).
    bool OutputFailed() const { return outputFailed_; }

  private:
    CommandLine options_;
    KeyScript script_;
    std::vector<int> scriptKeys_;
    std::unique_ptr<HarnessDevice> device_;
    platform::Mixer* mixer_ = nullptr;
    bool outputRunning_ = false;
    bool outputFailed_ = false;
    std::vector<int16_t> scratch_;
    std::unique_ptr<Recorder> recorder_;
    std::unique_ptr<Replayer> replayer_;
    std::function<void(int64_t)> hook_;
};
