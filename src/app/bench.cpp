// --bench: whole frames on the real renderer, start-up time and peak memory.
#include "app/bench.h"

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "app/scenes.h"
#include "media/draw.h"
#include "media/frame.h"
#include "menus/title.h"
#include "modes/challenge/challenge.h"
#include "modes/endless/endless.h"
#include "modes/versus/cpu.h"
#include "modes/versus/versus.h"
#include "platform/null_backend.h"
#include "platform/recording_device.h"

using namespace platform;
using Clock = std::chrono::steady_clock;

namespace {

struct Stage {
    const char* name;
    int frames;
    std::function<void()> init;
    std::function<void(PresentParameters)> frame;
    std::function<void()> release;
    std::vector<double> ms;  // wall time per frame
    std::vector<double> cpu; // CPU time of the game thread per frame
    size_t meshDraws = 0;    // model subsets drawn in the last frame
    double peakMb = 0;       // peak resident memory of the run so far, after the stage
};

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
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

// The game's own scenes first, then the stress frame, so the peak memory of play is seen
// before the stress frame adds to it.
std::vector<Stage> Stages(bool headless) {
    std::vector<Stage> stages;
    if (!headless)
        stages.push_back(MakeStage(
            "title scene", 300, [] { TitleInit(); }, [](PresentParameters p) { TitleFrame(p); },
            TitleRelease));
    stages.push_back(MakeStage("endless: typical game (three rows)", 240, EndlessPlaying,
                               EndlessFrameOnly, EndlessRelease));
    stages.push_back(MakeStage("endless: full board, cursor three slices deep", 120,
                               EndlessFullBoard, EndlessFrameOnly, EndlessRelease));
    stages.push_back(MakeStage("versus: typical game (three rows per side)", 240, VersusPlaying,
                               VersusFrameOnly, VersusRelease));
    stages.push_back(MakeStage("versus: full boards, cursors three slices deep", 120,
                               VersusFullBoards, VersusFrameOnly, VersusRelease));
    stages.push_back(MakeStage("challenge: level 14, cursor two slices deep", 240, ChallengePlaying,
                               ChallengeFrameOnly, ChallengeRelease));
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
    Clock::time_point processStart;
    double firstFrameMs = -1;
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
    auto t0 = Clock::now();
    double c0 = ThreadCpuMs();
    s.frame(params);
    s.cpu.push_back(ThreadCpuMs() - c0);
    s.ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
    if (g_bench.firstFrameMs < 0)
        g_bench.firstFrameMs =
            std::chrono::duration<double, std::milli>(Clock::now() - g_bench.processStart).count();
    if (countDraws) s.meshDraws = recorder->Count(CallKind::Mesh);
    if (recorder) recorder->SetRecording(false);

    if (++g_bench.frame < s.frames) return 1;
    s.release();
    s.peakMb = PeakMemoryMb();
    g_bench.frame = 0;
    if (++g_bench.stage == g_bench.stages.size()) return 12;
    g_bench.stages[g_bench.stage].init();
    return 1;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Report(const char* heading, const std::vector<Stage>& stages) {
    std::printf("%s\n", heading);
    for (const Stage& s : stages) {
        // The first frames of a stage load and warm up; the rest are measured.
        std::vector<double> ms(s.ms.begin() + std::min<size_t>(5, s.ms.size()), s.ms.end());
        std::vector<double> cpu(s.cpu.begin() + std::min<size_t>(5, s.cpu.size()), s.cpu.end());
        double worst = ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end());
        std::printf("  %-48s %7.2f ms/frame median, %7.2f worst, %6.2f ms CPU; %zu model "
                    "draws; peak %.0f MB\n",
                    s.name, Median(ms), worst, Median(cpu), s.meshDraws, s.peakMb);
    }
}

RunResult RunStages(Backend& backend, bool headless, bool recordDraws) {
    g_bench.stages = Stages(headless);
    g_bench.recordDraws = recordDraws;
    SceneAt(0) = {BenchInit, nullptr};
    SceneAt(1) = {nullptr, BenchFrame};
    CommandLine options;
    options.headless = headless;
    Harness harness(options, KeyScript{});
    RunResult r = RunProgram(backend, harness);
    RestoreDefaultScenes();
    return r;
}

} // namespace

int RunBench(Backend& backend, Clock::time_point processStart) {
    g_bench.processStart = processStart;
    SetFramePacing(false);
    RunResult windowed = RunStages(backend, false, false);
    if (!windowed.started) return 1;
    double firstFrame = g_bench.firstFrameMs;
    std::vector<Stage> real = std::move(g_bench.stages);

    auto null = CreateNullBackend();
    RunStages(*null, true, true);
    std::vector<Stage> headless = std::move(g_bench.stages);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf(
        "Tessarune benchmark (frames unpaced; the game itself never exceeds 60 a second)\n");
    std::printf("  start to the first presented frame: %.0f ms\n", firstFrame);
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
    return 0;
}
