// A key reaches the game before the update of the next frame: the loop takes in the window's
// events before it runs a frame.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/program.h"
#include "app/scenes.h"
#include "platform/input_map.h"
#include "platform/keyboard.h"
#include "platform/messages.h"
#include "platform/recording_device.h"
#include "platform/system.h"

using namespace platform;

namespace {

// A window whose event queue holds a Down press once `arrived` is set; the loop's look at the
// events takes it in as the SDL window does: into the key states and the message queue.
struct KeyWindow final : Window {
    void Show() override {}
    void SetClientSize(int, int) override {}
    void PumpEvents() override {
        if (!arrived || taken) return;
        taken = true;
        TheInputMap().SetPhysicalKey(VK_DOWN, true);
        PostMessage({WM_KEYDOWN, static_cast<uintptr_t>(VK_DOWN), 0});
    }
    void ShowCursor(bool) override {}
    void SetCursorPos(int, int) override {}
    bool arrived = false, taken = false;
};

KeyWindow* g_window = nullptr;
size_t g_arriveIn = 0;      // the frame during which the key event arrives
std::vector<bool> g_frames; // Down as each frame's update saw it

struct KeyBackend final : Backend {
    std::unique_ptr<Window> CreateMainWindow(const std::string&, int, int) override {
        auto window = std::make_unique<KeyWindow>();
        g_window = window.get();
        return window;
    }
    bool CreateGraphics() override { return true; }
    uint32_t DisplayModeFormat() override { return FMT_X8R8G8B8; }
    std::unique_ptr<GraphicsDevice> CreateDevice(Window&, DeviceType,
                                                 const PresentParameters&) override {
        return std::make_unique<RecordingDevice>();
    }
    void ReleaseGraphics() override {}
    bool StartSoundOutput(Mixer&) override { return false; }
    void StopSoundOutput() override {}
    void MessageBox(const std::string&, const std::string&) override {}
};

int32_t Init() {
    return 1;
}
int32_t Frame(PresentParameters) {
    g_frames.push_back(GetAsyncKeyState(VK_DOWN) != 0);
    if (g_frames.size() == g_arriveIn + 1) g_window->arrived = true; // while this frame runs
    return g_frames.size() >= 8 ? 12 : 1;
}

TEST(InputOrder, AKeyIsSeenByTheUpdateOfTheFrameAfterItsEvent) {
    for (size_t arriveIn : {0, 1, 4}) {
        TheKeyboard().ReleaseAll();
        TheInputMap().ReleaseKeyboard();
        g_frames.clear();
        g_arriveIn = arriveIn;
        SceneAt(0) = {Init, nullptr};
        SceneAt(1) = {nullptr, Frame};
        KeyBackend backend;
        CommandLine options;
        options.headless = true;
        options.frames = 50;
        Harness harness(options, KeyScript{});
        RunProgram(backend, harness);
        RestoreDefaultScenes();
        TheInputMap().ReleaseKeyboard();

        ASSERT_EQ(g_frames.size(), 8u);
        for (size_t i = 0; i < g_frames.size(); ++i)
            EXPECT_EQ(g_frames[i], i > arriveIn)
                << "key arrived in frame " << arriveIn << ", seen by frame " << i;
    }
}

} // namespace
