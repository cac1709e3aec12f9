// The challenge solver: depth-first search over swaps on the real puzzle core, boards seen
// before skipped, hopeless boards pruned; then the cursor's way to every swap, timed.
#include "modes/challenge/solver.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <queue>
#include <sstream>
#include <thread>
#include <unordered_map>

#include "modes/challenge/levels.h"
#include "play/cursor.h"
#include "puzzle/board.h"

namespace {

// Play paces its keys: a cursor move when more than 15 updates have passed since the last
// one, a swap when 15 or more have passed since the last one.
constexpr int64_t kMoveGap = 16;
constexpr int64_t kSwapGap = 15;
// Longer than any level needs to come to rest (a chain of nine is about 1,000 updates).
constexpr int64_t kSettleCap = 4000;

// ---- cursor ---------------------------------------------------------------------------

// Every cell the cursor can reach from one, breadth first: the fewest moves to each and the
// last key on the way.
struct CursorTree {
    std::vector<int16_t> dist;
    std::vector<int> parent;
    std::vector<CursorKey> via;
};
CursorTree Reach(const CursorState& from);

constexpr CursorKey kCursorKeys[] = {CursorKey::Up,    CursorKey::Down,    CursorKey::Left,
                                     CursorKey::Right, CursorKey::ShiftUp, CursorKey::ShiftDown};

CursorTree Reach(const CursorState& from) {
    CursorTree t{std::vector<int16_t>(kCursorStates, -1), std::vector<int>(kCursorStates, -1),
                 std::vector<CursorKey>(kCursorStates)};
    std::queue<int> q;
    t.dist[CursorIndex(from)] = 0;
    q.push(CursorIndex(from));
    while (!q.empty()) {
        const int i = q.front();
        q.pop();
        for (CursorKey k : kCursorKeys) {
            CursorState c = CursorOfIndex(i);
            if (!MoveCursorCell(c, k)) continue;
            const int j = CursorIndex(c);
            if (t.dist[j] >= 0) continue;
            t.dist[j] = int16_t(t.dist[i] + 1);
            t.parent[j] = i;
            t.via[j] = k;
            q.push(j);
        }
    }
    return t;
}

// ---- the board in play ------------------------------------------------------------------

struct Play {
    BlockGrid grid;
    CellAnim pairs;
    int32_t chainFlag = 0, combo = 0, maxCombo = 0, lastCombo = 0;
};

// The solver's copies of the mode's sounds: marked loaded and left empty, so the puzzle core
// neither loads nor plays anything.
struct QuietSounds {
    SwapSound swap;
    SoundRecord vanish;
    QuietSounds() {
        swap.loaded = 1;
        vanish.loaded = 1;
    }
};
QuietSounds& Sounds() {
    // One set per thread: a swap still takes a voice of the pool in turn.
    thread_local QuietSounds sounds;
    return sounds;
}

struct Swap {
    int8_t x, y, z, dir;
};

Play PlacedLevel(int level) {
    Play p;
    std::memset(p.grid, 0, sizeof p.grid);
    for (auto& slice : p.pairs)
        for (auto& row : slice)
            for (auto& pair : row) pair[0] = 0, pair[1] = kVanishFrames;
    const ChallengeLevel& lv = kChallengeLevels[level - 1];
    for (int i = 0; i < lv.count; ++i) {
        const LevelBlock& b = lv.blocks[i];
        p.grid[b.x][b.y][b.z] = b.kind;
    }
    return p;
}

// One update of play after the cursor: the swap when there is one, gravity, then the lines.
// Returns whether the swap took place.
bool Update(Play& p, const Swap* swap, int32_t* swapsLeft = nullptr) {
    int32_t count = swapsLeft ? *swapsLeft : 1;
    const int32_t before = count;
    if (swap) SwapCells(Sounds().swap, &count, p.grid, swap->x, swap->y, swap->z, swap->dir);
    if (swapsLeft) *swapsLeft = count;
    FallStep(p.grid, p.pairs);
    int32_t steps = 0, score = 0;
    MatchLines(p.grid, p.pairs, Sounds().vanish,
               {steps, p.maxCombo, p.lastCombo, p.chainFlag, p.combo, score});
    return count != before;
}

bool AtRest(const Play& p) {
    if (p.chainFlag != 0) return false;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if (p.pairs[x][y][z][0] == 1) return false;
    return true;
}

bool Empty(const BlockGrid g) {
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if (g[x][y][z] != 0) return false;
    return true;
}

// One update without a swap, and then, when it left every cell as it was, the updates that
// follow up to the next vanishing: on a board where nothing falls and no line is new, an
// update only counts the vanishing cells down, so those are counted down at once. Returns the
// updates done.
int64_t Advance(Play& p) {
    BlockGrid before;
    std::memcpy(before, p.grid, sizeof before);
    Update(p, nullptr);
    if (std::memcmp(before, p.grid, sizeof before) != 0) return 1;
    int32_t least = INT32_MAX;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if (p.pairs[x][y][z][0] == 1) least = std::min(least, p.pairs[x][y][z][1]);
    if (least == INT32_MAX || least < 0) return 1;
    // Each of the next least + 1 updates decrements every counter and empties nothing.
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if (p.pairs[x][y][z][0] == 1) p.pairs[x][y][z][1] -= least + 1;
    return 1 + least + 1;
}

// Runs updates without a swap until the board rests, at least one (a board just placed has
// not been looked at yet); the updates run.
int64_t Settle(Play& p) {
    int64_t n = 0;
    do n += Advance(p);
    while (!AtRest(p) && n < kSettleCap);
    return n;
}

// What the pruning looks at, found in one pass over the board: per kind the blocks at rest
// (with where the first nine lie, in the board's order) and the blocks vanishing.
struct Census {
    static constexpr int kKept = 9;
    int resting[8] = {}, vanishing[8] = {};
    int at[8][kKept][3];
    bool empty = true;
    explicit Census(const BlockGrid g) {
        for (int x = 0; x < kSlices; ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < kDepth; ++z) {
                    const int32_t v = g[x][y][z];
                    if (v == 0) continue;
                    empty = false;
                    if (v < 0) {
                        ++vanishing[-v];
                        continue;
                    }
                    if (resting[v] < kKept)
                        at[v][resting[v]][0] = x, at[v][resting[v]][1] = y,
                        at[v][resting[v]][2] = z;
                    ++resting[v];
                }
    }
};

// No block is ever added in this mode, so a kind with one or two blocks left, none of them
// vanishing, can never be emptied.
bool Hopeless(const Census& c) {
    for (int k = 1; k < 8; ++k)
        if ((c.resting[k] == 1 || c.resting[k] == 2) && c.vanishing[k] == 0) return true;
    return false;
}

// Cells three blocks must travel across the board before they can make a line: every swap
// moves a block by one cell along X or Z, and falling is free. The fewest over the three
// directions of the line.
int32_t AlignMoves(const int (*at)[3], int i, int j, int k) {
    // The travel along one axis to a single value, and to a row of three: x, x + 1, x + 2.
    auto spread = [&](int axis, int& together, int& inRow) {
        const int a = at[i][axis], b = at[j][axis], c = at[k][axis];
        const int lo = std::min({a, b, c}), hi = std::max({a, b, c});
        const int mid = a + b + c - lo - hi;
        together = hi - lo;
        const int s0 = lo, s1 = mid - 1, s2 = hi - 2;
        inRow = std::max({s0, s1, s2}) - std::min({s0, s1, s2});
    };
    int x, rowX, z, rowZ;
    spread(0, x, rowX);
    spread(2, z, rowZ);
    return std::min({x + z, rowX + z, x + rowZ}); // along Y, X, Z
}

// The travel before a kind with no block vanishing makes its first line: some three of its
// blocks have to come together. (A kind of more blocks than are kept counts as 0.)
int32_t FirstLineMoves(const Census& c, int kind) {
    const int n = c.resting[kind];
    if (c.vanishing[kind] != 0 || n < 3 || n > Census::kKept) return 0;
    int32_t least = INT32_MAX;
    for (int i = 0; i < n && least > 0; ++i)
        for (int j = i + 1; j < n && least > 0; ++j)
            for (int k = j + 1; k < n && least > 0; ++k)
                least = std::min(least, AlignMoves(c.at[kind], i, j, k));
    return least;
}

// Whether the swaps left can bring every kind together for its first line: a swap moves at
// most two blocks, and at most one of a kind (two equal blocks exchanged stay as they were).
bool OutOfReach(const Census& c, int32_t swapsLeft) {
    int32_t moves = 0;
    // Kinds of three first: one way to try each, and often enough to tell.
    for (int pass = 0; pass < 2; ++pass)
        for (int k = 1; k < kGarbage; ++k) {
            if ((c.resting[k] == 3) != (pass == 0)) continue;
            const int32_t m = FirstLineMoves(c, k);
            moves += m;
            if (m > swapsLeft || moves > 2 * swapsLeft) return true;
        }
    return false;
}

bool Allowed(const BlockGrid g, const Swap& s) {
    const int32_t a = g[s.x][s.y][s.z];
    const int32_t b = s.dir == 0 ? g[s.x + 1][s.y][s.z] : g[s.x][s.y][s.z + 1];
    return a >= 0 && b >= 0 && (a != 0 || b != 0);
}

// Every swap the board allows. Swaps of two equal blocks all leave the board as it is: only
// the first is kept, to spend a swap on nothing, and only when `idle` asks for one.
std::vector<Swap> Candidates(const BlockGrid g, bool idle) {
    // Rows over the highest block hold only empty cells, which are never swapped together.
    int height = kRows;
    auto rowEmpty = [&](int y) {
        for (int x = 0; x < kSlices; ++x)
            for (int z = 0; z < kDepth; ++z)
                if (g[x][y][z] != 0) return false;
        return true;
    };
    while (height > 0 && rowEmpty(height - 1)) --height;
    std::vector<Swap> out;
    out.reserve(64);
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < height; ++y)
            for (int z = 0; z < kDepth; ++z)
                for (int dir = 0; dir < 2; ++dir) {
                    if ((dir == 0 && x == kSlices - 1) || (dir == 1 && z == kDepth - 1)) continue;
                    Swap s{int8_t(x), int8_t(y), int8_t(z), int8_t(dir)};
                    if (!Allowed(g, s)) continue;
                    const int32_t b = dir == 0 ? g[x + 1][y][z] : g[x][y][z + 1];
                    if (g[x][y][z] == b) {
                        if (!idle) continue;
                        idle = false;
                    }
                    out.push_back(s);
                }
    return out;
}

