// The player's board: positions, cursor reset and the deal of a fresh board.
#include "play/board.h"

#include "platform/random.h"

void FillCellPositions(PlayBoard& b) {
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                b.CellPos[x][y][z] = {static_cast<float>(x), static_cast<float>(y),
                                      static_cast<float>(z)};
}

void ResetCursor(PlayBoard& b) {
    b.BlockX = b.BlockY = b.BlockZ = 0;
    b.CursorFlg = 0;
    b.LeftClearFlg = -1;
    b.RightClearFlg = 6;
    RefreshCursorPos(b);
}

void ResetPairs(PlayBoard& b) {
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) {
                b.pairs[x][y][z][0] = 0;
                b.pairs[x][y][z][1] = kVanishFrames;
            }
}

void RefreshCursorPos(PlayBoard& b) {
    b.CursorPos = b.CellPos[b.BlockX][b.BlockY][b.BlockZ];
}

bool TopRowEmpty(const BlockGrid grid) {
    for (int x = 0; x < kSlices; ++x)
        for (int z = 0; z < kDepth; ++z)
            if (grid[x][11][z] != 0) return false;
    return true;
}

bool AnyVanishing(const CellAnim pairs) {
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z)
                if (pairs[x][y][z][0] == 1) return true;
    return false;
}

void SettleBoard(PlayBoard& b, SoundRecord& vanish, const LineCounters& counters,
                 SettleOrder order) {
    if (order == SettleOrder::FallThenMatch) FallStep(b.grid, b.pairs);
    MatchLines(b.grid, b.pairs, vanish, counters);
    if (order == SettleOrder::MatchThenFall) FallStep(b.grid, b.pairs);
}

namespace {
int32_t RandomKind() {
    return platform::rand() % 5 + 1;
}
} // namespace

void FillStartRows(BlockGrid g) {
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y < kRows; ++y)
            for (int z = 0; z < kDepth; ++z) g[x][y][z] = y <= 2 ? RandomKind() : 0;
}

void BreakUpLines(BlockGrid g) {
    for (int x = 0; x < kSlices; ++x)
        for (int y = 0; y <= 2; ++y)
            for (int z = 0; z < kDepth; ++z) {
                int32_t& c = g[x][y][z];
                if (x <= 3 && c == g[x + 1][y][z] && c == g[x + 2][y][z])
                    while (c == g[x + 1][y][z]) c = RandomKind();
                if (c == g[x][y + 1][z] && c == g[x][y + 2][z])
                    while (c == g[x][y + 1][z]) c = RandomKind();
                if (z <= 2 && c == g[x][y][z + 1] && c == g[x][y][z + 2])
                    while (c == g[x][y][z + 1]) c = RandomKind();
            }
}

void DealBoard(BlockGrid g) {
    FillStartRows(g);
    BreakUpLines(g);
}
