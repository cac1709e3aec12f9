// --bench: whole frames on the real renderer, start-up time and peak memory.
#include "app/bench.h"

#include <sys/resource.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "app/harness.h"
#include "app/program.h"
#include "app/scenes.h"
#include "media/draw.h"
#include "media/frame.h"
#include "menus/options.h"
#include "menus/select.h"
#include "menus/title.h"
#include "modes/challenge/challenge.h"
#include "modes/endless/endless.h"
#include "modes/versus/cpu.h"
#include "modes/versus/versus.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/mixer.h"
#include "platform/null_backend.h"
#include "platform/recording_device.h"
#include "platform/sdl/synthetic_events.h"
#include "platform/startup.h"

using namespace platform;
using Clock = std::chrono::steady_clock;

namespace {

// One measured frame: wall time, CPU time of the whole process (the renderer's threads too),
// and the wall time split into the scene's update (until it begins drawing), the drawing
// calls (until it presents) and presenting (the renderer finishing the picture).
struct FrameTimes {
    double start = 0; // since the program started
    double ms = 0, cpu = 0, update = 0, submit = 0, render = 0;
    // Paced: when its picture was presented and when the next frame's slot began (since the
    // program started; -1 when the frame did not present).
    double presented = -1, slot = -1;
};

struct Stage {
    const char* name;
    int frames;
    std::function<void()> init;
    std::function<void(PresentParameters)> frame;
    std::function<void()> release;
    std::vector<FrameTimes> times;
    size_t meshDraws = 0; // model subsets drawn in the last frame
    double peakMb = 0;    // peak resident memory of the run so far, after the stage
    // Resident memory in the stage's last frame: all of it, the part that maps files (the
    // program and its libraries: the renderer's LLVM is most of it), and of the rest what
    // the game holds itself: textures (kept by the renderer) and sound buffers.
    double residentMb = 0, filesMb = 0, texturesMb = 0, soundMb = 0;
};

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// 3,000 small lit blocks (the neutral block) covering the view.
ModelRecord g_stressBlock;
float g_stressAngle = 0.0f;
void StressInit() {
    LoadModel(g_stressBlock, "./xFile/パズル用図形６.x", *Device());
}
void StressFrame(PresentParameters params) {
    GraphicsDevice& device = *Device();
    BeginStandardFrame(device);
    device.SetRenderState(RS_LIGHTING, 1);
    g_stressAngle += 0.02f;
    for (int i = 0; i < 3000; ++i) {
        float x = -20.0f + 40.0f * static_cast<float>(i % 60) / 59.0f;
        float y = -11.0f + 22.0f * static_cast<float>(i / 60) / 49.0f;
        device.SetTransform(TS_WORLD, Scaling(0.5f, 0.5f, 0.5f) * RotationY(g_stressAngle + i) *
                                          Translation(x, y, 0.0f));
        DrawModel(g_stressBlock, 1.0f, device);
    }
    device.SetRenderState(RS_LIGHTING, 0);
    EndStandardFrame(device, params);
}
void StressRelease() {
    ReleaseModel(g_stressBlock);
}

void EndlessPlaying() {
    EndlessInit();
    Endless.GameFlg = 2;
}

// Every cell filled with no line anywhere, the cursor three slices deep.
void EndlessFullBoard() {
    EndlessPlaying();
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) Endless.grid[x][y][z] = (x + 2 * y + 3 * z) % 5 + 1;
    Endless.BlockZ = 3;
    Endless.LeftClearFlg = 2;
}

// Level 14, the fullest, in play with the cursor two slices deep.
void ChallengePlaying() {
    ChallengeInit();
    PlaceLevel(14);
    Challenge.GameFlg = 4;
    Challenge.BlockZ = 2;
    Challenge.LeftClearFlg = 1;
}

void ChallengeFrameOnly(PresentParameters p) {
    ChallengeFrame(p);
}

void EndlessFrameOnly(PresentParameters p) {
    EndlessFrame(p);
}

// A minute of play would end the game: the board is kept from rising.
void EndlessFrameHeld(PresentParameters p) {
    Endless.cc = 0.0f;
    EndlessFrame(p);
}

