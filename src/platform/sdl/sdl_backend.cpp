// The SDL2 / OpenGL system services.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <cstdio>
#include <thread>

#include "platform/mixer.h"
#include "platform/sdl/gl_device.h"
#include "platform/sdl/sdl_window.h"
#include "platform/startup.h"

namespace platform {

namespace {

void MixCallback(void* mixer, Uint8* stream, int bytes) {
    static_cast<Mixer*>(mixer)->Mix(reinterpret_cast<int16_t*>(stream),
                                    static_cast<size_t>(bytes) / (sizeof(int16_t) * 2));
}

class SdlBackend final : public Backend {
  public:
    ~SdlBackend() override {
        StopSoundOutput();
        ReleaseGraphics();
    }

    std::unique_ptr<Window> CreateMainWindow(const std::string& title, int width,
                                             int height) override {
        return SdlWindow::Create(title, width, height);
    }

    bool CreateGraphics() override {
        if (graphics_) return true;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        if (SDL_GL_LoadLibrary(nullptr) != 0) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return false;
        }
        graphics_ = true;
        return true;
    }

    uint32_t DisplayModeFormat() override { return FMT_X8R8G8B8; }

    std::unique_ptr<GraphicsDevice> CreateDevice(Window& window, DeviceType type,
                                                 const PresentParameters&) override {
        auto* sdl = dynamic_cast<SdlWindow*>(&window);
        if (!sdl) return nullptr;
        return GlDevice::Create(sdl->Shared(), type);
    }

    void ReleaseGraphics() override {
        if (!graphics_) return;
        SDL_GL_UnloadLibrary();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        graphics_ = false;
    }

    // Opening the sound device can take a tenth of a second or more (a sound server that
    // does not answer, drivers tried one after another): it is opened on a thread of its own
    // while the game starts. The mixer is pulled once it is open; until then its buffers wait.
    bool StartSoundOutput(Mixer& mixer) override {
        StopSoundOutput();
        opener_ = std::thread([this, &mixer] {
            OpenOutput(mixer);
            MarkStartup(device_ ? "sound output open" : "no sound output", true);
        });
        return true;
    }

    void StopSoundOutput() override {
        if (opener_.joinable()) opener_.join();
        if (device_) SDL_CloseAudioDevice(device_);
        device_ = 0;
        if (audio_) SDL_AudioQuit();
        audio_ = false;
    }

    void MessageBox(const std::string& text, const std::string& title) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
    }

  private:
    // The audio drivers are started without SDL's subsystem count, which the main thread
    // keeps: the first that starts and opens a device, else SDL's dummy driver, which still
    // pulls the mix at the real rate.
    void OpenOutput(Mixer& mixer) {
        if (SDL_AudioInit(nullptr) == 0) {
            audio_ = true;
            if (Open(mixer)) return;
            SDL_AudioQuit();
        }
        audio_ = SDL_AudioInit("dummy") == 0;
        if (audio_ && Open(mixer)) return;
        if (audio_) SDL_AudioQuit();
        audio_ = false;
        std::fprintf(stderr, "tessarune: no sound output: %s\n", SDL_GetError());
    }

    bool Open(Mixer& mixer) {
        SDL_AudioSpec want{};
        want.freq = Mixer::kRate;
        want.format = AUDIO_S16SYS;
        want.channels = Mixer::kChannels;
        want.samples = 1024;
        want.callback = MixCallback;
        want.userdata = &mixer;
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0);
        if (device_ == 0) return false;
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    bool graphics_ = false;
    // Written by the opening thread, read only after it has been joined.
    bool audio_ = false;
    SDL_AudioDeviceID device_ = 0;
    std::thread opener_;
};

} // namespace

std::unique_ptr<Backend> CreateSdlBackend() {
    return std::make_unique<SdlBackend>();
}

} // namespace platform
