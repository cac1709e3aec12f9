// The endless mode's rule step: keys, cursor, swaps, the puzzle core, the rise, the end of
// the game, the figures on screen, and the pause and end menus.
#include "modes/endless/endless.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "play/cursor.h"
#include "play/rise.h"
#include "ui/menu.h"

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
    SettleBoard(e, e.vanish,
                {.chainSteps = chainSteps,
                 .maxCombo = e.ComboSum,
                 .lastCombo = e.ComboSu2,
                 .chainFlag = e.ComboFlg,
                 .combo = e.combo,
                 .score = e.ScoreDigits.d[0]},
                SettleOrder::MatchThenFall);

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

// Marker steps of a move down from an item to the next.
constexpr MarkerStep kPauseSteps[2] = {{1.0f, -3.0f, -1.0f, -3.0f}, {-1.0f, -3.35f, 1.0f, -3.35f}};
constexpr MarkerStep kEndSteps[1] = {{-0.2f, -4.7f, 0.7f, -4.7f}};
// Pause: resume 0, restart 1, mode select 2; end: play again 1, mode select 2.
constexpr MarkerMenu kPauseMenu{kPauseSteps, 2, 0, 10, 1, false, VK_UP, VK_DOWN};
constexpr MarkerMenu kEndMenu{kEndSteps, 1, 1, 10, 1, false, VK_UP, VK_DOWN};

} // namespace

void EndlessUpdate() {
    EndlessMode& e = Endless;
    switch (e.GameFlg) {
    case 2:
        PlayUpdate();
        break;
    case 5:
        e.MarkerAngle += 2;
        StepMarkerMenu(kPauseMenu, e.PauseSelect, e.PauseMenuWait, e.MarkerL, e.MarkerR);
        break;
    case 6:
        e.MarkerAngle += 1;
        StepMarkerMenu(kEndMenu, e.EndSelect, e.EndMenuWait, e.MarkerL, e.MarkerR);
        break;
    default:
        break;
    }
}