CursorState CellOf(const Swap& s) {
    return {s.dir, s.x, s.y, s.z};
}

// ---- state keys -------------------------------------------------------------------------

uint64_t Mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h * 0xBF58476D1CE4E5B9ull;
}

uint64_t PlayKey(const Play& p, bool withTimers) {
    uint64_t h = 0x243F6A8885A308D3ull;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                const int32_t v = p.grid[x][y][z];
                const int32_t* pair = p.pairs[x][y][z];
                if (v == 0 && pair[1] == kVanishFrames) continue;
                uint64_t cell = uint64_t((x * kRows + y) * kDepth + z) << 32;
                cell |= uint64_t(uint8_t(v)) << 24;
                cell |= uint64_t(uint16_t(pair[1])) << 8 | uint64_t(pair[0]);
                h = Mix(h, cell);
            }
    h = Mix(h, uint64_t(p.maxCombo));
    if (withTimers) h = Mix(h, uint64_t(p.chainFlag) << 32 | uint32_t(p.combo));
    return h;
}

// ---- timing of a plan -------------------------------------------------------------------

// When the cursor may move and X may swap, and where the cursor stands.
struct Pace {
    CursorState cursor;
    int64_t nextMove = kMoveGap; // a run's first move acts at update 16,
    int64_t nextSwap = kSwapGap; // its first swap at update 15
    int64_t lastSwap = -1;

    static Pace Start(bool primed) {
        Pace p;
        if (primed) p.nextMove = p.nextSwap = 0;
        return p;
    }
    // The first update at which the cursor can stand on a cell `moves` steps away, having
    // stayed for the last swap.
    int64_t Arrival(int moves) const {
        if (moves == 0) return lastSwap + 1;
        return std::max(nextMove, lastSwap + 1) + kMoveGap * (moves - 1);
    }
    int64_t Earliest(int moves) const { return std::max(nextSwap, Arrival(moves)); }

