// The mode select scene.
#include "menus/select.h"

#include "media/draw.h"
#include "media/frame.h"
#include "media/texture.h"
#include "platform/keyboard.h"
#include "platform/system.h"

using namespace platform;

SelectScene Select;

namespace {

constexpr int32_t kSelectFrame = 3;
// Where each item leads: endless, versus, challenge, options, end, end.
constexpr int32_t kItemScene[6] = {4, 6, 8, 10, 12, 13};

// The marker steps of a move down from item i to i + 1 (a move up adds their negatives):
// left x, left y, right x, right y.
constexpr float kDownStep[5][4] = {
    {6.5f, -3.5f, -6.0f, -3.5f},   {-12.5f, -3.25f, 12.0f, -3.25f}, {8.5f, -3.25f, -6.0f, -3.25f},
    {2.0f, -2.75f, -4.0f, -2.75f}, {0.0f, -3.0f, 0.0f, -3.0f},
};

void MoveMarkers(const float step[4], float sign) {
    Select.MarkerLeft.x += sign * step[0];
    Select.MarkerLeft.y += sign * step[1];
    Select.MarkerRight.x += sign * step[2];
    Select.MarkerRight.y += sign * step[3];
}

} // namespace

int32_t SelectInit() {
    GraphicsDevice& device = *Device();
    LoadModel(Select.marker, "./xFile/パズル用図形３.x", device);
    Select.board = LoadTexture(device, "./bmp/セレクト.bmp", 1012, 1012, 0xFFFFFFFF);
    Select.background = LoadTexture(device, "./bmp/背景.bmp", 1012, 1012, 0xFF00FFFF);
    LoadSound(Select.music, "./bgm/title.WAV");
    SetVolume(Select.music, Vol);

    Select.MarkerLeft = {-10.5f, 8.3f, 0.0f};
    Select.MarkerRight = {10.5f, 8.3f, 0.0f};
    Select.SelectItem = 0;
    Select.SelectKeyLatch = 1;
    Select.MarkerAlpha = 1.0f;
    Select.MarkerSpin = 0;
    device.SetRenderState(RS_CLIPPLANEENABLE, 0);
    return kSelectFrame;
}

void SelectUpdate() {
    PlayLooping(Select.music);
    Select.MarkerSpin += 3;
    if (Select.SelectWait < 10) {
        ++Select.SelectWait;
        return;
    }
    if (GetAsyncKeyState(VK_UP) != 0) {
        if (Select.SelectItem > 0) {
            --Select.SelectItem;
            MoveMarkers(kDownStep[Select.SelectItem], -1.0f);
        }
        Select.SelectWait = 1;
    } else if (GetAsyncKeyState(VK_DOWN) != 0) {
        if (Select.SelectItem < 5) {
            MoveMarkers(kDownStep[Select.SelectItem], 1.0f);
            ++Select.SelectItem;
        }
        Select.SelectWait = 1;
    } else {
        ++Select.SelectWait;
    }
}

void SelectDraw() {
    GraphicsDevice& device = *Device();
    DrawTexturedQuad(device, Select.background.get(), 38.0f, 37.0f, 10.0f,
                     Translation(4.3f, -19.2f, 0.0f));
    DrawTexturedQuad(device, Select.board.get(), 10.0f, 10.0f, 0.0f,
                     Scaling(2.0f, 1.0f, 1.0f) * Translation(0.0f, 0.0f, 0.0f));

    float spin = static_cast<float>(Select.MarkerSpin) * kDegToRad;
    const Vector3& l = Select.MarkerLeft;
    const Vector3& r = Select.MarkerRight;
    device.SetRenderState(RS_LIGHTING, 1);
    device.SetTransform(TS_WORLD, RotationY(-spin) * Translation(l.x, l.y, l.z));
    DrawModel(Select.marker, Select.MarkerAlpha, device);
    device.SetRenderState(RS_LIGHTING, 1);
    device.SetTransform(TS_WORLD, RotationY(spin) * Translation(r.x, r.y, r.z));
    DrawModel(Select.marker, Select.MarkerAlpha, device);
    device.SetRenderState(RS_LIGHTING, 0);
}

int32_t SelectFrame(PresentParameters params) {
    GraphicsDevice& device = *Device();
    SelectUpdate();
    BeginStandardFrame(device);
    SelectDraw();

    if (GetAsyncKeyState('Z') != 0) {
        if (Select.SelectKeyLatch == 0) {
            Select.SelectKeyLatch = 1;
            int32_t next = kItemScene[Select.SelectItem];
            SelectRelease();
            device.EndScene();
            return next;
        }
    } else {
        Select.SelectKeyLatch = 0;
    }

    EndStandardFrame(device, params);
    return kSelectFrame;
}

void SelectRelease() {
    ReleaseModel(Select.marker);
    Select.board.reset();
    Select.background.reset();
    StopAndRewind(Select.music);
    Select.music.reset();
}

void SelectDump(JsonWriter& json) {
    json.BeginObject()
        .Field("SelectItem", Select.SelectItem)
        .Field("MarkerLeft", Select.MarkerLeft)
        .Field("MarkerRight", Select.MarkerRight)
        .Field("MarkerSpin", Select.MarkerSpin)
        .Field("SelectKeyLatch", Select.SelectKeyLatch)
        .Field("SelectWait", Select.SelectWait)
        .EndObject();
}
