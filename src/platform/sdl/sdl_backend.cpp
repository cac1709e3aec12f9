// The SDL2 / OpenGL system services.
#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <cstdio>

#include "platform/mixer.h"
#include "platform/sdl/gl_device.h"
#include "platform/sdl/sdl_window.h"

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

    bool StartSoundOutput(Mixer& mixer) override {
        StopSoundOutput();
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
            audio_ = Audio::Subsystem;
            if (Open(mixer)) return true;
        }
        // No usable device: SDL's dummy driver still pulls the mix at the real rate.
        if (SDL_AudioInit("dummy") == 0) {
            if (audio_ == Audio::None) audio_ = Audio::Dummy;
            if (Open(mixer)) return true;
        }
        StopSoundOutput();
        return false;
    }

    void StopSoundOutput() override {
        if (device_) SDL_CloseAudioDevice(device_);
        device_ = 0;
        if (audio_ == Audio::Subsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
        if (audio_ == Audio::Dummy) SDL_AudioQuit();
        audio_ = Audio::None;
    }

    void MessageBox(const std::string& text, const std::string& title) override {
        std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
    }

  private:
    // How the audio driver was started: through SDL's subsystem count, or the dummy driver
    // alone after the subsystem failed to start.
    enum class Audio { None, Subsystem, Dummy };

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
    Audio audio_ = Audio::None;
    SDL_AudioDeviceID device_ = 0;
};

} // namespace

std::unique_ptr<Backend> CreateSdlBackend() {
    return std::make_unique<SdlBackend>();
}

} // namespace platform