void VersusPlaying() {
    VersusInit();
    Versus.GameFlg = 2;
}

// Both boards filled with no line anywhere, both cursors three slices deep.
void VersusFullBoards() {
    VersusPlaying();
    for (VersusSide* s : {&Versus.left, &Versus.right}) {
        for (int x = 0; x < kSlices; ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < kDepth; ++z) s->grid[x][y][z] = (x + 2 * y + 3 * z) % 5 + 1;
        s->BlockZ = 3;
        s->LeftClearFlg = 2;
        s->CursorPos = {0.0f, 0.0f, 3.0f};
    }
}

void VersusFrameOnly(PresentParameters p) {
    VersusFrame(p);
}

// Computer opponents on both sides; their thinking is timed on its own, per level.
struct CpuCost {
    int32_t level;
    std::vector<double> ms; // both opponents' decisions of one frame
};
std::vector<CpuCost> g_cpuCosts;

void VersusCpuPlaying(int32_t level) {
    Opponents = {level, level};
    VersusPlaying();
    g_cpuCosts.push_back({level, {}});
}

// The opponents decide first, timed; the frame then runs with them set aside so they do not
// decide twice.
void VersusCpuFrame(PresentParameters p) {
    double t0 = ThreadCpuMs();
    CpuStep();
    g_cpuCosts.back().ms.push_back(ThreadCpuMs() - t0);
    int32_t left = Cpu.left.level, right = Cpu.right.level;
    Cpu.left.level = Cpu.right.level = kCpuOff;
    VersusFrame(p);
    Cpu.left.level = left, Cpu.right.level = right;
}

void VersusCpuRelease() {
    VersusRelease();
    Opponents = {};
}

// Input latency: a key pushed into SDL's event queue, as the window system would, at a random
// moment of a frame of the mode select, and the first presented picture that shows it (the
// marker on the next item). A press every half second, Down or Up.
struct LatencyProbe {
    std::mutex mutex;
    bool pending = false; // pushed, not yet seen
    Clock::time_point pushedAt;
    std::thread thread;
    std::mt19937 random{14};
    // Each press seen: when it was pushed, the frame that took it.
    std::vector<std::pair<Clock::time_point, size_t>> seen;
    size_t frames = 0;
} g_latency;

void LatencyRelease() {
    if (g_latency.thread.joinable()) g_latency.thread.join();
    SelectRelease();
}

void LatencyInit() {
    g_latency.seen.clear();
    g_latency.frames = 0;
    g_latency.pending = false;
    SelectInit();
}

void LatencyFrame(PresentParameters p) {
    const size_t frame = g_latency.frames++;
    if (frame % 30 == 10) {
        if (g_latency.thread.joinable()) g_latency.thread.join();
        const int vk = Select.SelectItem < 3 ? VK_DOWN : VK_UP;
        const auto delay = std::chrono::microseconds(
            std::uniform_int_distribution<int>(0, 16666)(g_latency.random));
        g_latency.thread = std::thread([vk, delay] {
            std::this_thread::sleep_for(delay);
            {
                std::lock_guard<std::mutex> hold(g_latency.mutex);
                g_latency.pending = true;
                g_latency.pushedAt = Clock::now();
            }
            PushSyntheticKey(vk, true);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            PushSyntheticKey(vk, false);
        });
    }
    const int32_t item = Select.SelectItem;
    SelectFrame(p);
    std::lock_guard<std::mutex> hold(g_latency.mutex);
    if (Select.SelectItem != item && g_latency.pending) {
        g_latency.pending = false;
        g_latency.seen.push_back({g_latency.pushedAt, frame});
    }
}

Stage MakeStage(const char* name, int frames, std::function<void()> init,
                std::function<void(PresentParameters)> frame, std::function<void()> release) {
    Stage s;
    s.name = name;
    s.frames = frames;
    s.init = std::move(init);
    s.frame = std::move(frame);
    s.release = std::move(release);
    return s;
}

enum class Run { Windowed, Headless, Paced };

// A minute each of the title and of an endless game, at the game's own pace: 3,600 frames,
// or fewer where frames run slow (a busy machine).
constexpr int kPacedFrames = 3600;
constexpr double kPacedMs = 60000.0;