    // Walks the `moves` steps to `to` and swaps there at update `at` (not earlier than
    // Earliest); appends the keys when asked.
    void SwapAt(const CursorState& to, int moves, int64_t at,
                std::vector<PlannedKey>* keys = nullptr) {
        const int64_t first = std::max(nextMove, lastSwap + 1);
        if (keys) {
            int64_t u = first;
            for (CursorKey k : CursorPath(cursor, to)) {
                keys->push_back({u, PlannedKey::Kind(int(k))});
                u += kMoveGap;
            }
            keys->push_back({at, PlannedKey::Swap});
        }
        if (moves > 0) nextMove = first + kMoveGap * moves;
        cursor = to;
        lastSwap = at;
        nextSwap = at + kSwapGap;
    }
};

int Marked(const Play& p) {
    int n = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) n += p.grid[x][y][z] < 0;
    return n;
}

// ---- cheap looks at a swap ------------------------------------------------------------

// The two cells of a swap and what each holds once it is made.
struct SwapCellsOf {
    int x[2], z[2], y;
    int32_t now[2];
    SwapCellsOf(const BlockGrid g, const Swap& s) {
        x[0] = s.x, z[0] = s.z, y = s.y;
        x[1] = s.dir == 0 ? s.x + 1 : s.x;
        z[1] = s.dir == 1 ? s.z + 1 : s.z;
        now[0] = g[x[1]][y][z[1]];
        now[1] = g[x[0]][y][z[0]];
    }
    int32_t At(const BlockGrid g, int cx, int cy, int cz) const {
        for (int i = 0; i < 2; ++i)
            if (cx == x[i] && cy == y && cz == z[i]) return now[i];
        return g[cx][cy][cz];
    }
    // A block set over an empty cell falls; a cell that turns from empty to a block or back
    // under other blocks stops or starts their fall, and with it the support of their lines.
    bool ChangesColumn(const BlockGrid g) const {
        for (int i = 0; i < 2; ++i) {
            if ((now[i] == 0) == (now[1 - i] == 0)) continue;
            if (now[i] != 0 && y > 0 && g[x[i]][y - 1][z[i]] == 0) return true;
            for (int above = y + 1; above < kRows; ++above)
                if (g[x[i]][above][z[i]] != 0) return true;
        }
        return false;
    }
};

// Whether the swapped-in value at cell i has two more of its kind beside it in a straight
// run of three, counting cells one row up or down as well (the update's fall can move any of
// them by a row before the lines are looked for). Never false for a swap that makes a line in
// its own update.
bool MayLine(const BlockGrid g, const SwapCellsOf& c, int i) {
    const int32_t kind = c.now[i];
    if (kind <= 0) return false;
    const int cx = c.x[i], cy = c.y, cz = c.z[i];
    auto same = [&](int x, int y, int z) {
        if (x < 0 || x >= kSlices || y < 0 || y >= kRows || z < 0 || z >= kDepth) return false;
        return std::abs(c.At(g, x, y, z)) == kind;
    };
    auto nearRow = [&](int x, int z) {
        return same(x, cy - 1, z) || same(x, cy, z) || same(x, cy + 1, z);
    };
    for (int axis = 0; axis < 2; ++axis) {
        bool at[5];
        for (int d = -2; d <= 2; ++d)
            at[d + 2] = d != 0 && (axis == 0 ? nearRow(cx + d, cz) : nearRow(cx, cz + d));
        if ((at[0] && at[1]) || (at[1] && at[3]) || (at[3] && at[4])) return true;
    }
    int column = 0;
    for (int d = -3; d <= 3; ++d) column += d != 0 && same(cx, cy + d, cz);
    return column >= 2;
}

// Whether the swapped-in block at cell i stands in a line once the swap is made, on a board
// where the swap starts or stops no fall: a straight run of three of its kind (marked or not)
// through it, along X or Z only over solid ground.
bool LineThrough(const BlockGrid g, const SwapCellsOf& c, int i) {
    const int32_t kind = c.now[i];
    if (kind <= 0 || kind == kGarbage) return false;
    const int cx = c.x[i], cy = c.y, cz = c.z[i];
    auto solid = [&](int x, int z) {
        for (int y = 0; y < cy; ++y)
            if (g[x][y][z] == 0) return false;
        return true;
    };
    auto holds = [&](int x, int y, int z, bool needsGround) {
        if (x < 0 || x >= kSlices || y < 0 || y >= kRows || z < 0 || z >= kDepth) return false;
        return std::abs(c.At(g, x, y, z)) == kind && (!needsGround || solid(x, z));
    };
    constexpr int kAxes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (const auto& a : kAxes) {
        const bool ground = a[1] == 0;
        if (ground && !solid(cx, cz)) continue;
        int run = 1;
        for (int dir = -1; dir <= 1; dir += 2)
            for (int k = 1; k < 3 && holds(cx + dir * k * a[0], cy + dir * k * a[1],
                                           cz + dir * k * a[2], ground);
                 ++k)
                ++run;
        if (run >= 3) return true;
    }
    return false;
}

// A swap that starts or stops no fall and puts no block in a line: in an update that would
// leave the cells as they are, it only exchanges its two cells.
bool Still(const BlockGrid g, const Swap& s) {
    const SwapCellsOf c(g, s);
    return !c.ChangesColumn(g) && !LineThrough(g, c, 0) && !LineThrough(g, c, 1);
}

bool Matters(const BlockGrid g, const Swap& s) {
    const SwapCellsOf cells(g, s);
    return cells.ChangesColumn(g) || MayLine(g, cells, 0) || MayLine(g, cells, 1);
}

