// The mode select scene.
#include "menus/select.h"

#include "media/draw.h"
#include "media/frame.h"
#include "media/texture.h"
#include "platform/keyboard.h"
#include "platform/system.h"
#include "play/opponent.h"
#include "ui/menu.h"
#include "ui/scene_id.h"

using namespace platform;

SelectScene Select;

namespace {

using scene::kSelectFrame;
// Where each item leads: endless, versus, challenge, options, end, end.
constexpr int32_t kItemScene[6] = {scene::kEndlessInit, scene::kVersusInit, scene::kChallengeInit,
                                   scene::kOptionsInit, scene::kQuit,       scene::kQuitToo};

// The marker steps of a move down from item i to i + 1. A held arrow key refused at either
// end restarts the wait like a move.
constexpr MarkerStep kDownStep[5] = {
    {6.5f, -3.5f, -6.0f, -3.5f},   {-12.5f, -3.25f, 12.0f, -3.25f}, {8.5f, -3.25f, -6.0f, -3.25f},
    {2.0f, -2.75f, -4.0f, -2.75f}, {0.0f, -3.0f, 0.0f, -3.0f},
};
constexpr MarkerMenu kMenu{kDownStep, 5, 0, 10, 1, true, VK_UP, VK_DOWN};

constexpr int32_t kVersusItem = 1;
// The opponent labels: 2 PLAYERS, CPU EASY, CPU NORMAL, CPU HARD, beside the versus item's
// right marker.
constexpr Rect kOpponentLabel[4] = {
    {0, 0, 240, 48}, {0, 64, 240, 112}, {0, 128, 240, 176}, {0, 192, 240, 240}};
constexpr float kLabelX = 560.0f, kLabelY = 122.0f;

// Left / Right on the versus item step through the opponents, wrapping round, every 10 frames
// while held.
void StepOpponent() {
    int32_t& choice = Opponents.right;
    if (Select.OpponentWait >= 10 && Select.SelectItem == kVersusItem) {
        if (GetAsyncKeyState(VK_LEFT) != 0) {
            choice = choice <= kCpuOff ? kCpuHard : choice - 1;
            Select.OpponentWait = 1;
            return;
        }
        if (GetAsyncKeyState(VK_RIGHT) != 0) {
            choice = choice >= kCpuHard ? kCpuOff : choice + 1;
            Select.OpponentWait = 1;
            return;
        }
    }
    ++Select.OpponentWait;
}

} // namespace

int32_t SelectInit() {
    GraphicsDevice& device = *Device();
    LoadModel(Select.marker, DataEntry("./xFile/パズル用図形３.x").path, device);
    Select.board = LoadTexture(device, DataEntry("./bmp/セレクト.bmp"));
    Select.background = LoadTexture(device, DataEntry("./bmp/背景.bmp"));
    LoadSound(Select.music, DataEntry("./bgm/title.WAV").path);
    SetVolume(Select.music, Vol);
    Select.opponentLabels = LoadTexture(device, DataEntry("./bmp/対戦相手.bmp"));
    if (Failed(CreateSprite(device, Select.labelSprite)) || !Select.labelSprite)
        Select.labelSprite.reset();
    else
        Select.labelSprite->OnResetDevice();

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
    StepMarkerMenu(kMenu, Select.SelectItem, Select.SelectWait, Select.MarkerLeft,
                   Select.MarkerRight);
    StepOpponent();
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
    int32_t choice =
        Opponents.right >= kCpuOff && Opponents.right <= kCpuHard ? Opponents.right : 0;
    if (Select.labelSprite)
        DrawSpriteAt(Select.labelSprite.get(), Select.opponentLabels.get(), kOpponentLabel[choice],
                     kLabelX, kLabelY);
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
    Select.opponentLabels.reset();
    Select.labelSprite.reset();
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
        .Field("Opponent", Opponents.right)
        .Field("OpponentWait", Select.OpponentWait)
        .EndObject();
}