// The game's own scenes first, then the stress frame, so the peak memory of play is seen
// before the stress frame adds to it.
std::vector<Stage> Stages(Run run) {
    std::vector<Stage> stages;
    const bool headless = run == Run::Headless;
    if (run == Run::Paced) {
        stages.push_back(MakeStage(
            "title", kPacedFrames, [] { TitleInit(); }, [](PresentParameters p) { TitleFrame(p); },
            TitleRelease));
        stages.push_back(MakeStage("endless: typical game (three rows)", kPacedFrames,
                                   EndlessPlaying, EndlessFrameHeld, EndlessRelease));
        stages.push_back(MakeStage("mode select: keys pushed into the event queue", 600,
                                   LatencyInit, LatencyFrame, LatencyRelease));
        return stages;
    }
    if (!headless) {
        stages.push_back(MakeStage(
            "title", 300, [] { TitleInit(); }, [](PresentParameters p) { TitleFrame(p); },
            TitleRelease));
        stages.push_back(MakeStage(
            "mode select", 120, [] { SelectInit(); }, [](PresentParameters p) { SelectFrame(p); },
            SelectRelease));
        stages.push_back(MakeStage(
            "options", 120, [] { OptionsInit(); }, [](PresentParameters p) { OptionsFrame(p); },
            OptionsRelease));
    }
    stages.push_back(MakeStage("endless: typical game (three rows)", 240, EndlessPlaying,
                               EndlessFrameOnly, EndlessRelease));
    stages.push_back(MakeStage("endless: full board, cursor three slices deep", 120,
                               EndlessFullBoard, EndlessFrameOnly, EndlessRelease));
    stages.push_back(MakeStage("challenge: level 14, cursor two slices deep", 240, ChallengePlaying,
                               ChallengeFrameOnly, ChallengeRelease));
    stages.push_back(MakeStage("versus: typical game (three rows per side)", 240, VersusPlaying,
                               VersusFrameOnly, VersusRelease));
    stages.push_back(MakeStage("versus: full boards, cursors three slices deep", 120,
                               VersusFullBoards, VersusFrameOnly, VersusRelease));
    if (headless) {
        static const char* const kNames[4] = {"", "easy", "normal", "hard"};
        for (int32_t level : {kCpuEasy, kCpuNormal, kCpuHard}) {
            static std::string names[4];
            names[level] = std::string("versus: computer opponents, both ") + kNames[level];
            stages.push_back(MakeStage(
                names[level].c_str(), 3000, [level] { VersusCpuPlaying(level); }, VersusCpuFrame,
                VersusCpuRelease));
        }
    }
    if (!headless)
        stages.push_back(
            MakeStage("stress: 3,000 model draws", 60, StressInit, StressFrame, StressRelease));
    return stages;
}

// The resident memory now and the part of it that maps files, in MB (0 where /proc has none).
void ResidentMemoryMb(double& resident, double& files) {
    resident = files = 0;
    FILE* f = std::fopen("/proc/self/smaps_rollup", "r");
    if (!f) return;
    char line[256];
    double anonymous = 0;
    while (std::fgets(line, sizeof line, f)) {
        long kb = 0;
        if (std::sscanf(line, "Rss: %ld kB", &kb) == 1) resident = kb / 1024.0;
        if (std::sscanf(line, "Anonymous: %ld kB", &kb) == 1) anonymous = kb / 1024.0;
    }
    std::fclose(f);
    files = resident - anonymous;
}

void TakeMemory(Stage& s) {
    ResidentMemoryMb(s.residentMb, s.filesMb);
    s.texturesMb = static_cast<double>(Texture::LiveBytes()) / (1 << 20);
    auto* mixer = dynamic_cast<Mixer*>(Sound());
    s.soundMb = mixer ? static_cast<double>(mixer->BufferBytes()) / (1 << 20) : 0;
}

double PeakMemoryMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

struct Bench {
    std::vector<Stage> stages;
    size_t stage = 0;
    int frame = 0;
    bool recordDraws = false;
    bool paced = false;
    Clock::time_point processStart;
    double firstFrameMs = -1;
    double firstFrameMb = 0; // peak memory when the first frame was presented
} g_bench;

