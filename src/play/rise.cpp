// The rise and the defeat count.
#include "play/rise.h"

#include <algorithm>

#include "platform/keyboard.h"
#include "platform/random.h"

bool RiseStep(RisingBoard& b, double perFrame, int fastKey, double fastExtra) {
    b.TopRowFree = TopRowEmpty(b.grid) ? 1 : 0;
    b.TopWarn = 1 - b.TopRowFree;
    bool busy = AnyVanishing(b.pairs);
    if (b.TopRowFree == 1 && !busy) {
        b.cc = static_cast<float>(b.cc + perFrame);
        if (platform::GetAsyncKeyState(fastKey) != 0) b.cc = static_cast<float>(b.cc + fastExtra);
    }
    if (b.NextRowReady == 0) {
        for (int x = 0; x < kSlices; ++x)
            for (int z = 0; z < kDepth; ++z) b.NextRow[x][z] = platform::rand() % 5 + 1;
        b.NextRowReady = 1;
    }
    if (b.cc >= 0.88) {
        b.BlockY = std::min(b.BlockY + 1, 11); // the cursor rides up, but stays on the board
        RefreshCursorPos(b);
        b.NextRowReady = 0;
        b.cc = RiseRows(b.grid, b.NextRow, b.pairs);
    }
    return busy;
}

bool CountDefeat(RisingBoard& b, bool topRowFree, bool busy, DefeatRule rule) {
    if (topRowFree) {
        if (rule == DefeatRule::ResetWhenFree || !busy) b.EndCnt = 0;
        return false;
    }
    if (busy) return false;
    bool lost = false;
    if (b.EndCnt >= 300) {
        lost = true;
        b.EndCnt = 0;
    }
    ++b.EndCnt;
    return lost;
}
