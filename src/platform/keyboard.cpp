// The keyboard as the game polls it.
#include "platform/keyboard.h"

namespace platform {

void Keyboard::SetKey(int vk, bool down) {
    if (vk < 0 || vk >= 256) return;
    if (down && !held_[vk]) pressedSinceQuery_[vk] = true;
    held_[vk] = down;
}

void Keyboard::ReleaseAll() {
    held_.fill(false);
}

int16_t Keyboard::Query(int vk) {
    if (vk < 0 || vk >= 256) return 0;
    int16_t result =
        static_cast<int16_t>((held_[vk] ? 0x8000 : 0) | (pressedSinceQuery_[vk] ? 1 : 0));
    pressedSinceQuery_[vk] = false;
    return result;
}

Keyboard& TheKeyboard() {
    static Keyboard keyboard;
    return keyboard;
}

int16_t GetAsyncKeyState(int vk) {
    return TheKeyboard().Query(vk);
}

namespace {
bool g_debugKeys = false;
}
void EnableDebugKeys(bool enable) {
    g_debugKeys = enable;
}
bool DebugKeysEnabled() {
    return g_debugKeys;
}

namespace {
struct Named {
    std::string_view name;
    int vk;
};
constexpr Named kNames[] = {{"UP", VK_UP},        {"DOWN", VK_DOWN},   {"LEFT", VK_LEFT},
                            {"RIGHT", VK_RIGHT},  {"SHIFT", VK_SHIFT}, {"RETURN", VK_RETURN},
                            {"ESCAPE", VK_ESCAPE}};
constexpr std::string_view kLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
} // namespace

int KeyFromName(std::string_view name) {
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return name[0];
    for (const auto& n : kNames)
        if (n.name == name) return n.vk;
    return -1;
}

std::string_view KeyName(int vk) {
    if (vk >= 'A' && vk <= 'Z') return kLetters.substr(static_cast<size_t>(vk - 'A'), 1);
    for (const auto& n : kNames)
        if (n.vk == vk) return n.name;
    return {};
}

} // namespace platform