int32_t BenchInit() {
    g_bench.stage = 0;
    g_bench.frame = 0;
    g_bench.stages[0].init();
    return 1;
}

int32_t BenchFrame(PresentParameters params) {
    Stage& s = g_bench.stages[g_bench.stage];
    auto* recorder = dynamic_cast<RecordingDevice*>(Device());
    bool countDraws = recorder && g_bench.frame == s.frames - 1;
    if (recorder) {
        recorder->ClearCalls();
        recorder->SetRecording(g_bench.recordDraws || countDraws);
    }
    auto* harness = dynamic_cast<HarnessDevice*>(Device());
    // TESS_BENCH_PICTURES=DIR keeps the last picture of every scene (to compare renderers).
    static const char* pictures = std::getenv("TESS_BENCH_PICTURES");
    if (pictures && harness && g_bench.frame == s.frames - 1 && !g_bench.paced)
        harness->CaptureNextPresent(std::string(pictures) + "/" + std::to_string(g_bench.stage) +
                                    ".png");
    auto t0 = Clock::now();
    double c0 = ProcessCpuMs();
    s.frame(params);
    auto t1 = Clock::now();
    FrameTimes f;
    f.cpu = ProcessCpuMs() - c0;
    f.start = Ms(t0 - g_bench.processStart);
    f.ms = Ms(t1 - t0);
    // The marks are those of this frame when it presented (a menu's last frame does not).
    if (harness && harness->Marks().presentEnd > t0 && harness->Marks().beginScene > t0) {
        const HarnessDevice::FrameMarks& m = harness->Marks();
        f.update = Ms(m.beginScene - t0) + Ms(t1 - m.presentEnd);
        f.submit = Ms(m.presentStart - m.beginScene);
        f.render = Ms(m.presentEnd - m.presentStart);
    } else {
        f.update = f.ms;
    }
    if (g_bench.paced) {
        FrameSlotNote note = LastFrameSlot();
        if (note.finished > t0) {
            f.presented = Ms(note.finished - g_bench.processStart);
            f.slot = Ms(note.slot - g_bench.processStart);
        }
    }
    s.times.push_back(f);
    if (g_bench.firstFrameMs < 0) {
        g_bench.firstFrameMs = Ms(t1 - g_bench.processStart);
        g_bench.firstFrameMb = PeakMemoryMb();
    }
    if (countDraws) s.meshDraws = recorder->Count(CallKind::Mesh);
    if (recorder) recorder->SetRecording(false);

    bool minute = g_bench.paced && f.start - s.times.front().start >= kPacedMs;
    if (++g_bench.frame < s.frames && !minute) return 1;
    TakeMemory(s);
    s.release();
    s.peakMb = PeakMemoryMb();
    g_bench.frame = 0;
    if (++g_bench.stage == g_bench.stages.size()) return 12;
    g_bench.stages[g_bench.stage].init();
    ReturnFreedMemory(); // as the main loop does after a scene has loaded
    return 1;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const char* heading, const std::vector<Stage>& stages) {
    std::printf("%s\n", heading);
    std::printf("  %-46s %8s %8s %8s  %6s %6s %6s %5s %6s\n", "", "median", "worst", "CPU",
                "update", "submit", "render", "draws", "peak");
    for (const Stage& s : stages) {
        // The first frames of a stage load and warm up; the rest are measured.
        std::vector<FrameTimes> t(s.times.begin() + std::min<size_t>(5, s.times.size()),
                                  s.times.end());
        std::vector<double> ms, cpu;
        FrameTimes sum;
        for (const FrameTimes& f : t) {
            ms.push_back(f.ms);
            cpu.push_back(f.cpu);
            sum.update += f.update, sum.submit += f.submit, sum.render += f.render;
        }
        double whole = std::max(sum.update + sum.submit + sum.render, 1e-9);
        double worst = ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end());
        std::printf("  %-46s %5.2f ms %5.2f ms %5.2f ms  %5.0f%% %5.0f%% %5.0f%% %5zu %3.0f MB\n",
                    s.name, Median(ms), worst, Median(cpu), 100 * sum.update / whole,
                    100 * sum.submit / whole, 100 * sum.render / whole, s.meshDraws, s.peakMb);
    }
}

