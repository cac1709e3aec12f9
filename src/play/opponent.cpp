// The computer opponent's reading of a board and its choice of swap.
#include "play/opponent.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "play/cursor.h"

OpponentChoice Opponents;

namespace {
constexpr std::string_view kLevelNames[] = {"person", "easy", "normal", "hard"};
} // namespace

int32_t CpuLevelFromName(std::string_view name) {
    std::string lower(name);
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (int32_t level = kCpuOff; level <= kCpuHard; ++level)
        if (lower == kLevelNames[level]) return level;
    return -1;
}

std::string_view CpuLevelName(int32_t level) {
    return kLevelNames[level >= kCpuOff && level <= kCpuHard ? level : kCpuOff];
}

void CpuRandom::Seed(uint32_t seed) {
    // Mixed so that neighbouring seeds start far apart; never 0, which xorshift keeps.
    uint32_t s = seed * 2654435761u + 0x9E3779B9u;
    s ^= s >> 16;
    state = s != 0 ? s : 1;
}

uint32_t CpuRandom::Next() {
    uint32_t s = state;
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return state = s;
}

int CpuRandom::Below(int n) {
    return n <= 1 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(n));
}

namespace {

using Mask = bool[kSlices][kRows][kDepth];

constexpr int32_t kUnknownKind = 8; // garbage turned into a block of a kind not yet known

bool Inside(int x, int y, int z) {
    return x >= 0 && x < kSlices && y >= 0 && y < kRows && z >= 0 && z < kDepth;
}

bool IsKind(int32_t v) {
    return v >= 1 && v <= 6;
}

// Non-empty cells of a column moved down onto each other, in order.
void SettleColumn(BlockGrid g, int x, int z) {
    int to = 0;
    for (int y = 0; y < kRows; ++y) {
        int32_t v = g[x][y][z];
        if (v == 0) continue;
        g[x][y][z] = 0;
        g[x][to++][z] = v;
    }
}

bool Supported(const BlockGrid g, int x, int y, int z) {
    for (int below = 0; below < y; ++below)
        if (g[x][below][z] == 0) return false;
    return true;
}

constexpr int kAxis[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};

// The line of unmarked blocks of one kind through (x, y, z) along an axis, as the matcher
// takes it (lines along X and Z only on solid ground); marks its cells. Returns whether there
// is one, and its first cell so that the same line is counted once.
bool LineThrough(const BlockGrid g, int x, int y, int z, int axis, Mask mask, int& start) {
    const int32_t v = g[x][y][z];
    if (!IsKind(v)) return false;
    const int* d = kAxis[axis];
    int back = 0, fwd = 0;
    while (Inside(x - d[0] * (back + 1), y - d[1] * (back + 1), z - d[2] * (back + 1)) &&
           g[x - d[0] * (back + 1)][y - d[1] * (back + 1)][z - d[2] * (back + 1)] == v)
        ++back;
    while (Inside(x + d[0] * (fwd + 1), y + d[1] * (fwd + 1), z + d[2] * (fwd + 1)) &&
           g[x + d[0] * (fwd + 1)][y + d[1] * (fwd + 1)][z + d[2] * (fwd + 1)] == v)
        ++fwd;
    if (back + fwd + 1 < 3) return false;
    for (int i = -back; i <= fwd; ++i)
        if (axis != 1 && !Supported(g, x + d[0] * i, y, z + d[2] * i)) return false;
    for (int i = -back; i <= fwd; ++i) mask[x + d[0] * i][y + d[1] * i][z + d[2] * i] = true;
    start =
        ((axis * kSlices + x - d[0] * back) * kRows + y - d[1] * back) * kDepth + z - d[2] * back;
    return true;
}

// A short list of cells without allocation.
struct Cells {
    std::array<std::array<int8_t, 3>, kSlices * kRows * kDepth> at;
    int count = 0;
    void Add(int x, int y, int z) {
        at[static_cast<size_t>(count++)] = {static_cast<int8_t>(x), static_cast<int8_t>(y),
                                            static_cast<int8_t>(z)};
    }
};

// Lines through any of the given cells, counted once each.
int LinesThrough(const BlockGrid g, const Cells& cells, Mask mask) {
    int starts[64];
    int n = 0;
    for (int i = 0; i < cells.count; ++i) {
        const auto& c = cells.at[static_cast<size_t>(i)];
        for (int axis = 0; axis < 3; ++axis) {
            int start = 0;
            if (!LineThrough(g, c[0], c[1], c[2], axis, mask, start)) continue;
            if (std::find(starts, starts + n, start) == starts + n && n < 64) starts[n++] = start;
        }
    }
    return n;
}

int AllLines(const BlockGrid g, Mask mask) {
    Cells cells;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if (IsKind(g[x][y][z])) cells.Add(x, y, z);
    return LinesThrough(g, cells, mask);
}

bool SwapIsLegal(const BlockGrid g, const CpuSwap& s) {
    const int px = s.dir == 0 ? s.x + 1 : s.x, pz = s.dir == 1 ? s.z + 1 : s.z;
    if (!Inside(s.x, s.y, s.z) || !Inside(px, s.y, pz)) return false;
    const int32_t a = g[s.x][s.y][s.z], b = g[px][s.y][pz];
    return a >= 0 && b >= 0 && a != b;
}

// Swaps and settles the two columns; returns the cells that changed.
Cells ApplySwap(BlockGrid g, const CpuSwap& s) {
    const int px = s.dir == 0 ? s.x + 1 : s.x, pz = s.dir == 1 ? s.z + 1 : s.z;
    int32_t before[2][kRows];
    for (int y = 0; y < kRows; ++y) before[0][y] = g[s.x][y][s.z], before[1][y] = g[px][y][pz];
    std::swap(g[s.x][s.y][s.z], g[px][s.y][pz]);
    SettleColumn(g, s.x, s.z);
    SettleColumn(g, px, pz);
    Cells changed;
    for (int y = 0; y < kRows; ++y) {
        if (g[s.x][y][s.z] != before[0][y]) changed.Add(s.x, y, s.z);
        if (g[px][y][pz] != before[1][y]) changed.Add(px, y, pz);
    }
    return changed;
}

// Empties the marked cells, turns garbage beside them into blocks of a kind not yet known and
// lets everything settle. Returns the garbage cells turned.
int Vanish(BlockGrid g, const Mask mask) {
    int turned = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                if (!mask[x][y][z]) continue;
                const int n[6][3] = {{x + 1, y, z}, {x - 1, y, z}, {x, y + 1, z},
                                     {x, y - 1, z}, {x, y, z + 1}, {x, y, z - 1}};
                for (const auto& c : n)
                    if (Inside(c[0], c[1], c[2]) && g[c[0]][c[1]][c[2]] == kGarbage) {
                        g[c[0]][c[1]][c[2]] = kUnknownKind;
                        ++turned;
                    }
            }
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if (mask[x][y][z]) g[x][y][z] = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) SettleColumn(g, x, z);
    return turned;
}

