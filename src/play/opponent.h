// The computer opponent's eyes: which swaps of a board make lines, start chains or clear the
// top rows, and the cursor moves that reach a swap. Plain functions over a board; the versus
// mode turns the chosen moves into the side's keys (modes/versus/cpu.h).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "play/board.h"
#include "play/cursor.h"

// Strengths of the opponent; 0 is a person.
enum CpuLevel : int32_t { kCpuOff = 0, kCpuEasy = 1, kCpuNormal = 2, kCpuHard = 3 };
// "person", "easy", "normal", "hard" (any case) -> the level; -1 for anything else.
int32_t CpuLevelFromName(std::string_view name);
// The level's name as above ("person" for anything out of range).
std::string_view CpuLevelName(int32_t level);

// Who plays each versus side, kept for the run: the mode select chooses the right side,
// --cpu-vs-cpu both.
struct OpponentChoice {
    int32_t left = kCpuOff;
    int32_t right = kCpuOff;
};
extern OpponentChoice Opponents;

// The opponent's own generator (xorshift), so its choices never touch the game's rand().
struct CpuRandom {
    uint32_t state = 1;
    void Seed(uint32_t seed);
    uint32_t Next();
    int Below(int n); // 0 .. n - 1
};

// A swap as the cursor makes it: the cursor cell and its face (0: partner at X + 1, 1: at Z + 1).
struct CpuSwap {
    int x = 0, y = 0, z = 0, dir = 0;
    bool operator==(const CpuSwap&) const = default;
};

// What a swap leads to once the moved blocks have settled.
struct SwapOutlook {
    bool legal = false;   // the rules take it and it changes the board
    int lines = 0;        // lines it makes at once
    int cells = 0;        // cells in those lines
    int highest = -1;     // highest row of those cells
    bool covered = false; // blocks stand above the line: its vanishing keeps a chain open
    int cascade = 0;      // lines that fall into place after it has vanished
    int garbageFreed = 0; // garbage beside the line, turned into blocks
    int topFreed = 0;     // cells of row 11 emptied
};
// `cascade` is followed only when asked (it costs a settle per vanishing).
SwapOutlook LookAtSwap(const BlockGrid grid, const CpuSwap& swap, bool cascade);

// The grid after the swap with the moved blocks settled and the lines it makes marked
// (negative), as the board stands while they vanish.
void BoardAfterSwap(const BlockGrid grid, const CpuSwap& swap, BlockGrid out);

// Rows of the tallest column (0 .. 12).
int StackHeight(const BlockGrid grid);
// Frames in which a line made now still counts as a chain step: the longest vanishing left
// under a block (0 when nothing covered is vanishing).
int ChainWindow(const BlockGrid grid, const CellAnim pairs);

enum CursorMove { kMoveUp, kMoveDown, kMoveLeft, kMoveRight, kMoveDeeper, kMoveShallower };
constexpr int kCursorMoves = 6;
CursorState CursorOf(const PlayBoard& b);
CursorState TargetOf(const CpuSwap& swap);
// The cursor after one move, by the game's own cursor table.
CursorState AfterMove(const CursorState& from, CursorMove move);

// Moves still needed from every cursor state to one target, by breadth-first search over the
// cursor table.
class CursorPaths {
  public:
    explicit CursorPaths(const CursorState& target);
    int MovesFrom(const CursorState& from) const; // -1: unreachable
    // Whether `move` is the first of a shortest path from `from`.
    bool Leads(const CursorState& from, CursorMove move) const;

  private:
    int8_t dist_[2][kSlices][kRows][kDepth];
};

// How far the opponent looks and what it weighs.
struct CpuSight {
    bool chains = false;   // values cascades and the chain window
    bool followUp = false; // values a line whose vanishing leaves time for a second one
    int framesPerMove = 16;
};
struct CpuPlan {
    bool found = false;
    CpuSwap swap;
    int value = 0;
};
// The best swap for the board seen from the cursor, searched in steps so that the work can be
// spread over frames: Start, then Step until it returns true with the plan (found or not).
// `work` is the number of swaps looked at in one step (a follow-up counts as all of them).
class SwapSearch {
  public:
    void Start(const BlockGrid grid, const CellAnim pairs, const CursorState& from,
               const CpuSight& sight);
    bool Step(const BlockGrid grid, int work, CpuPlan& out);
    bool Running() const { return running_; }

  private:
    struct Scored {
        CpuSwap swap;
        int value;
        bool covered;
    };
    static constexpr int kFollowUps = 4;
    void Score(const BlockGrid grid, const CpuSwap& s);

    int8_t dist_[2 * kSlices * kRows * kDepth] = {};
    CpuSight sight_;
    bool danger_ = false, running_ = false;
    int topCount_ = 0, window_ = 0, next_ = 0, followed_ = 0;
    std::vector<Scored> scored_;
};
// The whole search at once.
CpuPlan ChooseSwap(const BlockGrid grid, const CellAnim pairs, const CursorState& cursor,
                   const CpuSight& sight);
// A blunder: any legal swap the cursor can reach.
CpuPlan RandomSwap(const BlockGrid grid, const CursorState& from, CpuRandom& rng);