// What a swap's update can do that the same update without it does not. Gravity works column
// by column, so after it the two columns of the swap's cells are the only ones that differ,
// and a line the swap adds runs through one of them. `fallen` is the board after the update's
// gravity without the swap. True when some straight run of three runs through a cell of those
// columns (lines along X and Z over solid ground only), or, with `floating`, when a block of
// them is left over a hole. False means the swap's update marks no cell that the update without
// it leaves unmarked, and (with `floating`) leaves nothing to fall in the two columns.
bool MayMark(const BlockGrid now, const BlockGrid fallen, const Swap& s, bool floating) {
    const SwapCellsOf c(now, s);
    int32_t col[2][kRows];
    for (int i = 0; i < 2; ++i) {
        for (int y = 0; y < kRows; ++y) col[i][y] = now[c.x[i]][y][c.z[i]];
        col[i][c.y] = c.now[i];
        for (int y = 1; y < kRows; ++y) // one row of gravity, as FallStep
            if (col[i][y - 1] == 0 && col[i][y] != 0) col[i][y - 1] = col[i][y], col[i][y] = 0;
    }
    auto at = [&](int x, int y, int z) {
        for (int i = 0; i < 2; ++i)
            if (x == c.x[i] && z == c.z[i]) return col[i][y];
        return fallen[x][y][z];
    };
    // Per column, its lowest empty row once found: a cell stands on solid ground exactly
    // when it lies no higher.
    int8_t ground[kSlices][kDepth];
    std::memset(ground, -1, sizeof ground);
    auto solid = [&](int x, int y, int z) {
        int8_t& g = ground[x][z];
        if (g < 0) {
            g = 0;
            while (g < kRows && at(x, g, z) != 0) ++g;
        }
        return y <= g;
    };
    constexpr int kAxes[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
    for (int i = 0; i < 2; ++i) {
        const int cx = c.x[i], cz = c.z[i];
        bool hole = false;
        for (int y = 0; y < kRows; ++y) {
            const int32_t v = col[i][y];
            if (v <= 0) hole = true;
            if (v == 0) continue;
            if (floating && hole && v > 0) return true;
            if (v == kGarbage) continue;
            const int32_t kind = std::abs(v);
            for (const auto& a : kAxes) {
                const bool ground = a[1] == 0;
                if (ground && !solid(cx, y, cz)) continue;
                int run = 1;
                for (int dir = -1; dir <= 1; dir += 2)
                    for (int k = 1; k < 3; ++k) {
                        const int x = cx + dir * k * a[0], yy = y + dir * k * a[1],
                                  z = cz + dir * k * a[2];
                        if (x < 0 || x >= kSlices || yy < 0 || yy >= kRows || z < 0 || z >= kDepth)
                            break;
                        if (std::abs(at(x, yy, z)) != kind || (ground && !solid(x, yy, z))) break;
                        ++run;
                    }
                if (run >= 3) return true;
            }
        }
    }
    return false;
}

// A swap on a board at rest that makes no line and starts no fall changes the two cells and
// nothing else: its update finds no line, counts nothing down and leaves the chain flag at 0.
bool QuietAtRest(const BlockGrid g, const Swap& s) {
    const SwapCellsOf c(g, s);
    if (c.now[0] == c.now[1]) return true;
    if (c.ChangesColumn(g)) return false;
    // At rest every block stands on solid ground, so a run of three is a line.
    for (int i = 0; i < 2; ++i) {
        const int32_t kind = c.now[i];
        if (kind <= 0) continue;
        const int steps[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
        for (const auto& st : steps) {
            int run = 1;
            for (int dir = -1; dir <= 1; dir += 2)
                for (int k = 1; k < 3; ++k) {
                    const int x = c.x[i] + dir * k * st[0], y = c.y + dir * k * st[1],
                              z = c.z[i] + dir * k * st[2];
                    if (x < 0 || x >= kSlices || y < 0 || y >= kRows || z < 0 || z >= kDepth ||
                        c.At(g, x, y, z) != kind)
                        break;
                    ++run;
                }
            if (run >= 3) return false;
        }
    }
    return true;
}

// The state `k` updates on in a stretch where the cells stay as they are: such an update only
// counts the vanishing cells down.
void CountDownBy(Play& p, int64_t k) {
    if (k <= 0) return;
    for (auto& slice : p.pairs)
        for (auto& row : slice)
            for (auto& pair : row)
                if (pair[0] == 1) pair[1] -= int32_t(k);
}

// The longest chain still within reach: every line scores with its own test cell, a block at
// rest, which it marks, so a kind of n blocks at rest makes at most n more lines, and n - 2
// while none of its blocks is vanishing (the first line then needs three at rest; a line
// through vanishing blocks of the kind scores with a single fresh one).
int32_t ChainReach(const Census& c, int32_t combo, int32_t maxCombo) {
    int32_t lines = 0;
    for (int k = 1; k < 8; ++k)
        lines += std::max(0, c.resting[k] - std::max(0, 2 - c.vanishing[k]));
    return std::max(maxCombo, combo + lines);
}

// Whether the level's board as placed is at rest and stays so: nothing to fall, no line.
bool StartsAtRest(const Play& placed) {
    Play p = placed;
    Update(p, nullptr);
    return AtRest(p) && p.maxCombo == 0 && std::memcmp(p.grid, placed.grid, sizeof p.grid) == 0;
}

// ---- the search -------------------------------------------------------------------------

// Depth-first over swap sequences, deepened by the number of quiet swaps allowed (swaps that
// leave the board at rest, or that made while blocks fall start nothing themselves), so
// sequences that keep the board busy are tried first.
class Search {
  public:
    Search(int level, int32_t target, int32_t swaps)
        : level_(level), target_(target), swaps_(swaps) {
        BuildDistances();
    }

    // Swaps on a board at rest only (`duringFalls` false), or also while blocks fall or
    // vanish: in every stretch of updates in which the cells stay the same, at the first
    // update the cursor and the swap wait allow (`timing` 0), also at the last one (1), or at
    // every one (2) where that can make a difference; at most `quiet` of them quiet. False
    // when nothing was found; Exhausted then says whether the budget ran out first.
    bool Run(bool duringFalls, int32_t timing, bool primed, int32_t quiet, uint64_t& budget,
             std::vector<PlannedSwap>& out) {
        duringFalls_ = duringFalls;
        timing_ = timing;
        limit_ = states_ + budget;
        exhausted_ = false;
        first_ = SIZE_MAX;
        // A board that failed with as many quiet swaps allowed fails again when more are
        // allowed elsewhere: what was learnt holds across the deepening, not across ways of
        // timing the swaps.
        if (timing != lastTiming_ || primed != lastPrimed_) {
            for (Memo& memo : tried_) memo.Clear();
            lastTiming_ = timing, lastPrimed_ = primed;
        }
        Node n;
        n.play = PlacedLevel(level_);
        n.swapsLeft = swaps_;
        n.quietLeft = quiet;
        n.pace = Pace::Start(primed);
        idleAnywhere_ = !StartsAtRest(n.play);
        bool found = false;
        // The search at rest starts from the board as it settles.
        if (!duringFalls_) n.t = Settle(n.play);
        if (duringFalls_ || AtRest(n.play)) found = threads_ > 1 ? Split(n, out) : Alone(n, out);
        const uint64_t states = states_;
        budget = limit_ > states ? limit_ - states : 0;
        return found;
    }
    bool Exhausted() const { return exhausted_; }
    uint64_t States() const { return states_; }
    void Threads(int32_t n) { threads_ = std::max(1, n); }

  private:
    struct Node {
        Play play; // before update t; at rest when only swaps at rest are searched
        int64_t t = 0;
        int32_t swapsLeft = 0, quietLeft = 0;
        Pace pace;
        // Only swaps that change nothing have been made, on the board at rest as placed.
        bool opening = true;
    };
    struct Stretch {
        int64_t from;
        Play play; // before update `from`
    };
    // A child's board before update `next`: boards[board], or, for a quiet swap at rest
    // (board -1), `base` with the two cells exchanged, made only when it is searched.
    struct Child {
        int32_t board;
        const Play* base;
        int64_t next;
        Swap swap;
        int64_t at;
        bool busy;          // the swap set lines or falls going
        bool quiet;         // counts against the quiet swaps allowed
        bool chain = false; // it makes a line that carries a chain on
        bool idle = false;  // it exchanges two equal blocks
    };

    void BuildDistances() {
        dist_.resize(kCursorStates);
        for (int s = 0; s < kCursorStates; ++s)
            if (ValidCursor(CursorOfIndex(s))) dist_[s] = Reach(CursorOfIndex(s)).dist;
    }
    int Distance(const CursorState& a, const CursorState& b) const {
        return dist_[CursorIndex(a)][CursorIndex(b)];
    }

    uint64_t NodeKey(const Node& n) const {
        uint64_t h = Mix(PlayKey(n.play, true), uint64_t(n.swapsLeft) << 1 | n.opening);
        if (!duringFalls_) return h; // at rest, when a swap is made changes nothing
        h = Mix(h, uint64_t(CursorIndex(n.pace.cursor)));
        h = Mix(h, uint64_t(std::clamp<int64_t>(n.pace.nextMove - n.t, -1, kMoveGap)));
        h = Mix(h, uint64_t(std::clamp<int64_t>(n.pace.nextSwap - n.t, -1, kSwapGap)));
        h = Mix(h, uint64_t(std::clamp<int64_t>(n.t - n.pace.lastSwap, 0, kMoveGap)));
        return h;
    }

    // The stretches from the node until the board rests; empty when it never does.
    bool Stretches(const Node& n, std::vector<Stretch>& out) const {
        out.assign(1, {n.t, n.play});
        Play p = n.play;
        int64_t t = n.t;
        do {
            BlockGrid before;
            std::memcpy(before, p.grid, sizeof before);
            t += Advance(p);
            if (std::memcmp(before, p.grid, sizeof before) != 0) out.push_back({t, p});
        } while (!AtRest(p) && t - n.t < kSettleCap);
        if (!AtRest(p)) return false;
        if (out.back().from != t) out.push_back({t, p});
        return true;
    }

    // The children of a board at rest: a quiet swap only exchanges its two cells; any other
    // is played on until the board rests again.
    struct Family {
        std::vector<Child> children;
        std::vector<Play> boards;
    };
    static Play BoardOf(const Child& c, const Family& f) {
        if (c.board >= 0) return f.boards[c.board];
        Play p = *c.base;
        int32_t left = 1;
        SwapCells(Sounds().swap, &left, p.grid, c.swap.x, c.swap.y, c.swap.z, c.swap.dir);
        return p;
    }

    void ChildrenAtRest(const Node& n, const Play& rest, int64_t from, Family& f) const {
        Play p;
        for (const Swap& s : Candidates(rest.grid, n.opening || idleAnywhere_)) {
            const int64_t at = std::max(from, n.pace.Earliest(Distance(n.pace.cursor, CellOf(s))));
            Child c{-1, &rest, at + 1, s, at, false, false, false};
            c.idle = SwapCellsOf(rest.grid, s).now[0] == SwapCellsOf(rest.grid, s).now[1];
            if (QuietAtRest(rest.grid, s)) {
                if (n.quietLeft == 0) continue;
                c.quiet = true;
            } else {
                // Without quiet swaps left, one that only sets a block down a row is passed
                // over without playing its update.
                if (n.quietLeft == 0 && !MayMark(rest.grid, rest.grid, s, true)) continue;
                p = rest;
                int32_t left = 1;
                Update(p, &s, &left);
                // A block that drops a row and lands without a line is quiet all the same.
                c.busy = !AtRest(p);
                c.quiet = !c.busy;
                if (c.quiet && n.quietLeft == 0) continue;
                if (!duringFalls_) {
                    // Only boards at rest are searched: play on to the next rest.
                    while (!AtRest(p) && c.next - at < kSettleCap) c.next += Advance(p);
                    if (!AtRest(p)) continue;
                }
                c.chain = p.maxCombo > rest.maxCombo;
                if (Doomed(p, n.swapsLeft - 1)) continue;
                c.board = int32_t(f.boards.size());
                f.boards.push_back(p);
            }
            f.children.push_back(c);
        }
    }

    void Children(const Node& n, const std::vector<Stretch>& stretches, Family& f) const {
        const size_t last = stretches.size() - 1;
        for (size_t i = 0; i <= last; ++i) {
            // A kind left with one or two blocks, none vanishing and no garbage to turn into
            // more, stays so whatever is swapped: no child from here on can be cleared.
            const Census census(stretches[i].play.grid);
            if (census.resting[kGarbage] == 0 && Hopeless(census)) return;
            if (i == last) break;
            const Stretch& st = stretches[i];
            const int64_t end = stretches[i + 1].from;
            // The swaps in the order the cursor can make them, at the first update they can
            // (and, as `timing_` asks, at the last update of the stretch or at every one).
            // A swap that starts or stops no fall and makes no line through its own cells
            // changes nothing but those cells in an update inside the stretch: with no quiet
            // swap left it is passed over without playing the update.
            struct Timed {
                int64_t at;
                Swap s;
                bool still;
            };
            std::vector<Timed> timed;
            // Whether a swap is still matters only to passing swaps over.
            const bool needStill = n.quietLeft == 0 || timing_ == 2;
            for (const Swap& s : Candidates(st.play.grid, idleAnywhere_)) {
                const int64_t at =
                    std::max(st.from, n.pace.Earliest(Distance(n.pace.cursor, CellOf(s))));
                if (at >= end) continue;
                const bool matters = Matters(st.play.grid, s);
                if (!matters && n.quietLeft == 0) continue;
                const bool still = needStill && Still(st.play.grid, s);
                timed.push_back({at, s, still});
                if (!matters) continue;
                if (timing_ == 2) {
                    // Inside the stretch a still swap does the same at every update.
                    for (int64_t u = at + 1; u < end; ++u)
                        if (!still || u == end - 1) timed.push_back({u, s, still});
                } else if (timing_ == 1 && end - 1 > at) {
                    timed.push_back({end - 1, s, still});
                }
            }
            if (timed.empty()) continue;
            std::stable_sort(timed.begin(), timed.end(),
                             [](const Timed& a, const Timed& b) { return a.at < b.at; });
            // Without the swap the update would leave the stretch's cells as they are, or,
            // in its last update, give the next stretch's.
            const Play& next = stretches[i + 1].play;
            // Gravity within the stretch moves nothing; in its last update it gives the next
            // stretch's cells, before the lines are looked for.
            Play fallen = st.play;
            FallStep(fallen.grid, fallen.pairs);
            const int markedIn = Marked(st.play), markedNext = Marked(next);
            Play board, p;
            int64_t boardAt = -1;
            for (const auto& [at, s, still] : timed) {
                const bool lastUpdate = at + 1 == end;
                if (still && !lastUpdate && n.quietLeft == 0) continue;
                if (n.quietLeft == 0 &&
                    !MayMark(st.play.grid, lastUpdate ? fallen.grid : st.play.grid, s, false))
                    continue;
                if (boardAt != at) {
                    board = st.play;
                    CountDownBy(board, at - st.from);
                    boardAt = at;
                }
                const int idleMarked = lastUpdate ? markedNext : markedIn;
                const int32_t idleCombo = lastUpdate ? next.combo : st.play.combo;
                Child c{-1, nullptr, at + 1, s, at, false, false, false};
                p = board;
                int32_t left = 1;
                Update(p, &s, &left);
                // While the board moves, a swap counts when it makes a line at once; any
                // other swap is made at the earliest update the cursor allows.
                c.busy = Marked(p) > idleMarked;
                c.chain = c.busy && p.combo > idleCombo;
                c.quiet = !c.busy;
                if (c.quiet && n.quietLeft == 0) continue;
                if (Doomed(p, n.swapsLeft - 1)) continue;
                c.board = int32_t(f.boards.size());
                f.boards.push_back(p);
                f.children.push_back(c);
            }
        }
        ChildrenAtRest(n, stretches[last].play, stretches[last].from, f);
    }

    // Whether a board with swaps still to make can no longer be cleared with the chain asked
    // for. Children are looked at so as soon as they are played, before they are kept.
    bool Doomed(const Play& p, int32_t swapsLeft) const {
        if (p.maxCombo > target_) return true;
        if (swapsLeft == 0) return false; // played out to the end instead
        const Census census(p.grid);
        return census.empty || ChainReach(census, p.combo, p.maxCombo) < target_ ||
               Hopeless(census) || OutOfReach(census, swapsLeft);
    }

    // What one thread of the search carries: the swaps that led to the board it looks at, and
    // when the search is split, the part it works on, or the list it hands out parts into.
    struct Part {
        Node node;
        std::vector<PlannedSwap> path;
    };
    struct Walk {
        struct Scratch {
            Family family;
            std::vector<Stretch> stretches;
        };
        explicit Walk(int32_t swaps) : scratch(size_t(swaps) + 1) {}
        std::vector<Scratch> scratch; // by depth
        std::vector<PlannedSwap> path;
        size_t part = 0;
        std::vector<Part>* split = nullptr; // the parts are collected at kSplitDepth
    };
    static constexpr size_t kSplitDepth = 2;

    bool Alone(const Node& root, std::vector<PlannedSwap>& out) {
        Walk w(swaps_);
        if (!Dfs(root, w)) return false;
        out = w.path;
        return true;
    }

    // The search in parts, the boards two swaps in, handed out in the order one thread would
    // reach them. The first part with a clearing holds the clearing one thread finds: what
    // the parts share is only which boards failed, and a board fails wherever it is met.
    // So a part is given up only once a part before it has found one, and a part found
    // after a later one is still looked at to the end.
    bool Split(const Node& root, std::vector<PlannedSwap>& out) {
        std::vector<Part> parts;
        Walk collect(swaps_);
        collect.split = &parts;
        if (Dfs(root, collect)) { // a clearing before the split depth
            out = collect.path;
            return true;
        }
        if (exhausted_) return false;
        std::atomic<size_t> next{0};
        std::vector<PlannedSwap> found;
        std::mutex foundLock;
        auto work = [&] {
            Walk w(swaps_);
            for (;;) {
                const size_t i = next.fetch_add(1);
                if (i >= parts.size() || i > first_ || exhausted_) return;
                w.part = i;
                w.path = parts[i].path;
                if (!Dfs(parts[i].node, w)) continue;
                const std::lock_guard<std::mutex> lock(foundLock);
                if (i < first_) first_ = i, found = w.path;
            }
        };
        std::vector<std::thread> helpers;
        for (int32_t t = 1; t < threads_; ++t) helpers.emplace_back(work);
        work();
        for (std::thread& t : helpers) t.join();
        if (trace_)
            std::fprintf(stderr, "  %zu parts, the first clearing in part %zu\n", parts.size(),
                         first_ == SIZE_MAX ? parts.size() : size_t(first_));
        if (first_ == SIZE_MAX) return false;
        out = found;
        return true;
    }

    // A part after one that found a clearing has nothing left to give.
    bool Abandoned(const Walk& w) const { return exhausted_ || first_ < w.part; }

    bool Dfs(const Node& n, Walk& w) {
        if (w.split && w.path.size() == kSplitDepth) {
            w.split->push_back({n, w.path});
            return false;
        }
        if (n.swapsLeft == 0) {
            Play p = n.play;
            if (!AtRest(p)) Settle(p);
            return AtRest(p) && Empty(p.grid) && p.maxCombo == target_;
        }
        if (Doomed(n.play, n.swapsLeft)) return false;
        // A board that failed before with as many quiet swaps allowed has nothing new to
        // offer. It is written down as failed once all its swaps have been tried.
        const uint64_t key = NodeKey(n);
        Memo& tried = tried_[duringFalls_];
        if (tried.FailedWith(key, n.quietLeft)) return false;
        const uint64_t states = ++states_;
        if (trace_ && states % 20000 == 0)
            std::fprintf(stderr, "  %llu boards, depth %d\n", (unsigned long long)states,
                         int(w.path.size()));
        if (states > limit_) {
            exhausted_ = true;
            return false;
        }
        if (!Expand(n, w)) {
            if (!Abandoned(w)) tried.Fail(key, n.quietLeft);
            return false;
        }
        return true;
    }

    bool Expand(const Node& n, Walk& w) {
        // Boards are large: each depth keeps its lists from one board to the next.
        Walk::Scratch& scratch = w.scratch[w.path.size()];
        Family& f = scratch.family;
        f.children.clear();
        f.boards.clear();
        std::vector<Stretch>& stretches = scratch.stretches;
        if (duringFalls_) {
            if (!Stretches(n, stretches)) return false;
            Children(n, stretches, f);
        } else {
            ChildrenAtRest(n, n.play, n.t, f);
        }
        // Swaps that set something going come before quiet ones. Once a chain has been
        // scored, lines that carry it on come first; before any line, swaps that set blocks
        // falling without a line come first: a long chain is built from blocks already on
        // their way, and a line made from rest starts it at 1 with nothing prepared.
        std::vector<Child>& children = f.children;
        std::stable_partition(children.begin(), children.end(),
                              [](const Child& c) { return c.busy; });
        if (n.play.maxCombo > 0)
            std::stable_partition(children.begin(), children.end(),
                                  [](const Child& c) { return c.chain; });
        else
            std::stable_partition(children.begin(), children.end(),
                                  [](const Child& c) { return c.busy && !c.chain; });
        for (const Child& c : children) {
            Node next{BoardOf(c, f),   c.next,
                      n.swapsLeft - 1, n.quietLeft - (c.quiet ? 1 : 0),
                      n.pace,          n.opening && c.idle};
            next.pace.SwapAt(CellOf(c.swap), Distance(n.pace.cursor, CellOf(c.swap)), c.at);
            w.path.push_back({CellOf(c.swap), c.at});
            if (Dfs(next, w)) return true;
            w.path.pop_back();
            if (Abandoned(w)) return false;
        }
        return false;
    }

    int level_;
    int32_t target_;
    int32_t swaps_;
    bool duringFalls_ = false;
    int32_t timing_ = 0;
    std::vector<std::vector<int16_t>> dist_;
    // Boards whose every sequence failed, with the quiet swaps they were allowed; shared by
    // the threads, each lock guarding a slice of the keys.
    class Memo {
      public:
        bool FailedWith(uint64_t key, int32_t quiet) {
            Slice& s = SliceOf(key);
            const std::lock_guard<std::mutex> lock(s.lock);
            const auto it = s.failed.find(key);
            return it != s.failed.end() && it->second >= quiet;
        }
        void Fail(uint64_t key, int32_t quiet) {
            Slice& s = SliceOf(key);
            const std::lock_guard<std::mutex> lock(s.lock);
            int32_t& q = s.failed.try_emplace(key, quiet).first->second;
            q = std::max(q, quiet);
        }
        void Clear() {
            for (Slice& s : slices_) s.failed.clear();
        }

      private:
        struct Slice {
            std::mutex lock;
            std::unordered_map<uint64_t, int32_t> failed;
        };
        Slice& SliceOf(uint64_t key) { return slices_[key >> 58]; }
        Slice slices_[64];
    };
    Memo tried_[2]; // by duringFalls_
    int32_t lastTiming_ = 0;
    bool lastPrimed_ = false;
    // Swaps of two equal blocks change nothing, so on a level that starts at rest they are
    // spent first, before anything moves; elsewhere they are offered at every board.
    bool idleAnywhere_ = false;
    int32_t threads_ = 1;
    std::atomic<uint64_t> states_{0};
    uint64_t limit_ = 0; // boards examined when the search gives up
    std::atomic<bool> exhausted_{false};
    std::atomic<size_t> first_{SIZE_MAX}; // the first part that found a clearing
    bool trace_ = std::getenv("TESS_SOLVE_TRACE") != nullptr;
};

} // namespace

bool MoveCursorCell(CursorState& c, CursorKey key) {
    // The play layer's own cursor table, on a board that holds only the cursor.
    static PlayBoard board;
    board.BlockX = c.x, board.BlockY = c.y, board.BlockZ = c.z, board.CursorFlg = c.face;
    board.LeftClearFlg = c.face == 0 ? c.z - 1 : -1;
    board.RightClearFlg = c.face == 1 ? c.x + 1 : kSlices;
    board.ModifierLatch = key == CursorKey::ShiftUp || key == CursorKey::ShiftDown;
    CursorKeys keys;
    keys.up = key == CursorKey::Up || key == CursorKey::ShiftUp;
    keys.down = key == CursorKey::Down || key == CursorKey::ShiftDown;
    keys.left = key == CursorKey::Left;
    keys.right = key == CursorKey::Right;
    if (!MoveCursor(board, keys)) return false;
    c = {board.CursorFlg, board.BlockX, board.BlockY, board.BlockZ};
    return true;
}

std::vector<CursorKey> CursorPath(const CursorState& from, const CursorState& to) {
    const CursorTree tree = Reach(from);
    std::vector<CursorKey> path;
    const int start = CursorIndex(from);
    int i = CursorIndex(to);
    if (tree.dist[i] < 0) return path;
    for (; i != start; i = tree.parent[i]) path.push_back(tree.via[i]);
    std::reverse(path.begin(), path.end());
    return path;
}

Solution SolveLevel(int level, int32_t chain, const SolveLimits& limits) {
    Solution out;
    if (level < 1 || level > kLevelCount) {
        out.searched = "no such level";
        return out;
    }
    if (chain < 0) chain = kChallengeLevels[level - 1].chain;
    out.chain = chain;
    const int32_t swaps = limits.swaps < 0 ? kChallengeLevels[level - 1].swaps : limits.swaps;
    Search search(level, chain, swaps);
    search.Threads(limits.threads > 0 ? limits.threads
                                      : int32_t(std::thread::hardware_concurrency()));
    std::ostringstream said;
    // Fewest quiet swaps first, at rest before during falls; the last updates of stretches
    // only when the first ones cannot do it (every update only when asked); a fresh run's
    // waits before full ones.
    uint64_t budget = limits.states;
    bool exhausted = false;
    static const char* const kTimings[] = {"the first update", "the first and the last update",
                                           "every update"};
    std::string lastPass;
    for (int primed = 0; primed < 2 && out.swaps.empty() && !exhausted; ++primed) {
        for (int32_t timing = limits.fromTiming;
             timing <= limits.toTiming && out.swaps.empty() && !exhausted; ++timing) {
            for (int32_t quiet = 0; quiet <= swaps && out.swaps.empty() && !exhausted; ++quiet) {
                for (int falls = primed || timing > 0; falls < 2 && out.swaps.empty() && !exhausted;
                     ++falls) {
                    if (search.Run(falls != 0, timing, primed != 0, quiet, budget, out.swaps)) {
                        out.duringFalls = falls != 0;
                        out.primed = primed != 0;
                    }
                    exhausted = search.Exhausted();
                    std::ostringstream pass;
                    if (falls)
                        pass << "swaps also while blocks fall or vanish, at " << kTimings[timing]
                             << " of every stretch of unchanged cells the cursor can reach";
                    else
                        pass << "swaps at rest only";
                    pass << ", up to " << quiet << " quiet"
                         << (primed ? ", the waits full at the start of play" : "");
                    lastPass = pass.str();
                    if (std::getenv("TESS_SOLVE_TRACE"))
                        std::fprintf(stderr, "%s: %llu boards%s\n", lastPass.c_str(),
                                     (unsigned long long)search.States(),
                                     exhausted ? " (gave up)" : "");
                }
            }
        }
    }
    if (out.swaps.empty())
        said << (exhausted ? "gave up after " : "every sequence tried: ") << search.States()
             << " boards (last pass: " << lastPass << ")";
    out.states = search.States();
    out.searched = said.str();
    if (out.swaps.empty()) return out;
    out.keys = PlanKeys(out.swaps, out.primed);
    out.found = CheckPlan(level, chain, out.keys, out.primed, &out.clearedAt, swaps);
    return out;
}

bool SwapIsQuietAtRest(const BlockGrid grid, const CursorState& at) {
    return QuietAtRest(grid, {int8_t(at.x), int8_t(at.y), int8_t(at.z), int8_t(at.face)});
}

bool SwapIsStillInMotion(const BlockGrid grid, const CursorState& at) {
    return Still(grid, {int8_t(at.x), int8_t(at.y), int8_t(at.z), int8_t(at.face)});
}

bool SwapMayMatter(const BlockGrid grid, const CursorState& at) {
    return Matters(grid, {int8_t(at.x), int8_t(at.y), int8_t(at.z), int8_t(at.face)});
}

int32_t ChainWithinReach(const BlockGrid grid, int32_t combo, int32_t maxCombo) {
    return ChainReach(Census(grid), combo, maxCombo);
}

bool SwapMayAddLine(const BlockGrid grid, const CursorState& at, bool floating) {
    static Play fallen; // large; FallStep moves pairs too, which MayMark does not look at
    std::memcpy(fallen.grid, grid, sizeof fallen.grid);
    FallStep(fallen.grid, fallen.pairs);
    return MayMark(grid, fallen.grid, {int8_t(at.x), int8_t(at.y), int8_t(at.z), int8_t(at.face)},
                   floating);
}

std::vector<PlannedKey> PlanKeys(const std::vector<PlannedSwap>& swaps, bool primed) {
    Pace pace = Pace::Start(primed);
    std::vector<PlannedKey> keys;
    for (const PlannedSwap& s : swaps)
        pace.SwapAt(s.at, int(CursorPath(pace.cursor, s.at).size()), s.update, &keys);
    return keys;
}

bool CheckPlan(int level, int32_t chain, const std::vector<PlannedKey>& keys, bool primed,
               int64_t* restAt, int32_t swaps) {
    if (level < 1 || level > kLevelCount) return false;
    Play p = PlacedLevel(level);
    int32_t left = swaps < 0 ? kChallengeLevels[level - 1].swaps : swaps;
    CursorState cursor;
    int32_t moveWait = primed ? 16 : 0, swapWait = primed ? 15 : 0;
    size_t next = 0;
    const int64_t last = keys.empty() ? 0 : keys.back().update;
    for (int64_t u = 0; u <= last + kSettleCap; ++u) {
        // The keys held in this update: at most one cursor key and X.
        const PlannedKey* move = nullptr;
        bool swapKey = false;
        for (; next < keys.size() && keys[next].update == u; ++next) {
            if (keys[next].kind == PlannedKey::Swap)
                swapKey = true;
            else if (move)
                return false;
            else
                move = &keys[next];
        }
        if (next < keys.size() && keys[next].update < u) return false; // out of order
        // The mode's own order: cursor, swap, gravity, lines.
        if (moveWait > 15 && move && MoveCursorCell(cursor, CursorKey(int(move->kind))))
            moveWait = 1;
        else
            ++moveWait;
        Swap s{int8_t(cursor.x), int8_t(cursor.y), int8_t(cursor.z), int8_t(cursor.face)};
        if (swapKey && swapWait >= 15 && left > 0) {
            Update(p, &s, &left);
            swapWait = 0;
        } else {
            Update(p, nullptr);
        }
        ++swapWait;
        if (left == 0 && AtRest(p)) {
            if (restAt) *restAt = u;
            return next == keys.size() && Empty(p.grid) && p.maxCombo == chain;
        }
    }
    return false;
}

std::string PlanKeyScript(const std::vector<PlannedKey>& keys, int64_t firstPlayFrame) {
    static const char* const kNames[] = {"UP",       "DOWN",       "LEFT", "RIGHT",
                                         "SHIFT UP", "SHIFT DOWN", "X"};
    std::ostringstream out;
    for (size_t i = 0; i < keys.size(); ++i) {
        const int64_t f = firstPlayFrame + keys[i].update;
        out << f << ' ' << f << ' ' << kNames[int(keys[i].kind)];
        while (i + 1 < keys.size() && keys[i + 1].update == keys[i].update)
            out << ' ' << kNames[int(keys[++i].kind)];
        out << '\n';
    }
    return out.str();
}