int TopRowCount(const BlockGrid g) {
    int n = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) n += g[x][kRows - 1][z] != 0;
    return n;
}

} // namespace

SwapOutlook LookAtSwap(const BlockGrid grid, const CpuSwap& s, bool cascade) {
    SwapOutlook o;
    if (!SwapIsLegal(grid, s)) return o;
    o.legal = true;
    BlockGrid g;
    std::memcpy(g, grid, sizeof g);
    auto changed = ApplySwap(g, s);
    Mask mask = {};
    o.lines = LinesThrough(g, changed, mask);
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                if (!mask[x][y][z]) continue;
                ++o.cells;
                o.highest = std::max(o.highest, y);
                for (int above = y + 1; above < kRows; ++above)
                    if (g[x][above][z] != 0 && !mask[x][above][z]) o.covered = true;
            }
    int topBefore = TopRowCount(grid);
    int topAfter = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z)
            topAfter += g[x][kRows - 1][z] != 0 && !mask[x][kRows - 1][z];
    o.topFreed = std::max(0, topBefore - topAfter);
    if (o.lines == 0) return o;
    o.garbageFreed = Vanish(g, mask);
    if (!cascade) return o;
    for (int step = 0; step < 3; ++step) {
        Mask next = {};
        int lines = AllLines(g, next);
        if (lines == 0) break;
        o.cascade += lines;
        o.garbageFreed += Vanish(g, next);
    }
    return o;
}

void BoardAfterSwap(const BlockGrid grid, const CpuSwap& s, BlockGrid out) {
    std::memcpy(out, grid, sizeof(BlockGrid));
    if (!SwapIsLegal(grid, s)) return;
    auto changed = ApplySwap(out, s);
    Mask mask = {};
    LinesThrough(out, changed, mask);
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if (mask[x][y][z]) out[x][y][z] = -out[x][y][z];
}

int StackHeight(const BlockGrid grid) {
    int h = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if (grid[x][y][z] != 0) h = std::max(h, y + 1);
    return h;
}

int ChainWindow(const BlockGrid grid, const CellAnim pairs) {
    int window = 0;
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z) {
            // The longest vanishing or falling left under some block of this column.
            int under = 0;
            for (int y = 0; y < kRows; ++y) {
                int32_t v = grid[x][y][z];
                if (v >= 1) {
                    window = std::max(window, under);
                } else if (v < 0) {
                    under = std::max(under, pairs[x][y][z][1] + 2);
                } else {
                    under = std::max(under, 1);
                }
            }
        }
    return window;
}

