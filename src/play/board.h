// The player's board of every play mode: grid, pairs and cursor, and the rising board of the
// endless and versus modes on top of it, with the steps the modes share.
#pragma once

#include <cstdint>

#include "platform/types.h"
#include "puzzle/board.h"

// One player's board and cursor. An aggregate: a mode's state derives from it, so its fields
// read as the mode's own (`Endless.BlockX`, `Endless.grid`) and `Mode = ModeState{}` resets all.
struct PlayBoard {
    BlockGrid grid = {};
    CellAnim pairs = {};
    platform::Vector3 CellPos[kSlices][kRows][kDepth]; // (X, Y, Z) of every cell
    platform::Vector3 CursorPos;                       // CellPos of the cursor cell
    int32_t BlockX = 0, BlockY = 0, BlockZ = 0;        // the cursor cell
    int32_t CursorFlg = 0;     // 0 front face (partner at X + 1), 1 right face (partner at Z + 1)
    int32_t LeftClearFlg = -1; // cells with Z <= it are cut away
    int32_t RightClearFlg = 6; // cells with X >= it are cut away
    int32_t ModifierLatch = 0; // 1 while the depth modifier is held this frame
};

// A board that rises from below: the coming row, the rise offset and the defeat count.
struct RisingBoard : PlayBoard {
    ::NextRow NextRow = {};
    int32_t NextRowReady = 0; // 0: NextRow is to be dealt afresh
    float cc = 0.0f;          // rise offset in rows, 0 .. 0.88
    int32_t TopRowFree = 1;   // row 11 empty in the last rule step
    int32_t TopWarn = 0;      // 1 - TopRowFree
    int32_t EndCnt = 0;       // counted frames with row 11 occupied
};

// A cell is cut away when it lies in front of the cursor's slice.
inline bool CutAwayZ(const PlayBoard& b, int z) {
    return z <= b.LeftClearFlg;
}
inline bool CutAwayX(const PlayBoard& b, int x) {
    return x >= b.RightClearFlg;
}

// Sets CellPos to (X, Y, Z) for every cell.
void FillCellPositions(PlayBoard& b);
// The cursor at cell (0, 0, 0) of the front face, nothing cut away, CursorPos refreshed.
void ResetCursor(PlayBoard& b);
// Every pair at rest with the full vanish counter (0, 100).
void ResetPairs(PlayBoard& b);
// CursorPos = CellPos of the cursor cell.
void RefreshCursorPos(PlayBoard& b);

bool TopRowEmpty(const BlockGrid grid);  // row 11 empty in every slice
bool AnyVanishing(const CellAnim pairs); // some pair has state 1

// The puzzle core's part of a play frame: MatchLines (with the mode's counters and vanish
// sound) and FallStep, in the mode's order: endless and versus match first, challenge lets
// blocks fall first (a block that lands on a line then vanishes in the same frame).
enum class SettleOrder { MatchThenFall, FallThenMatch };
void SettleBoard(PlayBoard& b, SoundRecord& vanish, const LineCounters& counters,
                 SettleOrder order);

// Fresh boards: rows 0..2 of random kinds (rand() % 5 + 1, X outer, Y, Z inner), the rest
// empty; then one forward pass (X, Y, Z) that redraws a cell while it starts a line of three
// along X, then Y, then Z with the next two cells. Versus deals both boards before breaking
// either up, so the two steps are separate; DealBoard does both for one board.
void FillStartRows(BlockGrid grid);
void BreakUpLines(BlockGrid grid);
void DealBoard(BlockGrid grid);
