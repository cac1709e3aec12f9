// The versus mode's frame: rules, the 3D scene, the divider, the start and result images, the
// Z key, presentation.
#include "media/draw.h"
#include "media/frame.h"
#include "modes/versus/versus.h"
#include "platform/keyboard.h"
#include "platform/system.h"
#include "ui/banner.h"

using namespace platform;

namespace {

using scene::kSelectInit;
using scene::kVersusFrame;
using scene::kVersusInit;

constexpr Vector3 kPauseMarkers[2] = {{-5.7f, 1.7f, -8.0f}, {5.5f, 1.7f, -8.0f}};
constexpr Vector3 kEndMarkers[2] = {{-7.0f, 3.0f, -12.0f}, {6.0f, 3.0f, -12.0f}};

// The divider between the two boards, at x 432..448.
void DrawDivider() {
    DrawSpriteAt(Versus.dividerSprite.get(), Versus.divider.get(), {0, 0, 16, 480}, 432.0f, 0.0f);
}

// Phase 0 uncovers the upper half of the start sheet from the left, 5 pixels a frame; phase 1
// holds its lower half for 30 frames, then play begins.
void StartImages() {
    VersusMode& v = Versus;
    Sprite* sprite = v.startSprite.get();
    if (v.GameFlg == 0) {
        DrawSpriteAt(sprite, v.start.get(), {0, 0, v.StartReveal, 256}, 200.0f, 125.0f);
        if (RevealStep(v.StartReveal, 5, 700, 512)) v.GameFlg = 1;
    } else if (v.GameFlg == 1) {
        DrawSpriteAt(sprite, v.start.get(), {0, 257, 512, 512}, 200.0f, 125.0f);
        if (HoldStep(v.StartHold, 30)) v.StartReveal = 0, v.GameFlg = 2;
    }
}

// The losing side's result image slides down to y 180 at 1.5 pixels a frame and stays 100
// frames; then the end menu opens. Phase 3 shows the sheet's upper half, phase 4 the lower.
void ResultImage(VersusSide& loser, const Rect& src) {
    constexpr Slide kResultSlide = {1.5f, 180.0f, -168.0f, 100};
    VersusMode& v = Versus;
    float y = loser.ResultSlideY;
    if (SlideStep(kResultSlide, loser.ResultSlideY, loser.ResultHold)) {
        v.GameFlg = 6;
        v.MarkerPos[0] = kEndMarkers[0];
        v.MarkerPos[1] = kEndMarkers[1];
    }
    DrawSpriteAt(v.resultSprite.get(), v.result.get(), src, 200.0f, y);
}

// Z pauses, skips the right side's result, and confirms the menus; returns the next SceneId.
int32_t ZKey() {
    VersusMode& v = Versus;
    int32_t result = kVersusFrame;
    if (GetAsyncKeyState('Z') != 0 && v.ZKeyWait >= 10) {
        bool acted = true;
        switch (v.GameFlg) {
        case 2:
            v.GameFlg = 5;
            break;
        case 4: // the result's slide and hold stay where they are
            v.GameFlg = 6;
            v.MarkerPos[0] = kEndMarkers[0];
            v.MarkerPos[1] = kEndMarkers[1];
            v.MenuSpin = 0;
            break;
        case 5:
            if (v.PauseSelect == 0) {
                v.GameFlg = 2;
                v.MarkerPos[0] = kPauseMarkers[0];
                v.MarkerPos[1] = kPauseMarkers[1];
            } else {
                VersusRelease();
                result = v.PauseSelect == 1 ? kVersusInit : kSelectInit;
            }
            break;
        case 6:
            VersusRelease();
            result = v.EndSelect == 1 ? kVersusInit : kSelectInit;
            break;
        default:
            acted = false;
            break;
        }
        if (acted) v.ZKeyWait = 0;
    }
    ++v.ZKeyWait;
    return result;
}

} // namespace

int32_t VersusFrame(PresentParameters params) {
    GraphicsDevice& device = *Device();
    VersusMode& v = Versus;
    VersusUpdate();
    BeginStandardFrame(device);
    if (v.GameFlg <= 4) { // the cursors are drawn, and pulse
        v.left.pulse.Step();
        v.right.pulse.Step();
    }
    VersusDraw();

    if (v.GameFlg <= 4) DrawDivider();
    StartImages();
    if (v.GameFlg == 3) ResultImage(v.left, {0, 0, 512, 256});
    if (v.GameFlg == 4) ResultImage(v.right, {0, 257, 512, 512});
    int32_t result = ZKey();

    EndStandardFrame(device, params);
    return result;
}
