// The endless mode's frame: rules, 3D scene, the 2D layer of the phase (score panel, start
// and game-over banners, results with the records), the Z key, presentation.
#include "media/draw.h"
#include "media/frame.h"
#include "modes/endless/endless.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/system.h"
#include "ui/banner.h"
#include "ui/digits.h"

using namespace platform;

namespace {

using scene::kEndlessFrame;
using scene::kEndlessInit;
using scene::kSelectInit;

void DrawSprite(Texture* texture, const Rect& rect, float x, float y) {
    DrawSpriteAt(Endless.sprite.get(), texture, rect, x, y);
}

void DrawScorePanel() {
    const EndlessMode& e = Endless;
    const EndlessRecords& r = Records;
    Sprite* sprite = e.sprite.get();
    DrawSprite(e.panel.get(), {0, 0, 260, 460}, 620.0f, 10.0f);
    DigitSheet s = SmallDigits(e.digits.get());
    DrawNumber(sprite, s, e.ScoreDigits, 800.0f, 45.0f);
    DrawNumber(sprite, s, e.Combo, 800.0f, 100.0f);
    DrawTime(sprite, s, e.Hour, e.Min, e.Sec, {{800, 750, 700}, {760, 710}, 155, 155});
    DrawNumber(sprite, s, e.Lv, 800.0f, 205.0f);
    DrawCutNumber(sprite, s, r.RecScore, r.RecScoreKeta, 800.0f, 260.0f);
    DrawCutNumber(sprite, s, r.RecCombo, r.RecComboKeta, 800.0f, 315.0f);
    DrawTime(sprite, s, r.RecHour, r.RecMin, r.RecSec, {{800, 750, 700}, {760, 710}, 370, 370});
    DrawCutNumber(sprite, s, r.RecLevel, r.RecLevelKeta, 800.0f, 405.0f);
}

// Phase 0 reveals the banner's upper half from the left; phase 1 holds its lower half. The
// frame that completes the reveal goes straight on to the first step of phase 1. Returns which
// halves the frame shows.
struct BannerHalves {
    bool upper, lower;
};
BannerHalves StepStartBanner() {
    EndlessMode& e = Endless;
    BannerHalves shown{e.GameFlg == 0, false};
    if (e.GameFlg == 0 && RevealStep(e.StartWidth, 5, 700, 700)) e.GameFlg = 1;
    if (e.GameFlg == 1) {
        shown.lower = true;
        if (HoldStep(e.StartWait, 30)) {
            e.GameFlg = 2;
            e.StartWidth = 0;
            e.StartTime = timeGetTime();
        }
    }
    return shown;
}

// Reveal: StartWidth after the step (700 in the frame that completes it).
void DrawStartBanner(BannerHalves shown, int32_t width) {
    EndlessMode& e = Endless;
    if (shown.upper) DrawSprite(e.start.get(), {0, 0, width, 256}, 200.0f, 125.0f);
    if (shown.lower) DrawSprite(e.start.get(), {0, 257, 512, 512}, 200.0f, 125.0f);
}

constexpr Slide kGameOverSlide{1.5f, 180.0f, -168.0f, 100};

// A figure that beats its record replaces it, with its count of digits, and flags it.
void Raise(int32_t value, int32_t count, int32_t& record, int32_t& keta, int32_t& flag) {
    if (value > record) record = value, keta = count, flag = 1;
}

// Every frame of the results screen raises the records the game has beaten.
void RaiseRecords() {
    EndlessMode& e = Endless;
    EndlessRecords& r = Records;
    Raise(e.ScoreValue, e.ScoreDigits.count, r.RecScore, r.RecScoreKeta, e.ScoreRecFlg);
    Raise(e.ComboSum, e.Combo.count, r.RecCombo, r.RecComboKeta, e.ComboRecFlg);
    bool longer = e.Hour > r.RecHour || (e.Hour == r.RecHour && e.Min > r.RecMin) ||
                  (e.Hour == r.RecHour && e.Min == r.RecMin && e.Sec > r.RecSec);
    if (longer) {
        r.RecHour = e.Hour, r.RecMin = e.Min, r.RecSec = e.Sec;
        e.TimeRecFlg = 1;
    }
    Raise(e.LvSum, e.Lv.count, r.RecLevel, r.RecLevelKeta, e.LevelRecFlg);
}

void DrawResults() {
    const EndlessMode& e = Endless;
    Sprite* sprite = e.sprite.get();
    DigitSheet l = LargeDigits(e.digits2.get());
    auto label = [&](int32_t flag, float x, float y) {
        if (flag == 1) DrawSprite(e.newRecord.get(), {0, 0, 350, 50}, x, y);
    };
    DrawSprite(e.results.get(), {0, 0, 880, 480}, 0.0f, 0.0f);
    DrawNumber(sprite, l, e.ScoreDigits, 350.0f, 200.0f);
    label(e.ScoreRecFlg, 50.0f, 130.0f);
    DrawNumber(sprite, l, e.Combo, 800.0f, 200.0f);
    label(e.ComboRecFlg, 500.0f, 130.0f);
    DrawTime(sprite, l, e.Hour, e.Min, e.Sec, {{350, 254, 153}, {274, 173}, 370, 375});
    label(e.TimeRecFlg, 50.0f, 290.0f);
    DrawNumber(sprite, l, e.Lv, 800.0f, 370.0f);
    label(e.LevelRecFlg, 500.0f, 290.0f);
}

// The Z key moves between phases; returns the next SceneId.
int32_t ZKey() {
    EndlessMode& e = Endless;
    int32_t result = kEndlessFrame;
    if (GetAsyncKeyState('Z') != 0 && e.ZKeyWait >= 10) {
        bool acted = true;
        switch (e.GameFlg) {
        case 2:
            e.GameFlg = 5;
            break;
        case 4:
            e.GameFlg = 6;
            e.MarkerL = {-7.0f, 3.0f, -12.0f};
            e.MarkerR = {6.0f, 3.0f, -12.0f};
            e.MarkerAngle = 0;
            break;
        case 5:
            if (e.PauseSelect == 0) {
                e.GameFlg = 2;
            } else {
                EndlessRelease();
                result = e.PauseSelect == 1 ? kEndlessInit : kSelectInit;
            }
            break;
        case 6:
            if (e.defeat) e.defeat->SetCurrentPosition(0);
            EndlessRelease();
            result = e.EndSelect == 1 ? kEndlessInit : kSelectInit;
            break;
        default:
            acted = false;
            break;
        }
        if (acted) e.ZKeyWait = 0;
    }
    ++e.ZKeyWait;
    return result;
}

} // namespace

int32_t EndlessFrame(PresentParameters params) {
    GraphicsDevice& device = *Device();
    EndlessUpdate();
    BeginStandardFrame(device);
    if (Endless.GameFlg <= 3) Endless.pulse.Step();
    EndlessDraw();

    EndlessMode& e = Endless;
    if (e.GameFlg <= 3) DrawScorePanel();
    if (e.GameFlg <= 1) {
        BannerHalves shown = StepStartBanner();
        DrawStartBanner(shown, e.StartWidth);
    }
    if (e.GameFlg == 3) {
        if (SlideStep(kGameOverSlide, e.ResultSlideY, e.ResultHold)) e.GameFlg = 4;
        // The frame that ends the slide shows the banner back at its start, as it always has.
        DrawSprite(e.gameOver.get(), {0, 0, 512, 168}, 200.0f, e.ResultSlideY);
    }
    if (e.GameFlg == 4) {
        RaiseRecords();
        DrawResults();
    }
    int32_t result = ZKey();

    EndStandardFrame(device, params);
    return result;
}