// The cursor move graph, built once from the game's cursor table.
namespace {

struct MoveGraph {
    int16_t next[kCursorStates][kCursorMoves];
    std::vector<int16_t> prev[kCursorStates];
    MoveGraph() {
        static PlayBoard b;
        for (int i = 0; i < kCursorStates; ++i) {
            CursorState c = CursorOfIndex(i);
            for (int m = 0; m < kCursorMoves; ++m) {
                next[i][m] = -1;
                if (!ValidCursor(c)) continue;
                b.CursorFlg = c.face, b.BlockX = c.x, b.BlockY = c.y, b.BlockZ = c.z;
                b.LeftClearFlg = c.face == 0 ? c.z - 1 : -1;
                b.RightClearFlg = c.face == 1 ? c.x + 1 : 6;
                b.ModifierLatch = 0;
                CursorKeys keys;
                switch (m) {
                case kMoveUp:
                    keys.up = true;
                    break;
                case kMoveDown:
                    keys.down = true;
                    break;
                case kMoveLeft:
                    keys.left = true;
                    break;
                case kMoveRight:
                    keys.right = true;
                    break;
                default:
                    break;
                }
                if (m == kMoveDeeper)
                    MoveDeeper(b);
                else if (m == kMoveShallower)
                    MoveShallower(b);
                else
                    MoveCursor(b, keys);
                CursorState to{b.CursorFlg, b.BlockX, b.BlockY, b.BlockZ};
                if (to == c || !ValidCursor(to)) continue;
                next[i][m] = static_cast<int16_t>(CursorIndex(to));
                prev[CursorIndex(to)].push_back(static_cast<int16_t>(i));
            }
        }
    }
};

const MoveGraph& Graph() {
    static const MoveGraph graph;
    return graph;
}

// Breadth-first moves from `start` over the graph (`reverse`: moves to `start` from every
// state); -1 where unreachable.
void Distances(const CursorState& start, bool reverse, int8_t* dist) {
    std::fill(dist, dist + kCursorStates, int8_t{-1});
    if (!ValidCursor(start)) return;
    const MoveGraph& g = Graph();
    int16_t queue[kCursorStates];
    int head = 0, tail = 0;
    queue[tail++] = static_cast<int16_t>(CursorIndex(start));
    dist[CursorIndex(start)] = 0;
    auto visit = [&](int from, int16_t to) {
        if (to >= 0 && dist[to] < 0)
            dist[to] = static_cast<int8_t>(dist[from] + 1), queue[tail++] = to;
    };
    while (head < tail) {
        int i = queue[head++];
        if (reverse)
            for (int16_t p : g.prev[i]) visit(i, p);
        else
            for (int16_t n : g.next[i]) visit(i, n);
    }
}

} // namespace

CursorState CursorOf(const PlayBoard& b) {
    return {b.CursorFlg, b.BlockX, b.BlockY, b.BlockZ};
}

CursorState TargetOf(const CpuSwap& s) {
    return {s.dir, s.x, s.y, s.z};
}

CursorState AfterMove(const CursorState& from, CursorMove move) {
    if (!ValidCursor(from)) return from;
    int n = Graph().next[CursorIndex(from)][move];
    return n < 0 ? from : CursorOfIndex(n);
}

CursorPaths::CursorPaths(const CursorState& target) {
    Distances(target, true, &dist_[0][0][0][0]);
}

int CursorPaths::MovesFrom(const CursorState& from) const {
    return ValidCursor(from) ? (&dist_[0][0][0][0])[CursorIndex(from)] : -1;
}

bool CursorPaths::Leads(const CursorState& from, CursorMove move) const {
    int here = MovesFrom(from);
    if (here <= 0) return false;
    CursorState to = AfterMove(from, move);
    return !(to == from) && MovesFrom(to) == here - 1;
}

