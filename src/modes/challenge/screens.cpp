// The challenge mode's frame: rules, 3D scene, the 2D pictures of the phase (level select,
// explanation, start banner, verdict, swap count and demanded chain), the Z key, presentation.
#include <cstring>

#include "media/draw.h"
#include "media/frame.h"
#include "media/manifest.h"
#include "modes/challenge/challenge.h"
#include "platform/d3dmath.h"
#include "platform/keyboard.h"
#include "platform/system.h"
#include "ui/banner.h"
#include "ui/digits.h"
#include "ui/scene_id.h"

using namespace platform;

namespace {

DigitSheet Figures() {
    return {Challenge.digits.get(), kLargeDigitRects, 40.0f};
}

// The large count and chain of the explanation screen: digit i scaled 1.5 x 1.6 at
// (x - 60 i, 15).
void DrawLargeNumber(const int32_t* digits, int32_t count, float x) {
    for (int i = count - 1; i >= 0; --i)
        DrawSpriteWith(Challenge.digitSprite.get(), Challenge.digits.get(),
                       FigureRect(Figures(), digits[i]),
                       Scaling(1.5f, 1.6f, 1.0f) * Translation(x - 60.0f * i, 15.0f, 0.0f));
}

void DrawPhasePictures() {
    ChallengeMode& c = Challenge;
    const int32_t chain[1] = {c.TargetCombo % 10};
    switch (c.GameFlg) {
    case 0:
        DrawSpriteAt(c.levelSprite.get(), c.levelSelect.get(), {0, 0, 880, 480}, 0, 0);
        DrawSpriteAt(c.frameSprite.get(), c.frame.get(), {0, 0, 172, 227}, c.WakuX, c.WakuY);
        break;
    case 1:
        DrawSpriteAt(c.explanationSprite.get(), c.explanation.get(), {0, 0, 880, 480}, 0, 0);
        DrawLargeNumber(c.Hcom, c.HcomSu, 410.0f);
        DrawLargeNumber(chain, 1, 680.0f); // the demanded chain beside the count
        break;
    case 2:
    case 3: {
        // The top half wipes in 5 pixels a frame, then the bottom half holds for 30 frames.
        const int32_t width = c.StartWidth;
        if (c.GameFlg == 2 && RevealStep(c.StartWidth, 5, 700, 700)) c.GameFlg = 3;
        if (c.GameFlg == 2)
            DrawSpriteAt(c.startSprite.get(), c.start.get(), {0, 0, width, 256}, 200, 125);
        else
            DrawSpriteAt(c.startSprite.get(), c.start.get(), {0, 257, 512, 512}, 200, 125);
        if (c.GameFlg == 3 && HoldStep(c.StartWait, 30)) {
            c.GameFlg = 4;
            c.StartWidth = 0;
        }
        break;
    }
    case 5:
        DrawSpriteAt(c.verdictSprite.get(), c.verdict.get(), {0, 0, 512, 256}, 175, 125);
        break;
    case 6:
        DrawSpriteAt(c.verdictSprite.get(), c.verdict.get(), {0, 257, 512, 512}, 175, 125);
        break;
    default:
        break;
    }
    if (c.GameFlg >= 2 && c.GameFlg <= 6) {
        DrawSpriteAt(c.countSprite.get(), c.count.get(), {0, 0, 250, 150}, 600, 50);
        DrawNumber(c.digitSprite.get(), Figures(), c.Hcom, c.HcomSu, 720.0f, 25.0f);
        // The demanded chain, low on the right, clear of the verdict banner.
        DrawSpriteAt(c.countSprite.get(), c.chainLabel.get(), {0, 0, 250, 150}, 600, 350);
        DrawNumber(c.digitSprite.get(), Figures(), chain, 1, 700.0f, 325.0f);
    }
}

// Back to the level's start: the grid emptied, the cursor home, the counters of the attempt
// cleared and the vanish sound released; with the menu, its markers home too.
void ResetAttempt(bool menu) {
    ChallengeMode& c = Challenge;
    std::memset(c.grid, 0, sizeof c.grid);
    ResetPairs(c);
    ResetCursor(c);
    c.DeleteComboSu = c.ComboSu = c.MaxCombo = c.ResultFlg = c.LoadFlg = 0;
    ReleaseSoundRecord(c.vanish);
    if (!menu) return;
    c.MarkerL = {-5.2f, 3.25f, -8.0f};
    c.MarkerR = {5.5f, 3.25f, -8.0f};
    c.MarkerAngle = c.SelectFlg = c.CursorFrame = 0;
}

int32_t Leave() {
    ChallengeRelease();
    ReleaseSoundRecord(Challenge.vanish);
    return scene::kSelectInit;
}

void RewindPlayMusic() {
    if (Challenge.music) Challenge.music->SetCurrentPosition(0);
}

// The Z key: a new press acts by phase. Returns the next SceneId.
int32_t ZKey() {
    ChallengeMode& c = Challenge;
    if (GetAsyncKeyState('Z') == 0) {
        c.KeyLatch = 0;
        return scene::kChallengeFrame;
    }
    if (c.KeyLatch == 1 || c.GameFlg == 2 || c.GameFlg == 3) return scene::kChallengeFrame;
    c.KeyLatch = 1;
    switch (c.GameFlg) {
    case 0:
        c.GameFlg = 1;
        break;
    case 1:
        StopAndRewind(c.title);
        c.GameFlg = 2;
        break;
    case 4:
        c.GameFlg = 7;
        break;
    case 5:
        RewindPlayMusic();
        if (c.victory) c.victory->Stop(); // the next victory goes on from here
        ResetAttempt(false);
        c.GameFlg = 0;
        break;
    case 6:
        RewindPlayMusic();
        if (c.defeat) c.defeat->Stop();
        c.MarkerL = {-5.2f, 4.5f, -10.0f};
        c.MarkerR = {5.5f, 4.5f, -10.0f};
        c.MarkerAngle = 0;
        c.MaxCombo = 0;
        c.GameFlg = 8;
        break;
    case 7: {
        const int32_t item = c.SelectFlg; // the reset below sets it back to 0
        if (item == 3) return Leave();
        if (item != 0) ResetAttempt(true);
        c.GameFlg = item == 0 ? 4 : item == 1 ? 1 : 0;
        break;
    }
    case 8:
        RewindPlayMusic();
        if (c.defeat) c.defeat->Stop();
        if (c.EndSelectFlg == 3) return Leave();
        ResetAttempt(true);
        c.GameFlg = c.EndSelectFlg == 1 ? 1 : 0;
        c.EndSelectFlg = 1;
        break;
    default:
        break;
    }
    return scene::kChallengeFrame;
}

} // namespace

int32_t ChallengeFrame(PresentParameters params) {
    GraphicsDevice& device = *Device();
    ChallengeUpdate();
    BeginStandardFrame(device);
    ChallengeMode& c = Challenge;
    if (c.GameFlg >= 2 && c.GameFlg <= 6) c.pulse.Step();
    ChallengeDraw();
    DrawPhasePictures();
    const int32_t result = ZKey();
    EndStandardFrame(device, params);
    return result;
}
