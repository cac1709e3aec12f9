// The rise and the defeat count of a rising board (endless and versus).
#pragma once

#include <cstdint>

#include "play/board.h"

// The rising part of a play frame, after the line matcher and gravity:
// 1. TopRowFree / TopWarn from row 11; the board is busy while some cell is vanishing.
// 2. Idle (row 11 free and not busy): cc += perFrame, then, if `fastKey` is held (queried
//    only when idle), cc += fastExtra; each sum is rounded to single precision.
// 3. NextRow dealt (rand() % 5 + 1, X outer, Z inner) when NextRowReady is 0.
// 4. cc >= 0.88: the cursor rides up a row (at most to 11), CursorPos refreshed,
//    NextRowReady 0, RiseRows pushes NextRow in and cc becomes 0.
// Returns busy. Endless: perFrame LvSum * 0.0005, A adds 0.01; versus 0.0005 and 0.001.
bool RiseStep(RisingBoard& b, double perFrame, int fastKey, double fastExtra);

// The defeat count, one call per play frame; true in the frame the player loses (EndCnt then
// restarts from 1). Row 11 occupied and not busy: at EndCnt >= 300 the player loses and EndCnt
// becomes 0; then EndCnt grows by one. Row 11 free: EndCnt 0, except that the endless rule
// keeps it while busy (it tests busy first); versus resets it whenever row 11 is free.
enum class DefeatRule { KeepWhileBusy, ResetWhenFree };
bool CountDefeat(RisingBoard& b, bool topRowFree, bool busy, DefeatRule rule);
