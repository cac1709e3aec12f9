// Key bindings: the actions of every screen, their defaults, collisions, the input map tables.
#include "app/bindings.h"

#include <algorithm>

#include "modes/versus/versus.h"
#include "platform/keyboard.h"
#include "ui/scene_id.h"

using namespace platform;

namespace {

constexpr uint32_t kMenu = 1u << kMenuKeys, kEndless = 1u << kEndlessKeys,
                   kChallenge = 1u << kChallengeKeys, kVersusPlay = 1u << kVersusPlayKeys,
                   kVersusMenu = 1u << kVersusMenuKeys;
constexpr int kAny = -1, kLeftPad = 0, kRightPad = 1;

// The pad layout: d-pad (or left stick) for the arrows, south for Z, west for X, the
// shoulders for the depth modifier, either trigger to rise faster, start as Z, select as R.
constexpr std::array<int, 3> kNoPad = {-1, -1, -1};
constexpr std::array<int, 3> Pad(int a, int b = -1, int c = -1) {
    return {a, b, c};
}
constexpr auto kConfirmPad = Pad(kPadSouth, kPadStart);
constexpr auto kDepthPad = Pad(kPadLeftShoulder, kPadRightShoulder);
constexpr auto kRisePad = Pad(kPadLeftTrigger, kPadRightTrigger);

constexpr KeyAction kActions[] = {
    // Title, mode select, options.
    {"menus", "up", kMenu, VK_UP, kAny, {VK_UP, 0}, Pad(kPadUp)},
    {"menus", "down", kMenu, VK_DOWN, kAny, {VK_DOWN, 0}, Pad(kPadDown)},
    {"menus", "left", kMenu, VK_LEFT, kAny, {VK_LEFT, 0}, Pad(kPadLeft)},
    {"menus", "right", kMenu, VK_RIGHT, kAny, {VK_RIGHT, 0}, Pad(kPadRight)},
    {"menus", "confirm", kMenu, 'Z', kAny, {'Z', 0}, kConfirmPad},
    {"menus", "keys", kMenu, 'K', kAny, {'K', 0}, kNoPad}, // the options open the key screen
    // Endless play and its menus.
    {"endless", "up", kEndless, VK_UP, kAny, {VK_UP, 0}, Pad(kPadUp)},
    {"endless", "down", kEndless, VK_DOWN, kAny, {VK_DOWN, 0}, Pad(kPadDown)},
    {"endless", "left", kEndless, VK_LEFT, kAny, {VK_LEFT, 0}, Pad(kPadLeft)},
    {"endless", "right", kEndless, VK_RIGHT, kAny, {VK_RIGHT, 0}, Pad(kPadRight)},
    {"endless", "depth", kEndless, VK_SHIFT, kAny, {VK_SHIFT, 0}, kDepthPad},
    {"endless", "swap", kEndless, 'X', kAny, {'X', 0}, Pad(kPadWest)},
    {"endless", "rise", kEndless, 'A', kAny, {'A', 0}, kRisePad},
    {"endless", "give_up", kEndless, 'R', kAny, {'R', 0}, Pad(kPadSelect)},
    {"endless", "pause", kEndless, 'Z', kAny, {'Z', 0}, kConfirmPad},
    {"endless", "cheat_score", kEndless, 'Q', kAny, {'Q', 0}, kNoPad},
    // The challenge mode: level select, play, its menus.
    {"challenge", "up", kChallenge, VK_UP, kAny, {VK_UP, 0}, Pad(kPadUp)},
    {"challenge", "down", kChallenge, VK_DOWN, kAny, {VK_DOWN, 0}, Pad(kPadDown)},
    {"challenge", "left", kChallenge, VK_LEFT, kAny, {VK_LEFT, 0}, Pad(kPadLeft)},
    {"challenge", "right", kChallenge, VK_RIGHT, kAny, {VK_RIGHT, 0}, Pad(kPadRight)},
    {"challenge", "depth", kChallenge, VK_SHIFT, kAny, {VK_SHIFT, 0}, kDepthPad},
    {"challenge", "swap", kChallenge, 'X', kAny, {'X', 0}, Pad(kPadWest)},
    {"challenge", "pause", kChallenge, 'Z', kAny, {'Z', 0}, kConfirmPad},
    // Versus: Z for both players; the pause and end menus.
    {"versus", "pause", kVersusPlay | kVersusMenu, 'Z', kAny, {'Z', 0}, kConfirmPad},
    {"versus", "menu_up", kVersusMenu, VK_UP, kAny, {VK_UP, 0}, Pad(kPadUp)},
    {"versus", "menu_down", kVersusMenu, VK_DOWN, kAny, {VK_DOWN, 0}, Pad(kPadDown)},
    // The left player: the first pad.
    {"versus.left", "up", kVersusPlay, 'G', kLeftPad, {'G', 0}, Pad(kPadUp)},
    {"versus.left", "down", kVersusPlay, 'B', kLeftPad, {'B', 0}, Pad(kPadDown)},
    {"versus.left", "left", kVersusPlay, 'V', kLeftPad, {'V', 0}, Pad(kPadLeft)},
    {"versus.left", "right", kVersusPlay, 'N', kLeftPad, {'N', 0}, Pad(kPadRight)},
    {"versus.left", "depth", kVersusPlay, VK_SHIFT, kLeftPad, {VK_SHIFT, 0}, kDepthPad},
    {"versus.left", "swap", kVersusPlay, 'A', kLeftPad, {'A', 0}, Pad(kPadWest)},
    {"versus.left", "rise", kVersusPlay, 'Q', kLeftPad, {'Q', 0}, kRisePad},
    // The right player: the second pad.
    {"versus.right", "up", kVersusPlay, VK_UP, kRightPad, {VK_UP, 0}, Pad(kPadUp)},
    {"versus.right", "down", kVersusPlay, VK_DOWN, kRightPad, {VK_DOWN, 0}, Pad(kPadDown)},
    {"versus.right", "left", kVersusPlay, VK_LEFT, kRightPad, {VK_LEFT, 0}, Pad(kPadLeft)},
    {"versus.right", "right", kVersusPlay, VK_RIGHT, kRightPad, {VK_RIGHT, 0}, Pad(kPadRight)},
    {"versus.right", "depth", kVersusPlay, VK_RETURN, kRightPad, {VK_RETURN, 0}, kDepthPad},
    {"versus.right", "depth_key", kVersusPlay, 'K', kRightPad, {'K', 0}, kNoPad},
    {"versus.right", "swap", kVersusPlay, 'J', kRightPad, {'J', 0}, Pad(kPadWest)},
    {"versus.right", "rise", kVersusPlay, 'U', kRightPad, {'U', 0}, kRisePad},
    {"versus.right", "cheat_garbage", kVersusPlay, 'W', kRightPad, {'W', 0}, kNoPad},
};

template <typename T> bool Shares(const std::vector<T>& a, const std::vector<T>& b) {
    return std::any_of(a.begin(), a.end(),
                       [&](const T& x) { return std::find(b.begin(), b.end(), x) != b.end(); });
}

} // namespace

