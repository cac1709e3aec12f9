// Boards of the play modes under test: emptied, filled, counted, and the cursor as one value.
#pragma once

#include <array>
#include <cstring>
#include <string>

#include "play/board.h"

namespace boards {

// A new board as a mode starts it: cell positions filled, the cursor at (0, 0, 0) of the front
// face, every pair at rest.
template <class B = PlayBoard> B Fresh() {
    B b;
    FillCellPositions(b);
    ResetCursor(b);
    ResetPairs(b);
    return b;
}

// Every cell empty and every pair at rest.
inline void Clear(PlayBoard& b) {
    std::memset(b.grid, 0, sizeof b.grid);
    ResetPairs(b);
}

// Sets a cell, marking its pair when the value is negative.
inline void Put(PlayBoard& b, int x, int y, int z, int32_t value) {
    b.grid[x][y][z] = value;
    b.pairs[x][y][z][0] = value < 0 ? 1 : 0;
}

// A column of alternating kinds (no line) from row 0 to the top in slice x, depth z.
inline void FillColumn(PlayBoard& b, int x, int z) {
    for (int y = 0; y < kRows; ++y) b.grid[x][y][z] = y % 2 ? 1 : 2;
}

// Cells holding `value`.
inline int Count(const PlayBoard& b, int32_t value) {
    int n = 0;
    for (const auto& slice : b.grid)
        for (const auto& row : slice)
            for (int32_t cell : row) n += cell == value;
    return n;
}

// Block X, Y, Z, the face (0 front, 1 right) and the cut-away limits on the left and right.
using Cursor = std::array<int, 6>;
inline Cursor CursorTuple(const PlayBoard& b) {
    return {b.BlockX, b.BlockY, b.BlockZ, b.CursorFlg, b.LeftClearFlg, b.RightClearFlg};
}

// The game path of block model `n` ("１" .. "１３").
inline std::string Model(const char* n) {
    return std::string("./xFile/パズル用図形") + n + ".x";
}

} // namespace boards
