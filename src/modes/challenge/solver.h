// The challenge solver: a search over swap sequences, played on the real puzzle core, for a
// sequence that empties a level's board in exactly its swaps with exactly a given longest
// chain; and the cursor's way there, timed as the mode paces its keys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "play/cursor.h"
#include "puzzle/board.h"

// The keys of play that steer the cursor; the depth moves are Up and Down with Shift held.
enum class CursorKey { Up, Down, Left, Right, ShiftUp, ShiftDown };

// One cursor action as play applies it; false when the key is refused (it then does not count
// as a move). A depth move at its limit counts as a move but stays where it is.
bool MoveCursorCell(CursorState& cell, CursorKey key);

// The shortest key sequence from one cursor cell to another.
std::vector<CursorKey> CursorPath(const CursorState& from, const CursorState& to);

struct PlannedSwap {
    CursorState at; // the cursor cell; the partner is X + 1 (face 0) or Z + 1 (face 1)
    int64_t update; // the play update in which X swaps, 0 = the first update of play
};

// One key press of a plan: held during exactly the one play update given.
struct PlannedKey {
    int64_t update;
    enum Kind { Up, Down, Left, Right, ShiftUp, ShiftDown, Swap } kind;
};

struct Solution {
    bool found = false;
    bool duringFalls = false; // some swap is made while blocks fall or vanish
    bool primed = false;      // needs the move and swap waits full when play begins
    int32_t chain = 0;        // the MaxCombo the sequence reaches
    std::vector<PlannedSwap> swaps;
    std::vector<PlannedKey> keys; // the cursor moves and swaps, in order
    int64_t clearedAt = 0;        // the update in which the board has come to rest, empty
    uint64_t states = 0;          // board states examined
    std::string searched;         // what was searched, in words
};

struct SolveLimits {
    uint64_t states = 1'500'000; // boards examined before the search gives up
    // How swaps while blocks fall or vanish are timed within a stretch of updates in which the
    // cells stay the same: 0 at the first update the cursor allows, 1 also at the last, 2 at
    // every update where that can make a difference. The passes run from one to the other.
    int32_t fromTiming = 0, toTiming = 1;
    // Swaps to spend (-1: the level's own): to measure how far a level is from a clearing.
    int32_t swaps = -1;
    // Threads to search with (0: one per processor). The plan found is the same with any
    // number; only the boards examined differ, as threads may look at the same board.
    int32_t threads = 0;
};

// A sequence of exactly the level's swaps that clears level 1..15 with `chain` as its longest
// chain (-1: the level's own demanded chain). Swaps at rest are tried first; only when they
// cannot do it are swaps while blocks fall or vanish searched as well. The plan holds for the
// first play of a run, when the move and swap waits start from 0 (a later play only finds
// them higher); a level that cannot be cleared so is searched again with the waits full at
// the first update of play (`primed`: any earlier play of 16 updates in the run does that).
Solution SolveLevel(int level, int32_t chain = -1, const SolveLimits& limits = {});

// The cursor moves and swaps of a plan's swaps: each move as soon as the cursor may, by the
// shortest way, staying put for the last swap's update.
std::vector<PlannedKey> PlanKeys(const std::vector<PlannedSwap>& swaps, bool primed);

// Plays a plan on the real puzzle core from the level's first play update: true when the
// board ends empty and at rest with `chain` as its longest chain and all swaps spent.
// `restAt` receives the update after which the board rests; `swaps` (-1: the level's own)
// is the budget the plan spends.
bool CheckPlan(int level, int32_t chain, const std::vector<PlannedKey>& keys, bool primed,
               int64_t* restAt = nullptr, int32_t swaps = -1);

// The search's quick looks at a swap (the cursor cell and its partner), before any update:
// true when, on a board at rest, it makes no line and starts no fall, so that its update only
// exchanges the two cells;
bool SwapIsQuietAtRest(const BlockGrid grid, const CursorState& at);
// true when, in an update that leaves the cells as they are, it only exchanges its two cells
// (it starts or stops no fall and puts no block in a line);
bool SwapIsStillInMotion(const BlockGrid grid, const CursorState& at);
// false only when, on any board, its update can neither make a line through a moved block
// nor start or stop a fall.
bool SwapMayMatter(const BlockGrid grid, const CursorState& at);

// The longest chain a board can still reach, from its running chain and its longest so far:
// the search drops boards that cannot reach the demanded chain.
int32_t ChainWithinReach(const BlockGrid grid, int32_t combo, int32_t maxCombo);

// false only when its update can mark no cell that the same update without it leaves
// unmarked, and, with `floating`, leaves no block of its two columns over a hole.
bool SwapMayAddLine(const BlockGrid grid, const CursorState& at, bool floating);

// The plan as lines of a key script ("FROM TO KEY [KEY...]"), play update 0 falling on frame
// `firstPlayFrame`.
std::string PlanKeyScript(const std::vector<PlannedKey>& keys, int64_t firstPlayFrame);
