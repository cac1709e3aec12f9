// The key screen.
#include "app/key_screen.h"

#include <algorithm>

#include "app/bindings.h"
#include "app/settings.h"
#include "media/draw.h"
#include "media/frame.h"
#include "media/key_labels.h"
#include "media/texture.h"
#include "platform/input_map.h"
#include "platform/keyboard.h"
#include "platform/system.h"
#include "ui/scene_id.h"

using namespace platform;
using namespace keylabels;

KeyScreen Keys;

namespace {

constexpr int kWait = 10; // frames between two accepted arrow keys while one is held
constexpr float kRowTop = 144, kRowStep = 25, kStatusY = 440;

bool Pressed(int vk) {
    return GetAsyncKeyState(vk) != 0;
}

int ActionLabel(int action) {
    const std::string_view name = KeyActions()[action].name;
    for (int i = 0; i < kActionCount; ++i)
        if (kActions[i].name == name) return i;
    return 0;
}

int KeyLabel(int key) {
    return std::max(0, KeyLabelIndex(PhysicalKeyName(key)));
}

int PageOf(int action) {
    for (int p = 0; p < kPageCount; ++p)
        if (kPages[p].section == KeyActions()[action].section) return p;
    return 0;
}

// The new key of the row's action, unless another action of its screens holds it.
void Choose(int key) {
    const int action = PageActions(Keys.page)[static_cast<size_t>(Keys.row)];
    KeyBindings b = UserKeyBindings();
    b[action].keys = {key};
    Keys.refused = CollidingAction(b, action);
    if (Keys.refused >= 0) return;
    Keys.listening = false;
    if (b != UserKeyBindings()) UseKeyBindings(b);
}

// Up / Down choose the row (BACK last), Left / Right the page, each every kWait frames held.
void Move() {
    const int last = static_cast<int>(PageActions(Keys.page).size());
    if (Keys.wait < kWait) {
        ++Keys.wait;
        return;
    }
    if (Pressed(VK_UP))
        Keys.row = std::max(0, Keys.row - 1);
    else if (Pressed(VK_DOWN))
        Keys.row = std::min(last, Keys.row + 1);
    else if (Pressed(VK_LEFT) || Pressed(VK_RIGHT)) {
        Keys.page = (Keys.page + (Pressed(VK_LEFT) ? kPageCount - 1 : 1)) % kPageCount;
        Keys.row = std::min(Keys.row, static_cast<int>(PageActions(Keys.page).size()));
    } else {
        ++Keys.wait;
        return;
    }
    Keys.wait = 1;
}

void Draw() {
    GraphicsDevice& device = *Device();
    device.SetRenderState(RS_LIGHTING, 0);
    DrawTexturedQuad(device, Keys.background.get(), 32.0f, 18.0f, 10.0f,
                     Translation(0.0f, 0.0f, 0.0f));
    Sprite* s = Keys.sprite.get();
    Texture* t = Keys.labels.get();
    if (!s) return;
    DrawSpriteAt(s, t, kLeftArrow, 212, 100);
    DrawSpriteAt(s, t, PageRect(Keys.page), 240, 96);
    DrawSpriteAt(s, t, kRightArrow, 636, 100);
    const std::vector<int> actions = PageActions(Keys.page);
    for (size_t i = 0; i <= actions.size(); ++i) {
        const float y = kRowTop + kRowStep * static_cast<float>(i) + (i == actions.size() ? 6 : 0);
        if (static_cast<int>(i) == Keys.row) DrawSpriteAt(s, t, kRowPlate, 140, y - 1);
        if (i == actions.size()) {
            DrawSpriteAt(s, t, kBack, 160, y - 2);
            break;
        }
        DrawSpriteAt(s, t, ActionRect(ActionLabel(actions[i])), 160, y - 2);
        const std::vector<int>& keys = UserKeyBindings()[static_cast<size_t>(actions[i])].keys;
        if (keys.empty()) DrawSpriteAt(s, t, KeyRect(KeyLabelIndex("NONE")), 440, y - 2);
        // While it waits for the row's new key, the second place says so.
        const bool waiting = Keys.listening && static_cast<int>(i) == Keys.row;
        for (size_t k = 0; k < keys.size() && k < (waiting ? 1u : 2u); ++k)
            DrawSpriteAt(s, t, KeyRect(KeyLabel(keys[k])), 440 + 140 * static_cast<float>(k),
                         y - 2);
        if (waiting) DrawSpriteAt(s, t, kPressAKey, 580, y - 2);
    }
    if (Keys.refused >= 0) {
        DrawSpriteAt(s, t, kTakenBy, 60, kStatusY);
        DrawSpriteAt(s, t, ActionRect(ActionLabel(Keys.refused)), 320, kStatusY);
        if (PageOf(Keys.refused) != Keys.page)
            DrawSpriteAt(s, t, StatusPageRect(PageOf(Keys.refused)), 490, kStatusY);
    }
}

} // namespace

std::vector<int> PageActions(int page) {
    std::vector<int> out;
    const auto actions = KeyActions();
    for (size_t i = 0; i < actions.size(); ++i)
        if (actions[i].section == kPages[page].section) out.push_back(static_cast<int>(i));
    return out;
}

int32_t KeysInit() {
    GraphicsDevice& device = *Device();
    Keys.background = LoadTexture(device, DataEntry("./bmp/キー設定.bmp"));
    Keys.labels = LoadTexture(device, DataEntry("./bmp/キー設定の文字.bmp"));
    if (Failed(CreateSprite(device, Keys.sprite)) || !Keys.sprite)
        Keys.sprite.reset();
    else
        Keys.sprite->OnResetDevice();
    LoadSound(Keys.music, DataEntry("./bgm/title.WAV").path);
    Keys.row = 0;
    Keys.latch = 1;
    Keys.listening = false;
    Keys.refused = -1;
    Keys.held.set(); // keys held on arrival are not new
    return scene::kKeysFrame;
}

int32_t KeysFrame(PresentParameters params) {
    GraphicsDevice& device = *Device();
    SetVolume(Keys.music, Vol);
    PlayLooping(Keys.music);

    std::bitset<256> now;
    for (int k = 1; k < 256; ++k) now[static_cast<size_t>(k)] = k != VK_ESCAPE && Pressed(k);
    const bool z = now['Z'];
    bool leave = false;
    if (Keys.listening) {
        for (int k = 1; k < 256; ++k)
            if (now[static_cast<size_t>(k)] && !Keys.held[static_cast<size_t>(k)] &&
                !PhysicalKeyName(k).empty()) {
                Choose(k);
                break;
            }
        Keys.latch = 1; // the Z that may have been chosen does not act again
    } else {
        Move();
        if (z && Keys.latch == 0) {
            Keys.latch = 1;
            if (Keys.row == static_cast<int>(PageActions(Keys.page).size()))
                leave = true;
            else
                Keys.listening = true;
        }
    }
    if (!z) Keys.latch = 0;
    Keys.held = now;

    BeginStandardFrame(device);
    Draw();
    if (leave) {
        KeysRelease();
        device.EndScene();
        return scene::kOptionsInit;
    }
    EndStandardFrame(device, params);
    return scene::kKeysFrame;
}

void KeysRelease() {
    Keys.background.reset();
    Keys.labels.reset();
    Keys.sprite.reset();
    Keys.music.reset();
}