namespace {

// Every swap the cursor can make, in a fixed order.
std::vector<CpuSwap> AllSwaps() {
    std::vector<CpuSwap> swaps;
    for (int dir = 0; dir < 2; ++dir)
        for (int x = 0; x < (dir == 0 ? 5 : 6); ++x)
            for (int y = 0; y < kRows; ++y)
                for (int z = 0; z < (dir == 0 ? 5 : 4); ++z) swaps.push_back({x, y, z, dir});
    return swaps;
}

const std::vector<CpuSwap>& Swaps() {
    static const std::vector<CpuSwap> swaps = AllSwaps();
    return swaps;
}

// The best second line reachable from `first` while the first line vanishes: its value, or 0.
int FollowUpValue(const BlockGrid grid, const CpuSwap& first, int framesPerMove) {
    BlockGrid after;
    BoardAfterSwap(grid, first, after);
    int8_t dist[kCursorStates];
    Distances(TargetOf(first), false, dist);
    // The first line vanishes for about 100 frames; the second swap waits 15 after the first.
    const int maxMoves = (100 - 16) / framesPerMove;
    int best = 0;
    for (const CpuSwap& s : Swaps()) {
        int moves = dist[CursorIndex(TargetOf(s))];
        if (moves < 0 || moves > maxMoves) continue;
        if (!SwapIsLegal(after, s)) continue;
        SwapOutlook o = LookAtSwap(after, s, false);
        if (o.lines > 0) best = std::max(best, 200 - 10 * moves);
    }
    return best;
}

} // namespace

void SwapSearch::Start(const BlockGrid grid, const CellAnim pairs, const CursorState& from,
                       const CpuSight& with) {
    Distances(from, false, dist_);
    sight_ = with;
    topCount_ = TopRowCount(grid);
    danger_ = StackHeight(grid) >= 10 || topCount_ > 0;
    window_ = sight_.chains ? ChainWindow(grid, pairs) : 0;
    next_ = 0;
    followed_ = 0;
    scored_.clear();
    running_ = true;
}

void SwapSearch::Score(const BlockGrid grid, const CpuSwap& s) {
    int moves = dist_[CursorIndex(TargetOf(s))];
    if (moves < 0 || !SwapIsLegal(grid, s)) return;
    SwapOutlook o = LookAtSwap(grid, s, sight_.chains);
    bool frees = danger_ && o.topFreed > 0;
    if (o.lines == 0 && !frees) return;
    int v = 100 * o.lines + 10 * o.cells;
    if (sight_.chains) {
        v += 250 * o.cascade;
        // Made while the board's chain is open, the line sends a garbage row.
        if (o.lines > 0 && window_ > 0 && moves * sight_.framesPerMove + 16 < window_) v += 250;
        if (o.covered) v += 30;
    }
    if (danger_) {
        v += 20 * std::max(0, o.highest - 5) + 30 * o.garbageFreed;
        v += o.topFreed == topCount_ && topCount_ > 0 ? 400 : 40 * o.topFreed;
        if (o.lines > 0) v += 100; // anything vanishing stops the count
    }
    v -= moves * (danger_ ? 30 : 10);
    scored_.push_back({s, v, o.covered});
}

bool SwapSearch::Step(const BlockGrid grid, int work, CpuPlan& out) {
    if (!running_) return false;
    const auto& swaps = Swaps();
    for (; work > 0 && next_ < static_cast<int>(swaps.size()); --work)
        Score(grid, swaps[static_cast<size_t>(next_++)]);
    if (next_ < static_cast<int>(swaps.size())) return false;
    if (sight_.followUp && followed_ < kFollowUps) {
        // The few best lines that keep a chain open are worth more with a second line in
        // reach; one of them per step, each costs a look at every swap.
        if (followed_ == 0)
            std::stable_sort(scored_.begin(), scored_.end(), [](const Scored& a, const Scored& b) {
                return a.covered != b.covered ? a.covered : a.value > b.value;
            });
        for (; followed_ < kFollowUps; ++followed_) {
            if (static_cast<size_t>(followed_) >= scored_.size() || !scored_[followed_].covered) {
                followed_ = kFollowUps;
                break;
            }
            if (work <= 0) return false;
            Scored& c = scored_[static_cast<size_t>(followed_)];
            c.value += FollowUpValue(grid, c.swap, sight_.framesPerMove);
            work -= static_cast<int>(swaps.size());
        }
    }
    out = CpuPlan{};
    for (const Scored& c : scored_)
        if (!out.found || c.value > out.value) out = {true, c.swap, c.value};
    running_ = false;
    return true;
}

CpuPlan RandomSwap(const BlockGrid grid, const CursorState& from, CpuRandom& rng) {
    int8_t dist[kCursorStates];
    Distances(from, false, dist);
    std::vector<CpuSwap> legal;
    for (const CpuSwap& s : Swaps())
        if (SwapIsLegal(grid, s) && dist[CursorIndex(TargetOf(s))] >= 0) legal.push_back(s);
    if (legal.empty()) return {};
    return {true, legal[static_cast<size_t>(rng.Below(static_cast<int>(legal.size())))], 0};
}

CpuPlan ChooseSwap(const BlockGrid grid, const CellAnim pairs, const CursorState& cursor,
                   const CpuSight& sight) {
    SwapSearch search;
    search.Start(grid, pairs, cursor, sight);
    CpuPlan plan;
    search.Step(grid, 1 << 20, plan);
    return plan;
}
