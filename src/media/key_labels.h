// The key screen's label sheet "./bmp/キー設定の文字.bmp" (1024 x 1024): which picture stands
// where. The generator paints the sheet from these tables and the key screen draws from them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace keylabels {

// The screens whose keys can be changed, in the order the key screen pages through them;
// `section` is the settings file's [keys.SECTION].
struct Page {
    std::string_view section;
    std::string_view title;
};
inline constexpr Page kPages[] = {{"menus", "MENUS"},
                                  {"endless", "ENDLESS"},
                                  {"challenge", "CHALLENGE"},
                                  {"versus", "VERSUS: BOTH PLAYERS"},
                                  {"versus.left", "VERSUS: LEFT PLAYER"},
                                  {"versus.right", "VERSUS: RIGHT PLAYER"}};
constexpr int kPageCount = 6;

// Action names as the settings file gives them, and as the screen shows them.
struct ActionName {
    std::string_view name;
    std::string_view shown;
};
inline constexpr ActionName kActions[] = {{"up", "Up"},
                                          {"down", "Down"},
                                          {"left", "Left"},
                                          {"right", "Right"},
                                          {"confirm", "Confirm"},
                                          {"keys", "Key screen"},
                                          {"depth", "Depth"},
                                          {"depth_key", "Depth (2nd)"},
                                          {"swap", "Swap"},
                                          {"rise", "Rise faster"},
                                          {"give_up", "Give up"},
                                          {"pause", "Pause / confirm"},
                                          {"menu_up", "Menu up"},
                                          {"menu_down", "Menu down"},
                                          {"cheat_score", "Cheat: score"},
                                          {"cheat_garbage", "Cheat: garbage"}};
constexpr int kActionCount = 16;

// Key names as the settings file gives them (letters, digits and NUM0..NUM9 are generated).
inline constexpr std::string_view kNamedKeys[] = {
    "UP",       "DOWN",  "LEFT",      "RIGHT",  "SHIFT",     "CTRL",  "ALT",    "RETURN",
    "SPACE",    "TAB",   "BACKSPACE", "INSERT", "DELETE",    "HOME",  "END",    "PAGEUP",
    "PAGEDOWN", "COMMA", "PERIOD",    "SLASH",  "SEMICOLON", "MINUS", "EQUALS", "NONE"};
constexpr int kNamedKeyCount = 24;
// Key labels: A..Z (0..25), 0..9 (26..35), NUM0..NUM9 (36..45), then kNamedKeys (46..69).
constexpr int kKeyLabelCount = 26 + 10 + 10 + kNamedKeyCount;

// The label of a key name ("NONE" for none); -1 when it has none.
inline int KeyLabelIndex(std::string_view name) {
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z') return name[0] - 'A';
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return 26 + (name[0] - '0');
    if (name.size() == 4 && name.substr(0, 3) == "NUM" && name[3] >= '0' && name[3] <= '9')
        return 36 + (name[3] - '0');
    for (int i = 0; i < kNamedKeyCount; ++i)
        if (kNamedKeys[i] == name) return 46 + i;
    return -1;
}
// The name a label shows.
inline std::string KeyLabelName(int i) {
    if (i < 26) return std::string(1, static_cast<char>('A' + i));
    if (i < 36) return std::string(1, static_cast<char>('0' + i - 26));
    if (i < 46) return "NUM" + std::string(1, static_cast<char>('0' + i - 36));
    return std::string(kNamedKeys[i - 46]);
}

// Where each picture stands on the sheet.
constexpr platform::Rect PageRect(int i) {
    return {0, 40 * i, 400, 40 * i + 40};
}
constexpr platform::Rect ActionRect(int i) {
    return {512 + 256 * (i / 8), 32 * (i % 8), 512 + 256 * (i / 8) + 256, 32 * (i % 8) + 32};
}
constexpr platform::Rect KeyRect(int i) {
    return {128 * (i % 8), 256 + 32 * (i / 8), 128 * (i % 8) + 128, 256 + 32 * (i / 8) + 32};
}
// A page's title for the message line, left-aligned: "(VERSUS: LEFT PLAYER)".
constexpr platform::Rect StatusPageRect(int i) {
    return {0, 640 + 32 * i, 400, 672 + 32 * i};
}
constexpr platform::Rect kPressAKey = {0, 544, 256, 576};
constexpr platform::Rect kTakenBy = {256, 544, 512, 576};
constexpr platform::Rect kBack = {512, 544, 768, 576};
constexpr platform::Rect kRowPlate = {0, 592, 600, 624};
constexpr platform::Rect kLeftArrow = {640, 592, 672, 624};
constexpr platform::Rect kRightArrow = {672, 592, 704, 624};

} // namespace keylabels