void ReportMemory(const std::vector<Stage>& stages) {
    std::printf("Memory in each scene's last frame (resident; files: the program and its "
                "libraries mapped,\nthe renderer's LLVM most of it; the game's own: textures "
                "the renderer keeps, sound buffers: effects whole, music what it holds ahead):\n");
    for (const Stage& s : stages)
        std::printf("  %-46s %6.1f MB: files %5.1f, anonymous %5.1f (textures %4.1f, sound "
                    "%4.1f, the rest %5.1f)\n",
                    s.name, s.residentMb, s.filesMb, s.residentMb - s.filesMb, s.texturesMb,
                    s.soundMb, s.residentMb - s.filesMb - s.texturesMb - s.soundMb);
}

// Frame starts of a paced run: updates a second, the spread of the time from one start to the
// next, the longest such gap and how many exceed 20 ms. A key event is taken in before the
// update of the next frame, so the gap bounds how long it waits to be read.
void ReportPacing(const std::vector<Stage>& stages) {
    std::printf("Pacing (windowed, paced as the game runs; a minute each):\n");
    for (const Stage& s : stages) {
        if (s.times.size() < 10) continue;
        std::vector<double> gaps;
        for (size_t i = 6; i < s.times.size(); ++i)
            gaps.push_back(s.times[i].start - s.times[i - 1].start);
        double span = s.times.back().start - s.times[5].start;
        double mean = span / gaps.size(), var = 0;
        for (double g : gaps) var += (g - mean) * (g - mean);
        auto over = std::count_if(gaps.begin(), gaps.end(), [](double g) { return g > 20.0; });
        std::printf("  %-46s %8.3f updates/s over %zu frames; frame starts %.3f ms apart "
                    "(median), spread %.3f ms, longest gap %.2f ms, %zu gaps over 20 ms\n",
                    s.name, 1000.0 * gaps.size() / span, s.times.size(), Median(gaps),
                    std::sqrt(var / gaps.size()), *std::max_element(gaps.begin(), gaps.end()),
                    static_cast<size_t>(over));
        // Each gap is the frame's own work (update, drawing, rendering until presented) and
        // the wait for the next slot, which may end late.
        size_t longest = 6, overran = 0, lateWakes = 0;
        double worstLate = 0;
        for (size_t i = 6; i < s.times.size(); ++i) {
            const FrameTimes& a = s.times[i - 1];
            if (a.presented < 0) continue;
            if (s.times[i].start - a.start > s.times[longest].start - s.times[longest - 1].start)
                longest = i;
            overran += a.presented - a.start > 1000.0 / 60.0;
            double late = s.times[i].start - std::max(a.slot, a.presented);
            lateWakes += late > 1.0;
            worstLate = std::max(worstLate, late);
        }
        const FrameTimes& a = s.times[longest - 1];
        std::printf("  %-46s longest gap: the frame's work %.2f ms (update and drawing %.2f, "
                    "rendering %.2f), then %.2f ms to the next start; %zu frames overran their "
                    "slot, %zu woke over 1 ms late (latest %.2f ms)\n",
                    "", a.presented - a.start, a.update + a.submit,
                    a.presented - a.start - a.update - a.submit,
                    s.times[longest].start - a.presented, overran, lateWakes, worstLate);
    }
}

// What the start-up did until the first picture, each step with its own time (what ran on
// a thread of its own beside the first frames is marked so).
void ReportStartup(const std::vector<StartupMark>& marks) {
    std::printf("  start-up, ms since the program started (each step's own time):\n");
    Clock::time_point last = g_bench.processStart;
    for (const StartupMark& m : marks) {
        std::string what = m.what;
        if (size_t slash = what.rfind('/'); slash != std::string::npos) what.erase(0, slash + 1);
        std::printf("    %7.1f %6.1f  %s\n", Ms(m.at - g_bench.processStart), Ms(m.at - last),
                    what.c_str());
        last = m.at;
    }
}

