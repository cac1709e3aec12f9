// The versus mode's rule step: both sides' keys, cursors and swaps, the puzzle core, the rise,
// garbage sent across, the defeat test; the pause and end menus.
#include "modes/versus/cpu.h"
#include "modes/versus/garbage.h"
#include "modes/versus/versus.h"
#include "platform/keyboard.h"
#include "ui/menu.h"

using namespace platform;

namespace {

bool Held(int vk) {
    return vk >= 0 && GetAsyncKeyState(vk) != 0;
}

// Keys, cursor and swap of one side.
void SideInput(VersusSide& s, const VersusKeys& k) {
    VersusMode& v = Versus;
    StepCursor(s, *k.cursor, s.MoveWait);
    if (k.depth >= 0) {
        if (s.DepthWait >= 10 && Held(k.depth)) {
            if (Held(k.cursor->modifier))
                MoveDeeper(s);
            else
                MoveShallower(s);
            RefreshCursorPos(s);
            s.DepthWait = 0;
        }
        ++s.DepthWait;
    }
    if (s.SwapWait >= 15 && Held(k.swap)) {
        int32_t swaps = 0;
        SwapCells(v.swapSound, &swaps, s.grid, s.BlockX, s.BlockY, s.BlockZ, s.CursorFlg);
        s.SwapWait = 0;
    }
    ++s.SwapWait;
}

// The side's board: lines, gravity, the rise, garbage sent to `other`, the defeat test.
void SideRules(VersusSide& s, const VersusKeys& k, VersusSide& other, int32_t lostFlag) {
    VersusMode& v = Versus;
    int32_t score = 0; // lines score nothing here; the chain steps are the garbage owed
    SettleBoard(s, v.vanish,
                {.chainSteps = s.Disturbance,
                 .maxCombo = s.maxCombo,
                 .lastCombo = s.lastCombo,
                 .chainFlag = s.chainFlag,
                 .combo = s.combo,
                 .score = score},
                SettleOrder::MatchThenFall);
    bool busy = RiseStep(s, 0.0005, k.faster, 0.001);
    if (s.Disturbance != 0) DropGarbage(other.grid, other.pairs, s.Disturbance, s.chainFlag);
    if (CountDefeat(s, TopRowEmpty(s.grid), busy, DefeatRule::ResetWhenFree)) v.GameFlg = lostFlag;
}

void PlayUpdate() {
    VersusMode& v = Versus;
    PlayLooping(v.music);
    SideInput(v.left, kLeftKeys);
    SideRules(v.left, kLeftKeys, v.right, 3);
    SideInput(v.right, kRightKeys);
    SideRules(v.right, kRightKeys, v.left, 4);
    if (DebugKeysEnabled()) {
        if (Held(kLeftKeys.cheat)) ++v.left.Disturbance;
        if (Held(kRightKeys.cheat)) ++v.right.Disturbance;
    }
}

// The markers' moves down from each item (a move up subtracts them); Up and Down of either
// player, 10 frames apart.
constexpr MarkerStep kPauseSteps[2] = {{1.0f, -3.0f, -1.0f, -3.0f}, {-1.0f, -3.35f, 1.0f, -3.35f}};
constexpr MarkerStep kEndSteps[1] = {{-0.2f, -4.7f, 0.7f, -4.7f}};
constexpr MarkerMenu kPauseMenu = {kPauseSteps, 2, 0, 10, 1, false, VK_UP, VK_DOWN};
constexpr MarkerMenu kEndMenu = {kEndSteps, 1, 1, 10, 1, false, VK_UP, VK_DOWN};

} // namespace

void VersusUpdate() {
    VersusMode& v = Versus;
    CpuStep(); // a computer opponent sets its keys before the rules read them
    switch (v.GameFlg) {
    case 2:
        PlayUpdate();
        break;
    case 5:
        v.MenuSpin += 2;
        StepMarkerMenu(kPauseMenu, v.PauseSelect, v.PauseMenuWait, v.MarkerPos[0], v.MarkerPos[1]);
        break;
    case 6:
        v.MenuSpin += 2;
        StepMarkerMenu(kEndMenu, v.EndSelect, v.EndMenuWait, v.MarkerPos[0], v.MarkerPos[1]);
        break;
    default:
        break;
    }
}
