// The shell: start-up and its failure paths, the scene loop, quitting, the shut-down.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/program.h"
#include "app/scenes.h"
#include "menus/title.h"
#include "modes/versus/cpu.h"
#include "platform/files.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/recording_device.h"
#include "platform/system.h"
#include "support/files.h"

#include <sys/stat.h>

using namespace platform;

namespace {

// A device that hands its recorded calls to the test when it is destroyed.
struct KeptDevice final : RecordingDevice {
    explicit KeptDevice(std::vector<RecordedCall>& out) : out(out) {}
    ~KeptDevice() override { out = Calls(); }
    std::vector<RecordedCall>& out;
};

// A window whose events are scripted by the test: `events[n]` is posted on the n-th pump.
struct ScriptedWindow final : Window {
    ScriptedWindow(const std::vector<std::vector<Msg>>& e, int& p) : events(e), pumps(p) {}
    void Show() override {}
    void SetClientSize(int, int) override {}
    void PumpEvents() override {
        if (pumps < static_cast<int>(events.size()))
            for (const Msg& m : events[pumps]) PostMessage(m);
        ++pumps;
    }
    void ShowCursor(bool) override {}
    void SetCursorPos(int, int) override {}
    const std::vector<std::vector<Msg>>& events;
    int& pumps;
};

struct TestBackend final : Backend {
    bool windowFails = false, graphicsFails = false;
    int deviceFailures = 0; // how many of the device types fail, in order
    std::vector<DeviceType> tried;
    std::vector<std::string> messages;
    bool graphicsReleased = false;
    std::vector<std::vector<Msg>> events;
    std::vector<RecordedCall> calls;
    int pumps = 0;

    std::unique_ptr<Window> CreateMainWindow(const std::string& title, int w, int h) override {
        if (windowFails) return nullptr;
        EXPECT_EQ(title + " " + std::to_string(w) + "x" + std::to_string(h), "Tessarune 880x480");
        pumps = 0;
        return std::make_unique<ScriptedWindow>(events, pumps);
    }
    bool CreateGraphics() override { return !graphicsFails; }
    uint32_t DisplayModeFormat() override { return FMT_X8R8G8B8; }
    std::unique_ptr<GraphicsDevice> CreateDevice(Window&, DeviceType type,
                                                 const PresentParameters& p) override {
        tried.push_back(type);
        // 880 x 480, flipped, windowed, with a 16-bit depth buffer.
        EXPECT_EQ(std::tuple(p.BackBufferWidth, p.BackBufferHeight, p.SwapEffect,
                             p.AutoDepthStencilFormat, p.Windowed, p.EnableAutoDepthStencil,
                             p.Flags),
                  std::tuple(880u, 480u, uint32_t{SWAPEFFECT_FLIP}, uint32_t{FMT_D16}, 1, 1, 1u));
        if (static_cast<int>(tried.size()) <= deviceFailures) return nullptr;
        return std::make_unique<KeptDevice>(calls);
    }
    void ReleaseGraphics() override { graphicsReleased = true; }
    bool StartSoundOutput(Mixer&) override { return false; }
    void StopSoundOutput() override {}
    void MessageBox(const std::string& text, const std::string& title) override {
        messages.push_back(title + ": " + text);
    }
};

// Scene functions for loop tests.
int g_frames = 0, g_quitAfter = 0, g_quitScene = 12;
int32_t FakeInit() {
    return 1;
}
int32_t FakeFrame(PresentParameters) {
    ++g_frames;
    return g_frames >= g_quitAfter ? g_quitScene : 1;
}

class ProgramTest : public ::testing::Test {
  protected:
    void SetUp() override {
        TheKeyboard().ReleaseAll();
        g_frames = 0;
    }
    void TearDown() override { RestoreDefaultScenes(); }
    void UseFakeScenes(int quitAfter, int quitScene) {
        g_quitAfter = quitAfter;
        g_quitScene = quitScene;
        SceneAt(0) = {FakeInit, nullptr};
        SceneAt(1) = {nullptr, FakeFrame};
    }
    RunResult Run(CommandLine options = {}, KeyScript script = {}) {
        options.headless = true;
        if (options.frames < 0) options.frames = 10000; // a fault fails, never hangs
        Harness harness(options, std::move(script));
        return RunProgram(backend, harness);
    }
    testfiles::DataDir data;
    TestBackend backend;
};

} // namespace

