// The SDL main window: its events become window messages and key states.
#pragma once

#include <SDL.h>

#include <memory>
#include <string>

#include "platform/system.h"

namespace platform {

// The virtual key of an SDL key (0 for keys the game has no name for).
int VirtualKeyFromSdl(SDL_Keycode key);

class SdlWindow final : public Window {
  public:
    // Null when SDL's video cannot start or the window cannot be made.
    static std::unique_ptr<SdlWindow> Create(const std::string& title, int width, int height);
    ~SdlWindow() override = default;

    void Show() override;
    void SetClientSize(int width, int height) override;
    void PumpEvents() override;
    void ShowCursor(bool show) override;
    void SetCursorPos(int x, int y) override;

    SDL_Window* Handle() const { return window_.get(); }
    // Shared with the GL device, so that the window outlives the context drawn into it.
    std::shared_ptr<SDL_Window> Shared() const { return window_; }

  private:
    explicit SdlWindow(std::shared_ptr<SDL_Window> window) : window_(std::move(window)) {}
    void Translate(const SDL_Event& event);

    std::shared_ptr<SDL_Window> window_;
    bool destroyed_ = false; // WM_DESTROY is posted once
    uint8_t shiftsHeld_ = 0; // bit 0 left shift, bit 1 right shift
};

} // namespace platform
