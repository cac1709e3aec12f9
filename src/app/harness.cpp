// The headless harness around the main loop.
#include "app/harness.h"

#include <png.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

#include "app/program.h"
#include "app/replay.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/random.h"
#include "platform/startup.h"
#include "play/opponent.h"
#include "ui/scene_id.h"

using namespace platform;

std::vector<int> KeyScript::KeysAt(int64_t frame) const {
    std::vector<int> keys;
    for (const auto& line : lines)
        if (frame >= line.from && frame <= line.to)
            keys.insert(keys.end(), line.keys.begin(), line.keys.end());
    return keys;
}

std::vector<int> KeyScript::AllKeys() const {
    std::vector<int> keys;
    for (const auto& line : lines) keys.insert(keys.end(), line.keys.begin(), line.keys.end());
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

bool ParseKeyScript(const std::string& text, KeyScript& out, std::string& error) {
    std::istringstream in(text);
    std::string raw;
    int number = 0;
    while (std::getline(in, raw)) {
        ++number;
        std::string line = raw.substr(0, raw.find('#'));
        std::istringstream words(line);
        std::string from, to, key;
        if (!(words >> from)) continue; // blank or comment
        KeyScriptLine l;
        auto bad = [&](const std::string& why) {
            error = "key script line " + std::to_string(number) + ": " + why + ": " + raw;
            return false;
        };
        if (!(words >> to)) return bad("expected FROM TO KEY...");
        auto num = [](const std::string& s, int64_t& v) {
            auto r = std::from_chars(s.data(), s.data() + s.size(), v);
            return r.ec == std::errc() && r.ptr == s.data() + s.size() && v >= 0;
        };
        if (!num(from, l.from) || !num(to, l.to)) return bad("frames must be whole numbers");
        if (l.to < l.from) return bad("TO is before FROM");
        while (words >> key) {
            int vk = KeyFromName(key);
            if (vk < 0) return bad("unknown key '" + key + "'");
            l.keys.push_back(vk);
        }
        if (l.keys.empty()) return bad("no keys");
        out.lines.push_back(std::move(l));
    }
    return true;
}

bool ReadInputFile(const std::string& path, const char* what, size_t limit, std::string& text,
                   std::string& error) {
    std::vector<uint8_t> bytes;
    switch (ReadRegularFile(path, bytes, limit)) {
    case ReadResult::kRead:
        text.assign(bytes.begin(), bytes.end());
        return true;
    case ReadResult::kMissing:
        error = std::string("cannot read ") + what + " '" + path + "': no such file";
        return false;
    case ReadResult::kFailed:
        break;
    }
    error = std::string("cannot read ") + what + " '" + path + "' (not a regular file of at most " +
            std::to_string(limit >> 20) + " MiB, or unreadable)";
    return false;
}

bool LoadKeyScript(const std::string& path, KeyScript& out, std::string& error) {
    std::string text;
    return ReadInputFile(path, "key script", kMaxKeyScriptBytes, text, error) &&
           ParseKeyScript(text, out, error);
}

bool WritePng(const std::string& path, const Image& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<size_t>(image.width) * image.height)
        return false;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (png && info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, f);
        png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGBA,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_write_info(png, info);
        std::vector<uint8_t> row(static_cast<size_t>(image.width) * 4);
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                uint32_t p = image.pixels[static_cast<size_t>(y) * image.width + x];
                row[x * 4 + 0] = static_cast<uint8_t>(p >> 16);
                row[x * 4 + 1] = static_cast<uint8_t>(p >> 8);
                row[x * 4 + 2] = static_cast<uint8_t>(p);
                row[x * 4 + 3] = static_cast<uint8_t>(p >> 24);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0 && ok;
}

HarnessDevice::HarnessDevice(std::unique_ptr<GraphicsDevice> inner)
    : RecordingDevice(inner.get()), owned_(std::move(inner)) {
    SetRecording(false);
}

HRESULT HarnessDevice::BeginScene() {
    marks_.beginScene = std::chrono::steady_clock::now();
    return RecordingDevice::BeginScene();
}

HRESULT HarnessDevice::Present() {
    if (!shotPath_.empty()) {
        Image picture;
        if (!ReadBackBuffer(picture)) {
            std::fprintf(stderr, "tessarune: no picture for the screenshot (headless?)\n");
            shotFailed_ = true;
        } else if (!WritePng(shotPath_, picture)) {
            std::fprintf(stderr, "tessarune: cannot write '%s'\n", shotPath_.c_str());
            shotFailed_ = true;
        }
        shotPath_.clear();
    }
    marks_.presentStart = std::chrono::steady_clock::now();
    HRESULT hr = RecordingDevice::Present();
    marks_.presentEnd = std::chrono::steady_clock::now();
    if (hr == platform::S_OK) platform::EndStartup();
    return hr;
}