TEST_F(ProgramTest, StartupFailuresShowTheirMessagesAndDevicesFallBackInOrder) {
    backend.windowFails = true;
    EXPECT_FALSE(Run().started);
    EXPECT_TRUE(backend.messages.empty()) << "no message when the window cannot be made";

    backend = TestBackend{};
    backend.graphicsFails = true;
    EXPECT_FALSE(Run().started);
    EXPECT_EQ(backend.messages, std::vector<std::string>{"ERROR: Direct3D の作成に失敗しました。"});

    backend = TestBackend{};
    backend.deviceFailures = 3;
    EXPECT_FALSE(Run().started);
    EXPECT_EQ(backend.messages, std::vector<std::string>{"ERROR: DirectX9が初期化できません。\n"
                                                         "未対応のパソコンと思われます。"});
    EXPECT_TRUE(backend.graphicsReleased);
    EXPECT_EQ(backend.tried, (std::vector<DeviceType>{DeviceType::HardwareVertexProcessing,
                                                      DeviceType::SoftwareVertexProcessing,
                                                      DeviceType::Reference}));

    backend = TestBackend{};
    backend.deviceFailures = 2; // the last one works
    UseFakeScenes(1, 12);
    EXPECT_TRUE(Run().started);
    EXPECT_TRUE(backend.messages.empty());
}

TEST_F(ProgramTest, StartupSetsTheFixedRenderStateAndLight) {
    UseFakeScenes(1, 12);
    Run();
    std::set<std::string> names;
    for (const auto& c : backend.calls)
        if (c.kind == CallKind::State) names.insert(c.name);
    for (const char* name :
         {"RS_ZENABLE", "RS_ZWRITEENABLE", "RS_ALPHABLENDENABLE", "RS_SRCBLEND", "RS_DESTBLEND",
          "TSS_0_4", "TSS_0_5", "TSS_0_6", "TSS_0_1", "RS_CULLMODE", "SAMP_0_7", "SAMP_0_6",
          "SAMP_0_5", "RS_LIGHTING", "light", "lightenable", "fvf"})
        EXPECT_EQ(names.count(name), 1u) << name;
}

TEST_F(ProgramTest, QuitScenesEndTheLoopWithoutAnotherFrame) {
    for (int quit : {12, 13}) {
        g_frames = 0;
        UseFakeScenes(3, quit);
        RunResult r = Run();
        // Three frames and the initialiser ran; the loop ended on the quit scene.
        EXPECT_EQ((std::array{r.started ? 1 : 0, g_frames, static_cast<int>(r.frames), SceneId,
                              static_cast<int>(QuitFlag)}),
                  (std::array{1, 3, 4, quit, 1}));
    }
}

TEST_F(ProgramTest, EscapeAndClosingTheWindowQuitThroughTheShutdown) {
    UseFakeScenes(1000, 12);
    KeyScript script;
    std::string error;
    ASSERT_TRUE(ParseKeyScript("5 9 ESCAPE\n", script, error)) << error;
    RunResult r = Run({}, script);
    EXPECT_EQ(r.frames, 5) << "frames 0..4 ran; the Escape press quits before frame 5";
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(Device(), nullptr) << "the device was released";

    g_frames = 0;
    // Window closed on the 4th pump: the quit follows on the next passes.
    backend.events = {{}, {}, {}, {Msg{WM_DESTROY, 0, 0}}};
    r = Run();
    EXPECT_EQ(r.frames * 10 + r.exitCode, 30);
}

// A trace that cannot be written makes the run fail, as a dump that cannot be written does.
TEST_F(ProgramTest, ATraceThatCannotBeWrittenFailsTheRun) {
    UseFakeScenes(1000, 12);
    for (const std::string& folder : {data.path().string(), std::string("/nonexistent")}) {
        CommandLine options;
        options.headless = true;
        options.frames = 3;
        options.traces = {{1, folder + "/t.jsonl"}};
        Harness harness(options, {});
        RunProgram(backend, harness);
        EXPECT_EQ(harness.OutputFailed(), folder == "/nonexistent") << folder;
    }
    EXPECT_TRUE(std::filesystem::exists(data.path() / "t.jsonl"));
}

TEST_F(ProgramTest, PendingMessagesPauseFramesOneMessagePerPass) {
    UseFakeScenes(1000, 12);
    // Three messages arrive at once at the second pump; frames resume once they are handled.
    backend.events = {{},
                      {Msg{WM_MOUSEMOVE, 0, 0}, Msg{WM_MOUSEMOVE, 0, 0}, Msg{WM_MOUSEMOVE, 0, 0}}};
    CommandLine options;
    options.frames = 5;
    EXPECT_EQ(Run(options).frames, 5);
    EXPECT_EQ(g_frames, 4);
    EXPECT_EQ(backend.pumps, 8) << "five passes ran frames, three handled one message each";
}

