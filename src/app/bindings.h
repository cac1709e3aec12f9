// Key bindings: every action of every screen with the virtual key the game reads for it, its
// default keys and pad buttons; the key context of each scene; the input map's tables.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/input_map.h"

// The sets of actions that are read together. The versus mode's pause and end menus are read
// with the menu keys of both players alike, so they are a context of their own.
enum KeyContext : int {
    kMenuKeys,
    kEndlessKeys,
    kChallengeKeys,
    kVersusPlayKeys,
    kVersusMenuKeys,
    kKeyScreenKeys, // every key is itself, so that any key can be chosen; pads as in the menus
    kKeyContextCount
};

struct KeyAction {
    std::string_view section; // of the settings file, after "keys."
    std::string_view name;
    uint32_t contexts;       // bit n: read in KeyContext n
    int vk;                  // the virtual key the game reads
    int pad;                 // whose pad: -1 any, else the pad slot (the versus players)
    std::array<int, 2> keys; // default keyboard keys (0: none)
    std::array<int, 3> pads; // default pad inputs (-1: none)
};
std::span<const KeyAction> KeyActions();
// The index of an action, -1 when the section has no such action.
int FindKeyAction(std::string_view section, std::string_view name);
bool IsKeySection(std::string_view section);
// "versus.left up" and the like, for messages.
std::string ActionLabel(int action);

// What each action (by index) is bound to.
struct ActionBinding {
    std::vector<int> keys; // virtual key codes of keyboard keys
    std::vector<int> pads; // PadInputs
    bool operator==(const ActionBinding&) const = default;
};
using KeyBindings = std::vector<ActionBinding>;
KeyBindings DefaultKeyBindings();

// The first other action that shares a context and an input with `action`: the same keyboard
// key (one keyboard serves both versus players), or the same input of a pad that both read.
// -1 when there is none.
int CollidingAction(const KeyBindings& bindings, int action);

// The tables the input map takes, one per KeyContext.
std::vector<std::vector<platform::Binding>> InputMapTables(const KeyBindings& bindings);

// The key context a scene is read in (the versus mode's menus by its phase).
int KeyContextOf(int32_t sceneId);
