// The key screen, reached with K from the options: each action's keyboard keys, screen by
// screen, and a new key for one, refused when another action of the same screen holds it.
// The screen reads every key as itself, whatever the bindings, and writes settings.ini.
#pragma once

#include <bitset>
#include <cstdint>
#include <vector>

#include "media/sound.h"
#include "platform/graphics.h"

struct KeyScreen {
    platform::TexturePtr background, labels;
    platform::SpritePtr sprite;
    SoundVar music;
    int32_t page = 0;       // the screen whose keys are shown (keylabels::kPages)
    int32_t row = 0;        // an action of the page, or the page's action count for BACK
    int32_t wait = 0;       // frames since the last accepted arrow key
    int32_t latch = 1;      // 1 while a Z press must first be released
    bool listening = false; // waiting for the row's new key
    int32_t refused = -1;   // the action that holds the key last refused (-1 none)
    std::bitset<256> held;  // the keys down in the last frame: a new key is one going down
};
extern KeyScreen Keys;

// The actions of a page (indices of KeyActions()), in table order.
std::vector<int> PageActions(int page);

int32_t KeysInit();                                    // -> 15
int32_t KeysFrame(platform::PresentParameters params); // -> 15, or 10 (the options) on BACK
void KeysRelease();
