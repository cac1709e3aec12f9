// The SDL main window: its events become window messages and key states.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "platform/sdl/sdl_pads.h"
#include "platform/system.h"

namespace platform {

// The virtual key of an SDL key (0 for keys without a name in key scripts or settings).
int VirtualKeyFromSdl(SDL_Keycode key);

class SdlWindow final : public Window {
  public:
    // Null when SDL's video cannot start or the window cannot be made.
    static std::unique_ptr<SdlWindow> Create(const std::string& title, int width, int height);
    ~SdlWindow() override; // lets go of the keys it held

    void Show() override;
    void SetClientSize(int width, int height) override;
    void PumpEvents() override;
    void ShowCursor(bool show) override;
    void SetCursorPos(int x, int y) override;
    void SetFullScreen(bool on) override;
    bool FullScreen() const override;
    void WindowedSize(int& width, int& height) const override;

    SDL_Window* Handle() const { return window_.get(); }
    // Shared with the GL device, so that the window outlives the context drawn into it.
    std::shared_ptr<SDL_Window> Shared() const { return window_; }

  private:
    SdlWindow(std::shared_ptr<SDL_Window> window, int width, int height)
        : window_(std::move(window)), windowedWidth_(width), windowedHeight_(height) {}
    void Translate(const SDL_Event& event);
    void TranslateKey(const SDL_KeyboardEvent& key);

    std::shared_ptr<SDL_Window> window_;
    SdlPads pads_;
    bool destroyed_ = false; // WM_DESTROY is posted once
    // Shift, Ctrl and Alt: bit 0 the left key, bit 1 the right one.
    uint8_t shiftsHeld_ = 0, ctrlsHeld_ = 0, altsHeld_ = 0;
    int windowedWidth_, windowedHeight_; // the size before going full screen
};

} // namespace platform
