// The title scene: spinning logo and blocks over the background, title music, Z to go on.
#pragma once

#include <cstdint>
#include <vector>

#include "media/manifest.h"
#include "media/model.h"
#include "media/sound.h"
#include "platform/graphics.h"
#include "platform/json.h"

struct TitleScene {
    ModelRecord block; // drawn twice
    platform::TexturePtr background, logo, caption;
    SoundVar music;
    float LogoAngle = 0.0f; // degrees
    float LogoSpeed = 0.0f; // degrees per frame
    float BlockAngle = 0.0f;
    int32_t TitleKeyLatch = 0; // 1 while a Z press must first be released
};
extern TitleScene Title;

// The pictures TitleInit loads, in its order (read ahead while the game starts).
std::vector<const DataFile*> TitlePictures();
int32_t TitleInit();                                    // -> 1
int32_t TitleFrame(platform::PresentParameters params); // -> 1, or 2 when Z is accepted
void TitleUpdate();
void TitleDraw();
void TitleRelease();
void TitleDump(platform::JsonWriter& json);
