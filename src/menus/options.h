// The options scene: effects and music levels in four steps, a spinning row cursor, and Back.
#pragma once

#include <cstdint>

#include "media/model.h"
#include "media/sound.h"
#include "platform/graphics.h"
#include "platform/json.h"

struct OptionsScene {
    ModelRecord cursor;
    platform::TexturePtr background, glyphs;
    platform::SpritePtr sprite;
    SoundVar music;
    int32_t OptionsRow = 0; // 0 effects, 1 music, 2 back
    platform::Vector3 OptionsCursor;
    int32_t OptionsSpin = 0;     // degrees
    int32_t Se = 0;              // effects level 0..3
    int32_t Sound = 0;           // music level 0..3
    int32_t OptionsKeyLatch = 0; // 1 until Z has been seen pressed once in the scene
    // Frames since the last accepted key of each kind; kept between visits.
    int32_t RowWait = 0, SeWait = 0, SoundWait = 0;
    // The levels a visit starts with: those the player left with last (or those of the
    // settings file); kept between visits.
    int32_t StartSe = 3, StartSound = 3;
    // K opens the key screen (SceneId 14); 1 while a K press must first be released.
    int32_t KeysLatch = 0;
};
extern OptionsScene Options;

// Volume of each level in hundredths of a decibel: -50 dB, -10 dB, -5 dB, full.
constexpr int32_t LevelVolume[4] = {-5000, -1000, -500, 0};

int32_t OptionsInit();                                    // -> 11
int32_t OptionsFrame(platform::PresentParameters params); // -> 11, 2 when the player leaves,
                                                          // 14 for the key screen
void OptionsUpdate();
void OptionsDraw();
void OptionsRelease();
void OptionsDump(platform::JsonWriter& json);
