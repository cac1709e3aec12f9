// The headless harness around the main loop: key scripts, frame limits, traces, screenshots,
// the virtual clock and the silent mixer.
#pragma once

#include <cstdint>
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
    platform::HRESULT Present() override;
    // True once a screenshot could not be taken or written.
    bool ShotFailed() const { return shotFailed_; }

  private:
    std::unique_ptr<platform::GraphicsDevice> owned_;
    std::string shotPath_;
    bool shotFailed_ = false;
};

class Harness {
  public:
    Harness(const CommandLine& options, KeyScript script);

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
};
