// Rising rows and gravity: the board moves, each block carrying its pair with it.
#include "puzzle/board.h"

namespace {

void MovePair(CellAnim pairs, int x, int fromY, int toY, int z) {
    pairs[x][toY][z][0] = pairs[x][fromY][z][0];
    pairs[x][toY][z][1] = pairs[x][fromY][z][1];
}

} // namespace

float RiseRows(BlockGrid grid, const NextRow next, CellAnim pairs) {
    for (int x = 0; x < kSlices; ++x) {
        for (int z = 0; z < kDepth; ++z) {
            for (int y = kRows - 1; y > 0; --y) {
                grid[x][y][z] = grid[x][y - 1][z];
                MovePair(pairs, x, y - 1, y, z);
            }
            grid[x][0][z] = next[x][z];
            pairs[x][0][z][0] = 0;
            pairs[x][0][z][1] = kVanishFrames;
        }
    }
    return 0.0f;
}

void FallStep(BlockGrid grid, CellAnim pairs) {
    // Rows are visited upwards, so a block that has just moved down is not seen again: every
    // block falls at most one row per call and a stack over a hole moves down as one.
    for (int x = 0; x < kSlices; ++x) {
        // Rows over the slice's highest block hold nothing that could fall.
        static_assert(kDepth == 5, "a row of the slice is read as five cells");
        int top = kRows;
        while (top > 1) {
            const int32_t* row = grid[x][top - 1];
            if (row[0] | row[1] | row[2] | row[3] | row[4]) break;
            --top;
        }
        for (int y = 1; y < top; ++y) {
            for (int z = 0; z < kDepth; ++z) {
                if (grid[x][y - 1][z] != 0 || grid[x][y][z] == 0) continue;
                grid[x][y - 1][z] = grid[x][y][z];
                grid[x][y][z] = 0;
                for (int i = 0; i < 2; ++i) {
                    const int32_t below = pairs[x][y - 1][z][i];
                    pairs[x][y - 1][z][i] = pairs[x][y][z][i];
                    pairs[x][y][z][i] = below;
                }
            }
        }
    }
}
