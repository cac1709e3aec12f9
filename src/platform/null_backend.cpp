// The headless system services.
#include "platform/null_backend.h"

#include <cstdio>

#include "platform/recording_device.h"

namespace platform {

namespace {

class NullWindow final : public Window {
  public:
    void Show() override {}
    void SetClientSize(int, int) override {}
    void PumpEvents() override {}
    void ShowCursor(bool) override {}
    void SetCursorPos(int, int) override {}
};

class NullBackend final : public Backend {
  public:
    std::unique_ptr<Window> CreateMainWindow(const std::string&, int, int) override {
        return std::make_unique<NullWindow>();
    }
    bool CreateGraphics() override { return true; }
    uint32_t DisplayModeFormat() override { return FMT_X8R8G8B8; }
    std::unique_ptr<GraphicsDevice> CreateDevice(Window&, DeviceType,
                                                 const PresentParameters&) override {
        auto device = std::make_unique<RecordingDevice>();
        device->SetRecording(false);
        return device;
    }
    void ReleaseGraphics() override {}
    bool StartSoundOutput(Mixer&) override { return false; }
    void StopSoundOutput() override {}
    void MessageBox(const std::string& text, const std::string& title) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    }
};

} // namespace

std::unique_ptr<Backend> CreateNullBackend() {
    return std::make_unique<NullBackend>();
}

} // namespace platform
