// The endless mode's rule step: keys, cursor, swaps, the puzzle core, the rise, the end of
// the game, the figures on screen, and the pause and end menus.
#include <algorithm>

#include "modes/endless/endless.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "play/cursor.h"
#include "play/rise.h"

using namespace platform;

namespace {

bool Held(int vk) {
    return GetAsyncKeyState(vk) != 0;
}

void EndGame() {
    EndlessMode& e = Endless;
    e.GameFlg = 3;
    StopAndRewind(e.music);
    PlayOnce(e.defeat);
}

void PlayUpdate() {
    EndlessMode& e = Endless;
    PlayLooping(e.music);
    e.Time[0] = static_cast<int32_t>(timeGetTime() - e.StartTime) / 1000;
    StepCursor(e, kArrowKeys, e.MoveWait);

    if (e.AnimWait >= 10) {
        e.CursorFrame = (e.CursorFrame + 1) % 5;
        e.AnimWait = 0;
    }
    ++e.AnimWait;

    if (e.SwapWait >= 15 && Held('X')) {
        int32_t swaps = 0;
        SwapCells(e.swapSound, &swaps, e.grid, e.BlockX, e.BlockY, e.BlockZ, e.CursorFlg);
        e.SwapWait = 0;
    }
    ++e.SwapWait;

    int32_t chainSteps = 0;
    MatchLines(e.grid, e.pairs, e.vanish, chainSteps, e.ComboSum, e.ComboSu2, e.ComboFlg, e.combo,
               e.ScoreDigits.d[0]);
    FallStep(e.grid, e.pairs);

    bool busy = RiseStep(e, e.LvSum * 0.0005, 'A', 0.01);
    if (CountDefeat(e, e.TopRowFree == 1, busy, DefeatRule::KeepWhileBusy)) EndGame();

    if (DebugKeysEnabled() && Held('Q')) e.ScoreDigits.d[0] += 10;

    CarryDigits(e.ScoreDigits);
    e.ScoreValue = static_cast<int32_t>(DigitsValue(e.ScoreDigits));

    SetDigits(e.Combo, e.ComboSum);
    e.ComboSu2 = 0;

    int32_t s = e.Time[0];
    e.Hour = s / 3600;
    e.Time[0] = e.Hour;
    e.Min = (s / 60) % 60;
    e.Sec = s % 60;

    CarryDigits(e.Lv);
    e.LvSum = static_cast<int32_t>(DigitsValue(e.Lv));
    if (e.ScoreValue >= 300LL * e.LvSum) {
        ++e.Lv.d[0];
        CarryDigits(e.Lv); // the figure on screen never shows a slot above 9
    }

    if (Held('R')) EndGame();
}

// Moves a menu selection with Up before Down, paced by `wait`.
template <size_t N>
void MenuUpdate(int32_t& item, int32_t first, int32_t& wait, const float (&steps)[N][4]) {
    EndlessMode& e = Endless;
    if (wait < 10) {
        ++wait;
        return;
    }
    int32_t last = first + static_cast<int32_t>(N);
    bool moved = false;
    if (Held(VK_UP)) {
        if (item > first) {
            --item;
            const float* s = steps[item - first];
            e.MarkerL.x -= s[0], e.MarkerL.y -= s[1], e.MarkerR.x -= s[2], e.MarkerR.y -= s[3];
            moved = true;
        }
    } else if (Held(VK_DOWN)) {
        if (item < last) {
            const float* s = steps[item - first];
            e.MarkerL.x += s[0], e.MarkerL.y += s[1], e.MarkerR.x += s[2], e.MarkerR.y += s[3];
            ++item;
            moved = true;
        }
    }
    if (moved)
        wait = 1;
    else
        ++wait;
}

// Marker steps of a move down from an item to the next: left x, left y, right x, right y.
constexpr float kPauseSteps[2][4] = {{1.0f, -3.0f, -1.0f, -3.0f}, {-1.0f, -3.35f, 1.0f, -3.35f}};
constexpr float kEndSteps[1][4] = {{-0.2f, -4.7f, 0.7f, -4.7f}};

} // namespace

int32_t DigitCount(int64_t value) {
    int32_t n = 1;
    for (value = value < 0 ? -value : value; value >= 10; value /= 10) ++n;
    return n;
}

void SetDigits(Digits& digits, int64_t value) {
    digits = Digits{};
    digits.count = std::min(DigitCount(value), 15);
    for (int i = 0; i < 15 && value > 0; ++i, value /= 10)
        digits.d[i] = static_cast<int32_t>(value % 10);
}

int64_t DigitsValue(const Digits& digits) {
    int64_t value = 0;
    for (int i = 14; i >= 0; --i) value = value * 10 + digits.d[i];
    return value;
}

void CarryDigits(Digits& digits) {
    for (int i = 0; i < 14; ++i)
        if (digits.d[i] > 9) {
            digits.d[i + 1] += digits.d[i] / 10;
            digits.d[i] %= 10;
        }
    int32_t count = 1;
    for (int i = 14; i > 0; --i)
        if (digits.d[i] != 0) {
            count = i + 1;
            break;
        }
    digits.count = count;
}

void EndlessUpdate() {
    EndlessMode& e = Endless;
    switch (e.GameFlg) {
    case 2:
        PlayUpdate();
        break;
    case 5:
        e.MarkerAngle += 2;
        MenuUpdate(e.PauseSelect, 0, e.PauseMenuWait, kPauseSteps);
        break;
    case 6:
        e.MarkerAngle += 1;
        MenuUpdate(e.EndSelect, 1, e.EndMenuWait, kEndSteps);
        break;
    default:
        break;
    }
}
