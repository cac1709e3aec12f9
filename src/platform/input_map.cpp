// Keys and pad buttons as the game's virtual keys.
#include "platform/input_map.h"

#include <cctype>

#include "platform/keyboard.h"

namespace platform {

void InputMap::SetBindings(std::vector<std::vector<Binding>> contexts) {
    contexts_ = std::move(contexts);
    Refresh();
}

void InputMap::SetContext(int context) {
    if (context == context_) return;
    context_ = context;
    Refresh();
}

void InputMap::SetPhysicalKey(int key, bool down) {
    if (key < 0 || key >= 256 || keys_[key] == down) return;
    keys_[key] = down;
    Refresh();
}

void InputMap::ReleaseKeyboard() {
    keys_.reset();
    Refresh();
}

void InputMap::SetPad(int slot, uint32_t inputs) {
    if (slot < 0 || slot >= kMaxPads || pads_[slot] == inputs) return;
    pads_[slot] = inputs;
    Refresh();
}

void InputMap::ReleaseAll() {
    keys_.reset();
    pads_.fill(0);
    Refresh();
}

void InputMap::Refresh() {
    std::bitset<256> held;
    if (contexts_.empty()) {
        held = keys_;
    } else if (context_ >= 0 && static_cast<size_t>(context_) < contexts_.size()) {
        for (const Binding& b : contexts_[context_]) {
            if (b.vk < 0 || b.vk >= 256) continue;
            if (b.input >= 0 && b.input < 256) {
                if (keys_[b.input]) held.set(b.vk);
                continue;
            }
            int bit = b.input - kPadBase;
            if (bit < 0 || bit >= kPadInputCount) continue;
            for (int slot = 0; slot < kMaxPads; ++slot)
                if ((b.pad < 0 || b.pad == slot) && (pads_[slot] >> bit & 1)) held.set(b.vk);
        }
    }
    // A key another source also holds stays held until both let go: only changes are told.
    std::bitset<256> changed = held ^ written_;
    written_ = held;
    for (int vk = 0; vk < 256; ++vk)
        if (changed[vk]) TheKeyboard().SetKey(vk, held[vk]);
}

InputMap& TheInputMap() {
    static InputMap map;
    return map;
}

namespace {

struct Named {
    std::string_view name;
    int code;
};

constexpr Named kKeyNames[] = {{"UP", VK_UP},
                               {"DOWN", VK_DOWN},
                               {"LEFT", VK_LEFT},
                               {"RIGHT", VK_RIGHT},
                               {"SHIFT", VK_SHIFT},
                               {"CTRL", VK_CONTROL},
                               {"ALT", VK_MENU},
                               {"RETURN", VK_RETURN},
                               {"SPACE", VK_SPACE},
                               {"TAB", VK_TAB},
                               {"BACKSPACE", VK_BACK},
                               {"INSERT", VK_INSERT},
                               {"DELETE", VK_DELETE},
                               {"HOME", VK_HOME},
                               {"END", VK_END},
                               {"PAGEUP", VK_PRIOR},
                               {"PAGEDOWN", VK_NEXT},
                               {"COMMA", VK_OEM_COMMA},
                               {"PERIOD", VK_OEM_PERIOD},
                               {"SLASH", VK_OEM_2},
                               {"SEMICOLON", VK_OEM_1},
                               {"MINUS", VK_OEM_MINUS},
                               {"EQUALS", VK_OEM_PLUS}};

constexpr Named kPadNames[] = {{"up", kPadUp},
                               {"down", kPadDown},
                               {"left", kPadLeft},
                               {"right", kPadRight},
                               {"south", kPadSouth},
                               {"east", kPadEast},
                               {"west", kPadWest},
                               {"north", kPadNorth},
                               {"lshoulder", kPadLeftShoulder},
                               {"rshoulder", kPadRightShoulder},
                               {"ltrigger", kPadLeftTrigger},
                               {"rtrigger", kPadRightTrigger},
                               {"select", kPadSelect},
                               {"start", kPadStart},
                               {"lstick", kPadLeftStick},
                               {"rstick", kPadRightStick}};

} // namespace

int PhysicalKeyFromName(std::string_view name) {
    if (name.size() == 1 && std::isupper(static_cast<unsigned char>(name[0]))) return name[0];
    if (name.size() == 1 && std::isdigit(static_cast<unsigned char>(name[0]))) return name[0];
    if (name.size() == 4 && name.substr(0, 3) == "NUM" &&
        std::isdigit(static_cast<unsigned char>(name[3])))
        return VK_NUMPAD0 + (name[3] - '0');
    for (const Named& n : kKeyNames)
        if (n.name == name) return n.code;
    return -1;
}

std::string PhysicalKeyName(int key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9)
        return "NUM" + std::string(1, static_cast<char>('0' + key - VK_NUMPAD0));
    for (const Named& n : kKeyNames)
        if (n.code == key) return std::string(n.name);
    return "";
}

std::string_view PadInputName(int input) {
    for (const Named& n : kPadNames)
        if (n.code == input) return n.name;
    return "";
}

int PadInputFromName(std::string_view name) {
    for (const Named& n : kPadNames)
        if (n.name == name) return n.code;
    return -1;
}

} // namespace platform
