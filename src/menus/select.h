// The mode select scene: six items on a menu board, bracketed by two spinning marker blocks.
#pragma once

#include <cstdint>

#include "media/model.h"
#include "media/sound.h"
#include "platform/graphics.h"
#include "platform/json.h"

struct SelectScene {
    ModelRecord marker; // drawn twice
    platform::TexturePtr board, background;
    SoundVar music;
    int32_t SelectItem = 0; // 0 (top) .. 5 (bottom)
    platform::Vector3 MarkerLeft, MarkerRight;
    int32_t MarkerSpin = 0; // degrees
    float MarkerAlpha = 0.0f;
    int32_t SelectKeyLatch = 0; // 1 while a Z press must first be released
    int32_t SelectWait = 0;     // frames since the last accepted arrow key; kept between visits
    // The versus opponent (Opponents.right, kept for the run), chosen with Left / Right on the
    // versus item and shown beside it.
    platform::TexturePtr opponentLabels;
    platform::SpritePtr labelSprite;
    int32_t OpponentWait = 0; // frames since the last accepted Left / Right; kept between visits
};
extern SelectScene Select;

int32_t SelectInit();                                    // -> 3
int32_t SelectFrame(platform::PresentParameters params); // -> 3, or the chosen item's SceneId
void SelectUpdate();
void SelectDraw();
void SelectRelease();
void SelectDump(platform::JsonWriter& json);
