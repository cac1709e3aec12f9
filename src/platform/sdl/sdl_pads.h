// Game pads through SDL's game-controller interface, taken and let go as they come and go:
// each connected pad holds a slot (the first pad slot 0, the second slot 1, ...) and its held
// buttons reach the input map as that slot's pad inputs.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>

#include "platform/input_map.h"

namespace platform {

class SdlPads {
  public:
    // Starts SDL's game-controller support; pads already connected arrive as added events.
    SdlPads();
    ~SdlPads();
    SdlPads(const SdlPads&) = delete;
    SdlPads& operator=(const SdlPads&) = delete;

    // Takes a pad event (added, removed, button, axis); false for any other event.
    bool Handle(const SDL_Event& event);
    // Lets go of every held input (the window lost the focus); the pads stay connected.
    void ReleaseAll();
    // The slot of a connected pad by its joystick instance, -1 when it has none.
    int SlotOf(SDL_JoystickID id) const;
    int Connected() const;

  private:
    struct Pad {
        SDL_GameController* controller = nullptr;
        SDL_JoystickID id = -1;
        uint32_t buttons = 0, stick = 0, triggers = 0;
    };
    void Add(int deviceIndex);
    void Remove(SDL_JoystickID id);
    void Report(int slot);

    bool started_ = false;
    std::array<Pad, kMaxPads> pads_{};
};

} // namespace platform