std::span<const KeyAction> KeyActions() {
    return kActions;
}

int FindKeyAction(std::string_view section, std::string_view name) {
    for (size_t i = 0; i < std::size(kActions); ++i)
        if (kActions[i].section == section && kActions[i].name == name) return static_cast<int>(i);
    return -1;
}

bool IsKeySection(std::string_view section) {
    return std::any_of(std::begin(kActions), std::end(kActions),
                       [&](const KeyAction& a) { return a.section == section; });
}

std::string ActionLabel(int action) {
    const KeyAction& a = kActions[action];
    return std::string(a.section) + " " + std::string(a.name);
}

KeyBindings DefaultKeyBindings() {
    KeyBindings out(std::size(kActions));
    for (size_t i = 0; i < out.size(); ++i) {
        for (int k : kActions[i].keys)
            if (k != 0) out[i].keys.push_back(k);
        for (int p : kActions[i].pads)
            if (p >= 0) out[i].pads.push_back(p);
    }
    return out;
}

int CollidingAction(const KeyBindings& bindings, int action) {
    const KeyAction& a = kActions[action];
    for (size_t i = 0; i < std::size(kActions); ++i) {
        const KeyAction& b = kActions[i];
        if (static_cast<int>(i) == action || (a.contexts & b.contexts) == 0) continue;
        bool samePad = a.pad < 0 || b.pad < 0 || a.pad == b.pad;
        if (Shares(bindings[action].keys, bindings[i].keys) ||
            (samePad && Shares(bindings[action].pads, bindings[i].pads)))
            return static_cast<int>(i);
    }
    return -1;
}

std::vector<std::vector<Binding>> InputMapTables(const KeyBindings& bindings) {
    // Escape is itself everywhere (it quits; it cannot be rebound).
    std::vector<std::vector<Binding>> tables(kKeyContextCount, {{VK_ESCAPE, VK_ESCAPE, -1}});
    for (int k = 1; k < 256; ++k)
        if (k != VK_ESCAPE) tables[kKeyScreenKeys].push_back({k, k, -1});
    for (size_t i = 0; i < std::size(kActions); ++i) {
        const KeyAction& a = kActions[i];
        if (a.contexts & kMenu)
            for (int p : bindings[i].pads)
                tables[kKeyScreenKeys].push_back({kPadBase + p, a.vk, a.pad});
        for (int c = 0; c < kKeyContextCount; ++c) {
            if (!(a.contexts >> c & 1)) continue;
            for (int k : bindings[i].keys) tables[c].push_back({k, a.vk, -1});
            for (int p : bindings[i].pads) tables[c].push_back({kPadBase + p, a.vk, a.pad});
        }
    }
    return tables;
}

int KeyContextOf(int32_t sceneId) {
    switch (sceneId) {
    case scene::kEndlessInit:
    case scene::kEndlessFrame:
        return kEndlessKeys;
    case scene::kChallengeInit:
    case scene::kChallengeFrame:
        return kChallengeKeys;
    case scene::kKeysInit:
    case scene::kKeysFrame:
        return kKeyScreenKeys;
    case scene::kVersusInit:
    case scene::kVersusFrame:
        return Versus.GameFlg == 5 || Versus.GameFlg == 6 ? kVersusMenuKeys : kVersusPlayKeys;
    default:
        return kMenuKeys;
    }
}
