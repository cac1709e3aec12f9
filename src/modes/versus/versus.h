// The versus mode: two players at one keyboard, a rising board each, garbage rows sent by
// chains, and the side whose top row stays occupied too long loses.
#pragma once

#include <cstdint>

#include "media/model.h"
#include "media/sound.h"
#include "platform/graphics.h"
#include "platform/json.h"
#include "play/cursor.h"
#include "play/draw.h"
#include "play/rise.h"
#include "ui/scene_id.h"

// The keys of one side besides its cursor's; -1 where the side has no such key.
struct VersusKeys {
    const CursorKeyMap* cursor; // up, down, left, right and the depth modifier
    int depth;  // a depth move on its own: deeper with the modifier held, shallower without
    int swap;   // swaps the two marked cells
    int faster; // held: the board rises faster
    int cheat;  // held, with --debug-keys: one more garbage row owed to the other side
};
extern const VersusKeys kLeftKeys;  // G B V N and Shift, A, Q
extern const VersusKeys kRightKeys; // arrows and Enter, K, J, U, W

// One player's side: the shared rising board with its cursor, and what only the versus mode
// keeps.
struct VersusSide : RisingBoard {
    float BlockAlpha = 1.0f; // alpha of the board's solid and vanishing blocks
    int32_t Disturbance = 0; // garbage rows owed to the other side (the matcher's chain steps)
    int32_t combo = 0, chainFlag = 0, lastCombo = 0, maxCombo = 0;

    // Frame counters kept from one game to the next.
    int32_t MoveWait = 0, SwapWait = 0, DepthWait = 0;
    float ResultSlideY = -168.0f; // this side's loss: the result image's screen y
    int32_t ResultHold = 0;
    CursorPulse pulse; // the cursor's colour pulse
};

struct VersusMode {
    VersusSide left, right;

    int32_t GameFlg = 0;     // 0 start reveal, 1 start hold, 2 play, 3 left lost, 4 right lost,
                             // 5 pause menu, 6 end menu
    int32_t PauseSelect = 0; // 0 resume, 1 restart, 2 mode select
    int32_t EndSelect = 1;   // 1 play again, 2 mode select
    platform::Vector3 MarkerPos[2];
    int32_t MenuSpin = 0;

    // Frame counters kept from one game to the next.
    int32_t PauseMenuWait = 0, EndMenuWait = 0, ZKeyWait = 0;
    int32_t StartReveal = 0, StartHold = 0;

    // Resources. Models are indexed by their file number (1..13).
    ModelRecord models[14];
    platform::TexturePtr cursor, background, wall, start, divider, pause, endScreen, result;
    platform::SpritePtr startSprite, dividerSprite, resultSprite;
    SoundVar music, defeat;
    SwapSound swapSound;
    SoundRecord vanish; // loaded on first use, kept for the run
};
extern VersusMode Versus;

int32_t VersusInit(); // -> 7
void VersusRelease();
void VersusReleaseRun(); // the vanish sound and the swap-sound pool, kept for the run
void VersusUpdate();
void VersusDraw();
int32_t VersusFrame(platform::PresentParameters params); // -> 7, 6 (again) or 2
void VersusDump(platform::JsonWriter& json);

// Three rows of kinds 1..5 on both boards, drawn in turn cell by cell (left, then right), then
// the lines of three broken up on the left board and then on the right.
void DealBoards(BlockGrid left, BlockGrid right);
