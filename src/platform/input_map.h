// Keys and pad buttons as the game's virtual keys: the physical keyboard and every connected
// pad are sources whose held inputs become the virtual keys the current key context binds
// them to. A virtual key is held while any source holds an input bound to it.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Keyboard keys beyond those the game reads (keyboard.h), for bindings.
constexpr int VK_BACK = 0x08, VK_TAB = 0x09, VK_CONTROL = 0x11, VK_MENU = 0x12, VK_SPACE = 0x20,
              VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_INSERT = 0x2D,
              VK_DELETE = 0x2E, VK_NUMPAD0 = 0x60, VK_F11 = 0x7A, VK_OEM_1 = 0xBA,
              VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
              VK_OEM_2 = 0xBF;

// The inputs of a game pad (the left stick counts as the d-pad).
enum PadInput : int {
    kPadUp,
    kPadDown,
    kPadLeft,
    kPadRight,
    kPadSouth,
    kPadEast,
    kPadWest,
    kPadNorth,
    kPadLeftShoulder,
    kPadRightShoulder,
    kPadLeftTrigger,
    kPadRightTrigger,
    kPadSelect,
    kPadStart,
    kPadLeftStick,
    kPadRightStick,
    kPadInputCount
};

// One input bound to one virtual key: a keyboard key (its virtual key code, 0..255) or a pad
// input (kPadBase + PadInput) of any pad (pad -1) or of the pad in one slot.
constexpr int kPadBase = 256;
struct Binding {
    int input = 0;
    int vk = 0;
    int pad = -1;
};

constexpr int kMaxPads = 8;

class InputMap {
  public:
    // The bindings of each key context, numbered by the caller. Without any, every keyboard key
    // is its own virtual key and pads give nothing.
    void SetBindings(std::vector<std::vector<Binding>> contexts);
    // Which context the next inputs are read in; the held virtual keys follow at once.
    void SetContext(int context);
    int Context() const { return context_; }

    // A keyboard key (virtual key code of the key pressed) went down or up.
    void SetPhysicalKey(int key, bool down);
    void ReleaseKeyboard();
    // The inputs held on the pad in `slot` (bit n = PadInput n); 0 when it is let go.
    void SetPad(int slot, uint32_t inputs);
    void ReleaseAll();

    // The virtual keys held through this map now.
    const std::bitset<256>& Held() const { return written_; }

  private:
    void Refresh();

    std::vector<std::vector<Binding>> contexts_;
    int context_ = 0;
    std::bitset<256> keys_;
    std::array<uint32_t, kMaxPads> pads_{};
    std::bitset<256> written_; // what the keyboard was last told
};

// The program-wide map; it writes into TheKeyboard().
InputMap& TheInputMap();

// Names of keyboard keys in settings files (upper case; letters and digits are themselves):
// UP DOWN LEFT RIGHT SHIFT CTRL ALT RETURN SPACE TAB BACKSPACE INSERT DELETE HOME END PAGEUP
// PAGEDOWN COMMA PERIOD SLASH SEMICOLON MINUS EQUALS NUM0..NUM9. -1 when unknown.
int PhysicalKeyFromName(std::string_view name);
// The name of a keyboard key as above; "" when it has none.
std::string PhysicalKeyName(int key);
// Names of pad inputs (after "pad:"): up down left right south east west north lshoulder
// rshoulder ltrigger rtrigger select start lstick rstick. -1 when unknown.
int PadInputFromName(std::string_view name);
std::string_view PadInputName(int input); // "" when unknown

} // namespace platform