// From each key's push to the picture that shows it: in ms, and in frames started since.
void ReportLatency(const Stage& s) {
    std::vector<double> ms;
    std::vector<size_t> frames;
    for (const auto& [at, frame] : g_latency.seen) {
        const double pushed = Ms(at - g_bench.processStart);
        if (frame >= s.times.size() || s.times[frame].presented < 0) continue;
        ms.push_back(s.times[frame].presented - pushed);
        size_t started = 0;
        for (size_t i = 0; i <= frame; ++i) started += s.times[i].start >= pushed;
        frames.push_back(started);
    }
    std::printf("Input latency (a key pushed into SDL's queue at a random moment -> the first "
                "picture that shows it):\n");
    if (ms.empty()) {
        std::printf("  no key was seen\n");
        return;
    }
    auto most = *std::max_element(frames.begin(), frames.end());
    auto inFirst = std::count(frames.begin(), frames.end(), size_t{1});
    std::printf("  %zu keys: median %.1f ms, worst %.1f ms; %zu shown by the first frame that "
                "started after the key, none later than frame %zu after it\n",
                ms.size(), Median(ms), *std::max_element(ms.begin(), ms.end()),
                static_cast<size_t>(inFirst), most);
}

RunResult RunStages(Backend& backend, Run run, bool recordDraws) {
    g_bench.stages = Stages(run);
    g_bench.recordDraws = recordDraws;
    g_bench.paced = run == Run::Paced;
    SceneAt(0) = {BenchInit, nullptr};
    SceneAt(1) = {nullptr, BenchFrame};
    CommandLine options;
    options.headless = run == Run::Headless;
    Harness harness(options, KeyScript{});
    RunResult r = RunProgram(backend, harness);
    RestoreDefaultScenes();
    return r;
}

} // namespace

int RunBench(Backend& backend, Clock::time_point processStart) {
    g_bench.processStart = processStart;
    SetFramePacing(false);
    RestartStartupMarks();
    RunResult windowed = RunStages(backend, Run::Windowed, false);
    if (!windowed.started) return 1;
    double firstFrame = g_bench.firstFrameMs;
    std::vector<StartupMark> startup = StartupMarks();
    std::vector<Stage> real = std::move(g_bench.stages);

    auto null = CreateNullBackend();
    RunStages(*null, Run::Headless, true);
    std::vector<Stage> headless = std::move(g_bench.stages);

    // TESS_BENCH_QUICK=1 leaves out the paced minutes (to compare frame times quickly).
    const char* quick = std::getenv("TESS_BENCH_QUICK");
    std::vector<Stage> paced;
    if (!quick || std::string(quick) == "0") {
        SetFramePacing(true);
        RunStages(backend, Run::Paced, false);
        paced = std::move(g_bench.stages);
    }

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "Tessarune benchmark (frames unpaced; the game itself never exceeds 60 a second)\n"
        "Per scene: median and worst wall time of a frame, the median CPU time of the whole\n"
        "process (the renderer's threads too), the shares of the scene's update, its drawing\n"
        "calls and presenting (the renderer finishing), model draws, peak memory after it.\n");
    std::printf("  start to the first presented frame: %.0f ms, peak memory then %.1f MB\n",
                firstFrame, g_bench.firstFrameMb);
    ReportStartup(startup);
    Report("Whole frames on this machine's renderer:", real);
    Report("Headless (update plus drawing into the recording device):", headless);
    std::printf("Computer opponents' thinking (both sides of a frame, CPU time of the game "
                "thread):\n");
    for (const CpuCost& c : g_cpuCosts) {
        double sum = 0;
        for (double ms : c.ms) sum += ms;
        double worst = c.ms.empty() ? 0 : *std::max_element(c.ms.begin(), c.ms.end());
        std::printf("  %-7s %7.3f ms/frame median, %7.3f mean, %7.3f worst over %zu frames\n",
                    c.level == kCpuEasy     ? "easy"
                    : c.level == kCpuNormal ? "normal"
                                            : "hard",
                    Median(c.ms), c.ms.empty() ? 0 : sum / c.ms.size(), worst, c.ms.size());
    }
    std::printf("  peak memory (resident) of the whole run: %.1f MB\n", PeakMemoryMb());
    ReportMemory(real);
    if (paced.empty()) return 0;
    ReportPacing(paced);
    ReportLatency(paced.back());
    return 0;
}
