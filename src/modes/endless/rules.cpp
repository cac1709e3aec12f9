// The endless mode's rule step: keys, cursor, swaps, the puzzle core, the rise, the end of
// the game, the figures on screen, and the pause and end menus.
#include <algorithm>

#include "modes/endless/endless.h"
#include "platform/clock.h"
#include "platform/keyboard.h"
#include "platform/random.h"

using namespace platform;

namespace {

bool Held(int vk) {
    return GetAsyncKeyState(vk) != 0;
}

void RefreshCursorPos() {
    EndlessMode& e = Endless;
    e.CursorPos = e.CellPos[e.BlockX][e.BlockY][e.BlockZ];
}

// One cursor action for the first arrow key held; false when nothing acted (no key, or one
// of the four refusals at the edges).
bool MoveCursor() {
    EndlessMode& e = Endless;
    bool front = e.CursorFlg == 0;
    if (Held(VK_UP)) {
        if (e.ModifierLatch) { // one step into the board
            if (front) {
                ++e.BlockZ, ++e.LeftClearFlg;
                if (e.LeftClearFlg >= 3) e.LeftClearFlg = 3, e.BlockZ = 4;
            } else {
                --e.BlockX, --e.RightClearFlg;
                if (e.RightClearFlg <= 1) e.RightClearFlg = 1, e.BlockX = 0;
            }
            return true;
        }
        if (e.BlockY >= 11) return false;
        ++e.BlockY;
        return true;
    }
    if (Held(VK_DOWN)) {
        if (e.ModifierLatch) { // one step out of the board
            if (front) {
                --e.BlockZ, --e.LeftClearFlg;
                if (e.LeftClearFlg <= -1) e.LeftClearFlg = -1, e.BlockZ = 0;
            } else {
                ++e.BlockX, ++e.RightClearFlg;
                if (e.RightClearFlg >= 6) e.RightClearFlg = 6, e.BlockX = 5;
            }
            return true;
        }
        if (e.BlockY <= 0) return false;
        --e.BlockY;
        return true;
    }
    if (Held(VK_LEFT)) {
        if (front) {
            if (e.BlockX <= 0) return false;
            --e.BlockX;
        } else if (--e.BlockZ < 0) { // round the corner to the front face
            e.CursorFlg = 0, e.RightClearFlg = 6, e.BlockZ = 0, e.BlockX = 4;
        }
        return true;
    }
    if (Held(VK_RIGHT)) {
        if (front) {
            if (++e.BlockX > 4) { // round the corner to the right face
                e.CursorFlg = 1, e.LeftClearFlg = -1, e.BlockX = 5;
                e.BlockZ = std::min(e.BlockZ, 3); // its pair must stay on the board
            }
        } else {
            if (e.BlockZ >= 3) return false;
            ++e.BlockZ;
        }
        return true;
    }
    return false;
}

bool TopRowEmpty(const BlockGrid g) {
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z)
            if (g[x][11][z] != 0) return false;
    return true;
}

bool AnyVanishing(const CellAnim pairs) {
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if (pairs[x][y][z][0] == 1) return true;
    return false;
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
    e.ModifierLatch = Held(VK_SHIFT) ? 1 : 0;

    if (e.MoveWait <= 15) {
        ++e.MoveWait;
    } else if (MoveCursor()) {
        e.MoveWait = 1;
        RefreshCursorPos();
    } else {
        ++e.MoveWait;
    }

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

    e.TopRowFree = TopRowEmpty(e.grid) ? 1 : 0;
    e.TopWarn = 1 - e.TopRowFree;
    bool busy = AnyVanishing(e.pairs);

    if (e.TopRowFree == 1 && !busy) {
        e.cc = static_cast<float>(e.cc + e.LvSum * 0.0005);
        if (Held('A')) e.cc = static_cast<float>(e.cc + 0.01);
    }
    if (e.NextRowReady == 0) {
        for (int x = 0; x < kSlices; ++x)
            for (int z = 0; z < kDepth; ++z) e.NextRow[x][z] = platform::rand() % 5 + 1;
        e.NextRowReady = 1;
    }
    if (e.cc >= 0.88) {
        e.BlockY = std::min(e.BlockY + 1, 11); // the cursor rides up, but stays on the board
        RefreshCursorPos();
        e.NextRowReady = 0;
        e.cc = RiseRows(e.grid, e.NextRow, e.pairs);
    }

    if (!busy) {
        if (e.TopRowFree == 0) {
            if (e.EndCnt >= 300) {
                EndGame();
                e.EndCnt = 0;
            }
            ++e.EndCnt;
        } else {
            e.EndCnt = 0;
        }
    }

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
