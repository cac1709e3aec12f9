// The keyboard as the game polls it: GetAsyncKeyState over the held keys, fed by the window's
// key events or by a key script.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace platform {

constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
// Letters are their upper-case ASCII codes ('A' .. 'Z').

// All that a query depends on: the keys held and those pressed since their last query.
// Recordings keep it frame by frame; replays put it back.
struct KeyboardState {
    std::array<bool, 256> held{};
    std::array<bool, 256> pressed{};
};

class Keyboard {
  public:
    // A key went down or up (window events, or the key script at the start of a frame).
    void SetKey(int vk, bool down);
    void ReleaseAll();
    // 0x8000 while held, | 1 when pressed since the previous query of that key (then cleared).
    int16_t Query(int vk);
    bool Held(int vk) const { return vk >= 0 && vk < 256 && held_[vk]; }
    KeyboardState Snapshot() const { return {held_, pressedSinceQuery_}; }
    void Restore(const KeyboardState& state) {
        held_ = state.held;
        pressedSinceQuery_ = state.pressed;
    }

  private:
    std::array<bool, 256> held_{};
    std::array<bool, 256> pressedSinceQuery_{};
};

// The program-wide keyboard.
Keyboard& TheKeyboard();
int16_t GetAsyncKeyState(int vk);

// The cheat keys (adding score or garbage) act only when enabled (--debug-keys).
void EnableDebugKeys(bool enable);
bool DebugKeysEnabled();

// Key names of key scripts and the command line: Z X A Q R W K J U G B V N UP DOWN LEFT RIGHT
// SHIFT RETURN ESCAPE (any letter A..Z is accepted). Returns -1 for an unknown name.
int KeyFromName(std::string_view name);
// The name of a virtual key in key scripts; empty for a key without one.
std::string_view KeyName(int vk);

} // namespace platform
