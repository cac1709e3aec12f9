// The line matcher: lines of three to five equal blocks, their score, the chain they belong
// to, garbage turned into blocks beside them, and their vanishing.
#include <algorithm>
#include <cstdlib>

#include "platform/random.h"
#include "puzzle/board.h"

namespace {

constexpr const char* kVanishSoundPath = "./bgm/消える音.WAV";

enum Axis { kAlongX, kAlongY, kAlongZ };
constexpr int kStep[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
constexpr int kShortest = 3;
constexpr int kLongest = 5;

struct LineRule {
    int length;
    Axis axis;
    int testCell; // the cell whose mark says the line has scored already
    int32_t value;
};
// Tried in this order at every start cell: longer lines first, so that a line of five has
// marked its fourth and second cells before the shorter lines through them are tried, and
// scores only once.
constexpr LineRule kRules[] = {
    {5, kAlongX, 4, 30}, {5, kAlongY, 4, 30}, {5, kAlongZ, 4, 30},
    {4, kAlongX, 3, 20}, {4, kAlongY, 3, 20}, {4, kAlongZ, 3, 20},
    {3, kAlongX, 1, 10}, {3, kAlongY, 1, 10}, {3, kAlongZ, 1, 10},
};

// For every cell, how many cells from it towards higher indices along each axis, up to five,
// hold its kind (marked or not); along X and Z only cells standing on solid ground count, so a
// cell over a hole has runs of 0 there. Marking keeps the kinds and never empties a cell, so
// the runs found before the scan hold for all of it.
struct Runs {
    int8_t along[3][kSlices][kRows][kDepth];
};

// One above the highest row that holds anything: every row from it up is empty.
int Height(const BlockGrid grid) {
    for (int y = kRows; y > 0; --y)
        for (int x = 0; x < kSlices; ++x)
            for (int z = 0; z < kDepth; ++z)
                if (grid[x][y - 1][z] != 0) return y;
    return 0;
}

// Runs are found in rows below `height` only; the scan looks no higher.
void FindRuns(const BlockGrid grid, int height, Runs& runs) {
    // Per column, the lowest empty row: a cell in row y stands on solid ground exactly when
    // y <= ground.
    int ground[kSlices][kDepth];
    for (int x = 0; x < kSlices; ++x) {
        for (int z = 0; z < kDepth; ++z) {
            int y = 0;
            while (y < height && grid[x][y][z] != 0) ++y;
            ground[x][z] = y;
        }
    }
    auto& rx = runs.along[kAlongX];
    auto& ry = runs.along[kAlongY];
    auto& rz = runs.along[kAlongZ];
    // Backwards, so the run of the next cell along every axis is known.
    for (int x = kSlices - 1; x >= 0; --x) {
        for (int y = height - 1; y >= 0; --y) {
            for (int z = kDepth - 1; z >= 0; --z) {
                const int32_t kind = std::abs(grid[x][y][z]);
                if (kind == 0) {
                    // Only an empty cell would read an empty cell's runs, and empty cells
                    // start no line.
                    rx[x][y][z] = ry[x][y][z] = rz[x][y][z] = 0;
                    continue;
                }
                const bool solid = y <= ground[x][z];
                const int nx =
                    x + 1 < kSlices && std::abs(grid[x + 1][y][z]) == kind ? rx[x + 1][y][z] : 0;
                const int ny =
                    y + 1 < height && std::abs(grid[x][y + 1][z]) == kind ? ry[x][y + 1][z] : 0;
                const int nz =
                    z + 1 < kDepth && std::abs(grid[x][y][z + 1]) == kind ? rz[x][y][z + 1] : 0;
                rx[x][y][z] = static_cast<int8_t>(solid ? std::min(nx + 1, kLongest) : 0);
                ry[x][y][z] = static_cast<int8_t>(std::min(ny + 1, kLongest));
                rz[x][y][z] = static_cast<int8_t>(solid ? std::min(nz + 1, kLongest) : 0);
            }
        }
    }
}

// Scores the line unless its test cell is marked already, then marks every cell of it.
void TakeLine(BlockGrid grid, CellAnim pairs, int x, int y, int z, const LineRule& rule,
              const LineCounters& c) {
    const int* step = kStep[rule.axis];
    if (grid[x + step[0] * rule.testCell][y + step[1] * rule.testCell]
            [z + step[2] * rule.testCell] > 0) {
        if (c.chainFlag != 0) {
            ++c.combo;
            ++c.chainSteps;
        } else {
            c.combo = 1;
        }
        c.score += c.combo * rule.value;
    }
    for (int i = 0; i < rule.length; ++i, x += step[0], y += step[1], z += step[2]) {
        grid[x][y][z] = -std::abs(grid[x][y][z]);
        pairs[x][y][z][0] = 1;
    }
}

// Finds, scores and marks every line; true when there was at least one.
bool ScanLines(BlockGrid grid, CellAnim pairs, int height, const LineCounters& c) {
    Runs runs;
    FindRuns(grid, height, runs);
    bool found = false;
    for (int x = 0; x < kSlices; ++x) {
        for (int y = 0; y < height; ++y) {
            for (int z = 0; z < kDepth; ++z) {
                const int32_t value = grid[x][y][z];
                if (value == 0 || value == kGarbage) continue;
                const int run[3] = {runs.along[kAlongX][x][y][z], runs.along[kAlongY][x][y][z],
                                    runs.along[kAlongZ][x][y][z]};
                if (std::max({run[kAlongX], run[kAlongY], run[kAlongZ]}) < kShortest) continue;
                for (const LineRule& rule : kRules) {
                    if (run[rule.axis] < rule.length) continue;
                    TakeLine(grid, pairs, x, y, z, rule, c);
                    found = true;
                }
            }
        }
    }
    return found;
}

// Garbage on a face of a vanishing cell becomes a block of kind 1..5, one draw per block, in
// the order the cells and their neighbours are visited.
void BreakGarbage(BlockGrid grid, int height) {
    constexpr int kFaces[6][3] = {{1, 0, 0},  {-1, 0, 0}, {0, 1, 0},
                                  {0, -1, 0}, {0, 0, 1},  {0, 0, -1}};
    for (int x = 0; x < kSlices; ++x) {
        for (int y = 0; y < height; ++y) {
            for (int z = 0; z < kDepth; ++z) {
                if (grid[x][y][z] >= 0) continue;
                for (const auto& f : kFaces) {
                    const int nx = x + f[0], ny = y + f[1], nz = z + f[2];
                    if (nx < 0 || nx >= kSlices || ny < 0 || ny >= kRows || nz < 0 || nz >= kDepth)
                        continue;
                    if (grid[nx][ny][nz] == kGarbage) grid[nx][ny][nz] = platform::rand() % 5 + 1;
                }
            }
        }
    }
}

// A marked cell stays for its counter's worth of further passes and is emptied in the pass
// after the counter has gone below zero.
// Marked cells hold blocks, so none lies at `height` or above.
void CountDown(BlockGrid grid, CellAnim pairs, int height) {
    for (int x = 0; x < kSlices; ++x) {
        for (int y = 0; y < height; ++y) {
            for (int z = 0; z < kDepth; ++z) {
                // A cell is marked exactly when it is negative.
                if (grid[x][y][z] >= 0) continue;
                int32_t* pair = pairs[x][y][z];
                if (pair[0] != 1) continue;
                if (pair[1] < 0) {
                    grid[x][y][z] = 0;
                    pair[0] = 0;
                    pair[1] = kVanishFrames;
                }
                --pair[1];
            }
        }
    }
}

// True while some block or garbage has an empty or vanishing cell anywhere below it.
bool SomethingToFall(const BlockGrid grid, int height) {
    for (int x = 0; x < kSlices; ++x) {
        for (int z = 0; z < kDepth; ++z) {
            bool hole = false;
            for (int y = 0; y < height; ++y) {
                if (grid[x][y][z] <= 0)
                    hole = true;
                else if (hole)
                    return true;
            }
        }
    }
    return false;
}

} // namespace

void MatchLines(BlockGrid grid, CellAnim pairs, SoundRecord& vanish, const LineCounters& c) {
    if (vanish.loaded == 0) {
        LoadSound(vanish.buffer, kVanishSoundPath);
        vanish.loaded = 1;
    }
    // Every line found asks for the vanish sound; a sound still playing is not restarted, so
    // one request per pass is the same.
    // Nothing here fills an empty cell, so the rows from `height` up stay empty throughout.
    const int height = Height(grid);
    if (ScanLines(grid, pairs, height, c)) PlayEffect(vanish.buffer);
    BreakGarbage(grid, height);
    CountDown(grid, pairs, height);
    c.chainFlag = SomethingToFall(grid, height) ? 1 : 0;
    c.lastCombo = c.combo;
    if (c.maxCombo < c.combo) c.maxCombo = c.combo;
}
