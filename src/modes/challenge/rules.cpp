// The challenge mode's rule step: the level select, placing the level, play with its exact
// swap budget and the verdict, the swap count's digits, and the pause and end menus.
#include "modes/challenge/challenge.h"
#include "platform/keyboard.h"
#include "play/cursor.h"
#include "ui/menu.h"

using namespace platform;

namespace {

bool Held(int vk) {
    return GetAsyncKeyState(vk) != 0;
}

// The fifteen tiles stand in 5 columns and 3 rows; the first arrow key held decides, even
// when its move is refused.
void LevelSelectUpdate() {
    ChallengeMode& c = Challenge;
    PlayLooping(c.title);
    bool moved = false;
    if (c.LevelSelectWait >= 15) {
        if (Held(VK_UP)) {
            if (c.Difficulty > 5) c.Difficulty -= 5, c.WakuY -= 120.0f, moved = true;
        } else if (Held(VK_DOWN)) {
            if (c.Difficulty < 11) c.Difficulty += 5, c.WakuY += 120.0f, moved = true;
        } else if (Held(VK_LEFT)) {
            if (c.Difficulty % 5 != 1) c.Difficulty -= 1, c.WakuX -= 176.0f, moved = true;
        } else if (Held(VK_RIGHT)) {
            if (c.Difficulty % 5 != 0) c.Difficulty += 1, c.WakuX += 176.0f, moved = true;
        }
    }
    c.LevelSelectWait = moved ? 1 : c.LevelSelectWait + 1;
}

// The verdict, once the last swap is spent and the board has come to rest.
void JudgeAttempt() {
    ChallengeMode& c = Challenge;
    if (c.BlockCnt != 0 || c.ComboFlg != 0 || AnyVanishing(c.pairs)) return;
    bool empty = true;
    for (const auto& slice : c.grid)
        for (const auto& row : slice)
            for (int32_t cell : row) empty = empty && cell <= 0;
    StopAndRewind(c.music);
    if (empty && c.MaxCombo == c.TargetCombo) {
        c.ResultFlg = 1;
        PlayLooping(c.victory);
        c.GameFlg = 5;
    } else {
        c.ResultFlg = 2;
        PlayLooping(c.defeat);
        c.GameFlg = 6;
    }
}

void PlayUpdate() {
    ChallengeMode& c = Challenge;
    PlayLooping(c.music);
    StepCursor(c, kArrowKeys, c.MoveWait);
    // The five cursor pictures take turns, one every three frames.
    if (c.AnimWait >= 3) {
        c.CursorFrame = (c.CursorFrame + 1) % 5;
        c.AnimWait = 0;
    }
    ++c.AnimWait;
    // With no swap left, X offers none: the count never goes below 0.
    if (c.SwapWait >= 15 && c.BlockCnt > 0 && Held('X')) {
        SwapCells(c.swapSound, &c.BlockCnt, c.grid, c.BlockX, c.BlockY, c.BlockZ, c.CursorFlg);
        c.SwapWait = 0;
    }
    ++c.SwapWait;
    int32_t chainSteps = 0, score = 0;
    SettleBoard(c, c.vanish,
                {.chainSteps = chainSteps,
                 .maxCombo = c.MaxCombo,
                 .lastCombo = c.ComboSu,
                 .chainFlag = c.ComboFlg,
                 .combo = c.DeleteComboSu,
                 .score = score},
                SettleOrder::FallThenMatch);
    JudgeAttempt();
}

// Marker steps of a move down from an item to the next.
constexpr MarkerStep kPauseSteps[3] = {
    {0.7f, -2.75f, -0.7f, -2.75f}, {0.0f, -2.8f, 0.0f, -2.8f}, {-0.7f, -2.8f, 0.7f, -2.8f}};
constexpr MarkerStep kEndSteps[2] = {{0.0f, -4.0f, 0.0f, -4.0f}, {-0.7f, -3.7f, 0.7f, -3.7f}};
// Pause: resume 0, retry 1, level select 2, leave 3; end: retry 1, level select 2, leave 3.
constexpr MarkerMenu kPauseMenu{kPauseSteps, 3, 0, 11, 1, false, VK_UP, VK_DOWN};
constexpr MarkerMenu kEndMenu{kEndSteps, 2, 1, 10, 1, false, VK_UP, VK_DOWN};

} // namespace

void ChallengeUpdate() {
    ChallengeMode& c = Challenge;
    switch (c.GameFlg) {
    case 0:
        LevelSelectUpdate();
        break;
    case 1:
        if (c.LoadFlg == 0) PlaceLevel(c.Difficulty);
        break;
    case 4:
        PlayUpdate();
        break;
    default:
        break;
    }
    // The swap count's digits, one or two.
    if (c.BlockCnt <= 9) {
        c.HcomSu = 1;
        c.Hcom[0] = c.BlockCnt;
        c.Hcom[1] = 0;
    } else {
        c.HcomSu = 2;
        c.Hcom[1] = c.BlockCnt / 10;
        c.Hcom[0] = c.BlockCnt % 10;
    }
    if (c.GameFlg == 7) {
        c.MarkerAngle += 2;
        StepMarkerMenu(kPauseMenu, c.SelectFlg, c.PauseWait, c.MarkerL, c.MarkerR);
    } else if (c.GameFlg == 8) {
        c.MarkerAngle += 2;
        StepMarkerMenu(kEndMenu, c.EndSelectFlg, c.EndWait, c.MarkerL, c.MarkerR);
    }
}
