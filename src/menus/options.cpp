// The options scene.
#include "menus/options.h"

#include "media/draw.h"
#include "media/frame.h"
#include "media/texture.h"
#include "platform/keyboard.h"
#include "platform/system.h"
#include "ui/scene_id.h"

using namespace platform;

OptionsScene Options;

namespace {

using scene::kKeysInit;
using scene::kOptionsFrame;
using scene::kSelectInit;

// Glyphs on the glyph sheet.
constexpr Rect kLevelGlyph[4] = {
    {0, 0, 64, 64}, {65, 0, 128, 64}, {129, 0, 192, 64}, {193, 0, 256, 64}};
constexpr Rect kLeftMark = {0, 129, 64, 192};
constexpr Rect kRightMark = {65, 129, 128, 192};

bool Pressed(int vk) {
    return GetAsyncKeyState(vk) != 0;
}

void MoveCursor(int32_t row, float dx, float dy) {
    Options.OptionsRow = row;
    Options.OptionsCursor.x += dx;
    Options.OptionsCursor.y += dy;
    Options.RowWait = 1;
}

// Left lowers a level, Right raises it, each wrapping round; true when one was pressed.
bool StepLevel(int32_t& level) {
    if (Pressed(VK_LEFT)) {
        level = level == 0 ? 3 : level - 1;
        return true;
    }
    if (Pressed(VK_RIGHT)) {
        level = level == 3 ? 0 : level + 1;
        return true;
    }
    return false;
}

void UpdateLevel(int32_t& level, int32_t& wait, int32_t row) {
    if (wait > 10 && Options.OptionsRow == row && StepLevel(level))
        wait = 1;
    else
        ++wait;
}

void DrawGlyphRow(int32_t level, bool marked, float y) {
    Texture* glyphs = Options.glyphs.get();
    DrawSpriteAt(Options.sprite.get(), glyphs, kLevelGlyph[level], 600.0f, y);
    if (marked) {
        DrawSpriteAt(Options.sprite.get(), glyphs, kLeftMark, 500.0f, y);
        DrawSpriteAt(Options.sprite.get(), glyphs, kRightMark, 700.0f, y);
    }
}

} // namespace

int32_t OptionsInit() {
    GraphicsDevice& device = *Device();
    LoadModel(Options.cursor, DataEntry("./xFile/パズル用図形５.x").path, device);
    Options.background = LoadTexture(device, DataEntry("./bmp/オプション.bmp"));
    Options.glyphs = LoadTexture(device, DataEntry("./bmp/オプションの文字.bmp"));
    CreateSprite(device, Options.sprite);
    Options.sprite->OnResetDevice();
    LoadSound(Options.music, DataEntry("./bgm/title.WAV").path);

    Options.OptionsSpin = 0;
    Options.OptionsCursor = {-11.0f, 0.5f, -5.0f};
    Options.Se = Options.StartSe;
    Options.Sound = Options.StartSound;
    Options.OptionsRow = 0;
    Options.OptionsKeyLatch = 1;
    Options.KeysLatch = 1;
    return kOptionsFrame;
}

void OptionsUpdate() {
    SetVolume(Options.music, Vol);
    PlayLooping(Options.music);
    Options.OptionsSpin += 2;

    if (Options.RowWait > 10) {
        bool moved = false;
        switch (Options.OptionsRow) {
        case 0:
            if (Pressed(VK_DOWN)) MoveCursor(1, -1.0f, -3.5f), moved = true;
            break;
        case 1:
            if (Pressed(VK_UP))
                MoveCursor(0, 1.0f, 3.5f), moved = true;
            else if (Pressed(VK_DOWN))
                MoveCursor(2, 0.0f, -4.0f), moved = true;
            break;
        default:
            if (Pressed(VK_UP)) MoveCursor(1, 0.0f, 4.0f), moved = true;
            break;
        }
        if (!moved) ++Options.RowWait;
    } else {
        ++Options.RowWait;
    }

    UpdateLevel(Options.Se, Options.SeWait, 0);
    UpdateLevel(Options.Sound, Options.SoundWait, 1);
    SeVol = LevelVolume[Options.Se];
    Vol = LevelVolume[Options.Sound];
}

void OptionsDraw() {
    GraphicsDevice& device = *Device();
    device.SetRenderState(RS_LIGHTING, 0);
    DrawTexturedQuad(device, Options.background.get(), 32.0f, 18.0f, 10.0f,
                     Translation(0.0f, 0.0f, 0.0f));
    const Vector3& c = Options.OptionsCursor;
    device.SetRenderState(RS_LIGHTING, 1);
    device.SetTransform(TS_WORLD, RotationY(static_cast<float>(Options.OptionsSpin) * kDegToRad) *
                                      Translation(c.x, c.y, c.z));
    DrawModel(Options.cursor, 1.0f, device);
    device.SetRenderState(RS_LIGHTING, 0);
}

int32_t OptionsFrame(PresentParameters params) {
    GraphicsDevice& device = *Device();
    OptionsUpdate();
    BeginStandardFrame(device);
    OptionsDraw();
    DrawGlyphRow(Options.Sound, Options.OptionsRow == 1, 290.0f);
    DrawGlyphRow(Options.Se, Options.OptionsRow == 0, 187.0f);

    bool z = Pressed('Z');
    if (z && Options.OptionsKeyLatch == 1) Options.OptionsKeyLatch = 0;
    const bool back = z && Options.OptionsKeyLatch == 0 && Options.OptionsRow == 2;
    // K, newly pressed, opens the key screen; the levels are kept as on leaving.
    const bool keys = Pressed('K') && Options.KeysLatch == 0;
    if (!Pressed('K')) Options.KeysLatch = 0;
    if (back || keys) {
        Options.StartSe = Options.Se;
        Options.StartSound = Options.Sound;
        OptionsRelease();
        device.EndScene();
        return back ? kSelectInit : kKeysInit;
    }

    EndStandardFrame(device, params);
    return kOptionsFrame;
}

void OptionsRelease() {
    ReleaseModel(Options.cursor);
    Options.background.reset();
    Options.glyphs.reset();
    Options.sprite.reset();
    Options.music.reset();
}

void OptionsDump(JsonWriter& json) {
    json.BeginObject()
        .Field("OptionsRow", Options.OptionsRow)
        .Field("OptionsCursor", Options.OptionsCursor)
        .Field("OptionsSpin", Options.OptionsSpin)
        .Field("Se", Options.Se)
        .Field("Sound", Options.Sound)
        .Field("OptionsKeyLatch", Options.OptionsKeyLatch)
        .Field("RowWait", Options.RowWait)
        .Field("SeWait", Options.SeWait)
        .Field("SoundWait", Options.SoundWait)
        .EndObject();
}