Harness::Harness(const CommandLine& options, KeyScript script)
    : options_(options), script_(std::move(script)), scriptKeys_(script_.AllKeys()) {}

Harness::~Harness() {
    SetClockFilter(nullptr);
}

void Harness::Record(std::unique_ptr<Recorder> recorder) {
    recorder_ = std::move(recorder);
    SetClockFilter([r = recorder_.get()](uint32_t reading) { return r->OnClock(reading); });
}

void Harness::Replay(std::unique_ptr<Replayer> replayer) {
    replayer_ = std::move(replayer);
    SetClockFilter([r = replayer_.get()](uint32_t reading) { return r->OnClock(reading); });
}

void Harness::EndOfRun(int64_t framesRun, RunEnd end) {
    if (recorder_ && !recorder_->Finish(framesRun, end)) {
        std::fprintf(stderr, "tessarune: cannot write the recording '%s'\n",
                     options_.record.c_str());
        outputFailed_ = true;
    }
    if (replayer_) replayer_->Report(framesRun);
}

GraphicsDevice* Harness::Wrap(std::unique_ptr<GraphicsDevice> device) {
    device_ = std::make_unique<HarnessDevice>(std::move(device));
    return device_.get();
}

void Harness::SetMixer(Mixer* mixer, bool outputRunning) {
    mixer_ = mixer;
    outputRunning_ = outputRunning;
}

bool Harness::BeforeFrame(int64_t frame) {
    if (replayer_ && !replayer_->BeforeFrame(frame)) return false;
    std::vector<int> held = script_.KeysAt(frame);
    for (int vk : scriptKeys_) {
        bool down = std::find(held.begin(), held.end(), vk) != held.end();
        if (vk == VK_ESCAPE && down && !TheKeyboard().Held(VK_ESCAPE)) {
            TheKeyboard().SetKey(vk, true);
            PostMessage({WM_KEYDOWN, static_cast<uintptr_t>(VK_ESCAPE), 0});
            return false;
        }
        TheKeyboard().SetKey(vk, down);
    }
    if (recorder_) recorder_->BeforeFrame(frame);
    if (device_) {
        bool traced = std::any_of(options_.traces.begin(), options_.traces.end(),
                                  [&](const FrameFile& f) { return f.frame == frame; });
        device_->ClearCalls();
        device_->SetRecording(traced);
        device_->CancelCapture();
        for (const auto& s : options_.screenshots)
            if (s.frame == frame) device_->CaptureNextPresent(s.path);
    }
    return true;
}

void Harness::AfterFrame(int64_t frame) {
    if (device_) {
        for (const auto& t : options_.traces) {
            if (t.frame != frame) continue;
            std::ofstream out(t.path, std::ios::binary | std::ios::trunc);
            for (const auto& call : device_->Calls()) out << call.ToJson() << '\n';
            out.close();
            if (!out) {
                std::fprintf(stderr, "tessarune: cannot write '%s'\n", t.path.c_str());
                outputFailed_ = true;
            }
        }
        outputFailed_ = outputFailed_ || device_->ShotFailed();
        device_->SetRecording(false);
        device_->ClearCalls();
        device_->CancelCapture();
    }
    if (recorder_) recorder_->AfterFrame(frame, SceneId);
    if (replayer_) replayer_->AfterFrame(frame);
    if (hook_) hook_(frame);
    if (VirtualClockInUse()) AdvanceFrame();
    if (mixer_ && !outputRunning_) {
        // 1/60 s of sound, so buffers run, loop and end as they would be heard; streamed
        // music is read ahead here, as no streaming thread runs without an output.
        scratch_.resize(static_cast<size_t>(Mixer::kRate / 60) * Mixer::kChannels);
        mixer_->Refill();
        mixer_->Mix(scratch_.data(), Mixer::kRate / 60);
    }
}

void SetUpCpuVsCpu(const CommandLine& options) {
    if (options.cpuLeft <= 0) return;
    Opponents = {options.cpuLeft, options.cpuRight};
    platform::srand(static_cast<uint32_t>(std::time(nullptr)));
}

int32_t Harness::StartScene() const {
    return options_.cpuLeft > 0 ? scene::kVersusInit : scene::kTitleInit;
}

bool Harness::LimitReached(int64_t framesRun) const {
    return (options_.frames >= 0 && framesRun >= options_.frames) ||
           (replayer_ && replayer_->LimitReached(framesRun));
}
