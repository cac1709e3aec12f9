// The endless mode's frame: rules, 3D scene, the 2D layer of the phase (score panel, start
// and game-over banners, results with the records), the Z key, presentation.
#include "media/draw.h"
#include "media/frame.h"
#include "modes/endless/endless.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/system.h"

using namespace platform;

namespace {

constexpr int32_t kEndlessFrame = 5;
constexpr int32_t kEndlessInit = 4;
constexpr int32_t kSelectInit = 2;

// Figures on the digit sheets: 1..9, 0, then the colon.
constexpr Rect kSmall[11] = {{0, 0, 25, 32},    {26, 0, 50, 32},   {51, 0, 75, 32},
                             {76, 0, 100, 32},  {101, 0, 125, 32}, {126, 0, 150, 32},
                             {151, 0, 175, 32}, {176, 0, 200, 32}, {201, 0, 225, 32},
                             {226, 0, 250, 32}, {251, 0, 275, 32}};
constexpr Rect kLarge[11] = {{0, 0, 60, 100},    {61, 0, 120, 100},  {121, 0, 180, 100},
                             {181, 0, 240, 100}, {241, 0, 300, 100}, {301, 0, 360, 100},
                             {361, 0, 420, 100}, {421, 0, 480, 100}, {481, 0, 540, 100},
                             {541, 0, 600, 100}, {601, 0, 660, 100}};
constexpr int kColon = 10;

struct DigitSheet {
    Texture* texture;
    const Rect* rects;
    float step;
};
DigitSheet Small() {
    return {Endless.digits.get(), kSmall, 20.0f};
}
DigitSheet Large() {
    return {Endless.digits2.get(), kLarge, 38.0f};
}

const Rect& Figure(const DigitSheet& sheet, int32_t digit) {
    int32_t d = ((digit % 10) + 10) % 10;
    return sheet.rects[d == 0 ? 9 : d - 1];
}

void DrawSprite(Texture* texture, const Rect& rect, float x, float y) {
    DrawSpriteAt(Endless.sprite.get(), texture, rect, x, y);
}

// Digits right-aligned on the ones digit at x, highest digit first.
void DrawNumber(const DigitSheet& sheet, const int32_t* digits, int32_t count, float x, float y) {
    for (int32_t i = count - 1; i >= 0; --i)
        DrawSprite(sheet.texture, Figure(sheet, digits[i]), x - sheet.step * i, y);
}
void DrawNumber(const DigitSheet& sheet, const Digits& digits, float x, float y) {
    DrawNumber(sheet, digits.d, digits.count, x, y);
}

// A record cut into `count` digits by repeated division.
void DrawRecord(const DigitSheet& sheet, int64_t value, int32_t count, float x, float y) {
    int32_t digits[15] = {};
    count = std::min(count, 15);
    for (int32_t i = 0; i < count; ++i, value /= 10) digits[i] = static_cast<int32_t>(value % 10);
    DrawNumber(sheet, digits, count, x, y);
}

void DrawTwoDigits(const DigitSheet& sheet, int32_t value, float x, float y) {
    int32_t digits[2] = {value % 10, (value / 10) % 10};
    DrawNumber(sheet, digits, 2, x, y);
}

// hh:mm:ss with the seconds' ones digit at x0, the minutes' at x1, the hours' at x2.
void DrawTime(const DigitSheet& sheet, int32_t h, int32_t m, int32_t s, const float xs[3],
              const float colons[2], float y, float colonY) {
    DrawTwoDigits(sheet, s, xs[0], y);
    DrawSprite(sheet.texture, sheet.rects[kColon], colons[0], colonY);
    DrawTwoDigits(sheet, m, xs[1], y);
    DrawSprite(sheet.texture, sheet.rects[kColon], colons[1], colonY);
    DrawTwoDigits(sheet, h, xs[2], y);
}

void DrawScorePanel() {
    const EndlessMode& e = Endless;
    const EndlessRecords& r = Records;
    DrawSprite(e.panel.get(), {0, 0, 260, 460}, 620.0f, 10.0f);
    DigitSheet s = Small();
    const float xs[3] = {800.0f, 750.0f, 700.0f}, colons[2] = {760.0f, 710.0f};
    DrawNumber(s, e.ScoreDigits, 800.0f, 45.0f);
    DrawNumber(s, e.Combo, 800.0f, 100.0f);
    DrawTime(s, e.Hour, e.Min, e.Sec, xs, colons, 155.0f, 155.0f);
    DrawNumber(s, e.Lv, 800.0f, 205.0f);
    DrawRecord(s, r.RecScore, r.RecScoreKeta, 800.0f, 260.0f);
    DrawRecord(s, r.RecCombo, r.RecComboKeta, 800.0f, 315.0f);
    DrawTime(s, r.RecHour, r.RecMin, r.RecSec, xs, colons, 370.0f, 370.0f);
    DrawRecord(s, r.RecLevel, r.RecLevelKeta, 800.0f, 405.0f);
}

// Phase 0 reveals the banner's upper half from the left; phase 1 holds its lower half. The
// frame that completes the reveal goes straight on to the first step of phase 1.
void DrawStartBanner() {
    EndlessMode& e = Endless;
    if (e.GameFlg == 0) {
        e.StartWidth += 5;
        if (e.StartWidth >= 700) e.StartWidth = 700, e.GameFlg = 1;
        DrawSprite(e.start.get(), {0, 0, e.StartWidth, 256}, 200.0f, 125.0f);
    }
    if (e.GameFlg != 1) return;
    DrawSprite(e.start.get(), {0, 257, 512, 512}, 200.0f, 125.0f);
    if (e.StartWait >= 30) {
        e.GameFlg = 2;
        e.StartWidth = e.StartWait = 0;
        e.StartTime = timeGetTime();
    }
    ++e.StartWait;
}

void DrawGameOverBanner() {
    EndlessMode& e = Endless;
    if (e.ResultSlideY < 180.0f) e.ResultSlideY += 1.5f;
    if (e.ResultSlideY >= 180.0f) {
        if (e.ResultHold >= 100) {
            e.GameFlg = 4;
            e.ResultSlideY = -168.0f;
            e.ResultHold = 0;
        }
        ++e.ResultHold;
    }
    DrawSprite(e.gameOver.get(), {0, 0, 512, 168}, 200.0f, e.ResultSlideY);
}

// A figure that beats its record replaces it, with its count of digits, and flags it.
void Raise(int32_t value, int32_t count, int32_t& record, int32_t& keta, int32_t& flag) {
    if (value > record) record = value, keta = count, flag = 1;
}

// The results screen; the records are raised here, every frame of the phase.
void DrawResults() {
    EndlessMode& e = Endless;
    EndlessRecords& r = Records;
    DigitSheet l = Large();
    auto label = [&](int32_t flag, float x, float y) {
        if (flag == 1) DrawSprite(e.newRecord.get(), {0, 0, 350, 50}, x, y);
    };
    DrawSprite(e.results.get(), {0, 0, 880, 480}, 0.0f, 0.0f);

    DrawNumber(l, e.ScoreDigits, 350.0f, 200.0f);
    Raise(e.ScoreValue, e.ScoreDigits.count, r.RecScore, r.RecScoreKeta, e.ScoreRecFlg);
    label(e.ScoreRecFlg, 50.0f, 130.0f);

    DrawNumber(l, e.Combo, 800.0f, 200.0f);
    Raise(e.ComboSum, e.Combo.count, r.RecCombo, r.RecComboKeta, e.ComboRecFlg);
    label(e.ComboRecFlg, 500.0f, 130.0f);

    const float xs[3] = {350.0f, 254.0f, 153.0f}, colons[2] = {274.0f, 173.0f};
    DrawTime(l, e.Hour, e.Min, e.Sec, xs, colons, 370.0f, 375.0f);
    bool longer = e.Hour > r.RecHour || (e.Hour == r.RecHour && e.Min > r.RecMin) ||
                  (e.Hour == r.RecHour && e.Min == r.RecMin && e.Sec > r.RecSec);
    if (longer) {
        r.RecHour = e.Hour, r.RecMin = e.Min, r.RecSec = e.Sec;
        e.TimeRecFlg = 1;
    }
    label(e.TimeRecFlg, 50.0f, 290.0f);

    DrawNumber(l, e.Lv, 800.0f, 370.0f);
    Raise(e.LvSum, e.Lv.count, r.RecLevel, r.RecLevelKeta, e.LevelRecFlg);
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

    int32_t phase = Endless.GameFlg;
    if (phase <= 3) DrawScorePanel();
    if (phase <= 1) DrawStartBanner();
    if (Endless.GameFlg == 3) DrawGameOverBanner();
    if (Endless.GameFlg == 4) DrawResults();
    int32_t result = ZKey();

    EndStandardFrame(device, params);
    return result;
}