TEST_F(ProgramTest, FrameLimitLeavesThroughTheShutdownAndReleasesEveryScene) {
    ReleaseAllScenes(); // scenes that never ran release harmlessly, twice
    ReleaseAllScenes();
    // The real title with only its block model: it runs and is released at the end.
    data.Put("./xFile/パズル用図形１.x", testfiles::kCubeX);
    CommandLine options;
    options.frames = 10;
    RunResult r = Run(options);
    EXPECT_TRUE(r.started && r.frames == 10);
    EXPECT_EQ(Title.BlockAngle, 18.0f);
    EXPECT_TRUE(!Title.block.mesh && !Title.background && !Sound()) << "all released";
}

TEST(CommandLineTest, ParsesEveryOptionAndRejectsUnknownOnes) {
    CommandLine o;
    std::string error;
    ASSERT_TRUE(
        ParseOptions({"--headless", "--frames", "300", "--seed", "7", "--trace", "5:t.jsonl",
                      "--screenshot", "12:s.png", "--dump", "d.json", "--data", "dir", "--keys",
                      "k.txt", "--debug-keys", "--cpu-vs-cpu", "easy", "HARD"},
                     o, error))
        << error;
    EXPECT_TRUE(o.headless && o.debugKeys && o.frames == 300 && o.seed == 7u);
    EXPECT_TRUE(o.cpuLeft == kCpuEasy && o.cpuRight == kCpuHard);
    ASSERT_TRUE(o.traces.size() == 1 && o.screenshots.size() == 1);
    EXPECT_EQ(o.traces[0].path + std::to_string(o.traces[0].frame), "t.jsonl5");
    EXPECT_EQ(o.screenshots[0].path + std::to_string(o.screenshots[0].frame), "s.png12");
    EXPECT_EQ(o.dump + o.data + o.keys, "d.jsondirk.txt");

    for (auto bad : std::vector<std::vector<std::string>>{{"--bogus"},
                                                          {"--frames"},
                                                          {"--frames", "-3"},
                                                          {"--frames", "12x"},
                                                          {"--trace", "5"},
                                                          {"--trace", "-1:t.jsonl"},
                                                          {"--screenshot", "x:y.png"},
                                                          {"--seed", "99999999999"},
                                                          {"--cpu-vs-cpu", "easy"},
                                                          {"--cpu-vs-cpu", "easy", "expert"}}) {
        CommandLine b;
        error.clear();
        EXPECT_FALSE(ParseOptions(bad, b, error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(KeyScriptTest, HoldsKeysOverInclusiveRangesAndReportsBadLines) {
    KeyScript s;
    std::string error;
    ASSERT_TRUE(ParseKeyScript("# comment\n\n0 2 Z\n2 3 SHIFT UP # deeper\n", s, error)) << error;
    EXPECT_EQ(s.KeysAt(0), std::vector<int>{'Z'});
    EXPECT_EQ(s.KeysAt(2), (std::vector<int>{'Z', VK_SHIFT, VK_UP}));
    EXPECT_EQ(s.KeysAt(3), (std::vector<int>{VK_SHIFT, VK_UP}));
    EXPECT_TRUE(s.KeysAt(4).empty());

    for (const char* bad : {"1 Z\n", "3 1 Z\n", "0 1 PLUS\n", "a b Z\n", "0 1\n"}) {
        KeyScript b;
        error.clear();
        EXPECT_FALSE(ParseKeyScript(bad, b, error)) << bad;
        EXPECT_NE(error.find("line 1"), std::string::npos) << error;
    }
}

// A script that is not a regular file within the size limit is refused, not read for ever.
TEST(KeyScriptTest, OnlyRegularFilesWithinTheLimitAreLoaded) {
    testfiles::DataDir dir;
    ASSERT_EQ(::mkfifo((dir / "pipe.keys").c_str(), 0600), 0);
    std::string big(kMaxKeyScriptBytes + 1, '\n');
    std::string tooBig = (dir / dir.Put("big.keys", big)).string();
    std::string good = (dir / dir.Put("good.keys", "0 1 Z\n")).string();
    KeyScript s;
    std::string error;
    EXPECT_TRUE(LoadKeyScript(good, s, error)) << error;
    EXPECT_EQ(s.lines.size(), 1u);
    // Every kind of file that is not regular is the file reader's test; one stands for them.
    for (const std::string& bad :
         {std::string("/nonexistent/keys.txt"), (dir / "pipe.keys").string(), tooBig}) {
        KeyScript none;
        error.clear();
        EXPECT_FALSE(LoadKeyScript(bad, none, error)) << bad;
        EXPECT_NE(error.find(bad), std::string::npos) << error;
    }
}
