// The title scene.
#include "menus/title.h"

#include "media/draw.h"
#include "media/frame.h"
#include "media/texture.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/random.h"
#include "platform/system.h"
#include "ui/scene_id.h"

using namespace platform;

TitleScene Title;

namespace {
using scene::kSelectInit;
using scene::kTitleFrame;
} // namespace

std::vector<const DataFile*> TitlePictures() {
    return {&DataEntry("./bmp/背景.bmp"), &DataEntry("./bmp/タイトル.bmp"),
            &DataEntry("./bmp/タイトルの文字.bmp")};
}

int32_t TitleInit() {
    GraphicsDevice& device = *Device();
    LoadModel(Title.block, DataEntry("./xFile/パズル用図形１.x").path, device);
    const std::vector<const DataFile*> pictures = TitlePictures();
    Title.background = LoadTexture(device, *pictures[0]);
    Title.logo = LoadTexture(device, *pictures[1]);
    Title.caption = LoadTexture(device, *pictures[2]);
    LoadSound(Title.music, DataEntry("./bgm/title.WAV").path);

    platform::srand(timeGetTime());

    Title.LogoAngle = 0.0f;
    Title.BlockAngle = 0.0f;
    Title.LogoSpeed = 4.0f;
    Title.TitleKeyLatch = 1;

    SetCursorPos(320, 240);
    ShowCursor(false);
    device.SetRenderState(RS_CLIPPLANEENABLE, 0);
    return kTitleFrame;
}

Matrix LogoTurn(float angle) {
    // While its back faces the player the logo is drawn mirrored in its own plane, so the name
    // reads the right way round from behind as well.
    Matrix turn = RotationY(angle * kDegToRad);
    if (angle > 90.0f && angle < 270.0f) return Scaling(-1.0f, 1.0f, 1.0f) * turn;
    return turn;
}

void TitleUpdate() {
    PlayLooping(Title.music);
    Title.LogoAngle += Title.LogoSpeed;
    Title.BlockAngle += 2.0f;
    if (Title.LogoAngle >= 360.0f) {
        Title.LogoSpeed -= 2.0f;
        Title.LogoAngle = 0.0f;
    }
}

void TitleDraw() {
    GraphicsDevice& device = *Device();
    DrawTexturedQuad(device, Title.background.get(), 38.0f, 37.0f, 10.0f,
                     Translation(4.3f, -19.2f, 0.0f));
    DrawTexturedQuad(device, Title.logo.get(), 10.0f, 2.5f, 0.0f,
                     Translation(0.0f, 5.0f, 0.0f) * LogoTurn(Title.LogoAngle));
    DrawTexturedQuad(device, Title.caption.get(), 8.0f, 3.0f, 0.0f, Translation(1.0f, -7.0f, 0.0f));

    device.SetRenderState(RS_LIGHTING, 1);
    device.SetTransform(TS_WORLD,
                        RotationY(-Title.BlockAngle * kDegToRad) * Translation(-7.0f, -7.3f, 0.0f));
    DrawModel(Title.block, 1.0f, device);
    device.SetTransform(TS_WORLD,
                        RotationY(Title.BlockAngle * kDegToRad) * Translation(8.8f, -7.3f, 0.0f));
    DrawModel(Title.block, 1.0f, device);
    device.SetRenderState(RS_LIGHTING, 0);
}

int32_t TitleFrame(PresentParameters params) {
    GraphicsDevice& device = *Device();
    TitleUpdate();
    BeginStandardFrame(device);
    TitleDraw();

    if (GetAsyncKeyState('Z') != 0) {
        if (Title.TitleKeyLatch == 0) {
            Title.TitleKeyLatch = 1;
            TitleRelease();
            device.EndScene();
            return kSelectInit;
        }
    } else {
        Title.TitleKeyLatch = 0;
    }

    EndStandardFrame(device, params);
    return kTitleFrame;
}

void TitleRelease() {
    ReleaseModel(Title.block);
    Title.background.reset();
    Title.logo.reset();
    Title.caption.reset();
    Title.music.reset();
}

void TitleDump(JsonWriter& json) {
    json.BeginObject()
        .Field("LogoAngle", Title.LogoAngle)
        .Field("LogoSpeed", Title.LogoSpeed)
        .Field("BlockAngle", Title.BlockAngle)
        .Field("TitleKeyLatch", Title.TitleKeyLatch)
        .EndObject();
}
