// The board shared by every play mode and the operations that change it: rising rows,
// gravity, swaps and the line matcher.
#pragma once

#include <cstdint>

#include "media/sound.h"

constexpr int kSlices = 6; // X
constexpr int kRows = 12;  // Y, row 0 at the bottom
constexpr int kDepth = 5;  // Z

// Cell values: 0 empty, 1..6 a block of that kind, 7 garbage, -1..-6 a block that belongs to a
// found line and is vanishing (marked). Every operation keeps "a cell is negative exactly when
// its pair's state is 1".
using BlockGrid = int32_t[kSlices][kRows][kDepth];
// Per cell {state (0 at rest, 1 marked), vanish counter}; a pair travels with its block when
// it falls or rises, but stays in place when the cell values are swapped.
using CellAnim = int32_t[kSlices][kRows][kDepth][2];
// The row the next rise pushes in at Y = 0, [X][Z].
using NextRow = int32_t[kSlices][kDepth];

constexpr int32_t kGarbage = 7;
constexpr int32_t kVanishFrames = 100; // the counter every block enters the board with

// Pushes every column up one row (row 11 is lost) and fills row 0 from `next`, with fresh
// pairs (0, 100). Returns the new rise offset, always 0.
float RiseRows(BlockGrid grid, const NextRow next, CellAnim pairs);

// One row of gravity: every non-zero cell over an empty one moves down by one, pair and all;
// a stack over a hole moves down together.
void FallStep(BlockGrid grid, CellAnim pairs);

// The swap sound. A fresh buffer per swap would pile up while earlier swaps are still
// sounding, so a few buffers are loaded once and taken in turn: each swap restarts the oldest
// from its beginning while the others play on.
struct SwapSound {
    static constexpr int kVoices = 4;
    SoundVar voices[kVoices];
    int32_t next = 0;
    int32_t loaded = 0;
};
void ReleaseSwapSound(SwapSound& sound);

// Exchanges cell (x, y, z) with its partner, (x + 1, y, z) for direction 0 or (x, y, z + 1)
// for direction 1; the pairs stay where they are. Refused when either cell is vanishing, both
// are empty, the direction is unknown or a cell lies outside the board. A swap that takes
// place decrements *swapCount (when given) and plays the swap sound.
void SwapCells(SwapSound& sound, int32_t* swapCount, BlockGrid grid, int x, int y, int z,
               int direction);

// The counters the line matcher reports through; each mode binds its own fields:
// `chainSteps` grows by one for every line scored while the chain goes on, `combo` is the
// chain factor (1 for a line that starts a chain), `score` gains 10, 20 or 30 times it per
// line, `chainFlag` is 1 while something is left to fall, `lastCombo` the factor after the
// pass and `maxCombo` the largest factor seen.
struct LineCounters {
    int32_t& chainSteps;
    int32_t& maxCombo;
    int32_t& lastCombo;
    int32_t& chainFlag;
    int32_t& combo;
    int32_t& score;
};

// One pass of the line matcher: finds every straight line of three to five equal blocks,
// scores and marks it, plays the vanish sound, turns garbage beside vanishing cells into
// blocks, counts the vanishing cells down and empties those whose time is up, then works out
// whether anything is left to fall (`chainFlag`), which makes the next line continue a chain.
void MatchLines(BlockGrid grid, CellAnim pairs, SoundRecord& vanish, const LineCounters& c);
